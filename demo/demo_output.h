// The stereo demo modules' output operations: mute every output or unmute one output choice,
// and switch the drivers of an output choice on or every headphone and speaker driver off.
// Device control's power sequences and output buttons and the preset loaders call them with
// an output code (-1: all outputs).
#pragma once

void STDemoMuteUnmuteOutput(int output);
void STDemoMuteUnmuteOutputZuta(int output);
void STDemoMuteUnmuteOutput_Jora(int output);
void STDemoMuteUnmuteOutput_Qeva(int output);
void STDemoMuteUnmuteOutput_Qevb(int output);

void STDemoTurnOnOffOutput(int output);
void STDemoTurnOnOffOutputZuta(int output);
void STDemoTurnOnOffOutput_Jora(int output);
void STDemoTurnOnOffOutput_Qeva(int output);
