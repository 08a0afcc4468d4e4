// The WAV play and record block of the Zutb demo panel.
#pragma once

// Binds the block's callback names.
void RegisterWavCallbacks();
