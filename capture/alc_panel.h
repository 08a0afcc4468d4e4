// What the rest of the program uses of the ALC panels: the ring fills run once at start-up
// and the refreshes from CFG_REG the refresh timers run (no traffic).
#pragma once

// ---- start-up hooks: the rings come filled from the panel resources, so they do nothing --------
// (the shell calls the mono ones; the stereo ones are kept for whoever expects them)
void InitALCPanel();
void InitALCPanel_Jora();
void InitALCPanelZuta();
void InitALCPanelZutb();
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
