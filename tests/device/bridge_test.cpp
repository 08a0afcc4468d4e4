// The Vunt bridge area: register read and write, routing, PCM transmitter, PCM settings, I2C
// clock and the configuration-enable box, through the panels' own controls.
#include <gmock/gmock.h>
#include "boardhid/emulator_control.h"
#include "panels/MNDevCtrl_pan.h"
#include "panels/MNPykbDevCtrl_pan.h"
#include "panels/cfgDevJora_pan.h"
#include "panels/cfgDevJorb_pan.h"
#include "panels/cfgMapJorb_Pan.h"
#include "panels/cfgScript_pan.h"
#include "tests/device/device_test_support.h"

namespace {

using namespace modeltest;
using devicetest::Report;
namespace jorb = ui::cfgDevJorb_pan;
namespace jora = ui::cfgDevJora_pan;
namespace pykb = ui::MNPykbDevCtrl_pan;
namespace jorbmap = ui::cfgMapJorb_Pan;

// The popup of a single send outside any operation that the board refused, as the user reads it.
testsupport::Popup Refused(const std::string& send, const std::string& closing) {
    return {"message", "Warning",
            "The evaluation board refused " + send + ", so it did not take effect.\n\n" + closing};
}

class BridgeTest : public devicetest::DeviceFixture {
protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        if (HasFatalFailure()) return;
        Choose(MENUBAR_DEVICE_StereoJorb);
        // The bridge controls of Jorb are usable only with the configuration box ticked.
        Commit(PHandleSTDevCtrl, jorb::CFGDEVJorb_STVuntConfigEN, 1);
    }
};

TEST_F(BridgeTest, PcmSettingsAreSingleMaskedWrites) {
    const int p = PHandleSTDevCtrl;
    // Refused before the board ever took the field: nothing tells what it holds, so the ring
    // keeps the choice and the popup says the panel may differ.
    board->SetFaults(boardhid::RefuseOneSend());
    Commit(p, jorb::CFGDEVJorb_RFSLengthSelect, 3);
    EXPECT_TRUE(Received().empty());
    EXPECT_EQ(CtrlInt(p, jorb::CFGDEVJorb_RFSLengthSelect), 3);
    EXPECT_EQ(prompter.shown, (std::vector<testsupport::Popup>{Refused(
                                  "the write of bridge register 0x1472", "The panel may differ from the board.")}));
    Forget();

    Commit(p, jorb::CFGDEVJorb_RFSLengthSelect, 15);
    Commit(p, jorb::CFGDEVJorb_RFSLocSelect, 3);
    Commit(p, jorb::CFGDEVJorb_RBCLKSelect, 7);
    Commit(p, jorb::CFGDEVJorb_CFSDELAY, 1);
    Commit(p, jorb::CFGDEVJorb_CFSDELAY, 0);
    EXPECT_EQ(Reports(), (std::vector<Report>{{0x39, 0x00, 0x04, 0x14, 0x72, 0xF0, 0x0F},
                                              {0x39, 0x00, 0x04, 0x14, 0x70, 0xE7, 0x18},
                                              {0x39, 0x00, 0x04, 0x14, 0x70, 0xF8, 0x07},
                                              {0x39, 0x00, 0x04, 0x14, 0x72, 0xDF, 0x20},
                                              {0x39, 0x00, 0x04, 0x14, 0x72, 0xDF, 0x00}}));
    // The board keeps the bits outside each field.
    EXPECT_EQ(board->BridgeRegister(0x1470), 0x1F);
    EXPECT_EQ(board->BridgeRegister(0x1472), 0x0F);

    // Refused once the board took the field: the control goes back to what the board holds, and
    // the popup says so, naming it.
    Forget();
    board->SetFaults(boardhid::RefuseOneSend());
    Commit(p, jorb::CFGDEVJorb_RBCLKSelect, 2);
    EXPECT_TRUE(Received().empty());
    EXPECT_EQ(board->BridgeRegister(0x1470), 0x1F);
    EXPECT_EQ(CtrlInt(p, jorb::CFGDEVJorb_RBCLKSelect), 7);
    EXPECT_EQ(prompter.shown, (std::vector<testsupport::Popup>{Refused("the write of bridge register 0x1470",
                                                                       "\"Bit Clock\" shows what the board holds.")}));
    Forget();
    board->SetFaults(boardhid::RefuseOneSend());
    Commit(p, jorb::CFGDEVJorb_CFSDELAY, 1);
    EXPECT_EQ(CtrlInt(p, jorb::CFGDEVJorb_CFSDELAY), 0);
    EXPECT_EQ(prompter.shown,
              (std::vector<testsupport::Popup>{Refused("the write of bridge register 0x1472",
                                                       "\"Frame Sync Delay Enable\" shows what the board holds.")}));

    // "Enable Vunt PCMT" wrote the whole byte: the bit clock the board holds is then its 5.
    Forget();
    Press(p, jorb::CFGDEVJorb_BEnableUSBPCM);
    board->SetFaults(boardhid::RefuseOneSend());
    Commit(p, jorb::CFGDEVJorb_RBCLKSelect, 1);
    EXPECT_EQ(CtrlInt(p, jorb::CFGDEVJorb_RBCLKSelect), 5);
    EXPECT_EQ(prompter.shown.size(), 1u);

    // A board opened anew may hold anything: what the earlier one took no longer counts.
    board->Unplug();
    DrainDeviceNotices();
    board->Plug();
    DrainDeviceNotices();
    ASSERT_TRUE(board->IsOpen());
    Forget();
    board->SetFaults(boardhid::RefuseOneSend());
    Commit(p, jorb::CFGDEVJorb_RFSLocSelect, 1);
    EXPECT_EQ(CtrlInt(p, jorb::CFGDEVJorb_RFSLocSelect), 1);
    EXPECT_EQ(prompter.shown, (std::vector<testsupport::Popup>{Refused(
                                  "the write of bridge register 0x1470", "The panel may differ from the board.")}));
}

