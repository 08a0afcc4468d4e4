// The WAV play and record block of the Zutb demo panel, driven through its callbacks on the
// panel loaded by the real start-up, with the test sound backend (no sound card) and a fixed
// time of day; files in a scratch current directory.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <optional>
#include <thread>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "demo/playsnd.h"
#include "demo/wav_block.h"
#include "oslayer/sound_testing.h"
#include "oslayer/temp_names.h"
#include "panels/cfgDemoZutb_pan.h"
#include "runtime/inifile.h"
#include "runtime/scripted_prompter.h"
#include "shell/startup.h"
#include "tests/oslayer/sound_wav_files.h"
#include "tests/support/file_size_limit.h"
#include "tests/shell/model_test_support.h"

namespace {

namespace fs = std::filesystem;
using namespace ui::cfgDemoZutb_pan;
using soundtest::Names;
using soundtest::ReadWav;
using Kind = rt::ScriptedPrompter::Kind;

const char* const kSaveQuestion = "Do you want to save this recording?";

class WavBlock : public modeltest::ModelFixture {
protected:
    rt::ScriptedPrompter popups;
    os::TestSoundBackend sound;
    fs::path oldCwd, cwd;
    int panel = 0;

    bool portAudioBefore = false;  // an earlier test of this process started the audio system

    void SetUp() override {
        portAudioBefore = os::PortAudioStarted();
        ModelFixture::SetUp();
        if (HasFatalFailure()) return;
        rt::SetPrompter(&popups);
        oldCwd = fs::current_path();
        cwd = fs::temp_directory_path() / ("codecbench-wav-" + std::to_string(::getpid()));
        fs::remove_all(cwd);
        fs::create_directories(cwd);
        fs::current_path(cwd);
        os::SetSoundBackend(&sound);
        ResetPlaysnd();
        ResetWavBlock();
        SetWavClock([] {
            std::tm t{};
            t.tm_hour = 10;
            t.tm_min = 4;
            t.tm_sec = 7;
            return t;
        });
        panel = PHandleSTDemoZutb;
        ASSERT_GT(panel, 0);
    }

    void TearDown() override {
        ResetPlaysnd();
        os::SetSoundBackend(nullptr);
        SetWavClock({});
        fs::current_path(oldCwd);
        std::error_code ec;
        fs::remove_all(cwd, ec);
        ModelFixture::TearDown();
    }

