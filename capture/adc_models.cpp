// The ADC filter panels of every model as descriptions (controls -> register fields, send
// plans, ring fills, the notch block) and the notch callback they share.
#include "capture/adc_model.h"
#include "capture/notch_filter.h"
#include "panels/MNADC_pan.h"
#include "panels/MNDAC_pan.h"
#include "panels/MNPykaADC_pan.h"
#include "panels/MNPykbADC_pan.h"
#include "panels/cfgADCJora_pan.h"
#include "panels/cfgADCJorb_pan.h"
#include "panels/cfgADCZuta_pan.h"
#include "panels/cfgADCZutb_pan.h"
#include "panels/cfgDACJorb_pan.h"
#include "link/write_action.h"
#include "runtime/fmt.h"
#include "runtime/ui.h"
#include "shell/handles.h"
#include "shell/state.h"

namespace adc {
namespace {

using fieldpanel::Field;
using fieldpanel::Group;
constexpr auto One = fieldpanel::OneStage;
using fieldpanel::ReadInt;
using fieldpanel::Scale;
using fieldpanel::Send;
using fieldpanel::SendOne;

// The stereo ADC filter panels carry the same controls under the same ids.
namespace st = ui::cfgADCJorb_pan;
#define CB_STEREO_ADC_CONTROLS(X)                                                                          \
    X(ADCENL) X(ADCENR) X(ADCLPOL) X(ADCRPOL) X(ADCOSR) X(HPFCUT) X(HPFAPP) X(HPFEN) X(ADCVOLL) X(ADCVU15) \
    X(ADCVOLR) X(ADCVU16) X(NFEN) X(CNFU27) X(CNFU28) X(CNFU29) X(CNFU30) X(NOTCHCENTERFREQ)              \
    X(Notch3DBFREQ) X(RSampleFrequency) X(STNFCALNCONFIG)
#define CB_SAME_ID(ns, prefix, c) static_assert(ui::ns::prefix##_##c == st::CFGADCJorb_##c, #prefix " " #c);
#define CB_SAME_ZUTA(c) CB_SAME_ID(cfgADCZuta_pan, CFGADCZuta, c)
#define CB_SAME_JORA(c) CB_SAME_ID(cfgADCJora_pan, CFGADCJora, c)
CB_STEREO_ADC_CONTROLS(CB_SAME_ZUTA)
CB_STEREO_ADC_CONTROLS(CB_SAME_JORA)
#define CB_SAME_ZUTB(c) CB_SAME_ID(cfgADCZutb_pan, CFGADCZutb, c)
CB_STEREO_ADC_CONTROLS(CB_SAME_ZUTB)

// The mono ADC panels carry the same controls under the same ids.
namespace mn = ui::MNADC_pan;
#define CB_MONO_ADC_CONTROLS(X)                                                                             \
    X(MNADCEN) X(MNADCPOL) X(MNADCOSR) X(MNHPFCUT) X(MNHPFAPP) X(MNHPFEN) X(MNADCVOL) X(MNNFEN) X(CNFU27)    \
    X(CNFU28) X(CNFU29) X(CNFU30) X(NOTCHCENTERFREQ) X(Notch3DBFREQ) X(RSampleFrequency) X(MNNFCALNCONFIG)
#define CB_SAME_MONO(ns, prefix, c) static_assert(ui::ns::prefix##_##c == mn::MNADC_##c, #prefix " " #c);
#define CB_SAME_PYKB(c) CB_SAME_MONO(MNPykbADC_pan, MNPykbADC, c)
#define CB_SAME_PYKA(c) CB_SAME_MONO(MNPykaADC_pan, MNPykaADC, c)
CB_MONO_ADC_CONTROLS(CB_SAME_PYKB)
CB_MONO_ADC_CONTROLS(CB_SAME_PYKA)

// The notch block; its inputs and update boxes carry the same ids on every ADC panel.
#define CB_NOTCH_CONTROLS(X) \
    X(NOTCHCENTERFREQ) X(Notch3DBFREQ) X(RSampleFrequency) X(CNFU27) X(CNFU28) X(CNFU29) X(CNFU30)
#define CB_SAME_NOTCH(c) static_assert(mn::MNADC_##c == st::CFGADCJorb_##c, "MNADC " #c);
CB_NOTCH_CONTROLS(CB_SAME_NOTCH)

NotchModel Notch(int base, int enable, int button, bool refreshDims) {
    NotchModel n;
    n.base = base;
    n.enable = enable;
    n.button = button;
    n.centre = st::CFGADCJorb_NOTCHCENTERFREQ;
    n.bandwidth = st::CFGADCJorb_Notch3DBFREQ;
    n.rate = st::CFGADCJorb_RSampleFrequency;
    n.updates[0] = st::CFGADCJorb_CNFU27;
    n.updates[1] = st::CFGADCJorb_CNFU28;
    n.updates[2] = st::CFGADCJorb_CNFU29;
    n.updates[3] = st::CFGADCJorb_CNFU30;
    n.refreshDims = refreshDims;
    return n;
}

std::vector<int> NotchInputs(const NotchModel& n) {
    return {n.centre, n.bandwidth, n.rate, n.updates[0], n.updates[1], n.updates[2], n.updates[3], n.button};
}

// How deep the notch must still cut at the centre asked for; a filter that rounding moves so
// far that it attenuates the centre by less than this is written only after the user agrees.
constexpr double kMinCentreAttenuationDb = 20.0;

std::string Hz(double f) { return rt::Fmt("%s<%f[p1]", f) + " Hz"; }

// Whether the coefficients may be written: an unstable filter never is; one whose notch lands
// away from the centre asked for only when the user says so.
bool Acceptable(const notch::Coefficients& c, unsigned centre, unsigned bandwidth, double fs) {
    const std::string asked = std::to_string(centre) + " Hz";
    if (!notch::Stable(c)) {
        std::string text = "A notch at " + asked + " with a bandwidth of " + std::to_string(bandwidth) + " Hz at " +
                           rt::Fmt("%s<%f", fs / 1000) +
                           " kHz cannot run on the chip: its rounded coefficients put a pole on or outside the unit "
                           "circle.\nNothing was written. Please choose another centre frequency, bandwidth or "
                           "sample rate.";
        rt::MessagePopup("Warning -- Operation aborted", text.c_str());
        return false;
    }
    double depth = notch::AttenuationDb(c, centre, fs);
    if (depth >= kMinCentreAttenuationDb) return true;
    std::string text = "The chip's rounded coefficients put this notch at " + Hz(notch::NotchFrequency(c, fs)) +
                       " instead of " + asked + ", so " + asked + " is attenuated by only " +
                       rt::Fmt("%s<%f[p1]", depth) + " dB.\nWrite this notch filter anyway?";
    return rt::ConfirmPopup("Notch Filter", text.c_str()) != 0;
}

// Off: only the enable goes out (with the update bit). On: the coefficients for the centre,
// bandwidth and rate, the update bit on the last register only when any update box is ticked;
// a filter the chip cannot run, or one the user declines, leaves the four registers alone.
void OnNotch(const NotchModel& n, int panel) {
    const int r = n.base;
    if (ReadInt(panel, n.enable, 0) == 0) {
        CFG_REG[r] = (CFG_REG[r] & ~0x080u) | 0x100;
        SendOne(r);
        SetFlag(&FlagCFGUpdate);
        fieldpanel::Dim(panel, NotchInputs(n), true);
        return;
    }
    fieldpanel::Dim(panel, NotchInputs(n), false);
    unsigned centre = 0, bandwidth = 0;
    rt::GetCtrlVal(panel, n.centre, &centre);
    rt::GetCtrlVal(panel, n.bandwidth, &bandwidth);
    double fs = notch::RateOfIndex(ReadInt(panel, n.rate, -1));
    if (fs <= 0) {
        rt::MessagePopup("", "Sample rate register value is reserved");
        return;
    }
    centre &= 0xFFFF;
    bandwidth &= 0xFFFF;
    notch::Coefficients c = notch::Compute(centre, bandwidth, fs);
    if (!Acceptable(c, centre, bandwidth, fs)) {
        SetFlag(&FlagCFGUpdate);  // the enable box goes back to what the chip has
        return;
    }
    // The four registers go out as one action: the first refused send ends it (told).
    WriteAction op("Calculate and Configure Notch Filter");
    // The model's own fields only: bit 7 of the second and fourth registers is not the notch's.
    if (n.ownsRegisters) {
        CFG_REG[r + 1] &= ~0x080u;
        CFG_REG[r + 3] &= ~0x080u;
    }
    CFG_REG[r] |= 0x080;
    for (int i = 0; i < 4; ++i) CFG_REG[r + i] &= ~0x100u;
    uint32_t* regs = &CFG_REG[r];
    notch::Pack(c, &regs[0], &regs[1], &regs[2], &regs[3]);
    bool update = false;
    for (int box : n.updates) update = update || ReadInt(panel, box, 0) != 0;
    if (update) CFG_REG[r + 3] |= 0x100;
    for (int i = 0; i < 4 && !op.Stopped(); ++i) SendOne(r + i, i < 3 ? 0.01 : 0);
    SetFlag(&FlagCFGUpdate);
}

Group NotchGroup(const std::string& callback, const NotchModel* n) {
    Group g;
    g.callback = callback;
    g.before = [n](int panel, int) { OnNotch(*n, panel); };
    g.flag = false;
    g.shows = {{n->enable, n->base, 0x080},          {n->updates[0], n->base, 0x100},
               {n->updates[1], n->base + 1, 0x100}, {n->updates[2], n->base + 2, 0x100},
               {n->updates[3], n->base + 3, 0x100}};
    return g;
}

struct StereoNames {
    const char *enable, *control, *notch, *volume;
};

// Register layout of a stereo ADC filter panel.
struct StereoLayout {
    int enableReg = 2;
    unsigned left = 0x001, right = 0x002;
    int controlReg = 14;
    std::vector<Send> controlSends{{14}, {10}};
    int leftVolume = 15, rightVolume = 16;
    int notchBase = 27;
};

void BuildStereo(AdcModel* m, const char* name, int* panel, int* dacPanel, StereoNames names, StereoLayout l) {
    m->name = name;
    m->panel = panel;
    m->fills = {{st::CFGADCJorb_ADCLPOL, Scale::Polarity}, {st::CFGADCJorb_ADCRPOL, Scale::Polarity},
                {st::CFGADCJorb_ADCOSR, Scale::Oversampling}, {st::CFGADCJorb_ADCVOLL, Scale::Volume},
                {st::CFGADCJorb_ADCVOLR, Scale::Volume}};
    m->notch = Notch(l.notchBase, st::CFGADCJorb_NFEN, st::CFGADCJorb_STNFCALNCONFIG, false);

    const int c = l.controlReg;
    std::vector<Group>& g = m->groups;
    g.push_back(One(names.enable,
                    {{st::CFGADCJorb_ADCENL, l.enableReg, l.left}, {st::CFGADCJorb_ADCENR, l.enableReg, l.right}},
                    {{l.enableReg}}));
    Group ctrl = One(names.control,
                     {{st::CFGADCJorb_ADCLPOL, c, 0x001}, {st::CFGADCJorb_ADCRPOL, c, 0x002},
                      {st::CFGADCJorb_ADCOSR, c, 0x008}, {st::CFGADCJorb_HPFEN, c, 0x100},
                      {st::CFGADCJorb_HPFAPP, c, 0x080}, {st::CFGADCJorb_HPFCUT, c, 0x070}},
                     l.controlSends);
    if (dacPanel)
        ctrl.mirror = fieldpanel::Mirror{st::CFGADCJorb_ADCOSR, dacPanel, ui::cfgDACJorb_pan::CFGDAC_DACOSR, 10, 0x008};
    g.push_back(ctrl);
    // Both update latches first, then each volume, every write followed by 0.1 s.
    Group vol;
    vol.callback = names.volume;
    vol.stages = {{{{st::CFGADCJorb_ADCVU15, l.leftVolume, 0x100}, {st::CFGADCJorb_ADCVU16, l.rightVolume, 0x100}},
                   {{l.leftVolume, 0.1}, {l.rightVolume, 0.1}}},
                  {{{st::CFGADCJorb_ADCVOLL, l.leftVolume, 0x0FF}}, {{l.leftVolume, 0.1}}},
                  {{{st::CFGADCJorb_ADCVOLR, l.rightVolume, 0x0FF}}, {{l.rightVolume, 0.1}}}};
    g.push_back(vol);
    g.push_back(NotchGroup(names.notch, &m->notch));
}

void BuildMono(AdcModel* m, const char* name, int* panel, int* dacPanel, const std::string& mnName) {
    m->name = name;
    m->panel = panel;
    m->fills = {{mn::MNADC_MNADCVOL, Scale::Volume}};
    m->notch = Notch(27, mn::MNADC_MNNFEN, mn::MNADC_MNNFCALNCONFIG, true);

    std::vector<Group>& g = m->groups;
    g.push_back(One(mnName + "ADCPWRCB", {{mn::MNADC_MNADCEN, 2, 0x001}}, {{2}}));
    Group ctrl = One(mnName + "ADCCtrlCB",
                     {{mn::MNADC_MNADCOSR, 14, 0x008}, {mn::MNADC_MNADCPOL, 14, 0x001}, {mn::MNADC_MNHPFEN, 14, 0x100},
                      {mn::MNADC_MNHPFAPP, 14, 0x080}, {mn::MNADC_MNHPFCUT, 14, 0x070}},
                     {{14}, {10}});
    ctrl.mirror = fieldpanel::Mirror{mn::MNADC_MNADCOSR, dacPanel, ui::MNDAC_pan::MNDAC_MNDACOSR, 10, 0x008};
    g.push_back(ctrl);
    g.push_back(One(mnName + "ADCVolCtrlCB", {{mn::MNADC_MNADCVOL, 15, 0x0FF}}, {{15}}));
    g.push_back(NotchGroup(mnName + "NotchFilterCB", &m->notch));
}

}  // namespace

// Zutb: its own register map (R15 is its reset and is never written here); the polarities and
// the high-pass enable sit in R46 like the stereo R14, written and shown from the same bits;
// no oversampling mirror. The copy's R60 and R62 may still hold another model's values, so the
// notch write composes R59 to R62 from the notch's own fields.
const AdcModel& ZutbAdc() {
    return fieldpanel::Built<AdcModel>([](AdcModel* m) {
        StereoLayout l;
        l.enableReg = 6;
        l.left = 0x008;
        l.right = 0x004;
        l.controlReg = 46;
        l.controlSends = {{5}, {46}};
        l.leftVolume = 47;
        l.rightVolume = 48;
        l.notchBase = 59;
        BuildStereo(m, "Zutb", &PHandleSTADCFilterZutb, nullptr,
                    {"cfgADCENZutb", "cfgADCCtrlZutb", "cfgNotchFilterZutb", "cfgADCVolZutb"}, l);
        m->notch.ownsRegisters = true;
    });
}

const AdcModel& PykcAdc() {
    return fieldpanel::Built<AdcModel>([](AdcModel* m) { BuildMono(m, "Pykc", &PHandleMNADC, &PHandleMNDAC, "MN"); });
}

const AdcModel& PykbAdc() {
    return fieldpanel::Built<AdcModel>(
        [](AdcModel* m) { BuildMono(m, "Pykb", &PHandleMNPykbADC, &PHandleMNPykbDAC, "MNPykb"); });
}

const AdcModel& PykaAdc() {
    return fieldpanel::Built<AdcModel>(
        [](AdcModel* m) { BuildMono(m, "Pyka", &PHandleMNPykaADC, &PHandleMNPykaDAC, "MNPyka"); });
}

const AdcModel& JorbAdc() {
    return fieldpanel::Built<AdcModel>([](AdcModel* m) {
        BuildStereo(m, "Jorb", &PHandleSTADCFilter, &PHandleSTDAC,
                    {"cfgADCEN", "cfgADCCtrl", "cfgNotchFilter", "cfgADCVol"}, {});
    });
}

const AdcModel& ZutaAdc() {
    return fieldpanel::Built<AdcModel>([](AdcModel* m) {
        BuildStereo(m, "Zuta", &PHandleSTADCFilterZuta, &PHandleSTDACZuta,
                    {"cfgADCENZuta", "cfgADCCtrlZuta", "cfgNotchFilterZuta", "cfgADCVolZuta"}, {});
    });
}

const AdcModel& JoraAdc() {
    return fieldpanel::Built<AdcModel>([](AdcModel* m) {
        BuildStereo(m, "Jora", &PHdlADCJora, &PHdlDACJora,
                    {"cfgJoraADCEN", "cfgJoraADCCtrl", "cfgJoraNotchFilter", "cfgJoraADCVol"}, {});
    });
}

void Init(const AdcModel& m) { fieldpanel::FillRings(*m.panel, m.fills); }

void Update(const AdcModel& m) {
    int panel = *m.panel;
    if (panel <= 0) return;
    fieldpanel::ShowGroups(panel, m.groups);
    if (m.notch.refreshDims)
        fieldpanel::Dim(panel, NotchInputs(m.notch), (CFG_REG[m.notch.base] & 0x080) == 0);
}

void Register(const AdcModel& m) { fieldpanel::RegisterGroups(m.groups); }

}  // namespace adc
