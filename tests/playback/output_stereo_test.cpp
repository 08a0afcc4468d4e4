// The stereo output panels (Jorb, Zuta, Zutb, Jora, Qeva) driven through their callbacks on the
// real panels: what the chip receives, in order with the pauses, and what the panels show.
#include <array>
#include <cstring>

#include "boardhid/emulator_control.h"
#include "link/chip_operation.h"
#include "panels/cfgOutJorb_pan.h"
#include "panels/cfgOutZutb_pan.h"
#include "playback/playback_services.h"
#include "tests/playback/output_test_support.h"
#include "tests/support/popup_texts.h"

namespace {

using namespace outputtest;
// Every stereo output panel file carries the Jorb file's control ids.
using namespace ui::cfgOutJorb_pan;

class StereoOutputTest : public OutputFixture {
protected:
    int P() const { return PHandleSTOUTPUT; }

    void SetHeadphones(int lMute, int lZc, int lVol, int lLatch, int rMute, int rZc, int rVol, int rLatch) {
        Set(P(), CFGOUTJorb_LOUT1MUTE, lMute);
        Set(P(), CFGOUTJorb_LOUT1ZC, lZc);
        Set(P(), CFGOUTJorb_LOUT1VOL, lVol);
        Set(P(), CFGOUTJorb_HPVUL, lLatch);
        Set(P(), CFGOUTJorb_ROUT1MUTE, rMute);
        Set(P(), CFGOUTJorb_ROUT1ZC, rZc);
        Set(P(), CFGOUTJorb_ROUT1VOL, rVol);
        Set(P(), CFGOUTJorb_HPVUR, rLatch);
    }
};

TEST_F(StereoOutputTest, VolumeRingsRunFromMinus57dBTo6dBOnEveryModel) {
    for (int panel : {PHandleSTOUTPUT, PHandleSTOUTPUTZuta, PHandleSTOUTPUTZutb, PHdlOutputJora, PHdlOutputQeva}) {
        for (int ring : {CFGOUTJorb_LOUT1VOL, CFGOUTJorb_ROUT1VOL, CFGOUTJorb_LOUT2VOL, CFGOUTJorb_ROUT2VOL}) {
            const auto labels = RingLabels(panel, ring);
            ASSERT_EQ(labels.size(), 64u) << "panel " << panel << " ring " << ring;
            EXPECT_EQ(labels.front(), "-57dB");
            EXPECT_EQ(labels[56], "-1dB");
            EXPECT_EQ(labels[57], "0dB");
            EXPECT_EQ(labels.back(), "6dB");
            int value = -1;
            rt::GetValueFromIndex(panel, ring, 57, &value);
            EXPECT_EQ(value, 57);
        }
    }
    // A second fill leaves one set of items, 0 dB selected.
    InitOutputPanelZuta();
    EXPECT_EQ(RingLabels(PHandleSTOUTPUTZuta, CFGOUTJorb_ROUT2VOL).size(), 64u);
    EXPECT_EQ(Get(PHandleSTOUTPUTZuta, CFGOUTJorb_ROUT2VOL), 57);
}

TEST_F(StereoOutputTest, LatchedLeftHeadphoneIsSentAgainAfterBothSides) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    SetHeadphones(0, 0, 57, 1, 0, 0, 51, 0);  // left 0 dB latched, right -6 dB
    Commit(P(), CFGOUTJorb_LOUT1VOL);
    EXPECT_EQ(Trace(), (std::vector<std::string>{W(52, 0x139), Pause(100), W(53, 0x033), Pause(100), W(52, 0x139)}));
    EXPECT_EQ(STLout1CurrentVOL, 57);
    EXPECT_EQ(STRout1CurrentVOL, 51);
    EXPECT_EQ(FlagCFGUpdate, 1);

    // The pair with its latch is one operation: the board refuses R53, so neither its pause nor
    // the latched R52 follows, R53 and its remembered code keep what the chip holds, and one
    // popup tells it.
    StartTrace();
    const uint32_t right = CFG_REG[53];
    board->SetFaults(boardhid::RefuseOneSend(1));
    SetHeadphones(0, 0, 50, 1, 0, 0, 45, 0);
    Commit(P(), CFGOUTJorb_LOUT1VOL);
    EXPECT_EQ(Trace(),
              (std::vector<std::string>{
                  W(52, 0x132), Pause(100),
                  "popup Warning -- Operation aborted: "
                  "\"LHP Volume\" stopped: the board refused the write of R53, and nothing after it was sent." +
                      testsupport::kPanelsMayDiffer}));
    EXPECT_EQ(CFG_REG[53], right);
    EXPECT_EQ(STLout1CurrentVOL, 50);
    EXPECT_EQ(STRout1CurrentVOL, 51);  // the code the chip still has
}

