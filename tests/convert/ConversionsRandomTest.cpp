#include "convert/Conversions.h"
#include "convert/DatePattern.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>

using namespace fixtally;

// Random texts and numbers must never crash a conversion, and each result stays inside
// what its callers expect.
TEST(ConversionsRandom, SurviveRandomTextsAndNumbers) {
    std::mt19937 random(1899123);
    auto below = [&](std::size_t n) -> std::size_t {
        return n == 0 ? 0 : random() % static_cast<std::uint32_t>(n);
    };
    const std::string spice = "0123456789.:/ -+eENSWAPMftmiy\xC2\xB0'\",zZ\t";
    const double specials[] = {std::numeric_limits<double>::quiet_NaN(),
                               std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity(),
                               1e300,
                               -1e300,
                               0,
                               -0.0,
                               59.99999999999,
                               2958465.99999999,
                               -693593.5};
    std::string a, b;
    for (int iteration = 0; iteration < 40000; ++iteration) {
        for (std::string* text : {&a, &b}) {
            text->assign(below(30), ' ');
            for (char& c : *text)
                c = below(4) == 0 ? static_cast<char>(random()) : spice[below(spice.size())];
        }
        SCOPED_TRACE(a + " | " + b);
        (void)TextToInt(a);
        (void)TextToFloat(a);
        ASSERT_FALSE(std::isnan(TextToZeroFloat(a)));
        int decimals = -1;
        double stripped = StrippedNumber(a, decimals);
        ASSERT_TRUE(std::isnan(stripped) ? decimals == -1 : decimals >= 0);
        double day = DateTimeFromText(a, b, 2026);
        ASSERT_TRUE(std::isfinite(day));
        ASSERT_GE(day, -693594);
        ASSERT_LE(day, 2958466);
        (void)CoordinateFromText(a);
        (void)AltitudeFromText(a);

        double value = below(3) == 0 ? specials[below(std::size(specials))]
                                     : std::ldexp(static_cast<double>(random()) - 2147483648.0,
                                                  static_cast<int>(below(60)) - 40);
        int digits = static_cast<int>(below(30)) - 5;
        std::string dms = FormatDmsHemisphere(value, digits, b);
        ASSERT_EQ(std::isfinite(value) && std::fabs(value) < 1e15, !dms.empty());
        std::string when = FormatDatePattern(below(2) == 0 ? day : value, a);
        (void)when;
    }
}

// The quick path for plain decimals must give exactly what a full conversion gives.
TEST(ConversionsRandom, PlainDecimalsReadExactlyAsAFullConversion) {
    std::mt19937 random(4807038);
    for (int iteration = 0; iteration < 100000; ++iteration) {
        std::string text = random() % 4 == 0 ? "-" : "";
        int before = static_cast<int>(random() % 12), after = static_cast<int>(random() % 12);
        for (int i = 0; i < before; ++i) text += static_cast<char>('0' + random() % 10);
        if (after > 0 || random() % 2 == 0) text += '.';
        for (int i = 0; i < after; ++i) text += static_cast<char>('0' + random() % 10);
        double expected = 0, actual = 0;
        auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), expected);
        bool full = ec == std::errc() && ptr == text.data() + text.size();
        ASSERT_EQ(full, ParseDecimal(text, actual)) << text;
        if (full) {
            ASSERT_EQ(expected, actual) << text;
        }
    }
}
