#include "input/csv/CsvFieldForms.h"
#include "input/csv/CsvNumber.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace fixtally;

TEST(CsvFieldForms, ParseCoordinate) {
    struct Case {
        const char* Text;
        double Degrees; // NaN: unreadable
        int Decimals;
    } cases[] = {
        {"35.658099", 35.658099, 4},
        {"-139.741357", -139.741357, 4},
        {"139.741357W", -139.741357, 5}, // decimals count letters behind the point
        {"S33.95", -33.95, 0},
        {"+35.5N", 35.5, 0},
        {"\"35.5\"", 35.5, 0},
        {"35 30", 35.5, 0},
        {"35 30.6", 35.51, 2},
        {"35°39'29.1572\"N", 35.0 + (39 + 29.1572 / 60) / 60, 7},
        {"W139 30 0", -139.5, 0},
        {"1 2 3 4", 1.0 + (2 + 7.0 / 60) / 60, 0}, // a fourth number adds to the seconds
        {"", NAN, 0},
        {"N", NAN, 0},
        {"-", NAN, 0},
        {"abc", NAN, 0},
    };
    for (const Case& c : cases) {
        const CoordinateValue v = ParseCoordinate(c.Text);
        if (std::isnan(c.Degrees)) {
            EXPECT_TRUE(std::isnan(v.Degrees)) << c.Text;
            continue;
        }
        EXPECT_NEAR(v.Degrees, c.Degrees, 1e-12) << c.Text;
        EXPECT_EQ(v.Decimals, c.Decimals) << c.Text;
    }
}

TEST(CsvFieldForms, QualityWords) {
    struct Case {
        const char* Text;
        bool Rtklib;
        char16_t Digit;
    } cases[] = {
        {"FRTK", false, u'5'},
        {"Float", true, u'5'},
        {"float", false, u'F'},
        {"3", false, u'3'},
        {"", false, u'0'},
        {"", true, u'0'},
        {"sps", false, u'1'},
        {"D", false, u'2'},
        {"S", true, u'2'},
        {"single", true, u'1'},
        {"Estimated (dead reckoning)", false, u'6'},
        {"ESTIMATED MODE", false, u'6'},
        {"Simulator", false, u'8'},
        {"PPP", true, u'3'},
        {"x", false, u'X'},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(QualityWordToDigit(c.Text, c.Rtklib), c.Digit) << c.Text << " " << c.Rtklib;
    }
}

TEST(CsvFieldForms, LeadingInt) {
    EXPECT_EQ(ParseLeadingInt(" 8/12"), 8);
    EXPECT_EQ(ParseLeadingInt("7(11)"), 7);
    EXPECT_EQ(ParseLeadingInt("+9"), 9);
    EXPECT_EQ(ParseLeadingInt("x"), 0);
    EXPECT_EQ(ParseLeadingInt("1-2"), 0);
}

TEST(CsvFieldForms, CompactDatesAndTimes) {
    struct Case {
        const char* In;
        const char* Out;
    } dates[] = {
        {"20140517", "05/17/2014"}, {"140517", "05/17/14"}, {"40517", "05/17/04"}, {"", ""}};
    for (const Case& c : dates) EXPECT_EQ(CompactDateToSlashed(c.In), c.Out) << c.In;

    Case times[] = {{"123456", "12:34:56"},
                    {"1234", "00:12:34"},
                    {"12345.6", "01:23:45.6"},
                    {"1234567", "12:34:56.7"},
                    {".5", "00:00:00.5"},
                    {"103000.000", "10:30:00.000"},
                    {"", ""}};
    for (const Case& c : times) EXPECT_EQ(CompactTimeToColons(c.In), c.Out) << c.In;

    Case yearFirst[] = {{"2014/05/17 10:00:00", "05/17/2014 10:00:00"},
                        {"2014/05/17", "05/17/2014"},
                        {"05/17/2014", "05/17/2014"},
                        {"", ""}};
    for (const Case& c : yearFirst) EXPECT_EQ(YearFirstToMonthFirst(c.In), c.Out) << c.In;
}

