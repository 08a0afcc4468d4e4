// PLL search: N, K split into its three fields, the prescaler bit and the divider search.
#include <gtest/gtest.h>

#include "shell/pll.h"

namespace {

struct Result {
    int ok, div, pll, kHi, kMid, kLo;
};

Result Search(double mclk, double fs, int prescale = 0) {
    Result r{0, -1, -1, -1, -1, -1};
    r.ok = STGenPLLCettings(prescale, 1, &r.div, mclk, fs, &r.pll, &r.kHi, &r.kMid, &r.kLo);
    return r;
}

// The search takes the smallest divider code that fits with f2 in 90 to 100 MHz: for 48 kHz
// code 2 (f2 98.304 MHz), not code 1, which fits first but puts f2 at 73.7 MHz.
TEST(PllSearch, TwelveMegahertzFor48kHz) {
    Result r = Search(12.0, 48.0);
    ASSERT_EQ(r.ok, 1);
    EXPECT_EQ(r.div, 2);
    EXPECT_EQ(r.pll, 8);
    EXPECT_EQ(r.kHi, 12);
    EXPECT_EQ(r.kMid, 147);
    EXPECT_EQ(r.kLo, 233);
    const long k = (static_cast<long>(r.kHi) << 18) | (r.kMid << 9) | r.kLo;
    EXPECT_EQ(k, static_cast<long>(0.192 * 16777216.0));
    EXPECT_DOUBLE_EQ(PLLF2(48.0, 2), 98.304);

    // No code in range fits: the smallest code that fits at all. 24 MHz for 96 kHz: code 0
    // (98.304 MHz) needs N = 4; code 1 gives 6.144 at 147.456 MHz. Halved, code 0 fits in range.
    r = Search(24.0, 96.0);
    ASSERT_EQ(r.ok, 1);
    EXPECT_EQ(r.div, 1);
    EXPECT_EQ(r.pll, 6);
    EXPECT_FALSE(PLLF2InRange(96.0, 1));
    r = Search(24.0, 96.0, 1);
    ASSERT_EQ(r.ok, 1);
    EXPECT_EQ(r.div, 0);
    EXPECT_EQ(r.pll, 0x10 | 8);
}

// Exact clock pairs give a whole ratio: K is 0 and N is not lost to rounding.
TEST(PllSearch, ExactRatiosGiveZeroFraction) {
    for (auto [mclk, fs] : {std::pair{12.288, 48.0}, std::pair{11.2896, 44.1}}) {
        SCOPED_TRACE(mclk);
        Result r = Search(mclk, fs);
        ASSERT_EQ(r.ok, 1);
        EXPECT_EQ(r.div, 2);
        EXPECT_EQ(r.pll, 8);
        EXPECT_EQ(r.kHi, 0);
        EXPECT_EQ(r.kMid, 0);
        EXPECT_EQ(r.kLo, 0);
        // With the prescaler the ratio doubles: in range it would be 16, so 8 at code 0.
        r = Search(mclk, fs, 1);
        ASSERT_EQ(r.ok, 1);
        EXPECT_EQ(r.div, 0);
        EXPECT_EQ(r.pll, 0x10 | 8);
        EXPECT_EQ(r.kHi | r.kMid | r.kLo, 0);
    }
}

TEST(PllSearch, RatioLimits) {
    int pll = 0, kHi = -1, kMid = -1, kLo = -1;
    // fs such that 4 × 0.256 fs / mclk is exactly 13 at code 0: refused.
    EXPECT_EQ(GetPLLCettings(0, 0, 1.0, 13.0 / 1.024, &pll, &kHi, &kMid, &kLo), 0);
    EXPECT_EQ(kHi, -1);
    EXPECT_EQ(pll & 0x0F, 0);
    // 12.999: N = 12 with a large fraction.
    EXPECT_EQ(GetPLLCettings(0, 0, 1.0, 12.999 / 1.024, &pll, &kHi, &kMid, &kLo), 1);
    EXPECT_EQ(pll, 12);
    EXPECT_GT(kHi, 0x3E);
    // Exactly 6 is accepted, 5.99 is not.
    pll = 0;
    EXPECT_EQ(GetPLLCettings(0, 0, 1.0, 6.0 / 1.024, &pll, &kHi, &kMid, &kLo), 1);
    EXPECT_EQ(pll, 6);
    EXPECT_EQ(GetPLLCettings(0, 0, 1.0, 5.99 / 1.024, &pll, &kHi, &kMid, &kLo), 0);
}

// A single try that fails still sets or clears the prescaler bit; the search leaves the
// divider code alone when nothing fits.
TEST(PllSearch, FailedTriesKeepTheirSideEffects) {
    int div = 0, pll = 0x1FF, kHi = -1, kMid = -1, kLo = -1;
    EXPECT_EQ(GetPLLCettings(0, 0, 12.0, 48.0, &pll, &kHi, &kMid, &kLo), 0);
    EXPECT_EQ(pll, 0x1EF);
    pll = 0;
    EXPECT_EQ(GetPLLCettings(1, 0, 100.0, 48.0, &pll, &kHi, &kMid, &kLo), 0);
    EXPECT_EQ(pll, 0x10);
    EXPECT_EQ(kHi, -1);

    div = 5;
    pll = 0x1FF;
    EXPECT_EQ(STGenPLLCettings(0, 1, &div, 200.0, 8.0, &pll, &kHi, &kMid, &kLo), 0);
    EXPECT_EQ(div, 5);
    EXPECT_EQ(pll, 0);
    // A divider code out of range fails without touching N or K.
    EXPECT_EQ(GetPLLCettings(0, 8, 12.0, 48.0, &pll, &kHi, &kMid, &kLo), 0);
    EXPECT_EQ(GetPLLCettings(0, -1, 12.0, 48.0, &pll, &kHi, &kMid, &kLo), 0);
}

}  // namespace
