// Demo panels, as far as the rest of the program needs them now: the mono and Zutb panels' set-up
// and refresh have nothing to do until those panels carry their controls; the Pykc demo panel's
// EQ controls follow the EQ tab.
#include "demo/demo_services.h"

#include "demo/stereo_demo.h"

#include "panels/MNDemo_pan.h"
#include "runtime/ui.h"
#include "shell/handles.h"

void STInitDemoPanelZutb() {}
void MNInitDemoPanel() {}
void MNPykaInitDemoPanel() {}
void MNPykbInitDemoPanel() {}
void UpdateSTDemoPanelZutb() {}
void UpdateMNDemoPanel() {}
void UpdateMNPykaDemoPanel() {}
void UpdateMNPykbDemoPanel() {}

void ShowMNDemoEQControls(int visible) {
    using namespace ui::MNDemo_pan;
    if (PHandleMNDemo <= 0) return;
    const int controls[] = {
        MNDEMO_MNEQPresetting,                                                            // preset ring
        MNDEMO_MNDemoEQ1CN, MNDEMO_MNDemoEQ2CN, MNDEMO_MNDemoEQ3CN, MNDEMO_MNDemoEQ4CN,  // cut-offs
        MNDEMO_MNDemoEQ5CN,
        MNDEMO_MNDemoEQ1GN, MNDEMO_MNDemoEQ2GN, MNDEMO_MNDemoEQ3GN, MNDEMO_MNDemoEQ4GN,  // gains
        MNDEMO_MNDemoEQ5GN,
        MNDEMO_MNDemoEQ2BW, MNDEMO_MNDemoEQ3BW, MNDEMO_MNDemoEQ4BW,                        // bandwidths
        MNDEMO_MNDemoEQ3DMODE,                                                            // 3D mode
        MNDEMO_EQTEXT_10, MNDEMO_EQTEXT_11, MNDEMO_EQDECORATION, MNDEMO_EQSPLITTER,
    };
    for (int id : controls) rt::SetCtrlAttribute(PHandleMNDemo, id, rt::ATTR_VISIBLE, visible ? 1 : 0);
}

// The Pykc demo panel's EQ controls write the EQ registers (not built yet): they do nothing.
int MNDemoEQBandCB(int, int, int, void*, int, int) { return 0; }

void ShowDemoEQPreset(int demoPanel, int preset) {
    if (demo::StereoDemoOfPanel(demoPanel))
        rt::SetCtrlVal(demoPanel, demo::ids::STDemo_STEQPresetting, preset);
}
