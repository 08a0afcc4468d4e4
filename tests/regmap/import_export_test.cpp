// The Config menu's Import and Export through the working file "tempini.dat".
#include <gmock/gmock.h>
#include <sys/stat.h>
#include <unistd.h>

#include "regmap/exchange.h"
#include "tests/regmap/config_test_support.h"

namespace {

using namespace cfgtest;  // the fixture, its file helpers and ui::AudioCodec_pan

// The Jorb exchange file of the start registers, set "bright" (LF line ends; every section
// line gets its blank after the "]" from BrightHex()).
const char* kBrightHexLines = R"(
[bright/Software Reset]
0x0 = 0x0

[bright/Power Management]
0x1 = 0x0
0x2 = 0x0
0x3 = 0x0

[bright/Audio Control]
0x4 = 0x50
0x5 = 0x0
0x6 = 0x140
0x7 = 0x0
0x8 = 0x0
0x9 = 0x0
0xa = 0x0
0xb = 0xff
0xc = 0xff
0xd = 0x0
0xe = 0x100
0xf = 0xff
0x10 = 0xff
0x11 = 0x0

[bright/Equalizer]
0x12 = 0x12c
0x13 = 0x2c
0x14 = 0x2c
0x15 = 0x2c
0x16 = 0x2c

[bright/DAC Limiter]
0x18 = 0x32
0x19 = 0x0

[bright/Notch Filter]
0x1b = 0x0
0x1c = 0x0
0x1d = 0x0
0x1e = 0x0

[bright/ALC Control]
0x20 = 0x38
0x21 = 0xb
0x22 = 0x32
0x23 = 0x10

[bright/PLL Control]
0x24 = 0x8
0x25 = 0xc
0x26 = 0x93
0x27 = 0xe9

[bright/Mic Bias Mode]
0x28 = 0x0

[bright/3D Control]
0x29 = 0x0

[bright/Input Output Mixer]
0x2b = 0x0
0x2c = 0x33
0x2d = 0x10
0x2e = 0x10
0x2f = 0x100
0x30 = 0x100
0x31 = 0x2
0x32 = 0x1
0x33 = 0x1
0x34 = 0x39
0x35 = 0x39
0x36 = 0x39
0x37 = 0x39
0x38 = 0x1
0x39 = 0x1
0x3a = 0x0

[bright/PCM Timeslot]
0x3b = 0x0
0x3c = 0x20
0x3d = 0x0
0x3e = 0x0
)";

std::string BrightHex() { return ReplaceAll(kBrightHexLines, "]\n", "] \n"); }

class ImportExportTest : public ConfigFixture {
protected:
    void Choose(int item) {
        Menu(item);
        StartRegisters();
        ask.Clear();
        board->ClearReceivedReports();
    }
    void Export(const std::filesystem::path& file) {
        ask.QueueFile(file.string());
        Menu(MENUBAR_CONFIG_Export);
    }
    void Import(const std::filesystem::path& file) {
        ask.QueueFile(file.string());
        Menu(MENUBAR_CONFIG_Import);
    }
    std::string Working() { return ReadFile(File("tempini.dat")); }
};

TEST_F(ImportExportTest, ExportToANewFileNamesTheSetAfterTheFile) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    Export(File("bright.dat"));
    EXPECT_EQ(ReadFile(File("bright.dat")), Crlf(BrightHex()));
    EXPECT_EQ(Working(), Crlf(ReplaceAll(cfgtest::kJorbDefault, "[Default/", "[bright/")));
    ASSERT_EQ(ask.Shown().size(), 1u);
    EXPECT_EQ(ask.Shown()[0].kind, rt::ScriptedPrompter::Kind::FileSelect);
    EXPECT_EQ(ask.Shown()[0].title, "Export the current active settings to a file");
    EXPECT_EQ(ask.Shown()[0].text, "*.dat");
    EXPECT_EQ(ProgressCurrentStep(), 6);
    EXPECT_TRUE(board->ReceivedReports().empty());  // an export changes only files
}