    void Press(int control) { rt::CallCtrlCallback(panel, control, rt::EVENT_COMMIT, 0, 0); }
    bool IsDimmed(int control) {
        int d = 0;
        rt::GetCtrlAttribute(panel, control, rt::ATTR_DIMMED, &d);
        return d != 0;
    }
    std::string Text(int control) {
        std::string s;
        rt::GetCtrlVal(panel, control, &s);
        return s;
    }
    // The list's items as "label=value".
    std::vector<std::string> ListItems() {
        int n = 0;
        rt::GetNumListItems(panel, CFGDEMOZutb_LISTBOX, &n);
        std::vector<std::string> out;
        for (int i = 0; i < n; ++i) {
            std::string label, value;
            rt::GetLabelFromIndex(panel, CFGDEMOZutb_LISTBOX, i, &label);
            rt::SetCtrlIndex(panel, CFGDEMOZutb_LISTBOX, i);
            rt::GetCtrlVal(panel, CFGDEMOZutb_LISTBOX, &value);
            out.push_back(label + "=" + value);
        }
        return out;
    }
    // One take: Start Record with `seconds`, the take runs to its end, then Stop Record.
    void Take(unsigned seconds) {
        rt::SetCtrlVal(panel, CFGDEMOZutb_NMLEN, seconds);
        Press(CFGDEMOZutb_CBRECORD);
        EXPECT_TRUE(ProcessEventsUntil([] { return !os::SoundRecIsRecording(wDeviceID); }, 10000));
        Press(CFGDEMOZutb_CBSTOPR);
    }
    std::vector<std::string> Titles(Kind kind) {
        std::vector<std::string> out;
        for (const auto& p : popups.Shown())
            if (p.kind == kind) out.push_back(p.title + "|" + p.text);
        return out;
    }
    // A folder with two WAV files (one in capitals), a text file and a folder named like a WAV.
    fs::path SoundFolder() {
        fs::path dir = cwd / "sounds";
        fs::create_directories(dir / "folder.wav");
        soundtest::WriteWav(dir / "b.wav", 1, 16, 8000, 1, soundtest::Ramp(800, 1));
        soundtest::WriteWav(dir / "A.WAV", 1, 16, 8000, 2, soundtest::Ramp(400, 2));
        std::ofstream(dir / "notes.txt") << "x";
        return dir;
    }
    void ChooseFolder(const fs::path& dir) {
        popups.QueueDir(dir.string());
        Press(CFGDEMOZutb_CHANGEDIR);
    }
    // Start Record fails with `detail` told to the user; the recorder stays closed and Start
    // Record can be pressed again.
    void ExpectStartRecordRefused(const std::string& detail) {
        Press(CFGDEMOZutb_CBRECORD);
        EXPECT_EQ(Titles(Kind::Message), (std::vector<std::string>{"Start Record|Recording could not start.\n" + detail}));
        EXPECT_EQ(bnotOpen, 1);
        EXPECT_EQ(bFirst, 1);
        EXPECT_FALSE(IsDimmed(CFGDEMOZutb_CBRECORD));
        EXPECT_TRUE(IsDimmed(CFGDEMOZutb_CBSTOPR));
    }
    // The sound devices the machine has.
    void Devices(bool output, bool input) {
        os::TestSoundBackend::Config c;
        c.hasOutput = output;
        c.hasInput = input;
        sound.SetConfig(c);
    }
    bool WaitSoundEnd() {
        return ProcessEventsUntil([] { return !os::CurrentSound().playing; }, 5000);
    }
};

// ---- recording -----------------------------------------------------------------------------

TEST_F(WavBlock, RecordSecondsBelowFiveRecordFiveSecondsAndLongTakesTheirFullLength) {
    // The floor is 5 seconds exactly: 4 is raised, 5 and 6 are kept.
    const std::pair<unsigned, long> lengths[] = {{0, 5000}, {3, 5000}, {4, 5000}, {5, 5000}, {6, 6000}};
    for (const auto& [seconds, ms] : lengths) {
        Take(seconds);
        const auto wav = ReadWav("WaveFile/100407.wav");
        ASSERT_TRUE(wav.ok) << seconds;
        EXPECT_EQ(wav.Frames(), ms * 16) << seconds;  // 16000 per second
        fs::remove("WaveFile/100407.wav");
    }
    Take(65);
    EXPECT_EQ(ReadWav("WaveFile/100407.wav").Frames(), 65000L * 16);
    EXPECT_EQ(sound.Calls()[0], "open input 16000 1");
}

TEST_F(WavBlock, StopAskedYesSavesTheTakeNamedAfterTheTimeOfTheStop) {
    EXPECT_EQ(Text(CFGDEMOZutb_TMfname), "WaveFile/hhmmss.wav");
    EXPECT_TRUE(IsDimmed(CFGDEMOZutb_CBSTOPR));
    rt::SetCtrlVal(panel, CFGDEMOZutb_NMLEN, 6u);
    Press(CFGDEMOZutb_CBRECORD);
    EXPECT_TRUE(IsDimmed(CFGDEMOZutb_CBRECORD));
    EXPECT_FALSE(IsDimmed(CFGDEMOZutb_CBSTOPR));
    EXPECT_EQ(bFirst, 0);
    EXPECT_EQ(bnotOpen, 0);
    ASSERT_TRUE(ProcessEventsUntil([] { return !os::SoundRecIsRecording(wDeviceID); }, 10000));
    // A second instance starting now leaves the take, which lives until it is saved, alone.
    RemoveLeftoverTemporaries();
    ASSERT_EQ(Names("WaveFile").size(), 1u) << "the take was removed";
    Press(CFGDEMOZutb_CBSTOPR);

    const auto wav = ReadWav("WaveFile/100407.wav");
    ASSERT_TRUE(wav.ok);
    EXPECT_EQ(wav.formatTag, 1);
    EXPECT_EQ(wav.channels, 1);
    EXPECT_EQ(wav.samplesPerSec, 16000);
    EXPECT_EQ(wav.bitsPerSample, 16);
    EXPECT_EQ(wav.blockAlign, 2);
    EXPECT_EQ(wav.avgBytesPerSec, 32000);
    EXPECT_EQ(wav.Frames(), 6 * 16000);
    // The generated tone (amplitude 0.5) is in the file.
    ASSERT_GT(wav.samples16.size(), 100u);
    int16_t peak = 0;
    for (int16_t s : wav.samples16) peak = std::max<int16_t>(peak, s);
    EXPECT_NEAR(peak, 16383, 200);

    EXPECT_EQ(Text(CFGDEMOZutb_TMfname), "WaveFile/100407.wav");
    EXPECT_EQ(ListItems(), (std::vector<std::string>{"100407.wav=./WaveFile/100407.wav"}));
    EXPECT_EQ(Text(CFGDEMOZutb_DIRECTORY), "WaveFile");
    EXPECT_EQ(Titles(Kind::YesNo), (std::vector<std::string>{std::string("|") + kSaveQuestion}));
    EXPECT_TRUE(Titles(Kind::Message).empty());
    EXPECT_FALSE(IsDimmed(CFGDEMOZutb_CBRECORD));
    EXPECT_TRUE(IsDimmed(CFGDEMOZutb_CBSTOPR));
    // Closed after the take; nothing but the recording in the folder.
    EXPECT_EQ(bFirst, 1);
    EXPECT_EQ(bnotOpen, 1);
    EXPECT_EQ(sound.OpenDevices(), 0);
    EXPECT_EQ(Names("WaveFile"), (std::vector<std::string>{"100407.wav"}));
}

TEST_F(WavBlock, StopAskedNoDiscardsTheTakeAndTheNextTakeRecordsAfresh) {
    popups.QueueYesNo(false);
    Take(5);
    EXPECT_TRUE(Names("WaveFile").empty());  // no file, no leftover take
    EXPECT_EQ(bnotOpen, 1);
    EXPECT_EQ(sound.OpenDevices(), 0);

    Take(7);
    EXPECT_EQ(ReadWav("WaveFile/100407.wav").Frames(), 7 * 16000);
    EXPECT_EQ(sound.Calls(), (std::vector<std::string>{"open input 16000 1", "close input", "open input 16000 1",
                                                       "close input"}));
}

TEST_F(WavBlock, SecondTakeAtTheSameTimeAsksBeforeReplacing) {
    Take(5);
    popups.Clear();
    // Keep the first: the second is saved under a free name, shown in TMfname.
    popups.QueueYesNo(true);   // save
    popups.QueueYesNo(false);  // do not replace
    Take(6);
    EXPECT_EQ(ReadWav("WaveFile/100407.wav").Frames(), 5 * 16000);
    EXPECT_EQ(ReadWav("WaveFile/100407-2.wav").Frames(), 6 * 16000);
    EXPECT_EQ(Text(CFGDEMOZutb_TMfname), "WaveFile/100407-2.wav");
    ASSERT_EQ(Titles(Kind::YesNo).size(), 2u);
    EXPECT_EQ(Titles(Kind::YesNo)[1],
              "Save recording|\"WaveFile/100407.wav\" exists already.\nReplace it?\n\nNo saves this recording as "
              "\"WaveFile/100407-2.wav\".");
    EXPECT_EQ(ListItems(), (std::vector<std::string>{"100407-2.wav=./WaveFile/100407-2.wav",
                                                     "100407.wav=./WaveFile/100407.wav"}));

    // Replace only when the user says so.
    popups.QueueYesNo(true);
    popups.QueueYesNo(true);
    Take(8);
    EXPECT_EQ(ReadWav("WaveFile/100407.wav").Frames(), 8 * 16000);
    EXPECT_EQ(Names("WaveFile"), (std::vector<std::string>{"100407-2.wav", "100407.wav"}));
}

TEST_F(WavBlock, ANameTakenByWhatIsNotAFileSavesTheTakeUnderAFreeName) {
    // A folder or a named pipe with the take's name cannot be replaced: the take is kept under a
    // free name without a question whose Yes would lose it.
    for (const bool pipe : {false, true}) {
        SCOPED_TRACE(pipe ? "pipe" : "folder");
        std::filesystem::create_directories("WaveFile");
        std::filesystem::remove_all("WaveFile/100407.wav");
        std::filesystem::remove("WaveFile/100407-2.wav");
        if (pipe) ASSERT_EQ(mkfifo("WaveFile/100407.wav", 0600), 0);
        else std::filesystem::create_directory("WaveFile/100407.wav");
        popups.Clear();
        Take(5);
        EXPECT_EQ(ReadWav("WaveFile/100407-2.wav").Frames(), 5 * 16000);
        EXPECT_EQ(Text(CFGDEMOZutb_TMfname), "WaveFile/100407-2.wav");
        EXPECT_EQ(Titles(Kind::YesNo), (std::vector<std::string>{std::string("|") + kSaveQuestion}));
        EXPECT_TRUE(Titles(Kind::Message).empty());
        EXPECT_EQ(pipe ? std::filesystem::is_fifo("WaveFile/100407.wav")
                       : std::filesystem::is_directory("WaveFile/100407.wav"),
                  true);
    }
}

TEST_F(WavBlock, StopWithoutARecordingClosesAndAsksNothing) {
    Press(CFGDEMOZutb_CBSTOPR);
    EXPECT_TRUE(Titles(Kind::YesNo).empty());
    EXPECT_EQ(bnotOpen, 1);
    EXPECT_EQ(bFirst, 1);
    EXPECT_TRUE(Names("WaveFile").empty());
}

// ---- recording failures --------------------------------------------------------------------

TEST_F(WavBlock, FolderThatCannotBeWrittenIsReportedAtStart) {
    std::ofstream("WaveFile") << "a file where the folder should be";
    ExpectStartRecordRefused("Cannot write to \"WaveFile\": Not a directory.");
    EXPECT_TRUE(sound.Calls().empty());
}

TEST_F(WavBlock, NoInputDeviceIsReportedAndTheRecorderStaysClosed) {
    Devices(true, false);
    ExpectStartRecordRefused("No sound input device was found.");
    // A device plugged in later records normally.
    Devices(true, true);
    Take(5);
    EXPECT_TRUE(ReadWav("WaveFile/100407.wav").ok);
}

// The question after a failed save that offers the free name beside the take's name.
std::string OfferFreeName(const std::string& reason) {
    return "Save recording|" + reason + "\n\nSave the recording as \"WaveFile/100407-2.wav\" instead?\nNo lets you choose another place.";
}
const char* const kDiscardQuestion = "Save recording|The recording is not saved.\nDiscard it?";

TEST_F(WavBlock, SaveThatFailsForItsNameSaysWhyAndKeepsTheTakeUnderTheFreeName) {
    // A link that goes round, one into a missing folder, and one to a file on another file
    // system that cannot take the take (limited here to 40000 bytes, as a full disk would).
    struct Case {
        const char* what;
        std::string linkTo;
        std::string reason;
    };
    const fs::path shm = fs::path("/dev/shm") / ("codecbench-wav-" + std::to_string(::getpid()));
    std::vector<Case> cases = {
        {"loop", "100407.wav", "Cannot save \"WaveFile/100407.wav\": Too many levels of symbolic links."},
        {"missing folder", "../missing/x.wav",
         "Cannot save \"WaveFile/100407.wav\" (a link to \"WaveFile/../missing/x.wav\"): No such file or directory."},
    };
    struct stat here{}, there{};
    fs::create_directories(shm);
    if (::stat(".", &here) == 0 && ::stat(shm.c_str(), &there) == 0 && here.st_dev != there.st_dev)
        cases.push_back({"other file system", (shm / "x.wav").string(),
                         "Cannot save \"WaveFile/100407.wav\" (a link to \"" + (shm / "x.wav").string() +
                             "\"): File too large."});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all("WaveFile");
        fs::create_directories("WaveFile");
        fs::create_symlink(c.linkTo, "WaveFile/100407.wav");
        const bool limited = c.what == std::string("other file system");
        if (limited) std::ofstream(shm / "x.wav") << "the user's file";
        popups.Clear();
        popups.QueueYesNo(true);  // save
        if (limited) popups.QueueYesNo(true);  // replace the file the link leads to
        popups.QueueYesNo(true);  // save it under the free name instead
        rt::SetCtrlVal(panel, CFGDEMOZutb_NMLEN, 5u);
        Press(CFGDEMOZutb_CBRECORD);
        ASSERT_TRUE(ProcessEventsUntil([] { return !os::SoundRecIsRecording(wDeviceID); }, 10000));
        {
            std::optional<testsupport::FileSizeLimit> small;
            if (limited) {
                ASSERT_TRUE(small.emplace(40000).Set());
            }
            Press(CFGDEMOZutb_CBSTOPR);
        }

        const auto questions = Titles(Kind::YesNo);
        ASSERT_FALSE(questions.empty());
        EXPECT_EQ(questions.back(), OfferFreeName(c.reason));
        EXPECT_TRUE(Titles(Kind::Message).empty());
        EXPECT_EQ(ReadWav("WaveFile/100407-2.wav").Frames(), 5 * 16000);
        EXPECT_EQ(Text(CFGDEMOZutb_TMfname), "WaveFile/100407-2.wav");
        // The link stays, and nothing else is left: no take, no copy beside the link's file.
        EXPECT_TRUE(fs::is_symlink("WaveFile/100407.wav"));
        EXPECT_EQ(Names("WaveFile"), (std::vector<std::string>{"100407-2.wav", "100407.wav"}));
        if (limited) {
            EXPECT_EQ(Names(shm), (std::vector<std::string>{"x.wav"}));
        }
        EXPECT_EQ(bnotOpen, 1);
        EXPECT_EQ(sound.OpenDevices(), 0);
    }
    fs::remove_all(shm);
}

