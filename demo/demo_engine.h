// The controls every demo panel is made of, written once: dB sliders mapped onto register
// fields, the five equaliser bands with their boxes, and the ALC mode writes. The per-model
// descriptions (stereo_demo.cpp, mono_demo.cpp, zutb_demo.cpp) say which controls a panel has,
// which registers they drive and which callback names they answer to.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace demo {

// How a slider's value in dB becomes a field code and back. Float-to-int conversions and
// integer divisions truncate toward zero.
enum class Scale {
    AlcMin,    // code = (v + 12) / 6,          shows 6c - 12
    AlcMax,    // code = (v + 6.75) / 6,        shows 6c - 6.75
    Pga,       // code = (v + 12) / 0.75,       shows 0.75c - 12
    PgaBoost,  // bit set from 10 dB up,        shows 20 or 0
    Boost,     // code = (v + 12) / 3 + 1,      shows 3c - 15 (a field of 0, path off, shows as 1)
    Mixer,     // code = (v + 15) / 3,          shows 3c - 15
    Digital,   // code = trunc(10v) / 5 + 255,  shows (c - 255) / 2 (a code of 0 leaves the slider)
    Volume,    // code = v + 57 through the output ramp, shows c - 57
};

struct Slider {
    int control;
    const char* callback;  // callback name without the model's suffix
    int reg;
    int shift;  // lowest bit of the field
    Scale scale;
};

// Output volume sliders hand their target code (0 to 63) to the model's ramp.
using VolumeRamp = std::function<void(int reg, int target)>;

// A slider's commit: the field from the slider, one register write, snap-back, FlagCFGUpdate.
void CommitSlider(int panel, const Slider& s, const VolumeRamp& ramp);
// Sets the slider from its field (no traffic).
void ShowSlider(int panel, const Slider& s);

// The equaliser block: five bands of a gain slider (-12..12 dB) and a centre-frequency ring
// (0..3) in band registers firstReg..firstReg+4 (bits 4:0 gain code 12 - dB, bits 6:5 ring),
// the bandwidth boxes of bands 2 to 4 (bit 8 of their band registers) and the EQ path box.
struct Equaliser {
    int gain[5];
    int freq[5];
    int bandwidth[3];  // bands 2, 3, 4
    int path;
    int preset;  // the preset ring
    int firstReg;
    int pathReg;
    uint32_t pathMask;
};

// An equaliser block whose controls are named <P>DemoEQ1GN .. <P>DemoEQ5GN, the rings
// <P>DemoEQ1<RING> .., the boxes <P>DemoEQ2BW .. <P>DemoEQ4BW and <P>DemoEQ3DMODE and the
// preset ring <P>EQPresetting (P the constants' prefix up to "DemoEQ").
#define DEMO_EQUALISER(P, RING, firstReg, pathReg, pathMask)                                       \
    {{P##DemoEQ1GN, P##DemoEQ2GN, P##DemoEQ3GN, P##DemoEQ4GN, P##DemoEQ5GN},                          \
     {P##DemoEQ1##RING, P##DemoEQ2##RING, P##DemoEQ3##RING, P##DemoEQ4##RING, P##DemoEQ5##RING},      \
     {P##DemoEQ2BW, P##DemoEQ3BW, P##DemoEQ4BW}, P##DemoEQ3DMODE, P##EQPresetting, firstReg, pathReg,   \
     pathMask}

void CommitEqBand(int panel, const Equaliser& eq, int band);  // band 1..5
void CommitEqBandwidth(int panel, const Equaliser& eq, int band);  // band 2..4
void CommitEqPath(int panel, const Equaliser& eq);
void ShowEqualiser(int panel, const Equaliser& eq);
// Applies equaliser preset `preset` to the five band registers (written in band order, one
// action "EQ Preset") and sets FlagCFGUpdate; the band controls follow at the next refresh.
// Nothing for an unknown preset.
void ApplyEqPreset(const Equaliser& eq, int preset);
// Tool tips of the EQ path box (`pathText`) and of the three bandwidth boxes.
void SetEqToolTips(int panel, const Equaliser& eq, const char* pathText);

// The ALC timing of a mode (1 music, 2 speech, 3 generic): R34 = decay × 16 + attack. -1 for
// any other mode.
int AlcTiming(int mode);
// Turns the ALC off: clears `enableBits` of R32 (the gain limits stay), writes R32, sets
// FlagCFGUpdate.
void AlcOff(uint32_t enableBits);
// The ALC registers of a mode: R33 = 0x00B, R35 = 0x00F, R34 = timing (bit 8 clear: ALC, not
// limiter), each written, in this order.
void WriteAlcMode(int timing);

// Writes one register of CFG_REG to the chip, as a step of the running action when one runs.
void WriteRegister(int reg);

// A control's value as an int (0 when it cannot be read).
int CtrlInt(int panel, int control);

// Binds `name` to `action`, run on the commit event with the panel the control sits on (and the
// control committed).
void BindCommit(const std::string& name, std::function<void(int panel)> action);
void BindCommit(const std::string& name, std::function<void(int panel, int control)> action);
// Binds the equaliser block's callbacks: <prefix>DemoEQ1<suffix> .. 5 (bands), <prefix>DemoEQ2BWCB
// <suffix> .. 4 (bandwidths) and <prefix>DemoEQ3DMODECB<suffix> (path box).
void BindEqualiser(const std::string& prefix, const std::string& suffix, const Equaliser& eq);

}  // namespace demo
