// The operations the rest of the program calls on the signal-path panels. The Jorb (and
// Jorbx) diagram runs on the path-view engine with its description; the other models' panels
// only clear the audio-interface flag and answer the right click until their descriptions come.
#include "pathview/pathview_services.h"

#include "device/device_services.h"
#include "pathview/path_model.h"
#include "runtime/ui.h"
#include "shell/state.h"

using pathview::JorbPathModel;

// ---- Jorb --------------------------------------------------------------------------------
void InitPathViewControls() { pathview::FillRings(JorbPathModel()); }
void STConstructMap() { pathview::BuildMap(JorbPathModel()); }
void STPathViewInit() { pathview::StartPathView(JorbPathModel()); }
void UpdateAllGroups() { pathview::RefreshGroups(JorbPathModel()); }
void UpdateSTPathView() { pathview::RedrawPathView(JorbPathModel()); }
int CVSCONFIGCB(int panel, int control, int event, void*, int e1, int e2) {
    return pathview::OnCanvas(JorbPathModel(), panel, control, event, e1, e2);
}

namespace {
PathCanvas JorbCanvas() { return pathview::CanvasOf(JorbPathModel()); }
}  // namespace

void DrawLine(const PathLine& line, int state) { DrawLineOn(JorbCanvas(), line, state); }
void DrawControlLine(const PathLine& line, int state) { DrawControlLineOn(JorbCanvas(), line, state, rt::VAL_DOT); }
void DrawSwitch(const PathSwitch& sw) { DrawSwitchOn(JorbCanvas(), sw, false); }
void DrawDPSTSwitch(const PathDPSTSwitch& sw) { DrawDPSTSwitchOn(JorbCanvas(), sw); }
void DrawGroup(int group) { DrawGroupOn(JorbCanvas(), SharedPathTables(), group, false); }
void DrawTriangle(int x, int y) { DrawTriangleOn(JorbCanvas(), x, y); }
void DrawJointPoint(const PathDot& dot) { DrawJointPointOn(JorbCanvas(), dot); }

// ---- models still to come ----------------------------------------------------------------
void InitPathViewControls_Jora() {}
void InitPathViewControls_Qeva() {}
void InitPathViewControlsZuta() {}
void InitPathViewControlsZutb() {}
void MNInitPathViewControls() {}
void MNPykaInitPathViewControls() {}
void MNPykbInitPathViewControls() {}
void STConstructMap_Jora() {}
void STConstructMap_Qeva() {}
void STConstructMapZuta() {}
void STConstructMapZutb() {}
void MNConstructMap() {}
void MNPykaConstructMap() {}
void MNPykbConstructMap() {}
void STPathViewInit_Jora() { FlagAudioInterfaceActive = 0; }
void STPathViewInit_Qeva() { FlagAudioInterfaceActive = 0; }
void STPathViewInitZuta() { FlagAudioInterfaceActive = 0; }
void STPathViewInitZutb() { FlagAudioInterfaceActive = 0; }
void MNPathViewInit() { FlagAudioInterfaceActive = 0; }
void MNPykaPathViewInit() { FlagAudioInterfaceActive = 0; }
void MNPykbPathViewInit() { FlagAudioInterfaceActive = 0; }
void UpdateAllGroups_Jora() {}
void UpdateAllGroups_Qeva() {}
void UpdateAllGroupsZuta() {}
void UpdateAllGroupsZutb() {}
void MNUpdateAllGroups() {}
void MNPykaUpdateAllGroups() {}
void MNPykbUpdateAllGroups() {}
void UpdateSTPathView_Jora() {}
void UpdateSTPathView_Qeva() {}
void UpdateSTPathViewZuta() {}
void UpdateSTPathViewZutb() {}
void MNUpdatePathView() {}
void MNPykaUpdatePathView() {}
void MNPykbUpdatePathView() {}

namespace {

// Right click: the block panel recorded by its own right click comes back to the front.
int RightClickOnly(int event) {
    if (event == rt::EVENT_RIGHT_CLICK) pathview::ReturnToLastPanel();
    return 0;
}

}  // namespace

int CVSCONFIGCBJora(int, int, int event, void*, int, int) { return RightClickOnly(event); }
int CVSCONFIGCBQeva(int, int, int event, void*, int, int) { return RightClickOnly(event); }
int CVSCONFIGCBZuta(int, int, int event, void*, int, int) { return RightClickOnly(event); }
int CVSCONFIGCBZutb(int, int, int event, void*, int, int) { return RightClickOnly(event); }
int MNCVSCB(int, int, int event, void*, int, int) { return RightClickOnly(event); }
int MNPykaCVSCB(int, int, int event, void*, int, int) { return RightClickOnly(event); }
int MNPykbCVSCB(int, int, int event, void*, int, int) { return RightClickOnly(event); }