// Export over an existing file replaces it, after a question; importing it again gives back
// what was exported last.
TEST_F(ImportExportTest, ExportOverAFileThenImportGivesBackTheLastExport) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    Export(File("bright.dat"));
    CFG_REG[1] = 7;
    ask.Clear();
    Export(File("bright.dat"));
    ASSERT_EQ(ask.Shown().size(), 2u);
    EXPECT_EQ(ask.Shown()[1].title, "Export");
    EXPECT_EQ(ask.Shown()[1].text,
              "The file " + File("bright.dat").string() + " exists already.\nReplace its contents with the current settings?");
    EXPECT_EQ(ReadFile(File("bright.dat")), Crlf(ReplaceAll(BrightHex(), "0x1 = 0x0", "0x1 = 0x7")));
    CFG_REG[1] = 0;
    Import(File("bright.dat"));
    EXPECT_EQ(CFG_REG[1], 7u);
    EXPECT_EQ(board->CodecRegister(1), 7);

    // A file holding other sets: its contents are replaced by the working file's set.
    WriteFile(File("other.dat"), Crlf("; my settings\n\n[keep/Power Management] \n0x1 = 0x0\n"));
    CFG_REG[1] = 9;
    Export(File("other.dat"));
    EXPECT_EQ(ReadFile(File("other.dat")), Crlf(ReplaceAll(BrightHex(), "0x1 = 0x0", "0x1 = 0x9")));
    CFG_REG[1] = 3;
    Import(File("other.dat"));
    EXPECT_EQ(CFG_REG[1], 9u);
    EXPECT_THAT(Messages(), ::testing::IsEmpty());

    // A file whose first section is other settings: its set is the one exported and imported.
    WriteFile(File("general.dat"), Crlf("\n[General] \nPlayDir = WaveFile\n\n[warm/Power Management] \n0x1 = 0x4\n"));
    ask.QueueYesNo(true);
    Import(File("general.dat"));
    ASSERT_EQ(CFG_REG[1], 4u);
    CFG_REG[1] = 5;
    Export(File("general.dat"));
    EXPECT_NE(ReadFile(File("general.dat")).find("\r\n[warm/Power Management] \r\n0x1 = 0x5\r\n"), std::string::npos);
    EXPECT_EQ(ReadFile(File("general.dat")).find("[General/"), std::string::npos);
    CFG_REG[1] = 3;
    Import(File("general.dat"));  // the set now gives every register: no question
    EXPECT_EQ(CFG_REG[1], 5u);
    EXPECT_THAT(Messages(), ::testing::IsEmpty());

    // Declining the question leaves the file as it was.
    WriteFile(File("keep.dat"), "mine");
    ask.QueueYesNo(false);
    Export(File("keep.dat"));
    EXPECT_EQ(ReadFile(File("keep.dat")), "mine");
}

// With no working file yet, the set takes the name of the file's first set.
TEST_F(ImportExportTest, FirstExportOverAFileKeepsItsSetName) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    WriteFile(File("other.dat"), Crlf("\n[keep/Power Management] \n0x1 = 0x5\n"));
    CFG_REG[1] = 6;
    Export(File("other.dat"));
    rt::IniText ini = rt::Ini_New(0);
    rt::Ini_ReadFromString(ini, ReadFile(File("other.dat")));
    EXPECT_EQ(ConfigSetNames(ini), Strings{"keep"});
    int value = 0;
    EXPECT_EQ(rt::Ini_GetInt(ini, "keep/Power Management", "0x1", &value), 1);
    EXPECT_EQ(value, 6);
    EXPECT_EQ(rt::Ini_NumberOfSections(ini), 12);
    rt::Ini_Dispose(ini);
}

