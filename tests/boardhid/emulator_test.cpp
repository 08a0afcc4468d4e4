// The emulated board, driven through the exports of libboardhid.so loaded by name.
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "board_library.h"
#include "boardhid/emulator_control.h"

namespace {

using Bytes = std::vector<uint8_t>;
using boardhid::EmulatedBoard;
using boardhid::FaultPlan;
using boardhid_test::BoardLibrary;

// The codec's reset state, registers 0 to 63.
constexpr uint16_t kStart[64] = {
    0,     0,    0,     0,    0x50, 0,    0x140, 0,    0,    0,    0,    0xFF, 0xFF,  0,    0x100, 0xFF,
    0xFF,  0,    0x12C, 0x2C, 0x2C, 0x2C, 0x2C,  0,    0x32, 0,    0,    0,    0,     0,    0,     0,
    0x38,  0x0B, 0x32,  0x10, 0x08, 0x0C, 0x93,  0xE9, 0,    0,    0,    0,    0x33,  0x10, 0x10,  0x100,
    0x100, 0x02, 0x01,  0x01, 0x39, 0x39, 0x39,  0x39, 0x01, 0x01, 0,    0,    0x20,  0,    0,     0x1A,
};

Bytes Pair(int reg, uint16_t value) {
    return {static_cast<uint8_t>(((reg << 1) | (value >> 8)) & 0xFF), static_cast<uint8_t>(value & 0xFF)};
}

Bytes Report(uint8_t command, const Bytes& payload = {}) {
    Bytes r(3 + payload.size());
    r[0] = command;
    r[1] = static_cast<uint8_t>(payload.size() >> 8);
    r[2] = static_cast<uint8_t>(payload.size() & 0xFF);
    std::copy(payload.begin(), payload.end(), r.begin() + 3);
    return r;
}

// Loads the library once for the whole program, with its trace going to a file of its own:
// BOARDHID_TRACE and BOARDHID_BACKEND are read when the library is loaded.
class LibraryEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        tracePath = "/tmp/boardhid-trace-" + std::to_string(getpid()) + ".log";
        std::remove(tracePath.c_str());
        setenv("BOARDHID_TRACE", tracePath.c_str(), 1);
        setenv("BOARDHID_BACKEND", "emulator", 1);
        loadError = lib.Load();
        board = boardhid::FindEmulatedBoard();
    }
    void TearDown() override { std::remove(tracePath.c_str()); }

    static inline BoardLibrary lib;
    static inline EmulatedBoard* board = nullptr;
    static inline std::string loadError;
    static inline std::string tracePath;
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);

class EmulatedBoardTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(loadError_, "");
        ASSERT_NE(board_, nullptr) << "the emulated board is not published";
        board_->Reset();
        event_ = os::CreateEvent(BOARDHID_INPUT_EVENT, true, false);
        ASSERT_NE(event_, nullptr);
        os::ResetEvent(event_);
        ASSERT_EQ(lib_.OpenDevice(2, 1, 0), 1);
    }

    void TearDown() override {
        if (lib_.CloseDevice != nullptr) lib_.CloseDevice();
        if (event_ != nullptr) os::CloseEvent(event_);
    }

    static int Send(const Bytes& report) {
        return lib_.SendData(static_cast<int>(report.size()), report.data());
    }

    // Fetches the next input report the way the program's listener does; nullopt when none
    // comes within the time or its length is not fetchable.
    std::optional<Bytes> Receive(int timeoutMs = 5000) {
        if (os::WaitForEvent(event_, timeoutMs) != os::WAIT_OBJECT_0) return std::nullopt;
        os::ResetEvent(event_);
        const int n = lib_.GetDataLength();
        if (n < 1 || n > 64) return std::nullopt;
        unsigned char buffer[64] = {};
        const int copied = lib_.GetData(buffer);
        EXPECT_EQ(copied, n);
        return Bytes(buffer, buffer + n);
    }

    Bytes Ask(uint8_t command, const Bytes& payload = {}) {
        EXPECT_EQ(Send(Report(command, payload)), 1);
        return Receive().value_or(Bytes{});
    }

    // Success when nothing sent before has a reply coming: the board answers in order, so a probe
    // (a read of register 63) sent now is answered first. Prints what came instead.
    ::testing::AssertionResult NothingArrives() {
        const Bytes expected = Pair(63, board_->CodecRegister(63));
        if (Send(Report(0xD0, {63})) != 1) return ::testing::AssertionFailure() << "the probe was refused";
        const std::optional<Bytes> got = Receive(5000);
        if (got == expected) return ::testing::AssertionSuccess();
        ::testing::AssertionResult failure = ::testing::AssertionFailure();
        failure << "before the probe's reply came:";
        if (!got) failure << " nothing fetchable";
        for (uint8_t b : got.value_or(Bytes{})) failure << ' ' << std::hex << int(b);
        return failure;
    }
    // Waits until the board has made `count` replies pending (a generous bound, failing only
    // when they never come).
    bool RepliesMade(size_t count) {
        for (int i = 0; i < 5000 && board_->SentReplies().size() < count; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return board_->SentReplies().size() >= count;
    }

    static Bytes StartPairs(int first, int last) {
        Bytes out;
        for (int r = first; r <= last; ++r) {
            const Bytes p = Pair(r, r == 62 ? 0xFD : kStart[r]);
            out.insert(out.end(), p.begin(), p.end());
        }
        return out;
    }

    static inline BoardLibrary& lib_ = LibraryEnvironment::lib;
    static inline EmulatedBoard*& board_ = LibraryEnvironment::board;
    static inline std::string& loadError_ = LibraryEnvironment::loadError;
    static inline std::string& tracePath_ = LibraryEnvironment::tracePath;
    os::EventHandle event_ = nullptr;
};

// ---- the library -------------------------------------------------------------------------

TEST(BoardLibraryExports, ExactlyTheNineOperations) {
    ASSERT_EQ(LibraryEnvironment::loadError, "");  // all nine bound by name

    const std::string path = os::ExecutableDir() + "/libboardhid.so";
    if (std::system("command -v nm >/dev/null 2>&1") != 0) GTEST_SKIP() << "nm is not installed";
    FILE* pipe = popen(("nm -D --defined-only '" + path + "'").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::vector<std::string> names;
    char line[512];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        std::istringstream fields(line);
        std::string address, type, name;
        fields >> address >> type >> name;
        if (!name.empty()) names.push_back(name);
    }
    ASSERT_EQ(pclose(pipe), 0);
    std::sort(names.begin(), names.end());
    const std::vector<std::string> expected = {"CloseDevice",       "GetData",         "GetDataLength",
                                               "HandleDeviceChange", "IsDevicePlugged", "OpenDevice",
                                               "SendData",          "StartDevDetection", "StopDevDetection"};
    EXPECT_EQ(names, expected);
}

// ---- codec register reads ----------------------------------------------------------------

TEST_F(EmulatedBoardTest, SingleReadAnswersWithTheRegisterPair) {
    EXPECT_EQ(Ask(0xD0, {6}), Pair(6, 0x140));
    EXPECT_EQ(Ask(0xD0, {18}), Pair(18, 0x12C));
    EXPECT_EQ(Ask(0x90, {11}), Pair(11, 0xFF));  // 4-wire SPI reads too
    EXPECT_EQ(Ask(0xD0, {100}), Pair(100, 0));
    EXPECT_EQ(board_->SentReplies().size(), 4u);
}

TEST_F(EmulatedBoardTest, BlockReadsAnswerRegisters1To63InThreeReplies) {
    const Bytes first = Ask(0xD1);
    const Bytes second = Ask(0xD2);
    const Bytes third = Ask(0x93);
    EXPECT_EQ(first.size(), 48u);
    EXPECT_EQ(second.size(), 48u);
    EXPECT_EQ(third.size(), 30u);
    EXPECT_EQ(first, StartPairs(1, 24));
    EXPECT_EQ(second, StartPairs(25, 48));
    EXPECT_EQ(third, StartPairs(49, 63));
}

