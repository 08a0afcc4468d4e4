// Codec register writes and reads through the emulated board: the bytes on the wire, the
// mode guards and their popups, the bulk transfers and their progress steps.
#include <gmock/gmock.h>
#include "link_test_support.h"
#include "link/chip_operation.h"
#include "link/write_action.h"
#include "shell/progress.h"
#include "tests/support/popup_texts.h"

using namespace linktest;

using CodecWriteTest = LinkTest;
using CodecReadTest = LinkTest;

TEST_F(CodecWriteTest, OneRegisterGoesOutAsAPair) {
    CFG_REG[11] = 0x1FF;
    ZelqxWriteOneReg(11);
    auto r = Received();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0], (Report{0xD4, 0x00, 0x02, 0x17, 0xFF}));
    EXPECT_EQ(board->CodecRegister(11), 0x1FF);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
}

TEST_F(CodecWriteTest, UpperBitsAboveNineAreDropped) {
    CFG_REG[12] = 0xE34;
    ZelqxWriteOneReg(12);
    auto r = Received();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0], (Report{0xD4, 0x00, 0x02, 0x18, 0x34}));
}

TEST_F(CodecWriteTest, FramingFollowsTheCommunicationMode) {
    CFG_REG[5] = 0x101;
    CommMode = COMM_SPI4W;
    ZelqxWriteOneReg(5);
    CommMode = COMM_SPI3W;
    ZelqxWriteOneReg(5);
    auto r = Received();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0][0], 0x94);
    EXPECT_EQ(r[1][0], 0x54);
    EXPECT_EQ(r[0][3], 0x0B);
}

TEST_F(CodecWriteTest, RegisterSevenBitEightIsRefusedUnderI2C) {
    CFG_REG[7] = 0x100;
    FlagCFGUpdate = 0;
    ZelqxWriteOneReg(7);
    EXPECT_TRUE(Received().empty());
    EXPECT_EQ(CFG_REG[7], 0u);
    EXPECT_EQ(FlagCFGUpdate, 1);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "Warning -- Operation aborted");
    EXPECT_EQ(prompter.shown[0].text.rfind("Currently you are under I2C communication mode\n", 0), 0u);
    EXPECT_NE(prompter.shown[0].text.find("you are trying to write 1 to R7[8]"), std::string::npos);

    // The same write is sent under either SPI mode.
    CFG_REG[7] = 0x100;
    CommMode = COMM_SPI4W;
    ZelqxWriteOneReg(7);
    CommMode = COMM_SPI3W;
    ZelqxWriteOneReg(7);
    auto r = Received();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0], (Report{0x94, 0x00, 0x02, 0x0F, 0x00}));
    EXPECT_EQ(r[1][0], 0x54);
}

TEST_F(CodecWriteTest, ResetUnderFourWireSpiAsksFirst) {
    CommMode = COMM_SPI4W;
    CFG_REG[0] = 0x000;
    prompter.yesNoAnswers = {false, true};
    ZelqxWriteOneReg(0);
    EXPECT_TRUE(Received().empty());
    ZelqxWriteOneReg(0);
    auto r = Received();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0], (Report{0x94, 0x00, 0x02, 0x00, 0x00}));
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].kind, "yesno");
    EXPECT_EQ(prompter.shown[0].title, "Warning -- It is not safe to reset device under SPI 4 wire mode");

    // Under I2C and 3-wire SPI a reset goes out without a question.
    prompter.shown.clear();
    CommMode = COMM_I2C;
    ZelqxWriteOneReg(0);
    CommMode = COMM_SPI3W;
    ZelqxWriteOneReg(0);
    EXPECT_EQ(Received().size(), 3u);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
}

TEST_F(CodecWriteTest, RegistersBeyondWhatAPairCarriesAreRefused) {
    board->SetCodecRegister(0, 0x0A3);
    CFG_REG[200] = 0x55;
    CFG_REG[128] = 0x55;
    EXPECT_EQ(ZelqxWriteOneReg(128), 0);
    EXPECT_EQ(ZelqxWriteOneReg(200), 0);
    EXPECT_EQ(ZelqxWriteOneReg(-1), 0);
    EXPECT_EQ(ZelqxWriteOneReg(300), 0);
    EXPECT_TRUE(Received().empty());
    // The low registers they would have aliased onto are untouched on the chip.
    EXPECT_EQ(board->CodecRegister(0), 0x0A3);
    EXPECT_EQ(board->CodecRegister(72), 0);
}

