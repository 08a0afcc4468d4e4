// What the rest of the program uses of the ALC panels: the ring fills run once at start-up
// and the refreshes from CFG_REG the refresh timers run (no traffic).
#pragma once

// ---- ring fills, once at start-up --------------------------------------------------------
void MNInitALCPanel();
void MNPykaInitALCPanel();
void MNPykbInitALCPanel();

// ---- refresh from CFG_REG ----------------------------------------------------------------
void UpdateALCPanel();
void UpdateALCPanel_Jora();
void UpdateALCPanelZuta();
void UpdateALCPanelZutb();
void MNUpdateALCPanel();
void MNPykaUpdateALCPanel();
void MNPykbUpdateALCPanel();

// Binds the ALC panels' callback names.
void RegisterALCCallbacks();
