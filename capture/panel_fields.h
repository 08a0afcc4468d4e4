// Small helpers the capture panels share: register fields in CFG_REG and ring reads that never
// invent a value.
#pragma once

#include <cstdint>

#include "playback/dac_fields.h"
#include "runtime/ui.h"

namespace capture {

// A field of a register: `width` bits from bit `shift`. Register 0 means "no such field".
struct Field {
    int reg = 0;
    int shift = 0;
    int width = 0;
    bool present() const { return width > 0; }
    uint32_t mask() const { return ((1u << width) - 1u) << shift; }
};

inline int GetField(const Field& f) {
    return f.present() ? static_cast<int>(fieldpanel::GetField(f.reg, f.mask())) : 0;
}
// Replaces the field, keeping every other bit of the register.
inline void PutField(const Field& f, int value) {
    if (f.present()) fieldpanel::PutField(f.reg, f.mask(), static_cast<unsigned>(value));
}

// The value a control shows, or `fallback` when it shows none (a ring set to a code it has no
// item for): a commit then keeps what the register holds instead of writing garbage.
inline int CtrlOr(int panel, int control, int fallback) {
    return control > 0 ? fieldpanel::ReadInt(panel, control, fallback) : fallback;
}
// Reads the control into its field; a control that shows no value leaves the field as it is.
inline void CtrlToField(int panel, int control, const Field& f) { PutField(f, CtrlOr(panel, control, GetField(f))); }

inline void SetVal(int panel, int control, int value) {
    if (control > 0) rt::SetCtrlVal(panel, control, value);
}
inline void Dim(int panel, int control, bool dimmed) {
    if (control > 0) rt::SetCtrlAttribute(panel, control, rt::ATTR_DIMMED, dimmed ? 1 : 0);
}

}  // namespace capture
