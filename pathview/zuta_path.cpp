// The Zuta signal-path view: the map drawn on canvas 21 of its path panel, the blocks under its
// wires, the rules that light its groups and set its panel from CFG_REG, the canvas click
// table, the tab rectangles and the panel's rings, tool tips and callbacks. Two rings of the
// panel are bound to the Jorb callbacks STSPKPCB and RRAUXBEEPCB, which read the ring of the
// panel that raised the event.
#include "device/device_services.h"
#include "panels/AudioCodec_pan.h"
#include "panels/cfgPathZuta_pan.h"
#include "pathview/path_model.h"
#include "shell/handles.h"
#include "shell/state.h"

namespace pathview {

namespace {

using namespace ui::cfgPathZuta_pan;

// ---- map ---------------------------------------------------------------------------------
const std::vector<DotDef> kZutaDots = {
    {13, 52, 148}, {14, 74, 148}, {15, 85, 148}, {16, 106, 148}, {17, 52, 170}, {18, 74, 170},
    {19, 85, 170}, {20, 95, 170}, {21, 106, 170}, {22, 52, 191}, {23, 63, 191}, {24, 74, 191},
    {25, 85, 191}, {26, 95, 191}, {27, 63, 201}, {28, 168, 201}, {29, 143, 159},
    {32, 170, 159}, {33, 198, 159}, {34, 214, 159}, {35, 198, 202}, {36, 215, 202}, {37, 230, 175},
    {149, 53, 265}, {150, 74, 265}, {151, 85, 265}, {152, 106, 265}, {153, 53, 287}, {154, 74, 287},
    {155, 85, 287}, {156, 95, 287}, {157, 106, 287}, {158, 53, 306}, {159, 65, 306}, {160, 74, 306},
    {161, 85, 306}, {162, 95, 306}, {163, 65, 318}, {164, 171, 318}, {165, 143, 276}, {168, 168, 276},
    {169, 198, 276}, {170, 215, 276}, {171, 229, 301}, {172, 200, 318}, {173, 213, 318},
    {180, 249, 318}, {181, 259, 318}, {182, 264, 318}, {183, 259, 361}, {184, 329, 361},
    {200, 353, 263}, {201, 382, 263}, {202, 403, 263}, {203, 435, 263}, {204, 394, 275},
    {231, 53, 411}, {232, 103, 411}, {233, 103, 408}, {234, 103, 417}, {235, 55, 482}, {236, 77, 482},
    {237, 513, 91}, {238, 524, 91}, {239, 544, 91}, {240, 513, 435}, {241, 524, 435}, {242, 544, 435},
    {243, 394, 365}, {244, 831, 257}, {245, 846, 257}, {246, 874, 257}, {247, 831, 328}, {248, 846, 328},
    {249, 874, 328},
    {270, 130, 173}, {271, 130, 238}, {272, 130, 254}, {273, 215, 238}, {274, 247, 238}, {275, 292, 238},
};

// Segments, then the ALC control lines 173 to 176.
const std::vector<LineDef> kZutaLines = {
    {9, 13, 14}, {10, 15, 16}, {11, 29, 32}, {13, 33, 34}, {24, 17, 18}, {25, 19, 20}, {26, 20, 21},
    {27, 20, 26}, {28, 25, 26}, {29, 23, 24}, {30, 22, 23}, {31, 23, 27}, {32, 27, 28}, {33, 35, 36},
    {34, 36, 37}, {79, 149, 150}, {80, 151, 152}, {81, 153, 154}, {82, 155, 156}, {83, 156, 157},
    {84, 158, 159}, {85, 159, 160}, {86, 159, 163}, {87, 161, 162}, {88, 156, 162}, {89, 163, 164},
    {90, 165, 168}, {92, 169, 170}, {93, 170, 171}, {94, 172, 173}, {109, 200, 201}, {110, 202, 203},
    {111, 204, 243}, {132, 231, 232}, {133, 232, 233}, {134, 232, 234}, {135, 235, 236}, {136, 238, 239},
    {137, 241, 242}, {156, 245, 246}, {157, 248, 249},
    {173, 270, 271}, {174, 271, 272}, {175, 271, 273}, {176, 274, 275},
};

const std::vector<SwitchDef> kZutaSwitches = {
    {0, 14, 15}, {1, 18, 19}, {2, 24, 25}, {3, 150, 151}, {4, 154, 155},
    {5, 160, 161}, {23, 237, 238}, {24, 240, 241}, {25, 244, 245}, {26, 247, 248},
};

// The equaliser's place: throw 0 in the ADC path, throw 1 in the DAC path.
const std::vector<DPSTDef> kZutaDPST = {{0, 204, 201, 202}};

const std::vector<GroupDef> kZutaGroups = {
    {22, -1, {30, 29, 31, 32}},
    {14, 0, {9, 10}},
    {18, 1, {24, 25, 26}},
    {24, 2, {27, 28, 26}},
    {29, -1, {11}},
    {10, 25, {156}},
    {11, 26, {157}},
    {62, 23, {136}},
    {63, 24, {137}},
    {64, -1, {31, 32}},
    {65, -1, {86, 89}},
    {33, -1, {13}},
    {35, -1, {33, 34}},
    {149, -1, {79}},
    {158, -1, {84, 85, 86, 89}},
    {150, 3, {79, 80}},
    {151, 4, {81, 82, 83}},
    {152, 5, {87, 88, 83}},
    {165, -1, {90}},
    {169, -1, {92, 93}},
    {172, -1, {94}},
    {231, -1, {132, 133, 134}},
    {235, -1, {135}},
    {200, -1, {109}},
    {202, -1, {110}},
    {243, -1, {111}},
};

const PathMap kZutaMap = {kZutaDots, kZutaLines, kZutaSwitches, kZutaDPST, kZutaGroups};

// ---- blocks under the wires --------------------------------------------------------------
const std::vector<ArtItem> kZutaArt = {
    // inputs
    {Art::Pin, 52, 148, 0, 0, nullptr},   {Art::Text, 2, 141, 44, 14, "LIN"},
    {Art::Pin, 52, 170, 0, 0, nullptr},   {Art::Text, 2, 163, 44, 14, "LIP"},
    {Art::Pin, 52, 191, 0, 0, nullptr},   {Art::Text, 2, 184, 44, 14, "L2"},
    {Art::Pin, 53, 265, 0, 0, nullptr},   {Art::Text, 2, 258, 44, 14, "RIN"},
    {Art::Pin, 53, 287, 0, 0, nullptr},   {Art::Text, 2, 280, 44, 14, "RIP"},
    {Art::Pin, 53, 306, 0, 0, nullptr},   {Art::Text, 2, 299, 44, 14, "R2"},
    {Art::Pin, 53, 411, 0, 0, nullptr},   {Art::Text, 2, 404, 44, 14, "VMID"},
    {Art::Pin, 55, 482, 0, 0, nullptr},   {Art::Text, 2, 475, 44, 14, "MICB"},
    // input PGAs, boost stages, ALC
    {Art::Amp, 106, 141, 37, 36, nullptr},
    {Art::Amp, 106, 258, 37, 36, nullptr},
    {Art::Text, 96, 96, 60, 14, "PGA L"},
    {Art::Text, 96, 336, 60, 14, "PGA R"},
    {Art::Block, 170, 145, 28, 68, nullptr},
    {Art::Block, 170, 262, 28, 68, nullptr},
    {Art::Text, 158, 96, 54, 14, "BOOST L"},
    {Art::Text, 158, 336, 54, 14, "BOOST R"},
    {Art::Line, 214, 159, 16, 16, nullptr},
    {Art::Line, 213, 318, 16, -17, nullptr},
    {Art::Line, 230, 175, 32, 0, nullptr},
    {Art::Line, 229, 301, 33, 0, nullptr},
    {Art::Block, 216, 222, 31, 29, "ALC"},
    {Art::Block, 104, 398, 60, 26, "VREF"},
    {Art::Block, 78, 470, 64, 24, "MIC BIAS"},
    // converters, equaliser and audio interface
    {Art::Block, 262, 137, 88, 205, nullptr},
    {Art::Text, 263, 215, 86, 20, "ADC"},
    {Art::Text, 266, 140, 14, 14, "L"},   {Art::Text, 266, 324, 14, 14, "R"},
    {Art::Block, 435, 137, 60, 205, nullptr},
    {Art::Text, 436, 215, 58, 20, "DAC"},
    {Art::Text, 477, 140, 14, 14, "L"},   {Art::Text, 477, 324, 14, 14, "R"},
    {Art::Line, 350, 263, 3, 0, nullptr},
    {Art::Block, 364, 365, 60, 26, "EQ"},
    {Art::Block, 300, 462, 130, 30, "AUDIO INTERFACE"},
    {Art::Block, 180, 462, 60, 30, "PLL"},
    // bypass paths and mixers
    {Art::Line, 470, 91, 43, 0, nullptr},  {Art::Text, 420, 84, 48, 14, "BYP L"},
    {Art::Line, 470, 435, 43, 0, nullptr}, {Art::Text, 420, 428, 48, 14, "BYP R"},
    {Art::Line, 495, 180, 49, 0, nullptr},
    {Art::Line, 495, 300, 49, 0, nullptr},
    {Art::Block, 544, 70, 60, 200, "MIX L"},
    {Art::Block, 544, 290, 60, 160, "MIX R"},
    {Art::Line, 604, 257, 196, 0, nullptr},
    {Art::Line, 604, 328, 196, 0, nullptr},
    // line outputs
    {Art::Amp, 800, 247, 28, 20, nullptr}, {Art::Pin, 874, 257, 0, 0, nullptr}, {Art::Text, 842, 232, 56, 14, "LOUT L"},
    {Art::Amp, 800, 318, 28, 20, nullptr}, {Art::Pin, 874, 328, 0, 0, nullptr}, {Art::Text, 842, 340, 56, 14, "LOUT R"},
    // the other outputs the panel's rings and icons drive (speaker, OUT3, OUT4)
    {Art::Block, 640, 446, 250, 86, nullptr},
    {Art::Text, 642, 448, 246, 14, "Other outputs"},
    {Art::Text, 664, 464, 38, 14, "SPK-"},
    {Art::Text, 722, 464, 38, 14, "SPK+"},
    {Art::Text, 780, 464, 38, 14, "OUT3"},
    {Art::Text, 838, 464, 38, 14, "OUT4"},
};

// ---- rules -------------------------------------------------------------------------------
const std::vector<GroupRule> kZutaGroupRules = {
    {18, Bit(44, 0)},
    {14, Bit(44, 1)},
    {24, Bit(44, 2)},
    {151, Bit(44, 4)},
    {150, Bit(44, 5)},
    {152, Bit(44, 6)},
    {235, Bit(1, 4)},
    {231, Field(1, 0x003)},
    {29, Bit(2, 2)},
    {165, Bit(2, 3)},
    {10, BitClear(52, 6)},
    {11, BitClear(53, 6)},
    {62, BitClear(50, 0)},
    {63, BitClear(51, 0)},
    {35, Field(47, 0x070) && Bit(2, 4)},
    {172, Field(48, 0x070) && Bit(2, 5)},
    {33, Bit(2, 4)},
    {169, Bit(2, 5)},
    {202, Bit(3, 3)},
};

// ALC control lines by register 32 bits 8 and 7 (ALC on the left, on the right).
const std::vector<StateRule> kZutaControlLines = {
    {173, Bit(32, 8)},
    {174, Bit(32, 7)},
    {175, Bit(32, 8) || Bit(32, 7)},
    {176, Bit(32, 8) || Bit(32, 7)},
};

// The bypass rings list only the codes 1 and 22; any other code shows by its bit 0, which
// also closes the bypass switch on the drawing.
RingValue Bypass(int control, int reg) {
    RingValue r{control, reg, 0x01F, {}};
    r.noItem = {{BitClear(reg, 0), 22}, {Always(), 1}};
    return r;
}

const std::vector<RingValue> kZutaRingValues = {
    {CFGPATHZuta_RLAUXBOOST, 47, 0x007, {}},
    {CFGPATHZuta_RLPGABOOST, 47, 0x100, {}},
    {CFGPATHZuta_RL2BOOST, 47, 0x070, {}},
    {CFGPATHZuta_RRAUXBOOST, 48, 0x007, {}},
    {CFGPATHZuta_RRPGABOOST, 48, 0x100, {}},
    {CFGPATHZuta_RR2BOOST, 48, 0x070, {}},
    {CFGPATHZuta_STADCVOLL, 15, 0x0FF, {}},
    {CFGPATHZuta_STADCVOLR, 16, 0x0FF, {}},
    {CFGPATHZuta_STDACVOLL, 11, 0x0FF, {}},
    {CFGPATHZuta_STDACVOLR, 12, 0x0FF, {}},
    {CFGPATHZuta_RLAUXMIX, 50, 0x1C0, Bit(50, 5)},
    {CFGPATHZuta_RRAUXMIX, 51, 0x1C0, Bit(51, 5)},
    Bypass(CFGPATHZuta_RLBYPMIX, 50),
    Bypass(CFGPATHZuta_RRBYPMIX, 51),
    {CFGPATHZuta_RHPN, 52, 0x03F, {}},
    {CFGPATHZuta_RHPP, 53, 0x03F, {}},
    {CFGPATHZuta_STSPKN, 54, 0x03F, {}},
    {CFGPATHZuta_STSPKP, 55, 0x03F, {}},
    {CFGPATHZuta_RRAUXBEEP, 43, 0x00E, {}},
    {CFGPATHZuta_RLPGA, 45, 0x03F, {}},
    {CFGPATHZuta_RRPGA, 46, 0x03F, {}},
};

// Indicators shown while their block is off, icon pairs by their bit.
const std::vector<ShowRule> kZutaShown = {
    {CFGPATHZuta_EQADCText, BitClear(18, 8)},
    {CFGPATHZuta_EQDACText, Bit(18, 8)},
    {CFGPATHZuta_STPGAENLDisenIcon, BitClear(2, 2)},
    {CFGPATHZuta_STPGAENRDisenIcon, BitClear(2, 3)},
    {CFGPATHZuta_STVREFDisenIcon, FieldZero(1, 0x003)},
    {CFGPATHZuta_STMICBIASDisenIcon, BitClear(1, 4)},
    {CFGPATHZuta_STBoostLDisableIcon, BitClear(2, 4)},
    {CFGPATHZuta_STBoostRDisableIcon, BitClear(2, 5)},
    {CFGPATHZuta_STPGALEnableIcon, BitClear(45, 6)},
    {CFGPATHZuta_STPGALDisableIcon, Bit(45, 6)},
    {CFGPATHZuta_STPGAREnableIcon, BitClear(46, 6)},
    {CFGPATHZuta_STPGARDisableIcon, Bit(46, 6)},
    {CFGPATHZuta_STLout1MuteDisenIcon, BitClear(52, 6)},
    {CFGPATHZuta_STLout1MuteEnIcon, Bit(52, 6)},
    {CFGPATHZuta_STRout1MuteDisenIcon, BitClear(53, 6)},
    {CFGPATHZuta_STRout1MuteEnIcon, Bit(53, 6)},
    {CFGPATHZuta_STADCENLDisenIcon, BitClear(2, 0)},
    {CFGPATHZuta_STADCENRDisenIcon, BitClear(2, 1)},
    // the rest of the panel's indicators and icon pairs, by the bits their callbacks and
    // the device control write
    {CFGPATHZuta_STDACENLDisenIcon, BitClear(3, 0)},
    {CFGPATHZuta_STDACENRDisenIcon, BitClear(3, 1)},
    {CFGPATHZuta_STLMIXDisenIcon, BitClear(3, 2)},
    {CFGPATHZuta_STRMIXDisenIcon, BitClear(3, 3)},
    {CFGPATHZuta_STPLLDisenIcon, BitClear(1, 5)},
    {CFGPATHZuta_STHPNDisableIcon, BitClear(2, 7)},
    {CFGPATHZuta_STHPPDisableIcon, BitClear(2, 8)},
    {CFGPATHZuta_STSPKPDisableIcon, BitClear(3, 5)},
    {CFGPATHZuta_STSPKNDisableIcon, BitClear(3, 6)},
    {CFGPATHZuta_STOUT3DisableIcon, BitClear(3, 7)},
    {CFGPATHZuta_STOUT4DisableIcon, BitClear(3, 8)},
    {CFGPATHZuta_STSPKBoostEnIcon, BitClear(49, 2)},
    {CFGPATHZuta_STSPKBoostDisenIcon, Bit(49, 2)},
    {CFGPATHZuta_STOut3BoostEnIcon, BitClear(49, 3)},
    {CFGPATHZuta_STOut3BoostDisenIcon, Bit(49, 3)},
    {CFGPATHZuta_STOut4BoostEnIcon, BitClear(49, 4)},
    {CFGPATHZuta_STOut4BoostDisenIcon, Bit(49, 4)},
    {CFGPATHZuta_STLout2MuteDisenIcon, BitClear(54, 6)},
    {CFGPATHZuta_STLout2MuteEnIcon, Bit(54, 6)},
    {CFGPATHZuta_STRout2MuteDisenIcon, BitClear(55, 6)},
    {CFGPATHZuta_STRout2MuteEnIcon, Bit(55, 6)},
    {CFGPATHZuta_STOut3MuteDisenIcon, BitClear(56, 6)},
    {CFGPATHZuta_STOut3MuteEnIcon, Bit(56, 6)},
    {CFGPATHZuta_STOut4MuteDisenIcon, BitClear(57, 6)},
    {CFGPATHZuta_STOut4MuteEnIcon, Bit(57, 6)},
};

// The ADC block (both channels and the part between them) opens the ADC filter tab; the ALC
// block opens the ALC tab.
const std::vector<TabRect> kZutaTabRects = {
    {262, 332, 137, 181, &PHandleSTADCFilterZuta},
    {262, 332, 300, 341, &PHandleSTADCFilterZuta},
    {286, 350, 187, 287, &PHandleSTADCFilterZuta},
    {217, 246, 222, 251, &PHandleSTALCZuta},
};

// A click on a switch or wire toggles the bit that lights that wire's group; wires of groups
// that are always or never lit change nothing but the refresh request.
const std::vector<ClickRow> kZutaClicks = {
    {Hit::Switch, {0}, Toggle(44, 0x02)},
    {Hit::Switch, {1}, Toggle(44, 0x01)},
    {Hit::Switch, {2}, Toggle(44, 0x04)},
    {Hit::Switch, {3}, Toggle(44, 0x20)},
    {Hit::Switch, {4}, Toggle(44, 0x10)},
    {Hit::Switch, {5}, Toggle(44, 0x40)},
    {Hit::Switch, {23}, SwapField(50, 0x01F, 1, 22)},
    {Hit::Switch, {24}, SwapField(51, 0x01F, 1, 22)},
    {Hit::Switch, {25}, Toggle(52, 0x040, 0x100)},
    {Hit::Switch, {26}, Toggle(53, 0x040, 0x100)},
    {Hit::DPST, {0}, ToggleDPST(18, 0x100, 0)},
    {Hit::Segment, {11}, Toggle(2, 0x004)},
    {Hit::Segment, {79}, Toggle(44, 0x020)},
    {Hit::Segment, {87, 88}, Toggle(44, 0x040)},
    {Hit::Segment, {90}, Toggle(2, 0x008)},
    {Hit::Segment, {132, 133, 134}, CycleField(1, 0x003, 0x001)},
    {Hit::Segment, {135}, Toggle(1, 0x010)},
};

const std::vector<RingFill> kZutaRingFills = {
    {{CFGPATHZuta_RLPGA}, {{"Disable LPGA", -1}}, kPgaSteps, {}},
    {{CFGPATHZuta_RRPGA}, {{"Disable RPGA", -1}}, kPgaSteps, {}},
    {{CFGPATHZuta_RLAUXBOOST, CFGPATHZuta_RL2BOOST, CFGPATHZuta_RRAUXBOOST, CFGPATHZuta_RR2BOOST}, {{"Path not selected", 0}}, kBoostSteps, {}},
    {{CFGPATHZuta_RLPGABOOST, CFGPATHZuta_RRPGABOOST}, {{"+0dB", 0}, {"+20dB", 1}}, {}, {}},
    {{CFGPATHZuta_RLAUXMIX, CFGPATHZuta_RRAUXMIX}, {{"Not Selected", -1}}, kMixSteps, {}},
    {{CFGPATHZuta_RLBYPMIX, CFGPATHZuta_RRBYPMIX}, {{"path not connected", 1}, {"path connected", 22}}, {}, {}},
    {{CFGPATHZuta_RHPN, CFGPATHZuta_RHPP, CFGPATHZuta_STSPKN}, {}, kOutSteps, {}},
    // The speaker-plus and beep rings list what the Jorb panel's rings of the same ids list.
    {{CFGPATHZuta_STSPKP}, {}, kOutSteps, {}},
    {{CFGPATHZuta_RRAUXBEEP}, {}, kMixSteps, {}},
    {{CFGPATHZuta_STADCVOLL, CFGPATHZuta_STADCVOLR, CFGPATHZuta_STDACVOLL, CFGPATHZuta_STDACVOLR}, {{"Digital Mute", 0}}, kDigitalSteps, {}},
};

const std::vector<ToolTip> kZutaToolTips = {
    {true, {ui::AudioCodec_pan::PANEL_LDevAttached}, "Device attached/detached indicator  "},
    {true, {ui::AudioCodec_pan::PANEL_LPowerUp}, "Power Up indicator"},
    {true, {ui::AudioCodec_pan::PANEL_LRefresh}, "Refreshing indicator"},
    {false, {CFGPATHZuta_STOut4MuteDisenIcon, CFGPATHZuta_STOut3MuteDisenIcon, CFGPATHZuta_STLout1MuteDisenIcon, CFGPATHZuta_STRout1MuteDisenIcon, CFGPATHZuta_STRout2MuteDisenIcon},
     "Output Unmuted, click to toggle"},
    {false, {CFGPATHZuta_STOut4MuteEnIcon, CFGPATHZuta_STOut3MuteEnIcon, CFGPATHZuta_STLout1MuteEnIcon, CFGPATHZuta_STRout1MuteEnIcon, CFGPATHZuta_STLout2MuteEnIcon, CFGPATHZuta_STRout2MuteEnIcon},
     "Output Muted, click to toggle"},
    {false, {CFGPATHZuta_STOUT4DisableIcon, CFGPATHZuta_STOUT3DisableIcon, CFGPATHZuta_STHPPDisableIcon, CFGPATHZuta_STSPKPDisableIcon},
     "Output Disabled, you can enable it in Device Control or Output tab."},
    {false, {CFGPATHZuta_STPGAENLDisenIcon}, "Left Channel PGA Disabled, you can enable it in Device Control or Input tab."},
    {false, {CFGPATHZuta_STPGAENRDisenIcon}, "Right Channel PGA Disabled, you can enable it in Device Control or Input tab."},
    {false, {CFGPATHZuta_STBoostLDisableIcon}, "Left channel Boost stage disabled, you can enable it in Device Control or Input tab."},
    {false, {CFGPATHZuta_STBoostRDisableIcon}, "Right channel Boost stage disbled, you can enable it in Device Control or Input tab."},
    {false, {CFGPATHZuta_STADCENLDisenIcon}, "Left Channel ADC Disabled, you can enable it in Device Control or ADC tab."},
    {false, {CFGPATHZuta_STADCENRDisenIcon}, "Right Channel ADC Disabled, you can enable it in Device Control or ADC tab."},
    {false, {CFGPATHZuta_STDACENLDisenIcon}, "Left Channel DAC Disabled, you can enable it in Device Control or DAC tab."},
    {false, {CFGPATHZuta_STDACENRDisenIcon}, "Right Channel DAC Disabled, you can enable it in Device Control or DAC tab."},
    {false, {CFGPATHZuta_STVREFDisenIcon}, "VREF circuit is open, you can enable it in Device Control tab."},
    {false, {CFGPATHZuta_STMICBIASDisenIcon}, "MICBIAS Disabled, you can enable it in Device Control or Input tab."},
};

// The control callbacks: rings on commit, icons on a left click. The line-out volume rings
// and icons set the latch bit 8 of their pair; the R54 to R57 icons never do.
const std::vector<ControlRow> kZutaControls = {
    PgaRow("RLPGACBZuta", 45, 2, 0x004),
    PgaRow("RRPGACBZuta", 46, 2, 0x008),
    FieldRow("RLAUXBOOSTCBZuta", 47, 0x007),
    FieldRow("RL2BOOSTCBZuta", 47, 0x070),
    FieldRow("RLPGABOOSTCBZuta", 47, 0x100),
    FieldRow("RRAUXBOOSTCBZuta", 48, 0x007),
    FieldRow("RR2BOOSTCBZuta", 48, 0x070),
    FieldRow("RRPGABOOSTCBZuta", 48, 0x100),
    GatedRow("RLAUXMIXCBZuta", 50, 0x1C0, 0x020, -1),
    GatedRow("RRAUXMIXCBZuta", 51, 0x1C0, 0x020, -1),
    FieldRow("RLBYPMIXCBZuta", 50, 0x01F),
    FieldRow("RRBYPMIXCBZuta", 51, 0x01F),
    [] {
        ControlRow r = FieldRow("RHPNCBZuta", 52, 0x03F, &STLout1CurrentVOL);
        r.alsoSet = 0x100;
        return r;
    }(),
    [] {
        ControlRow r = FieldRow("RHPPCBZuta", 53, 0x03F, &STRout1CurrentVOL);
        r.alsoSet = 0x100;
        return r;
    }(),
    FieldRow("STSPKNCBZuta", 54, 0x03F, &STLout2CurrentVOL),
    VolumeRow("STDACVOLXCBZuta", CFGPATHZuta_STDACVOLL, 11),
    VolumeRow("STDACVOLXCBZuta", CFGPATHZuta_STDACVOLR, 12),
    VolumeRow("STADCVOLXCBZuta", CFGPATHZuta_STADCVOLL, 15),
    VolumeRow("STADCVOLXCBZuta", CFGPATHZuta_STADCVOLR, 16),
    IconRow("STLout1MuteDisenIconCBZuta", 52, 0x040, true, 0x100),
    IconRow("STLout1MuteEnIconCBZuta", 52, 0x040, false, 0x100),
    IconRow("STRout1MuteDisenIconCBZuta", 53, 0x040, true, 0x100),
    IconRow("STRout1MuteEnIconCBZuta", 53, 0x040, false, 0x100),
    IconRow("STLout2MuteDisenIconCBZuta", 54, 0x040, true),
    IconRow("STLout2MuteEnIconCBZuta", 54, 0x040, false),
    IconRow("STRout2MuteDisenIconCBZuta", 55, 0x040, true),
    IconRow("STRout2MuteEnIconCBZuta", 55, 0x040, false),
    IconRow("STOut3MuteDisenIconCBZuta", 56, 0x040, true),
    IconRow("STOut3MuteEnIconCBZuta", 56, 0x040, false),
    IconRow("STOut4MuteDisenIconCBZuta", 57, 0x040, true),
    IconRow("STOut4MuteEnIconCBZuta", 57, 0x040, false),
    IconRow("STPGALEnableIconCBZuta", 45, 0x040, true, 0x100),
    IconRow("STPGALDisableIconCBZuta", 45, 0x040, false, 0x100),
    IconRow("STPGAREnableIconCBZuta", 46, 0x040, true, 0x100),
    IconRow("STPGARDisableIconCBZuta", 46, 0x040, false, 0x100),
};

PathModel MakeZuta() {
    PathModel m{.name = "Zuta", .tables = SharedPathTables, .panel = &PHandleSTPathZuta, .canvas = CFGPATHZuta_CVSZuta};
    m.map = &kZutaMap;
    m.art = kZutaArt;
    m.startLit = {64, 65};
    m.groupRules = kZutaGroupRules;
    m.dpstStates = {{0, Bit(18, 8)}};
    m.controlLines = kZutaControlLines;
    m.ringValues = kZutaRingValues;
    m.texts = {VRefText(CFGPATHZuta_VRefText)};
    m.shown = kZutaShown;
    m.tabRects = kZutaTabRects;
    m.clicks = kZutaClicks;
    m.ringFills = kZutaRingFills;
    m.toolTips = kZutaToolTips;
    m.controls = kZutaControls;
    return m;
}

}  // namespace

const PathModel& ZutaPathModel() {
    static const PathModel model = MakeZuta();
    return model;
}

}  // namespace pathview
