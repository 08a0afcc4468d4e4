// PLL search: the PLL integer part N, the 24-bit fraction K (three register fields), the
// prescaler bit and, when asked, the master-clock divider, for a master clock and a sample rate.
// PLL output = input clock × (N + K / 2^24); N must lie in 6 to 12.
#pragma once

// Master-clock divider ratio for each 3-bit divider code.
extern const double IMCLKDIV[8];

// One try with divider code divIdx (0 to 7; any other code fails). Always sets or clears the
// prescaler bit (bit 4) of *pllReg; on success ORs N into *pllReg, stores K's bits 23:18,
// 17:9 and 8:0 and returns 1; else returns 0 leaving N and K untouched.
int GetPLLCettings(int prescale, int divIdx, double mclk, double fs, int* pllReg, int* kHi,
                   int* kMid, int* kLo);
// f2 = 4 × 256 × fs / 1000 × IMCLKDIV[divIdx], in MHz: the PLL output a divider code asks for.
double PLLF2(double fs, int divIdx);
// True when the divider code puts f2 in the range the PLL is meant to run in, 90 to 100 MHz.
bool PLLF2InRange(double fs, int divIdx);
// *pllReg ← 0, then one try with *divIdx (autoSearch 0), or a search storing the code found in
// *divIdx: the smallest code that fits with f2 in range, else the smallest code that fits.
// 1 on success, 0 when no setting exists.
int STGenPLLCettings(int prescale, int autoSearch, int* divIdx, double mclk, double fs,
                     int* pllReg, int* kHi, int* kMid, int* kLo);
