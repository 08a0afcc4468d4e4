// The stereo ADC filter panels: ring fills, refresh, enables, the control register with the
// oversampling mirror, the volumes with their latches and the notch filter, through the real
// panels and the emulated board.
#include <gmock/gmock.h>
#include "panels/cfgADCJorb_pan.h"
#include "panels/cfgDACJorb_pan.h"
#include "tests/playback/dac_test_support.h"

namespace {

using namespace ui::cfgADCJorb_pan;
using namespace ui::AudioCodec_pan;
using dactest::TimedWrite;
using WriteList = std::vector<std::pair<int, int>>;

class StereoAdc : public dactest::PanelFixture {
protected:
    int P() const { return PHandleSTADCFilter; }
    void Notch(int f0, int bw, int rate) {
        Set(P(), CFGADCJorb_NOTCHCENTERFREQ, f0);
        Set(P(), CFGADCJorb_Notch3DBFREQ, bw);
        Set(P(), CFGADCJorb_RSampleFrequency, rate);
        Set(P(), CFGADCJorb_NFEN, 1);
        Commit(P(), CFGADCJorb_STNFCALNCONFIG);
    }
    std::vector<int> NotchInputs() const {
        return {CFGADCJorb_NOTCHCENTERFREQ, CFGADCJorb_Notch3DBFREQ, CFGADCJorb_RSampleFrequency,
                CFGADCJorb_CNFU27,          CFGADCJorb_CNFU28,       CFGADCJorb_CNFU29,
                CFGADCJorb_CNFU30,          CFGADCJorb_STNFCALNCONFIG};
    }
};

TEST_F(StereoAdc, StartUpFillsTheGeneratedRings) {
    EXPECT_EQ(RingLabels(P(), CFGADCJorb_ADCLPOL), (std::vector<std::string>{"Normal", "Inverted"}));
    EXPECT_EQ(RingLabels(P(), CFGADCJorb_ADCOSR), (std::vector<std::string>{"128X(Best Result)", "64X(Low Pow.)"}));
    std::vector<std::string> vol = RingLabels(P(), CFGADCJorb_ADCVOLR);
    ASSERT_EQ(vol.size(), 256u);
    EXPECT_EQ(vol[0], "Digital Mute");
    EXPECT_EQ(vol[1], "-127dB");
    EXPECT_EQ(vol[255], "0dB");
    EXPECT_EQ(RingLabels(PHdlADCJora, CFGADCJorb_ADCVOLL), vol);
}

TEST_F(StereoAdc, NotchWorkedExamplesGoOutInOrder) {
    Open(MENUBAR_DEVICE_StereoJorb);
    struct Case {
        int f0, bw;
        int r[4];
    };
    for (const Case& c : {Case{1000, 100, {0x0C0, 0x06B, 0x03F, 0x005}}, Case{440, 50, {0x0C0, 0x035, 0x03F, 0x058}},
                          Case{5800, 20, {0x0C0, 0x015, 0x02E, 0x02F}}}) {
        for (int r = 27; r <= 30; ++r) CFG_REG[r] = 0;
        Forget();
        Notch(c.f0, c.bw, 0);
        EXPECT_EQ(Timed(),
                  (std::vector<TimedWrite>{{27, c.r[0], 10}, {28, c.r[1], 10}, {29, c.r[2], 10}, {30, c.r[3], 0}}))
            << c.f0;
        EXPECT_EQ(FlagCFGUpdate, 1);
    }
}

TEST_F(StereoAdc, NotchOffSendsOnlyItsEnableAndDimsTheInputs) {
    Open(MENUBAR_DEVICE_StereoJorb);
    Notch(1000, 100, 0);
    Forget();
    Choose(P(), CFGADCJorb_NFEN, 0);
    EXPECT_EQ(Writes(), (WriteList{{27, 0x140}}));
    EXPECT_EQ(CFG_REG[28], 0x06Bu);
    for (int c : NotchInputs()) EXPECT_TRUE(Dimmed(P(), c)) << c;
    Forget();
    Choose(P(), CFGADCJorb_NFEN, 1);
    EXPECT_EQ(Writes().size(), 4u);
    for (int c : NotchInputs()) EXPECT_FALSE(Dimmed(P(), c)) << c;
}

// Any update box puts the update bit on the last register only; the refresh then shows it there.
TEST_F(StereoAdc, NotchUpdateBitGoesWithTheLastWrite) {
    Open(MENUBAR_DEVICE_StereoJorb);
    Set(P(), CFGADCJorb_CNFU27, 1);
    Notch(15000, 1000, 0);
    EXPECT_EQ(Writes(), (WriteList{{27, 0x0C7}, {28, 0x070}, {29, 0x0E9}, {30, 0x102}}));
    Refresh();
    EXPECT_EQ(Int(P(), CFGADCJorb_CNFU27), 0);
    EXPECT_EQ(Int(P(), CFGADCJorb_CNFU30), 1);
    EXPECT_EQ(Int(P(), CFGADCJorb_NFEN), 1);
}

// A filter whose rounded coefficients put a pole on or outside the unit circle is refused with
// nothing written; one that rounding moves off the centre asked for is written only on Yes.
TEST_F(StereoAdc, NotchTheChipCannotRunIsRefusedAndAFarOneAsked) {
    Open(MENUBAR_DEVICE_StereoJorb);
    for (int r = 27; r <= 30; ++r) CFG_REG[r] = 0x011;
    Notch(1000, 5000, 5);  // 8 KHz: NFCA0 held at 8191, a pole at -1.618
    Notch(50, 100, 0);     // a pole at 1.0063
    ASSERT_EQ(prompter.shown.size(), 2u);
    for (const auto& p : prompter.shown) {
        EXPECT_EQ(p.kind, "message");
        EXPECT_EQ(p.title, "Warning -- Operation aborted");
        EXPECT_NE(p.text.find("unit circle"), std::string::npos) << p.text;
    }
    EXPECT_NE(prompter.shown[1].text.find("50 Hz with a bandwidth of 100 Hz at 48 kHz"), std::string::npos);
    EXPECT_TRUE(Received().empty());
    for (int r = 27; r <= 30; ++r) EXPECT_EQ(CFG_REG[r], 0x011u) << r;
    Refresh();
    EXPECT_EQ(Int(P(), CFGADCJorb_NFEN), 0);  // the box shows the chip's filter is still off

    // 60 Hz lands at 84.7 Hz, where 60 Hz loses only a few dB.
    Forget();
    prompter.yesNoAnswers = {false, true};
    Notch(60, 100, 0);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].kind, "yesno");
    EXPECT_NE(prompter.shown[0].text.find("at 84.7 Hz instead of 60 Hz"), std::string::npos)
        << prompter.shown[0].text;
    EXPECT_TRUE(Received().empty());
    for (int r = 27; r <= 30; ++r) EXPECT_EQ(CFG_REG[r], 0x011u) << r;
    Notch(60, 100, 0);
    EXPECT_EQ(Writes(), (WriteList{{27, 0x0C0}, {28, 0x06B}, {29, 0x03F}, {30, 0x04A}}));
    // 100 Hz still lands 11.3 dB deep: short of 20 dB, so it asks too.
    Forget();
    prompter.yesNoAnswers = {false};
    Notch(100, 100, 0);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].kind, "yesno");
    EXPECT_NE(prompter.shown[0].text.find("attenuated by only 11.3 dB"), std::string::npos) << prompter.shown[0].text;
    EXPECT_TRUE(Received().empty());

    // Rounding that leaves the centre deep in the notch asks nothing.
    Forget();
    Notch(1000, 100, 0);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
    EXPECT_EQ(Writes().size(), 4u);
}

