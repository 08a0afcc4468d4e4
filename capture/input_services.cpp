// input panels, as far as the rest of the program needs them now: no register controls yet.
#include "capture/input_panel.h"

void InitInputSignalPanel() {}
void InitInputSignalPanel_Jora() {}
void InitInputSignalPanelZuta() {}
void InitInputSignalPanelZutb() {}
void MNInitInputSignalPanel() {}
void MNPykaInitInputSignalPanel() {}
void MNPykbInitInputSignalPanel() {}
void UpdateInputSignalPanel() {}
void UpdateInputSignalPanel_Jora() {}
void UpdateInputSignalPanelZuta() {}
void UpdateInputSignalPanelZutb() {}
void MNUpdateInputSignalPanel() {}
void MNPykaUpdateInputSignalPanel() {}
void MNPykbUpdateInputSignalPanel() {}

void RegisterInputCallbacks() {}
