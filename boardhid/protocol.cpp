#include "boardhid/protocol.h"

namespace boardhid {

const uint16_t kCodecStartValues[64] = {
    0,    0,    0,    0,    0x50, 0,    0x140, 0,      // 0-7
    0,    0,    0,    0xFF, 0xFF, 0,    0x100, 0xFF,   // 8-15
    0xFF, 0,    0x12C, 0x2C, 0x2C, 0x2C, 0x2C, 0,     // 16-23
    0x32, 0,    0,    0,    0,    0,    0,    0,       // 24-31
    0x38, 0x0B, 0x32, 0x10, 0x08, 0x0C, 0x93, 0xE9,    // 32-39
    0,    0,    0,    0,    0x33, 0x10, 0x10, 0x100,   // 40-47
    0x100, 0x02, 0x01, 0x01, 0x39, 0x39, 0x39, 0x39,   // 48-55
    0x01, 0x01, 0,    0,    0x20, 0,    0,    0x1A,    // 56-63
};

bool DecodeCodecCommand(uint8_t command, uint8_t* mode, uint8_t* code) {
    const uint8_t m = command & kModeMask;
    const uint8_t c = command & 0x3F;
    if (m == 0 || c < kCodecReadOne || c > kCodecWriteBlock3) return false;
    *mode = m;
    *code = c;
    return true;
}

int ExpectedReplyLength(const uint8_t* report, int size) {
    if (report == nullptr || size < 1) return 0;
    uint8_t mode = 0, code = 0;
    if (DecodeCodecCommand(report[0], &mode, &code)) {
        if (mode == kMode3WireSpi) return 0;  // 3-wire SPI cannot read
        switch (code) {
            case kCodecReadOne: return 2;
            case kCodecReadBlock1:
            case kCodecReadBlock2: return 48;
            case kCodecReadBlock3: return 30;
            default: return 0;
        }
    }
    switch (report[0]) {
        case kFirmwareDate: return kFirmwareDateLength;
        case kBridgeRead: return 1;
        default: return 0;
    }
}

}  // namespace boardhid
