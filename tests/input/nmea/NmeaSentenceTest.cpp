#include "input/nmea/NmeaSentence.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace fixtally;

namespace {

// "$" + body + "*" + its checksum.
std::string Nmea(std::string_view body) {
    unsigned sum = 0;
    for (char c : body) sum ^= static_cast<unsigned char>(c);
    static const char* hex = "0123456789ABCDEF";
    return "$" + std::string(body) + "*" + hex[sum >> 4] + hex[sum & 15];
}

double TimeOfDay(int h, int m, int s, int ms = 0) {
    return static_cast<double>(((h * 60 + m) * 60 + s) * 1000 + ms) / 86400000.0;
}

const std::string kGga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";
const std::string kRmc = "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A";

// A decoder in the read pass with a fixed year window.
struct NmeaSentenceTest : ::testing::Test {
    NmeaSentenceTest() {
        decoder.ReadPass = true;
        decoder.CurrentYear = 2026;
    }
    int Parse(std::string_view line) { return ParseNmeaLine(line, decoder, log); }
    const EpochValues& Epoch() const { return decoder.Epoch; }

    NmeaDecoder decoder;
    LoadedLog log;
};

} // namespace

TEST_F(NmeaSentenceTest, DecodesTheTextbookGgaFieldByField) {
    ASSERT_EQ(SentenceGga, Parse(kGga));
    EXPECT_NEAR(48.1173, Epoch().GgaLatitude, 1e-12);
    EXPECT_NEAR(11 + 31.0 / 60, Epoch().GgaLongitude, 1e-12);
    EXPECT_EQ(u'1', Epoch().Quality);
    EXPECT_EQ(8, Epoch().GgaSats);
    EXPECT_DOUBLE_EQ(0.9, Epoch().GgaHdop);
    EXPECT_DOUBLE_EQ(545.4, Epoch().GgaAltitude);
    EXPECT_DOUBLE_EQ(TimeOfDay(12, 35, 19), Epoch().GgaTime);
    EXPECT_EQ(0, Epoch().DgpsFlag);
    EXPECT_EQ(1, decoder.GgaCount);
    EXPECT_EQ(3, log.LogPosDecimals);
    EXPECT_EQ(1, log.LogAltDecimals);
    EXPECT_EQ(1, decoder.PrevIndex1);
    EXPECT_DOUBLE_EQ(TimeOfDay(12, 35, 19), decoder.PrevSentenceTime);
    // Nothing else of the epoch is touched.
    EXPECT_TRUE(std::isnan(Epoch().RmcLatitude));
    EXPECT_TRUE(std::isnan(Epoch().Pdop));
}

TEST_F(NmeaSentenceTest, AcceptsOnlySentencesWithAValidChecksumOrNoneExceptRmc) {
    std::string ggaNoStar = kGga.substr(0, kGga.find('*'));
    std::string rmcNoStar = kRmc.substr(0, kRmc.find('*'));
    std::string rmcLower = kRmc.substr(0, kRmc.size() - 1) + "a";
    struct Case {
        std::string line;
        int expected;
    } cases[] = {
        {kGga, SentenceGga},
        {"junk before\x01$" + kGga.substr(1), SentenceGga},
        {"$$" + kGga.substr(1), SentenceGga},       // the sentence starts at the last "$"
        {"$\x01$A$" + kRmc.substr(1), SentenceRmc}, // binary bytes holding "$" before it
        {kGga.substr(0, 20) + kRmc, SentenceRmc},   // a sentence cut by the next one
        {kGga.substr(0, kGga.size() - 1) + "6", SentenceNone}, // checksum 46
        {kGga + " ", SentenceNone},                            // anything after the digits
        {kGga + "0", SentenceNone},
        {kGga.substr(0, kGga.size() - 1), SentenceNone}, // one digit
        {kGga.substr(0, kGga.size() - 2) + "4G", SentenceNone},
        {ggaNoStar, SentenceGga},
        {kRmc, SentenceRmc},
        {rmcLower, SentenceRmc}, // hex digits in either case
        {rmcNoStar, SentenceNone},
        {"$GPGGA,", SentenceNone}, // too short to be a sentence
        {"", SentenceNone},
        {"no dollar at all", SentenceNone},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        NmeaDecoder fresh;
        fresh.ReadPass = true;
        EXPECT_EQ(c.expected, ParseNmeaLine(c.line, fresh, log));
    }
}

