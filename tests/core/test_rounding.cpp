#include "core/rounding.h"

#include <gtest/gtest.h>

#include <limits>

using namespace core;

TEST(Rounding, NearestWithHalvesToEvenSaturating)
{
    const double inf = std::numeric_limits<double>::infinity();
    struct Row {
        double in;
        int out;
    };
    const Row rows[] = {
        {2.5, 2},        {3.5, 4},         {-2.5, -2},      {-3.5, -4},       {0.5, 0},
        {-0.5, 0},       {1.5, 2},         {2.4999, 2},     {2.5001, 3},      {-2.5001, -3},
        {7.0, 7},        {32766.5, 32766}, {32767.4, 32767}, {32767.5, 32767}, {40000, 32767},
        {-32768.5, -32768}, {-40000, -32768}, {1e300, 32767}, {inf, 32767},   {-inf, -32768},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.in);
        EXPECT_EQ(roundToInt16(row.in), row.out);
    }
}

TEST(Rounding, ThirtyTwoBitVariantAndIntegerClamps)
{
    EXPECT_EQ(roundToInt32(100000.5), 100000);
    EXPECT_EQ(roundToInt32(100001.5), 100002);
    EXPECT_EQ(roundToInt32(2147483647.5), 2147483647);
    EXPECT_EQ(roundToInt32(-1e12), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(clampToInt16(32768), 32767);
    EXPECT_EQ(clampToInt16(-40000), -32768);
    EXPECT_EQ(clampToInt16(-5), -5);
    EXPECT_EQ(clampToInt32(3'000'000'000LL), std::numeric_limits<std::int32_t>::max());
}
