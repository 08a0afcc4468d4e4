// The WAV block's sound calls over the oslayer sound service.
#include "demo/playsnd.h"

#include <filesystem>

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

// "WaveFile/100407.wav" -> "WaveFile/100407-2.wav", -3 ... : the first name not taken.
std::string FreeName(const std::string& file) {
    const size_t slash = file.find_last_of('/');
    const size_t dot = file.find_last_of('.');
    const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string stem = hasExt ? file.substr(0, dot) : file;
    const std::string ext = hasExt ? file.substr(dot) : "";
    for (int n = 2;; ++n) {
        std::string candidate = stem + "-" + std::to_string(n) + ext;
        std::error_code ec;
        if (!std::filesystem::exists(candidate, ec)) return candidate;
    }
}

unsigned CloseRecorder() {
    os::SoundRecClose(wDeviceID);
    bnotOpen = 1;
    return 0;
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
        std::string target = file ? file : "";
        bool replace = false;
        std::error_code ec;
        const std::filesystem::file_status there = std::filesystem::status(target, ec);
        if (std::filesystem::exists(there) && !std::filesystem::is_regular_file(there)) {
            // A folder, pipe or device with the take's name cannot be replaced: the take goes to a
            // free name at once rather than being offered a replace that would be refused and lose it.
            target = FreeName(target);
        } else if (std::filesystem::is_regular_file(there)) {
            const std::string other = FreeName(target);
            replace = rt::ConfirmPopup("Save recording", ("\"" + target + "\" exists already.\nReplace it?\n\nNo saves this recording as \"" +
                                                          other + "\".").c_str()) != 0;
            if (!replace) target = other;
        }
        if (unsigned err = os::SoundRecSave(wDeviceID, target.c_str(), replace)) {
            CloseRecorder();
            return err & 0xFFFF;
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
