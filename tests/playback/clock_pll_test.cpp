// The clock and PLL block of the stereo DAC panels: the calculator, Config PLL with the divider
// it needs, default settings, entry bounds, the reference impedance and its dimming, the Jorbx
// rates, through the real panels and the emulated board.
#include <gmock/gmock.h>
#include "panels/cfgDACJorb_pan.h"
#include "tests/playback/dac_test_support.h"

namespace {

using namespace ui::cfgDACJorb_pan;
using namespace ui::AudioCodec_pan;
using dactest::TimedWrite;
using WriteList = std::vector<std::pair<int, int>>;

const char* const kNoPll =
    "Warning|With the current settings,  PLL can not be configured. \n Please adjust your input value(s) and try "
    "again.";

class StereoClock : public dactest::PanelFixture {
protected:
    int P() const { return PHandleSTDAC; }

    void OpenJorb() {
        Open(MENUBAR_DEVICE_StereoJorb);
        Choose(P(), CFGDAC_STMCLK, 1);  // "Customize Settings"
        Forget();
    }
    // Fills the calculator's inputs (modes: 0 Fixed, 1 Auto).
    void Inputs(double mclk, double fs, int prescaleMode, int prescale, int dividerMode, int divider) {
        Set(P(), CFGDAC_STMCLKInput, mclk);
        Set(P(), CFGDAC_STFS, fs);
        Set(P(), CFGDAC_STMCLKDIVMODE, prescaleMode);
        Set(P(), CFGDAC_STMCLKDIV, prescale);
        Set(P(), CFGDAC_STIMCLKDIVMODE, dividerMode);
        Set(P(), CFGDAC_STIMCLKDIV, divider);
    }
    std::vector<int> Pll() {
        return {Int(P(), CFGDAC_STMCLKDIV), Int(P(), CFGDAC_STIMCLKDIV), Int(P(), CFGDAC_STPLLN),
                Int(P(), CFGDAC_STPLLK1), Int(P(), CFGDAC_STPLLK2), Int(P(), CFGDAC_STPLLK3)};
    }
};

// With the divider on Auto the search picks the divider; Config PLL writes N and K and then
// the divider they were worked out for.
TEST_F(StereoClock, AutoDividerCalculatesThenConfigWritesPllAndDivider) {
    OpenJorb();
    CFG_REG[6] = 0x100;  // divider "Divide by 1" on the chip
    Refresh();
    Forget();
    Inputs(12.288, 44.1, 0, 0, 1, 0);
    Commit(P(), CFGDAC_STMCLKCAL);
    EXPECT_TRUE(Received().empty());
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
    EXPECT_EQ(Pll(), (std::vector<int>{0, 2, 7, 22, 204, 409}));
    EXPECT_NEAR(Real(P(), CFGDAC_IMCLK), 11.2896, 1e-9);
    EXPECT_NEAR(Real(P(), CFGDAC_F2Clock), 90.3168, 1e-9);  // of the divider found, not the one started from

    Commit(P(), CFGDAC_STSETPLL);
    EXPECT_EQ(Timed(), (std::vector<TimedWrite>{{36, 0x007, 300},
                                                {37, 0x016, 300},
                                                {38, 0x0CC, 300},
                                                {39, 0x199, 300},
                                                {72, 0x000, 300},
                                                {6, 0x140, 300}}));
    EXPECT_EQ(FlagCFGUpdate, 1);
    // The refresh shows what the chip now runs.
    Refresh();
    EXPECT_EQ(Pll(), (std::vector<int>{0, 2, 7, 22, 204, 409}));
}

TEST_F(StereoClock, FixedDividerGivesTheDefaultsForTwelveMegahertz) {
    OpenJorb();
    Inputs(12.0, 48.0, 0, 0, 0, 2);
    Commit(P(), CFGDAC_STMCLKCAL);
    EXPECT_EQ(Pll(), (std::vector<int>{0, 2, 8, 12, 147, 233}));
    Commit(P(), CFGDAC_STSETPLL);
    EXPECT_EQ(Writes(), (WriteList{{36, 0x008}, {37, 0x00C}, {38, 0x093}, {39, 0x0E9}, {72, 0x000}}));

    Forget();
    // Divider Auto takes the divider that puts f2 in 90 to 100 MHz ("Divide by 2"), not the
    // first that fits ("Divide by 1.5", 73.7 MHz).
    Inputs(12.0, 48.0, 0, 0, 1, 0);
    Commit(P(), CFGDAC_STMCLKCAL);
    EXPECT_EQ(Pll(), (std::vector<int>{0, 2, 8, 12, 147, 233}));
    EXPECT_NEAR(Real(P(), CFGDAC_F2Clock), 98.304, 1e-9);
    Inputs(12.288, 48.0, 1, 0, 1, 0);
    Commit(P(), CFGDAC_STMCLKCAL);
    EXPECT_EQ(Pll(), (std::vector<int>{0, 2, 8, 0, 0, 0}));
    // Auto prescale halves the clock when only that puts f2 in range: 24 MHz for 96 kHz.
    Inputs(24.0, 96.0, 1, 0, 1, 0);
    Commit(P(), CFGDAC_STMCLKCAL);
    EXPECT_EQ(Pll(), (std::vector<int>{1, 0, 8, 12, 147, 233}));
    EXPECT_NEAR(Real(P(), CFGDAC_F2Clock), 98.304, 1e-9);
    // When both put f2 in range it keeps the whole clock: 16 MHz for 48 kHz gives N 6 undivided
    // (N 12 halved).
    Inputs(16.0, 48.0, 1, 1, 1, 0);
    Commit(P(), CFGDAC_STMCLKCAL);
    EXPECT_EQ(Pll(), (std::vector<int>{0, 2, 6, 9, 110, 303}));
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
    EXPECT_TRUE(Received().empty());
}

TEST_F(StereoClock, NoSettingShowsTheWarningAndAutoPrescaleTriesTheHalfClock) {
    OpenJorb();
    Inputs(12.288, 48.0, 0, 0, 0, 0);
    Commit(P(), CFGDAC_STMCLKCAL);
    EXPECT_EQ(PopupTexts(), (std::vector<std::string>{kNoPll}));
    EXPECT_TRUE(Received().empty());
    EXPECT_EQ(Pll(), (std::vector<int>{0, 0, 8, 12, 147, 233}));  // the reset's defaults stay

    Forget();
    Inputs(12.288, 48.0, 1, 0, 0, 0);
    Commit(P(), CFGDAC_STMCLKCAL);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
    EXPECT_EQ(Pll(), (std::vector<int>{1, 0, 8, 0, 0, 0}));
    EXPECT_TRUE(Received().empty());
}

// Each entry holds only what its field can: N cannot spill into the prescale bit, K1 to K3 are
// not silently cut; a clock of 0 is refused with its own message.
TEST_F(StereoClock, EntriesAreBoundedAndClocksMustBePositive) {
    OpenJorb();
    Set(P(), CFGDAC_STPLLN, 20);
    Set(P(), CFGDAC_STPLLK1, 100);
    Set(P(), CFGDAC_STPLLK2, 600);
    Set(P(), CFGDAC_STPLLK3, -5);
    EXPECT_EQ(Int(P(), CFGDAC_STPLLN), 15);
    EXPECT_EQ(Int(P(), CFGDAC_STPLLK1), 63);
    EXPECT_EQ(Int(P(), CFGDAC_STPLLK2), 511);
    EXPECT_EQ(Int(P(), CFGDAC_STPLLK3), 0);
    Set(P(), CFGDAC_STMCLKDIV, 0);
    Commit(P(), CFGDAC_STSETPLL);
    EXPECT_EQ(CFG_REG[36], 0x00Fu);
    EXPECT_EQ(CFG_REG[37], 63u);
    EXPECT_EQ(CFG_REG[38], 511u);

    Forget();
    Inputs(0.0, 48.0, 1, 0, 1, 2);
    Commit(P(), CFGDAC_STMCLKCAL);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "Warning");
    EXPECT_NE(prompter.shown[0].text.find("greater than 0"), std::string::npos);
    Forget();
    Inputs(12.0, 0.0, 1, 0, 1, 2);
    Commit(P(), CFGDAC_STMCLKCAL);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].text.find("greater than 0"), std::string::npos);
    EXPECT_TRUE(Received().empty());
}

