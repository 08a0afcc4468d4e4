// The configuration-set file operations on real files in a fresh project directory, with the
// emulated board receiving the loads.
#include <gmock/gmock.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include "panels/cfgPathJorb_pan.h"
#include "panels/cfgPathZuta_pan.h"
#include "tests/regmap/config_test_support.h"

namespace {

using namespace ui::AudioCodec_pan;
using cfgtest::ConfigFixture;
using cfgtest::Crlf;
using cfgtest::ReadFile;
using cfgtest::WriteFile;
namespace fs = std::filesystem;

class ConfigSetsTest : public ConfigFixture {};

// A new Jorb file holds "Default" once: 12 sections, 59 keys, an empty line after each section.
TEST_F(ConfigSetsTest, NewFileHoldsTheSetDefaultOnce) {
    StartRegisters();
    Menu(MENUBAR_DEVICE_StereoJorb);
    EXPECT_EQ(ReadFile(File("STconfig.dat")), Crlf(cfgtest::kJorbDefault));
    EXPECT_EQ(rt::Ini_NumberOfSections(STIniConfig), 12);
    EXPECT_EQ(rt::Ini_ToString(STIniConfig), Crlf(cfgtest::kJorbDefault));
    EXPECT_EQ(ListItems(PHandleSTPath, ui::cfgPathJorb_pan::CFGPATHJorb_STD_CFG), std::vector<std::string>{"Default"});
    EXPECT_THAT(Messages(), ::testing::IsEmpty());

    // The file is read as it stands at the next choice, not made again.
    CFG_REG[4] = 0x51;
    Menu(MENUBAR_DEVICE_StereoZuta);
    EXPECT_EQ(ReadFile(File("STconfig.dat")), Crlf(cfgtest::kJorbDefault));
    EXPECT_EQ(ListItems(PHandleSTPathZuta, ui::cfgPathZuta_pan::CFGPATHZuta_STD_CFG),
              std::vector<std::string>{"Default"});
}

// Writing a set again replaces its values in place; a new set is appended.
TEST_F(ConfigSetsTest, WritingASetAgainReplacesItsValuesInPlace) {
    const fs::path path = File("sets.dat");
    StartRegisters();
    rt::IniText ini = nullptr;
    ASSERT_EQ(InitConfig(&ini, path.c_str(), 0, 1), 1);
    CFG_REG[0x2c] = 7;
    ASSERT_EQ(CreateConfigFile(ini, path.c_str(), "Other", 0), 0);
    CFG_REG[6] = 0x141;
    ASSERT_EQ(UpdateSingleConfigFromCfgArray(ini, path.c_str(), "Default", 0), 1);
    const std::string def = cfgtest::ReplaceAll(cfgtest::ReplaceAll(cfgtest::kJorbDefault, "0x6 = 320", "0x6 = 321"),
                                                "0x2c = 51", "0x2c = 7");
    const std::string other = cfgtest::ReplaceAll(cfgtest::ReplaceAll(cfgtest::kJorbDefault, "[Default/", "[Other/"),
                                                  "0x2c = 51", "0x2c = 7");
    EXPECT_EQ(ReadFile(path), Crlf(def + other));
    std::string name = "unchanged";
    EXPECT_TRUE(GetConfigNameFromIniText(ini, &name, 13));
    EXPECT_EQ(name, "Other");
    EXPECT_FALSE(GetConfigNameFromIniText(ini, &name, 25));
    EXPECT_EQ(name, "Other");
    rt::Ini_Dispose(ini);
    // The project-directory form of the path.
    ini = nullptr;
    EXPECT_EQ(InitConfig(&ini, "/sets.dat", 1, 0), 1);
    EXPECT_EQ(rt::Ini_NumberOfSections(ini), 24);
    EXPECT_EQ(InitConfig(&ini, "/absent.dat", 1, 0), 0);
    EXPECT_EQ(rt::Ini_NumberOfSections(ini), 0);
    EXPECT_FALSE(fs::exists(File("absent.dat")));
    rt::Ini_Dispose(ini);
}

class LoadTest : public ConfigFixture {
protected:
    rt::IniText ini = nullptr;
    void SetUp() override {
        ConfigFixture::SetUp();
        if (HasFatalFailure()) return;
        StartRegisters();
        WriteFile(File("load.dat"),
                  "[Warm/Software Reset]\n0x0 = 0\n"
                  "[Warm/Power Management]\n0x1 = 0x1d\n0x2 = 300\n0x3 = 4096\n"  // 0x3: no register value
                  "[Warm/Audio Control]\n0x4 = 81\n0x6 = loud\n"                     // 0x5 missing
                  "[Warm/Input Output Mixer]\n0x34 = 5\n0x35 = 6\n0x36 = 7\n0x37 = 8\n0x38 = 9\n0x39 = 10\n"
                  "[Warm/PCM Timeslot]\n0x3c = 33\n"
                  "[Warm/Audio Control]\n0x7 = 0x101\n");
        ASSERT_EQ(InitConfig(&ini, File("load.dat").c_str(), 0, 0), 1);
        CFG_REG[5] = 0x77;
        CFG_REG[3] = 0x1FF;
        board->ClearReceivedReports();
    }
    void TearDown() override {
        rt::Ini_Dispose(ini);
        ConfigFixture::TearDown();
    }
};

// Missing keys and values that are no register value keep the register; "0x" values read.
TEST_F(LoadTest, KeysReadIntoTheRegisterCopy) {
    DeviceAttached = 0;
    StartProgressBar("Loading configuration ...", 6);
    EXPECT_EQ(LoadSingleConfigFromIniText(ini, "warm", 0), 1);
    EXPECT_EQ(CFG_REG[1], 0x1Du);
    EXPECT_EQ(CFG_REG[2], 300u);
    EXPECT_EQ(CFG_REG[3], 0x1FFu);  // 4096 is no register value
    EXPECT_EQ(CFG_REG[4], 81u);
    EXPECT_EQ(CFG_REG[5], 0x77u);   // missing
    EXPECT_EQ(CFG_REG[6], 0x140u);  // "loud"
    EXPECT_EQ(CFG_REG[7], 0x001u);  // bit 8 cleared under I2C, the other bits as loaded
    EXPECT_EQ(CFG_REG[52], 5u);     // no mute asked
    EXPECT_EQ(CFG_REG[60], 33u);
    EXPECT_EQ(FlagCFGUpdate, 1);
    // Without a board the bar completes in one step of 6 and nothing is sent.
    EXPECT_EQ(ProgressCurrentStep(), 6);
    EXPECT_TRUE(board->ReceivedReports().empty());
    EXPECT_THAT(Messages(), ::testing::IsEmpty());
}

TEST_F(LoadTest, MuteAndInterfaceBit) {
    DeviceAttached = 0;
    CommMode = COMM_SPI4W;
    StartProgressBar("Loading configuration ...", 6);
    EXPECT_EQ(LoadSingleConfigFromIniTextQeva(ini, "Warm", 1), 1);
    EXPECT_EQ(CFG_REG[7], 0x101u);
    for (int r = 52; r <= 57; ++r) EXPECT_EQ(CFG_REG[r], static_cast<uint32_t>((r - 47) | 0x40)) << r;
    CommMode = COMM_SPI3W;
    CFG_REG[7] = 0x1FF;
    EXPECT_EQ(LoadSingleConfigFromIniTextPyka(ini, "Warm", 0), 1);
    EXPECT_EQ(CFG_REG[7], 0x001u);
}

// With a board: the three block writes carry the loaded registers.
TEST_F(LoadTest, BoardReceivesTheLoadedRegisters) {
    ASSERT_EQ(DeviceAttached, 1);
    StartProgressBar("Loading configuration ...", 6);
    EXPECT_EQ(LoadSingleConfigFromIniText(ini, "Warm", 0), 1);
    const auto blocks = BlockWrites();
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[0][0], COMM_I2C | CMD_CODEC_WRITE_BLOCK1);
    const auto first = Pairs(blocks[0]);
    ASSERT_EQ(first.size(), 24u);
    EXPECT_EQ(first[0], std::make_pair(1, 0x1D));
    EXPECT_EQ(first[1], std::make_pair(2, 300));
    EXPECT_EQ(first[3], std::make_pair(4, 81));
    EXPECT_EQ(first[4], std::make_pair(5, 0x77));
    EXPECT_EQ(Pairs(blocks[2])[60 - 49], std::make_pair(60, 33));
    EXPECT_EQ(board->CodecRegister(52), 5);
    EXPECT_EQ(ProgressCurrentStep(), 6);
}

