// The Qeva signal-path view: the DAC, mixer and output map drawn on canvas 19 of the Qeva
// path panel, the blocks under its wires, the rules that light its groups and set its panel
// from CFG_REG, the canvas click table, the DAC tab rectangle and the panel's rings, tool tips
// and callbacks. The two DAC volume rings are ganged.
#include "device/device_services.h"
#include "panels/AudioCodec_pan.h"
#include "panels/cfgPathQeva_pan.h"
#include "pathview/dac_output_map.h"
#include "pathview/path_model.h"
#include "link/write_action.h"
#include "shell/handles.h"
#include "shell/state.h"

namespace pathview {

namespace {

using namespace ui::cfgPathQeva_pan;

// ---- map ---------------------------------------------------------------------------------
// The DAC, mixer and output half is the one shared with Jorb (DacOutputMap); below are Qeva's
// own rows: AUXL runs along the top (segments
// 0 to 2), AUXR along y 349 to the right mixer and the beep switch (3 to 7), and segment 154
// joins the audio interface to the DACs. Segments 155 to 171 belong to no group.
const std::vector<DotDef> kQevaDots = {
    {0, 47, 45}, {1, 468, 45}, {2, 590, 45}, {3, 610, 75}, {4, 47, 349}, {5, 468, 349}, {6, 590, 349},
    {7, 610, 319}, {8, 440, 349}, {9, 440, 428}, {10, 650, 428}, {11, 672, 428}, {12, 411, 472}, {13, 411, 305},
};

const std::vector<LineDef> kQevaLines = {
    {0, 0, 1}, {1, 1, 2}, {2, 2, 3}, {3, 4, 5}, {4, 5, 6}, {5, 7, 6}, {6, 8, 9},
    {7, 9, 10}, {147, 10, 11}, {148, 11, 206}, {154, 12, 13},
};

const std::vector<GroupDef> kQevaGroups = {
    {0, -1, {0}},
    {3, -1, {1, 2}},
    {6, -1, {3, 6, 7}},
    {209, -1, {4, 5}},
    {215, 21, {139, 140, 141, 145}},
};

// Qeva's own rows (its AUX inputs and audio interface), joined after the shared half.
const PathMap kQevaOwnMap = {kQevaDots, kQevaLines, {}, {}, kQevaGroups};

const PathMap& QevaMap() {
    static const PathMap map = JoinMaps(DacOutputMap(), kQevaOwnMap);
    return map;
}

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
    {Art::Block, 610, 50, 41, 91, "MIX L"},  {Art::Block, 610, 254, 41, 91, "MIX R"},  {Art::Block, 744, 90, 39, 81, "AUX1 MIX"},
    {Art::Block, 744, 185, 39, 61, "AUX2 MIX"},  {Art::Text, 648, 107, 42, 14, "MIX R"},  {Art::Text, 648, 120, 42, 14, "DAC L"},
    {Art::Text, 648, 137, 42, 14, "DAC R"},  {Art::Text, 648, 202, 42, 14, "MIX L"},
    {Art::Text, 648, 215, 42, 14, "DAC L"},  {Art::Text, 728, 353, 42, 14, "MIX L"},
    {Art::Text, 604, 413, 44, 14, "BEEP"},  {Art::Block, 714, 398, 31, 41, "INV"},
    // the output drivers and pins follow from DacOutputArt()
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
    SendInAction(11);
    SendInAction(12);
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
    m.map = &QevaMap();
    m.art = Joined(kQevaArt, DacOutputArt());
    m.startLit = {0, 6, 53, 181};
    m.groupRules = kQevaGroupRules;
    m.dpstStates = {{0, Bit(43, 4)}};
    m.switchesRedrawn = {21};
    m.ringValues = kQevaRingValues;
    m.texts = {VRefText(CFGPATHQeva_VRefTextQeva)};
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