// Default puts back every input of the 48 kHz setting, so Config PLL then runs the chip at
// 48 kHz: N and K, the master clock, the prescale, the divider and the rate.
TEST_F(StereoClock, DefaultPutsBackTheDefaultsAndDividesByOne) {
    OpenJorb();
    CFG_REG[6] = 0x160;  // the chip divides by 3
    Inputs(11.0, 44.1, 1, 1, 0, 3);
    Set(P(), CFGDAC_STPLLN, 11);
    Choose(P(), CFGDAC_STMCLK, 0);
    EXPECT_EQ(Int(P(), CFGDAC_STMCLKDIV), 0);  // "Divide by 1", not an empty ring
    EXPECT_EQ(Index(P(), CFGDAC_STMCLKDIV), 0);
    EXPECT_EQ(Int(P(), CFGDAC_STIMCLKDIV), 2);
    EXPECT_DOUBLE_EQ(Real(P(), CFGDAC_STFS), 48.0);
    EXPECT_NEAR(Real(P(), CFGDAC_F2Clock), 98.304, 1e-9);
    EXPECT_EQ(Int(P(), CFGDAC_STMCLKDIVMODE), 0);
    EXPECT_EQ(Int(P(), CFGDAC_STPLLN), 8);
    EXPECT_EQ(Int(P(), CFGDAC_STPLLK1), 12);
    EXPECT_EQ(Int(P(), CFGDAC_STPLLK2), 147);
    EXPECT_EQ(Int(P(), CFGDAC_STPLLK3), 233);
    EXPECT_DOUBLE_EQ(Real(P(), CFGDAC_STMCLKInput), 12.0);
    for (int c : {CFGDAC_STMCLKDIVMODE, CFGDAC_STMCLKDIV, CFGDAC_STFS, CFGDAC_STPLLN, CFGDAC_STPLLK1,
                  CFGDAC_STPLLK2, CFGDAC_STPLLK3, CFGDAC_STMCLKCAL, CFGDAC_STMCLKInput})
        EXPECT_TRUE(Dimmed(P(), c)) << c;
    EXPECT_FALSE(Dimmed(P(), CFGDAC_STSETPLL));
    EXPECT_TRUE(Received().empty());
    Commit(P(), CFGDAC_STSETPLL);
    EXPECT_EQ(Writes(), (WriteList{{36, 0x008}, {37, 0x00C}, {38, 0x093}, {39, 0x0E9}, {72, 0x000}, {6, 0x140}}));
    Forget();
    Choose(P(), CFGDAC_STMCLK, 1);
    EXPECT_FALSE(Dimmed(P(), CFGDAC_STPLLN));
    EXPECT_FALSE(Dimmed(P(), CFGDAC_STMCLKCAL));
}

