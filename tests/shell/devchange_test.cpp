// Board arrival and removal through the main window's device-change procedure.
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include "panels/cfgDevJorb_pan.h"
#include "runtime/testing.h"
#include "tests/support/event_counter.h"
#include "shell/modes.h"
#include "tests/shell/shell_test_support.h"

namespace {

using namespace ui::AudioCodec_pan;

constexpr const char* kBoardPath = "\\\\?\\HID#VID_B7C4&PID_9A2E#emulator";

struct PassedOn {
    int window;
    unsigned message, wParam;
    std::string path;
};

class DevChangeTest : public shelltest::ShellFixture {
protected:
    std::vector<PassedOn> passedOn;

    void SetUp() override {
        ShellFixture::SetUp();
        if (HasFatalFailure()) return;
        OrigProc = [this](int window, unsigned message, unsigned wParam, const std::string& path) {
            passedOn.push_back({window, message, wParam, path});
            return 7;
        };
    }
    void TearDown() override {
        OrigProc = nullptr;
        ShellFixture::TearDown();
    }
    bool AnyChoiceDimmed() {
        for (int c : {PANEL_PB_Pyka, PANEL_PB_Pykc, PANEL_PB_Pykd, PANEL_PB_Jorb, PANEL_PB_Jora, PANEL_PB_Qeva,
                      PANEL_TEXT_KorPyka, PANEL_TEXT_KorPykc, PANEL_TEXT_KorPykd, PANEL_TEXT_KorJorb,
                      PANEL_TEXT_KorJora, PANEL_TEXT_KorQeva})
            if (CtrlDimmed(c)) return true;
        for (int i : {MENUBAR_DEVICE_MonoPyka, MENUBAR_DEVICE_Mono, MENUBAR_DEVICE_MonoPykd, MENUBAR_DEVICE_StereoJorb,
                      MENUBAR_DEVICE_StereoJora, MENUBAR_DEVICE_StereoQeva})
            if (MenuDimmed(i)) return true;
        return false;
    }
};

TEST(BoardDevicePath, MatchesTheBoardsVendorAndProductInAnyCase) {
    EXPECT_TRUE(IsBoardDevicePath("\\\\?\\HID#VID_B7C4&PID_9A2E#7&1a2b&0&0000"));
    EXPECT_TRUE(IsBoardDevicePath("\\\\?\\HID#Vid_B7C4&Pid_9A2E#x"));
    EXPECT_TRUE(IsBoardDevicePath("\\\\?\\hid#vid_b7c4&pid_9a2e#x"));
    EXPECT_TRUE(IsBoardDevicePath("\\\\?\\HID#VID_B7C4&PID_9A2E"));
    EXPECT_FALSE(IsBoardDevicePath("\\\\?\\HID#VID_B7C5&PID_9A2E#x"));
    EXPECT_FALSE(IsBoardDevicePath("\\\\?\\HID#VID_B7C4&PID_9A2F#x"));
    EXPECT_FALSE(IsBoardDevicePath("HID#VID_B7C4&PID_9A2E#x"));  // no prefix: shifted by four
    EXPECT_FALSE(IsBoardDevicePath("\\\\?\\HID#VID_B7C4&PID_9A2"));
    EXPECT_FALSE(IsBoardDevicePath(""));
}

TEST_F(DevChangeTest, RemovalThroughTheEventLoopReleasesTheBoardAndReenablesEveryChoice) {
    StartShell(true);
    CheckDeviceID(0xFD);
    CheckDeviceID(0xFE);
    ASSERT_TRUE(AnyChoiceDimmed());
    rt::SetCtrlVal(PHandlePanel, PANEL_LPowerUp, 1);
    rt::SetCtrlVal(PHandlePanel, PANEL_LRefresh, 1);
    PoweredUp = 1;
    UILoaded = UI_ZUTA;  // a loaded model stays loaded
    CFG_REG[1] = 0x100;

    board->Unplug();
    ASSERT_TRUE(ProcessEventsUntil([] { return DeviceAttached == 0; }));

    EXPECT_EQ(Led(PANEL_LDevAttached), 0);
    EXPECT_EQ(Led(PANEL_LPowerUp), 0);
    EXPECT_EQ(Led(PANEL_LRefresh), 0);
    EXPECT_EQ(PoweredUp, 0);
    EXPECT_EQ(USBpresent, -11);
    EXPECT_EQ(bDeviceOpened, 0);
    EXPECT_EQ(UILoaded, UI_ZUTA);
    EXPECT_FALSE(AnyChoiceDimmed());
    EXPECT_EQ(CFG_REG[1], 0x100u);  // no chip took a change: the copy keeps what it had
    EXPECT_TRUE(passedOn.empty());
}

TEST_F(DevChangeTest, ArrivalWithNoModelOpensTheBoardAndAppliesTheJorbMode) {
    StartShell(true);
    board->Unplug();
    DrainDeviceNotices();
    ASSERT_EQ(bDeviceOpened, 0);
    board->ClearReceivedReports();

    // Keys typed during the arrival's waits are the user's, not the arrival's: they reach the
    // window (their callbacks held until the waits end), none is dropped.
    testsupport::EventCounter typed(QEvent::KeyPress);
    QWidget* jorb = rt::testing::ControlWidget(PHandlePanel, PANEL_PB_Jorb);
    ASSERT_NE(jorb, nullptr);
    jorb->installEventFilter(&typed);
    int posted = 0;
    os::SetSleeper([&](int) {
        if (posted++ < 3) QCoreApplication::postEvent(jorb, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a"));
    });
    board->Plug();
    ASSERT_TRUE(ProcessEventsUntil([] { return DeviceAttached == 1; }));
    os::SetSleeper([](int) {});
    jorb->removeEventFilter(&typed);
    EXPECT_GE(posted, 3) << "the arrival made fewer waits";
    EXPECT_EQ(typed.count, 3);

    EXPECT_EQ(Led(PANEL_LDevAttached), 1);
    EXPECT_EQ(USBpresent, 1);
    EXPECT_EQ(bDeviceOpened, 1);
    EXPECT_TRUE(board->IsOpen());
    EXPECT_EQ(CtrlInt(PHandleSTDevCtrl, ui::cfgDevJorb_pan::CFGDEVJorb_STI2CModeEn), 1);
    EXPECT_FALSE(ReceivedWithCommand(CMD_BOARD_CONFIG).empty());
    // The reopened link carries replies again.
    EXPECT_EQ(ReadZelqxOneReg(62), 0xFE);
}

TEST_F(DevChangeTest, ArrivalWithThePykbSetLoadedAppliesNoMode) {
    StartShell(true);
    board->Unplug();
    DrainDeviceNotices();
    board->ClearReceivedReports();
    UILoaded = UI_PYKB;

    board->Plug();
    DrainDeviceNotices();
    EXPECT_EQ(DeviceAttached, 1);
    EXPECT_EQ(bDeviceOpened, 1);
    EXPECT_TRUE(Received().empty());
    EXPECT_EQ(CtrlInt(PHandleSTDevCtrl, ui::cfgDevJorb_pan::CFGDEVJorb_STI2CModeEn), 0);
}

TEST_F(DevChangeTest, ArrivalWithTheJorbSetLoadedAppliesItsMode) {
    StartShell(true);
    board->Unplug();
    DrainDeviceNotices();
    board->ClearReceivedReports();
    UILoaded = UI_JORB;
    CommMode = COMM_SPI4W;

    board->Plug();
    DrainDeviceNotices();
    EXPECT_EQ(CtrlInt(PHandleSTDevCtrl, ui::cfgDevJorb_pan::CFGDEVJorb_ST4WSPIModeEn), 1);
    EXPECT_EQ(CtrlInt(PHandleSTDevCtrl, ui::cfgDevJorb_pan::CFGDEVJorb_STI2CModeEn), 0);
    EXPECT_FALSE(ReceivedWithCommand(CMD_BOARD_CONFIG).empty());
}

TEST_F(DevChangeTest, AModeThePluggedInBoardRefusesIsToldAsThePlugInsStep) {
    // The user pressed no button: the popup names the plug-in's step, and says only what the user
    // can do then (with no model, choose one; with a model, "Config Board" is on its panel).
    StartShell(true);
    for (const bool model : {false, true}) {
        SCOPED_TRACE(model ? "Jorb loaded" : "no model");
        board->Unplug();
        DrainDeviceNotices();
        UILoaded = model ? UI_JORB : UI_NONE;
        CommMode = COMM_I2C;
        prompter.shown.clear();
        board->SetFaults(boardhid::RefuseOneSend());
        board->Plug();
        DrainDeviceNotices();
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_EQ(prompter.shown[0].title, "Warning -- Operation aborted");
        EXPECT_EQ(prompter.shown[0].text,
                  model ? "\"Setting the communication mode of the board plugged in\" stopped: the board refused the "
                          "board configuration word, and nothing after it was sent.\n\nThe chip may now differ from the "
                          "panels. Reading the registers back (\"Read All and Update\" on the register map) "
                          "reconciles them.\n\nThe evaluation board may not have the settings the panel shows; "
                          "\"Config Board\" sends them again."
                        : "\"Setting the Jorb communication mode of the board plugged in\" stopped: the board refused "
                          "the board configuration word, and nothing after it was sent.\n\nThe panel may differ from "
                          "the board. Choosing a model configures the board again.");
        board->SetFaults({});
    }
}

TEST_F(DevChangeTest, NoticesOfOtherDevicesAndOtherMessagesArePassedOnUntouched) {
    StartShell(true);
    const std::string otherDevice = "\\\\?\\HID#VID_046D&PID_C52B#6&2f&0&0000";
    EXPECT_EQ(VPEwinProc(PHandlePanel, 0x219, 0x8000, otherDevice), 7);
    EXPECT_EQ(VPEwinProc(PHandlePanel, 0x219, 0x8004, otherDevice), 7);
    EXPECT_EQ(VPEwinProc(PHandlePanel, 0x219, 0x0007, kBoardPath), 7);  // another event code
    EXPECT_EQ(VPEwinProc(PHandlePanel, 0x0010, 0x8004, kBoardPath), 7);  // another message
    ASSERT_EQ(passedOn.size(), 4u);
    EXPECT_EQ(passedOn[0].path, otherDevice);
    EXPECT_EQ(passedOn[0].message, 0x219u);
    EXPECT_EQ(passedOn[0].wParam, 0x8000u);
    EXPECT_EQ(passedOn[0].window, PHandlePanel);
    EXPECT_EQ(passedOn[3].message, 0x10u);

    EXPECT_EQ(DeviceAttached, 1);
    EXPECT_EQ(bDeviceOpened, 1);
    EXPECT_EQ(USBpresent, 1);
}

TEST_F(DevChangeTest, ALowerCaseBoardPathIsTheBoardToo) {
    StartShell(true);
    EXPECT_EQ(VPEwinProc(PHandlePanel, 0x219, 0x8004, "\\\\?\\hid#vid_b7c4&pid_9a2e#emulator"), 0);
    EXPECT_EQ(DeviceAttached, 0);
    EXPECT_EQ(bDeviceOpened, 0);
    EXPECT_TRUE(passedOn.empty());
}

}  // namespace
