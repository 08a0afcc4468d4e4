#include "playback/playback_services.h"
#include "runtime/ui.h"
#include "shell/callbacks.h"

void RegisterPlaybackCallbacks() {
    // Not built yet: does nothing.
    rt::RegisterCtrlCallback("STClockCB", STClockCB);
}
