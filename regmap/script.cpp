// Register scripts of every model's script panel: one implementation, the models differing only
// in whether "!r" read lines are understood.
#include "regmap/script.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "device/bridge.h"
#include "link/usbcomvunt.h"
#include "panels/cfgScriptZutb_pan.h"
#include "panels/cfgScript_pan.h"
#include "link/write_action.h"
#include "oslayer/user_files.h"
#include "runtime/inifile.h"
#include "runtime/ui.h"
#include "shell/guarded_reads.h"
#include "shell/state.h"

namespace regscript {
namespace {

// Every script panel uses the same ids.
constexpr int kScriptBox = ui::cfgScript_pan::CFGSCRIPT_TBSCRIPT;
constexpr int kReadBackBox = ui::cfgScriptZutb_pan::CFGSCRIPTZutb_TBlog3;

using device::kFirstBridgeRegister;
using device::kLastBridgeRegister;
constexpr int kLastCodecRegister = 127;
constexpr int kMaxListedProblems = 15;
constexpr size_t kMaxQuotedLine = 60;  // characters of a line quoted in the report

const char* const kPopupTitle = "Script";
const char* const kNotACommand = "not a command: a command is \"0x<address> = <value>\", a comment starts with \";\"";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

void SkipBlanks(const std::string& s, size_t* pos) {
    while (*pos < s.size() && IsBlank(s[*pos])) ++*pos;
}

bool TakeHexPrefix(const std::string& s, size_t* pos) {
    if (*pos + 1 < s.size() && s[*pos] == '0' && (s[*pos + 1] == 'x' || s[*pos + 1] == 'X')) {
        *pos += 2;
        return true;
    }
    return false;
}

int DigitValue(char c, int base) {
    int d = -1;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    return d < base ? d : -1;
}

// Digits of `base` from *pos. False when there are none; *overflow when the number passes
// 0xFFFFFFFF (the digits are still consumed).
bool TakeDigits(const std::string& s, size_t* pos, int base, uint64_t* out, bool* overflow) {
    size_t start = *pos;
    uint64_t n = 0;
    *overflow = false;
    for (int d; *pos < s.size() && (d = DigitValue(s[*pos], base)) >= 0; ++*pos) {
        n = n * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
        if (n > 0xFFFFFFFFull) {
            *overflow = true;
            n = 0xFFFFFFFFull + 1;
        }
    }
    *out = n;
    return *pos > start;
}

ScriptLine Refuse(std::string why) {
    ScriptLine r;
    r.kind = ScriptLine::Kind::Refused;
    r.problem = std::move(why);
    return r;
}

// "!r 0x<reg>": a register number in hex after "0x".
ScriptLine ParseReadLine(const std::string& line) {
    if (line.size() < 2 || line[1] != 'r') return Refuse(kNotACommand);
    size_t pos = 2;
    SkipBlanks(line, &pos);
    uint64_t reg = 0;
    bool overflow = false;
    if (!TakeHexPrefix(line, &pos) || !TakeDigits(line, &pos, 16, &reg, &overflow))
        return Refuse("a read line is \"!r 0x<register>\", the register in hexadecimal");
    if (overflow || reg > kLastCodecRegister) return Refuse("a codec register lies between 0x00 and 0x7F");
    ScriptLine r;
    r.kind = ScriptLine::Kind::Read;
    r.address = static_cast<int>(reg);
    return r;
}

}  // namespace

ScriptLine ParseScriptLine(const std::string& raw, bool readLines) {
    std::string line = raw;
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    size_t pos = 0;
    SkipBlanks(line, &pos);
    if (pos >= line.size() || line[pos] == ';') return ScriptLine{};  // empty, or a comment
    if (line[pos] == '!') {
        if (!readLines) return Refuse("this model's scripts have no read lines");
        // "!r" makes a read line only in the first two columns.
        if (pos != 0) return Refuse("a read line starts with \"!r\" in the first column");
        return ParseReadLine(line);
    }

    // "0x" address: hex, with an optional minus sign; 0xffffffff is -1 as well.
    if (!TakeHexPrefix(line, &pos)) {
        if (line.find('=') != std::string::npos) return Refuse("the address is not a hexadecimal number written with 0x");
        return Refuse(kNotACommand);
    }
    const bool negative = pos < line.size() && line[pos] == '-';
    if (negative) ++pos;
    uint64_t magnitude = 0;
    bool overflow = false;
    if (!TakeDigits(line, &pos, 16, &magnitude, &overflow))
        return Refuse("the address is not a hexadecimal number written with 0x");
    SkipBlanks(line, &pos);
    if (pos >= line.size() || line[pos] != '=') return Refuse("\"=\" and a value must follow the address");
    ++pos;

    const int64_t address = overflow || (negative && magnitude > 0x80000000ull)
                                ? INT64_MIN  // names nothing
                                : negative ? -static_cast<int64_t>(magnitude)
                                           : static_cast<int64_t>(static_cast<int32_t>(static_cast<uint32_t>(magnitude)));
    enum class Target { Codec, Pause, Bridge } target;
    if (address >= 0 && address <= kLastCodecRegister) target = Target::Codec;
    else if (address == -1) target = Target::Pause;
    else if (address >= kFirstBridgeRegister && address <= kLastBridgeRegister) target = Target::Bridge;
    else return Refuse("no register has this address: codec registers are 0x00 to 0x7F, bridge registers 0x1440 to 0x1FFF, and 0x-1 is a pause");

    // The value: hexadecimal after "0x", else decimal with an optional sign; the rest of the
    // line is ignored.
    SkipBlanks(line, &pos);
    int64_t value = 0;
    uint64_t digits = 0;
    if (TakeHexPrefix(line, &pos)) {
        if (!TakeDigits(line, &pos, 16, &digits, &overflow)) return Refuse("the value is not a number");
        value = static_cast<int64_t>(digits);
    } else {
        bool minus = false;
        if (pos < line.size() && (line[pos] == '-' || line[pos] == '+')) minus = line[pos++] == '-';
        if (!TakeDigits(line, &pos, 10, &digits, &overflow)) return Refuse("the value is not a number");
        value = minus ? -static_cast<int64_t>(digits) : static_cast<int64_t>(digits);
    }

    ScriptLine r;
    r.address = static_cast<int>(address);
    switch (target) {
        case Target::Codec:
            if (overflow || value < 0 || value > 0x1FF) return Refuse("a register value lies between 0 and 0x1FF");
            r.kind = ScriptLine::Kind::Write;
            break;
        case Target::Pause:
            if (value < 0) return Refuse("a pause cannot be negative");
            r.kind = ScriptLine::Kind::Pause;
            if (overflow || value > kMaxPauseMs) {
                value = kMaxPauseMs;
                r.problem = "the pause was shortened to " + std::to_string(kMaxPauseMs) + " ms";
            }
            break;
        case Target::Bridge:
            if (overflow || value < 0 || value > 0xFF) return Refuse("a bridge register value lies between 0 and 0xFF");
            r.kind = ScriptLine::Kind::Bridge;
            break;
    }
    r.value = static_cast<int>(value);
    return r;
}

namespace {

// The lines of a text whose lines end in CR, LF or CR LF (files from any system).
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    return lines;
}

// A line as the report quotes it: a long one shortened, never cut inside a UTF-8 character.
std::string Quoted(const std::string& line) {
    if (line.size() <= kMaxQuotedLine) return line;
    size_t cut = kMaxQuotedLine - 3;
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
    return line.substr(0, cut) + "...";
}

std::string ScriptPath() { return rt::MakePathname(rt::GetProjectDir(), kScriptFileName); }

std::string ProblemsText(const std::vector<std::string>& problems) {
    std::string text = "Some lines of the script were not run as written:\n";
    for (size_t i = 0; i < problems.size() && i < static_cast<size_t>(kMaxListedProblems); ++i)
        text += "\n" + problems[i];
    if (problems.size() > static_cast<size_t>(kMaxListedProblems))
        text += "\n... and " + std::to_string(problems.size() - kMaxListedProblems) + " more";
    return text;
}

std::string BridgeLineRefused(int address) {
    char text[80];
    std::snprintf(text, sizeof text, "The board keeps its previous value of bridge register 0x%04X.",
                  static_cast<unsigned>(address & 0xFFFF));
    return text;
}

void AppendReadBack(int panel, int control, int reg, int value) {
    char line[48];
    std::snprintf(line, sizeof line, "0x%02X = 0x%03X", static_cast<unsigned>(reg), static_cast<unsigned>(value));
    rt::InsertTextBoxLine(panel, control, -1, line);
}

int Run(bool readLines, int panel, int event) {
    if (event != rt::EVENT_COMMIT || panel <= 0) return 0;
    std::string text;
    rt::GetCtrlVal(panel, kScriptBox, &text);
    const std::vector<std::string> lines = SplitLines(text);
    std::vector<std::string> problems;
    // The run is one action: the first send the board refuses ends it (the lines after it are
    // not run at all), and one popup tells it all: the stop, and the lines before it that were
    // not run as written. A line a mode guard refuses is one of those, not a popup of its own.
    WriteAction action("Run Script");
    for (size_t i = 0; i < lines.size() && !action.Stopped(); ++i) {
        ScriptLine line = ParseScriptLine(lines[i], readLines);
        switch (line.kind) {
            case ScriptLine::Kind::Nothing:
            case ScriptLine::Kind::Refused:
                break;
            case ScriptLine::Kind::Write:
                if (InterfaceGuardRefuses(line.address, static_cast<uint32_t>(line.value))) {
                    line.problem = "not sent: under I2C communication R" +
                                   std::to_string(InterfaceRegister(COMM_I2C)) + "[8] must stay 0";
                    break;
                }
                CFG_REG[line.address] = static_cast<uint32_t>(line.value);
                action.Send(line.address);
                break;
            case ScriptLine::Kind::Pause:
                action.Pause(line.value * 0.001);
                break;
            case ScriptLine::Kind::Bridge:
                device::WriteBridgeRegister(line.address, static_cast<uint8_t>(line.value & 0xFF));
                // A refused bridge line leaves the codec as the lines before it wrote it: only the
                // board's register is not as the line asks.
                if (action.Stopped()) SetStoppedOperationClosing(BridgeLineRefused(line.address));
                break;
            case ScriptLine::Kind::Read:
                if (const char* refusal = ReadRefusalText()) {
                    line.problem = std::string("not read: ") + refusal;
                    AppendReadBack(panel, kReadBackBox, line.address, -1);
                    break;
                }
                vCommandRead(line.address, panel, kReadBackBox);
                break;
        }
        if (!line.problem.empty())
            problems.push_back("line " + std::to_string(i + 1) + ": " + Quoted(lines[i]) + "\n    " + line.problem);
    }
    SetFlag(&FlagCFGUpdate);
    if (problems.empty()) return 0;
    // A stop the board made has its popup; one the user chose (a declined question) has none.
    const std::string report = ProblemsText(problems);
    if (!action.Stopped() || !NoteInStoppedOperation(report)) rt::MessagePopup(kPopupTitle, report.c_str());
    return 0;
}

// The largest script loaded. A line that does anything writes, pauses or reads one of 128 codec
// or 3008 bridge registers; 1 MB holds over 13,000 lines of 80 characters, every register written
// four times over with a comment on each line, and fills the text box in a blink. A file far
// larger is no script anyone runs, and would take the box seconds to minutes to fill, the window
// frozen meanwhile.
constexpr os::SizeLimit kScriptFileLimit{1u << 20, "a script file"};

int Load(int panel, int event) {
    if (event != rt::EVENT_COMMIT || panel <= 0) return 0;
    const std::string path = ScriptPath();
    std::string contents, error;
    if (!rt::ReadWholeFile(path, &contents, &error, &kScriptFileLimit)) {
        if (errno == ENOENT || errno == ENOTDIR) {
            rt::MessagePopup(kPopupTitle, ("There is no script file to load:\n" + path).c_str());
            return 0;
        }
        // Refused by its size, unread: the reason names the file, its size and the limit.
        if (errno == EFBIG) {
            rt::MessagePopup(kPopupTitle, error.c_str());
            return 0;
        }
        // Never waited on: a folder, a named pipe or a device in the file's place is refused.
        // The reason names the file.
        rt::MessagePopup(kPopupTitle, ("The script file could not be read:\n" + error).c_str());
        return 0;
    }
    // Lines may end in CR, LF or CR LF; the box takes LF.
    std::string text;
    text.reserve(contents.size());
    for (const std::string& line : SplitLines(contents)) {
        for (char c : line)
            if (c != '\0') text += c;
        text += '\n';
    }
    if (!contents.empty() && contents.back() != '\r' && contents.back() != '\n') text.pop_back();
    rt::ResetTextBox(panel, kScriptBox, text.c_str());
    return 0;
}

// Lines of three characters or fewer are left out, as in every script file written before, so
// that a reader stopping at the first short line still gets the whole script.
int Save(int panel, int event) {
    if (event != rt::EVENT_COMMIT || panel <= 0) return 0;
    std::string text;
    rt::GetCtrlVal(panel, kScriptBox, &text);
    std::string out;
    for (const std::string& line : SplitLines(text))
        if (line.size() > 3) out += line + "\r\n";
    const std::string path = ScriptPath();
    std::string error;
    if (!rt::WriteFileAtomic(path, out, &error))
        rt::MessagePopup(kPopupTitle, ("The script could not be saved to:\n" + path + "\n" + error).c_str());
    return 0;
}

}  // namespace
}  // namespace regscript

