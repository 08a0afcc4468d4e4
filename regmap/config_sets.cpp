// The configuration-set file operations, one implementation for every model.
#include "regmap/config_sets.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <unordered_set>

#include "link/chip_operation.h"
#include "link/usbcomvunt.h"
#include "runtime/ui.h"
#include "shell/model_select.h"
#include "shell/progress.h"
#include "shell/state.h"

namespace {

// Made on first use, so the group tables of the other source file are in place.
const ConfigModule* Modules() {
    static const ConfigModule modules[CFG_MODEL_COUNT] = {
        {"Jorb", ConfigGroups, false, false},
        {"Zuta", ConfigGroupsZuta, false, false},
        {"Zutb", ConfigGroupsZutb, false, true},
        {"Jora", ConfigGroups_Jora, false, false},
        {"Qeva", ConfigGroups_Qeva, false, false},
        {"Pykc", ConfigGroups_Pykc, true, false},
        {"Pykb", ConfigGroups_Pykb, true, false},
        {"Pyka", ConfigGroups_Pyka, true, false},
    };
    return modules;
}

// Objects whose file could not be taken in, with that file's path and why a write of the object
// to it is refused: writing such an object back over its file would replace what the file holds
// with nothing.
struct Unreadable {
    std::string path;
    std::string refusal;
};
std::map<rt::IniText, Unreadable> unreadable;

constexpr const char* kLeftUnread = "The file could not be read when it was opened, so it was left as it is.";
constexpr const char* kLeftTooLarge =
    "It is larger than a configuration file can be, so it was left as it is. Move it away and choose the "
    "device again to save configurations.";
constexpr const char* kLeftNoSets =
    "It holds no configuration set, so it was left as it is. Move it away and choose the device again to "
    "save configurations.";

std::string NormalPath(const std::string& path) {
    return std::filesystem::path(path).lexically_normal().string();
}

bool SameName(std::string_view a, std::string_view b) { return rt::IniNamesEqual(a, b); }

std::string PathFor(const char* fileName, int inProjectDir) {
    if (fileName == nullptr) return std::string();
    return inProjectDir ? rt::MakePathname(rt::GetProjectDir(), fileName) : std::string(fileName);
}

std::string SectionOf(const std::string& setName, const ConfigGroup& group) { return setName + "/" + group.name; }

std::string KeyOf(int reg) {
    char key[16];
    std::snprintf(key, sizeof key, "0x%x", static_cast<unsigned>(reg));
    return key;
}

// True when a section of the set exists for at least one group the model stores.
bool SetHasSections(const ConfigModule& m, rt::IniText ini, const std::string& name) {
    for (const ConfigGroup* g = m.groups; g->name[0] != '\0'; ++g)
        if (GroupHoldsRegisters(*g) && rt::Ini_SectionExists(ini, SectionOf(name, *g).c_str()) == 1) return true;
    return false;
}

// Calls each(register, readable, value) for every register the set stores for the model: a
// register is readable when its key is there and holds a register value (0 to 0x1FF).
template <typename Each>
void ForEachSetRegister(const ConfigModule& m, rt::IniText ini, const std::string& name, Each each) {
    for (const ConfigGroup* g = m.groups; g->name[0] != '\0'; ++g) {
        if (!GroupHoldsRegisters(*g)) continue;
        const std::string section = SectionOf(name, *g);
        for (int r = g->first; r <= g->last && r < kRegisterSlots; ++r) {
            int value = -1;
            const bool found = rt::Ini_GetInt(ini, section.c_str(), KeyOf(r).c_str(), &value) == 1;
            each(r, found && value >= 0 && value <= 0x1FF, value);
        }
    }
}

// Reads the set's registers into CFG_REG; a missing key or a value that is not a register
// value leaves the register as it was.
void ReadSetIntoRegisters(const ConfigModule& m, rt::IniText ini, const std::string& name) {
    ForEachSetRegister(m, ini, name, [](int r, bool readable, int value) {
        if (readable) CFG_REG[r] = static_cast<uint32_t>(value);
    });
}

void SendZutbBlocks() {
    uint8_t pairs[114][2];
    for (int n = 0; n < 114; ++n) PackRegisterPair(n, CFG_REG[n], pairs[n]);
    struct Block { uint8_t code; int first; int count; };
    // Block commands of the Zutb register file: R0 to R14, then four blocks of 24 from R16.
    const Block blocks[5] = {{CMD_CODEC_WRITE_BLOCK2, 0, 15},
                             {CMD_CODEC_WRITE_BLOCK1, 16, 24},
                             {CMD_CODEC_WRITE_BLOCK1, 40, 24},
                             {CMD_CODEC_WRITE_BLOCK1, 64, 24},
                             {CMD_CODEC_WRITE_BLOCK1, 88, 24}};
    for (int i = 0; i < 5 && !ChipOperationStopped(); ++i) {
        const Block& b = blocks[i];
        ForwardProgress(2);
        USBSend(static_cast<uint8_t>(CommMode | b.code), static_cast<uint16_t>(2 * b.count), pairs[b.first]);
        if (ChipOperationStopped()) return;
        rt::Delay(0.5);
        if (i == 0) ZelqxWriteOneReg(0);
        if (i == 4) ZelqxWriteOneReg(113);
    }
}

bool MeaningfulLine(std::string_view line) {
    const rt::IniLineKind kind = rt::ClassifyIniLine(line).kind;
    return kind != rt::IniLineKind::Empty && kind != rt::IniLineKind::Comment;
}

}  // namespace

