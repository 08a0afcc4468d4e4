// WAV play and record block (not built yet: binds nothing).
#include "demo/wav_block.h"

void RegisterWavCallbacks() {}
