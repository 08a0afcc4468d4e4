// Power-up, power-down and reset through the device-control panels' buttons, on the emulated
// board: the writes the chip receives, the register copy, PoweredUp and the power LED.
#include <gmock/gmock.h>
#include <QAccessible>
#include <QWidget>

#include <algorithm>
#include <set>
#include <string>

#include "boardhid/emulator_control.h"
#include "panels/MNDevCtrl_pan.h"
#include "panels/MNPykbDevCtrl_pan.h"
#include "panels/cfgDemoJorb_pan.h"
#include "panels/cfgDevJora_pan.h"
#include "panels/cfgDevJorb_pan.h"
#include "panels/cfgDevZutb_pan.h"
#include "panels/cfgMapJorb_Pan.h"
#include "panels/cfgPathJorb_pan.h"
#include "link/chip_operation.h"
#include "regmap/config_tables.h"
#include "runtime/testing.h"
#include "tests/device/device_test_support.h"
#include "tests/support/popup_texts.h"

namespace {

using namespace modeltest;
using devicetest::Report;
namespace jorb = ui::cfgDevJorb_pan;
namespace jora = ui::cfgDevJora_pan;
namespace zutb = ui::cfgDevZutb_pan;
namespace pykc = ui::MNDevCtrl_pan;
namespace pykb = ui::MNPykbDevCtrl_pan;

class PowerTest : public devicetest::DeviceFixture {
protected:
    void TearDown() override {
        ResetConfigTables();
        DeviceFixture::TearDown();
    }
    int PowerLed() { return Led(PANEL_LPowerUp); }
    void SetPowerLed(int on) { rt::SetCtrlVal(PHandlePanel, PANEL_LPowerUp, on); }
    std::vector<int> WrittenRegisters() {
        std::vector<int> out;
        for (const auto& w : RegisterWrites()) out.push_back(w.first);
        return out;
    }
    bool StatusShown() {
        int visible = 0;
        rt::GetCtrlAttribute(PHandlePanel, PANEL_StatusText, rt::ATTR_VISIBLE, &visible);
        return visible != 0;
    }
    std::string StatusText() {
        std::string text;
        rt::GetCtrlVal(PHandlePanel, PANEL_StatusText, &text);
        return text;
    }
    bool PopupShown(const std::string& title) {
        for (const auto& p : prompter.shown)
            if (p.title == title) return true;
        return false;
    }
};

// ---- stereo power-up ---------------------------------------------------------------------------

TEST_F(PowerTest, StereoPowerUpWithoutABoardRunsOnTheCopy) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    CloseLink();
    DeviceAttached = 0;
    PoweredUp = 0;
    CFG_REG[49] = 0;
    CFG_REG[3] = 0;
    Forget();
    Press(PHandleSTDevCtrl, jorb::CFGDEVJorb_BPowerUp);  // "VDDSPK = 3.3V" ticked at start
    EXPECT_TRUE(Received().empty());
    // Bits 7:6 (the AUX mixers) are the demo operation's, switching on outputs 3 to 5.
    EXPECT_EQ(CFG_REG[1] & ~0x0C0u, 0x00Du);
    EXPECT_EQ(CFG_REG[3] & 0x10u, 0x10u);
    EXPECT_EQ(CFG_REG[49] & 0x1Cu, 0x1Cu);
    EXPECT_EQ(CFG_REG[10] & 0x08u, 0x08u);
    EXPECT_EQ(CFG_REG[14] & 0x08u, 0x08u);
    EXPECT_EQ(CFG_REG[11] & 0x100u, 0x100u);  // update bits
    EXPECT_EQ(CFG_REG[55] & 0x100u, 0x100u);
    EXPECT_EQ(ConfigGroups[0].first, 16);
    EXPECT_EQ(ConfigGroups_Jora[0].first, 0);  // only its own model's table
    EXPECT_EQ(PoweredUp, 1);
    EXPECT_EQ(PowerLed(), 0);
    EXPECT_TRUE(Dimmed(PHandleSTPath, ui::cfgPathJorb_pan::CFGPATHJorb_STSPKBoostEnIcon));
    EXPECT_GE(sleptMs, 2000 + 100);  // the two messages and the pause after the outputs

    Commit(PHandleSTDevCtrl, jorb::CFGDEVJorb_ST5VDDSPK, 1);
    EXPECT_EQ(CtrlInt(PHandleSTDevCtrl, jorb::CFGDEVJorb_ST33VDDSPK), 0);
    Press(PHandleSTDevCtrl, jorb::CFGDEVJorb_BPowerUp);
    EXPECT_EQ(CFG_REG[1] & ~0x0C0u, 0x10Du);
    EXPECT_EQ(CFG_REG[3] & 0x10u, 0u);
    EXPECT_EQ(CFG_REG[49] & 0x1Cu, 0u);
}

