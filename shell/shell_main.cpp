#include "shell/shell_main.h"

#include "link/usbcomvunt.h"
#include "runtime/ui.h"
#include "shell/model_select.h"
#include "shell/startup.h"

int ShellMain(int /*argc*/, char** /*argv*/) {
    if (ShellStartup() != 0) return -1;
    // The window would otherwise give its focus to its first control, Quit.
    SetInitialFocus();
    rt::RunUserInterface();
    // Quit has stopped the listener and released the board; a loop ended another way (the
    // window closed) must not leave them running either. Both are harmless when repeated.
    StopListening();
    ReleaseUSB();
    return 0;
}
