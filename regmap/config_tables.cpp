// The models' register, group and update-bit tables. Tables that repeat another model's rows
// are derived from them at compile time, and every row count is checked by the compiler.
#include "regmap/config_tables.h"

#include <array>
#include <cstddef>
#include <cstring>

namespace {

// ---- register tables ---------------------------------------------------------------------

// Jorb: R0 to R63 without R17, R23, R26, R31 and R42.
constexpr ConfigRegister kJorbRegisters[] = {
    {"Software_Reset", 0},      {"Power_Management_1", 1}, {"Power_Management_2", 2},
    {"Power_Management_3", 3},  {"Audio_Interface", 4},    {"Companding", 5},
    {"Clock_Control_1", 6},     {"Clock_Control_2", 7},    {"GPIO", 8},
    {"Jack_Detect_1", 9},       {"DAC_Control", 10},       {"Left_DAC_Volume", 11},
    {"Right_DAC_Volume", 12},   {"Jack_Detect_2", 13},     {"ADC_Control", 14},
    {"Left_ADC_Volume", 15},    {"Right_ADC_Volume", 16},  {"EQ1-low_self", 18},
    {"EQ2-peak_1", 19},         {"EQ3-peak_2", 20},        {"EQ4-peak_3", 21},
    {"EQ5-high-self", 22},      {"DAC_Limiter_1", 24},     {"DAC_Limiter_2", 25},
    {"Notch_Filter_1", 27},     {"Notch_Filter_2", 28},    {"Notch_Filter_3", 29},
    {"Notch_Filter_4", 30},     {"ALC_Control_1", 32},     {"ALC_Control_2", 33},
    {"ALC_Control_3", 34},      {"Noise_Gate", 35},        {"PLL_N", 36},
    {"PLL_K_1", 37},            {"PLL_K_2", 38},           {"PLL_K_3", 39},
    {"Mic_Bias_Mode", 40},      {"3D_Control", 41},        {"Beep_Control", 43},
    {"Input_Control", 44},      {"Left_Input_PGA_Gain", 45}, {"Right_Input_PGA_Gain", 46},
    {"Left_ADC_Boost", 47},     {"Right_ADC_Boost", 48},   {"Output_Control", 49},
    {"Left_Mixer", 50},         {"Right_Mixer", 51},       {"HP- Volume", 52},
    {"HP+ Volume", 53},         {"SPKOUT- Volume", 54},    {"SPKOUT+ Volume", 55},
    {"AUXOUT2 Mixer", 56},      {"AUXOUT1 Mixer", 57},     {"Power_Management_4", 58},
    {"Left_Time_Slot", 59},     {"PCM_TS_Enable", 60},     {"Right_Time_Slot", 61},
    {"Silicon_Revision_#", 62}, {"Reserved", 63},
};

// Rows the Jorb long table adds after the 59 rows of the short one.
constexpr ConfigRegister kJorbLongExtra[] = {
    {"DAC Dither", 65},          {"ALC Enhancement 1", 70},        {"ALC Enhancement 2", 71},
    {"192kHz Sampling", 72},     {"Misc Controls", 73},            {"Tie-off Manual Contrl", 74},
    {"Power Tie-off Man Contrl", 75}, {"AGC P2P Readout", 76},     {"AGC Peak Detector", 77},
    {"Automute/Status Readout", 78}, {"Output Tie-off Direct", 79},
};

constexpr ConfigRegister kZutaLineOut[] = {{"L LineOut Vol", 52}, {"R LineOut Vol", 53}};

constexpr ConfigRegister kZutbRegisters[] = {
    {"LEFT_PGA", 0},
    {"RIGHT_PGA", 1},
    {"AUDIO_PATH_LEFT", 2},
    {"AUDIO_PATH_RIGHT", 3},
    {"3D_ENHANCE", 4},
    {"ADC_CTRL", 5},
    {"POWER_MANAGEMENT", 6},
    {"AUDIO FORMAT", 7},
    {"CLOCKING", 8},
    {"MIC_PREAMP_CTRL", 9},
    {"MIC_BIAS_CTRL", 10},
    {"NOISE_GATE", 11},
    {"ALC1", 12},
    {"ALC2", 13},
    {"ALC3", 14},
    {"RESET", 15},
    {"ADC_MAX", 28},
    {"POWER_MANAGEMENT1", 33},
    {"POWER_MANAGEMENT2", 34},
    {"LINEOUT_SEL", 35},
    {"AUDIO_INTERFACE", 36},
    {"COMPANDING_CTRL", 37},
    {"CLK_GEN_CTRL", 38},
    {"ADDITIONAL_CTRL", 39},
    {"GPIO_STUFF", 40},
    {"GPIO_IO_CTRL", 41},
    {"GPIO_OUTPUT_SEL", 42},
    {"GPIO_INPUT_READ", 43},
    {"INT_ENABLE_OPEN_DRAIN", 44},
    {"INT_REGISTER", 45},
    {"ADC_CTRL2", 46},
    {"LEFT_ADC_DIGITAL_VOLUME", 47},
    {"RIGHT_ADC_DIGITAL_VOL", 48},
    {"EQ1_LOW_SHELF", 50},
    {"EQ2_PK1", 51},
    {"EQ3_PK2", 52},
    {"EQ4_PK3", 53},
    {"EQ5_HIGH_SHELF", 54},
    {"ANALOG_TEST", 55},
    {"NOTCH_FILTER1", 59},
    {"NOTCH_FILTER2", 60},
    {"NOTCH_FILTER3", 61},
    {"NOTCH_FILTER4", 62},
    {"PLL0N", 68},
    {"PLL0K1", 69},
    {"PLL0K2", 70},
    {"PLL0K3", 71},
    {"LEFT_INPUT_CTRL", 75},
    {"RIGHT_INPUT_CTRL", 76},
    {"STAGE1_PGAL_GAIN_CTRL", 77},
    {"STAGE2_PGAR_GAIN_CTRL", 78},
    {"PLL1N", 79},
    {"PLL1K1", 80},
    {"PLL1K2", 81},
    {"PLL1K3", 82},
    {"MIXER_MAP", 89},
    {"POWER_MGMT4", 90},
    {"PCM_LEFT_TIME_SLOT", 91},
    {"PCM_TS_ENABLE", 92},
    {"PCM_RIGHT_TIME_SLOT ", 93},  // the trailing blank is part of the name
    {"SILICON_REV", 94},
    {"I2C_DEVICE_ID", 95},
    {"REGID", 96},
    {"REG65", 101},
    {"ALC4", 102},
    {"ALC5", 103},
    {"REG68", 104},
    {"REG69", 105},
    {"REG6A", 106},
    {"REG6B", 107},
    {"AGCREADOUT1", 108},
    {"AGCREADOUT2", 109},
    {"AGCREADOUT3", 110},
    {"AGCREADOUT4", 111},
    {"AGCREADOUT5", 112},
    {"SHORT_OUTPUT", 113},
};

// Pykc (and Pykd, Pykb). R32/R70 and R33/R71 share their names.
constexpr ConfigRegister kPykcRegisters[] = {
    {"RST", 0},        {"PWRM1", 1},      {"PWRM2", 2},       {"PWRM3", 3},     {"AIF", 4},
    {"CODEC", 5},      {"CLK", 6},        {"SR", 7},          {"GPIO", 8},      {"DACC", 10},
    {"MN_DACG", 11},   {"ADCC", 14},      {"ADCG", 15},       {"EQ1L", 18},     {"EQ2P1", 19},
    {"EQ3P2", 20},     {"EQ4P3", 21},     {"EQ5H", 22},       {"DACLIM1", 24},  {"DACLIM2", 25},
    {"NF1", 27},       {"NF2", 28},       {"NF3", 29},        {"NF4", 30},      {"ALC1", 32},
    {"ALC2", 33},      {"ALC3", 34},      {"NG", 35},         {"PLLN", 36},     {"PLLK1", 37},
    {"PLLK2", 38},     {"PLLK3", 39},     {"ATTN", 40},       {"INPC", 44},     {"PGAG", 45},
    {"ADCBST", 47},    {"OUTC", 49},      {"SPKM", 50},       {"SPKG", 54},     {"MOUNTM", 56},
    {"PWRL", 58},      {"CFG_PCMTS1", 59}, {"PCMTS2", 60},    {"REV", 62},      {"W2SID", 63},
    {"EXT_ID", 64},    {"Dither_CTL", 65}, {"HV_CTL", 69},    {"ALC1", 70},     {"ALC2", 71},
    {"Misc", 73},      {"Out_Tie-Off", 75}, {"AGC_Vpp", 76},  {"AGC_Vp", 77},   {"AutoMute", 78},
    {"Out_Tie-Off_M", 79},
};

constexpr void CopyName(char (&to)[52], const char* from) {
    for (size_t i = 0; i < sizeof to; ++i) to[i] = 0;
    for (size_t i = 0; i + 1 < sizeof to && from[i] != 0; ++i) to[i] = from[i];
}

// A register table of N rows plus the empty end row, built from the rows of `source` that
// `keep` accepts (renamed by `rename` when it gives a name), followed by `extra`. Fails to
// compile when the rows do not come to exactly N.
template <size_t N, size_t S, size_t E = 0, typename Keep, typename Rename>
constexpr std::array<ConfigRegister, N + 1> DeriveRegisters(const ConfigRegister (&source)[S], Keep keep,
                                                            Rename rename,
                                                            const ConfigRegister* extra = nullptr) {
    std::array<ConfigRegister, N + 1> out{};
    size_t n = 0;
    for (size_t i = 0; i < S; ++i) {
        if (!keep(source[i].reg)) continue;
        if (n >= N) throw "too many rows";
        out[n] = source[i];
        if (const char* name = rename(source[i].reg)) CopyName(out[n].name, name);
        ++n;
    }
    for (size_t i = 0; i < E; ++i) {
        if (n >= N) throw "too many rows";
        out[n++] = extra[i];
    }
    if (n != N) throw "row count differs";
    return out;
}

constexpr auto kAll = [](int) { return true; };
constexpr auto kSameName = [](int) -> const char* { return nullptr; };

constexpr auto kConfigRegisters = DeriveRegisters<59>(kJorbRegisters, kAll, kSameName);
constexpr auto kConfigRegistersL =
    DeriveRegisters<70, 59, 11>(kJorbRegisters, kAll, kSameName, kJorbLongExtra);
constexpr auto kConfigRegistersJora = DeriveRegisters<59>(kJorbRegisters, kAll, kSameName);
constexpr auto kConfigRegistersQeva = DeriveRegisters<44>(
    kJorbRegisters,
    [](int r) {
        return !((r >= 14 && r <= 16) || (r >= 27 && r <= 30) || (r >= 32 && r <= 35) || (r >= 45 && r <= 48));
    },
    kSameName);
// Zuta: the Jorb rows up to R51, its two line-out volumes, then R58 to R63.
constexpr auto kZutaHead = DeriveRegisters<47>(kJorbRegisters, [](int r) { return r <= 51; }, kSameName);
constexpr auto kZutaTail = DeriveRegisters<6>(kJorbRegisters, [](int r) { return r >= 58; }, kSameName);
constexpr std::array<ConfigRegister, 56> JoinZuta() {
    std::array<ConfigRegister, 56> out{};
    size_t n = 0;
    for (size_t i = 0; i < 47; ++i) out[n++] = kZutaHead[i];
    for (const ConfigRegister& row : kZutaLineOut) out[n++] = row;
    for (size_t i = 0; i < 6; ++i) out[n++] = kZutaTail[i];
    return out;
}
constexpr auto kConfigRegistersZuta = JoinZuta();
constexpr auto kConfigRegistersZutb = DeriveRegisters<76>(kZutbRegisters, kAll, kSameName);
constexpr auto kMNConfigRegisters = DeriveRegisters<56>(kPykcRegisters, kAll, kSameName);
constexpr auto kMNPykbConfigRegisters = DeriveRegisters<56>(kPykcRegisters, kAll, kSameName);
constexpr auto kMNPykaConfigRegisters = DeriveRegisters<55>(
    kPykcRegisters, [](int r) { return r != 8; },
    [](int r) -> const char* { return r == 11 ? "MNPyka_DACG" : nullptr; });

// ---- group tables ------------------------------------------------------------------------

using StereoGroups = std::array<ConfigGroup, 13>;
using MonoGroups = std::array<ConfigGroup, 11>;
using ZutbGroups = std::array<ConfigGroup, 34>;

constexpr StereoGroups kStereoGroups = {{
    {"Software Reset", 0, 0},
    {"Power Management", 1, 3},
    {"Audio Control", 4, 17},
    {"Equalizer", 18, 22},
    {"DAC Limiter", 24, 25},
    {"Notch Filter", 27, 30},
    {"ALC Control", 32, 35},
    {"PLL Control", 36, 39},
    {"Mic Bias Mode", 40, 40},
    {"3D Control", 41, 41},
    {"Input Output Mixer", 43, 58},
    {"PCM Timeslot", 59, 62},
    {"", 0, 0},
}};

constexpr MonoGroups kPykcGroups = {{
    {"Software Reset", 0, 0},
    {"Power Management", 1, 3},
    {"Audio Control", 4, 15},
    {"Equalizer", 18, 22},
    {"DAC Limiter", 24, 25},
    {"Notch Filter", 27, 30},
    {"ALC Control", 32, 35},
    {"PLL Control", 36, 39},
    {"BYP Control", 40, 40},
    {"Input Output Mixer", 44, 58},
    {"", 0, 0},
}};

constexpr MonoGroups PykaGroups() {
    MonoGroups g = kPykcGroups;
    g[9].last = 56;
    return g;
}
constexpr MonoGroups kPykaGroups = PykaGroups();

constexpr ZutbGroups kZutbGroups = {{
    {"PGA volume", 0, 1},
    {"Audio Path", 2, 3},
    {"3D", 4, 4},
    {"ADC control", 5, 5},
    {"Power Management", 6, 6},
    {"Audio Format and clocking", 7, 8},
    {"Mic pre-amp and bias", 9, 10},
    {"Noise gate and ALC", 11, 14},
    {"Software reset", 15, 15},
    {"ADC Max", 28, 28},
    {"Power Management 2", 33, 33},
    {"Additional Path Registers", 34, 34},
    {"Audio path selection", 35, 35},
    {"Audio Formt and clocking 2", 36, 39},
    {"GPIO", 40, 42},
    {"GPIO Interrupt", 43, 45},
    {"ADC additional control", 46, 49},
    {"Equalizer", 50, 54},
    {"Analog test mode", 55, 55},
    {"Notch filter", 59, 62},
    {"PLL registerA", 68, 71},
    {"Audio path selection 2", 75, 78},
    {"PLL registerB", 79, 82},
    {"ADC mixer", 89, 89},
    {"Power management and GPIO3", 90, 90},
    {"PCM and time slot", 91, 93},
    {"ID register", 94, 96},
    {"ALC interrupt features", 102, 103},
    {"Additional ADC", 104, 104},
    {"Additional SPI notch", 105, 105},
    {"Tie-off control VMID", 106, 107},
    {"ADC readout", 108, 112},
    {"Tie-Off buffer VMID", 113, 113},
    {"", 0, 0},
}};

// The tables the program changes, one object per model.
StereoGroups jorbGroups = kStereoGroups;
StereoGroups joraGroups = kStereoGroups;
StereoGroups qevaGroups = kStereoGroups;
StereoGroups zutaGroups = kStereoGroups;
ZutbGroups zutbGroups = kZutbGroups;
MonoGroups pykcGroups = kPykcGroups;
MonoGroups pykbGroups = kPykcGroups;
MonoGroups pykaGroups = kPykaGroups;

// ---- update-bit tables -------------------------------------------------------------------

// Jorb, Zuta and Jora share their rows; each model keeps a table of its own.
constexpr std::array<UpdateBitsRegister, 15> kUpdateBitsStereo = {{
    {"Left DAC", 11, 0x100},
    {"Right DAC", 12, 0x100},
    {"Left ADC", 15, 0x100},
    {"Right ADC", 16, 0x100},
    {"Notch Filer1", 27, 0x100},
    {"Notch Filer2", 28, 0x100},
    {"Notch Filer3", 29, 0x100},
    {"Notch Filer4", 30, 0x100},
    {"Left Input PGA Gain", 45, 0x100},
    {"Right Input PGA Gain", 46, 0x100},
    {"LHP Volume", 52, 0x100},
    {"RHP Volume", 53, 0x100},
    {"LSPKOUT", 54, 0x100},
    {"RSPKOUT", 55, 0x100},
    {"", 0, 0},
}};
constexpr auto kUpdateBitsZuta = kUpdateBitsStereo;
constexpr auto kUpdateBitsJora = kUpdateBitsStereo;
constexpr UpdateBitsRegister kUpdateBitsQeva[] = {
    {"Left DAC", 11, 0x100},   {"Right DAC", 12, 0x100}, {"LHP Volume", 52, 0x100},
    {"RHP Volume", 53, 0x100}, {"LSPKOUT", 54, 0x100},   {"RSPKOUT", 55, 0x100},
    {"", 0, 0},
};
constexpr UpdateBitsRegister kUpdateBitsZutb[] = {
    {"Left Input PGA Gain", 0, 0x100},
    {"Right Input PGA Gain", 1, 0x100},
    {"LADC Volume", 47, 0x100},
    {"RADC Volume", 48, 0x100},
    {"Notch Filer1", 59, 0x100},
    {"Notch Filer2", 60, 0x100},
    {"Notch Filer3", 61, 0x100},
    {"Notch Filer4", 62, 0x100},
    {"", 0, 0},
};

}  // namespace

