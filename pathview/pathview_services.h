// What the rest of the program uses of the signal-path panels: building each model's map,
// initialising and redrawing the diagram, the one-time control set-up at start-up, and the
// return from a path canvas to the block panel last right-clicked.
#pragma once

#include "pathview/path_primitives.h"

// ---- control set-up, once at start-up ----------------------------------------------------
void InitPathViewControls();
void InitPathViewControls_Jora();
void InitPathViewControls_Qeva();
void InitPathViewControlsZuta();
void InitPathViewControlsZutb();
void MNInitPathViewControls();
void MNPykaInitPathViewControls();
void MNPykbInitPathViewControls();

// ---- at model choice ---------------------------------------------------------------------
void STConstructMap();
void STConstructMap_Jora();
void STConstructMap_Qeva();
void STConstructMapZuta();
void STConstructMapZutb();
void MNConstructMap();
void MNPykaConstructMap();
void MNPykbConstructMap();
// Each initialisation clears FlagAudioInterfaceActive.
void STPathViewInit();
void STPathViewInit_Jora();
void STPathViewInit_Qeva();
void STPathViewInitZuta();
void STPathViewInitZutb();
void MNPathViewInit();
void MNPykaPathViewInit();
void MNPykbPathViewInit();

// ---- redraw from CFG_REG (no traffic) ----------------------------------------------------
void UpdateAllGroups();
void UpdateAllGroups_Jora();
void UpdateAllGroups_Qeva();
void UpdateAllGroupsZuta();
void UpdateAllGroupsZutb();
void MNUpdateAllGroups();
void MNPykaUpdateAllGroups();
void MNPykbUpdateAllGroups();
void UpdateSTPathView();
void UpdateSTPathView_Jora();
void UpdateSTPathView_Qeva();
void UpdateSTPathViewZuta();
void UpdateSTPathViewZutb();
void MNUpdatePathView();
void MNPykaUpdatePathView();
void MNPykbUpdatePathView();

// ---- the Jorb path canvas's drawing operations (canvas 21 of PHandleSTPath) ---------------
void DrawLine(const PathLine& line, int state);
void DrawControlLine(const PathLine& line, int state);
void DrawSwitch(const PathSwitch& sw);
void DrawDPSTSwitch(const PathDPSTSwitch& sw);
void DrawGroup(int group);
void DrawTriangle(int x, int y);
void DrawJointPoint(const PathDot& dot);

// ---- path canvases -----------------------------------------------------------------------
// Right click: bring back the block panel recorded in PHandleLastPanel (unless it is the main
// panel). A left click on the Jorb canvas opens the tab of the block under it (DAC, ADC filter,
// ALC) and toggles the register bits behind the switch or wire it hits.
int CVSCONFIGCB(int panel, int control, int event, void* data, int e1, int e2);
int CVSCONFIGCBJora(int panel, int control, int event, void* data, int e1, int e2);
int CVSCONFIGCBQeva(int panel, int control, int event, void* data, int e1, int e2);
int CVSCONFIGCBZuta(int panel, int control, int event, void* data, int e1, int e2);
int CVSCONFIGCBZutb(int panel, int control, int event, void* data, int e1, int e2);
int MNCVSCB(int panel, int control, int event, void* data, int e1, int e2);
int MNPykaCVSCB(int panel, int control, int event, void* data, int e1, int e2);
int MNPykbCVSCB(int panel, int control, int event, void* data, int e1, int e2);