TEST_F(PowerTest, StereoPowerUpWritesEveryRegisterAndLightsTheLed) {
    Choose(MENUBAR_DEVICE_StereoJora);
    PoweredUp = 0;
    Press(PHdlDevJora, jora::CFGDEVJora_BPowerUp);
    EXPECT_EQ(ReceivedWithCommand(COMM_I2C | CMD_CODEC_WRITE_BLOCK1).size(), 1u);
    EXPECT_EQ(ReceivedWithCommand(COMM_I2C | CMD_CODEC_WRITE_BLOCK3).size(), 1u);
    EXPECT_EQ(board->CodecRegister(1), CFG_REG[1]);
    EXPECT_EQ(PoweredUp, 1);
    EXPECT_EQ(PowerLed(), 1);
    EXPECT_EQ(ConfigGroups_Jora[0].first, 16);
}

// Jorb's 4-wire interface bit is R73[8]: after the switch to 4-wire its power-up and update bits
// go out. With R73[8] clear in the copy the bulk write's guard refuses, naming R73[8]: the
// power-up stops there and nothing claims success.
TEST_F(PowerTest, FourWireGuardFollowsTheModelsInterfaceRegister) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    Commit(PHandleSTDevCtrl, jorb::CFGDEVJorb_ST4WSPIModeEn, 1);
    ASSERT_EQ(CommMode, COMM_SPI4W);
    CFG_REG[7] &= ~0x100u;
    PoweredUp = 0;
    Forget();
    Press(PHandleSTDevCtrl, jorb::CFGDEVJorb_BPowerUp);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
    EXPECT_EQ(ReceivedWithCommand(COMM_SPI4W | CMD_CODEC_WRITE_BLOCK3).size(), 1u);
    EXPECT_EQ(PoweredUp, 1);
    EXPECT_EQ(PowerLed(), 1);
    Forget();
    Press(PHandleSTDevCtrl, jorb::CFGDEVJorb_BLoadUpdateBits);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
    EXPECT_EQ(ReceivedWithCommand(COMM_SPI4W | CMD_CODEC_WRITE_BLOCK3).size(), 1u);

    CFG_REG[73] &= ~0x100u;
    PoweredUp = 0;
    SetPowerLed(0);
    Forget();
    Press(PHandleSTDevCtrl, jorb::CFGDEVJorb_BPowerUp);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "Warning -- Operation aborted");
    EXPECT_NE(prompter.shown[0].text.find("requires R73[8] be 1"), std::string::npos);
    EXPECT_EQ(prompter.shown[0].text.find("R7["), std::string::npos);
    EXPECT_TRUE(ReceivedWithCommand(COMM_SPI4W | CMD_CODEC_WRITE_BLOCK1).empty());
    EXPECT_EQ(PoweredUp, 0);
    EXPECT_EQ(PowerLed(), 0);
    EXPECT_FALSE(StatusShown());  // the bar ended; no success message
    EXPECT_NE(StatusText(), "Successfully Powered up, exiting ... ");

    Forget();
    Press(PHandleSTDevCtrl, jorb::CFGDEVJorb_BLoadUpdateBits);
    EXPECT_TRUE(PopupShown("Warning -- Operation aborted"));
    EXPECT_TRUE(ReceivedWithCommand(COMM_SPI4W | CMD_CODEC_WRITE_BLOCK1).empty());
    EXPECT_FALSE(StatusShown());
}

