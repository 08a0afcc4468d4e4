// The named register-map operations and callbacks of every model, each running the shared
// implementation with its model's description.
#include "regmap/regmap_model.h"

#include "regmap/regmap_panel.h"
#include "regmap/regmap_services.h"

using regmap::Model;
using regmap::ModelId;

namespace {

const regmap::RegMapModel& Jorb() { return Model(ModelId::Jorb); }
const regmap::RegMapModel& Zuta() { return Model(ModelId::Zuta); }
const regmap::RegMapModel& Zutb() { return Model(ModelId::Zutb); }
const regmap::RegMapModel& Jora() { return Model(ModelId::Jora); }
const regmap::RegMapModel& Qeva() { return Model(ModelId::Qeva); }
const regmap::RegMapModel& Pykc() { return Model(ModelId::Pykc); }
const regmap::RegMapModel& Pykb() { return Model(ModelId::Pykb); }
const regmap::RegMapModel& Pyka() { return Model(ModelId::Pyka); }

int RecordOfRow(const regmap::RegMapModel& m, int row) {
    if (regmap::RegisterOfRow(m, row) < 0) return -1;
    return m.rowToIndex[row];
}

}  // namespace

// ---- table build and title rows ------------------------------------------------------------
void UpdateRegDisplay(int fill) { regmap::UpdateDisplay(Jorb(), fill); }
void UpdateRegDisplay_Jora(int fill) { regmap::UpdateDisplay(Jora(), fill); }
void UpdateRegDisplay_Qeva(int fill) { regmap::UpdateDisplay(Qeva(), fill); }
void UpdateRegDisplayZuta(int fill) { regmap::UpdateDisplay(Zuta(), fill); }
void UpdateRegDisplayZutb(int fill) { regmap::UpdateDisplay(Zutb(), fill); }
void UpdateRegDisplay_Pykc(int fill) { regmap::UpdateDisplay(Pykc(), fill); }
void UpdateRegDisplay_Pykb(int fill) { regmap::UpdateDisplay(Pykb(), fill); }
void UpdateRegDisplay_Pyka(int fill) { regmap::UpdateDisplay(Pyka(), fill); }

void UpdateRegMapTitle() { regmap::UpdateTitle(Jorb()); }
void UpdateRegMapTitle_Jora() { regmap::UpdateTitle(Jora()); }
void UpdateRegMapTitle_Qeva() { regmap::UpdateTitle(Qeva()); }
void UpdateRegMapTitleZuta() { regmap::UpdateTitle(Zuta()); }
void UpdateRegMapTitleZutb() { regmap::UpdateTitle(Zutb()); }
void UpdateRegMapTitle_Pykc() { regmap::UpdateTitle(Pykc()); }
void UpdateRegMapTitle_Pykb() { regmap::UpdateTitle(Pykb()); }
void UpdateRegMapTitle_Pyka() { regmap::UpdateTitle(Pyka()); }

int RegMapRow2RecordPykc(int row) { return RecordOfRow(Pykc(), row); }
int RegMapRow2RecordPykb(int row) { return RecordOfRow(Pykb(), row); }
int RegMapRow2RecordPyka(int row) { return RecordOfRow(Pyka(), row); }

void ResetRegMapPanels() { regmap::ResetRegMapPanels(); }

// ---- callbacks -------------------------------------------------------------------------------
#define REGMAP_CTRL(name, call) \
    int name(int panel, int, int event, void*, int e1, int e2) { \
        (void)e1; \
        (void)e2; \
        return call; \
    }

REGMAP_CTRL(cfgRegTable, regmap::TableCommit(Jorb(), panel, event, e1, e2))
REGMAP_CTRL(cfgRegTableZuta, regmap::TableCommit(Zuta(), panel, event, e1, e2))
REGMAP_CTRL(cfgRegTableZutb, regmap::TableCommit(Zutb(), panel, event, e1, e2))
REGMAP_CTRL(cfgRegTableJora, regmap::TableCommit(Jora(), panel, event, e1, e2))
REGMAP_CTRL(cfgRegTableQeva, regmap::TableCommit(Qeva(), panel, event, e1, e2))
REGMAP_CTRL(cfgRegTablePykc, regmap::TableCommit(Pykc(), panel, event, e1, e2))
REGMAP_CTRL(cfgRegTablePykb, regmap::TableCommit(Pykb(), panel, event, e1, e2))
REGMAP_CTRL(cfgRegTablePyka, regmap::TableCommit(Pyka(), panel, event, e1, e2))

REGMAP_CTRL(BACSTRegReadCB, regmap::SingleRead(Jorb(), panel, event))
REGMAP_CTRL(BACSTRegReadCBZuta, regmap::SingleRead(Zuta(), panel, event))
REGMAP_CTRL(BACSTRegReadCBZutb, regmap::SingleRead(Zutb(), panel, event))
REGMAP_CTRL(BACSTRegReadCBJora, regmap::SingleRead(Jora(), panel, event))
REGMAP_CTRL(BACSTRegReadCBQeva, regmap::SingleRead(Qeva(), panel, event))
REGMAP_CTRL(BACSTRegReadCBPykc, regmap::SingleRead(Pykc(), panel, event))
REGMAP_CTRL(BACSTRegReadCBPykb, regmap::SingleRead(Pykb(), panel, event))
REGMAP_CTRL(BACSTRegReadCBPyka, regmap::SingleRead(Pyka(), panel, event))

