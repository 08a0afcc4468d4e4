// Binds every callback name of the device-control panels and of the Qevb board block.
#include "device/device_services.h"
#include "runtime/ui.h"
#include "shell/callbacks.h"

void RegisterDeviceCallbacks() {
#define DEVICE_REGISTER_CALLBACK(name, model, op) rt::RegisterCtrlCallback(#name, name);
    DEVICE_BOARD_CALLBACKS(DEVICE_REGISTER_CALLBACK)
    DEVICE_POWER_CALLBACKS(DEVICE_REGISTER_CALLBACK)
#undef DEVICE_REGISTER_CALLBACK
}
