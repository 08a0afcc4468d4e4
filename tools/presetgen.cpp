// presetgen: writes the demo preset files from presets/presets.table (see the table's head for
// its form). Usage: presetgen TABLE OUTDIR. Exit status 0 when every file was written.
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "regmap/config_tables.h"
#include "runtime/inifile.h"
#include "shell/pll.h"

namespace {

struct Change {
    enum Op { Assign, Set, Clear } op;
    int reg;
    unsigned value;
};

// A clock-source bit and the PLL enable it depends on: a set that takes the chip's master
// clock from the PLL with the PLL off plays nothing through the DAC or ADC.
struct PllRule {
    int clockReg = -1;
    unsigned clockMask = 0;
    int enableReg = -1;
    unsigned enableMask = 0;
};

// Where a family keeps the sample rate of a PLL-clocked chip: the board's master clock into
// the PLL, the PLL register blocks (the first is the default; a later one is in use when its
// select bits are set in its first register) and the master-clock divider code field.
struct PllBlock {
    int first = -1;  // prescaler bit 4 and N bits 3:0, then K bits 23:18, 17:9 and 8:0
    unsigned select = 0;
};

struct RateRule {
    double mclk = 0.0;  // MHz
    std::vector<PllBlock> blocks;
    int dividerReg = -1;
    unsigned dividerMask = 0;
};

// Every PLL-clocked set must run the chip at this rate, in kHz.
constexpr double kPresetRate = 48.0;

struct Family {
    std::optional<PllRule> pll;
    RateRule rate;
    std::vector<Change> base;
    std::optional<unsigned> baseDefault;
    std::map<int, std::vector<Change>> chains;
    std::map<std::string, std::vector<Change>> outputs, idle;
};

struct Suffix {
    std::string name;
    std::vector<std::string> outputs;
};

struct File {
    std::string name, family, groups, prefix;
    std::vector<int> sets;
    std::vector<Suffix> suffixes;
    std::vector<Change> final;
};

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
    std::fprintf(stderr, "presetgen: %s: %s\n", where.c_str(), what.c_str());
    std::exit(1);
}

unsigned Number(const std::string& text, const std::string& where) {
    char* end = nullptr;
    unsigned long v = std::strtoul(text.c_str(), &end, 0);
    if (text.empty() || *end != '\0' || v > 0x1FF) Fail(where, "bad register value \"" + text + "\"");
    return static_cast<unsigned>(v);
}

// "Rn" as the register number n.
int Register(const std::string& word, const std::string& where) {
    if (word.size() < 2 || word[0] != 'R') Fail(where, "expected a register Rn, not \"" + word + "\"");
    return static_cast<int>(Number(word.substr(1), where));
}

// "Rn = v", "Rn |= v" or "Rn &= ~v" from the words at `at`.
Change ParseChange(const std::vector<std::string>& w, size_t at, const std::string& where) {
    if (w.size() != at + 3) Fail(where, "expected Rn op value");
    Change c{};
    c.reg = Register(w[at], where);
    const std::string& op = w[at + 1];
    std::string value = w[at + 2];
    if (op == "=") {
        c.op = Change::Assign;
    } else if (op == "|=") {
        c.op = Change::Set;
    } else if (op == "&=" && value.size() > 1 && value[0] == '~') {
        c.op = Change::Clear;
        value = value.substr(1);
    } else {
        Fail(where, "unknown operation \"" + op + "\"");
    }
    c.value = Number(value, where);
    return c;
}

void Apply(const std::vector<Change>& changes, std::map<int, unsigned>& regs) {
    for (const Change& c : changes) {
        unsigned& r = regs[c.reg];
        switch (c.op) {
            case Change::Assign: r = c.value; break;
            case Change::Set: r |= c.value; break;
            case Change::Clear: r &= ~c.value; break;
        }
    }
}

const ConfigGroup* GroupsOf(const std::string& model) {
    static const std::map<std::string, const ConfigGroup*> tables = {
        {"Jorb", ConfigGroups},     {"Zuta", ConfigGroupsZuta}, {"Zutb", ConfigGroupsZutb},
        {"Jora", ConfigGroups_Jora}, {"Qeva", ConfigGroups_Qeva}, {"Pykc", ConfigGroups_Pykc},
        {"Pykb", ConfigGroups_Pykb}, {"Pyka", ConfigGroups_Pyka},
    };
    auto it = tables.find(model);
    return it == tables.end() ? nullptr : it->second;
}