const ConfigModule& ConfigModuleOf(ConfigModel model) {
    return Modules()[(model >= 0 && model < CFG_MODEL_COUNT) ? model : CFG_JORB];
}

bool LoadedConfigModel(ConfigModel* model) {
    ConfigModel m;
    switch (UILoaded) {
    case UI_PYKC: m = CFG_PYKC; break;
    case UI_JORB: m = CFG_JORB; break;
    case UI_JORA: m = CFG_JORA; break;
    case UI_QEVA: m = CFG_QEVA; break;
    case UI_PYKA: m = CFG_PYKA; break;
    case UI_ZUTA: m = CFG_ZUTA; break;
    case UI_ZUTB: m = CFG_ZUTB; break;
    case UI_PYKB: m = CFG_PYKB; break;
    default: return false;
    }
    if (model) *model = m;
    return true;
}

rt::IniText* FamilyIni(ConfigModel model) { return ConfigModuleOf(model).mono ? &MNIniConfig : &STIniConfig; }
const char* FamilyFileName(ConfigModel model) { return ConfigModuleOf(model).mono ? MNcfgFileName : STcfgFileName; }

std::string_view SetNameOfSection(std::string_view section) { return section.substr(0, section.find('/')); }

namespace {

// True when `section` belongs to the set named `name`. Names are taken as they stand: sets whose
// names differ only in blanks ("Loud", "Loud ") are different sets.
bool SectionInSet(std::string_view section, std::string_view name) {
    return SameName(SetNameOfSection(section), name);
}

}  // namespace

bool IsConfigText(std::string_view text) {
    // A configuration file starts with a set's section line, so this usually ends on the first line.
    bool meaningful = false;
    while (!text.empty()) {
        const size_t eol = text.find('\n');
        const std::string_view line = text.substr(0, eol);
        const rt::IniLine parsed = rt::ClassifyIniLine(line);
        if (parsed.kind == rt::IniLineKind::Section) {
            const size_t slash = parsed.name.find('/');
            if (slash != std::string_view::npos && slash > 0 && slash + 1 < parsed.name.size()) return true;
        }
        meaningful = meaningful || MeaningfulLine(line);
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
    }
    return !meaningful;
}

std::vector<std::string> ConfigSetNames(rt::IniText ini) {
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;  // folded names
    std::string_view previous;
    bool first = true;
    const int n = ini ? rt::Ini_NumberOfSections(ini) : 0;
    for (int i = 1; i <= n; ++i) {
        const std::string_view section = rt::Ini_SectionNameAt(ini, i);
        const std::string_view name = SetNameOfSection(section);
        // A set's sections follow each other: only a change of name can bring a new set.
        if (!first && SameName(name, previous)) continue;
        first = false;
        previous = name;
        if (seen.insert(rt::IniFoldedName(name)).second) names.emplace_back(name);
    }
    return names;
}

