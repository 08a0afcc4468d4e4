// The stereo demo module (Jorb, Zuta, Jora, Qeva, Qevb): one implementation over a description
// per model. Every stereo demo panel carries its controls under the same ids.
#pragma once

#include <string>

#include "demo/demo_engine.h"
#include "panels/cfgDemoJorb_pan.h"

namespace demo {

namespace ids = ui::cfgDemoJorb_pan;

struct StereoDemo {
    const char* model;   // "Jorb", "Zuta", ...
    const char* suffix;  // of the callback names: "" for Jorb, else the model word
    int* panel;          // the demo panel
    int* eqPanel;        // the equaliser panel whose preset operation the preset ring runs
    void (*ramp)(int reg, int target, int unmute, int refreshDemo);
    bool allSliders;  // false: Qeva's set (ALC limits, PGA, DAC, AUX mixer, outputs)
    bool bound;       // false: the controls show CFG_REG but act on nothing (Qevb)
};

// The descriptions, in this order.
enum : int { kJorb, kZuta, kJora, kQeva, kQevb };
extern const StereoDemo kModels[5];

// The description whose demo panel is `panel`, or null.
const StereoDemo* StereoDemoOfPanel(int panel);

// Sets the ALC mode ring's work (as a commit of the ring on `panel`).
void StereoSetAlc(const StereoDemo& m, int panel);

void RegisterStereoDemoCallbacks();

}  // namespace demo