void ReadTable(const std::string& path, std::map<std::string, Family>& families, std::vector<File>& files) {
    std::ifstream in(path);
    if (!in) Fail(path, "cannot be read");
    std::string line;
    Family* family = nullptr;
    File* file = nullptr;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string where = path + ":" + std::to_string(number);
        if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;) w.push_back(word);
        if (w.empty()) continue;
        const std::string& key = w[0];
        if (key == "family" && w.size() == 2 && !file) {
            family = &families[w[1]];
        } else if (key == "file" && w.size() == 2) {
            files.push_back(File{w[1], {}, {}, {}, {}, {}, {}});
            file = &files.back();
            family = nullptr;
        } else if (family && key == "pll" && w.size() == 5) {
            family->pll = PllRule{Register(w[1], where), Number(w[2], where), Register(w[3], where), Number(w[4], where)};
        } else if (family && key == "mclk" && w.size() == 2) {
            char* end = nullptr;
            family->rate.mclk = std::strtod(w[1].c_str(), &end);
            if (*end != '\0' || !(family->rate.mclk > 0.0)) Fail(where, "bad master clock \"" + w[1] + "\"");
        } else if (family && key == "pllblock" && (w.size() == 2 || w.size() == 3)) {
            PllBlock block{Register(w[1], where), w.size() == 3 ? Number(w[2], where) : 0u};
            if (family->rate.blocks.empty() != (block.select == 0))
                Fail(where, "the first PLL block takes no select bits, every later one needs them");
            family->rate.blocks.push_back(block);
        } else if (family && key == "divider" && w.size() == 3) {
            family->rate.dividerReg = Register(w[1], where);
            family->rate.dividerMask = Number(w[2], where);
            if (family->rate.dividerMask == 0) Fail(where, "the divider field has no bits");
        } else if (family && key == "base" && w.size() == 4 && w[1] == "default" && w[2] == "=") {
            family->baseDefault = Number(w[3], where);
        } else if (family && key == "base") {
            family->base.push_back(ParseChange(w, 1, where));
        } else if (family && key == "chain" && w.size() >= 2) {
            family->chains[static_cast<int>(Number(w[1], where))].push_back(ParseChange(w, 2, where));
        } else if (family && key == "output" && w.size() >= 2) {
            family->outputs[w[1]].push_back(ParseChange(w, 2, where));
        } else if (family && key == "idle" && w.size() >= 2) {
            family->idle[w[1]].push_back(ParseChange(w, 2, where));
        } else if (file && key == "family" && w.size() == 2) {
            file->family = w[1];
        } else if (file && key == "groups" && w.size() == 2) {
            file->groups = w[1];
        } else if (file && key == "prefix" && w.size() == 2) {
            file->prefix = w[1];
        } else if (file && key == "sets" && w.size() >= 2) {
            for (size_t i = 1; i < w.size(); ++i) file->sets.push_back(static_cast<int>(Number(w[i], where)));
        } else if (file && key == "suffix" && w.size() >= 3) {
            file->suffixes.push_back(Suffix{w[1], std::vector<std::string>(w.begin() + 2, w.end())});
        } else if (file && key == "final") {
            file->final.push_back(ParseChange(w, 1, where));
        } else {
            Fail(where, "cannot read \"" + line + "\"");
        }
    }
}

// The registers of one set: base, chain, chosen outputs, idle outputs, final changes.
std::map<int, unsigned> SetRegisters(const Family& family, const File& file, int set, const Suffix& suffix) {
    std::map<int, unsigned> regs;
    Apply(family.base, regs);
    auto chain = family.chains.find(set);
    if (chain == family.chains.end()) Fail(file.name, "no chain " + std::to_string(set));
    Apply(chain->second, regs);
    std::set<std::string> chosen(suffix.outputs.begin(), suffix.outputs.end());
    for (const std::string& out : suffix.outputs) {
        auto it = family.outputs.find(out);
        if (it == family.outputs.end()) Fail(file.name, "no output " + out);
        Apply(it->second, regs);
    }
    for (const auto& [out, changes] : family.idle)
        if (!chosen.count(out)) Apply(changes, regs);
    Apply(file.final, regs);
    return regs;
}

// The value a set gives a register: its own, else the family's default.
std::optional<unsigned> ValueOf(const Family& family, const std::map<int, unsigned>& regs, int reg) {
    if (auto it = regs.find(reg); it != regs.end()) return it->second;
    return family.baseDefault;
}

