// Stereo demo panels: dB sliders, equaliser, ALC channel boxes and mode ring, equaliser-preset
// ring; their refresh from CFG_REG and their tool tips.
#include "demo/stereo_demo.h"

#include <iterator>
#include <utility>

#include "capture/eq_panel.h"
#include "demo/demo_services.h"
#include "device/ramps.h"
#include "panels/cfgDemoJora_pan.h"
#include "panels/cfgDemoQeva_pan.h"
#include "panels/cfgDemoZuta_pan.h"
#include "link/write_action.h"
#include "runtime/ui.h"
#include "shell/handles.h"
#include "shell/state.h"

int DemoALCMode = 1;

namespace demo {
namespace {

using namespace ids;

// Every stereo demo panel carries its controls under the Jorb panel's ids.
#define SAME_ID(file, name) static_assert(ui::file::STDemo_##name == STDemo_##name, #file " " #name)
SAME_ID(cfgDemoZuta_pan, STLPGASlide);
SAME_ID(cfgDemoZuta_pan, STSPKPSlide);
SAME_ID(cfgDemoZuta_pan, STEQPresetting);
SAME_ID(cfgDemoZuta_pan, STSetALC);
SAME_ID(cfgDemoJora_pan, STLPGABoostSlide);
SAME_ID(cfgDemoJora_pan, STDemoEQ5CF);
SAME_ID(cfgDemoJora_pan, STALCRight);
SAME_ID(cfgDemoQeva_pan, STAUXRVolSlide);
SAME_ID(cfgDemoQeva_pan, STDemoEQ4BW);
SAME_ID(cfgDemoQeva_pan, STALCMaxSlide);
#undef SAME_ID

constexpr Slider kSliders[] = {
    {STDemo_STALCMinSlide, "STALCMinSlideCB", 32, 0, Scale::AlcMin},
    {STDemo_STALCMaxSlide, "STALCMaxSlideCB", 32, 3, Scale::AlcMax},
    {STDemo_STLPGASlide, "STLPGASlideCB", 45, 0, Scale::Pga},
    {STDemo_STRPGASlide, "STRPGASlideCB", 46, 0, Scale::Pga},
    {STDemo_STLDACSlide, "STLDACSlideCB", 11, 0, Scale::Digital},
    {STDemo_STRDACSlide, "STRDACSlideCB", 12, 0, Scale::Digital},
    {STDemo_STAUXLVolSlide, "STAUXLVolSlideCB", 50, 6, Scale::Mixer},
    {STDemo_STAUXRVolSlide, "STAUXRVolSlideCB", 51, 6, Scale::Mixer},
    {STDemo_STHPNSlide, "STHPNSlideCB", 52, 0, Scale::Volume},
    {STDemo_STHPPSlide, "STHPPSlideCB", 53, 0, Scale::Volume},
    {STDemo_STSPKNSlide, "STSPKNSlideCB", 54, 0, Scale::Volume},
    {STDemo_STSPKPSlide, "STSPKPSlideCB", 55, 0, Scale::Volume},
    // Qeva's set ends here; the others have these as well.
    {STDemo_STLPGABoostSlide, "STLPGABoostSlideCB", 47, 8, Scale::PgaBoost},
    {STDemo_STRPGABoostSlide, "STRPGABoostSlideCB", 48, 8, Scale::PgaBoost},
    {STDemo_STAUXLSlide, "STAUXLSlideCB", 47, 0, Scale::Boost},
    {STDemo_STAUXRSlide, "STAUXRSlideCB", 48, 0, Scale::Boost},
    {STDemo_STL2Slide, "STL2SlideCB", 47, 4, Scale::Boost},
    {STDemo_STR2Slide, "STR2SlideCB", 48, 4, Scale::Boost},
    {STDemo_STBYPLVolSlide, "STBYPLVolSlideCB", 50, 2, Scale::Mixer},
    {STDemo_STBYPRSlide, "STBYPRSlideCB", 51, 2, Scale::Mixer},
    {STDemo_STLADCSlide, "STLADCSlideCB", 15, 0, Scale::Digital},
    {STDemo_STRADCSlide, "STRADCSlideCB", 16, 0, Scale::Digital},
};
constexpr int kQevaSliders = 12;

constexpr Equaliser kEqualiser = DEMO_EQUALISER(STDemo_ST, CF, 18, 18, 0x100);

}  // namespace

const StereoDemo kModels[] = {
    {"Jorb", "", &PHandleSTDemo, &PHandleSTEQ, STRamp, true, true},
    {"Zuta", "Zuta", &PHandleSTDemoZuta, &PHandleSTEQZuta, STRampZuta, true, true},
    {"Jora", "Jora", &PHdlDemoJora, &PHdlEQJora, STRamp_Jora, true, true},
    {"Qeva", "Qeva", &PHdlDemoQeva, &PHdlEQQeva, STRamp_Qeva, false, true},
    {"Qevb", "Qevb", &PHdlDemoQevb, nullptr, nullptr, false, false},
};

namespace {

int SliderCount(const StereoDemo& m) { return m.allSliders ? static_cast<int>(std::size(kSliders)) : kQevaSliders; }

// The channel boxes write R32, then (with a channel on) the ALC mode's registers: one action
// named by the box.
void AlcChannels(const StereoDemo& m, int panel, int control) {
    int v = CtrlInt(panel, STDemo_STALCLeft) * 2 + CtrlInt(panel, STDemo_STALCRight);
    WriteAction action(panel, control, "ALC Channels", v != 0);
    CFG_REG[32] = (CFG_REG[32] & ~0x180u) | (static_cast<uint32_t>(v & 3) << 7);
    WriteRegister(32);
    FlagCFGUpdate = 1;
    if (v == 0) {
        rt::SetCtrlVal(panel, STDemo_STSetALC, 0);
        return;
    }
    rt::SetCtrlVal(panel, STDemo_STSetALC, DemoALCMode);
    StereoSetAlc(m, panel);
}

void Update(const StereoDemo& m) {
    int panel = *m.panel;
    if (panel <= 0) return;
    for (int i = 0; i < SliderCount(m); ++i) ShowSlider(panel, kSliders[i]);
    rt::SetCtrlVal(panel, STDemo_STALCLeft, (CFG_REG[32] >> 8) & 1);
    rt::SetCtrlVal(panel, STDemo_STALCRight, (CFG_REG[32] >> 7) & 1);
    rt::SetCtrlVal(panel, STDemo_STSetALC, (CFG_REG[32] & 0x180) ? DemoALCMode : 0);
    ShowEqualiser(panel, kEqualiser);
}

void Init(const StereoDemo& m) {
    int panel = *m.panel;
    if (panel <= 0) return;
    rt::SetCtrlAttribute(panel, STDemo_STALCLeft, rt::ATTR_TOOLTIP_TEXT, "Enable/Disable ALC on Left Channel");
    rt::SetCtrlAttribute(panel, STDemo_STALCRight, rt::ATTR_TOOLTIP_TEXT, "Enable/Disable ALC on Right Channel");
    SetEqToolTips(panel, kEqualiser,
                  "  unchecked -> Equalizer applied on ADC path; checked -> Equalizer applied on DAC path  ");
}

void Bind(const StereoDemo& m, const std::string& name, std::function<void(int panel)> action) {
    BindCommit(name + m.suffix, std::move(action));
}

void Register(const StereoDemo& m) {
    for (int i = 0; i < SliderCount(m); ++i) {
        const Slider& s = kSliders[i];
        auto ramp = m.ramp;
        Bind(m, s.callback, [&s, ramp](int panel) {
            CommitSlider(panel, s, [ramp](int reg, int target) { ramp(reg, target, 0, 1); });
        });
    }
    BindEqualiser("ST", m.suffix, kEqualiser);
    BindCommit("STALCChannelSelCB" + std::string(m.suffix),
               [&m](int panel, int control) { AlcChannels(m, panel, control); });
    Bind(m, "STSetALCCB", [&m](int panel) { StereoSetAlc(m, panel); });
    int* eqPanel = m.eqPanel;
    Bind(m, "STEQPresettingCB", [eqPanel](int panel) {
        RunEQPresetAsCommit(*eqPanel, CtrlInt(panel, STDemo_STEQPresetting));
    });
}

}  // namespace

const StereoDemo* StereoDemoOfPanel(int panel) {
    if (panel <= 0) return nullptr;
    for (const StereoDemo& m : kModels)
        if (*m.panel == panel) return &m;
    return nullptr;
}

void StereoSetAlc(const StereoDemo&, int panel) {
    int mode = CtrlInt(panel, STDemo_STSetALC);
    if (mode == 0) {
        AlcOff(0x180);  // both channels
        return;
    }
    const int timing = AlcTiming(mode);
    if (timing < 0) return;
    // With a channel on, R32 and the mode's three registers go out as one action.
    WriteAction action(panel, STDemo_STSetALC, "ALC Mode", (CFG_REG[32] & 0x180) != 0);
    DemoALCMode = mode;
    if (CFG_REG[32] & 0x180) {
        CFG_REG[32] = (CFG_REG[32] & ~0x3Fu) | 0x18;  // maximum gain code 3, minimum gain code 0
        WriteAlcMode(timing);
    }
    WriteRegister(32);
    FlagCFGUpdate = 1;
}

void RegisterStereoDemoCallbacks() {
    for (const StereoDemo& m : kModels)
        if (m.bound) Register(m);
}

}  // namespace demo

using demo::kModels;

void STInitDemoPanel() { demo::Init(kModels[demo::kJorb]); }
void STInitDemoPanelZuta() { demo::Init(kModels[demo::kZuta]); }
void STInitDemoPanel_Jora() { demo::Init(kModels[demo::kJora]); }
void STInitDemoPanel_Qeva() { demo::Init(kModels[demo::kQeva]); }
void STInitDemoPanel_Qevb() { demo::Init(kModels[demo::kQevb]); }
void UpdateSTDemoPanel() { demo::Update(kModels[demo::kJorb]); }
void UpdateSTDemoPanelZuta() { demo::Update(kModels[demo::kZuta]); }
void UpdateSTDemoPanel_Jora() { demo::Update(kModels[demo::kJora]); }
void UpdateSTDemoPanel_Qeva() { demo::Update(kModels[demo::kQeva]); }
void UpdateSTDemoPanel_Qevb() { demo::Update(kModels[demo::kQevb]); }
