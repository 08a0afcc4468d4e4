// Reads and writes of the Vunt bridge's registers (bridge commands 0x30, 0x31, 0x39) and its
// routing commands.
#pragma once

#include <cstdint>

namespace device {

inline constexpr uint8_t CMD_ROUTE_USB_PCM = 0x35;
inline constexpr uint8_t CMD_ROUTE_USB_CODEC = 0x36;
inline constexpr uint8_t CMD_ROUTE_CODEC_PCM = 0x37;
inline constexpr uint8_t CMD_ROUTE_MIX_ALL = 0x38;

// Sends the read request of a bridge register and takes its one-byte reply. False (value
// untouched) when no reply of exactly one byte came; `result`, when given, receives USBRead's
// result (USB_READ_LONG for an over-long reply).
bool ReadBridgeRegister(int address, uint8_t* value, int* result = nullptr);
void WriteBridgeRegister(int address, uint8_t value);
// Command 0x39: the bits set in `keep` keep their value, the others take those of `value`.
void MaskedWriteBridgeRegister(int address, uint8_t keep, uint8_t value);

}  // namespace device