const ConfigRegister* const ConfigRegisters = kConfigRegisters.data();
const ConfigRegister* const ConfigRegistersL = kConfigRegistersL.data();
const ConfigRegister* ConfigRegistersJorb = kConfigRegisters.data();
const ConfigRegister* const ConfigRegisters_Jora = kConfigRegistersJora.data();
const ConfigRegister* const ConfigRegisters_Qeva = kConfigRegistersQeva.data();
const ConfigRegister* const ConfigRegistersZuta = kConfigRegistersZuta.data();
const ConfigRegister* const ConfigRegistersZutb = kConfigRegistersZutb.data();
const ConfigRegister* const MNConfigRegisters = kMNConfigRegisters.data();
const ConfigRegister* const MNPykbConfigRegisters = kMNPykbConfigRegisters.data();
const ConfigRegister* const MNPykaConfigRegisters = kMNPykaConfigRegisters.data();

ConfigGroup* const ConfigGroups = jorbGroups.data();
ConfigGroup* const ConfigGroups_Jora = joraGroups.data();
ConfigGroup* const ConfigGroups_Qeva = qevaGroups.data();
ConfigGroup* const ConfigGroupsZuta = zutaGroups.data();
ConfigGroup* const ConfigGroupsZutb = zutbGroups.data();
ConfigGroup* const ConfigGroups_Pykc = pykcGroups.data();
ConfigGroup* const ConfigGroups_Pykb = pykbGroups.data();
ConfigGroup* const ConfigGroups_Pyka = pykaGroups.data();