// A prompter that notes, at each question about a failed save, what the record folder holds.
class WatchingPrompter : public rt::ScriptedPrompter {
public:
    std::vector<std::vector<std::string>> seen;
    bool YesNo(const std::string& title, const std::string& text) override {
        if (title == "Save recording" && text.rfind("Cannot save", 0) == 0) seen.push_back(Names("WaveFile"));
        return ScriptedPrompter::YesNo(title, text);
    }
};

TEST_F(WavBlock, AfterAFailedSaveTheTakeIsKeptUntilSavedElsewhereOrDiscardedOnTheUsersWord) {
    WatchingPrompter asked;
    rt::SetPrompter(&asked);
    fs::create_directories("WaveFile");
    fs::create_symlink("100407.wav", "WaveFile/100407.wav");
    fs::create_directories("other");
    std::ofstream("other/kept.wav") << "the user's file";
    const std::string reason = "Cannot save \"WaveFile/100407.wav\": Too many levels of symbolic links.";

    // No free name; no place picked; not discarded; again no free name; a file there, not
    // replaced; a new file.
    asked.QueueYesNo(true);
    asked.QueueYesNo(false);
    asked.QueueFileCancel();
    asked.QueueYesNo(false);
    asked.QueueYesNo(false);
    asked.QueueFile((cwd / "other/kept.wav").string());
    asked.QueueYesNo(false);
    asked.QueueFile((cwd / "other/new.wav").string());
    Take(5);
    std::vector<std::string> shown;
    for (const auto& p : asked.Shown()) shown.push_back(p.title + "|" + p.text);
    EXPECT_EQ(shown, (std::vector<std::string>{
                         std::string("|") + kSaveQuestion, OfferFreeName(reason), "Save Recording As|*.wav",
                         kDiscardQuestion, OfferFreeName(reason), "Save Recording As|*.wav",
                         "Save recording|\"" + (cwd / "other/kept.wav").string() + "\" exists already.\nReplace it?",
                         "Save Recording As|*.wav"}));
    EXPECT_EQ(ReadWav("other/new.wav").Frames(), 5 * 16000);
    EXPECT_EQ(Text(CFGDEMOZutb_TMfname), (cwd / "other/new.wav").string());
    std::ifstream kept("other/kept.wav");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "the user's file");
    EXPECT_EQ(Names("WaveFile"), (std::vector<std::string>{"100407.wav"}));
    // While the user was asked, the take waited beside the link as a marked temporary of the
    // take, which a clean-up leaves alone while its writer lives and removes once it died.
    ASSERT_EQ(asked.seen.size(), 2u);
    for (const auto& names : asked.seen) {
        ASSERT_EQ(names.size(), 2u);
        EXPECT_TRUE(os::IsTempName(names[0], os::kTakeName)) << names[0];
        EXPECT_EQ(names[1], "100407.wav");
    }

    // Discarded only on the user's word, and then gone.
    asked.Clear();
    asked.QueueYesNo(true);
    asked.QueueYesNo(false);
    asked.QueueFileCancel();
    asked.QueueYesNo(true);
    Take(5);
    EXPECT_EQ(asked.Shown().back().title + "|" + asked.Shown().back().text, kDiscardQuestion);
    EXPECT_EQ(Names("WaveFile"), (std::vector<std::string>{"100407.wav"}));
    EXPECT_EQ(Names("other"), (std::vector<std::string>{"kept.wav", "new.wav"}));
    EXPECT_EQ(bnotOpen, 1);
    EXPECT_EQ(sound.OpenDevices(), 0);
    rt::SetPrompter(&popups);
}