TEST_F(EmulatedBoardTest, ThreeWireSpiReadsGetNoReplyButWritesApply) {
    for (uint8_t command : {0x50, 0x51, 0x52, 0x53}) {
        ASSERT_EQ(Send(Report(command, command == 0x50 ? Bytes{6} : Bytes{})), 1);
        EXPECT_TRUE(NothingArrives()) << "command " << int(command);
    }
    ASSERT_EQ(Send(Report(0x54, Pair(7, 0x100))), 1);
    EXPECT_EQ(board_->CodecRegister(7), 0x100);
    EXPECT_EQ(Ask(0xD0, {7}), Pair(7, 0x100));
}

// ---- codec register writes ---------------------------------------------------------------

TEST_F(EmulatedBoardTest, WriteOneThenReadBack) {
    ASSERT_EQ(Send(Report(0xD4, {0x17, 0xFF})), 1);
    EXPECT_TRUE(NothingArrives());
    EXPECT_EQ(board_->CodecRegister(11), 0x1FF);
    EXPECT_EQ(Ask(0xD0, {11}), Pair(11, 0x1FF));
    EXPECT_EQ(board_->ReceivedReports().front(), (Bytes{0xD4, 0x00, 0x02, 0x17, 0xFF}));
}

TEST_F(EmulatedBoardTest, BlockWritesApplyEachPairToTheRegisterItNames) {
    Bytes block;  // registers 1 to 24, as the bulk write sends them
    for (int r = 1; r <= 24; ++r) {
        const Bytes p = Pair(r, static_cast<uint16_t>(r * 20));
        block.insert(block.end(), p.begin(), p.end());
    }
    ASSERT_EQ(Send(Report(0xD5, block)), 1);
    EXPECT_TRUE(NothingArrives());
    EXPECT_EQ(Ask(0xD1), block);

    Bytes zutb;  // 15 pairs with the 0x16 code, registers of the loader's own numbering
    for (int r = 64; r < 79; ++r) {
        const Bytes p = Pair(r, static_cast<uint16_t>(0x1F0 - r));
        zutb.insert(zutb.end(), p.begin(), p.end());
    }
    ASSERT_EQ(zutb.size(), 30u);
    ASSERT_EQ(Send(Report(0xD6, zutb)), 1);
    EXPECT_TRUE(NothingArrives());
    for (int r = 64; r < 79; ++r) EXPECT_EQ(board_->CodecRegister(r), 0x1F0 - r) << "register " << r;
    EXPECT_EQ(Ask(0xD0, {70}), Pair(70, 0x1F0 - 70));
}

TEST_F(EmulatedBoardTest, WritingRegister0ResetsTheRegisterFile) {
    ASSERT_EQ(Send(Report(0xD4, Pair(6, 0x1AB))), 1);
    ASSERT_EQ(Send(Report(0xD4, Pair(90, 0x33))), 1);
    board_->SetCodecRegister(40, 0x77);
    ASSERT_EQ(Send(Report(0xD4, Pair(0, 0x123))), 1);
    EXPECT_TRUE(NothingArrives());
    for (int r = 0; r < 64; ++r)
        EXPECT_EQ(board_->CodecRegister(r), r == 62 ? 0xFD : kStart[r]) << "register " << r;
    EXPECT_EQ(board_->CodecRegister(90), 0);
    EXPECT_EQ(Ask(0xD0, {6}), Pair(6, 0x140));
}

// ---- identity, audio id, firmware date ---------------------------------------------------

