// Demo presets: the generated files, their installation, and "Load Settings" on the stereo,
// Zutb and mono demo panels, checked on what the chip receives.
#include <gmock/gmock.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "boardhid/emulator_control.h"
#include "demo/demo_presets.h"
#include "demo/demo_services.h"
#include "link/chip_operation.h"
#include "oslayer/sound.h"
#include "oslayer/sound_testing.h"
#include "panels/MNDemo_pan.h"
#include "panels/cfgDemoJorb_pan.h"
#include "panels/cfgDemoZutb_pan.h"
#include "panels/cfgDevJorb_pan.h"
#include "panels/cfgPathZutb_pan.h"
#include "pathview/pathview_services.h"
#include "regmap/config_tables.h"
#include "runtime/inifile.h"
#include "shell/progress.h"
#include "shell/startup.h"
#include "tests/demo/demo_test_support.h"
#include "tests/support/held_writer.h"
#include "tests/support/popup_texts.h"

namespace demotest {
namespace {

namespace fs = std::filesystem;
using namespace ui::cfgDemoJorb_pan;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The names in `dir` that carry the temporary marker.
std::vector<std::string> Temporaries(const fs::path& dir) {
    std::vector<std::string> out;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().filename().string().find(".codecbench-tmp-") != std::string::npos)
            out.push_back(entry.path().filename().string());
    return out;
}


// Processes that were writing and were killed with SIGKILL, each with what it left.
class KilledWriter {
public:
    // Files `names` (in `dir`) made as every writer makes its temporary, without permission
    // bits, holding `contents`, by a process killed before it locked them.
    static void BeforeLocking(const fs::path& dir, const std::vector<std::string>& names, const std::string& contents) {
        int ready[2];
        if (pipe(ready) != 0) return;
        const pid_t pid = fork();
        if (pid == 0) {
            for (const auto& name : names) {
                const int fd = open((dir / name).c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW, 0);
                if (fd < 0 || write(fd, contents.data(), contents.size()) != static_cast<ssize_t>(contents.size())) _exit(2);
            }
            if (write(ready[1], "r", 1) != 1) _exit(3);
            for (;;) pause();
        }
        Kill(pid, ready);
    }

    // A recording into `folder` whose process had forked a helper that lives on (as a sound
    // library's server process does), killed while recording. The helper ends with this object.
    explicit KilledWriter(const fs::path& folder) {
        int ready[2];
        if (pipe(ready) != 0 || pipe(hold_) != 0) return;
        const pid_t pid = fork();
        if (pid == 0) {
            static os::TestSoundBackend sound;
            os::SetSoundBackend(&sound);
            unsigned id = 0;
            if (os::SoundRecOpen(folder.c_str(), &id) != os::SOUND_OK ||
                os::SoundRecSetFormat(id, os::WaveFormat{}) != os::SOUND_OK || os::SoundRecRecord(id, 60000) != os::SOUND_OK)
                _exit(2);
            const pid_t helper = fork();
            if (helper == 0) {
                close(hold_[1]);
                char c;
                while (read(hold_[0], &c, 1) < 0 && errno == EINTR) {
                }
                _exit(0);
            }
            if (write(ready[1], &helper, sizeof helper) != sizeof helper) _exit(3);
            for (;;) pause();
        }
        close(hold_[0]);
        hold_[0] = -1;
        helper_ = Kill(pid, ready);
    }
    ~KilledWriter() {
        if (hold_[1] >= 0) close(hold_[1]);  // the helper ends on its own
    }
    bool HelperLives() const { return helper_ > 0 && kill(helper_, 0) == 0; }

private:
    // Waits until `pid` wrote to `ready` (what it wrote is returned, or 0), then kills it.
    static pid_t Kill(pid_t pid, int (&ready)[2]) {
        close(ready[1]);
        pid_t said = 0;
        const bool up = pid > 0 && read(ready[0], &said, sizeof said) > 0;
        close(ready[0]);
        if (pid <= 0) return 0;
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(up && WIFSIGNALED(status)) << "the writer did not get there";
        return said;
    }

