// Register scripts: every kind of line, refused lines, bridge ranges, pauses, "!r" read lines,
// and "script.txt" loaded and saved in the project folder.
#include <gmock/gmock.h>
#include <sys/stat.h>

#include "boardhid/emulator_control.h"
#include "link/chip_operation.h"
#include "link/usbcomvunt.h"
#include "panels/cfgMapJorb_Pan.h"
#include "panels/cfgScriptQeva_pan.h"
#include "panels/cfgScriptZutb_pan.h"
#include "panels/cfgScript_pan.h"
#include "regmap/script.h"
#include "tests/regmap_panels/regmap_test_support.h"

namespace {

using regmaptest::ReadFile;
using regmaptest::RegMapFixture;
using regmaptest::WriteFile;
using regscript::ParseScriptLine;
using regscript::ScriptLine;
using Kind = ScriptLine::Kind;
using namespace ui::AudioCodec_pan;

constexpr int kBox = ui::cfgScript_pan::CFGSCRIPT_TBSCRIPT;
constexpr int kRun = ui::cfgScript_pan::CFGSCRIPT_CBTrun;
constexpr int kLoad = ui::cfgScript_pan::CFGSCRIPT_CBTLoad;
constexpr int kSave = ui::cfgScript_pan::CFGSCRIPT_CBTSave;

// How each kind of line reads, the stated examples included.
TEST(ScriptLineTest, EveryKindOfLine) {
    struct Case {
        const char* line;
        bool readLines;
        Kind kind;
        int address, value;
    };
    const Case cases[] = {
        {"; This is a comment", false, Kind::Nothing, 0, 0},
        {"", false, Kind::Nothing, 0, 0},
        {"  \t", false, Kind::Nothing, 0, 0},
        {"   ; indented comment", false, Kind::Nothing, 0, 0},
        {"0x1450 = 0x1F  ;;I2C only", false, Kind::Bridge, 0x1450, 0x1F},
        {"0x0 = 0", false, Kind::Write, 0, 0},
        {"0x1 = 0x4D", false, Kind::Write, 1, 0x4D},
        {"0x3 = 495", false, Kind::Write, 3, 495},
        {"0x07=0x03", false, Kind::Write, 7, 3},
        {"0x26=0x10A", false, Kind::Write, 0x26, 0x10A},
        {"0xb  = 0x1ff    ;511", false, Kind::Write, 11, 0x1FF},
        {"0X7F = +12", false, Kind::Write, 127, 12},
        {"0x-1=100", false, Kind::Pause, -1, 100},
        {"0xffffffff = 1000", false, Kind::Pause, -1, 1000},
        {"0x1FFF = 255", false, Kind::Bridge, 0x1FFF, 255},
        {"!r 0x0", true, Kind::Read, 0, 0},
        {"!r0x26", true, Kind::Read, 0x26, 0},
        {"0x5 = 7\r", false, Kind::Write, 5, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const ScriptLine l = ParseScriptLine(c.line, c.readLines);
        EXPECT_EQ(l.kind, c.kind);
        if (c.kind == Kind::Nothing) continue;
        EXPECT_EQ(l.address, c.address);
        if (c.kind != Kind::Read) {
            EXPECT_EQ(l.value, c.value);
        }
        EXPECT_TRUE(l.problem.empty());
    }
}

// A line that is no command, an address that is not a number or names no register, and a value
// that is not a number or that its address cannot take are refused with the reason (never run,
// never written as 0); a pause longer than the bound is shortened and says so.
TEST(ScriptLineTest, LinesNotRunAreRefusedWithTheReasonAndPausesBounded) {
    struct Case {
        const char* line;
        bool readLines;
        const char* why;  // a piece of the reason
    };
    const Case cases[] = {
        {"plain words", false, "not a command"},
        {"hello", true, "not a command"},
        {"Ox0a = 3", false, "address is not a hexadecimal number"},
        {"0xZZ = 1", false, "address is not a hexadecimal number"},
        {"0x5", false, "\"=\" and a value"},
        {"0x5 7", false, "\"=\" and a value"},
        {"0x80 = 1", false, "no register has this address"},
        {"0x143F = 1", false, "no register has this address"},
        {"0x2000 = 1", false, "no register has this address"},
        {"0x-2 = 1", false, "no register has this address"},
        {"0x123456789 = 1", false, "no register has this address"},
        {"0x5 = 0xZZ", true, "value is not a number"},
        {"0x5 = abc", true, "value is not a number"},
        {"0x5 =", true, "value is not a number"},
        {"0x5 = 0x", true, "value is not a number"},
        {"0x5 = 512", true, "between 0 and 0x1FF"},
        {"0x5 = -1", true, "between 0 and 0x1FF"},
        {"0x5 = 99999999999", true, "between 0 and 0x1FF"},
        {"0x1450 = 0x100", true, "between 0 and 0xFF"},
        {"0x-1 = -5", true, "negative"},
        {"!r 0x80", true, "between 0x00 and 0x7F"},
        {"!r 26", true, "!r 0x<register>"},
        {"!x 0x1", true, "not a command"},
        {"!r 0x0", false, "no read lines"},
        {"  !r 0x05", true, "a read line starts with \"!r\" in the first column"},
        {"\t!r 0x05", true, "a read line starts with \"!r\" in the first column"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const ScriptLine l = ParseScriptLine(c.line, c.readLines);
        EXPECT_EQ(l.kind, Kind::Refused);
        EXPECT_NE(l.problem.find(c.why), std::string::npos) << l.problem;
    }
    ScriptLine l = ParseScriptLine("0x-1 = 60000", false);
    EXPECT_EQ(l.kind, Kind::Pause);
    EXPECT_EQ(l.value, regscript::kMaxPauseMs);
    EXPECT_NE(l.problem.find("10000 ms"), std::string::npos);
}

class ScriptPanelTest : public RegMapFixture {
protected:
    int panel = 0;
    std::vector<int> sleeps;
    void SetUp() override {
        RegMapFixture::SetUp();
        if (HasFatalFailure()) return;
        Choose(MENUBAR_DEVICE_StereoJorb);
        panel = PHandleSTScript;
        os::SetSleeper([this](int ms) { sleeps.push_back(ms); });
    }
    void Script(int p, const std::string& text) { rt::ResetTextBox(p, kBox, text.c_str()); }
    int Slept() const {
        int total = 0;
        for (int ms : sleeps) total += ms;
        return total;
    }
    std::filesystem::path ScriptFile() const { return home / "script.txt"; }
};

// The example script of the Jorb panel: bridge writes, codec writes (values decimal or hex)
// in order, and one redraw request at the end.
TEST_F(ScriptPanelTest, RunWritesRegistersAndBridgeRegistersInOrder) {
    Press(panel, kRun);
    auto bridge = ReceivedWithCommand(CMD_BRIDGE_WRITE);
    ASSERT_EQ(bridge.size(), 4u);
    EXPECT_EQ(std::vector<uint8_t>(bridge[0].begin(), bridge[0].begin() + 6),
              (std::vector<uint8_t>{0x31, 0x00, 0x03, 0x14, 0x50, 0x1F}));
    EXPECT_EQ(board->BridgeRegister(0x1451), 0x1B);
    EXPECT_EQ(board->BridgeRegister(0x1460), 0x81);
    EXPECT_EQ(board->BridgeRegister(0x1474), 0x40);
    EXPECT_EQ(RegisterWrites(),
              (std::vector<std::pair<int, int>>{{0, 0}, {1, 0x4D}, {3, 495}, {4, 144}, {6, 0}}));
    EXPECT_EQ(CFG_REG[3], 495u);
    EXPECT_EQ(CFG_REG[1], 0x4Du);
    EXPECT_EQ(FlagCFGUpdate, 1);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());

    // What a bridge line wrote is what the board holds: a refused Write of that register on the
    // register map goes back to it.
    const int map = PHandleSTRegMap;
    rt::SetCtrlVal(map, ui::cfgMapJorb_Pan::CFGMAPJorb_NVuntRegAddr, 0x1474);
    rt::SetCtrlVal(map, ui::cfgMapJorb_Pan::CFGMAPJorb_NVuntRegVal, 0x55);
    board->SetFaults(boardhid::RefuseOneSend());
    Press(map, ui::cfgMapJorb_Pan::CFGMAPJorb_BACSTReg08Write);
    EXPECT_EQ(board->BridgeRegister(0x1474), 0x40);
    EXPECT_EQ(CtrlInt(map, ui::cfgMapJorb_Pan::CFGMAPJorb_NVuntRegVal), 0x40);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text,
              "The evaluation board refused the write of bridge register 0x1474, so it did not take effect.\n\n"
              "\"Bridge Register Value\" shows what the board holds.");
    prompter.shown.clear();

    // An empty box runs nothing but still asks for the redraw.
    board->ClearReceivedReports();
    FlagCFGUpdate = 0;
    Script(panel, "");
    Press(panel, kRun);
    EXPECT_TRUE(board->ReceivedReports().empty());
    EXPECT_EQ(FlagCFGUpdate, 1);

    // The run is one operation: the board refuses the write of R3 (after the four bridge writes
    // and two codec writes), so nothing after it goes out, its pause is not made, the copy keeps
    // what the chip holds, and the one popup names the run and the refused write, and the lines
    // before it that were not run as written: no command, and a write the I2C guard refuses
    // (told there, not in a popup of its own). The bad line the run never reached is not named.
    Script(panel, "hello\n0x1450 = 0x1F\n0x1451 = 0x1B\n0x1460 = 0x81\n0x1474 = 0x40\n0x0 = 0\n0x07 = 0x100\n"
                  "0x1 = 0x4E\n0x3 = 494\n0x-1 = 500\n0x4 = 145\n0x1475 = 0x41\nplain words\n");
    CFG_REG[7] = 0x002;
    board->ClearReceivedReports();
    sleeps.clear();
    CFG_REG[3] = 0x11;
    CFG_REG[4] = 0x22;
    board->SetFaults(boardhid::RefuseOneSend(6));
    Press(panel, kRun);
    EXPECT_EQ(RegisterWrites(), (std::vector<std::pair<int, int>>{{0, 0}, {1, 0x4E}}));
    EXPECT_EQ(ReceivedWithCommand(CMD_BRIDGE_WRITE).size(), 4u);
    EXPECT_EQ(board->BridgeRegister(0x1475), 0);
    EXPECT_EQ(Slept(), 0);
    EXPECT_EQ(CFG_REG[1], 0x4Eu);
    EXPECT_EQ(CFG_REG[3], 0x11u);
    EXPECT_EQ(CFG_REG[4], 0x22u);
    EXPECT_EQ(CFG_REG[7], 0x002u);
    EXPECT_EQ(Popups(), std::vector<std::string>{
        "Warning -- Operation aborted|"
        "\"Run Script\" stopped: the board refused the write of R3, and nothing after it was sent.\n\n"
        "The chip may now differ from the panels. Reading the registers back (\"Read All and Update\" on the "
        "register map) reconciles them.\n\n"
        "Some lines of the script were not run as written:\n\n"
        "line 1: hello\n"
        "    not a command: a command is \"0x<address> = <value>\", a comment starts with \";\"\n"
        "line 7: 0x07 = 0x100\n"
        "    not sent: under I2C communication R7[8] must stay 0"});

    // The board refuses a bridge line: the codec line before it reached the chip, nothing after
    // it goes out, and the popup says what is true of the board's register, not that reading the
    // codec registers back would mend it.
    Script(panel, "0x1 = 0x4D\n0x1451 = 0x1C\n0x3 = 494\n");
    board->ClearReceivedReports();
    prompter.shown.clear();
    board->SetFaults(boardhid::RefuseOneSend(1));
    Press(panel, kRun);
    EXPECT_EQ(RegisterWrites(), (std::vector<std::pair<int, int>>{{1, 0x4D}}));
    EXPECT_EQ(board->BridgeRegister(0x1451), 0x1B);
    EXPECT_EQ(CFG_REG[1], 0x4Du);
    EXPECT_EQ(CFG_REG[3], 0x11u);
    EXPECT_EQ(Popups(), std::vector<std::string>{
        "Warning -- Operation aborted|"
        "\"Run Script\" stopped: the board refused the write of bridge register 0x1451, and nothing after it was "
        "sent.\n\n"
        "The board keeps its previous value of bridge register 0x1451."});
}

// Pauses wait their milliseconds (bounded); every line not run (no command, an address that is
// no number or names no register, a bad value) is named by number with its reason in one popup
// while the rest of the script runs; comments and empty lines are not named.
TEST_F(ScriptPanelTest, PausesRangesAndRefusedLines) {
    Script(panel, "0x-1=100\n0xffffffff = 1000\n");
    Press(panel, kRun);
    EXPECT_EQ(Slept(), 1100);
    EXPECT_TRUE(board->ReceivedReports().empty());
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());