// What the board holds is one record, whoever reached the register: the register map's bridge
// Write and Read and a script's bridge line keep it, so a refused ring goes back to what the
// board has, not to what the ring last sent.
TEST_F(BridgeTest, TheRegisterMapAndScriptsKeepWhatTheBoardHolds) {
    const int p = PHandleSTDevCtrl;
    const int map = PHandleSTRegMap;
    const auto refusedBitClock = [&](int choice) {
        Forget();
        board->SetFaults(boardhid::RefuseOneSend());
        Commit(p, jorb::CFGDEVJorb_RBCLKSelect, choice);
        EXPECT_TRUE(Received().empty());
        EXPECT_EQ(prompter.shown, (std::vector<testsupport::Popup>{Refused(
                                      "the write of bridge register 0x1470", "\"Bit Clock\" shows what the board holds.")}));
        return CtrlInt(p, jorb::CFGDEVJorb_RBCLKSelect);
    };
    Commit(p, jorb::CFGDEVJorb_RBCLKSelect, 7);
    rt::SetCtrlVal(map, jorbmap::CFGMAPJorb_NVuntRegAddr, 0x1470);
    rt::SetCtrlVal(map, jorbmap::CFGMAPJorb_NVuntRegVal, 0x02);
    Press(map, jorbmap::CFGMAPJorb_BACSTReg08Write);
    ASSERT_EQ(board->BridgeRegister(0x1470), 0x02);
    EXPECT_EQ(refusedBitClock(3), 2);

    // Changed behind the program's back and read on the register map.
    board->SetBridgeRegister(0x1470, 0x04);
    Press(map, jorbmap::CFGMAPJorb_BACSTReg08Read);
    EXPECT_EQ(CtrlInt(map, jorbmap::CFGMAPJorb_NVuntRegVal), 0x04);
    EXPECT_EQ(refusedBitClock(1), 4);

    rt::ResetTextBox(PHandleSTScript, ui::cfgScript_pan::CFGSCRIPT_TBSCRIPT, "0x1470 = 0x06\n");
    Press(PHandleSTScript, ui::cfgScript_pan::CFGSCRIPT_CBTrun);
    ASSERT_EQ(board->BridgeRegister(0x1470), 0x06);
    EXPECT_EQ(refusedBitClock(0), 6);
}

