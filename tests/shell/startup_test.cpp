// Start-up with and without a board, the option file, the start poll and Quit.
#include <gmock/gmock.h>
#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <signal.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "demo/wav_block.h"
#include "device/device_services.h"
#include "oslayer/temp_names.h"
#include "panels/cfgDemoZutb_pan.h"
#include "panels/cfgDevJorb_pan.h"
#include "panels/cfgScript_pan.h"
#include "regmap/script.h"
#include "runtime/inifile.h"
#include "runtime/scripted_prompter.h"
#include "shell/panel_table.h"
#include "shell/shell_main.h"
#include "tests/shell/shell_test_support.h"
#include "tests/support/file_text.h"
#include "tests/support/held_writer.h"
#include "tests/support/plain_user.h"

namespace {

using namespace ui::AudioCodec_pan;
using shelltest::Report;

class StartupTest : public shelltest::ShellFixture {
protected:
    int JorbBox(int control) { return CtrlInt(PHandleSTDevCtrl, control); }
};

TEST_F(StartupTest, WithABoardThatNeedsNoProbeReadsItsIdentityAndLeavesTheModeAlone) {
    StartShell(true);

    EXPECT_GT(PHandlePanel, 0);
    EXPECT_GT(PHandleMenu, 0);
    EXPECT_GT(tabCtrl, 0);
    EXPECT_EQ(PHandleLastPanel, PHandlePanel);
    for (const TabPanelEntry& entry : kTabPanels) EXPECT_GT(*entry.handle, 0) << entry.file;
    int visible = 0;
    rt::GetPanelAttribute(PHandlePanel, rt::ATTR_VISIBLE, &visible);
    EXPECT_EQ(visible, 1);
    std::string title;
    rt::GetPanelAttribute(PHandlePanel, rt::ATTR_TITLE, &title);
    EXPECT_EQ(title, "Tervalo Audio Codec ");
    EXPECT_TRUE(startTDevEnabled);
    EXPECT_TRUE(startDevIdEnabled);

    EXPECT_EQ(USBpresent, 1);
    EXPECT_EQ(bDeviceOpened, 1);
    EXPECT_EQ(DeviceAttached, 1);
    EXPECT_EQ(Led(PANEL_LDevAttached), 1);
    EXPECT_EQ(UILoaded, UI_NONE);
    EXPECT_EQ(CommMode, COMM_I2C);

    // Registers 7 and 0x5F read, nothing else: 0x5F answers 0x1A, so neither the audio-id probe
    // nor the Jorb mode runs.
    const std::vector<Report> expected = {{0xD0, 0, 1, 7}, {0xD0, 0, 1, 0x5F}};
    EXPECT_EQ(Received(), expected);
    EXPECT_EQ(CFG_REG[7], board->CodecRegister(7));
    EXPECT_EQ(CFG_REG[95], 0x1Au);
    EXPECT_EQ(JorbBox(ui::cfgDevJorb_pan::CFGDEVJorb_STI2CModeEn), 0);
}

TEST_F(StartupTest, WithoutABoardAppliesTheJorbModeOnce) {
    StartShell(false);

    EXPECT_EQ(bDeviceOpened, 0);
    EXPECT_EQ(DeviceAttached, 0);
    EXPECT_EQ(Led(PANEL_LDevAttached), 0);
    EXPECT_EQ(CFG_REG[95], 0u);
    EXPECT_TRUE(Received().empty());
    // CommMode I2C: the Jorb panel's I2C box ticked, the two SPI boxes clear.
    EXPECT_EQ(JorbBox(ui::cfgDevJorb_pan::CFGDEVJorb_STI2CModeEn), 1);
    EXPECT_EQ(JorbBox(ui::cfgDevJorb_pan::CFGDEVJorb_ST3WSPIModeEn), 0);
    EXPECT_EQ(JorbBox(ui::cfgDevJorb_pan::CFGDEVJorb_ST4WSPIModeEn), 0);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
}

TEST_F(StartupTest, AnUnidentifiedBoardGetsTheAudioIdProbeAndThenTheJorbMode) {
    board->SetIdentity(0xFE, 0x00);
    StartShell(true);

    const std::vector<Report> r = Received();
    ASSERT_GE(r.size(), 6u);
    EXPECT_EQ(r[0], (Report{0xD0, 0, 1, 7}));
    EXPECT_EQ(r[1], (Report{0xD0, 0, 1, 0x5F}));
    EXPECT_EQ(r[2], (Report{0x34, 0, 2, 0xD7, 0xFF}));
    EXPECT_EQ(r[3], (Report{0xD4, 0, 2, 0x0E, 0x00}));  // register 7 with bit 8 clear
    EXPECT_EQ(r[4], (Report{0x34, 0, 2, 0xF7, 0xFF}));
    EXPECT_EQ(r[5], (Report{0xD0, 0, 1, 0x3F}));
    EXPECT_EQ(bDeviceOpened, 3);  // the audio id answered 0x1A
    EXPECT_EQ(JorbBox(ui::cfgDevJorb_pan::CFGDEVJorb_STI2CModeEn), 1);

    // After the probe's two words, what follows is exactly one application of the Jorb mode.
    const std::vector<Report> afterProbe(r.begin() + 6, r.end());
    board->ClearReceivedReports();
    EnableCommModeJorb();
    EXPECT_FALSE(Received().empty());
    EXPECT_EQ(afterProbe, Received());
}

TEST_F(StartupTest, AProbeWithoutAnswerLeavesTheAudioIdUnconfirmedAndShowsNothing) {
    board->SetIdentity(0xFE, 0x00);
    boardhid::FaultPlan plan;
    plan.faultAfterReplies = 2;  // registers 7 and 0x5F answer, the audio id does not
    plan.dropReplies = 1;
    board->SetFaults(plan);
    StartShell(true);

    EXPECT_EQ(bDeviceOpened, 1);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
}

// The probe is one operation: the board refuses its write of register 7 (and every send after
// it), so nothing more goes out, the Jorb mode is not applied, the copy keeps register 7 as the
// chip has it, and one popup before the window names the probe and the refused write.
TEST_F(StartupTest, ABoardThatRefusesTheProbeShowsOnePopupNamingIt) {
    board->SetIdentity(0xFE, 0x00);
    board->SetCodecRegister(7, 0x10F);
    boardhid::FaultPlan plan = boardhid::RefuseOneSend(3);  // the two identity reads, the first word
    plan.failSends = 10;
    board->SetFaults(plan);
    StartShell(true);

    EXPECT_EQ(Received(), (std::vector<Report>{{0xD0, 0, 1, 7}, {0xD0, 0, 1, 0x5F}, {0x34, 0, 2, 0xD7, 0xFF}}));
    EXPECT_EQ(CFG_REG[7], 0x10Fu);
    EXPECT_EQ(bDeviceOpened, 1);
    EXPECT_EQ(JorbBox(ui::cfgDevJorb_pan::CFGDEVJorb_STI2CModeEn), 0);
    EXPECT_EQ(prompter.shown, (std::vector<testsupport::Popup>{
                                  {"message", "Warning -- Operation aborted",
                                   "\"Audio ID probe\" stopped: the board refused the write of R7, and nothing after "
                                   "it was sent.\n\nThe panel may differ from the board. Choosing a model configures "
                                   "the board again."}}));
}

// The Jorb mode after the probe is a start-up step of its own: the board refuses its first word,
// so nothing after it goes out, and the one popup names that step and says only what the user
// can do before the window shows, not the "Config Board" it runs or the register map.
TEST_F(StartupTest, ABoardThatRefusesTheJorbModeShowsOnePopupNamingTheStartupStep) {
    board->SetIdentity(0xFE, 0x00);
    board->SetFaults(boardhid::RefuseOneSend(6));  // the two identity reads, the probe's four sends
    StartShell(true);

    const std::vector<Report> r = Received();
    ASSERT_EQ(r.size(), 6u);
    EXPECT_EQ(r[5], (Report{0xD0, 0, 1, 0x3F}));
    EXPECT_EQ(prompter.shown, (std::vector<testsupport::Popup>{
                                  {"message", "Warning -- Operation aborted",
                                   "\"Setting the Jorb communication mode at start-up\" stopped: the board refused "
                                   "the board configuration word, and nothing after it was sent.\n\nThe panel may "
                                   "differ from the board. Choosing a model configures the board again."}}));
}

// The identity reads are a start-up step of their own: the board refuses the read of R7, so R95
// is not read, the copy keeps both slots, one popup names the step and says what the start-up
// does without the answer, and the start-up goes on with the probe and the Jorb mode.
TEST_F(StartupTest, ARefusedIdentityReadIsToldAsAStartupStepAndTheStartupGoesOn) {
    board->SetIdentity(0xFE, 0x00);
    board->SetFaults(boardhid::RefuseOneSend(0));
    StartShell(true);

    const std::vector<Report> r = Received();
    ASSERT_GE(r.size(), 4u);
    EXPECT_EQ(r[0], (Report{0x34, 0, 2, 0xD7, 0xFF}));  // the probe's first word: R95 was not read
    EXPECT_EQ(r[3], (Report{0xD0, 0, 1, 0x3F}));
    EXPECT_EQ(CFG_REG[7], 0u);
    EXPECT_EQ(CFG_REG[95], 0u);
    EXPECT_EQ(bDeviceOpened, 3);
    EXPECT_EQ(JorbBox(ui::cfgDevJorb_pan::CFGDEVJorb_STI2CModeEn), 1);
    EXPECT_EQ(prompter.shown, (std::vector<testsupport::Popup>{
                                  {"message", "Warning -- Operation aborted",
                                   "\"Reading the board's identity at start-up\" stopped: the board refused the read "
                                   "of R7, and nothing after it was sent.\n\nThe start-up goes on without the answer, "
                                   "with the audio ID probe next."}}));
}

// Register 7 reads all ones (no probe): the refused read of R95 leaves the Jorb mode to follow,
// and the popup says so.
TEST_F(StartupTest, ARefusedReadOfR95SaysTheJorbModeFollows) {
    board->SetIdentity(0xFE, 0x00);
    board->SetCodecRegister(7, 0x1FF);
    board->SetFaults(boardhid::RefuseOneSend(1));
    StartShell(true);

    EXPECT_EQ(ReceivedWithCommand(0xD0).size(), 1u);  // R7; neither R95 nor the audio id
    EXPECT_EQ(CFG_REG[95], 0u);
    EXPECT_EQ(JorbBox(ui::cfgDevJorb_pan::CFGDEVJorb_STI2CModeEn), 1);
    EXPECT_EQ(prompter.shown, (std::vector<testsupport::Popup>{
                                  {"message", "Warning -- Operation aborted",
                                   "\"Reading the board's identity at start-up\" stopped: the board refused the read "
                                   "of R95, and nothing after it was sent.\n\nThe start-up goes on without the "
                                   "answer, with the Jorb communication mode next."}}));
}

// The board goes away during a start-up step (the identity reads, the probe, the Jorb mode): one
// popup names the step and says what is true then: nothing reaches the chip until the board is
// back, the program then sets its mode itself, and choosing a model configures it. No model and
// no register map is there to point to.
TEST_F(StartupTest, ABoardGoneDuringAStartupStepIsToldWithWhatHappensOnceItIsBack) {
    const char* const kGone =
        "\n\nUntil the board is connected again nothing reaches the chip. Once it is back, the program sets its "
        "communication mode itself, and choosing a model configures the board again.";
    const struct {
        int sends;
        std::string stopped;
    } steps[] = {
        {0, "\"Reading the board's identity at start-up\" stopped: the evaluation board was disconnected during the "
            "read of R7"},
        {3, "\"Audio ID probe\" stopped: the evaluation board was disconnected during the write of R7"},
        {6, "\"Setting the Jorb communication mode at start-up\" stopped: the evaluation board was disconnected "
            "during the board configuration word"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.sends);
        if (step.sends != 0) {  // a fresh start-up for each step
            TearDown();
            SetUp();
        }
        board->SetIdentity(0xFE, 0x00);
        boardhid::FaultPlan plan;
        plan.faultAfterSends = step.sends;
        plan.unplugOnNextSend = true;
        board->SetFaults(plan);
        StartShell(true);
        EXPECT_EQ(Received().size(), static_cast<size_t>(step.sends));
        EXPECT_EQ(bDeviceOpened, 0);
        EXPECT_EQ(prompter.shown, (std::vector<testsupport::Popup>{
                                      {"message", "Warning -- Operation aborted",
                                       step.stopped + ", and nothing after it was sent." + kGone}}));
    }
}

// Identity reads the board does not answer are told by one popup that says what the start-up
// does without the answers.
TEST_F(StartupTest, FailedIdentityReadsKeepTheRegisterCopyValid) {
    boardhid::FaultPlan plan;
    plan.dropReplies = 2;
    board->SetFaults(plan);
    StartShell(true);

    // The slots keep their start values instead of -1, so the probe writes register 7 as 0
    // rather than 0xFF, and slot 95 (0) still calls for the Jorb mode.
    EXPECT_EQ(CFG_REG[7], 0u);
    EXPECT_EQ(CFG_REG[95], 0u);
    ASSERT_GE(Received().size(), 4u);
    EXPECT_EQ(Received()[3], (Report{0xD4, 0, 2, 0x0E, 0x00}));
    EXPECT_EQ(JorbBox(ui::cfgDevJorb_pan::CFGDEVJorb_STI2CModeEn), 1);
    EXPECT_EQ(prompter.shown, (std::vector<testsupport::Popup>{
                                  {"message", "Read failed",
                                   "\"Reading the board's identity at start-up\": R7 and R95 could not be read from "
                                   "the board.\n\nThe start-up goes on without the answers, with the audio ID probe "
                                   "next."}}));
}

TEST_F(StartupTest, Register7ReadingAllOnesSkipsTheProbeButNotTheMode) {
    board->SetIdentity(0xFE, 0x00);
    board->SetCodecRegister(7, 0x1FF);
    StartShell(true);

    EXPECT_TRUE(ReceivedWithCommand(0xD0).size() == 2u);  // the two identity reads, no audio id
    EXPECT_EQ(bDeviceOpened, 1);
    EXPECT_EQ(JorbBox(ui::cfgDevJorb_pan::CFGDEVJorb_STI2CModeEn), 1);
}

// ---- option file -------------------------------------------------------------------------

class OptionFileTest : public ::testing::Test {
protected:
    std::filesystem::path previous;
    std::filesystem::path dir;