// The board refuses one send in the middle of a power-up: nothing after it goes out, one popup
// names the operation and what the refused send carried, and the power-up claims nothing.
TEST_F(PowerTest, ARefusedSendStopsTheOperationAndSaysWhere) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    const std::vector<uint32_t> copy(std::begin(CFG_REG), std::end(CFG_REG));
    PoweredUp = 0;
    Press(PHandleSTDevCtrl, jorb::CFGDEVJorb_BPowerUp);  // the whole power-up, as a reference
    const std::vector<Report> all = Received();
    ASSERT_GT(all.size(), 7u);
    ASSERT_EQ(all[5][0], COMM_I2C | CMD_CODEC_WRITE_ONE);
    const size_t firstBlock = std::find_if(all.begin(), all.end(), [](const Report& r) {
                                  return r[0] == (COMM_I2C | CMD_CODEC_WRITE_BLOCK1);
                              }) - all.begin();
    ASSERT_LT(firstBlock + 2, all.size());

    struct Round { size_t refused; std::string what; };
    const Round rounds[] = {{5, "the write of R" + std::to_string(all[5][3] >> 1)},
                            {firstBlock + 1, "the block write of R25 to R48"}};
    for (const Round& round : rounds) {
        SCOPED_TRACE(round.what);
        std::copy(copy.begin(), copy.end(), CFG_REG);
        PoweredUp = 0;
        SetPowerLed(0);
        Forget();
        board->SetFaults(boardhid::RefuseOneSend(static_cast<int>(round.refused)));
        Press(PHandleSTDevCtrl, jorb::CFGDEVJorb_BPowerUp);
        EXPECT_EQ(Received(), std::vector<Report>(all.begin(), all.begin() + static_cast<long>(round.refused)));
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_EQ(prompter.shown[0].title, "Warning -- Operation aborted");
        EXPECT_EQ(prompter.shown[0].text, "\"Power Up\" stopped: the board refused " + round.what +
                                              ", and nothing after it was sent." + testsupport::kPanelsMayDiffer);
        EXPECT_EQ(PoweredUp, 0);
        EXPECT_EQ(PowerLed(), 0);
        EXPECT_FALSE(StatusShown());
    }

    // "Initialize Device" refused at its first send (the reset): nothing changes, one popup
    // names it.
    PoweredUp = 1;
    SetPowerLed(1);
    CFG_REG[0] = 0x55;
    Forget();
    board->SetFaults(boardhid::RefuseOneSend());
    Press(PHandleSTDevCtrl, jorb::CFGDEVJorb_BInitDevice);
    EXPECT_TRUE(Received().empty());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text,
              "\"Initialize Device\" stopped: the board refused the write of R0, and nothing after it was sent." +
                  testsupport::kPanelsMayDiffer);
    EXPECT_EQ(CFG_REG[0], 0x55u);
    EXPECT_EQ(PoweredUp, 1);
    EXPECT_EQ(PowerLed(), 1);

    // Refused at the second block of its read-back: the first block's 24 registers are kept, and
    // one popup names the refused read and counts the 39 registers not read.
    Forget();
    Press(PHandleSTDevCtrl, jorb::CFGDEVJorb_BInitDevice);
    const std::vector<Report> init = Received();
    const auto secondBlock = std::find_if(init.begin(), init.end(), [](const Report& r) {
        return r[0] == (COMM_I2C | CMD_CODEC_READ_BLOCK2);
    });
    ASSERT_NE(secondBlock, init.end());
    CFG_REG[24] = 0;
    CFG_REG[32] = 0x1FF;
    Forget();
    board->SetFaults(boardhid::RefuseOneSend(static_cast<int>(secondBlock - init.begin())));
    Press(PHandleSTDevCtrl, jorb::CFGDEVJorb_BInitDevice);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text,
              "\"Initialize Device\" stopped: the board refused the block read of R25 to R48, and nothing after it was "
              "sent.\n\n39 register(s) could not be read from the board; the register map keeps their values." +
                  testsupport::kPanelsMayDiffer);
    EXPECT_EQ(CFG_REG[24], board->CodecRegister(24));
    EXPECT_NE(CFG_REG[24], 0u);
    EXPECT_EQ(CFG_REG[32], 0x1FFu);
    EXPECT_EQ(PoweredUp, 0);
}

