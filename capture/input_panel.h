// What the rest of the program uses of the input panels: the ring fills run once at start-up
// and the refreshes from CFG_REG the refresh timers run (no traffic).
#pragma once

// ---- ring fills, once at start-up --------------------------------------------------------
void InitInputSignalPanel();
void InitInputSignalPanel_Jora();
void InitInputSignalPanelZuta();
void InitInputSignalPanelZutb();
void MNInitInputSignalPanel();
void MNPykaInitInputSignalPanel();
void MNPykbInitInputSignalPanel();

// ---- refresh from CFG_REG ----------------------------------------------------------------
void UpdateInputSignalPanel();
void UpdateInputSignalPanel_Jora();
void UpdateInputSignalPanelZuta();
void UpdateInputSignalPanelZutb();
void MNUpdateInputSignalPanel();
void MNPykaUpdateInputSignalPanel();
void MNPykbUpdateInputSignalPanel();

// Binds the input panels' callback names.
void RegisterInputCallbacks();
