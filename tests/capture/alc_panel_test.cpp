// The ALC panels: the three register layouts with their send orders, the decay/attack pairs
// and the mode switch, the refresh (codes beyond the rings' items), and the three presets.
#include "boardhid/emulator_control.h"
#include "capture/alc_panel.h"
#include "link/chip_operation.h"
#include "panels/MNALC_pan.h"
#include "panels/MNPykbALC_pan.h"
#include "panels/cfgALCJorb_pan.h"
#include "panels/cfgALCZutb_pan.h"
#include "panels/cfgDevJorb_pan.h"
#include "tests/capture/eq_input_alc_test_support.h"
#include "tests/support/popup_texts.h"

using namespace capturetest;
using namespace ui::cfgALCJorb_pan;

namespace {

using JorbALC = OpenPanelFixture<modeltest::MENUBAR_DEVICE_StereoJorb, &PHandleSTALC>;

TEST_F(JorbALC, SpeechPresetReplacesTheFourRegistersInOrder) {
    CFG_REG[32] = 0x000;
    CFG_REG[33] = 0x1FF;
    CFG_REG[34] = 0x1FF;
    CFG_REG[35] = 0x1F0;
    Commit(P(), CFGALC_RSALC, 2);  // "Speech"
    EXPECT_EQ(RegisterWrites(), (Writes{{32, 0x1B8}, {33, 0x007}, {35, 0x00F}, {34, 0x042}}));
    EXPECT_EQ(FlagCFGUpdate, 1);
    Refresh();
    EXPECT_EQ(Val(P(), CFGALC_ALCSEL), 3);
    EXPECT_EQ(Val(P(), CFGALC_ALCDCY1), 4);
    // A value the control has no item for writes nothing.
    Clear();
    rt::SetCtrlVal(P(), CFGALC_RSALC, 7);
    rt::CallCtrlCallback(P(), CFGALC_RSALC, rt::EVENT_COMMIT, 0, 0);
    EXPECT_TRUE(RegisterWrites().empty());
}

TEST_F(JorbALC, ModeSwitchCarriesTheRatesOver) {
    CFG_REG[34] = 0x083;
    Refresh();
    EXPECT_FALSE(Dimmed(P(), CFGALC_ALCDCY0));
    EXPECT_TRUE(Dimmed(P(), CFGALC_ALCATK1));
    Clear();
    Commit(P(), CFGALC_ALCMODE, 1);
    EXPECT_EQ(RegisterWrites(), (Writes{{34, 0x183}}));
    EXPECT_EQ(Val(P(), CFGALC_ALCDCY1), 8);
    EXPECT_EQ(Val(P(), CFGALC_ALCATK1), 3);
    EXPECT_TRUE(Dimmed(P(), CFGALC_ALCDCY0));
    EXPECT_FALSE(Dimmed(P(), CFGALC_ALCATK1));
    // In limiter mode the limiter pair decides, and the normal pair follows.
    Clear();
    Commit(P(), CFGALC_ALCATK1, 9);
    EXPECT_EQ(RegisterWrites(), (Writes{{34, 0x189}}));
    EXPECT_EQ(Val(P(), CFGALC_ALCATK0), 9);

    // With the ALC on one channel only, a write of every register (the device panel's "Load
    // Default Update Bits") sends the limiter bit after the rest: R34 goes out in its block
    // without bit 8 and then alone with it.
    for (int channels : {1, 2}) {  // right only (R32 bit 7), left only (R32 bit 8)
        SCOPED_TRACE(channels);
        Commit(P(), CFGALC_ALCSEL, channels);
        CFG_REG[7] = 0;
        Clear();
        rt::CallCtrlCallback(PHandleSTDevCtrl, ui::cfgDevJorb_pan::CFGDEVJorb_BLoadUpdateBits, rt::EVENT_COMMIT, 0, 0);
        const std::vector<shelltest::Report> sent = board->ReceivedReports();
        ASSERT_EQ(sent.size(), 4u);
        EXPECT_EQ(sent[1][3 + 2 * (34 - 25)], 34 << 1) << "bit 8 held back from the block";
        EXPECT_EQ(RegisterWrites(), (Writes{{34, 0x189}}));
        EXPECT_EQ(board->CodecRegister(34), 0x189);
    }
}

TEST_F(JorbALC, RefreshLimitsRatesToTheLastItemOnly) {
    CFG_REG[34] = 0x0FF;
    Refresh();
    for (int ring : {CFGALC_ALCDCY0, CFGALC_ALCDCY1, CFGALC_ALCATK0, CFGALC_ALCATK1}) EXPECT_EQ(Val(P(), ring), 10);
    EXPECT_EQ(RingLabels(P(), CFGALC_ALCDCY0)[Index(P(), CFGALC_ALCDCY0)], "512ms/step");
    EXPECT_EQ(RingLabels(P(), CFGALC_ALCATK0)[Index(P(), CFGALC_ALCATK0)], "128ms/step");
    EXPECT_FALSE(Dimmed(P(), CFGALC_ALCDCY0));
    EXPECT_TRUE(Dimmed(P(), CFGALC_ALCDCY1));
    EXPECT_EQ(CFG_REG[34], 0x0FFu);
    EXPECT_TRUE(RegisterWrites().empty());
}

TEST_F(JorbALC, ControlCallbacksWriteTheirFields) {
    CFG_REG[32] = 0x040;
    CFG_REG[33] = 0x1F0;  // hold code 15: no item
    CFG_REG[35] = 0x1F0;
    Refresh();
    EXPECT_EQ(Index(P(), CFGALC_ALCHLD), -1);
    Clear();
    Commit(P(), CFGALC_ALCMIN, 2);
    Commit(P(), CFGALC_ALCSEL, 2);
    Commit(P(), CFGALC_ALCLVAL, 11);
    Commit(P(), CFGALC_ALCNGATEN, 1);
    Commit(P(), CFGALC_ALCNGC, 5);
    Commit(P(), CFGALC_ALCTBLSEL, 1);  // drives no bit
    EXPECT_EQ(RegisterWrites(), (Writes{{32, 0x042}, {32, 0x142}, {33, 0x1FB}, {35, 0x1F8}, {35, 0x1FD}, {35, 0x1FD}}));

    // The board refuses the hold time's write and stays connected: the copy keeps what the chip
    // holds, one Warning names the write, and the refresh shows the chip's code 15 again.
    Clear();
    prompter.shown.clear();
    board->SetFaults(boardhid::RefuseOneSend());
    Commit(P(), CFGALC_ALCHLD, 3);
    EXPECT_TRUE(RegisterWrites().empty());
    EXPECT_EQ(CFG_REG[33], 0x1FBu);
    EXPECT_EQ(prompter.shown, std::vector<testsupport::Popup>{testsupport::RefusedWriteWarning("R33")});
    Refresh();
    EXPECT_EQ(Index(P(), CFGALC_ALCHLD), -1);
}

TEST_F(JorbALC, ZutbLayoutSendOrdersAndGenericPreset) {
    namespace Z = ui::cfgALCZutb_pan;
    Open(modeltest::MENUBAR_DEVICE_StereoZutb);
    const int p = PHandleSTALCZutb;
    for (int r = 11; r <= 14; ++r) CFG_REG[r] = 0;
    CFG_REG[12] = 0x005;
    Refresh();
    Clear();
    Commit(p, Z::CFGALC_RSALC, 3);  // "Generic"
    EXPECT_EQ(RegisterWrites(), (Writes{{12, 0x1F5}, {11, 0x01D}, {13, 0x007}, {14, 0x035}}));
    Refresh();
    EXPECT_EQ(Val(p, Z::CFGALC_ALCHLD), 7);
    EXPECT_EQ(Val(p, Z::CFGALC_ALCNGC), 7);
    EXPECT_EQ(RingLabels(p, Z::CFGALC_ALCNGC)[0], "-78dB");

    // The preset is one operation: the board refuses the write of R11, so R13 and R14 (set in
    // the copy before it) are not sent and keep what the chip holds; one popup names it.
    for (int r = 11; r <= 14; ++r) CFG_REG[r] = 0;
    CFG_REG[12] = 0x005;
    Refresh();
    Clear();
    prompter.shown.clear();
    board->SetFaults(boardhid::RefuseOneSend(1));
    Commit(p, Z::CFGALC_RSALC, 2);  // "Speech"
    EXPECT_EQ(RegisterWrites(), (Writes{{12, 0x1F5}}));
    EXPECT_EQ(CFG_REG[12], 0x1F5u);
    for (int r : {11, 13, 14}) EXPECT_EQ(CFG_REG[r], 0u) << r;
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "Warning -- Operation aborted");
    EXPECT_EQ(prompter.shown[0].text,
              "\"ALC Preset\" stopped: the board refused the write of R11, and nothing after it was sent." +
                  testsupport::kPanelsMayDiffer);