TEST_F(EmulatedBoardTest, IdentityDefaultsToAStereoBoardAndIsReadOnly) {
    EXPECT_EQ(Ask(0xD0, {0x3E}), Pair(62, 0xFD));
    EXPECT_EQ(Ask(0xD0, {0x5F}), Pair(95, 0x1A));  // needs no audio-id probe at start
    board_->SetIdentity(0xFE, 0x00);
    EXPECT_EQ(Ask(0xD0, {0x3E}), Pair(62, 0xFE));
    EXPECT_EQ(Ask(0x90, {0x5F}), Pair(95, 0x00));

    ASSERT_EQ(Send(Report(0xD4, Pair(62, 0))), 1);
    ASSERT_EQ(Send(Report(0xD4, Pair(95, 0))), 1);
    ASSERT_EQ(Send(Report(0xD7, StartPairs(49, 63))), 1);  // a bulk write carries 62 too
    ASSERT_EQ(Send(Report(0xD4, Pair(0, 0))), 1);
    EXPECT_EQ(Ask(0xD0, {0x3E}), Pair(62, 0xFE));
    EXPECT_EQ(Ask(0xD0, {0x5F}), Pair(95, 0x00));
}

TEST_F(EmulatedBoardTest, AudioIdProbeIsASingleReadOfRegister63) {
    EXPECT_EQ(Ask(0xD0, {0x3F}), (Bytes{0x7E, 0x1A}));
    board_->SetCodecRegister(63, 0x155);
    EXPECT_EQ(Ask(0xD0, {0x3F}), (Bytes{0x7F, 0x55}));
}

TEST_F(EmulatedBoardTest, FirmwareDateIs20BytesNamingTheBoard) {
    const Bytes reply = Ask(0x20);
    ASSERT_EQ(reply.size(), 20u);
    const std::string text(reply.begin(), reply.end());
    EXPECT_EQ(text, board_->FirmwareDate());
    EXPECT_NE(text.find("emulator"), std::string::npos) << text;
}

// ---- bridge commands ---------------------------------------------------------------------

TEST_F(EmulatedBoardTest, BridgeRegisterWriteThenRead) {
    EXPECT_EQ(Ask(0x30, {0x14, 0x70}), Bytes{0x00});
    ASSERT_EQ(Send(Report(0x31, {0x14, 0x70, 0x85})), 1);
    ASSERT_EQ(Send(Report(0x31, {0x14, 0x40, 0x11})), 1);
    ASSERT_EQ(Send(Report(0x31, {0x1F, 0xFF, 0x22})), 1);
    EXPECT_TRUE(NothingArrives());
    EXPECT_EQ(Ask(0x30, {0x14, 0x70}), Bytes{0x85});
    EXPECT_EQ(Ask(0x30, {0x14, 0x40}), Bytes{0x11});
    EXPECT_EQ(Ask(0x30, {0x1F, 0xFF}), Bytes{0x22});
    EXPECT_EQ(board_->BridgeRegister(0x1470), 0x85);
    board_->SetBridgeRegister(0x14A0, 0x5A);
    EXPECT_EQ(Ask(0x30, {0x14, 0xA0}), Bytes{0x5A});
}

TEST_F(EmulatedBoardTest, MaskedWriteKeepsTheMaskedBits) {
    board_->SetBridgeRegister(0x1470, 0x85);
    ASSERT_EQ(Send(Report(0x39, {0x14, 0x70, 0xF8, 0x07})), 1);  // bit clock 7
    EXPECT_EQ(board_->BridgeRegister(0x1470), 0x87);
    ASSERT_EQ(Send(Report(0x39, {0x14, 0x70, 0xE7, 0x18})), 1);  // frame-sync location 3
    EXPECT_EQ(board_->BridgeRegister(0x1470), 0x9F);
    ASSERT_EQ(Send(Report(0x39, {0x14, 0x72, 0xF0, 0xFF})), 1);  // kept bits of the value ignored
    EXPECT_EQ(board_->BridgeRegister(0x1472), 0x0F);
    EXPECT_TRUE(NothingArrives());
    EXPECT_EQ(Ask(0x30, {0x14, 0x70}), Bytes{0x9F});
}

