// The equaliser panels of every model: one implementation over a description per model (its
// panel, its demo panel, where its band registers start, its depth register, where its EQ path
// or enable bit lives, and which controls it carries).
#include "capture/eq_panel.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "capture/panel_fields.h"
#include "demo/demo_services.h"
#include "link/usbcomvunt.h"
#include "panels/MNEQ_pan.h"
#include "panels/cfgEQJora_pan.h"
#include "panels/cfgEQJorb_pan.h"
#include "panels/cfgEQQeva_pan.h"
#include "panels/cfgEQZuta_pan.h"
#include "panels/cfgEQZutb_pan.h"
#include "link/write_action.h"
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

constexpr int kBands = 5;
constexpr int kZeroDbCode = 12;  // gain code of 0 dB; gain in dB = 12 - code
constexpr int kDepthSteps = 15;

// Control ids of one equaliser panel by role; 0 where the panel has no such control.
struct EqIds {
    std::array<int, kBands> gain, gainSlide, cut, cutSlide, bandwidth;
    int mode, depth, depthSlide, preset;
};

struct EqModel {
    int* panel;
    int* demoPanel;      // mirrors the preset (null: none)
    int bandBase;        // register of band 1; bands 2 to 5 follow
    int depthReg;        // 3D depth in bits 3:0 (0: none)
    Field pathBit;       // band 1 bit 8: EQ path (absent where the mode ring means something else)
    Field enableBit;     // EQ enable the mode ring stands for (absent: the ring is the EQ path)
    EqIds ids;
};

// The stereo panels share one layout of controls; Zutb's has no depth ring and slide.
#define EQ_IDS(NS, DEPTH, DEPTH_SLIDE)                                                             \
    EqIds {                                                                                        \
        {NS::CFGEQ_EQ1G, NS::CFGEQ_EQ2G, NS::CFGEQ_EQ3G, NS::CFGEQ_EQ4G, NS::CFGEQ_EQ5G},          \
            {NS::CFGEQ_EQ1GN, NS::CFGEQ_EQ2GN, NS::CFGEQ_EQ3GN, NS::CFGEQ_EQ4GN, NS::CFGEQ_EQ5GN}, \
            {NS::CFGEQ_EQ1C, NS::CFGEQ_EQ2C, NS::CFGEQ_EQ3C, NS::CFGEQ_EQ4C, NS::CFGEQ_EQ5C},       \
            {NS::CFGEQ_EQ1CN, NS::CFGEQ_EQ2CN, NS::CFGEQ_EQ3CN, NS::CFGEQ_EQ4CN, NS::CFGEQ_EQ5CN}, \
            {0, NS::CFGEQ_EQ2BW, NS::CFGEQ_EQ3BW, NS::CFGEQ_EQ4BW, 0}, NS::CFGEQ_EQ3DMODE, DEPTH,  \
            DEPTH_SLIDE, NS::CFGEQ_PresetMusicEffect                                               \
    }
#define EQ_STEREO_IDS(NS) EQ_IDS(NS, NS::CFGEQ_DEPTH3D, NS::CFGEQ_NUM_DEPTH3D)

const EqIds kMonoIds = [] {
    namespace NS = ui::MNEQ_pan;
    return EqIds{{NS::MNEQ_EQ1G, NS::MNEQ_EQ2G, NS::MNEQ_EQ3G, NS::MNEQ_EQ4G, NS::MNEQ_EQ5G},
                 {},
                 {NS::MNEQ_EQ1C, NS::MNEQ_EQ2C, NS::MNEQ_EQ3C, NS::MNEQ_EQ4C, NS::MNEQ_EQ5C},
                 {},
                 {0, NS::MNEQ_EQ2BW, NS::MNEQ_EQ3BW, NS::MNEQ_EQ4BW, 0},
                 NS::MNEQ_EQ3DMODE, 0, 0, 0};
}();

enum Model { Jorb, Zuta, Jora, Qeva, Zutb, Mono, kModels };