    int hold_[2] = {-1, -1};
    pid_t helper_ = 0;
};

// Sets the modification time of `file` `seconds` before the one it has.
void Age(const fs::path& file, int seconds) {
    struct stat st {};
    ASSERT_EQ(lstat(file.c_str(), &st), 0) << file;
    timespec times[2] = {st.st_mtim, st.st_mtim};
    times[0].tv_sec -= seconds;
    times[1].tv_sec -= seconds;
    ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << file;
}

class PresetTest : public DemoFixture {
protected:
    void SetUp() override {
        DemoFixture::SetUp();
        if (HasFatalFailure()) return;
        ResetConfigTables();
    }
    void TearDown() override {
        DemoFixture::TearDown();
        ResetConfigTables();
    }
    void Tick(int panel, int control, int value = 1) {
        rt::SetCtrlVal(panel, control, value);
        rt::CallCtrlCallback(panel, control, rt::EVENT_COMMIT, 0, 0);
    }
    void Press(int panel, int control) { rt::CallCtrlCallback(panel, control, rt::EVENT_COMMIT, 0, 0); }
    // The value of a register in a set of a preset file in the project directory.
    int FileValue(const char* file, const std::string& section, int reg) {
        rt::IniText ini = rt::Ini_New(0);
        rt::Ini_ReadFromFile(ini, (home / file).c_str());
        char key[16];
        std::snprintf(key, sizeof key, "0x%x", reg);
        int value = -1;
        rt::Ini_GetInt(ini, section.c_str(), key, &value);
        rt::Ini_Dispose(ini);
        return value;
    }
    // Register pairs of the bulk writes (commands 0x15 to 0x17), as (register, value).
    std::vector<Write> BulkWrites() const {
        std::vector<Write> out;
        for (const shelltest::Report& r : board->ReceivedReports()) {
            int cmd = r.empty() ? 0 : (r[0] & 0x3F);
            if (cmd < 0x15 || cmd > 0x17) continue;
            int length = (r[1] << 8) | r[2];
            for (int i = 0; i + 1 < length && 4 + i < static_cast<int>(r.size()); i += 2)
                out.emplace_back(r[3 + i] >> 1, ((r[3 + i] & 1) << 8) | r[4 + i]);
        }
        return out;
    }
    // What the board received, one word per report: "W52" a write of R52, "B" a bulk write block,
    // "C34" any other command by its hex code. The writes of R7 that configuring the board makes
    // (its interface bit) are left out.
    std::vector<std::string> Timeline() const {
        std::vector<std::string> out;
        for (const shelltest::Report& r : board->ReceivedReports()) {
            if (r.empty()) continue;
            const int cmd = r[0] & 0x3F;
            char word[16];
            if ((r[0] & 0xC0) != 0 && cmd == CMD_CODEC_WRITE_ONE && r.size() >= 5) {
                if ((r[3] >> 1) == 7) continue;
                std::snprintf(word, sizeof word, "W%d", r[3] >> 1);
            }
            else if ((r[0] & 0xC0) != 0 && cmd >= CMD_CODEC_WRITE_BLOCK1 && cmd <= CMD_CODEC_WRITE_BLOCK3)
                std::snprintf(word, sizeof word, "B");
            else
                std::snprintf(word, sizeof word, "C%02X", r[0]);
            out.push_back(word);
        }
        return out;
    }
    static std::string Join(const std::vector<std::string>& words) {
        std::string out;
        for (const std::string& w : words) out += (out.empty() ? "" : " ") + w;
        return out;
    }
    std::vector<std::string> Popups() const {
        std::vector<std::string> out;
        for (const auto& p : prompter.shown) out.push_back(p.title + "|" + p.text);
        return out;
    }
};

// ---- the files ---------------------------------------------------------------------------

TEST(PresetFiles, TheGeneratorWritesExactlyTheCommittedFiles) {
    fs::path out = fs::temp_directory_path() / ("codecbench-presetgen-" + std::to_string(::getpid()));
    fs::create_directories(out);
    std::string command = std::string(CB_PRESETGEN) + " " + CB_PRESETS_DIR + "/presets.table " + out.string();
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const char* name : kDemoPresetFiles) {
        SCOPED_TRACE(name);
        std::string generated = ReadFile(out / name);
        EXPECT_FALSE(generated.empty());
        EXPECT_TRUE(generated == ReadFile(fs::path(CB_PRESETS_DIR) / name)) << "regenerate with tools/presetgen";
    }

    // A set that takes the master clock from the PLL while leaving the PLL off, or that runs the
    // chip at any rate but 48 kHz, is refused before any file is written: here the first file is
    // good, the second one is not.
    const auto generate = [&](const char* r1, const char* r6) {
        fs::remove(out / "Good.dat");
        fs::remove(out / "Clock.dat");
        std::ofstream(out / "clock.table", std::ios::trunc)
            << "family good\n  pll R6 0x100 R1 0x020\n  mclk 12\n  pllblock R36\n  divider R6 0x0E0\n"
            << "  base default = 0\n  base R1 = 0x02D\n  base R6 = 0x140\n  base R36 = 0x008\n  base R37 = 0x00C\n"
            << "  base R38 = 0x093\n  base R39 = 0x0E9\n  chain 1 R3 |= 0x00F\n  output HP R2 |= 0x180\n"
            << "family stereo\n  pll R6 0x100 R1 0x020\n  mclk 12\n  pllblock R36\n  divider R6 0x0E0\n"
            << "  base default = 0\n  base R6 = " << r6 << "\n  base R1 = " << r1
            << "\n  base R36 = 0x008\n  base R37 = 0x00C\n  base R38 = 0x093\n  base R39 = 0x0E9\n"
            << "  chain 1 R3 |= 0x00F\n  output HP R2 |= 0x180\n"
            << "file Good.dat\n  family good\n  groups Jorb\n  prefix Preset\n  sets 1\n  suffix HP HP\n"
            << "file Clock.dat\n  family stereo\n  groups Jorb\n  prefix Preset\n  sets 1\n  suffix HP HP\n";
        const std::string run = std::string(CB_PRESETGEN) + " " + (out / "clock.table").string() + " " + out.string();
        return std::system((run + " 2>/dev/null").c_str());
    };
    EXPECT_NE(generate("0x00D", "0x140"), 0) << "PLL off";
    EXPECT_NE(generate("0x02D", "0x100"), 0) << "divide by 1: 96 kHz";
    EXPECT_NE(generate("0x02D", "0x180"), 0) << "divide by 4: 24 kHz";
    EXPECT_FALSE(fs::exists(out / "Good.dat"));
    EXPECT_FALSE(fs::exists(out / "Clock.dat"));
    EXPECT_EQ(generate("0x02D", "0x140"), 0);
    EXPECT_TRUE(fs::exists(out / "Good.dat"));
    EXPECT_TRUE(fs::exists(out / "Clock.dat"));
    EXPECT_EQ(generate("0x00D", "0x000"), 0) << "not clocked from the PLL: no PLL rule applies";
    fs::remove_all(out);
}

