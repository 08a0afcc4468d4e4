#include "boardhid/protocol.h"

namespace boardhid {

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
