// The input panels of every model: one implementation over a description per model. A
// description lists the panel's rows (control -> register field, and the callback that serves
// it), each callback's send plan (registers in order, pauses, when the redraw flag goes up), the
// dimming of the PGA gain rings by the ALC fields, the microphone-bias rings and the ring fills.
#include "capture/input_panel.h"

#include <algorithm>
#include <string>
#include <vector>

#include "capture/panel_fields.h"
#include "link/usbcomvunt.h"
#include "panels/MNInput_pan.h"
#include "panels/MNPykaInput_pan.h"
#include "panels/MNPykbInput_pan.h"
#include "panels/cfgInputJora_pan.h"
#include "panels/cfgInputJorb_pan.h"
#include "panels/cfgInputZuta_pan.h"
#include "panels/cfgInputZutb_pan.h"
#include "playback/output_model.h"
#include "link/write_action.h"
#include "regmap/config_tables.h"
#include "runtime/fmt.h"
#include "runtime/ui.h"
#include "shell/handles.h"
#include "shell/state.h"

using capture::CtrlOr;
using capture::Field;
using capture::GetField;
using capture::PutField;
using capture::SetVal;

namespace {

// ---- descriptions ----------------------------------------------------------------------------
// The registers a stereo input panel drives.
struct StereoInputRegs {
    int micBias;     // [4] bias enable
    int power;       // [2] [3] PGA enables, [4] [5] boost-stage enables
    int alc;         // [8:7] ALC channels
    int biasMode;    // [0] bias mode
    int inputs;      // PGA input switches, [8:7] bias voltage
    int pgaL, pgaR;  // [5:0] gain, [6] mute, [7] zero cross, [8] update
    int boostL, boostR;  // [2:0] aux gain, [6:4] line gain, [8] +20 dB
};
constexpr StereoInputRegs kStereoInputRegs{1, 2, 32, 40, 44, 45, 46, 47, 48};
// Zutb's panel drives the same register numbers as the other stereo models, although Zutb's
// own register table gives several of them other meanings (its ALC lives in R11 to R14). They
// stand here, in one place, so they can be changed once the Zutb fields this panel is meant for
// are known.
constexpr StereoInputRegs kZutbInputRegs{1, 2, 32, 40, 44, 45, 46, 47, 48};

// Where Zutb keeps the registers its input panel writes, in the output panels' terms: R46 to
// R48 are Zutb's ADC control and left and right ADC volumes, so the right PGA gain and the
// boost stages have no place there. Their controls are dimmed with a tool tip saying why and
// write nothing, as on Zutb's output panel.
const output::Model& ZutbInputPlaces() {
    static const output::Model m = [] {
        output::Model z{"Zutb", &PHandleSTInSignalZutb, "", "", nullptr, nullptr, {}};
        const int none = output::kNoRegister;
        z.places = {{1, 1}, {2, 2}, {32, 32}, {40, 40}, {44, 44}, {45, 45}, {46, none}, {47, none}, {48, none}};
        z.chipRegisterNames = &ConfigRegistersZutb;
        return z;
    }();
    return m;
}

struct Step {
    enum Kind { Send, Wait, Flag } kind;
    int reg = 0;
    double seconds = 0;
};
Step Send(int reg) { return {Step::Send, reg, 0}; }
Step Wait(double s) { return {Step::Wait, 0, s}; }
Step Flag() { return {Step::Flag, 0, 0}; }

struct Group {
    std::string callback;
    std::vector<Step> plan;
    bool dims = false;  // sets the gain rings' dimming from the ALC field first
};

struct Row {
    int control;
    Field field;
    int group;              // index into the groups
    bool refreshed = true;  // the refresh sets it from the field
};

// Gain rings the ALC takes over: each is dimmed while the ALC field has any bit of its mask.
struct Dimming {
    Field alc;
    struct Ring { int control; int mask; };
    std::vector<Ring> rings;
    bool onRefresh;  // the refresh sets the dimming too
};

// Bias mode ring and voltage ring: the voltage ring's value is mode x 4 + voltage code.
struct Bias {
    std::string callback;
    int modeCtrl, voltCtrl;
    Field mode, volt;
    bool voltageFirst;  // send order: voltage register first (else mode register first)
    int statusCtrl;
    Field enable;
};

struct RingFill {
    enum Kind { Pga, Boost } kind;
    int control;
    const char* format;  // of the dB value ("%s<%d" shows it as a whole number)
    int start;           // value set after the fill (-1: none)
};

struct InputModel {
    int* panel;
    std::vector<Group> groups;
    std::vector<Row> rows;
    Dimming dimming;
    Bias bias;
    std::vector<RingFill> fills;
    const output::Model* places = nullptr;  // where the chip keeps the registers (null: as numbered)
};

// True when the chip has a place for the panel's register `reg`.
bool OnChip(const InputModel& m, int reg) {
    return !m.places || output::ChipRegister(*m.places, reg) != output::kNoRegister;
}

// The stereo panels share their controls' constant names.
struct StereoIds {
    int pgaEnL, pgaEnR, boostEnL, boostEnR, micBiasEn;
    int inputs[6];
    int volL, muteL, zcL, updL, volR, muteR, zcR, updR;
    int alcSel, auxL, lineL, pgaBoostL, auxR, lineR, pgaBoostR;
    int biasMode, biasVolt, biasStatus;
};
#define STEREO_INPUT_IDS(NS)                                                                          \
    StereoIds {                                                                                       \
        NS::CFGINSIG_INPPGAENL, NS::CFGINSIG_INPPGAENR, NS::CFGINSIG_BOOSTENL, NS::CFGINSIG_BOOSTENR, \
            NS::CFGINSIG_MICBEN,                                                                      \
            {NS::CFGINSIG_LIP2INPPGA, NS::CFGINSIG_LIN2INPPGA, NS::CFGINSIG_L2_2INPPGA,               \
             NS::CFGINSIG_RIP2INPPGA, NS::CFGINSIG_RIN2INPPGA, NS::CFGINSIG_R2_2INPPGA},              \
            NS::CFGINSIG_INPPGAVOLL, NS::CFGINSIG_INPPGAMUTEL, NS::CFGINSIG_INPPGAZCL,                \
            NS::CFGINSIG_INPPGAUPDATEL, NS::CFGINSIG_INPPGAVOLR, NS::CFGINSIG_INPPGAMUTER,            \
            NS::CFGINSIG_INPPGAZCR, NS::CFGINSIG_INPPGAUPDATER, NS::CFGINSIG_ALCSEL,                  \
            NS::CFGINSIG_AUXL2BOOSTVOL, NS::CFGINSIG_L2_2BOOSTVOL, NS::CFGINSIG_PGABOOSTL,            \
            NS::CFGINSIG_AUXR2BOOSTVOL, NS::CFGINSIG_R2_2BOOSTVOL, NS::CFGINSIG_PGABOOSTR,            \
            NS::CFGINSIG_MB_MODE, NS::CFGINSIG_MBVSEL, NS::CFGINSIG_TXTSTMicBiasStatus                \
    }

InputModel Stereo(int* panel, const std::string& suffix, const StereoInputRegs& r, const StereoIds& c) {
    enum { Inputs, VolL, VolR, AlcSel, BoostEn, BoostL, BoostR, PgaEnL, PgaEnR, MicBiasEn };
    InputModel m;
    m.panel = panel;
    m.groups = {
        {"cfgINPGAControl" + suffix, {Flag(), Send(r.inputs)}},
        {"cfgInPGAVolL" + suffix, {Flag(), Send(r.pgaL)}},
        {"cfgInpPGAVolR" + suffix, {Send(r.pgaR), Wait(0.1), Flag()}},
        {"cfgALCSelect" + suffix, {Flag(), Send(r.alc)}, true},
        {"cfgBoostEN" + suffix, {Flag(), Send(r.power)}},
        {"cfgLInpBoostCtrl" + suffix, {Flag(), Send(r.boostL)}},
        {"cfgRInpBoostCtrl" + suffix, {Flag(), Send(r.boostR)}},
        {"CINPPGAENLCB" + suffix, {Flag(), Send(r.power)}},
        {"CINPPGAENRCB" + suffix, {Flag(), Send(r.power)}},
        {"MICBENCB" + suffix, {Send(r.micBias), Flag()}},
    };
    m.rows = {
        {c.pgaEnL, {r.power, 2, 1}, PgaEnL},
        {c.pgaEnR, {r.power, 3, 1}, PgaEnR},
        {c.inputs[0], {r.inputs, 0, 1}, Inputs},
        {c.inputs[1], {r.inputs, 1, 1}, Inputs},
        {c.inputs[2], {r.inputs, 2, 1}, Inputs},
        {c.inputs[3], {r.inputs, 4, 1}, Inputs},
        {c.inputs[4], {r.inputs, 5, 1}, Inputs},
        {c.inputs[5], {r.inputs, 6, 1}, Inputs},
        {c.volL, {r.pgaL, 0, 6}, VolL},
        {c.muteL, {r.pgaL, 6, 1}, VolL},
        {c.zcL, {r.pgaL, 7, 1}, VolL},
        {c.updL, {r.pgaL, 8, 1}, VolL, false},
        {c.volR, {r.pgaR, 0, 6}, VolR},
        {c.muteR, {r.pgaR, 6, 1}, VolR},
        {c.zcR, {r.pgaR, 7, 1}, VolR},
        {c.updR, {r.pgaR, 8, 1}, VolR, false},
        {c.alcSel, {r.alc, 7, 2}, AlcSel},
        {c.boostEnL, {r.power, 4, 1}, BoostEn},
        {c.boostEnR, {r.power, 5, 1}, BoostEn},
        {c.pgaBoostL, {r.boostL, 8, 1}, BoostL},
        {c.auxL, {r.boostL, 0, 3}, BoostL},
        {c.lineL, {r.boostL, 4, 3}, BoostL},
        {c.pgaBoostR, {r.boostR, 8, 1}, BoostR},
        {c.auxR, {r.boostR, 0, 3}, BoostR},
        {c.lineR, {r.boostR, 4, 3}, BoostR},
        {c.micBiasEn, {r.micBias, 4, 1}, MicBiasEn},
    };
    // ALC code 1 is the right channel only, 2 the left only, 3 both.
    m.dimming = {{r.alc, 7, 2}, {{c.volL, 2}, {c.volR, 1}}, false};
    m.bias = {"cfgMicBias" + suffix, c.biasMode, c.biasVolt, {r.biasMode, 0, 1}, {r.inputs, 7, 2}, false,
              c.biasStatus, {r.micBias, 4, 1}};
    m.fills = {{RingFill::Pga, c.volL, "%s<%f", -1},  {RingFill::Pga, c.volR, "%s<%f", -1},
               {RingFill::Boost, c.auxL, "%s<%f", -1}, {RingFill::Boost, c.auxR, "%s<%f", -1},
               {RingFill::Boost, c.lineL, "%s<%f", -1}, {RingFill::Boost, c.lineR, "%s<%f", -1}};
    return m;
}

struct MonoIds {
    int pgaEn, auxEn, micBiasEn, boostEn, micP, micN, aux, auxMode;
    int vol, mute, zc, alcEn, pgaBoost, auxBoost, micBoost;
    int biasMode, biasVolt, biasStatus;
};
#define MONO_INPUT_IDS(NS, P)                                                                             \
    MonoIds {                                                                                             \
        NS::P##_MNINPGAEN, NS::P##_MNMIC2EN, NS::P##_MNMICBEN, NS::P##_MNBOOSTEN, NS::P##_MNMICP2INPPGA,  \
            NS::P##_MNMICN2INPPGA, NS::P##_MNMIC22INPPGA, NS::P##_MNMIC2MODE, NS::P##_MNINPPGAVOL,        \
            NS::P##_MNINPPGAMUTE, NS::P##_MNINPPGAZC, NS::P##_MNALCSEL, NS::P##_MNPGABOOST,               \
            NS::P##_MNMIC22BOOSTVOL, NS::P##_MNMICP2BOOSTVOL, NS::P##_MB_MODE, NS::P##_MNMBVSEL,          \
            NS::P##_TXTMNMicBiasStatus                                                                    \
    }

InputModel Mono(int* panel, const std::string& word, const MonoIds& c) {
    enum { Power, Inputs, PgaVol, Boost };
    const std::string mn = "MN" + word;
    InputModel m;
    m.panel = panel;
    m.groups = {
        {mn + "InputPWRCB", {Flag(), Send(1), Wait(0.3), Send(2)}},
        {mn + "InputCtrlCB", {Flag(), Send(44)}},
        {mn + "InputPGAVolCB", {Flag(), Send(32), Flag(), Send(45)}, true},
        {mn + "InoutBoostCB", {Flag(), Send(47)}},
    };
    m.rows = {
        {c.pgaEn, {2, 2, 1}, Power},
        {c.auxEn, {1, 6, 1}, Power},
        {c.micBiasEn, {1, 4, 1}, Power},
        {c.boostEn, {2, 4, 1}, Power},
        {c.micP, {44, 0, 1}, Inputs},
        {c.micN, {44, 1, 1}, Inputs},
        {c.aux, {44, 2, 1}, Inputs},
        {c.auxMode, {44, 3, 1}, Inputs},
        {c.vol, {45, 0, 6}, PgaVol},
        {c.mute, {45, 6, 1}, PgaVol},
        {c.zc, {45, 7, 1}, PgaVol},
        {c.alcEn, {32, 8, 1}, PgaVol},
        {c.pgaBoost, {47, 8, 1}, Boost},
        {c.auxBoost, {47, 0, 3}, Boost},
        {c.micBoost, {47, 4, 3}, Boost},
    };
    m.dimming = {{32, 8, 1}, {{c.vol, 1}}, true};
    m.bias = {mn + "MicBias", c.biasMode, c.biasVolt, {40, 0, 1}, {44, 7, 2}, true, c.biasStatus, {1, 4, 1}};
    m.fills = {{RingFill::Pga, c.vol, "%s<%f", 16},
               {RingFill::Boost, c.auxBoost, "%s<%d", 0},
               {RingFill::Boost, c.micBoost, "%s<%d", 0}};
    return m;
}

InputModel ZutbInput() {
    InputModel m = Stereo(&PHandleSTInSignalZutb, "Zutb", kZutbInputRegs, STEREO_INPUT_IDS(ui::cfgInputZutb_pan));
    m.places = &ZutbInputPlaces();
    return m;
}

enum Model { Jorb, Zuta, Zutb, Jora, Pykc, Pykb, Pyka, kModels };

const InputModel& ModelOf(Model id) {
    static const std::vector<InputModel> models = {
        Stereo(&PHandleSTInSignal, "", kStereoInputRegs, STEREO_INPUT_IDS(ui::cfgInputJorb_pan)),
        Stereo(&PHandleSTInSignalZuta, "Zuta", kStereoInputRegs, STEREO_INPUT_IDS(ui::cfgInputZuta_pan)),
        ZutbInput(),
        Stereo(&PHdleInputJora, "Jora", kStereoInputRegs, STEREO_INPUT_IDS(ui::cfgInputJora_pan)),
        Mono(&PHandleMNInput, "", MONO_INPUT_IDS(ui::MNInput_pan, MNINPUT)),
        Mono(&PHandleMNPykbInput, "Pykb", MONO_INPUT_IDS(ui::MNPykbInput_pan, MNPykbINPUT)),
        Mono(&PHandleMNPykaInput, "Pyka", MONO_INPUT_IDS(ui::MNPykaInput_pan, MNPykaINPUT)),
    };
    return models[id];
}

#undef STEREO_INPUT_IDS
#undef MONO_INPUT_IDS

// ---- the operations --------------------------------------------------------------------------
void Init(const InputModel& m) {
    const int p = *m.panel;
    if (p <= 0) return;
    for (const RingFill& f : m.fills) {
        if (f.kind == RingFill::Pga) {
            // -12 dB to +35.25 dB in steps of 0.75 dB, code 0 to 63.
            int code = 0;
            for (float db = -12.0f; db <= 35.25f; db += 0.75f, ++code)
                rt::InsertListItem(p, f.control, -1, (rt::Fmt(f.format, db) + "dB").c_str(), code);
        } else {
            // "Path Disable", then -12 dB to +6 dB in steps of 3 dB, code 1 to 7.
            rt::InsertListItem(p, f.control, 0, "Path Disable", 0);
            int code = 1;
            for (float db = -12.0f; db <= 6.0f; db += 3.0f, ++code)
                rt::InsertListItem(p, f.control, code, (rt::Fmt(f.format, db) + "dB").c_str(), code);
        }
        if (f.start >= 0) rt::SetCtrlVal(p, f.control, f.start);
    }
    for (const Row& r : m.rows) {
        if (OnChip(m, r.field.reg)) continue;
        capture::Dim(p, r.control, true);
        rt::SetCtrlAttribute(p, r.control, rt::ATTR_TOOLTIP_TEXT, output::DimmedReason(*m.places, r.field.reg).c_str());
    }
}

void SetDimming(const InputModel& m, int p) {
    const int alc = GetField(m.dimming.alc);
    for (const Dimming::Ring& r : m.dimming.rings) {
        bool onChip = true;
        for (const Row& row : m.rows)
            if (row.control == r.control) onChip = OnChip(m, row.field.reg);
        if (onChip) capture::Dim(p, r.control, (alc & r.mask) != 0);
    }
}

void Update(const InputModel& m) {
    const int p = *m.panel;
    if (p <= 0) return;
    for (const Row& r : m.rows)
        if (r.refreshed && OnChip(m, r.field.reg)) SetVal(p, r.control, GetField(r.field));
    const Bias& b = m.bias;
    rt::SetCtrlVal(p, b.statusCtrl, GetField(b.enable) ? "** MIC BIAS output pin is currently enabled: MICBIASEN = 1 **"
                                                       : "** MIC BIAS output pin is currently disabled: MICBIASEN = 0 **");
    SetVal(p, b.voltCtrl, GetField(b.volt) + (GetField(b.mode) ? 4 : 0));
    if (m.dimming.onRefresh) SetDimming(m, p);
}

// The registers of a plan that have a place on the chip.
size_t Writes(const InputModel& m, const std::vector<Step>& plan) {
    return static_cast<size_t>(std::count_if(plan.begin(), plan.end(),
                                             [&](const Step& s) { return s.kind == Step::Send && OnChip(m, s.reg); }));
}

// Runs a plan within `action` (made before the plan's fields were composed): nothing more goes
// out, and no pause is made, once it has stopped.
void RunPlan(const InputModel& m, const std::vector<Step>& plan, WriteAction& action) {
    for (const Step& s : plan) {
        switch (s.kind) {
            case Step::Send:
                if (OnChip(m, s.reg)) action.Send(s.reg);
                break;
            case Step::Wait: action.Pause(s.seconds); break;
            case Step::Flag: SetFlag(&FlagCFGUpdate); break;
        }
    }
}

int GroupCommit(const InputModel& m, int group, int p, int control, int event) {
    if (event != rt::EVENT_COMMIT) return 0;
    const std::vector<Step>& plan = m.groups[group].plan;
    // A group none of whose registers has a place on the chip does nothing at all.
    const size_t writes = Writes(m, plan);
    if (writes == 0) return 0;
    WriteAction action(p, control, m.groups[group].callback, writes > 1);
    for (const Row& r : m.rows)
        if (r.group == group && OnChip(m, r.field.reg)) capture::CtrlToField(p, r.control, r.field);
    if (m.groups[group].dims) SetDimming(m, p);
    RunPlan(m, plan, action);
    return 0;
}

// The mode ring and the voltage ring keep each other consistent; both land in their fields.
int BiasChanged(const InputModel& m, int p, int control, int event) {
    if (event != rt::EVENT_VAL_CHANGED) return 0;
    const Bias& b = m.bias;
    const int lowNoiseFirst = 4;
    int mode = CtrlOr(p, b.modeCtrl, GetField(b.mode));
    if (control == b.modeCtrl) {
        SetVal(p, b.voltCtrl, mode ? lowNoiseFirst : 0);
    } else if (control == b.voltCtrl) {
        const int volt = CtrlOr(p, b.voltCtrl, -1);
        if (volt >= lowNoiseFirst && mode == 0) SetVal(p, b.modeCtrl, 1);
        if (volt >= 0 && volt < lowNoiseFirst && mode == 1) SetVal(p, b.modeCtrl, 0);
    }
    mode = CtrlOr(p, b.modeCtrl, GetField(b.mode));
    int volt = CtrlOr(p, b.voltCtrl, GetField(b.volt));
    if (volt >= lowNoiseFirst) volt -= lowNoiseFirst;
    const int first = b.voltageFirst ? b.volt.reg : b.mode.reg;
    const int second = b.voltageFirst ? b.mode.reg : b.volt.reg;
    const std::vector<Step> plan{Send(first), Wait(0.1), Send(second), Wait(0.1), Flag()};
    WriteAction action(p, control, b.callback, Writes(m, plan) > 1);
    PutField(b.mode, mode);
    PutField(b.volt, volt);
    RunPlan(m, plan, action);
    return 0;
}

void RegisterModel(Model id) {
    const InputModel& m = ModelOf(id);
    for (size_t g = 0; g < m.groups.size(); ++g)
        rt::RegisterCtrlCallback(m.groups[g].callback, [id, g](int p, int c, int e, void*, int, int) {
            return GroupCommit(ModelOf(id), static_cast<int>(g), p, c, e);
        });
    rt::RegisterCtrlCallback(m.bias.callback,
                             [id](int p, int c, int e, void*, int, int) { return BiasChanged(ModelOf(id), p, c, e); });
}

}  // namespace

