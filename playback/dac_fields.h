// The machinery the DAC, clock and ADC-filter panels share: controls bound to register fields
// of CFG_REG, callbacks that read a group of controls into their fields and send the group's
// registers in a fixed order with pauses, refreshes that set the controls from the fields, the
// oversampling mirror between sibling panels, and the generated ring fills.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace fieldpanel {

// A control bound to a register field: the control's value, shifted right by `from`, goes
// into the bits of `mask` (contiguous).
struct Field {
    int control = 0;
    int reg = 0;
    unsigned mask = 0;
    int from = 0;
    bool refresh = true;  // the refresh sets the control from the field
};

// One register write and the pause after it (seconds).
struct Send {
    int reg = 0;
    double pause = 0;
};

// Fields read, then registers sent.
struct Stage {
    std::vector<Field> fields;
    std::vector<Send> sends;
};

// A choice kept equal on a sibling panel: when `trigger` fired, its value also goes into
// `control` of *panel and into the field (reg, mask).
struct Mirror {
    int trigger = 0;
    int* panel = nullptr;
    int control = 0;
    int reg = 0;
    unsigned mask = 0;
};

using Action = std::function<void(int panel, int control)>;

// One callback name serving a group of controls: the mirror, `before`, the stages in order,
// `after`, then the redraw flag. Acts on commit (and on value changed when asked).
struct Group {
    std::string callback;
    std::vector<Stage> stages{};
    std::optional<Mirror> mirror{};
    Action before{};
    Action after{};
    bool flag = true;
    bool onValueChanged = false;
    std::vector<Field> shows{};  // fields the refresh shows but the callback does not read
    // `before` or `after` may write more than one register: the callback is then one action
    // even when its stages send one register or none.
    bool several = false;
};

// One description object per builder (each builder lambda is its own type), built on first use
// and kept at a fixed address, so its callbacks may point back at it.
template <typename Model, typename Builder>
const Model& Built(Builder build) {
    static Model model;
    static const bool done = (build(&model), true);
    (void)done;
    return model;
}

// A group of one stage: its fields read, then its registers sent.
Group OneStage(const std::string& callback, std::vector<Field> fields, std::vector<Send> sends);

// ---- fields of CFG_REG ---------------------------------------------------------------------
int LowBit(unsigned mask);
unsigned GetField(int reg, unsigned mask);
void PutField(int reg, unsigned mask, unsigned value);

// ---- controls ----------------------------------------------------------------------------
// The control's whole-number value, or `fallback` when it has none (a ring showing no item).
int ReadInt(int panel, int control, int fallback);
double ReadReal(int panel, int control, double fallback);
// Reads the control into its field; a ring showing no item leaves the field as it is.
void ReadField(int panel, const Field& f);
void ShowField(int panel, const Field& f);
void Dim(int panel, const std::vector<int>& controls, bool dimmed);

// ---- writes ------------------------------------------------------------------------------
// Sends each register from CFG_REG, pausing after it as given; inside a running action its
// steps (nothing goes out, and no pause is made, once it has stopped).
void SendAll(const std::vector<Send>& sends);
void SendOne(int reg, double pause = 0);

// ---- groups ------------------------------------------------------------------------------
// A callback that writes several registers runs as one action named by the committed control.
void RunGroup(const Group& g, int panel, int control);
// Registers every group's callback name; the groups must outlive the program's callbacks.
void RegisterGroups(const std::vector<Group>& groups);
const Group* FindGroup(const std::vector<Group>& groups, const std::string& callback);
// Sets every refreshed field's control of every group on `panel` (no device traffic).
void ShowGroups(int panel, const std::vector<Group>& groups);

// ---- generated rings ---------------------------------------------------------------------
enum class Scale {
    Polarity,      // "Normal" 0, "Inverted" 1
    Oversampling,  // "128X(Best Result)" 1, "64X(Low Pow.)" 0
    Volume,        // "Digital Mute" 0, then -127 dB to 0 dB in 0.5 dB steps (1 to 255)
    Decay,         // 750 us doubling, 12 items
    Attack,        // 94 us doubling (375 us in place of 376), 12 items
    Boost,         // 0 dB to 12 dB
    Threshold,     // -1 dB to -6 dB
};
struct RingFill {
    int control;
    Scale scale;
};
// Empties each ring and fills it with its scale.
void FillRings(int panel, const std::vector<RingFill>& fills);
// The label of a limiter time in microseconds ("94 us ", "1.5 ms ").
std::string TimeLabel(double microseconds);

}  // namespace fieldpanel
