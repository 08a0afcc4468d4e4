// WAV files for the sound tests, written and read byte by byte (independent of libsndfile).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace soundtest {

// What a RIFF WAVE file's "fmt " and "data" chunks say.
struct WavInfo {
    bool ok = false;  // RIFF/WAVE with both chunks, and the RIFF size matches the file
    int formatTag = 0, channels = 0, samplesPerSec = 0, avgBytesPerSec = 0, blockAlign = 0, bitsPerSample = 0;
    uint32_t dataBytes = 0;
    std::vector<int16_t> samples16;  // the data, for 16-bit files
    long Frames() const { return blockAlign ? static_cast<long>(dataBytes / blockAlign) : 0; }
};

inline uint32_t Le32(const std::string& b, size_t at) {
    return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8 | static_cast<uint8_t>(b[at + 2]) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}
inline uint16_t Le16(const std::string& b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

inline WavInfo ReadWav(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    WavInfo w;
    if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0) return w;
    if (Le32(b, 4) + 8 != b.size()) return w;
    bool fmt = false, data = false;
    for (size_t at = 12; at + 8 <= b.size();) {
        const std::string id = b.substr(at, 4);
        const uint32_t size = Le32(b, at + 4);
        if (at + 8 + size > b.size()) return w;
        if (id == "fmt " && size >= 16) {
            fmt = true;
            w.formatTag = Le16(b, at + 8);
            w.channels = Le16(b, at + 10);
            w.samplesPerSec = static_cast<int>(Le32(b, at + 12));
            w.avgBytesPerSec = static_cast<int>(Le32(b, at + 16));
            w.blockAlign = Le16(b, at + 20);
            w.bitsPerSample = Le16(b, at + 22);
        } else if (id == "data") {
            data = true;
            w.dataBytes = size;
            if (w.bitsPerSample == 16)
                for (uint32_t i = 0; i + 1 < size; i += 2) w.samples16.push_back(static_cast<int16_t>(Le16(b, at + 8 + i)));
        }
        at += 8 + size + (size & 1);
    }
    w.ok = fmt && data;
    return w;
}

// Writes a WAV file: tag 1 (PCM, 8 or 16 bits) or 3 (32-bit float), the given interleaved
// samples in -1..1.
inline void WriteWav(const std::filesystem::path& path, int tag, int bits, int rate, int channels,
                     const std::vector<float>& samples) {
    std::string data;
    for (float s : samples) {
        if (tag == 3) {
            char raw[4];
            std::memcpy(raw, &s, 4);
            data.append(raw, 4);
        } else if (bits == 8) {
            data.push_back(static_cast<char>(static_cast<uint8_t>(128 + static_cast<int>(s * 127))));
        } else {
            const int16_t v = static_cast<int16_t>(s * 32767);
            data.push_back(static_cast<char>(v & 0xFF));
            data.push_back(static_cast<char>((v >> 8) & 0xFF));
        }
    }
    auto le = [](std::string& out, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    std::string f = "RIFF";
    le(f, static_cast<uint32_t>(36 + data.size()), 4);
    f += "WAVEfmt ";
    le(f, 16, 4);
    le(f, static_cast<uint32_t>(tag), 2);
    le(f, static_cast<uint32_t>(channels), 2);
    le(f, static_cast<uint32_t>(rate), 4);
    le(f, static_cast<uint32_t>(rate * channels * bits / 8), 4);
    le(f, static_cast<uint32_t>(channels * bits / 8), 2);
    le(f, static_cast<uint32_t>(bits), 2);
    f += "data";
    le(f, static_cast<uint32_t>(data.size()), 4);
    f += data;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << f;
}

// A ramp of `frames` frames, the same on every channel.
inline std::vector<float> Ramp(long frames, int channels) {
    std::vector<float> s;
    for (long n = 0; n < frames; ++n)
        for (int c = 0; c < channels; ++c) s.push_back(static_cast<float>(n % 100) / 100.0f - 0.5f);
    return s;
}

// The names in a folder (hidden ones included), sorted.
inline std::vector<std::string> Names(const std::filesystem::path& dir) {
    std::vector<std::string> out;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir, ec)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace soundtest
