// Reads and writes of the Vunt bridge's registers (bridge commands 0x30, 0x31, 0x39) and its
// routing commands.
//
// These three operations are the one way the program reaches a bridge register, from the
// device-control panels, the register maps and the scripts alike, because they keep the record of
// what the board holds: each value the board took or answered with, per bit, for as long as the
// board stays open. A write the board refuses leaves the board, and so the record, as it was. The
// board keeps only the registers of its window (0x1440 to 0x1FFF): a write elsewhere is sent as
// asked but records nothing, and a read there shows what the board answered without recording it.
#pragma once

#include <cstdint>

namespace device {

inline constexpr uint8_t CMD_ROUTE_USB_PCM = 0x35;
inline constexpr uint8_t CMD_ROUTE_USB_CODEC = 0x36;
inline constexpr uint8_t CMD_ROUTE_CODEC_PCM = 0x37;
inline constexpr uint8_t CMD_ROUTE_MIX_ALL = 0x38;

// The bridge registers the board keeps.
inline constexpr int kFirstBridgeRegister = 0x1440;
inline constexpr int kLastBridgeRegister = 0x1FFF;

// Sends the read request of a bridge register and takes its one-byte reply. False (value
// untouched) when no reply of exactly one byte came; `result`, when given, receives USBRead's
// result (USB_READ_LONG for an over-long reply).
bool ReadBridgeRegister(int address, uint8_t* value, int* result = nullptr);
void WriteBridgeRegister(int address, uint8_t value);
// Command 0x39: the bits set in `keep` keep their value, the others take those of `value`.
void MaskedWriteBridgeRegister(int address, uint8_t keep, uint8_t value);

// A user's "Write" of the bridge register in `addressBox` with the value in `valueBox`: when the
// board refuses it, the value box goes back to what the board holds and one "Warning" says so,
// naming the box by its label (else `fallbackLabel`); when that is not known, the box keeps its
// value and the popup says that the panel may differ from the board.
void WriteBridgeRegisterFromBoxes(int panel, int addressBox, int valueBox, const char* fallbackLabel);

}  // namespace device
