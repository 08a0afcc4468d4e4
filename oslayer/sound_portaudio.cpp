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

// What a stream of either direction holds: the open stream, the format it took, whether it
// was aborted.
struct PaStreamState {
    PaStream* stream;
    int rate, channels;
    std::atomic<bool> aborted{false};

    // Plays what is queued to its end (drain, unless aborted) or drops it, and closes.
    void Finish(bool drain) {
        if (!stream) return;
        if (drain && !aborted)
            Pa_StopStream(stream);
        else
            Pa_AbortStream(stream);
        Pa_CloseStream(stream);
        stream = nullptr;
    }
};

class PaOutput : public SoundOutput {
public:
    PaOutput(PaStream* s, int rate, int channels) : s_{s, rate, channels} {}
    ~PaOutput() override { Close(false); }
    int SampleRate() const override { return s_.rate; }
    int Channels() const override { return s_.channels; }
    // Writes in slices of at most 50 ms so that an abort is seen soon.
    bool Write(const float* frames, long count) override {
        const long slice = std::max(1, s_.rate / 20);
        while (count > 0) {
            if (s_.aborted) return false;
            long n = std::min(count, slice);
            PaError e = Pa_WriteStream(s_.stream, frames, n);
            if (e != paNoError && e != paOutputUnderflowed) return false;
            frames += n * s_.channels;
            count -= n;
        }
        return !s_.aborted;
    }
    void Abort() override { s_.aborted = true; }
    void Close(bool drain) override { s_.Finish(drain); }

private:
    PaStreamState s_;
};

class PaInput : public SoundInput {
public:
    PaInput(PaStream* s, int rate, int channels) : s_{s, rate, channels} {}
    ~PaInput() override { Close(); }
    int SampleRate() const override { return s_.rate; }
    int Channels() const override { return s_.channels; }
    long Read(float* frames, long count) override {
        if (s_.aborted) return 0;
        count = std::min<long>(count, std::max(1, s_.rate / 20));
        PaError e = Pa_ReadStream(s_.stream, frames, count);
        if (e != paNoError && e != paInputOverflowed) return -1;
        return s_.aborted ? 0 : count;
    }
    void Abort() override { s_.aborted = true; }
    void Close() override { s_.Finish(false); }

private:
    PaStreamState s_;
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