TEST_F(StereoOutputTest, HeadphoneLatchBoxesDecideWhichSideIsSentTwice) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    // Neither box: each side once, bit 8 clear. Mute and zero cross land in bits 6 and 7.
    SetHeadphones(1, 0, 10, 0, 0, 1, 20, 0);
    Commit(P(), CFGOUTJorb_ROUT1ZC);
    EXPECT_EQ(Writes(), (std::vector<std::string>{W(52, 0x04A), W(53, 0x094)}));
    // Only the right box: the right side again.
    StartTrace();
    SetHeadphones(0, 0, 10, 0, 0, 0, 20, 1);
    Commit(P(), CFGOUTJorb_HPVUR);
    EXPECT_EQ(Trace(), (std::vector<std::string>{W(52, 0x00A), Pause(100), W(53, 0x114), Pause(100), W(53, 0x114)}));
    // Both boxes: only the left side again.
    StartTrace();
    SetHeadphones(0, 0, 63, 1, 0, 0, 0, 1);
    Commit(P(), CFGOUTJorb_HPVUL);
    EXPECT_EQ(Writes(), (std::vector<std::string>{W(52, 0x13F), W(53, 0x100), W(52, 0x13F)}));
    EXPECT_EQ(STLout1CurrentVOL, 63);
    EXPECT_EQ(STRout1CurrentVOL, 0);
}

TEST_F(StereoOutputTest, SpeakerCommitSendsEachSideOnceAndRefreshKeepsTheCodes) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    Set(P(), CFGOUTJorb_LOUT2MUTE, 0);
    Set(P(), CFGOUTJorb_LOUT2ZC, 1);
    Set(P(), CFGOUTJorb_LOUT2VOL, 63);
    Set(P(), CFGOUTJorb_SPKVUL, 1);
    Set(P(), CFGOUTJorb_ROUT2MUTE, 1);
    Set(P(), CFGOUTJorb_ROUT2ZC, 0);
    Set(P(), CFGOUTJorb_ROUT2VOL, 0);
    Set(P(), CFGOUTJorb_SPKVUR, 1);
    Commit(P(), CFGOUTJorb_LOUT2VOL);
    EXPECT_EQ(Trace(), (std::vector<std::string>{W(54, 0x1BF), Pause(100), W(55, 0x140), Pause(100)}));
    EXPECT_EQ(STLout2CurrentVOL, 63);
    EXPECT_EQ(STRout2CurrentVOL, 0);

    // A refresh shows the register copy and never touches the remembered codes.
    StartTrace();
    CFG_REG[54] = 0x0C5;
    CFG_REG[52] = 0x020;
    Refresh(PANEL_STTIMER);
    EXPECT_EQ(Get(P(), CFGOUTJorb_LOUT2VOL), 5);
    EXPECT_EQ(Get(P(), CFGOUTJorb_LOUT2MUTE), 1);
    EXPECT_EQ(Get(P(), CFGOUTJorb_LOUT2ZC), 1);
    EXPECT_EQ(Get(P(), CFGOUTJorb_SPKVUL), 0);
    EXPECT_EQ(Get(P(), CFGOUTJorb_LOUT1VOL), 32);
    EXPECT_EQ(STLout2CurrentVOL, 63);
    EXPECT_EQ(STLout1CurrentVOL, 0);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(StereoOutputTest, MixerCommitSendsItsFourRegistersAndMirrorsTheEnables) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    CFG_REG[3] = 0x1E0;  // output enables of the Output Enable box
    CFG_REG[49] = 0x003; // thermal shutdown and output resistance of the Miscellaneous box
    SetAll(P(), {
        {CFGOUTJorb_LMIXEN, 1},     {CFGOUTJorb_RMIXEN, 0},     {CFGOUTJorb_DACR2LMIX, 1}, {CFGOUTJorb_DACL2RMIX, 0},
        {CFGOUTJorb_DACL2LMIX, 1},  {CFGOUTJorb_BYPL2LMIX, 0},  {CFGOUTJorb_BYPLMIXVOL, 5}, {CFGOUTJorb_AUXL2LMIX, 1},
        {CFGOUTJorb_AUXLMIXVOL, 7}, {CFGOUTJorb_DACR2RMIX, 1},  {CFGOUTJorb_BYPR2RMIX, 1}, {CFGOUTJorb_BYPRMIXVOL, 2},
        {CFGOUTJorb_AUXR2RMIX, 0},  {CFGOUTJorb_AUXRMIXVOL, 0},
    });
    Set(P(), CFGOUTJorb_LMIXEN2, 0);
    Set(P(), CFGOUTJorb_RMIXEN2, 1);
    Commit(P(), CFGOUTJorb_BYPR2RMIX);
    EXPECT_EQ(Trace(), (std::vector<std::string>{W(3, 0x1E4), Pause(100), W(49, 0x023), Pause(100), W(50, 0x1F5),
                                                 Pause(100), W(51, 0x00B)}));
    // The twins in the Output Enable box follow at once, before any refresh.
    EXPECT_EQ(Get(P(), CFGOUTJorb_LMIXEN2), 1);
    EXPECT_EQ(Get(P(), CFGOUTJorb_RMIXEN2), 0);
}