TEST_F(PresetTest, EverySetOfEveryPresetFileLoadsWithoutAPopup) {
    const struct { const char* file; ConfigModel model; int sets; } files[] = {
        {"STPreset.dat", CFG_JORB, 49}, {"STZutaPreset.dat", CFG_ZUTA, 49}, {"STPresetJora.dat", CFG_JORA, 28},
        {"STPresetQeva.dat", CFG_QEVA, 35}, {"STZutbPreset.dat", CFG_ZUTB, 2}, {"MNPreset.dat", CFG_PYKC, 18},
        {"MNPykbPreset.dat", CFG_PYKB, 18}, {"MNPykaPreset.dat", CFG_PYKA, 18},
    };
    DeviceAttached = 0;  // the register copy only: no bulk writes and their pauses
    for (const auto& f : files) {
        SCOPED_TRACE(f.file);
        rt::IniText ini = nullptr;
        ASSERT_EQ(InitConfigFor(f.model, &ini, f.file, 1, 0), 1) << "installed at start-up";
        std::vector<std::string> names = ConfigSetNames(ini);
        EXPECT_EQ(static_cast<int>(names.size()), f.sets);
        // Every register of every group is there.
        const ConfigModule& module = ConfigModuleOf(f.model);
        int groups = 0;
        for (int g = 0; module.groups[g].name[0]; ++g) groups += GroupHoldsRegisters(module.groups[g]) ? 1 : 0;
        EXPECT_EQ(rt::Ini_NumberOfSections(ini), f.sets * groups);
        for (const std::string& name : names) {
            StartProgressBar("Loading configuration ...", 6);
            EXPECT_EQ(LoadSingleConfigFor(f.model, ini, name.c_str(), 1), 1) << name;
        }
        rt::Ini_Dispose(ini);
    }
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
}