    void SetUp() override {
        previous = std::filesystem::current_path();
        dir = std::filesystem::temp_directory_path() /
              ("codecbench-option-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
        std::filesystem::current_path(dir);
        notDebug = 0;
    }
    void TearDown() override {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(dir);
        notDebug = 0;
    }
    void Write(const std::string& text) { std::ofstream(kOptionFileName, std::ios::binary) << text; }
};

TEST_F(OptionFileTest, NotDebugIsReadFromTheWorkingDirectory) {
    Write("notDebug = 1\n");
    LoadOption();
    EXPECT_EQ(notDebug, 1);

    Write("other = 5\r\nnotDebug = 0\r\n");
    notDebug = 7;
    LoadOption();
    EXPECT_EQ(notDebug, 0);
}

TEST_F(OptionFileTest, AnyNonZeroValueHidesTheDebugControls) {
    Write("notDebug = 256\n");  // a byte would keep 0 of it
    LoadOption();
    EXPECT_EQ(notDebug, 1);
    Write("notDebug = -3\n");
    notDebug = 0;
    LoadOption();
    EXPECT_EQ(notDebug, 1);
}

TEST_F(OptionFileTest, ReadingStopsAtTheFirstLineShorterThanFourCharacters) {
    Write("a=1\nnotDebug = 1\n");
    LoadOption();
    EXPECT_EQ(notDebug, 0);
    Write("other = 2\n\nnotDebug = 1\n");
    LoadOption();
    EXPECT_EQ(notDebug, 0);
}

TEST_F(OptionFileTest, AnOverlongLineIsCutAndTheNextLineStillRead) {
    Write(std::string(600, 'x') + " = 1\nnotDebug = 1\n");
    LoadOption();
    EXPECT_EQ(notDebug, 1);
}

// A file far beyond a line or two is passed over unread, like a missing one.
TEST_F(OptionFileTest, AFarTooLargeFileIsNotRead) {
    Write("notDebug = 1\n");
    std::filesystem::resize_file(kOptionFileName, 200u << 20);  // the rest a hole
    LoadOption();
    EXPECT_EQ(notDebug, 0);
}

TEST_F(OptionFileTest, AMissingFileOrMalformedLinesChangeNothing) {
    notDebug = 1;
    LoadOption();
    EXPECT_EQ(notDebug, 1);
    Write("notDebug 1\nnotDebug = x\n");
    LoadOption();
    EXPECT_EQ(notDebug, 1);
    // A named pipe in its place is passed over like a missing file, and left as it is: with no
    // writer (a blocking open would hold up the start for good), and with a writer that has put
    // a valid option in it (ended by an empty line, so that even a reader that took it would
    // stop there rather than wait for more).
    std::filesystem::remove(kOptionFileName);
    ASSERT_EQ(mkfifo(kOptionFileName, 0600), 0);
    LoadOption();
    EXPECT_EQ(notDebug, 1);
    const int writer = open(kOptionFileName, O_RDWR | O_NONBLOCK | O_CLOEXEC);  // never waits, on Linux
    ASSERT_GE(writer, 0);
    const std::string option = "notDebug = 0\n\n";
    ASSERT_EQ(write(writer, option.data(), option.size()), static_cast<ssize_t>(option.size()));
    LoadOption();
    close(writer);
    EXPECT_EQ(notDebug, 1);
    EXPECT_TRUE(std::filesystem::is_fifo(kOptionFileName));
}

// ---- start poll --------------------------------------------------------------------------

TEST_F(StartupTest, StartPollFiresOnceAndLightsTheLedForAnOpenBoard) {
    StartShell(true);
    rt::SetCtrlAttribute(PHandlePanel, PANEL_TDev, rt::ATTR_ENABLED, 1);
    rt::SetCtrlVal(PHandlePanel, PANEL_LDevAttached, 0);
    Tick(PANEL_TDev);
    EXPECT_FALSE(TimerEnabled(PANEL_TDev));
    EXPECT_EQ(Led(PANEL_LDevAttached), 1);
    EXPECT_EQ(bDeviceOpened, 1);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
}

TEST_F(StartupTest, StartPollOpensAPluggedBoardThatIsClosed) {
    StartShell(true);
    HidCloseDevice();
    bDeviceOpened = 0;
    Tick(PANEL_TDev);
    EXPECT_TRUE(board->IsOpen());
    EXPECT_EQ(bDeviceOpened, 1);
    EXPECT_EQ(Led(PANEL_LDevAttached), 1);
}

TEST_F(StartupTest, StartPollWarnsWhenTheBoardDoesNotOpen) {
    StartShell(true);
    HidCloseDevice();
    bDeviceOpened = 0;
    boardhid::FaultPlan plan;
    plan.refuseOpen = true;
    board->SetFaults(plan);
    Tick(PANEL_TDev);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "Warning");
    EXPECT_EQ(prompter.shown[0].text, "Can not open device.");
    EXPECT_EQ(bDeviceOpened, 0);
}

TEST_F(StartupTest, StartPollWithoutABoardTurnsTheLedsOffAndClosesTheLink) {
    StartShell(true);
    rt::SetCtrlVal(PHandlePanel, PANEL_LPowerUp, 1);
    board->Unplug();
    Tick(PANEL_TDev);
    EXPECT_EQ(Led(PANEL_LDevAttached), 0);
    EXPECT_EQ(Led(PANEL_LPowerUp), 0);
    EXPECT_EQ(bDeviceOpened, 0);
}

TEST_F(StartupTest, StartPollOnAnOldKernelOnlyDisablesItself) {
    StartShell(true);
    rt::SetCtrlAttribute(PHandlePanel, PANEL_TDev, rt::ATTR_ENABLED, 1);
    const OsVersionInfo real = osvi;
    osvi.dwMajorVersion = kMinimumOsMajorVersion - 1;
    board->Unplug();
    Tick(PANEL_TDev);
    osvi = real;
    EXPECT_FALSE(TimerEnabled(PANEL_TDev));
    EXPECT_EQ(Led(PANEL_LDevAttached), 1);
    EXPECT_EQ(bDeviceOpened, 1);
}

// ---- shutdown ----------------------------------------------------------------------------

TEST_F(StartupTest, QuitEndsTheEventLoopStopsTheListenerAndReleasesTheBoard) {
    // Quit is pressed from inside the event loop that ShellMain runs; the window has opened with
    // the focus on the first model button, not on Quit.
    static const int wake = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    ASSERT_GE(wake, 0);
    static bool watched = false;
    static int focused = 0;
    if (!watched) {
        rt::WatchFd(wake, [] {
            uint64_t n;
            if (read(wake, &n, sizeof n) != sizeof n) return;
            focused = rt::GetActiveCtrl(PHandlePanel);
            rt::CallCtrlCallback(PHandlePanel, PANEL_COMMANDBUTTON, rt::EVENT_COMMIT, 0, 0);
        });
        watched = true;
    }
    focused = 0;
    const uint64_t one = 1;
    ASSERT_EQ(write(wake, &one, sizeof one), static_cast<ssize_t>(sizeof one));

    char name[] = "codecbench";
    char* argv[] = {name, nullptr};
    EXPECT_EQ(ShellMain(1, argv), 0);
    EXPECT_EQ(focused, PANEL_PB_Jorb);
    EXPECT_EQ(ListenersRunning(), 0);
    EXPECT_EQ(AlwaysListening, 0);
    EXPECT_EQ(bDeviceOpened, 0);
    EXPECT_FALSE(board->IsOpen());
}

// ---- files saved through links, files the user cannot read -------------------------------

namespace fs = std::filesystem;

// The names in `dir` that carry the temporary marker.
std::set<std::string> Temporaries(const fs::path& dir) {
    std::set<std::string> out;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().filename().string().find(".codecbench-tmp-") != std::string::npos)
            out.insert(entry.path().filename().string());
    return out;
}

