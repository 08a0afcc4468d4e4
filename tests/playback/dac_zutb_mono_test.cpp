// The Zutb and mono DAC panels: Zutb's two PLL blocks, its reference impedance and clock
// registers; the mono PCM time slot, jack detection (Pyka without R8), oversampling mirror and
// clock block, through the real panels and the emulated board.
#include "panels/MNADC_pan.h"
#include "panels/MNDAC_pan.h"
#include "panels/cfgDACZutb_pan.h"
#include "tests/playback/dac_test_support.h"

namespace {

using namespace ui::AudioCodec_pan;
using dactest::TimedWrite;
using WriteList = std::vector<std::pair<int, int>>;

namespace zb = ui::cfgDACZutb_pan;
namespace mn = ui::MNDAC_pan;

class ZutbDac : public dactest::PanelFixture {
protected:
    int P() const { return PHandleSTDACZutb; }
    void OpenWithDefaults() {
        Open(MENUBAR_DEVICE_StereoZutb);
        Choose(P(), zb::CFGDACZutb_STMCLK, 0);  // default entries
        Choose(P(), zb::CFGDACZutb_STMCLK, 1);  // and editable
        Forget();
    }
};

TEST_F(ZutbDac, ConfigPllWritesTheChosenBlock) {
    OpenWithDefaults();
    for (int r = 68; r <= 71; ++r) CFG_REG[r] = 0x001;
    Choose(P(), zb::CFGDACZutb_RPLLAB, 1);  // "B"
    Commit(P(), zb::CFGDACZutb_STSETPLL);
    // The defaults' divider ("Divide by 2") goes to R38 after the block.
    EXPECT_EQ(Timed(), (std::vector<TimedWrite>{
                           {79, 0x028, 300}, {80, 0x00C, 300}, {81, 0x093, 300}, {82, 0x0E9, 300}, {38, 0x053, 300}}));
    for (int r = 68; r <= 71; ++r) EXPECT_EQ(CFG_REG[r], 0x001u) << r;
    Refresh();
    EXPECT_EQ(Int(P(), zb::CFGDACZutb_RPLLAB), 1);

    Forget();
    Choose(P(), zb::CFGDACZutb_RPLLAB, 0);  // "A"
    Commit(P(), zb::CFGDACZutb_STSETPLL);
    EXPECT_EQ(Writes(), (WriteList{{79, 0x008}, {68, 0x008}, {69, 0x00C}, {70, 0x093}, {71, 0x0E9}}));
}

// The prescale ring acts on the block chosen and leaves the block-in-use bit alone; the refresh
// keeps the block the user chose, so Config PLL then writes that block with the new prescale.
// The ring follows the chip again when the block in use changes.
TEST_F(ZutbDac, PrescaleChangeActsOnTheChosenBlock) {
    OpenWithDefaults();
    CFG_REG[79] = 0x000;  // block A in use
    Refresh();
    Forget();
    Choose(P(), zb::CFGDACZutb_RPLLAB, 1);  // "B"
    Choose(P(), zb::CFGDACZutb_STMCLKDIV, 1);
    EXPECT_EQ(Timed(), (std::vector<TimedWrite>{{79, 0x010, 100}}));
    Refresh();
    EXPECT_EQ(Int(P(), zb::CFGDACZutb_RPLLAB), 1);
    EXPECT_EQ(Int(P(), zb::CFGDACZutb_STMCLKDIV), 1);
    Set(P(), zb::CFGDACZutb_STPLLN, 8);
    Forget();
    Commit(P(), zb::CFGDACZutb_STSETPLL);
    EXPECT_EQ(Writes().front(), (std::pair<int, int>{79, 0x038}));
    Refresh();
    EXPECT_EQ(Int(P(), zb::CFGDACZutb_RPLLAB), 1);

    Forget();
    CFG_REG[68] = 0x008;
    Choose(P(), zb::CFGDACZutb_STMCLKDIV, 0);
    EXPECT_EQ(Timed(), (std::vector<TimedWrite>{{79, 0x028, 100}}));
    EXPECT_EQ(CFG_REG[68], 0x008u);
    CFG_REG[79] = 0x009;  // a loaded set puts block A back in use
    Refresh();
    EXPECT_EQ(Int(P(), zb::CFGDACZutb_RPLLAB), 0);
    EXPECT_EQ(Int(P(), zb::CFGDACZutb_STPLLN), 8);
}

TEST_F(ZutbDac, ReferenceImpedanceIsAnEnableBitAndAField) {
    Open(MENUBAR_DEVICE_StereoZutb);
    CFG_REG[6] = 0x000;
    CFG_REG[10] = 0x000;
    Choose(P(), zb::CFGDACZutb_STVMIDSEL, 2);  // "2.5 K Ohm "
    Choose(P(), zb::CFGDACZutb_STVMIDSEL, 0);  // "80 KOhm "
    EXPECT_EQ(Writes(), (WriteList{{6, 0x100}, {10, 0x008}, {6, 0x100}, {10, 0x000}}));
    EXPECT_FALSE(Dimmed(P(), zb::CFGDACZutb_STSETPLL));
    Forget();
    CFG_REG[10] = 0x004;
    Choose(P(), zb::CFGDACZutb_STVMIDSEL, -1);  // "Disable(Open Circuit)"
    EXPECT_EQ(Writes(), (WriteList{{6, 0x000}, {10, 0x004}}));
    EXPECT_TRUE(Dimmed(P(), zb::CFGDACZutb_STSETPLL));
    EXPECT_TRUE(Dimmed(P(), zb::CFGDACZutb_STFS));
    rt::SetCtrlVal(P(), zb::CFGDACZutb_STVMIDSEL, 1);
    Refresh();
    EXPECT_EQ(Int(P(), zb::CFGDACZutb_STVMIDSEL), -1);
    Set(P(), zb::CFGDACZutb_STPLLK3, 1000);
    EXPECT_EQ(Int(P(), zb::CFGDACZutb_STPLLK3), 511);
}

TEST_F(ZutbDac, InterfaceAndClockUseZutbRegisters) {
    Open(MENUBAR_DEVICE_StereoZutb);
    CFG_REG[7] = 0x000;
    CFG_REG[36] = 0x000;
    CFG_REG[37] = 0x004;
    CFG_REG[38] = 0x000;
    CFG_REG[39] = 0x000;
    Refresh();
    Forget();
    Choose(P(), zb::CFGDACZutb_RFMT, 2);
    Choose(P(), zb::CFGDACZutb_CLRP, 1);
    Choose(P(), zb::CFGDACZutb_CBCP, 1);
    Choose(P(), zb::CFGDACZutb_STLOOPBACK, 1);  // resends R37 as it stands
    Choose(P(), zb::CFGDACZutb_STPLLEN, 1);
    EXPECT_EQ(Writes(), (WriteList{{7, 0x002}, {7, 0x012}, {36, 0x100}, {37, 0x004}, {38, 0x002}}));
    Forget();
    Set(P(), zb::CFGDACZutb_STBCLKDIV, 3);
    Set(P(), zb::CFGDACZutb_STSR, 2);
    Choose(P(), zb::CFGDACZutb_STMS, 1);
    EXPECT_EQ(Timed(), (std::vector<TimedWrite>{{7, 0x052, 0}, {38, 0x00E, 300}, {39, 0x004, 0}}));
}

class MonoDac : public dactest::PanelFixture {};

TEST_F(MonoDac, TimeSlotSplitsIntoR59AndR60) {
    Open(MENUBAR_DEVICE_Mono, true);
    Set(PHandleMNDAC, mn::MNDAC_PCM_TIMESLOT, 0x2A5);
    Commit(PHandleMNDAC, mn::MNDAC_LOADPCM);
    EXPECT_EQ(Writes(), (WriteList{{59, 0x0A5}, {60, 0x021}}));
    Set(PHandleMNDAC, mn::MNDAC_PCM_TIMESLOT, 5000);
    EXPECT_EQ(Int(PHandleMNDAC, mn::MNDAC_PCM_TIMESLOT), 1023);
    Forget();
    Choose(PHandleMNDAC, mn::MNDAC_MNPCMTSEN, 1);
    EXPECT_EQ(Writes(), (WriteList{{60, 0x121}}));
}

TEST_F(MonoDac, JackDetectionWithAndWithoutR8) {
    Open(MENUBAR_DEVICE_Mono, true);
    CFG_REG[8] = 0x00E;
    Choose(PHandleMNDAC, mn::MNDAC_CJackDetect, 1);
    EXPECT_EQ(Timed(), (std::vector<TimedWrite>{{2, 0x180, 300}, {3, 0x01E, 300}, {8, 0x001, 300}, {7, 0x001, 300}}));
    Forget();
    Choose(PHandleMNDAC, mn::MNDAC_CJackDetect, 0);
    EXPECT_EQ(Timed(), (std::vector<TimedWrite>{{8, 0x008, 300}, {7, 0x000, 300}}));

    Open(MENUBAR_DEVICE_MonoPyka, true);
    CFG_REG[2] = CFG_REG[3] = CFG_REG[7] = CFG_REG[8] = 0;
    Choose(PHandleMNPykaDAC, mn::MNDAC_CJackDetect, 1);
    EXPECT_EQ(Timed(), (std::vector<TimedWrite>{{2, 0x180, 300}, {3, 0x01E, 600}, {7, 0x001, 300}}));
    EXPECT_EQ(CFG_REG[8], 0u);
}

TEST_F(MonoDac, OversamplingFollowsTheAdcPanelBothWays) {
    Open(MENUBAR_DEVICE_MonoPykb, true);
    CFG_REG[10] = 0x000;
    CFG_REG[14] = 0x100;
    Refresh();
    Forget();
    Choose(PHandleMNPykbDAC, mn::MNDAC_MNDACPL, 1);
    EXPECT_EQ(Writes(), (WriteList{{10, 0x001}, {14, 0x100}}));
    EXPECT_EQ(Int(PHandleMNPykbADC, ui::MNADC_pan::MNADC_MNADCOSR), 0);
    Forget();
    Choose(PHandleMNPykbDAC, mn::MNDAC_MNDACOSR, 1);
    EXPECT_EQ(Writes(), (WriteList{{10, 0x009}, {14, 0x108}}));
    EXPECT_EQ(Int(PHandleMNPykbADC, ui::MNADC_pan::MNADC_MNADCOSR), 1);
    Forget();
    Choose(PHandleMNPykbADC, ui::MNADC_pan::MNADC_MNADCOSR, 0);
    EXPECT_EQ(Writes(), (WriteList{{14, 0x100}, {10, 0x001}}));
    EXPECT_EQ(Int(PHandleMNPykbDAC, mn::MNDAC_MNDACOSR), 0);
}

TEST_F(MonoDac, RingsAndClockBlockServeTheMonoPanel) {
    EXPECT_EQ(RingLabels(PHandleMNPykaDAC, mn::MNDAC_MNDACVOL).size(), 256u);
    EXPECT_EQ(RingLabels(PHandleMNDAC, mn::MNDAC_MNLIMATK)[2], "375 us ");
    Open(MENUBAR_DEVICE_Mono, true);
    CFG_REG[24] = 0x050;  // decay code 5
    Refresh();
    EXPECT_EQ(Index(PHandleMNDAC, mn::MNDAC_MNLIMDCY), 5);
    Choose(PHandleMNDAC, mn::MNDAC_STMCLK, 1);
    Forget();
    Set(PHandleMNDAC, mn::MNDAC_STMCLKInput, 12.0);
    Set(PHandleMNDAC, mn::MNDAC_STFS, 48.0);
    Set(PHandleMNDAC, mn::MNDAC_STIMCLKDIV, 2);
    Commit(PHandleMNDAC, mn::MNDAC_STMCLKCAL);
    Commit(PHandleMNDAC, mn::MNDAC_STSETPLL);
    EXPECT_EQ(Timed(),
              (std::vector<TimedWrite>{{36, 0x008, 300}, {37, 0x00C, 300}, {38, 0x093, 300}, {39, 0x0E9, 300}}));
    // The same bounds and refusals as on the stereo panels.
    Set(PHandleMNDAC, mn::MNDAC_STPLLN, 16);
    Set(PHandleMNDAC, mn::MNDAC_STPLLK1, 64);
    EXPECT_EQ(Int(PHandleMNDAC, mn::MNDAC_STPLLN), 15);
    EXPECT_EQ(Int(PHandleMNDAC, mn::MNDAC_STPLLK1), 63);
    Set(PHandleMNDAC, mn::MNDAC_STMCLKInput, 0.0);
    Commit(PHandleMNDAC, mn::MNDAC_STMCLKCAL);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].text.find("greater than 0"), std::string::npos);
    Forget();
    Choose(PHandleMNDAC, mn::MNDAC_STIMCLKDIV, 3);  // the clock callback runs with the new divider
    EXPECT_EQ(Timed(), (std::vector<TimedWrite>{{6, 0x160, 300}, {7, 0x000, 0}}));
}

}  // namespace
