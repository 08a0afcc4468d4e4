// One path-view engine for every model, driven by a description per model: its map (dots,
// segments, switches, double-throw switches, groups), the drawing under the wires, the rules
// that light groups and set the panel from CFG_REG, the click table of its canvas, the tab
// rectangles, the ring contents, the tool tips and its control callbacks.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "pathview/path_primitives.h"
#include "runtime/ui.h"

namespace pathview {

// ---- conditions on the register copy -----------------------------------------------------
enum class Op { Set, Clear, Lit, AudioInterface };

struct Atom {
    Op op;
    int reg;        // register (Lit: group number)
    unsigned mask;  // Set: any bit of mask set; Clear: all bits of mask clear
};

// True when any of the terms holds; a term holds when all its atoms do. No term: never; one
// empty term: always.
struct Cond {
    std::vector<std::vector<Atom>> any;
};

Cond Always();
Cond Never();
Cond Bit(int reg, int bit);
Cond BitClear(int reg, int bit);
Cond Field(int reg, unsigned mask);      // not all zero
Cond FieldZero(int reg, unsigned mask);  // all zero
Cond Lit(int group);                     // the group is on now
Cond AudioInterface();                   // FlagAudioInterfaceActive non-zero
Cond operator&&(const Cond& a, const Cond& b);
Cond operator||(const Cond& a, const Cond& b);

bool Holds(const Cond& c, const PathTables& tables);

// ---- the map -----------------------------------------------------------------------------
struct DotDef {
    int number, x, y;
};
struct LineDef {
    int number, dotA, dotB;
};
struct SwitchDef {
    int number, dotA, dotB;
};
struct DPSTDef {
    int number, pivot, throw0, throw1;
};
struct GroupDef {
    int group;
    int switchIndex;  // -1: none
    std::vector<int> segments;
};

// Built in this order; groups in list order (a group listed twice keeps its last list).
struct PathMap {
    std::vector<DotDef> dots;
    std::vector<LineDef> lines;
    std::vector<SwitchDef> switches;
    std::vector<DPSTDef> dpst;
    std::vector<GroupDef> groups;
};

// ---- the drawing under the wires ---------------------------------------------------------
enum class Art {
    Block,  // a filled box with its caption
    Amp,    // a triangle pointing right, filling the box
    Text,   // a caption centred in the box
    Pin,    // a small ring centred on (x, y)
    Line,   // from (x, y) to (x + w, y + h)
};

struct ArtItem {
    Art kind;
    int x, y, w, h;
    const char* text;
};

// ---- group rules and panel refresh -------------------------------------------------------
struct GroupRule {
    int group;
    Cond when;
};

// Double-throw switches (slot) and control lines (segment) set and drawn at each redraw.
struct StateRule {
    int number;
    Cond when;
};

// Generated items: labels "<value>dB", values firstValue, firstValue + valueStep, ...; the
// value runs in single precision from `from` by `step` while it has not passed `to`.
struct RingSteps {
    double from, to, step;
    int firstValue, valueStep;
};

// The codec's gain scales, shared by the models' rings.
inline constexpr RingSteps kPgaSteps{-12.0, 35.25, 0.75, 0, 1};
inline constexpr RingSteps kBoostSteps{-12.0, 6.0, 3.0, 1, 1};
inline constexpr RingSteps kMixSteps{-15.0, 6.0, 3.0, 0, 1};
inline constexpr RingSteps kOutSteps{-57.0, 6.0, 1.0, 0, 1};
inline constexpr RingSteps kDigitalSteps{-127.0, 0.0, 0.5, 1, 1};

// A ring set to the field under mask, or to -1 while its gate does not hold.
struct RingValue {
    int control;
    int reg;
    unsigned mask;
    std::optional<Cond> gate;
    // When the ring has no item of that value: the value of the first entry whose condition
    // holds; else the code's dB value on `scale` where it covers the code, else "code N". Never
    // a neighbouring item: the ring shows what the register holds.
    std::vector<std::pair<Cond, int>> noItem{};
    std::optional<RingSteps> scale{};
};

// A volume ring whose items follow `scale` (or every few codes of it): a code between two items
// shows its own dB value.
inline RingValue OnScale(int control, int reg, unsigned mask, const RingSteps& scale, std::optional<Cond> gate = {}) {
    RingValue r{control, reg, mask, std::move(gate)};
    r.scale = scale;
    return r;
}

// A text set to texts[field value].
struct TextChoice {
    int control;
    int reg;
    unsigned mask;
    std::vector<const char*> texts;
};

// The VREF text: the resistance chosen by register 1 bits 0 and 1.
inline TextChoice VRefText(int control) { return {control, 1, 0x003, {"Open Circuit", "75 KOhm", "300 KOhm", "5 KOhm"}}; }

struct ShowRule {
    int control;
    Cond when;  // visible while it holds
};

// ---- clicks ------------------------------------------------------------------------------
// A left click inside (strict bounds) opens `opens` as the active tab and shows the tab of
// `tabShown` (the same panel unless given).
struct TabRect {
    int left, right, top, bottom;
    int* opens;
    int* tabShown = nullptr;
};

enum class Hit { Switch, Segment, DPST };

enum class Act {
    Toggle,       // reg ^= mask, then |= alsoSet; write reg
    ToggleDPST,   // reg ^= mask; double-throw `target` takes the new bit (inverted: stateWhenClear); write
    ToggleGroup,  // group `target` lit <-> dark; no register
    SwapValue,    // reg = alsoSet when it equals mask, else mask; write
    SwapField,    // within `field` only: alsoSet when the field equals mask, else mask; write
    CycleField,   // mask all clear: set alsoSet, else clear mask; write
    Stop,         // nothing at all, not even the refresh flag
};

struct ClickAction {
    Act act;
    int reg = 0;
    unsigned mask = 0;
    unsigned alsoSet = 0;
    int target = 0;
    bool stateWhenClear = false;
    unsigned field = 0;
};

// A row of the click table: the hits it serves (none listed: every hit of its kind).
struct ClickRow {
    Hit hit;
    std::vector<int> numbers;
    ClickAction action;
};

ClickAction Toggle(int reg, unsigned mask, unsigned alsoSet = 0);
ClickAction ToggleDPST(int reg, unsigned mask, int slot, bool stateWhenClear = false);
ClickAction ToggleGroup(int group);
ClickAction SwapValue(int reg, unsigned first, unsigned second);
ClickAction SwapField(int reg, unsigned field, unsigned first, unsigned second);
ClickAction CycleField(int reg, unsigned field, unsigned set);
ClickAction Stop();

// ---- rings, tool tips and control callbacks ----------------------------------------------
struct RingItem {
    std::string label;
    int value;
};

struct RingFill {
    std::vector<int> controls;
    std::vector<RingItem> lead;  // before the generated items
    std::optional<RingSteps> steps;
    std::optional<int> select;   // value selected once filled
};

struct ToolTip {
    bool mainPanel;
    std::vector<int> controls;
    const char* text;
};

struct PathModel;

enum class Ctl {
    Field,        // field under mask = value, then |= alsoSet; remember; write reg
    Gated,        // value -1: clear gate (field kept), group dark; else set gate, field = value, group lit; write
    Pga,          // value -1: clear gate bit of gateReg, set mute; else field = value, set gate, clear mute;
                  // then |= alsoSet; write reg, wait, write gateReg
    MuteOrField,  // value -1: set mute (field kept); else field = value, remember; write
    Set,          // |= mask | alsoSet; write
    Clear,        // &= ~mask, then |= alsoSet; write
    IconSwap,     // hide `hide`, show `show` on the event's panel, then as Set or Clear (clearBits)
    Hook,         // the model's own handler
    Nothing,      // no change; only the refresh flag unless setsFlag is false
};

struct ControlRow {
    std::string callback{};
    int control = 0;   // the control it serves; 0: any
    Ctl kind = Ctl::Nothing;
    int event = rt::EVENT_COMMIT;
    int reg = 0;
    unsigned mask = 0;
    unsigned alsoSet = 0;
    int gateReg = 0;
    unsigned gateMask = 0;
    unsigned mute = 0;
    int group = -1;
    int* remember = nullptr;
    double wait = 0;
    bool ownPanel = false;  // read the value on the model's own path panel
    int source = 0;         // read this control instead of the event's
    bool setsFlag = true;
    int hide = 0, show = 0;
    bool clearBits = false;
    int (*hook)(const PathModel& model, int panel, int control, int value) = nullptr;
};

// ---- a model ------------------------------------------------------------------------------
struct PathModel {
    const char* name = "";
    PathTables& (*tables)() = SharedPathTables;
    int* panel = nullptr;  // path panel handle
    int canvas = 0;
    bool standingSwitches = false;
    int controlLineStyle = rt::VAL_DOT;
    const PathMap* map = nullptr;
    std::vector<ArtItem> art{};
    std::vector<int> startLit{};
    std::vector<GroupRule> groupRules{};        // the group update, in order
    std::vector<GroupRule> redrawGroupRules{};  // set at the start of each redraw
    std::vector<StateRule> dpstStates{};
    std::vector<StateRule> controlLines{};
    std::vector<int> switchesRedrawn{};
    std::vector<RingValue> ringValues{};
    std::vector<TextChoice> texts{};
    std::vector<ShowRule> shown{};
    std::vector<TabRect> tabRects{};
    std::vector<ClickRow> clicks{};
    std::vector<RingFill> ringFills{};
    std::vector<ToolTip> toolTips{};
    std::vector<ControlRow> controls{};
};

// ---- the engine --------------------------------------------------------------------------
PathCanvas CanvasOf(const PathModel& m);
// Builds the map into the model's tables (every slot it does not build empty) and draws the
// blocks on a clean canvas.
void BuildMap(const PathModel& m);
// Clears FlagAudioInterfaceActive, darkens every group, lights the start groups, sets the tips.
void StartPathView(const PathModel& m);
void RefreshGroups(const PathModel& m);
// Redraws the diagram and sets the panel's rings, texts and icons from CFG_REG.
void RedrawPathView(const PathModel& m);
void FillRings(const PathModel& m);
int OnCanvas(const PathModel& m, int panel, int control, int event, int eventData1, int eventData2);
int OnControl(const PathModel& m, const std::string& callback, int panel, int control, int event);
// Registers the canvas callback under `canvasCallback` and every control callback of the model.
void RegisterCallbacks(const PathModel& m, const char* canvasCallback);
// Brings PHandleLastPanel back to the front (unless it is the main panel).
void ReturnToLastPanel();
void OpenTab(int panel, int tabShown);

// The generated ring label of a value ("-12dB", "35.25dB").
std::string DbLabel(double value);

// Row helpers for the descriptions.
ControlRow FieldRow(const char* callback, int reg, unsigned mask, int* remember = nullptr);
ControlRow GatedRow(const char* callback, int reg, unsigned field, unsigned gate, int group);
ControlRow PgaRow(const char* callback, int reg, int gateReg, unsigned gateMask);
ControlRow VolumeRow(const char* callback, int control, int reg);  // 8-bit field with its latch
ControlRow IconRow(const char* callback, int reg, unsigned mask, bool set, unsigned alsoSet = 0);

// The models described so far.
const PathModel& JorbPathModel();
const PathModel& JoraPathModel();
const PathModel& QevaPathModel();
const PathModel& MonoPathModel();  // Pykc, also Pykd
const PathModel& MonoPykbPathModel();
const PathModel& MonoPykaPathModel();
const PathModel& ZutaPathModel();
const PathModel& ZutbPathModel();

}  // namespace pathview