TEST_F(WavBlock, AFreeNameThatFailedIsNotOfferedAgain) {
    // The take's name is in a folder that is not there, so its free name fails as well: the
    // next question offers only another place.
    rt::SetCtrlVal(panel, CFGDEMOZutb_NMLEN, 5u);
    Press(CFGDEMOZutb_CBRECORD);
    ASSERT_TRUE(ProcessEventsUntil([] { return !os::SoundRecIsRecording(wDeviceID); }, 10000));
    popups.QueueYesNo(true);  // save
    popups.QueueYesNo(true);  // as the free name
    popups.QueueYesNo(true);  // choose another place
    popups.QueueFile((cwd / "kept.wav").string());
    std::string saved;
    EXPECT_EQ(CVI_RecordStop("gone/100407.wav", &saved), 0u);
    std::vector<std::string> shown;
    for (const auto& p : popups.Shown()) shown.push_back(p.title + "|" + p.text);
    EXPECT_EQ(shown, (std::vector<std::string>{
                         std::string("|") + kSaveQuestion,
                         "Save recording|Cannot save \"gone/100407.wav\": No such file or directory.\n\nSave the "
                         "recording as \"gone/100407-2.wav\" instead?\nNo lets you choose another place.",
                         "Save recording|Cannot save \"gone/100407-2.wav\": No such file or directory.\n\nChoose "
                         "another place for the recording?",
                         "Save Recording As|*.wav"}));
    EXPECT_EQ(saved, (cwd / "kept.wav").string());
    EXPECT_EQ(ReadWav("kept.wav").Frames(), 5 * 16000);
    EXPECT_TRUE(Names("WaveFile").empty());
    EXPECT_EQ(bnotOpen, 1);
}

