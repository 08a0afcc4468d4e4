#include "device/device_services.h"
#include "runtime/ui.h"
#include "shell/callbacks.h"

void RegisterDeviceCallbacks() {
    rt::RegisterCtrlCallback("ST3WSPIModeEnCB", ST3WSPIModeEnCB);
    rt::RegisterCtrlCallback("ST4WSPIModeEnCB", ST4WSPIModeEnCB);
    rt::RegisterCtrlCallback("STI2CModeEnCB", STI2CModeEnCB);
    rt::RegisterCtrlCallback("MN3WSPIModeEnCB", MN3WSPIModeEnCB);
    rt::RegisterCtrlCallback("MN4WSPIModeEnCB", MN4WSPIModeEnCB);
    rt::RegisterCtrlCallback("MNI2CModeEnCB", MNI2CModeEnCB);
    rt::RegisterCtrlCallback("MNPykaI2CModeEnCB", MNPykaI2CModeEnCB);
    rt::RegisterCtrlCallback("ST3WSPIModeEnCBQevb", ST3WSPIModeEnCBQevb);
    rt::RegisterCtrlCallback("ST4WSPIModeEnCBQevb", ST4WSPIModeEnCBQevb);
    rt::RegisterCtrlCallback("STI2CModeEnCBQevb", STI2CModeEnCBQevb);
    rt::RegisterCtrlCallback("STExternalCtrlCBQevb", STExternalCtrlCBQevb);
    rt::RegisterCtrlCallback("BResetCB", BResetCB);
    rt::RegisterCtrlCallback("BResetCBZuta", BResetCBZuta);
    rt::RegisterCtrlCallback("BResetCBZutb", BResetCBZutb);
    rt::RegisterCtrlCallback("BResetCBJora", BResetCBJora);
    rt::RegisterCtrlCallback("BResetCBQeva", BResetCBQeva);
    rt::RegisterCtrlCallback("BUSBPCMCB", BUSBPCMCB);
    rt::RegisterCtrlCallback("BUSBPCMCBZuta", BUSBPCMCBZuta);
    rt::RegisterCtrlCallback("BUSBPCMCBZutb", BUSBPCMCBZutb);
    rt::RegisterCtrlCallback("BUSBPCMCBJora", BUSBPCMCBJora);
    rt::RegisterCtrlCallback("BUSBPCMCBQeva", BUSBPCMCBQeva);
    rt::RegisterCtrlCallback("MNBUSBPCMCB", MNBUSBPCMCB);
    rt::RegisterCtrlCallback("MNPykbBUSBPCMCB", MNPykbBUSBPCMCB);
    rt::RegisterCtrlCallback("MNPykaBUSBPCMCB", MNPykaBUSBPCMCB);
}
