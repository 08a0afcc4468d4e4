#include "shell/modes.h"

#include <string>
#include <vector>

#include "device/device_services.h"
#include "link/chip_operation.h"
#include "link/usbcomvunt.h"
#include "link/write_action.h"
#include "panels/AudioCodec_pan.h"
#include "runtime/ui.h"
#include "shell/guarded_reads.h"
#include "shell/handles.h"
#include "shell/state.h"

using namespace ui::AudioCodec_pan;

namespace {

// ---- Mode menu ---------------------------------------------------------------------------

const int kCommModeItems[] = {MENUBAR_MODE_SPI3WMode, MENUBAR_MODE_SPI4WMode, MENUBAR_MODE_I2CMode};

// Marks the chosen item only, then carries the choice out on the loaded model's own panel.
void ChooseCommMode(int menuBar, int chosenItem, uint8_t mode) {
    for (int item : kCommModeItems)
        rt::SetMenuBarAttribute(menuBar, item, rt::ATTR_CHECKED, item == chosenItem ? 1 : 0);
    ModeMenuChoice(mode);
}

// ---- chip identification -----------------------------------------------------------------

constexpr int kIdentityRegister = 0x3E;
constexpr int kIdDimsMono = 0xFD;    // dims the Pyka, Pykc and Pykd choices
constexpr int kIdDimsStereo = 0xFE;  // dims the Jorb, Jora and Qeva choices

// The three ways to choose each model of a family: Device menu item, picture button, caption.
struct FamilyChoices {
    int menuItems[3];
    int buttons[3];
    int captions[3];
};
const FamilyChoices kMonoChoices{
    {MENUBAR_DEVICE_MonoPyka, MENUBAR_DEVICE_Mono, MENUBAR_DEVICE_MonoPykd},
    {PANEL_PB_Pyka, PANEL_PB_Pykc, PANEL_PB_Pykd},
    {PANEL_TEXT_KorPyka, PANEL_TEXT_KorPykc, PANEL_TEXT_KorPykd}};
const FamilyChoices kStereoChoices{
    {MENUBAR_DEVICE_StereoJorb, MENUBAR_DEVICE_StereoJora, MENUBAR_DEVICE_StereoQeva},
    {PANEL_PB_Jorb, PANEL_PB_Jora, PANEL_PB_Qeva},
    {PANEL_TEXT_KorJorb, PANEL_TEXT_KorJora, PANEL_TEXT_KorQeva}};

void DimChoices(const FamilyChoices& family, int dimmed) {
    for (int i = 0; i < 3; ++i) {
        if (PHandleMenu > 0) rt::SetMenuBarAttribute(PHandleMenu, family.menuItems[i], rt::ATTR_DIMMED, dimmed);
        if (PHandlePanel > 0) {
            rt::SetCtrlAttribute(PHandlePanel, family.buttons[i], rt::ATTR_DIMMED, dimmed);
            rt::SetCtrlAttribute(PHandlePanel, family.captions[i], rt::ATTR_DIMMED, dimmed);
        }
    }
}

// ---- audio-id probe ----------------------------------------------------------------------

constexpr const char* kIdentityStep = "Reading the board's identity at start-up";
constexpr const char* kAudioIdProbe = "Audio ID probe";
constexpr const char* kStartupJorbMode = "Setting the Jorb communication mode at start-up";
constexpr const char* kPluggedInJorbMode = "Setting the Jorb communication mode of the board plugged in";
constexpr const char* kPluggedInMode = "Setting the communication mode of the board plugged in";
// A step the board stopped while no model is chosen (at start-up, before the window shows; or the
// mode of a board plugged in then): all the user can do is choose a model, which configures the
// board again. A board that went away gets its communication mode when it is back, as any board
// plugged in.
const std::string kStartupStepStopped = std::string(kPanelMayDiffer) + " Choosing a model configures the board again.";
constexpr const char* kStartupStepGone =
    "Until the board is connected again nothing reaches the chip. Once it is back, the program sets its "
    "communication mode itself, and choosing a model configures the board again.";
constexpr int kStartIdentityAnswer = 0x1A;  // register 0x5F of a board that needs no probe
constexpr int kRegisterAllOnes = 0x1FF;
constexpr const char* kStartupReadFailedTitle = "Read failed";
constexpr uint8_t kAudioIdRegister = 0x3F;
constexpr uint8_t kAudioIdAnswer = 0x1A;

void SendBoardConfig(uint8_t first, uint8_t second) {
    const uint8_t word[2] = {first, second};
    USBSend(CMD_BOARD_CONFIG, 2, word);
}

// ---- boost warnings ----------------------------------------------------------------------

int BoostModeWarning(int panel, int control, int event, const char* jumper) {
    if (event != rt::EVENT_COMMIT) return 0;
    int ticked = 0;
    rt::GetCtrlVal(panel, control, &ticked);
    const std::string adjust = std::string("Please adjust ") + jumper;
    if (ticked == 0)
        rt::MessagePopup("Warning Device is set for 5V mode!", (adjust + " for 5 Volt Speaker Ouput").c_str());
    else
        rt::MessagePopup("Warning Device is set for 3V mode!", (adjust + " for 3.3 Volt Speaker Ouput").c_str());
    return 0;
}

// The Jorb mode while no model is chosen, as the operation `step`: no panel of a model is there to
// point to, only the choice of a model.
void ApplyJorbModeWithNoModel(const char* step) {
    ChipOperation mode(step);
    SetStoppedOperationLastWords(kStartupStepStopped, kStartupStepGone);
    EnableCommModeJorb();
}

// What the start-up does next without the identity's answer, as the popup that tells the missing
// answer says it ("answer" or "answers").
std::string StartupGoesOnWithout(const char* answer) {
    std::string words = std::string("The start-up goes on without the ") + answer;
    if (IdentityCallsForProbe()) return words + ", with the audio ID probe next.";
    if (IdentityCallsForJorbMode()) return words + ", with the Jorb communication mode next.";
    return words + ".";
}

}  // namespace

