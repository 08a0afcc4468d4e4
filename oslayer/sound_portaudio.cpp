// The PortAudio sound backend: the default output and input devices in blocking mode, float
// samples. PortAudio is started on the first device query or open, never before.
#include "oslayer/sound.h"

#include <portaudio.h>

#include <algorithm>
#include <atomic>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace os {

namespace {

std::mutex g_startMutex;
std::atomic<bool> g_started{false};
PaError g_startError = paNoError;

// Starts PortAudio once. The host libraries print their whole device probe to stderr when a
// machine has no sound card; the user gets one clear message from us instead, so stderr is
// quiet while PortAudio looks for devices.
bool StartPortAudio(unsigned* code, std::string* error) {
    std::lock_guard<std::mutex> lock(g_startMutex);
    if (!g_started) {
        fflush(stderr);
        int saved = dup(STDERR_FILENO);
        int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved >= 0 && devNull >= 0) dup2(devNull, STDERR_FILENO);
        g_startError = Pa_Initialize();
        if (saved >= 0) {
            dup2(saved, STDERR_FILENO);
            close(saved);
        }
        if (devNull >= 0) close(devNull);
        g_started = true;
    }
    if (g_startError != paNoError) {
        *code = SOUNDERR_DEVICE;
        *error = std::string("The sound system could not start: ") + Pa_GetErrorText(g_startError) + ".";
        return false;
    }
    return true;
}

std::string DeviceError(const char* what, PaError e) {
    return std::string("The sound ") + what + " device could not be opened: " + Pa_GetErrorText(e) + ".";
}

// Opens a blocking float stream on `device` for one direction: the wanted rate when the device
// takes it, else its default rate; the wanted channels up to what the device has.
PaStream* OpenStream(bool input, PaDeviceIndex device, int rate, int channels, int* gotRate, int* gotChannels,
                     unsigned* code, std::string* error) {
    const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
    const int maxChannels = info ? (input ? info->maxInputChannels : info->maxOutputChannels) : 0;
    if (!info || maxChannels < 1) {
        *code = SOUNDERR_NO_DEVICE;
        *error = input ? "No sound input device was found." : "No sound output device was found.";
        return nullptr;
    }
    PaStreamParameters p{};
    p.device = device;
    p.channelCount = std::clamp(channels, 1, maxChannels);
    p.sampleFormat = paFloat32;
    p.suggestedLatency = input ? info->defaultHighInputLatency : info->defaultHighOutputLatency;
    const PaStreamParameters* in = input ? &p : nullptr;
    const PaStreamParameters* out = input ? nullptr : &p;
    double useRate = rate;
    if (Pa_IsFormatSupported(in, out, useRate) != paFormatIsSupported) useRate = info->defaultSampleRate;
    PaStream* stream = nullptr;
    PaError e = Pa_OpenStream(&stream, in, out, useRate, paFramesPerBufferUnspecified, paNoFlag, nullptr, nullptr);
    if (e == paNoError) e = Pa_StartStream(stream);
    if (e != paNoError) {
        if (stream) Pa_CloseStream(stream);
        *code = SOUNDERR_DEVICE;
        *error = DeviceError(input ? "input" : "output", e);
        return nullptr;
    }
    *gotRate = static_cast<int>(useRate + 0.5);
    *gotChannels = p.channelCount;
    return stream;
}

class PaOutput : public SoundOutput {
public:
    PaOutput(PaStream* s, int rate, int channels) : stream_(s), rate_(rate), channels_(channels) {}
    ~PaOutput() override { Close(false); }
    int SampleRate() const override { return rate_; }
    int Channels() const override { return channels_; }
    // Writes in slices of at most 50 ms so that an abort is seen soon.
    bool Write(const float* frames, long count) override {
        const long slice = std::max(1, rate_ / 20);
        while (count > 0) {
            if (aborted_) return false;
            long n = std::min(count, slice);
            PaError e = Pa_WriteStream(stream_, frames, n);
            if (e != paNoError && e != paOutputUnderflowed) return false;
            frames += n * channels_;
            count -= n;
        }
        return !aborted_;
    }
    void Abort() override { aborted_ = true; }
    void Close(bool drain) override {
        if (!stream_) return;
        if (drain && !aborted_)
            Pa_StopStream(stream_);
        else
            Pa_AbortStream(stream_);
        Pa_CloseStream(stream_);
        stream_ = nullptr;
    }

private:
    PaStream* stream_;
    int rate_, channels_;
    std::atomic<bool> aborted_{false};
};

class PaInput : public SoundInput {
public:
    PaInput(PaStream* s, int rate, int channels) : stream_(s), rate_(rate), channels_(channels) {}
    ~PaInput() override { Close(); }
    int SampleRate() const override { return rate_; }
    int Channels() const override { return channels_; }
    long Read(float* frames, long count) override {
        if (aborted_) return 0;
        count = std::min<long>(count, std::max(1, rate_ / 20));
        PaError e = Pa_ReadStream(stream_, frames, count);
        if (e != paNoError && e != paInputOverflowed) return -1;
        return aborted_ ? 0 : count;
    }
    void Abort() override { aborted_ = true; }
    void Close() override {
        if (!stream_) return;
        Pa_AbortStream(stream_);
        Pa_CloseStream(stream_);
        stream_ = nullptr;
    }

private:
    PaStream* stream_;
    int rate_, channels_;
    std::atomic<bool> aborted_{false};
};

class PortAudio : public SoundBackend {
public:
    std::unique_ptr<SoundOutput> OpenOutput(int rate, int channels, unsigned* code, std::string* error) override {
        if (!StartPortAudio(code, error)) return nullptr;
        PaDeviceIndex dev = Pa_GetDefaultOutputDevice();
        if (dev == paNoDevice) {
            *code = SOUNDERR_NO_DEVICE;
            *error = "No sound output device was found.";
            return nullptr;
        }
        int gotRate = 0, gotChannels = 0;
        PaStream* s = OpenStream(false, dev, rate, channels, &gotRate, &gotChannels, code, error);
        if (!s) return nullptr;
        return std::make_unique<PaOutput>(s, gotRate, gotChannels);
    }

    std::unique_ptr<SoundInput> OpenInput(int rate, int channels, unsigned* code, std::string* error) override {
        if (!HasInput(code, error)) return nullptr;
        int gotRate = 0, gotChannels = 0;
        PaStream* s = OpenStream(true, Pa_GetDefaultInputDevice(), rate, channels, &gotRate, &gotChannels, code, error);
        if (!s) return nullptr;
        return std::make_unique<PaInput>(s, gotRate, gotChannels);
    }

    bool HasInput(unsigned* code, std::string* error) override {
        if (!StartPortAudio(code, error)) return false;
        if (Pa_GetDefaultInputDevice() == paNoDevice) {
            *code = SOUNDERR_NO_DEVICE;
            *error = "No sound input device was found.";
            return false;
        }
        return true;
    }
};

}  // namespace

SoundBackend* PortAudioBackend() {
    static PortAudio* backend = new PortAudio;  // lives for the process (streams may outlive statics)
    return backend;
}

bool PortAudioStarted() { return g_started; }

}  // namespace os
