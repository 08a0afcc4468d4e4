// The mono path view on the emulated board, for each of Pykc, Pykb and Pyka: the map as
// built, the groups and panel that the refresh sets from CFG_REG, real mouse clicks on the
// canvas (tab rectangles, switches, wires), the rings and icons on the model's own panel, and
// the panel as rendered.
#include <cstdlib>
#include <set>

#include "device/device_services.h"
#include "panels/MNPath_pan.h"
#include "tests/pathview/path_test_support.h"

namespace {

using namespace ui::MNPath_pan;
using namespace ui::AudioCodec_pan;
using Writes = std::vector<std::pair<int, int>>;

using pathtest::kMagenta;
using pathtest::kGrey;
using pathtest::kRed;

struct Mono {
    const char* name;
    int menu, ui;
    int* path;
    int *adc, *dac, *alc;
    void (*init)();
    void (*fill)();
};

const Mono kModels[] = {
    {"Pykc", MENUBAR_DEVICE_Mono, UI_PYKC, &PHandleMNPath, &PHandleMNADC, &PHandleMNDAC, &PHandleMNALC, MNPathViewInit,
     MNInitPathViewControls},
    {"Pykb", MENUBAR_DEVICE_MonoPykb, UI_PYKB, &PHandleMNPykbPath, &PHandleMNPykbADC, &PHandleMNPykbDAC, &PHandleMNPykbALC,
     MNPykbPathViewInit, MNPykbInitPathViewControls},
    {"Pyka", MENUBAR_DEVICE_MonoPyka, UI_PYKA, &PHandleMNPykaPath, &PHandleMNPykaADC, &PHandleMNPykaDAC, &PHandleMNPykaALC,
     MNPykaPathViewInit, MNPykaInitPathViewControls},
};

void PrintTo(const Mono& model, std::ostream* os) { *os << model.name; }

class MonoPath : public pathtest::PathViewFixture, public ::testing::WithParamInterface<Mono> {
protected:
    const Mono& m = GetParam();
    int PathPanel() const override { return *m.path; }
    int PathCanvasControl() const override { return MNPATH_MNCVS; }
    int RefreshTimer() const override { return PANEL_MNTIMER; }

