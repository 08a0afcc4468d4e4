// WAV play and record block: a player for the WAV files of a folder and a recorder that saves
// timed takes in "WaveFile" under the time of day.
#include "demo/wav_block.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <utility>
#include <vector>

#include "demo/playsnd.h"
#include "oslayer/user_files.h"
#include "panels/cfgDemoZutb_pan.h"
#include "runtime/inifile.h"
#include "runtime/ui.h"

using namespace ui::cfgDemoZutb_pan;

namespace {

// Play options read at the last Play.
int async = 0;
int loop = 0;
// The folder chosen in this run when "a00.ini" could not keep it: shown, rather than the one
// the file still holds, until the program ends.
std::string unkeptPlayFolder;

int Dimmed(int panel, int control) {
    int dimmed = 0;
    rt::GetCtrlAttribute(panel, control, rt::ATTR_DIMMED, &dimmed);
    return dimmed;
}

void Dim(int panel, int control, int dimmed) { rt::SetCtrlAttribute(panel, control, rt::ATTR_DIMMED, dimmed); }

bool IsWavName(const std::string& name) {
    if (name.size() < 4) return false;
    std::string ext = name.substr(name.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char ch) { return std::tolower(ch); });
    return ext == ".wav";
}

}  // namespace

void GetPlayOptions(int panel, int* asyncOut, int* loopOut) {
    rt::GetCtrlVal(panel, CFGDEMOZutb_LOOP, loopOut);
    Dim(panel, CFGDEMOZutb_ASYNCHRONOUS, *loopOut != 0);
    if (*loopOut == 0)
        rt::GetCtrlVal(panel, CFGDEMOZutb_ASYNCHRONOUS, asyncOut);
    else
        *asyncOut = 1;
}

int GetCurrentlySelectedFile(int panel, int list, std::string* path) {
    int count = 0;
    rt::GetNumListItems(panel, list, &count);
    if (count == 0) {
        rt::MessagePopup("Error", "No sound files in selected directory.\nSelect another directory.");
        return 0;
    }
    rt::GetCtrlVal(panel, list, path);
    return 1;
}

void ShowSavedPlayFolder(int panel) {
    if (!unkeptPlayFolder.empty()) {
        rt::SetCtrlVal(panel, CFGDEMOZutb_DIRECTORY, unkeptPlayFolder);
        return;
    }
    // "a00.ini" holds one folder name: a file far larger is not read (the play folder stays
    // "WaveFile", as for a missing file) rather than hold up the model choice.
    static constexpr os::SizeLimit kPlayerIniLimit{64u << 10, "the play folder's file"};
    std::string text;
    rt::IniText ini = rt::Ini_New(0);
    std::string folder;
    if (rt::ReadWholeFile(kPlayerIniFile, &text, nullptr, &kPlayerIniLimit) &&
        rt::Ini_ReadFromString(ini, std::move(text)) == 0 &&
        rt::Ini_GetStringCopy(ini, "Default", "PlayDir", &folder) == 1 && !folder.empty())
        rt::SetCtrlVal(panel, CFGDEMOZutb_DIRECTORY, folder);
    rt::Ini_Dispose(ini);
}

void FillListBoxWithWavsInDir(int panel, int list, const char* folder) {
    rt::ClearListCtrl(panel, list);
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeEc;
        const std::string name = it->path().filename().string();
        if (IsWavName(name) && it->is_regular_file(typeEc)) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names)
        rt::InsertListItem(panel, list, -1, name.c_str(), rt::MakePathname(folder, name).c_str());
}

int cfCBplay(int panel, int control, int event, void*, int, int) {
    if (event != rt::EVENT_COMMIT) return 0;
    const int playing = Dimmed(panel, CFGDEMOZutb_CBPLAY);
    if (!playing && (control == CFGDEMOZutb_CBPLAY || control == CFGDEMOZutb_LISTBOX)) {
        // Nothing listed yet (no folder chosen, no take saved): list the folder shown, so files
        // put there before or after start are found.
        int count = 0;
        rt::GetNumListItems(panel, CFGDEMOZutb_LISTBOX, &count);
        if (count == 0) {
            std::string folder;
            rt::GetCtrlVal(panel, CFGDEMOZutb_DIRECTORY, &folder);
            if (!folder.empty()) FillListBoxWithWavsInDir(panel, CFGDEMOZutb_LISTBOX, folder.c_str());
        }
        std::string path;
        if (!GetCurrentlySelectedFile(panel, CFGDEMOZutb_LISTBOX, &path)) return 0;
        Dim(panel, CFGDEMOZutb_CBPLAY, 1);
        Dim(panel, CFGDEMOZutb_CBSTOPP, 0);
        GetPlayOptions(panel, &async, &loop);
        if (!CVI_PlaySoundEx(path.c_str(), static_cast<short>(async), static_cast<short>(loop), 0, 1)) {
            // A file that cannot play fails quietly; a missing or failing device is told, and
            // there is nothing to stop then.
            const unsigned code = os::SoundLastErrorCode();
            if (code == os::SOUNDERR_NO_DEVICE || code == os::SOUNDERR_DEVICE) {
                rt::MessagePopup("Start Play", ("The sound could not be played.\n" + os::SoundLastError()).c_str());
                Dim(panel, CFGDEMOZutb_CBPLAY, 0);
                Dim(panel, CFGDEMOZutb_CBSTOPP, 1);
            }
        }
    } else if (playing && control == CFGDEMOZutb_LISTBOX) {
        rt::MessagePopup("Play click information", "Please stop play.");
    } else {
        Dim(panel, CFGDEMOZutb_CBPLAY, 0);
        Dim(panel, CFGDEMOZutb_CBSTOPP, 1);
        CVI_StopCurrentSound();
    }
    return 0;
}

