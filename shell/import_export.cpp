// Settings import and export through the working file "tempini.dat".
#include "shell/import_export.h"

#include <algorithm>
#include <string>
#include <vector>

#include "link/chip_operation.h"
#include "oslayer/user_files.h"
#include "regmap/config_sets.h"
#include "regmap/exchange.h"
#include "runtime/inifile.h"
#include "runtime/ui.h"
#include "shell/progress.h"
#include "shell/state.h"

namespace {

constexpr const char* kImportTitle = "Load settings from file, and write settings into device (if attached)";
constexpr const char* kExportTitle = "Export the current active settings to a file";
constexpr const char* kWritingMessage = "Writing configuration file...";
constexpr const char* kLoadingMessage = "Loading configuration ...";
constexpr size_t kMaxSetName = 124;
constexpr const char* kNotExchangeText =
    "This file is not a settings exchange file: it holds no configuration set. Nothing was loaded.";
constexpr const char* kNoSetForDeviceText =
    "This file holds no configuration set for this device. Nothing was loaded.";
// The largest file taken for import. An exchange file holds one set of one model, under 6 KB
// even with a 124-character name; 1 MB still takes a whole set file of over a hundred sets
// chosen for import (its first set for the device is loaded). A larger file is none a user
// means to import, and converting it would hold the window and swell the working file.
constexpr os::SizeLimit kExchangeFileLimit{1u << 20, "a settings exchange file"};

// Disposes of the operation's INI object however the operation ends.
struct IniHolder {
    rt::IniText ini = nullptr;
    ~IniHolder() {
        if (ini) rt::Ini_Dispose(ini);
    }
};

void ShowFileError(const char* what, const std::string& path, const std::string& why) {
    std::string text = std::string(what) + "\n" + path;
    if (!why.empty()) text += "\n" + why;
    rt::MessagePopup(kErrorTitle, text.c_str());
}

// The set name an exported file gets from its own name: without its folder and ".dat".
std::string NameFromFile(const std::string& path) {
    std::string file;
    rt::SplitPath(path, nullptr, &file);
    if (file.size() >= 4) {
        std::string ext = file.substr(file.size() - 4);
        for (char& c : ext)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (ext == ".dat") file.resize(file.size() - 4);
    }
    return file;
}

// A name taken from a file name must fit a set name and survive the file's lines.
bool UsableSetName(const std::string& name) {
    if (name.empty() || name.size() > kMaxSetName) {
        rt::MessagePopup(kErrorTitle, name.empty() ? "The file name gives no configuration name; nothing was exported."
                                                   : "The file name is too long to name a configuration (at most 124 "
                                                     "characters); nothing was exported.");
        return false;
    }
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 0x20) {
            rt::MessagePopup(kErrorTitle, "The file name cannot name a configuration; nothing was exported.");
            return false;
        }
    }
    return true;
}

// The name of the model's first set in an exchange file, if it can be read and holds one.
bool FirstSetName(ConfigModel model, const std::string& path, std::string* name) {
    std::string text;
    if (!rt::ReadWholeFile(path, &text, nullptr, &kExchangeFileLimit)) return false;
    IniHolder probe;
    probe.ini = rt::Ini_New(0);
    rt::Ini_ReadFromString(probe.ini, ConfigTextToDecimal(text));
    return FirstConfigSetFor(model, probe.ini, name) && !name->empty();
}

// Registers as "R4 to R17, R24".
std::string RegisterList(const std::vector<int>& regs) {
    std::string out;
    for (size_t i = 0; i < regs.size();) {
        size_t j = i;
        while (j + 1 < regs.size() && regs[j + 1] == regs[j] + 1) ++j;
        if (!out.empty()) out += ", ";
        out += 'R';
        out += std::to_string(regs[i]);
        if (j > i) {
            out += j == i + 1 ? ", R" : " to R";
            out += std::to_string(regs[j]);
        }
        i = j + 1;
    }
    return out;
}

// How many registers the model's sets store.
size_t StoredRegisterCount(ConfigModel model) {
    size_t n = 0;
    for (const ConfigGroup* g = ConfigModuleOf(model).groups; g->name[0] != '\0'; ++g)
        if (GroupHoldsRegisters(*g)) n += static_cast<size_t>(std::min<int>(g->last, kRegisterSlots - 1) - g->first + 1);
    return n;
}

// Converts the working file into the chosen file; on failure says why and ends the progress.
bool ConvertWorkingFileTo(const std::string& working, const std::string& path) {
    std::string why;
    if (ConvertConfigtoHexFormat(working.c_str(), path.c_str(), &why) == 0) return true;
    ShowFileError(kWriteErrorText, path, why);
    StopProgress();
    return false;
}

