// The callback names of the main panel, its menu bar and the shell's services.
#include "runtime/ui.h"
#include "shell/about.h"
#include "shell/callbacks.h"
#include "shell/modes.h"
#include "shell/startup.h"

namespace {

// Settings import and export are not available yet: their Config-menu items stay dimmed until
// a model is chosen, and choosing them then does nothing.
void SettingsExchangeNotAvailable(int, int, void*, int) {}

}  // namespace

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
    rt::RegisterMenuCallback("ImportCB", SettingsExchangeNotAvailable);
    rt::RegisterMenuCallback("ExportCB", SettingsExchangeNotAvailable);
}
