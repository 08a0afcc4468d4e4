// Output volume ramps. One stereo and one mono implementation; the model twins differ only in
// the demo panel they redraw after each step.
//
// The walk starts from the volume the chip holds (bits 5:0 of the register in CFG_REG), not
// from the remembered code alone: loads of configuration sets, resets, read-backs and register
// map edits change the field without touching the remembered codes, and a ramp that started
// from a stale code would jump on its first write. The one exception is a muted output that the
// ramp unmutes: the output is silent, so the caller's remembered code is the fade-in's start
// (the mono power-up sets it to 37 and ramps to 57 in 20 steps).
//
// A step the board refuses ends the ramp there (told once): the copy and the remembered code
// keep the last code the chip took.
#include "device/ramps.h"

#include "demo/demo_services.h"
#include "device/device_services.h"
#include "link/chip_operation.h"
#include "link/usbcomvunt.h"
#include "shell/progress.h"
#include "shell/state.h"

namespace {

constexpr uint32_t kVolume = 0x03F;
constexpr uint32_t kMute = 0x040;
constexpr uint32_t kLatch = 0x100;

using Refresh = void (*)();

int StartCode(int reg, int remembered, int unmute) {
    bool muted = (CFG_REG[reg] & kMute) != 0;
    if (unmute && muted) return remembered & static_cast<int>(kVolume);
    return static_cast<int>(CFG_REG[reg] & kVolume);
}

void Walk(int reg, int* remembered, int target, int unmute, bool latch, int refreshDemo, Refresh refresh,
          double wait) {
    if (target < 0) target = 0;
    if (target > 63) target = 63;
    ChipOperation ramp("Volume ramp");
    if (ramp.Stopped()) return;
    int c = StartCode(reg, *remembered, unmute);
    if (unmute) CFG_REG[reg] &= ~kMute;
    if (latch) CFG_REG[reg] |= kLatch;
    while (c != target) {
        const int next = c + (c < target ? 1 : -1);
        CFG_REG[reg] = (CFG_REG[reg] & ~kVolume) | static_cast<uint32_t>(next);
        ZelqxWriteOneReg(reg);
        if (ramp.Stopped()) {
            CFG_REG[reg] = (CFG_REG[reg] & ~kVolume) | static_cast<uint32_t>(c);
            break;
        }
        c = next;
        if (refreshDemo && refresh) refresh();
        wbDelay(wait);
    }
    *remembered = c;
    FlagCFGUpdate = 1;
}

int* StereoRemembered(int reg) {
    switch (reg) {
        case 52: return &STLout1CurrentVOL;
        case 53: return &STRout1CurrentVOL;
        case 54: return &STLout2CurrentVOL;
        case 55: return &STRout2CurrentVOL;
        default: return nullptr;
    }
}

void StereoRamp(int reg, int target, int unmute, int refreshDemo, Refresh refresh) {
    int* remembered = StereoRemembered(reg);
    if (!remembered) return;  // only the headphone and speaker registers have a ramp
    Walk(reg, remembered, target, unmute, true, refreshDemo, refresh, 0.01);
}

void MonoRamp(int target, int unmute, int refreshDemo, Refresh refresh) {
    Walk(54, &MNSPKCurrentVOL, target, unmute, false, refreshDemo, refresh, 0.001);
}

}  // namespace

void STRamp(int reg, int target, int unmute, int refreshDemo) {
    StereoRamp(reg, target, unmute, refreshDemo, UpdateSTDemoPanel);
}
void STRampZuta(int reg, int target, int unmute, int refreshDemo) {
    StereoRamp(reg, target, unmute, refreshDemo, UpdateSTDemoPanelZuta);
}
void STRamp_Jora(int reg, int target, int unmute, int refreshDemo) {
    StereoRamp(reg, target, unmute, refreshDemo, UpdateSTDemoPanel_Jora);
}
void STRamp_Qeva(int reg, int target, int unmute, int refreshDemo) {
    StereoRamp(reg, target, unmute, refreshDemo, UpdateSTDemoPanel_Qeva);
}
void MNRamp(int, int target, int unmute, int refreshDemo) { MonoRamp(target, unmute, refreshDemo, UpdateMNDemoPanel); }
void MNPykbRamp(int, int target, int unmute, int refreshDemo) {
    MonoRamp(target, unmute, refreshDemo, UpdateMNPykbDemoPanel);
}
void MNPykaRamp(int, int target, int unmute, int refreshDemo) {
    MonoRamp(target, unmute, refreshDemo, UpdateMNPykaDemoPanel);
}
