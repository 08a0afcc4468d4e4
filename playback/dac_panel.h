// What the rest of the program uses of the DAC panels with their clock and PLL block: the ring
// fills run once at start-up, the refreshes from CFG_REG the refresh timers run (no traffic),
// and the Jorb DAC panel's sample-rate ring.
#pragma once

// ---- ring fills, once at start-up --------------------------------------------------------
void InitDACPanel();
void InitDACPanel_Jora();
void InitDACPanel_Qeva();
void InitDACPanelZuta();
void InitDACPanelZutb();
void MNInitDACPanel();
void MNPykaInitDACPanel();
void MNPykbInitDACPanel();

// ---- refresh from CFG_REG ----------------------------------------------------------------
void UpdateDACPanel();
void UpdateDACPanel_Jora();
void UpdateDACPanel_Qeva();
void UpdateDACPanelZuta();
void UpdateDACPanelZutb();
void MNUpdateDACPanel();
void MNPykaUpdateDACPanel();
void MNPykbUpdateDACPanel();

// ---- PLL display reset: IMCLK and f2 from the rate entry, default N and K in the entries --
void ResetPLLConfiguration();
void ResetPLLConfigurationZuta();
void ResetPLLConfigurationJora();
void ResetPLLConfigurationQeva();
void ResetPLLConfigurationZutb();
void ResetPLLConfigurationPykc();
void ResetPLLConfigurationPykb();
void ResetPLLConfigurationPyka();

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

// Clock controls of the Jorb DAC panel (commit): R72 (Jorbx), R6, R7.
int STClockCB(int panel, int control, int event, void* data, int e1, int e2);

// Binds the DAC and clock panels' callback names.
void RegisterDACCallbacks();
