// The operations the rest of the program calls on the signal-path panels: every model's
// diagram runs on the path-view engine with that model's description.
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

// ---- the other models ------------------------------------------------------------------
void InitPathViewControls_Jora() { pathview::FillRings(pathview::JoraPathModel()); }
void InitPathViewControls_Qeva() { pathview::FillRings(pathview::QevaPathModel()); }
void InitPathViewControlsZuta() { pathview::FillRings(pathview::ZutaPathModel()); }
void InitPathViewControlsZutb() { pathview::FillRings(pathview::ZutbPathModel()); }
void MNInitPathViewControls() { pathview::FillRings(pathview::MonoPathModel()); }
void MNPykaInitPathViewControls() { pathview::FillRings(pathview::MonoPykaPathModel()); }
void MNPykbInitPathViewControls() { pathview::FillRings(pathview::MonoPykbPathModel()); }
void STConstructMap_Jora() { pathview::BuildMap(pathview::JoraPathModel()); }
void STConstructMap_Qeva() { pathview::BuildMap(pathview::QevaPathModel()); }
void STConstructMapZuta() { pathview::BuildMap(pathview::ZutaPathModel()); }
void STConstructMapZutb() { pathview::BuildMap(pathview::ZutbPathModel()); }
void MNConstructMap() { pathview::BuildMap(pathview::MonoPathModel()); }
void MNPykaConstructMap() { pathview::BuildMap(pathview::MonoPykaPathModel()); }
void MNPykbConstructMap() { pathview::BuildMap(pathview::MonoPykbPathModel()); }
void STPathViewInit_Jora() { pathview::StartPathView(pathview::JoraPathModel()); }
void STPathViewInit_Qeva() { pathview::StartPathView(pathview::QevaPathModel()); }
void STPathViewInitZuta() { pathview::StartPathView(pathview::ZutaPathModel()); }
void STPathViewInitZutb() { pathview::StartPathView(pathview::ZutbPathModel()); }
void MNPathViewInit() { pathview::StartPathView(pathview::MonoPathModel()); }
void MNPykaPathViewInit() { pathview::StartPathView(pathview::MonoPykaPathModel()); }
void MNPykbPathViewInit() { pathview::StartPathView(pathview::MonoPykbPathModel()); }
void UpdateAllGroups_Jora() { pathview::RefreshGroups(pathview::JoraPathModel()); }
void UpdateAllGroups_Qeva() { pathview::RefreshGroups(pathview::QevaPathModel()); }
void UpdateAllGroupsZuta() { pathview::RefreshGroups(pathview::ZutaPathModel()); }
void UpdateAllGroupsZutb() { pathview::RefreshGroups(pathview::ZutbPathModel()); }
void MNUpdateAllGroups() { pathview::RefreshGroups(pathview::MonoPathModel()); }
void MNPykaUpdateAllGroups() { pathview::RefreshGroups(pathview::MonoPykaPathModel()); }
void MNPykbUpdateAllGroups() { pathview::RefreshGroups(pathview::MonoPykbPathModel()); }
void UpdateSTPathView_Jora() { pathview::RedrawPathView(pathview::JoraPathModel()); }
void UpdateSTPathView_Qeva() { pathview::RedrawPathView(pathview::QevaPathModel()); }
void UpdateSTPathViewZuta() { pathview::RedrawPathView(pathview::ZutaPathModel()); }
void UpdateSTPathViewZutb() { pathview::RedrawPathView(pathview::ZutbPathModel()); }
void MNUpdatePathView() { pathview::RedrawPathView(pathview::MonoPathModel()); }
void MNPykaUpdatePathView() { pathview::RedrawPathView(pathview::MonoPykaPathModel()); }
void MNPykbUpdatePathView() { pathview::RedrawPathView(pathview::MonoPykbPathModel()); }

int CVSCONFIGCBJora(int panel, int control, int event, void*, int e1, int e2) {
    return pathview::OnCanvas(pathview::JoraPathModel(), panel, control, event, e1, e2);
}
int CVSCONFIGCBQeva(int panel, int control, int event, void*, int e1, int e2) {
    return pathview::OnCanvas(pathview::QevaPathModel(), panel, control, event, e1, e2);
}
int CVSCONFIGCBZuta(int panel, int control, int event, void*, int e1, int e2) {
    return pathview::OnCanvas(pathview::ZutaPathModel(), panel, control, event, e1, e2);
}
int CVSCONFIGCBZutb(int panel, int control, int event, void*, int e1, int e2) {
    return pathview::OnCanvas(pathview::ZutbPathModel(), panel, control, event, e1, e2);
}
int MNCVSCB(int panel, int control, int event, void*, int e1, int e2) {
    return pathview::OnCanvas(pathview::MonoPathModel(), panel, control, event, e1, e2);
}
int MNPykaCVSCB(int panel, int control, int event, void*, int e1, int e2) {
    return pathview::OnCanvas(pathview::MonoPykaPathModel(), panel, control, event, e1, e2);
}
int MNPykbCVSCB(int panel, int control, int event, void*, int e1, int e2) {
    return pathview::OnCanvas(pathview::MonoPykbPathModel(), panel, control, event, e1, e2);
}
