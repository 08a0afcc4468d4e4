// The notch coefficient function on its own: the codec's worked examples, and coefficients
// that would leave their 14-bit fields held at the field's limits instead of wrapping.
#include <gtest/gtest.h>

#include <cstdint>

#include "capture/notch_filter.h"

namespace {

struct Regs {
    uint32_t r[4] = {0x080, 0, 0, 0};  // the enable bit of the first register set
};

Regs Packed(const notch::Coefficients& c, Regs in = {}) {
    notch::Pack(c, &in.r[0], &in.r[1], &in.r[2], &in.r[3]);
    return in;
}

TEST(NotchCoefficients, WorkedExamples) {
    struct Case {
        double f0, bw, fs;
        int a0, a1;
        uint32_t r[4];
    };
    const Case cases[] = {
        {1000, 100, 48000, -8085, 8069, {0x0C0, 0x06B, 0x03F, 0x005}},
        {15000, 1000, 48000, -7184, -2942, {0x0C7, 0x070, 0x0E9, 0x002}},
        {1000, 0, 48000, -8192, 8122, {0x0C0, 0x000, 0x03F, 0x03A}},
        {440, 50, 48000, -8139, 8152, {0x0C0, 0x035, 0x03F, 0x058}},
        {5800, 20, 48000, -8171, 5935, {0x0C0, 0x015, 0x02E, 0x02F}},
    };
    for (const Case& c : cases) {
        notch::Coefficients k = notch::Compute(c.f0, c.bw, c.fs);
        EXPECT_EQ(k.a0, c.a0) << c.f0 << "/" << c.bw;
        EXPECT_EQ(k.a1, c.a1) << c.f0 << "/" << c.bw;
        Regs r = Packed(k);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(r.r[i], c.r[i]) << c.f0 << "/" << c.bw << " register " << i;
    }
}

// Bandwidth 0 with a low centre gives NFCA1 = 8192, one past the field: held at 8191, so the
// filter is not flipped to -8192.
TEST(NotchCoefficients, OutOfRangeCoefficientsAreHeldAtTheFieldLimits) {
    notch::Coefficients k = notch::Compute(10, 0, 48000);
    EXPECT_EQ(k.a0, -8192);
    EXPECT_EQ(k.a1, 8191);
    Regs r = Packed(k);
    EXPECT_EQ(r.r[2], 0x03Fu);
    EXPECT_EQ(r.r[3], 0x07Fu);

    // Bandwidths at or above half the rate: every result within 14 bits, including the ones
    // whose intermediate values are far outside any integer range.
    for (double bw : {4000.0, 5000.0, 6000.0, 7000.0, 10000.0})
        for (double f0 : {0.0, 1000.0, 3000.0, 20000.0}) {
            notch::Coefficients c = notch::Compute(f0, bw, 8000);
            EXPECT_GE(c.a0, notch::kCoefficientMin) << f0 << "/" << bw;
            EXPECT_LE(c.a0, notch::kCoefficientMax) << f0 << "/" << bw;
            EXPECT_GE(c.a1, notch::kCoefficientMin) << f0 << "/" << bw;
            EXPECT_LE(c.a1, notch::kCoefficientMax) << f0 << "/" << bw;
        }
    notch::Coefficients wide = notch::Compute(1000, 5000, 8000);  // a1 far below -1
    EXPECT_EQ(wide.a0, notch::kCoefficientMax);
}

// NFCA1's sign is the third register's bit 7: set for a negative value, cleared for a positive
// one even when an earlier value left it set; the other high bits are kept.
TEST(NotchCoefficients, SignBitOfTheSecondCoefficientIsAssigned) {
    Regs before;
    before.r[0] = 0x180;
    before.r[1] = 0x180;
    before.r[2] = 0x1E9;
    before.r[3] = 0x180;
    Regs r = Packed({-8085, 8069}, before);
    EXPECT_EQ(r.r[0], 0x1C0u);
    EXPECT_EQ(r.r[1], 0x1EBu);
    EXPECT_EQ(r.r[2], 0x13Fu);
    EXPECT_EQ(r.r[3], 0x185u);
    r = Packed({100, -2942}, r);
    EXPECT_EQ(r.r[0], 0x180u);  // the enable bit is not the sign of a positive NFCA0
    EXPECT_EQ(r.r[2], 0x1E9u);
}

// The stability test runs on the integers as written; the notch of a stable filter lands where
// its rounded coefficients put it, which at low centres is far from the centre asked for.
TEST(NotchCoefficients, StabilityAndWhereTheNotchLands) {
    EXPECT_FALSE(notch::Stable(notch::Compute(1000, 5000, 8000)));  // {8191, -4096}: a pole at -1.618
    EXPECT_FALSE(notch::Stable(notch::Compute(50, 100, 48000)));    // a pole at 1.0063
    EXPECT_FALSE(notch::Stable(notch::Compute(1000, 0, 48000)));    // poles on the unit circle
    EXPECT_FALSE(notch::Stable({-7980, 8086}));                     // 2 x 8086 = 8192 + 7980: on it
    EXPECT_TRUE(notch::Stable({-7980, 8085}));

    notch::Coefficients k = notch::Compute(1000, 100, 48000);
    ASSERT_TRUE(notch::Stable(k));
    EXPECT_NEAR(notch::NotchFrequency(k, 48000), 999.09, 0.01);
    EXPECT_GT(notch::AttenuationDb(k, 1000, 48000), 30);
    EXPECT_NEAR(notch::AttenuationDb(k, 12000, 48000), 0, 0.01);  // far from the notch: no loss

    notch::Coefficients hum = notch::Compute(60, 100, 48000);
    ASSERT_TRUE(notch::Stable(hum));
    EXPECT_NEAR(notch::NotchFrequency(hum, 48000), 84.68, 0.01);
    EXPECT_LT(notch::AttenuationDb(hum, 60, 48000), 20);
}

TEST(NotchCoefficients, RateTable) {
    EXPECT_EQ(notch::RateOfIndex(0), 48000);
    EXPECT_EQ(notch::RateOfIndex(5), 8000);
    EXPECT_EQ(notch::RateOfIndex(6), 0);
    EXPECT_EQ(notch::RateOfIndex(-1), 0);
}

}  // namespace
