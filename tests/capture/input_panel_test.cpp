// The input panels: ring fills, the register fields and send plans of every callback (with
// their pauses), the microphone-bias coupling on value-changed, the ALC channel dimming, the
// refresh, Zutb's register numbers and the mono panel.
#include "capture/input_panel.h"
#include "panels/MNInput_pan.h"
#include "panels/MNPykaInput_pan.h"
#include "panels/cfgInputJorb_pan.h"
#include "panels/cfgInputZutb_pan.h"
#include "tests/capture/eq_input_alc_test_support.h"

using namespace capturetest;
using namespace ui::cfgInputJorb_pan;

namespace {

class JorbInput : public OpenPanelFixture<modeltest::MENUBAR_DEVICE_StereoJorb, &PHandleSTInSignal> {
protected:
    // A value-changed event alone, as a ring delivers it before its commit.
    void Change(int control, int value) {
        rt::SetCtrlVal(P(), control, value);
        rt::CallCtrlCallback(P(), control, rt::EVENT_VAL_CHANGED, 0, 0);
    }
};

TEST_F(JorbInput, GainRingsFilledAtStartUp) {
    for (int ring : {CFGINSIG_INPPGAVOLL, CFGINSIG_INPPGAVOLR}) {
        auto l = RingLabels(P(), ring);
        ASSERT_EQ(l.size(), 64u);
        EXPECT_EQ(l[0], "-12dB");
        EXPECT_EQ(l[1], "-11.25dB");
        EXPECT_EQ(l[16], "0dB");
        EXPECT_EQ(l[63], "35.25dB");
    }
    for (int ring : {CFGINSIG_AUXL2BOOSTVOL, CFGINSIG_L2_2BOOSTVOL, CFGINSIG_AUXR2BOOSTVOL, CFGINSIG_R2_2BOOSTVOL})
        EXPECT_EQ(RingLabels(P(), ring),
                  (std::vector<std::string>{"Path Disable", "-12dB", "-9dB", "-6dB", "-3dB", "0dB", "3dB", "6dB"}));
    EXPECT_EQ(RingLabels(P(), CFGINSIG_MBVSEL)[0], "Normal Mode: 0.9 *  VDDA");
}

TEST_F(JorbInput, BiasVoltageActsOnValueChangedModeRegisterFirst) {
    CFG_REG[40] = 0x000;
    CFG_REG[44] = 0x033;
    Refresh();
    rt::SetCtrlVal(P(), CFGINSIG_MB_MODE, 0);
    Clear();
    // The commit that follows a change does nothing more.
    Commit(P(), CFGINSIG_MBVSEL, 6);  // "Low Noise Mode: 0.70* VDDA"
    EXPECT_EQ(Val(P(), CFGINSIG_MB_MODE), 1);
    EXPECT_EQ(RegisterWrites(), (Writes{{40, 0x001}, {44, 0x133}}));
    EXPECT_EQ(PauseAfterWrite(1), 100);
    EXPECT_EQ(PauseAfterWrite(2), 100);
    EXPECT_EQ(FlagCFGUpdate, 1);
    // The mode ring back to normal: the first normal voltage.
    Clear();
    Change(CFGINSIG_MB_MODE, 0);
    EXPECT_EQ(Val(P(), CFGINSIG_MBVSEL), 0);
    EXPECT_EQ(RegisterWrites(), (Writes{{40, 0x000}, {44, 0x033}}));
    // A commit alone does nothing.
    Clear();
    rt::CallCtrlCallback(P(), CFGINSIG_MBVSEL, rt::EVENT_COMMIT, 0, 0);
    EXPECT_TRUE(RegisterWrites().empty());
}

TEST_F(JorbInput, AlcChannelDimsTheGainRingsItTakesOver) {
    CFG_REG[32] = 0x038;
    Commit(P(), CFGINSIG_ALCSEL, 3);  // "ALC Both On"
    EXPECT_EQ(RegisterWrites(), (Writes{{32, 0x1B8}}));
    EXPECT_TRUE(Dimmed(P(), CFGINSIG_INPPGAVOLL));
    EXPECT_TRUE(Dimmed(P(), CFGINSIG_INPPGAVOLR));
    EXPECT_FALSE(Dimmed(P(), CFGINSIG_INPPGAMUTEL));
    // A load that clears the channels shows "ALC Off" but leaves the dimming as it was.
    CFG_REG[32] = 0x038;
    Refresh();
    EXPECT_EQ(Val(P(), CFGINSIG_ALCSEL), 0);
    EXPECT_TRUE(Dimmed(P(), CFGINSIG_INPPGAVOLL));
    Commit(P(), CFGINSIG_ALCSEL, 1);  // right only
    EXPECT_FALSE(Dimmed(P(), CFGINSIG_INPPGAVOLL));
    EXPECT_TRUE(Dimmed(P(), CFGINSIG_INPPGAVOLR));
    Commit(P(), CFGINSIG_ALCSEL, 2);  // left only
    EXPECT_TRUE(Dimmed(P(), CFGINSIG_INPPGAVOLL));
    EXPECT_FALSE(Dimmed(P(), CFGINSIG_INPPGAVOLR));
}

TEST_F(JorbInput, GainCallbacksWriteTheirSideOnly) {
    CFG_REG[45] = 0x000;
    CFG_REG[46] = 0x000;
    Refresh();
    Clear();
    rt::SetCtrlVal(P(), CFGINSIG_INPPGAZCL, 1);
    rt::SetCtrlVal(P(), CFGINSIG_INPPGAUPDATEL, 1);
    Commit(P(), CFGINSIG_INPPGAVOLL, 16);
    EXPECT_EQ(RegisterWrites(), (Writes{{45, 0x190}}));
    EXPECT_EQ(TotalPause(), 0);
    Clear();
    Commit(P(), CFGINSIG_INPPGAMUTER, 1);
    EXPECT_EQ(RegisterWrites(), (Writes{{46, 0x040}}));
    EXPECT_EQ(PauseAfterWrite(1), 100);
    // The update boxes keep what the user set through a refresh.
    CFG_REG[45] = 0x000;
    Refresh();
    EXPECT_EQ(Val(P(), CFGINSIG_INPPGAUPDATEL), 1);
}

TEST_F(JorbInput, SwitchesBoostsAndEnablesKeepOtherBits) {
    CFG_REG[44] = 0x188;  // bias voltage 3, bit 3
    CFG_REG[48] = 0x008;
    CFG_REG[2] = 0x1C3;
    CFG_REG[1] = 0x000;
    Refresh();
    Clear();
    Commit(P(), CFGINSIG_RIN2INPPGA, 1);
    Commit(P(), CFGINSIG_R2_2BOOSTVOL, 7);
    Commit(P(), CFGINSIG_PGABOOSTR, 1);
    Commit(P(), CFGINSIG_BOOSTENL, 1);
    Commit(P(), CFGINSIG_INPPGAENR, 1);
    Commit(P(), CFGINSIG_MICBEN, 1);
    EXPECT_EQ(RegisterWrites(),
              (Writes{{44, 0x1A8}, {48, 0x078}, {48, 0x178}, {2, 0x1D3}, {2, 0x1DB}, {1, 0x010}}));
    std::string status;
    Refresh();
    rt::GetCtrlVal(P(), CFGINSIG_TXTSTMicBiasStatus, &status);
    EXPECT_EQ(status, "** MIC BIAS output pin is currently enabled: MICBIASEN = 1 **");
}

TEST_F(JorbInput, RefreshShowsFields) {
    CFG_REG[32] = 0x100;
    CFG_REG[40] = 0x001;
    CFG_REG[44] = 0x180;
    CFG_REG[47] = 0x135;
    Refresh();
    EXPECT_EQ(Val(P(), CFGINSIG_ALCSEL), 2);  // "ALC Left Only"
    EXPECT_EQ(Val(P(), CFGINSIG_MBVSEL), 7);  // "Low Noise Mode: 0.50 * VDDA"
    EXPECT_EQ(Val(P(), CFGINSIG_AUXL2BOOSTVOL), 5);
    EXPECT_EQ(Val(P(), CFGINSIG_L2_2BOOSTVOL), 3);
    EXPECT_EQ(Val(P(), CFGINSIG_PGABOOSTL), 1);
    // Only bit 0 of R40 is the bias mode.
    CFG_REG[40] = 0x002;
    Refresh();
    EXPECT_EQ(Val(P(), CFGINSIG_MBVSEL), 3);
    EXPECT_TRUE(RegisterWrites().empty());
}

// On Zutb, R46 to R48 are the ADC control and the ADC volumes: the right PGA gain and the boost
// controls are dimmed with a tool tip saying why, write nothing and are not refreshed; the
// ALC channel, on R32, still goes out and leaves the right gain ring dimmed.
TEST_F(JorbInput, ZutbControlsOfRegistersThatMeanSomethingElseWriteNothing) {
    namespace Z = ui::cfgInputZutb_pan;
    Open(modeltest::MENUBAR_DEVICE_StereoZutb);
    const int p = PHandleSTInSignalZutb;
    CFG_REG[46] = 0x0C3;
    CFG_REG[47] = 0x1A5;
    CFG_REG[48] = 0x0A5;
    for (int c : {Z::CFGINSIG_INPPGAVOLR, Z::CFGINSIG_INPPGAMUTER, Z::CFGINSIG_INPPGAZCR, Z::CFGINSIG_INPPGAUPDATER,
                  Z::CFGINSIG_AUXL2BOOSTVOL, Z::CFGINSIG_L2_2BOOSTVOL, Z::CFGINSIG_PGABOOSTL,
                  Z::CFGINSIG_AUXR2BOOSTVOL, Z::CFGINSIG_R2_2BOOSTVOL, Z::CFGINSIG_PGABOOSTR}) {
        int dimmed = 0;
        rt::GetCtrlAttribute(p, c, rt::ATTR_DIMMED, &dimmed);
        EXPECT_EQ(dimmed, 1) << c;
    }
    std::string tip;
    rt::GetCtrlAttribute(p, Z::CFGINSIG_PGABOOSTL, rt::ATTR_TOOLTIP_TEXT, &tip);
    EXPECT_EQ(tip,
              "On Zutb R47 is LEFT_ADC_DIGITAL_VOLUME: this setting writes nothing until its Zutb register is known.");
    Commit(p, Z::CFGINSIG_INPPGAMUTER, 1);
    Commit(p, Z::CFGINSIG_PGABOOSTL, 0);
    Commit(p, Z::CFGINSIG_PGABOOSTR, 1);
    Commit(p, Z::CFGINSIG_ALCSEL, 0);
    EXPECT_EQ(RegisterWrites(), (Writes{{32, CFG_REG[32]}}));
    EXPECT_EQ(CFG_REG[32] & 0x180, 0u);
    EXPECT_EQ(CFG_REG[46], 0x0C3u);
    EXPECT_EQ(CFG_REG[47], 0x1A5u);
    EXPECT_EQ(CFG_REG[48], 0x0A5u);
    int dimmed = 0;
    rt::GetCtrlAttribute(p, Z::CFGINSIG_INPPGAVOLR, rt::ATTR_DIMMED, &dimmed);
    EXPECT_EQ(dimmed, 1);
    Refresh();
    int shown = -1;
    rt::GetCtrlVal(p, Z::CFGINSIG_PGABOOSTL, &shown);
    EXPECT_EQ(shown, 0);  // what the user set, not R47 bit 8
}

class MonoInput : public CapturePanelFixture {
protected:
    int P() const { return PHandleMNInput; }
};

TEST_F(MonoInput, StartValuesBeforeAnyRefresh) {
    using namespace ui::MNInput_pan;
    EXPECT_EQ(Val(P(), MNINPUT_MNINPPGAVOL), 16);
    EXPECT_EQ(Val(P(), MNINPUT_MNMIC22BOOSTVOL), 0);
    EXPECT_EQ(Val(P(), MNINPUT_MNMICP2BOOSTVOL), 0);
    EXPECT_EQ(RingLabels(P(), MNINPUT_MNMICP2BOOSTVOL)[1], "-12dB");
    EXPECT_EQ(RingLabels(P(), MNINPUT_MNMICP2BOOSTVOL)[7], "6dB");
    EXPECT_EQ(RingLabels(PHandleMNPykaInput, ui::MNPykaInput_pan::MNPykaINPUT_MNINPPGAVOL).size(), 64u);
}

TEST_F(MonoInput, CallbacksAndTheirPlans) {
    using namespace ui::MNInput_pan;
    Open(modeltest::MENUBAR_DEVICE_Mono);
    CFG_REG[1] = 0x000;
    CFG_REG[2] = 0x000;
    CFG_REG[32] = 0x038;
    CFG_REG[40] = 0x006;
    CFG_REG[44] = 0x033;
    CFG_REG[45] = 0x110;
    Refresh(true);
    EXPECT_EQ(Val(P(), MNINPUT_MNMBVSEL), 0);  // only R40 bit 0 selects low noise
    rt::SetCtrlVal(P(), MNINPUT_MB_MODE, 0);
    Clear();

    Commit(P(), MNINPUT_MNMICBEN, 1);
    EXPECT_EQ(RegisterWrites(), (Writes{{1, 0x010}, {2, 0x000}}));
    EXPECT_EQ(PauseAfterWrite(1), 300);
    Clear();

    Commit(P(), MNINPUT_MNALCSEL, 1);
    EXPECT_TRUE(Dimmed(P(), MNINPUT_MNINPPGAVOL));
    EXPECT_EQ(RegisterWrites(), (Writes{{32, 0x138}, {45, 0x110}}));  // R45 bit 8 kept
    Clear();
    Commit(P(), MNINPUT_MNINPPGAMUTE, 1);
    EXPECT_EQ(RegisterWrites(), (Writes{{32, 0x138}, {45, 0x150}}));
    Clear();

    CFG_REG[40] = 0x000;
    Commit(P(), MNINPUT_MNMBVSEL, 5);  // "Low Noise mode: 0.60 * VDDA"
    EXPECT_EQ(Val(P(), MNINPUT_MB_MODE), 1);
    EXPECT_EQ(RegisterWrites(), (Writes{{44, 0x0B3}, {40, 0x001}}));
    EXPECT_EQ(PauseAfterWrite(1), 100);
    EXPECT_EQ(PauseAfterWrite(2), 100);
    Clear();

    Commit(P(), MNINPUT_MNMIC2MODE, 1);
    Commit(P(), MNINPUT_MNMIC22BOOSTVOL, 4);
    EXPECT_EQ(RegisterWrites(), (Writes{{44, 0x0BB}, {47, CFG_REG[47]}}));
    EXPECT_EQ(CFG_REG[47] & 0x7, 4u);

    // The refresh sets the dimming from R32 bit 8 alone.
    CFG_REG[32] = 0x007;
    Refresh(true);
    EXPECT_FALSE(Dimmed(P(), MNINPUT_MNINPPGAVOL));
    EXPECT_EQ(Val(P(), MNINPUT_MNALCSEL), 0);
}

}  // namespace