TEST_F(WavBlock, WriteFailureDuringATakeIsReportedAtStop) {
    // Files may not grow beyond 40000 bytes: the take (160000 bytes) fails on the way.
    testsupport::FileSizeLimit small(40000);
    ASSERT_TRUE(small.Set());
    rt::SetCtrlVal(panel, CFGDEMOZutb_NMLEN, 5u);
    Press(CFGDEMOZutb_CBRECORD);
    ProcessEventsUntil([] { return !os::SoundRecIsRecording(wDeviceID); });
    popups.QueueYesNo(false);
    Press(CFGDEMOZutb_CBSTOPR);
    small.Lift();

    EXPECT_EQ(Titles(Kind::Message),
              (std::vector<std::string>{"Stop Record|The recording stopped early.\nCannot write the recording: File too large."}));
    EXPECT_EQ(Titles(Kind::YesNo), (std::vector<std::string>{std::string("|") + kSaveQuestion}));
    EXPECT_TRUE(Names("WaveFile").empty());
    EXPECT_EQ(bnotOpen, 1);
}

TEST_F(WavBlock, PortAudioWithoutASoundDeviceReportsTheFailureAtStartRecord) {
    // Start-up did not start the audio system (once started, it stays for the process).
    if (!portAudioBefore) {
        EXPECT_FALSE(os::PortAudioStarted());
    }
    os::SetSoundBackend(nullptr);
    unsigned code = 0;
    std::string error;
    if (os::PortAudioBackend()->HasInput(&code, &error)) GTEST_SKIP() << "this machine has a sound input";
    ExpectStartRecordRefused("No sound input device was found.");
    EXPECT_TRUE(Names("WaveFile").empty());
}

// ---- playing -------------------------------------------------------------------------------