TEST_F(StereoAdc, ReservedRateIsRefusedWithNothingSent) {
    Open(MENUBAR_DEVICE_StereoJorb);
    rt::SetCtrlVal(P(), CFGADCJorb_RSampleFrequency, 6);  // no such item: the ring shows none
    Set(P(), CFGADCJorb_NFEN, 1);
    Commit(P(), CFGADCJorb_STNFCALNCONFIG);
    EXPECT_EQ(PopupTexts(), (std::vector<std::string>{"|Sample rate register value is reserved"}));
    EXPECT_TRUE(Received().empty());
}

TEST_F(StereoAdc, OversamplingIsMirroredIntoTheDacPanel) {
    using ui::cfgDACJorb_pan::CFGDAC_DACOSR;
    Open(MENUBAR_DEVICE_StereoJorb);
    Choose(P(), CFGADCJorb_ADCOSR, 1);
    EXPECT_EQ(Writes(), (WriteList{{14, 0x108}, {10, 0x008}}));
    EXPECT_EQ(Int(PHandleSTDAC, CFGDAC_DACOSR), 1);
    Forget();
    Set(P(), CFGADCJorb_HPFCUT, 5);
    Choose(P(), CFGADCJorb_HPFAPP, 1);
    EXPECT_EQ(Writes(), (WriteList{{14, 0x1D8}, {10, 0x008}}));
    Forget();
    Set(P(), CFGADCJorb_ADCENL, 1);
    Choose(P(), CFGADCJorb_ADCENR, 1);
    EXPECT_EQ(Writes(), (WriteList{{2, 0x003}}));
}

TEST_F(StereoAdc, VolumeSendsBothLatchesThenBothVolumes) {
    Open(MENUBAR_DEVICE_StereoJorb);
    Set(P(), CFGADCJorb_ADCVU15, 1);
    Choose(P(), CFGADCJorb_ADCVOLL, 0);  // "Digital Mute"
    EXPECT_EQ(Timed(),
              (std::vector<TimedWrite>{{15, 0x1FF, 100}, {16, 0x0FF, 100}, {15, 0x100, 100}, {16, 0x0FF, 100}}));
    Refresh();
    EXPECT_EQ(Int(P(), CFGADCJorb_ADCVOLL), 0);
    EXPECT_EQ(Int(P(), CFGADCJorb_ADCVU15), 1);
}

TEST_F(StereoAdc, RefreshShowsTheRegistersWithoutTraffic) {
    Open(MENUBAR_DEVICE_StereoZuta);
    CFG_REG[2] = 0x002;
    CFG_REG[14] = 0x1E9;
    CFG_REG[16] = 0x1A0;
    Refresh();
    EXPECT_TRUE(Received().empty());
    int p = PHandleSTADCFilterZuta;
    EXPECT_EQ(Int(p, CFGADCJorb_ADCENL), 0);
    EXPECT_EQ(Int(p, CFGADCJorb_ADCENR), 1);
    EXPECT_EQ(Int(p, CFGADCJorb_ADCLPOL), 1);
    EXPECT_EQ(Int(p, CFGADCJorb_ADCRPOL), 0);
    EXPECT_EQ(Int(p, CFGADCJorb_ADCOSR), 1);
    EXPECT_EQ(Int(p, CFGADCJorb_HPFCUT), 6);
    EXPECT_EQ(Int(p, CFGADCJorb_HPFAPP), 1);
    EXPECT_EQ(Int(p, CFGADCJorb_HPFEN), 1);
    EXPECT_EQ(Int(p, CFGADCJorb_ADCVOLR), 0xA0);
    EXPECT_EQ(Int(p, CFGADCJorb_ADCVU16), 1);
}

}  // namespace
