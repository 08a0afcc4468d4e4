// Conversion between configuration-set text and exchange files, line by line.
#include "regmap/exchange.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "regmap/config_sets.h"
#include "runtime/inifile.h"

namespace {

using rt::IniLine;
using rt::IniLineKind;

// Calls `each` with every line of the text (split at LF), classified as the INI reader does.
template <typename Each>
void ForEachLine(std::string_view text, Each each) {
    while (!text.empty()) {
        const size_t eol = text.find('\n');
        each(rt::ClassifyIniLine(text.substr(0, eol)));
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
    }
}

std::string Hex(int value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%x", static_cast<unsigned>(value));
    return buf;
}

std::string Convert(std::string_view text, bool toHex) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    ForEachLine(text, [&](const IniLine& line) {
        switch (line.kind) {
        case IniLineKind::Empty:
            return;
        case IniLineKind::Comment:
        case IniLineKind::BadSection:  // kept as it stands; the INI reader ignores it and its items
        case IniLineKind::Other:
            out.append(line.raw);
            out += "\r\n";
            return;
        case IniLineKind::Section:
            // Names are kept as they stand, blanks and all: names that differ only in a run
            // of blanks are different sets to the INI layer and must stay apart.
            out += "\r\n[";
            out += line.name;
            out += "] \r\n";
            return;
        case IniLineKind::Item: {
            out += line.key;
            out += " = ";
            int value = 0;
            if (ParseExchangeValue(line.value, &value))
                out += toHex ? Hex(value) : std::to_string(value);
            else
                out.append(line.value);  // no number: kept as it stands
            out += "\r\n";
            return;
        }
        }
    });
    return out;
}

int ConvertFile(const char* from, const char* to, bool toHex, std::string* error) {
    if (from == nullptr || to == nullptr || *from == '\0' || *to == '\0') {
        if (error) *error = "no file name given";
        return kExchangeReadError;
    }
    std::string text;
    if (!rt::ReadWholeFile(from, &text, error, &kConfigFileLimit)) return kExchangeReadError;
    if (!rt::WriteFileAtomic(to, Convert(text, toHex), error)) return kExchangeWriteError;
    return 0;
}

}  // namespace

// Values are read as the INI layer reads item values, so a converted file reads back the same.
bool ParseExchangeValue(std::string_view text, int* value) { return rt::ParseIniInt(text, value); }

std::string ConfigTextToHex(std::string_view text) { return Convert(text, true); }
std::string ConfigTextToDecimal(std::string_view text) { return Convert(text, false); }

int ConvertConfigtoHexFormat(const char* decimalFile, const char* hexFile, std::string* error) {
    return ConvertFile(decimalFile, hexFile, true, error);
}

int ConvertConfigtoDecimalFormat(const char* decimalFile, const char* hexFile, std::string* error) {
    return ConvertFile(hexFile, decimalFile, false, error);
}

bool HoldsExchangeSet(std::string_view text) {
    bool found = false;
    ForEachLine(text, [&](const IniLine& line) {
        if (found || line.kind != IniLineKind::Section) return;
        const size_t slash = line.name.find('/');
        found = slash != std::string_view::npos && slash > 0 && slash + 1 < line.name.size();
    });
    return found;
}

int GetConfigformat(const char* fileName) {
    std::string text;
    if (fileName == nullptr || !rt::ReadWholeFile(fileName, &text, nullptr, &kConfigFileLimit)) return 0;
    int format = 0;
    ForEachLine(text, [&](const IniLine& line) {
        if (format != 0 || line.kind != IniLineKind::Item || line.value.empty()) return;
        const bool hex = line.value.size() >= 2 && line.value[0] == '0' && (line.value[1] == 'x' || line.value[1] == 'X');
        format = hex ? 2 : 1;
    });
    return format;
}
