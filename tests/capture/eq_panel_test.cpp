// The equaliser panels: ring fills, band and depth commits with their twins, the twelve presets
// (and the demo panels' way in), the Zutb enable and registers, the refresh, and the mono panel.
#include <QAccessible>
#include <QComboBox>

#include "boardhid/emulator_control.h"
#include "capture/eq_panel.h"
#include "link/chip_operation.h"
#include "runtime/testing.h"
#include "panels/MNEQ_pan.h"
#include "panels/cfgDemoJorb_pan.h"
#include "panels/cfgEQJorb_pan.h"
#include "panels/cfgEQQeva_pan.h"
#include "panels/cfgEQZutb_pan.h"
#include "tests/capture/eq_input_alc_test_support.h"
#include "tests/support/popup_texts.h"

using namespace capturetest;
using namespace ui::cfgEQJorb_pan;

namespace {

class JorbEQ : public OpenPanelFixture<modeltest::MENUBAR_DEVICE_StereoJorb, &PHandleSTEQ> {
protected:
    // Band registers R18 to R22 and R41 as given, shown on the panel.
    void Load(std::vector<int> bands, int depthReg) {
        for (int i = 0; i < 5; ++i) CFG_REG[18 + i] = bands[i];
        CFG_REG[41] = depthReg;
        Refresh();
        Clear();
    }
};

TEST_F(JorbEQ, RingsFilledAtStartUp) {
    auto gain = RingLabels(P(), CFGEQ_EQ3G);
    ASSERT_EQ(gain.size(), 25u);
    EXPECT_EQ(gain[0], "12 dB");
    EXPECT_EQ(gain[11], "1 dB");
    EXPECT_EQ(gain[12], "0 dB");
    EXPECT_EQ(gain[13], "-1 dB");
    EXPECT_EQ(gain[24], "-12 dB");
    auto depth = RingLabels(P(), CFGEQ_DEPTH3D);
    EXPECT_EQ(depth, (std::vector<std::string>{"0.00%", "6.67%", "13.33%", "20.00%", "26.67%", "33.33%",
                                               "40.00%", "46.67%", "53.33%", "60.00%", "66.67%", "73.33%",
                                               "80.00%", "86.67%", "93.33%", "100%"}));
    auto presets = RingLabels(P(), CFGEQ_PresetMusicEffect);
    ASSERT_EQ(presets.size(), 12u);
    EXPECT_EQ(presets[10], "3d Stereo/Live");
    EXPECT_EQ(RingLabels(P(), CFGEQ_EQ3C), (std::vector<std::string>{"650Hz", "850Hz", "1.1KHz", "1.4KHz"}));
    EXPECT_EQ(RingLabels(PHdlEQQeva, ui::cfgEQQeva_pan::CFGEQ_EQ3DMODE),
              (std::vector<std::string>{"EQ & 3D does not apply to DAC path", "EQ & 3D applied to DAC path"}));
    EXPECT_EQ(RingLabels(PHandleMNEQ, ui::MNEQ_pan::MNEQ_EQ3DMODE),
              (std::vector<std::string>{"EQ & 3D applied to ADC path", "EQ &3D applied to DAC path"}));
    EXPECT_EQ(RingLabels(PHandleMNEQ, ui::MNEQ_pan::MNEQ_EQ5G).size(), 25u);
    // The Zutb panel has no depth ring.
    EXPECT_EQ(RingLabels(PHandleSTEQZutb, ui::cfgEQZutb_pan::CFGEQ_EQ1G).size(), 25u);
}

TEST_F(JorbEQ, RockPresetWritesTheSixRegistersWithoutPauses) {
    Load({0x100, 0x000, 0x020, 0x000, 0x000}, 0x1F0);
    Commit(P(), CFGEQ_PresetMusicEffect, 1);
    EXPECT_EQ(RegisterWrites(), (Writes{{18, 0x147}, {19, 0x02E}, {20, 0x02C}, {21, 0x06B}, {22, 0x049}, {41, 0x1F3}}));
    EXPECT_EQ(TotalPause(), 0);
    EXPECT_EQ(FlagCFGUpdate, 1);
    // The controls show the preset; the depth slide is left for the refresh.
    EXPECT_EQ(Val(P(), CFGEQ_EQ1G), 7);
    EXPECT_EQ(Val(P(), CFGEQ_EQ1GN), 5);
    EXPECT_EQ(Val(P(), CFGEQ_EQ1CN), 2);
    EXPECT_EQ(Val(P(), CFGEQ_DEPTH3D), 3);
    Refresh();
    EXPECT_NEAR(Real(P(), CFGEQ_NUM_DEPTH3D), 0.2, 1e-9);

    // The preset is one operation: the board refuses the write of R22, so R41 is not sent, the
    // copy keeps what the chip holds in R22 and R41, and one popup names the preset and R22.
    Load({0x100, 0x000, 0x020, 0x000, 0x000}, 0x1F0);
    prompter.shown.clear();
    board->SetFaults(boardhid::RefuseOneSend(4));
    Commit(P(), CFGEQ_PresetMusicEffect, 1);
    EXPECT_EQ(RegisterWrites(), (Writes{{18, 0x147}, {19, 0x02E}, {20, 0x02C}, {21, 0x06B}}));
    EXPECT_EQ(CFG_REG[21], 0x06Bu);
    EXPECT_EQ(CFG_REG[22], 0x000u);
    EXPECT_EQ(CFG_REG[41], 0x1F0u);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "Warning -- Operation aborted");
    EXPECT_EQ(prompter.shown[0].text,
              "\"EQ Preset\" stopped: the board refused the write of R22, and nothing after it was sent." +
                  testsupport::kPanelsMayDiffer);
    EXPECT_EQ(FlagCFGUpdate, 1);
}

