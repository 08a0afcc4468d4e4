// The Zutb and mono ADC filter panels: Zutb's register map (enables in R6, control in R46 with
// the polarities and high-pass enable written and shown from the same bits, volumes in R47/R48,
// notch in R59..R62), the mono notch with its dimming refresh, and the mono volume.
#include "panels/MNADC_pan.h"
#include "panels/cfgADCZutb_pan.h"
#include "tests/playback/dac_test_support.h"

namespace {

using namespace ui::AudioCodec_pan;
using dactest::TimedWrite;
using WriteList = std::vector<std::pair<int, int>>;

namespace zb = ui::cfgADCZutb_pan;
namespace mn = ui::MNADC_pan;

class ZutbAdc : public dactest::PanelFixture {
protected:
    int P() const { return PHandleSTADCFilterZutb; }
};

TEST_F(ZutbAdc, NotchGoesToR59ToR62) {
    Open(MENUBAR_DEVICE_StereoZutb);
    for (int r = 27; r <= 30; ++r) CFG_REG[r] = 0x011;
    for (int r = 59; r <= 62; ++r) CFG_REG[r] = 0x080;  // bit 7 left by another model's read-back
    Set(P(), zb::CFGADCZutb_NOTCHCENTERFREQ, 1000);
    Set(P(), zb::CFGADCZutb_Notch3DBFREQ, 100);
    Choose(P(), zb::CFGADCZutb_NFEN, 1);
    EXPECT_EQ(Timed(), (std::vector<TimedWrite>{{59, 0x0C0, 10}, {60, 0x06B, 10}, {61, 0x03F, 10}, {62, 0x005, 0}}));
    for (int r = 27; r <= 30; ++r) EXPECT_EQ(CFG_REG[r], 0x011u);
    Forget();
    Choose(P(), zb::CFGADCZutb_CNFU27, 1);
    EXPECT_EQ(Writes().back(), (std::pair<int, int>{62, 0x105}));
    Refresh();
    EXPECT_EQ(Int(P(), zb::CFGADCZutb_CNFU30), 1);
    EXPECT_EQ(Int(P(), zb::CFGADCZutb_CNFU27), 0);
}

// Polarities and the high-pass enable are R46 bits 0, 1 and 8 both ways; R5 still goes first.
TEST_F(ZutbAdc, ControlRegisterIsR46WithoutMirror) {
    Open(MENUBAR_DEVICE_StereoZutb);
    CFG_REG[5] = 0x000;
    CFG_REG[10] = 0x000;
    CFG_REG[46] = 0x000;
    Refresh();
    Forget();
    Set(P(), zb::CFGADCZutb_ADCLPOL, 1);
    Set(P(), zb::CFGADCZutb_HPFEN, 1);
    Choose(P(), zb::CFGADCZutb_ADCOSR, 1);
    EXPECT_EQ(Writes(), (WriteList{{5, 0x000}, {46, 0x109}}));
    EXPECT_EQ(CFG_REG[10], 0u);
    EXPECT_EQ(CFG_REG[14], 0x100u);
    CFG_REG[46] = 0x002;
    Refresh();
    EXPECT_EQ(Int(P(), zb::CFGADCZutb_ADCLPOL), 0);
    EXPECT_EQ(Int(P(), zb::CFGADCZutb_ADCRPOL), 1);
    EXPECT_EQ(Int(P(), zb::CFGADCZutb_HPFEN), 0);
    Forget();
    Set(P(), zb::CFGADCZutb_ADCENL, 1);
    Choose(P(), zb::CFGADCZutb_ADCENR, 0);
    EXPECT_EQ(Writes().size(), 1u);
    EXPECT_EQ(Writes()[0].first, 6);
    EXPECT_EQ(CFG_REG[6] & 0x00Cu, 0x008u);
}

TEST_F(ZutbAdc, VolumesAreR47AndR48NeverR15) {
    Open(MENUBAR_DEVICE_StereoZutb);
    CFG_REG[47] = CFG_REG[48] = 0x100;
    Refresh();
    Forget();
    Choose(P(), zb::CFGADCZutb_ADCVOLR, 200);
    EXPECT_EQ(Timed(),
              (std::vector<TimedWrite>{{47, 0x100, 100}, {48, 0x100, 100}, {47, 0x100, 100}, {48, 0x1C8, 100}}));
}

class MonoAdc : public dactest::PanelFixture {};

TEST_F(MonoAdc, NotchIsTheSameOnEveryMonoPanel) {
    struct Model {
        int menu;
        int* panel;
    };
    for (const Model& m : {Model{MENUBAR_DEVICE_Mono, &PHandleMNADC}, Model{MENUBAR_DEVICE_MonoPykb, &PHandleMNPykbADC},
                           Model{MENUBAR_DEVICE_MonoPyka, &PHandleMNPykaADC}}) {
        Open(m.menu, true);
        for (int r = 27; r <= 30; ++r) CFG_REG[r] = 0;
        Choose(*m.panel, mn::MNADC_MNNFEN, 1);
        EXPECT_EQ(Timed(), (std::vector<TimedWrite>{{27, 0x0C0, 10}, {28, 0x06B, 10}, {29, 0x03F, 10}, {30, 0x005, 0}}))
            << m.menu;
    }
}

// The mono refresh keeps the notch inputs' dimming in step with the enable bit.
TEST_F(MonoAdc, RefreshDimsTheNotchInputsWithTheEnable) {
    Open(MENUBAR_DEVICE_Mono, true);
    CFG_REG[27] = 0x080;
    Refresh();
    EXPECT_EQ(Int(PHandleMNADC, mn::MNADC_MNNFEN), 1);
    EXPECT_FALSE(Dimmed(PHandleMNADC, mn::MNADC_NOTCHCENTERFREQ));
    CFG_REG[27] = 0x000;
    Refresh();
    EXPECT_TRUE(Dimmed(PHandleMNADC, mn::MNADC_NOTCHCENTERFREQ));
    EXPECT_TRUE(Dimmed(PHandleMNADC, mn::MNADC_MNNFCALNCONFIG));
    EXPECT_TRUE(Received().empty());
}

TEST_F(MonoAdc, VolumeWritesR15AloneKeepingItsBit8) {
    Open(MENUBAR_DEVICE_MonoPyka, true);
    CFG_REG[15] = 0x1FF;
    Choose(PHandleMNPykaADC, mn::MNADC_MNADCVOL, 0);
    EXPECT_EQ(Timed(), (std::vector<TimedWrite>{{15, 0x100, 0}}));
    Forget();
    Set(PHandleMNPykaADC, mn::MNADC_MNHPFCUT, 3);
    Choose(PHandleMNPykaADC, mn::MNADC_MNADCPOL, 1);
    EXPECT_EQ(CFG_REG[14] & 0x071u, 0x031u);
    EXPECT_EQ(Writes().size(), 2u);
    EXPECT_EQ(Writes()[1].first, 10);
}

}  // namespace