void InitInputSignalPanel() { Init(ModelOf(Jorb)); }
void InitInputSignalPanel_Jora() { Init(ModelOf(Jora)); }
void InitInputSignalPanelZuta() { Init(ModelOf(Zuta)); }
void InitInputSignalPanelZutb() { Init(ModelOf(Zutb)); }
void MNInitInputSignalPanel() { Init(ModelOf(Pykc)); }
void MNPykaInitInputSignalPanel() { Init(ModelOf(Pyka)); }
void MNPykbInitInputSignalPanel() { Init(ModelOf(Pykb)); }
void UpdateInputSignalPanel() { Update(ModelOf(Jorb)); }
void UpdateInputSignalPanel_Jora() { Update(ModelOf(Jora)); }
void UpdateInputSignalPanelZuta() { Update(ModelOf(Zuta)); }
void UpdateInputSignalPanelZutb() { Update(ModelOf(Zutb)); }
void MNUpdateInputSignalPanel() { Update(ModelOf(Pykc)); }
void MNPykaUpdateInputSignalPanel() { Update(ModelOf(Pyka)); }
void MNPykbUpdateInputSignalPanel() { Update(ModelOf(Pykb)); }

void RegisterInputCallbacks() {
    for (int id = 0; id < kModels; ++id) RegisterModel(static_cast<Model>(id));
}