// The board goes away in the middle of a power-up: one popup says it was disconnected, and the
// board is shown absent at once (before its removal notice, which waits for the operation). What
// follows takes the path of a board that is not open: "Read All and Update " says the board is
// not attached, and "Power Up" says so on the progress bar and runs on the register copy as the
// software demo, with the power LED off.
TEST_F(PowerTest, ABoardThatGoesAwayIsToldAsGone) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    const std::vector<uint32_t> copy(std::begin(CFG_REG), std::end(CFG_REG));
    Press(PHandleSTDevCtrl, jorb::CFGDEVJorb_BPowerUp);  // the whole power-up, as a reference
    const std::vector<Report> all = Received();
    ASSERT_GT(all.size(), 6u);
    ASSERT_EQ(all[5][0], COMM_I2C | CMD_CODEC_WRITE_ONE);
    const int gone = all[5][3] >> 1;  // the write that never arrives
    std::copy(copy.begin(), copy.end(), CFG_REG);
    PoweredUp = 0;
    SetPowerLed(1);
    Forget();
    boardhid::FaultPlan plan;
    plan.faultAfterSends = 5;
    plan.unplugOnNextSend = true;
    board->SetFaults(plan);
    Press(PHandleSTDevCtrl, jorb::CFGDEVJorb_BPowerUp);
    EXPECT_EQ(Received().size(), 5u);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "Warning -- Operation aborted");
    EXPECT_EQ(prompter.shown[0].text,
              "\"Power Up\" stopped: the evaluation board was disconnected during the write of R" +
                  std::to_string(gone) + ", and nothing after it was sent." + testsupport::kUntilConnectedAgain);
    EXPECT_EQ(bDeviceOpened, 0);
    EXPECT_EQ(DeviceAttached, 0);
    EXPECT_EQ(Led(PANEL_LDevAttached), 0);
    EXPECT_EQ(PowerLed(), 0);
    EXPECT_EQ(PoweredUp, 0);
    EXPECT_FALSE(StatusShown());
    DrainDeviceNotices();  // the removal notice changes nothing more
    EXPECT_EQ(prompter.shown.size(), 1u);

    Forget();
    Press(PHandleSTRegMap, ui::cfgMapJorb_Pan::CFGMAPJorb_STReadAll);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text.rfind("The evaluation board is not attached", 0), 0u);

    Forget();
    std::set<std::string> shown;
    os::SetSleeper([&](int) { shown.insert(StatusText()); });
    Press(PHandleSTDevCtrl, jorb::CFGDEVJorb_BPowerUp);
    EXPECT_TRUE(shown.count("Evaluation Board is not attached... "));
    EXPECT_TRUE(shown.count("This is going to be a pure software demo... "));
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
    EXPECT_EQ(PowerLed(), 0);
    EXPECT_EQ(PoweredUp, 1);
}

// ---- mono and Zutb power-up --------------------------------------------------------------------

TEST_F(PowerTest, MonoPowerUpWalksTheRegistersAndRampsTheSpeakerOnEitherSupply) {
    Choose(MENUBAR_DEVICE_Mono);
    // The default 3.3 V supply: each write with the pause that follows it, in ms.
    std::vector<std::pair<size_t, int>> slept;  // (reports received so far, ms)
    os::SetSleeper([&](int ms) { slept.emplace_back(Received().size(), ms); });
    CFG_REG[1] = 0x001;
    CFG_REG[3] = CFG_REG[10] = CFG_REG[14] = CFG_REG[49] = 0;
    CFG_REG[50] = CFG_REG[54] = CFG_REG[56] = 0x1FF;
    MNSPKCurrentVOL = 12;
    Press(PHandleMNDevCtrl, pykc::MNDEVCTRL_BPowerUp);
    struct Paused { int reg, value, ms; };
    std::vector<Paused> walk;
    const std::vector<Report> received = Received();
    for (size_t i = 0; i < received.size(); ++i) {
        const Report& r = received[i];
        if (r.size() < 5 || (r[0] & 0x3F) != CMD_CODEC_WRITE_ONE) continue;
        int ms = 0;
        for (const auto& [count, slice] : slept)
            if (count == i + 1) ms += slice;
        walk.push_back({r[3] >> 1, ((r[3] & 1) << 8) | r[4], ms});
    }
    ASSERT_EQ(walk.size(), 33u);
    const std::vector<Paused> head = {
        {1, 0x009, 0},   {10, 0x008, 0},  {14, 0x008, 0},  {49, 0x00E, 10}, {3, 0x010, 10},  {54, 0x040, 10},
        {56, 0x040, 300}, {1, 0x00E, 510}, {3, 0x011, 10},  {50, 0x1DC, 10}, {56, 0x040, 10}, {54, 0x0C0, 10},
    };
    for (size_t i = 0; i < head.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(walk[i].reg, head[i].reg);
        EXPECT_EQ(walk[i].value, head[i].value);
        EXPECT_EQ(walk[i].ms, head[i].ms);
    }
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(walk[12 + i].reg, 54) << i;
        EXPECT_EQ(walk[12 + i].value & 0x7F, 38 + i) << i;
    }
    EXPECT_EQ(walk[32].reg, 56);
    EXPECT_EQ(walk[32].value, 0);
    EXPECT_EQ(walk[32].ms, 110);
    EXPECT_EQ(PowerLed(), 1);
    os::SetSleeper([this](int ms) { sleptMs += ms; });

    // The 5 V supply.
    SetPowerLed(0);
    Commit(PHandleMNDevCtrl, pykc::MNDEVCTRL_MN5VDDSPK, 1);
    PoweredUp = 0;
    MNSPKCurrentVOL = 12;
    Forget();
    Press(PHandleMNDevCtrl, pykc::MNDEVCTRL_BPowerUp);
    std::vector<int> expected = {1, 10, 14, 49, 3, 54, 56, 1, 3, 50, 56};
    expected.insert(expected.end(), 20, 54);
    expected.push_back(56);
    EXPECT_EQ(WrittenRegisters(), expected);
    const auto writes = RegisterWrites();
    for (int i = 0; i < 20; ++i) EXPECT_EQ(writes[11 + i].second & 0x7F, 38 + i) << i;
    const auto reports = Reports();
    int firstRamp = -1;
    for (size_t i = 0; i < reports.size(); ++i)
        if (reports[i] == Report{0xD4, 0x00, 0x02, 0x6C, 0x26}) firstRamp = static_cast<int>(i);
    EXPECT_GE(firstRamp, 0);
    EXPECT_EQ(writes.back(), std::make_pair(56, 0));
    EXPECT_EQ(CFG_REG[1] & 0x10Fu, 0x10Eu);
    EXPECT_EQ(CFG_REG[49] & 0x0Eu, 0x02u);
    EXPECT_EQ(PowerLed(), 1);
    EXPECT_EQ(PoweredUp, 0);  // the mono power-up leaves it

    // The board refuses the ramp's sixth step (code 43): the ramp and the power-up end there,
    // the copy and the remembered code keep 42, the last code the chip took, and the LED stays
    // off.
    SetPowerLed(0);
    Forget();
    board->SetFaults(boardhid::RefuseOneSend(11 + 5));
    Press(PHandleMNDevCtrl, pykc::MNDEVCTRL_BPowerUp);
    EXPECT_EQ(RegisterWrites().size(), 16u);
    EXPECT_EQ(RegisterWrites().back(), std::make_pair(54, 42));
    EXPECT_EQ(CFG_REG[54] & 0x3Fu, 42u);
    EXPECT_EQ(MNSPKCurrentVOL, 42);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text,
              "\"Power Up\" stopped: the board refused the write of R54, and nothing after it was sent." +
                  testsupport::kPanelsMayDiffer);
    EXPECT_EQ(PowerLed(), 0);
}

