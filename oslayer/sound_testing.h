// A sound backend for tests: no sound card needed. It writes down every device call, "plays"
// at once (keeping what it was given) and "records" a generated tone at once.
//
//   os::TestSoundBackend sound;
//   os::SetSoundBackend(&sound);
//   ... code under test ...
//   EXPECT_EQ(sound.Calls()[0], "open output 44100 2");
//   os::SetSoundBackend(nullptr);
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "oslayer/sound.h"

namespace os {

class CB_OS_API TestSoundBackend : public SoundBackend {
public:
    // The devices this backend offers; set before use.
    struct Config {
        bool hasOutput = true;
        bool hasInput = true;
        int outputRate = 0;  // the rate and channels the devices take (0: whatever is asked)
        int outputChannels = 0;
        int inputRate = 0;
        int inputChannels = 0;
        // Frames a device passes before its Write / Read blocks until Abort (a device that
        // never stops by itself, such as a loop or an endless input); -1: no limit.
        long long outputFrameLimit = 1 << 20;
        long long inputFrameLimit = -1;
        double toneHz = 1000.0;  // the recorded tone, amplitude 0.5
    };

    TestSoundBackend() = default;
    explicit TestSoundBackend(const Config& c) : config_(c) {}
    void SetConfig(const Config& c);

    // "open output RATE CH", "close output drain|drop", "open input RATE CH", "close input",
    // "abort output", "abort input", "no output", "no input" (a refused open), in order.
    std::vector<std::string> Calls() const;
    long long FramesPlayed() const;    // frames written to every output so far
    long long FramesRecorded() const;  // frames read from every input so far
    std::vector<float> Played() const; // the samples written (the first 4M of them)
    int OpenDevices() const;           // devices opened and not closed yet
    void Clear();                      // forgets the calls and counts

    std::unique_ptr<SoundOutput> OpenOutput(int sampleRate, int channels, unsigned* code, std::string* error) override;
    std::unique_ptr<SoundInput> OpenInput(int sampleRate, int channels, unsigned* code, std::string* error) override;
    bool HasInput(unsigned* code, std::string* error) override;

private:
    friend class TestOutput;
    friend class TestInput;
    // Under the lock: an absent device is refused (logged, SOUNDERR_NO_DEVICE); else the open is
    // logged with the format the device takes and counted.
    bool Refuse(const std::string& direction, unsigned* code, std::string* error);
    bool Admit(bool present, const std::string& direction, int takesRate, int takesChannels, int* rate, int* channels,
               unsigned* code, std::string* error);

    mutable std::mutex m_;
    std::condition_variable wake_;
    Config config_;
    std::vector<std::string> calls_;
    long long played_ = 0, recorded_ = 0;
    std::vector<float> samples_;
    int open_ = 0;
};

}  // namespace os
