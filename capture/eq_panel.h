// What the rest of the program uses of the equaliser panels: the ring fills run once at start-up
// and the refreshes from CFG_REG the refresh timers run (no traffic).
#pragma once

// ---- ring fills, once at start-up --------------------------------------------------------
void InitEQPanel();
void InitEQPanel_Jora();
void InitEQPanel_Qeva();
void InitEQPanelZuta();
void InitEQPanelZutb();
void MNInitEQPanel();
void MNPykaInitEQPanel();

// ---- refresh from CFG_REG ----------------------------------------------------------------
void UpdateEQPanel();
void UpdateEQPanel_Jora();
void UpdateEQPanel_Qeva();
void UpdateEQPanelZuta();
void UpdateEQPanelZutb();
void UpdateMNEQPanel();

// Binds the equaliser panels' callback names.
void RegisterEQCallbacks();

// Sets the preset ring ("Equalizer  Presets") of the equaliser panel `eqPanel` to `preset`
// (0 to 11) and runs its preset callback as a commit: the band registers are written and the
// model's demo preset ring mirrors the preset. The demo panels' preset rings use it.
void RunEQPresetAsCommit(int eqPanel, int preset);
