// Configuration sets: named snapshots of a model's registers, kept in one INI file per model.
//
// A set occupies one section per group of the model's group table, in table order, named
// set name + "/" + group name; each section holds one "0x<register in lower-case hex> = <value
// in decimal>" line per register of the group. The INI layer writes the layout ("[name]",
// " = ", an empty line after each section, CR LF) and replaces files atomically.
//
// One implementation serves every model; the model's operations (InitConfig, InitConfigZuta,
// LoadSingleConfigFromIniTextPykb, ...) are thin functions over it. The modules differ in their
// group table, their family's INI object (stereo: STIniConfig, mono: MNIniConfig) and the Zutb
// loader, which sends its own block reports.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "oslayer/user_files.h"
#include "regmap/config_tables.h"
#include "runtime/inifile.h"

// The configuration-set modules.
enum ConfigModel : int {
    CFG_JORB, CFG_ZUTA, CFG_ZUTB, CFG_JORA, CFG_QEVA, CFG_PYKC, CFG_PYKB, CFG_PYKA, CFG_MODEL_COUNT
};

struct ConfigModule {
    const char* model;    // "Jorb", "Zuta", ...
    ConfigGroup* groups;  // the model's own group table
    bool mono;            // family INI object and file: MNIniConfig / MNcfgFileName
    bool zutbLoader;      // block reports of its own; no mute, register 7 untouched
};
const ConfigModule& ConfigModuleOf(ConfigModel model);
// The module of the loaded tab set (UILoaded): Jorb, Zuta, Zutb, Jora, Qeva, Pykc (also Pykd),
// Pykb or Pyka. False with no set or the Qevb set loaded.
bool LoadedConfigModel(ConfigModel* model);
// The family's INI object and file of a module (the loaded model's, set by the model choice).
rt::IniText* FamilyIni(ConfigModel model);
const char* FamilyFileName(ConfigModel model);

// ---- the operations, each over its module's group table ----------------------------------
// Makes a new INI object in *ini (disposing of the one held there: *ini must be null or an
// object) and fills it from `fileName` (in the project directory when inProjectDir is non-zero,
// `fileName` then starting with the path separator; otherwise a full path). Results:
//   1  the object holds the file, or the missing file was created (createIfMissing non-zero)
//      holding the set "Default" made from CFG_REG;
//   0  the file is missing and createIfMissing is 0 (the object stays empty);
//  -1  the file is there but could not be read, or is not a regular file (a named pipe, a
//      device ...: never waited on), or is larger than kConfigFileLimit (refused unread), or
//      holds no configuration set (IsConfigText): the popup "ERROR" / " Error Opening Config
//      File" is shown with the reason, naming the file, on the next line; the object stays
//      empty, and no write of this object will replace that file (what it holds is never lost
//      to an empty object).
int InitConfig(rt::IniText* ini, const char* fileName, int inProjectDir, int createIfMissing);
int InitConfigZuta(rt::IniText* ini, const char* fileName, int inProjectDir, int createIfMissing);
int InitConfigZutb(rt::IniText* ini, const char* fileName, int inProjectDir, int createIfMissing);
int InitConfigJora(rt::IniText* ini, const char* fileName, int inProjectDir, int createIfMissing);
int InitConfigQeva(rt::IniText* ini, const char* fileName, int inProjectDir, int createIfMissing);
int InitConfigPykc(rt::IniText* ini, const char* fileName, int inProjectDir, int createIfMissing);
int InitConfigPykb(rt::IniText* ini, const char* fileName, int inProjectDir, int createIfMissing);
int InitConfigPyka(rt::IniText* ini, const char* fileName, int inProjectDir, int createIfMissing);

// Puts every register of every group from CFG_REG under `configName` into the object, then
// writes the whole object to the file (atomically; a failure is shown in a popup and the file
// keeps its old contents). 0 written, negative not written.
int CreateConfigFile(rt::IniText ini, const char* fileName, const char* configName, int inProjectDir);
int CreateConfigFileZuta(rt::IniText ini, const char* fileName, const char* configName, int inProjectDir);
int CreateConfigFileZutb(rt::IniText ini, const char* fileName, const char* configName, int inProjectDir);
int CreateConfigFileJora(rt::IniText ini, const char* fileName, const char* configName, int inProjectDir);
int CreateConfigFileQeva(rt::IniText ini, const char* fileName, const char* configName, int inProjectDir);
int CreateConfigFilePykc(rt::IniText ini, const char* fileName, const char* configName, int inProjectDir);
int CreateConfigFilePykb(rt::IniText ini, const char* fileName, const char* configName, int inProjectDir);
int CreateConfigFilePyka(rt::IniText ini, const char* fileName, const char* configName, int inProjectDir);