const UpdateBitsRegister* const UpdateBitsRegisterGroups = kUpdateBitsStereo.data();
const UpdateBitsRegister* const UpdateBitsRegisterGroupsZuta = kUpdateBitsZuta.data();
const UpdateBitsRegister* const UpdateBitsRegisterGroups_Jora = kUpdateBitsJora.data();
const UpdateBitsRegister* const UpdateBitsRegisterGroups_Qeva = kUpdateBitsQeva;
const UpdateBitsRegister* const UpdateBitsRegisterGroupsZutb = kUpdateBitsZutb;

int ConfigRegisterCount(const ConfigRegister* table) {
    int n = 0;
    while (table && table[n].name[0] != '\0') ++n;
    return n;
}

int ConfigGroupCount(const ConfigGroup* table) {
    int n = 0;
    while (table && table[n].name[0] != '\0') ++n;
    return n;
}

int UpdateBitsCount(const UpdateBitsRegister* table) {
    int n = 0;
    while (table && table[n].name[0] != '\0') ++n;
    return n;
}

bool GroupHoldsRegisters(const ConfigGroup& group) {
    return group.first <= group.last && std::strcmp(group.name, kReadOnlyGroup) != 0;
}

void EmptySoftwareResetGroup(ConfigGroup* groups) {
    if (groups && std::strcmp(groups[0].name, "Software Reset") == 0) groups[0].first = 16;
}

void ResetConfigTables() {
    jorbGroups = kStereoGroups;
    joraGroups = kStereoGroups;
    qevaGroups = kStereoGroups;
    zutaGroups = kStereoGroups;
    zutbGroups = kZutbGroups;
    pykcGroups = kPykcGroups;
    pykbGroups = kPykcGroups;
    pykaGroups = kPykaGroups;
    ConfigRegistersJorb = ConfigRegisters;
}
