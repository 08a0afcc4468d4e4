#include "shell/startup.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string_view>
#include <vector>

#include "capture/capture_services.h"
#include "demo/demo_services.h"
#include "demo/playsnd.h"
#include "device/device_services.h"
#include "link/usbcomvunt.h"
#include "oslayer/os.h"
#include "oslayer/temp_names.h"
#include "oslayer/user_files.h"
#include "panels/AudioCodec_pan.h"
#include "pathview/pathview_services.h"
#include "playback/playback_services.h"
#include "regmap/regmap_model.h"
#include "regmap/script.h"
#include "runtime/inifile.h"
#include "runtime/panel_resources.h"
#include "runtime/ui.h"
#include "shell/callbacks.h"
#include "shell/devchange.h"
#include "shell/handles.h"
#include "shell/import_export.h"
#include "shell/model_select.h"
#include "shell/modes.h"
#include "shell/panel_table.h"
#include "shell/state.h"

using namespace ui::AudioCodec_pan;

OsVersionInfo osvi;

namespace {

constexpr const char* kMainPanelFile = "AudioCodec_pan.uir";

// Ring fills of the block and path panels, once each, in this order.
using PanelInit = void (*)();
const PanelInit kPanelInits[] = {
    // Jorb
    InitInputSignalPanel, InitADCFilterPanel, InitDACPanel, InitEQPanel, InitOutputPanel, InitPathViewControls,
    // Jora
    InitInputSignalPanel_Jora, InitADCFilterPanel_Jora, InitDACPanel_Jora, InitEQPanel_Jora, InitOutputPanel_Jora,
    InitPathViewControls_Jora,
    // Qeva
    InitDACPanel_Qeva, InitEQPanel_Qeva, InitOutputPanel_Qeva, InitPathViewControls_Qeva,
    // Zuta
    InitInputSignalPanelZuta, InitADCFilterPanelZuta, InitDACPanelZuta, InitEQPanelZuta, InitOutputPanelZuta,
    InitPathViewControlsZuta,
    // Zutb
    InitInputSignalPanelZutb, InitADCFilterPanelZutb, InitDACPanelZutb, InitEQPanelZutb, InitOutputPanelZutb,
    InitPathViewControlsZutb,
    // Pyka
    MNPykaInitInputSignalPanel, MNPykaInitADCFilterPanel, MNPykaInitDACPanel, MNPykaInitOutputPanel,
    MNPykaInitALCPanel, MNPykaInitPathViewControls,
    // Pykc (its EQ panel first)
    MNInitEQPanel, MNInitInputSignalPanel, MNInitADCFilterPanel, MNInitDACPanel, MNInitOutputPanel, MNInitALCPanel,
    MNInitPathViewControls,
    // Pykb
    MNPykbInitInputSignalPanel, MNPykbInitADCFilterPanel, MNPykbInitDACPanel, MNPykbInitOutputPanel,
    MNPykbInitALCPanel, MNPykbInitPathViewControls,
};

void RecordOsVersion() {
    osvi = OsVersionInfo{};
    utsname name{};
    if (uname(&name) != 0) return;
    osvi.release = name.release;
    std::sscanf(name.release, "%d.%d", &osvi.dwMajorVersion, &osvi.dwMinorVersion);
}

void SetMainLed(int control, int on) {
    if (PHandlePanel > 0) rt::SetCtrlVal(PHandlePanel, control, on);
}

// Reads one option line of at most 255 characters (without its line end) into `line`; a longer
// line is cut there and its rest skipped. False at the end of the file.
bool ReadOptionLine(std::FILE* file, char (&line)[256]) {
    if (!std::fgets(line, sizeof line, file)) return false;
    size_t length = std::strlen(line);
    if (length > 0 && line[length - 1] == '\n') {
        line[--length] = '\0';
    } else {
        int c;
        while ((c = std::fgetc(file)) != EOF && c != '\n') {
        }
    }
    if (length > 0 && line[length - 1] == '\r') line[--length] = '\0';
    return true;
}

// The files that saves through links among the swept names write: by folder, the names of
// the files the links lead to (through every link on the way, as the writers follow them).
using LinkTargets = std::map<std::string, std::set<std::string>>;

// Notes where the entry `entry` of `dir` (open as `dirFd`) leads when it is a symbolic link.
void NoteLinkTarget(int dirFd, const std::string& dir, const dirent* entry, LinkTargets* targets) {
    if (entry->d_type != DT_LNK) {
        struct stat st {};
        if (entry->d_type != DT_UNKNOWN || fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISLNK(st.st_mode))
            return;
    }
    const std::string target = os::WriteTargetOf(dir + "/" + entry->d_name);
    const size_t slash = target.rfind('/');
    if (slash == std::string::npos || slash + 1 == target.size()) return;
    // A folder, pipe or device there is never written through the link: nothing to look for.
    struct stat st {};
    if (stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return;
    (*targets)[slash == 0 ? "/" : target.substr(0, slash)].insert(target.substr(slash + 1));
}

// Removes the program's dead temporaries from `dir`: files named by os::TempTemplate for one of
// `files`, or for any file when `files` is empty, that os::RemoveDeadTempFile proves have no
// writer left. Nothing else. A folder that is a link is entered only when `throughLink` says
// so (the folder of a file a link leads to, which its writer reached the same way). With
// `links`, the links among those names (any in a folder swept for any file) are noted there.
void RemoveTemporaries(const std::string& dir, const std::vector<std::string>& files, LinkTargets* links,
                       bool throughLink = false) {
    const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | (throughLink ? 0 : O_NOFOLLOW) | O_CLOEXEC);
    if (fd < 0) return;
    DIR* d = fdopendir(fd);
    if (d == nullptr) {
        close(fd);
        return;
    }
    while (const dirent* entry = readdir(d)) {
        const std::string_view name = entry->d_name;
        bool ours = files.empty() && os::IsTempName(name);
        for (size_t i = 0; !ours && i < files.size(); ++i) ours = os::IsTempName(name, files[i]);
        if (ours) {
            os::RemoveDeadTempFile(fd, entry->d_name);
        } else if (links && (files.empty() || std::find(files.begin(), files.end(), name) != files.end())) {
            NoteLinkTarget(fd, dir, entry, links);
        }
    }
    closedir(d);
}

}  // namespace