    // A callback that writes two registers is one operation named by its control.
    Refresh();
    Clear();
    prompter.shown.clear();
    board->SetFaults(boardhid::RefuseOneSend());
    Commit(p, Z::CFGALC_ALCLVAL, 9);
    EXPECT_TRUE(RegisterWrites().empty());
    EXPECT_EQ(CFG_REG[12], 0x1F5u);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text,
              "\"ALC target level at ADC output\" stopped: the board refused the write of R12, and nothing after it "
              "was sent." +
                  testsupport::kPanelsMayDiffer);

    for (int r = 11; r <= 14; ++r) CFG_REG[r] = 0;
    Refresh();
    Clear();
    Commit(p, Z::CFGALC_ALCMIN, 5);
    Commit(p, Z::CFGALC_ALCLVAL, 9);
    Commit(p, Z::CFGALC_ALCMODE, 1);
    Commit(p, Z::CFGALC_ALCNGC, 3);
    EXPECT_EQ(RegisterWrites(),
              (Writes{{11, 0x0A0}, {12, 0x000}, {12, 0x009}, {13, 0x000}, {13, 0x020}, {14, 0x000}, {11, 0x0AC}}));
}

class MonoALC : public CapturePanelFixture {};

TEST_F(MonoALC, RatesPassUnchangedAndCodesWithoutItemsSurviveACommit) {
    using namespace ui::MNALC_pan;
    Open(modeltest::MENUBAR_DEVICE_Mono);
    const int p = PHandleMNALC;
    CFG_REG[34] = 0x0FF;
    Refresh(true);
    EXPECT_EQ(Index(p, MNALC_MNALCDCY0), -1);
    EXPECT_EQ(Index(p, MNALC_MNALCATK1), -1);
    Clear();
    Commit(p, MNALC_MNALCMODE, 0);
    EXPECT_EQ(RegisterWrites(), (Writes{{34, 0x0FF}}));
    Clear();
    Commit(p, MNALC_MNALCMODE, 1);
    EXPECT_EQ(RegisterWrites(), (Writes{{34, 0x1FF}}));

    CFG_REG[32] = 0x000;
    CFG_REG[33] = 0x000;
    Refresh(true);
    Clear();
    Commit(p, MNALC_MNALCSEL, 1);
    Commit(p, MNALC_MNALCZC, 1);
    EXPECT_EQ(RegisterWrites(), (Writes{{32, 0x100}, {33, 0x100}}));
}

TEST_F(MonoALC, MusicPresetOnPykb) {
    using namespace ui::MNPykbALC_pan;
    Open(modeltest::MENUBAR_DEVICE_MonoPykb);
    const int p = PHandleMNPykbALC;
    CFG_REG[32] = 0x000;
    Refresh(true);
    EXPECT_EQ(Val(p, MNPykbALC_MNALCSEL), 0);
    Clear();
    Commit(p, MNPykbALC_RSALC, 1);  // "Music"
    EXPECT_EQ(RegisterWrites(), (Writes{{32, 0x1B8}, {33, 0x007}, {35, 0x00F}, {34, 0x0A6}}));
    Refresh(true);
    EXPECT_EQ(Val(p, MNPykbALC_MNALCSEL), 1);
    EXPECT_EQ(Val(p, MNPykbALC_MNALCDCY0), 10);
    EXPECT_EQ(Val(p, MNPykbALC_MNALCATK0), 6);
}

}  // namespace