TEST_F(StereoOutputTest, EnablesSendR1R2R3200msApartAndKeepEveryBitTheyDoNotOwn) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    CFG_REG[1] = 0x03B;  // reference impedance, speaker bias, and bits 4 and 5 of other panels
    CFG_REG[2] = 0x03F;
    CFG_REG[3] = 0x01F;
    SetAll(P(), {
        {CFGOUTJorb_BUFDCOPEN, 1}, {CFGOUTJorb_OUT4MIXEN, 0}, {CFGOUTJorb_OUT3MIXEN, 1}, {CFGOUTJorb_BUFIOEN, 1},
        {CFGOUTJorb_ROUT1EN, 1},   {CFGOUTJorb_LOUT1EN, 0},   {CFGOUTJorb_SLEEP, 0},     {CFGOUTJorb_OUT4EN, 1},
        {CFGOUTJorb_OUT3EN, 0},    {CFGOUTJorb_LOUT2EN, 1},   {CFGOUTJorb_ROUT2EN, 1},   {CFGOUTJorb_RMIXEN2, 1},
        {CFGOUTJorb_LMIXEN2, 0},
        {CFGOUTJorb_STBIASEN, 0},  // has its own callback: this commit leaves R1 bit 3 alone
        {CFGOUTJorb_LMIXEN, 1},    {CFGOUTJorb_RMIXEN, 0},
    });
    Commit(P(), CFGOUTJorb_SLEEP);
    EXPECT_EQ(Trace(), (std::vector<std::string>{W(1, 0x17F), Pause(200), W(2, 0x13F), Pause(200), W(3, 0x17B)}));
    EXPECT_EQ(Get(P(), CFGOUTJorb_LMIXEN), 0);
    EXPECT_EQ(Get(P(), CFGOUTJorb_RMIXEN), 1);
    EXPECT_EQ(FlagCFGUpdate, 1);
}

TEST_F(StereoOutputTest, SpeakerBiasBoxWritesR1Bit3Only) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    CFG_REG[1] = 0x1C7;
    Pick(P(), CFGOUTJorb_STBIASEN, 1);
    Pick(P(), CFGOUTJorb_STBIASEN, 0);
    EXPECT_EQ(Trace(), (std::vector<std::string>{W(1, 0x1CF), W(1, 0x1C7)}));
}

TEST_F(StereoOutputTest, ThermalShutdownOffWarnsBeforeR49IsWritten) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    CFG_REG[49] = 0x060;  // the DAC cross-mixer bits of the mixer box travel unchanged
    Set(P(), CFGOUTJorb_SPKBOOST, 1);
    Set(P(), CFGOUTJorb_OUT4BOOST, 0);
    Set(P(), CFGOUTJorb_OUT3BOOST, 1);
    Set(P(), CFGOUTJorb_TSDEN, 0);
    Pick(P(), CFGOUTJorb_VROI, 1);
    EXPECT_EQ(Trace(), (std::vector<std::string>{"popup Warning: Thermal Shutdown is Disabled", W(49, 0x06D)}));

    // The board refuses the box's write and stays connected: the copy keeps what the chip holds,
    // one Warning names the write, and the refresh clears the box again.
    StartTrace();
    board->SetFaults(boardhid::RefuseOneSend());
    Pick(P(), CFGOUTJorb_TSDEN, 1);
    EXPECT_EQ(Trace(), (std::vector<std::string>{"popup Warning: The evaluation board refused the write of R49, so it "
                                                 "did not take effect.\n\nThe panels show what the chip holds."}));
    EXPECT_EQ(CFG_REG[49], 0x06Du);
    Refresh(PANEL_STTIMER);
    EXPECT_EQ(Get(P(), CFGOUTJorb_TSDEN), 0);

    // Each commit with the box clear warns again; with it ticked, no popup.
    StartTrace();
    Commit(P(), CFGOUTJorb_SPKBOOST);
    Pick(P(), CFGOUTJorb_TSDEN, 1);
    EXPECT_EQ(Trace(), (std::vector<std::string>{"popup Warning: Thermal Shutdown is Disabled", W(49, 0x06D),
                                                 W(49, 0x06F)}));
}

