// Bit-field legends of the register-map title rows, as data.
//
// The legends describe the registers of the Jorb register list. A model shows a register's
// legend only where its register has the bit fields of the Jorb register of the same number;
// everywhere else the legend row is empty, so no model shows another chip's bit fields.
#pragma once

inline constexpr int kRegMapLegendEntries = 128;

// Legends by record index of the Jorb long register list (ConfigRegistersL): entries 0 to 58
// are the 59 registers of the short list, 59 to 78 are empty texts, the rest hold nothing
// (nullptr). Each legend names the bit fields from bit 8 (left) to bit 0 between "|" marks,
// 91 characters, as wide as the cell part of a bit row.
extern const char* const RegMapLegend[kRegMapLegendEntries];

// Title-row texts of a register map before any register is shown.
inline constexpr const char* kRegMapLegendAtLoad =
    "|_________|_________|_________|_________|_________|_________|_________|_________|_________|";
inline constexpr const char* kRegMapBitsAtLoad =
    "0x00: |_______|_______|_______|_______|_______|_______|_______|_______|________|";
inline constexpr const char* kRegMapNameAtLoad = "Reset";

// Register numbers (inclusive ranges) of a model that share the bit fields of the Jorb register
// of the same number.
struct LegendRange {
    int first;
    int last;
};
struct ModelLegends {
    const LegendRange* ranges;
    int count;
};

extern const ModelLegends kLegendsJorb;  // Jorb, Jorbx: every register of the long list
extern const ModelLegends kLegendsJora;  // registers 0 to 63 (the Jorb list)
extern const ModelLegends kLegendsQeva;  // registers 0 to 63 (a subset of the Jorb list)
extern const ModelLegends kLegendsZuta;  // registers 0 to 53 and 58 to 63
extern const ModelLegends kLegendsNone;  // Zutb and the mono models: bit fields of their own

// The legend row of register `reg` on a model: the Jorb legend when the model shares that
// register's bit fields, else an empty text. Never null.
const char* LegendOfRegister(const ModelLegends& model, int reg);
