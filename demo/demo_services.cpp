// Demo panels, as far as the rest of the program needs them now: their set-up and refresh have
// nothing to do until the panels carry their controls; the Pykc demo panel's EQ controls follow
// the EQ tab.
#include "demo/demo_services.h"

#include "panels/MNDemo_pan.h"
#include "runtime/ui.h"
#include "shell/handles.h"

void STInitDemoPanel() {}
void STInitDemoPanel_Jora() {}
void STInitDemoPanel_Qeva() {}
void STInitDemoPanel_Qevb() {}
void STInitDemoPanelZuta() {}
void STInitDemoPanelZutb() {}
void MNInitDemoPanel() {}
void MNPykaInitDemoPanel() {}
void MNPykbInitDemoPanel() {}
void UpdateSTDemoPanel() {}
void UpdateSTDemoPanel_Jora() {}
void UpdateSTDemoPanel_Qeva() {}
void UpdateSTDemoPanel_Qevb() {}
void UpdateSTDemoPanelZuta() {}
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

// Not built yet: no demo panel carries the equaliser-preset ring.
void ShowDemoEQPreset(int, int) {}