void RemoveLeftoverTemporaries() {
    std::vector<std::string> project = ConfigSetFileNames();
    for (const char* name : kDemoPresetFiles) project.emplace_back(name);
    project.emplace_back(regscript::kScriptFileName);
    project.emplace_back(kWorkingFileName);
    LinkTargets links;
    const std::string home = rt::GetProjectDir();
    if (!home.empty()) RemoveTemporaries(home, project, &links);
    RemoveTemporaries(".", {kPlayerIniFile}, &links);
    // The recorder's take and the copies it makes beside a save, whatever the saved file's name.
    RemoveTemporaries(kRecordFolder, {}, &links);
    // A save through a link writes its temporary beside the file the link leads to, named for
    // that file: those folders are swept for the temporaries of those names only.
    for (const auto& [folder, names] : links)
        RemoveTemporaries(folder, std::vector<std::string>(names.begin(), names.end()), nullptr, true);
}

void LoadOption() {
    // Like a missing file, one that cannot be read (or is a named pipe or a device, never waited
    // on) sets nothing; so does one over 64 KB, far beyond the line or two of options it holds
    // ("notDebug = 1"), which would otherwise be read line by line at every start.
    constexpr off_t kOptionFileLimit = 64 << 10;
    const int fd = os::OpenUserFile(kOptionFileName);
    if (fd < 0) return;
    struct stat st {};
    if (fstat(fd, &st) != 0 || st.st_size > kOptionFileLimit) {
        close(fd);
        return;
    }
    std::FILE* file = fdopen(fd, "r");
    if (!file) {
        close(fd);
        return;
    }
    char line[256];
    while (ReadOptionLine(file, line) && std::strlen(line) >= 4) {
        // "key = integer": the key is the word up to the first blank.
        const char* p = line;
        const char* keyEnd = p + std::strcspn(p, " \t");
        const std::string key(p, keyEnd);
        p = keyEnd + std::strspn(keyEnd, " \t");
        if (*p != '=') continue;
        ++p;
        char* end = nullptr;
        const long value = std::strtol(p, &end, 10);
        if (end == p) continue;
        // Any non-zero value hides the debug controls (256 too, which a byte would lose).
        if (key == "notDebug") notDebug = value != 0 ? 1 : 0;
    }
    std::fclose(file);
}

int LoadTabPanels(int parentPanel) {
    int loaded = 0;
    int firstError = 0;
    for (const TabPanelEntry& entry : kTabPanels) {
        const int handle = rt::LoadPanel(parentPanel, entry.file, entry.resource);
        if (handle > 0) {
            *entry.handle = handle;
            ++loaded;
        } else {
            *entry.handle = 0;
            if (firstError == 0) firstError = handle;
            std::fprintf(stderr, "codecbench: cannot load panel %d of %s: %s\n", entry.resource, entry.file,
                         rt::LastLoadError().c_str());
        }
    }
    return firstError < 0 ? firstError : loaded;
}

