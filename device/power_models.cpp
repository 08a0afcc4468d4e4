// Each model's power description as data: sequence family, reset register, power controls
// with their register fields, buttons, tables and the operations its sequences use.
#include "device/power_model.h"

#include "demo/demo_output.h"
#include "device/ramps.h"
#include "panels/MNDevCtrl_pan.h"
#include "panels/MNPykaDevCtrl_pan.h"
#include "panels/MNPykbDevCtrl_pan.h"
#include "panels/cfgDevJora_pan.h"
#include "panels/cfgDevJorb_pan.h"
#include "panels/cfgDevQeva_pan.h"
#include "panels/cfgDevZuta_pan.h"
#include "panels/cfgDevZutb_pan.h"
#include "panels/cfgPathJora_pan.h"
#include "panels/cfgPathJorb_pan.h"
#include "panels/cfgPathQeva_pan.h"
#include "panels/cfgPathZuta_pan.h"
#include "panels/cfgPathZutb_pan.h"
#include "regmap/config_tables.h"
#include "regmap/regmap_model.h"
#include "shell/handles.h"

namespace device {
namespace {

constexpr PowerFieldKind F = PowerFieldKind::Field;
constexpr PowerFieldKind NONE = PowerFieldKind::None;

#define STEREO_R1(P)                                                                                   \
    {P(DCBUFEN), 1, 1, 8, 1, F}, {P(AUX1MXEN), 1, 1, 7, 1, F}, {P(AUX2MXEN), 1, 1, 6, 1, F},        \
        {P(PLLEN), 1, 1, 5, 1, F}, {P(MICBIASEN), 1, 1, 4, 1, F}, {P(ABIASEN), 1, 1, 3, 1, F},      \
        {P(IOBUFEN), 1, 1, 2, 1, F}, {P(REFIMP), 1, 1, 0, 3, F}
#define STEREO_R2_TOP(P) {P(RHPEN), 2, 2, 8, 1, F}, {P(LHPEN), 2, 2, 7, 1, F}, {P(SLEEP), 2, 2, 6, 1, F}
#define STEREO_R2_REST(P)                                                                              \
    {P(RBSTEN), 2, 2, 5, 1, F}, {P(LBSTEN), 2, 2, 4, 1, F}, {P(RPGAEN), 2, 2, 3, 1, F},             \
        {P(LPGAEN), 2, 2, 2, 1, F}, {P(RADCEN), 2, 2, 1, 1, F}, {P(LADCEN), 2, 2, 0, 1, F}
#define STEREO_R3(P)                                                                                   \
    {P(AUXOUT1EN), 3, 3, 8, 1, F}, {P(AUXOUT2EN), 3, 3, 7, 1, F}, {P(LSPKEN), 3, 3, 6, 1, F},       \
        {P(RSPKEN), 3, 3, 5, 1, F}, {P(BIASGEN), 3, 3, 4, 1, F}, {P(RMIXEN), 3, 3, 3, 1, F},        \
        {P(LMIXEN), 3, 3, 2, 1, F}, {P(RDACEN), 3, 3, 1, 1, F}, {P(LDACEN), 3, 3, 0, 1, F}
#define STEREO_R58(P)                                                                                  \
    {P(LPDAC), 4, 58, 8, 1, F}, {P(LPIPBST), 4, 58, 7, 1, F}, {P(LPADC), 4, 58, 6, 1, F},           \
        {P(LPSPKD), 4, 58, 5, 1, F}, {P(MICBIASM), 4, 58, 4, 1, F}, {P(REGVOLT), 4, 58, 2, 3, F},   \
        {P(IBADJ), 4, 58, 0, 3, F}
#define MONO_POWER(P)                                                                                  \
    {P(DCBUFEN), 1, 1, 8, 1, F}, {P(AUXEN), 1, 1, 6, 1, F}, {P(PLLEN), 1, 1, 5, 1, F},              \
        {P(MICBIASEN), 1, 1, 4, 1, F}, {P(ABIASEN), 1, 1, 3, 1, F}, {P(IOBUFEN), 1, 1, 2, 1, F},    \
        {P(REFIMP), 1, 1, 0, 3, F}, {P(BSTEN), 2, 2, 4, 1, F}, {P(PGAEN), 2, 2, 2, 1, F},           \
        {P(ADCEN), 2, 2, 0, 1, F}, {P(MOUTEN), 3, 3, 7, 1, F}, {P(NSPKEN), 3, 3, 6, 1, F},          \
        {P(PSPKEN), 3, 3, 5, 1, F}, {P(BIASGEN), 3, 3, 4, 1, F}, {P(MOUTMXEN), 3, 3, 3, 1, F},      \
        {P(SPKMXEN), 3, 3, 2, 1, F}, {P(DACEN), 3, 3, 0, 1, F}, {P(LPSPKA), 4, 58, 8, 1, F},        \
        {P(LPIPBST), 4, 58, 7, 1, F}, {P(LPADC), 4, 58, 6, 1, F}, {P(LPSPKD), 4, 58, 5, 1, F},      \
        {P(LPDAC), 4, 58, 4, 1, F}, {P(TRIMREG), 4, 58, 2, 3, F}, {P(IBADJ), 4, 58, 0, 3, F}

#define STEREO_BUTTONS(P)                                                                              \
    PowerButtonIds {                                                                                   \
        P(BReset), P(BPowerUp), P(BPowerDown), P(BLoadUpdateBits), P(BMuteAll), P(BEnableAllOutputs), \
            P(BDisableAllOutputs), P(BInitBoard), P(BInitDevice), P(ST33VDDSPK), P(ST5VDDSPK)         \
    }
#define MONO_BUTTONS(P) \
    PowerButtonIds { P(BReset), P(BPowerUp), P(BPowerDown), 0, 0, 0, 0, 0, 0, P(MN33VDDSPK), P(MN5VDDSPK) }

#define JORB(x) ui::cfgDevJorb_pan::CFGDEVJorb_##x
#define ZUTA(x) ui::cfgDevZuta_pan::CFGDEVZuta_##x
#define ZUTB(x) ui::cfgDevZutb_pan::CFGDEVZutb_##x
#define JORA(x) ui::cfgDevJora_pan::CFGDEVJora_##x
#define QEVA(x) ui::cfgDevQeva_pan::CFGDEVQeva_##x
#define PYKC(x) ui::MNDevCtrl_pan::MNDEVCTRL_##x
#define PYKB(x) ui::MNPykbDevCtrl_pan::MNPykbDEVCTRL_##x
#define PYKA(x) ui::MNPykaDevCtrl_pan::MNPykaDEVCTRL_##x
#define PATH(model, x) ui::cfgPath##model##_pan::CFGPATH##model##_##x
#define BOOST_ICONS(model)                                                                              \
    {PATH(model, STSPKBoostEnIcon), PATH(model, STSPKBoostDisenIcon), PATH(model, STOut3BoostEnIcon),   \
     PATH(model, STOut3BoostDisenIcon), PATH(model, STOut4BoostEnIcon), PATH(model, STOut4BoostDisenIcon)}

// Zutb keeps its power fields in its own registers; some controls of the stereo layout have no
// field on this chip.
const std::vector<PowerCtrl> kZutbPower = {
    {ZUTB(DCBUFEN), 1, 113, 8, 1, F},
    {ZUTB(AUX1MXEN), 1, 0, 0, 0, NONE},
    {ZUTB(AUX2MXEN), 1, 0, 0, 0, NONE},
    {ZUTB(PLLEN), 1, 38, 1, 1, F},
    {ZUTB(MICBIASEN), 1, 6, 0, 1, PowerFieldKind::MicBias},
    {ZUTB(ABIASEN), 1, 33, 3, 1, F},
    {ZUTB(IOBUFEN), 1, 33, 2, 1, F},
    {ZUTB(REFIMP), 1, 10, 2, 3, PowerFieldKind::RefImp},
    {ZUTB(RHPEN), 2, 0, 0, 0, NONE},
    {ZUTB(LHPEN), 2, 0, 0, 0, NONE},
    {ZUTB(SLEEP), 2, 0, 0, 0, NONE},
    {ZUTB(RBSTEN), 2, 3, 4, 1, F},
    {ZUTB(LBSTEN), 2, 2, 4, 1, F},
    {ZUTB(RPGAEN), 2, 6, 4, 1, F},
    {ZUTB(LPGAEN), 2, 6, 5, 1, F},
    {ZUTB(RADCEN), 2, 6, 2, 1, F},
    {ZUTB(LADCEN), 2, 6, 3, 1, F},
    {ZUTB(LPDAC), 4, 0, 0, 0, NONE},
    {ZUTB(LPIPBST), 4, 0, 0, 0, NONE},
    {ZUTB(LPADC), 4, 0, 0, 0, NONE},
    {ZUTB(LPSPKD), 4, 0, 0, 0, NONE},
    {ZUTB(MICBIASM), 4, 90, 4, 1, F},
    {ZUTB(REGVOLT), 4, 90, 2, 3, F},
    {ZUTB(IBADJ), 4, 90, 7, 1, F},
    {ZUTB(IBADJ2), 4, 0, 0, 0, NONE},
};

const PowerModel& Build(DevId id) {
    static const PowerModel models[kDevModelCount] = {
        {DevId::Jorb, PowerFamily::Stereo, 0, true, {0, 1, 2, 3, 58},
         {STEREO_R1(JORB), STEREO_R2_TOP(JORB), STEREO_R2_REST(JORB), STEREO_R3(JORB), STEREO_R58(JORB)},
         STEREO_BUTTONS(JORB), &UpdateBitsRegisterGroups, &ConfigGroups, STDemoMuteUnmuteOutput,
         STDemoTurnOnOffOutput, nullptr, &PHandleSTPath, BOOST_ICONS(Jorb), STReadAllCB, &PHandleSTRegMap, true},
        {DevId::Zuta, PowerFamily::Stereo, 0, true, {0, 1, 2, 3, 58},
         {STEREO_R1(ZUTA), STEREO_R2_TOP(ZUTA), STEREO_R2_REST(ZUTA), STEREO_R3(ZUTA), STEREO_R58(ZUTA)},
         STEREO_BUTTONS(ZUTA), &UpdateBitsRegisterGroupsZuta, &ConfigGroupsZuta, STDemoMuteUnmuteOutputZuta,
         STDemoTurnOnOffOutputZuta, nullptr, &PHandleSTPathZuta, BOOST_ICONS(Zuta), STReadAllCBZuta,
         &PHandleSTRegMapZuta, true},
        {DevId::Zutb, PowerFamily::Zutb, 15, false, {0, 0, 0, 0, 0}, kZutbPower,
         PowerButtonIds{ZUTB(BReset), ZUTB(BPowerUp), ZUTB(BPowerDown), ZUTB(BLoadUpdateBits), 0, 0, 0,
                        ZUTB(BInitBoard), ZUTB(BInitDevice), 0, 0},
         &UpdateBitsRegisterGroupsZutb, &ConfigGroupsZutb, nullptr, nullptr, nullptr, &PHandleSTPathZutb,
         BOOST_ICONS(Zutb), STReadAllCBZutb, &PHandleSTRegMapZutb, false},
        {DevId::Jora, PowerFamily::Stereo, 0, true, {0, 1, 2, 3, 58},
         {STEREO_R1(JORA), STEREO_R2_TOP(JORA), STEREO_R2_REST(JORA), STEREO_R3(JORA), STEREO_R58(JORA)},
         STEREO_BUTTONS(JORA), &UpdateBitsRegisterGroups_Jora, &ConfigGroups_Jora, STDemoMuteUnmuteOutput_Jora,
         STDemoTurnOnOffOutput_Jora, nullptr, &PHdlPathJora,
         {PATH(Jora, STOut3BoostEnIcon), PATH(Jora, STOut3BoostDisenIcon), PATH(Jora, STOut4BoostEnIcon),
          PATH(Jora, STOut4BoostDisenIcon)},
         STReadAllCBJora, &PHdlRegMapJora, true},
        // Qeva's R2 carries only the headphone and sleep bits; its power-up leaves R14 alone.
        {DevId::Qeva, PowerFamily::Stereo, 0, true, {0, 1, 2, 3, 58},
         {STEREO_R1(QEVA), STEREO_R2_TOP(QEVA), STEREO_R3(QEVA), STEREO_R58(QEVA)}, STEREO_BUTTONS(QEVA),
         &UpdateBitsRegisterGroups_Qeva, &ConfigGroups_Qeva, STDemoMuteUnmuteOutput_Qeva,
         STDemoTurnOnOffOutput_Qeva, nullptr, &PHdlPathQeva, BOOST_ICONS(Qeva), STReadAllCBQeva, &PHdlRegMapQeva,
         false},
        // Qevb has no device-control panel.
        {DevId::Qevb, PowerFamily::Stereo, 0, true, {0, 1, 2, 3, 58}, {}, PowerButtonIds{}, nullptr, nullptr,
         nullptr, nullptr, nullptr, nullptr, {}, nullptr, nullptr, false},
        {DevId::Pykc, PowerFamily::Mono, 0, true, {0, 1, 2, 3, 58}, {MONO_POWER(PYKC)}, MONO_BUTTONS(PYKC),
         nullptr, &ConfigGroups_Pykc, nullptr, nullptr, MNRamp, nullptr, {}, nullptr, nullptr, true},
        {DevId::Pykb, PowerFamily::MonoPykb, 0, true, {0, 1, 2, 3, 58}, {MONO_POWER(PYKB)}, MONO_BUTTONS(PYKB),
         nullptr, &ConfigGroups_Pykb, nullptr, nullptr, MNPykbRamp, nullptr, {}, nullptr, nullptr, true},
        {DevId::Pyka, PowerFamily::Mono, 0, true, {0, 1, 2, 3, 58}, {MONO_POWER(PYKA)}, MONO_BUTTONS(PYKA),
         nullptr, &ConfigGroups_Pyka, nullptr, nullptr, MNPykaRamp, nullptr, {}, nullptr, nullptr, true},
    };
    return models[static_cast<int>(id)];
}

}  // namespace

const PowerModel& PowerOf(DevId id) { return Build(id); }

}  // namespace device
