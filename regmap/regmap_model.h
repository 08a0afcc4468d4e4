// What the model choice and the refresh timers use of the register map and the configuration
// sets: opening a model's configuration-set file, listing its sets on the path panel, redrawing
// the register table and its title rows, and the read-all handlers.
#pragma once

#include "runtime/inifile.h"

// ---- configuration-set files -------------------------------------------------------------
// Opens `file` (in the project directory when inProjectDir is non-zero) into a new INI object
// *ini. 1 when the object holds the file; 0 when the file is missing and createIfMissing is 0.
int InitConfig(rt::IniText* ini, const char* file, int inProjectDir, int createIfMissing);
int InitConfigZuta(rt::IniText* ini, const char* file, int inProjectDir, int createIfMissing);
int InitConfigZutb(rt::IniText* ini, const char* file, int inProjectDir, int createIfMissing);
int InitConfigJora(rt::IniText* ini, const char* file, int inProjectDir, int createIfMissing);
int InitConfigQeva(rt::IniText* ini, const char* file, int inProjectDir, int createIfMissing);
int InitConfigPykc(rt::IniText* ini, const char* file, int inProjectDir, int createIfMissing);
int InitConfigPykb(rt::IniText* ini, const char* file, int inProjectDir, int createIfMissing);
int InitConfigPyka(rt::IniText* ini, const char* file, int inProjectDir, int createIfMissing);
// The file the last InitConfig call opened (empty before any).
const char* LastConfigFilePath();

// Fills the path panel's list of configuration sets.
void PopulatePanelCFGListBox();
void PopulatePanelCFGListBoxZuta();
void PopulatePanelCFGListBoxZutb();
void PopulatePanelCFGListBoxJora();
void PopulatePanelCFGListBoxQeva();
void PopulatePanelCFGListBoxPykc();
void PopulatePanelCFGListBoxPykb();
void PopulatePanelCFGListBoxPyka();

// ---- register table ----------------------------------------------------------------------
// Redraws the register table from CFG_REG (fill 1: the first fill at model choice).
void UpdateRegDisplay(int fill);
void UpdateRegDisplay_Jora(int fill);
void UpdateRegDisplay_Qeva(int fill);
void UpdateRegDisplayZuta(int fill);
void UpdateRegDisplayZutb(int fill);
void UpdateRegDisplay_Pykc(int fill);
void UpdateRegDisplay_Pykb(int fill);
void UpdateRegDisplay_Pyka(int fill);
// Redraws the title rows (register names and bit-field legends).
void UpdateRegMapTitle();
void UpdateRegMapTitle_Jora();
void UpdateRegMapTitle_Qeva();
void UpdateRegMapTitleZuta();
void UpdateRegMapTitleZutb();
void UpdateRegMapTitle_Pykc();
void UpdateRegMapTitle_Pykb();
void UpdateRegMapTitle_Pyka();

// ---- read all ("Read All and Update ", commit) -------------------------------------------
// Reads registers 1 to 63 (register 0 through the single read) into CFG_REG; a refused or
// failed read leaves CFG_REG as it was. Raises FlagCFGUpdate.
int STReadAllCB(int panel, int control, int event, void* data, int e1, int e2);
int STReadAllCBJora(int panel, int control, int event, void* data, int e1, int e2);
int STReadAllCBQeva(int panel, int control, int event, void* data, int e1, int e2);
int STReadAllCBZuta(int panel, int control, int event, void* data, int e1, int e2);
int STReadAllCBZutb(int panel, int control, int event, void* data, int e1, int e2);
int STReadAllCBPykc(int panel, int control, int event, void* data, int e1, int e2);
int STReadAllCBPykb(int panel, int control, int event, void* data, int e1, int e2);
int STReadAllCBPyka(int panel, int control, int event, void* data, int e1, int e2);

// Register-map controls not built yet (single reads and writes of the other models, bridge
// registers, table cell edits): they do nothing.
int RegMapControlNotBuiltCB(int panel, int control, int event, void* data, int e1, int e2);