void vCommandRead(int reg, int panel, int control) { regscript::AppendReadBack(panel, control, reg, ZelqxReadOneReg(reg)); }

#define SCRIPT_CALLBACKS(run, load, save, readLines)                                                          \
    int run(int panel, int, int event, void*, int, int) { return regscript::Run(readLines, panel, event); } \
    int load(int panel, int, int event, void*, int, int) { return regscript::Load(panel, event); }          \
    int save(int panel, int, int event, void*, int, int) { return regscript::Save(panel, event); }

SCRIPT_CALLBACKS(CBTrunCB, CBTLoadCB, CBTSaveCB, false)
SCRIPT_CALLBACKS(CBTrunCBJora, CBTLoadCBJora, CBTSaveCBJora, false)
SCRIPT_CALLBACKS(CBTrunCBZuta, CBTLoadCBZuta, CBTSaveCBZuta, false)
SCRIPT_CALLBACKS(CBTrunCBZutb, CBTLoadCBZutb, CBTSaveCBZutb, true)
SCRIPT_CALLBACKS(CBTrunCBQeva, CBTLoadCBQeva, CBTSaveCBQeva, true)
SCRIPT_CALLBACKS(MNCBTrunCB, MNCBTLoadCB, MNCBTSaveCB, false)
SCRIPT_CALLBACKS(MNPykbCBTrunCB, MNPykbCBTLoadCB, MNPykbCBTSaveCB, false)
SCRIPT_CALLBACKS(MNPykaCBTrunCB, MNPykaCBTLoadCB, MNPykaCBTSaveCB, false)

