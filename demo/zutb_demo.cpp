// The Zutb demo panel's equaliser: bands in R50 to R54, bandwidth boxes in bit 8 of R51 to R53,
// and the EQ box driving the equaliser enable (R104 bit 1), as Zutb's equaliser panel does.
#include <string>

#include "capture/eq_panel.h"
#include "demo/demo_engine.h"
#include "demo/demo_services.h"
#include "panels/cfgDemoZutb_pan.h"
#include "runtime/ui.h"
#include "shell/handles.h"

namespace demo {
namespace {

using namespace ui::cfgDemoZutb_pan;

constexpr Equaliser kEqualiser = {
    {CFGDEMOZutb_STDemoEQ1GN, CFGDEMOZutb_STDemoEQ2GN, CFGDEMOZutb_STDemoEQ3GN, CFGDEMOZutb_STDemoEQ4GN,
     CFGDEMOZutb_STDemoEQ5GN},
    {CFGDEMOZutb_STDemoEQ1CF, CFGDEMOZutb_STDemoEQ2CF, CFGDEMOZutb_STDemoEQ3CF, CFGDEMOZutb_STDemoEQ4CF,
     CFGDEMOZutb_STDemoEQ5CF},
    {CFGDEMOZutb_STDemoEQ2BW, CFGDEMOZutb_STDemoEQ3BW, CFGDEMOZutb_STDemoEQ4BW},
    CFGDEMOZutb_STDemoEQ3DMODE,
    50,
    104,
    0x002,
};

void Bind(const std::string& name, std::function<void(int)> action) {
    rt::RegisterCtrlCallback(name + "Zutb", [action](int panel, int, int event, void*, int, int) {
        if (event == rt::EVENT_COMMIT) action(panel);
        return 0;
    });
}

}  // namespace

void RegisterZutbDemoCallbacks() {
    for (int band = 1; band <= 5; ++band)
        Bind("STDemoEQ" + std::to_string(band), [band](int panel) { CommitEqBand(panel, kEqualiser, band); });
    for (int band = 2; band <= 4; ++band)
        Bind("STDemoEQ" + std::to_string(band) + "BWCB",
             [band](int panel) { CommitEqBandwidth(panel, kEqualiser, band); });
    Bind("STDemoEQ3DMODECB", [](int panel) { CommitEqPath(panel, kEqualiser); });
    Bind("STEQPresettingCB", [](int panel) {
        int preset = 0;
        rt::GetCtrlVal(panel, CFGDEMOZutb_STEQPresetting, &preset);
        RunEQPresetAsCommit(PHandleSTEQZutb, preset);
    });
}

bool ShowZutbEQPreset(int demoPanel, int preset) {
    if (demoPanel <= 0 || demoPanel != PHandleSTDemoZutb) return false;
    rt::SetCtrlVal(demoPanel, CFGDEMOZutb_STEQPresetting, preset);
    return true;
}

}  // namespace demo

void STInitDemoPanelZutb() {
    if (PHandleSTDemoZutb > 0)
        demo::SetEqToolTips(PHandleSTDemoZutb, demo::kEqualiser,
                            "  unchecked -> Equalizer applied on ADC path; checked -> Equalizer applied on DAC path  ");
}

void UpdateSTDemoPanelZutb() {
    if (PHandleSTDemoZutb > 0) demo::ShowEqualiser(PHandleSTDemoZutb, demo::kEqualiser);
}
