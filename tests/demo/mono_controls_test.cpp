// Mono demo panel controls and the equaliser-preset rings of the demo panels.
#include "boardhid/emulator_control.h"
#include "demo/demo_services.h"
#include "demo/mono_demo.h"
#include "link/chip_operation.h"
#include "panels/MNDemo_pan.h"
#include "panels/cfgDemoJorb_pan.h"
#include "panels/cfgDemoZutb_pan.h"
#include "panels/cfgEQJorb_pan.h"
#include "panels/cfgEQZutb_pan.h"
#include "tests/demo/demo_test_support.h"
#include "tests/support/popup_texts.h"

namespace demotest {
namespace {

using namespace ui::MNDemo_pan;

class MonoDemoTest : public DemoFixture {
protected:
    void SetUp() override {
        DemoFixture::SetUp();
        if (HasFatalFailure()) return;
        Choose(MENUBAR_DEVICE_MonoPykd);
        panel = PHandleMNDemo;
        MNDemoALCMode = 1;
    }
};

TEST_F(MonoDemoTest, AlcSpeechModeWritesItsFourRegistersAndIsRemembered) {
    CFG_REG[32] = 0x03A;
    Commit(MNDEMO_MNSetALC, 2);
    EXPECT_EQ(RegisterWrites(), (std::vector<Write>{{32, 0x118}, {33, 0x00B}, {35, 0x00F}, {34, 0x042}}));
    EXPECT_EQ(FlagCFGUpdate, 0);
    UpdateMNDemoPanel();
    EXPECT_EQ(CtrlInt(panel, MNDEMO_MNSetALC), 2) << "the chosen mode stays shown";
    // "Disable ALC" clears only the enable and keeps the gain limits.
    Forget();
    Commit(MNDEMO_MNSetALC, 0);
    EXPECT_EQ(RegisterWrites(), (std::vector<Write>{{32, 0x018}}));
    UpdateMNDemoPanel();
    EXPECT_EQ(CtrlInt(panel, MNDEMO_MNSetALC), 0);

    // A mode is one operation: the board refuses the write of R33, so R35 and R34 are not sent,
    // the copy keeps what the chip holds in R33 to R35, and one popup names the ring.
    Forget();
    for (int reg = 33; reg <= 35; ++reg) CFG_REG[reg] = 0x1F0;
    board->SetFaults(boardhid::RefuseOneSend(1));
    Commit(MNDEMO_MNSetALC, 1);
    EXPECT_EQ(RegisterWrites(), (std::vector<Write>{{32, 0x118}}));
    for (int reg = 33; reg <= 35; ++reg) EXPECT_EQ(CFG_REG[reg], 0x1F0u) << reg;
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, kChipOperationStoppedTitle);
    EXPECT_EQ(prompter.shown[0].text,
              "\"ALC Mode\" stopped: the board refused the write of R33, and nothing after it was sent." +
                  testsupport::kPanelsMayDiffer);
}

TEST_F(MonoDemoTest, SlidersMapOntoTheirFields) {
    Commit(MNDEMO_MNDACSlide, -0.7);
    EXPECT_EQ(CFG_REG[11] & 0xFF, 254u);
    EXPECT_DOUBLE_EQ(Shown(MNDEMO_MNDACSlide), -0.5);
    Commit(MNDEMO_MNADCSlide, -127.0);
    EXPECT_EQ(CFG_REG[15] & 0xFF, 1u);
    Commit(MNDEMO_MNPGABoost, 9u);
    EXPECT_EQ(CFG_REG[47] & 0x100, 0u);
    EXPECT_EQ(CtrlInt(panel, MNDEMO_MNPGABoost), 0);
    Commit(MNDEMO_MNPGABoost, 10u);
    EXPECT_EQ(CFG_REG[47] & 0x100, 0x100u);
    EXPECT_EQ(CtrlInt(panel, MNDEMO_MNPGABoost), 20);
    Commit(MNDEMO_MNAuxBoostSlide, -12);
    EXPECT_EQ(CFG_REG[47] & 7, 1u);
    Commit(MNDEMO_MNINPPGASlide, 35.25);
    EXPECT_EQ(CFG_REG[45] & 0x3F, 63u);
    Commit(MNDEMO_MNALCMAX, 35.25);
    EXPECT_EQ((CFG_REG[32] >> 3) & 7, 7u);
    EXPECT_EQ(WrittenRegisters(), (std::vector<int>{11, 15, 47, 47, 47, 45, 32}));

    // The speaker slider ramps R54 one code at a time (no update latch on the mono speaker).
    Forget();
    CFG_REG[54] = 0x039;
    Commit(MNDEMO_MNSpeakerSlide, -2);
    EXPECT_EQ(RegisterWrites(), (std::vector<Write>{{54, 0x038}, {54, 0x037}}));
    EXPECT_EQ(MNSPKCurrentVOL, 55);

    // A field of 0 shows as the slider's lowest step, a digital mute leaves the slider.
    CFG_REG[47] = 0;
    CFG_REG[11] = 0;
    rt::SetCtrlVal(panel, MNDEMO_MNDACSlide, -3.0);
    UpdateMNDemoPanel();
    EXPECT_EQ(CtrlInt(panel, MNDEMO_MNAuxBoostSlide), -12);
    EXPECT_DOUBLE_EQ(Shown(MNDEMO_MNDACSlide), -3.0);
}

TEST_F(MonoDemoTest, EqualiserBandsAndTheirRefreshOnEachPanel) {
    rt::SetCtrlVal(panel, MNDEMO_MNDemoEQ3CN, 2);
    Commit(MNDEMO_MNDemoEQ3GN, 4);
    EXPECT_EQ((CFG_REG[20] >> 5) & 3, 2u);
    EXPECT_EQ(CFG_REG[20] & 0x1F, 8u);
    Commit(MNDEMO_MNDemoEQ2BW, 1);
    EXPECT_EQ(CFG_REG[19] & 0x100, 0x100u);
    Commit(MNDEMO_MNDemoEQ3DMODE, 0);
    EXPECT_EQ(CFG_REG[18] & 0x100, 0u);
    EXPECT_EQ(WrittenRegisters(), (std::vector<int>{20, 19, 18}));
    UpdateMNDemoPanel();
    EXPECT_EQ(CtrlInt(panel, MNDEMO_MNDemoEQ3CN), 2);

    // The Pykb panel's band controls act on the Pykb panel.
    Choose(MENUBAR_DEVICE_MonoPykb);
    rt::SetCtrlVal(PHandleMNPykbDemo, MNDEMO_MNDemoEQ1CN, 3);
    rt::SetCtrlVal(panel, MNDEMO_MNDemoEQ1CN, 0);
    Commit(MNDEMO_MNDemoEQ1GN, -12, PHandleMNPykbDemo);
    EXPECT_EQ(CFG_REG[18] & 0x7F, (3u << 5) | 24u);
    std::string tip;
    rt::GetCtrlAttribute(PHandleMNPykbDemo, MNDEMO_MNDemoEQ3DMODE, rt::ATTR_TOOLTIP_TEXT, &tip);
    EXPECT_EQ(tip, "0-> Equalizer applied on ADC path; 1-> Equalizer applied on DAC path");
}

TEST_F(MonoDemoTest, EqPresetRingAppliesThePresetThroughTheBandRegisters) {
    for (int reg = 18; reg <= 22; ++reg) CFG_REG[reg] = 0x02C;
    CFG_REG[18] = 0x12C;
    Commit(MNDEMO_MNEQPresetting, 4);  // Jazz
    EXPECT_EQ(WrittenRegisters(), (std::vector<int>{18, 19, 20, 21, 22}));
    EXPECT_EQ(CFG_REG[18], 0x100u | (3u << 5) | (12 - 6));  // path bit kept, +6 dB at 175 Hz
    EXPECT_EQ(CFG_REG[19], 0x100u | (1u << 5) | (12 - 2));  // +2 dB, 300 Hz, wide
    EXPECT_EQ(CFG_REG[20], 0x02Cu);                         // 0 dB, centre as it was
    EXPECT_EQ(FlagCFGUpdate, 1);
}

// ---- the stereo and Zutb equaliser-preset rings run the equaliser panel's preset ----------

TEST_F(DemoFixture, StereoAndZutbPresetRingsRunTheEqualiserPanelsPreset) {
    using ui::cfgDemoJorb_pan::STDemo_STEQPresetting;
    Choose(MENUBAR_DEVICE_StereoJorb);
    rt::SetCtrlVal(PHandleSTDemo, STDemo_STEQPresetting, 4);
    rt::CallCtrlCallback(PHandleSTDemo, STDemo_STEQPresetting, rt::EVENT_COMMIT, 0, 0);
    EXPECT_EQ(CtrlInt(PHandleSTEQ, ui::cfgEQJorb_pan::CFGEQ_PresetMusicEffect), 4);
    EXPECT_EQ(WrittenRegisters(), (std::vector<int>{18, 19, 20, 21, 22, 41}));
    EXPECT_EQ(CFG_REG[18] & 0x1F, 6u);

    namespace zb = ui::cfgDemoZutb_pan;
    Choose(MENUBAR_DEVICE_StereoZutb);
    rt::SetCtrlVal(PHandleSTDemoZutb, zb::CFGDEMOZutb_STEQPresetting, 4);
    rt::CallCtrlCallback(PHandleSTDemoZutb, zb::CFGDEMOZutb_STEQPresetting, rt::EVENT_COMMIT, 0, 0);
    EXPECT_EQ(CtrlInt(PHandleSTEQZutb, ui::cfgEQZutb_pan::CFGEQ_PresetMusicEffect), 4);
    EXPECT_EQ(CFG_REG[50] & 0x1F, 6u);
    // The equaliser panel's own preset ring mirrors into the demo ring.
    rt::SetCtrlVal(PHandleSTEQZutb, ui::cfgEQZutb_pan::CFGEQ_PresetMusicEffect, 11);
    rt::CallCtrlCallback(PHandleSTEQZutb, ui::cfgEQZutb_pan::CFGEQ_PresetMusicEffect, rt::EVENT_COMMIT, 0, 0);
    EXPECT_EQ(CtrlInt(PHandleSTDemoZutb, zb::CFGDEMOZutb_STEQPresetting), 11);
}

}  // namespace
}  // namespace demotest