// A set with no section for the model is refused and changes nothing.
TEST_F(LoadTest, SetWithoutSectionsIsRefused) {
    const std::vector<uint32_t> before(std::begin(CFG_REG), std::end(CFG_REG));
    StartProgressBar("Loading configuration ...", 6);
    EXPECT_EQ(LoadSingleConfigFromIniText(ini, "Cold", 0), 0);
    EXPECT_EQ(LoadSingleConfigFromIniTextZutb(ini, "Nope", 0), 0);
    EXPECT_EQ(std::vector<uint32_t>(std::begin(CFG_REG), std::end(CFG_REG)), before);
    EXPECT_TRUE(board->ReceivedReports().empty());
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                              "ERROR|The configuration \"Cold\" holds no settings for this device; nothing was loaded.",
                              "ERROR|The configuration \"Nope\" holds no settings for this device; nothing was loaded."}));
    EXPECT_EQ(ProgressCurrentStep(), ProgressTotalSteps());  // the bar does not hang
}

// After the power-up emptied the group, loads leave register 0 alone.
TEST_F(LoadTest, EmptiedSoftwareResetGroupIsNotLoaded) {
    DeviceAttached = 0;
    WriteFile(File("reset.dat"), "[R/Software Reset]\n0x0 = 5\n[R/Power Management]\n0x1 = 6\n");
    rt::IniText r = nullptr;
    ASSERT_EQ(InitConfig(&r, File("reset.dat").c_str(), 0, 0), 1);
    EmptySoftwareResetGroup(ConfigGroups);
    CFG_REG[0] = 0;
    EXPECT_EQ(LoadSingleConfigFromIniText(r, "R", 0), 1);
    EXPECT_EQ(CFG_REG[0], 0u);
    EXPECT_EQ(CFG_REG[1], 6u);
    EXPECT_EQ(LoadSingleConfigFromIniTextZuta(r, "R", 0), 1);  // Zuta's table is its own
    EXPECT_EQ(CFG_REG[0], 5u);
    rt::Ini_Dispose(r);
}

