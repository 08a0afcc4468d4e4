// Exchange files: the "*.dat" files that carry settings out of and into the tool. They hold
// configuration sets in the configuration-set text with the values in hexadecimal:
//
//   (empty line)
//   [Default/Audio Control] (one blank after the "]")
//   0x4 = 0x50
//
// An empty line comes before every section line, section names and keys are written as they
// stand (names that differ only in a run of blanks are different sets), items are key, " = ",
// "0x" and the value in lower-case hexadecimal, empty lines of the source are dropped and lines
// end with CR LF.
//
// The converters work line by line and tell section lines, items and other lines apart by the
// INI reader's rules (rt::ClassifyIniLine), so a converted file reads back into the same sets:
// a section line, an item ("key = value" or "key=value", split at the first "="), and any
// other line (comments and section lines that are not well formed included), which is kept as
// it stands.
// A value is read as decimal (with an optional sign) or, written "0x...", as hexadecimal (a
// 32-bit pattern); a value that is neither is kept as it stands.
#pragma once

#include <string>
#include <string_view>

// Results of the file converters.
inline constexpr int kExchangeReadError = -1;   // the source could not be read, or is larger than a
                                                // configuration file is (kConfigFileLimit): nothing written
inline constexpr int kExchangeWriteError = -2;  // the destination could not be written (left as it was)

// Reads the configuration-set text `decimalFile` and writes the exchange file `hexFile`.
// 0 on success. The destination is replaced atomically, and only when the source was read.
int ConvertConfigtoHexFormat(const char* decimalFile, const char* hexFile, std::string* error = nullptr);
// Reads the exchange file `hexFile` and writes the configuration-set text `decimalFile` (section
// lines as in the exchange file, values in signed decimal). 0 on success; as above on failure.
int ConvertConfigtoDecimalFormat(const char* decimalFile, const char* hexFile, std::string* error = nullptr);
// 2 when the first item value of the file is written "0x...", 1 when it is written otherwise,
// 0 when the file holds no item value or cannot be read (or is larger than kConfigFileLimit).
int GetConfigformat(const char* fileName);

// The conversions on text.
std::string ConfigTextToHex(std::string_view text);
std::string ConfigTextToDecimal(std::string_view text);

// True when the text holds a configuration set: a section line (as the INI reader takes it)
// named "set/group", with a name on each side of the "/". Text without one is no exchange file.
bool HoldsExchangeSet(std::string_view text);

// Reads a value as the converters do; false when it is no number.
bool ParseExchangeValue(std::string_view text, int* value);
