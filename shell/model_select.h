// Model choice: the picture buttons and Device-menu items, the loading and unloading of each
// model's tab-panel set, the Pykc EQ tab and the home button.
#pragma once

#include <climits>
#include <string>
#include <vector>

#include "runtime/inifile.h"

// Configuration-set file of the loaded stereo and mono model (object and full path). The path
// holds any path the system can open (PATH_MAX with its terminating NUL).
inline constexpr int kCfgFileNameSize = PATH_MAX;
extern rt::IniText STIniConfig;
extern rt::IniText MNIniConfig;
extern char STcfgFileName[kCfgFileNameSize];
extern char MNcfgFileName[kCfgFileNameSize];

// Picture buttons of the main panel (commit; SelectStereoJorb also serves the left click of
// the Jorb button and of the "Jorbx" text).
int SelectMono(int panel, int control, int event, void* data, int e1, int e2);
int SelectMonoPykd(int panel, int control, int event, void* data, int e1, int e2);
int SelectMonoPykb(int panel, int control, int event, void* data, int e1, int e2);
int SelectMonoPyka(int panel, int control, int event, void* data, int e1, int e2);
int SelectStereoJorb(int panel, int control, int event, void* data, int e1, int e2);
int SelectStereoJora(int panel, int control, int event, void* data, int e1, int e2);
int SelectStereoQeva(int panel, int control, int event, void* data, int e1, int e2);
int SelectStereoQevb(int panel, int control, int event, void* data, int e1, int e2);
int SelectStereoZuta(int panel, int control, int event, void* data, int e1, int e2);
int SelectStereoZutb(int panel, int control, int event, void* data, int e1, int e2);

// Device-menu items (MonoCB serves "KorPykc", item 4, and "KorPykd", item 6).
void MonoCB(int menuBar, int menuItem, void* data, int panel);
void MonoCBPyka(int menuBar, int menuItem, void* data, int panel);
void MonoCBPykb(int menuBar, int menuItem, void* data, int panel);
void StereoCBJorb(int menuBar, int menuItem, void* data, int panel);
void StereoCBJora(int menuBar, int menuItem, void* data, int panel);
void StereoCBQeva(int menuBar, int menuItem, void* data, int panel);
void StereoCBQevb(int menuBar, int menuItem, void* data, int panel);
void StereoCBZuta(int menuBar, int menuItem, void* data, int panel);
void StereoCBZutb(int menuBar, int menuItem, void* data, int panel);

// Shows tab set `model` (a ModelCode 1 to 9) after removing the one shown; nothing when it is
// already shown.
void LoadUI(int model);
// True when the loaded model's tab set has a register map (every set but Qevb's; none with no
// model chosen): the popups of refused sends point to its "Read All and Update" only then.
bool LoadedModelShowsRegisterMap();
// Makes the main window open large enough for the widest tab set and the largest tab panel,
// where the screen allows (called at start-up, before the window is shown).
void ReserveTabSetRoom();
// Removes every tab of set `model`; UILoaded ← 0.
void UnLoadUI(int model);
// Adds (EQMode 1) or removes (0) the Pykc EQ tab and shows or hides the Pykc demo panel's EQ
// controls.
void ShowEQ();
// Puts the keyboard focus on a control that a stray key press cannot harm: the tab control
// while a model's set is shown, else the first model button that can take it. Called at
// start, after a model choice and by the home button.
void SetInitialFocus();
// Home button (commit): unloads the shown set.
int cbHome(int panel, int control, int event, void* data, int e1, int e2);

// The configuration-set file names of every model, each once.
std::vector<std::string> ConfigSetFileNames();

// The model's path panel (where a right click on one of its block panels leads), or 0.
int PathPanelOf(int blockPanel);
// Right click on a block panel: bring the model's path panel to the front and remember the
// block panel for the way back. Bound to the panel callback of every tab panel.
int TabPanelRightClickCB(int panel, int event, void* data, int e1, int e2);