TEST_F(BridgeTest, I2CClockWritesTheDividerWithoutAPause) {
    const int p = PHandleSTDevCtrl;
    // The two writes are one action: the board refuses the low byte, so the high byte does not
    // follow, and one popup names the ring. Nothing tells yet what clock the board has.
    board->SetFaults(boardhid::RefuseOneSend());
    Commit(p, jorb::CFGDEVJorb_STI2CBuadRate, 1);
    EXPECT_TRUE(Received().empty());
    EXPECT_EQ(CtrlInt(p, jorb::CFGDEVJorb_STI2CBuadRate), 1);
    EXPECT_EQ(prompter.shown, (std::vector<testsupport::Popup>{
                                  {"message", "Warning -- Operation aborted",
                                   "\"I2C CLK\" stopped: the board refused the write of bridge register 0x14B2, and "
                                   "nothing after it was sent.\n\nThe panel may differ from the board."}}));
    Forget();

    Commit(p, jorb::CFGDEVJorb_STI2CBuadRate, 0);
    EXPECT_EQ(Reports(), (std::vector<Report>{{0x31, 0x00, 0x03, 0x14, 0xB2, 0x0E}, {0x31, 0x00, 0x03, 0x14, 0xB3, 0x00}}));
    EXPECT_EQ(sleptMs, 0);
    Forget();
    Commit(p, jorb::CFGDEVJorb_STI2CBuadRate, 1);
    Commit(p, jorb::CFGDEVJorb_STI2CBuadRate, 2);
    EXPECT_EQ(board->BridgeRegister(0x14B2), 2);
    EXPECT_EQ(Reports()[0], (Report{0x31, 0x00, 0x03, 0x14, 0xB2, 0x04}));

    // The board has taken 500K: refused, the ring goes back to it.
    Forget();
    board->SetFaults(boardhid::RefuseOneSend());
    Commit(p, jorb::CFGDEVJorb_STI2CBuadRate, 0);
    EXPECT_TRUE(Received().empty());
    EXPECT_EQ(board->BridgeRegister(0x14B2), 2);
    EXPECT_EQ(CtrlInt(p, jorb::CFGDEVJorb_STI2CBuadRate), 2);
    EXPECT_EQ(prompter.shown, (std::vector<testsupport::Popup>{
                                  {"message", "Warning -- Operation aborted",
                                   "\"I2C CLK\" stopped: the board refused the write of bridge register 0x14B2, and "
                                   "nothing after it was sent.\n\n\"I2C CLK\" shows what the board holds."}}));

    // The low byte taken, the high byte refused: the board has the new divider (its high byte
    // is 0 as before), and the ring shows it.
    Forget();
    board->SetFaults(boardhid::RefuseOneSend(1));
    Commit(p, jorb::CFGDEVJorb_STI2CBuadRate, 1);
    EXPECT_EQ(Reports(), (std::vector<Report>{{0x31, 0x00, 0x03, 0x14, 0xB2, 0x04}}));
    EXPECT_EQ(CtrlInt(p, jorb::CFGDEVJorb_STI2CBuadRate), 1);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text,
              "\"I2C CLK\" stopped: the board refused the write of bridge register 0x14B3, and nothing after it "
              "was sent.\n\n\"I2C CLK\" shows what the board holds.");
}

