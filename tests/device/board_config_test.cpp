// The board block of the device-control panels: interface boxes, Config Board per model, the
// Mode menu on the loaded model, the I2S source boxes, and the Qevb block on its demo panel.
#include "boardhid/emulator_control.h"
#include "link/chip_operation.h"
#include "panels/MNDevCtrl_pan.h"
#include "panels/MNPykaDevCtrl_pan.h"
#include "panels/MNPykbDevCtrl_pan.h"
#include "panels/cfgDemoQevb_pan.h"
#include "panels/cfgDevJora_pan.h"
#include "panels/cfgDevJorb_pan.h"
#include "panels/cfgDevQeva_pan.h"
#include "panels/cfgDevZuta_pan.h"
#include "panels/cfgDevZutb_pan.h"
#include "tests/device/device_test_support.h"
#include "tests/support/popup_texts.h"

namespace {

using namespace modeltest;
using devicetest::Report;
namespace jora = ui::cfgDevJora_pan;
namespace jorb = ui::cfgDevJorb_pan;
namespace zuta = ui::cfgDevZuta_pan;
namespace zutb = ui::cfgDevZutb_pan;
namespace qevb = ui::cfgDemoQevb_pan;
namespace pykc = ui::MNDevCtrl_pan;
namespace pykb = ui::MNPykbDevCtrl_pan;

class BoardConfigTest : public devicetest::DeviceFixture {};

// ---- Config Board, common form ---------------------------------------------------------------

TEST_F(BoardConfigTest, JoraFourWireBoxSendsTheWordTwiceAroundAThreeWireFramedR7) {
    Choose(MENUBAR_DEVICE_StereoJora);
    ASSERT_EQ(CommMode, COMM_I2C);
    ASSERT_EQ(CFG_REG[7] & 0x100u, 0u);

    Commit(PHdlDevJora, jora::CFGDEVJora_ST4WSPIModeEn, 1);
    EXPECT_EQ(Reports(), (std::vector<Report>{{0x34, 0x00, 0x02, 0x17, 0x1F},
                                              {0x54, 0x00, 0x02, 0x0F, 0x00},
                                              {0x34, 0x00, 0x02, 0x37, 0x1F}}));
    EXPECT_EQ(CommMode, COMM_SPI4W);
    EXPECT_EQ(CheckedModeItems(), std::vector<int>{MENUBAR_MODE_SPI4WMode});
    EXPECT_EQ(sleptMs, 900);
    EXPECT_EQ(CtrlInt(PHdlDevJora, jora::CFGDEVJora_STI2CModeEn), 0);
    EXPECT_EQ(CtrlInt(PHdlDevJora, jora::CFGDEVJora_STModeSelect), 0);
    EXPECT_TRUE(Dimmed(PHdlDevJora, jora::CFGDEVJora_STModeSelect));
    EXPECT_TRUE(Dimmed(PHdlDevJora, jora::CFGDEVJora_STI2CBuadRate));

    Forget();
    Commit(PHdlDevJora, jora::CFGDEVJora_STI2CModeEn, 1);
    EXPECT_EQ(Reports(), (std::vector<Report>{{0x34, 0x00, 0x02, 0x17, 0x1F},
                                              {0x54, 0x00, 0x02, 0x0E, 0x00},
                                              {0x34, 0x00, 0x02, 0x3F, 0x1F}}));
    EXPECT_EQ(CommMode, COMM_I2C);
    EXPECT_EQ(CtrlInt(PHdlDevJora, jora::CFGDEVJora_ST4WSPIModeEn), 0);
    EXPECT_FALSE(Dimmed(PHdlDevJora, jora::CFGDEVJora_STI2CBuadRate));
    EXPECT_EQ(CheckedModeItems(), std::vector<int>{MENUBAR_MODE_I2CMode});

    // The board refuses the R7 write: the second word stays home, the framing is put back, the
    // copy keeps R7 as it was, and one popup names Config Board and R7, and says that the board
    // (which took only the first word) may not have what the boxes show.
    Forget();
    board->SetFaults(boardhid::RefuseOneSend(1));
    Commit(PHdlDevJora, jora::CFGDEVJora_ST4WSPIModeEn, 1);
    EXPECT_EQ(Reports(), (std::vector<Report>{{0x34, 0x00, 0x02, 0x17, 0x1F}}));
    EXPECT_EQ(CommMode, COMM_SPI4W);
    EXPECT_EQ(CFG_REG[7] & 0x100u, 0u);
    EXPECT_EQ(sleptMs, 300);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text,
              "\"Config Board\" stopped: the board refused the write of R7, and nothing after it was sent." +
                  testsupport::kPanelsMayDiffer +
                  "\n\nThe evaluation board may not have the settings the panel shows; \"Config Board\" sends them "
                  "again.");
}