void SkipRead(int menuBar, int menuItem, void*, int) {
    int checked = 0;
    rt::GetMenuBarAttribute(menuBar, menuItem, rt::ATTR_CHECKED, &checked);
    checked = checked ? 0 : 1;
    rt::SetMenuBarAttribute(menuBar, menuItem, rt::ATTR_CHECKED, checked);
    QuillonMode = static_cast<uint8_t>(checked);
}

void SPI3WModeCB(int menuBar, int, void*, int) { ChooseCommMode(menuBar, MENUBAR_MODE_SPI3WMode, COMM_SPI3W); }
void SPI4WModeCB(int menuBar, int, void*, int) { ChooseCommMode(menuBar, MENUBAR_MODE_SPI4WMode, COMM_SPI4W); }
void I2CModeCB(int menuBar, int, void*, int) { ChooseCommMode(menuBar, MENUBAR_MODE_I2CMode, COMM_I2C); }

void EnableCommMode() {
    switch (UILoaded) {
        case UI_PYKC: EnableCommModePykc(); break;
        case UI_JORB: EnableCommModeJorb(); break;
        case UI_JORA: EnableCommModeJora(); break;
        case UI_QEVA: EnableCommModeQeva(); break;
        case UI_PYKA: EnableCommModePyka(); break;
        case UI_QEVB: EnableCommModeQevb(); break;
        case UI_ZUTA: EnableCommModeZuta(); break;
        case UI_ZUTB: EnableCommModeZutb(); break;
        default: break;  // none loaded, or the Pykb set
    }
}

int DevIDTimerCB(int panel, int control, int event, void*, int, int) {
    if (event != rt::EVENT_TIMER_TICK) return 0;
    // Identification only serves the first choice of a model; a chosen model (from the Device
    // menu too) ends it, so register 1 is no longer rewritten behind the user's back.
    if (UILoaded != UI_NONE || g_dev_type != DEV_NONE) {
        rt::SetCtrlAttribute(panel, control, rt::ATTR_ENABLED, 0);
        return 0;
    }
    if (QuillonMode == 1) return 0;
    int id = 0;
    if (CommMode == COMM_SPI4W || CommMode == COMM_I2C) {
        // Without an open board the read cannot succeed; count it as failed without the wait.
        id = (bDeviceOpened & 1) ? ZelqxReadOneReg(kIdentityRegister) : -1;
    }
    CheckDeviceID(id);
    return 0;
}

