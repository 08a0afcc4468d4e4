// What the rest of the program uses of the input, ADC filter, ALC and EQ panels: the ring fills
// run once at start-up and the refreshes from CFG_REG the refresh timers run. None of them sends
// anything to the board.
#pragma once

// ---- ring fills, once at start-up --------------------------------------------------------
void InitInputSignalPanel();
void InitADCFilterPanel();
void InitEQPanel();
void InitInputSignalPanel_Jora();
void InitADCFilterPanel_Jora();
void InitEQPanel_Jora();
void InitEQPanel_Qeva();
void InitInputSignalPanelZuta();
void InitADCFilterPanelZuta();
void InitEQPanelZuta();
void InitInputSignalPanelZutb();
void InitADCFilterPanelZutb();
void InitEQPanelZutb();
void MNInitInputSignalPanel();
void MNInitADCFilterPanel();
void MNInitALCPanel();
void MNInitEQPanel();
void MNPykaInitInputSignalPanel();
void MNPykaInitADCFilterPanel();
void MNPykaInitALCPanel();
void MNPykaInitEQPanel();
void MNPykbInitInputSignalPanel();
void MNPykbInitADCFilterPanel();
void MNPykbInitALCPanel();

// ---- refresh from CFG_REG ----------------------------------------------------------------
void UpdateInputSignalPanel();
void UpdateADCFilterPanel();
void UpdateALCPanel();
void UpdateEQPanel();
void UpdateInputSignalPanel_Jora();
void UpdateADCFilterPanel_Jora();
void UpdateALCPanel_Jora();
void UpdateEQPanel_Jora();
void UpdateEQPanel_Qeva();
void UpdateInputSignalPanelZuta();
void UpdateADCFilterPanelZuta();
void UpdateALCPanelZuta();
void UpdateEQPanelZuta();
void UpdateInputSignalPanelZutb();
void UpdateADCFilterPanelZutb();
void UpdateALCPanelZutb();
void UpdateEQPanelZutb();
void MNUpdateInputSignalPanel();
void MNUpdateADCFilterPanel();
void MNUpdateALCPanel();
void UpdateMNEQPanel();
void MNPykaUpdateInputSignalPanel();
void MNPykaUpdateADCFilterPanel();
void MNPykaUpdateALCPanel();
void MNPykbUpdateInputSignalPanel();
void MNPykbUpdateADCFilterPanel();
void MNPykbUpdateALCPanel();