TEST(PeekSentenceType, SentenceStartsAtTheLastDollar) {
    NmeaDecoder decoder;
    decoder.ReadPass = true;
    EXPECT_EQ(SentenceRmc, PeekSentenceType("$\x01$A\xC2\xB5" + kRmc, decoder));
    EXPECT_EQ(SentenceGga, PeekSentenceType("$$" + kGga.substr(1), decoder));
    EXPECT_EQ(SentenceNone, PeekSentenceType(kGga + "$", decoder));
}

TEST(NmeaChecksumValid, NeedsANameBeforeTheStarAndTwoDigitsAfterIt) {
    EXPECT_TRUE(NmeaChecksumValid(kGga));
    EXPECT_TRUE(NmeaChecksumValid(Nmea("GPGGA")));
    EXPECT_FALSE(NmeaChecksumValid(Nmea("GPGG"))); // "*" before the seventh character
    EXPECT_FALSE(NmeaChecksumValid("$GPGGA,1"));
    EXPECT_FALSE(NmeaChecksumValid(""));
    EXPECT_FALSE(NmeaChecksumValid("$GPGGA,1*"));
}

TEST(SplitFields, CutsAtCommasTrimsAndStopsAtTheStar) {
    NmeaFields f;
    SplitFields("$GPGGA, 1 ,\t2\t,,x*12", f);
    ASSERT_EQ(5, f.Count);
    EXPECT_EQ("$GPGGA", f[0]);
    EXPECT_EQ("1", f[1]);
    EXPECT_EQ("2", f[2]);
    EXPECT_EQ("", f[3]);
    EXPECT_EQ("x", f[4]);
    EXPECT_EQ("", f[5]);

    SplitFields(kGga, f); // 14 commas
    EXPECT_EQ(15, f.Count);
    EXPECT_EQ("", f[14]); // "*47" cut to nothing

    SplitFields("$GPXXX", f);
    EXPECT_EQ(1, f.Count);
    EXPECT_EQ("$GPXXX", f[0]);

    SplitFields("$A,last field kept untrimmed ", f);
    EXPECT_EQ("last field kept untrimmed ", f[1]);

    // More than 24 commas: the rest of the line stays in field 24.
    std::string many = "$N";
    for (int i = 1; i <= 30; ++i) many += "," + std::to_string(i);
    SplitFields(many, f);
    EXPECT_EQ(25, f.Count);
    EXPECT_EQ("23", f[23]);
    EXPECT_EQ("24,25,26,27,28,29,30", f[24]);
}

TEST(SentenceIndex, NumbersTheTableEntries) {
    for (int k = 0; k < 36; ++k) {
        std::string_view name = SentenceTable.substr(static_cast<std::size_t>(6 * k), 6);
        EXPECT_EQ(k, SentenceIndex(name)) << name;
    }
    EXPECT_EQ(0, SentenceIndex("$GPGSV"));
    EXPECT_EQ(0, SentenceIndex("$GP"));
    EXPECT_EQ(0, SentenceIndex(""));
    EXPECT_EQ(0, SentenceIndex("$GPGGAH"));
}