using testsupport::HeldWriter;

// A project folder, a working folder with its recording folder, and folders elsewhere that the
// user's links lead to; the process works in the working folder.
class UserFilesTest : public shelltest::ShellFixture {
protected:
    fs::path top, home, work, other, deep;
    fs::path previous;
    rt::ScriptedPrompter ask;

    void SetUp() override {
        ShellFixture::SetUp();
        if (HasFatalFailure()) return;
        top = fs::temp_directory_path() / ("codecbench-userfiles-" + std::to_string(::getpid()));
        home = top / "home";
        work = top / "work";
        other = top / "other";
        deep = other / "deep";
        for (const fs::path& p : {home, work / "WaveFile", deep}) fs::create_directories(p);
        for (const fs::path& p : {top, home, work, work / "WaveFile", other, deep})
            ASSERT_TRUE(testsupport::AsPlainUser::Give(p));
        setenv("CODECBENCH_HOME", home.c_str(), 1);
        previous = fs::current_path();
        fs::current_path(work);
        rt::SetPrompter(&ask);
    }
    void TearDown() override {
        fs::current_path(previous);
        unsetenv("CODECBENCH_HOME");
        ShellFixture::TearDown();
        std::error_code ec;
        fs::remove_all(top, ec);
    }
    static mode_t Mode(const fs::path& p) {
        struct stat st {};
        return stat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 01000u;
    }
};

