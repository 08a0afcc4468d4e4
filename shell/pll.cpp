#include "shell/pll.h"

#include <cmath>

const double IMCLKDIV[8] = {1, 1.5, 2, 3, 4, 6, 8, 12};

int GetPLLCettings(int prescale, int divIdx, double mclk, double fs, int* pllReg, int* kHi, int* kMid,
                   int* kLo) {
    if (prescale == 1)
        *pllReg |= 0x10;
    else
        *pllReg &= 0x1EF;
    if (divIdx < 0 || divIdx > 7 || !(mclk > 0.0)) return 0;
    double fin = prescale == 0 ? mclk : mclk / 2.0;
    double f2 = 256.0 * fs / 1000.0;  // 256 × the sample rate, in MHz
    double f = 4.0 * f2 * IMCLKDIV[divIdx];
    double ratio = f / fin;
    // A ratio that is a whole number but for rounding in the divisions counts as that number,
    // so exact clock pairs (12.288 MHz for 48 kHz) never lose N or gain a full-scale K.
    double whole = std::round(ratio);
    if (std::fabs(ratio - whole) < 1e-9) ratio = whole;
    if (!(ratio >= 6.0 && ratio < 13.0)) return 0;
    int n = static_cast<int>(ratio);
    *pllReg |= n;
    long k = static_cast<long>((ratio - n) * 16777216.0);
    *kLo = static_cast<int>(k & 0x1FF);
    *kMid = static_cast<int>((k >> 9) & 0x1FF);
    *kHi = static_cast<int>((k >> 18) & 0x3F);
    return 1;
}

double PLLF2(double fs, int divIdx) {
    return divIdx >= 0 && divIdx <= 7 ? 4.0 * 256.0 * fs / 1000.0 * IMCLKDIV[divIdx] : 0.0;
}

bool PLLF2InRange(double fs, int divIdx) {
    double f2 = PLLF2(fs, divIdx);
    return f2 >= 90.0 && f2 <= 100.0;
}

int STGenPLLCettings(int prescale, int autoSearch, int* divIdx, double mclk, double fs, int* pllReg, int* kHi,
                     int* kMid, int* kLo) {
    *pllReg = 0;
    if (autoSearch == 0) return GetPLLCettings(prescale, *divIdx, mclk, fs, pllReg, kHi, kMid, kLo);
    for (int d = 0; d < 8; ++d) {
        if (PLLF2InRange(fs, d) && GetPLLCettings(prescale, d, mclk, fs, pllReg, kHi, kMid, kLo)) {
            *divIdx = d;
            return 1;
        }
    }
    for (int d = 0; d < 8; ++d) {
        if (GetPLLCettings(prescale, d, mclk, fs, pllReg, kHi, kMid, kLo)) {
            *divIdx = d;
            return 1;
        }
    }
    return 0;
}
