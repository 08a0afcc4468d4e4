#include "shell/callbacks.h"

void RegisterAllCallbacks() {
    RegisterShellCallbacks();
    RegisterModelCallbacks();
    RegisterRegMapCallbacks();
    RegisterPathViewCallbacks();
    RegisterDeviceCallbacks();
    RegisterPlaybackCallbacks();
    RegisterCaptureCallbacks();
    RegisterDemoCallbacks();
}
