// The title rows above the register tables: their exact texts, the legends each model shows,
// blank rows, the show box and the redraw request.
#include "panels/MNRegMap_pan.h"
#include "panels/cfgMapJora_Pan.h"
#include "panels/cfgMapJorb_Pan.h"
#include "panels/cfgMapQeva_Pan.h"
#include "panels/cfgMapZuta_Pan.h"
#include "panels/cfgMapZutb_Pan.h"
#include "regmap/regmap_legends.h"
#include "tests/regmap_panels/regmap_test_support.h"

namespace {

using regmaptest::RegMapFixture;
using namespace ui::AudioCodec_pan;

class RegMapTitleTest : public RegMapFixture {
protected:
    struct Rows {
        std::string legend, bits, name;
    };
    Rows TitleOf(int panel, int legend, int bits, int name) {
        return {Text(panel, legend), Text(panel, bits), Text(panel, name)};
    }
    // Makes `row` the active row and redraws the title rows the way the refresh timer does.
    void Activate(int panel, int table, int row) {
        rt::SetActiveTableCell(panel, table, rt::MakePoint(3, row));
        SetFlag(&FlagRegMapTitle);
        Tick(UILoaded == UI_PYKC || UILoaded == UI_PYKA || UILoaded == UI_PYKB ? PANEL_MNTIMER : PANEL_STTIMER);
        EXPECT_EQ(FlagRegMapTitle, 0);
    }
};

TEST_F(RegMapTitleTest, RowsBeforeAnyRegisterIsShown) {
    using namespace ui::cfgMapZuta_Pan;
    const Rows rows = TitleOf(PHandleSTRegMapZuta, CFGMAPZuta_REGMAPTITLE, CFGMAPZuta_REGMAPTITLE2, CFGMAPZuta_TMREGNAME);
    EXPECT_EQ(rows.legend,
              "|_________|_________|_________|_________|_________|_________|_________|_________|_________|");
    EXPECT_EQ(rows.bits, "0x00: |_______|_______|_______|_______|_______|_______|_______|_______|________|");
    EXPECT_EQ(rows.name, "Reset");
}

// Bit row: register number, nine bit cells from bit 8 down, the value; legend and name rows of
// the register. Registers holding 0x1FF and 0, and the rows the Jorb long table adds (no legend).
TEST_F(RegMapTitleTest, JorbRowsShowTheActiveRegister) {
    using namespace ui::cfgMapJorb_Pan;
    Choose(MENUBAR_DEVICE_StereoJorb);
    const int panel = PHandleSTRegMap;
    CFG_REG[7] = 0x009;
    Activate(panel, CFGMAPJorb_REGTABLE, 8);
    Rows rows = TitleOf(panel, CFGMAPJorb_REGMAPTITLE, CFGMAPJorb_REGMAPTITLE2, CFGMAPJorb_TMREGNAME);
    EXPECT_EQ(rows.bits, "0x07: |____0____|____0____|____0____|____0____|____0____|____1____|____0____|____0____|"
                         "____1____| 0x009");
    EXPECT_EQ(rows.legend,
              "|_4WSPIEN_|____0____|____0____|____0_________0____|__________SMPLR[2:0]_________|__SCLKEN_|");
    EXPECT_EQ(rows.name, "Clock_Control_2");

    CFG_REG[63] = 0x1FF;
    Activate(panel, CFGMAPJorb_REGTABLE, 59);
    rows = TitleOf(panel, CFGMAPJorb_REGMAPTITLE, CFGMAPJorb_REGMAPTITLE2, CFGMAPJorb_TMREGNAME);
    EXPECT_EQ(rows.bits, "0x3F: |____1____|____1____|____1____|____1____|____1____|____1____|____1____|____1____|"
                         "____1____| 0x1FF");
    EXPECT_EQ(rows.legend, RegMapLegend[58]);
    EXPECT_EQ(rows.name, "Reserved");

    CFG_REG[65] = 0;
    Activate(panel, CFGMAPJorb_REGTABLE, 60);
    rows = TitleOf(panel, CFGMAPJorb_REGMAPTITLE, CFGMAPJorb_REGMAPTITLE2, CFGMAPJorb_TMREGNAME);
    EXPECT_EQ(rows.bits, "0x41: |____0____|____0____|____0____|____0____|____0____|____0____|____0____|____0____|"
                         "____0____| 0x000");
    EXPECT_EQ(rows.legend, "");
    EXPECT_EQ(rows.name, "DAC Dither");
}

// Each model shows the Jorb legend only for registers that have the Jorb bit fields: Qeva's
// EQ register after its gap shows its own EQ legend, Zuta's line-out volumes show the legends of
// the Jorb line-out volumes, every Zutb and mono register shows none.
TEST_F(RegMapTitleTest, LegendsAreTheShownRegistersOwn) {
    struct Case {
        int menuItem;
        int* panel;
        int table, legend, name;
        int reg;
        const char* expectedName;
        std::string expectedLegend;
    };
    const Case cases[] = {
        {MENUBAR_DEVICE_StereoQeva, &PHdlRegMapQeva, ui::cfgMapQeva_Pan::CFGMAPQeva_REGTABLE,
         ui::cfgMapQeva_Pan::CFGMAPQeva_REGMAPTITLE, ui::cfgMapQeva_Pan::CFGMAPQeva_TMREGNAME, 18, "EQ1-low_self",
         RegMapLegend[17]},
        {MENUBAR_DEVICE_StereoQeva, &PHdlRegMapQeva, ui::cfgMapQeva_Pan::CFGMAPQeva_REGTABLE,
         ui::cfgMapQeva_Pan::CFGMAPQeva_REGMAPTITLE, ui::cfgMapQeva_Pan::CFGMAPQeva_TMREGNAME, 49, "Output_Control",
         RegMapLegend[44]},
        {MENUBAR_DEVICE_StereoZuta, &PHandleSTRegMapZuta, ui::cfgMapZuta_Pan::CFGMAPZuta_REGTABLE,
         ui::cfgMapZuta_Pan::CFGMAPZuta_REGMAPTITLE, ui::cfgMapZuta_Pan::CFGMAPZuta_TMREGNAME, 51, "Right_Mixer",
         RegMapLegend[46]},
        {MENUBAR_DEVICE_StereoZuta, &PHandleSTRegMapZuta, ui::cfgMapZuta_Pan::CFGMAPZuta_REGTABLE,
         ui::cfgMapZuta_Pan::CFGMAPZuta_REGMAPTITLE, ui::cfgMapZuta_Pan::CFGMAPZuta_TMREGNAME, 52, "L LineOut Vol",
         RegMapLegend[47]},
        {MENUBAR_DEVICE_StereoZuta, &PHandleSTRegMapZuta, ui::cfgMapZuta_Pan::CFGMAPZuta_REGTABLE,
         ui::cfgMapZuta_Pan::CFGMAPZuta_REGMAPTITLE, ui::cfgMapZuta_Pan::CFGMAPZuta_TMREGNAME, 53, "R LineOut Vol",
         RegMapLegend[48]},
        {MENUBAR_DEVICE_StereoZuta, &PHandleSTRegMapZuta, ui::cfgMapZuta_Pan::CFGMAPZuta_REGTABLE,
         ui::cfgMapZuta_Pan::CFGMAPZuta_REGMAPTITLE, ui::cfgMapZuta_Pan::CFGMAPZuta_TMREGNAME, 58,
         "Power_Management_4", RegMapLegend[53]},
        {MENUBAR_DEVICE_StereoJora, &PHdlRegMapJora, ui::cfgMapJora_Pan::CFGMAPJora_REGTABLE,
         ui::cfgMapJora_Pan::CFGMAPJora_REGMAPTITLE, ui::cfgMapJora_Pan::CFGMAPJora_TMREGNAME, 41, "3D_Control",
         RegMapLegend[37]},
        {MENUBAR_DEVICE_StereoZutb, &PHandleSTRegMapZutb, ui::cfgMapZutb_Pan::CFGMAPZutb_REGTABLE,
         ui::cfgMapZutb_Pan::CFGMAPZutb_REGMAPTITLE, ui::cfgMapZutb_Pan::CFGMAPZutb_TMREGNAME, 0, "LEFT_PGA", ""},
        {MENUBAR_DEVICE_Mono, &PHandleMNRegMap, ui::MNRegMap_pan::MNREGMAP_REGTABLE,
         ui::MNRegMap_pan::MNREGMAP_REGMAPTITLE, ui::MNRegMap_pan::MNREGMAP_TMREGNAME, 1, "PWRM1", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expectedName);
        Choose(c.menuItem);
        const int panel = *c.panel;
        ShowTab(panel);
        RunRedrawList(UILoaded);
        const int row = RowOf(panel, c.table, c.reg);
        ASSERT_GT(row, 0);
        // Something else first, so that a row left unchanged would show.
        rt::SetCtrlVal(panel, c.legend, "stale");
        Activate(panel, c.table, row);
        EXPECT_EQ(Text(panel, c.name), c.expectedName);
        EXPECT_EQ(Text(panel, c.legend), c.expectedLegend);
    }
}

// A blank row leaves the title rows alone; the show box hides and shows the three rows, and a
// redraw while they are hidden still sets their texts; a click on the table asks for a redraw.
TEST_F(RegMapTitleTest, BlankRowsShowBoxAndRedrawRequest) {
    using namespace ui::MNRegMap_pan;
    Choose(MENUBAR_DEVICE_Mono);
    Activate(PHandleMNRegMap, MNREGMAP_REGTABLE, 4);
    const Rows before = TitleOf(PHandleMNRegMap, MNREGMAP_REGMAPTITLE, MNREGMAP_REGMAPTITLE2, MNREGMAP_TMREGNAME);
    EXPECT_EQ(before.name, "PWRM3");
    Activate(PHandleMNRegMap, MNREGMAP_REGTABLE, 55);
    const Rows after = TitleOf(PHandleMNRegMap, MNREGMAP_REGMAPTITLE, MNREGMAP_REGMAPTITLE2, MNREGMAP_TMREGNAME);
    EXPECT_EQ(after.bits, before.bits);
    EXPECT_EQ(after.name, before.name);

    using namespace ui::cfgMapJorb_Pan;
    Choose(MENUBAR_DEVICE_StereoJorb);
    const int panel = PHandleSTRegMap;
    rt::SetCtrlVal(panel, CFGMAPJorb_STCBShow, 0);
    Press(panel, CFGMAPJorb_STCBShow);
    for (int id : {CFGMAPJorb_REGMAPTITLE, CFGMAPJorb_REGMAPTITLE2, CFGMAPJorb_TMREGNAME})
        EXPECT_FALSE(Visible(panel, id));
    EXPECT_TRUE(Visible(panel, CFGMAPJorb_REGTABLE));
    Activate(panel, CFGMAPJorb_REGTABLE, 3);
    EXPECT_EQ(Text(panel, CFGMAPJorb_TMREGNAME), "Power_Management_2");
    rt::SetCtrlVal(panel, CFGMAPJorb_STCBShow, 1);
    Press(panel, CFGMAPJorb_STCBShow);
    for (int id : {CFGMAPJorb_REGMAPTITLE, CFGMAPJorb_REGMAPTITLE2, CFGMAPJorb_TMREGNAME})
        EXPECT_TRUE(Visible(panel, id));

    FlagRegMapTitle = 0;
    rt::CallCtrlCallback(panel, CFGMAPJorb_REGTABLE, rt::EVENT_LEFT_CLICK, 30, 30);
    EXPECT_EQ(FlagRegMapTitle, 1);
    rt::SetActiveTableCell(panel, CFGMAPJorb_REGTABLE, rt::MakePoint(4, 5));
    Tick(PANEL_STTIMER);
    EXPECT_EQ(Text(panel, CFGMAPJorb_TMREGNAME), "Audio_Interface");
    EXPECT_EQ(FlagRegMapTitle, 0);
}

}  // namespace
