// Output volume ramps (not built yet: they do nothing).
#include "device/ramps.h"

void STRamp(int, int, int, int) {}
void STRampZuta(int, int, int, int) {}
void STRamp_Jora(int, int, int, int) {}
void STRamp_Qeva(int, int, int, int) {}
void MNRamp(int, int, int, int) {}
void MNPykbRamp(int, int, int, int) {}
void MNPykaRamp(int, int, int, int) {}
