#include "graph/RangeTable.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace fixtally {
namespace {

TEST(RangeTableTest, LabelOfEveryRange) {
    const std::string spaces(15, ' ');
    auto km = [&](const std::string& number) {
        return spaces.substr(0, 15 - number.size()) + number + "km";
    };
    const std::string expected[32] = {
        "1mm",       "2mm",       "5mm",        "1cm",       "2cm",     "5cm",     "10cm",
        "20cm",      "50cm",      "1m",         "2m",        "5m",      "10m",     "20m",
        "50m",       "100m",      "200m",       "500m",      km("1"),   km("2"),   km("5"),
        km("10"),    km("20"),    km("50"),     km("100"),   km("200"), km("500"), km("1,000"),
        km("2,000"), km("5,000"), km("10,000"), km("20,000")};
    for (int index = 1; index <= 32; ++index)
        EXPECT_EQ(RangeLabelText(RangeOfIndex(index)), expected[index - 1]) << index;
    EXPECT_EQ(RangeLabelText(1000), std::string(14, ' ') + "1km");
}

TEST(RangeTableTest, AutoRangeChoice) {
    const struct {
        double offset;
        int index;
    } cases[] = {
        {0, 1},         {0.0009, 1},    {0.000999, 2},
        {0.0999, 8},    {0.0998, 7},    {3, 12},
        {5.54703, 13},  {19980000, 32}, {19979999, 32},
        {19979000, 32}, {1e9, 32},      {std::numeric_limits<double>::quiet_NaN(), 1},
    };
    for (const auto& c : cases) EXPECT_EQ(AutoRangeIndex(c.offset), c.index) << c.offset;
    // Just under the margin of the last but one range.
    EXPECT_EQ(AutoRangeIndex(0.999 * 10000000 - 1), 31);
}

TEST(RangeTableTest, IndexIsKeptInsideTheTable) {
    EXPECT_EQ(ClampRangeIndex(0), 1);
    EXPECT_EQ(ClampRangeIndex(-7), 1);
    EXPECT_EQ(ClampRangeIndex(33), 32);
    EXPECT_EQ(ClampRangeIndex(7), 7);
    EXPECT_EQ(RangeOfIndex(7), 0.1);
    EXPECT_EQ(RangeOfIndex(99), 20000000);
}

} // namespace
} // namespace fixtally