TEST_F(PresetTest, StartUpCopiesMissingPresetFilesKeepsTheUsersTellsFailuresAndClearsLeftovers) {
    // Start-up ran with an empty project directory: every file was copied there.
    for (const char* name : kDemoPresetFiles) EXPECT_TRUE(fs::exists(home / name)) << name;
    {
        std::ofstream mine(home / "STPreset.dat", std::ios::trunc);
        mine << "[Mine/Power Management]\r\n0x1 = 1\r\n\r\n";
    }
    fs::remove(home / "MNPreset.dat");
    InstallDemoPresetFiles();
    EXPECT_EQ(ReadFile(home / "STPreset.dat"), "[Mine/Power Management]\r\n0x1 = 1\r\n\r\n");
    EXPECT_EQ(ReadFile(home / "MNPreset.dat"), ReadFile(fs::path(CB_PRESETS_DIR) / "MNPreset.dat"));
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());

    // Files that cannot be copied (a folder stands in the way) are told in one message.
    fs::remove(home / "MNPreset.dat");
    fs::remove(home / "MNPykaPreset.dat");
    fs::create_directory(home / "MNPreset.dat");
    fs::create_directory(home / "MNPykaPreset.dat");
    InstallDemoPresetFiles();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "Warning");
    EXPECT_NE(prompter.shown[0].text.find("\nMNPreset.dat: "), std::string::npos) << prompter.shown[0].text;
    EXPECT_NE(prompter.shown[0].text.find("\nMNPykaPreset.dat: "), std::string::npos);
    EXPECT_EQ(prompter.shown[0].text.find("STPreset.dat"), std::string::npos);

    // Start-up removes the temporaries a kill during a save left, by their marker only: beside
    // the program's files in the project directory and the working directory, and in the
    // recording folder. Users' files of any likeness stay, as do unmarked older leftovers and
    // a link bearing the marker (and what it points to).
    const fs::path cwd = fs::current_path();
    fs::current_path(home);
    fs::create_directory(home / "WaveFile");
    const std::vector<std::string> leftovers = {
        ".STconfig.dat.codecbench-tmp-Ab12Cd", ".STPreset.dat.codecbench-tmp-x9Y8z7",
        ".tempini.dat.codecbench-tmp-QQ00qq",  ".script.txt.codecbench-tmp-a1b2c3",
        ".a00.ini.codecbench-tmp-Zz9Zz9",      "WaveFile/.take.codecbench-tmp-abC123",
        "WaveFile/.100407.wav.codecbench-tmp-0aB1cD"};
    const std::vector<std::string> kept = {
        // users' files
        "STconfig.dat.backup", "STconfig.dat.202612", "MNconfig.dat.before", "STPreset.dat.mine01",
        "a00.ini.backup", "WaveFile/.save-backup", "WaveFile/.take-backup", "WaveFile/100407.wav",
        // unmarked leftovers of older versions
        "STconfig.dat.Ab12Cd", "WaveFile/.take-abC123",
        // near misses of the marker
        ".notes.dat.codecbench-tmp-Ab12Cd", ".STconfig.dat.codecbench-tmp-Ab12C",
        ".STconfig.dat.codecbench-tmp-Ab12C-", "STconfig.dat.codecbench-tmp-Ab12Cd",
        ".STconfig.dat.codecbench-tmp-Ab12Cde", "WaveFile/..codecbench-tmp-Ab12Cd"};
    for (const auto& name : leftovers) std::ofstream(home / name) << "x";
    for (const auto& name : kept) std::ofstream(home / name) << "x";
    const fs::path linked = home / ".MNconfig.dat.codecbench-tmp-L1nk00";
    fs::create_symlink(home / "STconfig.dat.backup", linked);
    // Another user's file of that form stays (the tests run as root where they can make one).
    const fs::path others = home / ".STZutbconfig.dat.codecbench-tmp-0ther5";
    const bool root = geteuid() == 0;
    if (root) {
        std::ofstream(others) << "x";
        ASSERT_EQ(chown(others.c_str(), 65534, 65534), 0);
    }
    // Writers killed between creating their temporary and locking it left it without
    // permission bits: taken once empty and more than five minutes old, never younger (a live
    // writer's, about to lock it), nor with contents, nor another user's.
    const std::vector<std::string> neverLocked = {".STconfig.dat.codecbench-tmp-N0b1t5",
                                                  "WaveFile/.take.codecbench-tmp-N0b1t5"};
    const std::vector<std::string> neverLockedKept = {".MNconfig.dat.codecbench-tmp-N0b1t5",
                                                      ".STPreset.dat.codecbench-tmp-N0b1t5"};
    KilledWriter::BeforeLocking(home, neverLocked, "");
    KilledWriter::BeforeLocking(home, neverLockedKept, "");
    KilledWriter::BeforeLocking(home, {".STZutaPreset.dat.codecbench-tmp-N0b1t5"}, "x");
    for (const auto& name : neverLocked) Age(home / name, 6 * 60);
    Age(home / neverLockedKept[1], 4 * 60);
    Age(home / ".STZutaPreset.dat.codecbench-tmp-N0b1t5", 6 * 60);
    const fs::path othersBare = home / ".STZutaconfig.dat.codecbench-tmp-0ther6";
    if (root) {
        KilledWriter::BeforeLocking(home, {othersBare.filename()}, "");
        ASSERT_EQ(chown(othersBare.c_str(), 65534, 65534), 0);
        Age(othersBare, 6 * 60);
    }
    // A recording killed while a process it forked lives on: the take goes all the same.
    std::vector<std::string> takes;
    KilledWriter recording(home / "WaveFile");
    EXPECT_TRUE(recording.HelperLives());
    for (const auto& name : Temporaries(home / "WaveFile"))
        if (name.starts_with(".take.") && !name.ends_with("abC123") && !name.ends_with("N0b1t5")) takes.push_back(name);
    ASSERT_EQ(takes.size(), 1u) << "the recording made no take: " << ::testing::PrintToString(takes);

    fs::remove(home / "MNPreset.dat");
    fs::remove(home / "MNPykaPreset.dat");
    prompter.shown.clear();
    // A second instance starts while the first one saves its script: the writer's temporary
    // stays, and its save succeeds.
    {
        testsupport::HeldWriter writer(testsupport::HeldWriter::Save(home / "script.txt", "0x1 = 5\n", "0x2 = 6\n"));
        ASSERT_TRUE(writer.Holding());
        std::vector<std::string> live;
        for (const auto& name : Temporaries(home))
            if (name.starts_with(".script.txt.") && name != ".script.txt.codecbench-tmp-a1b2c3") live.push_back(name);
        ASSERT_EQ(live.size(), 1u);
        DiscardShellPanels();
        StartShell(true);
        EXPECT_TRUE(fs::exists(home / live[0])) << "the live temporary was removed";
        EXPECT_EQ(writer.Finish(), 0) << "the save failed";
    }
    EXPECT_EQ(ReadFile(home / "script.txt"), "0x1 = 5\n0x2 = 6\n");
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
    for (const auto& name : leftovers) EXPECT_FALSE(fs::exists(home / name)) << name;
    for (const auto& name : kept) EXPECT_TRUE(fs::exists(home / name)) << name;
    EXPECT_TRUE(fs::is_symlink(linked));
    if (root) {
        EXPECT_TRUE(fs::exists(others)) << "another user's file was removed";
        EXPECT_TRUE(fs::exists(othersBare)) << "another user's file was removed";
    }
    for (const auto& name : neverLocked) EXPECT_FALSE(fs::exists(home / name)) << name;
    for (const auto& name : neverLockedKept) EXPECT_TRUE(fs::exists(home / name)) << name;
    EXPECT_TRUE(fs::exists(home / ".STZutaPreset.dat.codecbench-tmp-N0b1t5"));
    EXPECT_FALSE(fs::exists(home / "WaveFile" / takes[0])) << "the killed recording's take stayed";
    EXPECT_TRUE(recording.HelperLives());

    // A user without the right to override file modes (tests run as root; the user here is
    // 65534) has the same clean-up of temporaries that never got their bits.
    if (root) {
        const fs::path folder = home / "WaveFile";
        const std::string dead = ".take.codecbench-tmp-Us3r00", young = ".take.codecbench-tmp-Us3r01";
        KilledWriter::BeforeLocking(folder, {dead, young}, "");
        for (const fs::path& p : {folder, folder / dead, folder / young}) ASSERT_EQ(chown(p.c_str(), 65534, 65534), 0);
        Age(folder / dead, 6 * 60);
        const pid_t user = fork();
        if (user == 0) {
            if (setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
            RemoveLeftoverTemporaries();
            _exit(0);
        }
        int status = -1;
        waitpid(user, &status, 0);
        EXPECT_EQ(status, 0);
        EXPECT_FALSE(fs::exists(folder / dead));
        struct stat st {};
        ASSERT_EQ(stat((folder / young).c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0u) << "a young temporary was changed";
    }
    EXPECT_TRUE(fs::exists(home / "STPreset.dat"));
    EXPECT_TRUE(fs::exists(home / "MNPreset.dat")) << "copied again";

    // A recording folder that is a link is not entered: what lies in the folder it names stays.
    fs::remove_all(home / "WaveFile");
    fs::create_directory(home / "elsewhere");
    for (const char* name : {".take.codecbench-tmp-abC123", ".100407.wav.codecbench-tmp-0aB1cD"})
        std::ofstream(home / "elsewhere" / name) << "x";
    fs::create_directory_symlink(home / "elsewhere", home / "WaveFile");
    RemoveLeftoverTemporaries();
    EXPECT_EQ(Temporaries(home / "elsewhere").size(), 2u);
    fs::current_path(cwd);
}

// ---- stereo loader -----------------------------------------------------------------------

TEST_F(PresetTest, JorbSet2OnSpeakerAndHeadphoneLoadsItsSectionMutedThenUnmutes) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    int panel = PHandleSTDemo;
    Tick(panel, STDemo_STSet2);
    rt::SetCtrlVal(panel, STDemo_Out_2, 2);
    PoweredUp = 0;
    recordPauses = true;
    Press(panel, STDemo_STLoadSettings);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty()) << Popups().front();

    // The power-up (it ends with its bulk write), Config Board, USB <--> CODEC, the mute-all, the
    // set's bulk write, PCMT disabled, the unmute.
    const std::string timeline = Join(Timeline());
    const std::string tail = "C34 C36 W52 W53 W54 W55 W56 W57 B B B C31 W54 W55 W52 W53";
    ASSERT_GE(timeline.size(), tail.size());
    EXPECT_EQ(timeline.substr(timeline.size() - tail.size()), tail) << timeline;
    EXPECT_NE(timeline.find("W2 W3"), std::string::npos) << "the power-up's outputs off";
    EXPECT_EQ(PoweredUp, 1);
    // The set's bulk write: its section, outputs muted.
    auto bulk = BulkWrites();
    ASSERT_EQ(bulk.size(), 126u);
    bulk.erase(bulk.begin(), bulk.begin() + 63);  // the power-up's
    for (const Write& w : bulk) {
        if (w.first >= 52 && w.first <= 57) {
            EXPECT_EQ(w.second & 0x40, 0x40) << w.first;
        } else if (w.first != 7 && w.first >= 1 && w.first <= 62 && w.first != 23 && w.first != 26 && w.first != 31 &&
                   w.first != 42) {
            const ConfigGroup* g = ConfigGroups;
            std::string group;
            for (int i = 0; g[i].name[0]; ++i)
                if (w.first >= g[i].first && w.first <= g[i].last) group = g[i].name;
            EXPECT_EQ(w.second, FileValue("STPreset.dat", "Preset2_SPK_HP/" + group, w.first)) << w.first;
        }
    }
    auto writes = RegisterWrites();
    // Last, the chosen outputs unmuted with their latch.
    std::vector<Write> last(writes.end() - 4, writes.end());
    EXPECT_EQ(last[0].first, 54);
    EXPECT_EQ(last[1].first, 55);
    EXPECT_EQ(last[2].first, 52);
    EXPECT_EQ(last[3].first, 53);
    for (const Write& w : last) EXPECT_EQ(w.second & 0x140, 0x100) << w.first;
    EXPECT_EQ(CFG_REG[56] & 0x40, 0x40u);
    EXPECT_EQ(CFG_REG[57] & 0x40, 0x40u);
    // Between the mute-all and the unmute: the demo start's 0.2 s, the load's 4.0 s, 0.5 s.
    EXPECT_EQ(SleptAfterWrite(writes.size() - 4), 4700);
    Forget();
    // Set 5: USB <--> PCM and PCMT enabled; a chip powered up is not powered up again.
    Tick(panel, STDemo_STSet5);
    rt::SetCtrlVal(panel, STDemo_Out_5, 1);
    Press(panel, STDemo_STLoadSettings);
    EXPECT_EQ(Join(Timeline()), "C34 C34 C36 W52 W53 W54 W55 W56 W57 B B B C35 C31 W52 W53");
    EXPECT_EQ(FlagCFGUpdate, 1);

    // The board refuses the set's second block (after the words, R7, the routing, six mutes and
    // the first block): nothing after it goes out, one popup names "Load Settings" and the
    // block, and the outputs stay muted.
    Forget();
    prompter.shown.clear();
    board->SetFaults(boardhid::RefuseOneSend(11));
    Press(panel, STDemo_STLoadSettings);
    EXPECT_EQ(Join(Timeline()), "C34 C34 C36 W52 W53 W54 W55 W56 W57 B");
    EXPECT_EQ(Popups(), std::vector<std::string>{std::string("Warning -- Operation aborted|") +
                                                 "\"Load Settings\" stopped: the board refused the block write of R25 "
                                                 "to R48, and nothing after it was sent." +
                                                 testsupport::kPanelsMayDiffer});
    EXPECT_EQ(CFG_REG[52] & 0x40, 0x40u);

    // The board refuses the unmute's first write, after the set's bulk write: the outputs' registers
    // go back to what that bulk write gave the chip (the set's volumes, muted), not to what they
    // held before the load.
    auto setValue = [&](int reg) {
        std::string group;
        for (int i = 0; ConfigGroups[i].name[0]; ++i)
            if (reg >= ConfigGroups[i].first && reg <= ConfigGroups[i].last) group = ConfigGroups[i].name;
        return FileValue("STPreset.dat", "Preset2_SPK_HP/" + group, reg);
    };
    Tick(panel, STDemo_STSet2);
    rt::SetCtrlVal(panel, STDemo_Out_2, 2);
    for (int r = 52; r <= 55; ++r) CFG_REG[r] = static_cast<uint32_t>((setValue(r) ^ 0x00F) & 0x1BF);
    Forget();
    prompter.shown.clear();
    board->SetFaults(boardhid::RefuseOneSend(14));  // the words, R7, the routing, six mutes, three blocks, PCMT
    Press(panel, STDemo_STLoadSettings);
    EXPECT_EQ(Join(Timeline()), "C34 C34 C36 W52 W53 W54 W55 W56 W57 B B B C31");
    EXPECT_EQ(Popups(), std::vector<std::string>{std::string("Warning -- Operation aborted|") +
                                                 "\"Load Settings\" stopped: the board refused the write of R54, and "
                                                 "nothing after it was sent." +
                                                 testsupport::kPanelsMayDiffer});
    for (int r = 52; r <= 55; ++r) {
        EXPECT_EQ(CFG_REG[r], static_cast<uint32_t>(board->CodecRegister(r))) << r;
        EXPECT_EQ(CFG_REG[r] & 0x3F, static_cast<uint32_t>(setValue(r) & 0x3F)) << r;
        EXPECT_EQ(CFG_REG[r] & 0x40, 0x40u) << r;
    }
}