const EqModel& ModelOf(Model m) {
    static const EqModel models[kModels] = {
        {&PHandleSTEQ, &PHandleSTDemo, 18, 41, {18, 8, 1}, {}, EQ_STEREO_IDS(ui::cfgEQJorb_pan)},
        {&PHandleSTEQZuta, &PHandleSTDemoZuta, 18, 41, {18, 8, 1}, {}, EQ_STEREO_IDS(ui::cfgEQZuta_pan)},
        {&PHdlEQJora, &PHdlDemoJora, 18, 41, {18, 8, 1}, {}, EQ_STEREO_IDS(ui::cfgEQJora_pan)},
        {&PHdlEQQeva, &PHdlDemoQeva, 18, 41, {18, 8, 1}, {}, EQ_STEREO_IDS(ui::cfgEQQeva_pan)},
        // Zutb: bands in R50 to R54, no 3D depth, and the mode ring is the EQ enable in R104
        // bit 1. What bit 8 of R50 means on this chip is not known, so it is left as it is.
        {&PHandleSTEQZutb, &PHandleSTDemoZutb, 50, 0, {}, {104, 1, 1}, EQ_IDS(ui::cfgEQZutb_pan, 0, 0)},
        {&PHandleMNEQ, nullptr, 18, 0, {18, 8, 1}, {}, kMonoIds},
    };
    return models[m];
}

#undef EQ_STEREO_IDS
#undef EQ_IDS

Field GainField(const EqModel& m, int band) { return {m.bandBase + band, 0, 5}; }
Field CutField(const EqModel& m, int band) { return {m.bandBase + band, 5, 2}; }
Field BandwidthField(const EqModel& m, int band) {
    return band >= 1 && band <= 3 ? Field{m.bandBase + band, 8, 1} : Field{};
}
Field DepthField(const EqModel& m) { return m.depthReg ? Field{m.depthReg, 0, 4} : Field{}; }

// ---- presets -------------------------------------------------------------------------------
struct PresetBand {
    int gainDb;
    int cut;        // -1: left as shown
    int bandwidth;  // -1: left as shown (bands 2 to 4 only)
};
struct EqPreset {
    std::array<PresetBand, kBands> bands;
    int depth;
};
constexpr int N = 0, W = 1, K = -1;  // narrow, wide, keep
// By ring value: Flat, Rock, Soft Rock, Pop, Jazz, Classical, Dance, Heavy, Disco, Soft,
// 3d Stereo/Live, Hall.
const EqPreset EqPresetTable[12] = {
    {{{{0, K, K}, {0, K, K}, {0, K, K}, {0, K, K}, {0, K, K}}}, 0},
    {{{{5, 2, K}, {-2, 1, N}, {0, K, K}, {1, 3, N}, {3, 2, K}}}, 3},
    {{{{4, 2, K}, {1, 1, W}, {0, K, K}, {0, K, K}, {-4, 1, K}}}, 0},
    {{{{-4, 0, K}, {5, 0, W}, {3, 2, W}, {0, K, K}, {3, 1, K}}}, 5},
    {{{{6, 3, K}, {2, 1, W}, {0, K, K}, {2, 3, W}, {3, 2, K}}}, 2},
    {{{{0, K, K}, {0, K, K}, {2, 2, W}, {3, 3, W}, {0, K, K}}}, 3},
    {{{{8, 2, K}, {4, 0, W}, {0, K, K}, {3, 3, N}, {6, 2, K}}}, 6},
    {{{{6, 2, K}, {0, K, K}, {-3, 2, W}, {2, 3, W}, {7, 3, K}}}, 3},
    {{{{7, 1, K}, {2, 1, W}, {0, K, K}, {2, 3, W}, {4, 3, K}}}, 0},
    {{{{4, 2, K}, {1, 1, W}, {0, K, K}, {0, K, K}, {-4, 1, K}}}, 0},
    {{{{3, 2, K}, {0, K, K}, {0, K, K}, {3, 3, N}, {0, K, K}}}, 9},
    {{{{6, 2, K}, {2, 1, W}, {0, K, K}, {2, 2, W}, {5, 2, K}}}, 7},
};

// ---- the operations ------------------------------------------------------------------------
void FillGainRing(int panel, int ring) {
    for (int code = 0; code <= 24; ++code)
        rt::InsertListItem(panel, ring, -1, (rt::Fmt("%s<%d", kZeroDbCode - code) + " dB").c_str(), code);
    rt::SetCtrlVal(panel, ring, kZeroDbCode);
}

