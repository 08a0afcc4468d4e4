// The register-map buttons: single codec register read and write, "Read All and Update ", the
// bridge registers, the display ring, "Try" and the right click back to the path panel.
#include "regmap/regmap_panel.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "device/bridge.h"
#include "link/chip_operation.h"
#include "link/usbcomvunt.h"
#include "runtime/ui.h"
#include "shell/guarded_reads.h"
#include "shell/progress.h"
#include "shell/state.h"

namespace regmap {
namespace {

const char* const kReadFailedTitle = "Read failed";
const char* const kInvalidAddressTitle = "Invalid address";

// While a read-all runs, failed single reads are counted and reported once at its end.
int readAllDepth = 0;
int readAllFailures = 0;

const char* const kNotAttachedText = "The evaluation board is not attached: no register was read.\nThe register map "
                                     "keeps its values.";

void ReportFailedRead(int reg) {
    if (readAllDepth > 0) {
        ++readAllFailures;
        return;
    }
    char text[160];
    std::snprintf(text, sizeof text,
                  bDeviceOpened == 0
                      ? "The evaluation board is not attached: register 0x%02X was not read.\nThe register map keeps "
                        "its value."
                      : "Register 0x%02X could not be read from the board.\nThe register map keeps its value.",
                  reg);
    rt::MessagePopup(kReadFailedTitle, text);
}

// The end of a read-all that missed `failures` registers: told once, by the operation it belongs
// to when that stopped (its popup counts them), else by a popup of its own.
void ReportFailedReadAll(int failures, bool disconnected) {
    if (failures <= 0 || NoteRegistersNotRead(failures)) return;
    char text[200];
    std::snprintf(text, sizeof text,
                  disconnected ? "The evaluation board was disconnected: %d register(s) could not be read from it.\n"
                                 "The register map keeps their values."
                               : "%d register(s) could not be read from the board.\nThe register map keeps their "
                                 "values.",
                  failures);
    rt::MessagePopup(kReadFailedTitle, text);
}

// A read refused by the mode (write-only, 3-wire SPI) has shown its own popup.
bool ReadRefusedByMode() { return QuillonMode != 0 || CommMode == COMM_SPI3W; }

// The register number in the address box, or -1 (with a popup) when the model has no such
// register.
int AddressFromBox(const RegMapModel& m, int panel) {
    int address = -1;
    rt::GetCtrlVal(panel, m.ids.address, &address);
    if (address < 0 || address > m.maxRegister) {
        char text[160];
        std::snprintf(text, sizeof text, "Register %d is not a register of this chip (0 to %d).", address,
                      m.maxRegister);
        rt::MessagePopup(kInvalidAddressTitle, text);
        return -1;
    }
    return address;
}

int BridgeAddress(const RegMapModel& m, int panel) {
    int address = 0;
    rt::GetCtrlVal(panel, m.ids.bridgeAddress, &address);
    return address & 0xFFFF;
}

}  // namespace

int SingleRead(const RegMapModel& m, int panel, int event) {
    if (event != rt::EVENT_COMMIT || panel <= 0) return 0;
    const int address = AddressFromBox(m, panel);
    if (address < 0) return 0;
    const bool refused = ReadRefusedByMode();
    const int value = ZelqxReadOneReg(address);
    if (value < 0) {
        if (!refused) ReportFailedRead(address);
        return 0;
    }
    rt::SetCtrlVal(panel, m.ids.value, value & 0x1FF);
    CFG_REG[address] = static_cast<uint32_t>(value);
    if (panel == *m.panel) RefreshTable(m);
    return 0;
}

int SingleWrite(const RegMapModel& m, int panel, int event) {
    if (event != rt::EVENT_COMMIT || panel <= 0) return 0;
    const int address = AddressFromBox(m, panel);
    if (address < 0) return 0;
    int value = 0;
    rt::GetCtrlVal(panel, m.ids.value, &value);
    if (value < 0 || value > 0x1FF) {
        rt::MessagePopup("Invalid value", "A register value lies between 0x000 and 0x1FF.\nNothing was written.");
        return 0;
    }
    CFG_REG[address] = static_cast<uint32_t>(value);
    ZelqxWriteOneReg(address);
    SetFlag(&FlagCFGUpdate);
    return 0;
}

int ReadAll(const RegMapModel& m, int panel, int event) {
    if (event != rt::EVENT_COMMIT) return 0;
    int buffer[100] = {};
    if (ReadRefusedByMode()) {
        ZelqxReadAllReg(buffer);  // refuses with the mode's popup, without traffic
        return 0;
    }
    // Without a board nothing can be read (a stopped operation has said why already).
    const bool wasOpen = bDeviceOpened != 0;
    if (!wasOpen && readAllDepth == 0 && !ChipOperationStopped()) {
        rt::MessagePopup(kReadFailedTitle, kNotAttachedText);
        return 0;
    }
    const bool button = panel > 0 && m.ids.readAll != 0;
    int colour = 0;
    if (button) {
        rt::GetCtrlAttribute(panel, m.ids.readAll, rt::ATTR_CMD_BUTTON_COLOR, &colour);
        rt::SetCtrlAttribute(panel, m.ids.readAll, rt::ATTR_CMD_BUTTON_COLOR, rt::VAL_GREEN);
        rt::ProcessDrawEvents();
    }
    ++readAllDepth;
    if (readAllDepth == 1) readAllFailures = 0;

    if (m.readsUpperRegisters) {
        const int value = ZelqxReadOneReg(0);
        if (value >= 0)
            CFG_REG[0] = static_cast<uint32_t>(value);
        else
            ReportFailedRead(0);
    }
    // Register 0 is read through the Jorb register map's single read (a failure counts above).
    // The modes that cannot read were refused above, so the blocks are read as far as they answer.
    const int read = ReadZelqxRegisterBlocks(buffer);
    for (int r = 1; r <= read; ++r) CFG_REG[r] = static_cast<uint32_t>(buffer[r - 1]);
    readAllFailures += 63 - read;
    if (m.readsUpperRegisters) {
        StartProgressBar("64..113", 50);
        for (int reg = 64; reg <= 113; ++reg) {
            const int value = ZelqxReadOneReg(reg);
            if (value >= 0)
                CFG_REG[reg] = static_cast<uint32_t>(value);
            else
                ReportFailedRead(reg);
            rt::Delay(0.01);
            ForwardProgress(1);
        }
    }

    const int failures = readAllFailures;
    if (--readAllDepth == 0) readAllFailures = 0;
    if (button) rt::SetCtrlAttribute(panel, m.ids.readAll, rt::ATTR_CMD_BUTTON_COLOR, colour);
    SetFlag(&FlagCFGUpdate);
    if (readAllDepth == 0) ReportFailedReadAll(failures, wasOpen && bDeviceOpened == 0);
    return 0;
}

// The bridge registers go through the device-control module's record of what the board holds,
// so a control put back after a refusal, there or here, shows what the board has.
int BridgeRead(const RegMapModel& m, int panel, int event) {
    if (event != rt::EVENT_COMMIT || panel <= 0 || m.ids.bridgeAddress == 0) return 0;
    const int address = BridgeAddress(m, panel);
    uint8_t reply = 0;
    if (!device::ReadBridgeRegister(address, &reply)) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "Bridge register 0x%04X could not be read from the board.\nThe value box keeps its value.",
                      address);
        rt::MessagePopup(kReadFailedTitle, text);
        return 0;
    }
    rt::SetCtrlVal(panel, m.ids.bridgeValue, static_cast<int>(reply));
    return 0;
}

