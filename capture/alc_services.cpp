// ALC panels, as far as the rest of the program needs them now: no register controls yet.
#include "capture/alc_panel.h"

void MNInitALCPanel() {}
void MNPykaInitALCPanel() {}
void MNPykbInitALCPanel() {}
void UpdateALCPanel() {}
void UpdateALCPanel_Jora() {}
void UpdateALCPanelZuta() {}
void UpdateALCPanelZutb() {}
void MNUpdateALCPanel() {}
void MNPykaUpdateALCPanel() {}
void MNPykbUpdateALCPanel() {}

void RegisterALCCallbacks() {}
