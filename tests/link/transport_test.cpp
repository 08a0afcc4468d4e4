// The transport: report framing on the wire, reply lengths, time-outs and the listener.
#include <gmock/gmock.h>
#include <chrono>
#include <thread>

#include "link/chip_operation.h"
#include "link_test_support.h"

using namespace linktest;

namespace {

// Milliseconds the tests' clock moved on while `f` ran.
int64_t MillisecondsOf(const std::function<void()>& f) {
    const os::Clock::time_point t0 = os::Now();
    f();
    return std::chrono::duration_cast<std::chrono::milliseconds>(os::Now() - t0).count();
}

}  // namespace

using TransportTest = LinkTest;

TEST_F(TransportTest, ReportFramingOnTheWire) {
    // Empty payload: command and a zero length only.
    EXPECT_EQ(USBSend(0x35, 0, nullptr), 1);
    // 48 payload bytes: 51-byte report, length 0x00 0x30.
    uint8_t payload[61];
    for (int i = 0; i < 61; ++i) payload[i] = static_cast<uint8_t>(i + 1);
    EXPECT_EQ(USBSend(0xD5, 48, payload), 1);
    // The largest payload a report can carry.
    EXPECT_EQ(USBSend(0xD6, 61, payload), 1);

    auto r = Received();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0], (Report{0x35, 0x00, 0x00}));
    ASSERT_EQ(r[1].size(), 51u);
    EXPECT_EQ(r[1][0], 0xD5);
    EXPECT_EQ(r[1][1], 0x00);
    EXPECT_EQ(r[1][2], 0x30);
    EXPECT_EQ(r[1][3], 1);
    EXPECT_EQ(r[1][50], 48);
    EXPECT_EQ(r[2].size(), 64u);
}

TEST_F(TransportTest, OversizedPayloadAndBadArgumentsAreRefused) {
    uint8_t payload[64] = {};
    EXPECT_EQ(USBSend(0x31, 62, payload), 0);
    EXPECT_EQ(USBSend(0x31, 3, nullptr), 0);
    EXPECT_TRUE(Received().empty());

    uint8_t dest[65];
    EXPECT_EQ(USBRead(0, dest), 0);
    EXPECT_EQ(USBRead(65, dest), 0);
    EXPECT_EQ(USBRead(-3, dest), 0);
}

TEST_F(TransportTest, NothingTravelsWhileTheBoardIsNotOpen) {
    bDeviceOpened = 0;
    uint8_t pair[2] = {0x0E, 0x00};
    EXPECT_EQ(USBSend(0xD4, 2, pair), 0);
    uint8_t dest[2] = {0xAA, 0xBB};
    EXPECT_EQ(USBRead(2, dest), 0);
    EXPECT_EQ(dest[0], 0xAA);
    EXPECT_TRUE(Received().empty());
}

TEST_F(TransportTest, ReplyLongerOrShorterThanExpected) {
    // Firmware date: a 20-byte reply read as 2 bytes copies 2 and says "longer".
    ASSERT_EQ(USBSend(0x20, 0, nullptr), 1);
    uint8_t two[2] = {};
    EXPECT_EQ(USBRead(2, two), USB_READ_LONG);
    std::string date = board->FirmwareDate();
    EXPECT_EQ(two[0], static_cast<uint8_t>(date[0]));
    EXPECT_EQ(two[1], static_cast<uint8_t>(date[1]));

    // Bridge register read: a 1-byte reply read as 2 bytes copies 2 and says "shorter".
    board->SetBridgeRegister(0x1470, 0x5A);
    uint8_t addr[2] = {0x14, 0x70};
    ASSERT_EQ(USBSend(0x30, 2, addr), 1);
    uint8_t reply[2] = {};
    EXPECT_EQ(USBRead(2, reply), USB_READ_SHORT);
    EXPECT_EQ(reply[0], 0x5A);
}

TEST_F(TransportTest, NoReplyTimesOutAfterThreeHundredMilliseconds) {
    uint8_t dest[2] = {0x11, 0x22};
    int result = 0;
    int64_t ms = MillisecondsOf([&] { result = USBRead(2, dest); });
    EXPECT_EQ(result, USB_TIMEOUT);
    EXPECT_EQ(ms, 300);
    EXPECT_EQ(dest[0], 0x11);  // untouched
}

TEST_F(TransportTest, ReportWithAnImpossibleLengthIsNotFetched) {
    boardhid::FaultPlan plan;
    plan.badLengthReports = 1;
    board->SetFaults(plan);
    uint8_t reg = 5;
    ASSERT_EQ(USBSend(0xD0, 1, &reg), 1);
    uint8_t dest[2];
    EXPECT_EQ(USBRead(2, dest), USB_TIMEOUT);
}

