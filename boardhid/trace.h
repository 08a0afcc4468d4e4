// Report trace (BOARDHID_TRACE=FILE): one line per report, appended to the file.
//
//   <monotonic seconds> OUT D4 00 02 17 FF
//   <monotonic seconds> IN 7E 1A
//
// A send the backend refused is followed by the line "<seconds> ERR send failed"; an input
// report announced with another length than it carries ends with "(length N)".
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <mutex>

namespace boardhid {

class Trace {
public:
    // A null or empty path leaves the trace off. A file that cannot be opened is reported once
    // on stderr and leaves the trace off.
    explicit Trace(const char* path);
    ~Trace();
    Trace(const Trace&) = delete;
    Trace& operator=(const Trace&) = delete;

    bool Enabled() const { return file_ != nullptr; }
    // direction is "OUT" or "IN"; announced < 0 means "as many as carried".
    void Report(const char* direction, const uint8_t* data, size_t size, int announced = -1);
    void Line(const char* text);

private:
    std::mutex mutex_;
    FILE* file_ = nullptr;
};

}  // namespace boardhid
