// The emulated board set up from the environment (chip and fault), through the exports of
// libboardhid.so loaded by name. The variables are read when the library is loaded, so each
// scenario is a program of its own: EMULATOR_SCENARIO 1 is a mono chip with an unconfirmed audio
// id whose third reply is lost, 2 a board taken away during the send after its first two, 3 a
// board that refuses two sends after its first two.
#include <algorithm>
#include <cstdlib>
#include <optional>

#include <gtest/gtest.h>

#include "board_library.h"
#include "boardhid/emulator_control.h"

namespace {

using Bytes = std::vector<uint8_t>;
using boardhid_test::BoardLibrary;

BoardLibrary lib;
boardhid::EmulatedBoard* board = nullptr;
std::string loadError;

class LibraryEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        setenv("BOARDHID_BACKEND", "emulator", 1);
#if EMULATOR_SCENARIO == 1
        setenv("BOARDHID_EMULATOR_CHIP", "mono", 1);
        setenv("BOARDHID_EMULATOR_AUDIOID", "unconfirmed", 1);
        setenv("BOARDHID_EMULATOR_FAULT", "drop", 1);
        setenv("BOARDHID_EMULATOR_FAULT_AFTER", "2", 1);
#elif EMULATOR_SCENARIO == 2
        setenv("BOARDHID_EMULATOR_FAULT", "unplug", 1);
        setenv("BOARDHID_EMULATOR_FAULT_AFTER", "2", 1);
#else
        setenv("BOARDHID_EMULATOR_FAULT", "failsend", 1);
        setenv("BOARDHID_EMULATOR_FAULT_AFTER", "2", 1);
        setenv("BOARDHID_EMULATOR_FAULT_COUNT", "2", 1);
#endif
        loadError = lib.Load();
        board = boardhid::FindEmulatedBoard();
    }
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);

class EmulatorEnvironmentTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(loadError, "");
        ASSERT_NE(board, nullptr);
        event_ = os::CreateEvent(BOARDHID_INPUT_EVENT, true, false);
        ASSERT_NE(event_, nullptr);
    }
    void TearDown() override {
        lib.CloseDevice();
        os::CloseEvent(event_);
    }
    void Open() {
        os::ResetEvent(event_);
        ASSERT_EQ(lib.OpenDevice(2, 1, 0), 1);
    }
    // Sends a single-register read (I2C) and returns whether the send went out.
    static bool AskRegister(int reg) {
        const Bytes report = {0xD0, 0, 1, static_cast<uint8_t>(reg)};
        return lib.SendData(static_cast<int>(report.size()), report.data()) == 1;
    }
    // The next reply as the register and value it carries.
    std::optional<std::pair<int, int>> Reply() {
        if (os::WaitForEvent(event_, 1000) != os::WAIT_OBJECT_0) return std::nullopt;
        os::ResetEvent(event_);
        unsigned char buffer[64] = {};
        if (lib.GetDataLength() != 2 || lib.GetData(buffer) != 2) return std::nullopt;
        return std::make_pair(buffer[0] >> 1, ((buffer[0] & 1) << 8) | buffer[1]);
    }
    os::EventHandle event_ = nullptr;
};

#if EMULATOR_SCENARIO == 1

// A mono chip answers 0xFE from register 62 and 0 from register 95; the third reply is lost,
// the others come. A reset of the board brings the same set-up back.
TEST_F(EmulatorEnvironmentTest, MonoChipLosesItsThirdReply) {
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        Open();
        ASSERT_TRUE(AskRegister(62));
        EXPECT_EQ(Reply(), std::make_pair(62, 0xFE));
        ASSERT_TRUE(AskRegister(6));
        EXPECT_EQ(Reply(), std::make_pair(6, 0x140));
        ASSERT_TRUE(AskRegister(4));  // lost
        ASSERT_TRUE(AskRegister(5));
        EXPECT_EQ(Reply(), std::make_pair(5, 0));
        ASSERT_TRUE(AskRegister(0x5F));
        EXPECT_EQ(Reply(), std::make_pair(95, 0));
        EXPECT_EQ(board->SentReplies().size(), 4u);
        EXPECT_EQ(board->CodecRegister(62), 0xFE);
        board->Reset();
    }
}

#elif EMULATOR_SCENARIO == 2

// After two good sends the board goes away during the next one: the send fails, the board is
// no longer plugged, and it opens again once plugged back.
TEST_F(EmulatorEnvironmentTest, BoardIsTakenAwayAfterTwoSends) {
    Open();
    ASSERT_TRUE(AskRegister(62));
    EXPECT_EQ(Reply(), std::make_pair(62, 0xFD));  // a stereo chip by default
    ASSERT_TRUE(AskRegister(0x5F));
    EXPECT_EQ(Reply(), std::make_pair(95, 0x1A));  // whose audio id needs no probe
    EXPECT_FALSE(AskRegister(4));
    EXPECT_EQ(lib.IsDevicePlugged(), 0);
    EXPECT_EQ(lib.OpenDevice(2, 1, 0), 0);
    board->Plug();
    Open();
    ASSERT_TRUE(AskRegister(4));
    EXPECT_EQ(Reply(), std::make_pair(4, 0x50));
}

#else

// The two sends after the first two are refused; sends are counted whether they are answered or
// not (the first is a write), and the board stays plugged and answers again after them.
TEST_F(EmulatorEnvironmentTest, TwoSendsAreRefusedAfterTwoGoodOnes) {
    Open();
    const Bytes write = {0xD4, 0, 2, 4 << 1, 0x55};
    EXPECT_EQ(lib.SendData(static_cast<int>(write.size()), write.data()), 1);
    ASSERT_TRUE(AskRegister(4));
    EXPECT_EQ(Reply(), std::make_pair(4, 0x55));
    EXPECT_FALSE(AskRegister(62));
    EXPECT_FALSE(AskRegister(62));
    EXPECT_EQ(lib.IsDevicePlugged(), 1);
    ASSERT_TRUE(AskRegister(62));
    EXPECT_EQ(Reply(), std::make_pair(62, 0xFD));
    EXPECT_EQ(board->ReceivedReports().size(), 3u);
}

#endif

}  // namespace
