// The mono output panels (Pykc and Pykd, Pykb, Pyka) driven through their callbacks on the real
// panels: what the chip receives, in order with the pauses, and what the panels show.
#include "panels/MNOutput_pan.h"
#include "tests/playback/output_test_support.h"

namespace {

using namespace outputtest;
// Every mono output panel file carries the Pykc file's control ids.
using namespace ui::MNOutput_pan;

class MonoOutputTest : public OutputFixture {
protected:
    int P() const { return PHandleMNOutput; }
};

TEST_F(MonoOutputTest, SpeakerVolumeRingRunsFromMinus57dBTo6dBOnEveryModel) {
    for (int panel : {PHandleMNOutput, PHandleMNPykbOutput, PHandleMNPykaOutput}) {
        const auto labels = RingLabels(panel, MNOUTPUT_MNSPKVOL);
        ASSERT_EQ(labels.size(), 64u);
        EXPECT_EQ(labels.front(), "-57dB");
        EXPECT_EQ(labels[57], "0dB");
        EXPECT_EQ(labels.back(), "6dB");
        EXPECT_EQ(Get(panel, MNOUTPUT_MNSPKVOL), 57);
    }
}

TEST_F(MonoOutputTest, BtlDrivesBothSpeakerHalvesThenSendsTheSupplyBit) {
    Choose(MENUBAR_DEVICE_Mono);
    CFG_REG[3] = 0x08C;   // mono output and both mixers on
    CFG_REG[49] = 0x009;  // mono 3 V/5 V bit and output resistance
    CFG_REG[54] = 0x139;
    Set(P(), MNOUTPUT_MNSPKBOOST, 1);
    Pick(P(), MNOUTPUT_CBBTL, 1);
    EXPECT_EQ(Trace(), (std::vector<std::string>{W(3, 0x0EC), Pause(100), W(49, 0x00D)}));

    StartTrace();
    Set(P(), MNOUTPUT_MNSPKBOOST, 0);
    Pick(P(), MNOUTPUT_CBBTL, 0);
    EXPECT_EQ(Writes(), (std::vector<std::string>{W(3, 0x08C), W(49, 0x009)}));
    EXPECT_EQ(CFG_REG[54], 0x139u);

    // The box keeps what the user set; the power box shows the two halves.
    CFG_REG[3] = 0x060;
    Refresh(PANEL_MNTIMER);
    EXPECT_EQ(Get(P(), MNOUTPUT_CBBTL), 0);
    EXPECT_EQ(Get(P(), MNOUTPUT_MNSPKPEN), 1);
    EXPECT_EQ(Get(P(), MNOUTPUT_MNSPKNEN), 1);
}

TEST_F(MonoOutputTest, SpeakerVolumeKeepsR54Bit8AndRemembersTheCode) {
    Choose(MENUBAR_DEVICE_Mono);
    CFG_REG[54] = 0x100;
    Set(P(), MNOUTPUT_MNSPKMUTE, 1);
    Set(P(), MNOUTPUT_MNSPKZC, 1);
    Pick(P(), MNOUTPUT_MNSPKVOL, 57);
    CFG_REG[54] = 0x000;
    Set(P(), MNOUTPUT_MNSPKMUTE, 0);
    Set(P(), MNOUTPUT_MNSPKZC, 0);
    Pick(P(), MNOUTPUT_MNSPKVOL, 37);
    EXPECT_EQ(Trace(), (std::vector<std::string>{W(54, 0x1F9), W(54, 0x025)}));
    EXPECT_EQ(MNSPKCurrentVOL, 37);

    CFG_REG[54] = 0x00A;
    Refresh(PANEL_MNTIMER);
    EXPECT_EQ(Get(P(), MNOUTPUT_MNSPKVOL), 10);
    EXPECT_EQ(MNSPKCurrentVOL, 37);
}

TEST_F(MonoOutputTest, EachGroupSendsItsRegistersInOrderWithItsPauses) {
    Choose(MENUBAR_DEVICE_Mono);
    // R1: reference impedance and bits 4, 5 of other panels.
    SetRegisters({{1, 0x033}, {3, 0x010}, {7, 0x00A}, {40, 0x009}, {49, 0x030}, {50, 0x1C0}, {56, 0x180}});
    SetAll(P(), {{MNOUTPUT_MNBUFDCOPEN, 1}, {MNOUTPUT_MNBIASEN, 1}, {MNOUTPUT_MNBUFIOEN, 0}, {MNOUTPUT_MNMONOEN, 0},
                 {MNOUTPUT_MNSPKNEN, 1}, {MNOUTPUT_MNSPKPEN, 1}, {MNOUTPUT_MNMONOMIXEN, 0}, {MNOUTPUT_MNSPKMIXEN, 1}});
    Commit(P(), MNOUTPUT_MNMONOEN);
    EXPECT_EQ(Trace(), (std::vector<std::string>{W(1, 0x13B), Pause(300), W(3, 0x074)}));

    StartTrace();
    SetAll(P(), {{MNOUTPUT_MNDAC2SPK, 1}, {MNOUTPUT_MNBYP2SPK, 0}, {MNOUTPUT_MNMIC2_2SPK, 1}, {MNOUTPUT_MNDAC2MONO, 0},
                 {MNOUTPUT_MNBYP2MONO, 1}, {MNOUTPUT_MNMIC2_2MONO, 1}});
    Pick(P(), MNOUTPUT_MNMONOMUTE, 1);
    EXPECT_EQ(Trace(), (std::vector<std::string>{W(50, 0x1E1), Pause(300), W(56, 0x1C6)}));

    StartTrace();
    Set(P(), MNOUTPUT_MNSPKATTN, 1);
    Pick(P(), MNOUTPUT_MNMONOATTN, 0);
    Set(P(), MNOUTPUT_MNSPKBOOST, 1);
    Pick(P(), MNOUTPUT_MNMONOBOOST, 1);
    Set(P(), MNOUTPUT_MNSLOWCLKEN, 1);
    Pick(P(), MNOUTPUT_MNVROI, 1);
    EXPECT_EQ(Trace(), (std::vector<std::string>{W(40, 0x00B), W(49, 0x03C), W(7, 0x00B), Pause(300), W(49, 0x03D)}));
    EXPECT_EQ(FlagCFGUpdate, 1);
}

TEST_F(MonoOutputTest, RefreshShowsTheFieldsOfTheRegisterCopy) {
    Choose(MENUBAR_DEVICE_Mono);
    SetRegisters({{1, 0x104}, {3, 0x0A8}, {7, 0x001}, {40, 0x004}, {49, 0x009}, {50, 0x020}, {56, 0x041}, {54, 0x0BF}});
    Refresh(PANEL_MNTIMER);
    ExpectShown(P(), {
        {MNOUTPUT_MNBUFDCOPEN, 1}, {MNOUTPUT_MNBIASEN, 0},     {MNOUTPUT_MNBUFIOEN, 1},   {MNOUTPUT_MNMONOEN, 1},
        {MNOUTPUT_MNSPKNEN, 0},    {MNOUTPUT_MNSPKPEN, 1},     {MNOUTPUT_MNMONOMIXEN, 1}, {MNOUTPUT_MNSPKMIXEN, 0},
        {MNOUTPUT_MNSLOWCLKEN, 1}, {MNOUTPUT_MNMONOATTN, 1},   {MNOUTPUT_MNSPKATTN, 0},   {MNOUTPUT_MNMONOBOOST, 1},
        {MNOUTPUT_MNSPKBOOST, 0},  {MNOUTPUT_MNVROI, 1},       {MNOUTPUT_MNMIC2_2SPK, 1}, {MNOUTPUT_MNDAC2SPK, 0},
        {MNOUTPUT_MNMONOMUTE, 1},  {MNOUTPUT_MNDAC2MONO, 1},   {MNOUTPUT_MNSPKZC, 1},     {MNOUTPUT_MNSPKMUTE, 0},
        {MNOUTPUT_MNSPKVOL, 63},
    });
    EXPECT_TRUE(Writes().empty());
}

TEST_F(MonoOutputTest, PykbAndPykaCommitsSendWhatTheirOwnPanelShows) {
    Set(PHandleMNOutput, MNOUTPUT_MNSPKVOL, 10);
    Set(PHandleMNPykbOutput, MNOUTPUT_MNSPKVOL, 20);
    Set(PHandleMNPykaOutput, MNOUTPUT_MNSPKVOL, 40);
    CFG_REG[54] = 0;
    Choose(MENUBAR_DEVICE_MonoPyka);
    Commit(PHandleMNPykaOutput, MNOUTPUT_MNSPKVOL);
    EXPECT_EQ(Writes(), (std::vector<std::string>{W(54, 40)}));
    EXPECT_EQ(MNSPKCurrentVOL, 40);
    Choose(MENUBAR_DEVICE_MonoPykb);
    Commit(PHandleMNPykbOutput, MNOUTPUT_MNSPKVOL);
    EXPECT_EQ(Writes(), (std::vector<std::string>{W(54, 20)}));
    EXPECT_EQ(MNSPKCurrentVOL, 20);
}

}  // namespace
