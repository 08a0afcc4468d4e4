// The register map of every model: the table of the model's registers with their bits, the
// title rows that explain the active row, single and bulk reads and writes of codec registers,
// the bridge (Vunt) registers, and the register scripts. Each model keeps its named operations
// and callbacks; they all run one implementation with the model's description.
#pragma once

// Configuration-set files (InitConfig and its model variants) and the path panels' set lists
// (PopulatePanelCFGListBox and its variants).
#include "regmap/config_list.h"
#include "regmap/config_sets.h"
#include "runtime/inifile.h"

// ---- register table ----------------------------------------------------------------------
// Builds (fill 1: the model choice) or refreshes (0) the register table from CFG_REG. A refresh
// of the Jorb table happens only while its tab is the one shown (NowPanel); the Jorb table does
// nothing while Zuta or Zutb is chosen, the Zutb table only while Zutb is. Rows follow the
// model's register table and are rebuilt when it changes (the Jorb long table after Jorbx).
void UpdateRegDisplay(int fill);
void UpdateRegDisplay_Jora(int fill);
void UpdateRegDisplay_Qeva(int fill);
void UpdateRegDisplayZuta(int fill);
void UpdateRegDisplayZutb(int fill);
void UpdateRegDisplay_Pykc(int fill);
void UpdateRegDisplay_Pykb(int fill);
void UpdateRegDisplay_Pyka(int fill);
// Redraws the three title rows (bit-field legend, bits and value, register name) for the
// register of the table's active row; a blank row leaves them. Clears FlagRegMapTitle.
void UpdateRegMapTitle();
void UpdateRegMapTitle_Jora();
void UpdateRegMapTitle_Qeva();
void UpdateRegMapTitleZuta();
void UpdateRegMapTitleZutb();
void UpdateRegMapTitle_Pykc();
void UpdateRegMapTitle_Pykb();
void UpdateRegMapTitle_Pyka();

// Row r (from 1) of each panel -> record index of its register table; 255 marks a blank row.
inline constexpr int kRegMapRowMapSize = 128;
extern int RegMapRow2Index[kRegMapRowMapSize];
extern int RegMapRow2IndexZuta[kRegMapRowMapSize];
extern int RegMapRow2IndexZutb[kRegMapRowMapSize];
extern int RegMapRow2Index_Jora[kRegMapRowMapSize];
extern int RegMapRow2Index_Qeva[kRegMapRowMapSize];
extern int RegMapRow2Index_Pykc[kRegMapRowMapSize];
extern int RegMapRow2Index_Pykb[kRegMapRowMapSize];
extern int RegMapRow2Index_Pyka[kRegMapRowMapSize];
// Record index shown on row `row` of a mono panel, or -1 for a blank or missing row.
int RegMapRow2RecordPykc(int row);
int RegMapRow2RecordPykb(int row);
int RegMapRow2RecordPyka(int row);

// ---- callbacks (panel, control, event, data, eventData1, eventData2) -----------------------
// Table cell commit: row in eventData1, column in eventData2.
int cfgRegTable(int panel, int control, int event, void* data, int e1, int e2);
int cfgRegTableZuta(int panel, int control, int event, void* data, int e1, int e2);
int cfgRegTableZutb(int panel, int control, int event, void* data, int e1, int e2);
int cfgRegTableJora(int panel, int control, int event, void* data, int e1, int e2);
int cfgRegTableQeva(int panel, int control, int event, void* data, int e1, int e2);
int cfgRegTablePykc(int panel, int control, int event, void* data, int e1, int e2);
int cfgRegTablePykb(int panel, int control, int event, void* data, int e1, int e2);
int cfgRegTablePyka(int panel, int control, int event, void* data, int e1, int e2);

// Single codec register read and write from the address and value boxes ("Read", "Write").
// (BACSTRegReadCB, the Jorb read, is declared in regmap_services.h.)
int BACSTRegReadCBZuta(int panel, int control, int event, void* data, int e1, int e2);
int BACSTRegReadCBZutb(int panel, int control, int event, void* data, int e1, int e2);
int BACSTRegReadCBJora(int panel, int control, int event, void* data, int e1, int e2);
int BACSTRegReadCBQeva(int panel, int control, int event, void* data, int e1, int e2);
int BACSTRegReadCBPykc(int panel, int control, int event, void* data, int e1, int e2);
int BACSTRegReadCBPykb(int panel, int control, int event, void* data, int e1, int e2);
int BACSTRegReadCBPyka(int panel, int control, int event, void* data, int e1, int e2);
int BACSTRegWriteCB(int panel, int control, int event, void* data, int e1, int e2);
int BACSTRegWriteCBZuta(int panel, int control, int event, void* data, int e1, int e2);
int BACSTRegWriteCBZutb(int panel, int control, int event, void* data, int e1, int e2);
int BACSTRegWriteCBJora(int panel, int control, int event, void* data, int e1, int e2);
int BACSTRegWriteCBQeva(int panel, int control, int event, void* data, int e1, int e2);
int BACSTRegWriteCBPykc(int panel, int control, int event, void* data, int e1, int e2);
int BACSTRegWriteCBPykb(int panel, int control, int event, void* data, int e1, int e2);
int BACSTRegWriteCBPyka(int panel, int control, int event, void* data, int e1, int e2);

