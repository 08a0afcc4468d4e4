// The stereo DAC panels: ring fills, refresh, the DAC, interface, companding, volume, limiter
// and jack-detection callbacks, through the real panels and the emulated board.
#include "boardhid/emulator_control.h"
#include "capture/adc_panel.h"
#include "link/chip_operation.h"
#include "panels/CFGDACQeva_pan.h"
#include "panels/cfgADCJorb_pan.h"
#include "panels/cfgDACJorb_pan.h"
#include "tests/playback/dac_test_support.h"
#include "tests/support/popup_texts.h"

namespace {

using namespace ui::cfgDACJorb_pan;
using dactest::TimedWrite;
using WriteList = std::vector<std::pair<int, int>>;
using namespace ui::AudioCodec_pan;

class StereoDac : public dactest::PanelFixture {
protected:
    int P() const { return PHandleSTDAC; }
};

TEST_F(StereoDac, StartUpFillsTheGeneratedRings) {
    std::vector<std::string> vol = RingLabels(P(), CFGDAC_DACVOLL);
    ASSERT_EQ(vol.size(), 256u);
    EXPECT_EQ(vol[0], "Digital Mute");
    EXPECT_EQ(vol[1], "-127dB");
    EXPECT_EQ(vol[2], "-126.5dB");
    EXPECT_EQ(vol[255], "0dB");
    EXPECT_EQ(RingLabels(P(), CFGDAC_DACVOLR), vol);
    EXPECT_EQ(RingLabels(P(), CFGDAC_DACOSR), (std::vector<std::string>{"128X(Best Result)", "64X(Low Pow.)"}));
    int v = -1;
    rt::GetValueFromIndex(P(), CFGDAC_DACOSR, 0, &v);
    EXPECT_EQ(v, 1);
    EXPECT_EQ(RingLabels(P(), CFGDAC_DACPOLR), (std::vector<std::string>{"Normal", "Inverted"}));
    std::vector<std::string> atk = RingLabels(P(), CFGDAC_LIMATK);
    EXPECT_EQ(atk, (std::vector<std::string>{"94 us ", "188 us ", "375 us ", "750 us ", "1.5 ms ", "3 ms ", "6 ms ",
                                             "12 ms ", "24 ms ", "48 ms ", "96 ms ", "192 ms "}));
    std::vector<std::string> dcy = RingLabels(P(), CFGDAC_LIMDCY);
    ASSERT_EQ(dcy.size(), 12u);
    EXPECT_EQ(dcy[0], "750 us ");
    EXPECT_EQ(dcy[1], "1.5 ms ");
    EXPECT_EQ(dcy[11], "1536 ms ");
    std::vector<std::string> boost = RingLabels(P(), CFGDAC_LIMBOOST);
    ASSERT_EQ(boost.size(), 13u);
    EXPECT_EQ(boost.front(), "0 dB");
    EXPECT_EQ(boost.back(), "12 dB");
    EXPECT_EQ(RingLabels(P(), CFGDAC_LIMLVL),
              (std::vector<std::string>{"-1 dB", "-2 dB", "-3 dB", "-4 dB", "-5 dB", "-6 dB"}));
    // The same fill on the other stereo panels.
    EXPECT_EQ(RingLabels(PHdlDACQeva, CFGDAC_LIMATK), atk);
    EXPECT_EQ(RingLabels(PHandleSTDACZuta, CFGDAC_DACVOLL).size(), 256u);
}

TEST_F(StereoDac, RefreshShowsTheRegistersWithoutTraffic) {
    Open(MENUBAR_DEVICE_StereoJorb);
    CFG_REG[3] = 0x002;
    CFG_REG[4] = 0x1F5;  // BCLKP, LRP, WLEN 3, AIFMT 2, DACPHS, MONO
    CFG_REG[10] = 0x04D;
    CFG_REG[11] = 0x1C0;
    CFG_REG[12] = 0x001;
    CFG_REG[24] = 0x15A;
    CFG_REG[25] = 0x035;
    CFG_REG[5] = 0x03F;
    CFG_REG[41] = 0x009;
    Refresh();
    EXPECT_TRUE(Received().empty());
    EXPECT_EQ(Int(P(), CFGDAC_DACENL), 0);
    EXPECT_EQ(Int(P(), CFGDAC_DACENR), 1);
    EXPECT_EQ(Int(P(), CFGDAC_CSelectMnOverST), 1);
    EXPECT_EQ(Int(P(), CFGDAC_CADCLRSWAP), 0);
    EXPECT_EQ(Int(P(), CFGDAC_CDACLRSWAP), 1);
    EXPECT_EQ(Int(P(), CFGDAC_RFMT), 2);
    EXPECT_EQ(Int(P(), CFGDAC_RWL), 3);
    EXPECT_EQ(Int(P(), CFGDAC_CLRP), 1);
    EXPECT_EQ(Int(P(), CFGDAC_CBCP), 1);
    EXPECT_EQ(Int(P(), CFGDAC_DACPOLL), 1);
    EXPECT_EQ(Int(P(), CFGDAC_DACPOLR), 0);
    EXPECT_EQ(Int(P(), CFGDAC_AMUTE), 1);
    EXPECT_EQ(Int(P(), CFGDAC_DACOSR), 1);
    EXPECT_EQ(Int(P(), CFGDAC_SOFTMUTE), 1);
    EXPECT_EQ(Int(P(), CFGDAC_DACVOLL), 0xC0);
    EXPECT_EQ(Int(P(), CFGDAC_DACVU11), 1);
    EXPECT_EQ(Int(P(), CFGDAC_DACVOLR), 1);
    EXPECT_EQ(Int(P(), CFGDAC_DACVU12), 0);
    EXPECT_EQ(Int(P(), CFGDAC_LIMEN), 1);
    EXPECT_EQ(Int(P(), CFGDAC_LIMATK), 10);
    EXPECT_EQ(Int(P(), CFGDAC_LIMDCY), 5);
    EXPECT_EQ(Int(P(), CFGDAC_LIMBOOST), 5);
    EXPECT_EQ(Int(P(), CFGDAC_LIMLVL), 3);
    EXPECT_EQ(Int(P(), CFGDAC_STLOOPBACK), 1);
    EXPECT_EQ(Int(P(), CFGDAC_STADC_COMP), 3);
    EXPECT_EQ(Int(P(), CFGDAC_STDAC_COMP), 3);
    EXPECT_EQ(Int(P(), CFGDAC_STWL8), 1);
    EXPECT_EQ(Int(P(), CFGDAC_DEPTH3D), 9);
}

TEST_F(StereoDac, GroupCallbacksWriteTheirFieldsAndSendInOrder) {
    Open(MENUBAR_DEVICE_StereoJorb);
    Set(P(), CFGDAC_DACENL, 1);
    Choose(P(), CFGDAC_DACENR, 1);
    Choose(P(), CFGDAC_RFMT, 3);
    Choose(P(), CFGDAC_CBCP, 1);
    Set(P(), CFGDAC_STADC_COMP, 2);
    Choose(P(), CFGDAC_STWL8, 1);
    Choose(P(), CFGDAC_DEPTH3D, 7);
    EXPECT_EQ(Writes(), (WriteList{{3, 0x003}, {4, 0x058}, {4, 0x158}, {5, 0x024}, {41, 0x007}}));
    EXPECT_EQ(FlagCFGUpdate, 1);

    Forget();
    Set(P(), CFGDAC_LIMEN, 1);
    Set(P(), CFGDAC_LIMATK, 2);
    Set(P(), CFGDAC_LIMDCY, 11);
    Set(P(), CFGDAC_LIMBOOST, 12);
    Choose(P(), CFGDAC_LIMLVL, 5);
    EXPECT_EQ(Timed(), (std::vector<TimedWrite>{{24, 0x1B2, 300}, {25, 0x05C, 300}}));

    Forget();
    Set(P(), CFGDAC_DACVU11, 1);
    Choose(P(), CFGDAC_DACVU12, 0);
    EXPECT_EQ(Timed(), (std::vector<TimedWrite>{{11, 0x1FF, 100}, {12, 0x0FF, 0}}));

    // A group of two registers is one operation named by the committed control: the board
    // refuses R24, so neither R25 nor a pause follows and both keep what the chip holds.
    Forget();
    CFG_REG[24] = 0x000;
    CFG_REG[25] = 0x000;
    board->SetFaults(boardhid::RefuseOneSend());
    Choose(P(), CFGDAC_LIMLVL, 3);
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(sleeps.empty());
    EXPECT_EQ(CFG_REG[24], 0x000u);
    EXPECT_EQ(CFG_REG[25], 0x000u);
    EXPECT_EQ(PopupTexts(),
              (std::vector<std::string>{
                  std::string(kChipOperationStoppedTitle) +
                  "|\"Threshold Ratio\" stopped: the board refused the write of R24, and nothing after it was sent." +
                  testsupport::kPanelsMayDiffer}));
}

// A ring whose field holds a code it has no item for shows empty; committing its group must
// keep that field as the register holds it.
TEST_F(StereoDac, ARingWithoutItemKeepsItsField) {
    Open(MENUBAR_DEVICE_StereoJorb);
    CFG_REG[24] = 0x03D;  // attack code 13: no item
    Refresh();
    EXPECT_EQ(Index(P(), CFGDAC_LIMATK), -1);
    Forget();
    Choose(P(), CFGDAC_LIMEN, 1);
    EXPECT_EQ(CFG_REG[24], 0x13Du);
    CFG_REG[6] = 0x15C;  // BCLK divider code 7: no item
    Refresh();
    Forget();
    Choose(P(), CFGDAC_STMS, 1);
    EXPECT_EQ(CFG_REG[6] & 0x01C, 0x01Cu);
}

TEST_F(StereoDac, VolumeSetsItsLatchAndQevaGangsBothChannels) {
    Open(MENUBAR_DEVICE_StereoJorb);
    Choose(P(), CFGDAC_DACVOLL, 0);  // "Digital Mute"
    Choose(P(), CFGDAC_DACVOLR, 255);
    EXPECT_EQ(Writes(), (WriteList{{11, 0x100}, {12, 0x1FF}}));

    using ui::CFGDACQeva_pan::CFGDACQeva_DACVOLR;
    Open(MENUBAR_DEVICE_StereoQeva);
    CFG_REG[11] = 0x0FF;
    Choose(PHdlDACQeva, CFGDACQeva_DACVOLR, 200);
    EXPECT_EQ(Writes(), (WriteList{{11, 200}, {12, 0x100 | 200}}));

    // The ganged pair is one operation: with R12 refused, the copy keeps the chip's R12.
    Forget();
    board->SetFaults(boardhid::RefuseOneSend(1));
    Choose(PHdlDACQeva, CFGDACQeva_DACVOLR, 100);
    EXPECT_EQ(Writes(), (WriteList{{11, 100}}));
    EXPECT_EQ(CFG_REG[11] & 0x0FF, 100u);
    EXPECT_EQ(CFG_REG[12] & 0x0FF, 200u);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].text.find("the write of R12"), std::string::npos) << prompter.shown[0].text;
}