TEST_F(StereoOutputTest, AuxiliaryMixersAndSubmixerWriteTheirOwnRegisterOnce) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    CFG_REG[43] = 0x1C0;
    Set(P(), CFGOUTJorb_OUT3MUTE, 1);
    Set(P(), CFGOUTJorb_OUT4_2OUT3, 1);
    Set(P(), CFGOUTJorb_BYPL2OUT3, 0);
    Set(P(), CFGOUTJorb_LMIX3OUT3, 1);
    Pick(P(), CFGOUTJorb_LDAC2OUT3, 0);
    Set(P(), CFGOUTJorb_OUT4MUTE, 0);
    Set(P(), CFGOUTJorb_HALFSIG, 1);
    Set(P(), CFGOUTJorb_LMIX2OUT4, 1);
    Set(P(), CFGOUTJorb_LDAC2OUT4, 0);
    Set(P(), CFGOUTJorb_BYPR2OUT4, 1);
    Set(P(), CFGOUTJorb_RMIX2OUT4, 0);
    Pick(P(), CFGOUTJorb_RDAC2OUT4, 1);
    Set(P(), CFGOUTJorb_MUTERPGA2INV, 1);
    Set(P(), CFGOUTJorb_INVROUT2, 0);
    Set(P(), CFGOUTJorb_BEEPEN, 1);
    Pick(P(), CFGOUTJorb_BEEPVOL, 6);
    EXPECT_EQ(Trace(), (std::vector<std::string>{W(56, 0x04A), W(57, 0x035), W(43, 0x1ED)}));
}

TEST_F(StereoOutputTest, RefreshShowsEveryFieldWithBothMixerEnableCopies) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    SetRegisters({{1, 0x1C8}, {3, 0x00C}, {43, 0x00D}, {49, 0x01E}, {50, 0x1F5}, {57, 0x035}});
    Refresh(PANEL_STTIMER);
    ExpectShown(P(), {
        {CFGOUTJorb_BUFDCOPEN, 1}, {CFGOUTJorb_OUT4MIXEN, 1},  {CFGOUTJorb_OUT3MIXEN, 1},  {CFGOUTJorb_STBIASEN, 1},
        {CFGOUTJorb_BUFIOEN, 0},   {CFGOUTJorb_LMIXEN, 1},     {CFGOUTJorb_LMIXEN2, 1},    {CFGOUTJorb_RMIXEN, 1},
        {CFGOUTJorb_RMIXEN2, 1},   {CFGOUTJorb_BEEPEN, 1},     {CFGOUTJorb_BEEPVOL, 6},    {CFGOUTJorb_OUT4BOOST, 1},
        {CFGOUTJorb_TSDEN, 1},     {CFGOUTJorb_VROI, 0},       {CFGOUTJorb_DACL2LMIX, 1},  {CFGOUTJorb_BYPLMIXVOL, 5},
        {CFGOUTJorb_AUXLMIXVOL, 7}, {CFGOUTJorb_HALFSIG, 1},   {CFGOUTJorb_RDAC2OUT4, 1},  {CFGOUTJorb_LDAC2OUT4, 0},
    });
    EXPECT_TRUE(Writes().empty());
}

TEST_F(StereoOutputTest, EachModelsCallbacksSendWhatItsOwnPanelShows) {
    struct Case {
        int menu;
        int panel;
        int code;
    };
    const Case cases[] = {{MENUBAR_DEVICE_StereoJorb, PHandleSTOUTPUT, 11},
                          {MENUBAR_DEVICE_StereoZuta, PHandleSTOUTPUTZuta, 22},
                          {MENUBAR_DEVICE_StereoJora, PHdlOutputJora, 33},
                          {MENUBAR_DEVICE_StereoQeva, PHdlOutputQeva, 44}};
    // Every panel shows another code, so a callback reading a sibling's panel would be seen.
    for (const Case& c : cases) {
        Set(c.panel, CFGOUTJorb_LOUT2VOL, c.code);
        Set(c.panel, CFGOUTJorb_ROUT2VOL, c.code + 1);
    }
    for (const Case& c : cases) {
        Choose(c.menu);
        Commit(c.panel, CFGOUTJorb_ROUT2VOL);
        EXPECT_EQ(Writes(), (std::vector<std::string>{W(54, c.code), W(55, c.code + 1)})) << "panel " << c.panel;
        EXPECT_EQ(STLout2CurrentVOL, c.code);
    }
}