// The working file's first set, updated from the current registers, replaces the chosen
// file's contents (the save dialog has asked before replacing it).
void ExportToExistingFile(ConfigModel model, const std::string& path) {
    StartProgressBar(kWritingMessage, 6);
    const std::string working = WorkingFilePath();
    IniHolder w;
    if (InitConfigFor(model, &w.ini, working.c_str(), 0, 0) < 0) {
        StopProgress();
        return;
    }
    // The set an import of the working file loads (the first that holds settings for the model).
    std::string name;
    if (!FirstConfigSetFor(model, w.ini, &name) || name.empty()) {
        // No such set in the working file yet: the chosen file's first, else its name.
        if (!FirstSetName(model, path, &name)) name = NameFromFile(path);
        if (!UsableSetName(name)) {
            StopProgress();
            return;
        }
    }
    if (UpdateSingleConfigFor(model, w.ini, working.c_str(), name.c_str(), 0) != 1) {
        StopProgress();
        return;
    }
    if (!ConvertWorkingFileTo(working, path)) return;
    rt::Delay(0.5);
    ForwardProgress(3);
    rt::Delay(0.5);
    ForwardProgress(3);
}

void ExportToNewFile(ConfigModel model, const std::string& path) {
    const std::string name = NameFromFile(path);
    if (!UsableSetName(name)) return;
    StartProgressBar(kWritingMessage, 6);
    const std::string working = WorkingFilePath();
    IniHolder w;
    w.ini = rt::Ini_New(0);
    if (CreateConfigFileFor(model, w.ini, working.c_str(), name.c_str(), 0) != 0) {
        StopProgress();
        return;
    }
    if (!ConvertWorkingFileTo(working, path)) return;
    rt::Delay(0.5);
    ForwardProgress(6);
}

}  // namespace

std::string WorkingFilePath() { return rt::MakePathname(rt::GetProjectDir(), kWorkingFileName); }

void ImportCB(int, int, void*, int) {
    std::string chosen;
    if (rt::FileSelectPopup("", "*.dat", "*.dat", kImportTitle, rt::VAL_LOAD_BUTTON, &chosen) ==
        rt::VAL_NO_FILE_SELECTED)
        return;
    // The loaded model is checked before the working file is touched.
    ConfigModel model;
    if (UILoaded == UI_QEVB) {
        rt::MessagePopup("error", "KorQevb can't be preset");
        return;
    }
    if (!LoadedConfigModel(&model)) {
        rt::MessagePopup("error", "Please select a chip first");
        return;
    }
    // A file that cannot be opened, or is far too large to be an exchange file (refused before it
    // is read), or that opened but holds no configuration set, leaves the working file and the
    // registers as they are.
    std::string text, why;
    if (!rt::ReadWholeFile(chosen, &text, &why, &kExchangeFileLimit)) {
        ShowFileError(kOpenErrorText, chosen, why);
        return;
    }
    if (!HoldsExchangeSet(text)) {
        ShowFileError(kNotExchangeText, chosen, "");
        return;
    }
    // The text read above becomes the working file, converted to decimal.
    const std::string working = WorkingFilePath();
    if (!rt::WriteFileAtomic(working, ConfigTextToDecimal(text), &why)) {
        ShowFileError(kWriteErrorText, working, why);
        return;
    }
    IniHolder w;
    const int opened = InitConfigFor(CFG_JORB, &w.ini, working.c_str(), 0, 0);
    if (opened != 1) {
        if (opened == 0) rt::MessagePopup(kErrorTitle, kOpenErrorText);  // -1: shown already
        return;
    }
    // The first set for this model: sections of other settings, or of another model's sets,
    // before it are passed over.
    std::string name;
    if (!FirstConfigSetFor(model, w.ini, &name)) {
        ShowFileError(kNoSetForDeviceText, chosen, "");
        return;
    }
    // Registers the file gives no value for would silently keep their values: say which.
    const std::vector<int> unread = UnreadableRegisters(model, w.ini, name);
    if (!unread.empty() && unread.size() < StoredRegisterCount(model)) {
        const std::string question = "The settings file gives no readable value for " + RegisterList(unread) +
                                     ".\nThese registers would keep their current values.\n\nLoad the other "
                                     "registers from the file?";
        if (!rt::ConfirmPopup("Import", question.c_str())) return;
    }
    ChipOperation op("Import");
    StartProgressBar(kLoadingMessage, 6);
    LoadSingleConfigFor(model, w.ini, name.c_str(), 0);
}

void ExportCB(int, int, void*, int) {
    std::string chosen;
    const int picked = rt::FileSelectPopup("", "*.dat", "*.dat", kExportTitle, rt::VAL_SAVE_BUTTON, &chosen);
    if (picked == rt::VAL_NO_FILE_SELECTED) return;
    // A named pipe, a device, a socket or a folder can never take the settings: said at once,
    // before any question about replacing it.
    if (os::NamesOtherThanRegularFile(chosen)) {
        ShowFileError(kWriteErrorText, chosen, os::NotRegularFileText(chosen));
        return;
    }
    const bool existing = picked == rt::VAL_EXISTING_FILE_SELECTED || rt::FileExists(chosen);
    ConfigModel model;
    if (existing && UILoaded == UI_QEVB) {
        rt::MessagePopup("error", "KorQevb can't export");
        return;
    }
    if (!LoadedConfigModel(&model)) {
        rt::MessagePopup("error", "Please select a chip first");
        return;
    }
    if (existing) {
        const std::string question = "The file " + chosen +
                                     " exists already.\nReplace its contents with the current settings?";
        if (!rt::ConfirmPopup("Export", question.c_str())) return;
        ExportToExistingFile(model, chosen);
    } else {
        ExportToNewFile(model, chosen);
    }
}
