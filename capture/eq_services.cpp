// equaliser panels, as far as the rest of the program needs them now: no register controls yet.
#include "capture/eq_panel.h"

void InitEQPanel() {}
void InitEQPanel_Jora() {}
void InitEQPanel_Qeva() {}
void InitEQPanelZuta() {}
void InitEQPanelZutb() {}
void MNInitEQPanel() {}
void MNPykaInitEQPanel() {}
void UpdateEQPanel() {}
void UpdateEQPanel_Jora() {}
void UpdateEQPanel_Qeva() {}
void UpdateEQPanelZuta() {}
void UpdateEQPanelZutb() {}
void UpdateMNEQPanel() {}

void RegisterEQCallbacks() {}

// Not built yet: the equaliser panels carry no preset ring.
void RunEQPresetAsCommit(int, int) {}
