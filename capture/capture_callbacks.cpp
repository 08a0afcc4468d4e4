#include "capture/capture_services.h"
#include "shell/callbacks.h"

void RegisterCaptureCallbacks() {
    RegisterInputCallbacks();
    RegisterADCCallbacks();
    RegisterALCCallbacks();
    RegisterEQCallbacks();
}