TEST_F(BridgeTest, PcmTransmitterAndRoutingButtons) {
    const int p = PHandleSTDevCtrl;
    Press(p, jorb::CFGDEVJorb_BEnableUSBPCM);
    EXPECT_EQ(board->BridgeRegister(0x1470), 0x85);
    Press(p, jorb::CFGDEVJorb_BDisableUSBPCM);
    EXPECT_EQ(board->BridgeRegister(0x1470), 0x00);
    FlagAudioInterfaceActive = 0;
    FlagCFGUpdate = 0;
    Press(p, jorb::CFGDEVJorb_BUSBCODEC);
    EXPECT_EQ(FlagAudioInterfaceActive, 0);
    Press(p, jorb::CFGDEVJorb_BUSBPCM);
    EXPECT_EQ(FlagAudioInterfaceActive, 1);
    EXPECT_EQ(FlagCFGUpdate, 1);
    Press(p, jorb::CFGDEVJorb_BCODECPCM);
    Press(p, jorb::CFGDEVJorb_BMIXALL);
    Press(p, jorb::CFGDEVJorb_BConfigVuntPCM);  // no operation
    EXPECT_EQ(Reports(), (std::vector<Report>{{0x31, 0x00, 0x03, 0x14, 0x70, 0x85},
                                              {0x31, 0x00, 0x03, 0x14, 0x70, 0x00},
                                              {0x36, 0x00, 0x00},
                                              {0x35, 0x00, 0x00},
                                              {0x37, 0x00, 0x00},
                                              {0x38, 0x00, 0x00}}));


    // A refused route does not light the audio interface in the diagrams; the buttons have no
    // value to put back, and the board keeps its routing.
    Forget();
    FlagAudioInterfaceActive = 0;
    FlagCFGUpdate = 0;
    board->SetFaults(boardhid::RefuseOneSend());
    Press(p, jorb::CFGDEVJorb_BUSBPCM);
    EXPECT_TRUE(Received().empty());
    EXPECT_EQ(FlagAudioInterfaceActive, 0);
    EXPECT_EQ(prompter.shown, (std::vector<testsupport::Popup>{Refused("the audio routing command 0x35",
                                                                       "The board keeps its previous setting.")}));
    Forget();
    board->SetFaults(boardhid::RefuseOneSend());
    Press(p, jorb::CFGDEVJorb_BEnableUSBPCM);
    EXPECT_EQ(board->BridgeRegister(0x1470), 0x00);
    EXPECT_EQ(prompter.shown, (std::vector<testsupport::Popup>{Refused("the write of bridge register 0x1470",
                                                                       "The board keeps its previous setting.")}));
}

