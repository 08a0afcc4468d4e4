// One DAC panel module for every model, driven by a description per model: its panel, the
// rings it fills at start-up, its callbacks as groups of controls bound to register fields with
// their send plans, and its clock and PLL block.
#pragma once

#include <string>
#include <vector>

#include "playback/dac_fields.h"

namespace dac {

// The clock and PLL block of a DAC panel: its controls, where its settings live and its quirks.
struct ClockModel {
    // controls
    int vmid = 0, pllEnable = 0, mode = 0, prescaleMode = 0, dividerMode = 0, prescale = 0, divider = 0;
    int mclk = 0, fs = 0, imclk = 0, f2 = 0, n = 0, k1 = 0, k2 = 0, k3 = 0, calculate = 0, configure = 0;
    int block = 0;  // PLL block choice (0: the model has one block)
    int sampleRate = 0;
    // The master-clock divider field (MCLKSEL).
    int dividerReg = 6;
    unsigned dividerMask = 0x0E0;
    // The reference-impedance field; with an enable bit, the ring's -1 stands for "open" (the
    // bit clear), else the field's 0 does.
    int vmidReg = 1;
    unsigned vmidMask = 0x003;
    int vmidEnableReg = 0;
    unsigned vmidEnableMask = 0;
    // First register of each PLL block (prescale bit 4, N bits 3:0, then K1, K2, K3); with two
    // blocks, blockMask of the second block's first register says that block is in use.
    std::vector<int> blocks{36};
    unsigned blockMask = 0;
    bool jorbx = false;           // R72 "192kHz Sampling" follows the rate; 192 kHz searches at 96
    bool openDimsInputs = true;   // open circuit also dims the prescale mode, prescale and fs
    std::string suffix;           // STVMIDSELCB<suffix>, STMCLKCB<suffix>, ...
    std::string clockCallback;    // the clock group run as a commit by a divider change
};

struct DacModel {
    const char* name = "";
    int* panel = nullptr;
    std::vector<fieldpanel::RingFill> fills{};
    std::vector<fieldpanel::Group> groups{};
    ClockModel clock{};
};

// The models: stereo (Jorb and Jorbx, Zuta, Jora, Qeva), Zutb, mono (Pykc and Pykd, Pykb, Pyka).
const DacModel& JorbDac();
const DacModel& ZutaDac();
const DacModel& JoraDac();
const DacModel& QevaDac();
const DacModel& ZutbDac();
const DacModel& PykcDac();
const DacModel& PykbDac();
const DacModel& PykaDac();

void Init(const DacModel& m);
void Update(const DacModel& m);
void Register(const DacModel& m);

// The clock block's groups (VMID, default or custom, input change, Config PLL, Calculate),
// bound to the model they serve.
std::vector<fieldpanel::Group> ClockGroups(const DacModel* m);
void RefreshClock(const DacModel& m, int panel);
// Forgets which PLL block the last refresh saw in use (the panel was loaded afresh).
void ForgetPllBlock(const DacModel& m);
// The Jorb panel's step before its clock writes: R72 "192kHz Sampling" set for Jorbx at 192 kHz.
fieldpanel::Action JorbxRateStep(const DacModel* m);
// Shows IMCLK and f2 from the rate and divider and puts the default N and K in the entries.
void ResetPLLConfiguration(const DacModel& m, int panel);

}  // namespace dac
