// What the rest of the program uses of the ADC filter panels: the ring fills run once at start-up
// and the refreshes from CFG_REG the refresh timers run (no traffic).
#pragma once

// ---- ring fills, once at start-up --------------------------------------------------------
void InitADCFilterPanel();
void InitADCFilterPanel_Jora();
void InitADCFilterPanelZuta();
void InitADCFilterPanelZutb();
void MNInitADCFilterPanel();
void MNPykaInitADCFilterPanel();
void MNPykbInitADCFilterPanel();

// ---- refresh from CFG_REG ----------------------------------------------------------------
void UpdateADCFilterPanel();
void UpdateADCFilterPanel_Jora();
void UpdateADCFilterPanelZuta();
void UpdateADCFilterPanelZutb();
void MNUpdateADCFilterPanel();
void MNPykaUpdateADCFilterPanel();
void MNPykbUpdateADCFilterPanel();

// Binds the ADC filter panels' callback names.
void RegisterADCCallbacks();
