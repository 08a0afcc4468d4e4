// One ADC-filter panel module for every model, driven by a description per model: its panel,
// the rings it fills at start-up, its callbacks as groups of controls bound to register fields
// with their send plans, and its notch filter.
#pragma once

#include <vector>

#include "playback/dac_fields.h"

namespace adc {

// The notch filter block: its controls and the first of its four registers.
struct NotchModel {
    int base = 27;
    int enable = 0, centre = 0, bandwidth = 0, rate = 0, button = 0;
    int updates[4] = {0, 0, 0, 0};
    bool refreshDims = false;  // the refresh dims the notch inputs while the filter is off
    // The notch write sets every bit of its registers from the notch's fields (bit 7 of the
    // second and fourth written as 0) instead of keeping what the copy holds there.
    bool ownsRegisters = false;
};

struct AdcModel {
    const char* name = "";
    int* panel = nullptr;
    std::vector<fieldpanel::RingFill> fills{};
    std::vector<fieldpanel::Group> groups{};
    NotchModel notch{};
};

const AdcModel& JorbAdc();
const AdcModel& ZutaAdc();
const AdcModel& JoraAdc();
const AdcModel& ZutbAdc();
const AdcModel& PykcAdc();
const AdcModel& PykbAdc();
const AdcModel& PykaAdc();

void Init(const AdcModel& m);
void Update(const AdcModel& m);
void Register(const AdcModel& m);

}  // namespace adc
