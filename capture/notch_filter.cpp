#include "capture/notch_filter.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <numbers>

namespace notch {
namespace {

// The constant the codec's coefficient formula is specified with (not the full 2 pi).
constexpr double kTwoPi = 6.28318;

// The coefficients' scales: NFCA0 = -a1 * 2^13, NFCA1 = -a2 * 2^12.
constexpr int kScale0 = 1 << 13;
constexpr int kScale1 = 1 << 12;

int ToCoefficient(double value) {
    if (std::isnan(value)) return 0;
    double held = std::clamp(std::round(value), static_cast<double>(kCoefficientMin),
                             static_cast<double>(kCoefficientMax));
    return static_cast<int>(held);
}

void PackOne(int value, uint32_t* high, uint32_t* low, bool signIsAssigned) {
    *high = (*high & ~0x7Fu) | (static_cast<uint32_t>(value >> 7) & 0x7F);
    if (value < 0)
        *high |= 0x80;
    else if (signIsAssigned)
        *high &= ~0x80u;
    *low = (*low & ~0x7Fu) | (static_cast<uint32_t>(value) & 0x7F);
}

}  // namespace

Coefficients Compute(double f0, double bandwidth, double fs) {
    double w0 = f0 * kTwoPi / fs;
    double wb = bandwidth * kTwoPi / fs;
    double t = std::tan(wb / 2);
    double a1 = (1 - t) / (1 + t);
    double a2 = -(1 + a1) * std::cos(w0);
    return {ToCoefficient(-a1 * kScale0), ToCoefficient(-a2 * kScale1)};
}

bool Stable(const Coefficients& c) {
    // |a1| < 1  <=>  |NFCA0| < 2^13;  |a2| < 1 + a1  <=>  2 |NFCA1| < 2^13 - NFCA0.
    return std::abs(c.a0) < kScale0 && 2 * std::abs(c.a1) < kScale0 - c.a0;
}

double NotchFrequency(const Coefficients& c, double fs) {
    double cosine = 2.0 * c.a1 / (kScale0 - c.a0);
    return std::acos(std::clamp(cosine, -1.0, 1.0)) * fs / (2 * std::numbers::pi);
}

double AttenuationDb(const Coefficients& c, double f, double fs) {
    const double a1 = -c.a0 / static_cast<double>(kScale0), a2 = -c.a1 / static_cast<double>(kScale1);
    const double w = 2 * std::numbers::pi * f / fs;
    const std::complex<double> z1 = std::polar(1.0, -w);
    double num = std::abs((1 + a1) * std::cos(w) + a2);
    double den = std::abs(1.0 + a2 * z1 + a1 * z1 * z1);
    if (num == 0) return std::numeric_limits<double>::infinity();
    return -20 * std::log10(num / den);
}

void Pack(const Coefficients& c, uint32_t* r1, uint32_t* r2, uint32_t* r3, uint32_t* r4) {
    PackOne(c.a0, r1, r2, false);  // bit 7 of the first register is the filter's enable
    PackOne(c.a1, r3, r4, true);
}

double RateOfIndex(int index) {
    static const double rates[6] = {48000, 32000, 24000, 16000, 12000, 8000};
    return index >= 0 && index < 6 ? rates[index] : 0;
}

}  // namespace notch
