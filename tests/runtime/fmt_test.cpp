// The formatter that builds generated ring labels.
#include <gtest/gtest.h>

#include "runtime/fmt.h"

namespace {

TEST(Fmt, WholeNumbersAndTexts) {
    EXPECT_EQ(rt::Fmt("%s<%d", 12), "12");
    EXPECT_EQ(rt::Fmt("%s<%d", -12), "-12");
    EXPECT_EQ(rt::Fmt("%s<%d", 0), "0");
    EXPECT_EQ(rt::Fmt("%s<%i dB", 5), "5 dB");
    EXPECT_EQ(rt::Fmt("%s<%d", -2.9), "-2");  // a real is cut toward zero
    EXPECT_EQ(rt::Fmt("%s<%s=%d", "R", 7), "R=7");
}

TEST(Fmt, RealsWithAndWithoutPrecision) {
    EXPECT_EQ(rt::Fmt("%s<%f", -12.0f), "-12");
    EXPECT_EQ(rt::Fmt("%s<%f", -11.25f), "-11.25");
    EXPECT_EQ(rt::Fmt("%s<%f", 35.25), "35.25");
    EXPECT_EQ(rt::Fmt("%s<%f", 100), "100");
    EXPECT_EQ(rt::Fmt("%s<%f[p2]", 6.66667f), "6.67");
    EXPECT_EQ(rt::Fmt("%s<%f[p2]", 0.0), "0.00");
    EXPECT_EQ(rt::Fmt("%s<%f[p2]", 20.0f), "20.00");
    EXPECT_EQ(rt::Fmt("%s<%f[p2]", -0.001), "0.00");
    EXPECT_EQ(rt::Fmt("%s<%f[p0]", 2.5), "2");
}

// A running single-precision value, as the depth ring's fill makes it, stays on its two-decimal
// labels all the way.
TEST(Fmt, RunningValueKeepsItsDecimals) {
    const char* expected[] = {"0.00",  "6.67",  "13.33", "20.00", "26.67", "33.33", "40.00", "46.67",
                              "53.33", "60.00", "66.67", "73.33", "80.00", "86.67", "93.33"};
    float v = 0;
    for (const char* e : expected) {
        EXPECT_EQ(rt::Fmt("%s<%f[p2]", v), e);
        v += 6.66667f;
    }
}

TEST(Fmt, OddFormats) {
    EXPECT_EQ(rt::Fmt("%s<%d%%", 50), "50%");
    EXPECT_EQ(rt::Fmt("%s<%d and %d", 1), "1 and ");  // no argument left: nothing
    EXPECT_EQ(rt::Fmt("%s<%q%d", 3), "%q3");          // unknown item copied
    EXPECT_EQ(rt::Fmt("%d", 4), "4");                  // no target given
    EXPECT_EQ(rt::Fmt("%s<%f[p2", 1.0), "1[p2");       // unterminated modifier copied
    EXPECT_EQ(rt::Fmt(nullptr, 1), "");
}

}  // namespace