void Init(const EqModel& m) {
    const int p = *m.panel;
    if (p <= 0) return;
    for (int ring : m.ids.gain) FillGainRing(p, ring);
    if (m.ids.depth > 0) {
        float value = 0;
        for (int d = 0; d < kDepthSteps; ++d) {
            rt::InsertListItem(p, m.ids.depth, -1, (rt::Fmt("%s<%f[p2]", value) + "%").c_str(), d);
            value += 6.66667f;
        }
        rt::InsertListItem(p, m.ids.depth, -1, (rt::Fmt("%s<%f", 100) + "%").c_str(), kDepthSteps);
        rt::SetCtrlVal(p, m.ids.depth, 0);
    }
}

// Shows one band's fields in its controls and their twins.
void ShowBand(const EqModel& m, int p, int band) {
    const int gain = GetField(GainField(m, band));
    const int cut = GetField(CutField(m, band));
    SetVal(p, m.ids.gain[band], gain);
    SetVal(p, m.ids.gainSlide[band], kZeroDbCode - gain);
    SetVal(p, m.ids.cut[band], cut);
    SetVal(p, m.ids.cutSlide[band], cut);
    if (BandwidthField(m, band).present()) SetVal(p, m.ids.bandwidth[band], GetField(BandwidthField(m, band)));
}

void Update(const EqModel& m) {
    const int p = *m.panel;
    if (p <= 0) return;
    if (m.enableBit.present()) SetVal(p, m.ids.mode, GetField(m.enableBit));
    else SetVal(p, m.ids.mode, GetField(m.pathBit));
    for (int band = 0; band < kBands; ++band) ShowBand(m, p, band);
    if (m.ids.depth > 0 && m.depthReg) {
        const int d = GetField(DepthField(m));
        SetVal(p, m.ids.depth, d);
        rt::SetCtrlVal(p, m.ids.depthSlide, d / static_cast<double>(kDepthSteps));
    }
    if (m.ids.preset > 0) ShowEQPresetOfBands(p, m.ids.preset, m.bandBase);
}

// Rebuilds band `band`'s register from the panel's rings (other bits kept).
void ComposeBand(const EqModel& m, int p, int band) {
    if (band == 0 && m.pathBit.present()) capture::CtrlToField(p, m.ids.mode, m.pathBit);
    capture::CtrlToField(p, m.ids.gain[band], GainField(m, band));
    capture::CtrlToField(p, m.ids.cut[band], CutField(m, band));
    if (BandwidthField(m, band).present()) capture::CtrlToField(p, m.ids.bandwidth[band], BandwidthField(m, band));
}

// The band a control belongs to, or -1.
int BandOf(const EqModel& m, int control) {
    for (int band = 0; band < kBands; ++band)
        for (const auto* role : {&m.ids.gain, &m.ids.gainSlide, &m.ids.cut, &m.ids.cutSlide, &m.ids.bandwidth})
            if ((*role)[band] == control && control > 0) return band;
    return control == m.ids.mode ? 0 : -1;
}

int BandCommit(const EqModel& m, int p, int control, int band) {
    // The committed control's twin follows it.
    if (control == m.ids.gain[band]) {
        SetVal(p, m.ids.gainSlide[band], kZeroDbCode - CtrlOr(p, control, kZeroDbCode));
    } else if (control == m.ids.gainSlide[band]) {
        SetVal(p, m.ids.gain[band], kZeroDbCode - CtrlOr(p, control, 0));
    } else if (control == m.ids.cut[band] && m.ids.cutSlide[band] > 0) {
        int cut = 0;
        if (rt::GetCtrlVal(p, control, &cut) >= 0) SetVal(p, m.ids.cutSlide[band], cut);
    } else if (control == m.ids.cutSlide[band]) {
        int cut = 0;
        if (rt::GetCtrlVal(p, control, &cut) >= 0) SetVal(p, m.ids.cut[band], cut);
    }
    ComposeBand(m, p, band);
    const int reg = m.bandBase + band;
    SetFlag(&FlagCFGUpdate);
    ZelqxWriteOneReg(reg);
    return 0;
}