bool FindConfigSet(rt::IniText ini, const std::string& name, std::string* stored) {
    // The first section of the set gives its name as the list shows it.
    const int n = ini ? rt::Ini_NumberOfSections(ini) : 0;
    for (int i = 1; i <= n; ++i) {
        const std::string_view section = rt::Ini_SectionNameAt(ini, i);
        const std::string_view set = SetNameOfSection(section);
        if (SameName(set, name)) {
            if (stored) stored->assign(set);
            return true;
        }
    }
    return false;
}

int RemoveConfigSet(rt::IniText ini, const std::string& name) {
    if (!ini) return 0;
    std::vector<std::string> sections;
    for (int i = rt::Ini_NumberOfSections(ini); i >= 1; --i) {
        const std::string_view section = rt::Ini_SectionNameAt(ini, i);
        if (SectionInSet(section, name)) sections.emplace_back(section);
    }
    int removed = 0;
    for (const std::string& section : sections)
        if (rt::Ini_RemoveSection(ini, std::string_view(section)) == 1) ++removed;
    return removed;
}

int PutConfigSet(ConfigModel model, rt::IniText ini, const std::string& configName) {
    if (!ini) return rt::kIniBadArgument;
    const ConfigModule& m = ConfigModuleOf(model);
    for (const ConfigGroup* g = m.groups; g->name[0] != '\0'; ++g) {
        if (!GroupHoldsRegisters(*g)) continue;
        const std::string section = SectionOf(configName, *g);
        for (int r = g->first; r <= g->last && r < kRegisterSlots; ++r) {
            const int err = rt::Ini_PutInt(ini, section.c_str(), KeyOf(r).c_str(), static_cast<int>(CFG_REG[r]));
            if (err < 0) return err;
        }
    }
    return 0;
}

namespace {

// Writes the object to `path`, without set `without` when one is named; a failure is shown.
int WriteObject(rt::IniText ini, const std::string& path, const std::string* without) {
    auto refuse = [&](const std::string& why) {
        rt::MessagePopup(kErrorTitle, (std::string(kWriteErrorText) + "\n" + path + "\n" + why).c_str());
        return rt::kIniWriteError;
    };
    if (!ini) return refuse("No configuration is open.");
    if (path.empty()) return refuse("No file name is set.");
    auto it = unreadable.find(ini);
    if (it != unreadable.end() && NormalPath(it->second.path) == NormalPath(path)) return refuse(it->second.refusal);
    std::string error;
    std::function<bool(std::string_view)> skip;
    if (without) {
        const std::string_view wanted = *without;
        skip = [wanted](std::string_view section) { return SectionInSet(section, wanted); };
    }
    // A file the readers would refuse by its size is never written: it keeps the sets it has.
    if (rt::Ini_WriteToFileExcept(ini, path.c_str(), skip, &error, &kConfigFileLimit) != 0)
        return refuse(error);
    return 0;
}

}  // namespace

int WriteConfigObject(rt::IniText ini, const std::string& path) { return WriteObject(ini, path, nullptr); }

int WriteConfigObjectWithout(rt::IniText ini, const std::string& path, const std::string& name) {
    return WriteObject(ini, path, &name);
}

ConfigSetSnapshot TakeConfigSetSnapshot(ConfigModel model, rt::IniText ini, const std::string& configName) {
    ConfigSetSnapshot snapshot;
    if (!ini) return snapshot;
    const ConfigModule& m = ConfigModuleOf(model);
    for (const ConfigGroup* g = m.groups; g->name[0] != '\0'; ++g) {
        if (!GroupHoldsRegisters(*g)) continue;
        ConfigSetSnapshot::Section section;
        section.name = SectionOf(configName, *g);
        section.existed = rt::Ini_SectionExists(ini, section.name.c_str()) == 1;
        if (section.existed) {
            for (int r = g->first; r <= g->last && r < kRegisterSlots; ++r) {
                std::string key = KeyOf(r), text;
                if (rt::Ini_GetStringCopy(ini, section.name.c_str(), key.c_str(), &text) == 1)
                    section.items.emplace_back(std::move(key), std::move(text));
                else
                    section.items.emplace_back(std::move(key), std::nullopt);
            }
        }
        snapshot.sections.push_back(std::move(section));
    }
    return snapshot;
}

