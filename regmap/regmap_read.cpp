// The Jorb register map's single codec-register read, as far as the device link's block read
// needs it (register 0 is read through it before the three blocks).
#include "regmap/regmap_services.h"

#include "panels/cfgMapJorb_Pan.h"
#include "runtime/ui.h"
#include "shell/guarded_reads.h"
#include "shell/handles.h"
#include "shell/state.h"

using namespace ui::cfgMapJorb_Pan;

namespace {

// Reads register `address` and shows and stores it. A failed read leaves CFG_REG as it was
// (it never stores -1).
void SingleRead(int panel, unsigned address) {
    int value = ZelqxReadOneReg(static_cast<int>(address & 0xFF));
    if (value < 0) return;
    if (panel > 0) rt::SetCtrlVal(panel, CFGMAPJorb_NACSTRegVal, value & 0x1FF);
    CFG_REG[address & 0xFF] = static_cast<uint32_t>(value);
}

}  // namespace

int BACSTRegReadCB(int panel, int /*control*/, int event, void* /*data*/, int /*e1*/, int /*e2*/) {
    if (event != rt::EVENT_COMMIT) return 0;
    unsigned address = 0;
    rt::GetCtrlVal(panel, CFGMAPJorb_NACSTRegAddr, &address);
    SingleRead(panel, address);
    return 0;
}

void ReadRegisterZeroThroughRegMap() {
    if (PHandleSTRegMap > 0) {
        rt::SetCtrlVal(PHandleSTRegMap, CFGMAPJorb_NACSTRegAddr, 0);
        rt::CallCtrlCallback(PHandleSTRegMap, CFGMAPJorb_BACSTRegRead, rt::EVENT_COMMIT, 0, 0);
    } else {
        SingleRead(0, 0);
    }
}
