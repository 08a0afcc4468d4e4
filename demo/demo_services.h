// What the rest of the program uses of the demo panels: their set-up at model choice and their
// refresh from CFG_REG, and the Pykc demo panel's EQ controls that the shell shows and hides.
#pragma once

// The last non-zero ALC mode chosen on a stereo demo panel (1 music, 2 speech, 3 generic);
// the stereo panels show it while an ALC channel is on.
extern int DemoALCMode;

// The preset files the demo panels load, by name ("STPreset.dat", ...).
extern const char* const kDemoPresetFiles[8];
// Copies every demo preset file that is missing from the project directory there from the
// program's folder; a file already in the project directory is never replaced. Start-up runs it.
void InstallDemoPresetFiles();

// ---- set-up at model choice (tool tips and rings; no traffic) ----------------------------
void STInitDemoPanel();
void STInitDemoPanel_Jora();
void STInitDemoPanel_Qeva();
void STInitDemoPanel_Qevb();
void STInitDemoPanelZuta();
void STInitDemoPanelZutb();
void MNInitDemoPanel();
void MNPykaInitDemoPanel();
void MNPykbInitDemoPanel();

// ---- refresh from CFG_REG (no traffic) ---------------------------------------------------
void UpdateSTDemoPanel();
void UpdateSTDemoPanel_Jora();
void UpdateSTDemoPanel_Qeva();
void UpdateSTDemoPanel_Qevb();
void UpdateSTDemoPanelZuta();
void UpdateSTDemoPanelZutb();
void UpdateMNDemoPanel();
void UpdateMNPykaDemoPanel();
void UpdateMNPykbDemoPanel();

// ---- the Pykc demo panel's EQ controls (PHandleMNDemo) -----------------------------------
// Shows (1) or hides (0) the preset ring, the band cut-off rings and gain sliders, the
// bandwidth and 3D-mode boxes, and their texts, decoration and splitter.
void ShowMNDemoEQControls(int visible);

// Shows `preset` (0 to 11) in the equaliser-preset ring "STEQPresetting" of the demo panel
// `demoPanel`, when that panel carries one; no callback runs, nothing is sent. The equaliser
// panels' preset operation mirrors its preset through it.
void ShowDemoEQPreset(int demoPanel, int preset);
