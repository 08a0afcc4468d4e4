// Preset blocks of every demo panel: set boxes, section names, demo start, "Load Settings",
// "Initialize Device", and the preset files' installation into the project directory.
#include "demo/demo_presets.h"

#include <cstring>
#include <iterator>

#include "demo/demo_engine.h"
#include "demo/demo_output.h"
#include "demo/demo_services.h"
#include "demo/mono_demo.h"
#include "demo/stereo_demo.h"
#include "device/power.h"
#include "link/chip_operation.h"
#include "oslayer/os.h"
#include "panels/MNDemo_pan.h"
#include "panels/MNDevCtrl_pan.h"
#include "panels/MNPykaDemo_pan.h"
#include "panels/MNPykaDevCtrl_pan.h"
#include "panels/MNPykbDemo_pan.h"
#include "panels/MNPykbDevCtrl_pan.h"
#include "panels/cfgDemoQevb_pan.h"
#include "panels/cfgDemoZutb_pan.h"
#include "panels/cfgDevJora_pan.h"
#include "panels/cfgDevJorb_pan.h"
#include "panels/cfgDevQeva_pan.h"
#include "panels/cfgDevZuta_pan.h"
#include "panels/cfgDevZutb_pan.h"
#include "runtime/inifile.h"
#include "runtime/ui.h"
#include "shell/handles.h"
#include "shell/progress.h"
#include "shell/state.h"

const char* const kDemoPresetFiles[8] = {
    "STPreset.dat",     "STZutaPreset.dat", "STZutbPreset.dat", "STPresetJora.dat",
    "STPresetQeva.dat", "MNPreset.dat",     "MNPykaPreset.dat", "MNPykbPreset.dat",
};

void InstallDemoPresetFiles() {
    const std::string from = os::ExecutableDir();
    const std::string to = rt::GetProjectDir();
    if (from.empty() || to.empty()) return;
    // Every file that could not be copied, with the reason, told in one message.
    std::string failed;
    for (const char* name : kDemoPresetFiles) {
        const std::string source = rt::MakePathname(from, name);
        const std::string target = rt::MakePathname(to, name);
        if (source == target || rt::FileExists(target) || !rt::FileExists(source)) continue;
        std::string contents, error;
        if (!rt::ReadWholeFile(source, &contents, &error) || !rt::WriteFileAtomic(target, contents, &error))
            failed += std::string("\n") + name + ": " + error;
    }
    if (!failed.empty())
        rt::MessagePopup("Warning", ("The demo preset files below could not be copied into the project directory " + to +
                                     "; their demo settings will not load." + failed)
                                        .c_str());
}

