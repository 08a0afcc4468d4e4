// The clock and PLL block of the DAC panels: reference impedance with the dimming of the PLL
// controls, default or custom PLL settings, the calculator (the shell's PLL search) and the
// writing of a PLL register block.
#include <algorithm>
#include <map>

#include "playback/dac_model.h"
#include "link/write_action.h"
#include "runtime/ui.h"
#include "shell/pll.h"
#include "shell/state.h"

namespace dac {
namespace {

using fieldpanel::Dim;
using fieldpanel::GetField;
using fieldpanel::Group;
using fieldpanel::PutField;
using fieldpanel::ReadInt;
using fieldpanel::ReadReal;
using fieldpanel::SendOne;

constexpr int kDefaultN = 8, kDefaultK1 = 12, kDefaultK2 = 147, kDefaultK3 = 233;
constexpr double kDefaultMclk = 12.0;
constexpr int kDefaultDivider = 2;  // "Divide by 2"
constexpr double kDefaultFs = 48.0;
constexpr int kJorbxRateReg = 72;
constexpr unsigned kJorbxRateBit = 0x004;
constexpr int kRate192k = 7;

// Dimmed while the reference impedance is open (the refresh's list; the callback may add the
// calculator's inputs).
std::vector<int> PllControls(const ClockModel& c) {
    return {c.pllEnable, c.mode, c.n, c.k1, c.k2, c.k3, c.configure, c.mclk, c.calculate};
}

// The entries that "Default (48 KHz)" dims and "Customize Settings" enables.
std::vector<int> CustomInputs(const ClockModel& c) {
    std::vector<int> v{c.prescaleMode, c.prescale, c.fs, c.n, c.k1, c.k2, c.k3, c.calculate, c.mclk};
    if (c.block) v.push_back(c.block);
    return v;
}

void ShowVmidState(const ClockModel& c, int panel, bool open, bool fromCallback) {
    if (!open) {
        Dim(panel, {c.pllEnable, c.mode, c.configure}, false);
        return;
    }
    std::vector<int> dim = PllControls(c);
    if (fromCallback && c.openDimsInputs) dim.insert(dim.end(), {c.prescaleMode, c.prescale, c.fs});
    Dim(panel, dim, true);
}

// The block the PLL settings go to: the block ring's choice.
int ChosenBlock(const ClockModel& c, int panel) {
    if (c.blocks.size() < 2) return c.blocks[0];
    return ReadInt(panel, c.block, 0) == 1 ? c.blocks[1] : c.blocks[0];
}

// The block in use as each two-block model's last refresh saw it.
std::map<const ClockModel*, int> seenInUse;

// The block the chip uses now.
int BlockInUse(const ClockModel& c) {
    if (c.blocks.size() < 2) return c.blocks[0];
    return (CFG_REG[c.blocks[1]] & c.blockMask) ? c.blocks[1] : c.blocks[0];
}

void RunClock(const DacModel& m, int panel) {
    if (const Group* g = fieldpanel::FindGroup(m.groups, m.clock.clockCallback)) fieldpanel::RunGroup(*g, panel, 0);
}

void OnVmid(const DacModel& m, int panel) {
    const ClockModel& c = m.clock;
    int v = 0;
    if (rt::GetCtrlVal(panel, c.vmid, &v) < 0) return;
    bool open;
    if (c.vmidEnableReg) {
        open = v < 0;
        if (open) {
            CFG_REG[c.vmidEnableReg] &= ~c.vmidEnableMask;
        } else {
            CFG_REG[c.vmidEnableReg] |= c.vmidEnableMask;
            PutField(c.vmidReg, c.vmidMask, static_cast<unsigned>(v));
        }
        SendOne(c.vmidEnableReg);
    } else {
        open = v == 0;
        PutField(c.vmidReg, c.vmidMask, static_cast<unsigned>(v));
    }
    SendOne(c.vmidReg);
    SetFlag(&FlagCFGUpdate);
    ShowVmidState(c, panel, open, true);
}

void ShowClocks(const ClockModel& c, int panel, double fs, int divider) {
    rt::SetCtrlVal(panel, c.imclk, 256.0 * fs / 1000.0);
    rt::SetCtrlVal(panel, c.f2, PLLF2(fs, divider));
}

void OnMode(const DacModel& m, int panel) {
    const ClockModel& c = m.clock;
    if (ReadInt(panel, c.mode, 0) == 1) {
        std::vector<int> inputs = CustomInputs(c);
        inputs.push_back(c.configure);
        Dim(panel, inputs, false);
        return;
    }
    Dim(panel, CustomInputs(c), true);
    rt::SetCtrlVal(panel, c.prescaleMode, 0);
    rt::SetCtrlVal(panel, c.prescale, 0);
    rt::SetCtrlVal(panel, c.n, kDefaultN);
    rt::SetCtrlVal(panel, c.k1, kDefaultK1);
    rt::SetCtrlVal(panel, c.k2, kDefaultK2);
    rt::SetCtrlVal(panel, c.k3, kDefaultK3);
    rt::SetCtrlVal(panel, c.mclk, kDefaultMclk);
    // The defaults are the setting for 48 kHz with the master clock divided by 2: the divider
    // and the rate go back too, so Config PLL makes the chip run at 48 kHz.
    rt::SetCtrlVal(panel, c.divider, kDefaultDivider);
    rt::SetCtrlVal(panel, c.fs, kDefaultFs);
    ShowClocks(c, panel, kDefaultFs, kDefaultDivider);
    if (c.block) rt::SetCtrlVal(panel, c.block, 0);
}

int DividerIndex(const ClockModel& c, int panel) {
    return std::clamp(ReadInt(panel, c.divider, static_cast<int>(GetField(c.dividerReg, c.dividerMask))), 0, 7);
}

void OnInputChange(const DacModel& m, int panel, int control) {
    const ClockModel& c = m.clock;
    ResetPLLConfiguration(m, panel);
    if (control == c.divider) RunClock(m, panel);
    if (control == c.prescale) {
        int reg = ChosenBlock(c, panel);
        PutField(reg, 0x010, static_cast<unsigned>(ReadInt(panel, c.prescale, static_cast<int>(GetField(reg, 0x010)))));
        SendOne(reg, 0.1);
        SetFlag(&FlagCFGUpdate);
    }
}

void OnConfigure(const DacModel& m, int panel) {
    WriteAction op("Config PLL");  // the first refused send ends it (told)
    const ClockModel& c = m.clock;
    int base = ChosenBlock(c, panel);
    if (c.blocks.size() > 1) {
        int select = c.blocks[1];
        if (base == select) {
            CFG_REG[select] |= c.blockMask;
        } else {
            CFG_REG[select] &= ~c.blockMask;
            SendOne(select);
            if (op.Stopped()) return;
        }
    }
    PutField(base, 0x010, static_cast<unsigned>(ReadInt(panel, c.prescale, static_cast<int>(GetField(base, 0x010)))));
    PutField(base, 0x00F, static_cast<unsigned>(ReadInt(panel, c.n, static_cast<int>(GetField(base, 0x00F)))));
    if (op.Stopped()) return;
    SendOne(base, 0.3);
    const int entries[3] = {c.k1, c.k2, c.k3};
    const unsigned masks[3] = {0x03F, 0x1FF, 0x1FF};
    for (int i = 0; i < 3 && !op.Stopped(); ++i) {
        int reg = base + 1 + i;
        CFG_REG[reg] = static_cast<unsigned>(ReadInt(panel, entries[i], static_cast<int>(CFG_REG[reg]))) & masks[i];
        SendOne(reg, 0.3);
    }
    if (op.Stopped()) return;
    if (c.jorbx) {
        if (g_dev_type == DEV_JORBX) RunClock(m, panel);
        bool at192 = g_dev_type == DEV_JORBX && ReadReal(panel, c.fs, 0) == 192.0;
        if (at192)
            CFG_REG[kJorbxRateReg] |= kJorbxRateBit;
        else
            CFG_REG[kJorbxRateReg] &= ~kJorbxRateBit;
        SendOne(kJorbxRateReg, 0.3);
        if (op.Stopped()) return;
    }
    // N and K are worked out for the divider the entries show: the chip must run that divider.
    int divider = ReadInt(panel, c.divider, -1);
    if (divider >= 0 && static_cast<unsigned>(divider) != GetField(c.dividerReg, c.dividerMask)) {
        PutField(c.dividerReg, c.dividerMask, static_cast<unsigned>(divider));
        SendOne(c.dividerReg, 0.3);
    }
}

void OnCalculate(const DacModel& m, int panel) {
    const ClockModel& c = m.clock;
    ResetPLLConfiguration(m, panel);
    int prescaleAuto = ReadInt(panel, c.prescaleMode, 0);
    int dividerAuto = ReadInt(panel, c.dividerMode, 0);
    int prescale = ReadInt(panel, c.prescale, 0);
    int divider = DividerIndex(c, panel);
    double mclk = ReadReal(panel, c.mclk, 0);
    double fs = ReadReal(panel, c.fs, 0);
    if (!(mclk > 0) || !(fs > 0)) {
        rt::MessagePopup("Warning", "The master clock and the sample rate must both be greater than 0.");
        return;
    }
    ShowClocks(c, panel, fs, divider);
    double searchFs = c.jorbx && g_dev_type == DEV_JORBX && fs == 192.0 ? 96.0 : fs;
    struct Setting {
        int found = 0, prescale = 0, divider = 0, image = 0, k1 = 0, k2 = 0, k3 = 0;
    };
    auto search = [&](int p) {
        Setting s;
        s.prescale = p;
        s.divider = divider;
        s.found = STGenPLLCettings(p, dividerAuto, &s.divider, mclk, searchFs, &s.image, &s.k1, &s.k2, &s.k3);
        return s;
    };
    auto inRange = [&](const Setting& s) { return s.found == 1 && PLLF2InRange(searchFs, s.divider); };
    // Auto prescale: the first setting with f2 in range, without the prescaler first; else the
    // first that fits at all, in the same order.
    Setting chosen = search(prescaleAuto == 0 ? prescale : 0);
    if (prescaleAuto != 0 && !inRange(chosen)) {
        Setting halved = search(1);
        if (inRange(halved) || chosen.found != 1) chosen = halved;
    }
    if (chosen.found != 1) {
        rt::MessagePopup("Warning",
                         "With the current settings,  PLL can not be configured. \n Please adjust your input "
                         "value(s) and try again.");
        return;
    }
    prescale = chosen.prescale;
    divider = chosen.divider;
    const int image = chosen.image, k1 = chosen.k1, k2 = chosen.k2, k3 = chosen.k3;
    ShowClocks(c, panel, fs, divider);  // f2 of the setting found
    rt::SetCtrlVal(panel, c.prescale, prescale);
    rt::SetCtrlVal(panel, c.divider, divider);
    rt::SetCtrlVal(panel, c.n, image & 0xF);
    rt::SetCtrlVal(panel, c.k1, k1);
    rt::SetCtrlVal(panel, c.k2, k2);
    rt::SetCtrlVal(panel, c.k3, k3);
}

}  // namespace

void ResetPLLConfiguration(const DacModel& m, int panel) {
    const ClockModel& c = m.clock;
    ShowClocks(c, panel, ReadReal(panel, c.fs, 0), DividerIndex(c, panel));
    rt::SetCtrlVal(panel, c.k1, kDefaultK1);
    rt::SetCtrlVal(panel, c.k2, kDefaultK2);
    rt::SetCtrlVal(panel, c.k3, kDefaultK3);
    rt::SetCtrlVal(panel, c.n, kDefaultN);
}

// The Jorb panel's clock callback also tells the chip whether it runs at 192 kHz.
fieldpanel::Action JorbxRateStep(const DacModel* m) {
    return [m](int panel, int) {
        if (g_dev_type == DEV_JORBX && ReadInt(panel, m->clock.sampleRate, -1) == kRate192k)
            CFG_REG[kJorbxRateReg] |= kJorbxRateBit;
        else
            CFG_REG[kJorbxRateReg] &= ~kJorbxRateBit;
        SendOne(kJorbxRateReg, 0.3);
    };
}

std::vector<Group> ClockGroups(const DacModel* m) {
    const std::string& s = m->clock.suffix;
    std::vector<Group> g(5);
    g[0].callback = "STVMIDSELCB" + s;
    g[0].before = [m](int panel, int) { OnVmid(*m, panel); };
    g[0].flag = false;
    g[0].several = m->clock.vmidEnableReg != 0;
    g[1].callback = "STMCLKCB" + s;
    g[1].before = [m](int panel, int) { OnMode(*m, panel); };
    g[1].flag = false;
    g[2].callback = "STRESETPLLCB" + s;
    g[2].before = [m](int panel, int control) { OnInputChange(*m, panel, control); };
    g[2].flag = false;
    g[2].onValueChanged = true;
    g[2].several = true;  // a divider change runs the clock group
    g[3].callback = "STSETPLLCB" + s;
    g[3].before = [m](int panel, int) { OnConfigure(*m, panel); };
    g[4].callback = "STMCLKCALCB" + s;
    g[4].before = [m](int panel, int) { OnCalculate(*m, panel); };
    g[4].flag = false;
    return g;
}

void ForgetPllBlock(const DacModel& m) { seenInUse.erase(&m.clock); }

// The refresh shows the block the ring shows, the one the prescale ring and Config PLL act on.
// The ring follows the chip only when the block in use has changed since the last refresh (a
// Config PLL, a loaded set, a read), so a block the user picked stays picked until then.
void RefreshClock(const DacModel& m, int panel) {
    const ClockModel& c = m.clock;
    int base = BlockInUse(c);
    if (c.block) {
        auto seen = seenInUse.find(&c);
        if (seen != seenInUse.end() && seen->second == base) base = ChosenBlock(c, panel);
        seenInUse[&c] = BlockInUse(c);
        rt::SetCtrlVal(panel, c.block, base == c.blocks[0] ? 0 : 1);
    }
    rt::SetCtrlVal(panel, c.prescale, static_cast<int>(GetField(base, 0x010)));
    rt::SetCtrlVal(panel, c.n, static_cast<int>(GetField(base, 0x00F)));
    rt::SetCtrlVal(panel, c.k1, static_cast<int>(GetField(base + 1, 0x03F)));
    rt::SetCtrlVal(panel, c.k2, static_cast<int>(GetField(base + 2, 0x1FF)));
    rt::SetCtrlVal(panel, c.k3, static_cast<int>(GetField(base + 3, 0x1FF)));
    bool open;
    if (c.vmidEnableReg) {
        open = (CFG_REG[c.vmidEnableReg] & c.vmidEnableMask) == 0;
        rt::SetCtrlVal(panel, c.vmid, open ? -1 : static_cast<int>(GetField(c.vmidReg, c.vmidMask)));
    } else {
        int v = static_cast<int>(GetField(c.vmidReg, c.vmidMask));
        open = v == 0;
        rt::SetCtrlVal(panel, c.vmid, v);
    }
    ShowVmidState(c, panel, open, false);
}

}  // namespace dac
