// Stereo demo panel controls, driven through their callbacks on the real loaded panels.
#include <string>

#include "demo/demo_services.h"
#include "panels/cfgDemoJorb_pan.h"
#include "tests/demo/demo_test_support.h"

namespace demotest {
namespace {

using namespace ui::cfgDemoJorb_pan;

class StereoDemoTest : public DemoFixture {
protected:
    void SetUp() override {
        DemoFixture::SetUp();
        if (HasFatalFailure()) return;
        Choose(MENUBAR_DEVICE_StereoJorb);
        panel = PHandleSTDemo;
        DemoALCMode = 1;
    }
};

TEST_F(StereoDemoTest, DigitalVolumeSlidersTruncateAndSnapBackWithoutTouchingBit8) {
    CFG_REG[11] = 0x1FF;
    Commit(STDemo_STLDACSlide, -0.5);
    EXPECT_EQ(RegisterWrites(), (std::vector<Write>{{11, 0x1FE}}));  // code 254, bit 8 kept
    Forget();
    Commit(STDemo_STRDACSlide, -127.0);
    EXPECT_EQ(CFG_REG[12] & 0xFF, 1u);
    EXPECT_EQ(WrittenRegisters(), std::vector<int>{12});
    Commit(STDemo_STLADCSlide, -0.7);  // truncates toward zero: code 254, shown as -0.5
    EXPECT_EQ(CFG_REG[15] & 0xFF, 254u);
    EXPECT_DOUBLE_EQ(Shown(STDemo_STLADCSlide), -0.5);
    Commit(STDemo_STRADCSlide, 0.0);
    EXPECT_EQ(CFG_REG[16] & 0xFF, 255u);
    EXPECT_EQ(FlagCFGUpdate, 1);

    // A digital mute written elsewhere leaves the slider where it is at the refresh.
    CFG_REG[11] &= ~0xFFu;
    rt::SetCtrlVal(panel, STDemo_STLDACSlide, -20.0);
    UpdateSTDemoPanel();
    EXPECT_DOUBLE_EQ(Shown(STDemo_STLDACSlide), -20.0);
    EXPECT_EQ(RegisterWrites().size(), 3u) << "the refresh sends nothing";
}

TEST_F(StereoDemoTest, GainSlidersMapOntoTheirFieldsAndSnapToWhatTheChipHolds) {
    Commit(STDemo_STALCMaxSlide, 35.25);
    EXPECT_EQ((CFG_REG[32] >> 3) & 7, 7u);
    EXPECT_DOUBLE_EQ(Shown(STDemo_STALCMaxSlide), 35.25);
    Commit(STDemo_STALCMaxSlide, -6.75);
    EXPECT_EQ((CFG_REG[32] >> 3) & 7, 0u);
    Commit(STDemo_STALCMinSlide, 18);
    EXPECT_EQ(CFG_REG[32] & 7, 5u);

    Commit(STDemo_STLPGASlide, 35.25);
    EXPECT_EQ(CFG_REG[45] & 0x3F, 63u);
    Commit(STDemo_STRPGASlide, -12.0);
    EXPECT_EQ(CFG_REG[46] & 0x3F, 0u);
    Commit(STDemo_STLPGASlide, 10.1);  // code 29, shown as 9.75
    EXPECT_EQ(CFG_REG[45] & 0x3F, 29u);
    EXPECT_DOUBLE_EQ(Shown(STDemo_STLPGASlide), 9.75);

    CFG_REG[47] = 0x000;
    Commit(STDemo_STLPGABoostSlide, 10u);
    EXPECT_EQ(CFG_REG[47], 0x100u);
    EXPECT_EQ(ShownInt(STDemo_STLPGABoostSlide), 20);
    Commit(STDemo_STLPGABoostSlide, 9u);
    EXPECT_EQ(CFG_REG[47], 0x000u);
    EXPECT_EQ(ShownInt(STDemo_STLPGABoostSlide), 0);

    Commit(STDemo_STAUXRSlide, -12);  // never writes the "path off" code 0
    EXPECT_EQ(CFG_REG[48] & 7, 1u);
    Commit(STDemo_STR2Slide, 6);
    EXPECT_EQ((CFG_REG[48] >> 4) & 7, 7u);
    Commit(STDemo_STBYPRSlide, -3);
    EXPECT_EQ((CFG_REG[51] >> 2) & 7, 4u);
    Commit(STDemo_STAUXLVolSlide, 6);
    EXPECT_EQ((CFG_REG[50] >> 6) & 7, 7u);
    EXPECT_EQ(WrittenRegisters(), (std::vector<int>{32, 32, 32, 45, 46, 45, 47, 47, 48, 48, 51, 50}));

    // A boost field of 0 (path off) shows as -12 dB, like code 1.
    CFG_REG[47] = 0x000;
    UpdateSTDemoPanel();
    EXPECT_EQ(ShownInt(STDemo_STAUXLSlide), -12);
    EXPECT_EQ(ShownInt(STDemo_STL2Slide), -12);
}

TEST_F(StereoDemoTest, HeadphoneSliderRampsOneCodeAtATimeAndTheSliderFollows) {
    CFG_REG[52] = 0x039;
    Commit(STDemo_STHPNSlide, -3);
    auto writes = RegisterWrites();
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(writes[0], Write(52, 0x138));
    EXPECT_EQ(writes[2], Write(52, 0x136));
    EXPECT_EQ(STLout1CurrentVOL, 54);
    EXPECT_EQ(ShownInt(STDemo_STHPNSlide), -3);
    EXPECT_EQ(FlagCFGUpdate, 1);
}

TEST_F(StereoDemoTest, AlcRightBoxAloneWritesTheChannelThenTheModeRegisters) {
    CFG_REG[32] = 0x038;
    Commit(STDemo_STALCRight, 1);
    EXPECT_EQ(RegisterWrites(), (std::vector<Write>{{32, 0x0B8}, {33, 0x00B}, {35, 0x00F}, {34, 0x0A6}, {32, 0x098}}));
    EXPECT_EQ(ShownInt(STDemo_STSetALC), 1);

    // Speech mode is remembered and shown while a channel is on.
    Forget();
    Commit(STDemo_STSetALC, 2);
    EXPECT_EQ(RegisterWrites(), (std::vector<Write>{{33, 0x00B}, {35, 0x00F}, {34, 0x042}, {32, 0x098}}));
    EXPECT_EQ(DemoALCMode, 2);

    // " Disabled" turns both channels off; the refresh clears the boxes.
    Forget();
    Commit(STDemo_STALCLeft, 1);
    Commit(STDemo_STSetALC, 0);
    EXPECT_EQ(CFG_REG[32] & 0x180, 0u);
    UpdateSTDemoPanel();
    EXPECT_EQ(ShownInt(STDemo_STALCLeft), 0);
    EXPECT_EQ(ShownInt(STDemo_STALCRight), 0);
    EXPECT_EQ(ShownInt(STDemo_STSetALC), 0);
    EXPECT_EQ(DemoALCMode, 2);

    // With no channel ticked a mode only records itself and rewrites R32 unchanged.
    Forget();
    uint32_t before = CFG_REG[32];
    Commit(STDemo_STSetALC, 3);
    EXPECT_EQ(RegisterWrites(), (std::vector<Write>{{32, static_cast<int>(before)}}));
    EXPECT_EQ(DemoALCMode, 3);
}

TEST_F(StereoDemoTest, EqualiserBandsWriteGainAndCentreTogetherAndRefreshShowsThem) {
    CFG_REG[18] = 0x100;
    rt::SetCtrlVal(panel, STDemo_STDemoEQ1CF, 2);
    Commit(STDemo_STDemoEQ1GN, 12);
    EXPECT_EQ(RegisterWrites(), (std::vector<Write>{{18, 0x140}}));  // code 0, ring 2, path bit kept
    Commit(STDemo_STDemoEQ5GN, -12);
    EXPECT_EQ(CFG_REG[22] & 0x1F, 24u);
    Commit(STDemo_STDemoEQ3BW, 1);
    EXPECT_EQ(CFG_REG[20] & 0x100, 0x100u);
    Commit(STDemo_STDemoEQ3DMODE, 0);
    EXPECT_EQ(CFG_REG[18], 0x040u);
    EXPECT_EQ(WrittenRegisters(), (std::vector<int>{18, 22, 20, 18}));

    // The board refuses the band's write and stays connected: the copy keeps what the chip
    // holds, one Warning names the write, and the refresh puts the slide back at +12 dB.
    Forget();
    board->SetFaults(boardhid::RefuseOneSend());
    Commit(STDemo_STDemoEQ1GN, 0);
    EXPECT_TRUE(RegisterWrites().empty());
    EXPECT_EQ(CFG_REG[18], 0x040u);
    EXPECT_EQ(prompter.shown, std::vector<testsupport::Popup>{testsupport::RefusedWriteWarning("R18")});
    UpdateSTDemoPanel();
    EXPECT_EQ(ShownInt(STDemo_STDemoEQ1GN), 12);

    CFG_REG[20] = 0x068;  // centre 3, gain code 8
    CFG_REG[19] = 0x100;
    UpdateSTDemoPanel();
    std::string label;
    int index = -1;
    rt::GetCtrlIndex(panel, STDemo_STDemoEQ3CF, &index);
    rt::GetLabelFromIndex(panel, STDemo_STDemoEQ3CF, index, &label);
    EXPECT_EQ(label, "1.4K Hz");
    EXPECT_EQ(ShownInt(STDemo_STDemoEQ3GN), 4);
    EXPECT_EQ(ShownInt(STDemo_STDemoEQ2BW), 1);
    EXPECT_EQ(ShownInt(STDemo_STDemoEQ3DMODE), 0);
    // A gain code beyond the slider's range (27) shows as the gain it stands for and is kept
    // when the band's centre ring commits.
    CFG_REG[21] = 0x01B;
    UpdateSTDemoPanel();
    EXPECT_EQ(ShownInt(STDemo_STDemoEQ4GN), -15);
    Commit(STDemo_STDemoEQ4CF, 2);
    EXPECT_EQ(CFG_REG[21], 0x05Bu);
}

TEST_F(StereoDemoTest, OtherModelsActOnTheirOwnPanels) {
    Choose(MENUBAR_DEVICE_StereoQeva);
    Commit(STDemo_STLDACSlide, -1.0, PHdlDemoQeva);
    Commit(STDemo_STAUXRVolSlide, 0, PHdlDemoQeva);
    EXPECT_EQ(RegisterWrites(),
              (std::vector<Write>{{11, static_cast<int>(CFG_REG[11])}, {51, static_cast<int>(CFG_REG[51])}}));
    EXPECT_EQ(CFG_REG[11] & 0xFF, 253u);
    EXPECT_EQ((CFG_REG[51] >> 6) & 7, 5u);

    Choose(MENUBAR_DEVICE_StereoZuta);
    CFG_REG[55] = 0x039;
    Commit(STDemo_STSPKPSlide, 2, PHandleSTDemoZuta);
    EXPECT_EQ(RegisterWrites().size(), 2u);
    EXPECT_EQ(ShownInt(STDemo_STSPKPSlide, PHandleSTDemoZuta), 2);

    Choose(MENUBAR_DEVICE_StereoJora);
    Commit(STDemo_STL2Slide, 0, PHdlDemoJora);
    EXPECT_EQ((CFG_REG[47] >> 4) & 7, 5u);

    // Tool tips set at the model choice.
    std::string tip;
    rt::GetCtrlAttribute(PHdlDemoJora, STDemo_STDemoEQ3BW, rt::ATTR_TOOLTIP_TEXT, &tip);
    EXPECT_EQ(
        tip,
        "  Equalizer Band 3 bandwidth selection:   \n  unchecked -> narrow bandwidth; checked -> wide bandwidth  ");
    rt::GetCtrlAttribute(PHdlDemoJora, STDemo_STALCLeft, rt::ATTR_TOOLTIP_TEXT, &tip);
    EXPECT_EQ(tip, "Enable/Disable ALC on Left Channel");
}

TEST_F(StereoDemoTest, SetBoxesExcludeEachOther) {
    Commit(STDemo_STSet5, 1);
    Commit(STDemo_STSet3, 1);
    EXPECT_EQ(ShownInt(STDemo_STSet5), 0);
    EXPECT_EQ(ShownInt(STDemo_STSet3), 1);
    Commit(STDemo_STSet3, 0);
    for (int n = 0; n < 7; ++n) EXPECT_EQ(ShownInt(STDemo_STSet1 + n), 0);
    EXPECT_TRUE(RegisterWrites().empty());
}

}  // namespace
}  // namespace demotest