#undef SCRIPT_CALLBACKS

void RegisterScriptCallbacks() {
    struct Named {
        const char* name;
        int (*fn)(int, int, int, void*, int, int);
    };
    const Named callbacks[] = {
        {"CBTrunCB", CBTrunCB},           {"CBTLoadCB", CBTLoadCB},           {"CBTSaveCB", CBTSaveCB},
        {"CBTrunCBJora", CBTrunCBJora},   {"CBTLoadCBJora", CBTLoadCBJora},   {"CBTSaveCBJora", CBTSaveCBJora},
        {"CBTrunCBZuta", CBTrunCBZuta},   {"CBTLoadCBZuta", CBTLoadCBZuta},   {"CBTSaveCBZuta", CBTSaveCBZuta},
        {"CBTrunCBZutb", CBTrunCBZutb},   {"CBTLoadCBZutb", CBTLoadCBZutb},   {"CBTSaveCBZutb", CBTSaveCBZutb},
        {"CBTrunCBQeva", CBTrunCBQeva},   {"CBTLoadCBQeva", CBTLoadCBQeva},   {"CBTSaveCBQeva", CBTSaveCBQeva},
        {"MNCBTrunCB", MNCBTrunCB},       {"MNCBTLoadCB", MNCBTLoadCB},       {"MNCBTSaveCB", MNCBTSaveCB},
        {"MNPykbCBTrunCB", MNPykbCBTrunCB}, {"MNPykbCBTLoadCB", MNPykbCBTLoadCB}, {"MNPykbCBTSaveCB", MNPykbCBTSaveCB},
        {"MNPykaCBTrunCB", MNPykaCBTrunCB}, {"MNPykaCBTLoadCB", MNPykaCBTLoadCB}, {"MNPykaCBTSaveCB", MNPykaCBTSaveCB},
    };
    for (const Named& c : callbacks) rt::RegisterCtrlCallback(c.name, c.fn);
}