TEST_F(BoardConfigTest, ThreeWireTicksTheModePinAndWritesR7Once) {
    Choose(MENUBAR_DEVICE_Mono);
    Commit(PHandleMNDevCtrl, pykc::MNDEVCTRL_MN3WSPIModeEn, 1);
    EXPECT_EQ(Reports(), (std::vector<Report>{{0x34, 0x00, 0x02, 0x17, 0x1F}, {0x54, 0x00, 0x02, 0x0F, 0x00}}));
    EXPECT_EQ(CtrlInt(PHandleMNDevCtrl, pykc::MNDEVCTRL_MNModeSelect), 1);
    EXPECT_EQ(CommMode, COMM_SPI3W);
    EXPECT_EQ(CheckedModeItems(), std::vector<int>{MENUBAR_MODE_SPI3WMode});
}

TEST_F(BoardConfigTest, UntickingAModeBoxChangesNothing) {
    Choose(MENUBAR_DEVICE_StereoJora);
    rt::SetCtrlVal(PHdlDevJora, jora::CFGDEVJora_CUSBI2SEn, 1);
    Commit(PHdlDevJora, jora::CFGDEVJora_STI2CModeEn, 0);
    EXPECT_TRUE(Received().empty());
    EXPECT_EQ(CtrlInt(PHdlDevJora, jora::CFGDEVJora_CUSBI2SEn), 1);
    EXPECT_EQ(CommMode, COMM_I2C);
}

// External Control clears the interface boxes and sends nothing; Config Board then packs "no
// interface" (bits 3:2 = 10) and still runs the sequence of the mode CommMode kept.
TEST_F(BoardConfigTest, ExternalControlThenConfigBoardKeepsThePreviousMode) {
    Choose(MENUBAR_DEVICE_StereoJora);
    Commit(PHdlDevJora, jora::CFGDEVJora_STExternalCtrl, 1);
    EXPECT_TRUE(Received().empty());
    EXPECT_EQ(CtrlInt(PHdlDevJora, jora::CFGDEVJora_STI2CModeEn), 0);
    EXPECT_FALSE(Dimmed(PHdlDevJora, jora::CFGDEVJora_STModeSelect));
    EXPECT_TRUE(Dimmed(PHdlDevJora, jora::CFGDEVJora_STI2CBuadRate));

    Commit(PHdlDevJora, jora::CFGDEVJora_STModeSelect, 1);  // no operation of its own
    EXPECT_TRUE(Received().empty());
    Press(PHdlDevJora, jora::CFGDEVJora_BConfigBoard);
    // Byte 0: 0x08 (no interface) | reset off 0x01 | AP slave off 0x10; external and mode pin ticked.
    EXPECT_EQ(Reports(), (std::vector<Report>{{0x34, 0x00, 0x02, 0x11, 0x1F},
                                              {0x54, 0x00, 0x02, 0x0E, 0x00},
                                              {0x34, 0x00, 0x02, 0x19, 0x1F}}));
    EXPECT_EQ(CommMode, COMM_I2C);
}

