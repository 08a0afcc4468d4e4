// Register scripts: a text box of commands, one per line, run top to bottom, and loaded from or
// saved to "script.txt" in the project folder (one file for all models).
//
// Lines end in CR, LF or CR LF. A line is
//   ; comment                      skipped (so is an empty line)
//   !r 0x<reg>                     (Zutb and Qeva; "!r" in the first two columns) read a codec
//                                  register, listed in "read back value"
//   0x<address> = <value> [...]    value decimal, or hexadecimal written with 0x; the rest ignored
// Address 0 to 127: codec register write; -1 (0x-1, 0xffffffff): pause of value milliseconds;
// 0x1440 to 0x1FFF: bridge (Vunt) register write. Any other line is not run: one that is no
// command, an address that is not a number or names no register, a value that is not a number
// or lies outside what its address takes, and a write or read the present mode's guard refuses.
// The run goes on and ends with one popup naming every such line by its number and why (long
// lines shortened). The run is one chip operation: the first send the board refuses ends it, and
// the operation's popup names the lines before it that were not run as written.
#pragma once

#include <string>

namespace regscript {

inline constexpr int kMaxPauseMs = 10000;  // longest pause a script line may ask for
inline constexpr const char* kScriptFileName = "script.txt";

struct ScriptLine {
    enum class Kind {
        Nothing,  // comment, empty line
        Write,    // codec register `address` <- `value`
        Pause,    // `value` milliseconds
        Bridge,   // bridge register `address` <- `value` (one byte)
        Read,     // codec register `address`, listed
        Refused,  // not run: `problem` says why
    };
    Kind kind = Kind::Nothing;
    int address = 0;
    int value = 0;
    std::string problem;  // Refused, or a pause that was shortened
};

// Reads one line; `readLines` enables the "!r" read lines (Zutb and Qeva).
ScriptLine ParseScriptLine(const std::string& line, bool readLines);

}  // namespace regscript

// Button callbacks (panel, control, event, ...): run the script, load it from and save it to
// "script.txt". Each acts on the panel that called it.
int CBTrunCB(int panel, int control, int event, void* data, int e1, int e2);
int CBTLoadCB(int panel, int control, int event, void* data, int e1, int e2);
int CBTSaveCB(int panel, int control, int event, void* data, int e1, int e2);
int CBTrunCBJora(int panel, int control, int event, void* data, int e1, int e2);
int CBTLoadCBJora(int panel, int control, int event, void* data, int e1, int e2);
int CBTSaveCBJora(int panel, int control, int event, void* data, int e1, int e2);
int CBTrunCBZuta(int panel, int control, int event, void* data, int e1, int e2);
int CBTLoadCBZuta(int panel, int control, int event, void* data, int e1, int e2);
int CBTSaveCBZuta(int panel, int control, int event, void* data, int e1, int e2);
int CBTrunCBZutb(int panel, int control, int event, void* data, int e1, int e2);
int CBTLoadCBZutb(int panel, int control, int event, void* data, int e1, int e2);
int CBTSaveCBZutb(int panel, int control, int event, void* data, int e1, int e2);
int CBTrunCBQeva(int panel, int control, int event, void* data, int e1, int e2);
int CBTLoadCBQeva(int panel, int control, int event, void* data, int e1, int e2);
int CBTSaveCBQeva(int panel, int control, int event, void* data, int e1, int e2);
int MNCBTrunCB(int panel, int control, int event, void* data, int e1, int e2);
int MNCBTLoadCB(int panel, int control, int event, void* data, int e1, int e2);
int MNCBTSaveCB(int panel, int control, int event, void* data, int e1, int e2);
int MNPykbCBTrunCB(int panel, int control, int event, void* data, int e1, int e2);
int MNPykbCBTLoadCB(int panel, int control, int event, void* data, int e1, int e2);
int MNPykbCBTSaveCB(int panel, int control, int event, void* data, int e1, int e2);
int MNPykaCBTrunCB(int panel, int control, int event, void* data, int e1, int e2);
int MNPykaCBTLoadCB(int panel, int control, int event, void* data, int e1, int e2);
int MNPykaCBTSaveCB(int panel, int control, int event, void* data, int e1, int e2);

// Reads codec register `reg` (the guarded read: refused in write-only and 3-wire SPI modes) and
// appends "0x%02X = 0x%03X" with the value as returned (0xFFFFFFFF when refused or failed) as
// a new last line of text box `control` of `panel`. CFG_REG is left alone.
void vCommandRead(int reg, int panel, int control);

// Binds the script callback names.
void RegisterScriptCallbacks();
