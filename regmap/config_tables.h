// Every model's register table, group table and update-bit table, as data.
//
// A register table names the registers a model's register map shows, one row per register in
// ascending order. A group table cuts the register space into named inclusive ranges; a
// configuration set is stored, written and loaded group by group in table order. Every table
// ends with one row whose name is empty; readers walk it from row 0 to that row.
//
// The names are stored in users' files (group names are the second half of every section name)
// and shown on the register maps, so they are kept exactly, typos and blanks included.
//
// Register and update-bit tables are read-only. Group tables are not: the stereo power-up
// empties the "Software Reset" group of its own model (EmptySoftwareResetGroup), so each model's
// group table is an object of its own and such a change never reaches another model's sets.
#pragma once

#include <cstdint>

struct ConfigRegister {
    char name[52];  // as shown on the register map
    int reg;        // register number, an index into CFG_REG
};

struct ConfigGroup {
    char name[40];   // second half of the INI section name
    uint16_t first;  // first register of the group
    uint16_t last;   // last register, inclusive (a group with first > last covers none)
};

struct UpdateBitsRegister {
    char name[52];
    int reg;   // register number
    int mask;  // bits the power-up and "Load Default Update Bits" OR into the register
};

// ---- register tables (read-only) ---------------------------------------------------------
extern const ConfigRegister* const ConfigRegisters;        // Jorb, Jorbx: 59 rows
extern const ConfigRegister* const ConfigRegistersL;       // Jorb long table: 70 rows
extern const ConfigRegister* ConfigRegistersJorb;          // the Jorb table in use (starts at ConfigRegisters)
extern const ConfigRegister* const ConfigRegisters_Jora;   // 59
extern const ConfigRegister* const ConfigRegisters_Qeva;   // 44
extern const ConfigRegister* const ConfigRegistersZuta;    // 55
extern const ConfigRegister* const ConfigRegistersZutb;    // 76
extern const ConfigRegister* const MNConfigRegisters;      // Pykc, Pykd: 56
extern const ConfigRegister* const MNPykbConfigRegisters;  // 56
extern const ConfigRegister* const MNPykaConfigRegisters;  // 55

// ---- group tables (one object per model) -------------------------------------------------
extern ConfigGroup* const ConfigGroups;       // Jorb, Jorbx: 12 groups
extern ConfigGroup* const ConfigGroups_Jora;  // 12
extern ConfigGroup* const ConfigGroups_Qeva;  // 12
extern ConfigGroup* const ConfigGroupsZuta;   // 12
extern ConfigGroup* const ConfigGroupsZutb;   // 33
extern ConfigGroup* const ConfigGroups_Pykc;  // Pykc, Pykd: 10
extern ConfigGroup* const ConfigGroups_Pykb;  // 10
extern ConfigGroup* const ConfigGroups_Pyka;  // 10 (the last group ends at R56)

// ---- update-bit tables (read-only; the mono models have none) ----------------------------
extern const UpdateBitsRegister* const UpdateBitsRegisterGroups;       // Jorb: 14 rows
extern const UpdateBitsRegister* const UpdateBitsRegisterGroupsZuta;   // 14
extern const UpdateBitsRegister* const UpdateBitsRegisterGroups_Jora;  // 14
extern const UpdateBitsRegister* const UpdateBitsRegisterGroups_Qeva;  // 6
extern const UpdateBitsRegister* const UpdateBitsRegisterGroupsZutb;   // 8

// Rows before the empty-name row.
int ConfigRegisterCount(const ConfigRegister* table);
int ConfigGroupCount(const ConfigGroup* table);
int UpdateBitsCount(const UpdateBitsRegister* table);

// The group name that every reader and writer of sets passes over (no table has it).
inline constexpr const char* kReadOnlyGroup = "READ ONLY";
// True when sets store this group: not "READ ONLY", and it covers at least one register.
bool GroupHoldsRegisters(const ConfigGroup& group);

// Called by the stereo power-up with its own model's table: the "Software Reset" group (row 0)
// then starts at register 16 and ends at 0, so it covers no register for the rest of the run:
// sets written afterwards have no section for it and loads leave register 0 alone.
void EmptySoftwareResetGroup(ConfigGroup* groups);

// Puts every group table and ConfigRegistersJorb back to their built-in contents (tests).
void ResetConfigTables();