// ---- Config Board, model variants ------------------------------------------------------------

TEST_F(BoardConfigTest, JorbFourWireSendsOneWordThenR73InFourWireFraming) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    CFG_REG[73] = 0x012;
    Commit(PHandleSTDevCtrl, jorb::CFGDEVJorb_ST4WSPIModeEn, 1);
    EXPECT_EQ(Reports(), (std::vector<Report>{{0x34, 0x00, 0x02, 0x37, 0x1F}, {0x94, 0x00, 0x02, 0x93, 0x12}}));
    EXPECT_EQ(CommMode, COMM_SPI4W);
    EXPECT_EQ(CFG_REG[7] & 0x100u, 0u);
    EXPECT_EQ(sleptMs, 600);
    EXPECT_EQ(CheckedModeItems(), std::vector<int>{MENUBAR_MODE_SPI4WMode});
}

TEST_F(BoardConfigTest, ZutaFourWireWritesR7FirstThenTheWordWithTheModePinBit) {
    Choose(MENUBAR_DEVICE_StereoZuta);
    Commit(PHandleSTDevCtrlZuta, zuta::CFGDEVZuta_ST4WSPIModeEn, 1);
    EXPECT_EQ(Reports(), (std::vector<Report>{{0x94, 0x00, 0x02, 0x0F, 0x00}, {0x34, 0x00, 0x02, 0x37, 0x1F}}));
    EXPECT_EQ(CommMode, COMM_SPI4W);
    EXPECT_EQ(CheckedModeItems(), std::vector<int>{MENUBAR_MODE_SPI4WMode});
}

TEST_F(BoardConfigTest, ZutbThreeWireSetsTheBridgeBitAndClearsR105) {
    Choose(MENUBAR_DEVICE_StereoZutb);
    board->SetBridgeRegister(0x14A0, 0x00);
    CFG_REG[105] = 0x1AB;
    Commit(PHandleSTDevCtrlZutb, zutb::CFGDEVZutb_ST3WSPIModeEn, 1);
    EXPECT_EQ(Reports(), (std::vector<Report>{{0x30, 0x00, 0x02, 0x14, 0xA0},
                                              {0x31, 0x00, 0x03, 0x14, 0xA0, 0x80},
                                              {0x34, 0x00, 0x02, 0x17, 0x1F},
                                              {0x54, 0x00, 0x02, 0xD2, 0xAB}}));
    EXPECT_EQ(board->BridgeRegister(0x14A0), 0x80);
    EXPECT_EQ(CFG_REG[105], 0x0ABu);
    EXPECT_EQ(sleptMs, 300 + 600);  // three bridge pauses, the word, the codec write
    for (const auto& w : RegisterWrites()) EXPECT_NE(w.first, 7);
}

TEST_F(BoardConfigTest, ZutbFourWireOnlySetsR105) {
    Choose(MENUBAR_DEVICE_StereoZutb);
    CFG_REG[105] = 0;
    Commit(PHandleSTDevCtrlZutb, zutb::CFGDEVZutb_ST4WSPIModeEn, 1);
    EXPECT_EQ(Reports(), (std::vector<Report>{{0x94, 0x00, 0x02, 0xD3, 0x00}}));
    EXPECT_EQ(CommMode, COMM_SPI4W);
    EXPECT_EQ(CheckedModeItems(), std::vector<int>{MENUBAR_MODE_SPI4WMode});
}