// Every name of the table with a sentence of its kind: what ParseNmeaLine returns in the
// read pass and what PeekSentenceType makes of it.
TEST(NmeaSentenceTable, DecodesEachTalkerWithItsDecoder) {
    const std::string gga = ",123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";
    const std::string rmc = ",123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W,A";
    const std::string gns = ",123519,4807.038,N,01131.000,E,AA,08,0.9,545.4,46.9,,";
    const std::string gsa = ",A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1";
    const std::string qsa = ",A,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1";
    const std::string gll = ",4807.038,N,01131.000,E,123519,A,A";
    struct Case {
        const char* name;
        const std::string& body;
        bool gnsMode;
        int parsed;
        int peeked;
    } cases[] = {
        {"GPGGA", gga, false, 1, 1},
        {"GNGGA", gga, false, 1, 1},
        {"GLGGA", gga, false, 1, 1},
        {"GQGGA", gga, false, 1, 1},
        {"GIGGA", gga, false, 1, 1},
        {"BDGGA", gga, false, 1, 1},
        {"GBGGA", gga, false, 1, 1},
        {"GAGGA", gga, false, 1, 1},
        {"GPGGA", gga, true, 0, 0},
        {"GPRMC", rmc, false, 2, 2},
        {"GNRMC", rmc, false, 2, 2},
        {"GLRMC", rmc, false, 2, 2},
        {"GQRMC", rmc, false, 2, 2},
        {"GIRMC", rmc, false, 2, 2},
        {"BDRMC", rmc, false, 2, 2},
        {"GBRMC", rmc, false, 2, 2},
        {"GARMC", rmc, false, 2, 2},
        {"GPRMC", rmc, true, 2, 2},
        {"GNGNS", gns, true, 3, 3},
        {"GPGNS", gns, true, 3, 3},
        {"GLGNS", gns, true, 3, 3},
        {"GBGNS", gns, true, 3, 3},
        {"GQGNS", gns, true, 3, 3},
        {"GIGNS", gns, true, 3, 3},
        {"GAGNS", gns, true, 3, 3},
        {"BDGNS", gns, true, 3, 3},
        {"GNGNS", gns, false, 0, 0},
        // primary GSA: DOPs only; secondary GSA: 3 while the epoch has no DOPs yet
        {"GPGSA", gsa, false, 0, 0},
        {"GNGSA", gsa, false, 0, 0},
        {"GQGSA", gsa, false, 0, 0},
        {"GIGSA", gsa, false, 0, 0},
        {"GLGSA", gsa, false, 3, 0},
        {"BDGSA", gsa, false, 3, 0},
        {"GBGSA", gsa, false, 3, 0},
        {"GAGSA", gsa, false, 3, 0},
        {"QZQSA", qsa, false, 0, 0},
        {"GQGLL", gll, false, 0, 0},
        {"GIGLL", gll, false, 0, 0},
        {"GPGLL", gll, false, 0, 0},
        {"GPVTG", gll, false, 0, 0},
        {"GPGSV", gsa, false, 0, 0},
        {"X_X_X", gga, false, 0, 0},
    };
    for (const auto& c : cases) {
        std::string line = Nmea(c.name + c.body);
        SCOPED_TRACE(line + (c.gnsMode ? " (GNS mode)" : ""));
        NmeaDecoder decoder;
        decoder.ReadPass = true;
        decoder.GnsMode = c.gnsMode;
        LoadedLog log;
        EXPECT_EQ(c.parsed, ParseNmeaLine(line, decoder, log));
        EXPECT_EQ(c.peeked, PeekSentenceType(line, decoder));
    }
}

TEST_F(NmeaSentenceTest, RefusesGgaWithoutAFixAndMarksDifferentialQualities) {
    struct Case {
        const char* quality;
        int type;
        int dgps;
    } cases[] = {{"1", 1, 0}, {"2", 1, 1}, {"3", 1, 1}, {"4", 1, 1}, {"5", 1, 1},
                 {"6", 1, 0}, {"0", 0, 0}, {"7", 0, 0}, {"8", 0, 0}, {"", 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.quality);
        decoder = NmeaDecoder{};
        decoder.ReadPass = true;
        std::string line = Nmea(std::string("GPGGA,123519,4807.038,N,01131.000,E,") + c.quality +
                                ",08,0.9,545.4,M,46.9,M,,");
        EXPECT_EQ(c.type, Parse(line));
        EXPECT_EQ(c.dgps, Epoch().DgpsFlag);
        EXPECT_EQ(c.type == 0 ? 0 : 1, decoder.GgaCount); // a refused GGA takes no time
    }
    decoder = NmeaDecoder{};
    EXPECT_EQ(0, Parse(Nmea("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M")))
        << "13 fields are too few";
}