TEST_F(PowerTest, PykbWithThe33VoltSupplyStopsAfterTheClockSetUp) {
    Choose(MENUBAR_DEVICE_MonoPykb);
    Press(PHandleMNPykbDevCtrl, pykb::MNPykbDEVCTRL_BPowerUp);
    EXPECT_EQ(WrittenRegisters(), (std::vector<int>{1, 10, 14}));
    EXPECT_EQ(CFG_REG[49] & 0x0Cu, 0x0Cu);
    EXPECT_EQ(PowerLed(), 1);
}

TEST_F(PowerTest, MonoPowerUpWithoutABoardChangesOnlyTheSupplyBits) {
    Choose(MENUBAR_DEVICE_Mono);
    CloseLink();
    CFG_REG[49] = 0;
    CFG_REG[10] = 0;
    Press(PHandleMNDevCtrl, pykc::MNDEVCTRL_BPowerUp);
    EXPECT_EQ(CFG_REG[49], 0x0Cu);
    EXPECT_EQ(CFG_REG[10], 0u);
    EXPECT_EQ(PowerLed(), 0);
}

TEST_F(PowerTest, ZutbPowerUpAndDown) {
    Choose(MENUBAR_DEVICE_StereoZutb);
    PoweredUp = 0;
    Press(PHandleSTDevCtrlZutb, zutb::CFGDEVZutb_BPowerUp);
    EXPECT_EQ(RegisterWrites(), (std::vector<std::pair<int, int>>{{15, 0}, {7, 0}, {38, 0x10A}, {6, 0x1FD}}));
    EXPECT_EQ(sleptMs, 0);
    EXPECT_EQ(PoweredUp, 1);
    EXPECT_EQ(PowerLed(), 1);
    Forget();
    Press(PHandleSTDevCtrlZutb, zutb::CFGDEVZutb_BPowerDown);
    EXPECT_EQ(RegisterWrites(), (std::vector<std::pair<int, int>>{{6, 0x1F1}}));
    EXPECT_EQ(PoweredUp, 0);
    EXPECT_EQ(PowerLed(), 0);
    // A power-down whose write the board refuses claims nothing: the chip is still up.
    PoweredUp = 1;
    SetPowerLed(1);
    CFG_REG[6] = 0x1FD;
    Forget();
    board->SetFaults(boardhid::RefuseOneSend());
    Press(PHandleSTDevCtrlZutb, zutb::CFGDEVZutb_BPowerDown);
    EXPECT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(CFG_REG[6], 0x1FDu);
    EXPECT_EQ(PoweredUp, 1);
    EXPECT_EQ(PowerLed(), 1);
    PoweredUp = 0;
    SetPowerLed(0);

    // Under 4-wire SPI the first write, the software reset R15, asks first: No stops the
    // power-up with nothing sent.
    Commit(PHandleSTDevCtrlZutb, zutb::CFGDEVZutb_ST4WSPIModeEn, 1);
    ASSERT_EQ(CommMode, COMM_SPI4W);
    CFG_REG[15] = 0x33;
    Forget();
    prompter.yesNoAnswers = {false};
    Press(PHandleSTDevCtrlZutb, zutb::CFGDEVZutb_BPowerUp);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "Warning -- It is not safe to reset device under SPI 4 wire mode");
    EXPECT_NE(prompter.shown[0].text.find("requires R105[8] be 1"), std::string::npos);
    EXPECT_TRUE(Received().empty());
    EXPECT_EQ(CFG_REG[15], 0x33u);
    EXPECT_EQ(PoweredUp, 0);
    EXPECT_EQ(PowerLed(), 0);
}