    sleeps.clear();
    CFG_REG[5] = 0x22;
    Script(panel, "plain words\n0x5 = 0xZZ\n0x6 = 0x7\n0x-1 = 50000\n0x9 = 600\n; note\n\nOx0a = 3\nhello\n"
                  "0x80 = 5\n0x2000 = 0x12\n0x7 = 1\n");
    Press(panel, kRun);
    EXPECT_EQ(CFG_REG[5], 0x22u);
    EXPECT_EQ(RegisterWrites(), (std::vector<std::pair<int, int>>{{6, 7}, {7, 1}}));
    EXPECT_TRUE(ReceivedWithCommand(CMD_BRIDGE_WRITE).empty());
    EXPECT_EQ(Slept(), regscript::kMaxPauseMs);
    ASSERT_EQ(prompter.shown.size(), 1u);
    const std::string& text = prompter.shown[0].text;
    for (const char* named : {"line 1: plain words\n    not a command", "line 2: 0x5 = 0xZZ", "line 4: 0x-1 = 50000",
                              "line 5: 0x9 = 600", "line 8: Ox0a = 3\n    the address is not a hexadecimal number",
                              "line 9: hello\n    not a command", "line 10: 0x80 = 5\n    no register has this address",
                              "line 11: 0x2000 = 0x12\n    no register has this address"})
        EXPECT_NE(text.find(named), std::string::npos) << named << "\n" << text;
    for (const char* quiet : {"line 3", "line 6", "line 7", "line 12"}) EXPECT_EQ(text.find(quiet), std::string::npos) << text;

