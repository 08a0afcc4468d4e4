// The WAV block's sound calls over the oslayer sound service.
#include "demo/playsnd.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "runtime/ui.h"

short bFirst = 1;
short bnotOpen = 1;
unsigned wDeviceID = 0;
const os::WaveFormat WaveRecordingFormat{1, 1, 16000, 16};

namespace {

WavClock& Clock() {
    static WavClock clock;
    return clock;
}

// Whether anything has the name `path`: a file, a folder, a pipe, or a link, even one that
// leads nowhere (a save there would be refused or would go where the link leads).
bool Taken(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

// "WaveFile/100407.wav" -> "WaveFile/100407-2.wav", -3 ... : the first name not taken.
std::string FreeName(const std::string& file) {
    const size_t slash = file.find_last_of('/');
    const size_t dot = file.find_last_of('.');
    const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string stem = hasExt ? file.substr(0, dot) : file;
    const std::string ext = hasExt ? file.substr(dot) : "";
    for (int n = 2;; ++n) {
        std::string candidate = stem + "-" + std::to_string(n) + ext;
        if (!Taken(candidate)) return candidate;
    }
}

unsigned CloseRecorder() {
    os::SoundRecClose(wDeviceID);
    bnotOpen = 1;
    return 0;
}

constexpr const char* kSaveTitle = "Save recording";

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

bool IsRegularFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

// Save failures that another name or place can mend: the take is kept for them.
bool PlaceFailure(unsigned code) {
    return code == os::SOUNDERR_CANNOT_WRITE || code == os::SOUNDERR_DISK_FULL || code == os::SOUNDERR_FILE_EXISTS;
}

// A take is discarded only on the user's explicit word.
bool ConfirmDiscard() { return rt::ConfirmDestructivePopup(kSaveTitle, "The recording is not saved.\nDiscard it?") != 0; }

// After a save failed for `reason`, asks where the take goes instead: the free name `freeName`
// (none when empty), or a file the user picks, starting in the record folder with `fileName`.
// True with the new *target and *replace; false only when the user said to discard the take.
bool AskWhereInstead(const std::string& reason, const std::string& freeName, const std::string& fileName,
                     std::string* target, bool* replace) {
    for (;;) {
        if (!freeName.empty()) {
            if (rt::ConfirmPopup(kSaveTitle, (reason + "\n\nSave the recording as " + Quoted(freeName) +
                                              " instead?\nNo lets you choose another place.")
                                                 .c_str())) {
                *target = freeName;
                *replace = false;
                return true;
            }
        } else if (!rt::ConfirmPopup(kSaveTitle, (reason + "\n\nChoose another place for the recording?").c_str())) {
            if (ConfirmDiscard()) return false;
            continue;
        }
        std::string chosen;
        while (rt::FileSelectPopup(kRecordFolder, fileName.c_str(), "*.wav", "Save Recording As", rt::VAL_SAVE_BUTTON,
                                   &chosen) != rt::VAL_NO_FILE_SELECTED) {
            // The picker does not ask about a file that is there: a file is replaced only on a Yes.
            if (!IsRegularFile(chosen) ||
                rt::ConfirmPopup(kSaveTitle, (Quoted(chosen) + " exists already.\nReplace it?").c_str())) {
                *target = chosen;
                *replace = IsRegularFile(chosen);
                return true;
            }
        }
        if (ConfirmDiscard()) return false;
    }
}

}  // namespace

WavClock SetWavClock(WavClock clock) {
    WavClock previous = std::move(Clock());
    Clock() = std::move(clock);
    return previous;
}

std::tm WavLocalTime() {
    if (Clock()) return Clock()();
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

short CVI_PlaySoundEx(const char* file, short async, short loop, short allowDefault, short interrupt) {
    unsigned flags = loop ? (os::SND_ASYNC | os::SND_LOOP) : async ? os::SND_ASYNC : os::SND_SYNC;
    if (!allowDefault) flags |= os::SND_NODEFAULT;
    if (!interrupt) flags |= os::SND_NOSTOP;
    return os::PlaySound(file, flags, [] { rt::Delay(0.01); }) ? 1 : 0;
}

void CVI_StopCurrentSound() { os::PlaySound(nullptr, 0); }

unsigned CVI_RecordOne(unsigned ms) {
    if (bFirst == 0) return 0;
    if (bnotOpen == 1) {
        if (unsigned err = os::SoundRecOpen(kRecordFolder, &wDeviceID)) return err & 0xFFFF;
        bnotOpen = 0;
    }
    os::SoundRecSetFormat(wDeviceID, WaveRecordingFormat);
    if (unsigned err = os::SoundRecRecord(wDeviceID, ms)) {
        CloseRecorder();
        return err & 0xFFFF;
    }
    bFirst = 0;
    return 0;
}

unsigned CVI_RecordStop(const char* file, std::string* savedAs) {
    if (bFirst == 0) {
        const unsigned stopped = os::SoundRecStop(wDeviceID);
        bFirst = 1;
        // The take ended early (disk full, device lost): say so, and still offer what came in.
        if (stopped != 0)
            rt::MessagePopup("Stop Record", ("The recording stopped early.\n" + os::SoundLastError()).c_str());
        if (!rt::ConfirmPopup("", "Do you want to save this recording?")) return CloseRecorder();
        const std::string name = file ? file : "";
        std::string target = name;
        bool replace = false;
        std::error_code ec;
        const std::filesystem::file_status there = std::filesystem::status(target, ec);
        if (std::filesystem::exists(there) && !std::filesystem::is_regular_file(there)) {
            // A folder, pipe or device with the take's name cannot be replaced: the take goes to a
            // free name at once rather than being offered a replace that would be refused and lose it.
            target = FreeName(target);
        } else if (std::filesystem::is_regular_file(there)) {
            const std::string other = FreeName(target);
            replace = rt::ConfirmPopup(kSaveTitle, (Quoted(target) + " exists already.\nReplace it?\n\nNo saves this recording as " +
                                                    Quoted(other) + ".").c_str()) != 0;
            if (!replace) target = other;
        }
        // A save that fails for its name or place keeps the take: the user is told why and
        // offered a free name beside the first, or another place, until it is saved or the user
        // discards it.
        std::vector<std::string> failed;
        for (;;) {
            const unsigned err = os::SoundRecSave(wDeviceID, target.c_str(), replace);
            if (err == 0) break;
            if (!PlaceFailure(err)) {
                CloseRecorder();
                return err & 0xFFFF;
            }
            failed.push_back(target);
            std::string other = FreeName(name);
            if (std::find(failed.begin(), failed.end(), other) != failed.end()) other.clear();
            const std::string fileName = std::filesystem::path(name).filename().string();
            if (!AskWhereInstead(os::SoundLastError(), other, fileName, &target, &replace)) return CloseRecorder();
        }
        if (savedAs) *savedAs = target;
    }
    return CloseRecorder();
}

void ResetPlaysnd() {
    os::PlaySound(nullptr, 0);
    if (bnotOpen == 0) os::SoundRecClose(wDeviceID);
    bFirst = 1;
    bnotOpen = 1;
    wDeviceID = 0;
}
