// The callback names of the main panel, its menu bar and the shell's services.
#include "runtime/ui.h"
#include "shell/about.h"
#include "shell/callbacks.h"
#include "shell/import_export.h"
#include "shell/modes.h"
#include "shell/progress.h"
#include "shell/startup.h"

void RegisterShellCallbacks() {
    rt::RegisterCtrlCallback("Quit", Quit);
    rt::RegisterCtrlCallback("TDevTickCB", TDevTickCB);
    rt::RegisterCtrlCallback("DevIDTimerCB", DevIDTimerCB);
    rt::RegisterCtrlCallback("STBoostModeWarning", STBoostModeWarning);
    rt::RegisterCtrlCallback("MNBoostModeWarning", MNBoostModeWarning);

    rt::RegisterMenuCallback("SkipRead", SkipRead);
    rt::RegisterMenuCallback("SPI3WModeCB", SPI3WModeCB);
    rt::RegisterMenuCallback("SPI4WModeCB", SPI4WModeCB);
    rt::RegisterMenuCallback("I2CModeCB", I2CModeCB);
    rt::RegisterMenuCallback("DoAbout", DoAbout);
    rt::RegisterMenuCallback("ImportCB", ImportCB);
    rt::RegisterMenuCallback("ExportCB", ExportCB);

    rt::SetBusyObserver(ShowOperationProgress);
}