TEST_F(BoardConfigTest, ZutbI2CClearsThreeBridgeBitsThenSendsTheWordWithoutBit3) {
    Choose(MENUBAR_DEVICE_StereoZutb);
    Commit(PHandleSTDevCtrlZutb, zutb::CFGDEVZutb_ST4WSPIModeEn, 1);
    for (int a : {0x1457, 0x1453, 0x14A0}) board->SetBridgeRegister(a, 0xFF);
    Forget();
    Commit(PHandleSTDevCtrlZutb, zutb::CFGDEVZutb_STI2CModeEn, 1);
    EXPECT_EQ(Reports(), (std::vector<Report>{{0x30, 0x00, 0x02, 0x14, 0x57},
                                              {0x31, 0x00, 0x03, 0x14, 0x57, 0xF7},
                                              {0x30, 0x00, 0x02, 0x14, 0x53},
                                              {0x31, 0x00, 0x03, 0x14, 0x53, 0xF7},
                                              {0x30, 0x00, 0x02, 0x14, 0xA0},
                                              {0x31, 0x00, 0x03, 0x14, 0xA0, 0x7F},
                                              {0x34, 0x00, 0x02, 0x37, 0x1F}}));
    EXPECT_EQ(CommMode, COMM_I2C);
    EXPECT_EQ(sleptMs, 1000 + 300);  // 3 x 0.3 s of bridge pauses and one more, then the word
}

// A bridge register whose value did not come back is not written with a guess.
TEST_F(BoardConfigTest, ZutbThreeWireWithNoReplyLeavesTheBridgeRegisterAlone) {
    Choose(MENUBAR_DEVICE_StereoZutb);
    board->SetBridgeRegister(0x14A0, 0x05);
    boardhid::FaultPlan drop;
    drop.dropReplies = 1;
    board->SetFaults(drop);
    Commit(PHandleSTDevCtrlZutb, zutb::CFGDEVZutb_ST3WSPIModeEn, 1);
    EXPECT_TRUE(ReceivedWithCommand(CMD_BRIDGE_WRITE).empty());
    EXPECT_EQ(board->BridgeRegister(0x14A0), 0x05);
    EXPECT_EQ(BoardWords(), (std::vector<std::vector<uint8_t>>{{0x17, 0x1F}}));
}

// ---- the Mode menu acts on the loaded model ------------------------------------------------

TEST_F(BoardConfigTest, ModeMenuWithJoraLoadedRunsJorasOwnSequence) {
    Choose(MENUBAR_DEVICE_StereoJora);
    Menu(MENUBAR_MODE_SPI4WMode);
    EXPECT_EQ(CtrlInt(PHdlDevJora, jora::CFGDEVJora_ST4WSPIModeEn), 1);
    EXPECT_EQ(CtrlInt(PHandleSTDevCtrl, jorb::CFGDEVJorb_ST4WSPIModeEn), 0);
    EXPECT_EQ(Reports(), (std::vector<Report>{{0x34, 0x00, 0x02, 0x17, 0x1F},
                                              {0x54, 0x00, 0x02, 0x0F, 0x00},
                                              {0x34, 0x00, 0x02, 0x37, 0x1F}}));
    for (const auto& w : RegisterWrites()) EXPECT_NE(w.first, 73);
    EXPECT_EQ(CheckedModeItems(), std::vector<int>{MENUBAR_MODE_SPI4WMode});
}

struct LoadedCase {
    const char* name;
    int menuItem;
    int* panel;
    int box4W;
    int interfaceReg;  // written by that model's 4-wire Config Board
};

void PrintTo(const LoadedCase& c, std::ostream* os) { *os << c.name; }

class ModeMenuOnLoadedModel : public devicetest::DeviceFixture,
                              public ::testing::WithParamInterface<LoadedCase> {};

TEST_P(ModeMenuOnLoadedModel, TicksItsOwnBoxAndWritesItsOwnInterfaceRegister) {
    const LoadedCase& c = GetParam();
    Choose(c.menuItem);
    Menu(MENUBAR_MODE_SPI4WMode);
    EXPECT_EQ(CtrlInt(*c.panel, c.box4W), 1);
    if (*c.panel != PHandleSTDevCtrl) {
        EXPECT_EQ(CtrlInt(PHandleSTDevCtrl, jorb::CFGDEVJorb_ST4WSPIModeEn), 0);
    }
    EXPECT_EQ(CommMode, COMM_SPI4W);
    std::vector<int> written;
    for (const auto& w : RegisterWrites()) written.push_back(w.first);
    EXPECT_EQ(written, std::vector<int>{c.interfaceReg});
}