// The same puts and write for an existing set (its values change in place). 1 written, 0 not.
int UpdateSingleConfigFromCfgArray(rt::IniText ini, const char* fileName, const char* configName, int inProjectDir);
int UpdateSingleConfigFromCfgArrayZuta(rt::IniText ini, const char* fileName, const char* configName,
                                       int inProjectDir);
int UpdateSingleConfigFromCfgArrayZutb(rt::IniText ini, const char* fileName, const char* configName,
                                       int inProjectDir);
int UpdateSingleConfigFromCfgArrayJora(rt::IniText ini, const char* fileName, const char* configName,
                                       int inProjectDir);
int UpdateSingleConfigFromCfgArrayQeva(rt::IniText ini, const char* fileName, const char* configName,
                                       int inProjectDir);
int UpdateSingleConfigFromCfgArrayPykc(rt::IniText ini, const char* fileName, const char* configName,
                                       int inProjectDir);
int UpdateSingleConfigFromCfgArrayPykb(rt::IniText ini, const char* fileName, const char* configName,
                                       int inProjectDir);
int UpdateSingleConfigFromCfgArrayPyka(rt::IniText ini, const char* fileName, const char* configName,
                                       int inProjectDir);

// The set name of section n (counted from 1): its text before the first "/". False, with
// *name untouched, when there is no such section.
bool GetConfigNameFromIniText(rt::IniText ini, std::string* name, int n);
bool GetConfigNameFromIniTextZuta(rt::IniText ini, std::string* name, int n);
bool GetConfigNameFromIniTextZutb(rt::IniText ini, std::string* name, int n);
bool GetConfigNameFromIniTextJora(rt::IniText ini, std::string* name, int n);
bool GetConfigNameFromIniTextQeva(rt::IniText ini, std::string* name, int n);
bool GetConfigNameFromIniTextPykc(rt::IniText ini, std::string* name, int n);
bool GetConfigNameFromIniTextPykb(rt::IniText ini, std::string* name, int n);
bool GetConfigNameFromIniTextPyka(rt::IniText ini, std::string* name, int n);

// Loads set `configName` into CFG_REG and the chip, advancing the progress bar (the caller
// starts it with 6 steps). A register whose key is missing, or whose value is not a number from
// 0 to 0x1FF, keeps its current value. With muteOutputs non-zero R52 to R57 get bit 6 (mute);
// register 7 bit 8 follows CommMode (set under 4-wire SPI, cleared otherwise). Then 0.5 s,
// FlagCFGUpdate, and with a board attached all registers are written, 0.5 s.
// A set with no section for this model, or with no readable value for any of its registers, is
// refused with a popup and changes nothing (nothing is sent): result 0.
// Result 1 when loaded.
int LoadSingleConfigFromIniText(rt::IniText ini, const char* configName, int muteOutputs);
int LoadSingleConfigFromIniTextZuta(rt::IniText ini, const char* configName, int muteOutputs);
int LoadSingleConfigFromIniTextJora(rt::IniText ini, const char* configName, int muteOutputs);
int LoadSingleConfigFromIniTextQeva(rt::IniText ini, const char* configName, int muteOutputs);
int LoadSingleConfigFromIniTextPykc(rt::IniText ini, const char* configName, int muteOutputs);
int LoadSingleConfigFromIniTextPykb(rt::IniText ini, const char* configName, int muteOutputs);
int LoadSingleConfigFromIniTextPyka(rt::IniText ini, const char* configName, int muteOutputs);
// Zutb: reads the set over its 33 groups (the third argument is not used: no mute, register 7
// untouched), then with a board attached sends R0 to R14 and R16 to R111 in five block reports,
// each after 2 progress steps and followed by 0.5 s, and R0 and R113 on their own. R15 (the
// software reset) and R112 are never sent.
int LoadSingleConfigFromIniTextZutb(rt::IniText ini, const char* configName, int muteOutputs);