TEST_F(PresetTest, MissingOrNonRegularPresetFileStopsAfterTheMuteWithAnError) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    fs::remove(home / "STPreset.dat");
    Tick(PHandleSTDemo, STDemo_STSet4);
    PoweredUp = 1;
    Press(PHandleSTDemo, STDemo_STLoadSettings);
    EXPECT_EQ(Popups(), std::vector<std::string>{"ERROR| Error Opening Config File, Presetting loading failed...\n" +
                                                  (home / "STPreset.dat").string()});
    EXPECT_EQ(Join(Timeline()), "C34 C34 C36 W52 W53 W54 W55 W56 W57");
    EXPECT_TRUE(BulkWrites().empty());

    // A named pipe in place of any model's preset file (no writer: a blocking read would wait
    // for good): the load stops at once with one popup giving the reason, loads nothing and
    // leaves the pipe in place.
    namespace mn = ui::MNDemo_pan;
    namespace zb = ui::cfgDemoZutb_pan;
    const struct { int item; int* panel; const char* file; int set; int load; } models[] = {
        {MENUBAR_DEVICE_StereoJorb, &PHandleSTDemo, "STPreset.dat", STDemo_STSet4, STDemo_STLoadSettings},
        {MENUBAR_DEVICE_StereoZuta, &PHandleSTDemoZuta, "STZutaPreset.dat", STDemo_STSet4, STDemo_STLoadSettings},
        {MENUBAR_DEVICE_StereoJora, &PHdlDemoJora, "STPresetJora.dat", STDemo_STSet3, STDemo_STLoadSettings},
        {MENUBAR_DEVICE_StereoQeva, &PHdlDemoQeva, "STPresetQeva.dat", STDemo_STSet5, STDemo_STLoadSettings},
        {MENUBAR_DEVICE_StereoZutb, &PHandleSTDemoZutb, "STZutbPreset.dat", zb::CFGDEMOZutb_STSet8,
         zb::CFGDEMOZutb_STLoadSettings},
        {MENUBAR_DEVICE_Mono, &PHandleMNDemo, "MNPreset.dat", mn::MNDEMO_MNSet5, mn::MNDEMO_MNLoadSettings},
        {MENUBAR_DEVICE_MonoPykb, &PHandleMNPykbDemo, "MNPykbPreset.dat", mn::MNDEMO_MNSet5, mn::MNDEMO_MNLoadSettings},
        {MENUBAR_DEVICE_MonoPyka, &PHandleMNPykaDemo, "MNPykaPreset.dat", mn::MNDEMO_MNSet5, mn::MNDEMO_MNLoadSettings},
    };
    for (const auto& m : models) {
        SCOPED_TRACE(m.file);
        const fs::path file = home / m.file;
        fs::remove(file);
        ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);
        Choose(m.item);
        PoweredUp = 1;
        Tick(*m.panel, m.set);
        Press(*m.panel, m.load);
        EXPECT_EQ(Popups(), std::vector<std::string>{"ERROR| Error Opening Config File, Presetting loading failed...\n" +
                                                      file.string() + " is not a regular file."});
        EXPECT_TRUE(BulkWrites().empty());
        EXPECT_TRUE(fs::is_fifo(file));
    }

    // Other text in its place, and a file far beyond any preset file (refused unread): each is
    // named with why, nothing is loaded, and the file is left as it is.
    const fs::path file = home / "STPreset.dat";
    fs::remove(file);
    std::ofstream(file, std::ios::trunc) << "Not presets at all\n";
    const auto loadSettings = [&] {
        Choose(MENUBAR_DEVICE_StereoJorb);
        PoweredUp = 1;
        Tick(PHandleSTDemo, STDemo_STSet4);
        Press(PHandleSTDemo, STDemo_STLoadSettings);
    };
    loadSettings();
    EXPECT_EQ(Popups(), std::vector<std::string>{"ERROR| Error Opening Config File, Presetting loading failed...\n" +
                                                  file.string() + " holds no configuration set: it is not a "
                                                  "configuration file. It was left as it is."});
    EXPECT_EQ(ReadFile(file), "Not presets at all\n");
    fs::resize_file(file, 200u << 20);  // the rest a hole, taking no disk space
    loadSettings();
    EXPECT_EQ(Popups(), std::vector<std::string>{"ERROR| Error Opening Config File, Presetting loading failed...\n" +
                                                  file.string() + " is 200 MB; a configuration file is at most 32 MB. "
                                                  "It was not read."});
    EXPECT_TRUE(BulkWrites().empty());
    EXPECT_EQ(fs::file_size(file), 200u << 20);
}