namespace demo {
namespace {

namespace mn = ui::MNDemo_pan;
namespace zb = ui::cfgDemoZutb_pan;

static_assert(ui::MNPykbDemo_pan::MNPykbDEMO_MNSet1 == mn::MNDEMO_MNSet1 &&
              ui::MNPykaDemo_pan::MNPykaDEMO_Out_6 == mn::MNDEMO_Out_6 &&
              ui::MNPykaDemo_pan::MNPykaDEMO_MNLoadSettings == mn::MNDEMO_MNLoadSettings);

constexpr const char* kStereoSuffixes[] = {"SPK",        "HP", "SPK_HP", "AUXOUT1", "AUXOUT2", "AUXOUT1TOAUXOUT2",
                                           "SPK_AUXOUT1"};
constexpr const char* kJoraSuffixes[] = {"HP", "AUXOUT1", "AUXOUT2", "AUXOUT1TOAUXOUT2"};
constexpr const char* kMonoSuffixes[] = {"SPK", "HP", "SPK_HP"};
constexpr const char* kZutbSuffixes[] = {"MIC1", "MIC2"};

constexpr int S(int n) { return ids::STDemo_STSet1 + n - 1; }
constexpr int O(int n) { return ids::STDemo_Out_1 + n - 1; }
static_assert(S(7) == ids::STDemo_STSet7 && O(7) == ids::STDemo_Out_7);
constexpr int MS(int n) { return mn::MNDEMO_MNSet1 + n - 1; }
constexpr int MO(int n) { return mn::MNDEMO_Out_1 + n - 1; }
static_assert(MS(6) == mn::MNDEMO_MNSet6 && MO(6) == mn::MNDEMO_Out_6);

#define ST_ALL_SETS \
    {0, S(1), S(2), S(3), S(4), S(5), S(6), S(7), 0}, { 0, O(1), O(2), O(3), O(4), O(5), O(6), O(7), 0 }
#define ST_QEVA_SETS \
    {0, S(1), 0, S(3), 0, S(5), S(6), S(7), 0}, { 0, O(1), 0, O(3), 0, O(5), O(6), O(7), 0 }
#define MN_SETS \
    {0, MS(1), MS(2), MS(3), MS(4), MS(5), MS(6), 0, 0}, { 0, MO(1), MO(2), MO(3), MO(4), MO(5), MO(6), 0, 0 }
#define N(list) list, static_cast<int>(std::size(list))
#define ST_BOARD(file, P)                                                                                    \
    {                                                                                                        \
        ui::file::P##_CUSBI2SEn, ui::file::P##_BConfigBoard, ui::file::P##_BUSBCODEC, ui::file::P##_BUSBPCM, \
            ui::file::P##_BEnableUSBPCM, ui::file::P##_BDisableUSBPCM, ui::file::P##_CSPDIFMASEn,            \
            ui::file::P##_BPowerUp                                                                           \
    }
#define MN_BOARD(file, P)                                                                                    \
    {                                                                                                        \
        ui::file::P##_CUSBI2SEn, ui::file::P##_BConfigBoard, ui::file::P##_BUSBCODEC, ui::file::P##_BUSBPCM, \
            ui::file::P##_BMNEnableUSBPCM, ui::file::P##_BMNDisableUSBPCM, ui::file::P##_CSPDIFMASEn,        \
            ui::file::P##_BPowerUp                                                                           \
    }
namespace qevb = ui::cfgDemoQevb_pan;
constexpr BoardControls kQevbBoard = {
    qevb::STDemo_CUSBI2SEn,     qevb::STDemo_BConfigBoard,   qevb::STDemo_BUSBCODEC,   qevb::STDemo_BUSBPCM,
    qevb::STDemo_BEnableUSBPCM, qevb::STDemo_BDisableUSBPCM, qevb::STDemo_CSPDIFMASEn, 0};

// clang-format off
const PresetModel kPresetModels[] = {
    {"Jorb", "", &PHandleSTDemo, &PHandleSTDevCtrl, ST_ALL_SETS, "Preset", N(kStereoSuffixes), 0, "STPreset.dat",
     CFG_JORB, ST_BOARD(cfgDevJorb_pan, CFGDEVJorb), BPowerUpCB, STDemoMuteUnmuteOutput, STDemoMuteUnmuteOutput, 5, 6,
     false},
    // Zuta's demo start mutes through the Jorb operation, its loader unmutes through its own.
    {"Zuta", "Zuta", &PHandleSTDemoZuta, &PHandleSTDevCtrlZuta, ST_ALL_SETS, "ZutaPreset", N(kStereoSuffixes), 0,
     "STZutaPreset.dat", CFG_ZUTA, ST_BOARD(cfgDevZuta_pan, CFGDEVZuta), BPowerUpCBZuta, STDemoMuteUnmuteOutput,
     STDemoMuteUnmuteOutputZuta, 5, 6, false},
    {"Jora", "Jora", &PHdlDemoJora, &PHdlDevJora, ST_ALL_SETS, "Preset", N(kJoraSuffixes), 0, "STPresetJora.dat",
     CFG_JORA, ST_BOARD(cfgDevJora_pan, CFGDEVJora), BPowerUpCBJora, STDemoMuteUnmuteOutput_Jora,
     STDemoMuteUnmuteOutput_Jora, 5, 6, false},
    {"Qeva", "Qeva", &PHdlDemoQeva, &PHdlDevQeva, ST_QEVA_SETS, "Preset", N(kStereoSuffixes), 0, "STPresetQeva.dat",
     CFG_QEVA, ST_BOARD(cfgDevQeva_pan, CFGDEVQeva), BPowerUpCBQeva, STDemoMuteUnmuteOutput_Qeva,
     STDemoMuteUnmuteOutput_Qeva, 5, 6, false},
    // Qevb: the board block sits on the demo panel; no power-up, no preset file.
    {"Qevb", "Qevb", &PHdlDemoQevb, &PHdlDemoQevb, ST_QEVA_SETS, "Preset", N(kStereoSuffixes), 0, nullptr, CFG_JORB,
     kQevbBoard, nullptr, STDemoMuteUnmuteOutput_Qevb, STDemoMuteUnmuteOutput_Qevb, 5, 6, true},
    // Zutb: one recording set; its outputs are not at R52 to R57, so nothing is muted or unmuted.
    {"Zutb", "Zutb", &PHandleSTDemoZutb, &PHandleSTDevCtrlZutb, {0, 0, 0, 0, 0, 0, 0, 0, zb::CFGDEMOZutb_STSet8},
     {0, 0, 0, 0, 0, 0, 0, 0, zb::CFGDEMOZutb_Out_8}, "Preset", N(kZutbSuffixes), 1, "STZutbPreset.dat", CFG_ZUTB,
     ST_BOARD(cfgDevZutb_pan, CFGDEVZutb), BPowerUpCBZutb, nullptr, nullptr, 8, 0, false},
    {"Pykc", "MN", &PHandleMNDemo, &PHandleMNDevCtrl, MN_SETS, "MNset", N(kMonoSuffixes), 0, "MNPreset.dat", CFG_PYKC,
     MN_BOARD(MNDevCtrl_pan, MNDEVCTRL), MNPowerUpCB, MNDemoMuteUnmuteOutput, MNDemoMuteUnmuteOutput, 5, 6, false},
    {"Pykb", "MNPykb", &PHandleMNPykbDemo, &PHandleMNPykbDevCtrl, MN_SETS, "MNset", N(kMonoSuffixes), 0,
     "MNPykbPreset.dat", CFG_PYKB, MN_BOARD(MNPykbDevCtrl_pan, MNPykbDEVCTRL), MNPykbPowerUpCB,
     MNPykbDemoMuteUnmuteOutput, MNPykbDemoMuteUnmuteOutput, 5, 6, false},
    {"Pyka", "MNPyka", &PHandleMNPykaDemo, &PHandleMNPykaDevCtrl, MN_SETS, "MNPykaset", N(kMonoSuffixes), 0,
     "MNPykaPreset.dat", CFG_PYKA, MN_BOARD(MNPykaDevCtrl_pan, MNPykaDEVCTRL), MNPykaPowerUpCB,
     MNPykaDemoMuteUnmuteOutput, MNPykaDemoMuteUnmuteOutput, 5, 6, false},
};
// clang-format on
#undef N
#undef ST_BOARD
#undef MN_BOARD

bool IsMono(const PresetModel& m) { return std::strncmp(m.names, "MN", 2) == 0; }

// Callback names: stereo "STSet1CB" + suffix, mono prefix + "Set1CB".
std::string NameOf(const PresetModel& m, const char* stereoName, const char* monoName) {
    return IsMono(m) ? std::string(m.names) + monoName : std::string(stereoName) + m.names;
}

// Ticking a set box unticks the panel's other set boxes; unticking changes nothing else.
void TickSet(const PresetModel& m, int panel, int n) {
    if (!CtrlInt(panel, m.setBox[n])) return;
    for (int other = 1; other <= 8; ++other)
        if (other != n && m.setBox[other]) rt::SetCtrlVal(panel, m.setBox[other], 0);
}

void Wait(double seconds) { rt::Delay(seconds); }

// A control of the board panel run as a commit; a box is ticked first.
void Run(int panel, int control) {
    if (control > 0) rt::CallCtrlCallback(panel, control, rt::EVENT_COMMIT, 0, 0);
}
void TickAndRun(int panel, int box) {
    if (box <= 0) return;
    rt::SetCtrlVal(panel, box, 1);
    Run(panel, box);
}

void PowerUp(const PresetModel& m) {
    if (m.powerUp) m.powerUp(*m.boardPanel, m.board.powerUp, rt::EVENT_COMMIT, nullptr, 0, 0);
}

// The board steps of the demo start: USB I2S mode, Config Board, USB <--> CODEC.
void RouteBoard(const PresetModel& m) {
    TickAndRun(*m.boardPanel, m.board.usbI2S);
    Run(*m.boardPanel, m.board.configBoard);
    Run(*m.boardPanel, m.board.usbCodec);
}

}  // namespace

void RegisterModelPresetCallbacks(const PresetModel& m);

const PresetModel& PresetModelOf(const char* model) {
    for (const PresetModel& m : kPresetModels)
        if (std::strcmp(m.model, model) == 0) return m;
    return kPresetModels[0];
}

int GetPresetChoice(const PresetModel& m, int panel, int* set, int* output, std::string* section) {
    for (int n = 1; n <= 8; ++n) {
        if (!m.setBox[n] || !CtrlInt(panel, m.setBox[n])) continue;
        *set = n;
        int value = CtrlInt(panel, m.ring[n]);
        if (m.qevbChoice) {
            // Set 1 is not offered; the others play on the speaker and headphone outputs only.
            if (n == 1 || value < 0 || value > 2) return 0;
            *output = value;
            return 1;
        }
        int index = value - m.firstRingValue;
        if (index < 0 || index >= m.suffixCount) return 0;
        *output = value;
        if (section) *section = m.sectionPrefix + std::to_string(n) + "_" + m.suffixes[index];
        return 1;
    }
    return 0;
}

void DemoStart(const PresetModel& m) {
    RouteBoard(m);
    if (m.muteAll) m.muteAll(-1);
    Wait(0.2);
}

int LoadSettings(const PresetModel& m, int panel) {
    int set = 0, output = 0;
    std::string section;
    if (!GetPresetChoice(m, panel, &set, &output, &section)) {
        rt::MessagePopup(" ", "Please choose a setting");
        return 1;
    }
    // The first send the board refuses stops the whole load (told once, naming it).
    ChipOperation op("Load Settings");
    if (!PoweredUp && m.powerUp) {
        ProgressPart first(50.0);  // the power-up and the load take about as long
        PowerUp(m);
    }
    if (op.Stopped()) return 1;
    DemoStart(m);
    if (op.Stopped()) return 1;
    if (m.file) {
        rt::IniText ini = nullptr;
        std::string why;
        if (InitConfigFor(m.config, &ini, m.file, 1, 0, &why) != 1) {
            // One popup names the file, so the user knows which one to restore, and says why it
            // could not be read when that is known (the reason names the file).
            const std::string text = std::string(" Error Opening Config File, Presetting loading failed...\n") +
                                     (why.empty() ? rt::MakePathname(rt::GetProjectDir(), m.file) : why);
            rt::MessagePopup("ERROR", text.c_str());
            rt::Ini_Dispose(ini);
            return 1;
        }
        StartProgressBar("Loading configuration ...", 6);
        const int loaded = LoadSingleConfigFor(m.config, ini, section.c_str(), 1);
        rt::Ini_Dispose(ini);
        // A set the file does not hold has been reported by the reader: the outputs stay muted.
        if (!loaded) return 1;
    }
    int board = *m.boardPanel;
    if (op.Stopped()) return 1;
    if (set == m.pcmSet) {
        Run(board, m.board.usbPcm);
        Run(board, m.board.enablePcm);
    } else {
        Run(board, m.board.disablePcm);
    }
    if (m.spdifSet && set == m.spdifSet) {
        TickAndRun(board, m.board.spdifMaster);
        Run(board, m.board.configBoard);
    }
    if (op.Stopped()) return 1;
    if (m.unmute) {
        Wait(0.5);
        m.unmute(output);
    }
    FlagCFGUpdate = 1;
    return 0;
}

void InitializeDevice(const PresetModel& m) {
    ChipOperation op("Initialize Device");
    RouteBoard(m);
    if (m.muteAll) m.muteAll(-1);
    PowerUp(m);
    FlagCFGUpdate = 1;
}

void RegisterModelPresetCallbacks(const PresetModel& m) {
    for (int n = 1; n <= 8; ++n) {
        if (!m.setBox[n]) continue;
        const std::string number = std::to_string(n);
        rt::RegisterCtrlCallback(NameOf(m, ("STSet" + number + "CB").c_str(), ("Set" + number + "CB").c_str()),
                                 [&m, n](int panel, int, int event, void*, int, int) {
                                     if (event == rt::EVENT_COMMIT) TickSet(m, panel, n);
                                     return 0;
                                 });
    }
    rt::RegisterCtrlCallback(NameOf(m, "STLoadSettingsCB", "LoadSettingsCB"),
                             [&m](int panel, int, int event, void*, int, int) {
                                 return event == rt::EVENT_COMMIT ? LoadSettings(m, panel) : 0;
                             });
    if (!IsMono(m) && m.powerUp)
        rt::RegisterCtrlCallback(std::string("STInitCB") + m.names, [&m](int, int, int event, void*, int, int) {
            if (event == rt::EVENT_COMMIT) InitializeDevice(m);
            return 0;
        });
}

void RegisterPresetCallbacks() {
    for (const PresetModel& m : kPresetModels) RegisterModelPresetCallbacks(m);
}

}  // namespace demo

