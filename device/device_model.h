// One device-control implementation for every model, driven by a description per model: its
// panel, the control ids of each role on it, its Config Board variant, its codec interface
// register and the features it has.
#pragma once

#include <cstdint>

namespace device {

enum class DevId { Jorb, Zuta, Zutb, Jora, Qeva, Qevb, Pykc, Pykb, Pyka };
inline constexpr int kDevModelCount = 9;

// How "Config Board" configures board and codec for each interface.
enum class ConfigVariant {
    Common,  // both SPI and I2C: the codec bit in R7, written in 3-wire framing between two words
    Jorb,    // 4-wire: one word, then the interface bit in R73
    Zuta,    // 4-wire: R7 first (4-wire framing), then the word with the mode pin bit set
    Zutb,    // bridge registers around the word, the interface bit in R105, never R7
};

// Control ids of one device-control panel by role; 0 where the panel has no such control.
struct DevCtrlIds {
    // Command interface
    int spi3, spi4, i2c, external, modePin, i2cClock, configBoard;
    // I2S signal connection
    int usbI2S, apMaster, daMaster, apSlave, daSlave, direct, digitalReset;
    // Vunt bridge: registers, routing, PCM transmitter
    int regAddr, regVal, regRead, regWrite, usbCodec, usbPcm, codecPcm, mixAll, pcmtEnable, pcmtDisable;
    int vuntConfigEn;
    // PCM frame and bit clock
    int bitClock, fsLocation, fsLength, fsDelay;
};

struct DevModel {
    DevId id;
    const char* name;
    int* panel;  // the device-control panel (Qevb: its demo panel, which carries the board block)
    DevCtrlIds ids;
    ConfigVariant variant;
    int interfaceReg;        // the codec register whose bit 8 selects SPI (R7; Jorb 4-wire R73; Zutb R105)
    bool interfaceFromMenu;  // Qevb: the interface comes from the Mode menu's marks, not from boxes
    bool stereo;             // the stereo USB I2S box also asks for a redraw on every commit
};

const DevModel& Model(DevId id);
// The model whose device-control panel is `panel`, or `fallback` when no model owns it (a panel
// that borrows another model's callback then gives its controls that model's ids).
const DevModel& ModelOfPanel(int panel, DevId fallback);
// The panel an operation acts on: the one it was called with, else the model's own.
int PanelFor(const DevModel& m, int panel);

// Controls by id on a panel; an id of 0 (no such control) reads 0 and ignores changes.
int CtrlValue(int panel, int id);
void SetCtrl(int panel, int id, int value);
void DimCtrl(int panel, int id, int dimmed);

// The operations of the board block (every name of the original is bound to one of these with
// its model).
enum class BoardOp {
    Spi3W, Spi4W, I2C, External, ModeSelect, I2CClock, ConfigBoard,
    DigitalReset, UsbI2S, ApMaster, DaMaster, ApSlave, DaSlave, Direct,
    RegRead, RegWrite, UsbCodec, UsbPcm, CodecPcm, MixAll, PcmtEnable, PcmtDisable,
    BitClock, FsLocation, FsLength, FsDelay, VuntConfigEn, ConfigVuntPcm,
};

// Runs a board-block operation of `model` on `panel` (a callback's arguments; the model of the
// panel wins when the panel belongs to another model); acts on commit only and returns 0.
int RunBoardOp(DevId model, BoardOp op, int panel, int control, int event);
// The two halves: the interface and I2S boxes with Config Board, and the bridge operations.
int RunBoardBoxOp(DevId model, BoardOp op, int panel, int control, int event);
int RunBridgeOp(DevId model, BoardOp op, int panel, int event);

// Packs the board configuration word from the model's own panel (sets CommMode from the
// interface boxes, FlagAudioInterfaceActive and FlagCFGUpdate). No traffic.
void PackBoardWord(DevId model, unsigned char word[2]);

// Re-applies CommMode on the model's panel: ticks the matching interface box and runs its
// operation (Qevb: CommMode 0 ticks "External Control"). Other values do nothing.
void EnableCommModeOf(DevId model);

// Ticks the mode box of `mode` (0x40, 0x80, 0xC0) on the model's panel and runs its operation;
// Qevb runs its interface operation (which acts only while the Mode menu carries the mark).
void RunModeChoice(DevId model, uint8_t mode);

// The model whose tab set is loaded (Jorb when none is): the Mode menu acts on it.
DevId LoadedDevModel();

}  // namespace device
