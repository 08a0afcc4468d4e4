// Names of the model choice, the home button, the refresh timers, the tab control and the
// right click of every tab panel.
#include "runtime/ui.h"
#include "shell/callbacks.h"
#include "shell/model_select.h"
#include "shell/timers.h"

namespace {

// Every tab panel's own callback: a right click leads to the model's path panel.
constexpr const char* kTabPanelCallbacks[] = {
    // device control
    "PSTDEVCTRLCB", "PSTDEVCTRLCBJora", "PSTDEVCTRLCBQeva", "PSTDEVCTRLCBZuta", "PSTDEVCTRLCBZutb",
    "MNDevCtrlCB", "MNPykaDevCtrlCB", "MNPykbDevCtrlCB",
    // DAC and output
    "CFGDACCB", "CFGDACCBJora", "CFGDACCBQeva", "CFGDACCBZuta", "CFGDACCBZutb", "MNDACCB", "MNPykaDACCB",
    "MNPykbDACCB", "CFGOUTPUTCB", "CFGOUTCBJora", "CFGOUTCBQeva", "CFGOUTPUTCBZuta", "CFGOUTPUTCBZutb",
    "MNOutputCB", "MNPykaOutputCB", "MNPykbOutputCB",
    // input, ADC filter, ALC, EQ
    "CFGINSIGCB", "CFGINCBJora", "CFGINSIGCBZuta", "CFGINSIGCBZutb", "MNInputCB", "MNPykaInputCB",
    "MNPykbInputCB", "CFGADCFILTCB", "CFGADCCBJora", "CFGADCFILTCBZuta", "CFGADCFILTCBZutb", "MNADCCB",
    "MNPykaADCCB", "MNPykbADCCB", "CFGALCCB", "CFGALCCBJora", "CFGALCCBZuta", "CFGALCCBZutb", "MNALCCB",
    "MNPykaALCCB", "MNPykbALCCB", "CFGEQCB", "CFGEQCBJora", "CFGEQCBQeva", "CFGEQCBZuta", "CFGEQCBZutb",
    "MNEQCB",
    // demo
    "STDemoCB", "STDemoCBJora", "STDemoCBQeva", "STDemoCBQevb", "STDemoCBZuta", "STDemoCBZutb", "MNDemoCB",
    "MNPykaDemoCB", "MNPykbDemoCB",
    // register map
    "CFGREGMAPCB", "CFGREGMAPCBZuta", "CFGREGMAPCBZutb", "CFGMAPCBJora", "CFGMAPCBQeva", "CFGMAPCBPykc",
    "CFGMAPCBPyka", "CFGMAPCBPykb",
};

}  // namespace

void RegisterModelCallbacks() {
    rt::RegisterCtrlCallback("SelectMono", SelectMono);
    rt::RegisterCtrlCallback("SelectMonoPykd", SelectMonoPykd);
    rt::RegisterCtrlCallback("SelectMonoPykb", SelectMonoPykb);
    rt::RegisterCtrlCallback("SelectMonoPyka", SelectMonoPyka);
    rt::RegisterCtrlCallback("SelectStereoJorb", SelectStereoJorb);
    rt::RegisterCtrlCallback("SelectStereoJora", SelectStereoJora);
    rt::RegisterCtrlCallback("SelectStereoQeva", SelectStereoQeva);
    rt::RegisterCtrlCallback("SelectStereoQevb", SelectStereoQevb);
    rt::RegisterCtrlCallback("SelectStereoZuta", SelectStereoZuta);
    rt::RegisterCtrlCallback("SelectStereoZutb", SelectStereoZutb);
    rt::RegisterMenuCallback("MonoCB", MonoCB);
    rt::RegisterMenuCallback("MonoCBPyka", MonoCBPyka);
    rt::RegisterMenuCallback("MonoCBPykb", MonoCBPykb);
    rt::RegisterMenuCallback("StereoCBJorb", StereoCBJorb);
    rt::RegisterMenuCallback("StereoCBJora", StereoCBJora);
    rt::RegisterMenuCallback("StereoCBQeva", StereoCBQeva);
    rt::RegisterMenuCallback("StereoCBQevb", StereoCBQevb);
    rt::RegisterMenuCallback("StereoCBZuta", StereoCBZuta);
    rt::RegisterMenuCallback("StereoCBZutb", StereoCBZutb);
    rt::RegisterCtrlCallback("cbHome", cbHome);
    rt::RegisterCtrlCallback("STTIMERCB", STTIMERCB);
    rt::RegisterCtrlCallback("MNTIMERCB", MNTIMERCB);
    rt::RegisterCtrlCallback("TabCallBack", TabCallBack);
    for (const char* name : kTabPanelCallbacks) rt::RegisterPanelCallback(name, TabPanelRightClickCB);
}
