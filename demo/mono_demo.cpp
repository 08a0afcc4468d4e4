// Mono demo panels: dB sliders, speaker ramp, ALC mode ring, equaliser and its preset ring;
// refresh from CFG_REG and tool tips; the mono output mute.
#include "demo/mono_demo.h"

#include <string>
#include <utility>

#include "capture/alc_panel.h"
#include "demo/demo_engine.h"
#include "demo/demo_services.h"
#include "device/device_services.h"
#include "device/ramps.h"
#include "panels/MNDemo_pan.h"
#include "panels/MNPykaDemo_pan.h"
#include "panels/MNPykbDemo_pan.h"
#include "link/write_action.h"
#include "runtime/ui.h"
#include "shell/handles.h"
#include "shell/state.h"

int MNDemoALCMode = 1;

namespace demo {
namespace {

using namespace ui::MNDemo_pan;

static_assert(ui::MNPykbDemo_pan::MNPykbDEMO_MNSpeakerSlide == MNDEMO_MNSpeakerSlide &&
              ui::MNPykaDemo_pan::MNPykaDEMO_MNDemoEQ5CN == MNDEMO_MNDemoEQ5CN &&
              ui::MNPykaDemo_pan::MNPykaDEMO_MNSetALC == MNDEMO_MNSetALC &&
              ui::MNPykbDemo_pan::MNPykbDEMO_MNEQPresetting == MNDEMO_MNEQPresetting);

constexpr Slider kSliders[] = {
    {MNDEMO_MNALCMIN, "ALCMINCB", 32, 0, Scale::AlcMin},
    {MNDEMO_MNALCMAX, "ALCMAXCB", 32, 3, Scale::AlcMax},
    {MNDEMO_MNINPPGASlide, "INPPGASlideCB", 45, 0, Scale::Pga},
    {MNDEMO_MNPGABoost, "PGABoostCB", 47, 8, Scale::PgaBoost},
    {MNDEMO_MNAuxBoostSlide, "AuxBoostSlideCB", 47, 0, Scale::Boost},
    {MNDEMO_MNADCSlide, "ADCSlideCB", 15, 0, Scale::Digital},
    {MNDEMO_MNDACSlide, "DACSlideCB", 11, 0, Scale::Digital},
    {MNDEMO_MNSpeakerSlide, "SpeakerSlideCB", 54, 0, Scale::Volume},
};

constexpr Equaliser kEqualiser = DEMO_EQUALISER(MNDEMO_MN, CN, 18, 18, 0x100);

struct MonoDemo {
    const char* prefix;  // of the callback names: "MN", "MNPykb", "MNPyka"
    int* panel;
    void (*ramp)(int, int, int, int);
    void (*updateAlcPanel)();
    void (*update)();
};

void UpdatePanel(const MonoDemo& m);

const MonoDemo kModels[] = {
    {"MN", &PHandleMNDemo, MNRamp, MNUpdateALCPanel, UpdateMNDemoPanel},
    {"MNPykb", &PHandleMNPykbDemo, MNPykbRamp, MNPykbUpdateALCPanel, UpdateMNPykbDemoPanel},
    {"MNPyka", &PHandleMNPykaDemo, MNPykaRamp, MNPykaUpdateALCPanel, UpdateMNPykaDemoPanel},
};
enum : int { kPykc, kPykb, kPyka };

void SetAlc(const MonoDemo& m, int panel) {
    int mode = CtrlInt(panel, MNDEMO_MNSetALC);
    if (mode == 0) {
        AlcOff(0x100);
        return;
    }
    const int timing = AlcTiming(mode);
    if (timing < 0) return;
    WriteAction action(panel, MNDEMO_MNSetALC, "ALC Mode");  // R32 and the mode's three registers
    MNDemoALCMode = mode;
    CFG_REG[32] = 0x118;  // ALC on, maximum gain code 3, minimum gain code 0
    WriteRegister(32);
    WriteAlcMode(timing);
    if (m.updateAlcPanel) m.updateAlcPanel();
    m.update();
}

void UpdatePanel(const MonoDemo& m) {
    int panel = *m.panel;
    if (panel <= 0) return;
    for (const Slider& s : kSliders) ShowSlider(panel, s);
    rt::SetCtrlVal(panel, MNDEMO_MNSetALC, (CFG_REG[32] & 0x100) ? MNDemoALCMode : 0);
    ShowEqualiser(panel, kEqualiser);
}

void InitPanel(const MonoDemo& m) {
    int panel = *m.panel;
    if (panel <= 0) return;
    SetEqToolTips(panel, kEqualiser, "0-> Equalizer applied on ADC path; 1-> Equalizer applied on DAC path");
}

void Bind(const MonoDemo& m, const std::string& name, std::function<void(int)> action) {
    BindCommit(m.prefix + name, std::move(action));
}

void Register(const MonoDemo& m) {
    for (const Slider& s : kSliders) {
        auto ramp = m.ramp;
        Bind(m, s.callback, [&s, ramp](int panel) {
            CommitSlider(panel, s, [ramp](int, int target) { ramp(MNSPKCurrentVOL, target, 0, 1); });
        });
    }
    BindEqualiser(m.prefix, "", kEqualiser);
    Bind(m, "SetALCCB", [&m](int panel) { SetAlc(m, panel); });
    Bind(m, "EQPresettingCB", [](int panel) {
        ApplyEqPreset(kEqualiser, CtrlInt(panel, MNDEMO_MNEQPresetting));
    });
}

// Runs inside the operation that mutes or unmutes (power-up, a demo preset ...): nothing goes
// out, and no wait is made, once it has stopped.
void MuteUnmute(int output) {
    WriteAction action(output == -1 ? "Mute All Outputs" : "Unmute Output");
    auto step = [](int reg, bool mute, bool wait) {
        if (mute)
            CFG_REG[reg] |= 0x040;
        else
            CFG_REG[reg] &= ~0x040u;
        WriteRegister(reg);
        if (wait) PauseInAction(0.1);
    };
    switch (output) {
        case -1: step(54, true, true); step(56, true, true); break;
        case 0: step(54, false, true); break;
        case 1: step(56, false, true); break;
        case 2:
            CFG_REG[56] &= ~0x040u;
            step(54, false, true);
            WriteRegister(56);
            break;
        default: break;
    }
}

}  // namespace

void RegisterMonoDemoCallbacks() {
    for (const MonoDemo& m : kModels) Register(m);
}

}  // namespace demo

