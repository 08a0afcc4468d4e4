// The DAC panels of every model as descriptions: controls -> register fields, send plans,
// ring fills, quirks, and the few callbacks that are sequences of their own (volumes, jack
// detection).
#include "capture/adc_panel.h"
#include "panels/CFGDACJora_pan.h"
#include "panels/CFGDACQeva_pan.h"
#include "panels/MNADC_pan.h"
#include "panels/MNDAC_pan.h"
#include "panels/MNPykaDAC_pan.h"
#include "panels/MNPykbDAC_pan.h"
#include "panels/cfgADCJorb_pan.h"
#include "panels/cfgDACJorb_pan.h"
#include "panels/cfgDACZuta_pan.h"
#include "panels/cfgDACZutb_pan.h"
#include "playback/dac_model.h"
#include "runtime/ui.h"
#include "shell/handles.h"
#include "shell/state.h"

namespace dac {
namespace {

using fieldpanel::Field;
using fieldpanel::Group;
constexpr auto One = fieldpanel::OneStage;
using fieldpanel::ReadInt;
using fieldpanel::RingFill;
using fieldpanel::Scale;
using fieldpanel::Send;
using fieldpanel::SendOne;
using fieldpanel::Stage;

// The four stereo DAC panels carry the same controls under the same ids.
namespace st = ui::cfgDACJorb_pan;
#define CB_STEREO_DAC_CONTROLS(X)                                                                        \
    X(DACENL) X(DACENR) X(DACPOLL) X(DACPOLR) X(DACOSR) X(AMUTE) X(SOFTMUTE) X(DACVOLL) X(DACVOLR)       \
    X(DACVU11) X(DACVU12) X(LIMEN) X(LIMATK) X(LIMDCY) X(LIMBOOST) X(LIMLVL) X(CSelectMnOverST)          \
    X(CADCLRSWAP) X(CDACLRSWAP) X(RFMT) X(RWL) X(CLRP) X(CBCP) X(STLOOPBACK) X(STADC_COMP) X(STDAC_COMP) \
    X(STWL8) X(DEPTH3D) X(CJackDetect) X(RJDGPIO) X(RJACK_DET) X(CJackDetect0) X(CJackDetect1)           \
    X(CJackDetect2) X(CJackDetect3) X(STMS) X(STMCLKSEL) X(STBCLKDIV) X(STIMCLKDIV) X(STSLOWCLKEN)      \
    X(STSR) X(STVMIDSEL) X(STPLLEN) X(STMCLK) X(STMCLKDIVMODE) X(STMCLKDIV) X(STIMCLKDIVMODE)          \
    X(STMCLKInput) X(STFS) X(IMCLK) X(F2Clock) X(STPLLN) X(STPLLK1) X(STPLLK2) X(STPLLK3) X(STMCLKCAL)  \
    X(STSETPLL)
#define CB_SAME_ID(ns, prefix, c) static_assert(ui::ns::prefix##_##c == st::CFGDAC_##c, #prefix " " #c);
#define CB_SAME_ZUTA(c) CB_SAME_ID(cfgDACZuta_pan, CFGDACZuta, c)
#define CB_SAME_JORA(c) CB_SAME_ID(CFGDACJora_pan, CFGDACJora, c)
#define CB_SAME_QEVA(c) CB_SAME_ID(CFGDACQeva_pan, CFGDACQeva, c)
CB_STEREO_DAC_CONTROLS(CB_SAME_ZUTA)
CB_STEREO_DAC_CONTROLS(CB_SAME_JORA)
CB_STEREO_DAC_CONTROLS(CB_SAME_QEVA)
// Zutb's panel carries the interface, companding and clock controls of the others.
#define CB_ZUTB_DAC_CONTROLS(X)                                                                          \
    X(CSelectMnOverST) X(CADCLRSWAP) X(RFMT) X(RWL) X(CLRP) X(CBCP) X(STLOOPBACK) X(STADC_COMP) X(STMS) \
    X(STMCLKSEL) X(STBCLKDIV) X(STIMCLKDIV) X(STSLOWCLKEN) X(STSR) X(STVMIDSEL) X(STPLLEN) X(STMCLK)      \
    X(STMCLKDIVMODE) X(STMCLKDIV) X(STIMCLKDIVMODE) X(STMCLKInput) X(STFS) X(IMCLK) X(F2Clock) X(STPLLN) \
    X(STPLLK1) X(STPLLK2) X(STPLLK3) X(STMCLKCAL) X(STSETPLL)
#define CB_SAME_ZUTB(c) CB_SAME_ID(cfgDACZutb_pan, CFGDACZutb, c)
CB_ZUTB_DAC_CONTROLS(CB_SAME_ZUTB)

// The three mono DAC panels carry the same controls under the same ids; their clock block uses
// the stereo panels' ids.
namespace mn = ui::MNDAC_pan;
#define CB_MONO_DAC_CONTROLS(X)                                                                              \
    X(MNDACEN) X(MNDACPL) X(MNDACAMUTE) X(MNDACOSR) X(MNDEEMPH) X(MNDACMU) X(MNDACVOL) X(MNLIMATK) X(MNLIMDCY) \
    X(MNLIMEN) X(MNLIMBOOST) X(MNLIMLVL) X(MNADCLRSWAP) X(MNDACLRSWAP) X(MNFMT) X(MNWL) X(MNFRAMEP) X(MNBCP)   \
    X(MNPCMTSEN) X(PCM_TIMESLOT) X(LOADPCM) X(MNLOOPBACK) X(MNADC_COMP) X(MNDAC_COMP) X(MNWL8) X(MNMS)         \
    X(MNBCLKDIV) X(MNMCLKSEL) X(MNSR) X(MNSLOWCLKEN) X(CJackDetect) X(RJACK_DET)
#define CB_MONO_CLOCK_CONTROLS(X)                                                                            \
    X(STIMCLKDIV) X(STVMIDSEL) X(STPLLEN) X(STMCLK) X(STMCLKDIVMODE) X(STMCLKDIV) X(STIMCLKDIVMODE)           \
    X(STMCLKInput) X(STFS) X(IMCLK) X(F2Clock) X(STPLLN) X(STPLLK1) X(STPLLK2) X(STPLLK3) X(STMCLKCAL)        \
    X(STSETPLL)
#define CB_SAME_MONO(ns, prefix, c) static_assert(ui::ns::prefix##_##c == mn::MNDAC_##c, #prefix " " #c);
#define CB_SAME_PYKB(c) CB_SAME_MONO(MNPykbDAC_pan, MNPykbDAC, c)
#define CB_SAME_PYKA(c) CB_SAME_MONO(MNPykaDAC_pan, MNPykaDAC, c)
#define CB_SAME_STEREO(c) static_assert(mn::MNDAC_##c == st::CFGDAC_##c, "MNDAC " #c);
CB_MONO_DAC_CONTROLS(CB_SAME_PYKB)
CB_MONO_DAC_CONTROLS(CB_SAME_PYKA)
CB_MONO_CLOCK_CONTROLS(CB_SAME_PYKB)
CB_MONO_CLOCK_CONTROLS(CB_SAME_PYKA)
CB_MONO_CLOCK_CONTROLS(CB_SAME_STEREO)

// A volume ring: its code into bits 7:0 with the update latch set, that register sent. A
// ganged pair puts the code into both registers and latches the second one.
Group Volumes(const std::string& callback, std::vector<std::pair<int, int>> rings, bool ganged) {
    Group g;
    g.callback = callback;
    g.several = ganged;
    g.before = [rings, ganged](int panel, int control) {
        for (const auto& [ring, reg] : rings) {
            if (ring != control) continue;
            int code = 0;
            if (rt::GetCtrlVal(panel, control, &code) < 0) return;
            if (ganged) {
                for (const auto& [other, r] : rings) fieldpanel::PutField(r, 0x0FF, static_cast<unsigned>(code));
                CFG_REG[rings.back().second] |= 0x100;
                for (const auto& [other, r] : rings) SendOne(r);
            } else {
                fieldpanel::PutField(reg, 0x0FF, static_cast<unsigned>(code));
                CFG_REG[reg] |= 0x100;
                SendOne(reg);
            }
        }
    };
    return g;
}

// Stereo jack detection: headphone drivers and DACs on, the detect pin, the slow clock, then
// the outputs the jack switches; switching it off only clears the detect enable.
void StereoJack(int panel) {
    auto wait = [](int reg) { SendOne(reg, 0.01); };
    if (ReadInt(panel, st::CFGDAC_CJackDetect, 0) == 0) {
        CFG_REG[9] &= ~0x040u;
        SendOne(9);
        return;
    }
    CFG_REG[2] |= 0x180;
    wait(2);
    CFG_REG[3] = 0x1FF;
    wait(3);
    fieldpanel::ReadField(panel, {st::CFGDAC_RJDGPIO, 9, 0x030});
    CFG_REG[9] |= 0x040;
    wait(9);
    CFG_REG[7] |= 0x001;
    wait(7);
    CFG_REG[44] |= 0x004;
    wait(44);
    int jack = ReadInt(panel, st::CFGDAC_RJACK_DET, 0);
    const int boxes[4] = {st::CFGDAC_CJackDetect0, st::CFGDAC_CJackDetect1, st::CFGDAC_CJackDetect2,
                          st::CFGDAC_CJackDetect3};
    CFG_REG[13] &= 0x100;
    for (int i = 0; i < 4; ++i)
        if (ReadInt(panel, boxes[i], 0)) CFG_REG[13] |= 1u << (jack ? 4 + i : i);
    if (jack) {
        CFG_REG[44] |= 0x002;
    } else {
        CFG_REG[13] |= 0x020;
    }
    SendOne(13);
    // The second detect input also needs R44 bit 1 on the chip, not only in the copy.
    if (jack) {
        rt::Delay(0.01);
        SendOne(44);
    }
    SetFlag(&FlagCFGUpdate);
}

// Mono jack detection, every write followed by 0.3 s; a chip without R8 (Pyka) skips its
// writes but keeps their waits.
void MonoJack(int panel, bool hasR8) {
    auto write8 = [hasR8](unsigned clear, unsigned set) {
        if (hasR8) {
            CFG_REG[8] = (CFG_REG[8] & ~clear) | set;
            SendOne(8, 0.3);
        } else {
            rt::Delay(0.3);
        }
    };
    if (ReadInt(panel, mn::MNDAC_CJackDetect, 0)) {
        CFG_REG[2] |= 0x180;
        SendOne(2, 0.3);
        CFG_REG[3] |= 0x01E;
        SendOne(3, 0.3);
        write8(0x00F, 0x001);
        CFG_REG[7] |= 0x001;
        SendOne(7, 0.3);
    } else {
        write8(0x009, ReadInt(panel, mn::MNDAC_RJACK_DET, 0) ? 0x008 : 0x000);
        CFG_REG[7] &= ~0x001u;
        SendOne(7, 0.3);
    }
    SetFlag(&FlagCFGUpdate);
}

ClockModel StereoClock(const std::string& suffix) {
    ClockModel c;
    c.vmid = st::CFGDAC_STVMIDSEL;
    c.pllEnable = st::CFGDAC_STPLLEN;
    c.mode = st::CFGDAC_STMCLK;
    c.prescaleMode = st::CFGDAC_STMCLKDIVMODE;
    c.dividerMode = st::CFGDAC_STIMCLKDIVMODE;
    c.prescale = st::CFGDAC_STMCLKDIV;
    c.divider = st::CFGDAC_STIMCLKDIV;
    c.mclk = st::CFGDAC_STMCLKInput;
    c.fs = st::CFGDAC_STFS;
    c.imclk = st::CFGDAC_IMCLK;
    c.f2 = st::CFGDAC_F2Clock;
    c.n = st::CFGDAC_STPLLN;
    c.k1 = st::CFGDAC_STPLLK1;
    c.k2 = st::CFGDAC_STPLLK2;
    c.k3 = st::CFGDAC_STPLLK3;
    c.calculate = st::CFGDAC_STMCLKCAL;
    c.configure = st::CFGDAC_STSETPLL;
    c.sampleRate = st::CFGDAC_STSR;
    c.suffix = suffix;
    c.clockCallback = "STClockCB" + suffix;
    return c;
}

std::vector<Field> StereoClockFields() {
    return {{st::CFGDAC_STMS, 6, 0x001},        {st::CFGDAC_STBCLKDIV, 6, 0x01C},
            {st::CFGDAC_STIMCLKDIV, 6, 0x0E0},  {st::CFGDAC_STMCLKSEL, 6, 0x100},
            {st::CFGDAC_STSR, 7, 0x00E},        {st::CFGDAC_STSLOWCLKEN, 7, 0x001}};
}

struct StereoQuirks {
    bool jorbx = false;     // R72 steps and the 96 kHz search
    bool ganged = false;    // one volume for both channels
    int* adcPanel = nullptr;  // the ADC filter panel mirrored (none: R10 only)
    bool openDimsInputs = true;
};

void BuildStereo(DacModel* m, const char* name, int* panel, const std::string& s, StereoQuirks q) {
    m->name = name;
    m->panel = panel;
    m->fills = {{st::CFGDAC_DACPOLL, Scale::Polarity}, {st::CFGDAC_DACPOLR, Scale::Polarity},
                {st::CFGDAC_DACOSR, Scale::Oversampling}, {st::CFGDAC_DACVOLL, Scale::Volume},
                {st::CFGDAC_DACVOLR, Scale::Volume},  {st::CFGDAC_LIMDCY, Scale::Decay},
                {st::CFGDAC_LIMATK, Scale::Attack},   {st::CFGDAC_LIMBOOST, Scale::Boost},
                {st::CFGDAC_LIMLVL, Scale::Threshold}};
    m->clock = StereoClock(s);
    m->clock.jorbx = q.jorbx;
    m->clock.openDimsInputs = q.openDimsInputs;

    std::vector<Group>& g = m->groups;
    g.push_back(One("cfgDACEN" + s, {{st::CFGDAC_DACENL, 3, 0x001}, {st::CFGDAC_DACENR, 3, 0x002}}, {{3}}));
    Group ctrl = One("cfgDACCtrl" + s,
                     {{st::CFGDAC_DACPOLL, 10, 0x001}, {st::CFGDAC_DACPOLR, 10, 0x002}, {st::CFGDAC_DACOSR, 10, 0x008},
                      {st::CFGDAC_AMUTE, 10, 0x004}, {st::CFGDAC_SOFTMUTE, 10, 0x040}},
                     q.adcPanel ? std::vector<Send>{{10}, {14}} : std::vector<Send>{{10}});
    if (q.adcPanel)
        ctrl.mirror =
            fieldpanel::Mirror{st::CFGDAC_DACOSR, q.adcPanel, ui::cfgADCJorb_pan::CFGADCJorb_ADCOSR, 14, 0x008};
    g.push_back(ctrl);
    Group vol = Volumes("cfgDACVol" + s, {{st::CFGDAC_DACVOLL, 11}, {st::CFGDAC_DACVOLR, 12}}, q.ganged);
    vol.shows = {{st::CFGDAC_DACVOLL, 11, 0x0FF}, {st::CFGDAC_DACVOLR, 12, 0x0FF}};
    g.push_back(vol);
    g.push_back(
        One("DACVUCB" + s, {{st::CFGDAC_DACVU11, 11, 0x100}, {st::CFGDAC_DACVU12, 12, 0x100}}, {{11, 0.1}, {12}}));
    g.push_back(One("cfgDACLimiterCtrl" + s,
                    {{st::CFGDAC_LIMEN, 24, 0x100}, {st::CFGDAC_LIMATK, 24, 0x00F}, {st::CFGDAC_LIMDCY, 24, 0x0F0},
                     {st::CFGDAC_LIMBOOST, 25, 0x00F}, {st::CFGDAC_LIMLVL, 25, 0x070}},
                    {{24, 0.3}, {25, 0.3}}));
    g.push_back(One("CSelectMnOverSTCB" + s, {{st::CFGDAC_CSelectMnOverST, 4, 0x001}}, {{4}}));
    g.push_back(One("CADCLRSWAPCB" + s, {{st::CFGDAC_CADCLRSWAP, 4, 0x002}}, {{4}}));
    g.push_back(One("CDACLRSWAPCB" + s, {{st::CFGDAC_CDACLRSWAP, 4, 0x004}}, {{4}}));
    g.push_back(One("RFMTCB" + s, {{st::CFGDAC_RFMT, 4, 0x018}}, {{4}}));
    g.push_back(One("RWLCB" + s, {{st::CFGDAC_RWL, 4, 0x060}}, {{4}}));
    g.push_back(One("CLRPCB" + s, {{st::CFGDAC_CLRP, 4, 0x080}}, {{4}}));
    g.push_back(One("CBCPCB" + s, {{st::CFGDAC_CBCP, 4, 0x100}}, {{4}}));
    g.push_back(One("STCOMPCtrlCB" + s,
                    {{st::CFGDAC_STLOOPBACK, 5, 0x001}, {st::CFGDAC_STADC_COMP, 5, 0x006},
                     {st::CFGDAC_STDAC_COMP, 5, 0x018}, {st::CFGDAC_STWL8, 5, 0x020}},
                    {{5}}));
    g.push_back(One("cfgDEPTH3D" + s, {{st::CFGDAC_DEPTH3D, 41, 0x00F}}, {{41}}));
    Group jack;
    jack.callback = "JackDetectCB" + s;
    jack.before = [](int panel, int) { StereoJack(panel); };
    jack.flag = false;
    jack.several = true;
    g.push_back(jack);
    Group clock = One("STClockCB" + s, StereoClockFields(), {{6, 0.3}, {7}});
    if (q.jorbx) clock.before = JorbxRateStep(m);
    g.push_back(clock);
    g.push_back(One("STPLLENCB" + s, {{st::CFGDAC_STPLLEN, 1, 0x020}}, {{1}}));
    for (Group& c : ClockGroups(m)) g.push_back(std::move(c));
}

// Zutb: interface, companding and clock on its own registers, the reference impedance as an
// enable bit with an impedance field, and two PLL register blocks.
void BuildZutb(DacModel* m) {
    m->name = "Zutb";
    m->panel = &PHandleSTDACZutb;
    m->clock = StereoClock("Zutb");
    ClockModel& c = m->clock;
    c.block = ui::cfgDACZutb_pan::CFGDACZutb_RPLLAB;
    c.dividerReg = 38;
    c.vmidReg = 10;
    c.vmidMask = 0x00C;
    c.vmidEnableReg = 6;
    c.vmidEnableMask = 0x100;
    c.blocks = {68, 79};
    c.blockMask = 0x020;

    std::vector<Group>& g = m->groups;
    g.push_back(One("CSelectMnOverSTCBZutb", {{st::CFGDAC_CSelectMnOverST, 36, 0x001}}, {{36}}));
    g.push_back(One("CADCLRSWAPCBZutb", {{st::CFGDAC_CADCLRSWAP, 36, 0x002}}, {{36}}));
    g.push_back(One("CBCPCBZutb", {{st::CFGDAC_CBCP, 36, 0x100}}, {{36}}));
    g.push_back(One("RFMTCBZutb", {{st::CFGDAC_RFMT, 7, 0x003}}, {{7}}));
    g.push_back(One("RWLCBZutb", {{st::CFGDAC_RWL, 7, 0x00C}}, {{7}}));
    g.push_back(One("CLRPCBZutb", {{st::CFGDAC_CLRP, 7, 0x010}}, {{7}}));
    // The loopback box resends the companding register as it stands.
    g.push_back(One("STCOMPCtrlCBZutb", {{st::CFGDAC_STADC_COMP, 37, 0x006}}, {{37}}));
    Group clock;
    clock.callback = "STClockCBZutb";
    clock.stages = {{{{st::CFGDAC_STMS, 7, 0x040}}, {{7}}},
                    {{{st::CFGDAC_STBCLKDIV, 38, 0x01C},
                      {st::CFGDAC_STIMCLKDIV, 38, 0x0E0},
                      {st::CFGDAC_STMCLKSEL, 38, 0x100},
                      {st::CFGDAC_STSR, 39, 0x00E},
                      {st::CFGDAC_STSLOWCLKEN, 39, 0x001}},
                     {{38, 0.3}, {39}}}};
    g.push_back(clock);
    g.push_back(One("STPLLENCBZutb", {{st::CFGDAC_STPLLEN, 38, 0x002}}, {{38}}));
    for (Group& cg : ClockGroups(m)) g.push_back(std::move(cg));
}

struct MonoNames {
    std::string mn;        // "MN", "MNPykb", "MNPyka"
    std::string suffix;    // of the clock block's names: "Pykc", "Pykb", "Pyka"
    std::string timeSlot;  // SetTimeSlot...
    std::string jack;      // JackDetect...CB2...
};

void BuildMono(DacModel* m, const char* name, int* panel, int* adcPanel, const MonoNames& n, bool hasR8) {
    m->name = name;
    m->panel = panel;
    m->fills = {{mn::MNDAC_MNDACVOL, Scale::Volume},  {mn::MNDAC_MNLIMDCY, Scale::Decay},
                {mn::MNDAC_MNLIMATK, Scale::Attack},  {mn::MNDAC_MNLIMBOOST, Scale::Boost},
                {mn::MNDAC_MNLIMLVL, Scale::Threshold}};
    m->clock = StereoClock(n.suffix);
    m->clock.clockCallback = n.mn + "ClockCB";
    m->clock.openDimsInputs = false;

    std::vector<Group>& g = m->groups;
    g.push_back(One(n.mn + "DACPWRCB", {{mn::MNDAC_MNDACEN, 3, 0x001}}, {{3}}));
    Group ctrl = One(n.mn + "DACCtrlCB",
                     {{mn::MNDAC_MNDACPL, 10, 0x001}, {mn::MNDAC_MNDEEMPH, 10, 0x030}, {mn::MNDAC_MNDACMU, 10, 0x040},
                      {mn::MNDAC_MNDACAMUTE, 10, 0x004}, {mn::MNDAC_MNDACOSR, 10, 0x008}},
                     {{10}, {14}});
    ctrl.mirror = fieldpanel::Mirror{mn::MNDAC_MNDACOSR, adcPanel, ui::MNADC_pan::MNADC_MNADCOSR, 14, 0x008};
    g.push_back(ctrl);
    g.push_back(One(n.mn + "DACDigitalVolCB", {{mn::MNDAC_MNDACVOL, 11, 0x0FF}}, {{11}}));
    g.push_back(One(n.mn + "DACLimiterCtrlCB",
                    {{mn::MNDAC_MNLIMEN, 24, 0x100}, {mn::MNDAC_MNLIMATK, 24, 0x00F}, {mn::MNDAC_MNLIMDCY, 24, 0x0F0},
                     {mn::MNDAC_MNLIMBOOST, 25, 0x00F}, {mn::MNDAC_MNLIMLVL, 25, 0x070}},
                    {{24, 0.3}, {25}}));
    g.push_back(One(n.mn + "AICtrlCB",
                    {{mn::MNDAC_MNADCLRSWAP, 4, 0x002}, {mn::MNDAC_MNDACLRSWAP, 4, 0x004}, {mn::MNDAC_MNFMT, 4, 0x018},
                     {mn::MNDAC_MNWL, 4, 0x060}, {mn::MNDAC_MNFRAMEP, 4, 0x080}, {mn::MNDAC_MNBCP, 4, 0x100}},
                    {{4}}));
    g.push_back(One(n.mn + "PCMTSEN", {{mn::MNDAC_MNPCMTSEN, 60, 0x100}}, {{60}}));
    // The 10-bit slot: bits 8:0 are the whole of R59, bit 9 goes to R60 bit 0.
    g.push_back(One(n.timeSlot,
                    {{mn::MNDAC_PCM_TIMESLOT, 59, 0x1FF, 0, false}, {mn::MNDAC_PCM_TIMESLOT, 60, 0x001, 9, false}},
                    {{59}, {60}}));
    g.push_back(One(n.mn + "COMPCtrlCB",
                    {{mn::MNDAC_MNLOOPBACK, 5, 0x001}, {mn::MNDAC_MNADC_COMP, 5, 0x006},
                     {mn::MNDAC_MNDAC_COMP, 5, 0x018}, {mn::MNDAC_MNWL8, 5, 0x020}},
                    {{5}}));
    g.push_back(One(n.mn + "ClockCB",
                    {{mn::MNDAC_MNMS, 6, 0x001}, {mn::MNDAC_MNBCLKDIV, 6, 0x01C}, {mn::MNDAC_STIMCLKDIV, 6, 0x0E0},
                     {mn::MNDAC_MNMCLKSEL, 6, 0x100}, {mn::MNDAC_MNSR, 7, 0x00E}, {mn::MNDAC_MNSLOWCLKEN, 7, 0x001}},
                    {{6, 0.3}, {7}}));
    g.push_back(One("STPLLENCB" + n.suffix, {{mn::MNDAC_STPLLEN, 1, 0x020}}, {{1}}));
    Group jack;
    jack.callback = n.jack;
    jack.before = [hasR8](int panel, int) { MonoJack(panel, hasR8); };
    jack.flag = false;
    jack.several = true;
    g.push_back(jack);
    for (Group& cg : ClockGroups(m)) g.push_back(std::move(cg));
}

}  // namespace

const DacModel& ZutbDac() {
    return fieldpanel::Built<DacModel>([](DacModel* m) { BuildZutb(m); });
}

const DacModel& PykcDac() {
    return fieldpanel::Built<DacModel>([](DacModel* m) {
        BuildMono(m, "Pykc", &PHandleMNDAC, &PHandleMNADC, {"MN", "Pykc", "SetTimeSlot", "JackDetectCB2"}, true);
    });
}

const DacModel& PykbDac() {
    return fieldpanel::Built<DacModel>([](DacModel* m) {
        BuildMono(m, "Pykb", &PHandleMNPykbDAC, &PHandleMNPykbADC,
                  {"MNPykb", "Pykb", "SetTimeSlotPykb", "JackDetectPykbCB2"}, true);
    });
}

// Pyka has no R8: its jack detection leaves that register out.
const DacModel& PykaDac() {
    return fieldpanel::Built<DacModel>([](DacModel* m) {
        BuildMono(m, "Pyka", &PHandleMNPykaDAC, &PHandleMNPykaADC,
                  {"MNPyka", "Pyka", "SetTimeSlotPyka", "JackDetectCB2Pyka"}, false);
    });
}

const DacModel& JorbDac() {
    return fieldpanel::Built<DacModel>([](DacModel* m) {
        BuildStereo(m, "Jorb", &PHandleSTDAC, "", {true, false, &PHandleSTADCFilter});
    });
}

const DacModel& ZutaDac() {
    return fieldpanel::Built<DacModel>([](DacModel* m) {
        BuildStereo(m, "Zuta", &PHandleSTDACZuta, "Zuta", {false, false, &PHandleSTADCFilterZuta});
    });
}

const DacModel& JoraDac() {
    return fieldpanel::Built<DacModel>([](DacModel* m) {
        BuildStereo(m, "Jora", &PHdlDACJora, "Jora", {false, false, &PHdlADCJora});
    });
}

// Qeva: no ADC filter panel to mirror, one volume for both channels, and the open reference
// impedance leaves the calculator's inputs alone.
const DacModel& QevaDac() {
    return fieldpanel::Built<DacModel>([](DacModel* m) {
        BuildStereo(m, "Qeva", &PHdlDACQeva, "Qeva", {false, true, nullptr, false});
    });
}

void Init(const DacModel& m) {
    fieldpanel::FillRings(*m.panel, m.fills);
    ForgetPllBlock(m);
}

void Update(const DacModel& m) {
    int panel = *m.panel;
    if (panel <= 0) return;
    fieldpanel::ShowGroups(panel, m.groups);
    RefreshClock(m, panel);
}

void Register(const DacModel& m) { fieldpanel::RegisterGroups(m.groups); }

}  // namespace dac