TEST_F(EmulatedBoardTest, BridgeAddressesOutsideTheWindowReadZeroAndIgnoreWrites) {
    ASSERT_EQ(Send(Report(0x31, {0x14, 0x3F, 0x12})), 1);
    ASSERT_EQ(Send(Report(0x31, {0x20, 0x00, 0x34})), 1);
    ASSERT_EQ(Send(Report(0x39, {0x00, 0x00, 0x00, 0xFF})), 1);
    EXPECT_TRUE(NothingArrives());
    EXPECT_EQ(Ask(0x30, {0x14, 0x3F}), Bytes{0x00});
    EXPECT_EQ(Ask(0x30, {0x20, 0x00}), Bytes{0x00});
    EXPECT_EQ(Ask(0x30, {0x00, 0x00}), Bytes{0x00});
    EXPECT_EQ(board_->BridgeRegister(0x1440), 0);  // nothing wrapped into the window
    EXPECT_EQ(board_->BridgeRegister(0x1FFF), 0);
}

TEST_F(EmulatedBoardTest, BoardConfigWordAndRoutingAreKept) {
    EXPECT_TRUE(board_->BoardConfigWord().empty());
    ASSERT_EQ(Send(Report(0x34, {0xD7, 0xFF})), 1);
    ASSERT_EQ(Send(Report(0x34, {0xF7, 0xFF})), 1);
    for (uint8_t route : {0x36, 0x35, 0x37, 0x38}) ASSERT_EQ(Send(Report(route)), 1);
    EXPECT_TRUE(NothingArrives());
    EXPECT_EQ(board_->BoardConfigWord(), (Bytes{0xF7, 0xFF}));
    EXPECT_EQ(board_->RoutingCommands(), (Bytes{0x36, 0x35, 0x37, 0x38}));
}

// ---- what must get no reply --------------------------------------------------------------

TEST_F(EmulatedBoardTest, CommandsWithoutReplyLeaveNothingPending) {
    const std::vector<Bytes> silent = {
        Report(0xD4, Pair(3, 0x1)),         Report(0x94, Pair(3, 0x2)),
        Report(0xD5, StartPairs(1, 24)),    Report(0xD6, StartPairs(25, 48)),
        Report(0xD7, StartPairs(49, 63)),   Report(0x31, {0x14, 0x70, 1}),
        Report(0x39, {0x14, 0x70, 0, 1}),   Report(0x34, {0xD7, 0xFF}),
        Report(0x35),                       Report(0x36),
        Report(0x37),                       Report(0x38),
        Report(0x32),                       Report(0x00),
        Bytes{0xD0, 0x00, 0x05, 0x06},      // payload shorter than its header says
        Bytes{0xD0},                        // no header
    };
    for (const Bytes& report : silent) ASSERT_EQ(Send(report), 1);
    EXPECT_TRUE(NothingArrives());
    EXPECT_EQ(board_->SentReplies().size(), 1u);  // the probe's
    // The next read gets its own reply, not a stray one.
    EXPECT_EQ(Ask(0xD0, {4}), Pair(4, 0x50));
    EXPECT_EQ(board_->ReceivedReports().size(), silent.size() + 2);
}

// ---- the input event ---------------------------------------------------------------------

TEST_F(EmulatedBoardTest, EventIsSignalledOncePerReport) {
    ASSERT_EQ(Send(Report(0xD0, {6})), 1);
    ASSERT_EQ(os::WaitForEvent(event_, 5000), os::WAIT_OBJECT_0);
    os::ResetEvent(event_);
    EXPECT_EQ(lib_.GetDataLength(), 2);
    EXPECT_EQ(os::WaitForEvent(event_, 0), os::WAIT_TIMEOUT);
    unsigned char buffer[64];
    EXPECT_EQ(lib_.GetData(buffer), 2);
    EXPECT_EQ(os::WaitForEvent(event_, 0), os::WAIT_TIMEOUT);
    EXPECT_EQ(lib_.GetDataLength(), 0);
    EXPECT_EQ(lib_.GetData(buffer), 0);
}

