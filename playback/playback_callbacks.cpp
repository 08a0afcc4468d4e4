#include "playback/playback_services.h"
#include "shell/callbacks.h"

void RegisterPlaybackCallbacks() {
    RegisterDACCallbacks();
    RegisterOutputCallbacks();
}
