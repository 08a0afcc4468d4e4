// The Zutb path view on the emulated board: its own record tables, real mouse clicks on its
// input switches and tab rectangles, the input-volume and microphone-boost rings with their
// read-modify-write, the refresh from CFG_REG in the Zutb numbering, and the drawing.
#include <QAccessible>
#include <QComboBox>
#include <QImage>

#include <cstdlib>

#include "boardhid/emulator_control.h"
#include "link/chip_operation.h"
#include "panels/cfgPathZutb_pan.h"
#include "tests/pathview/path_test_support.h"
#include "tests/support/popup_texts.h"

namespace {

using namespace ui::cfgPathZutb_pan;
using namespace ui::AudioCodec_pan;
using pathtest::kGrey;
using pathtest::kMagenta;
using pathtest::kWhite;
using Writes = std::vector<std::pair<int, int>>;

class Zutb : public modeltest::ModelFixture {
protected:
    void SetUp() override {
        ModelFixture::SetUp();
        if (HasFatalFailure()) return;
        sharedBefore = SharedPathTables();
        Menu(MENUBAR_DEVICE_StereoZutb);
        ASSERT_EQ(UILoaded, UI_ZUTB);
        chosen = ZutbPathTables();
        ShowPath();
        Refresh();
        board->ClearReceivedReports();
        FlagCFGUpdate = 0;
    }
    void ShowPath() {
        rt::EasyTab_SetAttribute(PHandlePanel, tabCtrl, rt::ATTR_EASY_TAB_ACTIVE_PANEL, PHandleSTPathZutb);
        rt::ProcessSystemEvents();
        NowPanel = PHandleSTPathZutb;
    }
    void Refresh() {
        SetFlag(&FlagCFGUpdate);
        Tick(PANEL_STTIMER);
    }
    void Click(int x, int y) {
        ShowPath();
        QTest::mouseClick(rt::testing::ControlWidget(PHandleSTPathZutb, CFGPATHZutb_CVSZutb), Qt::LeftButton, {},
                          QPoint(x, y));
    }
    int Pixel(int x, int y) {
        int colour = -1;
        EXPECT_EQ(rt::CanvasGetPixel(PHandleSTPathZutb, CFGPATHZutb_CVSZutb, rt::MakePoint(x, y), &colour), 0);
        return colour;
    }
    void Choose(int control, int value) {
        ASSERT_EQ(rt::SetCtrlVal(PHandleSTPathZutb, control, value), 0) << "no item of value " << value;
        rt::CallCtrlCallback(PHandleSTPathZutb, control, rt::EVENT_COMMIT, 0, 0);
    }
    bool Shown(int control) { return Visible(PHandleSTPathZutb, control); }
    int Ring(int control) { return CtrlInt(PHandleSTPathZutb, control); }
    std::string RingShows(int control) {
        auto* combo = qobject_cast<QComboBox*>(rt::testing::ControlWidget(PHandleSTPathZutb, control));
        return combo ? QAccessible::queryAccessibleInterface(combo)->text(QAccessible::Value).toStdString() : std::string();
    }
    bool GroupOn(int g) { return ZutbPathTables().groups[g].on != 0; }
    PathTables sharedBefore, chosen;
};

TEST_F(Zutb, ChoosingTheModelBuildsItsOwnTablesAndLeavesTheSharedOnes) {
    for (int g = 0; g < kPathGroups; ++g) EXPECT_EQ(chosen.groups[g].on, g < 8 ? 1 : 0) << g;
    for (int g = 0; g < 8; ++g) {
        EXPECT_EQ(chosen.groups[g].lineIndex, std::vector<int>{g});
        EXPECT_EQ(chosen.groups[g].switchIndex, g);
    }
    EXPECT_EQ(chosen.switchs[7].x1, 156);
    EXPECT_EQ(chosen.switchs[7].y1, 275);
    EXPECT_EQ(chosen.switchs[8].x1, -1);
    EXPECT_FALSE(HasPosition(chosen.DPSTSwitch[0]));
    const PathTables& shared = SharedPathTables();
    for (int d = 0; d < kPathDots; ++d) EXPECT_EQ(shared.dots[d].x, sharedBefore.dots[d].x) << d;
    for (int s = 0; s < kPathSwitches; ++s) EXPECT_EQ(shared.switchs[s].x1, sharedBefore.switchs[s].x1) << s;

    EXPECT_EQ(pathtest::Tip(PHandleSTPathZutb, CFGPATHZutb_STMICBIASDisenIcon),
              "MICBIAS Disabled, you can enable it in Device Control or Input tab.");

    auto vu = RingLabels(PHandleSTPathZutb, CFGPATHZutb_LVU);
    ASSERT_EQ(vu.size(), 58u);
    EXPECT_EQ(vu[0], ":Mute");
    EXPECT_EQ(vu[2], "-11.25dB");
    EXPECT_EQ(vu[17], "0dB");
    EXPECT_EQ(vu[57], "30dB");
    auto adc = RingLabels(PHandleSTPathZutb, CFGPATHZutb_STADCVOLR);
    ASSERT_EQ(adc.size(), 30u);
    EXPECT_EQ(adc[0], "Digital Mute");
    EXPECT_EQ(adc[1], "-120dB");
    EXPECT_EQ(adc[29], "0dB");
    EXPECT_EQ(RingLabels(PHandleSTPathZutb, CFGPATHZutb_LMICBOOST)[4], "11=+33dB");
}

TEST_F(Zutb, SwitchClicksToggleTheInputControlBits) {
    CFG_REG[75] = 0x000;
    Click(82, 144);  // switch 0
    EXPECT_EQ(CFG_REG[75], 0x002u);
    EXPECT_EQ(FlagCFGUpdate, 1);
    Refresh();
    EXPECT_TRUE(GroupOn(0));
    EXPECT_FALSE(GroupOn(1));
    EXPECT_EQ(Pixel(91, 142), kMagenta);  // closed
    EXPECT_EQ(Pixel(90, 139), kWhite);
    Click(82, 144);
    EXPECT_EQ(CFG_REG[75], 0x000u);
    Refresh();
    EXPECT_FALSE(GroupOn(0));
    EXPECT_EQ(Pixel(90, 139), kGrey);  // open

    CFG_REG[76] = 0x005;
    Click(163, 275);  // switch 7
    EXPECT_EQ(CFG_REG[76], 0x045u);
    Refresh();
    EXPECT_TRUE(GroupOn(7));
    EXPECT_TRUE(GroupOn(4));
    EXPECT_FALSE(GroupOn(3));
    EXPECT_EQ(RegisterWrites(), (Writes{{75, 0x002}, {75, 0x000}, {76, 0x045}}));

    // At the end columns the click hits the wire: only a refresh request.
    board->ClearReceivedReports();
    FlagCFGUpdate = 0;
    Click(71, 164);
    Click(94, 164);
    EXPECT_TRUE(RegisterWrites().empty());
    EXPECT_EQ(FlagCFGUpdate, 1);
}

TEST_F(Zutb, TabRectanglesOpenTheirBlocks) {
    Click(400, 100);
    EXPECT_EQ(ActiveTab(), PHandleSTDACZutb);
    Click(398, 100);
    EXPECT_EQ(ActiveTab(), PHandleSTPathZutb);
    Click(370, 200);
    EXPECT_EQ(ActiveTab(), PHandleSTADCFilterZutb);
    Click(238, 196);
    EXPECT_EQ(ActiveTab(), PHandleSTALCZutb);
    EXPECT_TRUE(RegisterWrites().empty());
}

TEST_F(Zutb, InputVolumeWritesTheMuteThenTheLatchedVolume) {
    CFG_REG[0] = 0x000;
    CFG_REG[77] = 0x047;
    Choose(CFGPATHZutb_LVU, 189);  // -3 dB
    EXPECT_EQ(RegisterWrites(), (Writes{{77, 0x007}, {0, 0x1BD}}));
    EXPECT_EQ(CFG_REG[0], 189u);
    EXPECT_EQ(FlagCFGUpdate, 1);
    Choose(CFGPATHZutb_LVU, -1);
    EXPECT_EQ(CFG_REG[77], 0x047u);
    EXPECT_EQ(CFG_REG[0], 189u);
    EXPECT_EQ(RegisterWrites(), (Writes{{77, 0x007}, {0, 0x1BD}, {77, 0x047}, {0, 189}}));
    Refresh();
    EXPECT_EQ(Ring(CFGPATHZutb_LVU), -1);

    // The mute and the volume are one operation: the board refuses the mute register, so the
    // volume is not sent, both keep what the chip holds, and one popup names the ring.
    board->ClearReceivedReports();
    prompter.shown.clear();
    board->SetFaults(boardhid::RefuseOneSend());
    Choose(CFGPATHZutb_LVU, 195);  // 0 dB
    EXPECT_TRUE(RegisterWrites().empty());
    EXPECT_EQ(CFG_REG[77], 0x047u);
    EXPECT_EQ(CFG_REG[0], 189u);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text,
              "\"Left input volume\" stopped: the board refused the write of R77, and nothing after it was sent." +
                  testsupport::kPanelsMayDiffer);