TEST_F(EmulatedBoardTest, RepliesPendingTogetherAreAllDeliveredInOrder) {
    ASSERT_EQ(Send(Report(0xD0, {6})), 1);
    ASSERT_EQ(Send(Report(0x30, {0x14, 0x70})), 1);
    ASSERT_TRUE(RepliesMade(2));
    EXPECT_EQ(Receive(), Pair(6, 0x140));
    EXPECT_EQ(Receive(), Bytes{0x00});  // the event was signalled again for the second
    EXPECT_TRUE(NothingArrives());
}

TEST_F(EmulatedBoardTest, ReplyIsMadePendingAfterTheReplyDelay) {
    // The board's own record: in the trace the reply comes at least the delay after the request.
    board_->SetReplyDelayMs(120);
    ASSERT_EQ(Send(Report(0xD0, {6})), 1);
    EXPECT_EQ(Receive(), Pair(6, 0x140));
    std::ifstream file(tracePath_);
    ASSERT_TRUE(file.is_open()) << tracePath_;
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    ASSERT_GE(lines.size(), 2u);
    const std::string out = lines[lines.size() - 2], in = lines.back();
    ASSERT_NE(out.find(" OUT D0 00 01 06"), std::string::npos) << out;
    ASSERT_NE(in.find(" IN 0D 40"), std::string::npos) << in;
    EXPECT_GE(std::stod(in) - std::stod(out), 0.120) << out << "\n" << in;
}

// ---- trace -------------------------------------------------------------------------------

TEST_F(EmulatedBoardTest, TraceHasOneLinePerReportBothWays) {
    ASSERT_EQ(Send(Report(0xD0, {0x3F})), 1);
    ASSERT_EQ(Receive(), (Bytes{0x7E, 0x1A}));
    ASSERT_EQ(Send(Report(0x31, {0x14, 0x70, 0x85})), 1);

    std::ifstream file(tracePath_);
    ASSERT_TRUE(file.is_open()) << tracePath_;
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    ASSERT_GE(lines.size(), 3u);
    const std::vector<std::string> tail(lines.end() - 3, lines.end());
    const std::vector<std::string> expected = {"OUT D0 00 01 3F", "IN 7E 1A", "OUT 31 00 03 14 70 85"};
    double previous = 0;
    for (size_t i = 0; i < 3; ++i) {
        const size_t space = tail[i].find(' ');
        ASSERT_NE(space, std::string::npos) << tail[i];
        EXPECT_EQ(tail[i].substr(space + 1), expected[i]);
        const double stamp = std::stod(tail[i].substr(0, space));
        EXPECT_GE(stamp, previous) << tail[i];
        previous = stamp;
    }
}

// ---- faults ------------------------------------------------------------------------------

TEST_F(EmulatedBoardTest, DroppedReplyThenNormalAgain) {
    FaultPlan plan;
    plan.dropReplies = 1;
    board_->SetFaults(plan);
    ASSERT_EQ(Send(Report(0xD0, {6})), 1);
    EXPECT_TRUE(NothingArrives());
    EXPECT_EQ(board_->Faults().dropReplies, 0);
    EXPECT_EQ(Ask(0xD0, {6}), Pair(6, 0x140));
}

TEST_F(EmulatedBoardTest, ReplyFaultsCanSpareTheFirstReplies) {
    FaultPlan plan;
    plan.faultAfterReplies = 2;
    plan.shortReplies = 1;
    board_->SetFaults(plan);
    ASSERT_EQ(Send(Report(0xD4, Pair(3, 1))), 1);  // no reply: does not count
    EXPECT_EQ(Ask(0xD0, {6}), Pair(6, 0x140));
    EXPECT_EQ(Ask(0xD1).size(), 48u);
    EXPECT_EQ(Ask(0xD2).size(), 47u);
    EXPECT_EQ(Ask(0xD3).size(), 30u);
}