TEST_F(NmeaSentenceTest, TreatsEmptyDopAndAltitudeFieldsAsAbsent) {
    ASSERT_EQ(1, Parse(Nmea("GPGGA,123519,4807.038,N,01131.000,E,1,,,,M,,M,,")));
    EXPECT_TRUE(std::isnan(Epoch().GgaHdop));
    EXPECT_TRUE(std::isnan(Epoch().GgaAltitude));
    EXPECT_EQ(255, Epoch().GgaSats); // an empty satellite count is absent, not 0

    decoder.GnsMode = true;
    ASSERT_EQ(3, Parse(Nmea("GNGNS,123519,4807.038,N,01131.000,E,AA,12,,,,,")));
    EXPECT_TRUE(std::isnan(Epoch().GnsHdop));
    EXPECT_TRUE(std::isnan(Epoch().GnsAltitude));
    ASSERT_EQ(3, Parse(Nmea("GNGNS,123519,4807.038,N,01131.000,E,AA,,,,,,")));
    EXPECT_EQ(255, Epoch().GnsSats);
    ASSERT_EQ(3, Parse(Nmea("GNGNS,123519,4807.038,N,01131.000,E,AA,12,x,bad,,,")));
    EXPECT_TRUE(std::isnan(Epoch().GnsHdop));
    EXPECT_TRUE(std::isnan(Epoch().GnsAltitude));

    decoder.Epoch.Reset();
    decoder.GnsMode = false;
    ASSERT_EQ(0, Parse(Nmea("GPGSA,A,1,,,,,,,,,,,,,,,")));
    EXPECT_TRUE(std::isnan(Epoch().Pdop));
    EXPECT_TRUE(std::isnan(Epoch().Vdop));
    EXPECT_TRUE(std::isnan(Epoch().GgaHdop));
}

TEST_F(NmeaSentenceTest, LetsTheGsaHdopFillAnAbsentOrZeroPositionHdop) {
    const std::string gsa = Nmea("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1");
    struct Case {
        const char* hdop; // GGA field 8
        double expected;
    } cases[] = {{"0.9", 0.9}, {"", 1.3}, {"0.0", 1.3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hdop);
        decoder.Epoch.Reset();
        Parse(Nmea(std::string("GPGGA,123519,4807.038,N,01131.000,E,1,08,") + c.hdop +
                   ",545.4,M,46.9,M,,"));
        EXPECT_EQ(0, Parse(gsa));
        EXPECT_DOUBLE_EQ(c.expected, Epoch().GgaHdop);
        EXPECT_DOUBLE_EQ(2.5, Epoch().Pdop);
        EXPECT_DOUBLE_EQ(2.1, Epoch().Vdop);
    }
    // In GNS mode the GNS HDOP is the one filled.
    decoder.Epoch.Reset();
    decoder.GnsMode = true;
    Parse(gsa);
    EXPECT_DOUBLE_EQ(1.3, Epoch().GnsHdop);
    EXPECT_TRUE(std::isnan(Epoch().GgaHdop));
    // A GSA without an HDOP leaves a zero HDOP as it is.
    decoder.Epoch.Reset();
    decoder.Epoch.GnsHdop = 0;
    Parse(Nmea("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,,2.1"));
    EXPECT_EQ(0, Epoch().GnsHdop);
}

TEST_F(NmeaSentenceTest, ReadsGsaLayoutsOfTwelveAndSixteenSatellites) {
    // 16 satellite fields (n = 22): DOPs in fields 19..21.
    ASSERT_EQ(3, Parse(Nmea("GLGSA,A,2,65,66,67,,,,,,,,,,,,,,1.9,1.1,1.5")));
    EXPECT_DOUBLE_EQ(1.9, Epoch().Pdop);
    EXPECT_DOUBLE_EQ(1.5, Epoch().Vdop);
    EXPECT_EQ(3, Epoch().SecondarySats);
    EXPECT_FALSE(Epoch().AltitudeValid) << "a 2D fix has no usable altitude";
    // Too few fields: ignored.
    decoder.Epoch.Reset();
    EXPECT_EQ(0, Parse(Nmea("GLGSA,A,3,65,66,,,,,,,,,,1.9,1.1,1.5")));
    EXPECT_EQ(255, Epoch().SecondarySats);
}

TEST_F(NmeaSentenceTest, SecondaryGsaTakesDopsOnlyWhenThePrimaryGaveNone) {
    Parse(Nmea("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1"));
    EXPECT_EQ(0, Parse(Nmea("GLGSA,A,2,65,66,,,,,,,,,,,3.5,2.3,3.1")));
    EXPECT_DOUBLE_EQ(2.5, Epoch().Pdop);
    EXPECT_TRUE(Epoch().AltitudeValid);
    EXPECT_EQ(2, Epoch().SecondarySats);
}