// ---- the same, by module (the named operations above call these) --------------------------
int InitConfigFor(ConfigModel model, rt::IniText* ini, const char* fileName, int inProjectDir, int createIfMissing);
// The same without the popup, for a caller that tells the failure in its own: on -1, `why` holds
// the reason, naming the file.
int InitConfigFor(ConfigModel model, rt::IniText* ini, const char* fileName, int inProjectDir, int createIfMissing,
                  std::string* why);
int CreateConfigFileFor(ConfigModel model, rt::IniText ini, const char* fileName, const char* configName,
                        int inProjectDir);
int UpdateSingleConfigFor(ConfigModel model, rt::IniText ini, const char* fileName, const char* configName,
                          int inProjectDir);
int LoadSingleConfigFor(ConfigModel model, rt::IniText ini, const char* configName, int muteOutputs);

// Puts the registers of every group from CFG_REG under `configName` (no write). 0, or negative
// when the name cannot name a section.
int PutConfigSet(ConfigModel model, rt::IniText ini, const std::string& configName);
// Writes the object to `path`, atomically. A failure, a path whose file could not be read into
// this object (InitConfig result -1), or an object whose text would pass kConfigFileLimit (the
// file could not be read back), is shown in a popup and leaves the file as it was.
// 0 written, negative not written.
int WriteConfigObject(rt::IniText ini, const std::string& path);
// The same, leaving out the sections of set `name` (those RemoveConfigSet would remove); the
// object keeps them, so a failed write changes nothing.
int WriteConfigObjectWithout(rt::IniText ini, const std::string& path, const std::string& name);

// What PutConfigSet would change for a set: each group section's presence and each register
// key's text. Restoring it undoes the put exactly (values back in place, items and sections the
// put added removed), without a copy of the whole object.
struct ConfigSetSnapshot {
    struct Section {
        std::string name;
        bool existed = false;
        std::vector<std::pair<std::string, std::optional<std::string>>> items;  // key, text before
    };
    std::vector<Section> sections;
};
ConfigSetSnapshot TakeConfigSetSnapshot(ConfigModel model, rt::IniText ini, const std::string& configName);
void RestoreConfigSetSnapshot(rt::IniText ini, const ConfigSetSnapshot& snapshot);

// The registers the model stores whose value set `name` does not give: key missing, or a value
// that is no register value (0 to 0x1FF). A load leaves them as they were. Ascending.
std::vector<int> UnreadableRegisters(ConfigModel model, rt::IniText ini, const std::string& name);

// The first set of the object, in the order of its sections, that holds settings for the model
// (a section for one of its groups); false when none does (sections of other settings, or of
// another model's sets, are passed over).
bool FirstConfigSetFor(ConfigModel model, rt::IniText ini, std::string* name);

// The set names of the object, each once (without regard to case; names are otherwise taken as
// they stand, blanks and all), in the order their first section appears.
std::vector<std::string> ConfigSetNames(rt::IniText ini);
// The name as stored when the object holds a set of that name (without regard to case).
bool FindConfigSet(rt::IniText ini, const std::string& name, std::string* stored = nullptr);
// Removes every section of the set. Returns the number of sections removed.
int RemoveConfigSet(rt::IniText ini, const std::string& name);
// The set name of a section name: its text before the first "/" (all of it without one).
std::string_view SetNameOfSection(std::string_view section);

// True when the text holds a configuration set (a section line "[set/group]", set and group
// not empty), or nothing but blank and comment lines (a file made empty, or whose sets were all
// deleted). Anything else (other text, other settings, binary data) holds no configuration set.
bool IsConfigText(std::string_view text);

// The largest configuration file read and written (set files, demo presets, the working file
// "tempini.dat"). A Jorb set takes about 0.9 KB: the 20,000 sets the program is made to keep
// (and earlier builds wrote) make an 18 MB file, which opens in a fraction of a second. 32 MB
// leaves room beyond that; a far larger file is none the program wrote, and reading and listing
// it would hold the window.
inline constexpr os::SizeLimit kConfigFileLimit{32u << 20, "a configuration file",
                                                "Delete configurations you no longer need first."};


// Popup texts.
inline constexpr const char* kErrorTitle = "ERROR";
inline constexpr const char* kOpenErrorText = " Error Opening Config File";
inline constexpr const char* kWriteErrorText = " Error Writing Config File";

// Forgets which objects failed to read (tests).
void ResetConfigSetState();
