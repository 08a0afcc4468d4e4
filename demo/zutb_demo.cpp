// The Zutb demo panel's equaliser: bands in R50 to R54, bandwidth boxes in bit 8 of R51 to R53,
// and the EQ box driving the equaliser enable (R104 bit 1), as Zutb's equaliser panel does; at
// each start of the panel its sound block shows the saved play folder.
#include <string>

#include "capture/eq_panel.h"
#include "demo/demo_engine.h"
#include "demo/demo_services.h"
#include "demo/wav_block.h"
#include "panels/cfgDemoZutb_pan.h"
#include "runtime/ui.h"
#include "shell/handles.h"

namespace demo {
namespace {

using namespace ui::cfgDemoZutb_pan;

constexpr Equaliser kEqualiser = DEMO_EQUALISER(CFGDEMOZutb_ST, CF, 50, 104, 0x002);

}  // namespace

void RegisterZutbDemoCallbacks() {
    BindEqualiser("ST", "Zutb", kEqualiser);
    BindCommit("STEQPresettingCBZutb", [](int panel) {
        RunEQPresetAsCommit(PHandleSTEQZutb, CtrlInt(panel, CFGDEMOZutb_STEQPresetting));
    });
}

bool ShowZutbEQPreset(int demoPanel, int preset) {
    if (demoPanel <= 0 || demoPanel != PHandleSTDemoZutb) return false;
    rt::SetCtrlVal(demoPanel, CFGDEMOZutb_STEQPresetting, preset);
    return true;
}

}  // namespace demo

void STInitDemoPanelZutb() {
    if (PHandleSTDemoZutb <= 0) return;
    ShowSavedPlayFolder(PHandleSTDemoZutb);
    demo::SetEqToolTips(PHandleSTDemoZutb, demo::kEqualiser,
                        "  Equalizer enable (R104 bit 1):   \n  unchecked -> Equalizer off; checked -> Equalizer on  ");
}

void UpdateSTDemoPanelZutb() {
    if (PHandleSTDemoZutb > 0) demo::ShowEqualiser(PHandleSTDemoZutb, demo::kEqualiser);
}
