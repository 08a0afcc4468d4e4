// The mono signal-path view, one description for the three mono models (Pykc, also shown for
// Pykd, Pykb and Pyka): the same map, blocks, group rules, clicks and panel, each model with
// its own path panel, block panels and callback names. The ALC control lines are dashed.
#include <memory>
#include <string>
#include <vector>

#include "device/device_services.h"
#include "panels/AudioCodec_pan.h"
#include "panels/MNPath_pan.h"
#include "pathview/path_model.h"
#include "shell/handles.h"
#include "shell/state.h"

namespace pathview {

namespace {

// The three mono path panels share their control ids.
using namespace ui::MNPath_pan;

// ---- map ---------------------------------------------------------------------------------
// Dots 0 to 96 but 70; lines 0 to 67 but 12, 13, 32, 33 and 61 (64 to 67 are the ALC control
// lines); switch 0 puts AUX and switch 1 MICN on the PGA's inverting input; double-throw switch
// 1 puts MICP (throw 0) or VMID (throw 1) on its other input; double-throw switch 0 sits on
// dot 0 alone and is never drawn.
const std::vector<DotDef> kMonoDots = {
    {0, 43, 68}, {1, 64, 68}, {2, 161, 68}, {3, 586, 68}, {4, 606, 68}, {5, 620, 68}, {6, 666, 85},
    {7, 760, 85}, {8, 780, 85}, {9, 874, 85}, {10, 67, 112}, {11, 87, 112}, {12, 67, 68}, {13, 178, 80},
    {14, 200, 80}, {15, 200, 88}, {16, 200, 94}, {17, 200, 100}, {18, 43, 130}, {19, 70, 130}, {20, 323, 143},
    {21, 404, 143}, {22, 60, 163}, {23, 490, 143}, {24, 597, 143}, {25, 597, 89}, {26, 620, 89}, {27, 114, 130},
    {28, 114, 121}, {29, 125, 121}, {30, 165, 140}, {31, 190, 140}, {32, 239, 143}, {33, 89, 130}, {34, 106, 130},
    {35, 114, 112}, {36, 43, 150}, {37, 80, 150}, {38, 150, 240}, {39, 175, 240}, {40, 190, 230}, {41, 80, 240},
    {42, 106, 112}, {43, 125, 156}, {44, 43, 330}, {45, 70, 330}, {46, 250, 143}, {47, 250, 300}, {48, 604, 300},
    {49, 612, 300}, {50, 612, 240}, {51, 620, 240}, {52, 89, 150}, {53, 106, 156}, {54, 666, 220}, {55, 89, 163},
    {56, 690, 220}, {57, 720, 220}, {58, 760, 220}, {59, 780, 220}, {60, 874, 220}, {61, 604, 280}, {62, 604, 110},
    {63, 610, 110}, {64, 620, 105}, {65, 597, 215}, {66, 620, 215}, {67, 586, 200}, {68, 610, 200}, {69, 620, 200},
    {71, 740, 220}, {72, 740, 270}, {73, 760, 270}, {74, 780, 270}, {75, 800, 270}, {76, 874, 270}, {77, 468, 186},
    {78, 468, 364}, {79, 178, 68}, {80, 153, 161}, {81, 153, 278}, {82, 326, 278}, {83, 351, 263}, {84, 351, 172},
    {85, 405, 172}, {86, 64, 68}, {87, 161, 68}, {88, 586, 68}, {89, 606, 68}, {90, 620, 68}, {91, 760, 85},
    {92, 874, 85}, {93, 67, 112}, {94, 67, 68}, {95, 200, 80}, {96, 200, 88},
};

const std::vector<LineDef> kMonoLines = {
    {0, 0, 1}, {1, 1, 2}, {2, 2, 3}, {3, 3, 4}, {4, 4, 5}, {5, 6, 7}, {6, 8, 9}, {7, 11, 10},
    {8, 10, 12}, {9, 13, 14}, {10, 14, 15}, {11, 15, 16}, {14, 16, 17}, {15, 18, 19}, {16, 19, 33}, {17, 20, 21},
    {18, 22, 55}, {19, 23, 24}, {20, 24, 25}, {21, 25, 26}, {22, 34, 27}, {23, 28, 27}, {24, 28, 29}, {25, 30, 31},
    {26, 32, 20}, {27, 35, 42}, {28, 28, 35}, {29, 36, 37}, {30, 37, 52}, {31, 38, 39}, {34, 40, 39}, {35, 41, 37},
    {36, 41, 38}, {37, 53, 43}, {38, 44, 45}, {39, 46, 47}, {40, 47, 48}, {41, 48, 49}, {42, 50, 49}, {43, 51, 50},
    {44, 54, 56}, {45, 56, 57}, {46, 57, 58}, {47, 59, 60}, {48, 48, 61}, {49, 62, 61}, {50, 62, 63}, {51, 64, 63},
    {52, 24, 65}, {53, 65, 66}, {54, 3, 67}, {55, 67, 68}, {56, 68, 69}, {57, 71, 72}, {58, 72, 73}, {59, 74, 75},
    {60, 75, 76}, {62, 77, 78}, {63, 79, 13}, {64, 80, 81}, {65, 81, 82}, {66, 83, 84}, {67, 84, 85},
};

const std::vector<SwitchDef> kMonoSwitches = {{0, 11, 42}, {1, 33, 34}};
const std::vector<DPSTDef> kMonoDPST = {{0, 0, 0, 0}, {1, 53, 52, 55}};

// In the order they are built.
const std::vector<GroupDef> kMonoGroups = {
    {0, -1, {0, 1, 7, 8, 9, 10, 63}},
    {21, -1, {15, 16}},
    {65, -1, {45, 46, 57, 58, 59}},
    {83, -1, {59}},
    {42, 0, {24, 27, 28}},
    {32, 1, {22, 23, 24}},
    {37, -1, {25}},
    {39, -1, {26}},
    {24, -1, {17}},
    {26, -1, {18}},
    {43, -1, {29, 35, 36, 30}},
    {53, -1, {37}},
    {16, -1, {11, 14}},
    {46, -1, {31, 34}},
    {55, -1, {38}},
    {73, -1, {50, 51}},
    {89, -1, {62}},
    {9, -1, {6}},
    {68, -1, {47}},
    {85, -1, {60}},
    {63, -1, {44}},
    {7, -1, {5}},
    {28, -1, {19}},
    {30, -1, {20, 21}},
    {76, -1, {52, 53}},
    {71, -1, {48, 49, 50, 51}},
    {58, -1, {41, 42, 43}},
    {57, -1, {39, 40}},
    {5, -1, {3, 4}},
    {78, -1, {54, 55, 56}},
    {4, -1, {2}},
};

const PathMap kMonoMap = {kMonoDots, kMonoLines, kMonoSwitches, kMonoDPST, kMonoGroups};

// ---- blocks under the wires --------------------------------------------------------------
const std::vector<ArtItem> kMonoArt = {
    {Art::Pin, 43, 68, 0, 0, nullptr},   {Art::Text, 2, 61, 38, 14, "AUX"},
    {Art::Pin, 43, 130, 0, 0, nullptr},  {Art::Text, 2, 123, 38, 14, "MICN"},
    {Art::Pin, 43, 150, 0, 0, nullptr},  {Art::Text, 2, 143, 38, 14, "MICP"},
    {Art::Text, 20, 156, 40, 14, "VMID"},
    {Art::Pin, 43, 330, 0, 0, nullptr},  {Art::Text, 2, 323, 38, 14, "nc"},
    {Art::Amp, 125, 110, 40, 60, nullptr}, {Art::Text, 120, 172, 30, 14, "PGA"},
    {Art::Block, 190, 100, 49, 160, "BOOST"},
    {Art::Block, 323, 128, 52, 31, nullptr}, {Art::Text, 323, 129, 52, 13, "HPF"},
    {Art::Block, 404, 106, 86, 80, nullptr}, {Art::Line, 448, 106, 0, 80, nullptr},
    {Art::Text, 405, 150, 42, 14, "ADC"},  {Art::Text, 449, 150, 40, 14, "DAC"},
    {Art::Block, 521, 128, 50, 31, nullptr}, {Art::Text, 521, 129, 50, 13, "DAC"},
    {Art::Block, 326, 263, 49, 29, "ALC"},
    {Art::Block, 323, 306, 55, 29, "LIMITER"},
    {Art::Text, 256, 303, 60, 14, "BYPASS"},
    {Art::Text, 476, 288, 62, 14, "to MONO"},
    {Art::Text, 476, 314, 62, 14, "to SPK"},
    {Art::Block, 403, 364, 130, 24, "AUDIO INTERFACE"},
    {Art::Block, 620, 55, 46, 60, "MONO MIX"},
    {Art::Block, 620, 190, 46, 60, "SPK MIX"},
    {Art::Amp, 760, 75, 20, 20, nullptr},  {Art::Pin, 874, 85, 0, 0, nullptr},  {Art::Text, 852, 64, 48, 14, "MONO"},
    {Art::Amp, 760, 210, 20, 20, nullptr}, {Art::Pin, 874, 220, 0, 0, nullptr}, {Art::Text, 852, 199, 48, 14, "SPK+"},
    {Art::Amp, 760, 260, 20, 20, nullptr}, {Art::Pin, 874, 270, 0, 0, nullptr}, {Art::Text, 852, 249, 48, 14, "SPK-"},
    {Art::Text, 684, 202, 62, 14, "SPK VOL"},
    {Art::Block, 40, 350, 70, 22, "MICBIAS"},
    {Art::Block, 130, 350, 60, 22, "VREF"},
    {Art::Block, 210, 350, 60, 22, "PLL"},
};

// ---- group rules and panel refresh -------------------------------------------------------
// Groups 21, 26, 43, 53, 55, 73 and 83 keep their start state. 57 and 4 follow groups set
// before them in the same pass.
const std::vector<GroupRule> kMonoGroupRules = {
    {42, Bit(44, 2)},
    {32, Bit(44, 1)},
    {65, BitClear(54, 6)},
    {9, Bit(3, 7)},
    {68, Bit(3, 5)},
    {85, Bit(3, 6)},
    {63, Bit(3, 2)},
    {7, Bit(3, 3) && BitClear(56, 6)},
    {24, Bit(2, 0)},
    {28, Bit(3, 0)},
    {30, Bit(56, 0)},
    {76, Bit(50, 0)},
    {71, Bit(56, 1)},
    {58, Bit(50, 1)},
    {57, Lit(71) || Lit(58)},
    {5, Bit(56, 2)},
    {78, Bit(50, 5)},
    {4, Lit(5) || Lit(78)},
    {16, Field(47, 0x007) && Bit(2, 4)},
    {46, Field(47, 0x070) && Bit(2, 4)},
    {39, Bit(2, 4)},
    {37, BitClear(45, 6)},
    {0, Bit(1, 6)},
    {89, AudioInterface()},
};

const std::vector<StateRule> kMonoControlLines = {
    {64, Bit(32, 8)}, {65, Bit(32, 8)}, {66, Bit(32, 8)}, {67, Bit(32, 8)},
};

const std::vector<RingValue> kMonoRingValues = {
    {MNPATH_RMIC22BOOSTVOL, 47, 0x007, {}},
    {MNPATH_RINPPGABOOST, 47, 0x100, {}},
    {MNPATH_RMICP2BOOSTVOL, 47, 0x070, {}},
    OnScale(MNPATH_MNADCVOL, 15, 0x0FF, kDigitalSteps),
    OnScale(MNPATH_MNDACVOL, 11, 0x0FF, kDigitalSteps),
    OnScale(MNPATH_RINPPGAVOL, 45, 0x03F, kPgaSteps),
    OnScale(MNPATH_RSPKVOL, 54, 0x03F, kOutSteps, BitClear(54, 6)),
};

const std::vector<ShowRule> kMonoShown = {
    {MNPATH_MNMONO_0dBAtten, BitClear(40, 2)},
    {MNPATH_MNMONO_m10dBAtten, Bit(40, 2)},
    {MNPATH_MNSPK_0dBAtten, BitClear(40, 1)},
    {MNPATH_MNSPK_m10dBAtten, Bit(40, 1)},
    {MNPATH_MNINPPGANotMuteIcon, BitClear(45, 6)},
    {MNPATH_MNINPPGAMuteIcon, Bit(45, 6)},
    {MNPATH_MONOMUTEON, Bit(56, 6)},
    {MNPATH_MONOMUTEOFF, BitClear(56, 6)},
    {MNPATH_MNMNBoostEnableIcon, BitClear(49, 3)},
    {MNPATH_MNMNBoostDisableIcon, Bit(49, 3)},
    {MNPATH_MNSPKBoostEnableIcon, BitClear(49, 2)},
    {MNPATH_MNSPKBoostDisableIcon, Bit(49, 2)},
    {MNPATH_MNVREFDisenIcon, FieldZero(1, 0x003)},
    {MNPATH_MNBoostDisableIcon, BitClear(2, 4)},
    {MNPATH_MNMonoMixDisenIcon, BitClear(3, 3)},
    {MNPATH_MNSPKMixerDisenIcon, BitClear(3, 2)},
    {MNPATH_MNMonoDisableIcon, BitClear(3, 7)},
    {MNPATH_MNSPKPDisableIcon, BitClear(3, 5)},
    {MNPATH_MNSPKNDisableIcon, BitClear(3, 6)},
    {MNPATH_MNPLLDisenIcon, BitClear(1, 5)},
    {MNPATH_MNMICBIASDisenIcon, BitClear(1, 4)},
    {MNPATH_MNADCDisenIcon, BitClear(2, 0)},
    {MNPATH_MNDACDisenIcon, BitClear(3, 0)},
};

// ---- clicks ------------------------------------------------------------------------------
// Every wire row toggles the bit that lights the clicked wire's group.
const std::vector<ClickRow> kMonoClicks = {
    {Hit::Switch, {0}, Toggle(44, 0x004)},
    {Hit::Switch, {1}, Toggle(44, 0x002)},
    {Hit::DPST, {}, ToggleDPST(44, 0x001, 1, true)},
    {Hit::Segment, {0, 1}, Toggle(1, 0x040)},
    {Hit::Segment, {3, 4}, Toggle(56, 0x004)},
    {Hit::Segment, {5}, Toggle(3, 0x008)},
    {Hit::Segment, {6}, Toggle(3, 0x080)},
    {Hit::Segment, {17}, Toggle(2, 0x001)},
    {Hit::Segment, {19}, Toggle(3, 0x001)},
    {Hit::Segment, {20, 21}, Toggle(56, 0x001)},
    {Hit::Segment, {41, 42, 43}, Toggle(50, 0x002)},
    {Hit::Segment, {44}, Toggle(3, 0x004)},
    {Hit::Segment, {47}, Toggle(3, 0x020)},
    {Hit::Segment, {48, 49, 50, 51}, Toggle(56, 0x002)},
    {Hit::Segment, {52, 53}, Toggle(50, 0x001)},
    {Hit::Segment, {54, 55, 56}, Toggle(50, 0x020)},
    {Hit::Segment, {60}, Toggle(3, 0x040)},
};

// ---- rings and tool tips -----------------------------------------------------------------
std::vector<RingItem> VolumeItems() {
    std::vector<RingItem> items{{"Digital Mute", 0}};
    for (int db : {-120, -110, -100, -90, -80, -78, -72, -70, -66, -60, -54, -50, -48, -42, -40, -36, -30, -24, -20, -18,
                   -15, -12, -10, -9, -6, -3, -2, -1, 0})
        items.push_back({DbLabel(db), 255 + 2 * db});
    return items;
}

std::vector<RingFill> MonoRingFills() {
    return {
        {{MNPATH_RMIC22BOOSTVOL, MNPATH_RMICP2BOOSTVOL}, {{"Path not selected", 0}}, kBoostSteps, 0},
        {{MNPATH_RSPKVOL}, {{"Enable SPKOUT mute ", -1}}, RingSteps{6.0, -57.0, -3.0, 63, -3}, 57},
        {{MNPATH_RINPPGAVOL}, {}, RingSteps{-12.0, 34.5, 1.5, 0, 2}, 16},
        {{MNPATH_MNADCVOL, MNPATH_MNDACVOL}, VolumeItems(), {}, {}},
    };
}

const std::vector<ToolTip> kMonoToolTips = {
    {true, {ui::AudioCodec_pan::PANEL_LDevAttached}, "Device attached/detached indicator  "},
    {true, {ui::AudioCodec_pan::PANEL_LPowerUp}, "Power Up indicator"},
    {true, {ui::AudioCodec_pan::PANEL_LRefresh}, "Refreshing indicator"},
    {false, {MNPATH_MNMONO_0dBAtten}, "Mono Bypass Attenuation equals 0dB, click to toggle"},
    {false, {MNPATH_MNMONO_m10dBAtten}, "Mono Bypass Attenuation equals -10dB, click to toggle"},
    {false, {MNPATH_MNSPK_0dBAtten}, "Speaker Bypass Attenuation equals 0dB, click to toggle"},
    {false, {MNPATH_MNSPK_m10dBAtten}, "Speaker Bypass Attenuation equals -10dB, click to toggle"},
    {false, {MNPATH_MONOMUTEON}, "MONO output is muted, click to toggle"},
    {false, {MNPATH_MONOMUTEOFF}, "MONO output is unmuted, click to toggle"},
    {false, {MNPATH_MNVREFDisenIcon}, "VREF circuit is open, you can enable it in Device Control or PLL tab."},
    {false, {MNPATH_MNMICBIASDisenIcon}, "MICBIAS Disabled, you can enable it in Device Control or Input tab."},
    {false, {MNPATH_MNPLLDisenIcon}, "PLL Disabled, you can enable it in Device Control or PLL tab."},
    {false, {MNPATH_MNBoostDisableIcon}, "Boost stage disabled, you can enable it in Device Control or Input tab."},
    {false, {MNPATH_MNADCDisenIcon}, "ADC Disabled, you can enable it in Device Control or ADC tab."},
    {false, {MNPATH_MNDACDisenIcon}, "DAC Disabled, you can enable it in Device Control or DAC tab."},
    {false, {MNPATH_MNMonoMixDisenIcon}, "Mono Mixer Disabled, you can enable it in Device Control or Output tab."},
    {false, {MNPATH_MNSPKMixerDisenIcon}, "SPK Mixer Disabled, you can enable it in Device Control or Output tab."},
    {false, {MNPATH_MNMonoDisableIcon}, "Mono output Disabled, you can enable it in Device Control or Output tab."},
    {false, {MNPATH_MNSPKPDisableIcon}, "SPKOUT+ Disabled, you can enable it in Device Control or Output tab."},
    {false, {MNPATH_MNSPKNDisableIcon}, "SPKOUT- Disabled, you can enable it in Device Control or Output tab."},
};

// ---- the three models --------------------------------------------------------------------
// What differs between the mono models: panels, block panels and callback names.
struct MonoModel {
    const char* name;
    int* path;
    int *adc, *dac, *alc;
    // Rings 24, 30, 40, 41, 25, 29, 26; icons 7, 8, 9, 10, 11, 21, 12, 23.
    const char *mic2Boost, *pgaBoost, *micpBoost, *speaker, *pga, *adcVolume, *dacVolume;
    const char *mono0dB, *monoM10dB, *spk0dB, *spkM10dB, *pgaMuted, *pgaUnmuted, *monoMuted, *monoUnmuted;
    const char* prefix;  // of the five handlers no panel names
};

const MonoModel kPykc{"Pykc", &PHandleMNPath, &PHandleMNADC, &PHandleMNDAC, &PHandleMNALC,
                      "RMIC22BOOSTVOLCB", "RINPPGABOOSTCB", "RMICP2BOOSTVOLCB", "RSPKVOLCB", "RINPPGAVOLCB", "MNADCVOLCB", "MNDACVOLCB",
                      "MNMONO_0dBAttenCB", "MNMONO_m10dBAttenCB", "MNSPK_0dBAttenCB", "MNSPK_m10dBAttenCB", "MNINPPGAMuteIconCB",
                      "MNINPPGANotMuteIconCB", "MONOMUTEONCB", "MONOMUTEOFFCB", "MN"};
const MonoModel kPykb{"Pykb", &PHandleMNPykbPath, &PHandleMNPykbADC, &PHandleMNPykbDAC, &PHandleMNPykbALC,
                      "RPykbMIC22BOOSTVOLCB", "RPykbINPPGABOOSTCB", "RPykbMICP2BOOSTVOLCB", "RPykbSPKVOLCB", "RPykbINPPGAVOLCB", "MNPykbADCVOLCB", "MNPykbDACVOLCB",
                      "MNPykbMONO_0dBAttenCB", "MNPykbMONO_m10dBAttenCB", "MNPykbSPK_0dBAttenCB", "MNPykbSPK_m10dBAttenCB", "MNPykbINPPGAMuteIconCB",
                      "MNPykbINPPGANotMuteIconCB", "MONOPykbMUTEONCB", "MONOPykbMUTEOFFCB", "MNPykb"};
const MonoModel kPyka{"Pyka", &PHandleMNPykaPath, &PHandleMNPykaADC, &PHandleMNPykaDAC, &PHandleMNPykaALC,
                      "RMIC22BOOSTVOLCBPyka", "RINPPGABOOSTCBPyka", "RMICP2BOOSTVOLCBPyka", "RSPKVOLCBPyka", "RINPPGAVOLCBPyka", "MNPykaADCVOLCB", "MNPykaDACVOLCB",
                      "MNPykaMONO_0dBAttenCB", "MNPykaMONO_m10dBAttenCB", "MNPykaSPK_0dBAttenCB", "MNPykaSPK_m10dBAttenCB", "MNPykaINPPGAMuteIconCB",
                      "MNPykaINPPGANotMuteIconCB", "MONOMUTEONCBPyka", "MONOMUTEOFFCBPyka", "MNPyka"};

// Callback names live as long as the models; keep the composed ones here.
const char* Keep(std::string name) {
    static std::vector<std::unique_ptr<std::string>> names;
    names.push_back(std::make_unique<std::string>(std::move(name)));
    return names.back()->c_str();
}

ControlRow Swap(const char* callback, int hide, int show, unsigned mask, bool clear) {
    ControlRow r{.callback = callback, .kind = Ctl::IconSwap, .event = rt::EVENT_LEFT_CLICK, .reg = 40, .mask = mask};
    r.hide = hide;
    r.show = show;
    r.clearBits = clear;
    return r;
}

std::vector<ControlRow> MonoControls(const MonoModel& mm) {
    ControlRow speaker{.callback = mm.speaker, .kind = Ctl::MuteOrField, .reg = 54, .mask = 0x07F, .mute = 0x040};
    speaker.remember = &MNSPKCurrentVOL;
    ControlRow adc = FieldRow(mm.adcVolume, 15, 0x0FF);
    adc.ownPanel = true;
    ControlRow dac = FieldRow(mm.dacVolume, 11, 0x0FF);
    dac.ownPanel = true;
    const std::string p = mm.prefix;
    return {
        FieldRow(mm.mic2Boost, 47, 0x007),
        FieldRow(mm.micpBoost, 47, 0x070),
        FieldRow(mm.pgaBoost, 47, 0x100),
        FieldRow(mm.pga, 45, 0x07F),
        speaker,
        adc,
        dac,
        Swap(mm.mono0dB, MNPATH_MNMONO_0dBAtten, MNPATH_MNMONO_m10dBAtten, 0x004, false),
        Swap(mm.monoM10dB, MNPATH_MNMONO_m10dBAtten, MNPATH_MNMONO_0dBAtten, 0x004, true),
        Swap(mm.spk0dB, MNPATH_MNSPK_0dBAtten, MNPATH_MNSPK_m10dBAtten, 0x002, false),
        Swap(mm.spkM10dB, MNPATH_MNSPK_m10dBAtten, MNPATH_MNSPK_0dBAtten, 0x002, true),
        IconRow(mm.pgaMuted, 45, 0x040, false),
        IconRow(mm.pgaUnmuted, 45, 0x040, true),
        IconRow(mm.monoMuted, 56, 0x040, false),
        IconRow(mm.monoUnmuted, 56, 0x040, true),
        // Bound by no panel.
        ControlRow{.callback = Keep(p + "MNBoostEnableIconCB"), .kind = Ctl::Clear, .reg = 49, .mask = 0x008},
        ControlRow{.callback = Keep(p + "MNBoostDisableIconCB"), .kind = Ctl::Set, .reg = 49, .mask = 0x008},
        ControlRow{.callback = Keep(p + "SPKBoostEnableIconCB"), .kind = Ctl::Clear, .reg = 49, .mask = 0x004},
        ControlRow{.callback = Keep(p + "SPKBoostDisableIconCB"), .kind = Ctl::Set, .reg = 49, .mask = 0x004},
        IconRow(Keep(p + "MonoMixDisenIconCB"), 3, 0x008, true),
    };
}

PathModel MakeMono(const MonoModel& mm) {
    PathModel m{.name = mm.name, .tables = SharedPathTables, .panel = mm.path, .canvas = MNPATH_MNCVS};
    m.controlLineStyle = rt::VAL_DASH;
    m.map = &kMonoMap;
    m.art = kMonoArt;
    m.startLit = {21, 26, 43, 53};
    m.groupRules = kMonoGroupRules;
    m.redrawGroupRules = {{37, BitClear(45, 6)}};
    m.dpstStates = {{1, BitClear(44, 0)}};
    m.controlLines = kMonoControlLines;
    m.ringValues = kMonoRingValues;
    m.shown = kMonoShown;
    m.tabRects = {
        {404, 448, 106, 186, mm.adc}, {323, 375, 128, 159, mm.adc},
        {448, 490, 106, 186, mm.dac}, {521, 571, 128, 159, mm.dac},
        {326, 375, 263, 292, mm.alc},
        {326, 375, 306, 335, mm.dac},
    };
    m.clicks = kMonoClicks;
    m.ringFills = MonoRingFills();
    m.toolTips = kMonoToolTips;
    m.controls = MonoControls(mm);
    return m;
}

}  // namespace

const PathModel& MonoPathModel() {
    static const PathModel model = MakeMono(kPykc);
    return model;
}

const PathModel& MonoPykbPathModel() {
    static const PathModel model = MakeMono(kPykb);
    return model;
}

const PathModel& MonoPykaPathModel() {
    static const PathModel model = MakeMono(kPyka);
    return model;
}

}  // namespace pathview