TEST_F(WavBlock, PlayFlagsFollowLoopAndAsynchronous) {
    ChooseFolder(SoundFolder());
    rt::SetCtrlIndex(panel, CFGDEMOZutb_LISTBOX, 1);  // b.wav, 800 frames

    // Neither: waits for the end (flags 2); Play stays dimmed until Stop Play.
    Press(CFGDEMOZutb_CBPLAY);
    EXPECT_EQ(os::CurrentSound().flags, 2u);
    EXPECT_FALSE(os::CurrentSound().playing);
    EXPECT_EQ(os::CurrentSound().file, (cwd / "sounds" / "b.wav").string());
    EXPECT_EQ(sound.FramesPlayed(), 800);
    EXPECT_EQ(sound.Calls(), (std::vector<std::string>{"open output 8000 1", "close output drain"}));
    EXPECT_TRUE(IsDimmed(CFGDEMOZutb_CBPLAY));
    EXPECT_FALSE(IsDimmed(CFGDEMOZutb_CBSTOPP));
    Press(CFGDEMOZutb_CBSTOPP);
    EXPECT_FALSE(IsDimmed(CFGDEMOZutb_CBPLAY));
    EXPECT_TRUE(IsDimmed(CFGDEMOZutb_CBSTOPP));

    // Asynchronous: flags 3.
    rt::SetCtrlVal(panel, CFGDEMOZutb_ASYNCHRONOUS, 1);
    Press(CFGDEMOZutb_CBPLAY);
    EXPECT_EQ(os::CurrentSound().flags, 3u);
    EXPECT_TRUE(WaitSoundEnd());
    EXPECT_FALSE(IsDimmed(CFGDEMOZutb_ASYNCHRONOUS));
    Press(CFGDEMOZutb_CBSTOPP);

    // Loop: flags 11, Asynchronous dimmed, plays until Stop Play.
    sound.Clear();
    rt::SetCtrlVal(panel, CFGDEMOZutb_LOOP, 1);
    rt::SetCtrlVal(panel, CFGDEMOZutb_ASYNCHRONOUS, 0);
    Press(CFGDEMOZutb_CBPLAY);
    EXPECT_EQ(os::CurrentSound().flags, 11u);
    EXPECT_TRUE(IsDimmed(CFGDEMOZutb_ASYNCHRONOUS));
    EXPECT_TRUE(ProcessEventsUntil([&] { return sound.FramesPlayed() > 3 * 800; }));
    EXPECT_TRUE(os::CurrentSound().playing);
    Press(CFGDEMOZutb_CBSTOPP);
    EXPECT_FALSE(os::CurrentSound().playing);
    const auto calls = sound.Calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "close output drop");
    EXPECT_EQ(sound.OpenDevices(), 0);
    // Unticking Loop undims Asynchronous at the next Play.
    rt::SetCtrlVal(panel, CFGDEMOZutb_LOOP, 0);
    Press(CFGDEMOZutb_CBPLAY);
    EXPECT_FALSE(IsDimmed(CFGDEMOZutb_ASYNCHRONOUS));
}

TEST_F(WavBlock, PlayThatWaitsKeepsTheWindowPaintingUntilTheSoundEnds) {
    ChooseFolder(SoundFolder());
    rt::SetCtrlIndex(panel, CFGDEMOZutb_LISTBOX, 1);
    // The device takes 100 frames and then holds: the play waits in painting slices (through
    // the sleeper) until the sound is stopped on the fifth one.
    os::TestSoundBackend::Config c;
    c.outputFrameLimit = 100;
    sound.SetConfig(c);
    int slices = 0;
    os::SetSleeper([&](int) {
        if (++slices == 5) std::thread([] { os::PlaySound(nullptr, 0); }).join();
    });
    Press(CFGDEMOZutb_CBPLAY);
    os::SetSleeper([](int) {});
    EXPECT_GE(slices, 5);
    EXPECT_FALSE(os::CurrentSound().playing);
    EXPECT_EQ(os::CurrentSound().flags, 2u);
}

TEST_F(WavBlock, ListCommitPlaysAndWhilePlayingAsksToStopFirst) {
    ChooseFolder(SoundFolder());
    rt::SetCtrlVal(panel, CFGDEMOZutb_LOOP, 1);
    rt::SetCtrlIndex(panel, CFGDEMOZutb_LISTBOX, 0);
    Press(CFGDEMOZutb_LISTBOX);
    EXPECT_TRUE(os::CurrentSound().playing);
    EXPECT_EQ(os::CurrentSound().file, (cwd / "sounds" / "A.WAV").string());
    Press(CFGDEMOZutb_LISTBOX);
    EXPECT_EQ(Titles(Kind::Message), (std::vector<std::string>{"Play click information|Please stop play."}));
    EXPECT_EQ(os::CurrentSound().file, (cwd / "sounds" / "A.WAV").string());
    EXPECT_TRUE(os::CurrentSound().playing);
}

