// The Jorb (and Jorbx) signal-path view: the map drawn on canvas 21 of the path panel, the
// blocks under its wires, the rules that light its groups and set its panel from CFG_REG, the
// canvas click table, the tab rectangles and the panel's rings, tool tips and callbacks.
#include "device/device_services.h"
#include "panels/AudioCodec_pan.h"
#include "panels/cfgPathJorb_pan.h"
#include "pathview/dac_output_map.h"
#include "pathview/path_model.h"
#include "link/write_action.h"
#include "shell/handles.h"
#include "shell/state.h"

namespace pathview {

namespace {

using namespace ui::cfgPathJorb_pan;

// ---- map ---------------------------------------------------------------------------------
// The rows below and the shared DAC, mixer and output half (DacOutputMap) together make the
// map: dots 0 to 278; segments 0 to 176 but 153 (155 to 171 belong to no group and are never drawn;
// 173 to 176 are the ALC control lines); switches 0 to 22; double-throw switch 0 picks the
// speaker path (direct or through the inverter), slot 1 sits on dot 0 alone.
const std::vector<DotDef> kJorbDots = {
    {0, 50, 22}, {1, 163, 22}, {2, 469, 22}, {3, 560, 22}, {4, 560, 75}, {5, 590, 75}, {6, 610, 75},
    {7, 163, 40}, {8, 200, 40}, {9, 215, 40}, {10, 215, 60}, {11, 215, 86}, {12, 86, 95}, {13, 97, 95},
    {14, 108, 95}, {15, 86, 119}, {16, 100, 119}, {17, 100, 113}, {18, 108, 113}, {19, 52, 95}, {20, 67, 95},
    {21, 52, 119}, {22, 67, 119}, {23, 52, 137}, {24, 67, 137}, {25, 52, 219}, {26, 66, 219}, {27, 86, 137},
    {28, 100, 137}, {29, 60, 153}, {30, 67, 153}, {31, 86, 153}, {32, 154, 104}, {33, 190, 104}, {34, 240, 106},
    {35, 262, 106}, {36, 56, 137}, {37, 56, 166}, {38, 180, 166}, {39, 190, 166}, {40, 300, 106}, {41, 262, 84},
    {42, 470, 84}, {43, 540, 84}, {44, 300, 124}, {45, 300, 136}, {46, 575, 84}, {47, 595, 84}, {48, 610, 84},
    {49, 343, 106}, {80, 690, 162}, {81, 705, 162}, {82, 718, 162}, {83, 738, 162}, {84, 744, 162}, {105, 690, 238},
    {106, 705, 238}, {107, 718, 238}, {108, 738, 238}, {109, 744, 238}, {133, 86, 277}, {134, 97, 277}, {135, 108, 277},
    {136, 86, 301}, {137, 97, 301}, {138, 102, 301}, {139, 108, 301}, {140, 52, 277}, {141, 67, 277}, {142, 52, 301},
    {143, 67, 301}, {144, 52, 319}, {145, 67, 319}, {146, 52, 440}, {147, 66, 440}, {148, 60, 335}, {149, 67, 335},
    {150, 86, 319}, {151, 102, 319}, {152, 86, 335}, {153, 154, 291}, {154, 190, 291}, {155, 163, 520}, {156, 163, 500},
    {157, 215, 500}, {158, 215, 420}, {159, 215, 352}, {160, 240, 288}, {161, 262, 288}, {162, 300, 288}, {163, 300, 270},
    {164, 505, 310}, {165, 520, 310}, {166, 300, 258}, {167, 535, 310}, {168, 550, 310}, {169, 343, 288}, {182, 575, 310},
    {183, 595, 310}, {184, 610, 310}, {185, 56, 319}, {186, 56, 345}, {187, 180, 345}, {188, 190, 345}, {189, 52, 520},
    {190, 469, 520}, {191, 520, 520}, {192, 560, 520}, {193, 560, 420}, {194, 560, 319}, {195, 590, 319}, {196, 610, 319},
    {204, 600, 520}, {205, 600, 428}, {211, 398, 303}, {212, 398, 440}, {250, 131, 122}, {251, 131, 197}, {252, 131, 273},
    {253, 219, 197}, {254, 258, 197}, {255, 341, 197}, {258, 67, 95}, {259, 67, 119}, {260, 67, 137}, {261, 67, 153},
    {262, 67, 277}, {263, 67, 301}, {264, 67, 319}, {265, 67, 335}, {274, 718, 162}, {278, 718, 238},
};

const std::vector<LineDef> kJorbLines = {
    {0, 0, 1}, {1, 1, 2}, {2, 2, 3}, {3, 3, 4}, {4, 4, 5}, {5, 5, 6}, {6, 1, 7},
    {7, 7, 8}, {8, 8, 9}, {9, 9, 10}, {10, 10, 11}, {11, 12, 13}, {12, 14, 13}, {13, 15, 16},
    {14, 16, 17}, {15, 17, 18}, {16, 19, 20}, {17, 21, 22}, {18, 23, 24}, {19, 25, 26}, {20, 27, 28},
    {21, 29, 30}, {22, 31, 28}, {23, 28, 17}, {24, 32, 33}, {25, 34, 35}, {26, 36, 37}, {27, 37, 38},
    {28, 38, 39}, {29, 35, 40}, {30, 35, 41}, {31, 41, 42}, {32, 42, 43}, {33, 40, 44}, {34, 44, 45},
    {35, 43, 46}, {36, 47, 46}, {37, 47, 48}, {38, 40, 49}, {57, 80, 81}, {58, 81, 82}, {59, 83, 84},
    {73, 105, 106}, {74, 106, 107}, {75, 108, 109}, {91, 133, 134}, {92, 134, 135}, {93, 136, 137}, {94, 137, 138},
    {95, 138, 139}, {96, 140, 141}, {97, 142, 143}, {98, 144, 145}, {99, 146, 147}, {100, 148, 149}, {101, 150, 151},
    {102, 152, 151}, {103, 151, 138}, {104, 153, 154}, {105, 155, 156}, {106, 156, 157}, {107, 157, 158}, {108, 158, 159},
    {109, 160, 161}, {110, 161, 162}, {111, 163, 162}, {112, 164, 165}, {113, 166, 163}, {114, 165, 167}, {115, 167, 168},
    {116, 162, 169}, {125, 168, 182}, {126, 183, 182}, {127, 183, 184}, {128, 185, 186}, {129, 186, 187}, {130, 187, 188},
    {131, 189, 155}, {132, 190, 155}, {133, 191, 192}, {134, 192, 193}, {135, 193, 194}, {136, 194, 195}, {137, 195, 196},
    {146, 192, 204}, {147, 204, 205}, {148, 205, 206}, {154, 211, 212}, {172, 190, 191}, {173, 250, 251}, {174, 251, 252},
    {175, 251, 253}, {176, 254, 255},
};

const std::vector<SwitchDef> kJorbSwitches = {
    {0, 258, 12}, {1, 259, 15}, {2, 260, 27}, {3, 261, 31}, {4, 262, 133}, {5, 263, 136}, {6, 264, 150},
    {7, 265, 152}, {16, 274, 83}, {20, 278, 108},
};

const std::vector<DPSTDef> kJorbDPST = {{1, 0, 0, 0}};

// In the order they are built; group 153 is built twice and keeps its second list.
const std::vector<GroupDef> kJorbGroups = {
    {0, -1, {0, 1, 6, 7}},
    {3, -1, {2, 3, 4, 5}},
    {10, -1, {8, 9, 10}},
    {16, 0, {11, 12}},
    {20, 1, {13, 14, 15}},
    {23, -1, {16, 17, 18, 19}},
    {28, 2, {20, 23, 15}},
    {29, 3, {21, 22, 23, 15}},
    {32, -1, {24}},
    {34, -1, {25}},
    {36, -1, {26, 27, 28}},
    {40, -1, {29, 30, 31, 32, 33, 34, 73}},
    {51, -1, {38}},
    {88, 16, {58, 59}},
    {112, 20, {74, 75}},
    {141, 4, {91, 92}},
    {145, 5, {93, 94, 95}},
    {148, 22, {96, 97, 98, 99}},
    {153, 6, {96, 97, 98, 99, 101, 103, 95}},
    {153, 6, {101, 103, 95}},
    {154, 7, {100, 102, 103, 95}},
    {157, -1, {104}},
    {159, -1, {109}},
    {161, -1, {106, 107, 108}},
    {173, -1, {128, 129, 130}},
    {177, -1, {110, 111, 112, 113, 114, 115, 57}},
    {179, -1, {116}},
    {187, -1, {125, 126, 127}},
    {207, -1, {134, 135, 136, 137}},
    {215, 21, {140, 141, 145}},
    {204, -1, {131, 132, 172, 133, 105, 146}},
    {45, -1, {35, 36, 37}},
};

// The input half, joined after the shared DAC, mixer and output half.
const PathMap kJorbOwnMap = {kJorbDots, kJorbLines, kJorbSwitches, kJorbDPST, kJorbGroups};

const PathMap& JorbMap() {
    static const PathMap map = JoinMaps(DacOutputMap(), kJorbOwnMap);
    return map;
}

// ---- blocks under the wires --------------------------------------------------------------
const std::vector<ArtItem> kJorbArt = {
    // inputs
    {Art::Pin, 50, 22, 0, 0, nullptr},    {Art::Text, 2, 15, 44, 14, "AUXL"},
    {Art::Pin, 52, 95, 0, 0, nullptr},    {Art::Text, 2, 88, 44, 14, "LIN"},
    {Art::Pin, 52, 119, 0, 0, nullptr},   {Art::Text, 2, 112, 44, 14, "LIP"},
    {Art::Pin, 52, 137, 0, 0, nullptr},   {Art::Text, 2, 130, 44, 14, "L2"},
    {Art::Pin, 60, 153, 0, 0, nullptr},   {Art::Text, 24, 146, 30, 14, "nc"},
    {Art::Pin, 52, 219, 0, 0, nullptr},   {Art::Text, 2, 212, 44, 14, "MICB"},
    {Art::Pin, 52, 277, 0, 0, nullptr},   {Art::Text, 2, 270, 44, 14, "RIN"},
    {Art::Pin, 52, 301, 0, 0, nullptr},   {Art::Text, 2, 294, 44, 14, "RIP"},
    {Art::Pin, 52, 319, 0, 0, nullptr},   {Art::Text, 2, 312, 44, 14, "R2"},
    {Art::Pin, 60, 335, 0, 0, nullptr},   {Art::Text, 24, 328, 30, 14, "nc"},
    {Art::Pin, 52, 440, 0, 0, nullptr},   {Art::Text, 2, 433, 44, 14, "VMID"},
    {Art::Pin, 52, 520, 0, 0, nullptr},   {Art::Text, 2, 513, 44, 14, "AUXR"},
    // input PGAs, boost stages, ALC
    {Art::Block, 108, 86, 47, 37, "PGA"},
    {Art::Block, 108, 273, 47, 37, "PGA"},
    {Art::Block, 190, 86, 51, 91, "BOOST"},
    {Art::Block, 190, 250, 51, 103, "BOOST"},
    {Art::Block, 219, 186, 40, 22, "ALC"},
    {Art::Block, 66, 207, 63, 25, "MIC BIAS"},
    {Art::Block, 66, 428, 59, 25, "VREF"},
    {Art::Block, 250, 430, 81, 31, "PLL"},
    // converters and the digital audio interface
    {Art::Block, 342, 93, 113, 210, nullptr},
    {Art::Line, 398, 93, 0, 209, nullptr},
    {Art::Text, 343, 170, 55, 40, "ADC"},
    {Art::Text, 399, 170, 55, 40, "DAC"},
    {Art::Text, 346, 99, 14, 14, "L"},    {Art::Text, 436, 99, 14, 14, "L"},
    {Art::Text, 346, 281, 14, 14, "R"},   {Art::Text, 436, 281, 14, 14, "R"},
    {Art::Block, 342, 440, 117, 31, "AUDIO INTERFACE"},
    {Art::Text, 278, 138, 44, 14, "BYP L"},
    {Art::Text, 278, 242, 44, 14, "BYP R"},
    // mixers
    {Art::Block, 610, 50, 41, 91, "MIX L"},
    {Art::Block, 610, 254, 41, 91, "MIX R"},
    {Art::Text, 460, 303, 44, 14, "BYP R"},
    {Art::Block, 744, 90, 39, 81, "AUX1 MIX"},
    {Art::Block, 744, 185, 39, 61, "AUX2 MIX"},
    {Art::Text, 648, 107, 42, 14, "MIX R"},
    {Art::Text, 648, 120, 42, 14, "DAC L"},
    {Art::Text, 648, 137, 42, 14, "DAC R"},
    {Art::Text, 648, 155, 42, 14, "BYP R"},
    {Art::Text, 648, 202, 42, 14, "MIX L"},
    {Art::Text, 648, 215, 42, 14, "DAC L"},
    {Art::Text, 648, 231, 42, 14, "BYP L"},
    {Art::Text, 728, 353, 42, 14, "MIX L"},
    {Art::Text, 604, 413, 44, 14, "BEEP"},
    {Art::Block, 714, 398, 31, 41, "INV"},
    // the output drivers and pins follow from DacOutputArt()
};

// ---- panel controls ----------------------------------------------------------------------

// Speaker pair from ring 59 (unbound): both volumes, or both muted for a negative value.
int SpeakerPair(const PathModel& m, int, int, int) {
    int value = 0;
    rt::GetCtrlVal(*m.panel, CFGPATHJorb_STSPKP, &value);
    for (int reg : {54, 55}) {
        if (value < 0) CFG_REG[reg] |= 0x040;
        else CFG_REG[reg] = (CFG_REG[reg] & ~0x07Fu) | (static_cast<uint32_t>(value) & 0x03F);
    }
    SendInAction(54);
    PauseInAction(0.1);
    SendInAction(55);
    return 0;
}

ControlRow Unbound(const char* callback, int source, int reg) {
    ControlRow r = FieldRow(callback, reg, 0x0FF);
    r.source = source;
    r.ownPanel = true;
    return r;
}

ControlRow NoOp(const char* callback) {
    ControlRow r{.callback = callback};
    r.setsFlag = false;
    return r;
}

// The group update, in its order: each group lit while its condition holds.
const std::vector<GroupRule> kJorbGroupRules = {
    {20, Bit(44, 0)},
    {16, Bit(44, 1)},
    {28, Bit(44, 2)},
    {145, Bit(44, 4)},
    {141, Bit(44, 5)},
    {153, Bit(44, 6)},
    {32, Bit(2, 2)},
    {157, Bit(2, 3)},
    {10, Field(47, 0x007) && Bit(2, 4)},
    {36, Field(47, 0x070) && Bit(2, 4)},
    {34, Bit(2, 4)},
    {161, Field(48, 0x007) && Bit(2, 5)},
    {173, Field(48, 0x070) && Bit(2, 5)},
    {159, Bit(2, 5)},
    {40, Always()},
    {177, Always()},
    {51, Bit(2, 0)},
    {179, Bit(2, 1)},
    {55, Bit(3, 0)},
    {191, Bit(3, 1)},
    {3, Bit(50, 5)},
    {45, Bit(50, 1)},
    {59, Bit(50, 0)},
    {63, Bit(49, 5)},
    {199, Bit(49, 6)},
    {195, Bit(51, 0)},
    {187, Bit(51, 1)},
    {207, Bit(51, 5)},
    {66, Bit(3, 2)},
    {202, Bit(3, 3)},
    {70, Bit(57, 4)},
    {75, Bit(57, 1)},
    {79, Bit(57, 3)},
    {83, Bit(57, 0)},
    {88, Bit(57, 2)},
    {93, Bit(3, 8)},
    {95, Bit(56, 3)},
    {99, Bit(56, 3)},
    {104, Bit(56, 1)},
    {108, Bit(56, 0)},
    {112, Bit(56, 2)},
    {115, Bit(3, 7)},
    {131, Bit(2, 7)},
    {133, Bit(2, 8)},
    {135, Bit(3, 6)},
    {137, Bit(3, 5)},
    {171, Bit(43, 0)},
    {127, Bit(3, 8)},
    {129, Bit(3, 7)},
    {214, BitClear(43, 4)},
    {215, BitClear(43, 5)},
    {169, Bit(43, 0)},
    {223, Bit(43, 0) || (BitClear(43, 5) && BitClear(55, 6))},
    {225, Bit(43, 0) || BitClear(43, 4) || BitClear(43, 5)},
    {265, AudioInterface()},
};

// ALC control lines by register 32 bits 8 and 7 (ALC on the left, on the right).
const std::vector<StateRule> kJorbControlLines = {
    {173, Bit(32, 8)},
    {174, Bit(32, 7)},
    {175, Bit(32, 8) || Bit(32, 7)},
    {176, Bit(32, 8) || Bit(32, 7)},
};

// Panel refresh: rings from their fields (mixer rings -1 while their path is not selected),
// indicators shown while their block is off, icon pairs by their bit.
const std::vector<RingValue> kJorbRingValues = {
    {CFGPATHJorb_RLAUXBOOST, 47, 0x007, {}},
    {CFGPATHJorb_RLPGABOOST, 47, 0x100, {}},
    {CFGPATHJorb_RL2BOOST, 47, 0x070, {}},
    {CFGPATHJorb_RRAUXBOOST, 48, 0x007, {}},
    {CFGPATHJorb_RRPGABOOST, 48, 0x100, {}},
    {CFGPATHJorb_RR2BOOST, 48, 0x070, {}},
    {CFGPATHJorb_STADCVOLL, 15, 0x0FF, {}},
    {CFGPATHJorb_STADCVOLR, 16, 0x0FF, {}},
    {CFGPATHJorb_STDACVOLL, 11, 0x0FF, {}},
    {CFGPATHJorb_STDACVOLR, 12, 0x0FF, {}},
    {CFGPATHJorb_RLAUXMIX, 50, 0x1C0, Bit(50, 5)},
    {CFGPATHJorb_RLBYPMIX, 50, 0x01C, Bit(50, 1)},
    {CFGPATHJorb_RRAUXMIX, 51, 0x1C0, Bit(51, 5)},
    {CFGPATHJorb_RRBYPMIX, 51, 0x01C, Bit(51, 1)},
    {CFGPATHJorb_RHPN, 52, 0x03F, {}},
    {CFGPATHJorb_RHPP, 53, 0x03F, {}},
    {CFGPATHJorb_STSPKN, 54, 0x03F, {}},
    {CFGPATHJorb_STSPKP, 55, 0x03F, {}},
    {CFGPATHJorb_RRAUXBEEP, 43, 0x00E, {}},
    {CFGPATHJorb_RLPGA, 45, 0x03F, {}},
    {CFGPATHJorb_RRPGA, 46, 0x03F, {}},
};

const std::vector<ShowRule> kJorbShown = {
    {CFGPATHJorb_EQADCTextJorb, BitClear(18, 8)},
    {CFGPATHJorb_EQDACTextJorb, Bit(18, 8)},
    {CFGPATHJorb_STOUT4DisableIcon, BitClear(3, 8)},
    {CFGPATHJorb_STOUT3DisableIcon, BitClear(3, 7)},
    {CFGPATHJorb_STHPNDisableIcon, BitClear(2, 7)},
    {CFGPATHJorb_STHPPDisableIcon, BitClear(2, 8)},
    {CFGPATHJorb_STSPKNDisableIcon, BitClear(3, 6)},
    {CFGPATHJorb_STSPKPDisableIcon, BitClear(3, 5)},
    {CFGPATHJorb_STPGAENLDisenIcon, BitClear(2, 2)},
    {CFGPATHJorb_STPGAENRDisenIcon, BitClear(2, 3)},
    {CFGPATHJorb_STLMIXDisenIcon, BitClear(3, 2)},
    {CFGPATHJorb_STRMIXDisenIcon, BitClear(3, 3)},
    {CFGPATHJorb_STAUX1MXDisenIcon, BitClear(1, 7)},
    {CFGPATHJorb_STAUX2MXDisenIcon, BitClear(1, 6)},
    {CFGPATHJorb_STPLLDisenIcon, BitClear(1, 5)},
    {CFGPATHJorb_STVREFDisenIcon, FieldZero(1, 0x003)},
    {CFGPATHJorb_STMICBIASDisenIcon, BitClear(1, 4)},
    {CFGPATHJorb_STBoostLDisableIcon, BitClear(2, 4)},
    {CFGPATHJorb_STBoostRDisableIcon, BitClear(2, 5)},
    {CFGPATHJorb_STPGALEnableIcon, BitClear(45, 6)},
    {CFGPATHJorb_STPGALDisableIcon, Bit(45, 6)},
    {CFGPATHJorb_STPGAREnableIcon, BitClear(46, 6)},
    {CFGPATHJorb_STPGARDisableIcon, Bit(46, 6)},
    {CFGPATHJorb_STSPKBoostEnIcon, BitClear(49, 2)},
    {CFGPATHJorb_STSPKBoostDisenIcon, Bit(49, 2)},
    {CFGPATHJorb_STOut3BoostEnIcon, BitClear(49, 3)},
    {CFGPATHJorb_STOut3BoostDisenIcon, Bit(49, 3)},
    {CFGPATHJorb_STOut4BoostEnIcon, BitClear(49, 4)},
    {CFGPATHJorb_STOut4BoostDisenIcon, Bit(49, 4)},
    {CFGPATHJorb_STOut4MuteDisenIcon, BitClear(57, 6)},
    {CFGPATHJorb_STOut4MuteEnIcon, Bit(57, 6)},
    {CFGPATHJorb_STOut3MuteDisenIcon, BitClear(56, 6)},
    {CFGPATHJorb_STOut3MuteEnIcon, Bit(56, 6)},
    {CFGPATHJorb_STLout1MuteDisenIcon, BitClear(52, 6)},
    {CFGPATHJorb_STLout1MuteEnIcon, Bit(52, 6)},
    {CFGPATHJorb_STRout1MuteDisenIcon, BitClear(53, 6)},
    {CFGPATHJorb_STRout1MuteEnIcon, Bit(53, 6)},
    {CFGPATHJorb_STLout2MuteDisenIcon, BitClear(54, 6)},
    {CFGPATHJorb_STLout2MuteEnIcon, Bit(54, 6)},
    {CFGPATHJorb_STRout2MuteDisenIcon, BitClear(55, 6)},
    {CFGPATHJorb_STRout2MuteEnIcon, Bit(55, 6)},
    {CFGPATHJorb_STADCENLDisenIcon, BitClear(2, 0)},
    {CFGPATHJorb_STADCENRDisenIcon, BitClear(2, 1)},
    {CFGPATHJorb_STDACENLDisenIcon, BitClear(3, 0)},
    {CFGPATHJorb_STDACENRDisenIcon, BitClear(3, 1)},
};

// Left clicks on the DAC, ADC filter and ALC blocks open their tabs.
const std::vector<TabRect> kJorbTabRects = {
    {398, 454, 93, 302, &PHandleSTDAC},
    {342, 398, 93, 302, &PHandleSTADCFilter},
    {219, 257, 185, 208, &PHandleSTALC},
};

// What a left click on each switch, double-throw switch and wire toggles and writes.
const std::vector<ClickRow> kJorbClicks = {
    {Hit::Switch, {0}, Toggle(44, 0x02)},
    {Hit::Switch, {1}, Toggle(44, 0x01)},
    {Hit::Switch, {2}, Toggle(44, 0x04)},
    {Hit::Switch, {3}, Stop()},
    {Hit::Switch, {4}, Toggle(44, 0x20)},
    {Hit::Switch, {5}, Toggle(44, 0x10)},
    {Hit::Switch, {6}, Toggle(44, 0x40)},
    {Hit::Switch, {8}, Toggle(50, 0x01)},
    {Hit::Switch, {9}, Toggle(49, 0x20, 0x02)},
    {Hit::Switch, {10}, Toggle(49, 0x40, 0x02)},
    {Hit::Switch, {11}, Toggle(51, 0x01)},
    {Hit::Switch, {12}, Toggle(57, 0x10)},
    {Hit::Switch, {13}, Toggle(57, 0x02)},
    {Hit::Switch, {14}, Toggle(57, 0x08)},
    {Hit::Switch, {15}, Toggle(57, 0x01)},
    {Hit::Switch, {16}, Toggle(57, 0x04)},
    {Hit::Switch, {17}, Toggle(56, 0x08)},
    {Hit::Switch, {18}, Toggle(56, 0x02)},
    {Hit::Switch, {19}, Toggle(56, 0x01)},
    {Hit::Switch, {20}, Toggle(56, 0x04)},
    {Hit::Switch, {21}, Toggle(43, 0x20)},
    {Hit::Switch, {22}, Toggle(43, 0x01)},
    {Hit::DPST, {}, ToggleDPST(43, 0x10, 0)},
    {Hit::Segment, {0, 1, 6, 7}, ToggleGroup(0)},
    {Hit::Segment, {24}, Toggle(2, 0x004)},
    {Hit::Segment, {38}, Toggle(2, 0x001)},
    {Hit::Segment, {40, 41}, Toggle(3, 0x001)},
    {Hit::Segment, {46}, Toggle(3, 0x004)},
    {Hit::Segment, {60, 61, 64, 66}, Toggle(57, 0x040)},
    {Hit::Segment, {76, 77, 78}, Toggle(56, 0x040)},
    {Hit::Segment, {79}, Toggle(52, 0x040)},
    {Hit::Segment, {85}, Toggle(3, 0x100)},
    {Hit::Segment, {86}, Toggle(3, 0x080)},
    {Hit::Segment, {87}, Toggle(2, 0x080)},
    {Hit::Segment, {88}, Toggle(2, 0x100)},
    {Hit::Segment, {89}, Toggle(3, 0x040)},
    {Hit::Segment, {90}, Toggle(3, 0x020)},
    {Hit::Segment, {104}, Toggle(2, 0x008)},
    {Hit::Segment, {116}, Toggle(2, 0x002)},
    {Hit::Segment, {118, 119}, Toggle(3, 0x002)},
    {Hit::Segment, {124}, Toggle(3, 0x008)},
    {Hit::Segment, {131, 132, 133, 146, 172}, ToggleGroup(204)},
};

const std::vector<RingFill> kJorbRingFills = {
    {{CFGPATHJorb_RLPGA}, {{"Disable LPGA", -1}}, kPgaSteps, {}},
    {{CFGPATHJorb_RRPGA}, {{"Disable RPGA", -1}}, kPgaSteps, {}},
    {{CFGPATHJorb_RLAUXBOOST, CFGPATHJorb_RL2BOOST, CFGPATHJorb_RRAUXBOOST, CFGPATHJorb_RR2BOOST}, {{"Path not selected", 0}}, kBoostSteps, {}},
    {{CFGPATHJorb_RLPGABOOST, CFGPATHJorb_RRPGABOOST}, {{"+0dB", 0}, {"+20dB", 1}}, {}, {}},
    {{CFGPATHJorb_RLAUXMIX, CFGPATHJorb_RRAUXMIX, CFGPATHJorb_RLBYPMIX, CFGPATHJorb_RRBYPMIX}, {{"Not Selected", -1}}, kMixSteps, {}},
    {{CFGPATHJorb_RHPN, CFGPATHJorb_RHPP, CFGPATHJorb_STSPKN, CFGPATHJorb_STSPKP}, {}, kOutSteps, {}},
    {{CFGPATHJorb_RRAUXBEEP}, {}, kMixSteps, {}},
    {{CFGPATHJorb_STADCVOLL, CFGPATHJorb_STADCVOLR, CFGPATHJorb_STDACVOLL, CFGPATHJorb_STDACVOLR}, {{"Digital Mute", 0}}, kDigitalSteps, {}},
};

const std::vector<ToolTip> kJorbToolTips = {
    {true, {ui::AudioCodec_pan::PANEL_LDevAttached}, "Device attached/detached indicator  "},
    {true, {ui::AudioCodec_pan::PANEL_LPowerUp}, "Power Up indicator"},
    {true, {ui::AudioCodec_pan::PANEL_LRefresh}, "Refreshing indicator"},
    {false, {CFGPATHJorb_STOut4MuteDisenIcon, CFGPATHJorb_STOut3MuteDisenIcon, CFGPATHJorb_STLout1MuteDisenIcon, CFGPATHJorb_STRout1MuteDisenIcon, CFGPATHJorb_STLout2MuteDisenIcon, CFGPATHJorb_STRout2MuteDisenIcon},
     "Output Unmuted, click to toggle"},
    {false, {CFGPATHJorb_STOut4MuteEnIcon, CFGPATHJorb_STOut3MuteEnIcon, CFGPATHJorb_STLout1MuteEnIcon, CFGPATHJorb_STRout1MuteEnIcon, CFGPATHJorb_STLout2MuteEnIcon, CFGPATHJorb_STRout2MuteEnIcon},
     "Output Muted, click to toggle"},
    {false, {CFGPATHJorb_STOUT4DisableIcon, CFGPATHJorb_STOUT3DisableIcon, CFGPATHJorb_STHPNDisableIcon, CFGPATHJorb_STHPPDisableIcon, CFGPATHJorb_STSPKNDisableIcon, CFGPATHJorb_STSPKPDisableIcon},
     "Output Disabled, you can enable it in Device Control or Output tab."},
    {false, {CFGPATHJorb_STPGAENLDisenIcon}, "Left Channel PGA Disabled, you can enable it in Device Control or Input tab."},
    {false, {CFGPATHJorb_STPGAENRDisenIcon}, "Right Channel PGA Disabled, you can enable it in Device Control or Input tab."},
    {false, {CFGPATHJorb_STBoostLDisableIcon}, "Left channel Boost stage disabled, you can enable it in Device Control or Input tab."},
    {false, {CFGPATHJorb_STBoostRDisableIcon}, "Right channel Boost stage disbled, you can enable it in Device Control or Input tab."},
    {false, {CFGPATHJorb_STADCENLDisenIcon}, "Left Channel ADC Disabled, you can enable it in Device Control or ADC tab."},
    {false, {CFGPATHJorb_STADCENRDisenIcon}, "Right Channel ADC Disabled, you can enable it in Device Control or ADC tab."},
    {false, {CFGPATHJorb_STDACENLDisenIcon}, "Left Channel DAC Disabled, you can enable it in Device Control or DAC tab."},
    {false, {CFGPATHJorb_STDACENRDisenIcon}, "Right Channel DAC Disabled, you can enable it in Device Control or DAC tab."},
    {false, {CFGPATHJorb_STLMIXDisenIcon}, "Left Channel Main mixer Disabled, you can enable it in Device Control or Output tab."},
    {false, {CFGPATHJorb_STRMIXDisenIcon}, "Right Channel Main Mixer Disabled, you can enable it in Device Control or Output tab."},
    {false, {CFGPATHJorb_STAUX1MXDisenIcon}, "Aux1Mixer Disabled, you can enable it in Device Control or Output tab."},
    {false, {CFGPATHJorb_STAUX2MXDisenIcon}, "Aux2Mixer Disabled, you can enable it in Device Control or Output tab."},
    {false, {CFGPATHJorb_STVREFDisenIcon}, "VREF circuit is open, you can enable it in Device Control tab."},
    {false, {CFGPATHJorb_STMICBIASDisenIcon}, "MICBIAS Disabled, you can enable it in Device Control or Input tab."},
    {false, {CFGPATHJorb_STPLLDisenIcon}, "PLL Disabled, you can enable it in Device Control or PLL tab."},
};

// The control callbacks: rings on commit, icons on a left click.
const std::vector<ControlRow> kJorbControls = {
    PgaRow("RLPGACB", 45, 2, 0x004),
    PgaRow("RRPGACB", 46, 2, 0x008),
    FieldRow("RLAUXBOOSTCB", 47, 0x007),
    FieldRow("RL2BOOSTCB", 47, 0x070),
    FieldRow("RLPGABOOSTCB", 47, 0x100),
    FieldRow("RRAUXBOOSTCB", 48, 0x007),
    FieldRow("RR2BOOSTCB", 48, 0x070),
    FieldRow("RRPGABOOSTCB", 48, 0x100),
    GatedRow("RLAUXMIXCB", 50, 0x1C0, 0x020, 3),
    GatedRow("RLBYPMIXCB", 50, 0x01C, 0x002, 45),
    GatedRow("RRBYPMIXCB", 51, 0x01C, 0x002, 187),
    GatedRow("RRAUXMIXCB", 51, 0x1C0, 0x020, 207),
    FieldRow("RHPNCB", 52, 0x03F, &STLout1CurrentVOL),
    FieldRow("RHPPCB", 53, 0x03F, &STRout1CurrentVOL),
    FieldRow("STSPKNCB", 54, 0x03F, &STLout2CurrentVOL),
    FieldRow("STSPKPCB", 55, 0x03F, &STRout2CurrentVOL),
    FieldRow("RRAUXBEEPCB", 43, 0x00E),
    VolumeRow("STDACVOLXCB", CFGPATHJorb_STDACVOLL, 11),
    VolumeRow("STDACVOLXCB", CFGPATHJorb_STDACVOLR, 12),
    VolumeRow("STADCVOLXCB", CFGPATHJorb_STADCVOLL, 15),
    VolumeRow("STADCVOLXCB", CFGPATHJorb_STADCVOLR, 16),
    IconRow("STOut4MuteDisenIconCB", 57, 0x040, true),
    IconRow("STOut4MuteEnIconCB", 57, 0x040, false),
    IconRow("STOut3MuteDisenIconCB", 56, 0x040, true),
    IconRow("STOut3MuteEnIconCB", 56, 0x040, false),
    IconRow("STLout1MuteDisenIconCB", 52, 0x040, true),
    IconRow("STLout1MuteEnIconCB", 52, 0x040, false),
    IconRow("STRout1MuteDisenIconCB", 53, 0x040, true),
    IconRow("STRout1MuteEnIconCB", 53, 0x040, false),
    IconRow("STLout2MuteDisenIconCB", 54, 0x040, true),
    IconRow("STLout2MuteEnIconCB", 54, 0x040, false),
    IconRow("STRout2MuteDisenIconCB", 55, 0x040, true),
    IconRow("STRout2MuteEnIconCB", 55, 0x040, false),
    IconRow("STPGALEnableIconCB", 45, 0x040, true, 0x100),
    IconRow("STPGALDisableIconCB", 45, 0x040, false, 0x100),
    IconRow("STPGAREnableIconCB", 46, 0x040, true, 0x100),
    IconRow("STPGARDisableIconCB", 46, 0x040, false, 0x100),
    // Bound by no panel.
    Unbound("STDACVOLLCB", CFGPATHJorb_STDACVOLL, 11),
    Unbound("STDACVOLRCB", CFGPATHJorb_STDACVOLR, 12),
    Unbound("STADCVOLLCB", CFGPATHJorb_STADCVOLL, 15),
    Unbound("STADCVOLRCB", CFGPATHJorb_STADCVOLR, 16),
    ControlRow{.callback = "PSPKNoBoostCB", .kind = Ctl::Clear, .reg = 2, .mask = 0x004},
    ControlRow{.callback = "SPKCB2", .kind = Ctl::Hook, .hook = SpeakerPair},
    NoOp("BWRITEREGCB"),
    NoOp("BREADCFGCB"),
};

PathModel MakeJorb() {
    PathModel m{.name = "Jorb", .tables = SharedPathTables, .panel = &PHandleSTPath, .canvas = CFGPATHJorb_CVSCONFIG};
    m.map = &JorbMap();
    m.art = Joined(kJorbArt, DacOutputArt());
    m.startLit = {0, 204, 40, 177, 53, 181, 23, 148};
    m.groupRules = kJorbGroupRules;
    m.dpstStates = {{0, Bit(43, 4)}};
    m.controlLines = kJorbControlLines;
    m.switchesRedrawn = {21};
    m.ringValues = kJorbRingValues;
    m.texts = {VRefText(CFGPATHJorb_VRefTextJorb)};
    m.shown = kJorbShown;
    m.tabRects = kJorbTabRects;
    m.clicks = kJorbClicks;
    m.ringFills = kJorbRingFills;
    m.toolTips = kJorbToolTips;
    m.controls = kJorbControls;
    return m;
}

}  // namespace

const PathModel& JorbPathModel() {
    static const PathModel model = MakeJorb();
    return model;
}

}  // namespace pathview