// Zutb: five block reports of its own, R0 and R113 alone; R15 and R112 never sent.
TEST_F(ConfigSetsTest, ZutbLoadSendsItsOwnReports) {
    StartRegisters();
    for (int r = 0; r <= 113; ++r) CFG_REG[r] = static_cast<uint32_t>((r * 7) & 0x1FF);
    rt::IniText ini = rt::Ini_New(0);
    ASSERT_EQ(CreateConfigFileZutb(ini, File("z.dat").c_str(), "Z", 0), 0);
    EXPECT_EQ(rt::Ini_NumberOfSections(ini), 33);
    for (int r = 0; r <= 113; ++r) CFG_REG[r] = 0;
    CFG_REG[52] = 0x15;
    board->ClearReceivedReports();
    ASSERT_EQ(DeviceAttached, 1);
    StartProgressBar("Loading configuration ...", 6);
    EXPECT_EQ(LoadSingleConfigFromIniTextZutb(ini, "Z", 1), 1);
    EXPECT_EQ(CFG_REG[52], static_cast<uint32_t>((52 * 7) & 0x1FF));  // no mute
    EXPECT_EQ(CFG_REG[15], static_cast<uint32_t>(15 * 7));             // read, never sent
    const auto reports = board->ReceivedReports();
    ASSERT_EQ(reports.size(), 7u);
    const uint8_t block1 = COMM_I2C | 0x15, block2 = COMM_I2C | 0x16, one = COMM_I2C | CMD_CODEC_WRITE_ONE;
    const std::vector<uint8_t> commands = {reports[0][0], reports[1][0], reports[2][0], reports[3][0],
                                           reports[4][0], reports[5][0], reports[6][0]};
    EXPECT_EQ(commands, (std::vector<uint8_t>{block2, one, block1, block1, block1, block1, one}));
    // The registers of the set carry their stored values; the others (in no group) stay 0.
    auto inGroup = [](int reg) {
        for (const ConfigGroup* g = ConfigGroupsZutb; g->name[0] != '\0'; ++g)
            if (reg >= g->first && reg <= g->last) return true;
        return false;
    };
    std::vector<int> sent;
    for (const auto& r : reports)
        for (const auto& [reg, value] : Pairs(r)) {
            sent.push_back(reg);
            EXPECT_EQ(value, inGroup(reg) ? (reg * 7) & 0x1FF : 0) << reg;
        }
    EXPECT_EQ(Pairs(reports[0]).size(), 15u);
    EXPECT_EQ(Pairs(reports[2]).front().first, 16);
    EXPECT_EQ(Pairs(reports[5]).back().first, 111);
    EXPECT_EQ(Pairs(reports[6]), (std::vector<std::pair<int, int>>{{113, (113 * 7) & 0x1FF}}));
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 15), 0);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 112), 0);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 0), 2);
    rt::Ini_Dispose(ini);
}