TEST_F(TransportTest, ReplyLeftFromAnEarlierRequestIsDiscarded) {
    board->SetCodecRegister(5, 0x0AB);
    board->SetCodecRegister(6, 0x1CD);
    uint8_t reg = 5;
    ASSERT_EQ(USBSend(0xD0, 1, &reg), 1);
    // Wait until the listener has stored the first reply (it signals "HIDInEvent" under its
    // buffer lock), then ask for another register without reading.
    os::EventHandle stored = os::OpenEvent("HIDInEvent");
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(os::WaitForEvent(stored, 1000), os::WAIT_OBJECT_0);
    os::CloseEvent(stored);
    reg = 6;
    ASSERT_EQ(USBSend(0xD0, 1, &reg), 1);
    uint8_t pair[2] = {};
    ASSERT_EQ(USBRead(2, pair), 1);
    EXPECT_EQ(UnpackRegisterPair(pair), 0x1CD);
}

TEST_F(TransportTest, RemovalThenArrivalLeavesOneListener) {
    EXPECT_EQ(ListenersRunning(), 1);
    ReleaseUSB();  // removal: the listener's flag is cleared but it is not woken
    EXPECT_EQ(USBInit(), 1);  // arrival
    EXPECT_EQ(ListenersRunning(), 1);
    board->SetCodecRegister(9, 0x155);
    EXPECT_EQ(ReadZelqxOneReg(9), 0x155);
}

TEST_F(TransportTest, InitWhileOpenKeepsTheBoardOpen) {
    ASSERT_EQ(bDeviceOpened & 1, 1);
    EXPECT_EQ(USBInit(), 1);
    EXPECT_EQ(bDeviceOpened & 1, 1);
    EXPECT_TRUE(board->IsOpen());
    EXPECT_EQ(ListenersRunning(), 1);
}

// A failed send is reported; the link stays open for the next one. A send or a reply that fails
// because the board left the bus closes the link (nothing more reaches the board, as after a
// removal): a write says so in a popup, a read leaves the telling to its reader.
TEST_F(TransportTest, FailedSendIsReportedAndABoardThatWentAwayClosesTheLink) {
    board->SetFaults(boardhid::RefuseOneSend());
    uint8_t pair[2] = {0x16, 0x01};
    EXPECT_EQ(USBSend(0xD4, 2, pair), 0);
    EXPECT_EQ(USBSend(0xD4, 2, pair), 1);
    // The refusal, with the board still there. No event's code runs, so there is no record of
    // what the chip holds to put the register back from (as at start-up): the popup claims
    // nothing about the panels.
    EXPECT_EQ(prompter.shown, (std::vector<testsupport::Popup>{
                                  {"message", "Warning",
                                   "The evaluation board refused the write of R11, so it did not take effect.\n\n"
                                   "The panel may differ from the board."}}));
    prompter.shown.clear();
    // With the record running, the register goes back and the popup says so.
    ASSERT_TRUE(RecordCopyAsChip());
    board->SetFaults(boardhid::RefuseOneSend());
    EXPECT_EQ(USBSend(0xD4, 2, pair), 0);
    ForgetChipRecord();
    EXPECT_EQ(prompter.shown, std::vector<testsupport::Popup>{testsupport::RefusedWriteWarning("R11")});
    prompter.shown.clear();

    boardhid::FaultPlan plan;
    plan.unplugOnNextSend = true;
    board->SetFaults(plan);
    DeviceAttached = 1;
    EXPECT_EQ(USBSend(0xD4, 2, pair), 0);
    EXPECT_EQ(bDeviceOpened, 0);
    EXPECT_EQ(DeviceAttached, 0);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "Warning");
    EXPECT_EQ(prompter.shown[0].text,
              std::string("The evaluation board was disconnected: the write of R11 did not reach it.\n\nUntil the "
                          "board is connected again nothing reaches the chip."));
    board->Plug();
    ASSERT_EQ(HidOpenDevice(), 1);  // the board would take it: the link does not send
    board->ClearReceivedReports();
    EXPECT_EQ(USBSend(0xD4, 2, pair), 0);  // closed on this side until the board arrives again
    EXPECT_TRUE(Received().empty());

    // The board goes away between a read request and its reply.
    prompter.shown.clear();
    bDeviceOpened = 0;
    ASSERT_EQ(USBInit(), 1);
    board->SetReplyDelayMs(200);
    os::SetSleeper([this](int) {
        if (board->IsOpen()) board->Unplug();
    });
    EXPECT_EQ(ReadZelqxOneReg(9), -1);
    EXPECT_EQ(bDeviceOpened, 0);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
}