// What cannot be read is never written over, and a failure says so.
TEST_F(ImportExportTest, ExportNeverTruncatesTheDestination) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    // The working file cannot be read: reported, nothing written.
    WriteFile(File("dest.dat"), Crlf("\n[keep/Power Management] \n0x1 = 0x5\n"));
    // An export reads the working file first: one that is not a regular file is refused at once.
    auto exportRefusesTheWorkingFile = [&] {
        ask.Clear();
        Export(File("dest.dat"));
        EXPECT_EQ(Messages(), Strings{"ERROR| Error Opening Config File\n" + File("tempini.dat").string() +
                                      " is not a regular file."});
        EXPECT_EQ(ReadFile(File("dest.dat")), Crlf("\n[keep/Power Management] \n0x1 = 0x5\n"));
    };
    std::filesystem::create_directory(File("tempini.dat"));
    exportRefusesTheWorkingFile();
    ask.Clear();
    Export(File("fresh.dat"));  // the working file cannot be written either
    EXPECT_FALSE(std::filesystem::exists(File("fresh.dat")));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].rfind("ERROR| Error Writing Config File\n", 0), 0u);
    std::filesystem::remove(File("tempini.dat"));

    // A named pipe as the working file (no writer: a blocking read would wait for good): the
    // export says why at once, the import cannot write it; neither touches the pipe.
    ASSERT_EQ(mkfifo(File("tempini.dat").c_str(), 0600), 0);
    exportRefusesTheWorkingFile();
    ask.Clear();
    board->ClearReceivedReports();
    Import(File("dest.dat"));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].rfind("ERROR| Error Writing Config File\n" + File("tempini.dat").string() + "\n", 0), 0u)
        << Messages()[0];
    EXPECT_TRUE(board->ReceivedReports().empty());
    EXPECT_TRUE(std::filesystem::is_fifo(File("tempini.dat")));
    std::filesystem::remove(File("tempini.dat"));
    // A named pipe, a socket or a device as the destination: refused at once with the reason,
    // with no question about replacing it, and left as it is.
    ASSERT_EQ(mkfifo(File("out.dat").c_str(), 0600), 0);
    ASSERT_TRUE(testsupport::MakeSocketFile(File("socket.dat")));
    for (const std::string& destination : {File("out.dat").string(), File("socket.dat").string(), std::string("/dev/null")}) {
        ask.Clear();
        Export(destination);
        EXPECT_EQ(ask.Shown().size(), 2u) << destination;  // the picker and the message
        EXPECT_EQ(Messages(), Strings{"ERROR| Error Writing Config File\n" + destination + "\n" + destination +
                                      " is not a regular file."});
    }
    EXPECT_TRUE(std::filesystem::is_fifo(File("out.dat")));
    EXPECT_TRUE(std::filesystem::is_socket(File("socket.dat")));

    // A name too long for a set.
    ask.Clear();
    Export(File(std::string(125, 'n') + ".dat"));
    EXPECT_FALSE(std::filesystem::exists(File(std::string(125, 'n') + ".dat")));
    EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(ImportExportTest, ImportLoadsTheFirstSetIntoTheChip) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    WriteFile(File("warm.dat"), Crlf("\n[warm/Audio Control] \n0x4 = 0x51\n0x6 = 0x141\n"
                                     "\n[warm/Input Output Mixer] \n0x34=0x3a\n"
                                     "\n[cold/Audio Control] \n0x4 = 0x1\n"));
    CFG_REG[5] = 0x1F;
    ask.QueueYesNo(true);
    Import(File("warm.dat"));
    EXPECT_EQ(CFG_REG[4], 0x51u);
    EXPECT_EQ(CFG_REG[6], 0x141u);
    EXPECT_EQ(CFG_REG[52], 0x3Au);
    EXPECT_EQ(CFG_REG[5], 0x1Fu);  // not in the set
    EXPECT_EQ(Working(), Crlf("\n[warm/Audio Control] \n0x4 = 81\n0x6 = 321\n"
                              "\n[warm/Input Output Mixer] \n0x34 = 58\n"
                              "\n[cold/Audio Control] \n0x4 = 1\n"));
    EXPECT_EQ(BlockWrites().size(), 3u);
    EXPECT_EQ(board->CodecRegister(6), 0x141);
    ASSERT_EQ(ask.Shown().size(), 2u);
    EXPECT_EQ(ask.Shown()[0].title, "Load settings from file, and write settings into device (if attached)");
    // The registers the set does not give are named before anything is loaded.
    EXPECT_EQ(ask.Shown()[1].title, "Import");
    EXPECT_EQ(ask.Shown()[1].text,
              "The settings file gives no readable value for R0 to R3, R5, R7 to R22, R24, R25, R27 to R30, "
              "R32 to R41, R43 to R51, R53 to R62.\n"
              "These registers would keep their current values.\n\nLoad the other registers from the file?");
    EXPECT_THAT(Messages(), ::testing::IsEmpty());
    EXPECT_EQ(FlagCFGUpdate, 1);

    // Sections before the first set that are no set of this model (other settings, another
    // model's set) are passed over: the set after them is loaded.
    WriteFile(File("general.dat"), Crlf("\n[General] \nPlayDir = WaveFile\n\n[z/PGA volume] \n0x0 = 0x3\n"
                                        "\n[warm/Audio Control] \n0x4 = 0x52\n"));
    ask.Clear();
    board->ClearReceivedReports();
    ask.QueueYesNo(true);
    Import(File("general.dat"));
    EXPECT_EQ(CFG_REG[4], 0x52u);
    EXPECT_THAT(Messages(), ::testing::IsEmpty()) << Messages()[0];
    EXPECT_EQ(BlockWrites().size(), 3u);
    ASSERT_EQ(ask.Shown().size(), 2u);
    EXPECT_EQ(ask.Shown()[1].text.rfind("The settings file gives no readable value for R0 to R3, R5 to R22,", 0), 0u)
        << ask.Shown()[1].text;
}