    // Long bad lines are quoted shortened: twenty of 100 KB make a popup of a few lines.
    prompter.shown.clear();
    std::string huge;
    for (int i = 0; i < 20; ++i) huge += std::string(100000, 'z') + "\n";
    Script(panel, huge);
    Press(panel, kRun);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_LT(prompter.shown[0].text.size(), 4000u);
    EXPECT_NE(prompter.shown[0].text.find("\nline 1: " + std::string(57, 'z') + "...\n    not a command"),
              std::string::npos)
        << prompter.shown[0].text.substr(0, 500);
    EXPECT_NE(prompter.shown[0].text.find("\n... and 5 more"), std::string::npos);
}

// "!r" lines (in the first two columns) on Zutb and Qeva list the register read in "read back
// value" (CFG_REG untouched); a read the mode refuses lists 0xFFFFFFFF and is named in the run's
// one popup. On Jorb the same line does nothing.
TEST_F(ScriptPanelTest, ReadLinesListTheirRegisters) {
    Choose(MENUBAR_DEVICE_StereoZutb);
    const int zutb = PHandleSTScriptZutb;
    const int log = ui::cfgScriptZutb_pan::CFGSCRIPTZutb_TBlog3;
    board->SetCodecRegister(0x26, 0x10A);
    CFG_REG[0x26] = 0;
    Script(zutb, "!r 0x26\n!r 0x0\n");
    board->SetCodecRegister(0, 0x017);
    Press(zutb, ui::cfgScriptZutb_pan::CFGSCRIPTZutb_CBTrun);
    EXPECT_EQ(Text(zutb, log), "0x26 = 0x10A\n0x00 = 0x017");
    EXPECT_EQ(CFG_REG[0x26], 0u);

    // Indented, "!r" makes no read line: nothing is sent, and the line is named.
    board->ClearReceivedReports();
    Script(zutb, "  !r 0x05\n");
    Press(zutb, ui::cfgScriptZutb_pan::CFGSCRIPTZutb_CBTrun);
    EXPECT_TRUE(board->ReceivedReports().empty());
    EXPECT_EQ(Text(zutb, log), "0x26 = 0x10A\n0x00 = 0x017");
    EXPECT_EQ(Popups(), std::vector<std::string>{"Script|Some lines of the script were not run as written:\n\n"
                                                 "line 1:   !r 0x05\n"
                                                 "    a read line starts with \"!r\" in the first column"});

    prompter.shown.clear();
    QuillonMode = 1;
    Script(zutb, "!r 0x26\nhello");
    Press(zutb, ui::cfgScriptZutb_pan::CFGSCRIPTZutb_CBTrun);
    QuillonMode = 0;
    CommMode = COMM_SPI3W;
    Script(zutb, "!r 0x26");
    Press(zutb, ui::cfgScriptZutb_pan::CFGSCRIPTZutb_CBTrun);
    CommMode = COMM_I2C;
    EXPECT_EQ(Text(zutb, log), "0x26 = 0x10A\n0x00 = 0x017\n0x26 = 0xFFFFFFFF\n0x26 = 0xFFFFFFFF");
    EXPECT_EQ(Popups(), (std::vector<std::string>{
                            "Script|Some lines of the script were not run as written:\n\n"
                            "line 1: !r 0x26\n    not read: Can not read under Write-Only Mode\n"
                            "line 2: hello\n"
                            "    not a command: a command is \"0x<address> = <value>\", a comment starts with \";\"",
                            "Script|Some lines of the script were not run as written:\n\n"
                            "line 1: !r 0x26\n    not read: Can not read under 3-Wire SPI Mode"}));

    Choose(MENUBAR_DEVICE_StereoQeva);
    Script(PHdlScriptQeva, "!r 0x1");
    board->SetCodecRegister(1, 0x0D);
    Press(PHdlScriptQeva, ui::cfgScriptQeva_pan::CFGSCRIPTQeva_CBTrunQeva);
    EXPECT_EQ(Text(PHdlScriptQeva, ui::cfgScriptQeva_pan::CFGSCRIPTQeva_TBlog3), "0x01 = 0x00D");

    // Jorb's scripts have no read lines: the line is not run, and named.
    Choose(MENUBAR_DEVICE_StereoJorb);
    prompter.shown.clear();
    Script(panel, "!r 0x0\n");
    Press(panel, kRun);
    EXPECT_TRUE(board->ReceivedReports().empty());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].text.find("line 1: !r 0x0\n    this model's scripts have no read lines"), std::string::npos)
        << prompter.shown[0].text;
}