// With nothing listed, Start Play lists the folder shown: "WaveFile" at first, the folder saved
// in "a00.ini" once the Zutb panel starts; only a folder without WAV files is told.
TEST_F(WavBlock, PlayWithAnEmptyListListsTheFolderShownAndSaysWhenItHoldsNoSound) {
    Press(CFGDEMOZutb_CBPLAY);
    EXPECT_EQ(Titles(Kind::Message),
              (std::vector<std::string>{"Error|No sound files in selected directory.\nSelect another directory."}));
    EXPECT_FALSE(IsDimmed(CFGDEMOZutb_CBPLAY));
    EXPECT_TRUE(IsDimmed(CFGDEMOZutb_CBSTOPP));
    EXPECT_TRUE(sound.Calls().empty());

    // A WAV copied into "WaveFile" after start plays.
    fs::create_directory(cwd / "WaveFile");
    soundtest::WriteWav(cwd / "WaveFile" / "copied.wav", 1, 16, 8000, 1, soundtest::Ramp(400, 1));
    popups.Clear();
    Press(CFGDEMOZutb_CBPLAY);
    EXPECT_THAT(popups.Shown(), ::testing::IsEmpty());
    EXPECT_EQ(ListItems(), (std::vector<std::string>{"copied.wav=WaveFile/copied.wav"}));
    EXPECT_EQ(os::CurrentSound().file, "WaveFile/copied.wav");
    EXPECT_EQ(sound.FramesPlayed(), 400);
    Press(CFGDEMOZutb_CBSTOPP);

    // The folder saved by "Change Directory" in an earlier run is the one shown and listed.
    const fs::path dir = SoundFolder();
    rt::IniText ini = rt::Ini_New(0);
    rt::Ini_PutString(ini, "Default", "PlayDir", dir.c_str());
    ASSERT_EQ(rt::Ini_WriteToFile(ini, kPlayerIniFile), 0);
    rt::Ini_Dispose(ini);
    rt::ClearListCtrl(panel, CFGDEMOZutb_LISTBOX);
    Menu(ui::AudioCodec_pan::MENUBAR_DEVICE_StereoZutb);
    EXPECT_EQ(Text(CFGDEMOZutb_DIRECTORY), dir.string());
    popups.Clear();
    Press(CFGDEMOZutb_CBPLAY);
    EXPECT_THAT(popups.Shown(), ::testing::IsEmpty());
    EXPECT_EQ(os::CurrentSound().file, (dir / "A.WAV").string());
    EXPECT_EQ(ListItems().size(), 2u);
}

TEST_F(WavBlock, NoOutputDeviceIsReportedAndAFileThatCannotPlayIsNot) {
    ChooseFolder(SoundFolder());
    Devices(false, true);
    Press(CFGDEMOZutb_CBPLAY);
    EXPECT_EQ(Titles(Kind::Message),
              (std::vector<std::string>{"Start Play|The sound could not be played.\nNo sound output device was found."}));
    EXPECT_FALSE(IsDimmed(CFGDEMOZutb_CBPLAY));
    EXPECT_TRUE(IsDimmed(CFGDEMOZutb_CBSTOPP));

    // A file that is not a sound: no message, the buttons show "playing" until Stop Play.
    Devices(true, true);
    popups.Clear();
    std::ofstream(cwd / "sounds" / "b.wav", std::ios::trunc) << "not a sound";
    rt::SetCtrlIndex(panel, CFGDEMOZutb_LISTBOX, 1);
    Press(CFGDEMOZutb_CBPLAY);
    EXPECT_THAT(popups.Shown(), ::testing::IsEmpty());
    EXPECT_TRUE(IsDimmed(CFGDEMOZutb_CBPLAY));
    EXPECT_EQ(sound.OpenDevices(), 0);
}

// ---- folder --------------------------------------------------------------------------------

TEST_F(WavBlock, ChangeDirListsTheFoldersWavFilesAndWritesTheFolderToA00Ini) {
    // The folder already shown: nothing happens.
    popups.QueueDir("WaveFile");
    Press(CFGDEMOZutb_CHANGEDIR);
    EXPECT_FALSE(fs::exists("a00.ini"));
    EXPECT_EQ(popups.Shown().at(0).title, "Select Directory");
    EXPECT_EQ(popups.Shown().at(0).text, "WaveFile");
    // Cancelled: nothing either.
    popups.QueueDirCancel();
    Press(CFGDEMOZutb_CHANGEDIR);
    EXPECT_FALSE(fs::exists("a00.ini"));

    const fs::path dir = SoundFolder();
    ChooseFolder(dir);
    EXPECT_EQ(Text(CFGDEMOZutb_DIRECTORY), dir.string());
    EXPECT_EQ(ListItems(), (std::vector<std::string>{"A.WAV=" + (dir / "A.WAV").string(),
                                                     "b.wav=" + (dir / "b.wav").string()}));
    rt::IniText ini = rt::Ini_New(0);
    ASSERT_EQ(rt::Ini_ReadFromFile(ini, "a00.ini"), 0);
    std::string playDir;
    EXPECT_EQ(rt::Ini_GetStringCopy(ini, "Default", "PlayDir", &playDir), 1);
    EXPECT_EQ(playDir, dir.string());
    rt::Ini_Dispose(ini);
}