    CFG_REG[78] = 0x000;
    CFG_REG[1] = 173;  // between two items: its own dB value shows
    Refresh();
    EXPECT_EQ(RingShows(CFGPATHZutb_RVU), "-11dB");
    Choose(CFGPATHZutb_RVU, 255);
    EXPECT_EQ(CFG_REG[1], 255u);
    CFG_REG[1] = 100;  // below the scale the rings know
    Refresh();
    EXPECT_EQ(RingShows(CFGPATHZutb_RVU), "code 100");

    // Moving the ring from a code it shows reaches the neighbouring item: code 0 lies between
    // ":Mute" and -12 dB (code 171), never at the end of the list (+30 dB).
    auto* left = qobject_cast<QComboBox*>(rt::testing::ControlWidget(PHandleSTPathZutb, CFGPATHZutb_LVU));
    const Writes muted{{77, 0x047}, {0, 0x000}}, quietest{{77, 0x007}, {0, 0x1AB}}, loudest{{77, 0x007}, {0, 0x1FF}};
    const std::vector<std::pair<std::string, Writes>> moves = {
        {"Up", muted}, {"Down", quietest}, {"PageUp", muted}, {"PageDown", quietest}, {"Home", muted},
        {"End", loudest}, {"wheel up", muted}, {"wheel down", quietest}, {"type -1", quietest},
        {"list Up", muted}, {"list Down", quietest}, {"list End", loudest}};
    for (const auto& [gesture, writes] : moves) {
        CFG_REG[0] = 0x000;
        CFG_REG[77] = 0x007;
        Refresh();
        ASSERT_EQ(RingShows(CFGPATHZutb_LVU), "code 0");
        board->ClearReceivedReports();
        pathtest::MoveRing(left, gesture);
        EXPECT_EQ(RegisterWrites(), writes) << gesture;
    }
}