TEST_F(PresetTest, WithoutAChosenSetOrOutputNothingHappens) {
    Choose(MENUBAR_DEVICE_StereoJora);
    Press(PHdlDemoJora, STDemo_STLoadSettings);
    Tick(PHdlDemoJora, STDemo_STSet3);
    Tick(PHdlDemoJora, STDemo_STSet3, 0);
    Press(PHdlDemoJora, STDemo_STLoadSettings);
    EXPECT_EQ(Popups(), (std::vector<std::string>{" |Please choose a setting", " |Please choose a setting"}));
    EXPECT_TRUE(Received().empty());
}

TEST_F(PresetTest, JoraSet3OnAuxout2LoadsItsSectionAndUnmutesR56Only) {
    Choose(MENUBAR_DEVICE_StereoJora);
    Tick(PHdlDemoJora, STDemo_STSet3);
    rt::SetCtrlVal(PHdlDemoJora, STDemo_Out_3, 2);
    PoweredUp = 1;
    int set = 0, output = 0;
    char section[121] = {};
    ASSERT_EQ(STGetPresetConfigName_Jora(&set, &output, section), 1);
    EXPECT_STREQ(section, "Preset3_AUXOUT2");
    Press(PHdlDemoJora, STDemo_STLoadSettings);
    EXPECT_EQ(RegisterWrites().back(), Write(56, static_cast<int>(CFG_REG[56])));
    EXPECT_EQ(CFG_REG[56] & 0x40, 0u);
    EXPECT_EQ(CFG_REG[57] & 0x40, 0x40u);
    EXPECT_EQ(CFG_REG[52] & 0x40, 0x40u);
    EXPECT_EQ(static_cast<int>(CFG_REG[50]), FileValue("STPresetJora.dat", "Preset3_AUXOUT2/Input Output Mixer", 50));
}

TEST_F(PresetTest, QevaSetBoxesAndSectionNames) {
    Choose(MENUBAR_DEVICE_StereoQeva);
    int panel = PHdlDemoQeva;
    for (int n : {1, 3, 5, 6}) Tick(panel, STDemo_STSet1 + n - 1);
    Tick(panel, STDemo_STSet7);
    for (int n : {1, 3, 5, 6}) EXPECT_EQ(CtrlInt(panel, STDemo_STSet1 + n - 1), 0) << n;
    rt::SetCtrlVal(panel, STDemo_Out_7, 6);
    int set = 0, output = 0;
    char section[121] = {};
    ASSERT_EQ(STGetPresetConfigName_Qeva(&set, &output, section), 1);
    EXPECT_EQ(set, 7);
    EXPECT_EQ(output, 6);
    EXPECT_STREQ(section, "Preset7_SPK_AUXOUT1");
}