int Band(const EqModel& m, int p, int control, int event) {
    if (event != rt::EVENT_COMMIT) return 0;
    // Zutb: the enable ring writes R104 alone.
    if (control == m.ids.mode && m.enableBit.present()) {
        capture::CtrlToField(p, control, m.enableBit);
        SetFlag(&FlagCFGUpdate);
        ZelqxWriteOneReg(m.enableBit.reg);
        return 0;
    }
    const int band = BandOf(m, control);
    if (band < 0) return 0;
    return BandCommit(m, p, control, band);
}

int Depth(const EqModel& m, int p, int control, int event) {
    if (event != rt::EVENT_COMMIT || !m.depthReg || m.ids.depth <= 0) return 0;
    int d = GetField(DepthField(m));
    if (control == m.ids.depth) {
        d = CtrlOr(p, control, d);
    } else if (control == m.ids.depthSlide) {
        double x = 0;
        rt::GetCtrlVal(p, control, &x);
        // The slide's steps fall a little short of k / 15: the small addition keeps step k on k.
        d = static_cast<int>(std::trunc(kDepthSteps * (x + 0.001)));
        if (d < 0) d = 0;
        if (d > kDepthSteps) d = kDepthSteps;
        SetVal(p, m.ids.depth, d);
    } else {
        return 0;
    }
    rt::SetCtrlVal(p, m.ids.depthSlide, d / static_cast<double>(kDepthSteps));
    PutField(DepthField(m), d);
    SetFlag(&FlagCFGUpdate);
    ZelqxWriteOneReg(m.depthReg);
    return 0;
}

int Preset(const EqModel& m, int p, int event) {
    if (event != rt::EVENT_COMMIT) return 0;
    int preset = -1;
    rt::GetCtrlVal(p, m.ids.preset, &preset);
    if (m.demoPanel && *m.demoPanel > 0) ShowDemoEQPreset(*m.demoPanel, preset);
    if (preset >= 0 && preset < 12) {
        const EqPreset& row = EqPresetTable[preset];
        for (int band = 0; band < kBands; ++band) {
            const PresetBand& b = row.bands[band];
            if (b.cut >= 0) {
                SetVal(p, m.ids.cut[band], b.cut);
                SetVal(p, m.ids.cutSlide[band], b.cut);
            }
            SetVal(p, m.ids.gain[band], kZeroDbCode - b.gainDb);
            SetVal(p, m.ids.gainSlide[band], b.gainDb);
            if (b.bandwidth >= 0) SetVal(p, m.ids.bandwidth[band], b.bandwidth);
        }
        SetVal(p, m.ids.depth, row.depth);
    }
    // The five bands and the depth go out as one action: the first refused write ends it.
    WriteAction action("EQ Preset");
    for (int band = 0; band < kBands; ++band) ComposeBand(m, p, band);
    if (m.depthReg) capture::CtrlToField(p, m.ids.depth, DepthField(m));
    for (int band = 0; band < kBands; ++band) action.Send(m.bandBase + band);
    if (m.depthReg) action.Send(m.depthReg);
    SetFlag(&FlagCFGUpdate);
    return 0;
}

const EqModel* ModelOfPanel(int panel) {
    for (int i = 0; i < kModels; ++i)
        if (*ModelOf(static_cast<Model>(i)).panel == panel && panel > 0) return &ModelOf(static_cast<Model>(i));
    return nullptr;
}

void RegisterModel(Model id, const char* band, const char* depth, const char* preset) {
    rt::RegisterCtrlCallback(band, [id](int p, int c, int e, void*, int, int) { return Band(ModelOf(id), p, c, e); });
    rt::RegisterCtrlCallback(depth, [id](int p, int c, int e, void*, int, int) { return Depth(ModelOf(id), p, c, e); });
    rt::RegisterCtrlCallback(preset, [id](int p, int, int e, void*, int, int) { return Preset(ModelOf(id), p, e); });
}

// The mono panel binds one callback per band; each reads its band's controls from the mono
// equaliser panel, whichever of them was committed.
int MonoBand(int band, int event) {
    if (event != rt::EVENT_COMMIT) return 0;
    const EqModel& m = ModelOf(Mono);
    if (*m.panel <= 0) return 0;
    ComposeBand(m, *m.panel, band);
    // Band 1 writes before raising the flag, the others after; nothing between them reads it.
    if (band == 0) {
        ZelqxWriteOneReg(m.bandBase);
        SetFlag(&FlagCFGUpdate);
    } else {
        SetFlag(&FlagCFGUpdate);
        ZelqxWriteOneReg(m.bandBase + band);
    }
    return 0;
}

}  // namespace

