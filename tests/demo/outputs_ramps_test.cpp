// Demo output operations and output volume ramps, checked on what the emulated chip receives.
#include "demo/demo_output.h"
#include "device/ramps.h"
#include "tests/demo/demo_test_support.h"

namespace demotest {
namespace {

class OutputsTest : public DemoFixture {
protected:
    void SetUp() override {
        DemoFixture::SetUp();
        if (HasFatalFailure()) return;
        Choose(MENUBAR_DEVICE_StereoJorb);
        recordPauses = true;
    }
};

// ---- ramps -------------------------------------------------------------------------------

TEST_F(OutputsTest, StereoRampWalksDownOneCodeAtATimeWithTenMillisecondSteps) {
    for (int remembered : {0, 63}) {
        SCOPED_TRACE(remembered);
        Forget();
        CFG_REG[52] = 0x00A;
        STLout1CurrentVOL = remembered;
        STRamp(52, 7, 0, 0);
        EXPECT_EQ(RegisterWrites(), (std::vector<Write>{{52, 0x109}, {52, 0x108}, {52, 0x107}}));
        EXPECT_EQ(CFG_REG[52], 0x107u);
        EXPECT_EQ(STLout1CurrentVOL, 7);
        EXPECT_EQ(FlagCFGUpdate, 1);
        for (size_t n = 1; n <= 3; ++n) EXPECT_EQ(SleptAfterWrite(n), 10) << n;
        // The bytes on the wire: I2C framing, register 52 with bit 8 of the value.
        auto first = ReceivedWithCommand(0xD4).at(0);
        EXPECT_EQ(std::vector<uint8_t>(first.begin(), first.begin() + 5),
                  (std::vector<uint8_t>{0xD4, 0x00, 0x02, 0x69, 0x09}));
    }
}

TEST_F(OutputsTest, StereoRampStartsFromTheVolumeTheChipHoldsNotAStaleRememberedCode) {
    // Start values of the chip (0x39 = 0 dB) while the remembered codes are still 0.
    CFG_REG[53] = 0x039;
    STRamp(53, 50, 0, 0);
    auto writes = RegisterWrites();
    ASSERT_EQ(writes.size(), 7u);
    EXPECT_EQ(writes.front(), Write(53, 0x138));
    EXPECT_EQ(writes.back(), Write(53, 0x132));
    EXPECT_EQ(STRout1CurrentVOL, 50);

    // A set load changed the speaker field behind the remembered code's back.
    Forget();
    STLout2CurrentVOL = 10;
    CFG_REG[54] = 0x12D;  // code 45
    STRamp(54, 47, 0, 1);
    EXPECT_EQ(RegisterWrites(), (std::vector<Write>{{54, 0x12E}, {54, 0x12F}}));
}

TEST_F(OutputsTest, StereoRampAtItsTargetSendsNothingButUnmutesAndLatchesTheCopy) {
    CFG_REG[55] = 0x07A;  // muted, code 58
    STRout2CurrentVOL = 20;
    STRamp(55, 58, 1, 1);
    // Muted and unmuted by the ramp: the fade starts from the remembered code.
    EXPECT_EQ(RegisterWrites().size(), 38u);
    EXPECT_EQ(CFG_REG[55], 0x13Au);

    Forget();
    STRamp(55, 58, 1, 1);
    EXPECT_TRUE(RegisterWrites().empty());
    EXPECT_EQ(CFG_REG[55], 0x13Au);

    // Registers outside the headphone and speaker pairs have no ramp.
    uint32_t before = CFG_REG[56];
    STRamp(56, 10, 1, 1);
    EXPECT_TRUE(RegisterWrites().empty());
    EXPECT_EQ(CFG_REG[56], before);
}

TEST_F(OutputsTest, MonoPowerUpRampWritesCodes38To57Unmuted) {
    CFG_REG[54] = 0x040;  // muted at code 0, as the power-up leaves it before the ramp
    MNSPKCurrentVOL = 37;
    MNRamp(MNSPKCurrentVOL, 57, 1, 1);
    auto writes = RegisterWrites();
    ASSERT_EQ(writes.size(), 20u);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(writes[i], Write(54, 38 + i)) << i;
    EXPECT_EQ(MNSPKCurrentVOL, 57);
    EXPECT_EQ(CFG_REG[54], 57u);  // no update latch on the mono speaker
    EXPECT_EQ(SleptAfterWrite(20), 10);

    // The speaker slider's ramp (no unmute) walks from the field, not from the remembered code.
    Forget();
    CFG_REG[54] = 0x13C;  // code 60, bit 8 kept
    MNSPKCurrentVOL = 0;
    MNPykbRamp(MNSPKCurrentVOL, 58, 0, 1);
    EXPECT_EQ(RegisterWrites(), (std::vector<Write>{{54, 0x13B}, {54, 0x13A}}));
    Forget();
    MNPykaRamp(0, 59, 0, 0);
    EXPECT_EQ(RegisterWrites(), (std::vector<Write>{{54, 0x13B}}));
}

// ---- mute and unmute ---------------------------------------------------------------------

TEST_F(OutputsTest, MuteAllThenUnmuteSpeakerLeavesTheOtherOutputsMuted) {
    for (int reg = 52; reg <= 57; ++reg) CFG_REG[reg] = 0x039;
    STDemoMuteUnmuteOutput(-1);
    EXPECT_EQ(RegisterWrites(), (std::vector<Write>{{52, 0x179}, {53, 0x179}, {54, 0x179}, {55, 0x179},
                                                    {56, 0x079}, {57, 0x079}}));
    EXPECT_TRUE(pauses.empty());
    Forget();
    STDemoMuteUnmuteOutputZuta(0);
    EXPECT_EQ(RegisterWrites(), (std::vector<Write>{{54, 0x139}, {55, 0x139}}));
    EXPECT_EQ(CFG_REG[52] & 0x40, 0x40u);
    EXPECT_EQ(CFG_REG[53] & 0x40, 0x40u);
    EXPECT_EQ(CFG_REG[56] & 0x40, 0x40u);
    EXPECT_EQ(CFG_REG[57] & 0x40, 0x40u);
    EXPECT_EQ(FlagCFGUpdate, 0);
}

TEST_F(OutputsTest, EachOutputCodeUnmutesItsRegistersInOrder) {
    const std::vector<std::vector<int>> stereo = {{54, 55}, {52, 53}, {54, 55, 52, 53}, {57}, {56}, {56, 57},
                                                  {54, 55, 57}};
    for (int code = 0; code <= 6; ++code) {
        Forget();
        STDemoMuteUnmuteOutput_Qeva(code);
        EXPECT_EQ(WrittenRegisters(), stereo[code]) << code;
        Forget();
        STDemoMuteUnmuteOutput_Qevb(code);
        EXPECT_EQ(WrittenRegisters(), stereo[code]) << code;
    }
    const std::vector<std::vector<int>> jora = {{52, 53}, {57}, {56}, {56, 57}};
    for (int code = 0; code <= 3; ++code) {
        Forget();
        STDemoMuteUnmuteOutput_Jora(code);
        EXPECT_EQ(WrittenRegisters(), jora[code]) << code;
    }
    Forget();
    STDemoMuteUnmuteOutput(7);
    STDemoMuteUnmuteOutput(-2);
    STDemoMuteUnmuteOutput_Jora(4);
    EXPECT_TRUE(RegisterWrites().empty());
}

// ---- power -------------------------------------------------------------------------------

TEST_F(OutputsTest, PowerUpSpeakerAndHeadphoneWritesSevenRegistersEachFollowedByAPause) {
    CFG_REG[43] = 0x021;
    STDemoTurnOnOffOutput(2);
    EXPECT_EQ(WrittenRegisters(), (std::vector<int>{3, 54, 55, 2, 52, 53, 43}));
    for (size_t n = 1; n <= 7; ++n) EXPECT_EQ(SleptAfterWrite(n), 100) << n;
    EXPECT_EQ(CFG_REG[3] & 0x60, 0x60u);
    EXPECT_EQ(CFG_REG[2] & 0x180, 0x180u);
    EXPECT_EQ(CFG_REG[43], 0x010u);
    for (int reg = 52; reg <= 55; ++reg) EXPECT_EQ(CFG_REG[reg] & 0x100, 0x100u) << reg;
    EXPECT_EQ(FlagCFGUpdate, 1);
}

TEST_F(OutputsTest, PowerCodesWriteTheirDriversAndOffWritesOnlyR2AndR3) {
    Forget();
    STDemoTurnOnOffOutputZuta(0);
    EXPECT_EQ(WrittenRegisters(), (std::vector<int>{3, 54, 55, 43}));
    Forget();
    STDemoTurnOnOffOutput_Qeva(1);
    EXPECT_EQ(WrittenRegisters(), (std::vector<int>{2, 52, 53}));
    Forget();
    CFG_REG[1] = CFG_REG[3] = CFG_REG[56] = CFG_REG[57] = 0;
    STDemoTurnOnOffOutput_Jora(5);
    EXPECT_EQ(RegisterWrites(), (std::vector<Write>{{1, 0xC0}, {3, 0x180}, {56, 2}, {57, 2}}));
    EXPECT_EQ(SleptAfterWrite(3), 0);
    EXPECT_EQ(TotalSlept(), 100);
    Forget();
    STDemoTurnOnOffOutput(6);
    EXPECT_EQ(WrittenRegisters(), (std::vector<int>{3, 54, 55, 1, 3, 57}));  // no R43
    Forget();
    STDemoTurnOnOffOutput(4);
    EXPECT_EQ(WrittenRegisters(), (std::vector<int>{1, 3, 56}));

    Forget();
    CFG_REG[2] = 0x1FF;
    CFG_REG[3] = 0x1FF;
    STDemoTurnOnOffOutput(-1);
    EXPECT_EQ(RegisterWrites(), (std::vector<Write>{{2, 0x07F}, {3, 0x01F}}));
    EXPECT_TRUE(pauses.empty());
    EXPECT_EQ(FlagCFGUpdate, 1);

    Forget();
    STDemoTurnOnOffOutput(7);
    EXPECT_TRUE(RegisterWrites().empty());
    EXPECT_EQ(FlagCFGUpdate, 0);
}

}  // namespace
}  // namespace demotest
