// Start values of the codec's registers 0 to 63 (the chip after a reset; all others are 0).
// Shared by the emulated board and the program's register copy.
#pragma once

#include <cstdint>

namespace boardhid {

inline constexpr uint16_t kCodecStartValues[64] = {
    0,    0,    0,    0,    0x50, 0,    0x140, 0,      // 0-7
    0,    0,    0,    0xFF, 0xFF, 0,    0x100, 0xFF,   // 8-15
    0xFF, 0,    0x12C, 0x2C, 0x2C, 0x2C, 0x2C, 0,     // 16-23
    0x32, 0,    0,    0,    0,    0,    0,    0,       // 24-31
    0x38, 0x0B, 0x32, 0x10, 0x08, 0x0C, 0x93, 0xE9,    // 32-39
    0,    0,    0,    0,    0x33, 0x10, 0x10, 0x100,   // 40-47
    0x100, 0x02, 0x01, 0x01, 0x39, 0x39, 0x39, 0x39,   // 48-55
    0x01, 0x01, 0,    0,    0x20, 0,    0,    0x1A,    // 56-63
};

}  // namespace boardhid