void CheckDeviceID(int id) {
    if (id == kIdDimsMono) {
        DimChoices(kMonoChoices, 1);
    } else if (id == kIdDimsStereo) {
        DimChoices(kStereoChoices, 1);
    } else {
        // A failed read says nothing about the chip: offer every choice but write nothing to it.
        if (id >= 0) {
            CFG_REG[1] |= 0x0Fu;
            ZelqxWriteOneReg(1);
        }
        DimChoices(kMonoChoices, 0);
        DimChoices(kStereoChoices, 0);
    }
}

void ReadStartIdentity() {
    // One step: a read the board refuses (or that it goes away under) stops it, and one popup
    // names it; a read the board does not answer as asked is told by one popup at its end. A slot
    // not read keeps what it held, so the copy never holds a value no register can have.
    std::vector<int> unread;
    {
        ChipOperation step(kIdentityStep);
        for (const int reg : {7, 0x5F}) {
            const int value = ReadZelqxOneReg(reg);
            if (step.Stopped()) break;
            if (value >= 0)
                CFG_REG[reg] = static_cast<uint32_t>(value);
            else
                unread.push_back(reg);
        }
        if (step.Stopped()) {
            SetStoppedOperationLastWords(StartupGoesOnWithout(unread.empty() ? "answer" : "answers"), kStartupStepGone);
            return;
        }
    }
    if (unread.empty()) return;
    std::string text = std::string("\"") + kIdentityStep + "\": ";
    text += unread.size() == 1 ? (unread[0] == 7 ? "R7" : "R95") : "R7 and R95";
    text += " could not be read from the board.\n\n";
    text += StartupGoesOnWithout(unread.size() == 1 ? "answer" : "answers");
    rt::MessagePopup(kStartupReadFailedTitle, text.c_str());
}

bool IdentityCallsForProbe() { return CFG_REG[7] != kRegisterAllOnes && CFG_REG[95] != kStartIdentityAnswer; }

bool IdentityCallsForJorbMode() { return CFG_REG[95] != kRegisterAllOnes && CFG_REG[95] != kStartIdentityAnswer; }

bool DoAudioID() {
    // One operation: the first send the board refuses stops the probe, and one popup names it.
    ChipOperation probe(kAudioIdProbe);
    SetStoppedOperationLastWords(kStartupStepStopped, kStartupStepGone);
    SendBoardConfig(0xD7, 0xFF);
    PauseInAction(0.3);
    if (WriteRegisterStep(7, CFG_REG[7] & ~0x100u)) PauseInAction(0.3);
    SendBoardConfig(0xF7, 0xFF);  // bit 5 of the first byte set
    PauseInAction(0.3);
    const uint8_t request = kAudioIdRegister;
    USBSend(CMD_AUDIO_ID, 1, &request);
    PauseInAction(1.0);
    if (probe.Stopped()) return false;
    uint8_t reply[2] = {0, 0};
    if (USBRead(2, reply) == 1 && reply[1] == kAudioIdAnswer) bDeviceOpened |= 2;
    return true;
}

void ApplyJorbModeAtStartup() { ApplyJorbModeWithNoModel(kStartupJorbMode); }

void ApplyModeOfPluggedInBoard() {
    if (UILoaded == UI_NONE) {
        ApplyJorbModeWithNoModel(kPluggedInJorbMode);
        return;
    }
    ChipOperation mode(kPluggedInMode);
    EnableCommMode();
}

int STBoostModeWarning(int panel, int control, int event, void*, int, int) {
    return BoostModeWarning(panel, control, event, "J-25");
}

int MNBoostModeWarning(int panel, int control, int event, void*, int, int) {
    return BoostModeWarning(panel, control, event, "J-20");
}