TEST_F(StereoClock, OpenReferenceImpedanceDimsThePll) {
    OpenJorb();
    Choose(P(), CFGDAC_STVMIDSEL, 0);
    EXPECT_EQ(Writes(), (WriteList{{1, 0x000}}));
    for (int c : {CFGDAC_STPLLEN, CFGDAC_STMCLK, CFGDAC_STPLLN, CFGDAC_STPLLK1, CFGDAC_STPLLK2, CFGDAC_STPLLK3,
                  CFGDAC_STSETPLL, CFGDAC_STMCLKInput, CFGDAC_STMCLKCAL, CFGDAC_STMCLKDIVMODE, CFGDAC_STMCLKDIV,
                  CFGDAC_STFS})
        EXPECT_TRUE(Dimmed(P(), c)) << c;
    Choose(P(), CFGDAC_STVMIDSEL, 2);
    EXPECT_EQ(CFG_REG[1] & 3u, 2u);
    EXPECT_FALSE(Dimmed(P(), CFGDAC_STPLLEN));
    EXPECT_FALSE(Dimmed(P(), CFGDAC_STMCLK));
    EXPECT_FALSE(Dimmed(P(), CFGDAC_STSETPLL));
    EXPECT_TRUE(Dimmed(P(), CFGDAC_STPLLN));  // until "Customize Settings" again
    Choose(P(), CFGDAC_STPLLEN, 1);
    EXPECT_EQ(CFG_REG[1], 0x022u);
}