// ---- power-down --------------------------------------------------------------------------------

TEST_F(PowerTest, StereoPowerDownMutesEveryOutput) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    PoweredUp = 1;
    SetPowerLed(1);
    for (int r = 52; r <= 57; ++r) CFG_REG[r] &= ~0x40u;
    Press(PHandleSTDevCtrl, jorb::CFGDEVJorb_BPowerDown);
    for (int r = 52; r <= 57; ++r) {
        EXPECT_EQ(CFG_REG[r] & 0x40u, 0x40u) << r;
        EXPECT_EQ(board->CodecRegister(r) & 0x40u, 0x40u) << r;
    }
    EXPECT_EQ(PoweredUp, 0);
    EXPECT_EQ(PowerLed(), 0);

    // A power-down the board stops at its second mute leaves the chip partly up: PoweredUp and
    // the LED stay, one popup tells it.
    PoweredUp = 1;
    SetPowerLed(1);
    for (int r = 52; r <= 57; ++r) CFG_REG[r] &= ~0x40u;
    Forget();
    board->SetFaults(boardhid::RefuseOneSend(1));
    Press(PHandleSTDevCtrl, jorb::CFGDEVJorb_BPowerDown);
    EXPECT_EQ(Received().size(), 1u);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "Warning -- Operation aborted");
    EXPECT_EQ(PoweredUp, 1);
    EXPECT_EQ(PowerLed(), 1);
}

TEST_F(PowerTest, MonoPowerDownWritesFiveRegistersAndKeepsPoweredUp) {
    Choose(MENUBAR_DEVICE_Mono);
    PoweredUp = 1;
    CFG_REG[3] = 0x1FF;
    Press(PHandleMNDevCtrl, pykc::MNDEVCTRL_BPowerDown);
    EXPECT_EQ(WrittenRegisters(), (std::vector<int>{10, 54, 56, 1, 3}));
    EXPECT_EQ(CFG_REG[3], 0x112u);
    EXPECT_EQ(CFG_REG[54], 0x40u);
    EXPECT_EQ(PoweredUp, 1);
}

// ---- reset -------------------------------------------------------------------------------------

TEST_F(PowerTest, ResetUnderFourWireAnsweredNoChangesNothing) {
    Choose(MENUBAR_DEVICE_StereoJora);
    Menu(MENUBAR_MODE_SPI4WMode);
    PoweredUp = 1;
    SetPowerLed(1);
    CFG_REG[0] = 0x55;
    Forget();
    prompter.yesNoAnswers = {false};
    Press(PHdlDevJora, jora::CFGDEVJora_BReset);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "Warning -- It is not safe to reset device under SPI 4 wire mode");
    EXPECT_TRUE(Received().empty());
    EXPECT_EQ(PoweredUp, 1);
    EXPECT_EQ(PowerLed(), 1);
    EXPECT_EQ(CFG_REG[0], 0x55u);
    EXPECT_EQ(CommMode, COMM_SPI4W);

    // "Initialize Device" stops with it: no power-up follows.
    prompter.yesNoAnswers = {false};
    Press(PHdlDevJora, jora::CFGDEVJora_BInitDevice);
    EXPECT_TRUE(Received().empty());
    EXPECT_EQ(PoweredUp, 1);
}

// Answered Yes on Jora: the 4-wire step and the re-selection act on the Jora panel; nothing goes
// to Jorb's R73.
TEST_F(PowerTest, ResetUnderFourWireReselectsTheModeOnTheLoadedModel) {
    Choose(MENUBAR_DEVICE_StereoJora);
    Menu(MENUBAR_MODE_SPI4WMode);
    Forget();
    Press(PHdlDevJora, jora::CFGDEVJora_BReset);
    const auto writes = WrittenRegisters();
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes[0], 0);
    for (int r : writes) EXPECT_NE(r, 73);
    EXPECT_EQ(ReadAlls(), 1);
    EXPECT_EQ(CommMode, COMM_SPI4W);
    EXPECT_EQ(CtrlInt(PHdlDevJora, jora::CFGDEVJora_ST4WSPIModeEn), 1);
    EXPECT_EQ(CtrlInt(PHandleSTDevCtrl, jorb::CFGDEVJorb_ST4WSPIModeEn), 0);
    EXPECT_EQ(PoweredUp, 0);
}

