#include "demo/demo_presets.h"
#include "demo/mono_demo.h"
#include "demo/stereo_demo.h"
#include "demo/wav_block.h"
#include "shell/callbacks.h"

namespace demo {
void RegisterZutbDemoCallbacks();  // zutb_demo.cpp
}

void RegisterDemoCallbacks() {
    RegisterWavCallbacks();
    demo::RegisterStereoDemoCallbacks();
    demo::RegisterMonoDemoCallbacks();
    demo::RegisterZutbDemoCallbacks();
    demo::RegisterPresetCallbacks();
}
