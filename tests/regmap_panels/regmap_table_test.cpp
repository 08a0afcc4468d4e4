// The register table of every model: its rows against the model's register table and CFG_REG,
// the Jorb long table, the mono EQ rows, and when a refresh reaches the table.
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <algorithm>

#include "panels/MNPykaRegMap_pan.h"
#include "panels/MNPykbRegMap_pan.h"
#include "panels/MNRegMap_pan.h"
#include "panels/cfgMapJora_Pan.h"
#include "panels/cfgMapJorb_Pan.h"
#include "panels/cfgMapQeva_Pan.h"
#include "panels/cfgMapZuta_Pan.h"
#include "panels/cfgMapZutb_Pan.h"
#include "panels/cfgDevJorb_pan.h"
#include "runtime/testing.h"
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

class RegMapTableTest : public RegMapFixture {
protected:
    // A click on the panel's tab in the tab bar.
    void ClickTab(int panel) {
        auto* tabs = qobject_cast<QTabWidget*>(rt::testing::ControlWidget(PHandlePanel, tabCtrl));
        ASSERT_NE(tabs, nullptr);
        const std::vector<int> panels = Tabs();
        const auto at = std::find(panels.begin(), panels.end(), panel);
        ASSERT_NE(at, panels.end()) << "panel " << panel << " is no tab";
        QTabBar* bar = tabs->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(static_cast<int>(at - panels.begin())).center());
        ASSERT_EQ(ActiveTab(), panel);
        ASSERT_EQ(NowPanel, panel);
    }
};

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

// A register map shows the register copy whenever its tab comes to the front (a click on its
// tab in the tab bar, which the tab control reports): changes made while another tab was in
// front, when the Jorb, Zuta and Pyka tables are not redrawn, reach it then. The Zutb table
// follows only while Zutb is chosen.
TEST_F(RegMapTableTest, EveryRegisterMapIsCurrentWhenItsTabComesToTheFront) {
    // Power Up on the device-control tab sets the power-management registers.
    Choose(MENUBAR_DEVICE_StereoJorb);
    const int panel = PHandleSTRegMap;
    const int table = ui::cfgMapJorb_Pan::CFGMAPJorb_REGTABLE;
    ClickTab(PHandleSTDevCtrl);
    Press(PHandleSTDevCtrl, ui::cfgDevJorb_pan::CFGDEVJorb_BPowerUp);
    Tick(PANEL_STTIMER);
    ASSERT_NE(CFG_REG[1], 0u);
    ClickTab(panel);
    for (int reg = 1; reg <= 3; ++reg) {
        SCOPED_TRACE(reg);
        ASSERT_GT(RowOf(panel, table, reg), 0);
        EXPECT_EQ(Cell(panel, table, "Hex Val", RowOf(panel, table, reg)), static_cast<int>(CFG_REG[reg]));
    }

    // Every model's map, after a change the timer redrew while another tab was in front.
    for (const TableCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        Choose(c.menuItem);
        const int map = *c.panel;
        const int row = RowOf(map, c.table, c.registers[0].reg);
        ASSERT_GT(row, 0);
        for (int tab : Tabs())
            if (tab != map && tab != ActiveTab()) {
                ClickTab(tab);
                break;
            }
        CFG_REG[c.registers[0].reg] = static_cast<uint32_t>(Cell(map, c.table, "Hex Val", row) ^ 0x155);
        SetFlag(&FlagCFGUpdate);
        Tick(PANEL_STTIMER);
        Tick(PANEL_MNTIMER);
        ClickTab(map);
        EXPECT_EQ(Cell(map, c.table, "Hex Val", row), static_cast<int>(CFG_REG[c.registers[0].reg]));
    }

    const int zutb = PHandleSTRegMapZutb;
    const int zutbTable = ui::cfgMapZutb_Pan::CFGMAPZutb_REGTABLE;
    Choose(MENUBAR_DEVICE_StereoJorb);
    const int before = Rows(zutb, zutbTable);
    UpdateRegDisplayZutb(1);
    EXPECT_EQ(Rows(zutb, zutbTable), before);  // Jorb chosen: nothing built
    Choose(MENUBAR_DEVICE_StereoZutb);
    EXPECT_EQ(Rows(zutb, zutbTable), 76);
    CFG_REG[113] = 0x1AB;
    ClickTab(zutb);
    EXPECT_EQ(Cell(zutb, zutbTable, "Hex Val", 76), 0x1AB);
}

}  // namespace