TEST_F(CodecWriteTest, BulkWriteSendsThreeBlocksAndSixProgressSteps) {
    for (int r = 1; r <= 63; ++r) CFG_REG[r] = static_cast<uint32_t>((r * 7) & 0x1FF);
    CFG_REG[7] = 0;  // I2C needs R7[8] clear
    StartProgressBar("Loading", 6);
    ZelqxWriteAllReg(0, nullptr);
    EXPECT_EQ(ProgressCurrentStep(), 6);

    auto r = Received();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ((Report{r[0].begin(), r[0].begin() + 3}), (Report{0xD5, 0x00, 48}));
    EXPECT_EQ((Report{r[1].begin(), r[1].begin() + 3}), (Report{0xD6, 0x00, 48}));
    EXPECT_EQ((Report{r[2].begin(), r[2].begin() + 3}), (Report{0xD7, 0x00, 30}));
    EXPECT_EQ(r[2].size(), 33u);
    // Register 62 is the chip's read-only identity.
    for (int reg = 1; reg <= 63; ++reg) {
        if (reg == 62) continue;
        EXPECT_EQ(board->CodecRegister(reg), CFG_REG[reg]) << "register " << reg;
    }
    // One second after each block.
    int waited = 0;
    for (int ms : sleeps) waited += ms;
    EXPECT_GE(waited, 3000);
}

TEST_F(CodecWriteTest, BulkWriteRefusesAModeConflict) {
    CommMode = COMM_SPI4W;
    CFG_REG[7] = 0;
    ZelqxWriteAllReg(0, nullptr);
    CommMode = COMM_I2C;
    CFG_REG[7] = 0x100;
    ZelqxWriteAllReg(0, nullptr);
    EXPECT_TRUE(Received().empty());
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].text.rfind("Currently you are under SPI 4 wire Communication mode. \n", 0), 0u);
    EXPECT_EQ(prompter.shown[1].text.rfind("Currently you are under I2C communication mode\n", 0), 0u);
    EXPECT_EQ(CFG_REG[7], 0x100u);  // the bulk guard leaves the copy alone
}

TEST_F(CodecWriteTest, RegisterThirtyFourBitEightIsHeldBackAndWrittenLast) {
    CFG_REG[7] = 0;
    CFG_REG[32] = 0x180 | 0x38;
    CFG_REG[34] = 0x100 | 0x32;
    ZelqxWriteAllReg(1, "Writing");
    auto r = Received();
    ASSERT_EQ(r.size(), 4u);
    // Register 34 is pair 10 of the second block (registers 25 to 48).
    int offset = 3 + 2 * (34 - 25);
    EXPECT_EQ(r[1][offset], (34 << 1));
    EXPECT_EQ(r[1][offset + 1], 0x32);
    EXPECT_EQ(r[3], (Report{0xD4, 0x00, 0x02, (34 << 1) | 1, 0x32}));
    EXPECT_EQ(CFG_REG[34], 0x132u);
    EXPECT_EQ(board->CodecRegister(34), 0x132);

    // The board refuses the second block, or the last: the write fails, nothing after it goes
    // out (not the held-back bit either, which the copy keeps), and the refusal is told once.
    // (R34 travels in the second block, with its bit 8 held back.) Jorb is loaded: its register
    // map reads the chip back.
    UILoaded = UI_JORB;
    const struct { int refused; const char* what; int r34; } rounds[] = {{1, "the block write of R25 to R48", 0},
                                                                       {2, "the block write of R49 to R63", 0x32}};
    for (const auto& round : rounds) {
        SCOPED_TRACE(round.what);
        board->ClearReceivedReports();
        board->SetCodecRegister(34, 0);
        prompter.shown.clear();
        board->SetFaults(boardhid::RefuseOneSend(round.refused));
        EXPECT_EQ(ZelqxWriteAllReg(0, nullptr), 0);
        EXPECT_EQ(Received().size(), static_cast<size_t>(round.refused));
        EXPECT_EQ(CFG_REG[34], 0x132u);
        EXPECT_EQ(board->CodecRegister(34), round.r34);
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_EQ(prompter.shown[0].title, "Warning -- Operation aborted");
        EXPECT_EQ(prompter.shown[0].text, "\"Write all registers\" stopped: the board refused " +
                                              std::string(round.what) + ", and nothing after it was sent." +
                                              testsupport::kPanelsMayDiffer);
    }
}