TEST_F(StereoDac, OversamplingIsMirroredIntoTheAdcPanel) {
    using ui::cfgADCJorb_pan::CFGADCJorb_ADCOSR;
    Open(MENUBAR_DEVICE_StereoJorb);
    Choose(P(), CFGDAC_DACPOLL, 1);
    EXPECT_EQ(Writes(), (WriteList{{10, 0x001}, {14, 0x100}}));
    EXPECT_EQ(Int(PHandleSTADCFilter, CFGADCJorb_ADCOSR), 0);
    Forget();
    Choose(P(), CFGDAC_DACOSR, 1);
    EXPECT_EQ(Writes(), (WriteList{{10, 0x009}, {14, 0x108}}));
    EXPECT_EQ(Int(PHandleSTADCFilter, CFGADCJorb_ADCOSR), 1);

    // Qeva has no ADC filter panel: R10 alone.
    Open(MENUBAR_DEVICE_StereoQeva);
    CFG_REG[10] = 0x000;
    Refresh();
    Forget();
    Choose(PHdlDACQeva, CFGDAC_DACOSR, 1);
    EXPECT_EQ(Writes(), (WriteList{{10, 0x008}}));
}

TEST_F(StereoDac, JackDetectionSendsItsSequenceAndR44Twice) {
    Open(MENUBAR_DEVICE_StereoJorb);
    CFG_REG[3] = 0x000;
    CFG_REG[13] = 0x10F;
    CFG_REG[44] = 0x000;
    Set(P(), CFGDAC_CJackDetect0, 1);
    Set(P(), CFGDAC_CJackDetect2, 1);
    Choose(P(), CFGDAC_CJackDetect, 1);
    EXPECT_EQ(Timed(), (std::vector<TimedWrite>{{2, 0x180, 10},
                                                {3, 0x1FF, 10},
                                                {9, 0x050, 10},
                                                {7, 0x001, 10},
                                                {44, 0x004, 10},
                                                {13, 0x150, 10},
                                                {44, 0x006, 0}}));
    EXPECT_EQ(CFG_REG[44], 0x006u);
    EXPECT_EQ(FlagCFGUpdate, 1);

    Forget();
    Choose(P(), CFGDAC_CJackDetect, 0);
    EXPECT_EQ(Writes(), (WriteList{{9, 0x010}}));
    EXPECT_EQ(CFG_REG[3], 0x1FFu);
    EXPECT_EQ(CFG_REG[13], 0x150u);
}

}  // namespace