TEST_F(NmeaSentenceTest, SortsConsecutiveGngsaIntoPrimarySecondaryAndAdditional) {
    const std::string first = Nmea("GNGSA,A,3,01,02,03,04,,,,,,,,,1.8,1.0,1.5,1");
    const std::string second = Nmea("GNGSA,A,3,65,66,67,,,,,,,,,,1.8,1.0,1.5,2");
    const std::string third = Nmea("GNGSA,A,3,301,302,,,,,,,,,,,1.8,1.0,1.5,3");
    for (bool gnsMode : {false, true}) {
        SCOPED_TRACE(gnsMode ? "GNS mode" : "GGA mode");
        decoder = NmeaDecoder{};
        decoder.ReadPass = true;
        decoder.GnsMode = gnsMode;
        Parse(Nmea("GNRMC,123519,A,4807.038,N,01131.000,E,0.1,,230394,,,A"));
        EXPECT_EQ(0, Parse(first)); // primary: DOPs, no satellites of further systems
        EXPECT_DOUBLE_EQ(1.8, Epoch().Pdop);
        EXPECT_EQ(255, Epoch().SecondarySats);
        EXPECT_EQ(0, Parse(second)); // secondary: DOPs already known
        EXPECT_EQ(3, Epoch().SecondarySats);
        EXPECT_EQ(gnsMode ? 3 : 0, Parse(third)); // additional: adds its satellites
        EXPECT_EQ(5, Epoch().SecondarySats);
        EXPECT_EQ(gnsMode ? 3 : 0, Parse(third));
        EXPECT_EQ(7, Epoch().SecondarySats);
    }
    // After a $GPGSA the first $GNGSA is already a secondary one.
    decoder = NmeaDecoder{};
    decoder.ReadPass = true;
    Parse(Nmea("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1"));
    Parse(second);
    EXPECT_EQ(3, Epoch().SecondarySats);
    EXPECT_DOUBLE_EQ(2.5, Epoch().Pdop);
}

TEST_F(NmeaSentenceTest, RefusedSentencesRepeatTheLastAcceptedIndex) {
    Parse(kGga);
    Parse(kRmc);
    EXPECT_EQ(4, decoder.PrevIndex1);
    EXPECT_EQ(1, decoder.PrevIndex2);
    Parse(kRmc.substr(0, kRmc.find('*'))); // refused
    EXPECT_EQ(4, decoder.PrevIndex1);
    EXPECT_EQ(4, decoder.PrevIndex2);
    Parse(Nmea("GPGSV,3,1,11")); // not in the table: nothing changes
    EXPECT_EQ(4, decoder.PrevIndex1);
    EXPECT_EQ(4, decoder.PrevIndex2);
}

TEST_F(NmeaSentenceTest, ExpandModeDecodesOnlyTheHVariants) {
    log.ExpandMode = true;
    const std::string plain = kGga;
    const std::string withH =
        Nmea("GPGGAH,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
    EXPECT_EQ(0, Parse(plain));
    EXPECT_EQ(0, decoder.GgaCount);
    EXPECT_EQ(1, PeekSentenceType(plain, decoder)) << "epoch splitting still sees the plain GGA";
    EXPECT_EQ(1, Parse(withH));
    EXPECT_NEAR(48.1173, Epoch().GgaLatitude, 1e-12);
    EXPECT_EQ(0, PeekSentenceType(withH, decoder));

    log.ExpandMode = false;
    decoder = NmeaDecoder{};
    EXPECT_EQ(0, Parse(withH));
    EXPECT_EQ(0, decoder.GgaCount);
}

TEST_F(NmeaSentenceTest, ReadsTheRmcDateAndKeepsItOnlyWhenItFollowsTheLastEpoch) {
    log.LastFixTime = 0;
    ASSERT_EQ(2, Parse(kRmc));
    const double day = 34416 + TimeOfDay(12, 35, 19); // 1994-03-23
    EXPECT_DOUBLE_EQ(day, Epoch().RmcTime);
    EXPECT_TRUE(decoder.CurrentDate.Empty()) << "a date a day or more from the last epoch";
    EXPECT_NEAR(22.4, Epoch().RmcSpeed, 1e-12);
    EXPECT_NEAR(48.1173, Epoch().RmcLatitude, 1e-12);
    EXPECT_EQ(u'1', Epoch().Quality); // status A, no mode field
    EXPECT_EQ(1, decoder.RmcCount);

    log.LastFixTime = day - 0.5;
    Parse(kRmc);
    EXPECT_EQ("03/23/94", decoder.CurrentDate.View());
    // A GGA then carries the RMC date.
    Parse(kGga);
    EXPECT_DOUBLE_EQ(day, Epoch().GgaTime);
}

TEST_F(NmeaSentenceTest, PlacesTwoDigitRmcYearsAroundTheCurrentYear) {
    struct Case {
        const char* date;
        double expected;
    } cases[] = {{"311299", 36525}, {"010170", 62094}, {"091226", 46365}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.date);
        Parse(Nmea(std::string("GPRMC,000000,A,4807.038,N,01131.000,E,,,") + c.date + ",,,A"));
        EXPECT_DOUBLE_EQ(c.expected, Epoch().RmcTime);
    }
}