// An action the board stops puts back only registers that did not reach the chip, each to what
// the chip holds: a register an inner action sent keeps the inner action's value.
TEST_F(CodecWriteTest, AStoppedActionPutsBackOnlyWhatDidNotReachTheChip) {
    CFG_REG[5] = 0x011;
    CFG_REG[6] = 0x022;
    UILoaded = UI_JORB;
    board->SetFaults(boardhid::RefuseOneSend(1));
    {
        WriteAction outer("Outer");
        {
            WriteAction inner("Inner");
            CFG_REG[5] = 0x055;
            EXPECT_TRUE(inner.Send(5));
        }
        CFG_REG[6] = 0x066;
        EXPECT_FALSE(outer.Send(6));
        CFG_REG[5] = 0x077;
        EXPECT_FALSE(outer.Send(5));
    }
    EXPECT_EQ(CFG_REG[5], 0x055u);
    EXPECT_EQ(CFG_REG[6], 0x022u);
    EXPECT_EQ(board->CodecRegister(5), 0x055);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text,
              "\"Outer\" stopped: the board refused the write of R6, and nothing after it was sent.\n\nThe chip "
              "may now differ from the panels. Reading the registers back (\"Read All and Update\" on the register "
              "map) reconciles them.");
}

TEST_F(CodecReadTest, SingleReadReturnsTheNineBitValue) {
    board->SetCodecRegister(21, 0x12A);
    EXPECT_EQ(ReadZelqxOneReg(21), 0x12A);
    auto r = Received();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0], (Report{0xD0, 0x00, 0x01, 21}));
    // wbDelay(1.0): ten sleeps of 11 ms.
    ASSERT_EQ(sleeps.size(), 10u);
    EXPECT_EQ(sleeps[0], 11);
}

TEST_F(CodecReadTest, FailedOrRefusedReadsGiveMinusOne) {
    boardhid::FaultPlan plan;
    plan.dropReplies = 1;
    board->SetFaults(plan);
    EXPECT_EQ(ReadZelqxOneReg(4), -1);
    plan = {};
    plan.shortReplies = 1;
    board->SetFaults(plan);
    EXPECT_EQ(ReadZelqxOneReg(4), -1);
    board->ClearReceivedReports();
    EXPECT_EQ(ReadZelqxOneReg(128), -1);
    EXPECT_EQ(ReadZelqxOneReg(255), -1);
    EXPECT_TRUE(Received().empty());
}

TEST_F(CodecReadTest, BulkReadFillsTheDestination) {
    for (int r = 0; r <= 63; ++r) board->SetCodecRegister(r, static_cast<uint16_t>((r * 13 + 1) & 0x1FF));
    int dest[63] = {};
    CFG_REG[0] = 0;
    ASSERT_EQ(ReadZelqxAllReg(dest), 1);
    for (int i = 0; i < 63; ++i) EXPECT_EQ(dest[i], ((i + 1) * 13 + 1) & 0x1FF) << "register " << i + 1;
    EXPECT_EQ(CFG_REG[0], 1u);  // register 0 read first, through the register map
    auto r = Received();
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0], (Report{0xD0, 0x00, 0x01, 0x00}));
    EXPECT_EQ(r[1], (Report{0xD1, 0x00, 0x00}));
    EXPECT_EQ(r[2], (Report{0xD2, 0x00, 0x00}));
    EXPECT_EQ(r[3], (Report{0xD3, 0x00, 0x00}));
}

TEST_F(CodecReadTest, BulkReadWithAShortReplyLeavesTheDestinationUntouched) {
    int dest[63];
    for (int& d : dest) d = -7;
    // Register 0 and the first block answer normally; the second block comes back 47 bytes long.
    boardhid::FaultPlan plan;
    plan.faultAfterReplies = 2;
    plan.shortReplies = 1;
    board->SetFaults(plan);
    EXPECT_EQ(ReadZelqxAllReg(dest), 0);
    for (int d : dest) EXPECT_EQ(d, -7);
    EXPECT_EQ(Received().size(), 3u);  // the third block is not asked for
}

TEST_F(CodecReadTest, FailedRegisterZeroReadKeepsTheCopy) {
    CFG_REG[0] = 0x44;
    boardhid::FaultPlan plan;
    plan.dropReplies = 1;
    board->SetFaults(plan);
    int dest[63];
    EXPECT_EQ(ReadZelqxAllReg(dest), 1);
    EXPECT_EQ(CFG_REG[0], 0x44u);
}
