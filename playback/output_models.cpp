// The output panels of every model, as data: the stereo family (Jorb, Zuta, Zutb, Jora, Qeva)
// and the mono family (Pykc and Pykd, Pykb, Pyka) each share one field table and one set of
// groups; the panel files of a family carry the same control ids.
#include "playback/output_model.h"

#include "device/device_services.h"
#include "panels/CFGOUTJora_pan.h"
#include "panels/CFGOUTQeva_pan.h"
#include "panels/MNOutput_pan.h"
#include "panels/MNPykaOutput_pan.h"
#include "panels/MNPykbOutput_pan.h"
#include "panels/cfgOutJorb_pan.h"
#include "panels/cfgOutZuta_pan.h"
#include "panels/cfgOutZutb_pan.h"
#include "regmap/config_tables.h"
#include "shell/handles.h"

namespace output {
namespace {

#define OUTPUT_STEREO_CONTROLS(X)                                                                      \
    X(LMIXEN) X(RMIXEN) X(DACL2LMIX) X(BYPL2LMIX) X(BYPLMIXVOL) X(AUXL2LMIX) X(AUXLMIXVOL) X(DACR2LMIX) \
    X(DACL2RMIX) X(DACR2RMIX) X(BYPR2RMIX) X(BYPRMIXVOL) X(AUXR2RMIX) X(AUXRMIXVOL) X(LOUT1MUTE)       \
    X(LOUT1ZC) X(LOUT1VOL) X(HPVUL) X(ROUT1MUTE) X(ROUT1ZC) X(ROUT1VOL) X(HPVUR) X(LOUT2MUTE)         \
    X(LOUT2ZC) X(LOUT2VOL) X(SPKVUL) X(ROUT2MUTE) X(ROUT2ZC) X(ROUT2VOL) X(SPKVUR) X(OUT3MUTE)        \
    X(OUT4_2OUT3) X(BYPL2OUT3) X(LMIX3OUT3) X(LDAC2OUT3) X(OUT4MUTE) X(HALFSIG) X(LMIX2OUT4)           \
    X(LDAC2OUT4) X(BYPR2OUT4) X(RMIX2OUT4) X(RDAC2OUT4) X(MUTERPGA2INV) X(INVROUT2) X(BEEPVOL)         \
    X(BEEPEN) X(BUFDCOPEN) X(OUT4MIXEN) X(OUT3MIXEN) X(STBIASEN) X(BUFIOEN) X(ROUT1EN) X(LOUT1EN)      \
    X(SLEEP) X(OUT4EN) X(OUT3EN) X(LOUT2EN) X(ROUT2EN) X(RMIXEN2) X(LMIXEN2) X(OUT4BOOST)              \
    X(OUT3BOOST) X(SPKBOOST) X(TSDEN) X(VROI)

#define OUTPUT_MONO_CONTROLS(X)                                                                   \
    X(MNBUFDCOPEN) X(MNBIASEN) X(MNBUFIOEN) X(MNMONOEN) X(MNSPKNEN) X(MNSPKPEN) X(MNMONOMIXEN)     \
    X(MNSPKMIXEN) X(MNMONOBOOST) X(MNSPKBOOST) X(CBBTL) X(MNMIC2_2SPK) X(MNBYP2SPK) X(MNDAC2SPK)  \
    X(MNMONOMUTE) X(MNMIC2_2MONO) X(MNBYP2MONO) X(MNDAC2MONO) X(MNMONOATTN) X(MNSPKATTN) X(MNSPKZC) \
    X(MNSPKMUTE) X(MNSPKVOL) X(MNSLOWCLKEN) X(MNVROI)

// The control ids, taken from the Jorb and Pykc files; every other file of the family must
// carry the same ids.
#define OUTPUT_STEREO_ID(name) constexpr int name = ui::cfgOutJorb_pan::CFGOUTJorb_##name;
OUTPUT_STEREO_CONTROLS(OUTPUT_STEREO_ID)
#define OUTPUT_SAME_ID(file, panel, name)                                     \
    static_assert(ui::file::panel##_##name == name, "control id of " #name \
                                                    " differs in " #file);
#define OUTPUT_ZUTA_ID(name) OUTPUT_SAME_ID(cfgOutZuta_pan, CFGOUTZuta, name)
#define OUTPUT_ZUTB_ID(name) OUTPUT_SAME_ID(cfgOutZutb_pan, CFGOUTZutb, name)
#define OUTPUT_JORA_ID(name) OUTPUT_SAME_ID(CFGOUTJora_pan, CFGOUTJora, name)
#define OUTPUT_QEVA_ID(name) OUTPUT_SAME_ID(CFGOUTQeva_pan, CFGOUTQeva, name)
OUTPUT_STEREO_CONTROLS(OUTPUT_ZUTA_ID)
OUTPUT_STEREO_CONTROLS(OUTPUT_ZUTB_ID)
OUTPUT_STEREO_CONTROLS(OUTPUT_JORA_ID)
OUTPUT_STEREO_CONTROLS(OUTPUT_QEVA_ID)

#define OUTPUT_MONO_ID(name) constexpr int name = ui::MNOutput_pan::MNOUTPUT_##name;
OUTPUT_MONO_CONTROLS(OUTPUT_MONO_ID)
#define OUTPUT_PYKB_ID(name) OUTPUT_SAME_ID(MNPykbOutput_pan, MNPykbOUTPUT, name)
#define OUTPUT_PYKA_ID(name) OUTPUT_SAME_ID(MNPykaOutput_pan, MNPykaOUTPUT, name)
OUTPUT_MONO_CONTROLS(OUTPUT_PYKB_ID)
OUTPUT_MONO_CONTROLS(OUTPUT_PYKA_ID)

Field Bit(int control, int reg, int bit) { return {control, reg, bit, 1}; }
Field Bits(int control, int reg, int high, int low) { return {control, reg, low, high - low + 1}; }

// ---- stereo family -----------------------------------------------------------------------
const std::vector<Field> kStereoFields = {
    Bit(LMIXEN, 3, 2), Bit(RMIXEN, 3, 3),
    Bit(DACL2LMIX, 50, 0), Bit(BYPL2LMIX, 50, 1), Bits(BYPLMIXVOL, 50, 4, 2), Bit(AUXL2LMIX, 50, 5),
    Bits(AUXLMIXVOL, 50, 8, 6), Bit(DACR2LMIX, 49, 5),
    Bit(DACL2RMIX, 49, 6), Bit(DACR2RMIX, 51, 0), Bit(BYPR2RMIX, 51, 1), Bits(BYPRMIXVOL, 51, 4, 2),
    Bit(AUXR2RMIX, 51, 5), Bits(AUXRMIXVOL, 51, 8, 6),
    Bit(LOUT1MUTE, 52, 6), Bit(LOUT1ZC, 52, 7), Bits(LOUT1VOL, 52, 5, 0), Bit(HPVUL, 52, 8),
    Bit(ROUT1MUTE, 53, 6), Bit(ROUT1ZC, 53, 7), Bits(ROUT1VOL, 53, 5, 0), Bit(HPVUR, 53, 8),
    Bit(LOUT2MUTE, 54, 6), Bit(LOUT2ZC, 54, 7), Bits(LOUT2VOL, 54, 5, 0), Bit(SPKVUL, 54, 8),
    Bit(ROUT2MUTE, 55, 6), Bit(ROUT2ZC, 55, 7), Bits(ROUT2VOL, 55, 5, 0), Bit(SPKVUR, 55, 8),
    Bit(OUT3MUTE, 56, 6), Bit(OUT4_2OUT3, 56, 3), Bit(BYPL2OUT3, 56, 2), Bit(LMIX3OUT3, 56, 1),
    Bit(LDAC2OUT3, 56, 0),
    Bit(OUT4MUTE, 57, 6), Bit(HALFSIG, 57, 5), Bit(LMIX2OUT4, 57, 4), Bit(LDAC2OUT4, 57, 3),
    Bit(BYPR2OUT4, 57, 2), Bit(RMIX2OUT4, 57, 1), Bit(RDAC2OUT4, 57, 0),
    Bit(MUTERPGA2INV, 43, 5), Bit(INVROUT2, 43, 4), Bits(BEEPVOL, 43, 3, 1), Bit(BEEPEN, 43, 0),
    Bit(BUFDCOPEN, 1, 8), Bit(OUT4MIXEN, 1, 7), Bit(OUT3MIXEN, 1, 6), Bit(STBIASEN, 1, 3), Bit(BUFIOEN, 1, 2),
    Bit(ROUT1EN, 2, 8), Bit(LOUT1EN, 2, 7), Bit(SLEEP, 2, 6),
    Bit(OUT4EN, 3, 8), Bit(OUT3EN, 3, 7), Bit(LOUT2EN, 3, 6), Bit(ROUT2EN, 3, 5), Bit(RMIXEN2, 3, 3),
    Bit(LMIXEN2, 3, 2),
    Bit(OUT4BOOST, 49, 4), Bit(OUT3BOOST, 49, 3), Bit(SPKBOOST, 49, 2), Bit(TSDEN, 49, 1), Bit(VROI, 49, 0),
};

const std::vector<Group> kStereoGroups = {
    {"OutputMixerControl",
     {LMIXEN, RMIXEN, DACR2LMIX, DACL2RMIX, DACL2LMIX, BYPL2LMIX, BYPLMIXVOL, AUXL2LMIX, AUXLMIXVOL, DACR2RMIX,
      BYPR2RMIX, BYPRMIXVOL, AUXR2RMIX, AUXRMIXVOL},
     {{3, 0.1}, {49, 0.1}, {50, 0.1}, {51, 0}},
     {{LMIXEN, LMIXEN2}, {RMIXEN, RMIXEN2}}},
    // The latched side is sent again after both, so the pair changes together.
    {"OUT1Control",
     {LOUT1MUTE, LOUT1ZC, LOUT1VOL, HPVUL, ROUT1MUTE, ROUT1ZC, ROUT1VOL, HPVUR},
     {{52, 0.1}, {53, 0.1}},
     {},
     {{LOUT1VOL, &STLout1CurrentVOL}, {ROUT1VOL, &STRout1CurrentVOL}},
     {{HPVUL, 52}, {HPVUR, 53}}},
    {"OUT2Control",
     {LOUT2MUTE, LOUT2ZC, LOUT2VOL, SPKVUL, ROUT2MUTE, ROUT2ZC, ROUT2VOL, SPKVUR},
     {{54, 0.1}, {55, 0.1}},
     {},
     {{LOUT2VOL, &STLout2CurrentVOL}, {ROUT2VOL, &STRout2CurrentVOL}}},
    {"EnableAnaOutputs",
     {BUFIOEN, OUT3MIXEN, OUT4MIXEN, BUFDCOPEN, ROUT1EN, LOUT1EN, SLEEP, LMIXEN2, RMIXEN2, ROUT2EN, LOUT2EN, OUT3EN,
      OUT4EN},
     {{1, 0.2}, {2, 0.2}, {3, 0}},
     {{LMIXEN2, LMIXEN}, {RMIXEN2, RMIXEN}}},
    {"Out4Control", {OUT4MUTE, HALFSIG, LMIX2OUT4, LDAC2OUT4, BYPR2OUT4, RMIX2OUT4, RDAC2OUT4}, {{57, 0}}},
    {"OUT3Control", {OUT3MUTE, OUT4_2OUT3, BYPL2OUT3, LMIX3OUT3, LDAC2OUT3}, {{56, 0}}},
    {"BeepControl", {MUTERPGA2INV, INVROUT2, BEEPEN, BEEPVOL}, {{43, 0}}},
    // R49's DAC cross-mixer bits belong to the mixer box and travel unchanged.
    {"MiscControl",
     {SPKBOOST, OUT4BOOST, OUT3BOOST, TSDEN, VROI},
     {{49, 0}},
     {},
     {},
     {},
     {TSDEN, 49, "Warning", "Thermal Shutdown is Disabled"}},
    {"STBIASENCB", {STBIASEN}, {{1, 0}}},
};

// ---- mono family -------------------------------------------------------------------------
const std::vector<Field> kMonoFields = {
    Bit(MNBUFDCOPEN, 1, 8), Bit(MNBIASEN, 1, 3), Bit(MNBUFIOEN, 1, 2),
    Bit(MNMONOEN, 3, 7), Bit(MNSPKNEN, 3, 6), Bit(MNSPKPEN, 3, 5), Bit(MNMONOMIXEN, 3, 3), Bit(MNSPKMIXEN, 3, 2),
    Bit(MNMONOBOOST, 49, 3), Bit(MNSPKBOOST, 49, 2),
    // The BTL box drives both speaker halves and is not redrawn: the power box shows them.
    {CBBTL, 3, 5, 1, false}, {CBBTL, 3, 6, 1, false},
    Bit(MNMIC2_2SPK, 50, 5), Bit(MNBYP2SPK, 50, 1), Bit(MNDAC2SPK, 50, 0),
    Bit(MNMONOMUTE, 56, 6), Bit(MNMIC2_2MONO, 56, 2), Bit(MNBYP2MONO, 56, 1), Bit(MNDAC2MONO, 56, 0),
    Bit(MNMONOATTN, 40, 2), Bit(MNSPKATTN, 40, 1),
    Bit(MNSPKZC, 54, 7), Bit(MNSPKMUTE, 54, 6), Bits(MNSPKVOL, 54, 5, 0),
    Bit(MNSLOWCLKEN, 7, 0), Bit(MNVROI, 49, 0),
};

const std::vector<Group> kMonoGroups = {
    {"OutputPWRCB",
     {MNBUFIOEN, MNBUFDCOPEN, MNBIASEN, MNSPKMIXEN, MNMONOMIXEN, MNSPKPEN, MNSPKNEN, MNMONOEN},
     {{1, 0.3}, {3, 0}}},
    {"OutputCtrlCB", {MNSPKBOOST, MNMONOBOOST}, {{49, 0}}},
    {"BTLCB", {CBBTL, MNSPKBOOST}, {{3, 0.1}, {49, 0}}},
    {"OutputMixrerCtrlCB",
     {MNDAC2SPK, MNBYP2SPK, MNMIC2_2SPK, MNDAC2MONO, MNBYP2MONO, MNMIC2_2MONO, MNMONOMUTE},
     {{50, 0.3}, {56, 0}}},
    {"OutputATTNCtrlCB", {MNSPKATTN, MNMONOATTN}, {{40, 0}}},
    // R54 bit 8 has no control here and is left as it is.
    {"OutputSPKVolCtrlCB", {MNSPKMUTE, MNSPKZC, MNSPKVOL}, {{54, 0}}, {}, {{MNSPKVOL, &MNSPKCurrentVOL}}},
    {"OutputOthersCtrl", {MNSLOWCLKEN, MNVROI}, {{7, 0.3}, {49, 0}}},
};

// Zutb numbers its registers in its own way: the output panel's registers R1, R2, R3, R43 and
// R49 to R57 name its PGA and audio-path registers, a read-only input, the equaliser bands and
// the analogue test register, or do not exist. Its output settings live elsewhere (R33 to R35,
// R89, R90) with a layout of their own; until a setting is placed here it writes nothing.
const std::vector<Place> kZutbPlaces = {
    {1, kNoRegister},  {2, kNoRegister},  {3, kNoRegister},  {43, kNoRegister}, {49, kNoRegister},
    {50, kNoRegister}, {51, kNoRegister}, {52, kNoRegister}, {53, kNoRegister}, {54, kNoRegister},
    {55, kNoRegister}, {56, kNoRegister}, {57, kNoRegister},
};

const std::vector<int> kStereoVolumeRings = {LOUT2VOL, ROUT2VOL, LOUT1VOL, ROUT1VOL};

Model Stereo(const char* name, int* panel, const char* suffix) {
    return {name, panel, "", suffix, &kStereoFields, &kStereoGroups, kStereoVolumeRings};
}

Model Mono(const char* name, int* panel, const char* infix) {
    return {name, panel, std::string("MN") + infix, "", &kMonoFields, &kMonoGroups, {MNSPKVOL}};
}

Model ZutbModel() {
    Model m = Stereo("Zutb", &PHandleSTOUTPUTZutb, "Zutb");
    m.places = kZutbPlaces;
    m.chipRegisterNames = &ConfigRegistersZutb;
    m.noteControl = ui::cfgOutZutb_pan::CFGOUTZutb_REGNOTE;
    return m;
}

}  // namespace

const Model& Describe(ModelId id) {
    static const Model models[kModelCount] = {
        Stereo("Jorb", &PHandleSTOUTPUT, ""),
        Stereo("Zuta", &PHandleSTOUTPUTZuta, "Zuta"),
        ZutbModel(),
        Stereo("Jora", &PHdlOutputJora, "Jora"),
        Stereo("Qeva", &PHdlOutputQeva, "Qeva"),
        Mono("Pykc", &PHandleMNOutput, ""),
        Mono("Pykb", &PHandleMNPykbOutput, "Pykb"),
        Mono("Pyka", &PHandleMNPykaOutput, "Pyka"),
    };
    return models[static_cast<int>(id)];
}

}  // namespace output