// A save killed through a link (to a file in another folder, through a chain of links, from the
// project folder, the working folder and the recording folder) leaves its temporary beside the
// file the link leads to: the next start removes it, as a plain user. Only dead temporaries of
// the user named for that file go; a live save through the link finishes, and what else lies
// there stays.
TEST_F(UserFilesTest, AStartRemovesWhatAKilledSaveThroughALinkLeftBesideItsTarget) {
    std::ofstream(other / "sets.dat") << "sets";
    std::ofstream(deep / "script.txt") << "script";
    std::ofstream(other / "player.ini") << "player";
    std::ofstream(other / "take.wav") << "RIFF";
    fs::create_symlink("../other/sets.dat", home / "STconfig.dat");
    fs::create_symlink(other / "hop.txt", home / "script.txt");
    fs::create_symlink("deep/script.txt", other / "hop.txt");
    fs::create_symlink("../other/player.ini", work / "a00.ini");
    fs::create_symlink(other / "take.wav", work / "WaveFile" / "100407.wav");
    // Marked files of the user that no killed save through these links would leave: named for a
    // file no link leads to, or for the link rather than its file.
    const std::set<std::string> unrelated = {".unlinked.dat.codecbench-tmp-Ab12Cd",
                                             ".STconfig.dat.codecbench-tmp-Ab12Cd"};
    {
        testsupport::AsPlainUser user;
        ASSERT_TRUE(user.Active());
        for (const auto& name : unrelated) {
            std::ofstream(other / name) << "x";
            chmod((other / name).c_str(), 0600);
        }
        const std::string big(1 << 20, 'x');
        for (const fs::path& file : {home / "STconfig.dat", home / "script.txt", work / "a00.ini"}) {
            HeldWriter killed(HeldWriter::Save(file, big));
            ASSERT_TRUE(killed.Holding()) << file;
            killed.Kill();
        }
        // The recorder's copy beside a save to another file system, killed.
        HeldWriter copy([&](const std::function<void()>& ready) {
            std::string name;
            const int fd = os::MakeTempFor((other / "take.wav").string(), &name);
            if (fd < 0 || write(fd, big.data(), big.size()) != static_cast<ssize_t>(big.size())) return 2;
            ready();
            return 0;
        });
        ASSERT_TRUE(copy.Holding());
        copy.Kill();
    }
    ASSERT_EQ(Temporaries(other).size(), unrelated.size() + 3) << ::testing::PrintToString(Temporaries(other));
    ASSERT_EQ(Temporaries(deep).size(), 1u);
    // Another user's temporary of the same form stays (tests run as root can make one).
    const fs::path othersTemp = other / ".sets.dat.codecbench-tmp-R00t01";
    const bool root = geteuid() == 0;
    if (root) std::ofstream(othersTemp) << "x";

    testsupport::AsPlainUser user;
    ASSERT_TRUE(user.Active());
    const std::set<std::string> before = Temporaries(other);
    HeldWriter live(HeldWriter::Save(home / "STconfig.dat", "new ", "sets"));
    ASSERT_TRUE(live.Holding());
    std::set<std::string> liveTemp = Temporaries(other);
    for (const auto& name : before) liveTemp.erase(name);
    ASSERT_EQ(liveTemp.size(), 1u);
    StartShell(true);
    EXPECT_EQ(live.Finish(), 0) << "the live save failed";
    user.Leave();

    std::set<std::string> kept = unrelated;
    if (root) kept.insert(othersTemp.filename());
    EXPECT_EQ(Temporaries(other), kept);
    EXPECT_THAT(Temporaries(deep), ::testing::IsEmpty());
    EXPECT_EQ(testsupport::ReadFile(other / "sets.dat"), "new sets");
    EXPECT_EQ(testsupport::ReadFile(deep / "script.txt"), "script");
    EXPECT_EQ(testsupport::ReadFile(other / "player.ini"), "player");
    EXPECT_EQ(testsupport::ReadFile(other / "take.wav"), "RIFF");
    for (const fs::path& link : {home / "STconfig.dat", home / "script.txt", other / "hop.txt", work / "a00.ini",
                                 work / "WaveFile" / "100407.wav"})
        EXPECT_TRUE(fs::is_symlink(link)) << link;
}