void InitEQPanel() { Init(ModelOf(Jorb)); }
void InitEQPanel_Jora() { Init(ModelOf(Jora)); }
void InitEQPanel_Qeva() { Init(ModelOf(Qeva)); }
void InitEQPanelZuta() { Init(ModelOf(Zuta)); }
void InitEQPanelZutb() { Init(ModelOf(Zutb)); }
void MNInitEQPanel() { Init(ModelOf(Mono)); }
// Pyka has no equaliser panel.
void MNPykaInitEQPanel() {}
void UpdateEQPanel() { Update(ModelOf(Jorb)); }
void UpdateEQPanel_Jora() { Update(ModelOf(Jora)); }
void UpdateEQPanel_Qeva() { Update(ModelOf(Qeva)); }
void UpdateEQPanelZuta() { Update(ModelOf(Zuta)); }
void UpdateEQPanelZutb() { Update(ModelOf(Zutb)); }
void UpdateMNEQPanel() { Update(ModelOf(Mono)); }

void RegisterEQCallbacks() {
    RegisterModel(Jorb, "cfgeqBAND", "cfgeqDEPTH3D", "cfgPreset");
    RegisterModel(Zuta, "cfgeqBANDZuta", "cfgeqDEPTH3DZuta", "cfgPresetZuta");
    RegisterModel(Jora, "cfgeqBANDJora", "cfgeqDEPTH3DJora", "cfgPresetJora");
    RegisterModel(Qeva, "cfgeqBANDQeva", "cfgeqDEPTH3DQeva", "cfgPresetQeva");
    RegisterModel(Zutb, "cfgeqBANDZutb", "cfgeqDEPTH3DZutb", "cfgPresetZutb");
    const char* mono[kBands] = {"cfgMNEQ1", "cfgMNEQ2", "cfgMNEQ3", "cfgMNEQ4", "cfgMNEQ5"};
    for (int band = 0; band < kBands; ++band)
        rt::RegisterCtrlCallback(mono[band], [band](int, int, int e, void*, int, int) { return MonoBand(band, e); });
}

void RunEQPresetAsCommit(int eqPanel, int preset) {
    const EqModel* m = ModelOfPanel(eqPanel);
    if (!m || m->ids.preset <= 0) return;
    rt::SetCtrlVal(eqPanel, m->ids.preset, preset);
    rt::CallCtrlCallback(eqPanel, m->ids.preset, rt::EVENT_COMMIT, 0, 0);
}

void ShowEQPresetOfBands(int panel, int ring, int firstReg) {
    unsigned bands[kBands];
    for (int band = 0; band < kBands; ++band) bands[band] = CFG_REG[firstReg + band];
    auto holds = [&bands](int preset) {
        unsigned applied[kBands];
        std::copy(bands, bands + kBands, applied);
        return ApplyEQPresetToBands(preset, applied) && std::equal(applied, applied + kBands, bands);
    };
    int shown = -1;
    if (rt::GetCtrlVal(panel, ring, &shown) >= 0 && holds(shown)) return;
    for (int preset = 0; preset < 12; ++preset)
        if (holds(preset)) {
            rt::SetCtrlVal(panel, ring, preset);
            return;
        }
    rt::ShowRingNote(panel, ring, "Custom");
}

bool ApplyEQPresetToBands(int preset, unsigned bands[5]) {
    if (preset < 0 || preset >= 12 || !bands) return false;
    const EqPreset& row = EqPresetTable[preset];
    for (int band = 0; band < kBands; ++band) {
        const PresetBand& b = row.bands[band];
        unsigned v = (bands[band] & ~0x1Fu) | static_cast<unsigned>(kZeroDbCode - b.gainDb);
        if (b.cut >= 0) v = (v & ~0x60u) | (static_cast<unsigned>(b.cut) << 5);
        if (band >= 1 && band <= 3 && b.bandwidth >= 0) v = (v & ~0x100u) | (static_cast<unsigned>(b.bandwidth) << 8);
        bands[band] = v;
    }
    return true;
}