// A section line with text after its "]" opens no section, in the converter as in the reader:
// the registers under it, and a value that is no number, are named; nothing is loaded unasked.
TEST_F(ImportExportTest, ImportNamesTheRegistersItCannotRead) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    std::string text = ReplaceAll(BrightHex(), "[bright/Power Management] \n", "[bright/Power Management] ; note\n");
    text = ReplaceAll(text, "0x4 = 0x50", "0x4 = loud");
    text = ReplaceAll(text, "0x5 = 0x0", "0x5 = 0x3");
    WriteFile(File("noted.dat"), Crlf(text));
    CFG_REG[1] = 0x11;
    ask.QueueYesNo(false);
    Import(File("noted.dat"));
    const std::string question = "The settings file gives no readable value for R1 to R4.\n"
                                 "These registers would keep their current values.\n\nLoad the other registers from the file?";
    ASSERT_EQ(ask.Shown().size(), 2u);
    EXPECT_EQ(ask.Shown()[1].text, question);
    EXPECT_EQ(CFG_REG[5], 0u);
    EXPECT_TRUE(board->ReceivedReports().empty());
    // The line is kept as it stands in the working file; its items do not reach the set before.
    EXPECT_NE(Working().find("\r\n[bright/Power Management] ; note\r\n0x1 = 0\r\n"), std::string::npos);

    ask.Clear();
    Import(File("noted.dat"));
    EXPECT_EQ(ask.Shown()[1].text, question);
    EXPECT_EQ(CFG_REG[1], 0x11u);
    EXPECT_EQ(CFG_REG[4], 0x50u);
    EXPECT_EQ(CFG_REG[5], 3u);
    EXPECT_EQ(BlockWrites().size(), 3u);
}

// The model is checked before the working file is touched.
TEST_F(ImportExportTest, NoModelOrQevbIsRefusedFirst) {
    WriteFile(File("tempini.dat"), "old");
    WriteFile(File("warm.dat"), Crlf("\n[warm/Audio Control] \n0x4 = 0x51\n"));
    Import(File("warm.dat"));
    Export(File("warm.dat"));
    Export(File("new.dat"));
    EXPECT_EQ(Messages(), (Strings{"error|Please select a chip first", "error|Please select a chip first",
                                   "error|Please select a chip first"}));
    Choose(MENUBAR_DEVICE_StereoQevb);
    Import(File("warm.dat"));
    Export(File("warm.dat"));
    Export(File("new.dat"));
    EXPECT_EQ(Messages(), (Strings{"error|KorQevb can't be preset", "error|KorQevb can't export",
                                   "error|Please select a chip first"}));
    EXPECT_EQ(Working(), "old");
    EXPECT_FALSE(std::filesystem::exists(File("new.dat")));
    EXPECT_EQ(CFG_REG[4], 0x50u);
    // A cancelled picker does nothing.
    ask.Clear();
    Menu(MENUBAR_CONFIG_Import);
    Menu(MENUBAR_CONFIG_Export);
    EXPECT_EQ(ask.Shown().size(), 2u);
    EXPECT_THAT(Messages(), ::testing::IsEmpty());
}

