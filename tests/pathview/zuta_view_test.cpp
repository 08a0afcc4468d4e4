// The Zuta path view on the emulated board: its map and start state at model choice, real
// mouse clicks on its canvas and the register bits they write, its rings and icons, the
// refresh from CFG_REG, the Jorb callbacks two of its rings are bound to, and the drawing.
#include <QImage>

#include <cstdlib>

#include "oslayer/os.h"
#include "panels/cfgPathJorb_pan.h"
#include "panels/cfgPathZuta_pan.h"
#include "tests/pathview/path_test_support.h"

namespace {

using namespace ui::cfgPathZuta_pan;
using namespace ui::AudioCodec_pan;
using pathtest::kGrey;
using pathtest::kMagenta;
using pathtest::kRed;
using pathtest::kWhite;
using Writes = std::vector<std::pair<int, int>>;

class Zuta : public pathtest::PathViewFixture {
protected:
    int PathPanel() const override { return PHandleSTPathZuta; }
    int PathCanvasControl() const override { return CFGPATHZuta_CVSZuta; }

    void SetUp() override {
        ModelFixture::SetUp();
        if (HasFatalFailure()) return;
        Menu(MENUBAR_DEVICE_StereoZuta);
        ASSERT_EQ(UILoaded, UI_ZUTA);
        chosen = SharedPathTables();  // before any refresh
        ShowPath();
        Refresh();
        board->ClearReceivedReports();
        FlagCFGUpdate = 0;
    }
    PathTables chosen;
};

TEST_F(Zuta, ChoosingTheModelBuildsTheMapWithOnlyTheFixedGroupsLit) {
    for (int g = 0; g < kPathGroups; ++g) EXPECT_EQ(chosen.groups[g].on, (g == 64 || g == 65) ? 1 : 0) << g;
    EXPECT_EQ(FlagAudioInterfaceActive, 0);
    const PathTables& t = SharedPathTables();
    EXPECT_EQ(t.switchs[25].x1, 831);
    EXPECT_EQ(t.switchs[25].x2, 846);
    EXPECT_EQ(t.switchs[6].x1, -1);  // slots the map does not use stay empty
    EXPECT_EQ(t.DPSTSwitch[0].x1, 394);
    EXPECT_EQ(t.DPSTSwitch[0].x3, 403);
    EXPECT_EQ(t.groups[22].lineIndex, (std::vector<int>{30, 29, 31, 32}));
    EXPECT_EQ(t.groups[152].switchIndex, 5);
    EXPECT_EQ(t.lines[176].x2, 292);

    EXPECT_EQ(pathtest::Tip(PHandleSTPathZuta, CFGPATHZuta_STBoostRDisableIcon),
              "Right channel Boost stage disbled, you can enable it in Device Control or Input tab.");
    EXPECT_EQ(pathtest::Tip(PHandleSTPathZuta, CFGPATHZuta_STOut4MuteEnIcon), "Output Muted, click to toggle");

    // Segments shared by an always-lit and a never-lit group show lit; the never-lit rest grey.
    EXPECT_EQ(Pixel(100, 201), kMagenta);  // segment 32
    EXPECT_EQ(Pixel(57, 191), kGrey);      // segment 30
}

TEST_F(Zuta, RingsHoldTheirItemsAndEveryRingIsFilled) {
    auto pga = RingLabels(PHandleSTPathZuta, CFGPATHZuta_RLPGA);
    ASSERT_EQ(pga.size(), 65u);
    EXPECT_EQ(pga[0], "Disable LPGA");
    EXPECT_EQ(pga[64], "35.25dB");
    EXPECT_EQ(RingLabels(PHandleSTPathZuta, CFGPATHZuta_RLBYPMIX),
              (std::vector<std::string>{"path not connected", "path connected"}));
    auto mix = RingLabels(PHandleSTPathZuta, CFGPATHZuta_RRAUXMIX);
    ASSERT_EQ(mix.size(), 9u);
    EXPECT_EQ(mix[0], "Not Selected");
    for (int ring : {CFGPATHZuta_STADCVOLL, CFGPATHZuta_STADCVOLR, CFGPATHZuta_STDACVOLL, CFGPATHZuta_STDACVOLR}) {
        auto l = RingLabels(PHandleSTPathZuta, ring);
        ASSERT_EQ(l.size(), 256u) << ring;
        EXPECT_EQ(std::count(l.begin(), l.end(), "Digital Mute"), 1);
        EXPECT_EQ(l[0], "Digital Mute");
        EXPECT_EQ(l[1], "-127dB");
        EXPECT_EQ(l[255], "0dB");
    }
    // The two rings the model's start-up would leave empty list what the Jorb rings list.
    EXPECT_EQ(RingLabels(PHandleSTPathZuta, CFGPATHZuta_STSPKP).size(), 64u);
    EXPECT_EQ(RingLabels(PHandleSTPathZuta, CFGPATHZuta_RRAUXBEEP).size(), 8u);
    InitPathViewControlsZuta();
    EXPECT_EQ(RingLabels(PHandleSTPathZuta, CFGPATHZuta_RLPGA).size(), 65u);
}

TEST_F(Zuta, TabRectanglesOpenTheirBlockAndTheClickGoesOn) {
    ClickOnPath(300, 150);
    EXPECT_EQ(ActiveTab(), PHandleSTADCFilterZuta);
    ClickOnPath(300, 240);  // between the two ADC channels
    EXPECT_EQ(ActiveTab(), PHandleSTADCFilterZuta);
    ClickOnPath(230, 230);
    EXPECT_EQ(ActiveTab(), PHandleSTALCZuta);
    ClickOnPath(262, 150);  // bounds are exclusive
    EXPECT_EQ(ActiveTab(), PHandleSTPathZuta);
    EXPECT_TRUE(RegisterWrites().empty());
    EXPECT_EQ(FlagCFGUpdate, 0);

    // Right click brings back the block panel last right-clicked.
    PHandleLastPanel = PHandleSTEQZuta;
    ShowPath();
    QTest::mouseClick(rt::testing::ControlWidget(PHandleSTPathZuta, CFGPATHZuta_CVSZuta), Qt::RightButton, {},
                      QPoint(500, 20));
    EXPECT_EQ(ActiveTab(), PHandleSTEQZuta);
}

TEST_F(Zuta, SwitchClicksToggleTheirInputBitAndTheRefreshRedrawsTheBlade) {
    CFG_REG[44] = 0x000;
    ClickOnPath(79, 148);  // switch 0
    ClickOnPath(79, 265);  // switch 3
    ClickOnPath(79, 287);  // switch 4
    EXPECT_EQ(CFG_REG[44], 0x032u);
    EXPECT_EQ(RegisterWrites(), (Writes{{44, 0x002}, {44, 0x022}, {44, 0x032}}));
    EXPECT_EQ(FlagCFGUpdate, 1);
    Refresh();
    EXPECT_TRUE(GroupOn(14));
    EXPECT_TRUE(GroupOn(150));
    EXPECT_TRUE(GroupOn(151));
    EXPECT_FALSE(GroupOn(18));
    EXPECT_EQ(Pixel(83, 146), kMagenta);  // switch 0 closed
    EXPECT_EQ(Pixel(82, 143), kWhite);
    EXPECT_EQ(Pixel(82, 165), kGrey);  // switch 1 open
}

TEST_F(Zuta, LineOutSwitchMutesWithTheLatchAndSwapsTheIcons) {
    CFG_REG[52] = 0x020;
    Refresh();
    EXPECT_TRUE(GroupOn(10));
    EXPECT_EQ(Pixel(844, 255), kMagenta);
    EXPECT_TRUE(Shown(CFGPATHZuta_STLout1MuteDisenIcon));
    ClickOnPath(838, 257);
    EXPECT_EQ(CFG_REG[52], 0x160u);
    EXPECT_EQ(RegisterWrites(), (Writes{{52, 0x160}}));
    Refresh();
    EXPECT_FALSE(GroupOn(10));
    EXPECT_EQ(Pixel(843, 252), kGrey);
    EXPECT_FALSE(Shown(CFGPATHZuta_STLout1MuteDisenIcon));
    EXPECT_TRUE(Shown(CFGPATHZuta_STLout1MuteEnIcon));
}

TEST_F(Zuta, BypassSwitchSwapsOnlyBitsFourToZero) {
    CFG_REG[50] = 0x1E7;
    ClickOnPath(518, 91);
    EXPECT_EQ(CFG_REG[50], 0x1E1u);  // the aux-mix bits 8-5 stay
    ClickOnPath(518, 91);
    EXPECT_EQ(CFG_REG[50], 0x1F6u);
    ClickOnPath(518, 91);
    EXPECT_EQ(CFG_REG[50], 0x1E1u);
    CFG_REG[51] = 0x001;
    ClickOnPath(518, 435);
    EXPECT_EQ(CFG_REG[51], 0x016u);
    EXPECT_EQ(RegisterWrites(), (Writes{{50, 0x1E1}, {50, 0x1F6}, {50, 0x1E1}, {51, 0x016}}));
    Refresh();
    EXPECT_TRUE(GroupOn(63));  // bit 0 clear: connected
    EXPECT_FALSE(GroupOn(62));
    EXPECT_EQ(Ring(CFGPATHZuta_RRBYPMIX), 22);
    EXPECT_EQ(Ring(CFGPATHZuta_RLAUXMIX), 7);

    // The ring at 1 or 22 changes only bits 4-0 as well.
    Choose(CFGPATHZuta_RLBYPMIX, 22);
    EXPECT_EQ(CFG_REG[50], 0x1F6u);
}

TEST_F(Zuta, WireClicksToggleTheBitOfTheirOwnGroupOrNothing) {
    ClearRegisters(0);
    ClickOnPath(90, 306);  // segment 87, group 152 (R44 bit 6)
    EXPECT_EQ(CFG_REG[44], 0x040u);
    ClickOnPath(95, 296);  // segment 88, vertical at x 95, same group
    EXPECT_EQ(CFG_REG[44], 0x000u);
    ClickOnPath(60, 265);  // segment 79, group 150 (R44 bit 5)
    EXPECT_EQ(CFG_REG[44], 0x020u);
    EXPECT_EQ(CFG_REG[52], 0x000u);
    ClickOnPath(155, 159);  // segment 11: PGA power
    EXPECT_EQ(CFG_REG[2], 0x004u);
    ClickOnPath(80, 411);  // VREF: on, then off again
    ClickOnPath(80, 411);
    ClickOnPath(66, 482);  // mic bias
    EXPECT_EQ(RegisterWrites(), (Writes{{44, 0x040}, {44, 0x000}, {44, 0x020}, {2, 0x004}, {1, 0x001}, {1, 0x000}, {1, 0x010}}));

    // Wires of the always-lit and never-lit groups change only the refresh request.
    board->ClearReceivedReports();
    FlagCFGUpdate = 0;
    ClickOnPath(69, 306);   // segment 85
    ClickOnPath(65, 312);   // segment 86
    ClickOnPath(120, 318);  // segment 89
    EXPECT_TRUE(RegisterWrites().empty());
    EXPECT_EQ(CFG_REG[3], 0x000u);
    EXPECT_EQ(CFG_REG[2], 0x004u);
    EXPECT_EQ(FlagCFGUpdate, 1);
}

TEST_F(Zuta, EqualiserSwitchFollowsItsBitAndTheTexts) {
    CFG_REG[18] = 0x000;
    Refresh();
    EXPECT_TRUE(Shown(CFGPATHZuta_EQADCText));
    ClickOnPath(394, 275);
    EXPECT_EQ(CFG_REG[18], 0x100u);
    EXPECT_EQ(SharedPathTables().DPSTSwitch[0].state, 1);
    EXPECT_EQ(RegisterWrites(), (Writes{{18, 0x100}}));
    Refresh();
    EXPECT_TRUE(Shown(CFGPATHZuta_EQDACText));
    EXPECT_FALSE(Shown(CFGPATHZuta_EQADCText));
}

TEST_F(Zuta, GroupsAndControlLinesFollowTheRegisters) {
    ClearRegisters(0);
    CFG_REG[2] = 0x010;
    Refresh();
    EXPECT_FALSE(GroupOn(35));  // boost on, L2 gain "path not selected"
    EXPECT_TRUE(GroupOn(33));
    CFG_REG[47] = 0x030;
    Refresh();
    EXPECT_TRUE(GroupOn(35));
    EXPECT_FALSE(AnyPixel(129, 180, 131, 230, kRed));
    CFG_REG[32] = 0x080;  // ALC on the right channel only
    Refresh();
    EXPECT_FALSE(AnyPixel(129, 180, 131, 230, kRed));  // line 173 (left PGA)
    EXPECT_TRUE(AnyPixel(129, 240, 131, 253, kRed));   // line 174 (right PGA)
    EXPECT_TRUE(AnyPixel(250, 237, 290, 239, kRed));   // line 176
}

TEST_F(Zuta, RefreshSetsEveryRingTextAndIndicator) {
    ClearRegisters(0);
    CFG_REG[1] = 0x002;
    CFG_REG[43] = 0x00A;
    CFG_REG[47] = 0x153;
    CFG_REG[50] = 0x1C5;  // aux-mix code 7 but not selected; bypass code 5 has no item
    CFG_REG[51] = 0x002;  // bypass code 2: bit 0 clear
    CFG_REG[53] = 0x028;
    CFG_REG[55] = 0x02A;
    CFG_REG[45] = 0x050;
    Refresh();
    EXPECT_EQ(Ring(CFGPATHZuta_RLAUXBOOST), 3);
    EXPECT_EQ(Ring(CFGPATHZuta_RL2BOOST), 5);
    EXPECT_EQ(Ring(CFGPATHZuta_RLPGABOOST), 1);
    EXPECT_EQ(Ring(CFGPATHZuta_RLAUXMIX), -1);
    EXPECT_EQ(Ring(CFGPATHZuta_RLBYPMIX), 1);
    EXPECT_EQ(Ring(CFGPATHZuta_RRBYPMIX), 22);
    EXPECT_EQ(Ring(CFGPATHZuta_RHPP), 40);
    EXPECT_EQ(Ring(CFGPATHZuta_STSPKP), 42);
    EXPECT_EQ(Ring(CFGPATHZuta_RRAUXBEEP), 5);
    EXPECT_EQ(Ring(CFGPATHZuta_RLPGA), 16);
    std::string text;
    rt::GetCtrlVal(PHandleSTPathZuta, CFGPATHZuta_VRefText, &text);
    EXPECT_EQ(text, "300 KOhm");
    EXPECT_TRUE(Shown(CFGPATHZuta_STPGALDisableIcon));
    EXPECT_FALSE(Shown(CFGPATHZuta_STPGALEnableIcon));
    for (int icon : {CFGPATHZuta_STPGAENLDisenIcon, CFGPATHZuta_STADCENRDisenIcon, CFGPATHZuta_STDACENLDisenIcon,
                     CFGPATHZuta_STDACENRDisenIcon, CFGPATHZuta_STLMIXDisenIcon, CFGPATHZuta_STHPNDisableIcon,
                     CFGPATHZuta_STMICBIASDisenIcon, CFGPATHZuta_STBoostRDisableIcon, CFGPATHZuta_STOUT3DisableIcon})
        EXPECT_TRUE(Shown(icon)) << icon;
    EXPECT_FALSE(Shown(CFGPATHZuta_STVREFDisenIcon));
    EXPECT_TRUE(Shown(CFGPATHZuta_STRout2MuteDisenIcon));

    CFG_REG[2] = 0x1FF;
    CFG_REG[3] = 0x1FF;
    CFG_REG[55] = 0x040;
    Refresh();
    for (int icon : {CFGPATHZuta_STPGAENLDisenIcon, CFGPATHZuta_STADCENRDisenIcon, CFGPATHZuta_STDACENLDisenIcon,
                     CFGPATHZuta_STDACENRDisenIcon, CFGPATHZuta_STLMIXDisenIcon, CFGPATHZuta_STHPNDisableIcon,
                     CFGPATHZuta_STBoostRDisableIcon, CFGPATHZuta_STOUT3DisableIcon})
        EXPECT_FALSE(Shown(icon)) << icon;
    EXPECT_TRUE(Shown(CFGPATHZuta_STRout2MuteEnIcon));
    EXPECT_FALSE(Shown(CFGPATHZuta_STRout2MuteDisenIcon));
}

TEST_F(Zuta, RingsAndIconsWriteTheirFields) {
    std::vector<int> sleeps;
    os::Sleeper quiet = os::SetSleeper([&](int ms) { sleeps.push_back(ms); });
    ClearRegisters(0);
    CFG_REG[2] = 0x03F;
    CFG_REG[45] = 0x015;
    Choose(CFGPATHZuta_RLPGA, -1);
    CFG_REG[52] = 0x080;
    Choose(CFGPATHZuta_RHPN, 57);
    Choose(CFGPATHZuta_STDACVOLR, 255);
    Choose(CFGPATHZuta_RRAUXMIX, 3);
    Press(CFGPATHZuta_STRout1MuteDisenIcon);
    Press(CFGPATHZuta_STOut3MuteDisenIcon);
    EXPECT_EQ(RegisterWrites(), (Writes{{45, 0x155}, {2, 0x03B}, {52, 0x1B9}, {12, 0x1FF}, {51, 0x0E0}, {53, 0x140}, {56, 0x040}}));
    EXPECT_EQ(STLout1CurrentVOL, 57);
    int waited = 0;
    for (int ms : sleeps) waited += ms;
    EXPECT_GE(waited, 300);
    EXPECT_EQ(FlagCFGUpdate, 1);
    os::SetSleeper(quiet);
}

TEST_F(Zuta, JorbCallbacksBoundToTheZutaRingsReadTheZutaRing) {
    rt::SetCtrlVal(PHandleSTPath, ui::cfgPathJorb_pan::CFGPATHJorb_STSPKP, 5);
    rt::SetCtrlVal(PHandleSTPath, ui::cfgPathJorb_pan::CFGPATHJorb_RRAUXBEEP, 1);
    CFG_REG[55] = 0x040;
    CFG_REG[43] = 0x011;
    Choose(CFGPATHZuta_STSPKP, 40);
    Choose(CFGPATHZuta_RRAUXBEEP, 6);
    EXPECT_EQ(CFG_REG[55], 0x068u);
    EXPECT_EQ(STRout2CurrentVOL, 40);
    EXPECT_EQ(CFG_REG[43], 0x01Du);
    EXPECT_EQ(RegisterWrites(), (Writes{{55, 0x068}, {43, 0x01D}}));
    EXPECT_EQ(FlagCFGUpdate, 1);
}

// The panel as a person sees it (ZUTA_PNG=file saves the panel, PATHVIEW_WINDOW_PNG the window).
TEST_F(Zuta, RenderedPanelShowsTheDiagramOverItsBlocks) {
    ClearRegisters(0);
    CFG_REG[1] = 0x013;
    CFG_REG[2] = 0x03F;
    CFG_REG[3] = 0x00F;
    CFG_REG[44] = 0x033;
    CFG_REG[47] = 0x050;
    CFG_REG[50] = 0x016;
    CFG_REG[32] = 0x180;
    Refresh();
    QWidget* content = rt::testing::PanelContent(PHandleSTPathZuta);
    ASSERT_NE(content, nullptr);
    const pathtest::PanelPicture picture(content, Canvas());
    if (const char* out = std::getenv("ZUTA_PNG")) picture.image.save(out);
    if (const char* out = std::getenv("PATHVIEW_WINDOW_PNG")) rt::testing::PanelWindow(PHandlePanel)->grab().save(out);
    EXPECT_EQ(picture.At(60, 148), kMagenta);   // LIN selected
    EXPECT_EQ(picture.At(60, 170), kMagenta);   // LIP selected
    EXPECT_EQ(picture.At(155, 159), kMagenta);  // PGA powered
    EXPECT_EQ(picture.At(205, 159), kMagenta);  // boost on
    EXPECT_EQ(picture.At(530, 91), kMagenta);   // left bypass connected
    EXPECT_EQ(picture.At(860, 257), kMagenta);  // left line out unmuted
    EXPECT_EQ(picture.At(310, 200), 0xEEF2F8);  // inside the ADC block
}

}  // namespace
