// What the rest of the program uses of the DAC, clock and output panels: the ring fills run
// once at start-up and the refreshes from CFG_REG the refresh timers run. None of them sends
// anything to the board.
#pragma once

// ---- ring fills, once at start-up --------------------------------------------------------
void InitDACPanel();
void InitOutputPanel();
void InitDACPanel_Jora();
void InitOutputPanel_Jora();
void InitDACPanel_Qeva();
void InitOutputPanel_Qeva();
void InitDACPanelZuta();
void InitOutputPanelZuta();
void InitDACPanelZutb();
void InitOutputPanelZutb();
void MNInitDACPanel();
void MNInitOutputPanel();
void MNPykaInitDACPanel();
void MNPykaInitOutputPanel();
void MNPykbInitDACPanel();
void MNPykbInitOutputPanel();

// ---- refresh from CFG_REG ----------------------------------------------------------------
void UpdateDACPanel();
void UpdateOutputPanel();
void UpdateDACPanel_Jora();
void UpdateOutputPanel_Jora();
void UpdateDACPanel_Qeva();
void UpdateOutputPanel_Qeva();
void UpdateDACPanelZuta();
void UpdateOutputPanelZuta();
void UpdateDACPanelZutb();
void UpdateOutputPanelZutb();
void MNUpdateDACPanel();
void MNUpdateOutputPanel();
void MNPykaUpdateDACPanel();
void MNPykaUpdateOutputPanel();
void MNPykbUpdateDACPanel();
void MNPykbUpdateOutputPanel();

// ---- the Jorb DAC panel's sample-rate ring (control 5 of PHandleSTDAC) -------------------
// The Jorbx variant adds "192kHz" (value 7) and "96kHz" (value 6) at the top of the ring.
// Both operations act at most once: the rates are added only when absent and removed, by
// value, only when present; the ring's own items are never touched.
void AddJorbxSampleRates();
void RemoveJorbxSampleRates();
// True while the Jorbx rates are in the ring.
bool JorbxSampleRatesShown();
// Forgets the rates' presence (tests, after panels are loaded afresh).
void ResetJorbxSampleRates();

// Sample-rate ring of the Jorb DAC panel (commit).
int STClockCB(int panel, int control, int event, void* data, int e1, int e2);