// "Read All and Update " (also run with panel 0 by the model choice and the reset buttons):
// registers 1 to 63 (register 0 through the single read) into CFG_REG; Zutb also reads R0 and
// R64 to R113 one by one with a progress bar. A register that cannot be read keeps its value
// and a popup says how many. Raises FlagCFGUpdate.
int STReadAllCB(int panel, int control, int event, void* data, int e1, int e2);
int STReadAllCBJora(int panel, int control, int event, void* data, int e1, int e2);
int STReadAllCBQeva(int panel, int control, int event, void* data, int e1, int e2);
int STReadAllCBZuta(int panel, int control, int event, void* data, int e1, int e2);
int STReadAllCBZutb(int panel, int control, int event, void* data, int e1, int e2);
int STReadAllCBPykc(int panel, int control, int event, void* data, int e1, int e2);
int STReadAllCBPykb(int panel, int control, int event, void* data, int e1, int e2);
int STReadAllCBPyka(int panel, int control, int event, void* data, int e1, int e2);

// Bridge (Vunt) register read (command 0x30) and write (0x31): Jorb, Zutb, Pykc, Pykb.
int BACSTRegReadCB08A(int panel, int control, int event, void* data, int e1, int e2);
int BACSTRegWriteCB08A(int panel, int control, int event, void* data, int e1, int e2);
int BACSTRegReadCB08(int panel, int control, int event, void* data, int e1, int e2);
int BACSTRegWriteCB08(int panel, int control, int event, void* data, int e1, int e2);
int BACSTRegRead08CB(int panel, int control, int event, void* data, int e1, int e2);
int BACSTRegWrite08CB(int panel, int control, int event, void* data, int e1, int e2);
int BPykbACSTRegRead08CB(int panel, int control, int event, void* data, int e1, int e2);
int BPykbACSTRegWrite08CB(int panel, int control, int event, void* data, int e1, int e2);

// Show box of the title rows, display ring of the value box, "Try" (Jorb, Zuta, Zutb).
int STCBShowCB(int panel, int control, int event, void* data, int e1, int e2);
int STCBShowCBZuta(int panel, int control, int event, void* data, int e1, int e2);
int STCBShowCBZutb(int panel, int control, int event, void* data, int e1, int e2);
int RINGdtCB(int panel, int control, int event, void* data, int e1, int e2);
int RINGdtCBZuta(int panel, int control, int event, void* data, int e1, int e2);
int RINGdtCBZutb(int panel, int control, int event, void* data, int e1, int e2);
int TBTRYCB(int panel, int control, int event, void* data, int e1, int e2);
int TBTRYCBZuta(int panel, int control, int event, void* data, int e1, int e2);
int TBTRYCBZutb(int panel, int control, int event, void* data, int e1, int e2);

// Panel callbacks (panel, event, data, eventData1, eventData2): a right click makes the model's
// path panel the active tab and remembers this panel for the way back.
int CFGREGMAPCB(int panel, int event, void* data, int e1, int e2);
int CFGREGMAPCBZuta(int panel, int event, void* data, int e1, int e2);
int CFGREGMAPCBZutb(int panel, int event, void* data, int e1, int e2);
int CFGMAPCBJora(int panel, int event, void* data, int e1, int e2);
int CFGMAPCBQeva(int panel, int event, void* data, int e1, int e2);
int CFGMAPCBPykc(int panel, int event, void* data, int e1, int e2);
int CFGMAPCBPykb(int panel, int event, void* data, int e1, int e2);
int CFGMAPCBPyka(int panel, int event, void* data, int e1, int e2);

// Binds every register-map and script callback name to its function.
void RegisterRegMapPanelCallbacks();
// Forgets the rows built on the register-map panels (tests, after the panels are discarded).
void ResetRegMapPanels();