TEST_F(EmulatedBoardTest, ShortAndLongReplies) {
    FaultPlan plan;
    plan.shortReplies = 1;
    board_->SetFaults(plan);
    EXPECT_EQ(Ask(0xD0, {6}), Bytes{0x0D});
    plan = {};
    plan.longReplies = 2;
    board_->SetFaults(plan);
    EXPECT_EQ(Ask(0xD0, {6}), (Bytes{0x0D, 0x40, 0xEE}));
    EXPECT_EQ(Ask(0x30, {0x14, 0x70}).size(), 2u);
    EXPECT_EQ(Ask(0xD0, {6}), Pair(6, 0x140));
}

TEST_F(EmulatedBoardTest, FailedSendIsNotReceived) {
    FaultPlan plan;
    plan.failSends = 1;
    board_->SetFaults(plan);
    EXPECT_EQ(Send(Report(0xD4, Pair(11, 0x1FF))), 0);
    EXPECT_TRUE(board_->ReceivedReports().empty());
    EXPECT_EQ(board_->CodecRegister(11), 0xFF);
    EXPECT_EQ(Send(Report(0xD4, Pair(11, 0x1FF))), 1);
    EXPECT_EQ(board_->CodecRegister(11), 0x1FF);

    // Aimed at the third send of a sequence that gets no replies: two writes arrive, the third
    // is refused, the fourth arrives again.
    board_->ClearReceivedReports();
    plan = {};
    plan.faultAfterSends = 2;
    plan.failSends = 1;
    board_->SetFaults(plan);
    for (int reg : {1, 2}) EXPECT_EQ(Send(Report(0xD4, Pair(reg, 0x10))), 1) << reg;
    EXPECT_EQ(Send(Report(0xD4, Pair(3, 0x10))), 0);
    EXPECT_EQ(Send(Report(0xD4, Pair(4, 0x10))), 1);
    EXPECT_EQ(board_->ReceivedReports().size(), 3u);
    EXPECT_EQ(board_->CodecRegister(3), 0);
    EXPECT_EQ(board_->CodecRegister(4), 0x10);
}

TEST_F(EmulatedBoardTest, RefusedOpen) {
    lib_.CloseDevice();
    FaultPlan plan;
    plan.refuseOpen = true;
    board_->SetFaults(plan);
    EXPECT_EQ(lib_.IsDevicePlugged(), 1);
    EXPECT_EQ(lib_.OpenDevice(2, 1, 0), 0);
    EXPECT_FALSE(board_->IsOpen());
    EXPECT_EQ(Send(Report(0xD0, {6})), 0);
    board_->SetFaults(FaultPlan{});
    EXPECT_EQ(lib_.OpenDevice(2, 1, 0), 1);
    EXPECT_TRUE(board_->IsOpen());
}

TEST_F(EmulatedBoardTest, UnplugInTheMiddleOfATransfer) {
    FaultPlan plan;
    plan.unplugOnNextSend = true;
    board_->SetFaults(plan);
    EXPECT_EQ(Send(Report(0xD0, {6})), 0);
    EXPECT_TRUE(board_->ReceivedReports().empty());
    EXPECT_EQ(lib_.IsDevicePlugged(), 0);
    EXPECT_FALSE(board_->IsOpen());
    EXPECT_EQ(Send(Report(0xD0, {6})), 0);
    EXPECT_EQ(lib_.OpenDevice(2, 1, 0), 0);
    board_->Plug();
    EXPECT_EQ(lib_.OpenDevice(2, 1, 0), 1);
    EXPECT_TRUE(NothingArrives());
    EXPECT_EQ(Ask(0xD0, {6}), Pair(6, 0x140));
}

