// A way to reach the board: the real one over hidraw, or the emulated one.
#pragma once

#include <cstdint>

namespace boardhid {

class Backend {
public:
    virtual ~Backend() = default;
    // True when the board is open (also when it already was).
    virtual bool Open() = 0;
    virtual void Close() = 0;
    virtual bool IsPlugged() = 0;
    // Sends one output report of 1 to 64 bytes; true when it went out. Replies are pushed to
    // the library's InputReports as they arrive.
    virtual bool Send(const uint8_t* report, int size) = 0;
};

}  // namespace boardhid