TEST_F(NmeaSentenceTest, FallsBackToTheTimeOfDayWhenTheRmcDateIsInvalid) {
    log.LastFixTime = 0.2;
    decoder.CurrentDate.Text = {'0', '3', '/', '2', '3', '/', '9', '4'};
    decoder.CurrentDate.Size = 8;
    ASSERT_EQ(2, Parse(Nmea("GPRMC,123519,A,4807.038,N,01131.000,E,,,000000,,,A")));
    EXPECT_DOUBLE_EQ(TimeOfDay(12, 35, 19), Epoch().RmcTime);
    EXPECT_TRUE(decoder.CurrentDate.Empty());

    // A date of fewer than six characters refuses the sentence.
    decoder.Epoch.Reset();
    EXPECT_EQ(0, Parse(Nmea("GPRMC,123519,A,4807.038,N,01131.000,E,,,2303,,,A")));
    EXPECT_EQ(0, Epoch().RmcTime);
    EXPECT_EQ(1, decoder.RmcCount);
    // So does a date with other characters than digits, keeping the date in force.
    decoder.CurrentDate.Text = {'0', '8', '/', '2', '2', '/', '9', '9'};
    decoder.CurrentDate.Size = 8;
    for (const char* date : {"2208-1", "22 899", "2208991x", "+22089"}) {
        SCOPED_TRACE(date);
        decoder.Epoch.Reset();
        EXPECT_EQ(0, Parse(Nmea(std::string("GPRMC,000231.099,A,4829.0005,N,00022.0015,E,,,") +
                                date + ",,,A")));
        EXPECT_EQ(0, Epoch().RmcTime);
        EXPECT_EQ(1, decoder.RmcCount);
        EXPECT_EQ("08/22/99", decoder.CurrentDate.View());
    }
    // Void status and short sentences are refused outright.
    decoder.Epoch.Reset();
    EXPECT_EQ(0, Parse(Nmea("GPRMC,123519,V,4807.038,N,01131.000,E,,,230394,,,N")));
    EXPECT_EQ(0, Parse(Nmea("GPRMC,123519,A,4807.038,N,01131.000,E,,,230394")));
    EXPECT_TRUE(std::isnan(Epoch().RmcTime));
}

