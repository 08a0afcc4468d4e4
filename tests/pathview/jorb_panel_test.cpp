// The Jorb path panel around the canvas: ring contents, the rings' and icons' register writes
// (and the PGA rings' wait), the refresh of rings, texts and icons, the tool tips, and the
// panel as rendered.
#include <QImage>

#include <cstdlib>

#include "oslayer/os.h"
#include "tests/pathview/path_test_support.h"

using namespace pathtest;

namespace {

class JorbPanel : public JorbPathFixture {
protected:
    std::vector<std::string> Labels(int control) { return RingLabels(PHandleSTPath, control); }
    int ValueAt(int control, int index) {
        int v = 0;
        rt::GetValueFromIndex(PHandleSTPath, control, index, &v);
        return v;
    }
};

TEST_F(JorbPanel, RingsHoldTheirItems) {
    auto pga = Labels(CFGPATHJorb_RLPGA);
    ASSERT_EQ(pga.size(), 65u);
    EXPECT_EQ(pga[0], "Disable LPGA");
    EXPECT_EQ(ValueAt(CFGPATHJorb_RLPGA, 0), -1);
    EXPECT_EQ(pga[1], "-12dB");
    EXPECT_EQ(pga[2], "-11.25dB");
    EXPECT_EQ(pga[64], "35.25dB");
    EXPECT_EQ(ValueAt(CFGPATHJorb_RLPGA, 64), 63);
    EXPECT_EQ(Labels(CFGPATHJorb_RRPGA)[0], "Disable RPGA");

    for (int ring : {CFGPATHJorb_RLAUXBOOST, CFGPATHJorb_RL2BOOST, CFGPATHJorb_RRAUXBOOST, CFGPATHJorb_RR2BOOST}) {
        auto l = Labels(ring);
        ASSERT_EQ(l.size(), 8u) << ring;
        EXPECT_EQ(l[0], "Path not selected");
        EXPECT_EQ(l[7], "6dB");
        EXPECT_EQ(ValueAt(ring, 7), 7);
    }
    EXPECT_EQ(Labels(CFGPATHJorb_RLPGABOOST), (std::vector<std::string>{"+0dB", "+20dB"}));
    for (int ring : {CFGPATHJorb_RLAUXMIX, CFGPATHJorb_RLBYPMIX, CFGPATHJorb_RRBYPMIX, CFGPATHJorb_RRAUXMIX}) {
        auto l = Labels(ring);
        ASSERT_EQ(l.size(), 9u) << ring;
        EXPECT_EQ(l[0], "Not Selected");
        EXPECT_EQ(l[1], "-15dB");
    }
    auto out = Labels(CFGPATHJorb_RHPN);
    ASSERT_EQ(out.size(), 64u);
    EXPECT_EQ(out[0], "-57dB");
    EXPECT_EQ(out[63], "6dB");
    EXPECT_EQ(Labels(CFGPATHJorb_RRAUXBEEP).size(), 8u);
    for (int ring : {CFGPATHJorb_STADCVOLL, CFGPATHJorb_STADCVOLR, CFGPATHJorb_STDACVOLL, CFGPATHJorb_STDACVOLR}) {
        auto l = Labels(ring);
        ASSERT_EQ(l.size(), 256u) << ring;
        EXPECT_EQ(std::count(l.begin(), l.end(), "Digital Mute"), 1);
        EXPECT_EQ(l[0], "Digital Mute");
        EXPECT_EQ(l[1], "-127dB");
        EXPECT_EQ(ValueAt(ring, 1), 1);
        EXPECT_EQ(l[255], "0dB");
    }
    // Filling again (a second start-up) does not double them.
    InitPathViewControls();
    EXPECT_EQ(Labels(CFGPATHJorb_RLPGA).size(), 65u);
}

TEST_F(JorbPanel, PgaRingWritesGainThenPowerAfterItsWait) {
    struct Step {
        int ms, writes;
    };
    std::vector<Step> sleeps;
    os::Sleeper quiet = os::SetSleeper([&](int ms) { sleeps.push_back({ms, static_cast<int>(Writes().size())}); });

    CFG_REG[45] = 0x015;
    CFG_REG[2] = 0x03F;
    Choose(CFGPATHJorb_RLPGA, -1);  // "Disable LPGA"
    EXPECT_EQ(CFG_REG[45], 0x155u);  // gain kept, mute and latch set
    EXPECT_EQ(CFG_REG[2], 0x03Bu);
    EXPECT_EQ(Writes(), (std::vector<std::pair<int, int>>{{45, 0x155}, {2, 0x03B}}));
    int waitedBetween = 0;
    for (const Step& s : sleeps) waitedBetween += s.writes == 1 ? s.ms : 0;
    EXPECT_GE(waitedBetween, 300);
    EXPECT_EQ(FlagCFGUpdate, 1);

    board->ClearReceivedReports();
    CFG_REG[45] = 0x050;
    Choose(CFGPATHJorb_RLPGA, 16);  // 0 dB
    EXPECT_EQ(CFG_REG[45], 0x110u);
    EXPECT_EQ(CFG_REG[2], 0x03Fu);
    CFG_REG[46] = 0x000;
    Choose(CFGPATHJorb_RRPGA, 63);
    EXPECT_EQ(CFG_REG[46], 0x13Fu);
    EXPECT_EQ(Writes(), (std::vector<std::pair<int, int>>{{45, 0x110}, {2, 0x03F}, {46, 0x13F}, {2, 0x03F}}));
    os::SetSleeper(quiet);
}

TEST_F(JorbPanel, RingsWriteTheirFields) {
    CFG_REG[47] = 0x000;
    Choose(CFGPATHJorb_RLAUXBOOST, 5);
    Choose(CFGPATHJorb_RL2BOOST, 7);
    Choose(CFGPATHJorb_RLPGABOOST, 1);
    EXPECT_EQ(CFG_REG[47], 0x175u);
    CFG_REG[11] = 0x000;
    Choose(CFGPATHJorb_STDACVOLL, 255);
    CFG_REG[16] = 0x000;
    Choose(CFGPATHJorb_STADCVOLR, 1);
    CFG_REG[52] = 0x1C0;
    Choose(CFGPATHJorb_RHPN, 57);
    CFG_REG[43] = 0x011;
    Choose(CFGPATHJorb_RRAUXBEEP, 7);
    EXPECT_EQ(Writes(), (std::vector<std::pair<int, int>>{
                            {47, 0x005}, {47, 0x075}, {47, 0x175}, {11, 0x1FF}, {16, 0x101}, {52, 0x1F9}, {43, 0x01F}}));
    EXPECT_EQ(STLout1CurrentVOL, 57);
    Choose(CFGPATHJorb_STSPKP, 40);
    EXPECT_EQ(CFG_REG[55] & 0x3F, 40u);
    EXPECT_EQ(STRout2CurrentVOL, 40);

    // A mixer ring darkens its group at once and keeps the gain bits it does not own.
    CFG_REG[50] = 0x1E0;
    Refresh();
    ASSERT_TRUE(GroupOn(3));
    Choose(CFGPATHJorb_RLAUXMIX, -1);
    EXPECT_FALSE(GroupOn(3));
    EXPECT_EQ(CFG_REG[50], 0x1C0u);
    Refresh();
    EXPECT_EQ(Ring(CFGPATHJorb_RLAUXMIX), -1);
    Choose(CFGPATHJorb_RLBYPMIX, 2);
    EXPECT_TRUE(GroupOn(45));
    EXPECT_EQ(CFG_REG[50], 0x1CAu);
    Refresh();
    EXPECT_EQ(Ring(CFGPATHJorb_RLBYPMIX), 2);
}

TEST_F(JorbPanel, IconsMuteAndTheRefreshSwapsThem) {
    CFG_REG[57] = 0x000;
    Refresh();
    ASSERT_TRUE(Shown(CFGPATHJorb_STOut4MuteDisenIcon));
    Press(CFGPATHJorb_STOut4MuteDisenIcon);
    EXPECT_EQ(CFG_REG[57], 0x040u);
    Refresh();
    EXPECT_FALSE(Shown(CFGPATHJorb_STOut4MuteDisenIcon));
    EXPECT_TRUE(Shown(CFGPATHJorb_STOut4MuteEnIcon));
    Press(CFGPATHJorb_STOut4MuteEnIcon);
    EXPECT_EQ(CFG_REG[57], 0x000u);

    CFG_REG[45] = 0x010;
    Refresh();
    Press(CFGPATHJorb_STPGALEnableIcon);
    EXPECT_EQ(CFG_REG[45], 0x150u);
    Refresh();
    EXPECT_TRUE(Shown(CFGPATHJorb_STPGALDisableIcon));
    Press(CFGPATHJorb_STPGALDisableIcon);
    EXPECT_EQ(CFG_REG[45], 0x110u);
    EXPECT_EQ(Writes(), (std::vector<std::pair<int, int>>{{57, 0x040}, {57, 0x000}, {45, 0x150}, {45, 0x110}}));

    // The board refuses the HP+ mute's write and stays connected: the copy keeps what the chip
    // holds, one Warning names the write, and the refresh shows HP+ unmuted again.
    CFG_REG[53] = 0x039;
    Refresh();
    prompter.shown.clear();
    board->SetFaults(boardhid::RefuseOneSend());
    Press(CFGPATHJorb_STRout1MuteDisenIcon);
    EXPECT_EQ(CFG_REG[53], 0x039u);
    EXPECT_EQ(prompter.shown, std::vector<testsupport::Popup>{testsupport::RefusedWriteWarning("R53")});
    Refresh();
    EXPECT_TRUE(Shown(CFGPATHJorb_STRout1MuteDisenIcon));
    EXPECT_FALSE(Shown(CFGPATHJorb_STRout1MuteEnIcon));
}

TEST_F(JorbPanel, RefreshSetsRingsTextsAndIndicators) {
    ClearRegisters();
    CFG_REG[1] = 0x002;
    CFG_REG[18] = 0x100;
    CFG_REG[47] = 0x153;
    CFG_REG[51] = 0x1E2;
    CFG_REG[55] = 0x02A;
    Refresh();
    EXPECT_EQ(Text(CFGPATHJorb_VRefTextJorb), "300 KOhm");
    EXPECT_FALSE(Shown(CFGPATHJorb_STVREFDisenIcon));
    EXPECT_TRUE(Shown(CFGPATHJorb_EQDACTextJorb));
    EXPECT_FALSE(Shown(CFGPATHJorb_EQADCTextJorb));
    EXPECT_EQ(Ring(CFGPATHJorb_RLAUXBOOST), 3);
    EXPECT_EQ(Ring(CFGPATHJorb_RL2BOOST), 5);
    EXPECT_EQ(Ring(CFGPATHJorb_RLPGABOOST), 1);
    EXPECT_EQ(Ring(CFGPATHJorb_RRAUXMIX), 7);
    EXPECT_EQ(Ring(CFGPATHJorb_RRBYPMIX), 0);
    EXPECT_EQ(Ring(CFGPATHJorb_STSPKP), 42);
    for (int icon : {CFGPATHJorb_STPGAENLDisenIcon, CFGPATHJorb_STADCENLDisenIcon, CFGPATHJorb_STDACENRDisenIcon,
                     CFGPATHJorb_STOUT4DisableIcon, CFGPATHJorb_STPLLDisenIcon, CFGPATHJorb_STBoostRDisableIcon})
        EXPECT_TRUE(Shown(icon)) << icon;

    CFG_REG[1] = 0x0B0;  // AUX1 mixer, PLL, mic bias on; VREF open
    CFG_REG[2] = 0x035;
    CFG_REG[3] = 0x102;
    CFG_REG[18] = 0x000;
    Refresh();
    EXPECT_EQ(Text(CFGPATHJorb_VRefTextJorb), "Open Circuit");
    EXPECT_TRUE(Shown(CFGPATHJorb_STVREFDisenIcon));
    EXPECT_TRUE(Shown(CFGPATHJorb_EQADCTextJorb));
    EXPECT_FALSE(Shown(CFGPATHJorb_EQDACTextJorb));
    for (int icon : {CFGPATHJorb_STPGAENLDisenIcon, CFGPATHJorb_STADCENLDisenIcon, CFGPATHJorb_STDACENRDisenIcon,
                     CFGPATHJorb_STOUT4DisableIcon, CFGPATHJorb_STPLLDisenIcon, CFGPATHJorb_STBoostRDisableIcon,
                     CFGPATHJorb_STAUX1MXDisenIcon, CFGPATHJorb_STMICBIASDisenIcon})
        EXPECT_FALSE(Shown(icon)) << icon;
    EXPECT_TRUE(Shown(CFGPATHJorb_STAUX2MXDisenIcon));
}

TEST_F(JorbPanel, ChoosingJorbSetsTheToolTips) {
    EXPECT_EQ(Tip(PHandlePanel, PANEL_LDevAttached), "Device attached/detached indicator  ");
    EXPECT_EQ(Tip(PHandlePanel, PANEL_LRefresh), "Refreshing indicator");
    EXPECT_EQ(Tip(PHandleSTPath, CFGPATHJorb_STLout2MuteDisenIcon), "Output Unmuted, click to toggle");
    EXPECT_EQ(Tip(PHandleSTPath, CFGPATHJorb_STBoostRDisableIcon),
              "Right channel Boost stage disbled, you can enable it in Device Control or Input tab.");
    EXPECT_EQ(Tip(PHandleSTPath, CFGPATHJorb_STPLLDisenIcon), "PLL Disabled, you can enable it in Device Control or PLL tab.");
}

// The panel as a person sees it (PATHVIEW_PNG=file saves the picture): the canvas's drawing
// shows through, lit wires magenta and dark ones grey.
TEST_F(JorbPanel, RenderedPanelShowsTheDiagram) {
    ClearRegisters();
    CFG_REG[1] = 0x0FF;
    CFG_REG[2] = 0x1FF;
    CFG_REG[3] = 0x1FF;
    CFG_REG[44] = 0x033;
    CFG_REG[50] = 0x001;
    CFG_REG[32] = 0x180;
    Refresh();
    QWidget* content = rt::testing::PanelContent(PHandleSTPath);
    ASSERT_NE(content, nullptr);
    const PanelPicture picture(content, Canvas());
    if (const char* out = std::getenv("PATHVIEW_PNG")) picture.image.save(out);
    if (const char* out = std::getenv("PATHVIEW_WINDOW_PNG")) rt::testing::PanelWindow(PHandlePanel)->grab().save(out);
    EXPECT_EQ(picture.At(100, 22), kMagenta);   // AUXL input, lit at start
    EXPECT_EQ(picture.At(75, 137), kWhite);     // L2 switch open: no closed blade
    EXPECT_EQ(picture.At(82, 117), kMagenta);   // LIP switch closed (x2 - 2 .. blade)
    EXPECT_EQ(picture.At(320, 106), kMagenta);  // into the left ADC
    EXPECT_EQ(picture.At(500, 22), kGrey);      // AUXL to the left mixer, not selected
    EXPECT_EQ(Pixel(82, 117), kMagenta);
}

}  // namespace
