// One output-panel module for every model, driven by a description per model: the panel, the
// register field of each control, the groups of controls with their send plans and pauses, the
// volume rings filled at start-up, and where the chip keeps each register of the common layout.
#pragma once

#include <string>
#include <vector>

struct ConfigRegister;

namespace output {

// A register of the common layout that the chip has no known place for.
inline constexpr int kNoRegister = -1;

// A control's bit field, given by its register number in the common layout.
struct Field {
    int control;
    int reg;
    int shift;
    int width;
    bool refresh = true;  // set from CFG_REG by the panel's refresh
};

// One step of a group's plan: the group's fields of `reg` rebuilt, the register sent, a pause.
struct Send {
    int reg;
    double pauseAfter;
};

// A control whose committed value is also remembered in a volume-code global.
struct VolumeCode {
    int control;
    int* code;
};

// After the plan, the first latch box ticked has its register sent again with bit 8 set, so
// both sides of a pair take their new volume together.
struct Latch {
    int control;
    int reg;
};

// A popup shown before `reg` is sent while `control` reads 0.
struct Warning {
    int control = 0;
    int reg = 0;
    const char* title = nullptr;
    const char* text = nullptr;
};

// Controls committed together: every control of the group is read, whichever fired.
struct Group {
    const char* callback;       // name without the model's prefix and suffix
    std::vector<int> controls;  // the controls read; their fields in `plan`'s registers are rebuilt
    std::vector<Send> plan;
    std::vector<std::pair<int, int>> mirrors{};  // after the commit: copy first into second
    std::vector<VolumeCode> codes{};
    std::vector<Latch> latches{};
    Warning warning{};
};

// Where the chip keeps a register of the common layout (kNoRegister: not known).
struct Place {
    int common;
    int chip;
};

struct Model {
    const char* name;
    int* panel;                     // the panel handle global
    std::string prefix, suffix;     // callback name = prefix + group callback + suffix
    const std::vector<Field>* fields;
    const std::vector<Group>* groups;
    std::vector<int> volumeRings;   // filled with "-57dB" .. "6dB" at start-up, in this order
    // Empty: the chip uses the common layout. Otherwise every register the panel writes is
    // listed here, and a control whose register has no place is dimmed and writes nothing.
    std::vector<Place> places{};
    const ConfigRegister* const* chipRegisterNames = nullptr;  // names the dimmed registers
    int noteControl = 0;            // shown while some control is dimmed
};

enum class ModelId { Jorb, Zuta, Zutb, Jora, Qeva, Pykc, Pykb, Pyka };
inline constexpr int kModelCount = 8;

const Model& Describe(ModelId id);

// The chip's number for a register of the common layout, or kNoRegister.
int ChipRegister(const Model& m, int common);
// Why a control of register `common` is dimmed on this chip ("" when it is not).
std::string DimmedReason(const Model& m, int common);
// "-57dB" for -57, "6dB" for 6: whole dB without a plus sign.
std::string VolumeLabel(int dB);

// The module's operations on one model.
void FillPanel(const Model& m);     // start-up: volume rings, dimmed controls
void RefreshPanel(const Model& m);  // from CFG_REG, no traffic
int CommitGroup(const Model& m, const Group& g, int panel, int control);
void RegisterCallbacks(const Model& m);

}  // namespace output
