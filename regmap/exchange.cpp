// Conversion between configuration-set text and exchange files, line by line.
#include "regmap/exchange.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "runtime/inifile.h"

namespace {

enum class LineKind { Empty, Comment, Section, Item, Other };

struct Line {
    LineKind kind = LineKind::Empty;
    std::string_view raw;    // without its line end
    std::string_view name;   // sections: the text between the brackets, trimmed
    std::string_view key;    // items: trimmed
    std::string_view value;  // items: trimmed
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Each run of blanks as one blank.
std::string Collapse(std::string_view s) {
    std::string out;
    bool blank = false;
    for (char c : s) {
        if (c == ' ' || c == '\t') {
            blank = true;
            continue;
        }
        if (blank && !out.empty()) out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

// The form names are matched in: trimmed, blanks collapsed, ASCII lower case.
std::string MatchForm(std::string_view s) {
    std::string out = Collapse(Trim(s));
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

Line Classify(std::string_view raw) {
    Line line;
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    line.raw = raw;
    const std::string_view t = Trim(raw);
    if (t.empty()) return line;
    if (t.front() == ';') {
        line.kind = LineKind::Comment;
    } else if (t.front() == '[') {
        if (t.size() >= 2 && t.back() == ']') {
            line.kind = LineKind::Section;
            line.name = Trim(t.substr(1, t.size() - 2));
        } else {
            line.kind = LineKind::Other;
        }
    } else if (const size_t eq = t.find('='); eq != std::string_view::npos) {
        line.kind = LineKind::Item;
        line.key = Trim(t.substr(0, eq));
        line.value = Trim(t.substr(eq + 1));
    } else {
        line.kind = LineKind::Other;
    }
    return line;
}

// Calls `each` with every line of the text (split at LF; a CR before it is dropped).
template <typename Each>
void ForEachLine(std::string_view text, Each each) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // editors' UTF-8 mark
    while (!text.empty()) {
        const size_t eol = text.find('\n');
        each(Classify(text.substr(0, eol)));
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
    ForEachLine(text, [&](const Line& line) {
        switch (line.kind) {
        case LineKind::Empty:
            return;
        case LineKind::Comment:
        case LineKind::Other:
            out.append(line.raw);
            out += "\r\n";
            return;
        case LineKind::Section:
            out += "\r\n[";
            out += Collapse(line.name);
            out += "] \r\n";
            return;
        case LineKind::Item: {
            out += Collapse(line.key);
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
    if (!rt::ReadWholeFile(from, &text, error)) return kExchangeReadError;
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

int GetConfigformat(const char* fileName) {
    std::string text;
    if (fileName == nullptr || !rt::ReadWholeFile(fileName, &text)) return 0;
    int format = 0;
    ForEachLine(text, [&](const Line& line) {
        if (format != 0 || line.kind != LineKind::Item || line.value.empty()) return;
        const bool hex = line.value.size() >= 2 && line.value[0] == '0' && (line.value[1] == 'x' || line.value[1] == 'X');
        format = hex ? 2 : 1;
    });
    return format;
}

std::string SpliceExchangeSections(std::string_view text, const std::vector<ExchangeSection>& sections) {
    std::vector<std::string> out;  // each with its line end
    std::vector<bool> written(sections.size(), false);
    std::vector<bool> keyWritten;
    int current = -1;       // the section being rewritten, -1 none, -2 a repeat of one already rewritten
    size_t insertAt = 0;    // where the section's missing items go: after its last item

    auto itemLine = [](std::string_view key, int value) { return Collapse(key) + " = " + Hex(value) + "\r\n"; };
    auto closeSection = [&]() {
        if (current >= 0) {
            std::vector<std::string> missing;
            const auto& items = sections[static_cast<size_t>(current)].items;
            for (size_t k = 0; k < items.size(); ++k)
                if (!keyWritten[k]) missing.push_back(itemLine(items[k].first, items[k].second));
            out.insert(out.begin() + static_cast<std::ptrdiff_t>(insertAt), missing.begin(), missing.end());
        }
        current = -1;
    };

    std::string_view rest = text;
    while (!rest.empty()) {
        const size_t eol = rest.find('\n');
        const std::string_view whole = rest.substr(0, eol == std::string_view::npos ? rest.size() : eol + 1);
        rest.remove_prefix(whole.size());
        std::string_view body = whole;
        if (!body.empty() && body.back() == '\n') body.remove_suffix(1);
        if (body.data() == text.data() && body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);
        const Line line = Classify(body);
        // The last line may lack its line end; lines may be added after it.
        const std::string kept = whole.empty() || whole.back() != '\n' ? std::string(whole) + "\r\n" : std::string(whole);

        if (line.kind == LineKind::Section) {
            closeSection();
            const std::string name = MatchForm(line.name);
            for (size_t i = 0; i < sections.size(); ++i) {
                if (MatchForm(sections[i].name) != name) continue;
                if (written[i]) {
                    current = -2;  // a repeated section would override the new values: drop its items
                } else {
                    current = static_cast<int>(i);
                    written[i] = true;
                    keyWritten.assign(sections[i].items.size(), false);
                }
                break;
            }
            out.push_back(kept);
            insertAt = out.size();
            continue;
        }
        if (line.kind == LineKind::Item && current == -2) continue;
        if (line.kind == LineKind::Item && current >= 0) {
            const auto& items = sections[static_cast<size_t>(current)].items;
            const std::string key = MatchForm(line.key);
            size_t k = 0;
            while (k < items.size() && MatchForm(items[k].first) != key) ++k;
            if (k == items.size()) {
                out.push_back(kept);  // a key of the file's own
            } else if (!keyWritten[k]) {
                out.push_back(itemLine(line.key, items[k].second));
                keyWritten[k] = true;
            } else {
                continue;  // the same key again would override the new value
            }
            insertAt = out.size();
            continue;
        }
        out.push_back(kept);
    }
    closeSection();

    std::string result;
    for (const std::string& l : out) result += l;
    for (size_t i = 0; i < sections.size(); ++i) {
        if (written[i]) continue;
        result += "\r\n[" + Collapse(Trim(sections[i].name)) + "] \r\n";
        for (const auto& [key, value] : sections[i].items) result += itemLine(key, value);
    }
    return result;
}