int BridgeWrite(const RegMapModel& m, int panel, int event) {
    if (event != rt::EVENT_COMMIT || panel <= 0 || m.ids.bridgeAddress == 0) return 0;
    device::WriteBridgeRegisterFromBoxes(panel, m.ids.bridgeAddress, m.ids.bridgeValue, "Bridge Register Value");
    return 0;
}

int DisplayRing(const RegMapModel& m, int panel, int event) {
    if (event != rt::EVENT_COMMIT || panel <= 0 || m.ids.displayRing == 0) return 0;
    int hex = 0;
    rt::GetCtrlVal(panel, m.ids.displayRing, &hex);
    rt::SetCtrlAttribute(panel, m.ids.value, rt::ATTR_FORMAT, hex ? rt::VAL_HEX_FORMAT : rt::VAL_DECIMAL_FORMAT);
    return 0;
}

// Shows the picture "check.ico" of the project folder in the cell of column 4, row 2; without
// the file the cell stays as it is.
int TryPicture(const RegMapModel& m, int panel, int event) {
    if (event != rt::EVENT_COMMIT || panel <= 0) return 0;
    const std::string path = rt::MakePathname(rt::GetProjectDir(), "check.ico");
    rt::SetTableCellPictureFromFile(panel, m.ids.table, rt::MakePoint(4, 2), path.c_str());
    return 0;
}

int RightClick(const RegMapModel& m, int panel, int event) {
    if (event != rt::EVENT_RIGHT_CLICK) return 0;
    const int path = *m.pathPanel;
    if (path <= 0 || PHandlePanel <= 0 || tabCtrl <= 0) return 0;
    rt::EasyTab_SetAttribute(PHandlePanel, tabCtrl, rt::ATTR_EASY_TAB_ACTIVE_PANEL, path);
    rt::EasyTab_SetTabAttribute(PHandlePanel, tabCtrl, path, rt::ATTR_EASY_TAB_VISIBLE, 1);
    PHandleLastPanel = panel;
    return 0;
}

}  // namespace regmap