// A file that cannot be read, or that holds no configuration set, is reported by its path and
// why, and never replaced by what the object holds.
TEST_F(ConfigSetsTest, UnreadableFileIsReportedAndNeverOverwritten) {
    const std::string path = File("STconfig.dat").string();
    const std::string noSets = "ERROR| Error Opening Config File\n" + path +
                               " holds no configuration set: it is not a configuration file. It was left as it is.";
    const std::string addRefused = "ERROR| Error Writing Config File\n" + path +
                                   "\nIt holds no configuration set, so it was left as it is. Move it away and "
                                   "choose the device again to save configurations.";
    namespace zuta = ui::cfgPathZuta_pan;
    // Binary data, any other text, and the settings of something else (sections, but none of a
    // set): each is named with the reason, and an "Add" leaves it as it is and says why.
    const std::string others[] = {
        std::string("\x7f" "ELF\x01\x02\x03 binary\n\x00\xff junk", 20),
        "Shopping list\nmilk = 2\n",
        "; player\r\n[Default]\r\nPlayDir = WaveFile\r\n",
    };
    for (const std::string& other : others) {
        SCOPED_TRACE(other);
        WriteFile(File("STconfig.dat"), other);
        ask.Clear();
        Menu(MENUBAR_DEVICE_StereoZuta);
        EXPECT_EQ(Messages(), std::vector<std::string>{noSets});
        EXPECT_TRUE(ListItems(PHandleSTPathZuta, zuta::CFGPATHZuta_STD_CFG).empty());
        ask.Clear();
        ask.QueuePrompt("Mine");
        rt::CallCtrlCallback(PHandleSTPathZuta, zuta::CFGPATHZuta_ADD_CFG, rt::EVENT_COMMIT, 0, 0);
        EXPECT_EQ(Messages(), std::vector<std::string>{addRefused});
        EXPECT_EQ(ReadFile(File("STconfig.dat")), other);
        EXPECT_TRUE(ListItems(PHandleSTPathZuta, zuta::CFGPATHZuta_STD_CFG).empty());
        EXPECT_EQ(rt::Ini_NumberOfSections(STIniConfig), 0);
    }

    // A named pipe in the file's place (no writer: a blocking read would wait for good): the
    // choice goes on at once with the reason, and neither the choice nor an add touches the pipe.
    fs::remove(File("STconfig.dat"));
    ASSERT_EQ(mkfifo(File("STconfig.dat").c_str(), 0600), 0);
    ask.Clear();
    Menu(MENUBAR_DEVICE_StereoJorb);
    EXPECT_EQ(Messages(), std::vector<std::string>{"ERROR| Error Opening Config File\n" + File("STconfig.dat").string() +
                                                   " is not a regular file."});
    EXPECT_TRUE(ListItems(PHandleSTPath, ui::cfgPathJorb_pan::CFGPATHJorb_STD_CFG).empty());
    ask.Clear();
    ask.QueuePrompt("Mine");
    rt::CallCtrlCallback(PHandleSTPath, ui::cfgPathJorb_pan::CFGPATHJorb_ADD_CFG, rt::EVENT_COMMIT, 0, 0);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].rfind("ERROR| Error Writing Config File\n", 0), 0u) << Messages()[0];
    EXPECT_TRUE(fs::is_fifo(File("STconfig.dat")));

    // A socket, which cannot even be opened, is refused for what it is too, and left in place.
    fs::remove(File("STconfig.dat"));
    ASSERT_TRUE(testsupport::MakeSocketFile(File("STconfig.dat")));
    ask.Clear();
    Menu(MENUBAR_DEVICE_StereoZuta);
    EXPECT_EQ(Messages(), std::vector<std::string>{"ERROR| Error Opening Config File\n" + File("STconfig.dat").string() +
                                                   " is not a regular file."});
    EXPECT_TRUE(fs::is_socket(File("STconfig.dat")));

    // A file that cannot be opened at all (not for the superuser, who reads everything).
    if (geteuid() != 0) {
        WriteFile(File("MNconfig.dat"), Crlf("[Keep/Power Management]\n0x1 = 1\n\n"));
        chmod(File("MNconfig.dat").c_str(), 0);
        ask.Clear();
        Menu(MENUBAR_DEVICE_Mono);
        EXPECT_EQ(Messages(), std::vector<std::string>{"ERROR| Error Opening Config File\ncannot open " +
                                                       File("MNconfig.dat").string() + ": Permission denied"});
        chmod(File("MNconfig.dat").c_str(), 0644);
        EXPECT_EQ(ReadFile(File("MNconfig.dat")), Crlf("[Keep/Power Management]\n0x1 = 1\n\n"));
    }
}