int ChangeDir(int panel, int, int event, void*, int, int) {
    if (event != rt::EVENT_COMMIT) return 0;
    std::string current, chosen;
    rt::GetCtrlVal(panel, CFGDEMOZutb_DIRECTORY, &current);
    if (rt::DirSelectPopup(current.c_str(), "Select Directory", &chosen) != rt::VAL_DIRECTORY_SELECTED) return 0;
    if (chosen == current) return 0;
    rt::SetCtrlVal(panel, CFGDEMOZutb_DIRECTORY, chosen);
    rt::IniText ini = rt::Ini_New(0);
    std::string error;
    int written = rt::Ini_PutString(ini, "Default", "PlayDir", chosen.c_str());
    if (written == 0) written = rt::Ini_WriteToFile(ini, kPlayerIniFile, &error);
    else error = "the folder's name cannot be stored in it";
    rt::Ini_Dispose(ini);
    FillListBoxWithWavsInDir(panel, CFGDEMOZutb_LISTBOX, chosen.c_str());
    // The folder is used in this run either way; a file that cannot keep it is told, so the user
    // knows it will not be shown at the next start.
    if (written == 0) {
        unkeptPlayFolder.clear();
    } else {
        unkeptPlayFolder = chosen;
        std::error_code ec;
        const std::string path = std::filesystem::absolute(kPlayerIniFile, ec).string();
        rt::MessagePopup("Change Directory", ("The folder chosen is used until the program ends, but it could not be "
                                              "kept for the next start.\nIt could not be saved to:\n" +
                                              (path.empty() ? std::string(kPlayerIniFile) : path) + "\n" + error)
                                                 .c_str());
    }
    return 0;
}

int cfCBrecord(int panel, int control, int event, void*, int, int) {
    if (event != rt::EVENT_COMMIT) return 0;
    std::error_code ec;
    std::filesystem::create_directory(kRecordFolder, ec);  // there already, or reported by the recorder
    if (control == CFGDEMOZutb_CBRECORD) {
        Dim(panel, CFGDEMOZutb_CBRECORD, 1);
        Dim(panel, CFGDEMOZutb_CBSTOPR, 0);
        unsigned value = 0;
        rt::GetCtrlVal(panel, CFGDEMOZutb_NMLEN, &value);
        unsigned short seconds = static_cast<unsigned short>(value);
        if (seconds < 5) seconds = 5;
        if (CVI_RecordOne(seconds * 1000u) != 0) {
            rt::MessagePopup("Start Record", ("Recording could not start.\n" + os::SoundLastError()).c_str());
            Dim(panel, CFGDEMOZutb_CBRECORD, 0);
            Dim(panel, CFGDEMOZutb_CBSTOPR, 1);
        }
    } else if (control == CFGDEMOZutb_CBSTOPR) {
        Dim(panel, CFGDEMOZutb_CBRECORD, 0);
        Dim(panel, CFGDEMOZutb_CBSTOPR, 1);
        const std::tm now = WavLocalTime();
        char name[64];
        std::snprintf(name, sizeof name, "%s/%02d%02d%02d.wav", kRecordFolder, now.tm_hour, now.tm_min, now.tm_sec);
        rt::SetCtrlVal(panel, CFGDEMOZutb_TMfname, name);
        std::string saved;
        if (CVI_RecordStop(name, &saved) != 0)
            rt::MessagePopup("Stop Record", ("The recording could not be saved.\n" + os::SoundLastError()).c_str());
        else if (!saved.empty() && saved != name)
            rt::SetCtrlVal(panel, CFGDEMOZutb_TMfname, saved);
        FillListBoxWithWavsInDir(panel, CFGDEMOZutb_LISTBOX, (std::string("./") + kRecordFolder + "/").c_str());
    }
    return 0;
}

void ResetWavBlock() {
    async = 0;
    loop = 0;
    unkeptPlayFolder.clear();
}

void RegisterWavCallbacks() {
    rt::RegisterCtrlCallback("cfCBplay", cfCBplay);
    rt::RegisterCtrlCallback("cfCBrecord", cfCBrecord);
    rt::RegisterCtrlCallback("ChangeDir", ChangeDir);
}