void MNDemoMuteUnmuteOutput(int output) { demo::MuteUnmute(output); }
void MNPykbDemoMuteUnmuteOutput(int output) { demo::MuteUnmute(output); }
void MNPykaDemoMuteUnmuteOutput(int output) { demo::MuteUnmute(output); }

void MNInitDemoPanel() { demo::InitPanel(demo::kModels[demo::kPykc]); }
void MNPykbInitDemoPanel() { demo::InitPanel(demo::kModels[demo::kPykb]); }
void MNPykaInitDemoPanel() { demo::InitPanel(demo::kModels[demo::kPyka]); }
void UpdateMNDemoPanel() { demo::UpdatePanel(demo::kModels[demo::kPykc]); }
void UpdateMNPykbDemoPanel() { demo::UpdatePanel(demo::kModels[demo::kPykb]); }
void UpdateMNPykaDemoPanel() { demo::UpdatePanel(demo::kModels[demo::kPyka]); }

void ShowMNDemoEQControls(int visible) {
    using namespace ui::MNDemo_pan;
    if (PHandleMNDemo <= 0) return;
    const int controls[] = {
        MNDEMO_MNEQPresetting,
        MNDEMO_MNDemoEQ1CN, MNDEMO_MNDemoEQ2CN, MNDEMO_MNDemoEQ3CN, MNDEMO_MNDemoEQ4CN, MNDEMO_MNDemoEQ5CN,
        MNDEMO_MNDemoEQ1GN, MNDEMO_MNDemoEQ2GN, MNDEMO_MNDemoEQ3GN, MNDEMO_MNDemoEQ4GN, MNDEMO_MNDemoEQ5GN,
        MNDEMO_MNDemoEQ2BW, MNDEMO_MNDemoEQ3BW, MNDEMO_MNDemoEQ4BW, MNDEMO_MNDemoEQ3DMODE,
        MNDEMO_EQTEXT_10, MNDEMO_EQTEXT_11, MNDEMO_EQDECORATION, MNDEMO_EQSPLITTER,
    };
    for (int id : controls) rt::SetCtrlAttribute(PHandleMNDemo, id, rt::ATTR_VISIBLE, visible ? 1 : 0);
}
