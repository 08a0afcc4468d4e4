// Signal-path panels, as far as the rest of the program needs them now: the diagrams are not
// drawn yet, so building, initialising and redrawing them has nothing to do but clear the
// audio-interface flag; a right click on a path canvas returns to the block panel it came from.
#include "pathview/pathview_services.h"

#include "device/device_services.h"
#include "runtime/ui.h"
#include "shell/state.h"

void InitPathViewControls() {}
void InitPathViewControls_Jora() {}
void InitPathViewControls_Qeva() {}
void InitPathViewControlsZuta() {}
void InitPathViewControlsZutb() {}
void MNInitPathViewControls() {}
void MNPykaInitPathViewControls() {}
void MNPykbInitPathViewControls() {}
void STConstructMap() {}
void STConstructMap_Jora() {}
void STConstructMap_Qeva() {}
void STConstructMapZuta() {}
void STConstructMapZutb() {}
void MNConstructMap() {}
void MNPykaConstructMap() {}
void MNPykbConstructMap() {}
void STPathViewInit() { FlagAudioInterfaceActive = 0; }
void STPathViewInit_Jora() { FlagAudioInterfaceActive = 0; }
void STPathViewInit_Qeva() { FlagAudioInterfaceActive = 0; }
void STPathViewInitZuta() { FlagAudioInterfaceActive = 0; }
void STPathViewInitZutb() { FlagAudioInterfaceActive = 0; }
void MNPathViewInit() { FlagAudioInterfaceActive = 0; }
void MNPykaPathViewInit() { FlagAudioInterfaceActive = 0; }
void MNPykbPathViewInit() { FlagAudioInterfaceActive = 0; }
void UpdateAllGroups() {}
void UpdateAllGroups_Jora() {}
void UpdateAllGroups_Qeva() {}
void UpdateAllGroupsZuta() {}
void UpdateAllGroupsZutb() {}
void MNUpdateAllGroups() {}
void MNPykaUpdateAllGroups() {}
void MNPykbUpdateAllGroups() {}
void UpdateSTPathView() {}
void UpdateSTPathView_Jora() {}
void UpdateSTPathView_Qeva() {}
void UpdateSTPathViewZuta() {}
void UpdateSTPathViewZutb() {}
void MNUpdatePathView() {}
void MNPykaUpdatePathView() {}
void MNPykbUpdatePathView() {}

namespace {

// Right click on a path canvas: the block panel recorded by its own right click comes back to
// the front. Left clicks belong to the diagram (not drawn yet).
int PathCanvas(int event) {
    if (event != rt::EVENT_RIGHT_CLICK) return 0;
    if (PHandleLastPanel <= 0 || PHandleLastPanel == PHandlePanel || PHandlePanel <= 0 || tabCtrl <= 0) return 0;
    rt::EasyTab_SetAttribute(PHandlePanel, tabCtrl, rt::ATTR_EASY_TAB_ACTIVE_PANEL, PHandleLastPanel);
    rt::EasyTab_SetTabAttribute(PHandlePanel, tabCtrl, PHandleLastPanel, rt::ATTR_EASY_TAB_VISIBLE, 1);
    return 0;
}

}  // namespace

int CVSCONFIGCB(int, int, int event, void*, int, int) { return PathCanvas(event); }
int CVSCONFIGCBJora(int, int, int event, void*, int, int) { return PathCanvas(event); }
int CVSCONFIGCBQeva(int, int, int event, void*, int, int) { return PathCanvas(event); }
int CVSCONFIGCBZuta(int, int, int event, void*, int, int) { return PathCanvas(event); }
int CVSCONFIGCBZutb(int, int, int event, void*, int, int) { return PathCanvas(event); }
int MNCVSCB(int, int, int event, void*, int, int) { return PathCanvas(event); }
int MNPykaCVSCB(int, int, int event, void*, int, int) { return PathCanvas(event); }
int MNPykbCVSCB(int, int, int event, void*, int, int) { return PathCanvas(event); }
