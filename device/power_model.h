// The power half of each model's device-control description: which sequence family its
// power-up, power-down and reset follow, its software-reset register, its power-management
// controls and the register field each one shows, its update bits and group table, the demo
// output operations and ramp its sequences use, and the boost icons of its path panel.
#pragma once

#include <vector>

#include "device/device_model.h"

struct ConfigGroup;
struct UpdateBitsRegister;

namespace device {

enum class PowerFamily {
    Stereo,    // Jorb, Zuta, Jora, Qeva: bulk write of the copy, outputs through the demo operations
    Zutb,      // its own register map: four writes up, R6 down, reset on R15
    Mono,      // Pykc, Pyka: the supply-dependent register walk with the speaker ramp
    MonoPykb,  // as Mono, but nothing beyond the clock set-up with the 3.3 V supply
};

// How a power control maps onto the register copy.
enum class PowerFieldKind {
    Field,    // bits `mask << shift` of `reg`
    MicBias,  // Zutb: R6[0], and R6[8] set with it
    RefImp,   // Zutb: 0 clears R33[3]; 1 to 3 put the value less 1 into R10[3:2] and set R33[3]
    None,     // bound to the operation, but changes nothing but the redraw flag (Zutb)
};

struct PowerCtrl {
    int id;     // control id on the device-control panel
    int group;  // 1 to 4: the power operation it is bound to (registers 1, 2, 3, 58 on most models)
    int reg;
    int shift;
    unsigned mask;  // of the field, before the shift
    PowerFieldKind kind;
};

using ReadAllFn = int (*)(int, int, int, void*, int, int);
using OutputFn = void (*)(int);
using RampFn = void (*)(int, int, int, int);

struct PowerButtonIds {
    int reset, powerUp, powerDown, loadBits, muteAll, enableAll, disableAll, initBoard, initDevice;
    int vdd33, vdd5;  // the speaker supply pair (0: none)
};

struct PowerModel {
    DevId id;
    PowerFamily family;
    int resetReg;
    // Stereo models rebuild registers 1, 2, 3, 58 whole from the controls of groups 1 to 4;
    // Zutb changes one field per control.
    bool wholeRegisters;
    int groupReg[5];  // register of group 1 to 4 (index 0 unused)
    std::vector<PowerCtrl> ctrls;
    PowerButtonIds buttons;
    const UpdateBitsRegister* const* updateBits;  // null: none (mono)
    ConfigGroup* const* groups;                   // emptied "Software Reset" after the stereo power-up
    OutputFn mute;                                // demo output operations (stereo)
    OutputFn turnOnOff;
    RampFn ramp;  // mono speaker ramp
    int* pathPanel;
    std::vector<int> boostIcons;  // dimmed by the 3.3 V power-up and the reset
    ReadAllFn readAll;            // read-back after a reset
    int* regMapPanel;
    bool setsR14;  // the stereo power-up sets R14[3] (not Qeva)
};

const PowerModel& PowerOf(DevId id);

enum class PowerOp {
    Reset, PowerUp, PowerDown, LoadUpdateBits, MuteAll, EnableAll, DisableAll, InitBoard, InitDevice,
    Power1, Power2, Power3, Power4, Vddspk,
};

// Runs a power operation of `model` (a callback's arguments); acts on commit only, returns 0.
int RunPowerOp(DevId model, PowerOp op, int panel, int control, int event);

// Sets every power control of the model's panel from CFG_REG. No traffic.
void RefreshPowerControls(DevId model);

}  // namespace device