void RestoreConfigSetSnapshot(rt::IniText ini, const ConfigSetSnapshot& snapshot) {
    if (!ini) return;
    for (const ConfigSetSnapshot::Section& section : snapshot.sections) {
        if (!section.existed) {
            rt::Ini_RemoveSection(ini, section.name.c_str());
            continue;
        }
        for (const auto& [key, text] : section.items) {
            if (text)
                rt::Ini_RestoreString(ini, section.name, key, *text);
            else
                rt::Ini_RemoveItem(ini, section.name.c_str(), key.c_str());
        }
    }
}

int InitConfigFor(ConfigModel model, rt::IniText* ini, const char* fileName, int inProjectDir, int createIfMissing,
                  std::string* why) {
    if (ini == nullptr || fileName == nullptr) return 0;
    if (*ini) {
        unreadable.erase(*ini);
        rt::Ini_Dispose(*ini);
    }
    *ini = rt::Ini_New(0);
    unreadable.erase(*ini);  // an address reused after an object was disposed elsewhere
    const std::string path = PathFor(fileName, inProjectDir);

    auto fail = [&](std::string reason, const char* refusal = kLeftUnread) {
        unreadable[*ini] = Unreadable{path, refusal};
        if (why) *why = std::move(reason);
        return -1;
    };
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        const int error = errno;
        if (error != ENOENT && error != ENOTDIR)  // the test itself failed
            return fail("cannot open " + path + ": " + std::strerror(error));
        if (!createIfMissing) return 0;
        CreateConfigFileFor(model, *ini, path.c_str(), "Default", 0);
        return 1;
    }
    // Read without waiting: a named pipe or a device in the file's place is refused, not read,
    // and so is a file far larger than any set file.
    std::string text, reason;
    if (!rt::ReadWholeFile(path, &text, &reason, &kConfigFileLimit))
        return fail(reason, errno == EFBIG ? kLeftTooLarge : kLeftUnread);
    if (!IsConfigText(text))
        return fail(path + " holds no configuration set: it is not a configuration file. It was left as it is.",
                    kLeftNoSets);
    rt::Ini_ReadFromString(*ini, std::move(text));
    return 1;
}

int InitConfigFor(ConfigModel model, rt::IniText* ini, const char* fileName, int inProjectDir, int createIfMissing) {
    std::string why;
    const int result = InitConfigFor(model, ini, fileName, inProjectDir, createIfMissing, &why);
    if (result < 0) {
        rt::MessagePopup(kErrorTitle, (kOpenErrorText + ("\n" + why)).c_str());
    }
    return result;
}

int CreateConfigFileFor(ConfigModel model, rt::IniText ini, const char* fileName, const char* configName,
                        int inProjectDir) {
    if (!ini || !configName) return rt::kIniBadArgument;
    const std::string path = PathFor(fileName, inProjectDir);
    const int put = PutConfigSet(model, ini, configName);
    if (put < 0) {
        rt::MessagePopup(kErrorTitle, (std::string(kWriteErrorText) + "\n" + path + "\n\"" + configName +
                                       "\" cannot name a configuration.").c_str());
        return put;
    }
    return WriteConfigObject(ini, path);
}

int UpdateSingleConfigFor(ConfigModel model, rt::IniText ini, const char* fileName, const char* configName,
                          int inProjectDir) {
    return CreateConfigFileFor(model, ini, fileName, configName, inProjectDir) == 0 ? 1 : 0;
}

int LoadSingleConfigFor(ConfigModel model, rt::IniText ini, const char* configName, int muteOutputs) {
    const ConfigModule& m = ConfigModuleOf(model);
    const std::string name = configName ? configName : "";
    auto refuse = [&](const char* why) {
        rt::MessagePopup(kErrorTitle, ("The configuration \"" + name + "\" " + why + "; nothing was loaded.").c_str());
        StopProgress();
        return 0;
    };
    if (!ini || !SetHasSections(m, ini, name)) return refuse("holds no settings for this device");
    // A set with nothing to load would only send the registers as they are.
    bool readable = false;
    ForEachSetRegister(m, ini, name, [&readable](int, bool r, int) { readable = readable || r; });
    if (!readable) return refuse("gives no readable value for any register");
    // A set the board stopped half-way is not loaded (0): the popup names the refused send.
    ChipOperation op("Load configuration \"" + name + "\"");
    ReadSetIntoRegisters(m, ini, name);
    if (m.zutbLoader) {
        rt::Delay(0.5);
        FlagCFGUpdate = 1;
        if (!DeviceAttached) {
            ForwardProgress(6);
            return 1;
        }
        SendZutbBlocks();
        return op.Stopped() ? 0 : 1;
    }
    if (muteOutputs)
        for (int r = 52; r <= 57; ++r) CFG_REG[r] |= 0x40;
    // The interface bit follows the mode in use, so the bulk write's guard lets the set through.
    if (CommMode == COMM_SPI4W)
        CFG_REG[InterfaceRegister(COMM_SPI4W)] |= 0x100;
    else
        CFG_REG[InterfaceRegister(COMM_I2C)] &= ~0x100u;
    rt::Delay(0.5);
    FlagCFGUpdate = 1;
    if (DeviceAttached) {
        if (ZelqxWriteAllReg(0, nullptr) != 1) {
            StopProgress();
            if (op.Stopped()) return 0;
        }
        rt::Delay(0.5);
    } else {
        ForwardProgress(6);
    }
    return 1;
}