TEST_F(PowerTest, ZutbResetWritesRegister15AndReadsBackUnderI2C) {
    board->SetSoftwareResetRegister(15);
    Choose(MENUBAR_DEVICE_StereoZutb);
    Menu(MENUBAR_MODE_SPI4WMode);
    PoweredUp = 1;
    const uint16_t startValue = board->CodecRegister(0);
    board->SetCodecRegister(0, 0x0AA);
    Forget();
    Press(PHandleSTDevCtrlZutb, zutb::CFGDEVZutb_BReset);
    // The question comes before register 15, the chip's own reset.
    ASSERT_EQ(prompter.shown.size(), 1u);
    const auto writes = RegisterWrites();
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes[0], std::make_pair(15, 0));
    for (const auto& w : writes) EXPECT_NE(w.first, 0);
    EXPECT_EQ(board->CodecRegister(0), startValue);  // register 15 reset the chip

    // Read-back under I2C, then back to 4-wire SPI.
    const auto received = Received();
    int lastI2CRead = -1, lastFourWire = -1;
    for (size_t i = 0; i < received.size(); ++i) {
        const uint8_t c = received[i][0];
        if ((c & 0x30) == 0x10 && (c & 0x0C) == 0 && (c & 0xC0) == COMM_I2C) lastI2CRead = static_cast<int>(i);
        if (c == (COMM_SPI4W | CMD_CODEC_WRITE_ONE)) lastFourWire = static_cast<int>(i);
    }
    EXPECT_GE(lastI2CRead, 0);
    EXPECT_GT(lastFourWire, lastI2CRead);
    EXPECT_EQ(CommMode, COMM_SPI4W);
    EXPECT_EQ(CtrlInt(PHandleSTDevCtrlZutb, zutb::CFGDEVZutb_ST4WSPIModeEn), 1);
    EXPECT_EQ(PoweredUp, 0);
}

// On Zutb register 0 is the left PGA gain: writing it under 4-wire SPI asks nothing, and the
// emulated chip does not reset on it.
TEST_F(PowerTest, ZutbRegisterZeroIsAnOrdinaryRegister) {
    board->SetSoftwareResetRegister(15);
    Choose(MENUBAR_DEVICE_StereoZutb);
    Menu(MENUBAR_MODE_SPI4WMode);
    board->SetCodecRegister(5, 0x155);
    Forget();
    CFG_REG[0] = 0x1F;
    EXPECT_EQ(ZelqxWriteOneReg(0), 1);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
    EXPECT_EQ(board->CodecRegister(0), 0x1F);
    EXPECT_EQ(board->CodecRegister(5), 0x155);
}

TEST_F(PowerTest, ResetInWriteOnlyModeDoesNoReadBack) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    QuillonMode = 1;
    Press(PHandleSTDevCtrl, jorb::CFGDEVJorb_BReset);
    EXPECT_EQ(WrittenRegisters(), std::vector<int>{0});
    EXPECT_EQ(ReadAlls(), 0);
    EXPECT_TRUE(Dimmed(PHandleSTPath, ui::cfgPathJorb_pan::CFGPATHJorb_STOut3BoostEnIcon));
}

TEST_F(PowerTest, MonoResetUnderFourWireReappliesTheModeAndKeepsPoweredUp) {
    Choose(MENUBAR_DEVICE_Mono);
    Menu(MENUBAR_MODE_SPI4WMode);
    PoweredUp = 1;
    SetPowerLed(1);
    Forget();
    Press(PHandleMNDevCtrl, pykc::MNDEVCTRL_BReset);
    const auto writes = WrittenRegisters();
    ASSERT_GE(writes.size(), 2u);
    EXPECT_EQ(writes[0], 0);
    EXPECT_EQ(writes[1], 7);  // the 4-wire operation on the Pykc panel
    EXPECT_EQ(ReadAlls(), 0);
    EXPECT_EQ(PoweredUp, 1);
    EXPECT_EQ(PowerLed(), 0);
}

// ---- progress ----------------------------------------------------------------------------------

