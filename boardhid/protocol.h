// The board's report frame and command set, as far as the library itself needs them.
#pragma once

#include <cstdint>

#include "boardhid/codec_start_values.h"

namespace boardhid {

inline constexpr int kReportSize = 64;  // largest report either way
inline constexpr int kHeaderSize = 3;   // command byte, payload length high, low

// Codec register file of the board's codec.
inline constexpr int kCodecRegisterCount = 128;
// Start values of registers 0 to 63 (the codec's reset state); 64 to 127 start at 0.

// Bridge register window.
inline constexpr int kBridgeFirst = 0x1440;
inline constexpr int kBridgeLast = 0x1FFF;

// Codec commands carry the bus in their top two bits: 0xC0 I2C, 0x80 4-wire SPI, 0x40 3-wire
// SPI (write only). Their low codes:
inline constexpr uint8_t kCodecReadOne = 0x10;
inline constexpr uint8_t kCodecReadBlock1 = 0x11;   // registers 1 to 24
inline constexpr uint8_t kCodecReadBlock2 = 0x12;   // registers 25 to 48
inline constexpr uint8_t kCodecReadBlock3 = 0x13;   // registers 49 to 63
inline constexpr uint8_t kCodecWriteOne = 0x14;
inline constexpr uint8_t kCodecWriteBlock1 = 0x15;  // block writes: any number of pairs
inline constexpr uint8_t kCodecWriteBlock3 = 0x17;
inline constexpr uint8_t kModeMask = 0xC0;
inline constexpr uint8_t kMode3WireSpi = 0x40;

// Board commands (no bus bits).
inline constexpr uint8_t kFirmwareDate = 0x20;
inline constexpr uint8_t kBridgeRead = 0x30;
inline constexpr uint8_t kBridgeWrite = 0x31;
inline constexpr uint8_t kBoardConfigWord = 0x34;
inline constexpr uint8_t kRouteFirst = 0x35;
inline constexpr uint8_t kRouteLast = 0x38;
inline constexpr uint8_t kBridgeMaskedWrite = 0x39;
inline constexpr int kFirmwareDateLength = 20;

// When `command` is a codec command (bus bits set, low code 0x10 to 0x17), stores its bus bits
// and low code and returns true.
bool DecodeCodecCommand(uint8_t command, uint8_t* mode, uint8_t* code);

// Length of the reply the board sends to this output report, 0 when it sends none.
int ExpectedReplyLength(const uint8_t* report, int size);

}  // namespace boardhid
