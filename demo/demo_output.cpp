// Demo output operations (not built yet: they do nothing).
#include "demo/demo_output.h"

void STDemoMuteUnmuteOutput(int) {}
void STDemoMuteUnmuteOutputZuta(int) {}
void STDemoMuteUnmuteOutput_Jora(int) {}
void STDemoMuteUnmuteOutput_Qeva(int) {}
void STDemoMuteUnmuteOutput_Qevb(int) {}
void STDemoTurnOnOffOutput(int) {}
void STDemoTurnOnOffOutputZuta(int) {}
void STDemoTurnOnOffOutput_Jora(int) {}
void STDemoTurnOnOffOutput_Qeva(int) {}
