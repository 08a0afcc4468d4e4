#include "capture/capture_services.h"
#include "shell/callbacks.h"

// The capture panels bind no control callbacks yet (their right click is the shell's).
void RegisterCaptureCallbacks() {}
