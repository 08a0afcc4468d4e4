// Output volume ramps: walk the 6-bit volume field of an output register one code at a time
// to a target, sending the register after each step, so the volume never jumps.
#pragma once

// Stereo headphone and speaker outputs, reg 52 to 55; target 0 to 63. unmute clears the mute
// bit first; refreshDemo redraws the model's demo panel after each step.
void STRamp(int reg, int target, int unmute, int refreshDemo);
void STRampZuta(int reg, int target, int unmute, int refreshDemo);
void STRamp_Jora(int reg, int target, int unmute, int refreshDemo);
void STRamp_Qeva(int reg, int target, int unmute, int refreshDemo);

// Mono speaker (R54); the first argument is ignored (the start is MNSPKCurrentVOL).
void MNRamp(int currentCode, int target, int unmute, int refreshDemo);
void MNPykbRamp(int currentCode, int target, int unmute, int refreshDemo);
void MNPykaRamp(int currentCode, int target, int unmute, int refreshDemo);
