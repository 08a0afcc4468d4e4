// ADC filter panels, as far as the rest of the program needs them now: no register controls yet.
#include "capture/adc_panel.h"

void InitADCFilterPanel() {}
void InitADCFilterPanel_Jora() {}
void InitADCFilterPanelZuta() {}
void InitADCFilterPanelZutb() {}
void MNInitADCFilterPanel() {}
void MNPykaInitADCFilterPanel() {}
void MNPykbInitADCFilterPanel() {}
void UpdateADCFilterPanel() {}
void UpdateADCFilterPanel_Jora() {}
void UpdateADCFilterPanelZuta() {}
void UpdateADCFilterPanelZutb() {}
void MNUpdateADCFilterPanel() {}
void MNPykaUpdateADCFilterPanel() {}
void MNPykbUpdateADCFilterPanel() {}

void RegisterADCCallbacks() {}