TEST_F(JorbEQ, FlatKeepsCutOffsBandwidthsAndPathButWritesAll) {
    Load({0x165, 0x17F, 0x140, 0x1E0, 0x1FF}, 0x009);
    Commit(P(), CFGEQ_PresetMusicEffect, 0);
    // Gains to 0 dB; cut-offs, bandwidths, bit 7 and R22 bit 8 as they were.
    EXPECT_EQ(RegisterWrites(), (Writes{{18, 0x16C}, {19, 0x16C}, {20, 0x14C}, {21, 0x1EC}, {22, 0x1EC}, {41, 0x000}}));
}

TEST_F(JorbEQ, SoftWritesWhatSoftRockWrites) {
    Load({0, 0, 0, 0, 0}, 0);
    Commit(P(), CFGEQ_PresetMusicEffect, 2);
    Writes softRock = RegisterWrites();
    Load({0, 0, 0, 0, 0}, 0);
    Commit(P(), CFGEQ_PresetMusicEffect, 9);
    EXPECT_EQ(RegisterWrites(), softRock);
    EXPECT_EQ(softRock.size(), 6u);
}

TEST_F(JorbEQ, GainRingAndSlideAreTwins) {
    Load({0x100, 0, 0, 0, 0x180}, 0);
    Commit(P(), CFGEQ_EQ1G, 0);
    EXPECT_EQ(Val(P(), CFGEQ_EQ1GN), 12);
    EXPECT_EQ(RegisterWrites(), (Writes{{18, 0x100}}));
    Clear();
    Commit(P(), CFGEQ_EQ5GN, -12);
    EXPECT_EQ(Val(P(), CFGEQ_EQ5G), 24);
    EXPECT_EQ(RegisterWrites(), (Writes{{22, 0x198}}));  // bits 8 and 7 of R22 kept
    Clear();
    Commit(P(), CFGEQ_EQ4CN, 3);
    EXPECT_EQ(Val(P(), CFGEQ_EQ4C), 3);
    Commit(P(), CFGEQ_EQ4BW, 1);
    EXPECT_EQ(RegisterWrites(), (Writes{{21, 0x060}, {21, 0x160}}));
}

TEST_F(JorbEQ, PathRingRewritesBandOneFromItsRings) {
    Load({0x0A5, 0, 0, 0, 0}, 0);
    CFG_REG[18] = 0x000;  // changed behind the panel's back
    Commit(P(), CFGEQ_EQ3DMODE, 1);
    EXPECT_EQ(RegisterWrites(), (Writes{{18, 0x125}}));
    Clear();
    Commit(P(), CFGEQ_EQ1C, 0);
    EXPECT_EQ(RegisterWrites(), (Writes{{18, 0x105}}));
}

TEST_F(JorbEQ, DepthSlideSnapsToItsSteps) {
    Load({0, 0, 0, 0, 0}, 0x000);
    Commit(P(), CFGEQ_NUM_DEPTH3D, 0.5);
    EXPECT_EQ(RegisterWrites(), (Writes{{41, 0x007}}));
    EXPECT_EQ(Val(P(), CFGEQ_DEPTH3D), 7);
    EXPECT_NEAR(Real(P(), CFGEQ_NUM_DEPTH3D), 7 / 15.0, 1e-9);
    for (int k = 0; k <= 15; ++k) {
        Commit(P(), CFGEQ_NUM_DEPTH3D, 0.06666 * k);
        EXPECT_EQ(CFG_REG[41] & 0xF, static_cast<unsigned>(k)) << k;
    }
    CFG_REG[41] = 0x0F0;  // other bits kept
    Commit(P(), CFGEQ_DEPTH3D, 4);
    EXPECT_NEAR(Real(P(), CFGEQ_NUM_DEPTH3D), 4 / 15.0, 1e-9);
    EXPECT_EQ(CFG_REG[41], 0x0F4u);

    // The board refuses the depth's write and stays connected: the copy keeps what the chip
    // holds, one Warning names the write, and the refresh shows the chip's depth again.
    prompter.shown.clear();
    board->SetFaults(boardhid::RefuseOneSend());
    Commit(P(), CFGEQ_NUM_DEPTH3D, 1.0);
    EXPECT_EQ(CFG_REG[41], 0x0F4u);
    EXPECT_EQ(prompter.shown, std::vector<testsupport::Popup>{testsupport::RefusedWriteWarning("R41")});
    Refresh();
    EXPECT_NEAR(Real(P(), CFGEQ_NUM_DEPTH3D), 4 / 15.0, 1e-9);
}