INSTANTIATE_TEST_SUITE_P(
    Models, ModeMenuOnLoadedModel,
    ::testing::Values(
        LoadedCase{"Jorb", MENUBAR_DEVICE_StereoJorb, &PHandleSTDevCtrl, jorb::CFGDEVJorb_ST4WSPIModeEn, 73},
        LoadedCase{"Zuta", MENUBAR_DEVICE_StereoZuta, &PHandleSTDevCtrlZuta, zuta::CFGDEVZuta_ST4WSPIModeEn, 7},
        LoadedCase{"Zutb", MENUBAR_DEVICE_StereoZutb, &PHandleSTDevCtrlZutb, zutb::CFGDEVZutb_ST4WSPIModeEn, 105},
        LoadedCase{"Qeva", MENUBAR_DEVICE_StereoQeva, &PHdlDevQeva, ui::cfgDevQeva_pan::CFGDEVQeva_ST4WSPIModeEn, 7},
        LoadedCase{"Pykc", MENUBAR_DEVICE_Mono, &PHandleMNDevCtrl, pykc::MNDEVCTRL_MN4WSPIModeEn, 7},
        LoadedCase{"Pykb", MENUBAR_DEVICE_MonoPykb, &PHandleMNPykbDevCtrl, pykb::MNPykbDEVCTRL_MN4WSPIModeEn, 7},
        LoadedCase{"Pyka", MENUBAR_DEVICE_MonoPyka, &PHandleMNPykaDevCtrl,
                   ui::MNPykaDevCtrl_pan::MNPykaDEVCTRL_MN4WSPIModeEn, 7}),
    [](const ::testing::TestParamInfo<LoadedCase>& info) { return std::string(info.param.name); });

// ---- I2S sources -----------------------------------------------------------------------------

TEST_F(BoardConfigTest, AMasterSourceClearsTheSourcesItCannotShareWith) {
    Choose(MENUBAR_DEVICE_StereoJora);
    const int p = PHdlDevJora;
    for (int id : {jora::CFGDEVJora_CUSBI2SEn, jora::CFGDEVJora_CSPDIFMASEn, jora::CFGDEVJora_CAPSLAVEEn,
                   jora::CFGDEVJora_CSPDIFSLAVEEn, jora::CFGDEVJora_CDirectDUTEn})
        rt::SetCtrlVal(p, id, 1);
    Commit(p, jora::CFGDEVJora_CAPMASEn, 1);
    for (int id : {jora::CFGDEVJora_CUSBI2SEn, jora::CFGDEVJora_CSPDIFMASEn, jora::CFGDEVJora_CAPSLAVEEn,
                   jora::CFGDEVJora_CSPDIFSLAVEEn, jora::CFGDEVJora_CDirectDUTEn})
        EXPECT_EQ(CtrlInt(p, id), 0) << id;
    EXPECT_TRUE(Received().empty());

    // The word then says AP master on (byte 1 bit 0 clear) and lights the audio interface.
    Press(p, jora::CFGDEVJora_BConfigBoard);
    ASSERT_FALSE(BoardWords().empty());
    EXPECT_EQ(BoardWords().back()[1], 0x1E);
    EXPECT_EQ(FlagAudioInterfaceActive, 1);

    // Digital-audio slave clears AP slave, AP master, digital-audio master and the header.
    rt::SetCtrlVal(p, jora::CFGDEVJora_CDirectDUTEn, 1);
    Commit(p, jora::CFGDEVJora_CSPDIFSLAVEEn, 1);
    EXPECT_EQ(CtrlInt(p, jora::CFGDEVJora_CAPMASEn), 0);
    EXPECT_EQ(CtrlInt(p, jora::CFGDEVJora_CDirectDUTEn), 0);
    Press(p, jora::CFGDEVJora_BConfigBoard);
    EXPECT_EQ(FlagAudioInterfaceActive, 0);
}