TEST_F(BridgeTest, RegisterReadShowsTheReplyAndWriteSendsTheValue) {
    const int p = PHandleSTDevCtrl;
    board->SetBridgeRegister(0x1470, 0x5A);
    rt::SetCtrlVal(p, jorb::CFGDEVJorb_NVuntRegAddr, 0x1470);
    Press(p, jorb::CFGDEVJorb_BVuntRegRead);
    EXPECT_EQ(Reports(), (std::vector<Report>{{0x30, 0x00, 0x02, 0x14, 0x70}}));
    EXPECT_EQ(CtrlInt(p, jorb::CFGDEVJorb_NVuntRegVal), 0x5A);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());

    Forget();
    rt::SetCtrlVal(p, jorb::CFGDEVJorb_NVuntRegAddr, 0x1472);
    rt::SetCtrlVal(p, jorb::CFGDEVJorb_NVuntRegVal, 0xA5);
    Press(p, jorb::CFGDEVJorb_BVuntRrgWrite);
    EXPECT_EQ(Reports(), (std::vector<Report>{{0x31, 0x00, 0x03, 0x14, 0x72, 0xA5}}));
    EXPECT_EQ(board->BridgeRegister(0x1472), 0xA5);


    // Refused: "Register Value" goes back to what the program knows the register holds (it
    // wrote 0xA5 there) ...
    Forget();
    board->SetFaults(boardhid::RefuseOneSend());
    rt::SetCtrlVal(p, jorb::CFGDEVJorb_NVuntRegVal, 0x3C);
    Press(p, jorb::CFGDEVJorb_BVuntRrgWrite);
    EXPECT_TRUE(Received().empty());
    EXPECT_EQ(CtrlInt(p, jorb::CFGDEVJorb_NVuntRegVal), 0xA5);
    const std::string back = "\"Register Value\" shows what the board holds.";
    EXPECT_EQ(prompter.shown,
              (std::vector<testsupport::Popup>{Refused("the write of bridge register 0x1472", back)}));
    // ... and the value read from 0x1470; a register the program never read or wrote keeps
    // the value typed, and the popup says the panel may differ.
    Forget();
    board->SetFaults(boardhid::RefuseOneSend());
    rt::SetCtrlVal(p, jorb::CFGDEVJorb_NVuntRegAddr, 0x1470);
    rt::SetCtrlVal(p, jorb::CFGDEVJorb_NVuntRegVal, 0x11);
    Press(p, jorb::CFGDEVJorb_BVuntRrgWrite);
    EXPECT_EQ(CtrlInt(p, jorb::CFGDEVJorb_NVuntRegVal), 0x5A);
    Forget();
    board->SetFaults(boardhid::RefuseOneSend());
    rt::SetCtrlVal(p, jorb::CFGDEVJorb_NVuntRegAddr, 0x1500);
    rt::SetCtrlVal(p, jorb::CFGDEVJorb_NVuntRegVal, 0x11);
    Press(p, jorb::CFGDEVJorb_BVuntRrgWrite);
    EXPECT_EQ(CtrlInt(p, jorb::CFGDEVJorb_NVuntRegVal), 0x11);
    EXPECT_EQ(prompter.shown, (std::vector<testsupport::Popup>{Refused("the write of bridge register 0x1500",
                                                                       "The panel may differ from the board.")}));

    // Outside the bridge window the board takes a write but keeps nothing (it reads 0 there):
    // neither a write taken nor a read answered tells what it holds.
    Forget();
    rt::SetCtrlVal(p, jorb::CFGDEVJorb_NVuntRegAddr, 0x0010);
    rt::SetCtrlVal(p, jorb::CFGDEVJorb_NVuntRegVal, 0x55);
    Press(p, jorb::CFGDEVJorb_BVuntRrgWrite);
    EXPECT_EQ(Reports(), (std::vector<Report>{{0x31, 0x00, 0x03, 0x00, 0x10, 0x55}}));
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
    board->SetFaults(boardhid::RefuseOneSend());
    rt::SetCtrlVal(p, jorb::CFGDEVJorb_NVuntRegVal, 0x66);
    Press(p, jorb::CFGDEVJorb_BVuntRrgWrite);
    EXPECT_EQ(CtrlInt(p, jorb::CFGDEVJorb_NVuntRegVal), 0x66);
    EXPECT_EQ(prompter.shown, (std::vector<testsupport::Popup>{Refused("the write of bridge register 0x0010",
                                                                       "The panel may differ from the board.")}));
    Forget();
    Press(p, jorb::CFGDEVJorb_BVuntRegRead);
    EXPECT_EQ(CtrlInt(p, jorb::CFGDEVJorb_NVuntRegVal), 0x00);
    board->SetFaults(boardhid::RefuseOneSend());
    rt::SetCtrlVal(p, jorb::CFGDEVJorb_NVuntRegVal, 0x77);
    Press(p, jorb::CFGDEVJorb_BVuntRrgWrite);
    EXPECT_EQ(CtrlInt(p, jorb::CFGDEVJorb_NVuntRegVal), 0x77);
    EXPECT_EQ(prompter.shown, (std::vector<testsupport::Popup>{Refused("the write of bridge register 0x0010",
                                                                       "The panel may differ from the board.")}));
}

