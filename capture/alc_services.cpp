// The ALC panels of every model: one implementation over three register layouts (stereo R32
// to R35, Zutb R11 to R14, mono R32 to R35 with an enable bit), each a map of fields with the
// send plan of every callback and the plan of the three presets.
#include "capture/alc_panel.h"

#include <vector>

#include "capture/panel_fields.h"
#include "link/usbcomvunt.h"
#include "panels/MNALC_pan.h"
#include "panels/MNPykaALC_pan.h"
#include "panels/MNPykbALC_pan.h"
#include "panels/cfgALCJora_pan.h"
#include "panels/cfgALCJorb_pan.h"
#include "panels/cfgALCZuta_pan.h"
#include "panels/cfgALCZutb_pan.h"
#include "link/write_action.h"
#include "runtime/ui.h"
#include "shell/handles.h"
#include "shell/state.h"

using capture::CtrlOr;
using capture::CtrlToField;
using capture::Field;
using capture::GetField;
using capture::PutField;
using capture::SetVal;

namespace {

// ---- layouts -------------------------------------------------------------------------------
struct AlcFields {
    Field minGain, maxGain, channels, target, hold, zeroCross, mode, decay, attack, gateOn, gateLevel;
};

// One step of a preset: replace a register (keeping the bits of `keep`), write the decay and
// attack codes as a whole register, raise the redraw flag, or send a register.
struct PresetStep {
    enum Kind { Set, DecayAttack, Flag, Send } kind;
    int reg = 0;
    uint32_t keep = 0;
    uint32_t value = 0;
};
PresetStep Set(int reg, uint32_t keep, uint32_t value) { return {PresetStep::Set, reg, keep, value}; }
PresetStep DecayAttack(int reg) { return {PresetStep::DecayAttack, reg}; }
PresetStep Flag() { return {PresetStep::Flag}; }
PresetStep Send(int reg) { return {PresetStep::Send, reg}; }

struct AlcLayout {
    AlcFields f;
    // Registers each callback sends, in order (after raising the flag).
    std::vector<int> limitsSend, targetSend, modeSend, gateSend;
    bool limitShownCodes;  // decay and attack codes above the rings' last item show as that item
    std::vector<PresetStep> preset;
};

constexpr int kLastRateCode = 10;  // decay and attack rings hold codes 0 to 10

const AlcLayout kStereo{
    {{32, 0, 3}, {32, 3, 3}, {32, 7, 2}, {33, 0, 4}, {33, 4, 4}, {}, {34, 8, 1}, {34, 4, 4}, {34, 0, 4},
     {35, 3, 1}, {35, 0, 3}},
    {32}, {33}, {34}, {35}, true,
    // Both channels, maximum gain 7, minimum 0; target 7, hold 0; noise gate on at threshold 7;
    // normal ALC with the preset's rates.
    {Set(32, 0, 0x1B8), Send(32), Set(33, 0, 0x007), Send(33), Set(35, 0, 0x00F), Send(35), DecayAttack(34),
     Flag(), Send(34)},
};

const AlcLayout kZutb{
    {{11, 5, 3}, {12, 4, 3}, {12, 7, 2}, {12, 0, 4}, {13, 0, 4}, {}, {13, 5, 1}, {14, 4, 4}, {14, 0, 4},
     {11, 0, 1}, {11, 2, 3}},
    {11, 12}, {12, 13}, {13, 14}, {11}, true,
    // The target level is kept; hold 7, normal mode; minimum gain 0, noise gate on at threshold 7.
    {Set(12, 0x00F, 0x1F0), Send(12), Set(13, 0, 0x007), Set(11, 0, 0x01D), Send(11), DecayAttack(14), Flag(),
     Send(13), Send(14)},
};

const AlcLayout kMono{
    {{32, 0, 3}, {32, 3, 3}, {32, 8, 1}, {33, 0, 4}, {33, 4, 4}, {33, 8, 1}, {34, 8, 1}, {34, 4, 4}, {34, 0, 4},
     {35, 3, 1}, {35, 0, 3}},
    {32}, {33}, {34}, {35}, false,
    kStereo.preset,
};

// Control ids by role; pair index 0 is the normal-mode pair, 1 the limiter-mode pair.
struct AlcIds {
    int minGain, maxGain, channels, target, hold, zeroCross, mode, decay[2], attack[2], gateOn, gateLevel, preset;
};
#define STEREO_ALC_IDS(NS)                                                                                      \
    AlcIds {                                                                                                    \
        NS::CFGALC_ALCMIN, NS::CFGALC_ALCMAX, NS::CFGALC_ALCSEL, NS::CFGALC_ALCLVAL, NS::CFGALC_ALCHLD, 0,      \
            NS::CFGALC_ALCMODE, {NS::CFGALC_ALCDCY0, NS::CFGALC_ALCDCY1}, {NS::CFGALC_ALCATK0, NS::CFGALC_ALCATK1}, \
            NS::CFGALC_ALCNGATEN, NS::CFGALC_ALCNGC, NS::CFGALC_RSALC                                           \
    }
#define MONO_ALC_IDS(NS, P)                                                                               \
    AlcIds {                                                                                              \
        NS::P##_MNALCMIN, NS::P##_MNALCMAX, NS::P##_MNALCSEL, NS::P##_MNALCLVAL, NS::P##_MNALCHLD,        \
            NS::P##_MNALCZC, NS::P##_MNALCMODE, {NS::P##_MNALCDCY0, NS::P##_MNALCDCY1},                   \
            {NS::P##_MNALCATK0, NS::P##_MNALCATK1}, NS::P##_MNNGATEN, NS::P##_MNNGTH, NS::P##_RSALC        \
    }

struct AlcModel {
    int* panel;
    const AlcLayout& layout;
    AlcIds ids;
    // Callback names: gain limits and channels, target and hold, mode and rates, noise gate,
    // preset.
    const char* names[5];
};

enum Model { Jorb, Zuta, Jora, Zutb, Pykc, Pykb, Pyka, kModels };

const AlcModel& ModelOf(Model id) {
    static const AlcModel models[kModels] = {
        {&PHandleSTALC, kStereo, STEREO_ALC_IDS(ui::cfgALCJorb_pan),
         {"ALCControl1", "ALCControl2", "ALCControl3", "cfgALCNGC", "RSALCCB"}},
        {&PHandleSTALCZuta, kStereo, STEREO_ALC_IDS(ui::cfgALCZuta_pan),
         {"ALCControl1Zuta", "ALCControl2Zuta", "ALCControl3Zuta", "cfgALCNGCZuta", "RSALCCBZuta"}},
        {&PHdlALCJora, kStereo, STEREO_ALC_IDS(ui::cfgALCJora_pan),
         {"ALCControl1Jora", "ALCControl2Jora", "ALCControl3Jora", "cfgALCNGCJora", "RSALCCBJora"}},
        {&PHandleSTALCZutb, kZutb, STEREO_ALC_IDS(ui::cfgALCZutb_pan),
         {"ALCControl1Zutb", "ALCControl2Zutb", "ALCControl3Zutb", "cfgALCNGCZutb", "RSALCCBZutb"}},
        {&PHandleMNALC, kMono, MONO_ALC_IDS(ui::MNALC_pan, MNALC),
         {"MNALCControl1", "MNALCControl2", "MNALCControl3", "MNNoiseGateCtrlCB", "MNRSALCCB"}},
        {&PHandleMNPykbALC, kMono, MONO_ALC_IDS(ui::MNPykbALC_pan, MNPykbALC),
         {"MNPykbALCControl1", "MNPykbALCControl2", "MNPykbALCControl3", "MNPykbNoiseGateCtrlCB", "MNPykbRSALCCB"}},
        {&PHandleMNPykaALC, kMono, MONO_ALC_IDS(ui::MNPykaALC_pan, MNPykaALC),
         {"MNPykaALCControl1", "MNPykaALCControl2", "MNPykaALCControl3", "MNPykaNoiseGateCtrlCB", "MNPykaRSALCCB"}},
    };
    return models[id];
}

#undef STEREO_ALC_IDS
#undef MONO_ALC_IDS

// ---- the operations ------------------------------------------------------------------------
// The pair of the current mode is enabled, the other dimmed.
void DimPairs(const AlcModel& m, int p, int mode) {
    for (int pair = 0; pair < 2; ++pair) {
        capture::Dim(p, m.ids.decay[pair], pair != mode);
        capture::Dim(p, m.ids.attack[pair], pair != mode);
    }
}

int ShownRate(const AlcModel& m, const Field& f) {
    const int code = GetField(f);
    return m.layout.limitShownCodes && code > kLastRateCode ? kLastRateCode : code;
}

void Update(const AlcModel& m) {
    const int p = *m.panel;
    if (p <= 0) return;
    const AlcFields& f = m.layout.f;
    SetVal(p, m.ids.channels, GetField(f.channels));
    SetVal(p, m.ids.minGain, GetField(f.minGain));
    SetVal(p, m.ids.maxGain, GetField(f.maxGain));
    SetVal(p, m.ids.target, GetField(f.target));
    SetVal(p, m.ids.hold, GetField(f.hold));
    if (f.zeroCross.present()) SetVal(p, m.ids.zeroCross, GetField(f.zeroCross));
    SetVal(p, m.ids.mode, GetField(f.mode));
    for (int pair = 0; pair < 2; ++pair) {
        SetVal(p, m.ids.decay[pair], ShownRate(m, f.decay));
        SetVal(p, m.ids.attack[pair], ShownRate(m, f.attack));
    }
    SetVal(p, m.ids.gateOn, GetField(f.gateOn));
    SetVal(p, m.ids.gateLevel, GetField(f.gateLevel));
    DimPairs(m, p, GetField(f.mode));
}

// A callback's registers go out after raising the flag; several are one action named by the
// committed control, made before the callback composes them.
WriteAction Action(int p, int control, const std::vector<int>& regs) {
    return WriteAction(p, control, "ALC", regs.size() > 1);
}
void SendAll(WriteAction& action, const std::vector<int>& regs) {
    SetFlag(&FlagCFGUpdate);
    for (int reg : regs) action.Send(reg);
}

int Limits(const AlcModel& m, int p, int control, int event) {
    if (event != rt::EVENT_COMMIT) return 0;
    WriteAction action = Action(p, control, m.layout.limitsSend);
    const AlcFields& f = m.layout.f;
    CtrlToField(p, m.ids.minGain, f.minGain);
    CtrlToField(p, m.ids.maxGain, f.maxGain);
    CtrlToField(p, m.ids.channels, f.channels);
    SendAll(action, m.layout.limitsSend);
    return 0;
}

int TargetHold(const AlcModel& m, int p, int control, int event) {
    if (event != rt::EVENT_COMMIT) return 0;
    WriteAction action = Action(p, control, m.layout.targetSend);
    const AlcFields& f = m.layout.f;
    CtrlToField(p, m.ids.target, f.target);
    CtrlToField(p, m.ids.hold, f.hold);
    if (f.zeroCross.present()) CtrlToField(p, m.ids.zeroCross, f.zeroCross);
    SendAll(action, m.layout.targetSend);
    return 0;
}

// The enabled pair decides the codes; the idle pair mirrors them, so a mode switch carries the
// codes over.
int ModeRates(const AlcModel& m, int p, int control, int event) {
    if (event != rt::EVENT_COMMIT) return 0;
    WriteAction action = Action(p, control, m.layout.modeSend);
    const AlcFields& f = m.layout.f;
    CtrlToField(p, m.ids.mode, f.mode);
    const int mode = GetField(f.mode);
    DimPairs(m, p, mode);
    const int other = 1 - mode;
    CtrlToField(p, m.ids.decay[mode], f.decay);
    CtrlToField(p, m.ids.attack[mode], f.attack);
    SetVal(p, m.ids.decay[other], GetField(f.decay));
    SetVal(p, m.ids.attack[other], GetField(f.attack));
    SendAll(action, m.layout.modeSend);
    return 0;
}

int NoiseGate(const AlcModel& m, int p, int control, int event) {
    if (event != rt::EVENT_COMMIT) return 0;
    WriteAction action = Action(p, control, m.layout.gateSend);
    CtrlToField(p, m.ids.gateOn, m.layout.f.gateOn);
    CtrlToField(p, m.ids.gateLevel, m.layout.f.gateLevel);
    SendAll(action, m.layout.gateSend);
    return 0;
}

int Preset(const AlcModel& m, int p, int, int event) {
    if (event != rt::EVENT_COMMIT) return 0;
    struct Rates { int decay, attack; };
    // "Music", "Speech", "Generic" by the control's values 1 to 3.
    static const Rates kPresetRates[3] = {{10, 6}, {4, 2}, {3, 5}};
    const int preset = CtrlOr(p, m.ids.preset, 0);
    if (preset < 1 || preset > 3) return 0;
    const Rates r = kPresetRates[preset - 1];
    WriteAction action("ALC Preset");  // the first refused write ends the preset
    for (const PresetStep& s : m.layout.preset) {
        switch (s.kind) {
            case PresetStep::Set: CFG_REG[s.reg] = (CFG_REG[s.reg] & s.keep) | s.value; break;
            case PresetStep::DecayAttack: CFG_REG[s.reg] = static_cast<uint32_t>(r.decay << 4 | r.attack); break;
            case PresetStep::Flag: SetFlag(&FlagCFGUpdate); break;
            case PresetStep::Send: action.Send(s.reg); break;
        }
    }
    return 0;
}

void RegisterModel(Model id) {
    using Op = int (*)(const AlcModel&, int, int, int);
    static const Op ops[5] = {Limits, TargetHold, ModeRates, NoiseGate, Preset};
    for (int i = 0; i < 5; ++i) {
        const Op op = ops[i];
        rt::RegisterCtrlCallback(ModelOf(id).names[i],
                                 [id, op](int p, int c, int e, void*, int, int) { return op(ModelOf(id), p, c, e); });
    }
}

}  // namespace

void InitALCPanel() {}
void InitALCPanel_Jora() {}
void InitALCPanelZuta() {}
void InitALCPanelZutb() {}
void MNInitALCPanel() {}
void MNPykaInitALCPanel() {}
void MNPykbInitALCPanel() {}
void UpdateALCPanel() { Update(ModelOf(Jorb)); }
void UpdateALCPanel_Jora() { Update(ModelOf(Jora)); }
void UpdateALCPanelZuta() { Update(ModelOf(Zuta)); }
void UpdateALCPanelZutb() { Update(ModelOf(Zutb)); }
void MNUpdateALCPanel() { Update(ModelOf(Pykc)); }
void MNPykaUpdateALCPanel() { Update(ModelOf(Pyka)); }
void MNPykbUpdateALCPanel() { Update(ModelOf(Pykb)); }

void RegisterALCCallbacks() {
    for (int id = 0; id < kModels; ++id) RegisterModel(static_cast<Model>(id));
}