bool FirstConfigSetFor(ConfigModel model, rt::IniText ini, std::string* name) {
    const ConfigModule& m = ConfigModuleOf(model);
    for (const std::string& set : ConfigSetNames(ini)) {
        if (!SetHasSections(m, ini, set)) continue;
        if (name) *name = set;
        return true;
    }
    return false;
}

std::vector<int> UnreadableRegisters(ConfigModel model, rt::IniText ini, const std::string& name) {
    std::vector<int> regs;
    if (!ini) return regs;
    ForEachSetRegister(ConfigModuleOf(model), ini, name, [&](int r, bool readable, int) {
        if (!readable) regs.push_back(r);
    });
    return regs;
}

void ResetConfigSetState() { unreadable.clear(); }

// ---- the model's named operations --------------------------------------------------------

bool GetConfigNameFromIniText(rt::IniText ini, std::string* name, int n) {
    if (!ini || !name) return false;
    std::string section;
    if (rt::Ini_NthSectionName(ini, n, &section) != 1) return false;
    *name = SetNameOfSection(section);
    return true;
}

#define CONFIG_SET_OPERATIONS(Suffix, Model)                                                              \
    int InitConfig##Suffix(rt::IniText* ini, const char* file, int inProjectDir, int createIfMissing) {   \
        return InitConfigFor(Model, ini, file, inProjectDir, createIfMissing);                           \
    }                                                                                                     \
    int CreateConfigFile##Suffix(rt::IniText ini, const char* file, const char* name, int inProjectDir) { \
        return CreateConfigFileFor(Model, ini, file, name, inProjectDir);                                 \
    }                                                                                                     \
    int UpdateSingleConfigFromCfgArray##Suffix(rt::IniText ini, const char* file, const char* name,       \
                                               int inProjectDir) {                                        \
        return UpdateSingleConfigFor(Model, ini, file, name, inProjectDir);                               \
    }                                                                                                     \
    int LoadSingleConfigFromIniText##Suffix(rt::IniText ini, const char* name, int muteOutputs) {         \
        return LoadSingleConfigFor(Model, ini, name, muteOutputs);                                        \
    }

#define CONFIG_NAME_OPERATION(Suffix)                                              \
    bool GetConfigNameFromIniText##Suffix(rt::IniText ini, std::string* name, int n) { \
        return GetConfigNameFromIniText(ini, name, n);                                 \
    }

CONFIG_SET_OPERATIONS(, CFG_JORB)
CONFIG_SET_OPERATIONS(Zuta, CFG_ZUTA)
CONFIG_SET_OPERATIONS(Zutb, CFG_ZUTB)
CONFIG_SET_OPERATIONS(Jora, CFG_JORA)
CONFIG_SET_OPERATIONS(Qeva, CFG_QEVA)
CONFIG_SET_OPERATIONS(Pykc, CFG_PYKC)
CONFIG_SET_OPERATIONS(Pykb, CFG_PYKB)
CONFIG_SET_OPERATIONS(Pyka, CFG_PYKA)
CONFIG_NAME_OPERATION(Zuta)
CONFIG_NAME_OPERATION(Zutb)
CONFIG_NAME_OPERATION(Jora)
CONFIG_NAME_OPERATION(Qeva)
CONFIG_NAME_OPERATION(Pykc)
CONFIG_NAME_OPERATION(Pykb)
CONFIG_NAME_OPERATION(Pyka)
