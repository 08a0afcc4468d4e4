#include "demo/demo_engine.h"

#include <cmath>
#include <string>

#include "capture/eq_panel.h"
#include "link/write_action.h"
#include "runtime/ui.h"
#include "shell/state.h"

namespace demo {
namespace {

uint32_t FieldMask(Scale s) {
    switch (s) {
        case Scale::AlcMin: case Scale::AlcMax: case Scale::Boost: case Scale::Mixer: return 0x7;
        case Scale::Pga: case Scale::Volume: return 0x3F;
        case Scale::PgaBoost: return 0x1;
        case Scale::Digital: return 0xFF;
    }
    return 0;
}

int CodeOf(Scale s, double v) {
    switch (s) {
        case Scale::AlcMin: return static_cast<int>(v + 12) / 6;
        case Scale::AlcMax: return static_cast<int>(std::trunc((v + 6.75) / 6.0));
        case Scale::Pga: return static_cast<int>(std::trunc((v + 12.0) / 0.75));
        case Scale::PgaBoost: return v >= 10 ? 1 : 0;
        case Scale::Boost: return static_cast<int>(v + 12) / 3 + 1;
        case Scale::Mixer: return static_cast<int>(v + 15) / 3;
        case Scale::Digital: return static_cast<int>(std::trunc(v * 10.0)) / 5 + 255;
        case Scale::Volume: return static_cast<int>(v) + 57;
    }
    return 0;
}

double ValueOf(Scale s, int c) {
    switch (s) {
        case Scale::AlcMin: return 6 * c - 12;
        case Scale::AlcMax: return 6 * c - 6.75;
        case Scale::Pga: return 0.75 * c - 12;
        case Scale::PgaBoost: return c ? 20 : 0;
        case Scale::Boost: return 3 * (c == 0 ? 1 : c) - 15;
        case Scale::Mixer: return 3 * c - 15;
        case Scale::Digital: return (c - 255) / 2.0;
        case Scale::Volume: return c - 57;
    }
    return 0;
}

void SetField(int reg, int shift, uint32_t mask, uint32_t value) {
    CFG_REG[reg] = (CFG_REG[reg] & ~(mask << shift)) | ((value & mask) << shift);
}
uint32_t Field(int reg, int shift, uint32_t mask) { return (CFG_REG[reg] >> shift) & mask; }

double ReadValue(int panel, int control, Scale s) {
    if (s == Scale::PgaBoost) {  // a 16-bit unsigned slider
        unsigned u = 0;
        rt::GetCtrlVal(panel, control, &u);
        return static_cast<double>(u & 0xFFFF);
    }
    double v = 0;
    rt::GetCtrlVal(panel, control, &v);
    return v;
}

}  // namespace

int CtrlInt(int panel, int control) {
    int v = 0;
    rt::GetCtrlVal(panel, control, &v);
    return v;
}

void BindCommit(const std::string& name, std::function<void(int panel, int control)> action) {
    rt::RegisterCtrlCallback(name, [action](int panel, int control, int event, void*, int, int) {
        if (event == rt::EVENT_COMMIT) action(panel, control);
        return 0;
    });
}

void BindCommit(const std::string& name, std::function<void(int panel)> action) {
    BindCommit(name, [action](int panel, int) { action(panel); });
}

void BindEqualiser(const std::string& prefix, const std::string& suffix, const Equaliser& eq) {
    const Equaliser* e = &eq;
    for (int band = 1; band <= 5; ++band)
        BindCommit(prefix + "DemoEQ" + std::to_string(band) + suffix,
                   [e, band](int panel) { CommitEqBand(panel, *e, band); });
    for (int band = 2; band <= 4; ++band)
        BindCommit(prefix + "DemoEQ" + std::to_string(band) + "BWCB" + suffix,
                   [e, band](int panel) { CommitEqBandwidth(panel, *e, band); });
    BindCommit(prefix + "DemoEQ3DMODECB" + suffix, [e](int panel) { CommitEqPath(panel, *e); });
}

void WriteRegister(int reg) { SendInAction(reg); }

void CommitSlider(int panel, const Slider& s, const VolumeRamp& ramp) {
    double v = ReadValue(panel, s.control, s.scale);
    int code = CodeOf(s.scale, v);
    if (s.scale == Scale::Volume) {
        if (ramp) ramp(s.reg, code);
        FlagCFGUpdate = 1;
        return;
    }
    SetField(s.reg, s.shift, FieldMask(s.scale), static_cast<uint32_t>(code));
    WriteRegister(s.reg);
    rt::SetCtrlVal(panel, s.control, ValueOf(s.scale, code));
    FlagCFGUpdate = 1;
}

void ShowSlider(int panel, const Slider& s) {
    int code = static_cast<int>(Field(s.reg, s.shift, FieldMask(s.scale)));
    if (s.scale == Scale::Digital && code == 0) return;  // digital mute: the slider stays
    rt::SetCtrlVal(panel, s.control, ValueOf(s.scale, code));
}

void CommitEqBand(int panel, const Equaliser& eq, int band) {
    if (band < 1 || band > 5) return;
    int reg = eq.firstReg + band - 1;
    int gain = CtrlInt(panel, eq.gain[band - 1]);
    int freq = CtrlInt(panel, eq.freq[band - 1]);
    SetField(reg, 0, 0x1F, static_cast<uint32_t>(12 - gain));
    SetField(reg, 5, 0x3, static_cast<uint32_t>(freq));
    WriteRegister(reg);
    FlagCFGUpdate = 1;
}

void CommitEqBandwidth(int panel, const Equaliser& eq, int band) {
    if (band < 2 || band > 4) return;
    int reg = eq.firstReg + band - 1;
    SetField(reg, 8, 0x1, CtrlInt(panel, eq.bandwidth[band - 2]) ? 1 : 0);
    WriteRegister(reg);
    FlagCFGUpdate = 1;
}

void CommitEqPath(int panel, const Equaliser& eq) {
    if (CtrlInt(panel, eq.path))
        CFG_REG[eq.pathReg] |= eq.pathMask;
    else
        CFG_REG[eq.pathReg] &= ~eq.pathMask;
    WriteRegister(eq.pathReg);
    FlagCFGUpdate = 1;
}

void ShowEqualiser(int panel, const Equaliser& eq) {
    for (int band = 1; band <= 5; ++band) {
        int reg = eq.firstReg + band - 1;
        rt::SetCtrlVal(panel, eq.gain[band - 1], 12 - static_cast<int>(Field(reg, 0, 0x1F)));
        rt::SetCtrlVal(panel, eq.freq[band - 1], static_cast<int>(Field(reg, 5, 0x3)));
        if (band >= 2 && band <= 4)
            rt::SetCtrlVal(panel, eq.bandwidth[band - 2], static_cast<int>(Field(reg, 8, 0x1)));
    }
    rt::SetCtrlVal(panel, eq.path, (CFG_REG[eq.pathReg] & eq.pathMask) ? 1 : 0);
    ShowEQPresetOfBands(panel, eq.preset, eq.firstReg);
}

void ApplyEqPreset(const Equaliser& eq, int preset) {
    unsigned bands[5];
    for (int band = 0; band < 5; ++band) bands[band] = CFG_REG[eq.firstReg + band];
    if (!ApplyEQPresetToBands(preset, bands)) return;
    WriteAction action("EQ Preset");
    for (int band = 0; band < 5; ++band) {
        CFG_REG[eq.firstReg + band] = bands[band];
        WriteRegister(eq.firstReg + band);
    }
    FlagCFGUpdate = 1;
}

void SetEqToolTips(int panel, const Equaliser& eq, const char* pathText) {
    rt::SetCtrlAttribute(panel, eq.path, rt::ATTR_TOOLTIP_TEXT, pathText);
    for (int band = 2; band <= 4; ++band) {
        std::string text = "  Equalizer Band " + std::to_string(band) +
                           " bandwidth selection:   \n  unchecked -> narrow bandwidth; checked -> wide bandwidth  ";
        rt::SetCtrlAttribute(panel, eq.bandwidth[band - 2], rt::ATTR_TOOLTIP_TEXT, text.c_str());
    }
}

int AlcTiming(int mode) {
    switch (mode) {
        case 1: return 10 * 16 + 6;  // music: decay 10, attack 6
        case 2: return 4 * 16 + 2;   // speech
        case 3: return 3 * 16 + 5;   // generic
        default: return -1;
    }
}

void AlcOff(uint32_t enableBits) {
    CFG_REG[32] &= ~enableBits;
    WriteRegister(32);
    FlagCFGUpdate = 1;
}

void WriteAlcMode(int timing) {
    CFG_REG[33] = 0x00B;
    WriteRegister(33);
    CFG_REG[35] = 0x00F;
    WriteRegister(35);
    CFG_REG[34] = static_cast<uint32_t>(timing);
    WriteRegister(34);
}

}  // namespace demo