TEST_F(Zutb, MicBoostChangesOnlyItsFieldsAndTheRefreshFollows) {
    CFG_REG[2] = 0x18B;
    Choose(CFGPATHZutb_LMICBOOST, 2);
    EXPECT_EQ(CFG_REG[2], 0x1DBu);  // code in bits 6-5, enabled by bit 4, the rest kept
    EXPECT_EQ(FlagCFGUpdate, 1);
    Refresh();
    EXPECT_EQ(Ring(CFGPATHZutb_LMICBOOST), 2);
    EXPECT_FALSE(Shown(CFGPATHZutb_STBoostLDisableIcon));
    Choose(CFGPATHZutb_LMICBOOST, -1);
    EXPECT_EQ(CFG_REG[2], 0x1CBu);
    Refresh();
    EXPECT_EQ(Ring(CFGPATHZutb_LMICBOOST), -1);
    EXPECT_TRUE(Shown(CFGPATHZutb_STBoostLDisableIcon));

    CFG_REG[3] = 0x000;
    Choose(CFGPATHZutb_RMICBOOST, 3);
    EXPECT_EQ(CFG_REG[3], 0x070u);
    Refresh();
    EXPECT_EQ(Ring(CFGPATHZutb_RMICBOOST), 3);
    EXPECT_FALSE(Shown(CFGPATHZutb_STBoostRDisableIcon));
    EXPECT_EQ(RegisterWrites(), (Writes{{2, 0x1DB}, {2, 0x1CB}, {3, 0x070}}));
}