TEST_F(StereoClock, InputChangesResetTheEntriesAndWriteTheirRegisters) {
    OpenJorb();
    Set(P(), CFGDAC_STPLLN, 11);
    Choose(P(), CFGDAC_STFS, 32.0);
    EXPECT_EQ(Int(P(), CFGDAC_STPLLN), 8);
    EXPECT_NEAR(Real(P(), CFGDAC_IMCLK), 8.192, 1e-9);
    EXPECT_TRUE(Received().empty());

    Choose(P(), CFGDAC_STMCLKDIV, 1);
    EXPECT_EQ(Timed(), (std::vector<TimedWrite>{{36, 0x018, 100}}));
    Forget();
    Choose(P(), CFGDAC_STIMCLKDIV, 4);
    EXPECT_EQ(Writes(), (WriteList{{72, 0x000}, {6, 0x180}, {7, 0x000}}));
    EXPECT_NEAR(Real(P(), CFGDAC_F2Clock), 4 * 8.192 * 4, 1e-9);
}

TEST_F(StereoClock, JorbxRatesDriveR72) {
    Open(MENUBAR_DEVICE_StereoJorb);
    ClickText(PANEL_TM_KorJorbx);
    ASSERT_EQ(g_dev_type, DEV_JORBX);
    std::vector<std::string> rates = RingLabels(P(), CFGDAC_STSR);
    ASSERT_GE(rates.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(rates.begin(), rates.begin() + 3),
              (std::vector<std::string>{"192kHz", "96kHz", "48KHz"}));
    Forget();
    Choose(P(), CFGDAC_STSR, 7);
    EXPECT_EQ(Timed(), (std::vector<TimedWrite>{{72, 0x004, 300}, {6, 0x140, 300}, {7, 0x00E, 0}}));

    // At 192 kHz the search runs at 96 kHz and Config PLL keeps the chip at 192 kHz.
    Choose(P(), CFGDAC_STMCLK, 1);
    Forget();
    Inputs(12.0, 192.0, 0, 0, 1, 0);
    Commit(P(), CFGDAC_STMCLKCAL);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
    EXPECT_EQ(Pll(), (std::vector<int>{0, 0, 8, 12, 147, 233}));  // 96 kHz x 256 x 4 / 12 MHz = 8.192
    Commit(P(), CFGDAC_STSETPLL);
    std::vector<std::pair<int, int>> w = Writes();
    EXPECT_EQ(w, (WriteList{{36, 0x008}, {37, 0x00C}, {38, 0x093}, {39, 0x0E9}, {72, 0x004}, {6, 0x100}, {7, 0x00E},
                            {72, 0x004}}));

    // Plain Jorb clears it.
    Click(PANEL_PB_Jorb);
    ASSERT_EQ(g_dev_type, DEV_JORB);
    Forget();
    Choose(P(), CFGDAC_STSLOWCLKEN, 1);
    EXPECT_EQ(Writes().front(), (std::pair<int, int>{72, 0x000}));
}

}  // namespace
