// The Zutb signal-path view, on record tables of its own: the input-selection map drawn on
// canvas 10 of its path panel, the blocks under its wires, the rules that light its groups and
// set its panel from CFG_REG, the canvas click table, the tab rectangles and the panel's rings,
// tool tips and callbacks. Every register here is of the Zutb numbering: R0/R1 left/right PGA
// volume, R2/R3 left/right audio path, R6 power management, R10 bits 3:2 the reference
// impedance, R47/R48 ADC digital volume, R50 the first equaliser band, R75/R76 input control,
// R77/R78 PGA gain control.
#include "panels/AudioCodec_pan.h"
#include "panels/cfgPathZutb_pan.h"
#include "pathview/path_model.h"
#include "link/write_action.h"
#include "shell/handles.h"
#include "shell/state.h"

namespace pathview {

namespace {

using namespace ui::cfgPathZutb_pan;

// ---- map ---------------------------------------------------------------------------------
// Switch, segment and group i share a number: three input switches per channel at x 71-93 and
// the PGA-to-boost switch at x 156-170; the left channel above, the right below.
const std::vector<DotDef> kZutbDots = {
    {0, 71, 144}, {1, 93, 144}, {2, 71, 164}, {3, 93, 164}, {4, 71, 198}, {5, 93, 198},
    {6, 71, 264}, {7, 93, 264}, {8, 71, 284}, {9, 93, 284}, {10, 71, 317}, {11, 93, 317},
    {12, 156, 153}, {13, 170, 153}, {14, 156, 275}, {15, 170, 275},
};

const std::vector<LineDef> kZutbLines = {
    {0, 0, 1}, {1, 2, 3}, {2, 4, 5}, {3, 6, 7}, {4, 8, 9}, {5, 10, 11}, {6, 12, 13}, {7, 14, 15},
};

const std::vector<SwitchDef> kZutbSwitches = {
    {0, 0, 1}, {1, 2, 3}, {2, 4, 5}, {3, 6, 7}, {4, 8, 9}, {5, 10, 11}, {6, 12, 13}, {7, 14, 15},
};

// No double-throw switch: the slot stays without a position, so it is neither drawn nor hit.
const std::vector<GroupDef> kZutbGroups = {
    {0, 0, {0}}, {1, 1, {1}}, {2, 2, {2}}, {3, 3, {3}}, {4, 4, {4}}, {5, 5, {5}}, {6, 6, {6}}, {7, 7, {7}},
};

const PathMap kZutbMap = {kZutbDots, kZutbLines, kZutbSwitches, {}, kZutbGroups};

// ---- blocks under the wires --------------------------------------------------------------
const std::vector<ArtItem> kZutbArt = {
    // inputs and their wires up to the switches
    {Art::Pin, 52, 144, 0, 0, nullptr}, {Art::Text, 2, 137, 44, 14, "LIN"},  {Art::Line, 55, 144, 16, 0, nullptr},
    {Art::Pin, 52, 164, 0, 0, nullptr}, {Art::Text, 2, 157, 44, 14, "LIP"},  {Art::Line, 55, 164, 16, 0, nullptr},
    {Art::Pin, 52, 198, 0, 0, nullptr}, {Art::Text, 2, 191, 44, 14, "L2"},   {Art::Line, 55, 198, 16, 0, nullptr},
    {Art::Pin, 52, 264, 0, 0, nullptr}, {Art::Text, 2, 257, 44, 14, "RIN"},  {Art::Line, 55, 264, 16, 0, nullptr},
    {Art::Pin, 52, 284, 0, 0, nullptr}, {Art::Text, 2, 277, 44, 14, "RIP"},  {Art::Line, 55, 284, 16, 0, nullptr},
    {Art::Pin, 52, 317, 0, 0, nullptr}, {Art::Text, 2, 310, 44, 14, "R2"},   {Art::Line, 55, 317, 16, 0, nullptr},
    // PGAs, the switch into the boost stage, boost stages
    {Art::Line, 93, 144, 12, 0, nullptr}, {Art::Line, 93, 164, 12, 0, nullptr},
    {Art::Amp, 105, 134, 45, 38, nullptr}, {Art::Line, 150, 153, 6, 0, nullptr},
    {Art::Line, 93, 264, 12, 0, nullptr}, {Art::Line, 93, 284, 12, 0, nullptr},
    {Art::Amp, 105, 256, 45, 38, nullptr}, {Art::Line, 150, 275, 6, 0, nullptr},
    {Art::Text, 100, 86, 56, 14, "PGA L"}, {Art::Text, 100, 326, 56, 14, "PGA R"},
    {Art::Line, 170, 153, 6, 0, nullptr}, {Art::Line, 93, 198, 83, 0, nullptr},
    {Art::Line, 170, 275, 6, 0, nullptr}, {Art::Line, 93, 317, 83, 0, nullptr},
    {Art::Block, 176, 128, 40, 80, nullptr},
    {Art::Block, 176, 250, 40, 80, nullptr},
    {Art::Text, 166, 110, 60, 14, "BOOST L"},
    {Art::Text, 166, 334, 60, 14, "BOOST R"},
    {Art::Line, 216, 153, 126, 0, nullptr},
    {Art::Line, 216, 275, 126, 0, nullptr},
    {Art::Block, 219, 185, 38, 23, "ALC"},
    // converters
    {Art::Block, 342, 93, 113, 210, nullptr},
    {Art::Line, 398, 93, 0, 209, nullptr},
    {Art::Text, 343, 170, 55, 40, "ADC"},
    {Art::Text, 399, 170, 55, 40, "DAC"},
    {Art::Text, 346, 126, 14, 14, "L"}, {Art::Text, 346, 258, 14, 14, "R"},
    // references
    {Art::Block, 66, 410, 94, 28, "VREF"},
    {Art::Block, 66, 462, 94, 28, "MIC BIAS"},
};

// ---- rules -------------------------------------------------------------------------------
const std::vector<GroupRule> kZutbGroupRules = {
    {0, Bit(75, 1)}, {1, Bit(75, 0)}, {2, Bit(75, 2)}, {6, Bit(75, 6)},
    {3, Bit(76, 1)}, {4, Bit(76, 0)}, {5, Bit(76, 2)}, {7, Bit(76, 6)},
};

// The input volume rings: -12 dB at code 171 to 30 dB at code 255, 0.5 dB a code (the rings
// list every 0.75 dB). Below -12 dB the scale is not known: such a code shows "code N".
constexpr RingSteps kInputVolumeScale{-12.0, 30.0, 0.5, 171, 1};

// Microphone boost: the code in bits 6-5, enabled by bit 4 ("Disabled" while it is clear).
const std::vector<RingValue> kZutbRingValues = {
    {CFGPATHZutb_LMICBOOST, 2, 0x060, Bit(2, 4)},
    {CFGPATHZutb_RMICBOOST, 3, 0x060, Bit(3, 4)},
    OnScale(CFGPATHZutb_LVU, 0, 0x0FF, kInputVolumeScale, BitClear(77, 6)),
    OnScale(CFGPATHZutb_RVU, 1, 0x0FF, kInputVolumeScale, BitClear(78, 6)),
    OnScale(CFGPATHZutb_STADCVOLL, 47, 0x0FF, kDigitalSteps),
    OnScale(CFGPATHZutb_STADCVOLR, 48, 0x0FF, kDigitalSteps),
};

const std::vector<ShowRule> kZutbShown = {
    {CFGPATHZutb_EQADCText, BitClear(50, 8)},
    {CFGPATHZutb_STPGAENLDisenIcon, BitClear(0, 0)},
    {CFGPATHZutb_STPGAENRDisenIcon, BitClear(1, 0)},
    {CFGPATHZutb_STVREFDisenIcon, BitClear(6, 7)},
    {CFGPATHZutb_STMICBIASDisenIcon, FieldZero(6, 0x003)},
    {CFGPATHZutb_STBoostLDisableIcon, BitClear(2, 4)},
    {CFGPATHZutb_STBoostRDisableIcon, BitClear(3, 4)},
    {CFGPATHZutb_STADCENLDisenIcon, BitClear(6, 3)},
    {CFGPATHZutb_STADCENRDisenIcon, BitClear(6, 2)},
};

const std::vector<TabRect> kZutbTabRects = {
    {398, 454, 93, 302, &PHandleSTDACZutb},
    {342, 398, 93, 302, &PHandleSTADCFilterZutb},
    {219, 257, 185, 208, &PHandleSTALCZutb},
};

const std::vector<ClickRow> kZutbClicks = {
    {Hit::Switch, {0}, Toggle(75, 0x02)},
    {Hit::Switch, {1}, Toggle(75, 0x01)},
    {Hit::Switch, {2}, Toggle(75, 0x04)},
    {Hit::Switch, {6}, Toggle(75, 0x40)},
    {Hit::Switch, {3}, Toggle(76, 0x02)},
    {Hit::Switch, {4}, Toggle(76, 0x01)},
    {Hit::Switch, {5}, Toggle(76, 0x04)},
    {Hit::Switch, {7}, Toggle(76, 0x40)},
};

// ADC digital volume: "Digital Mute", then these dB steps at code 255 + 2 x dB.
std::vector<RingItem> AdcVolumeItems() {
    std::vector<RingItem> items{{"Digital Mute", 0}};
    for (int db : {-120, -110, -100, -90, -80, -78, -72, -70, -66, -60, -54, -50, -48, -42, -40,
                   -36, -30, -24, -20, -18, -15, -12, -10, -9, -6, -3, -2, -1, 0})
        items.push_back({DbLabel(db), 255 + 2 * db});
    return items;
}

const std::vector<ToolTip> kZutbToolTips = {
    {true, {ui::AudioCodec_pan::PANEL_LDevAttached}, "Device attached/detached indicator  "},
    {true, {ui::AudioCodec_pan::PANEL_LPowerUp}, "Power Up indicator"},
    {true, {ui::AudioCodec_pan::PANEL_LRefresh}, "Refreshing indicator"},
    {false, {CFGPATHZutb_STOUT3DisableIcon}, "Output Disabled, you can enable it in Device Control or Output tab."},
    {false, {CFGPATHZutb_STPGAENLDisenIcon}, "Left Channel PGA Disabled, you can enable it in Device Control or Input tab."},
    {false, {CFGPATHZutb_STPGAENRDisenIcon}, "Right Channel PGA Disabled, you can enable it in Device Control or Input tab."},
    {false, {CFGPATHZutb_STBoostLDisableIcon}, "Left channel Boost stage disabled, you can enable it in Device Control or Input tab."},
    {false, {CFGPATHZutb_STBoostRDisableIcon}, "Right channel Boost stage disbled, you can enable it in Device Control or Input tab."},
    {false, {CFGPATHZutb_STADCENLDisenIcon}, "Left Channel ADC Disabled, you can enable it in Device Control or ADC tab."},
    {false, {CFGPATHZutb_STADCENRDisenIcon}, "Right Channel ADC Disabled, you can enable it in Device Control or ADC tab."},
    {false, {CFGPATHZutb_STVREFDisenIcon}, "VREF circuit is open, you can enable it in Device Control tab."},
    {false, {CFGPATHZutb_STMICBIASDisenIcon}, "MICBIAS Disabled, you can enable it in Device Control or Input tab."},
};

// Input volume: ":Mute" (-1) sets the mute bit of the gain control and writes the volume
// unchanged; a level clears the mute and writes the volume with its latch bit 8, which the
// copy does not keep.
int InputVolume(int muteReg, int volumeReg, int value) {
    if (value == -1) {
        CFG_REG[muteReg] |= 0x040;
        SendInAction(muteReg);
        SendInAction(volumeReg);
        return 0;
    }
    CFG_REG[muteReg] &= ~0x040u;
    SendInAction(muteReg);
    CFG_REG[volumeReg] = (CFG_REG[volumeReg] & ~0x1FFu) | (static_cast<uint32_t>(value) & 0x0FF) | 0x100;
    SendInAction(volumeReg);
    CFG_REG[volumeReg] &= ~0x100u;
    return 0;
}

int LeftVolume(const PathModel&, int, int, int value) { return InputVolume(77, 0, value); }
int RightVolume(const PathModel&, int, int, int value) { return InputVolume(78, 1, value); }

ControlRow VolumeHook(const char* callback, int source, int (*hook)(const PathModel&, int, int, int)) {
    ControlRow r{.callback = callback, .kind = Ctl::Hook, .hook = hook};
    r.ownPanel = true;
    r.source = source;
    return r;
}

// This chip has no speaker output: R54 and R55 hold an equaliser band and the analogue test
// register, so the speaker ring and icons (dimmed on the panel) write nothing.
ControlRow NoOutput(const char* callback, int event) {
    ControlRow r{.callback = callback, .event = event};
    r.setsFlag = false;
    return r;
}

const std::vector<ControlRow> kZutbControls = {
    VolumeRow("STADCVOLXCBZutb", CFGPATHZutb_STADCVOLL, 47),
    VolumeRow("STADCVOLXCBZutb", CFGPATHZutb_STADCVOLR, 48),
    IconRow("STPGALEnableIconCBZutb", 0, 0x001, true, 0x100),
    IconRow("STPGAREnableIconCBZutb", 1, 0x001, true, 0x100),
    VolumeHook("LVUCB", CFGPATHZutb_LVU, LeftVolume),
    VolumeHook("RVUCB", CFGPATHZutb_RVU, RightVolume),
    GatedRow("LMICBOOSTCB", 2, 0x060, 0x010, -1),
    GatedRow("RMICBOOSTCB", 3, 0x060, 0x010, -1),
    NoOutput("STSPKNCBZutb", rt::EVENT_COMMIT),
    NoOutput("STRout2MuteDisenIconCBZutb", rt::EVENT_LEFT_CLICK),
    NoOutput("STRout2MuteEnIconCBZutb", rt::EVENT_LEFT_CLICK),
};

PathModel MakeZutb() {
    PathModel m{.name = "Zutb", .tables = ZutbPathTables, .panel = &PHandleSTPathZutb, .canvas = CFGPATHZutb_CVSZutb};
    m.map = &kZutbMap;
    m.art = kZutbArt;
    m.startLit = {0, 1, 2, 3, 4, 5, 6, 7};
    m.groupRules = kZutbGroupRules;
    m.ringValues = kZutbRingValues;
    // The reference impedance of Zutb lives in R10 bits 3:2 (R1 is its right PGA volume).
    m.texts = {{CFGPATHZutb_VRefText, 10, 0x00C, {"80 KOhm", "300 KOhm", "2.5 KOhm", "Reserved"}}};
    m.shown = kZutbShown;
    m.tabRects = kZutbTabRects;
    m.clicks = kZutbClicks;
    m.ringFills = {
        {{CFGPATHZutb_STSPKN}, {}, kOutSteps, {}},
        {{CFGPATHZutb_STADCVOLL, CFGPATHZutb_STADCVOLR}, AdcVolumeItems(), {}, {}},
    };
    m.toolTips = kZutbToolTips;
    m.controls = kZutbControls;
    return m;
}

}  // namespace

const PathModel& ZutbPathModel() {
    static const PathModel model = MakeZutb();
    return model;
}

}  // namespace pathview