TEST_F(WavBlock, AFolderThatA00IniCannotKeepIsToldAndUsedUntilTheEnd) {
    // An a00.ini holding the folder of an earlier run, and folders to choose.
    fs::create_directories("old");
    fs::create_directories("new");
    rt::IniText ini = rt::Ini_New(0);
    rt::Ini_PutString(ini, "Default", "PlayDir", (cwd / "old").c_str());
    ASSERT_EQ(rt::Ini_WriteToFile(ini, "kept.ini"), 0);
    rt::Ini_Dispose(ini);
    auto readFile = [](const fs::path& path) {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string oldText = readFile("kept.ini");
    const std::string told = "Change Directory|The folder chosen is used until the program ends, but it could not be "
                             "kept for the next start.\nIt could not be saved to:\n" +
                             (cwd / "a00.ini").string() + "\n";
    struct Case {
        const char* what;
        std::function<void()> make;
        std::string reason;  // the words the reason ends with
    };
    const std::vector<Case> cases = {
        {"folder", [] { fs::create_directory("a00.ini"); }, "a00.ini is not a regular file."},
        {"pipe", [] { ASSERT_EQ(mkfifo("a00.ini", 0600), 0); }, "a00.ini is not a regular file."},
        {"device", [] { fs::create_symlink("/dev/null", "a00.ini"); }, "/dev/null is not a regular file."},
        {"link that loops", [] { fs::create_symlink("a00.ini", "a00.ini"); }, "Too many levels of symbolic links"},
        {"link into a missing folder", [] { fs::create_symlink("missing/a00.ini", "a00.ini"); },
         "No such file or directory"},
        // A file that cannot grow, as on a full disk: the old one stays as it was.
        {"full", [] { fs::copy_file("kept.ini", "a00.ini"); }, "File too large"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::error_code ec;
        fs::remove_all("a00.ini", ec);
        c.make();
        ResetWavBlock();
        rt::SetCtrlVal(panel, CFGDEMOZutb_DIRECTORY, std::string("WaveFile"));
        popups.Clear();
        const bool full = c.what == std::string("full");
        {
            std::optional<testsupport::FileSizeLimit> none;
            if (full) {
                ASSERT_TRUE(none.emplace(0).Set());
            }
            ChooseFolder(cwd / (full ? "new" : "old"));
        }

        const auto messages = Titles(Kind::Message);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].rfind(told, 0), 0u) << messages[0];
        EXPECT_THAT(messages[0], ::testing::EndsWith(c.reason));
        if (full) {
            EXPECT_EQ(readFile("a00.ini"), oldText);
        }
        // Shown and listed now, and still at the next choice of the Zutb in this run, although
        // a00.ini (when it holds a folder) names another.
        const std::string chosen = (cwd / (full ? "new" : "old")).string();
        EXPECT_EQ(Text(CFGDEMOZutb_DIRECTORY), chosen);
        rt::SetCtrlVal(panel, CFGDEMOZutb_DIRECTORY, std::string("WaveFile"));
        Menu(ui::AudioCodec_pan::MENUBAR_DEVICE_StereoZutb);
        EXPECT_EQ(Text(CFGDEMOZutb_DIRECTORY), chosen);
    }

    // A folder a00.ini keeps again is what the Zutb shows from then on.
    fs::remove_all("a00.ini");
    popups.Clear();
    rt::SetCtrlVal(panel, CFGDEMOZutb_DIRECTORY, std::string("WaveFile"));
    ChooseFolder(cwd / "new");
    EXPECT_TRUE(Titles(Kind::Message).empty());
    rt::SetCtrlVal(panel, CFGDEMOZutb_DIRECTORY, std::string("WaveFile"));
    rt::IniText now = rt::Ini_New(0);
    rt::Ini_PutString(now, "Default", "PlayDir", (cwd / "old").c_str());
    ASSERT_EQ(rt::Ini_WriteToFile(now, "a00.ini"), 0);
    rt::Ini_Dispose(now);
    Menu(ui::AudioCodec_pan::MENUBAR_DEVICE_StereoZutb);
    EXPECT_EQ(Text(CFGDEMOZutb_DIRECTORY), (cwd / "old").string());
    // An a00.ini far larger than a folder's name is not read: the Zutb shows "WaveFile".
    const std::string kept = readFile("a00.ini");
    fs::resize_file("a00.ini", 200u << 20);
    rt::SetCtrlVal(panel, CFGDEMOZutb_DIRECTORY, std::string("WaveFile"));
    Menu(ui::AudioCodec_pan::MENUBAR_DEVICE_StereoZutb);
    EXPECT_EQ(Text(CFGDEMOZutb_DIRECTORY), "WaveFile");
    fs::resize_file("a00.ini", kept.size());

    // A folder whose name a00.ini cannot hold (a line break in it) is told the same way, and
    // the file keeps the folder it had.
    const std::string before = readFile("a00.ini");
    fs::create_directories(cwd / "two\nlines");
    popups.Clear();
    ChooseFolder(cwd / "two\nlines");
    EXPECT_EQ(Titles(Kind::Message), (std::vector<std::string>{told + "the folder's name cannot be stored in it"}));
    EXPECT_EQ(readFile("a00.ini"), before);
    EXPECT_EQ(Text(CFGDEMOZutb_DIRECTORY), (cwd / "two\nlines").string());
}

}  // namespace
