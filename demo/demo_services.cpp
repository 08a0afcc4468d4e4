// The demo panels' services the rest of the program calls.
#include "demo/demo_services.h"

#include "demo/stereo_demo.h"
#include "runtime/ui.h"

namespace demo {
bool ShowZutbEQPreset(int demoPanel, int preset);  // zutb_demo.cpp
}

void ShowDemoEQPreset(int demoPanel, int preset) {
    if (demo::StereoDemoOfPanel(demoPanel)) {
        rt::SetCtrlVal(demoPanel, demo::ids::STDemo_STEQPresetting, preset);
        return;
    }
    demo::ShowZutbEQPreset(demoPanel, preset);
}