// As a plain user: the Script tab's save and "Change Directory..." leave a script.txt and an
// a00.ini of mode 000 as they are, the save saying why; an import over a working file of mode
// 000 replaces it with one the user can read, and loads the set, again and again.
TEST_F(UserFilesTest, AsAPlainUserUnreadableFilesStayAndImportsKeepTheirWorkingFile) {
    const fs::path script = home / "script.txt", player = work / "a00.ini", working = home / "tempini.dat";
    const fs::path warm = top / "warm.dat";
    testsupport::AsPlainUser user;
    ASSERT_TRUE(user.Active());
    std::ofstream(script) << "0x4 = 0x50\r\n";
    std::ofstream(player) << "[Default]\r\nPlayDir = /mine\r\n";
    std::ofstream(working) << "[old/Audio Control]\r\n0x4 = 1\r\n";
    std::ofstream(warm) << "\r\n[warm/Audio Control] \r\n0x4 = 0x51\r\n";
    for (const fs::path& p : {script, player, working}) ASSERT_EQ(chmod(p.c_str(), 0), 0);
    StartShell(true);
    rt::CallMenuCallback(PHandleMenu, MENUBAR_DEVICE_StereoJorb);
    ask.Clear();

    rt::SetCtrlVal(PHandleSTScript, ui::cfgScript_pan::CFGSCRIPT_TBSCRIPT, "0x4 = 0x52\n");
    CBTSaveCB(PHandleSTScript, ui::cfgScript_pan::CFGSCRIPT_CBTSave, rt::EVENT_COMMIT, nullptr, 0, 0);
    EXPECT_EQ(ask.Shown().size(), 1u);
    if (!ask.Shown().empty()) {
        EXPECT_EQ(ask.Shown()[0].title, "Script");
        EXPECT_EQ(ask.Shown()[0].text, "The script could not be saved to:\n" + script.string() + "\n" +
                                           script.string() + " cannot be read (Permission denied), so it is not replaced.");
    }

    ask.QueueDir(other.string());
    ChangeDir(PHandleSTDemoZutb, ui::cfgDemoZutb_pan::CFGDEMOZutb_CHANGEDIR, rt::EVENT_COMMIT, nullptr, 0, 0);

    for (int value : {0x51, 0x53}) {
        std::ofstream(warm) << "\r\n[warm/Audio Control] \r\n0x4 = 0x" << std::hex << value << "\r\n";
        ask.Clear();
        ask.QueueFile(warm.string());
        rt::CallMenuCallback(PHandleMenu, MENUBAR_CONFIG_Import);
        for (const auto& shown : ask.Shown())
            EXPECT_NE(shown.kind, rt::ScriptedPrompter::Kind::Message) << shown.title << ": " << shown.text;
        EXPECT_EQ(CFG_REG[4], static_cast<uint32_t>(value));
        EXPECT_EQ(board->CodecRegister(4), value);
    }
    user.Leave();
    EXPECT_EQ(Mode(script), 0u);
    EXPECT_EQ(Mode(player), 0u);
    // Read back with a mode that lets a plain user running the tests read them.
    fs::permissions(script, fs::perms::owner_read);
    fs::permissions(player, fs::perms::owner_read);
    EXPECT_EQ(testsupport::ReadFile(script), "0x4 = 0x50\r\n");
    EXPECT_EQ(testsupport::ReadFile(player), "[Default]\r\nPlayDir = /mine\r\n");
    EXPECT_EQ(Mode(working), 0600u);
    EXPECT_EQ(testsupport::ReadFile(working), "\r\n[warm/Audio Control] \r\n0x4 = 83\r\n");
    EXPECT_THAT(Temporaries(home), ::testing::IsEmpty());
}

}  // namespace
