// Notch filter coefficients: the two 14-bit coefficients of the codec's notch from a centre
// frequency, a -3 dB bandwidth and a sample rate, and their packing into the four notch
// registers.
#pragma once

#include <cstdint>

namespace notch {

inline constexpr int kCoefficientMin = -8192;
inline constexpr int kCoefficientMax = 8191;

struct Coefficients {
    int a0 = 0;  // NFCA0 = -a1 x 2^13
    int a1 = 0;  // NFCA1 = -a2 x 2^12
};

// With w0 = f0 x 6.28318 / fs, wb = bandwidth x 6.28318 / fs, t = tan(wb / 2):
// a1 = (1 - t) / (1 + t), a2 = -(1 + a1) cos(w0). Each coefficient is rounded (halves away from
// zero) and held to the 14-bit range; a result that is not a number gives 0.
Coefficients Compute(double f0, double bandwidth, double fs);

// Packs the coefficients into the four registers' images (bits 6:0 of each; bit 7 of the first
// is set when NFCA0 is negative, bit 7 of the third is NFCA1's sign); their other bits are kept.
void Pack(const Coefficients& c, uint32_t* r1, uint32_t* r2, uint32_t* r3, uint32_t* r4);

// Sample rate in hertz of the rate ring's index (0 48 kHz ... 5 8 kHz), 0 for any other.
double RateOfIndex(int index);

}  // namespace notch
