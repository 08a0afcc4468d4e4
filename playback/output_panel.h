// What the rest of the program uses of the output panels: the ring fills run once at start-up
// and the refreshes from CFG_REG the refresh timers run (no traffic).
#pragma once

// ---- ring fills, once at start-up --------------------------------------------------------
void InitOutputPanel();
void InitOutputPanel_Jora();
void InitOutputPanel_Qeva();
void InitOutputPanelZuta();
void InitOutputPanelZutb();
void MNInitOutputPanel();
void MNPykaInitOutputPanel();
void MNPykbInitOutputPanel();

// ---- refresh from CFG_REG ----------------------------------------------------------------
void UpdateOutputPanel();
void UpdateOutputPanel_Jora();
void UpdateOutputPanel_Qeva();
void UpdateOutputPanelZuta();
void UpdateOutputPanelZutb();
void MNUpdateOutputPanel();
void MNPykaUpdateOutputPanel();
void MNPykbUpdateOutputPanel();

// Binds every model's output-panel callback names (mixers, volumes, enables, ...).
void RegisterOutputCallbacks();
