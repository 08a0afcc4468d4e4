// Register scripts: every kind of line, refused lines, bridge ranges, pauses, "!r" read lines,
// and "script.txt" loaded and saved in the project folder.
#include "link/usbcomvunt.h"
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
        {"plain words", false, Kind::Nothing, 0, 0},
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
        {"0x2000 = 1", false, Kind::Nothing, 0, 0},
        {"0x143F = 1", false, Kind::Nothing, 0, 0},
        {"0x80 = 1", false, Kind::Nothing, 0, 0},
        {"0x5", false, Kind::Nothing, 0, 0},
        {"!r 0x0", true, Kind::Read, 0, 0},
        {"!r0x26", true, Kind::Read, 0x26, 0},
        {"!r 26", true, Kind::Nothing, 0, 0},
        {"!x 0x1", true, Kind::Nothing, 0, 0},
        {"!r 0x0", false, Kind::Nothing, 0, 0},
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

// A value that is not a number, or that its address cannot take, is refused with a reason
// (never written as 0); a pause longer than the bound is shortened and says so.
TEST(ScriptLineTest, BadValuesAreRefusedAndPausesBounded) {
    for (const char* line : {"0x5 = 0xZZ", "0x5 = abc", "0x5 =", "0x5 = 0x", "0x5 = 512", "0x5 = -1",
                             "0x5 = 99999999999", "0x1450 = 0x100", "0x-1 = -5", "!r 0x80"}) {
        SCOPED_TRACE(line);
        const ScriptLine l = ParseScriptLine(line, true);
        EXPECT_EQ(l.kind, Kind::Refused);
        EXPECT_FALSE(l.problem.empty());
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
    EXPECT_TRUE(prompter.shown.empty());

    // An empty box runs nothing but still asks for the redraw.
    board->ClearReceivedReports();
    FlagCFGUpdate = 0;
    Script(panel, "");
    Press(panel, kRun);
    EXPECT_TRUE(board->ReceivedReports().empty());
    EXPECT_EQ(FlagCFGUpdate, 1);
}

// Pauses wait their milliseconds (bounded); addresses outside the codec and bridge ranges do
// nothing; refused lines are named by number in one popup while the rest of the script runs.
TEST_F(ScriptPanelTest, PausesRangesAndRefusedLines) {
    Script(panel, "0x-1=100\n0xffffffff = 1000\n0x2000 = 0x12\n0x80 = 5\n");
    Press(panel, kRun);
    EXPECT_EQ(Slept(), 1100);
    EXPECT_TRUE(board->ReceivedReports().empty());
    EXPECT_TRUE(prompter.shown.empty());

    sleeps.clear();
    CFG_REG[5] = 0x22;
    Script(panel, "plain words\n0x5 = 0xZZ\n0x6 = 0x7\n0x-1 = 50000\n0x9 = 600\n");
    Press(panel, kRun);
    EXPECT_EQ(CFG_REG[5], 0x22u);
    EXPECT_EQ(RegisterWrites(), (std::vector<std::pair<int, int>>{{6, 7}}));
    EXPECT_EQ(Slept(), regscript::kMaxPauseMs);
    ASSERT_EQ(prompter.shown.size(), 1u);
    const std::string& text = prompter.shown[0].text;
    EXPECT_NE(text.find("line 2: 0x5 = 0xZZ"), std::string::npos) << text;
    EXPECT_NE(text.find("line 4: 0x-1 = 50000"), std::string::npos) << text;
    EXPECT_NE(text.find("line 5: 0x9 = 600"), std::string::npos) << text;
    EXPECT_EQ(text.find("line 3"), std::string::npos) << text;
}

// "!r" lines on Zutb and Qeva list the register read in "read back value" (CFG_REG untouched);
// a refused read lists 0xFFFFFFFF after the mode's popup. On Jorb the same line does nothing.
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

    QuillonMode = 1;
    Script(zutb, "!r 0x26");
    Press(zutb, ui::cfgScriptZutb_pan::CFGSCRIPTZutb_CBTrun);
    EXPECT_EQ(Text(zutb, log), "0x26 = 0x10A\n0x00 = 0x017\n0x26 = 0xFFFFFFFF");
    EXPECT_EQ(Titles(), std::vector<std::string>{"invalid operation"});
    QuillonMode = 0;

    Choose(MENUBAR_DEVICE_StereoQeva);
    Script(PHdlScriptQeva, "!r 0x1");
    board->SetCodecRegister(1, 0x0D);
    Press(PHdlScriptQeva, ui::cfgScriptQeva_pan::CFGSCRIPTQeva_CBTrunQeva);
    EXPECT_EQ(Text(PHdlScriptQeva, ui::cfgScriptQeva_pan::CFGSCRIPTQeva_TBlog3), "0x01 = 0x00D");

    Choose(MENUBAR_DEVICE_StereoJorb);
    Script(panel, "!r 0x0\n");
    Press(panel, kRun);
    EXPECT_TRUE(board->ReceivedReports().empty());
}

// "save" writes the lines longer than three characters (CR LF), replacing the file whole;
// "load" reads the whole file back, empty lines and all, into any model's panel.
TEST_F(ScriptPanelTest, SaveAndLoadScriptTxt) {
    Script(panel, "0x1=5\n\n;ab\n0x-1 = 100\n; a comment\n");
    Press(panel, kSave);
    EXPECT_EQ(ReadFile(ScriptFile()), "0x1=5\r\n0x-1 = 100\r\n; a comment\r\n");
    EXPECT_TRUE(prompter.shown.empty());
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
}

// A missing file leaves the box as it is and says so; a file that cannot be written is reported
// and what stands there is kept.
TEST_F(ScriptPanelTest, MissingOrUnwritableFileIsReported) {
    Script(panel, "0x1 = 2");
    Press(panel, kLoad);
    EXPECT_EQ(Text(panel, kBox), "0x1 = 2");
    EXPECT_EQ(Titles(), std::vector<std::string>{"Script"});

    // A folder in the file's place cannot be replaced by the save.
    std::filesystem::create_directory(ScriptFile());
    prompter.shown.clear();
    Press(panel, kSave);
    EXPECT_EQ(Titles(), std::vector<std::string>{"Script"});
    EXPECT_TRUE(std::filesystem::is_directory(ScriptFile()));
}

}  // namespace