// ---- Zutb: its register numbers name other registers --------------------------------------

class ZutbOutputTest : public StereoOutputTest {
protected:
    int Z() const { return PHandleSTOUTPUTZutb; }
    // Every control id of the stereo output panel (the ids run without gaps).
    static std::vector<int> AllControls() {
        std::vector<int> ids;
        for (int id = CFGOUTJorb_LMIXEN; id <= CFGOUTJorb_VROI; ++id) ids.push_back(id);
        return ids;
    }
};

TEST_F(ZutbOutputTest, ControlsAreDimmedWithTheReasonInTheirToolTip) {
    for (int id : AllControls()) {
        EXPECT_TRUE(Dimmed(Z(), id)) << "control " << id;
        EXPECT_FALSE(Dimmed(PHandleSTOUTPUT, id)) << "control " << id;
        EXPECT_FALSE(Tip(Z(), id).empty()) << "control " << id;
    }
    EXPECT_EQ(Tip(Z(), CFGOUTJorb_LOUT1VOL),
              "On Zutb R52 is EQ3_PK2: this setting writes nothing until its Zutb register is known.");
    EXPECT_NE(Tip(Z(), CFGOUTJorb_BYPLMIXVOL).find("R50 is EQ1_LOW_SHELF"), std::string::npos);
    EXPECT_NE(Tip(Z(), CFGOUTJorb_ROUT2VOL).find("R55 is ANALOG_TEST"), std::string::npos);
    EXPECT_NE(Tip(Z(), CFGOUTJorb_BEEPEN).find("R43 is GPIO_INPUT_READ"), std::string::npos);
    EXPECT_NE(Tip(Z(), CFGOUTJorb_LMIXEN).find("R3 is AUDIO_PATH_RIGHT"), std::string::npos);
    EXPECT_NE(Tip(Z(), CFGOUTJorb_TSDEN).find("Zutb has no R49"), std::string::npos);
    EXPECT_NE(Tip(Z(), CFGOUTJorb_OUT4MUTE).find("Zutb has no R57"), std::string::npos);
    EXPECT_TRUE(Visible(Z(), ui::cfgOutZutb_pan::CFGOUTZutb_REGNOTE));
}

TEST_F(ZutbOutputTest, NoCommitWritesOrChangesARegister) {
    Choose(MENUBAR_DEVICE_StereoZutb);
    for (int r = 0; r < 128; ++r) CFG_REG[r] = (r * 37) & 0x1FF;
    uint32_t before[kRegisterSlots];
    std::memcpy(before, CFG_REG, sizeof before);
    STLout1CurrentVOL = STRout1CurrentVOL = STLout2CurrentVOL = STRout2CurrentVOL = 5;
    // Thermal shutdown off and both latches ticked: the warning and the second write are
    // the two ways a commit could still reach the chip.
    Set(Z(), CFGOUTJorb_TSDEN, 0);
    Set(Z(), CFGOUTJorb_HPVUL, 1);
    for (int id : AllControls()) {
        if (id != CFGOUTJorb_TSDEN) Set(Z(), id, 1);
        Commit(Z(), id);
    }
    EXPECT_TRUE(Trace().empty()) << Trace().front();
    EXPECT_EQ(std::memcmp(before, CFG_REG, sizeof before), 0);
    EXPECT_EQ(STLout1CurrentVOL, 5);
    EXPECT_EQ(STRout2CurrentVOL, 5);
}

TEST_F(ZutbOutputTest, RefreshDoesNotShowTheEqualiserAsVolumes) {
    Choose(MENUBAR_DEVICE_StereoZutb);
    CFG_REG[52] = 0x00A;  // Zutb's equaliser band 3
    CFG_REG[3] = 0x1FF;
    Refresh(PANEL_STTIMER);
    EXPECT_EQ(Get(Z(), CFGOUTJorb_LOUT1VOL), 57);
    EXPECT_EQ(Get(Z(), CFGOUTJorb_OUT4EN), 0);
}

}  // namespace