REGMAP_CTRL(BACSTRegWriteCB, regmap::SingleWrite(Jorb(), panel, event))
REGMAP_CTRL(BACSTRegWriteCBZuta, regmap::SingleWrite(Zuta(), panel, event))
REGMAP_CTRL(BACSTRegWriteCBZutb, regmap::SingleWrite(Zutb(), panel, event))
REGMAP_CTRL(BACSTRegWriteCBJora, regmap::SingleWrite(Jora(), panel, event))
REGMAP_CTRL(BACSTRegWriteCBQeva, regmap::SingleWrite(Qeva(), panel, event))
REGMAP_CTRL(BACSTRegWriteCBPykc, regmap::SingleWrite(Pykc(), panel, event))
REGMAP_CTRL(BACSTRegWriteCBPykb, regmap::SingleWrite(Pykb(), panel, event))
REGMAP_CTRL(BACSTRegWriteCBPyka, regmap::SingleWrite(Pyka(), panel, event))

REGMAP_CTRL(STReadAllCB, regmap::ReadAll(Jorb(), panel, event))
REGMAP_CTRL(STReadAllCBZuta, regmap::ReadAll(Zuta(), panel, event))
REGMAP_CTRL(STReadAllCBZutb, regmap::ReadAll(Zutb(), panel, event))
REGMAP_CTRL(STReadAllCBJora, regmap::ReadAll(Jora(), panel, event))
REGMAP_CTRL(STReadAllCBQeva, regmap::ReadAll(Qeva(), panel, event))
REGMAP_CTRL(STReadAllCBPykc, regmap::ReadAll(Pykc(), panel, event))
REGMAP_CTRL(STReadAllCBPykb, regmap::ReadAll(Pykb(), panel, event))
REGMAP_CTRL(STReadAllCBPyka, regmap::ReadAll(Pyka(), panel, event))

REGMAP_CTRL(BACSTRegReadCB08A, regmap::BridgeRead(Jorb(), panel, event))
REGMAP_CTRL(BACSTRegWriteCB08A, regmap::BridgeWrite(Jorb(), panel, event))
REGMAP_CTRL(BACSTRegReadCB08, regmap::BridgeRead(Zutb(), panel, event))
REGMAP_CTRL(BACSTRegWriteCB08, regmap::BridgeWrite(Zutb(), panel, event))
REGMAP_CTRL(BACSTRegRead08CB, regmap::BridgeRead(Pykc(), panel, event))
REGMAP_CTRL(BACSTRegWrite08CB, regmap::BridgeWrite(Pykc(), panel, event))
REGMAP_CTRL(BPykbACSTRegRead08CB, regmap::BridgeRead(Pykb(), panel, event))
REGMAP_CTRL(BPykbACSTRegWrite08CB, regmap::BridgeWrite(Pykb(), panel, event))

REGMAP_CTRL(STCBShowCB, regmap::ShowTitleRows(Jorb(), panel, event))
REGMAP_CTRL(STCBShowCBZuta, regmap::ShowTitleRows(Zuta(), panel, event))
REGMAP_CTRL(STCBShowCBZutb, regmap::ShowTitleRows(Zutb(), panel, event))
REGMAP_CTRL(RINGdtCB, regmap::DisplayRing(Jorb(), panel, event))
REGMAP_CTRL(RINGdtCBZuta, regmap::DisplayRing(Zuta(), panel, event))
REGMAP_CTRL(RINGdtCBZutb, regmap::DisplayRing(Zutb(), panel, event))
REGMAP_CTRL(TBTRYCB, regmap::TryPicture(Jorb(), panel, event))
REGMAP_CTRL(TBTRYCBZuta, regmap::TryPicture(Zuta(), panel, event))
REGMAP_CTRL(TBTRYCBZutb, regmap::TryPicture(Zutb(), panel, event))

#undef REGMAP_CTRL

int CFGREGMAPCB(int panel, int event, void*, int, int) { return regmap::RightClick(Jorb(), panel, event); }
int CFGREGMAPCBZuta(int panel, int event, void*, int, int) { return regmap::RightClick(Zuta(), panel, event); }
int CFGREGMAPCBZutb(int panel, int event, void*, int, int) { return regmap::RightClick(Zutb(), panel, event); }
int CFGMAPCBJora(int panel, int event, void*, int, int) { return regmap::RightClick(Jora(), panel, event); }
int CFGMAPCBQeva(int panel, int event, void*, int, int) { return regmap::RightClick(Qeva(), panel, event); }
int CFGMAPCBPykc(int panel, int event, void*, int, int) { return regmap::RightClick(Pykc(), panel, event); }
int CFGMAPCBPykb(int panel, int event, void*, int, int) { return regmap::RightClick(Pykb(), panel, event); }
int CFGMAPCBPyka(int panel, int event, void*, int, int) { return regmap::RightClick(Pyka(), panel, event); }