TEST(CsvFieldForms, IsoDateTimes) {
    struct Case {
        const char* In;
        bool Converts;
        const char* Out;
    } cases[] = {
        {"2014-05-17T10:30:00Z", true, "2014/05/17 10:30:00"},
        {"2014-05-17T10:30:00", true, "2014/05/17 10:30:00"},
        {"20140517T103000Z", true, "2014/05/17 10:30:00"},
        {"2014-05-17T19:30:00+09:00", true, "2014/05/17 10:30:00.000"},
        {"20140517T19:30:00+0900", true, "2014/05/17 10:30:00.000"},
        {"2014-05-17T05:30:00-05:00", true, "2014/05/17 10:30:00.000"},
        {"2014-05-17T05:30:00.250-05", true, "2014/05/17 10:30:00.250"},
        {"2014-05-17T00:30:00+01:00", true, "2014/05/16 23:30:00.000"},
        {"2014-05-17T10:30:00+xx:00", false, ""},
        {"2014-13-17T10:30:00+01:00", false, ""},
    };
    for (const Case& c : cases) {
        std::string out;
        EXPECT_EQ(IsoToDateTimeText(c.In, out), c.Converts) << c.In;
        if (c.Converts) {
            EXPECT_EQ(out, c.Out) << c.In;
        }
    }
}

TEST(CsvFieldForms, SpeedToKnots) {
    ProfileParams p;
    EXPECT_DOUBLE_EQ(SpeedToKnots(1.852, p), 1.0);
    p.SpeedUnit = 1;
    EXPECT_DOUBLE_EQ(SpeedToKnots(10, p), 8.68976241);
    p.SpeedUnit = 2;
    EXPECT_DOUBLE_EQ(SpeedToKnots(3, p), 3);
    p.SpeedUnit = 0;
    p.SpeedFactor = 0.001;
    EXPECT_DOUBLE_EQ(SpeedToKnots(1852, p), 1.0);
    EXPECT_TRUE(std::isnan(SpeedToKnots(NAN, p)));
}

// The short path for plain numbers gives exactly what the full conversion gives.
TEST(CsvNumber, PlainDecimalMatchesTheFullConversion) {
    std::vector<std::string> texts = {
        "0",  "-0", "35.681236", "-139.767125",     "999999999999999", "0.00000000000001",
        "1.", ".5", "-.5",       "123456.789012345"};
    std::uint64_t state = 88172645463325252ULL;
    for (int i = 0; i < 20000; ++i) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        std::string digits = std::to_string(state % 1000000000000000ULL);
        const std::size_t point = state % (digits.size() + 1);
        if (point < digits.size()) digits.insert(point, ".");
        texts.push_back((state & 1 ? "-" : "") + digits);
    }
    for (const std::string& text : texts) {
        double plain = 0, full = 0;
        int decimals = -1;
        ASSERT_TRUE(PlainDecimal(text, plain, decimals)) << text;
        ASSERT_TRUE(ParseDecimal(text, full)) << text;
        EXPECT_EQ(plain, full) << text;
        EXPECT_EQ(std::signbit(plain), std::signbit(full)) << text;
    }
    double value = 0;
    int decimals = 0;
    for (const char* text : {"", "-", ".", "1.2.3", "+1", "1e5", "1234567890123456", " 1"}) {
        EXPECT_FALSE(PlainDecimal(text, value, decimals)) << text;
    }
    int kept = 7;
    EXPECT_DOUBLE_EQ(CsvStrippedNumber("45.25 M", kept), 45.25);
    EXPECT_EQ(kept, 2);
    EXPECT_DOUBLE_EQ(CsvStrippedNumber("1.5E3m", kept), 1500); // the full conversion
    EXPECT_EQ(kept, 3);
    EXPECT_TRUE(std::isnan(CsvStrippedNumber("M", kept)));
    EXPECT_EQ(kept, 3); // untouched when nothing reads
}
