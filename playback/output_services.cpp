// Output panels, as far as the rest of the program needs them now: no register controls yet.
#include "playback/output_panel.h"

void InitOutputPanel() {}
void InitOutputPanel_Jora() {}
void InitOutputPanel_Qeva() {}
void InitOutputPanelZuta() {}
void InitOutputPanelZutb() {}
void MNInitOutputPanel() {}
void MNPykaInitOutputPanel() {}
void MNPykbInitOutputPanel() {}
void UpdateOutputPanel() {}
void UpdateOutputPanel_Jora() {}
void UpdateOutputPanel_Qeva() {}
void UpdateOutputPanelZuta() {}
void UpdateOutputPanelZutb() {}
void MNUpdateOutputPanel() {}
void MNPykaUpdateOutputPanel() {}
void MNPykbUpdateOutputPanel() {}

void RegisterOutputCallbacks() {}