TEST_F(JorbEQ, RefreshShowsRingsAndTwins) {
    Load({0, 0, 0, 0, 0}, 0);
    CFG_REG[19] = 0x143;  // wide, cut-off 2, gain code 3
    CFG_REG[41] = 0x00F;
    Refresh();
    EXPECT_EQ(Val(P(), CFGEQ_EQ2G), 3);
    EXPECT_EQ(Val(P(), CFGEQ_EQ2GN), 9);
    EXPECT_EQ(Val(P(), CFGEQ_EQ2C), 2);
    EXPECT_EQ(Val(P(), CFGEQ_EQ2CN), 2);
    EXPECT_EQ(Val(P(), CFGEQ_EQ2BW), 1);
    EXPECT_EQ(Val(P(), CFGEQ_DEPTH3D), 15);
    EXPECT_NEAR(Real(P(), CFGEQ_NUM_DEPTH3D), 1.0, 1e-9);
    EXPECT_TRUE(RegisterWrites().empty());
}

// A gain code with no ring item (25 to 31) is shown by the twin slide as the gain it stands
// for, and kept when another control of the band commits.
TEST_F(JorbEQ, CodeWithoutItemIsKeptByTheNextCommit) {
    Load({0, 0, 0x01D, 0, 0}, 0);
    EXPECT_EQ(Index(P(), CFGEQ_EQ3G), -1);
    EXPECT_EQ(Real(P(), CFGEQ_EQ3GN), -17.0);
    Commit(P(), CFGEQ_EQ3C, 3);
    EXPECT_EQ(RegisterWrites(), (Writes{{20, 0x07D}}));
}

// The demo panels apply a preset through the equaliser panel; out-of-range values change no
// control but still write the registers as the panel stands.
TEST_F(JorbEQ, PresetRunAsCommitFromOutside) {
    Load({0, 0, 0, 0, 0}, 0);
    RunEQPresetAsCommit(PHandleSTEQ, 3);  // Pop
    EXPECT_EQ(Val(P(), CFGEQ_PresetMusicEffect), 3);
    EXPECT_EQ(RegisterWrites(), (Writes{{18, 0x010}, {19, 0x107}, {20, 0x149}, {21, 0x00C}, {22, 0x029}, {41, 0x005}}));
    Clear();
    RunEQPresetAsCommit(PHandleSTEQ, 12);
    EXPECT_EQ(RegisterWrites(), (Writes{{18, 0x010}, {19, 0x107}, {20, 0x149}, {21, 0x00C}, {22, 0x029}, {41, 0x005}}));
    EXPECT_EQ(Val(P(), CFGEQ_EQ1G), 16);
    Clear();
    RunEQPresetAsCommit(PHandleSTDAC, 1);  // not an equaliser panel: nothing
    EXPECT_TRUE(RegisterWrites().empty());
}

