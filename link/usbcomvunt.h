// The device link: the only way the program reaches the evaluation board.
//
// Binds libboardhid.so by name, sends one output report at a time under a send lock, runs a
// listener on a worker thread that fetches each pending input report into the receive buffer,
// and lets the UI thread wait for that report. On top of the transport sit the codec register
// operations: write one, write all (three blocks), read one, read all.
#pragma once

#include <cstdint>

namespace os { struct Event; struct Semaphore; }

// ---- transport state ---------------------------------------------------------------------
extern uint8_t USBTXBuffer[64];
extern uint8_t USBRXBuffer[64];
extern uint8_t DataSizeInHIDFIFO;
extern int AlwaysListening;
// Bit 0: the board is open. Bit 1: the audio id was confirmed. 0 refuses all traffic.
extern int bDeviceOpened;

// The board library's file name on this platform.
inline constexpr const char* kBoardLibraryName = "libboardhid.so";

// Report limits: three header bytes and at most 61 payload bytes.
inline constexpr int kMaxReport = 64;
inline constexpr int kMaxPayload = 61;

// Command bytes (codec commands are OR-ed with CommMode).
inline constexpr uint8_t CMD_CODEC_READ_ONE = 0x10;
inline constexpr uint8_t CMD_CODEC_READ_BLOCK1 = 0x11;
inline constexpr uint8_t CMD_CODEC_READ_BLOCK2 = 0x12;
inline constexpr uint8_t CMD_CODEC_READ_BLOCK3 = 0x13;
inline constexpr uint8_t CMD_CODEC_WRITE_ONE = 0x14;
inline constexpr uint8_t CMD_CODEC_WRITE_BLOCK1 = 0x15;
inline constexpr uint8_t CMD_CODEC_WRITE_BLOCK2 = 0x16;
inline constexpr uint8_t CMD_CODEC_WRITE_BLOCK3 = 0x17;
inline constexpr uint8_t CMD_FW_DATE = 0x20;
inline constexpr uint8_t CMD_AUDIO_ID = 0xD0;
inline constexpr uint8_t CMD_BRIDGE_READ = 0x30;
inline constexpr uint8_t CMD_BRIDGE_WRITE = 0x31;
inline constexpr uint8_t CMD_BOARD_CONFIG = 0x34;
inline constexpr uint8_t CMD_BRIDGE_MASKED_WRITE = 0x39;

// USBInit results other than 1.
inline constexpr int USB_ERR_LOCK = 6;
inline constexpr int USB_ERR_EVENT = 7;
inline constexpr int USB_ERR_LIBRARY = 8;
// USBSend / USBRead results other than 1 and 0.
inline constexpr int USB_READ_SHORT = -1;
inline constexpr int USB_READ_LONG = 2;
inline constexpr int USB_TIMEOUT = 4;
inline constexpr int USB_SEND_BUSY = 5;

// ---- library binding ---------------------------------------------------------------------
// 1 when the library is loaded and all nine operations are bound; 0 otherwise (then no slot
// stays bound: a partial library counts as no board).
int LoadHidModule();
void FreeHidModule();
bool HidModuleBound();
// Replaces the library file name (tests load stand-in libraries); null restores the default.
void SetBoardLibraryName(const char* fileName);

// The nine operations, each refusing (returning 0) while unbound.
int HidOpenDevice();        // OpenDevice(2, 1, 0)
int HidCloseDevice();
int HidIsDevicePlugged();
// Changes at every opening and closing of the board: what the program learnt of the board's own
// state (its bridge registers) holds only while this stays the same.
unsigned BoardSession();

// ---- transport ---------------------------------------------------------------------------
int GetSemaphore(os::Semaphore* handle, int milliseconds);
// Sends one report: command, length high, length low, payload. 1 sent; 0 board not open, bad
// arguments (payload over 61 bytes) or failed send; 5 send lock busy for 300 ms. A send that
// failed because the board is no longer on the bus closes the link as a removal would.
int USBSend(uint8_t command, uint16_t length, const uint8_t* payload);
// Waits for the reply and copies `length` (1 to 64) bytes. 1 exact length; -1 stored reply
// shorter; 2 longer; 4 no reply within 300 ms or read lock busy; 0 board not open, bad length,
// or the last request was not sent (no reply can come: nothing is waited for).
// No reply because the board is no longer on the bus closes the link as a removal would.
int USBRead(int length, uint8_t* destination);
int CheckUSBMessage();
int USBcomStart();
int USBcomStop();
int ReleaseUSB();
int USBhidInit();
int USBInit();
int ReleaseUsbSemaphoreSend();
int ReleaseUsbSemaphoreRead();
// Stops the listener: clears its run flag, wakes it and waits (bounded) until it has ended.
void StopListener();
// True while a listener is running (tests check that at most one runs).
int ListenersRunning();

// ---- codec registers ---------------------------------------------------------------------
// Sends CFG_REG[reg] to the chip, after the I2C guard (bit 8 of the interface register must
// stay 0 under I2C) and the 4-wire SPI reset question (asked before a write of the chip's
// software-reset register). Registers outside 0 to 127 are refused (a two-byte pair cannot carry
// them). Returns 1 when the report was sent, ZELQX_WRITE_DECLINED when the user answered No to
// the reset question (which stops a running ChipOperation), 0 otherwise (guard, board not
// open, send refused).
int ZelqxWriteOneReg(int reg);
inline constexpr int ZELQX_WRITE_DECLINED = -1;
// True when the I2C guard of ZelqxWriteOneReg refuses to send `value` to `reg` under the present
// communication mode (bit 8 of the interface register set under I2C).
bool InterfaceGuardRefuses(int reg, uint32_t value);
// The software-reset register of the loaded chip: 15 on Zutb (whose register 0 is the left PGA
// gain), 0 on every other model.
int SoftwareResetRegister();
// The register whose bit 8 selects the codec's SPI interface under `mode` on the loaded chip:
// R105 on Zutb, R73 on Jorb under 4-wire SPI (its I2C switch clears R7[8]), R7 otherwise. The
// mode guards check it and their popups name it.
int InterfaceRegister(uint8_t mode);
// Sends registers 1 to 63 from CFG_REG in three blocks, advancing the progress bar by 2 before
// each and waiting 1.0 s after each. Returns 1 when all went out; 0 when a mode guard refused
// (it says why) or the board refused a block (nothing after it is sent; the write runs as a
// ChipOperation, so the refusal is told).
int ZelqxWriteAllReg(int useMessage, const char* message);
// The 9-bit value of `reg`, or -1 when no reply of exactly two bytes came.
int ReadZelqxOneReg(int reg);
// Reads register 0 into CFG_REG[0] (through the register-map read), then registers 1 to 63
// into destination[0..62]. 1 on success; 0 on any failed reply, destination untouched.
int ReadZelqxAllReg(int* destination);
// The same reads, keeping what was answered: registers 1 to 63 in three blocks (24, 24, 15) into
// destination[0..62] up to the first block that failed. Returns how many registers were read
// (0, 24, 48 or 63); the slots after them are untouched.
int ReadZelqxRegisterBlocks(int* destination);

// Builds the two-byte pair of a register: (reg << 1) | D8, then D7..D0.
void PackRegisterPair(int reg, uint32_t value, uint8_t out[2]);
// The 9-bit value carried by a pair in a reply.
inline int UnpackRegisterPair(const uint8_t pair[2]) { return ((pair[0] & 1) << 8) | pair[1]; }