TEST_F(Zutb, RefreshShowsTheIndicatorsOfItsOwnRegisters) {
    CFG_REG[6] = 0x000;
    CFG_REG[0] = 0x000;
    CFG_REG[50] = 0x100;
    CFG_REG[47] = 200;
    CFG_REG[48] = 0x0FF;
    Refresh();
    for (int icon : {CFGPATHZutb_STVREFDisenIcon, CFGPATHZutb_STMICBIASDisenIcon, CFGPATHZutb_STADCENLDisenIcon,
                     CFGPATHZutb_STADCENRDisenIcon, CFGPATHZutb_STPGAENLDisenIcon})
        EXPECT_TRUE(Shown(icon)) << icon;
    EXPECT_FALSE(Shown(CFGPATHZutb_EQADCText));
    EXPECT_EQ(RingShows(CFGPATHZutb_STADCVOLL), "-27.5dB");  // 200 has no item: its own value shows
    EXPECT_EQ(Ring(CFGPATHZutb_STADCVOLR), 255);

    CFG_REG[6] = 0x089;
    CFG_REG[0] = 0x001;
    CFG_REG[50] = 0x000;
    Refresh();
    for (int icon : {CFGPATHZutb_STVREFDisenIcon, CFGPATHZutb_STMICBIASDisenIcon, CFGPATHZutb_STADCENLDisenIcon,
                     CFGPATHZutb_STPGAENLDisenIcon})
        EXPECT_FALSE(Shown(icon)) << icon;
    EXPECT_TRUE(Shown(CFGPATHZutb_STADCENRDisenIcon));
    EXPECT_TRUE(Shown(CFGPATHZutb_EQADCText));
}

// The VREF text follows Zutb's reference impedance (R10 bits 3:2), not R1 (its right PGA).
TEST_F(Zutb, VrefTextShowsTheReferenceImpedance) {
    auto text = [&] {
        std::string t;
        rt::GetCtrlVal(PHandleSTPathZutb, CFGPATHZutb_VRefText, &t);
        return t;
    };
    const char* expected[] = {"80 KOhm", "300 KOhm", "2.5 KOhm", "Reserved"};
    for (unsigned field = 0; field < 4; ++field) {
        CFG_REG[1] = 3 - field;  // every value of the bits the text was once taken from
        CFG_REG[10] = 0x1F3 | (field << 2);
        Refresh();
        EXPECT_EQ(text(), expected[field]) << field;
    }
}

TEST_F(Zutb, PanelControlsWriteZutbRegistersOnly) {
    CFG_REG[47] = 0x000;
    Choose(CFGPATHZutb_STADCVOLL, 243);
    QTest::mouseClick(rt::testing::ControlWidget(PHandleSTPathZutb, CFGPATHZutb_STPGALEnableIcon), Qt::LeftButton, {},
                      QPoint(5, 5));
    EXPECT_EQ(RegisterWrites(), (Writes{{47, 0x1F3}, {0, CFG_REG[0]}}));
    EXPECT_EQ(CFG_REG[0] & 0x101, 0x101u);

    // The speaker ring and icons have no register on this chip (R54 and R55 are an equaliser
    // band and the analogue test register): they write nothing.
    board->ClearReceivedReports();
    CFG_REG[54] = 0x0AB;
    CFG_REG[55] = 0x011;
    Choose(CFGPATHZutb_STSPKN, 40);
    rt::CallCtrlCallback(PHandleSTPathZutb, CFGPATHZutb_STRout2MuteDisenIcon, rt::EVENT_LEFT_CLICK, 0, 0);
    EXPECT_TRUE(RegisterWrites().empty());
    EXPECT_EQ(CFG_REG[54], 0x0ABu);
    EXPECT_EQ(CFG_REG[55], 0x011u);
}

// ZUTB_PNG=file saves the panel as rendered.
TEST_F(Zutb, RenderedPanelShowsTheDiagramOverItsBlocks) {
    CFG_REG[75] = 0x043;
    CFG_REG[76] = 0x004;
    CFG_REG[6] = 0x0FF;
    CFG_REG[2] = 0x030;
    Refresh();
    QWidget* content = rt::testing::PanelContent(PHandleSTPathZutb);
    ASSERT_NE(content, nullptr);
    QImage image = content->grab().toImage();
    if (const char* out = std::getenv("ZUTB_PNG")) image.save(out);
    QWidget* canvas = rt::testing::ControlWidget(PHandleSTPathZutb, CFGPATHZutb_CVSZutb);
    const QPoint origin = canvas->mapTo(content, QPoint(0, 0));
    auto at = [&](int x, int y) { return static_cast<int>(image.pixel(origin + QPoint(x, y)) & 0xFFFFFF); };
    EXPECT_EQ(at(91, 142), kMagenta);  // switch 0 closed
    EXPECT_EQ(at(91, 162), kMagenta);  // switch 1 closed
    EXPECT_EQ(at(90, 259), kGrey);     // switch 3 open
    EXPECT_EQ(at(168, 151), kMagenta); // switch 6 closed
    EXPECT_EQ(at(370, 250), 0xEEF2F8); // inside the ADC block
}

}  // namespace
