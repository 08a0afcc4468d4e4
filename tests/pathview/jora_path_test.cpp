// The Jora path view on the emulated board: the map as built, the groups and panel that the
// refresh sets from CFG_REG, real mouse clicks on the canvas and the bits they write, the
// panel's rings and icons, and the panel as rendered.
#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>

#include "oslayer/os.h"
#include "panels/cfgPathJora_pan.h"
#include "tests/pathview/path_test_support.h"

namespace {

using namespace ui::cfgPathJora_pan;
using namespace ui::AudioCodec_pan;
using Writes = std::vector<std::pair<int, int>>;

using pathtest::kMagenta;
using pathtest::kGrey;
using pathtest::kWhite;

class JoraPath : public pathtest::PathViewFixture {
protected:
    int PathPanel() const override { return PHdlPathJora; }
    int PathCanvasControl() const override { return CFGPATHJora_CVSCONFIG; }
    void SetUp() override {
        ModelFixture::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_NO_FATAL_FAILURE(OpenModel(MENUBAR_DEVICE_StereoJora, UI_JORA));
    }
};

// ---- the map -----------------------------------------------------------------------------

TEST_F(JoraPath, ChoosingJoraBuildsTheMapAndItsStartState) {
    STConstructMap_Jora();
    STPathViewInit_Jora();
    std::set<int> on;
    for (int g = 0; g < kPathGroups; ++g)
        if (Tables().groups[g].on) on.insert(g);
    EXPECT_EQ(on, (std::set<int>{0, 13, 17, 22, 38, 149, 153, 158, 174, 180, 231, 243}));
    for (int s = 0; s < 29; ++s) EXPECT_EQ(Tables().switchs[s].state, 0) << s;
    EXPECT_EQ(Tables().switchs[29].x1, -1);  // slot 29 stays empty

    // Every segment in a group, every switch in exactly one, segments 26 and 83 in two.
    std::map<int, int> segmentGroups, switchGroups;
    int groups = 0;
    for (const PathGroup& g : Tables().groups) {
        if (g.lineCount == 0) continue;
        ++groups;
        for (int s : g.lineIndex) ++segmentGroups[s];
        if (g.switchIndex >= 0) ++switchGroups[g.switchIndex];
    }
    EXPECT_EQ(groups, 74);
    EXPECT_EQ(segmentGroups.size(), 157u);
    EXPECT_EQ(segmentGroups[26], 2);
    EXPECT_EQ(segmentGroups[83], 2);
    EXPECT_EQ(switchGroups.size(), 29u);
    for (auto [sw, n] : switchGroups) EXPECT_EQ(n, 1) << "switch " << sw;

    // Fixed points of the drawing.
    EXPECT_EQ(Tables().lines[0].x1, 50);
    EXPECT_EQ(Tables().lines[0].y2, 47);
    EXPECT_EQ(Tables().lines[5].x2, 129);
    EXPECT_EQ(Tables().lines[5].y2, 112);
    EXPECT_EQ(Tables().switchs[26].x1, 701);  // the standing switch
    EXPECT_EQ(Tables().switchs[26].x2, 701);
    EXPECT_EQ(Tables().switchs[26].y2, 379);
    EXPECT_EQ(Tables().DPSTSwitch[5].x3, 840);
    EXPECT_EQ(Tables().DPSTSwitch[5].y3, 93);
    EXPECT_FALSE(HasPosition(Tables().DPSTSwitch[7]));
    // Segments answer from either end they were stored from.
    EXPECT_EQ(Tables().HitTest(770, 100), 160);
    EXPECT_EQ(Tables().HitTest(785, 88), 161);
}

// ---- refresh from CFG_REG ------------------------------------------------------------------

TEST_F(JoraPath, RefreshLightsGroupsAndSetsTheDoubleThrowSwitches) {
    ClearRegisters();
    CFG_REG[47] = 0x007;
    Refresh();
    EXPECT_FALSE(GroupOn(10));
    EXPECT_TRUE(Shown(CFGPATHJora_STBoostLDisableIcon));
    CFG_REG[2] = 0x010;
    Refresh();
    EXPECT_TRUE(GroupOn(10));
    EXPECT_FALSE(Shown(CFGPATHJora_STBoostLDisableIcon));
    EXPECT_EQ(Pixel(174, 112), kMagenta);

    CFG_REG[18] = 0x100;
    Refresh();
    EXPECT_TRUE(GroupOn(202));
    EXPECT_FALSE(GroupOn(200));
    EXPECT_EQ(Tables().DPSTSwitch[0].state, 1);
    EXPECT_TRUE(Shown(CFGPATHJora_EQDACTextJora));
    EXPECT_FALSE(Shown(CFGPATHJora_EQADCTextJora));

    CFG_REG[49] = 0x010;
    Refresh();
    EXPECT_EQ(Tables().DPSTSwitch[5].state, 0);
    EXPECT_EQ(Tables().DPSTSwitch[6].state, 1);
    EXPECT_TRUE(GroupOn(95));
    EXPECT_FALSE(GroupOn(97));
    EXPECT_TRUE(Shown(CFGPATHJora_STOut4BoostDisenIcon));
    EXPECT_FALSE(Shown(CFGPATHJora_STOut4BoostEnIcon));
    EXPECT_TRUE(AnyPixel(835, 81, 837, 84, kMagenta));    // blade up to throw 0 (840, 82)
    EXPECT_FALSE(AnyPixel(835, 88, 837, 91, kMagenta));  // not down to throw 1

    // Segment 26 is lit by either of its groups.
    CFG_REG[44] = 0x000;
    Refresh();
    EXPECT_EQ(Pixel(95, 165), kGrey);
    CFG_REG[44] = 0x004;
    Refresh();
    EXPECT_EQ(Pixel(95, 165), kMagenta);
    CFG_REG[44] = 0x001;
    Refresh();
    EXPECT_EQ(Pixel(95, 165), kMagenta);

    // Switch 22 shows the OUT4 enable.
    EXPECT_EQ(Tables().switchs[22].state, 0);
    CFG_REG[3] = 0x100;
    Refresh();
    EXPECT_EQ(Tables().switchs[22].state, 1);
    EXPECT_EQ(Pixel(805, 86), kMagenta);
}

TEST_F(JoraPath, RefreshSetsRingsTextsAndIcons) {
    ClearRegisters();
    Refresh();
    EXPECT_EQ(Ring(CFGPATHJora_RLAUXMIX), -1);
    EXPECT_EQ(Ring(CFGPATHJora_RLBYPMIX), -1);
    EXPECT_EQ(Text(CFGPATHJora_VRefTextJora), "Open Circuit");
    EXPECT_TRUE(Shown(CFGPATHJora_STVREFDisenIcon));
    for (int icon : {CFGPATHJora_STOUT4DisableIcon, CFGPATHJora_STAUX1MXDisenIcon, CFGPATHJora_STADCENRDisenIcon,
                     CFGPATHJora_STDACENLDisenIcon, CFGPATHJora_STPLLDisenIcon})
        EXPECT_TRUE(Shown(icon)) << icon;

    CFG_REG[50] = 0x1E2;
    CFG_REG[1] = 0x0F2;
    CFG_REG[2] = 0x003;
    CFG_REG[3] = 0x003;
    CFG_REG[45] = 0x05A;
    CFG_REG[11] = 0x1C0;
    CFG_REG[43] = 0x00A;
    CFG_REG[53] = 0x07F;
    Refresh();
    EXPECT_EQ(Ring(CFGPATHJora_RLAUXMIX), 7);
    EXPECT_EQ(Ring(CFGPATHJora_RLBYPMIX), 0);
    EXPECT_EQ(Ring(CFGPATHJora_RLPGA), 0x1A);
    EXPECT_EQ(Ring(CFGPATHJora_STDACVOLL), 0xC0);
    EXPECT_EQ(Ring(CFGPATHJora_RRAUXBEEP), 5);
    EXPECT_EQ(Ring(CFGPATHJora_RHPP), 0x3F);
    EXPECT_EQ(Text(CFGPATHJora_VRefTextJora), "300 KOhm");
    EXPECT_FALSE(Shown(CFGPATHJora_STVREFDisenIcon));
    EXPECT_FALSE(Shown(CFGPATHJora_STAUX1MXDisenIcon));
    EXPECT_FALSE(Shown(CFGPATHJora_STADCENRDisenIcon));
    EXPECT_FALSE(Shown(CFGPATHJora_STDACENLDisenIcon));
    EXPECT_FALSE(Shown(CFGPATHJora_STPGALEnableIcon));
    EXPECT_TRUE(Shown(CFGPATHJora_STPGALDisableIcon));
    EXPECT_FALSE(Shown(CFGPATHJora_STRout1MuteDisenIcon));
    EXPECT_TRUE(Shown(CFGPATHJora_STRout1MuteEnIcon));
}

// ---- canvas clicks -------------------------------------------------------------------------

TEST_F(JoraPath, SwitchesToggleTheirBits) {
    CFG_REG[49] = 0x000;
    ClickOnPath(539, 176);  // switch 9
    EXPECT_EQ(CFG_REG[49], 0x022u);
    ClickOnPath(539, 176);
    EXPECT_EQ(CFG_REG[49], 0x002u);
    EXPECT_EQ(FlagCFGUpdate, 1);

    CFG_REG[56] = 0x000;
    ClickOnPath(701, 373);  // switch 26, standing
    EXPECT_EQ(CFG_REG[56], 0x008u);
    Refresh();
    EXPECT_TRUE(GroupOn(141));
    EXPECT_EQ(Pixel(703, 377), kMagenta);  // standing blade closed

    // The output switch mutes its output; its blade keeps showing the output enable.
    CFG_REG[57] = 0x000;
    CFG_REG[3] = 0x000;
    ClickOnPath(803, 88);
    EXPECT_EQ(CFG_REG[57], 0x040u);
    Refresh();
    EXPECT_TRUE(Shown(CFGPATHJora_STOut4MuteEnIcon));
    EXPECT_EQ(Tables().switchs[22].state, 0);
    EXPECT_EQ(RegisterWrites(), (Writes{{49, 0x022}, {49, 0x002}, {56, 0x008}, {57, 0x040}}));
}

TEST_F(JoraPath, DoubleThrowSwitchesToggleTheirOwnBit) {
    CFG_REG[49] = 0x000;
    ClickOnPath(835, 88);  // double-throw 5: OUT4 gain
    EXPECT_EQ(CFG_REG[49], 0x010u);
    EXPECT_EQ(Tables().DPSTSwitch[5].state, 0);
    CFG_REG[14] = 0x000;
    ClickOnPath(340, 310);  // double-throw 2: right ADC polarity
    EXPECT_EQ(CFG_REG[14], 0x002u);
    EXPECT_EQ(Tables().DPSTSwitch[2].state, 1);
    CFG_REG[18] = 0x000;
    ClickOnPath(381, 262);  // double-throw 0: EQ to the DAC side
    EXPECT_EQ(CFG_REG[18], 0x100u);
    EXPECT_EQ(RegisterWrites(), (Writes{{49, 0x010}, {14, 0x002}, {18, 0x100}}));
    Refresh();
    EXPECT_TRUE(AnyPixel(383, 258, 385, 262, kMagenta));  // blade to throw 1 (387, 257)
}

// A wire toggles the bit of its own group (or nothing), never a bit of another model's map.
TEST_F(JoraPath, WiresToggleTheBitOfTheirOwnGroup) {
    ASSERT_TRUE(GroupOn(0));
    ClickOnPath(90, 47);  // segment 0
    EXPECT_FALSE(GroupOn(0));
    EXPECT_TRUE(RegisterWrites().empty());
    Refresh();
    EXPECT_FALSE(GroupOn(0));
    EXPECT_EQ(Pixel(90, 47), kGrey);

    ClearRegisters();
    ClickOnPath(785, 88);  // segment 61: the AUX1 mixer output
    EXPECT_EQ(CFG_REG[1], 0x080u);
    EXPECT_EQ(CFG_REG[57], 0x000u);
    ClickOnPath(673, 59);  // segment 46: BYP R into the AUX1 mixer
    EXPECT_EQ(CFG_REG[57], 0x004u);
    EXPECT_EQ(CFG_REG[3], 0x000u);
    ClickOnPath(650, 321);  // segment 78: the right main mixer
    EXPECT_EQ(CFG_REG[3], 0x008u);
    ClickOnPath(430, 421);  // segment 102 of an always-lit group: no row
    ClickOnPath(174, 112);  // segment 7: no longer toggles group 0
    EXPECT_FALSE(GroupOn(0));
    ClickOnPath(60, 165);  // segment 24: the LIP lead
    ClickOnPath(129, 80);  // segment 5
    EXPECT_EQ(RegisterWrites(), (Writes{{1, 0x080}, {57, 0x004}, {3, 0x008}}));
    EXPECT_EQ(FlagCFGUpdate, 1);
    Refresh();
    EXPECT_EQ(Pixel(785, 88), kMagenta);
    EXPECT_FALSE(Shown(CFGPATHJora_STAUX1MXDisenIcon));

    // No tab rectangles: the Jorb DAC spot opens nothing; nothing hit, no refresh asked for.
    FlagCFGUpdate = 0;
    ClickOnPath(420, 200);
    EXPECT_EQ(ActiveTab(), PHdlPathJora);
    EXPECT_EQ(FlagCFGUpdate, 0);
}

TEST_F(JoraPath, RightClickReturnsToTheLastBlockPanel) {
    PHandleLastPanel = PHdlADCJora;
    ClickOnPath(600, 520, Qt::RightButton);
    EXPECT_EQ(ActiveTab(), PHdlADCJora);
}

// ---- panel controls -----------------------------------------------------------------------

TEST_F(JoraPath, RingsHoldTheirItems) {
    auto pga = RingLabels(PHdlPathJora, CFGPATHJora_RLPGA);
    ASSERT_EQ(pga.size(), 65u);
    EXPECT_EQ(pga[0], "Disable LPGA");
    EXPECT_EQ(pga[64], "35.25dB");
    EXPECT_EQ(RingLabels(PHdlPathJora, CFGPATHJora_RRPGA)[0], "Disable RPGA");
    EXPECT_EQ(RingLabels(PHdlPathJora, CFGPATHJora_RR2BOOST).size(), 8u);
    EXPECT_EQ(RingLabels(PHdlPathJora, CFGPATHJora_RRPGABOOST), (std::vector<std::string>{"+0dB", "+20dB"}));
    EXPECT_EQ(RingLabels(PHdlPathJora, CFGPATHJora_RRBYPMIX)[0], "Not Selected");
    EXPECT_EQ(RingLabels(PHdlPathJora, CFGPATHJora_STSPKP).size(), 64u);
    for (int ring : {CFGPATHJora_STADCVOLL, CFGPATHJora_STADCVOLR, CFGPATHJora_STDACVOLL, CFGPATHJora_STDACVOLR}) {
        auto l = RingLabels(PHdlPathJora, ring);
        ASSERT_EQ(l.size(), 256u) << ring;
        EXPECT_EQ(std::count(l.begin(), l.end(), "Digital Mute"), 1);
        EXPECT_EQ(l[0], "Digital Mute");
        EXPECT_EQ(l[1], "-127dB");
    }
}

TEST_F(JoraPath, RingsWriteTheirFields) {
    std::vector<std::pair<int, int>> sleeps;
    os::Sleeper quiet = os::SetSleeper([&](int ms) { sleeps.emplace_back(ms, static_cast<int>(RegisterWrites().size())); });
    CFG_REG[2] = 0x03F;
    CFG_REG[45] = 0x010;
    Choose(CFGPATHJora_RLPGA, -1);
    EXPECT_EQ(CFG_REG[45], 0x150u);
    EXPECT_EQ(CFG_REG[2], 0x03Bu);
    EXPECT_EQ(RegisterWrites(), (Writes{{45, 0x150}, {2, 0x03B}}));
    int between = 0;
    for (auto [ms, writes] : sleeps) between += writes == 1 ? ms : 0;
    EXPECT_GE(between, 300);
    os::SetSleeper(quiet);

    CFG_REG[45] = 0x040;
    Choose(CFGPATHJora_RLPGA, 16);
    EXPECT_EQ(CFG_REG[45], 0x110u);
    EXPECT_EQ(CFG_REG[2] & 0x004, 0x004u);

    board->ClearReceivedReports();
    CFG_REG[51] = 0x1E1;
    Choose(CFGPATHJora_RRAUXMIX, -1);
    EXPECT_EQ(CFG_REG[51], 0x1C1u);
    EXPECT_FALSE(GroupOn(225));  // the Jora group of the AUXR path, at once
    Choose(CFGPATHJora_RRAUXMIX, 2);
    EXPECT_EQ(CFG_REG[51], 0x0A1u);
    EXPECT_TRUE(GroupOn(225));
    Choose(CFGPATHJora_STDACVOLL, 255);
    Choose(CFGPATHJora_STADCVOLR, 1);
    Choose(CFGPATHJora_RHPN, 12);
    EXPECT_EQ(STLout1CurrentVOL, 12);
    Choose(CFGPATHJora_RR2BOOST, 5);
    EXPECT_EQ(RegisterWrites(), (Writes{{51, 0x1C1}, {51, 0x0A1}, {11, 0x1FF}, {16, 0x101}, {52, CFG_REG[52] & 0x1FF}, {48, CFG_REG[48]}}));
    EXPECT_EQ(CFG_REG[48] & 0x070, 0x050u);
}

TEST_F(JoraPath, IconsMuteAndTheRefreshSwapsThem) {
    CFG_REG[57] = 0x000;
    Refresh();
    ASSERT_TRUE(Shown(CFGPATHJora_STOut4MuteDisenIcon));
    Press(CFGPATHJora_STOut4MuteDisenIcon);
    EXPECT_EQ(CFG_REG[57], 0x040u);
    Refresh();
    EXPECT_FALSE(Shown(CFGPATHJora_STOut4MuteDisenIcon));
    EXPECT_TRUE(Shown(CFGPATHJora_STOut4MuteEnIcon));
    Press(CFGPATHJora_STOut4MuteEnIcon);
    EXPECT_EQ(CFG_REG[57], 0x000u);

    CFG_REG[46] = 0x000;
    Refresh();
    Press(CFGPATHJora_STPGAREnableIcon);
    EXPECT_EQ(CFG_REG[46], 0x140u);
    EXPECT_EQ(RegisterWrites(), (Writes{{57, 0x040}, {57, 0x000}, {46, 0x140}}));
}

TEST_F(JoraPath, ChoosingJoraSetsTheToolTips) {
    EXPECT_EQ(pathtest::Tip(PHdlPathJora, CFGPATHJora_STBoostRDisableIcon),
              "Right channel Boost stage disbled. To enable it, click Device Control tab");
    EXPECT_EQ(pathtest::Tip(PHdlPathJora, CFGPATHJora_STRout1MuteEnIcon),
              "Output Muted. To enable it, click Device Control tab");
    EXPECT_EQ(pathtest::Tip(PHandlePanel, PANEL_LDevAttached), "Device attached/detached indicator  ");
}

// The panel as a person sees it (PATHVIEW_PNG / PATHVIEW_WINDOW_PNG save the pictures).
TEST_F(JoraPath, RenderedPanelShowsTheDiagram) {
    ClearRegisters();
    CFG_REG[1] = 0x0FF;
    CFG_REG[2] = 0x1FF;
    CFG_REG[3] = 0x1FF;
    CFG_REG[44] = 0x033;
    CFG_REG[47] = 0x005;
    CFG_REG[50] = 0x023;
    CFG_REG[57] = 0x018;
    Refresh();
    QWidget* content = rt::testing::PanelContent(PHdlPathJora);
    ASSERT_NE(content, nullptr);
    const pathtest::PanelPicture picture(content, Canvas());
    if (const char* out = std::getenv("PATHVIEW_PNG")) picture.image.save(out);
    if (const char* out = std::getenv("PATHVIEW_WINDOW_PNG")) rt::testing::PanelWindow(PHandlePanel)->grab().save(out);
    EXPECT_EQ(picture.At(90, 47), kMagenta);    // AUXL input
    EXPECT_EQ(picture.At(480, 47), kMagenta);   // AUXL into the left mixer
    EXPECT_EQ(picture.At(300, 89), kMagenta);   // left bypass bus
    EXPECT_EQ(picture.At(640, 410), kMagenta);  // BYP L lead, always lit
    EXPECT_EQ(picture.At(60, 258), kMagenta);   // RIN lead
    EXPECT_EQ(picture.At(490, 463), kGrey);     // AUXR to the right mixer, not selected
}

}  // namespace
