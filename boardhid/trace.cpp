#include "boardhid/trace.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>

namespace boardhid {

namespace {

std::string Timestamp() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    const auto us = std::chrono::duration_cast<std::chrono::microseconds>(now).count();
    char text[40];
    std::snprintf(text, sizeof text, "%lld.%06lld", static_cast<long long>(us / 1000000),
                  static_cast<long long>(us % 1000000));
    return text;
}

}  // namespace

Trace::Trace(const char* path) {
    if (path == nullptr || *path == '\0') return;
    file_ = std::fopen(path, "a");
    if (file_ == nullptr)
        std::fprintf(stderr, "boardhid: cannot open trace file %s: %s\n", path, std::strerror(errno));
}

Trace::~Trace() {
    if (file_ != nullptr) std::fclose(file_);
}

void Trace::Report(const char* direction, const uint8_t* data, size_t size, int announced) {
    if (file_ == nullptr) return;
    std::string line = Timestamp();
    line += ' ';
    line += direction;
    char hex[4];
    for (size_t i = 0; i < size; ++i) {
        std::snprintf(hex, sizeof hex, " %02X", data[i]);
        line += hex;
    }
    if (announced >= 0 && static_cast<size_t>(announced) != size)
        line += " (length " + std::to_string(announced) + ")";
    line += '\n';
    std::lock_guard<std::mutex> lock(mutex_);
    std::fputs(line.c_str(), file_);
    std::fflush(file_);
}

void Trace::Line(const char* text) {
    if (file_ == nullptr) return;
    const std::string line = Timestamp() + " " + text + "\n";
    std::lock_guard<std::mutex> lock(mutex_);
    std::fputs(line.c_str(), file_);
    std::fflush(file_);
}

}  // namespace boardhid