    void SetUp() override {
        ModelFixture::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_NO_FATAL_FAILURE(OpenModel(m.menu, m.ui));
    }
    std::set<int> Lit() {
        std::set<int> on;
        for (int g = 0; g < kPathGroups; ++g)
            if (Tables().groups[g].on) on.insert(g);
        return on;
    }
};

// ---- the map and the group rules -----------------------------------------------------------

TEST_P(MonoPath, ChoosingTheModelBuildsTheSharedMonoMap) {
    int dots = 0, lines = 0, groups = 0;
    for (const PathDot& d : Tables().dots) dots += (d.x || d.y) ? 1 : 0;
    for (const PathLine& l : Tables().lines) lines += (l.x1 || l.y1 || l.x2 || l.y2) ? 1 : 0;
    for (const PathGroup& g : Tables().groups) groups += g.lineCount ? 1 : 0;
    EXPECT_EQ(dots, 96);
    EXPECT_EQ(Tables().dots[70].x, 0);
    EXPECT_EQ(lines, 63);
    EXPECT_EQ(Tables().lines[12].x1, 0);
    EXPECT_EQ(groups, 31);
    EXPECT_EQ(Tables().switchs[0].x1, 87);
    EXPECT_EQ(Tables().switchs[1].x2, 106);
    EXPECT_EQ(Tables().switchs[2].x1, -1);
    EXPECT_EQ(Tables().DPSTSwitch[1].y3, 163);
    EXPECT_EQ(Tables().lines[2].x1, 161);
    EXPECT_EQ(Tables().lines[2].x2, 586);
    EXPECT_EQ(Tables().lines[20].y1, 143);  // stored from its lower end
    EXPECT_EQ(Tables().lines[62].y2, 364);

    m.init();
    EXPECT_EQ(Lit(), (std::set<int>{21, 26, 43, 53}));
}

TEST_P(MonoPath, GroupsFollowTheirBitsAndOtherGroups) {
    ClearRegisters();
    FlagAudioInterfaceActive = 0;
    Refresh();
    EXPECT_EQ(Lit(), (std::set<int>{21, 26, 37, 43, 53, 65}));

    CFG_REG[3] = 0x008;
    CFG_REG[56] = 0x040;
    Refresh();
    EXPECT_FALSE(GroupOn(7));
    CFG_REG[56] = 0x000;
    Refresh();
    EXPECT_TRUE(GroupOn(7));

    CFG_REG[47] = 0x005;
    Refresh();
    EXPECT_FALSE(GroupOn(16));
    CFG_REG[2] = 0x010;
    Refresh();
    EXPECT_TRUE(GroupOn(16));
    EXPECT_TRUE(GroupOn(39));

    CFG_REG[56] = 0x002;
    Refresh();
    EXPECT_TRUE(GroupOn(71));
    EXPECT_TRUE(GroupOn(57));
    EXPECT_FALSE(GroupOn(58));
    EXPECT_FALSE(GroupOn(4));
    EXPECT_FALSE(GroupOn(5));
    CFG_REG[56] = 0x000;
    CFG_REG[50] = 0x020;
    Refresh();
    EXPECT_TRUE(GroupOn(78));
    EXPECT_TRUE(GroupOn(4));
    EXPECT_FALSE(GroupOn(57));
    EXPECT_EQ(Pixel(300, 68), kMagenta);  // line 2

    // Line 24 is lit by either input switch.
    CFG_REG[44] = 0x002;
    Refresh();
    EXPECT_EQ(Pixel(120, 121), kMagenta);
    CFG_REG[44] = 0x004;
    Refresh();
    EXPECT_EQ(Pixel(120, 121), kMagenta);
    CFG_REG[44] = 0x000;
    Refresh();
    EXPECT_EQ(Pixel(120, 121), kGrey);
}

TEST_P(MonoPath, AudioInterfaceWireAndAlcControlLines) {
    ClearRegisters();
    FlagAudioInterfaceActive = 1;
    Refresh();
    EXPECT_TRUE(GroupOn(89));
    EXPECT_EQ(Pixel(468, 300), kMagenta);
    EXPECT_FALSE(AnyPixel(200, 278, 230, 278, kRed));
    CFG_REG[32] = 0x100;
    Refresh();
    EXPECT_TRUE(AnyPixel(200, 278, 230, 278, kRed));   // dashed: some red,
    EXPECT_TRUE(AnyPixel(200, 278, 230, 278, 0xFFFFFF));  // some gaps
    EXPECT_TRUE(AnyPixel(351, 200, 351, 230, kRed));
    Menu(m.menu);  // choosing the model again clears the flag
    Refresh();
    EXPECT_FALSE(GroupOn(89));
    EXPECT_EQ(Pixel(468, 300), kGrey);
}

// ---- canvas clicks -------------------------------------------------------------------------

TEST_P(MonoPath, SwitchesAndTheDoubleThrowToggleRegister44) {
    CFG_REG[44] = 0x000;
    ClickOnPath(96, 112);  // switch 0
    EXPECT_EQ(CFG_REG[44], 0x004u);
    Refresh();
    EXPECT_TRUE(GroupOn(42));
    EXPECT_EQ(Tables().switchs[0].state, 1);
    ClickOnPath(97, 158);  // double-throw switch 1: MICP onto the PGA
    EXPECT_EQ(CFG_REG[44], 0x005u);
    EXPECT_EQ(Tables().DPSTSwitch[1].state, 0);
    ClickOnPath(97, 130);  // switch 1
    EXPECT_EQ(CFG_REG[44], 0x007u);
    EXPECT_EQ(RegisterWrites(), (Writes{{44, 0x004}, {44, 0x005}, {44, 0x007}}));
    Refresh();
    EXPECT_EQ(Tables().DPSTSwitch[1].state, 0);
    EXPECT_TRUE(AnyPixel(97, 151, 99, 154, kMagenta));  // blade up to the MICP throw
}

TEST_P(MonoPath, WiresToggleTheBitOfTheirGroupAndTabRectanglesOpenTheModelsBlocks) {
    ClearRegisters();
    ClickOnPath(350, 143);  // line 17 inside the ADC filter rectangle
    EXPECT_EQ(ActiveTab(), *m.adc);
    EXPECT_EQ(CFG_REG[2], 0x001u);
    ClickOnPath(820, 85);  // line 6: mono output
    EXPECT_EQ(CFG_REG[3], 0x080u);
    ClickOnPath(604, 250);  // line 49: bypass into the mono mixer
    EXPECT_EQ(CFG_REG[56], 0x002u);
    ClickOnPath(700, 220);  // line 45: speaker path, no bit of its own
    FlagCFGUpdate = 0;
    ClickOnPath(300, 68);  // line 2: nothing written, refresh asked for
    EXPECT_EQ(FlagCFGUpdate, 1);
    EXPECT_EQ(RegisterWrites(), (Writes{{2, 0x001}, {3, 0x080}, {56, 0x002}}));
    Refresh();
    EXPECT_EQ(Pixel(820, 85), kMagenta);
    EXPECT_FALSE(Shown(MNPATH_MNMonoDisableIcon));
    EXPECT_FALSE(Shown(MNPATH_MNADCDisenIcon));

    ClickOnPath(470, 150);
    EXPECT_EQ(ActiveTab(), *m.dac);
    ClickOnPath(350, 278);
    EXPECT_EQ(ActiveTab(), *m.alc);
    FlagCFGUpdate = 0;
    ClickOnPath(404, 150);  // on the edge: strict bounds, nothing there
    EXPECT_EQ(ActiveTab(), PathPanel());
    EXPECT_EQ(FlagCFGUpdate, 0);

    PHandleLastPanel = PHandlePanel;
    ClickOnPath(700, 380, Qt::RightButton);
    EXPECT_EQ(ActiveTab(), PathPanel());
    PHandleLastPanel = *m.dac;
    ClickOnPath(700, 380, Qt::RightButton);
    EXPECT_EQ(ActiveTab(), *m.dac);
}

// ---- panel controls, on the model's own panel ---------------------------------------------

TEST_P(MonoPath, RingsHoldTheirItemsAndWriteTheirFields) {
    m.fill();
    EXPECT_EQ(Ring(MNPATH_RSPKVOL), 57);
    EXPECT_EQ(Ring(MNPATH_RINPPGAVOL), 16);
    EXPECT_EQ(Ring(MNPATH_RMIC22BOOSTVOL), 0);
    auto spk = RingLabels(PathPanel(), MNPATH_RSPKVOL);
    ASSERT_EQ(spk.size(), 23u);
    EXPECT_EQ(spk[0], "Enable SPKOUT mute ");
    EXPECT_EQ(spk[1], "6dB");
    EXPECT_EQ(spk[22], "-57dB");
    auto pga = RingLabels(PathPanel(), MNPATH_RINPPGAVOL);
    ASSERT_EQ(pga.size(), 32u);
    EXPECT_EQ(pga[31], "34.5dB");
    auto dac = RingLabels(PathPanel(), MNPATH_MNDACVOL);
    ASSERT_EQ(dac.size(), 30u);
    EXPECT_EQ(dac[0], "Digital Mute");
    EXPECT_EQ(dac[1], "-120dB");
    EXPECT_EQ(RingLabels(PathPanel(), MNPATH_RINPPGABOOST),
              (std::vector<std::string>{"PGA output +0dB gain", "PGA output +20dB gain"}));

    CFG_REG[54] = 0x021;
    MNSPKCurrentVOL = 33;
    Choose(MNPATH_RSPKVOL, -1);
    EXPECT_EQ(CFG_REG[54], 0x061u);
    EXPECT_EQ(MNSPKCurrentVOL, 33);
    Choose(MNPATH_RSPKVOL, 63);
    EXPECT_EQ(CFG_REG[54], 0x03Fu);
    EXPECT_EQ(MNSPKCurrentVOL, 63);
    CFG_REG[45] = 0x040;
    Choose(MNPATH_RINPPGAVOL, 20);
    EXPECT_EQ(CFG_REG[45], 0x014u);  // the gain clears the mute
    Choose(MNPATH_MNDACVOL, 235);
    Choose(MNPATH_RMICP2BOOSTVOL, 3);
    EXPECT_EQ(RegisterWrites(), (Writes{{54, 0x061}, {54, 0x03F}, {45, 0x014}, {11, CFG_REG[11] & 0x1FF}, {47, CFG_REG[47] & 0x1FF}}));
    EXPECT_EQ(CFG_REG[11] & 0x0FF, 235u);
    EXPECT_EQ(CFG_REG[47] & 0x070, 0x030u);
}

// A volume code between two items shows its own dB value, never a neighbouring item; a ring
// then reads back as no value, and the next refresh of a listed code selects its item again.
TEST_P(MonoPath, RefreshSetsRingsAndCodesWithoutAnItemShowTheirOwnValue) {
    CFG_REG[45] = 0x011;  // odd PGA code 17
    CFG_REG[54] = 0x020;  // 32: not a 3 dB step
    CFG_REG[15] = 0x0FE;
    CFG_REG[11] = 0x096;  // -52.5 dB, between the -54 dB and -50 dB items
    CFG_REG[47] = 0x165;
    Refresh();
    EXPECT_EQ(RingShows(MNPATH_RINPPGAVOL), "0.75dB");
    EXPECT_EQ(RingShows(MNPATH_RSPKVOL), "-25dB");
    EXPECT_EQ(RingShows(MNPATH_MNADCVOL), "-0.5dB");
    EXPECT_EQ(RingShows(MNPATH_MNDACVOL), "-52.5dB");
    EXPECT_EQ(Ring(MNPATH_MNDACVOL), -1);  // reads back as no value
    EXPECT_EQ(Ring(MNPATH_RMIC22BOOSTVOL), 5);
    EXPECT_EQ(Ring(MNPATH_RMICP2BOOSTVOL), 6);
    EXPECT_EQ(Ring(MNPATH_RINPPGABOOST), 1);
    CFG_REG[54] = 0x060;
    CFG_REG[11] = 0x093;  // -54 dB: an item
    Refresh();
    EXPECT_EQ(Ring(MNPATH_RSPKVOL), -1);
    EXPECT_EQ(Ring(MNPATH_MNDACVOL), 0x093);
    EXPECT_EQ(RingShows(MNPATH_MNDACVOL), "-54dB");

    // Every way of moving the ring goes from the value it shows to the neighbouring item:
    // -9.75 dB (code 3, muted) lies between -10.5 dB (code 2) and -9 dB (code 4).
    auto* pga = qobject_cast<QComboBox*>(rt::testing::ControlWidget(PathPanel(), MNPATH_RINPPGAVOL));
    const std::vector<std::pair<std::string, int>> moves = {
        {"Up", 2}, {"Down", 4}, {"PageUp", 2}, {"PageDown", 4}, {"Home", 0}, {"End", 62},
        {"wheel up", 2}, {"wheel down", 4}, {"type -9", 4}, {"type 3", 20},
        {"list Up", 2}, {"list Down", 4}, {"list Home", 0}, {"list End", 62}, {"assistive -9dB", 4}};
    for (const auto& [gesture, code] : moves) {
        CFG_REG[45] = 0x043;
        Refresh();
        ASSERT_EQ(RingShows(MNPATH_RINPPGAVOL), "-9.75dB");
        board->ClearReceivedReports();
        pathtest::MoveRing(pga, gesture);
        EXPECT_EQ(RegisterWrites(), (Writes{{45, code}})) << gesture;
    }
    // What the ring shows between its items is no item to choose: Return on it in the open list
    // closes the list with nothing written, and an assistive tool finds no action on it.
    CFG_REG[45] = 0x043;
    Refresh();
    board->ClearReceivedReports();
    pga->showPopup();
    QTest::keyClick(pga->view(), Qt::Key_Return);
    EXPECT_FALSE(pga->view()->isVisible());
    EXPECT_TRUE(RegisterWrites().empty());
    EXPECT_TRUE(pathtest::RingItemActions(pga, "-9.75dB").isEmpty());
    EXPECT_FALSE(pathtest::RingItemActions(pga, "-9dB").isEmpty());
}

TEST_P(MonoPath, IconsActOnTheirOwnPanel) {
    CFG_REG[40] = 0x000;
    CFG_REG[45] = 0x040;
    CFG_REG[56] = 0x000;
    Refresh();
    ASSERT_TRUE(Shown(MNPATH_MNMONO_0dBAtten));
    Press(MNPATH_MNMONO_0dBAtten);
    EXPECT_EQ(CFG_REG[40], 0x004u);
    EXPECT_FALSE(Shown(MNPATH_MNMONO_0dBAtten));  // at once
    EXPECT_TRUE(Shown(MNPATH_MNMONO_m10dBAtten));
    Press(MNPATH_MNSPK_0dBAtten);
    EXPECT_EQ(CFG_REG[40], 0x006u);
    Press(MNPATH_MNMONO_m10dBAtten);
    EXPECT_EQ(CFG_REG[40], 0x002u);

    ASSERT_TRUE(Shown(MNPATH_MNINPPGAMuteIcon));
    Press(MNPATH_MNINPPGAMuteIcon);
    EXPECT_EQ(CFG_REG[45], 0x000u);
    Press(MNPATH_MONOMUTEOFF);
    EXPECT_EQ(CFG_REG[56], 0x040u);
    EXPECT_EQ(RegisterWrites(), (Writes{{40, 0x004}, {40, 0x006}, {40, 0x002}, {45, 0x000}, {56, 0x040}}));
    Refresh();
    EXPECT_TRUE(Shown(MNPATH_MNINPPGANotMuteIcon));
    EXPECT_TRUE(GroupOn(37));
    EXPECT_TRUE(Shown(MNPATH_MONOMUTEON));
    EXPECT_FALSE(Shown(MNPATH_MONOMUTEOFF));

    // The other mono panels are untouched.
    for (const Mono& other : kModels)
        if (other.path != m.path) {
            EXPECT_TRUE(Visible(*other.path, MNPATH_MNMONO_0dBAtten)) << other.name;
        }

    EXPECT_EQ(pathtest::Tip(PathPanel(), MNPATH_MNSPKNDisableIcon), "SPKOUT- Disabled, you can enable it in Device Control or Output tab.");
}

TEST_P(MonoPath, RenderedPanelShowsTheDiagram) {
    ClearRegisters();
    CFG_REG[1] = 0x07F;
    CFG_REG[2] = 0x011;
    CFG_REG[3] = 0x0ED;
    CFG_REG[44] = 0x003;
    CFG_REG[47] = 0x005;
    CFG_REG[50] = 0x021;
    CFG_REG[32] = 0x100;
    Refresh();
    QWidget* content = rt::testing::PanelContent(PathPanel());
    ASSERT_NE(content, nullptr);
    const pathtest::PanelPicture picture(content, Canvas());
    if (const char* out = std::getenv("PATHVIEW_PNG")) picture.image.save(QString(out).replace(".png", QString("_") + m.name + ".png"));
    EXPECT_EQ(picture.At(100, 68), kMagenta);   // AUX input
    EXPECT_EQ(picture.At(300, 68), kMagenta);   // AUX on to the speaker mixer
    EXPECT_EQ(picture.At(450, 300), kGrey);     // bypass not selected
    EXPECT_EQ(picture.At(820, 220), kMagenta);  // SPK+
    EXPECT_EQ(picture.At(820, 85), kMagenta);   // mono output
}

INSTANTIATE_TEST_SUITE_P(Models, MonoPath, ::testing::ValuesIn(kModels),
                         [](const ::testing::TestParamInfo<Mono>& info) { return std::string(info.param.name); });

}  // namespace