// The sample rate, in kHz, of a set that takes its master clock from the PLL: the PLL output
// f2 = input × (N + K / 2^24), with the input halved by the prescaler, over the f2 one kHz of
// rate asks for at the set's divider code.
double PllRate(const Family& family, const std::map<int, unsigned>& regs, int* code) {
    const RateRule& rate = family.rate;
    const auto value = [&](int reg) { return ValueOf(family, regs, reg).value_or(0); };
    PllBlock block = rate.blocks.front();
    for (const PllBlock& b : rate.blocks)
        if (b.select != 0 && (value(b.first) & b.select) != 0) block = b;
    const unsigned nReg = value(block.first);
    const double input = (nReg & 0x10) ? rate.mclk / 2.0 : rate.mclk;
    const unsigned k = ((value(block.first + 1) & 0x3F) << 18) | ((value(block.first + 2) & 0x1FF) << 9) |
                       (value(block.first + 3) & 0x1FF);
    const double f2 = input * ((nReg & 0x0F) + k / 16777216.0);
    *code = static_cast<int>((value(rate.dividerReg) & rate.dividerMask) >> std::countr_zero(rate.dividerMask));
    const double perKHz = PLLF2(1.0, *code);
    return perKHz > 0.0 ? f2 / perKHz : 0.0;
}

void CheckClock(const Family& family, const File& file, const std::string& set, const std::map<int, unsigned>& regs) {
    const PllRule& pll = *family.pll;
    const unsigned clock = ValueOf(family, regs, pll.clockReg).value_or(0);
    const unsigned enable = ValueOf(family, regs, pll.enableReg).value_or(0);
    if ((clock & pll.clockMask) == 0) return;
    if ((enable & pll.enableMask) == 0)
        Fail(file.name, set + ": clocked from the PLL (R" + std::to_string(pll.clockReg) + ") with the PLL off (R" +
                            std::to_string(pll.enableReg) + ")");
    // The K fraction is cut to 24 bits, so a rate within 1 Hz is the rate.
    int code = 0;
    const double fs = PllRate(family, regs, &code);
    if (std::fabs(fs - kPresetRate) > 0.001) {
        char text[160];
        std::snprintf(text, sizeof text, ": runs the chip at %.3f kHz, not %.0f kHz (R%d divider code %d)", fs,
                      kPresetRate, family.rate.dividerReg, code);
        Fail(file.name, set + text);
    }
}

// The file's sets, every one checked; nothing is written here.
rt::IniText BuildFile(const File& file, const Family& family) {
    const ConfigGroup* groups = GroupsOf(file.groups);
    if (!groups) Fail(file.name, "unknown group table " + file.groups);
    if (!family.pll) Fail(file.name, "family " + file.family + " names no pll rule");
    if (!(family.rate.mclk > 0.0) || family.rate.blocks.empty() || family.rate.dividerReg < 0)
        Fail(file.name, "family " + file.family + " names no mclk, pllblock and divider lines");
    rt::IniText ini = rt::Ini_New(0);
    for (int set : file.sets) {
        for (const Suffix& suffix : file.suffixes) {
            const std::string name = file.prefix + std::to_string(set) + "_" + suffix.name;
            std::map<int, unsigned> regs = SetRegisters(family, file, set, suffix);
            CheckClock(family, file, name, regs);
            for (int g = 0; groups[g].name[0] != '\0'; ++g) {
                if (!GroupHoldsRegisters(groups[g])) continue;
                const std::string section = name + "/" + groups[g].name;
                for (int reg = groups[g].first; reg <= groups[g].last; ++reg) {
                    const std::optional<unsigned> value = ValueOf(family, regs, reg);
                    if (!value) Fail(file.name, name + ": no value for R" + std::to_string(reg));
                    char key[16];
                    std::snprintf(key, sizeof key, "0x%x", static_cast<unsigned>(reg));
                    rt::Ini_PutInt(ini, section.c_str(), key, static_cast<int>(*value & 0x1FF));
                }
            }
        }
    }
    return ini;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: presetgen TABLE OUTDIR\n");
        return 2;
    }
    std::map<std::string, Family> families;
    std::vector<File> files;
    ReadTable(argv[1], families, files);
    // Every file is built and checked before the first is written: a refused table leaves the
    // output folder as it was.
    std::vector<rt::IniText> built;
    for (const File& f : files) {
        auto family = families.find(f.family);
        if (family == families.end()) Fail(f.name, "unknown family " + f.family);
        built.push_back(BuildFile(f, family->second));
    }
    for (size_t i = 0; i < files.size(); ++i) {
        std::string error;
        const std::string path = std::string(argv[2]) + "/" + files[i].name;
        if (rt::Ini_WriteToFile(built[i], path.c_str(), &error) != 0) Fail(path, error);
        rt::Ini_Dispose(built[i]);
    }
    return 0;
}
