// What the rest of the program uses of the input, ADC filter, ALC and EQ panels.
#pragma once

#include "capture/adc_panel.h"
#include "capture/alc_panel.h"
#include "capture/eq_panel.h"
#include "capture/input_panel.h"