// A file made empty (or whose sets were all deleted), one of comments only and one of a set's
// section header alone are set files: they open without a word and take a new set.
TEST_F(ConfigSetsTest, EmptyAndHeaderOnlyFilesTakeNewSets) {
    namespace zuta = ui::cfgPathZuta_pan;
    const struct { const char* text; std::vector<std::string> listed; } files[] = {
        {"", {"Mine"}},
        {"; my sets\r\n\r\n", {"Mine"}},
        {"[Old/Power Management]\r\n", {"Old", "Mine"}},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.text);
        WriteFile(File("STconfig.dat"), f.text);
        ask.Clear();
        Menu(MENUBAR_DEVICE_StereoZuta);
        EXPECT_THAT(Messages(), ::testing::IsEmpty());
        ask.QueuePrompt("Mine");
        rt::CallCtrlCallback(PHandleSTPathZuta, zuta::CFGPATHZuta_ADD_CFG, rt::EVENT_COMMIT, 0, 0);
        EXPECT_THAT(Messages(), ::testing::IsEmpty());
        EXPECT_EQ(ListItems(PHandleSTPathZuta, zuta::CFGPATHZuta_STD_CFG), f.listed);
        EXPECT_NE(ReadFile(File("STconfig.dat")).find("[Mine/Power Management]\r\n0x1 = "), std::string::npos);
    }
}

