// Power-up and power-down buttons (not built yet: they do nothing).
#include "device/power.h"

int BPowerUpCB(int, int, int, void*, int, int) { return 0; }
int BPowerUpCBZuta(int, int, int, void*, int, int) { return 0; }
int BPowerUpCBZutb(int, int, int, void*, int, int) { return 0; }
int BPowerUpCBJora(int, int, int, void*, int, int) { return 0; }
int BPowerUpCBQeva(int, int, int, void*, int, int) { return 0; }
int MNPowerUpCB(int, int, int, void*, int, int) { return 0; }
int MNPykbPowerUpCB(int, int, int, void*, int, int) { return 0; }
int MNPykaPowerUpCB(int, int, int, void*, int, int) { return 0; }
int BPowerDownCB(int, int, int, void*, int, int) { return 0; }
int BPowerDownCBZuta(int, int, int, void*, int, int) { return 0; }
int BPowerDownCBZutb(int, int, int, void*, int, int) { return 0; }
int BPowerDownCBJora(int, int, int, void*, int, int) { return 0; }
int BPowerDownCBQeva(int, int, int, void*, int, int) { return 0; }
int MNPowerDownCB(int, int, int, void*, int, int) { return 0; }
int MNPykbPowerDownCB(int, int, int, void*, int, int) { return 0; }
int MNPykaPowerDownCB(int, int, int, void*, int, int) { return 0; }