TEST_F(NmeaSentenceTest, DerivesTheQualityCharacterFromRmcAndGnsModes) {
    struct Case {
        const char* line; // sentence bodies of one epoch, "|" between them
        char16_t quality;
        int dgps;
    } cases[] = {
        {"GPRMC,1,A,1,N,1,E,,,230394,,,A", u'1', 0},
        {"GPRMC,1,A,1,N,1,E,,,230394,,,D", u'2', 0},
        {"GPRMC,1,A,1,N,1,E,,,230394,,,R", u'4', 0},
        {"GPRMC,1,A,1,N,1,E,,,230394,,,F", u'5', 0},
        {"GPRMC,1,A,1,N,1,E,,,230394,,,E", u'6', 0},
        {"GPRMC,1,A,1,N,1,E,,,230394,,,X", u' ', 0},
        {"GPRMC,1,D,1,N,1,E,,,230394,,", u'2', 0},
        {"GPRMC,1,A,1,N,1,E,,,230394,,,P", u'3', 0},
        // RMC mode P after a GGA with quality 5 makes it precise; a later GGA keeps that.
        {"GPGGA,1,1,N,1,E,5,08,0.9,1,M,1,M,,|GPRMC,1,A,1,N,1,E,,,230394,,,P", u'3', 1},
        {"GPRMC,1,A,1,N,1,E,,,230394,,,P|GPGGA,1,1,N,1,E,5,08,0.9,1,M,1,M,,", u'3', 1},
        {"GPGGA,1,1,N,1,E,4,08,0.9,1,M,1,M,,|GPRMC,1,A,1,N,1,E,,,230394,,,A", u'4', 1},
        {"GNGNS,1,1,N,1,E,AAN,08,0.9,1,1,,", u'1', 0},
        {"GNGNS,1,1,N,1,E,D,08,0.9,1,1,,", u'2', 1},
        {"GNGNS,1,1,N,1,E,DA,08,0.9,1,1,,", u'1', 0},
        {"GNGNS,1,1,N,1,E,NF,08,0.9,1,1,,", u'5', 0},
        {"GNGNS,1,1,N,1,E,NNN,08,0.9,1,1,,", u' ', 0}, // refused
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        decoder = NmeaDecoder{};
        decoder.ReadPass = true;
        decoder.GnsMode = std::string_view(c.line).starts_with("GNGNS");
        std::string_view rest = c.line;
        while (!rest.empty()) {
            std::size_t bar = rest.find('|');
            Parse(Nmea(rest.substr(0, bar)));
            rest = bar == std::string_view::npos ? "" : rest.substr(bar + 1);
        }
        EXPECT_EQ(c.quality, Epoch().Quality);
        EXPECT_EQ(c.dgps, Epoch().DgpsFlag);
    }
}

TEST_F(NmeaSentenceTest, CountsSentencesAndEpochChangesInTheCheckPass) {
    decoder.ReadPass = false;
    const char* lines[] = {
        "GPRMC,120000,A,4807.038,N,01131.000,E,,,230394,,,A",
        "GPGGA,120000,4807.038,N,01131.000,E,1,08,0.9,1,M,1,M,,",
        "GPRMC,120001,A,4807.038,N,01131.000,E,,,230394,,,A",
        "GPGGA,120001,4807.038,N,01131.000,E,1,08,0.9,1,M,1,M,,",
        "GPRMC,120002,A,4807.038,N,01131.000,E,,,230394,,,A",
        "GNGNS,120002,4807.038,N,01131.000,E,AA,08,0.9,1,1,,",
    };
    int types[6];
    for (int i = 0; i < 6; ++i) types[i] = Parse(Nmea(lines[i]));
    EXPECT_EQ((std::vector<int>{2, 1, 2, 1, 2, 0}), std::vector<int>(types, types + 6));
    EXPECT_EQ(3, decoder.RmcCount);
    EXPECT_EQ(2, decoder.GgaCount);
    EXPECT_EQ(1, decoder.GnsCount);
    EXPECT_EQ(2, decoder.RmcNewEpochs);
    EXPECT_EQ(0, decoder.GgaNewEpochs);
    EXPECT_EQ(0, decoder.GnsNewEpochs);
    // Positions are read in the read pass only.
    EXPECT_TRUE(std::isnan(Epoch().GgaLatitude));
    EXPECT_TRUE(std::isnan(Epoch().RmcLatitude));
}