// A file that cannot be opened, or that opened but is no exchange file (no set, a binary, an INI
// file of other settings): each told as what it is; nothing loaded, the working file untouched.
// A file of sets none of which is this model's, or whose set gives no readable value: told,
// and nothing is sent.
TEST_F(ImportExportTest, ImportRefusesWhatItCannotLoad) {
    Choose(MENUBAR_DEVICE_Mono);
    WriteFile(File("tempini.dat"), "old");
    Import(File("missing.dat"));
    WriteFile(File("empty.dat"), "; nothing here\r\n");
    Import(File("empty.dat"));
    WriteFile(File("binary.dat"), std::string("\x01\x02garbage\x03\n\x04more", 16));
    Import(File("binary.dat"));
    WriteFile(File("other.dat"), "[Default]\r\nPlayDir = WaveFile\r\n[/Audio Control]\r\n0x4 = 0x51\r\n");
    Import(File("other.dat"));
    const std::string notExchange =
        "ERROR|This file is not a settings exchange file: it holds no configuration set. Nothing was loaded.\n";
    Strings messages = Messages();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0].rfind("ERROR| Error Opening Config File\n" + File("missing.dat").string() + "\n", 0), 0u)
        << messages[0];
    messages.erase(messages.begin());
    EXPECT_EQ(messages, (Strings{notExchange + File("empty.dat").string(), notExchange + File("binary.dat").string(),
                                 notExchange + File("other.dat").string()}));
    EXPECT_EQ(Working(), "old");

    // A named pipe chosen (no writer): refused at once with the reason, and left in place.
    ASSERT_EQ(mkfifo(File("pipe.dat").c_str(), 0600), 0);
    ask.Clear();
    Import(File("pipe.dat"));
    EXPECT_EQ(Messages(), Strings{"ERROR| Error Opening Config File\n" + File("pipe.dat").string() + "\n" +
                                  File("pipe.dat").string() + " is not a regular file."});
    EXPECT_EQ(Working(), "old");
    EXPECT_TRUE(std::filesystem::is_fifo(File("pipe.dat")));

    ask.Clear();
    WriteFile(File("zutb.dat"), "[General]\r\n[z/PGA volume]\r\n0x0 = 0x3\r\n");
    Import(File("zutb.dat"));
    WriteFile(File("junk.dat"), "[junk/Audio Control]\r\n0x4 = loud\r\n0x5 = 0x200\r\n[junk/ALC Control]\r\n");
    Import(File("junk.dat"));
    EXPECT_EQ(Messages(),
              (Strings{"ERROR|This file holds no configuration set for this device. Nothing was loaded.\n" +
                           File("zutb.dat").string(),
                       "ERROR|The configuration \"junk\" gives no readable value for any register; nothing was "
                       "loaded."}));
    EXPECT_EQ(ask.Shown().size(), 4u);  // a picker and a message each, no question
    EXPECT_TRUE(board->ReceivedReports().empty());
    EXPECT_EQ(CFG_REG[4], 0x50u);
}

// A file far beyond any exchange file is refused by its size before it is read: named with its
// size and the limit; the working file, the registers and the chip stay as they were.
TEST_F(ImportExportTest, FarTooLargeFileIsRefusedUnread) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    WriteFile(File("tempini.dat"), "old");
    const std::string working = FileStamp(File("tempini.dat"));
    const std::filesystem::path huge = File("huge.dat");
    WriteSparseFile(huge, Crlf(ReplaceAll(BrightHex(), "0x4 = 0x50", "0x4 = 0x51")), 200u << 20);
    Import(huge);
    EXPECT_EQ(Messages(), Strings{"ERROR| Error Opening Config File\n" + huge.string() + "\n" + huge.string() +
                                  " is 200 MB; a settings exchange file is at most 1 MB. It was not read."});
    EXPECT_EQ(FileStamp(File("tempini.dat")), working);
    EXPECT_EQ(Working(), "old");
    EXPECT_EQ(CFG_REG[4], 0x50u);
    EXPECT_TRUE(board->ReceivedReports().empty());
}

// A Zutb export imports again into the same registers, sent in Zutb's own reports.
TEST_F(ImportExportTest, ZutbExportImportsAgain) {
    Choose(MENUBAR_DEVICE_StereoZutb);
    for (int r = 0; r <= 113; ++r) CFG_REG[r] = static_cast<uint32_t>((r * 5 + 1) & 0x1FF);
    Export(File("z.dat"));
    EXPECT_EQ(GetConfigformat(File("z.dat").c_str()), 2);
    for (int r = 0; r <= 113; ++r) CFG_REG[r] = 0;
    Import(File("z.dat"));
    for (const ConfigGroup* g = ConfigGroupsZutb; g->name[0] != '\0'; ++g)
        for (int r = g->first; r <= g->last; ++r) EXPECT_EQ(CFG_REG[r], static_cast<uint32_t>((r * 5 + 1) & 0x1FF)) << r;
    EXPECT_EQ(CFG_REG[20], 0u);  // in no group
    EXPECT_EQ(board->ReceivedReports().size(), 7u);
    EXPECT_THAT(Messages(), ::testing::IsEmpty());
}

}  // namespace
