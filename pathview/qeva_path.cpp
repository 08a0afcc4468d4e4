// The Qeva signal-path view: the DAC, mixer and output map drawn on canvas 19 of the Qeva
// path panel, the blocks under its wires, the rules that light its groups and set its panel
// from CFG_REG, the canvas click table, the DAC tab rectangle and the panel's rings, tool tips
// and callbacks. The two DAC volume rings are ganged.
#include "device/device_services.h"
#include "link/usbcomvunt.h"
#include "panels/AudioCodec_pan.h"
#include "panels/cfgPathQeva_pan.h"
#include "pathview/path_model.h"
#include "shell/handles.h"
#include "shell/state.h"

namespace pathview {

namespace {

using namespace ui::cfgPathQeva_pan;

// ---- map ---------------------------------------------------------------------------------
// The DAC, mixer and output half matches the Jorb drawing; AUXL runs along the top (segments
// 0 to 2), AUXR along y 349 to the right mixer and the beep switch (3 to 7), and segment 154
// joins the audio interface to the DACs. Segments 155 to 171 belong to no group.
const std::vector<DotDef> kQevaDots = {
    {0, 47, 45}, {1, 468, 45}, {2, 590, 45}, {3, 610, 75}, {4, 47, 349}, {5, 468, 349}, {6, 590, 349},
    {7, 610, 319}, {8, 440, 349}, {9, 440, 428}, {10, 650, 428}, {11, 672, 428}, {12, 411, 472}, {13, 411, 305},
    {50, 454, 106}, {51, 467, 106}, {52, 520, 106}, {53, 584, 106}, {54, 604, 106}, {55, 610, 106}, {56, 540, 288},
    {57, 540, 122}, {58, 584, 122}, {59, 604, 122}, {60, 610, 122}, {61, 650, 98}, {62, 665, 98}, {63, 680, 98},
    {64, 718, 98}, {65, 738, 98}, {66, 744, 98}, {67, 690, 114}, {68, 718, 114}, {69, 738, 114}, {70, 744, 114},
    {71, 690, 127}, {72, 718, 127}, {73, 738, 127}, {74, 744, 127}, {75, 690, 144}, {76, 705, 144}, {77, 718, 144},
    {78, 738, 144}, {79, 744, 144}, {85, 776, 130}, {86, 790, 130}, {87, 806, 130}, {88, 826, 130}, {89, 840, 130},
    {90, 790, 176}, {91, 700, 176}, {92, 700, 193}, {93, 712, 193}, {94, 718, 193}, {95, 738, 193}, {96, 744, 193},
    {97, 690, 209}, {98, 718, 209}, {99, 738, 209}, {100, 744, 209}, {101, 690, 222}, {102, 718, 222}, {103, 738, 222},
    {104, 744, 222}, {110, 776, 215}, {111, 790, 215}, {112, 806, 215}, {113, 826, 215}, {114, 840, 215}, {115, 790, 60},
    {116, 806, 60}, {117, 665, 60}, {118, 770, 360}, {119, 790, 360}, {120, 665, 290}, {121, 806, 290}, {122, 806, 360},
    {123, 860, 130}, {124, 860, 215}, {125, 826, 60}, {126, 860, 60}, {127, 826, 290}, {128, 860, 290}, {129, 826, 360},
    {130, 860, 360}, {131, 845, 411}, {132, 860, 411}, {170, 454, 288}, {171, 467, 288}, {172, 520, 288}, {173, 584, 288},
    {174, 604, 288}, {175, 610, 288}, {176, 530, 106}, {177, 530, 273}, {178, 584, 273}, {179, 604, 273}, {180, 610, 273},
    {181, 650, 290}, {197, 665, 388}, {198, 720, 388}, {199, 665, 407}, {200, 680, 407}, {201, 765, 388}, {202, 765, 404},
    {203, 695, 407}, {206, 695, 428}, {207, 744, 417}, {208, 806, 411}, {209, 835, 411}, {210, 826, 411}, {213, 620, 530},
    {214, 620, 508}, {215, 630, 530}, {216, 630, 508}, {217, 640, 530}, {218, 777, 404}, {219, 640, 508}, {220, 650, 530},
    {221, 650, 508}, {222, 660, 530}, {223, 660, 508}, {224, 777, 417}, {225, 798, 411}, {226, 670, 530}, {227, 670, 508},
    {228, 680, 530}, {229, 680, 508}, {230, 690, 530}, {231, 690, 508}, {232, 700, 530}, {233, 700, 508}, {234, 710, 530},
    {235, 710, 508}, {236, 720, 530}, {237, 720, 508}, {238, 730, 530}, {239, 730, 508}, {240, 740, 530}, {241, 740, 508},
    {242, 750, 530}, {243, 750, 508}, {244, 760, 530}, {245, 760, 508}, {246, 770, 530}, {247, 770, 508}, {248, 780, 530},
    {249, 780, 508}, {256, 714, 407}, {257, 714, 428}, {266, 584, 106}, {267, 584, 122}, {268, 584, 273}, {269, 584, 288},
    {270, 718, 98}, {271, 718, 114}, {272, 718, 127}, {273, 718, 144}, {275, 718, 193}, {276, 718, 209}, {277, 718, 222},
};

const std::vector<LineDef> kQevaLines = {
    {0, 0, 1}, {1, 1, 2}, {2, 2, 3}, {3, 4, 5}, {4, 5, 6}, {5, 7, 6}, {6, 8, 9}, {7, 9, 10},
    {39, 50, 51}, {40, 51, 52}, {41, 52, 53}, {42, 54, 55}, {43, 56, 57}, {44, 57, 58}, {45, 59, 60}, {46, 61, 62},
    {47, 62, 63}, {48, 63, 64}, {49, 65, 66}, {50, 67, 68}, {51, 69, 70}, {52, 71, 72}, {53, 73, 74}, {54, 75, 76},
    {55, 76, 77}, {56, 78, 79}, {60, 85, 86}, {61, 86, 87}, {62, 88, 89}, {63, 86, 90}, {64, 90, 91}, {65, 91, 92},
    {66, 92, 93}, {67, 93, 94}, {68, 95, 96}, {69, 97, 98}, {70, 99, 100}, {71, 101, 102}, {72, 103, 104}, {76, 110, 111},
    {77, 112, 111}, {78, 113, 114}, {79, 115, 116}, {80, 62, 117}, {81, 117, 115}, {82, 118, 119}, {83, 120, 121}, {84, 119, 122},
    {85, 89, 123}, {86, 114, 124}, {87, 125, 126}, {88, 127, 128}, {89, 129, 130}, {90, 131, 132}, {117, 170, 171}, {118, 171, 172},
    {119, 172, 173}, {120, 174, 175}, {121, 176, 177}, {122, 177, 178}, {123, 179, 180}, {124, 181, 120}, {138, 120, 197}, {139, 197, 198},
    {140, 197, 199}, {141, 199, 200}, {142, 201, 198}, {143, 201, 202}, {144, 202, 218}, {145, 200, 203}, {147, 10, 11}, {148, 11, 206},
    {149, 207, 224}, {150, 225, 208}, {151, 209, 210}, {152, 209, 131}, {154, 12, 13}, {155, 213, 214}, {156, 215, 216}, {157, 217, 219},
    {158, 220, 221}, {159, 222, 223}, {160, 226, 227}, {161, 228, 229}, {162, 230, 231}, {163, 232, 233}, {164, 234, 235}, {165, 236, 237},
    {166, 238, 239}, {167, 240, 241}, {168, 242, 243}, {169, 244, 245}, {170, 246, 247}, {171, 248, 249},
};

const std::vector<SwitchDef> kQevaSwitches = {
    {8, 266, 54}, {9, 267, 59}, {10, 268, 179}, {11, 269, 174}, {12, 270, 65}, {13, 271, 69}, {14, 272, 73},
    {15, 273, 78}, {17, 275, 95}, {18, 276, 99}, {19, 277, 103}, {21, 203, 256}, {22, 206, 257},
};

const std::vector<DPSTDef> kQevaDPST = {{0, 225, 218, 224}};

const std::vector<GroupDef> kQevaGroups = {
    {0, -1, {0}},
    {3, -1, {1, 2}},
    {6, -1, {3, 6, 7}},
    {53, -1, {39}},
    {55, -1, {40, 41, 121, 52, 71}},
    {59, 8, {42}},
    {63, 9, {44, 45}},
    {66, -1, {46, 47, 69, 79, 80, 81, 82, 84}},
    {70, 12, {48, 49}},
    {75, 13, {51}},
    {79, 14, {53}},
    {83, 15, {55, 56}},
    {93, -1, {60, 61, 62}},
    {95, -1, {60, 63, 64, 65, 66}},
    {99, 17, {67, 68}},
    {104, 18, {70}},
    {108, 19, {72}},
    {115, -1, {76, 77, 78}},
    {127, -1, {85}},
    {129, -1, {86}},
    {131, -1, {87}},
    {133, -1, {88}},
    {135, -1, {89}},
    {137, -1, {90}},
    {169, 22, {147, 148}},
    {181, -1, {117}},
    {191, -1, {118, 119, 43, 54}},
    {195, 11, {120}},
    {199, 10, {122, 123}},
    {202, -1, {124, 50, 138, 83}},
    {209, -1, {4, 5}},
    {214, -1, {139, 142, 143, 144}},
    {215, 21, {139, 140, 141, 145}},
    {223, -1, {149}},
    {225, -1, {150, 151, 152}},
    {265, -1, {154}},
};

const PathMap kQevaMap = {kQevaDots, kQevaLines, kQevaSwitches, kQevaDPST, kQevaGroups};

// ---- blocks under the wires --------------------------------------------------------------
const std::vector<ArtItem> kQevaArt = {
    {Art::Pin, 47, 45, 0, 0, nullptr},   {Art::Text, 2, 38, 40, 14, "AUXL"},
    {Art::Pin, 47, 349, 0, 0, nullptr},  {Art::Text, 2, 342, 40, 14, "AUXR"},
    {Art::Block, 380, 93, 75, 212, "DAC"},
    {Art::Text, 436, 99, 16, 14, "L"},   {Art::Text, 436, 281, 16, 14, "R"},
    {Art::Block, 342, 472, 140, 30, "AUDIO INTERFACE"},
    {Art::Block, 40, 410, 70, 22, "MICBIAS"},
    {Art::Block, 40, 440, 70, 22, "VREF"},
    {Art::Block, 40, 470, 70, 22, "PLL"},
    {Art::Block, 610, 50, 41, 91, "MIX L"},  {Art::Block, 610, 254, 41, 91, "MIX R"},  {Art::Block, 744, 90, 33, 81, "AUX1 MIX"},
    {Art::Block, 744, 185, 33, 61, "AUX2 MIX"},  {Art::Text, 648, 107, 42, 14, "MIX R"},  {Art::Text, 648, 120, 42, 14, "DAC L"},
    {Art::Text, 648, 137, 42, 14, "DAC R"},  {Art::Text, 648, 202, 42, 14, "MIX L"},
    {Art::Text, 648, 215, 42, 14, "DAC L"},  {Art::Text, 728, 353, 42, 14, "MIX L"},
    {Art::Text, 604, 413, 44, 14, "BEEP"},  {Art::Block, 714, 398, 31, 41, "INV"},  {Art::Amp, 806, 50, 20, 20, nullptr},
    {Art::Pin, 860, 60, 0, 0, nullptr},  {Art::Text, 865, 53, 35, 14, "HP-"},  {Art::Amp, 806, 120, 20, 20, nullptr},
    {Art::Pin, 860, 130, 0, 0, nullptr},  {Art::Text, 865, 123, 35, 14, "AUX1"},  {Art::Amp, 806, 205, 20, 20, nullptr},
    {Art::Pin, 860, 215, 0, 0, nullptr},  {Art::Text, 865, 208, 35, 14, "AUX2"},  {Art::Amp, 806, 280, 20, 20, nullptr},
    {Art::Pin, 860, 290, 0, 0, nullptr},  {Art::Text, 865, 283, 35, 14, "HP+"},  {Art::Amp, 806, 350, 20, 20, nullptr},
    {Art::Pin, 860, 360, 0, 0, nullptr},  {Art::Text, 865, 353, 35, 14, "SPK-"},  {Art::Amp, 806, 401, 20, 20, nullptr},
    {Art::Pin, 860, 411, 0, 0, nullptr},  {Art::Text, 865, 404, 35, 14, "SPK+"},
};

// ---- group rules and panel refresh -------------------------------------------------------
// Groups 0, 6, 53 and 181 keep their start state (0 and 6 also their clicked state).
const std::vector<GroupRule> kQevaGroupRules = {
    {3, Bit(50, 5)},
    {55, Bit(3, 0)},
    {59, Bit(50, 0)},
    {63, Bit(49, 5)},
    {66, Bit(3, 2)},
    {70, Bit(57, 4)},
    {75, Bit(57, 1)},
    {79, Bit(57, 3)},
    {83, Bit(57, 0)},
    {93, Bit(3, 8)},
    {95, Bit(56, 3)},
    {99, Bit(56, 3)},
    {104, Bit(56, 1)},
    {108, Bit(56, 0)},
    {115, Bit(3, 7)},
    {127, Bit(3, 8)},
    {129, Bit(3, 7)},
    {131, Bit(2, 7)},
    {133, Bit(2, 8)},
    {135, Bit(3, 6)},
    {137, Bit(3, 5)},
    {169, Bit(43, 0)},
    {191, Bit(3, 1)},
    {195, Bit(51, 0)},
    {199, Bit(49, 6)},
    {202, Bit(3, 3)},
    {209, Bit(51, 5)},
    {214, BitClear(43, 4)},
    {215, BitClear(43, 5)},
    {223, Bit(43, 0) || (BitClear(43, 5) && BitClear(55, 6))},
    {225, BitClear(43, 4) || BitClear(43, 5) || Bit(43, 0)},
    {265, AudioInterface()},
};

const std::vector<RingValue> kQevaRingValues = {
    {CFGPATHQeva_STDACVOLL, 11, 0x0FF, {}},
    {CFGPATHQeva_STDACVOLR, 12, 0x0FF, {}},
    {CFGPATHQeva_RLAUXMIX, 50, 0x1C0, Bit(50, 5)},
    {CFGPATHQeva_RRAUXMIX, 51, 0x1C0, Bit(51, 5)},
    {CFGPATHQeva_RHPN, 52, 0x03F, {}},
    {CFGPATHQeva_RHPP, 53, 0x03F, {}},
    {CFGPATHQeva_STSPKN, 54, 0x03F, {}},
    {CFGPATHQeva_STSPKP, 55, 0x03F, {}},
    {CFGPATHQeva_RRAUXBEEP, 43, 0x00E, {}},
};

const std::vector<ShowRule> kQevaShown = {
    {CFGPATHQeva_EQDACTextQeva, Bit(18, 8)},
    {CFGPATHQeva_STOUT4DisableIcon, BitClear(3, 8)},
    {CFGPATHQeva_STOUT3DisableIcon, BitClear(3, 7)},
    {CFGPATHQeva_STHPNDisableIcon, BitClear(2, 7)},
    {CFGPATHQeva_STHPPDisableIcon, BitClear(2, 8)},
    {CFGPATHQeva_STSPKNDisableIcon, BitClear(3, 6)},
    {CFGPATHQeva_STSPKPDisableIcon, BitClear(3, 5)},
    {CFGPATHQeva_STLMIXDisenIcon, BitClear(3, 2)},
    {CFGPATHQeva_STRMIXDisenIcon, BitClear(3, 3)},
    {CFGPATHQeva_STAUX1MXDisenIcon, BitClear(1, 7)},
    {CFGPATHQeva_STAUX2MXDisenIcon, BitClear(1, 6)},
    {CFGPATHQeva_STPLLDisenIcon, BitClear(1, 5)},
    {CFGPATHQeva_STVREFDisenIcon, FieldZero(1, 0x003)},
    {CFGPATHQeva_STMICBIASDisenIcon, BitClear(1, 4)},
    {CFGPATHQeva_STSPKBoostEnIcon, BitClear(49, 2)},
    {CFGPATHQeva_STSPKBoostDisenIcon, Bit(49, 2)},
    {CFGPATHQeva_STOut3BoostEnIcon, BitClear(49, 3)},
    {CFGPATHQeva_STOut3BoostDisenIcon, Bit(49, 3)},
    {CFGPATHQeva_STOut4BoostEnIcon, BitClear(49, 4)},
    {CFGPATHQeva_STOut4BoostDisenIcon, Bit(49, 4)},
    {CFGPATHQeva_STOut4MuteDisenIcon, BitClear(57, 6)},
    {CFGPATHQeva_STOut4MuteEnIcon, Bit(57, 6)},
    {CFGPATHQeva_STOut3MuteDisenIcon, BitClear(56, 6)},
    {CFGPATHQeva_STOut3MuteEnIcon, Bit(56, 6)},
    {CFGPATHQeva_STLout1MuteDisenIcon, BitClear(52, 6)},
    {CFGPATHQeva_STLout1MuteEnIcon, Bit(52, 6)},
    {CFGPATHQeva_STRout1MuteDisenIcon, BitClear(53, 6)},
    {CFGPATHQeva_STRout1MuteEnIcon, Bit(53, 6)},
    {CFGPATHQeva_STLout2MuteDisenIcon, BitClear(54, 6)},
    {CFGPATHQeva_STLout2MuteEnIcon, Bit(54, 6)},
    {CFGPATHQeva_STRout2MuteDisenIcon, BitClear(55, 6)},
    {CFGPATHQeva_STRout2MuteEnIcon, Bit(55, 6)},
    {CFGPATHQeva_STDACENLDisenIcon, BitClear(3, 0)},
    {CFGPATHQeva_STDACENRDisenIcon, BitClear(3, 1)},
};

// ---- clicks ------------------------------------------------------------------------------
// The DAC block opens the Qeva DAC tab. A wire toggles the bit that lights its own group
// (segment 60, shared by the OUT4 enable and AUX2 groups, has no row).
const std::vector<TabRect> kQevaTabRects = {
    {398, 454, 93, 302, &PHdlDACQeva},
};

const std::vector<ClickRow> kQevaClicks = {
    {Hit::Switch, {8}, Toggle(50, 0x001)},
    {Hit::Switch, {9}, Toggle(49, 0x020, 0x002)},
    {Hit::Switch, {10}, Toggle(49, 0x040, 0x002)},
    {Hit::Switch, {11}, Toggle(51, 0x001)},
    {Hit::Switch, {12}, Toggle(57, 0x010)},
    {Hit::Switch, {13}, Toggle(57, 0x002)},
    {Hit::Switch, {14}, Toggle(57, 0x008)},
    {Hit::Switch, {15}, Toggle(57, 0x001)},
    {Hit::Switch, {17}, Toggle(56, 0x008)},
    {Hit::Switch, {18}, Toggle(56, 0x002)},
    {Hit::Switch, {19}, Toggle(56, 0x001)},
    {Hit::Switch, {21}, Toggle(43, 0x020)},
    {Hit::Switch, {22}, Toggle(43, 0x001)},
    {Hit::DPST, {}, ToggleDPST(43, 0x010, 0)},
    {Hit::Segment, {0}, ToggleGroup(0)},
    {Hit::Segment, {3, 6, 7}, ToggleGroup(6)},
    {Hit::Segment, {40, 41}, Toggle(3, 0x001)},
    {Hit::Segment, {46, 79}, Toggle(3, 0x004)},
    {Hit::Segment, {61}, Toggle(3, 0x100)},
    {Hit::Segment, {66}, Toggle(56, 0x008)},
    {Hit::Segment, {76, 78}, Toggle(3, 0x080)},
    {Hit::Segment, {85}, Toggle(3, 0x100)},
    {Hit::Segment, {86}, Toggle(3, 0x080)},
    {Hit::Segment, {87}, Toggle(2, 0x080)},
    {Hit::Segment, {88}, Toggle(2, 0x100)},
    {Hit::Segment, {89}, Toggle(3, 0x040)},
    {Hit::Segment, {90}, Toggle(3, 0x020)},
    {Hit::Segment, {118, 119}, Toggle(3, 0x002)},
    {Hit::Segment, {124}, Toggle(3, 0x008)},
};

// ---- rings, tool tips and callbacks ------------------------------------------------------
const RingSteps kMixSteps{-15.0, 6.0, 3.0, 0, 1};
const RingSteps kOutSteps{-57.0, 6.0, 1.0, 0, 1};
const RingSteps kDigitalSteps{-127.0, 0.0, 0.5, 1, 1};

const std::vector<RingFill> kQevaRingFills = {
    {{CFGPATHQeva_RLAUXMIX, CFGPATHQeva_RRAUXMIX}, {{"Not Selected", -1}}, kMixSteps, {}},
    {{CFGPATHQeva_RHPN, CFGPATHQeva_RHPP, CFGPATHQeva_STSPKN, CFGPATHQeva_STSPKP}, {}, kOutSteps, {}},
    {{CFGPATHQeva_RRAUXBEEP}, {}, kMixSteps, {}},
    {{CFGPATHQeva_STDACVOLL, CFGPATHQeva_STDACVOLR}, {{"Digital Mute", 0}}, kDigitalSteps, {}},
};

const std::vector<ToolTip> kQevaToolTips = {
    {true, {ui::AudioCodec_pan::PANEL_LDevAttached}, "Device attached/detached indicator  "},
    {true, {ui::AudioCodec_pan::PANEL_LPowerUp}, "Power Up indicator"},
    {true, {ui::AudioCodec_pan::PANEL_LRefresh}, "Refreshing indicator"},
    {false, {CFGPATHQeva_STOut4MuteDisenIcon, CFGPATHQeva_STOut3MuteDisenIcon, CFGPATHQeva_STLout1MuteDisenIcon, CFGPATHQeva_STRout1MuteDisenIcon, CFGPATHQeva_STLout2MuteDisenIcon, CFGPATHQeva_STRout2MuteDisenIcon},
     "Output Unmuted, click to toggle"},
    {false, {CFGPATHQeva_STOut4MuteEnIcon, CFGPATHQeva_STOut3MuteEnIcon, CFGPATHQeva_STLout1MuteEnIcon, CFGPATHQeva_STRout1MuteEnIcon, CFGPATHQeva_STLout2MuteEnIcon, CFGPATHQeva_STRout2MuteEnIcon},
     "Output Muted, click to toggle"},
    {false, {CFGPATHQeva_STOUT4DisableIcon, CFGPATHQeva_STOUT3DisableIcon, CFGPATHQeva_STHPNDisableIcon, CFGPATHQeva_STHPPDisableIcon, CFGPATHQeva_STSPKNDisableIcon, CFGPATHQeva_STSPKPDisableIcon},
     "Output Disabled, you can enable it in Device Control or Output tab."},
    {false, {CFGPATHQeva_STDACENLDisenIcon}, "Left Channel DAC Disabled, you can enable it in Device Control or DAC tab."},
    {false, {CFGPATHQeva_STDACENRDisenIcon}, "Right Channel DAC Disabled, you can enable it in Device Control or DAC tab."},
    {false, {CFGPATHQeva_STLMIXDisenIcon}, "Left Channel Main mixer Disabled, you can enable it in Device Control or Output tab."},
    {false, {CFGPATHQeva_STRMIXDisenIcon}, "Right Channel Main Mixer Disabled, you can enable it in Device Control or Output tab."},
    {false, {CFGPATHQeva_STAUX1MXDisenIcon}, "Aux1Mixer Disabled, you can enable it in Device Control or Output tab."},
    {false, {CFGPATHQeva_STAUX2MXDisenIcon}, "Aux2Mixer Disabled, you can enable it in Device Control or Output tab."},
};

// Either DAC volume ring sets both channels: R11 and R12 take the value, R12 its latch bit.
int GangedDacVolume(const PathModel&, int, int, int value) {
    for (int reg : {11, 12}) CFG_REG[reg] = (CFG_REG[reg] & ~0x0FFu) | (static_cast<uint32_t>(value) & 0x0FF);
    CFG_REG[12] |= 0x100;
    ZelqxWriteOneReg(11);
    ZelqxWriteOneReg(12);
    return 0;
}

ControlRow GangedRow(int control) {
    ControlRow r{.callback = "STDACVOLXCBQeva", .control = control, .kind = Ctl::Hook, .hook = GangedDacVolume};
    r.ownPanel = true;
    return r;
}

const std::vector<ControlRow> kQevaControls = {
    GatedRow("RLAUXMIXCBQeva", 50, 0x1C0, 0x020, 3),
    GatedRow("RRAUXMIXCBQeva", 51, 0x1C0, 0x020, 209),
    FieldRow("RHPNCBQeva", 52, 0x03F, &STLout1CurrentVOL),
    FieldRow("RHPPCBQeva", 53, 0x03F, &STRout1CurrentVOL),
    FieldRow("STSPKNCBQeva", 54, 0x03F, &STLout2CurrentVOL),
    FieldRow("STSPKPCBQeva", 55, 0x03F, &STRout2CurrentVOL),
    FieldRow("RRAUXBEEPCBQeva", 43, 0x00E),
    GangedRow(CFGPATHQeva_STDACVOLL),
    GangedRow(CFGPATHQeva_STDACVOLR),
    IconRow("STOut4MuteDisenIconCBQeva", 57, 0x040, true),
    IconRow("STOut4MuteEnIconCBQeva", 57, 0x040, false),
    IconRow("STOut3MuteDisenIconCBQeva", 56, 0x040, true),
    IconRow("STOut3MuteEnIconCBQeva", 56, 0x040, false),
    IconRow("STLout1MuteDisenIconCBQeva", 52, 0x040, true),
    IconRow("STLout1MuteEnIconCBQeva", 52, 0x040, false),
    IconRow("STRout1MuteDisenIconCBQeva", 53, 0x040, true),
    IconRow("STLout2MuteDisenIconCBQeva", 54, 0x040, true),
    IconRow("STLout2MuteEnIconCBQeva", 54, 0x040, false),
    IconRow("STRout2MuteDisenIconCBQeva", 55, 0x040, true),
    IconRow("STRout2MuteEnIconCBQeva", 55, 0x040, false),
};

PathModel MakeQeva() {
    PathModel m{.name = "Qeva", .tables = SharedPathTables, .panel = &PHdlPathQeva, .canvas = CFGPATHQeva_CVSCONFIG};
    m.map = &kQevaMap;
    m.art = kQevaArt;
    m.startLit = {0, 6, 53, 181};
    m.groupRules = kQevaGroupRules;
    m.dpstStates = {{0, Bit(43, 4)}};
    m.switchesRedrawn = {21};
    m.ringValues = kQevaRingValues;
    m.texts = {{CFGPATHQeva_VRefTextQeva, 1, 0x003, {"Open Circuit", "75 KOhm", "300 KOhm", "5 KOhm"}}};
    m.shown = kQevaShown;
    m.tabRects = kQevaTabRects;
    m.clicks = kQevaClicks;
    m.ringFills = kQevaRingFills;
    m.toolTips = kQevaToolTips;
    m.controls = kQevaControls;
    return m;
}

}  // namespace

const PathModel& QevaPathModel() {
    static const PathModel model = MakeQeva();
    return model;
}

}  // namespace pathview
