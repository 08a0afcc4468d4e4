// Input reports waiting for the program, oldest first.
//
// Every report made pending signals the input event. The program's listener resets the event
// before it asks for the length, so a report that arrives meanwhile would go unnoticed: taking
// a report while others still wait signals the event again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include "oslayer/os.h"

namespace boardhid {

class Trace;

class InputReports {
public:
    // event may be null (then nothing is signalled); trace may be null.
    InputReports(os::EventHandle event, Trace* trace);

    // Makes a report pending. `announced` is the length GetDataLength will give for it (the
    // size carried, unless a fault says otherwise); reports longer than 64 bytes are cut.
    void Push(const uint8_t* data, size_t size, int announced);
    void Push(const std::vector<uint8_t>& data) { Push(data.data(), data.size(), static_cast<int>(data.size())); }

    // Length of the oldest pending report (1 to 64), 0 when none. A report announcing a length
    // outside 1 to 64 cannot be fetched: it is dropped, and 0 is returned.
    int PendingLength();
    // Copies the oldest pending report into `out` (64 bytes) and drops it; returns the bytes
    // copied, 0 when none is pending.
    int Take(uint8_t* out);
    void Clear();
    size_t Count() const;

private:
    struct Report {
        std::vector<uint8_t> data;
        int announced;
    };
    static constexpr size_t kMaxPending = 256;  // beyond that the oldest is dropped

    void SignalIfPendingLocked();

    os::EventHandle event_;
    Trace* trace_;
    mutable std::mutex mutex_;
    std::deque<Report> queue_;
};

}  // namespace boardhid