namespace {

int NamedChoice(const char* model, int* set, int* output, char* section) {
    const demo::PresetModel& m = demo::PresetModelOf(model);
    std::string name;
    int ok = demo::GetPresetChoice(m, *m.demoPanel, set, output, &name);
    if (ok && section) {
        std::strncpy(section, name.c_str(), 120);
        section[120] = '\0';
    }
    return ok;
}

}  // namespace

int STGetPresetConfigName(int* set, int* output, char* section) { return NamedChoice("Jorb", set, output, section); }
int STGetPresetConfigNameZuta(int* set, int* output, char* section) {
    return NamedChoice("Zuta", set, output, section);
}
int STGetPresetConfigName_Jora(int* set, int* output, char* section) {
    return NamedChoice("Jora", set, output, section);
}
int STGetPresetConfigName_Qeva(int* set, int* output, char* section) {
    return NamedChoice("Qeva", set, output, section);
}
int STGetPresetConfigName_Qevb(int* set, int* output) { return NamedChoice("Qevb", set, output, nullptr); }
int STGetPresetConfigNameZutb(int* set, int* output, char* section) {
    int ignored = 0;
    return NamedChoice("Zutb", set, output ? output : &ignored, section);
}
int MNGetPresetConfigName(int* set, int* output, char* section) { return NamedChoice("Pykc", set, output, section); }
int MNPykbGetPresetConfigName(int* set, int* output, char* section) {
    return NamedChoice("Pykb", set, output, section);
}
int MNPykaGetPresetConfigName(int* set, int* output, char* section) {
    return NamedChoice("Pyka", set, output, section);
}

void STDemoInit() { demo::DemoStart(demo::PresetModelOf("Jorb")); }
void STDemoInitZuta() { demo::DemoStart(demo::PresetModelOf("Zuta")); }
void STDemoInit_Jora() { demo::DemoStart(demo::PresetModelOf("Jora")); }
void STDemoInit_Qeva() { demo::DemoStart(demo::PresetModelOf("Qeva")); }
void STDemoInit_Qevb() { demo::DemoStart(demo::PresetModelOf("Qevb")); }
void STDemoInitZutb() { demo::DemoStart(demo::PresetModelOf("Zutb")); }
void MNDemoInit() { demo::DemoStart(demo::PresetModelOf("Pykc")); }
void MNPykbDemoInit() { demo::DemoStart(demo::PresetModelOf("Pykb")); }
void MNPykaDemoInit() { demo::DemoStart(demo::PresetModelOf("Pyka")); }
