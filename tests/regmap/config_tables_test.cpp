// The models' register, group and update-bit tables.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "regmap/config_tables.h"

namespace {

const ConfigRegister* FindRow(const ConfigRegister* table, int reg) {
    for (const ConfigRegister* row = table; row->name[0] != '\0'; ++row)
        if (row->reg == reg) return row;
    return nullptr;
}

std::vector<int> Registers(const ConfigRegister* table) {
    std::vector<int> out;
    for (const ConfigRegister* row = table; row->name[0] != '\0'; ++row) out.push_back(row->reg);
    return out;
}

class ConfigTablesTest : public ::testing::Test {
protected:
    void TearDown() override { ResetConfigTables(); }
};

TEST_F(ConfigTablesTest, EveryWalkStopsAtTheEmptyRow) {
    EXPECT_EQ(ConfigRegisterCount(ConfigRegisters), 59);
    EXPECT_EQ(ConfigRegisterCount(ConfigRegistersL), 70);
    EXPECT_EQ(ConfigRegisterCount(ConfigRegistersJorb), 59);
    EXPECT_EQ(ConfigRegisterCount(ConfigRegisters_Jora), 59);
    EXPECT_EQ(ConfigRegisterCount(ConfigRegisters_Qeva), 44);
    EXPECT_EQ(ConfigRegisterCount(ConfigRegistersZuta), 55);
    EXPECT_EQ(ConfigRegisterCount(ConfigRegistersZutb), 76);
    EXPECT_EQ(ConfigRegisterCount(MNConfigRegisters), 56);
    EXPECT_EQ(ConfigRegisterCount(MNPykbConfigRegisters), 56);
    EXPECT_EQ(ConfigRegisterCount(MNPykaConfigRegisters), 55);
    for (ConfigGroup* g : {ConfigGroups, ConfigGroups_Jora, ConfigGroups_Qeva, ConfigGroupsZuta})
        EXPECT_EQ(ConfigGroupCount(g), 12);
    EXPECT_EQ(ConfigGroupCount(ConfigGroupsZutb), 33);
    for (ConfigGroup* g : {ConfigGroups_Pykc, ConfigGroups_Pykb, ConfigGroups_Pyka}) EXPECT_EQ(ConfigGroupCount(g), 10);
    EXPECT_EQ(UpdateBitsCount(UpdateBitsRegisterGroups), 14);
    EXPECT_EQ(UpdateBitsCount(UpdateBitsRegisterGroupsZuta), 14);
    EXPECT_EQ(UpdateBitsCount(UpdateBitsRegisterGroups_Jora), 14);
    EXPECT_EQ(UpdateBitsCount(UpdateBitsRegisterGroups_Qeva), 6);
    EXPECT_EQ(UpdateBitsCount(UpdateBitsRegisterGroupsZutb), 8);
}

// Register tables ascend; group tables ascend, do not overlap and stay inside the copy.
TEST_F(ConfigTablesTest, TablesAscendAndStayInsideTheRegisterCopy) {
    for (const ConfigRegister* t : {ConfigRegisters, ConfigRegistersL, ConfigRegisters_Jora, ConfigRegisters_Qeva,
                                    ConfigRegistersZuta, ConfigRegistersZutb, MNConfigRegisters,
                                    MNPykbConfigRegisters, MNPykaConfigRegisters}) {
        std::vector<int> regs = Registers(t);
        for (size_t i = 1; i < regs.size(); ++i) EXPECT_LT(regs[i - 1], regs[i]);
        EXPECT_LE(regs.back(), 113);
    }
    for (ConfigGroup* t : {ConfigGroups, ConfigGroupsZutb, ConfigGroups_Pykc, ConfigGroups_Pyka}) {
        int previousLast = -1;
        for (const ConfigGroup* g = t; g->name[0] != '\0'; ++g) {
            EXPECT_GT(g->first, previousLast) << g->name;
            EXPECT_LE(g->first, g->last) << g->name;
            EXPECT_LE(g->last, 113) << g->name;
            previousLast = g->last;
        }
    }
}

// Names are stored in users' files and shown on the maps: kept as they stand.
TEST_F(ConfigTablesTest, NamesAreKeptAsTheyStand) {
    EXPECT_STREQ(FindRow(ConfigRegisters, 52)->name, "HP- Volume");
    EXPECT_STREQ(FindRow(ConfigRegisters, 62)->name, "Silicon_Revision_#");
    EXPECT_EQ(FindRow(ConfigRegisters, 17), nullptr);
    EXPECT_STREQ(ConfigRegistersL[59].name, "DAC Dither");
    EXPECT_EQ(ConfigRegistersL[59].reg, 65);
    EXPECT_STREQ(ConfigRegistersL[69].name, "Output Tie-off Direct");
    EXPECT_STREQ(FindRow(ConfigRegistersZuta, 52)->name, "L LineOut Vol");
    EXPECT_EQ(FindRow(ConfigRegistersZuta, 54), nullptr);
    EXPECT_STREQ(FindRow(ConfigRegistersZuta, 58)->name, "Power_Management_4");
    for (int r : {14, 15, 16, 27, 30, 32, 35, 45, 48}) EXPECT_EQ(FindRow(ConfigRegisters_Qeva, r), nullptr) << r;
    EXPECT_STREQ(FindRow(ConfigRegistersZutb, 93)->name, "PCM_RIGHT_TIME_SLOT ");
    EXPECT_STREQ(FindRow(ConfigRegistersZutb, 1)->name, "RIGHT_PGA");
    EXPECT_STREQ(FindRow(ConfigRegistersZutb, 55)->name, "ANALOG_TEST");
    EXPECT_STREQ(FindRow(MNConfigRegisters, 70)->name, "ALC1");
    EXPECT_STREQ(FindRow(MNConfigRegisters, 32)->name, "ALC1");
    EXPECT_STREQ(FindRow(MNPykaConfigRegisters, 11)->name, "MNPyka_DACG");
    EXPECT_EQ(FindRow(MNPykaConfigRegisters, 8), nullptr);
    EXPECT_STREQ(FindRow(MNPykbConfigRegisters, 11)->name, "MN_DACG");
    EXPECT_STREQ(ConfigGroupsZutb[13].name, "Audio Formt and clocking 2");
    EXPECT_STREQ(ConfigGroupsZutb[8].name, "Software reset");
    EXPECT_STREQ(ConfigGroups[10].name, "Input Output Mixer");
    EXPECT_STREQ(ConfigGroups_Pykc[8].name, "BYP Control");
    EXPECT_STREQ(UpdateBitsRegisterGroups[4].name, "Notch Filer1");
    EXPECT_EQ(UpdateBitsRegisterGroupsZutb[3].reg, 48);
    EXPECT_EQ(UpdateBitsRegisterGroups_Qeva[5].reg, 55);
    EXPECT_EQ(UpdateBitsRegisterGroups_Qeva[5].mask, 0x100);
}

TEST_F(ConfigTablesTest, MixerGroupOfPykaEndsAt56) {
    EXPECT_EQ(ConfigGroups_Pyka[9].last, 56);
    EXPECT_EQ(ConfigGroups_Pykc[9].last, 58);
    EXPECT_EQ(ConfigGroups_Pykb[9].last, 58);
    EXPECT_EQ(ConfigGroups_Pykc[2].last, 15);  // the mono "Audio Control" covers R4 to R15
    EXPECT_EQ(ConfigGroups[2].last, 17);
}

// The power-up's change stays in its own model's table.
TEST_F(ConfigTablesTest, EmptiedSoftwareResetGroupStaysInItsOwnTable) {
    const ConfigGroup before = ConfigGroups[1];
    EmptySoftwareResetGroup(ConfigGroups_Jora);
    EXPECT_EQ(ConfigGroups_Jora[0].first, 16);
    EXPECT_EQ(ConfigGroups_Jora[0].last, 0);
    EXPECT_FALSE(GroupHoldsRegisters(ConfigGroups_Jora[0]));
    for (int i = 1; i < 12; ++i) EXPECT_TRUE(GroupHoldsRegisters(ConfigGroups_Jora[i]));
    for (ConfigGroup* other : {ConfigGroups, ConfigGroups_Qeva, ConfigGroupsZuta, ConfigGroups_Pykc}) {
        EXPECT_EQ(other[0].first, 0);
        EXPECT_TRUE(GroupHoldsRegisters(other[0]));
    }
    EXPECT_EQ(std::memcmp(&ConfigGroups[1], &before, sizeof before), 0);
    // A table whose first row is not "Software Reset" is left alone.
    EmptySoftwareResetGroup(ConfigGroupsZutb);
    EXPECT_EQ(ConfigGroupsZutb[0].first, 0);
    ResetConfigTables();
    EXPECT_EQ(ConfigGroups_Jora[0].first, 0);
}

}  // namespace