// A set file far larger than any set file is refused by its size before it is read, named with
// its size and the limit, and never replaced.
TEST_F(ConfigSetsTest, FarTooLargeSetFileIsRefusedUnreadAndKept) {
    namespace jorb = ui::cfgPathJorb_pan;
    const fs::path file = File("STconfig.dat");
    cfgtest::WriteSparseFile(file, Crlf("[Keep/Power Management]\n0x1 = 1\n\n"), 200u << 20);
    const std::string stamp = cfgtest::FileStamp(file);
    Menu(MENUBAR_DEVICE_StereoJorb);
    EXPECT_EQ(Messages(), std::vector<std::string>{"ERROR| Error Opening Config File\n" + file.string() +
                                                   " is 200 MB; a configuration file is at most 32 MB. It was not read."});
    EXPECT_TRUE(ListItems(PHandleSTPath, jorb::CFGPATHJorb_STD_CFG).empty());
    ask.Clear();
    ask.QueuePrompt("Mine");
    rt::CallCtrlCallback(PHandleSTPath, jorb::CFGPATHJorb_ADD_CFG, rt::EVENT_COMMIT, 0, 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{"ERROR| Error Writing Config File\n" + file.string() +
                                                   "\nIt is larger than a configuration file can be, so it was left "
                                                   "as it is. Move it away and choose the device again to save "
                                                   "configurations."});
    EXPECT_EQ(cfgtest::FileStamp(file), stamp);

    // A set file close to the limit takes no set that would carry it past: it could not be read
    // back. Nothing is written, and the list stays as it was.
    std::string sets;
    for (int n = 0;; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "%04d", n);
        const std::string set = Crlf(cfgtest::ReplaceAll(cfgtest::kJorbDefault, "[Default/", std::string("[") + name + "/"));
        if (sets.size() + set.size() > kConfigFileLimit.bytes) break;
        sets += set;
    }
    WriteFile(file, sets);
    const std::string full = cfgtest::FileStamp(file);
    ask.Clear();
    Menu(MENUBAR_DEVICE_StereoJorb);
    const size_t listed = ListItems(PHandleSTPath, jorb::CFGPATHJorb_STD_CFG).size();
    ASSERT_GT(listed, 28000u);
    ask.QueuePrompt("A name thirty characters long.");
    rt::CallCtrlCallback(PHandleSTPath, jorb::CFGPATHJorb_ADD_CFG, rt::EVENT_COMMIT, 0, 0);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].rfind("ERROR| Error Writing Config File\n" + file.string() + "\nIt would be 32.1 MB; a "
                                  "configuration file is at most 32 MB. Delete configurations you no longer need first.", 0),
              0u) << Messages()[0];
    EXPECT_EQ(cfgtest::FileStamp(file), full);
    EXPECT_EQ(ListItems(PHandleSTPath, jorb::CFGPATHJorb_STD_CFG).size(), listed);
}

// The existence test itself failing (a name longer than the file system takes) is reported.
TEST_F(ConfigSetsTest, FailedExistenceTestIsReported) {
    rt::IniText ini = nullptr;
    const std::string path = (home / std::string(300, 'x')).string();
    EXPECT_EQ(InitConfigPykb(&ini, path.c_str(), 0, 1), -1);
    EXPECT_EQ(Messages(),
              std::vector<std::string>{"ERROR| Error Opening Config File\ncannot open " + path + ": File name too long"});
    EXPECT_EQ(rt::Ini_NumberOfSections(ini), 0);
    rt::Ini_Dispose(ini);
}

// A write that fails is reported, and the file keeps its old contents.
TEST_F(ConfigSetsTest, FailedWriteIsReportedAndTheFileKept) {
    StartRegisters();
    rt::IniText ini = nullptr;
    const fs::path path = File("keep.dat");
    ASSERT_EQ(InitConfigJora(&ini, path.c_str(), 0, 1), 1);
    const std::string before = ReadFile(path);
    ask.Clear();
    EXPECT_LT(CreateConfigFileJora(ini, (home / "no-such-folder" / "keep.dat").c_str(), "New", 0), 0);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].rfind("ERROR| Error Writing Config File\n" + (home / "no-such-folder" / "keep.dat").string(), 0),
              0u);
    // Creating a missing file in a folder that does not exist: reported, object still usable.
    ask.Clear();
    EXPECT_EQ(InitConfigJora(&ini, (home / "no-such-folder" / "x.dat").c_str(), 0, 1), 1);
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_EQ(rt::Ini_NumberOfSections(ini), 12);
    EXPECT_EQ(ReadFile(path), before);
    rt::Ini_Dispose(ini);
}

}  // namespace
