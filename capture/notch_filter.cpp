#include "capture/notch_filter.h"

#include <algorithm>
#include <cmath>

namespace notch {
namespace {

// The constant the codec's coefficient formula is specified with (not the full 2 pi).
constexpr double kTwoPi = 6.28318;

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
    return {ToCoefficient(-a1 * std::pow(2, 13)), ToCoefficient(-a2 * std::pow(2, 12))};
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
