// The register table of every model: its rows against the model's register table and CFG_REG,
// the Jorb long table, the mono EQ rows, and when a refresh reaches the table.
#include "panels/MNPykaRegMap_pan.h"
#include "panels/MNPykbRegMap_pan.h"
#include "panels/MNRegMap_pan.h"
#include "panels/cfgMapJora_Pan.h"
#include "panels/cfgMapJorb_Pan.h"
#include "panels/cfgMapQeva_Pan.h"
#include "panels/cfgMapZuta_Pan.h"
#include "panels/cfgMapZutb_Pan.h"
#include "tests/regmap_panels/regmap_test_support.h"

namespace {

using regmaptest::RegMapFixture;
using namespace ui::AudioCodec_pan;

struct TableCase {
    const char* name;
    int menuItem;
    int* panel;
    int table;
    const ConfigRegister* registers;
    int* rowMap;
    bool hidesEq;  // the chip has no EQ: R18 to R22 give way to blank rows at the end
};

std::vector<TableCase> Cases() {
    return {
        {"Jorb", MENUBAR_DEVICE_StereoJorb, &PHandleSTRegMap, ui::cfgMapJorb_Pan::CFGMAPJorb_REGTABLE,
         ConfigRegistersL, RegMapRow2Index, false},
        {"Zuta", MENUBAR_DEVICE_StereoZuta, &PHandleSTRegMapZuta, ui::cfgMapZuta_Pan::CFGMAPZuta_REGTABLE,
         ConfigRegistersZuta, RegMapRow2IndexZuta, false},
        {"Zutb", MENUBAR_DEVICE_StereoZutb, &PHandleSTRegMapZutb, ui::cfgMapZutb_Pan::CFGMAPZutb_REGTABLE,
         ConfigRegistersZutb, RegMapRow2IndexZutb, false},
        {"Jora", MENUBAR_DEVICE_StereoJora, &PHdlRegMapJora, ui::cfgMapJora_Pan::CFGMAPJora_REGTABLE,
         ConfigRegisters_Jora, RegMapRow2Index_Jora, false},
        {"Qeva", MENUBAR_DEVICE_StereoQeva, &PHdlRegMapQeva, ui::cfgMapQeva_Pan::CFGMAPQeva_REGTABLE,
         ConfigRegisters_Qeva, RegMapRow2Index_Qeva, false},
        {"Pykc", MENUBAR_DEVICE_Mono, &PHandleMNRegMap, ui::MNRegMap_pan::MNREGMAP_REGTABLE, MNConfigRegisters,
         RegMapRow2Index_Pykc, true},
        {"Pykd", MENUBAR_DEVICE_MonoPykd, &PHandleMNRegMap, ui::MNRegMap_pan::MNREGMAP_REGTABLE, MNConfigRegisters,
         RegMapRow2Index_Pykc, false},
        {"Pykb", MENUBAR_DEVICE_MonoPykb, &PHandleMNPykbRegMap, ui::MNPykbRegMap_pan::MNPykbREGMAP_REGTABLE,
         MNPykbConfigRegisters, RegMapRow2Index_Pykb, true},
        {"Pyka", MENUBAR_DEVICE_MonoPyka, &PHandleMNPykaRegMap, ui::MNPykaRegMap_pan::MNPykaREGMAP_REGTABLE,
         MNPykaConfigRegisters, RegMapRow2Index_Pyka, true},
    };
}

class RegMapTableTest : public RegMapFixture {};

// Each choice fills its table: one row per register of the model's table (the mono chips
// without EQ: the EQ registers give way to as many blank rows at the end), the record's name as
// row label, the register in hex and decimal, the value and its nine bits from CFG_REG.
TEST_F(RegMapTableTest, EveryModelsTableShowsItsRegisterTableAndTheRegisterCopy) {
    for (const TableCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        for (int r = 0; r < 128; ++r) CFG_REG[r] = static_cast<uint32_t>((r * 37 + 5) & 0x1FF);
        Menu(c.menuItem);
        const int panel = *c.panel;
        // The read-back at the choice has replaced the copy: the next refresh shows it.
        ShowTab(panel);
        RunRedrawList(UILoaded);
        std::vector<int> records;
        for (int i = 0; c.registers[i].name[0] != '\0'; ++i)
            if (!c.hidesEq || c.registers[i].reg < 18 || c.registers[i].reg > 22) records.push_back(i);
        const int blanks = ConfigRegisterCount(c.registers) - static_cast<int>(records.size());
        ASSERT_EQ(Rows(panel, c.table), ConfigRegisterCount(c.registers));
        EXPECT_EQ(blanks, c.hidesEq ? 5 : 0);
        for (size_t i = 0; i < records.size(); ++i) {
            const int row = static_cast<int>(i) + 1;
            const ConfigRegister& rec = c.registers[records[i]];
            SCOPED_TRACE(rec.name);
            EXPECT_EQ(RowLabel(panel, c.table, row), rec.name);
            EXPECT_EQ(Cell(panel, c.table, "Hex Addr", row), rec.reg);
            EXPECT_EQ(Cell(panel, c.table, "Dec Addr", row), rec.reg);
            const uint32_t v = CFG_REG[rec.reg];
            EXPECT_EQ(Cell(panel, c.table, "Hex Val", row), static_cast<int>(v));
            for (int bit = 8; bit >= 0; --bit)
                EXPECT_EQ(Cell(panel, c.table, ("Bit " + std::to_string(bit)).c_str(), row), (v >> bit) & 1);
            EXPECT_EQ(c.rowMap[row], records[i]);
        }
        for (int row = static_cast<int>(records.size()) + 1; row <= Rows(panel, c.table); ++row) {
            EXPECT_EQ(RowLabel(panel, c.table, row), "");
            EXPECT_EQ(Cell(panel, c.table, "Hex Val", row), 0);
            EXPECT_EQ(c.rowMap[row], 255);
        }
    }
}

// The Jorb table follows the register table in use: the plain Jorb has the long table (70
// rows), and choosing it after Jorbx rebuilds the rows instead of keeping 59 rows of the short
// one. Once switched, the long table stays, Jorbx included.
TEST_F(RegMapTableTest, JorbRowsFollowTheRegisterTableInUse) {
    const int panel = PHandleSTRegMap;
    const int table = ui::cfgMapJorb_Pan::CFGMAPJorb_REGTABLE;
    ClickText(PANEL_TM_KorJorbx);
    ASSERT_EQ(g_dev_type, DEV_JORBX);
    EXPECT_EQ(Rows(panel, table), 59);
    EXPECT_EQ(RowLabel(panel, table, 59), "Reserved");

    Menu(MENUBAR_DEVICE_StereoJorb);
    ASSERT_EQ(Rows(panel, table), 70);
    EXPECT_EQ(RowLabel(panel, table, 60), "DAC Dither");
    EXPECT_EQ(Cell(panel, table, "Dec Addr", 60), 65);
    EXPECT_EQ(RowLabel(panel, table, 70), "Output Tie-off Direct");
    EXPECT_EQ(Cell(panel, table, "Hex Addr", 70), 79);
    EXPECT_EQ(RegMapRow2Index[70], 69);

    ClickText(PANEL_TM_KorJorbx);
    EXPECT_EQ(Rows(panel, table), 70);
}

// The Pykc panel shows the EQ registers for a Pykd and not for a Pykc, with the same number
// of rows; row labels are rewritten at each choice.
TEST_F(RegMapTableTest, PykcPanelRowsFollowTheChosenChip) {
    const int panel = PHandleMNRegMap;
    const int table = ui::MNRegMap_pan::MNREGMAP_REGTABLE;
    Menu(MENUBAR_DEVICE_MonoPykd);
    EXPECT_EQ(RowLabel(panel, table, 14), "EQ1L");
    EXPECT_EQ(RegMapRow2RecordPykc(14), 13);
    Menu(MENUBAR_DEVICE_Mono);
    EXPECT_EQ(Rows(panel, table), 56);
    EXPECT_EQ(RowLabel(panel, table, 14), "DACLIM1");
    EXPECT_EQ(Cell(panel, table, "Dec Addr", 14), 24);
    EXPECT_EQ(RegMapRow2RecordPykc(14), 18);
    EXPECT_EQ(RegMapRow2RecordPykc(52), -1);
    EXPECT_EQ(RowLabel(panel, table, 52), "");
    Menu(MENUBAR_DEVICE_MonoPykd);
    EXPECT_EQ(RowLabel(panel, table, 14), "EQ1L");
    EXPECT_EQ(RowLabel(panel, table, 56), "Out_Tie-Off_M");
}

// The refresh timer redraws the Jorb table only while it is the tab shown; the Zutb table
// follows only while Zutb is chosen.
TEST_F(RegMapTableTest, RefreshesReachTheTableOnlyWhereTheyShould) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    const int panel = PHandleSTRegMap;
    const int table = ui::cfgMapJorb_Pan::CFGMAPJorb_REGTABLE;
    const int row = RowOf(panel, table, 4);
    ASSERT_GT(row, 0);
    ShowTab(PHandleSTPath);
    CFG_REG[4] = 0x123;
    SetFlag(&FlagCFGUpdate);
    Tick(PANEL_STTIMER);
    EXPECT_NE(Cell(panel, table, "Hex Val", row), 0x123);  // hidden: left stale
    ShowTab(panel);
    SetFlag(&FlagCFGUpdate);
    Tick(PANEL_STTIMER);
    EXPECT_EQ(Cell(panel, table, "Hex Val", row), 0x123);
    EXPECT_EQ(Cell(panel, table, "Bit 8", row), 1);
    EXPECT_EQ(Cell(panel, table, "Bit 2", row), 0);

    const int zutb = PHandleSTRegMapZutb;
    const int zutbTable = ui::cfgMapZutb_Pan::CFGMAPZutb_REGTABLE;
    const int before = Rows(zutb, zutbTable);
    UpdateRegDisplayZutb(1);
    EXPECT_EQ(Rows(zutb, zutbTable), before);  // Jorb chosen: nothing built
    Choose(MENUBAR_DEVICE_StereoZutb);
    EXPECT_EQ(Rows(zutb, zutbTable), 76);
    CFG_REG[113] = 0x1AB;
    ShowTab(zutb);  // the tab control redraws the Zutb map when it comes to the front
    EXPECT_EQ(Cell(zutb, zutbTable, "Hex Val", 76), 0x1AB);
}

}  // namespace
