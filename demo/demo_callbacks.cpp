#include "demo/demo_services.h"
#include "demo/stereo_demo.h"
#include "demo/wav_block.h"
#include "runtime/ui.h"
#include "shell/callbacks.h"

void RegisterDemoCallbacks() {
    RegisterWavCallbacks();
    demo::RegisterStereoDemoCallbacks();
    // Not built yet: the Pykc demo panel's EQ controls do nothing.
    for (const char* name : {"MNDemoEQ1", "MNDemoEQ2", "MNDemoEQ3", "MNDemoEQ4", "MNDemoEQ5", "MNDemoEQ2BWCB",
                             "MNDemoEQ3BWCB", "MNDemoEQ4BWCB", "MNDemoEQ3DMODECB"})
        rt::RegisterCtrlCallback(name, MNDemoEQBandCB);
}
