#include "playback/dac_fields.h"

#include <cmath>
#include <utility>

#include "link/write_action.h"
#include "runtime/ui.h"
#include "shell/state.h"

namespace fieldpanel {

int LowBit(unsigned mask) {
    int bit = 0;
    while (mask != 0 && (mask & 1u) == 0) {
        mask >>= 1;
        ++bit;
    }
    return bit;
}

unsigned GetField(int reg, unsigned mask) { return (CFG_REG[reg] & mask) >> LowBit(mask); }

void PutField(int reg, unsigned mask, unsigned value) {
    CFG_REG[reg] = (CFG_REG[reg] & ~mask) | ((value << LowBit(mask)) & mask);
}

int ReadInt(int panel, int control, int fallback) {
    int value = 0;
    return rt::GetCtrlVal(panel, control, &value) < 0 ? fallback : value;
}

double ReadReal(int panel, int control, double fallback) {
    double value = 0;
    return rt::GetCtrlVal(panel, control, &value) < 0 ? fallback : value;
}

void ReadField(int panel, const Field& f) {
    int value = 0;
    if (rt::GetCtrlVal(panel, f.control, &value) < 0) return;
    PutField(f.reg, f.mask, static_cast<unsigned>(value) >> f.from);
}

void ShowField(int panel, const Field& f) {
    rt::SetCtrlVal(panel, f.control, static_cast<int>(GetField(f.reg, f.mask) << f.from));
}

void Dim(int panel, const std::vector<int>& controls, bool dimmed) {
    for (int c : controls) rt::SetCtrlAttribute(panel, c, rt::ATTR_DIMMED, dimmed ? 1 : 0);
}

void SendOne(int reg, double pause) {
    if (SendInAction(reg) && pause > 0) rt::Delay(pause);
}

void SendAll(const std::vector<Send>& sends) {
    for (const Send& s : sends) SendOne(s.reg, s.pause);
}

Group OneStage(const std::string& callback, std::vector<Field> fields, std::vector<Send> sends) {
    Group g;
    g.callback = callback;
    g.stages.push_back({std::move(fields), std::move(sends)});
    return g;
}

void RunGroup(const Group& g, int panel, int control) {
    size_t sends = 0;
    for (const Stage& s : g.stages) sends += s.sends.size();
    WriteAction action(panel, control, g.callback, g.several || sends > 1);
    if (g.mirror && control == g.mirror->trigger) {
        const Mirror& m = *g.mirror;
        int value = 0;
        if (rt::GetCtrlVal(panel, control, &value) >= 0) {
            if (m.panel && *m.panel > 0) rt::SetCtrlVal(*m.panel, m.control, value);
            PutField(m.reg, m.mask, static_cast<unsigned>(value));
        }
    }
    if (g.before) g.before(panel, control);
    for (const Stage& s : g.stages) {
        for (const Field& f : s.fields) ReadField(panel, f);
        SendAll(s.sends);
    }
    if (g.after) g.after(panel, control);
    if (g.flag) SetFlag(&FlagCFGUpdate);
}

void RegisterGroups(const std::vector<Group>& groups) {
    for (const Group& g : groups) {
        const Group* group = &g;
        rt::RegisterCtrlCallback(g.callback, [group](int panel, int control, int event, void*, int, int) {
            if (event == rt::EVENT_COMMIT || (group->onValueChanged && event == rt::EVENT_VAL_CHANGED))
                RunGroup(*group, panel, control);
            return 0;
        });
    }
}

const Group* FindGroup(const std::vector<Group>& groups, const std::string& callback) {
    for (const Group& g : groups)
        if (g.callback == callback) return &g;
    return nullptr;
}

void ShowGroups(int panel, const std::vector<Group>& groups) {
    if (panel <= 0) return;
    for (const Group& g : groups) {
        for (const Stage& s : g.stages)
            for (const Field& f : s.fields)
                if (f.refresh) ShowField(panel, f);
        for (const Field& f : g.shows) ShowField(panel, f);
    }
}

std::string TimeLabel(double microseconds) {
    if (microseconds < 1000) return rt::FormatReal(microseconds) + " us ";
    return rt::FormatReal(microseconds / 1000) + " ms ";
}

namespace {

void Fill(int panel, int control, Scale scale) {
    rt::ClearListCtrl(panel, control);
    switch (scale) {
    case Scale::Polarity:
        rt::InsertListItem(panel, control, 0, "Normal", 0);
        rt::InsertListItem(panel, control, 1, "Inverted", 1);
        break;
    case Scale::Oversampling:
        rt::InsertListItem(panel, control, 0, "64X(Low Pow.)", 0);
        rt::InsertListItem(panel, control, 0, "128X(Best Result)", 1);
        break;
    case Scale::Volume: {
        rt::InsertListItem(panel, control, 0, "Digital Mute", 0);
        int v = 1;
        for (float x = -127.0f; x <= 0.0f; x += 0.5f, ++v)
            rt::InsertListItem(panel, control, -1, (rt::FormatReal(x) + "dB").c_str(), v);
        break;
    }
    case Scale::Decay: {
        double t = 750;
        for (int i = 0; i < 12; ++i, t *= 2) rt::InsertListItem(panel, control, -1, TimeLabel(t).c_str(), i);
        break;
    }
    case Scale::Attack: {
        double t = 94;
        for (int i = 0; i < 12; ++i) {
            rt::InsertListItem(panel, control, -1, TimeLabel(t).c_str(), i);
            t *= 2;
            if (t == 376) t = 375;
        }
        break;
    }
    case Scale::Boost:
        for (int i = 0; i <= 12; ++i)
            rt::InsertListItem(panel, control, -1, (rt::FormatReal(i) + " dB").c_str(), i);
        break;
    case Scale::Threshold:
        for (int i = 0; i < 6; ++i)
            rt::InsertListItem(panel, control, -1, (rt::FormatReal(-1 - i) + " dB").c_str(), i);
        break;
    }
}

}  // namespace

void FillRings(int panel, const std::vector<RingFill>& fills) {
    if (panel <= 0) return;
    for (const RingFill& f : fills) Fill(panel, f.control, f.scale);
}

}  // namespace fieldpanel