TEST_F(BoardConfigTest, UsbI2SAsksForARedrawOnStereoPanelsOnly) {
    Choose(MENUBAR_DEVICE_StereoJora);
    rt::SetCtrlVal(PHdlDevJora, jora::CFGDEVJora_CAPMASEn, 1);
    FlagCFGUpdate = 0;
    Commit(PHdlDevJora, jora::CFGDEVJora_CUSBI2SEn, 0);
    EXPECT_EQ(FlagCFGUpdate, 1);  // on every commit
    Commit(PHdlDevJora, jora::CFGDEVJora_CUSBI2SEn, 1);
    EXPECT_EQ(CtrlInt(PHdlDevJora, jora::CFGDEVJora_CAPMASEn), 0);

    rt::SetCtrlVal(PHandleMNDevCtrl, pykc::MNDEVCTRL_CSPDIFMASEn, 1);
    FlagCFGUpdate = 0;
    Commit(PHandleMNDevCtrl, pykc::MNDEVCTRL_CUSBI2SEn, 1);
    EXPECT_EQ(FlagCFGUpdate, 0);
    EXPECT_EQ(CtrlInt(PHandleMNDevCtrl, pykc::MNDEVCTRL_CSPDIFMASEn), 0);
}

TEST_F(BoardConfigTest, DigitalAudioResetClearsAndDimsTheDigitalAudioBoxes) {
    const int p = PHandleSTDevCtrlZuta;
    rt::SetCtrlVal(p, zuta::CFGDEVZuta_CSPDIFMASEn, 1);
    Commit(p, zuta::CFGDEVZuta_CDigitalReset, 1);
    EXPECT_EQ(CtrlInt(p, zuta::CFGDEVZuta_CSPDIFMASEn), 0);
    EXPECT_TRUE(Dimmed(p, zuta::CFGDEVZuta_CSPDIFMASEn));
    EXPECT_TRUE(Dimmed(p, zuta::CFGDEVZuta_CSPDIFSLAVEEn));
    Commit(p, zuta::CFGDEVZuta_CDigitalReset, 0);
    EXPECT_FALSE(Dimmed(p, zuta::CFGDEVZuta_CSPDIFMASEn));
    EXPECT_FALSE(Dimmed(p, zuta::CFGDEVZuta_CSPDIFSLAVEEn));
    EXPECT_TRUE(Received().empty());
}

// ---- Qevb board block on the demo panel ----------------------------------------------------