void DiscardShellPanels() {
    for (const TabPanelEntry& entry : kTabPanels) {
        if (*entry.handle > 0) rt::DiscardPanel(*entry.handle);
        *entry.handle = 0;
    }
    if (PHandlePanel > 0) rt::DiscardPanel(PHandlePanel);
    PHandlePanel = 0;
    PHandleMenu = 0;
    tabCtrl = 0;
    PHandleLastPanel = 0;
}

void InitTabPanels() {
    for (PanelInit init : kPanelInits) init();
}

int ShellStartup() {
    RecordOsVersion();
    if (rt::InitCVIRTE() != 0) return -1;
    rt::RegisterEmbeddedPanels();
    RegisterAllCallbacks();

    UILoaded = UI_NONE;
    CommMode = COMM_I2C;
    QuillonMode = 0;
    DeviceAttached = 0;
    PoweredUp = 0;

    PHandlePanel = rt::LoadPanel(0, kMainPanelFile, PANEL);
    if (PHandlePanel <= 0) {
        std::fprintf(stderr, "codecbench: cannot load the main panel: %s\n", rt::LastLoadError().c_str());
        PHandlePanel = 0;
        return -1;
    }
    LoadOption();
    // The import and export's working file is the program's own: kept readable by its writers.
    rt::SetOwnWorkingFile(WorkingFilePath());
    RemoveLeftoverTemporaries();
    InstallDemoPresetFiles();
    RegisterForDevChange(PHandlePanel, nullptr);
    PHandleLastPanel = PHandlePanel;

    LoadTabPanels(PHandlePanel);
    InitTabPanels();

    tabCtrl = rt::EasyTab_ConvertFromCanvas(PHandlePanel, PANEL_CANVAS);
    PHandleMenu = rt::LoadMenuBar(PHandlePanel, kMainPanelFile, MENUBAR);

    // The pool runs the link's listener; like the panels it lives until the process ends (a
    // listener still waiting then must not be joined).
    if (!poolHandle) poolHandle = new os::ThreadPool(4);
    USBpresent = USBInit();

    PanelTitle = kStartPanelTitle;
    rt::SetPanelAttribute(PHandlePanel, rt::ATTR_TITLE, PanelTitle.c_str());

    bool probeStopped = false;
    if (bDeviceOpened != 0) {
        VPEusbAttach();
        ReadStartIdentity();
        // A board that went away during the reads gets no probe: its mode follows its return.
        if (bDeviceOpened != 0 && IdentityCallsForProbe()) probeStopped = !DoAudioID();
    }
    // Without a board slot 95 keeps its start value 0, so the Jorb mode is applied then too. A
    // probe the board stopped (told) sends nothing more: a model choice configures the board.
    if (!probeStopped && IdentityCallsForJorbMode()) ApplyJorbModeAtStartup();

    ReserveTabSetRoom();
    rt::DisplayPanel(PHandlePanel);
    UpdateRegMapTitle();  // the Jorb register map's title rows
    return 0;
}

void StopListening() { StopListener(); }

int Quit(int, int, int event, void*, int, int) {
    if (event != rt::EVENT_COMMIT) return 0;
    StopListening();
    rt::QuitUserInterface(0);
    ReleaseUSB();
    return 0;
}

int TDevTickCB(int panel, int control, int event, void*, int, int) {
    if (event != rt::EVENT_TIMER_TICK) return 0;
    rt::SetCtrlAttribute(panel, control, rt::ATTR_ENABLED, 0);
    if (osvi.dwMajorVersion < kMinimumOsMajorVersion) return 0;
    if (HidIsDevicePlugged() != 0) {
        SetMainLed(PANEL_LDevAttached, 1);
        if (bDeviceOpened == 0) {
            if (HidOpenDevice() == 0) {
                rt::MessagePopup("Warning", "Can not open device.");
            } else {
                rt::Delay(0.3);
                bDeviceOpened = 1;
            }
        }
    } else {
        SetMainLed(PANEL_LDevAttached, 0);
        SetMainLed(PANEL_LPowerUp, 0);
        if (bDeviceOpened != 0) HidCloseDevice();
        bDeviceOpened = 0;
    }
    return 0;
}

void SetCapacityMessage() {}
void SetStatusMessage() {}
void SelectDevice() {}