TEST_F(PresetTest, InitializeDeviceRoutesMutesAndPowersUp) {
    Choose(MENUBAR_DEVICE_StereoZuta);
    PoweredUp = 0;
    Press(PHandleSTDemoZuta, STDemo_STInit);
    std::string timeline = Join(Timeline());
    // USB I2S and Config Board, USB <--> CODEC, the mute-all, then the power-up (its own mute-all
    // first, its bulk write last).
    EXPECT_EQ(timeline.substr(timeline.find("C36"), 31), "C36 W52 W53 W54 W55 W56 W57 W52");
    EXPECT_EQ(timeline.substr(timeline.size() - 5), "B B B");
    EXPECT_EQ(PoweredUp, 1);
    EXPECT_EQ(FlagCFGUpdate, 1);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());

    // Zutb: no mute; its own power-up writes R15, R7, R38 and R6.
    namespace zb = ui::cfgDemoZutb_pan;
    Choose(MENUBAR_DEVICE_StereoZutb);
    Press(PHandleSTDemoZutb, zb::CFGDEMOZutb_STInit);
    timeline = Join(Timeline());
    EXPECT_EQ(timeline.substr(timeline.find("C36")), "C36 W15 W38 W6");
}

TEST_F(PresetTest, Set6MakesTheBoardTheDigitalAudioMaster) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    Tick(PHandleSTDemo, STDemo_STSet6);
    rt::SetCtrlVal(PHandleSTDemo, STDemo_Out_6, 0);
    PoweredUp = 1;
    Press(PHandleSTDemo, STDemo_STLoadSettings);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
    std::string timeline = Join(Timeline());
    // PCMT disabled, then the master box (it configures the board) and Config Board, then the
    // speaker unmuted.
    EXPECT_EQ(timeline.substr(timeline.rfind("B B B")), "B B B C31 C34 C34 W54 W55");
    EXPECT_EQ(CtrlInt(PHandleSTDevCtrl, ui::cfgDevJorb_pan::CFGDEVJorb_CSPDIFMASEn), 1);
}

TEST_F(PresetTest, QevbRoutesTheBoardAndUnmutesWithoutPowerUpOrLoad) {
    Choose(MENUBAR_DEVICE_StereoQevb);
    int panel = PHdlDemoQevb;
    PoweredUp = 0;
    Tick(panel, STDemo_STSet1);
    Press(panel, STDemo_STLoadSettings);
    Tick(panel, STDemo_STSet5);
    EXPECT_EQ(CtrlInt(panel, STDemo_STSet1), 0) << "the set boxes exclude each other";
    rt::SetCtrlVal(panel, STDemo_Out_5, 3);  // Auxout1
    Press(panel, STDemo_STLoadSettings);
    EXPECT_EQ(Popups(), (std::vector<std::string>{" |Please choose a setting", " |Please choose a setting"}));
    EXPECT_TRUE(Received().empty());

    Forget();
    recordPauses = true;
    rt::SetCtrlVal(panel, STDemo_Out_5, 1);  // Headphone
    Press(panel, STDemo_STLoadSettings);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
    std::string timeline = Join(Timeline());
    EXPECT_EQ(timeline.substr(timeline.find("C36")), "C36 W52 W53 W54 W55 W56 W57 C35 C31 W52 W53");
    EXPECT_EQ(PoweredUp, 0);
    EXPECT_TRUE(BulkWrites().empty());
    auto writes = RegisterWrites();
    EXPECT_EQ(SleptAfterWrite(writes.size() - 2), 200 + 500);  // demo start, then before the unmute
    EXPECT_EQ(CFG_REG[52] & 0x140, 0x100u);
    EXPECT_EQ(CFG_REG[54] & 0x40, 0x40u);
}

// ---- Zutb --------------------------------------------------------------------------------

TEST_F(PresetTest, ZutbLoadsTheMicrophoneSetWithoutMutingAnything) {
    namespace zb = ui::cfgDemoZutb_pan;
    Choose(MENUBAR_DEVICE_StereoZutb);
    int panel = PHandleSTDemoZutb;
    Press(panel, zb::CFGDEMOZutb_STLoadSettings);
    EXPECT_EQ(Popups(), std::vector<std::string>{" |Please choose a setting"});
    Forget();
    Tick(panel, zb::CFGDEMOZutb_STSet8);
    rt::SetCtrlVal(panel, zb::CFGDEMOZutb_Out_8, 2);
    int set = 0;
    char section[121] = {};
    ASSERT_EQ(STGetPresetConfigNameZutb(&set, nullptr, section), 1);
    EXPECT_STREQ(section, "Preset8_MIC2");
    PoweredUp = 1;
    CFG_REG[2] = 0;
    Press(panel, zb::CFGDEMOZutb_STLoadSettings);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
    EXPECT_EQ(static_cast<int>(CFG_REG[2]), FileValue("STZutbPreset.dat", "Preset8_MIC2/Audio Path", 2));
    // The chip runs at 48 kHz: the 12 MHz PLL setting with the master clock divided by 2.
    EXPECT_EQ(board->CodecRegister(38), 0x14A);
    for (const Write& w : RegisterWrites()) EXPECT_FALSE(w.first >= 52 && w.first <= 57) << w.first;
    std::string timeline = Join(Timeline());
    EXPECT_EQ(timeline.substr(timeline.size() - 7), "C35 C31") << "USB <--> PCM, PCMT enabled, no unmute";
    EXPECT_EQ(FlagCFGUpdate, 1);

    // The path view shows what each set routes: the left PGA at 0 dB, the left boost stage on,
    // and the input switches of the chosen microphone (MIC2 the L2 pin straight into the boost
    // stage, MIC1 LIP and LIN through the PGA into it).
    namespace zp = ui::cfgPathZutb_pan;
    const auto view = [&] {
        UpdateAllGroupsZutb();
        UpdateSTPathViewZutb();
        std::string lit;
        for (int g : {0, 1, 2, 6}) lit += ZutbPathTables().groups[g].on ? '1' : '0';
        return lit;
    };
    EXPECT_EQ(view(), "0010");
    EXPECT_EQ(CtrlInt(PHandleSTPathZutb, zp::CFGPATHZutb_LVU), 195) << "0 dB";
    EXPECT_EQ(CtrlInt(PHandleSTPathZutb, zp::CFGPATHZutb_LMICBOOST), 1) << "+18 dB";
    EXPECT_FALSE(Visible(PHandleSTPathZutb, zp::CFGPATHZutb_STBoostLDisableIcon));
    EXPECT_FALSE(Visible(PHandleSTPathZutb, zp::CFGPATHZutb_STPGAENLDisenIcon));
    rt::SetCtrlVal(panel, zb::CFGDEMOZutb_Out_8, 1);
    Press(panel, zb::CFGDEMOZutb_STLoadSettings);
    EXPECT_EQ(view(), "1101");
    EXPECT_EQ(CtrlInt(PHandleSTPathZutb, zp::CFGPATHZutb_LMICBOOST), 1);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
}