// "save" writes the lines longer than three characters (CR LF), replacing the file whole;
// "load" reads the whole file back, empty lines and all, into any model's panel.
TEST_F(ScriptPanelTest, SaveAndLoadScriptTxt) {
    Script(panel, "0x1=5\n\n;ab\n0x-1 = 100\n; a comment\n");
    Press(panel, kSave);
    EXPECT_EQ(ReadFile(ScriptFile()), "0x1=5\r\n0x-1 = 100\r\n; a comment\r\n");
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
    std::vector<std::string> leftovers;
    for (const auto& e : std::filesystem::directory_iterator(home))
        if (e.path().filename() != "script.txt" && e.path().filename().string().find("script") != std::string::npos)
            leftovers.push_back(e.path().filename().string());
    EXPECT_TRUE(leftovers.empty());

    WriteFile(ScriptFile(), "0x1 = 0x4D\r\n\r\n0x3 = 495\r\n; end\r\n");
    Script(PHandleSTScriptZutb, "old");
    Press(PHandleSTScriptZutb, ui::cfgScriptZutb_pan::CFGSCRIPTZutb_CBTLoad);
    EXPECT_EQ(Text(PHandleSTScriptZutb, kBox), "0x1 = 0x4D\n\n0x3 = 495\n; end\n");
    Press(PHandleSTScriptZutb, ui::cfgScriptZutb_pan::CFGSCRIPTZutb_CBTrun);
    EXPECT_EQ(CFG_REG[3], 495u);

    // Lines ending in CR alone, or in a mix, are lines all the same.
    WriteFile(ScriptFile(), "0x1 = 5\r0x2 = 3\r\n0x3 = 7\n0x4 = 9");
    Press(panel, kLoad);
    EXPECT_EQ(Text(panel, kBox), "0x1 = 5\n0x2 = 3\n0x3 = 7\n0x4 = 9");
    board->ClearReceivedReports();
    Press(panel, kRun);
    EXPECT_EQ(RegisterWrites(), (std::vector<std::pair<int, int>>{{1, 5}, {2, 3}, {3, 7}, {4, 9}}));
    EXPECT_EQ(Popups(), std::vector<std::string>{});
}

