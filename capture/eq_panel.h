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

// Puts preset `preset` (0 to 11) into five band register values laid out as R18 to R22 (bits
// 4:0 gain code, 6:5 cut-off, bit 8 of bands 2 to 4 bandwidth); fields the preset leaves as they
// are keep their value, bit 8 of band 1 is never touched. False (nothing changed) for an unknown
// preset. For equalisers without a preset ring of their own (the mono demo panels).
bool ApplyEQPresetToBands(int preset, unsigned bands[5]);

// Shows in preset ring `ring` which preset the five band registers from `firstReg` (laid out as
// R18 to R22) hold in CFG_REG: the ring's own preset when it still matches them, else the first
// that does, else the note "Custom", so a ring never names a preset the chip does not hold.
void ShowEQPresetOfBands(int panel, int ring, int firstReg);
