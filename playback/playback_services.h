// What the rest of the program uses of the DAC, clock and output panels.
#pragma once

#include "playback/dac_panel.h"
#include "playback/output_panel.h"
