// The Qeva path view on the emulated board: the map as built, the refresh from CFG_REG, real
// mouse clicks on the canvas, the DAC tab rectangle, the ganged DAC volume rings, the mute
// icons (one of them served by the Jorb module) and the panel as rendered.
#include <algorithm>
#include <cstdlib>
#include <set>

#include "panels/cfgPathQeva_pan.h"
#include "tests/pathview/path_test_support.h"

namespace {

using namespace ui::cfgPathQeva_pan;
using namespace ui::AudioCodec_pan;
using Writes = std::vector<std::pair<int, int>>;

using pathtest::kMagenta;
using pathtest::kGrey;

class QevaPath : public pathtest::PathViewFixture {
protected:
    int PathPanel() const override { return PHdlPathQeva; }
    int PathCanvasControl() const override { return CFGPATHQeva_CVSCONFIG; }
    void SetUp() override {
        ModelFixture::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_NO_FATAL_FAILURE(OpenModel(MENUBAR_DEVICE_StereoQeva, UI_QEVA));
    }
};

// ---- the map and its start state ------------------------------------------------------

TEST_F(QevaPath, ChoosingQevaBuildsTheMapAndLightsTheStartGroups) {
    STConstructMap_Qeva();
    STPathViewInit_Qeva();
    std::set<int> on, built;
    int segments = 0;
    for (int g = 0; g < kPathGroups; ++g) {
        if (Tables().groups[g].on) on.insert(g);
        if (Tables().groups[g].lineCount) built.insert(g);
    }
    EXPECT_EQ(on, (std::set<int>{0, 6, 53, 181}));
    EXPECT_EQ(built.size(), 36u);
    for (const PathLine& l : Tables().lines) segments += (l.x1 || l.y1 || l.x2 || l.y2) ? 1 : 0;
    EXPECT_EQ(segments, 94);
    int switches = 0;
    for (const PathSwitch& s : Tables().switchs) switches += s.x1 != -1 ? 1 : 0;
    EXPECT_EQ(switches, 13);
    EXPECT_EQ(Tables().switchs[16].x1, -1);
    EXPECT_EQ(Tables().switchs[21].x1, 695);
    EXPECT_EQ(Tables().DPSTSwitch[0].x1, 798);
    EXPECT_EQ(Tables().DPSTSwitch[0].y3, 417);
    EXPECT_FALSE(HasPosition(Tables().DPSTSwitch[1]));
    EXPECT_EQ(Tables().lines[0].x2, 468);
    EXPECT_EQ(Tables().lines[154].x1, 411);
    EXPECT_EQ(Tables().lines[154].y1, 472);  // stored from its lower end
    // Segments 60 and 139 belong to two groups each.
    EXPECT_EQ(std::count(Tables().groups[93].lineIndex.begin(), Tables().groups[93].lineIndex.end(), 60), 1);
    EXPECT_EQ(std::count(Tables().groups[95].lineIndex.begin(), Tables().groups[95].lineIndex.end(), 60), 1);
    EXPECT_EQ(Tables().groups[215].switchIndex, 21);
    EXPECT_EQ(Tables().groups[215].lineIndex.front(), 139);

}

// ---- refresh ------------------------------------------------------------------------------

TEST_F(QevaPath, BeepAndInverterGroupsFollowRegister43) {
    CFG_REG[55] = 0x000;
    CFG_REG[43] = 0x010;
    Refresh();
    EXPECT_FALSE(GroupOn(214));
    EXPECT_TRUE(GroupOn(215));
    EXPECT_EQ(Tables().switchs[21].state, 1);
    EXPECT_FALSE(GroupOn(169));
    EXPECT_EQ(Tables().switchs[22].state, 0);
    EXPECT_EQ(Tables().DPSTSwitch[0].state, 1);
    EXPECT_TRUE(GroupOn(225));
    EXPECT_TRUE(GroupOn(223));
    CFG_REG[55] = 0x040;
    Refresh();
    EXPECT_FALSE(GroupOn(223));
    CFG_REG[43] = 0x030;
    Refresh();
    EXPECT_FALSE(GroupOn(225));
    CFG_REG[43] = 0x031;
    Refresh();
    EXPECT_TRUE(GroupOn(225));
    EXPECT_TRUE(GroupOn(223));
}

TEST_F(QevaPath, RefreshSetsRingsTextsIconsAndTheInterfaceWire) {
    CFG_REG[50] = 0x1C0;
    CFG_REG[11] = 0x100;
    CFG_REG[12] = 0x0FF;
    CFG_REG[1] = 0x000;
    CFG_REG[18] = 0x100;
    CFG_REG[49] = 0x004;
    CFG_REG[55] = 0x040;
    CFG_REG[43] = 0x00E;
    FlagAudioInterfaceActive = 0;
    Refresh();
    EXPECT_EQ(Ring(CFGPATHQeva_RLAUXMIX), -1);
    EXPECT_FALSE(GroupOn(3));
    EXPECT_EQ(Ring(CFGPATHQeva_STDACVOLL), 0);
    EXPECT_EQ(Ring(CFGPATHQeva_STDACVOLR), 255);
    EXPECT_EQ(Ring(CFGPATHQeva_RRAUXBEEP), 7);
    EXPECT_EQ(Text(CFGPATHQeva_VRefTextQeva), "Open Circuit");
    EXPECT_TRUE(Shown(CFGPATHQeva_STVREFDisenIcon));
    EXPECT_TRUE(Shown(CFGPATHQeva_EQDACTextQeva));
    EXPECT_TRUE(Shown(CFGPATHQeva_STSPKBoostDisenIcon));
    EXPECT_FALSE(Shown(CFGPATHQeva_STSPKBoostEnIcon));
    EXPECT_TRUE(Shown(CFGPATHQeva_STRout2MuteEnIcon));
    EXPECT_FALSE(Shown(CFGPATHQeva_STRout2MuteDisenIcon));
    EXPECT_EQ(Pixel(411, 400), kGrey);

    CFG_REG[1] = 0x003;
    CFG_REG[3] = 0x001;
    FlagAudioInterfaceActive = 1;
    Refresh();
    EXPECT_EQ(Text(CFGPATHQeva_VRefTextQeva), "5 KOhm");
    EXPECT_FALSE(Shown(CFGPATHQeva_STVREFDisenIcon));
    EXPECT_FALSE(Shown(CFGPATHQeva_STDACENLDisenIcon));
    EXPECT_TRUE(Shown(CFGPATHQeva_STDACENRDisenIcon));
    EXPECT_EQ(Pixel(411, 400), kMagenta);
}

// ---- canvas clicks -------------------------------------------------------------------------

TEST_F(QevaPath, SwitchesAndTheDoubleThrowToggleTheirBits) {
    CFG_REG[49] = 0x000;
    ClickOnPath(594, 122);  // switch 9
    ClickOnPath(594, 122);
    EXPECT_EQ(CFG_REG[49], 0x002u);
    CFG_REG[43] = 0x010;
    ClickOnPath(790, 411);  // the double-throw switch
    EXPECT_EQ(CFG_REG[43], 0x000u);
    EXPECT_EQ(Tables().DPSTSwitch[0].state, 0);
    CFG_REG[56] = 0x000;
    ClickOnPath(728, 193);  // switch 17
    EXPECT_EQ(CFG_REG[56], 0x008u);
    EXPECT_EQ(RegisterWrites(), (Writes{{49, 0x022}, {49, 0x002}, {43, 0x000}, {56, 0x008}}));
    Refresh();
    EXPECT_TRUE(GroupOn(99));
    EXPECT_TRUE(GroupOn(95));
}

// A wire toggles the bit of its own group, or nothing.
TEST_F(QevaPath, WiresToggleTheBitOfTheirOwnGroup) {
    for (int r : {3, 52, 56, 57}) CFG_REG[r] = 0;
    ClickOnPath(798, 130);  // segment 61: the OUT4 enable
    EXPECT_EQ(CFG_REG[3], 0x100u);
    EXPECT_EQ(CFG_REG[57], 0x000u);
    ClickOnPath(833, 215);  // segment 78: the OUT3 enable
    EXPECT_EQ(CFG_REG[3], 0x180u);
    EXPECT_EQ(CFG_REG[56], 0x000u);
    ClickOnPath(706, 193);  // segment 66: the AUX1 output into the AUX2 mixer
    EXPECT_EQ(CFG_REG[56], 0x008u);
    ClickOnPath(798, 60);  // segment 79, of the left mixer group, beside the HP- output
    EXPECT_EQ(CFG_REG[3], 0x184u);
    EXPECT_EQ(CFG_REG[52], 0x000u);
    FlagCFGUpdate = 0;
    ClickOnPath(790, 150);  // segment 63: no row, only the refresh
    EXPECT_EQ(FlagCFGUpdate, 1);
    EXPECT_EQ(RegisterWrites(), (Writes{{3, 0x100}, {3, 0x180}, {56, 0x008}, {3, 0x184}}));

    ASSERT_TRUE(GroupOn(0));
    ClickOnPath(200, 45);  // segment 0
    EXPECT_FALSE(GroupOn(0));
    ASSERT_TRUE(GroupOn(6));
    ClickOnPath(440, 400);  // segment 6
    EXPECT_FALSE(GroupOn(6));
    Refresh();
    EXPECT_EQ(Pixel(200, 45), kGrey);
    EXPECT_EQ(RegisterWrites().size(), 4u);

    FlagCFGUpdate = 0;
    ClickOnPath(300, 200);  // nothing there
    EXPECT_EQ(FlagCFGUpdate, 0);
}

TEST_F(QevaPath, TheDacBlockOpensTheQevaDacTab) {
    ClickOnPath(420, 200);
    EXPECT_EQ(ActiveTab(), PHdlDACQeva);
    ClickOnPath(300, 195);  // where the other models keep their ALC block: nothing
    EXPECT_EQ(ActiveTab(), PHdlPathQeva);
    PHandleLastPanel = PHandlePanel;
    ClickOnPath(300, 200, Qt::RightButton);
    EXPECT_EQ(ActiveTab(), PHdlPathQeva);
    PHandleLastPanel = PHdlOutputQeva;
    ClickOnPath(300, 200, Qt::RightButton);
    EXPECT_EQ(ActiveTab(), PHdlOutputQeva);
}

// ---- panel controls -----------------------------------------------------------------------

TEST_F(QevaPath, DacVolumeRingsSetBothChannels) {
    auto l = RingLabels(PHdlPathQeva, CFGPATHQeva_STDACVOLR);
    ASSERT_EQ(l.size(), 256u);
    EXPECT_EQ(std::count(l.begin(), l.end(), "Digital Mute"), 1);
    EXPECT_EQ(l[0], "Digital Mute");
    EXPECT_EQ(RingLabels(PHdlPathQeva, CFGPATHQeva_RLAUXMIX).size(), 9u);
    EXPECT_EQ(RingLabels(PHdlPathQeva, CFGPATHQeva_STSPKP).size(), 64u);

    CFG_REG[11] = 0x1FF;
    CFG_REG[12] = 0x0FF;
    Choose(CFGPATHQeva_STDACVOLR, 10);
    EXPECT_EQ(CFG_REG[11], 0x10Au);
    EXPECT_EQ(CFG_REG[12], 0x10Au);
    CFG_REG[11] = 0x000;
    Choose(CFGPATHQeva_STDACVOLL, 255);
    EXPECT_EQ(CFG_REG[11], 0x0FFu);
    EXPECT_EQ(CFG_REG[12], 0x1FFu);
    EXPECT_EQ(RegisterWrites(), (Writes{{11, 0x10A}, {12, 0x10A}, {11, 0x0FF}, {12, 0x1FF}}));
    EXPECT_EQ(FlagCFGUpdate, 1);
}

TEST_F(QevaPath, MixerAndOutputRingsWriteTheirFields) {
    CFG_REG[50] = 0x1E0;
    Choose(CFGPATHQeva_RLAUXMIX, -1);
    EXPECT_EQ(CFG_REG[50], 0x1C0u);
    EXPECT_FALSE(GroupOn(3));
    CFG_REG[51] = 0x000;
    Choose(CFGPATHQeva_RRAUXMIX, 3);
    EXPECT_EQ(CFG_REG[51], 0x0E0u);
    EXPECT_TRUE(GroupOn(209));
    CFG_REG[54] = 0x1C0;
    Choose(CFGPATHQeva_STSPKN, 20);
    EXPECT_EQ(CFG_REG[54], 0x1D4u);
    EXPECT_EQ(STLout2CurrentVOL, 20);
    EXPECT_EQ(RegisterWrites(), (Writes{{50, 0x1C0}, {51, 0x0E0}, {54, 0x1D4}}));
}

// Icon 7 is bound to the Jorb module's callback; it acts on the register all the same.
TEST_F(QevaPath, MuteIconsIncludingTheOneServedByTheJorbModule) {
    CFG_REG[53] = 0x040;
    CFG_REG[55] = 0x000;
    Refresh();
    ASSERT_TRUE(Shown(CFGPATHQeva_STRout1MuteEnIcon));
    Press(CFGPATHQeva_STRout1MuteEnIcon);
    EXPECT_EQ(CFG_REG[53], 0x000u);
    Press(CFGPATHQeva_STRout2MuteDisenIcon);
    EXPECT_EQ(CFG_REG[55], 0x040u);
    EXPECT_EQ(RegisterWrites(), (Writes{{53, 0x000}, {55, 0x040}}));
    Refresh();
    EXPECT_TRUE(Shown(CFGPATHQeva_STRout1MuteDisenIcon));
    EXPECT_TRUE(Shown(CFGPATHQeva_STRout2MuteEnIcon));
    EXPECT_EQ(pathtest::Tip(PHdlPathQeva, CFGPATHQeva_STHPPDisableIcon),
              "Output Disabled, you can enable it in Device Control or Output tab.");
}

TEST_F(QevaPath, RenderedPanelShowsTheDiagram) {
    ClearRegisters();
    CFG_REG[1] = 0x0FF;
    CFG_REG[2] = 0x1FF;
    CFG_REG[3] = 0x1FF;
    CFG_REG[50] = 0x021;
    CFG_REG[57] = 0x012;
    Refresh();
    QWidget* content = rt::testing::PanelContent(PHdlPathQeva);
    ASSERT_NE(content, nullptr);
    const pathtest::PanelPicture picture(content, Canvas());
    if (const char* out = std::getenv("PATHVIEW_PNG")) picture.image.save(out);
    EXPECT_EQ(picture.At(200, 45), kMagenta);   // AUXL
    EXPECT_EQ(picture.At(520, 45), kMagenta);   // AUXL into the left mixer
    EXPECT_EQ(picture.At(200, 349), kMagenta);  // AUXR
    EXPECT_EQ(picture.At(520, 349), kGrey);     // AUXR not into the right mixer
    EXPECT_EQ(picture.At(460, 106), kMagenta);  // left DAC output
}

}  // namespace
