// The arithmetic entry routines, called as compiled code calls them.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "text/MathEntries.h"
#include "text/Random.h"

namespace {

TEST(MathEntries, ComparisonsAndRounding) {
    EXPECT_EQ(RuntimeAbs(-3.5), 3.5);
    EXPECT_EQ(RuntimeAbs(2), 2);
    EXPECT_EQ(RuntimeMax(1, 2), 2);
    EXPECT_EQ(RuntimeMax(2, 1), 2);
    EXPECT_EQ(RuntimeMin(1, 2), 1);
    EXPECT_EQ(RuntimeMin(2, 1), 1);
    // A NaN never compares greater or smaller: the second argument wins.
    EXPECT_EQ(RuntimeMax(NAN, 1), 1);
    EXPECT_EQ(RuntimeMin(NAN, 1), 1);
    const struct {
        double x, expected;
    } rounding[] = {{2.5, 3}, {-2.5, -2}, {-2.6, -3}, {2.49, 2}, {0, 0}, {-0.5, 0}};
    for (const auto& c : rounding) EXPECT_EQ(RuntimeRound(c.x), c.expected) << c.x;
    EXPECT_EQ(RuntimeCeil(1.2), 2);
    EXPECT_EQ(RuntimeCeil(-1.2), -1);
    EXPECT_EQ(RuntimeFloor(-1.2), -2);
    EXPECT_EQ(RuntimeFloor(1.8), 1);
}

TEST(MathEntries, MathematicalFunctions) {
    EXPECT_EQ(RuntimeSqrt(16), 4);
    EXPECT_TRUE(std::isnan(RuntimeSqrt(-1)));
    EXPECT_DOUBLE_EQ(RuntimeExp(1), std::numbers::e);
    EXPECT_DOUBLE_EQ(RuntimeLog(std::numbers::e), 1);
    EXPECT_EQ(RuntimePow(2, 10), 1024);
    EXPECT_DOUBLE_EQ(RuntimeSin(std::numbers::pi / 2), 1);
    EXPECT_DOUBLE_EQ(RuntimeCos(0), 1);
    EXPECT_DOUBLE_EQ(RuntimeTan(std::numbers::pi / 4), 1);
    EXPECT_DOUBLE_EQ(RuntimeASin(1), std::numbers::pi / 2);
    EXPECT_DOUBLE_EQ(RuntimeATan(1), std::numbers::pi / 4);
    // y comes first.
    EXPECT_DOUBLE_EQ(RuntimeATan2(1, 0), std::numbers::pi / 2);
    EXPECT_DOUBLE_EQ(RuntimeATan2(0, -1), std::numbers::pi);
}

TEST(MathEntries, ArcCosine) {
    EXPECT_DOUBLE_EQ(RuntimeACos(-1), std::numbers::pi);
    EXPECT_EQ(RuntimeACos(1), 0);
    EXPECT_DOUBLE_EQ(RuntimeACos(0.5), std::numbers::pi / 3);
    EXPECT_DOUBLE_EQ(RuntimeACos(0), std::numbers::pi / 2);
    EXPECT_TRUE(std::isnan(RuntimeACos(1.0000001)));
    EXPECT_TRUE(std::isnan(RuntimeACos(-2)));
}

TEST(MathEntries, BitwiseOperations) {
    EXPECT_EQ(BitwiseAnd(0xF0F0, 0xFF00), 0xF000);
    EXPECT_EQ(BitwiseOr(0xF0F0, 0xFF00), 0xFFF0);
    EXPECT_EQ(BitwiseXor(0xF0F0, 0xFF00), 0x0FF0);
    EXPECT_EQ(BitwiseXor(-1, 1), -2);
    EXPECT_EQ(BitwiseAnd(INT32_MIN, -1), INT32_MIN);
}

TEST(MathEntries, ColoursClampTheirComponents) {
    EXPECT_EQ(RuntimeRGB(255, 128, 0), 0xFF8000);
    EXPECT_EQ(RuntimeRGB(300, -5, 17), 0xFF0011);
    EXPECT_EQ(RuntimeRGB(0, 0, 0), 0);
    EXPECT_EQ(RuntimeRGB(INT32_MIN, INT32_MAX, 256), 0x00FFFF);
}

// The generator is process-wide: this one test owns it.
TEST(MathEntries, RandomNumbers) {
    runtime::ParkMillerRandom& generator = runtime::processRandom();
    ASSERT_FALSE(generator.seeded());
    const double first = rnd();  // seeds from the tick count
    EXPECT_TRUE(generator.seeded());
    EXPECT_GE(first, 0);
    EXPECT_LT(first, 1);

    generator.seed(1);
    const double expected[] = {16807, 282475249, 1622650073, 984943658, 1144108930};
    for (double state : expected) {
        EXPECT_EQ(rnd(), (static_cast<uint32_t>(state) & 0xFFFFF) / 1048576.0);
    }
    double lowest = 1, highest = 0;
    for (int i = 0; i < 10000; ++i) {
        const double value = rnd();
        ASSERT_GE(value, 0);
        ASSERT_LT(value, 1);
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
    }
    EXPECT_LT(lowest, 0.01);
    EXPECT_GT(highest, 0.99);
}

}  // namespace