TEST_F(EmulatedBoardTest, ReportAnnouncingABadLengthIsNotFetchable) {
    FaultPlan plan;
    plan.badLengthReports = 1;
    board_->SetFaults(plan);
    ASSERT_EQ(Send(Report(0xD0, {6})), 1);
    ASSERT_EQ(os::WaitForEvent(event_, 5000), os::WAIT_OBJECT_0);
    os::ResetEvent(event_);
    EXPECT_EQ(lib_.GetDataLength(), 0);
    unsigned char buffer[64];
    EXPECT_EQ(lib_.GetData(buffer), 0);
    // It does not block the reports behind it.
    EXPECT_EQ(Ask(0xD0, {7}), Pair(7, 0));
}

TEST_F(EmulatedBoardTest, ClosingDropsRepliesNotYetFetched) {
    board_->SetReplyDelayMs(30);
    ASSERT_EQ(Send(Report(0xD0, {6})), 1);
    lib_.CloseDevice();
    EXPECT_EQ(Send(Report(0xD0, {6})), 0);
    EXPECT_EQ(lib_.OpenDevice(2, 1, 0), 1);
    EXPECT_TRUE(NothingArrives());
}

// ---- plug and unplug ---------------------------------------------------------------------

struct Notice {
    unsigned message, code;
    std::string path;
};

std::vector<Notice> WaitForNotices(os::DeviceMonitor& monitor, std::vector<Notice>& seen, size_t count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (seen.size() < count && std::chrono::steady_clock::now() < deadline) {
        pollfd p{monitor.fd(), POLLIN, 0};
        if (poll(&p, 1, 50) > 0) monitor.Dispatch();
    }
    return seen;
}

TEST_F(EmulatedBoardTest, PlugAndUnplugReachTheDeviceMonitor) {
    std::vector<Notice> seen;
    os::DeviceMonitor monitor(BOARDHID_VENDOR_ID, BOARDHID_PRODUCT_ID,
                              [&](unsigned message, unsigned code, const std::string& path) {
                                  seen.push_back({message, code, path});
                              });
    ASSERT_TRUE(monitor.Ok());

    board_->Unplug();
    EXPECT_FALSE(board_->IsOpen());
    EXPECT_EQ(lib_.IsDevicePlugged(), 0);
    EXPECT_EQ(Send(Report(0xD0, {6})), 0);
    WaitForNotices(monitor, seen, 1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].message, os::WM_DEVICECHANGE);
    EXPECT_EQ(seen[0].code, os::DBT_DEVICEREMOVECOMPLETE);
    EXPECT_NE(seen[0].path.find("HID#VID_B7C4&PID_9A2E"), std::string::npos) << seen[0].path;

    board_->Plug();
    EXPECT_EQ(lib_.IsDevicePlugged(), 1);
    WaitForNotices(monitor, seen, 2);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].message, os::WM_DEVICECHANGE);
    EXPECT_EQ(seen[1].code, os::DBT_DEVICEARRIVAL);
    EXPECT_NE(seen[1].path.find("HID#VID_B7C4&PID_9A2E"), std::string::npos) << seen[1].path;
    EXPECT_EQ(lib_.OpenDevice(2, 1, 0), 1);
    EXPECT_EQ(Ask(0xD0, {6}), Pair(6, 0x140));
}

// ---- bad arguments -----------------------------------------------------------------------

TEST_F(EmulatedBoardTest, BadArgumentsAreRefused) {
    unsigned char big[65] = {0xD0, 0x00, 0x01, 0x06};
    EXPECT_EQ(lib_.SendData(0, big), 0);
    EXPECT_EQ(lib_.SendData(-1, big), 0);
    EXPECT_EQ(lib_.SendData(65, big), 0);
    EXPECT_EQ(lib_.SendData(4, nullptr), 0);
    EXPECT_TRUE(board_->ReceivedReports().empty());
    EXPECT_EQ(lib_.GetData(nullptr), 0);
    EXPECT_EQ(lib_.SendData(64, big), 1);  // a full-size report, padded after the payload
    EXPECT_EQ(Receive(), Pair(6, 0x140));
}

}  // namespace