// A preset chosen on either panel shows on both: the demo ring runs the equaliser's preset,
// and the equaliser's preset mirrors itself into the demo ring. The refresh keeps both on the
// preset the bands hold, and shows "Custom" on both once no preset does.
TEST_F(JorbEQ, DemoPresetRingAndEqualiserMirrorEachOther) {
    using ui::cfgDemoJorb_pan::STDemo_STEQPresetting;
    Load({0, 0, 0, 0, 0}, 0);
    Commit(PHandleSTDemo, STDemo_STEQPresetting, 4);  // "Jazz"
    EXPECT_EQ(Val(P(), CFGEQ_PresetMusicEffect), 4);
    EXPECT_EQ(Val(P(), CFGEQ_EQ1G), 6);
    EXPECT_EQ(Val(PHandleSTDemo, STDemo_STEQPresetting), 4);
    EXPECT_EQ(RegisterWrites(), (Writes{{18, 0x066}, {19, 0x12A}, {20, 0x00C}, {21, 0x16A}, {22, 0x049}, {41, 0x002}}));
    Commit(P(), CFGEQ_PresetMusicEffect, 7);  // "Heavy"
    EXPECT_EQ(Val(PHandleSTDemo, STDemo_STEQPresetting), 7);
    Refresh();
    EXPECT_EQ(Val(P(), CFGEQ_PresetMusicEffect), 7);
    EXPECT_EQ(Val(PHandleSTDemo, STDemo_STEQPresetting), 7);

    Commit(P(), CFGEQ_EQ1G, 1);  // +11 dB on band 1: no preset holds that
    Refresh();
    for (int panel : {P(), PHandleSTDemo}) {
        const int ring = panel == P() ? CFGEQ_PresetMusicEffect : STDemo_STEQPresetting;
        EXPECT_EQ(Index(panel, ring), -1);
        auto* combo = qobject_cast<QComboBox*>(rt::testing::ControlWidget(panel, ring));
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(QAccessible::queryAccessibleInterface(combo)->text(QAccessible::Value), "Custom");
    }
    // Bands loaded from the chip that a preset holds show that preset.
    Load({0x066, 0x12A, 0x00C, 0x16A, 0x049}, 0x002);
    EXPECT_EQ(Val(P(), CFGEQ_PresetMusicEffect), 4);
    EXPECT_EQ(Val(PHandleSTDemo, STDemo_STEQPresetting), 4);
}

using ZutbEQ = OpenPanelFixture<modeltest::MENUBAR_DEVICE_StereoZutb, &PHandleSTEQZutb>;

TEST_F(ZutbEQ, BandsLiveInR50ToR54AndTheEnableInR104) {
    namespace Z = ui::cfgEQZutb_pan;
    for (int r = 50; r <= 54; ++r) CFG_REG[r] = 0x100;
    CFG_REG[41] = 0x000;
    CFG_REG[104] = 0x005;
    Refresh();
    EXPECT_EQ(Val(P(), Z::CFGEQ_EQ3DMODE), 0);
    Clear();
    Commit(P(), Z::CFGEQ_PresetMusicEffect, 1);
    EXPECT_EQ(RegisterWrites(), (Writes{{50, 0x147}, {51, 0x02E}, {52, 0x10C}, {53, 0x06B}, {54, 0x149}}));
    EXPECT_EQ(CFG_REG[41], 0u);
    Clear();
    Commit(P(), Z::CFGEQ_EQ3DMODE, 1);
    EXPECT_EQ(RegisterWrites(), (Writes{{104, 0x007}}));
    Clear();
    // Band 1 keeps R50 bit 8 whatever the enable ring says.
    CFG_REG[50] = 0x000;
    Commit(P(), Z::CFGEQ_EQ1G, 12);
    EXPECT_EQ(RegisterWrites(), (Writes{{50, 0x04C}}));
    Refresh();
    EXPECT_EQ(Val(P(), Z::CFGEQ_EQ3DMODE), 1);
}

class MonoEQ : public CapturePanelFixture {
protected:
    int P() const { return PHandleMNEQ; }
};

TEST_F(MonoEQ, BandCallbacksAndHiddenRefresh) {
    using namespace ui::MNEQ_pan;
    Open(modeltest::MENUBAR_DEVICE_MonoPykd);
    CFG_REG[18] = 0x0A5;
    CFG_REG[22] = 0x180;
    Refresh(true);
    Clear();
    CFG_REG[18] = 0x000;
    Commit(P(), MNEQ_EQ3DMODE, 1);
    EXPECT_EQ(RegisterWrites(), (Writes{{18, 0x125}}));
    Clear();
    Commit(P(), MNEQ_EQ5C, 1);
    Commit(P(), MNEQ_EQ5G, 24);
    EXPECT_EQ(RegisterWrites(), (Writes{{22, 0x1A0}, {22, 0x1B8}}));
    Clear();
    Commit(P(), MNEQ_EQ3BW, 1);
    EXPECT_EQ(RegisterWrites().size(), 1u);
    EXPECT_EQ(RegisterWrites()[0].first, 20);

    // Pykc leaves the EQ tab out; register changes still reach its panel.
    Open(modeltest::MENUBAR_DEVICE_Mono);
    ASSERT_EQ(EQMode, 0);
    CFG_REG[19] = 0x07F;
    Refresh(true);
    EXPECT_EQ(Val(P(), MNEQ_EQ2C), 3);
    EXPECT_EQ(Index(P(), MNEQ_EQ2G), -1);  // code 31 has no item
    CFG_REG[19] = 0x031;
    Refresh(true);
    EXPECT_EQ(Val(P(), MNEQ_EQ2G), 17);
    EXPECT_EQ(Val(P(), MNEQ_EQ2C), 1);
}

}  // namespace