TEST(NmeaTimeValue, TurnsNmeaTimesIntoTimesOfDay) {
    struct Case {
        const char* field;
        double expected;
    } cases[] = {
        {"123519", TimeOfDay(12, 35, 19)},
        {"123519.00", TimeOfDay(12, 35, 19)},
        {"123519.5", TimeOfDay(12, 35, 19, 500)},
        {"123519.25", TimeOfDay(12, 35, 19, 250)},
        {"123519.", TimeOfDay(12, 35, 19)},
        {"93456", TimeOfDay(9, 34, 56)},
        {"1235191", TimeOfDay(12, 35, 19, 100)}, // a seventh digit starts the fraction
        {"235960", TimeOfDay(23, 59, 59)},       // leap second
        {"235960.50", TimeOfDay(23, 59, 59, 500)},
        {"123519.1234", 0},
        {"246000", 0},
        {"12", 0},
        {"abcdef", 0},
        {".5", 0},
        {"123456789012345678901234567890", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        EXPECT_DOUBLE_EQ(c.expected, NmeaTimeValue(c.field, "", 2026));
    }
    EXPECT_DOUBLE_EQ(46365 + TimeOfDay(12, 35, 19), NmeaTimeValue("123519", "12/09/26", 2026));
    EXPECT_DOUBLE_EQ(46365, NmeaTimeValue("", "12/09/26", 2026));
}

TEST(NmeaCoordinate, ReadsDegreesAndMinutesWithTheHemisphereSign) {
    struct Case {
        const char* value;
        const char* hemisphere;
        double expected;
        int decimals; // LogPosDecimals after the call, from 1
    } cases[] = {
        {"4807.038", "N", 48.1173, 3},
        {"4807.038", "S", -48.1173, 3},
        {"01131.000", "E", 11 + 31.0 / 60, 3},
        {"01131.000", "W", -(11 + 31.0 / 60), 3},
        {"-4807.038", "N", 48.1173, 3}, // the letter decides the sign
        {" 4807.03812 ", " S ", -(48 + 7.03812 / 60), 5},
        {"4807", "N", 48 + 7.0 / 60, 4}, // without a point every digit counts
        {"4807.038", "", 48.1173, 3},
        {"", "N", NAN, 1},
        {"48o7.038", "N", NAN, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        int decimals = 1;
        double value = NmeaCoordinate(c.value, c.hemisphere, decimals);
        if (std::isnan(c.expected))
            EXPECT_TRUE(std::isnan(value)) << value;
        else
            EXPECT_NEAR(c.expected, value, 1e-12);
        EXPECT_EQ(c.decimals, decimals);
    }
}

TEST_F(NmeaSentenceTest, KeepsSatelliteCountsInsideAByte) {
    Parse(Nmea("GPGGA,123519,4807.038,N,01131.000,E,1,300,0.9,545.4,M,46.9,M,,"));
    EXPECT_EQ(255, Epoch().GgaSats);
    Parse(Nmea("GPGGA,123519,4807.038,N,01131.000,E,1,-1,0.9,545.4,M,46.9,M,,"));
    EXPECT_EQ(255, Epoch().GgaSats);
    Parse(Nmea("GPGGA,123519,4807.038,N,01131.000,E,1,x,0.9,545.4,M,46.9,M,,"));
    EXPECT_EQ(0, Epoch().GgaSats);

    decoder.Epoch.SecondarySats = 250;
    const std::string full = Nmea("GNGSA,A,3,1,2,3,4,5,6,7,8,9,10,11,12,1.8,1.0,1.5,3");
    decoder.PrevIndex1 = decoder.PrevIndex2 = 8;
    Parse(full);
    EXPECT_EQ(254, Epoch().SecondarySats);
}

// A checksummed sentence can carry numbers that are no DOP or satellite count: they are
// absent, as an empty field is, so that no filter lets them through and no report shows them.
TEST_F(NmeaSentenceTest, DopsAndSatelliteCountsThatAreNoValuesAreAbsent) {
    const std::string gsa = Nmea("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1");
    struct Case {
        const char* hdop;
        const char* sats;
        double hdopAfterGsa; // the GSA fills an absent HDOP
        int satellites;
    } cases[] = {
        {"-1e308", "08", 1.3, 8}, {"-0.5", "-3", 1.3, 255}, {"1e400", "256", 1.3, 255},
        {"0.9", "300", 0.9, 255}, {"0.9", "254", 0.9, 254}, {"0.9", "99999999999", 0.9, 255},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hdop);
        decoder.Epoch.Reset();
        ASSERT_EQ(1, Parse(Nmea(std::string("GPGGA,123519,4807.038,N,01131.000,E,1,") + c.sats +
                                "," + c.hdop + ",545.4,M,46.9,M,,")));
        EXPECT_EQ(c.satellites, Epoch().GgaSats);
        EXPECT_EQ(0, Parse(gsa));
        EXPECT_DOUBLE_EQ(c.hdopAfterGsa, Epoch().GgaHdop);
    }
    decoder.Epoch.Reset();
    EXPECT_EQ(0, Parse(Nmea("GPGSA,A,3,04,05,,09,12,,,24,,,,,-2.5,-1e308,-0.1")));
    EXPECT_TRUE(std::isnan(Epoch().Pdop));
    EXPECT_TRUE(std::isnan(Epoch().Vdop));
    EXPECT_TRUE(std::isnan(Epoch().GgaHdop));
}
