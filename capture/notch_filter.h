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

// The chip runs the notch as H(z) = (1 + A(z)) / 2 with the all-pass
// A(z) = (a1 + a2 z^-1 + z^-2) / (1 + a2 z^-1 + a1 z^-2), a1 = -NFCA0 / 2^13, a2 = -NFCA1 / 2^12.
// Stable when both poles lie strictly inside the unit circle: |a1| < 1 and |a2| < 1 + a1, tested
// exactly on the integers.
bool Stable(const Coefficients& c);
// Where the notch of a stable filter lies, in hertz: cos(w) = -a2 / (1 + a1).
double NotchFrequency(const Coefficients& c, double fs);
// The filter's attenuation at frequency f, in dB (positive; infinite at the notch itself).
double AttenuationDb(const Coefficients& c, double f, double fs);

// Packs the coefficients into the four registers' images (bits 6:0 of each; bit 7 of the first
// is set when NFCA0 is negative, bit 7 of the third is NFCA1's sign); their other bits are kept.
void Pack(const Coefficients& c, uint32_t* r1, uint32_t* r2, uint32_t* r3, uint32_t* r4);

// Sample rate in hertz of the rate ring's index (0 48 kHz ... 5 8 kHz), 0 for any other.
double RateOfIndex(int index);

}  // namespace notch