TEST_F(BoardConfigTest, QevbTakesItsInterfaceFromTheModeMenu) {
    Choose(MENUBAR_DEVICE_StereoQevb);
    const int p = PHdlDemoQevb;
    Menu(MENUBAR_MODE_SPI3WMode);
    EXPECT_EQ(CtrlInt(p, qevb::STDemo_STModeSelect), 1);
    EXPECT_TRUE(Dimmed(p, qevb::STDemo_STModeSelect));
    EXPECT_EQ(Reports(), (std::vector<Report>{{0x34, 0x00, 0x02, 0x17, 0x1F}, {0x54, 0x00, 0x02, 0x0F, 0x00}}));
    EXPECT_EQ(CommMode, COMM_SPI3W);

    // The interface operations act only while their menu item carries the mark.
    Forget();
    EXPECT_EQ(ST4WSPIModeEnCBQevb(p, 0, rt::EVENT_COMMIT, nullptr, 0, 0), 0);
    EXPECT_TRUE(Received().empty());

    // "External Control" frees "Set Mode Pin High", which then runs Config Board on commit.
    Commit(p, qevb::STDemo_STExternalCtrl, 1);
    EXPECT_FALSE(Dimmed(p, qevb::STDemo_STModeSelect));
    EXPECT_TRUE(Received().empty());
    Commit(p, qevb::STDemo_STModeSelect, 0);
    EXPECT_EQ(BoardWords(), (std::vector<std::vector<uint8_t>>{{0x35, 0x1F}}));

    // Only USB I2S and the digital-audio master exclude each other here.
    rt::SetCtrlVal(p, qevb::STDemo_CUSBI2SEn, 1);
    rt::SetCtrlVal(p, qevb::STDemo_CAPMASEn, 1);
    Commit(p, qevb::STDemo_CSPDIFMASEn, 1);
    EXPECT_EQ(CtrlInt(p, qevb::STDemo_CUSBI2SEn), 0);
    EXPECT_EQ(CtrlInt(p, qevb::STDemo_CAPMASEn), 1);
    Commit(p, qevb::STDemo_CUSBI2SEn, 1);
    EXPECT_EQ(CtrlInt(p, qevb::STDemo_CSPDIFMASEn), 0);
}

// A Config Board the board refuses points to "Read All and Update" only where the loaded model
// shows a register map and its mode reads: Qevb's only tab is its demo, 3-wire SPI and write-only
// mode refuse every read. The board block's own words stay, "Config Board" is on every panel.
TEST_F(BoardConfigTest, ARefusedConfigBoardPointsToTheRegisterMapOnlyWhereItReadsBack) {
    const std::string stopped =
        "\"Config Board\" stopped: the board refused the board configuration word, and nothing after it was sent.";
    const std::string boardWords =
        "\n\nThe evaluation board may not have the settings the panel shows; \"Config Board\" sends them again.";
    struct Case {
        const char* what;
        int model;
        int modeItem;
        bool writeOnly;
        std::string closing;
    };
    const Case cases[] = {
        {"Qevb", MENUBAR_DEVICE_StereoQevb, MENUBAR_MODE_I2CMode, false, "\n\nThe chip may now differ from the panels."},
        {"Jorb under I2C", MENUBAR_DEVICE_StereoJorb, MENUBAR_MODE_I2CMode, false, testsupport::kPanelsMayDiffer},
        {"Jorb under 3-wire SPI", MENUBAR_DEVICE_StereoJorb, MENUBAR_MODE_SPI3WMode, false,
         "\n\nThe chip may now differ from the panels."},
        {"Jorb in write-only mode", MENUBAR_DEVICE_StereoJorb, MENUBAR_MODE_I2CMode, true,
         "\n\nThe chip may now differ from the panels."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Choose(c.model);
        Menu(c.modeItem);
        if (c.writeOnly) Menu(MENUBAR_MODE_WriteOnly_Mode);
        Forget();
        board->SetFaults(boardhid::RefuseOneSend());
        if (c.model == MENUBAR_DEVICE_StereoQevb)
            Press(PHdlDemoQevb, qevb::STDemo_BConfigBoard);
        else
            Press(PHandleSTDevCtrl, jorb::CFGDEVJorb_BConfigBoard);
        EXPECT_TRUE(Received().empty());
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_EQ(prompter.shown[0].title, "Warning -- Operation aborted");
        EXPECT_EQ(prompter.shown[0].text, stopped + c.closing + boardWords);
        board->SetFaults({});
        if (c.writeOnly) Menu(MENUBAR_MODE_WriteOnly_Mode);
    }
}

TEST_F(BoardConfigTest, EnableCommModeQevbWithModeZeroTicksExternalControl) {
    CommMode = 0;
    EnableCommModeQevb();
    EXPECT_EQ(CtrlInt(PHdlDemoQevb, qevb::STDemo_STExternalCtrl), 1);
    EXPECT_TRUE(Received().empty());
}

}  // namespace