// With no reply, or a reply of the wrong length, the value box keeps its value (not the address
// high byte) and the user is told which.
TEST_F(BridgeTest, RegisterReadWithoutAReplyKeepsTheValueAndSaysSo) {
    const int p = PHandleSTDevCtrl;
    rt::SetCtrlVal(p, jorb::CFGDEVJorb_NVuntRegAddr, 0x1470);
    rt::SetCtrlVal(p, jorb::CFGDEVJorb_NVuntRegVal, 0x33);
    boardhid::FaultPlan drop;
    drop.dropReplies = 1;
    board->SetFaults(drop);
    Press(p, jorb::CFGDEVJorb_BVuntRegRead);
    EXPECT_EQ(CtrlInt(p, jorb::CFGDEVJorb_NVuntRegVal), 0x33);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].text.find("0x1470"), std::string::npos);
    EXPECT_NE(prompter.shown[0].text.find("did not answer"), std::string::npos);

    // A reply longer than the one byte asked for is not taken, and is told as such.
    Forget();
    boardhid::FaultPlan longer;
    longer.longReplies = 1;
    board->SetFaults(longer);
    Press(p, jorb::CFGDEVJorb_BVuntRegRead);
    EXPECT_EQ(CtrlInt(p, jorb::CFGDEVJorb_NVuntRegVal), 0x33);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text,
              "The board answered the read of Vunt register 0x1470 with more than one byte.\n"
              "\"Register Value\" is unchanged.");

    // No board at all: the same.
    Forget();
    CloseLink();
    Press(p, jorb::CFGDEVJorb_BVuntRegRead);
    EXPECT_EQ(CtrlInt(p, jorb::CFGDEVJorb_NVuntRegVal), 0x33);
    EXPECT_EQ(prompter.shown.size(), 1u);
}

TEST_F(BridgeTest, ConfigurationBoxDimsTheEightBridgeControls) {
    const int p = PHandleSTDevCtrl;
    const int gated[] = {jorb::CFGDEVJorb_BUSBCODEC,    jorb::CFGDEVJorb_BUSBPCM,     jorb::CFGDEVJorb_BCODECPCM,
                         jorb::CFGDEVJorb_BMIXALL,      jorb::CFGDEVJorb_NVuntRegAddr, jorb::CFGDEVJorb_NVuntRegVal,
                         jorb::CFGDEVJorb_BVuntRegRead, jorb::CFGDEVJorb_BVuntRrgWrite};
    for (int id : gated) EXPECT_FALSE(Dimmed(p, id)) << id;
    Commit(p, jorb::CFGDEVJorb_STVuntConfigEN, 0);
    for (int id : gated) EXPECT_TRUE(Dimmed(p, id)) << id;
    EXPECT_FALSE(Dimmed(p, jorb::CFGDEVJorb_BEnableUSBPCM));
    EXPECT_TRUE(Received().empty());
}

// The Pykb panel's "Read" runs the Pykc operation, which acts on the panel it was called from.
TEST_F(BridgeTest, BorrowedReadActsOnThePanelItIsCalledFrom) {
    board->SetBridgeRegister(0x1600, 0x42);
    rt::SetCtrlVal(PHandleMNPykbDevCtrl, pykb::MNPykbDEVCTRL_NVuntRegAddr, 0x1600);
    rt::SetCtrlVal(PHandleMNDevCtrl, ui::MNDevCtrl_pan::MNDEVCTRL_NVuntRegAddr, 0x1470);
    Press(PHandleMNPykbDevCtrl, pykb::MNPykbDEVCTRL_BVuntRegRead);
    EXPECT_EQ(Reports(), (std::vector<Report>{{0x30, 0x00, 0x02, 0x16, 0x00}}));
    EXPECT_EQ(CtrlInt(PHandleMNPykbDevCtrl, pykb::MNPykbDEVCTRL_NVuntRegVal), 0x42);
    EXPECT_EQ(CtrlInt(PHandleMNDevCtrl, ui::MNDevCtrl_pan::MNDEVCTRL_NVuntRegVal), 0);
}

TEST_F(BridgeTest, JoraPanelHasNoPcmSettingsButRoutesAndReads) {
    Press(PHdlDevJora, jora::CFGDEVJora_BUSBCODEC);
    EXPECT_EQ(Reports(), (std::vector<Report>{{0x36, 0x00, 0x00}}));
}

}  // namespace
