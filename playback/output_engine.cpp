// The output-panel module shared by every model: start-up fill, refresh from CFG_REG, and the
// group commits that rebuild their fields and send their registers with the plan's pauses.
#include <algorithm>
#include <map>

#include "playback/output_model.h"
#include "link/write_action.h"
#include "regmap/config_tables.h"
#include "runtime/ui.h"
#include "shell/state.h"

namespace output {
namespace {

constexpr int kLatchBit = 0x100;
constexpr int kZeroDbCode = 57;

unsigned Mask(const Field& f) { return (1u << f.width) - 1u; }

bool Contains(const std::vector<int>& list, int control) {
    return std::find(list.begin(), list.end(), control) != list.end();
}

void ReplaceField(uint32_t& reg, const Field& f, int value) {
    const unsigned mask = Mask(f) << f.shift;
    reg = (reg & ~mask) | ((static_cast<unsigned>(value) << f.shift) & mask);
}

}  // namespace

int ChipRegister(const Model& m, int common) {
    if (m.places.empty()) return common;
    for (const Place& p : m.places)
        if (p.common == common) return p.chip;
    return kNoRegister;
}

std::string DimmedReason(const Model& m, int common) {
    if (ChipRegister(m, common) != kNoRegister) return "";
    std::string what;
    if (m.chipRegisterNames) {
        const ConfigRegister* table = *m.chipRegisterNames;
        for (int i = 0, n = ConfigRegisterCount(table); i < n && what.empty(); ++i)
            if (table[i].reg == common) what = std::string("On ") + m.name + " R" + std::to_string(common) + " is " + table[i].name;
    }
    if (what.empty()) what = std::string(m.name) + " has no R" + std::to_string(common);
    return what + ": this setting writes nothing until its " + m.name + " register is known.";
}

std::string VolumeLabel(int dB) { return std::to_string(dB) + "dB"; }

void FillPanel(const Model& m) {
    const int panel = *m.panel;
    for (int ring : m.volumeRings) {
        rt::ClearListCtrl(panel, ring);
        for (int dB = -57; dB <= 6; ++dB) rt::InsertListItem(panel, ring, -1, VolumeLabel(dB).c_str(), dB + kZeroDbCode);
        rt::SetCtrlVal(panel, ring, kZeroDbCode);
    }
    bool anyDimmed = false;
    for (const Field& f : *m.fields) {
        const std::string reason = DimmedReason(m, f.reg);
        if (reason.empty()) continue;
        anyDimmed = true;
        rt::SetCtrlAttribute(panel, f.control, rt::ATTR_DIMMED, 1);
        rt::SetCtrlAttribute(panel, f.control, rt::ATTR_TOOLTIP_TEXT, reason.c_str());
    }
    if (m.noteControl) rt::SetCtrlAttribute(panel, m.noteControl, rt::ATTR_VISIBLE, anyDimmed ? 1 : 0);
}

void RefreshPanel(const Model& m) {
    const int panel = *m.panel;
    for (const Field& f : *m.fields) {
        const int reg = ChipRegister(m, f.reg);
        if (!f.refresh || reg == kNoRegister) continue;
        rt::SetCtrlVal(panel, f.control, static_cast<int>((CFG_REG[reg] >> f.shift) & Mask(f)));
    }
}

int CommitGroup(const Model& m, const Group& g, int panel, int control) {
    // The plan's registers that have a place on the chip: none, and the group writes nothing.
    size_t writes = static_cast<size_t>(std::count_if(
        g.plan.begin(), g.plan.end(), [&](const Send& s) { return ChipRegister(m, s.reg) != kNoRegister; }));
    if (writes == 0) return 0;
    std::map<int, int> values;
    for (int control : g.controls) {
        int v = 0;
        rt::GetCtrlVal(panel, control, &v);
        values[control] = v;
    }
    // Several registers (a volume pair with its update latch) go out as one action named by
    // the committed control.
    for (const Latch& l : g.latches)
        if (values[l.control]) {
            writes += ChipRegister(m, l.reg) != kNoRegister ? 1 : 0;
            break;
        }
    WriteAction action(panel, control, g.callback, writes > 1);
    for (const Send& s : g.plan) {
        const int reg = ChipRegister(m, s.reg);
        if (reg == kNoRegister) continue;
        for (const Field& f : *m.fields)
            if (f.reg == s.reg && Contains(g.controls, f.control)) ReplaceField(CFG_REG[reg], f, values[f.control]);
        if (g.warning.text && g.warning.reg == s.reg && values[g.warning.control] == 0)
            rt::MessagePopup(g.warning.title, g.warning.text);
        if (!action.Send(reg)) break;  // refused: nothing more goes out
        // The remembered volume codes follow what reached the chip.
        for (const VolumeCode& c : g.codes)
            for (const Field& f : *m.fields)
                if (f.control == c.control && f.reg == s.reg) *c.code = static_cast<int>((CFG_REG[reg] >> f.shift) & Mask(f));
        if (s.pauseAfter > 0) rt::Delay(s.pauseAfter);
    }
    for (const Latch& l : g.latches) {
        if (!values[l.control] || action.Stopped()) continue;
        const int reg = ChipRegister(m, l.reg);
        if (reg != kNoRegister) {
            CFG_REG[reg] |= kLatchBit;
            action.Send(reg);
        }
        break;
    }
    SetFlag(&FlagCFGUpdate);
    for (const auto& [from, to] : g.mirrors) rt::SetCtrlVal(panel, to, values[from]);
    return 0;
}

void RegisterCallbacks(const Model& m) {
    for (const Group& g : *m.groups) {
        const Model* model = &m;
        const Group* group = &g;
        rt::RegisterCtrlCallback(m.prefix + g.callback + m.suffix,
                                 [model, group](int panel, int control, int event, void*, int, int) {
                                     return event == rt::EVENT_COMMIT ? CommitGroup(*model, *group, panel, control) : 0;
                                 });
    }
}

}  // namespace output
