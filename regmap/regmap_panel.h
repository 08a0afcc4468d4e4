// The register-map panel, written once and driven by a description of each model's panel:
// its control ids, register table, row map, legends and features. The named operations of
// regmap_model.h and the callbacks bound by name all lead here with their model.
#pragma once

#include <vector>

#include "regmap/config_tables.h"
#include "regmap/regmap_legends.h"
#include "regmap/regmap_model.h"

namespace regmap {

// Control ids of a register-map panel; 0 where the panel has no such control.
struct RegMapIds {
    int table;
    int legendRow, bitRow, nameRow;    // title rows
    int address, value;                // codec register address and value boxes
    int read, write, readAll;          // "Read", "Write", "Read All and Update "
    int bridgeAddress, bridgeValue;    // bridge (Vunt) register boxes
    int bridgeRead, bridgeWrite;
    int showBox;                       // shows or hides the title rows
    int displayRing;                   // value box in decimal or hexadecimal
    int tryButton;                     // "Try"
};

using Refresh = void (*)();

enum class ModelId { Jorb, Zuta, Zutb, Jora, Qeva, Pykc, Pykb, Pyka };
inline constexpr int kModelCount = 8;

struct RegMapModel {
    ModelId id;
    const char* name;
    int* panel;                              // the register-map panel's handle
    int* pathPanel;                          // where a right click on it leads
    RegMapIds ids;
    const ConfigRegister* (*registers)();    // the register table in use
    int* rowToIndex;                         // RegMapRow2Index...: row r -> record index (255: blank row)
    int maxRegister;                         // the model's highest register number
    int resetRegister;                       // writing it resets the chip
    bool confirmResetUnderSpi4;              // ask before resetting under 4-wire SPI
    int hideEqForDevType;                    // mono: with this chip chosen, R18 to R22 get no rows
    bool jorbTable;                          // the Jorb table pointer and device-type tests
    int buildOnlyForDevType;                 // builds only while this chip is chosen (0: always)
    bool refreshOnlyWhenShown;               // UpdateRegDisplay(0) only while its tab is shown
    bool readsUpperRegisters;                // Read All also reads R0 and R64 to R113 one by one
    std::vector<Refresh> afterEdit;          // panels redrawn after a changed cell, in order
    const ModelLegends* legends;
};

inline constexpr int kBlankRow = 255;   // RegMapRow2Index entry of a blank row
inline constexpr int kRowMapSize = kRegMapRowMapSize;

const RegMapModel& Model(ModelId id);

// ---- table and title rows (regmap_panel.cpp) ---------------------------------------------
// The public build/refresh: the model's device-type and shown-tab tests, then the rows.
void UpdateDisplay(const RegMapModel& m, int insertRows);
// Rows and cells from CFG_REG now, whatever tab is shown; rows are rebuilt when the model's
// register table or row layout has changed since the last build on this panel.
void RefreshTable(const RegMapModel& m);
void UpdateTitle(const RegMapModel& m);
// The register of table row `row` (1-based), or -1 for a blank or missing row.
int RegisterOfRow(const RegMapModel& m, int row);
int TableCommit(const RegMapModel& m, int panel, int event, int row, int column);
int ShowTitleRows(const RegMapModel& m, int panel, int event);

// ---- buttons and boxes (regmap_panel_io.cpp) ---------------------------------------------
int SingleRead(const RegMapModel& m, int panel, int event);
int SingleWrite(const RegMapModel& m, int panel, int event);
int ReadAll(const RegMapModel& m, int panel, int event);
int BridgeRead(const RegMapModel& m, int panel, int event);
int BridgeWrite(const RegMapModel& m, int panel, int event);
int DisplayRing(const RegMapModel& m, int panel, int event);
int TryPicture(const RegMapModel& m, int panel, int event);
int RightClick(const RegMapModel& m, int panel, int event);

// Forgets what was built on every panel (tests, after panels are discarded).
void ResetRegMapPanels();

}  // namespace regmap