// What the main panel shows at each of the board's pauses, operation by operation: the bar never
// goes back within an operation, is full only at its last message, and its message stays from its
// first showing to the end, also where one operation runs others (a reset then a power-up; a
// power-up then a preset load) or a read inside a reset shows a progress of its own. Once the
// operation is over the bar is idle.
TEST_F(PowerTest, ProgressNeverGoesBackAndItsMessageStaysUntilTheOperationEnds) {
    struct Seen {
        double bar;
        bool shown;
        std::string text;
    };
    std::vector<Seen> seen;
    os::SetSleeper([&](int ms) {
        sleptMs += ms;
        double bar = 0;
        rt::GetCtrlVal(PHandlePanel, PANEL_ProgressBar, &bar);
        seen.push_back({bar, StatusShown(), StatusText()});
    });
    auto check = [&](const std::string& what, int panel, int control, const std::string& lastText) {
        SCOPED_TRACE(what);
        seen.clear();
        Press(panel, control);
        std::string all;  // what was shown, each change once
        for (size_t i = 0; i < seen.size(); ++i)
            if (i == 0 || seen[i].bar != seen[i - 1].bar || seen[i].shown != seen[i - 1].shown || seen[i].text != seen[i - 1].text)
                all += "\n  " + std::to_string(seen[i].bar) + (seen[i].shown ? " \"" + seen[i].text + "\"" : " (no message)");
        ASSERT_GT(seen.size(), 3u);
        size_t first = 0;
        while (first < seen.size() && !seen[first].shown) ++first;
        ASSERT_LT(first, seen.size()) << "no message shown:" << all;
        size_t wrong = first + 1;
        while (wrong < seen.size() && seen[wrong].bar >= seen[wrong - 1].bar && seen[wrong].shown) ++wrong;
        EXPECT_EQ(wrong, seen.size()) << "the bar went back or its message went, at pause " << wrong << " of "
                                      << seen.size() << "; shown:" << all;
        // The bar fills as the operation nears its end: every message but the last first shows
        // with the bar below full (a step that runs others leaves them their part of the bar).
        for (size_t i = first; i < seen.size(); ++i) {
            if (seen[i].text != seen.back().text && (i == first || seen[i].text != seen[i - 1].text)) {
                EXPECT_LT(seen[i].bar, 100.0) << "\"" << seen[i].text << "\" shows with the bar full; shown:" << all;
            }
        }
        EXPECT_EQ(seen.back().bar, 100.0) << all;
        EXPECT_EQ(seen.back().text, lastText) << all;
        EXPECT_FALSE(StatusShown());
        double bar = -1;
        rt::GetCtrlVal(PHandlePanel, PANEL_ProgressBar, &bar);
        EXPECT_EQ(bar, 0.0);
        EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
    };
    Choose(MENUBAR_DEVICE_StereoJorb);
    PoweredUp = 0;
    check("Jorb Power Up", PHandleSTDevCtrl, jorb::CFGDEVJorb_BPowerUp, "Successfully Powered up, exiting ... ");
    check("Jorb Initialize Device", PHandleSTDevCtrl, jorb::CFGDEVJorb_BInitDevice, "Successfully Powered up, exiting ... ");
    check("Jorb Reset Device", PHandleSTDevCtrl, jorb::CFGDEVJorb_BReset, "Reset finished ");
    namespace jd = ui::cfgDemoJorb_pan;
    rt::SetCtrlVal(PHandleSTDemo, jd::STDemo_STSet2, 1);
    rt::CallCtrlCallback(PHandleSTDemo, jd::STDemo_STSet2, rt::EVENT_COMMIT, 0, 0);
    rt::SetCtrlVal(PHandleSTDemo, jd::STDemo_Out_2, 2);
    PoweredUp = 0;
    check("Jorb Load Settings with its power-up", PHandleSTDemo, jd::STDemo_STLoadSettings, "Loading configuration ...");
    Choose(MENUBAR_DEVICE_StereoZutb);
    check("Zutb Initialize Device", PHandleSTDevCtrlZutb, zutb::CFGDEVZutb_BInitDevice, "Reset finished ");
    Choose(MENUBAR_DEVICE_Mono);
    check("Pykc Power Up", PHandleMNDevCtrl, pykc::MNDEVCTRL_BPowerUp,
          "Successfully powered up, eiting Power-up sequence... ");

    // A screen reader reads the bar as "Progress", with its value.
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(rt::testing::ControlWidget(PHandlePanel, PANEL_ProgressBar));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->role(), QAccessible::ProgressBar);
    EXPECT_EQ(bar->text(QAccessible::Name).toStdString(), "Progress");
    ASSERT_NE(bar->valueInterface(), nullptr);
    EXPECT_EQ(bar->valueInterface()->currentValue().toDouble(), 0.0);
}

}  // namespace