TEST_F(PresetTest, ZutbEqualiserDrivesItsOwnRegisters) {
    namespace zb = ui::cfgDemoZutb_pan;
    Choose(MENUBAR_DEVICE_StereoZutb);
    int panel = PHandleSTDemoZutb;
    CFG_REG[51] = 0x100;
    rt::SetCtrlVal(panel, zb::CFGDEMOZutb_STDemoEQ2CF, 2);
    Tick(panel, zb::CFGDEMOZutb_STDemoEQ2GN, -3);
    EXPECT_EQ(RegisterWrites(), (std::vector<Write>{{51, 0x100 | (2 << 5) | 15}}));
    // The EQ box is the equaliser enable, R104 bit 1, shows it, and its tool tip says so.
    std::string tip;
    rt::GetCtrlAttribute(panel, zb::CFGDEMOZutb_STDemoEQ3DMODE, rt::ATTR_TOOLTIP_TEXT, &tip);
    EXPECT_EQ(tip, "  Equalizer enable (R104 bit 1):   \n  unchecked -> Equalizer off; checked -> Equalizer on  ");
    Forget();
    CFG_REG[104] = 0x001;
    Tick(panel, zb::CFGDEMOZutb_STDemoEQ3DMODE, 1);
    EXPECT_EQ(RegisterWrites(), (std::vector<Write>{{104, 0x003}}));
    CFG_REG[104] = 0;
    CFG_REG[53] = 0x100;
    UpdateSTDemoPanelZutb();
    EXPECT_EQ(CtrlInt(panel, zb::CFGDEMOZutb_STDemoEQ3DMODE), 0);
    EXPECT_EQ(CtrlInt(panel, zb::CFGDEMOZutb_STDemoEQ4BW), 1);
}

// ---- mono --------------------------------------------------------------------------------

class MonoPresetTest : public PresetTest {};

TEST_F(MonoPresetTest, Set5OnHeadphoneLoadsItsSectionAndUnmutesR56Only) {
    namespace mn = ui::MNDemo_pan;
    const struct { int item; int* panel; const char* file; const char* section; } models[] = {
        {MENUBAR_DEVICE_Mono, &PHandleMNDemo, "MNPreset.dat", "MNset5_HP"},
        {MENUBAR_DEVICE_MonoPykb, &PHandleMNPykbDemo, "MNPykbPreset.dat", "MNset5_HP"},
        {MENUBAR_DEVICE_MonoPyka, &PHandleMNPykaDemo, "MNPykaPreset.dat", "MNPykaset5_HP"},
    };
    for (const auto& m : models) {
        SCOPED_TRACE(m.section);
        Choose(m.item);
        int panel = *m.panel;
        Tick(panel, mn::MNDEMO_MNSet1);
        Tick(panel, mn::MNDEMO_MNSet5);
        EXPECT_EQ(CtrlInt(panel, mn::MNDEMO_MNSet1), 0);
        rt::SetCtrlVal(panel, mn::MNDEMO_Out_5, 1);
        PoweredUp = 1;
        Press(panel, mn::MNDEMO_MNLoadSettings);
        EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
        std::string timeline = Join(Timeline());
        EXPECT_EQ(timeline.substr(timeline.find("C36")), "C36 W54 W56 B B B C35 C31 W56");
        EXPECT_EQ(CFG_REG[56] & 0x40, 0u);
        EXPECT_EQ(CFG_REG[54] & 0x40, 0x40u);
        EXPECT_EQ(static_cast<int>(CFG_REG[50]), FileValue(m.file, std::string(m.section) + "/Input Output Mixer", 50));
    }
}

TEST_F(MonoPresetTest, MonoMuteWaitsAfterEachWriteButTheLastOfBoth) {
    Choose(MENUBAR_DEVICE_Mono);
    recordPauses = true;
    MNDemoInit();
    EXPECT_EQ(WrittenRegisters(), (std::vector<int>{7, 54, 56}));
    EXPECT_EQ(SleptAfterWrite(2), 100);
    EXPECT_EQ(SleptAfterWrite(3), 100 + 200);  // and the demo start's 0.2 s
    Forget();
    rt::CallCtrlCallback(PHandleMNDemo, ui::MNDemo_pan::MNDEMO_MNLoadSettings, rt::EVENT_COMMIT, 0, 0);
    EXPECT_EQ(Popups(), std::vector<std::string>{" |Please choose a setting"});
}

}  // namespace
}  // namespace demotest
