// The path-view engine: map construction, group rules, the redraw, the canvas clicks, the ring
// contents and the control callbacks, all driven by a model's description.
#include <bit>
#include <cmath>
#include <map>

#include "device/device_services.h"
#include "pathview/path_model.h"
#include "link/write_action.h"
#include "shell/state.h"

namespace pathview {

// ---- conditions --------------------------------------------------------------------------

Cond Always() { return Cond{{{}}}; }
Cond Never() { return Cond{}; }
Cond Bit(int reg, int bit) { return Cond{{{{Op::Set, reg, 1u << bit}}}}; }
Cond BitClear(int reg, int bit) { return Cond{{{{Op::Clear, reg, 1u << bit}}}}; }
Cond Field(int reg, unsigned mask) { return Cond{{{{Op::Set, reg, mask}}}}; }
Cond FieldZero(int reg, unsigned mask) { return Cond{{{{Op::Clear, reg, mask}}}}; }
Cond Lit(int group) { return Cond{{{{Op::Lit, group, 0}}}}; }
Cond AudioInterface() { return Cond{{{{Op::AudioInterface, 0, 0}}}}; }

Cond operator&&(const Cond& a, const Cond& b) {
    Cond out;
    for (const auto& ta : a.any)
        for (const auto& tb : b.any) {
            std::vector<Atom> term = ta;
            term.insert(term.end(), tb.begin(), tb.end());
            out.any.push_back(std::move(term));
        }
    return out;
}

Cond operator||(const Cond& a, const Cond& b) {
    Cond out = a;
    out.any.insert(out.any.end(), b.any.begin(), b.any.end());
    return out;
}

namespace {

uint32_t Reg(int reg) { return reg >= 0 && reg < kRegisterSlots ? CFG_REG[reg] : 0; }

bool AtomHolds(const Atom& a, const PathTables& t) {
    switch (a.op) {
    case Op::Set: return (Reg(a.reg) & a.mask) != 0;
    case Op::Clear: return (Reg(a.reg) & a.mask) == 0;
    case Op::Lit: return a.reg >= 0 && a.reg < kPathGroups && t.groups[a.reg].on != 0;
    case Op::AudioInterface: return FlagAudioInterfaceActive != 0;
    }
    return false;
}

}  // namespace

bool Holds(const Cond& c, const PathTables& t) {
    for (const auto& term : c.any) {
        bool all = true;
        for (const Atom& a : term) all = all && AtomHolds(a, t);
        if (all) return true;
    }
    return false;
}

// ---- click and row helpers ---------------------------------------------------------------

ClickAction Toggle(int reg, unsigned mask, unsigned alsoSet) { return {Act::Toggle, reg, mask, alsoSet}; }
ClickAction ToggleDPST(int reg, unsigned mask, int slot, bool stateWhenClear) {
    return {Act::ToggleDPST, reg, mask, 0, slot, stateWhenClear};
}
ClickAction ToggleGroup(int group) { return {Act::ToggleGroup, 0, 0, 0, group}; }
ClickAction SwapValue(int reg, unsigned first, unsigned second) { return {Act::SwapValue, reg, first, second}; }
ClickAction SwapField(int reg, unsigned field, unsigned first, unsigned second) {
    ClickAction a{Act::SwapField, reg, first, second};
    a.field = field;
    return a;
}
ClickAction CycleField(int reg, unsigned field, unsigned set) { return {Act::CycleField, reg, field, set}; }
ClickAction Stop() { return {Act::Stop}; }

ControlRow FieldRow(const char* callback, int reg, unsigned mask, int* remember) {
    ControlRow r{.callback = callback, .kind = Ctl::Field, .reg = reg, .mask = mask};
    r.remember = remember;
    return r;
}

ControlRow GatedRow(const char* callback, int reg, unsigned field, unsigned gate, int group) {
    ControlRow r{.callback = callback, .kind = Ctl::Gated, .reg = reg, .mask = field};
    r.gateReg = reg;
    r.gateMask = gate;
    r.group = group;
    return r;
}

ControlRow PgaRow(const char* callback, int reg, int gateReg, unsigned gateMask) {
    ControlRow r{.callback = callback, .kind = Ctl::Pga, .reg = reg, .mask = 0x03F, .alsoSet = 0x100};
    r.gateReg = gateReg;
    r.gateMask = gateMask;
    r.mute = 0x040;
    r.wait = 0.3;
    return r;
}

ControlRow VolumeRow(const char* callback, int control, int reg) {
    ControlRow r{.callback = callback, .control = control, .kind = Ctl::Field, .reg = reg, .mask = 0x0FF, .alsoSet = 0x100};
    r.ownPanel = true;
    return r;
}

ControlRow IconRow(const char* callback, int reg, unsigned mask, bool set, unsigned alsoSet) {
    return ControlRow{.callback = callback, .kind = set ? Ctl::Set : Ctl::Clear, .event = rt::EVENT_LEFT_CLICK,
                      .reg = reg, .mask = mask, .alsoSet = alsoSet};
}

std::string DbLabel(double value) { return rt::FormatReal(value) + "dB"; }

// ---- map and drawing ---------------------------------------------------------------------

PathCanvas CanvasOf(const PathModel& m) { return {m.panel ? *m.panel : 0, m.canvas}; }

namespace {

// The dB value `code` stands for on the steps `s` (the code of its n-th step is firstValue + n *
// valueStep), when one of its steps has that code.
std::optional<double> DbOnSteps(const RingSteps& s, int code) {
    if (s.valueStep <= 0 || s.step == 0) return std::nullopt;
    const int offset = code - s.firstValue;
    const long steps = std::lround((s.to - s.from) / s.step);
    if (offset < 0 || offset % s.valueStep != 0 || offset / s.valueStep > steps) return std::nullopt;
    return s.from + (offset / s.valueStep) * s.step;
}

constexpr int kArtOutline = 0x5A6478;
constexpr int kArtFill = 0xEEF2F8;
constexpr int kArtText = 0x2A2F36;

bool PanelReady(const PathModel& m) { return m.panel && *m.panel > 0; }

void ArtPen(PathCanvas c, int colour, int fill) {
    rt::SetCtrlAttribute(c.panel, c.control, rt::ATTR_PEN_COLOR, colour);
    rt::SetCtrlAttribute(c.panel, c.control, rt::ATTR_PEN_WIDTH, 1);
    rt::SetCtrlAttribute(c.panel, c.control, rt::ATTR_PEN_FILL_COLOR, fill);
}

void DrawArt(PathCanvas c, const ArtItem& a) {
    switch (a.kind) {
    case Art::Block:
        ArtPen(c, kArtOutline, kArtFill);
        rt::CanvasDrawRect(c.panel, c.control, rt::MakeRect(a.y, a.x, a.h, a.w), rt::VAL_DRAW_FRAME_AND_INTERIOR);
        if (a.text) {
            ArtPen(c, kArtText, kArtFill);
            rt::CanvasDrawText(c.panel, c.control, a.text, rt::MakeRect(a.y + 1, a.x + 1, a.h - 2, a.w - 2));
        }
        break;
    case Art::Amp: {
        ArtPen(c, kArtOutline, kArtFill);
        int x1 = a.x + a.w, ym = a.y + a.h / 2;
        rt::CanvasDrawLine(c.panel, c.control, rt::MakePoint(a.x, a.y), rt::MakePoint(a.x, a.y + a.h));
        rt::CanvasDrawLine(c.panel, c.control, rt::MakePoint(a.x, a.y), rt::MakePoint(x1, ym));
        rt::CanvasDrawLine(c.panel, c.control, rt::MakePoint(a.x, a.y + a.h), rt::MakePoint(x1, ym));
        break;
    }
    case Art::Text:
        ArtPen(c, kArtText, kArtFill);
        if (a.text) rt::CanvasDrawText(c.panel, c.control, a.text, rt::MakeRect(a.y, a.x, a.h, a.w));
        break;
    case Art::Pin:
        ArtPen(c, kArtOutline, 0xFFFFFF);
        rt::CanvasDrawOval(c.panel, c.control, rt::MakeRect(a.y - 3, a.x - 3, 7, 7), rt::VAL_DRAW_FRAME_AND_INTERIOR);
        break;
    case Art::Line:
        ArtPen(c, kArtOutline, kArtFill);
        rt::CanvasDrawLine(c.panel, c.control, rt::MakePoint(a.x, a.y), rt::MakePoint(a.x + a.w, a.y + a.h));
        break;
    }
}

}  // namespace

void BuildMap(const PathModel& m) {
    PathTables& t = m.tables();
    t.ClearMap();
    if (m.map) {
        for (const DotDef& d : m.map->dots)
            if (d.number >= 0 && d.number < kPathDots) MakeDot(t.dots[d.number], d.x, d.y);
        for (const LineDef& l : m.map->lines)
            if (l.number >= 0 && l.number < kPathLines) MakeLineDots(t.lines[l.number], l.dotA, l.dotB, 0, t.dots);
        for (PathSwitch& s : t.switchs) MakeSwitchDots(s, -1, -1, 0, t.dots);
        for (const SwitchDef& s : m.map->switches)
            if (s.number >= 0 && s.number < kPathSwitches) MakeSwitchDots(t.switchs[s.number], s.dotA, s.dotB, 0, t.dots);
        for (const DPSTDef& d : m.map->dpst)
            if (d.number >= 0 && d.number < kPathDPSTSwitches)
                MakeDPSTSwitchDots(t.DPSTSwitch[d.number], d.pivot, d.throw0, d.throw1, 0, t.dots);
        t.ResetGroups();
        for (const GroupDef& g : m.map->groups) t.MakeGroup(g.group, g.switchIndex, g.segments);
    }
    if (!PanelReady(m)) return;
    PathCanvas c = CanvasOf(m);
    rt::CanvasStartBatchDraw(c.panel, c.control);
    rt::CanvasClear(c.panel, c.control, rt::Rect{});
    for (const ArtItem& a : m.art) DrawArt(c, a);
    rt::CanvasEndBatchDraw(c.panel, c.control);
}

void StartPathView(const PathModel& m) {
    PathTables& t = m.tables();
    FlagAudioInterfaceActive = 0;
    for (int g = 0; g < kPathGroups; ++g) t.UpdateGroup(g, 0);
    for (int g : m.startLit) t.UpdateGroup(g, 1);
    for (const ToolTip& tip : m.toolTips) {
        int panel = tip.mainPanel ? PHandlePanel : (m.panel ? *m.panel : 0);
        if (panel <= 0) continue;
        for (int control : tip.controls) rt::SetCtrlAttribute(panel, control, rt::ATTR_TOOLTIP_TEXT, tip.text);
    }
}

void RefreshGroups(const PathModel& m) {
    PathTables& t = m.tables();
    for (const GroupRule& r : m.groupRules) t.UpdateGroup(r.group, Holds(r.when, t) ? 1 : 0);
}

void RedrawPathView(const PathModel& m) {
    PathTables& t = m.tables();
    for (const GroupRule& r : m.redrawGroupRules) t.UpdateGroup(r.group, Holds(r.when, t) ? 1 : 0);
    for (const StateRule& r : m.dpstStates)
        if (r.number >= 0 && r.number < kPathDPSTSwitches) t.DPSTSwitch[r.number].state = Holds(r.when, t) ? 1 : 0;
    if (!PanelReady(m)) return;
    const int panel = *m.panel;
    PathCanvas c = CanvasOf(m);
    rt::CanvasStartBatchDraw(c.panel, c.control);
    DrawAllGroupsOn(c, t, m.standingSwitches);
    for (const StateRule& r : m.controlLines)
        if (r.number >= 0 && r.number < kPathLines)
            DrawControlLineOn(c, t.lines[r.number], Holds(r.when, t) ? 1 : 0, m.controlLineStyle);
    for (const StateRule& r : m.dpstStates)
        if (r.number >= 0 && r.number < kPathDPSTSwitches) DrawDPSTSwitchOn(c, t.DPSTSwitch[r.number]);
    for (int s : m.switchesRedrawn)
        if (s >= 0 && s < kPathSwitches) DrawSwitchOn(c, t.switchs[s], m.standingSwitches);
    rt::CanvasEndBatchDraw(c.panel, c.control);

    for (const RingValue& r : m.ringValues) {
        int value = r.mask ? static_cast<int>((Reg(r.reg) & r.mask) >> std::countr_zero(r.mask)) : 0;
        if (r.gate && !Holds(*r.gate, t)) value = -1;
        if (rt::SetCtrlVal(panel, r.control, value) == 0) continue;  // else it shows "code N"
        bool substituted = false;
        for (const auto& [when, shown] : r.noItem)
            if (Holds(when, t)) {
                rt::SetCtrlVal(panel, r.control, shown);
                substituted = true;
                break;
            }
        if (substituted || !r.scale) continue;
        if (const std::optional<double> db = DbOnSteps(*r.scale, value)) rt::ShowRingNote(panel, r.control, DbLabel(*db).c_str(), value);
    }
    for (const TextChoice& tc : m.texts) {
        size_t index = tc.mask ? (Reg(tc.reg) & tc.mask) >> std::countr_zero(tc.mask) : 0;
        if (index < tc.texts.size()) rt::SetCtrlVal(panel, tc.control, tc.texts[index]);
    }
    for (const ShowRule& s : m.shown) rt::SetCtrlAttribute(panel, s.control, rt::ATTR_VISIBLE, Holds(s.when, t) ? 1 : 0);
}

// ---- rings -------------------------------------------------------------------------------

void FillRings(const PathModel& m) {
    if (!PanelReady(m)) return;
    const int panel = *m.panel;
    for (const RingFill& f : m.ringFills) {
        for (int control : f.controls) {
            rt::ClearListCtrl(panel, control);
            for (const RingItem& item : f.lead) rt::InsertListItem(panel, control, -1, item.label.c_str(), item.value);
            if (f.steps && f.steps->step != 0) {
                const RingSteps& s = *f.steps;
                int value = s.firstValue;
                const float step = static_cast<float>(s.step), to = static_cast<float>(s.to);
                for (float db = static_cast<float>(s.from); s.step > 0 ? db <= to : db >= to; db += step) {
                    rt::InsertListItem(panel, control, -1, DbLabel(db).c_str(), value);
                    value += s.valueStep;
                }
            }
            if (f.select) rt::SetCtrlVal(panel, control, *f.select);
        }
    }
}

// ---- tabs and clicks ---------------------------------------------------------------------

void OpenTab(int panel, int tabShown) {
    if (panel <= 0 || PHandlePanel <= 0 || tabCtrl <= 0) return;
    rt::EasyTab_SetAttribute(PHandlePanel, tabCtrl, rt::ATTR_EASY_TAB_ACTIVE_PANEL, panel);
    rt::EasyTab_SetTabAttribute(PHandlePanel, tabCtrl, tabShown > 0 ? tabShown : panel, rt::ATTR_EASY_TAB_VISIBLE, 1);
}

void ReturnToLastPanel() {
    if (PHandleLastPanel <= 0 || PHandleLastPanel == PHandlePanel) return;
    OpenTab(PHandleLastPanel, PHandleLastPanel);
}

namespace {

void Write(int reg) { SendInAction(reg); }

void Apply(const PathModel& m, const ClickAction& a) {
    PathTables& t = m.tables();
    uint32_t* r = a.reg >= 0 && a.reg < kRegisterSlots ? &CFG_REG[a.reg] : nullptr;
    switch (a.act) {
    case Act::Toggle:
        if (!r) return;
        *r = (*r ^ a.mask) | a.alsoSet;
        Write(a.reg);
        break;
    case Act::ToggleDPST:
        if (!r) return;
        *r ^= a.mask;
        if (a.target >= 0 && a.target < kPathDPSTSwitches) {
            bool set = (*r & a.mask) != 0;
            t.DPSTSwitch[a.target].state = (set != a.stateWhenClear) ? 1 : 0;
        }
        Write(a.reg);
        break;
    case Act::ToggleGroup:
        if (a.target >= 0 && a.target < kPathGroups) t.UpdateGroup(a.target, t.groups[a.target].on ? 0 : 1);
        break;
    case Act::SwapValue:
        if (!r) return;
        *r = *r == a.mask ? a.alsoSet : a.mask;
        Write(a.reg);
        break;
    case Act::SwapField:
        if (!r) return;
        *r = (*r & ~a.field) | (((*r & a.field) == a.mask ? a.alsoSet : a.mask) & a.field);
        Write(a.reg);
        break;
    case Act::CycleField:
        if (!r) return;
        if ((*r & a.mask) == 0) *r |= a.alsoSet;
        else *r &= ~a.mask;
        Write(a.reg);
        break;
    case Act::Stop:
        break;
    }
}

const ClickRow* FindRow(const PathModel& m, Hit hit, int number) {
    const ClickRow* any = nullptr;
    for (const ClickRow& row : m.clicks) {
        if (row.hit != hit) continue;
        if (row.numbers.empty()) {
            if (!any) any = &row;
            continue;
        }
        for (int n : row.numbers)
            if (n == number) return &row;
    }
    return any;
}

}  // namespace

int OnCanvas(const PathModel& m, int, int, int event, int eventData1, int eventData2) {
    if (event == rt::EVENT_RIGHT_CLICK) {
        ReturnToLastPanel();
        return 0;
    }
    if (event != rt::EVENT_LEFT_CLICK) return 0;
    const int x = eventData2, y = eventData1;
    for (const TabRect& r : m.tabRects)
        if (r.left < x && x < r.right && r.top < y && y < r.bottom && r.opens)
            OpenTab(*r.opens, r.tabShown ? *r.tabShown : *r.opens);

    const int code = m.tables().HitTest(x, y);
    if (code == kHitNothing) return 0;
    const ClickRow* row = code >= kHitDPSTBase      ? FindRow(m, Hit::DPST, code - kHitDPSTBase)
                          : code >= kHitSegmentBase ? FindRow(m, Hit::Segment, code - kHitSegmentBase)
                                                    : FindRow(m, Hit::Switch, code);
    if (row) {
        if (row->action.act == Act::Stop) return 0;
        Apply(m, row->action);
    }
    FlagCFGUpdate = 1;
    SetFlag(&FlagCFGUpdate);
    return 0;
}

// ---- control callbacks -------------------------------------------------------------------

namespace {

void SetField(uint32_t& r, unsigned mask, int value) {
    if (mask == 0) return;
    r = (r & ~mask) | ((static_cast<uint32_t>(value) << std::countr_zero(mask)) & mask);
}

void RunRow(const PathModel& m, const ControlRow& row, int panel, int control) {
    int value = 0;
    if (row.kind != Ctl::Set && row.kind != Ctl::Clear && row.kind != Ctl::Nothing && row.kind != Ctl::IconSwap) {
        int from = row.ownPanel && m.panel ? *m.panel : panel;
        if (rt::GetCtrlVal(from, row.source > 0 ? row.source : control, &value) != 0) return;  // no such ring
    }
    if (row.reg < 0 || row.reg >= kRegisterSlots || row.gateReg < 0 || row.gateReg >= kRegisterSlots) return;
    // A row that writes two registers (a gain with its enable, a model's own pair) is one action
    // named by the control.
    WriteAction action(panel, control, row.callback, row.kind == Ctl::Pga || row.kind == Ctl::Hook);
    uint32_t& r = CFG_REG[row.reg];
    switch (row.kind) {
    case Ctl::Field:
        SetField(r, row.mask, value);
        r |= row.alsoSet;
        if (row.remember) *row.remember = value;
        Write(row.reg);
        break;
    case Ctl::Gated:
        if (value == -1) {
            if (row.group >= 0) m.tables().UpdateGroup(row.group, 0);
            CFG_REG[row.gateReg] &= ~row.gateMask;
        } else {
            if (row.group >= 0) m.tables().UpdateGroup(row.group, 1);
            CFG_REG[row.gateReg] |= row.gateMask;
            SetField(r, row.mask, value);
        }
        Write(row.reg);
        break;
    case Ctl::Pga:
        if (value == -1) {
            CFG_REG[row.gateReg] &= ~row.gateMask;
            r |= row.mute;
        } else {
            SetField(r, row.mask, value);
            CFG_REG[row.gateReg] |= row.gateMask;
            r &= ~row.mute;
        }
        r |= row.alsoSet;
        Write(row.reg);
        PauseInAction(row.wait);
        Write(row.gateReg);
        break;
    case Ctl::MuteOrField:
        if (value == -1) {
            r |= row.mute;
        } else {
            SetField(r, row.mask, value);
            if (row.remember) *row.remember = value;
        }
        Write(row.reg);
        break;
    case Ctl::Set:
        r |= row.mask | row.alsoSet;
        Write(row.reg);
        break;
    case Ctl::Clear:
        r = (r & ~row.mask) | row.alsoSet;
        Write(row.reg);
        break;
    case Ctl::IconSwap:
        if (row.hide > 0) rt::SetCtrlAttribute(panel, row.hide, rt::ATTR_VISIBLE, 0);
        if (row.show > 0) rt::SetCtrlAttribute(panel, row.show, rt::ATTR_VISIBLE, 1);
        r = row.clearBits ? (r & ~row.mask) : (r | row.mask);
        Write(row.reg);
        break;
    case Ctl::Hook:
        if (row.hook) row.hook(m, panel, control, value);
        break;
    case Ctl::Nothing:
        break;
    }
}

}  // namespace

int OnControl(const PathModel& m, const std::string& callback, int panel, int control, int event) {
    const ControlRow* exact = nullptr;
    const ControlRow* anyControl = nullptr;
    const ControlRow* other = nullptr;
    for (const ControlRow& row : m.controls) {
        if (row.callback != callback || row.event != event) continue;
        if (row.control == control && !exact) exact = &row;
        else if (row.control == 0 && !anyControl) anyControl = &row;
        else if (!other) other = &row;
    }
    const ControlRow* row = exact ? exact : anyControl;
    if (row) RunRow(m, *row, panel, control);
    else row = other;  // served by this callback for other controls only: the refresh flag alone
    if (row && row->setsFlag) FlagCFGUpdate = 1;
    return 0;
}

void RegisterCallbacks(const PathModel& m, const char* canvasCallback) {
    const PathModel* model = &m;
    if (canvasCallback)
        rt::RegisterCtrlCallback(canvasCallback, [model](int p, int c, int e, void*, int d1, int d2) {
            return OnCanvas(*model, p, c, e, d1, d2);
        });
    std::map<std::string, bool> done;
    for (const ControlRow& row : m.controls) {
        if (done[row.callback]) continue;
        done[row.callback] = true;
        std::string name = row.callback;
        rt::RegisterCtrlCallback(name, [model, name](int p, int c, int e, void*, int, int) {
            return OnControl(*model, name, p, c, e);
        });
    }
}

}  // namespace pathview