// A missing file leaves the box as it is and says so; a file that cannot be written is reported
// and what stands there is kept.
TEST_F(ScriptPanelTest, MissingOrUnwritableFileIsReported) {
    Script(panel, "0x1 = 2");
    Press(panel, kLoad);
    EXPECT_EQ(Text(panel, kBox), "0x1 = 2");
    EXPECT_EQ(Titles(), std::vector<std::string>{"Script"});

    // A folder in the file's place is no missing file: "load" says what it is, and the save
    // cannot replace it; the folder and what it holds stay.
    std::filesystem::create_directory(ScriptFile());
    WriteFile(ScriptFile() / "keep.txt", "mine");
    const std::string notRegular = ScriptFile().string() + " is not a regular file.";
    prompter.shown.clear();
    Press(panel, kLoad);
    EXPECT_EQ(Text(panel, kBox), "0x1 = 2");
    EXPECT_EQ(Popups(), std::vector<std::string>{"Script|The script file could not be read:\n" + notRegular});
    prompter.shown.clear();
    Press(panel, kSave);
    EXPECT_EQ(Popups(), std::vector<std::string>{"Script|The script could not be saved to:\n" +
                                                 ScriptFile().string() + "\n" + notRegular});
    EXPECT_TRUE(std::filesystem::is_directory(ScriptFile()));
    EXPECT_EQ(ReadFile(ScriptFile() / "keep.txt"), "mine");

    // A named pipe in its place (no writer): "load" says why at once and leaves the box as it
    // is; "save" neither writes into it nor replaces it.
    std::filesystem::remove_all(ScriptFile());
    ASSERT_EQ(mkfifo(ScriptFile().c_str(), 0600), 0);
    prompter.shown.clear();
    Press(panel, kLoad);
    EXPECT_EQ(Text(panel, kBox), "0x1 = 2");
    EXPECT_EQ(Popups(), std::vector<std::string>{"Script|The script file could not be read:\n" +
                                                 ScriptFile().string() + " is not a regular file."});
    prompter.shown.clear();
    Press(panel, kSave);
    ASSERT_EQ(Popups().size(), 1u);
    EXPECT_EQ(Popups()[0].rfind("Script|The script could not be saved to:\n" + ScriptFile().string() + "\n", 0), 0u)
        << Popups()[0];
    EXPECT_TRUE(std::filesystem::is_fifo(ScriptFile()));
}

// A file far beyond any script is refused by its size before it is read: the box keeps its
// text and the popup names the file, its size and the limit.
TEST_F(ScriptPanelTest, FarTooLargeFileIsRefusedUnread) {
    Script(panel, "0x1 = 2");
    WriteFile(ScriptFile(), "0x1 = 5\r\n");
    std::filesystem::resize_file(ScriptFile(), 200u << 20);  // the rest a hole, taking no disk space
    Press(panel, kLoad);
    EXPECT_EQ(Text(panel, kBox), "0x1 = 2");
    EXPECT_EQ(Popups(), std::vector<std::string>{"Script|" + ScriptFile().string() +
                                                 " is 200 MB; a script file is at most 1 MB. It was not read."});
    EXPECT_EQ(std::filesystem::file_size(ScriptFile()), 200u << 20);
}

}  // namespace
