// The device-control panels' power-up and power-down buttons (commit; the panel argument is
// the device-control panel the button sits on). The demo panels' "Load Settings" run the
// power-up of their model as a commit when the chip is not powered up.
#pragma once

int BPowerUpCB(int panel, int control, int event, void* data, int e1, int e2);
int BPowerUpCBZuta(int panel, int control, int event, void* data, int e1, int e2);
int BPowerUpCBZutb(int panel, int control, int event, void* data, int e1, int e2);
int BPowerUpCBJora(int panel, int control, int event, void* data, int e1, int e2);
int BPowerUpCBQeva(int panel, int control, int event, void* data, int e1, int e2);
int MNPowerUpCB(int panel, int control, int event, void* data, int e1, int e2);
int MNPykbPowerUpCB(int panel, int control, int event, void* data, int e1, int e2);
int MNPykaPowerUpCB(int panel, int control, int event, void* data, int e1, int e2);

int BPowerDownCB(int panel, int control, int event, void* data, int e1, int e2);
int BPowerDownCBZuta(int panel, int control, int event, void* data, int e1, int e2);
int BPowerDownCBZutb(int panel, int control, int event, void* data, int e1, int e2);
int BPowerDownCBJora(int panel, int control, int event, void* data, int e1, int e2);
int BPowerDownCBQeva(int panel, int control, int event, void* data, int e1, int e2);
int MNPowerDownCB(int panel, int control, int event, void* data, int e1, int e2);
int MNPykbPowerDownCB(int panel, int control, int event, void* data, int e1, int e2);
int MNPykaPowerDownCB(int panel, int control, int event, void* data, int e1, int e2);
