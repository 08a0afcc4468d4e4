// The test sound backend.
#include "oslayer/sound_testing.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace os {

namespace {
constexpr size_t kKeptSamples = 4u << 20;
}

class TestOutput : public SoundOutput {
public:
    TestOutput(TestSoundBackend& b, int rate, int channels) : b_(b), rate_(rate), channels_(channels) {}
    ~TestOutput() override { Close(false); }
    int SampleRate() const override { return rate_; }
    int Channels() const override { return channels_; }
    bool Write(const float* frames, long count) override {
        std::unique_lock<std::mutex> lock(b_.m_);
        const long long limit = b_.config_.outputFrameLimit;
        if (limit >= 0 && b_.played_ + count > limit) {
            b_.wake_.wait(lock, [&] { return aborted_.load(); });
            return false;
        }
        if (aborted_) return false;
        b_.played_ += count;
        const size_t n = static_cast<size_t>(count) * channels_;
        const size_t room = kKeptSamples - std::min(kKeptSamples, b_.samples_.size());
        b_.samples_.insert(b_.samples_.end(), frames, frames + std::min(n, room));
        return true;
    }
    void Abort() override {
        std::lock_guard<std::mutex> lock(b_.m_);
        if (aborted_ || closed_) return;
        aborted_ = true;
        b_.calls_.push_back("abort output");
        b_.wake_.notify_all();
    }
    void Close(bool drain) override {
        std::lock_guard<std::mutex> lock(b_.m_);
        if (closed_) return;
        closed_ = true;
        --b_.open_;
        b_.calls_.push_back(drain ? "close output drain" : "close output drop");
    }

private:
    TestSoundBackend& b_;
    int rate_, channels_;
    std::atomic<bool> aborted_{false};
    bool closed_ = false;
};

class TestInput : public SoundInput {
public:
    TestInput(TestSoundBackend& b, int rate, int channels) : b_(b), rate_(rate), channels_(channels) {}
    ~TestInput() override { Close(); }
    int SampleRate() const override { return rate_; }
    int Channels() const override { return channels_; }
    long Read(float* frames, long count) override {
        std::unique_lock<std::mutex> lock(b_.m_);
        const long long limit = b_.config_.inputFrameLimit;
        if (limit >= 0 && b_.recorded_ >= limit) {
            b_.wake_.wait(lock, [&] { return aborted_.load(); });
            return 0;
        }
        if (aborted_) return 0;
        if (limit >= 0) count = static_cast<long>(std::min<long long>(count, limit - b_.recorded_));
        const double w = 2.0 * M_PI * b_.config_.toneHz / rate_;
        for (long n = 0; n < count; ++n, ++phase_) {
            const float v = static_cast<float>(0.5 * std::sin(w * static_cast<double>(phase_)));
            std::fill(frames + n * channels_, frames + (n + 1) * channels_, v);
        }
        b_.recorded_ += count;
        return count;
    }
    void Abort() override {
        std::lock_guard<std::mutex> lock(b_.m_);
        if (aborted_ || closed_) return;
        aborted_ = true;
        b_.calls_.push_back("abort input");
        b_.wake_.notify_all();
    }
    void Close() override {
        std::lock_guard<std::mutex> lock(b_.m_);
        if (closed_) return;
        closed_ = true;
        --b_.open_;
        b_.calls_.push_back("close input");
    }

private:
    TestSoundBackend& b_;
    int rate_, channels_;
    long long phase_ = 0;
    std::atomic<bool> aborted_{false};
    bool closed_ = false;
};

void TestSoundBackend::SetConfig(const Config& c) {
    std::lock_guard<std::mutex> lock(m_);
    config_ = c;
}

std::vector<std::string> TestSoundBackend::Calls() const {
    std::lock_guard<std::mutex> lock(m_);
    return calls_;
}

long long TestSoundBackend::FramesPlayed() const {
    std::lock_guard<std::mutex> lock(m_);
    return played_;
}

long long TestSoundBackend::FramesRecorded() const {
    std::lock_guard<std::mutex> lock(m_);
    return recorded_;
}

std::vector<float> TestSoundBackend::Played() const {
    std::lock_guard<std::mutex> lock(m_);
    return samples_;
}

int TestSoundBackend::OpenDevices() const {
    std::lock_guard<std::mutex> lock(m_);
    return open_;
}

void TestSoundBackend::Clear() {
    std::lock_guard<std::mutex> lock(m_);
    calls_.clear();
    samples_.clear();
    played_ = recorded_ = 0;
}

bool TestSoundBackend::Refuse(const std::string& direction, unsigned* code, std::string* error) {
    calls_.push_back("no " + direction);
    *code = SOUNDERR_NO_DEVICE;
    *error = "No sound " + direction + " device was found.";
    return false;
}

bool TestSoundBackend::Admit(bool present, const std::string& direction, int takesRate, int takesChannels, int* rate,
                             int* channels, unsigned* code, std::string* error) {
    if (!present) return Refuse(direction, code, error);
    if (takesRate > 0) *rate = takesRate;
    if (takesChannels > 0) *channels = takesChannels;
    calls_.push_back("open " + direction + " " + std::to_string(*rate) + " " + std::to_string(*channels));
    ++open_;
    return true;
}

std::unique_ptr<SoundOutput> TestSoundBackend::OpenOutput(int rate, int channels, unsigned* code, std::string* error) {
    std::lock_guard<std::mutex> lock(m_);
    if (!Admit(config_.hasOutput, "output", config_.outputRate, config_.outputChannels, &rate, &channels, code, error))
        return nullptr;
    return std::make_unique<TestOutput>(*this, rate, channels);
}

std::unique_ptr<SoundInput> TestSoundBackend::OpenInput(int rate, int channels, unsigned* code, std::string* error) {
    std::lock_guard<std::mutex> lock(m_);
    if (!Admit(config_.hasInput, "input", config_.inputRate, config_.inputChannels, &rate, &channels, code, error))
        return nullptr;
    return std::make_unique<TestInput>(*this, rate, channels);
}

bool TestSoundBackend::HasInput(unsigned* code, std::string* error) {
    std::lock_guard<std::mutex> lock(m_);
    return config_.hasInput || Refuse("input", code, error);
}

}  // namespace os
