#include "input/LogKind.h"
#include "settings/Version.h"

#include <gtest/gtest.h>

using namespace fixtally;

TEST(LogFileKind, ExtensionsAgainstTheSettings) {
    Settings defaults;
    Settings capitals;
    capitals.CSVext = ".CSV";
    struct Case {
        const Settings* settings;
        const char* path;
        LogKind kind;
    } cases[] = {
        {&defaults, "/data/a.nmea", NmeaLog},    {&defaults, "/data/A.TXT", NmeaLog},
        {&defaults, "/data/noext", NmeaLog},     {&defaults, "/data/x.csv", CsvLog},
        {&defaults, "/data/x.pos", CsvLog},      {&defaults, "/data/x.png", NotDataFile},
        {&defaults, "/data/x.nm", NotDataFile},  {&defaults, "/data.d/x.ubx", NmeaLog},
        {&capitals, "/data/x.csv", NotDataFile},
    };
    for (const Case& c : cases) EXPECT_EQ(LogFileKind(*c.settings, c.path), c.kind) << c.path;
}

TEST(BuildOpenFilter, DefaultExtensions) {
    Settings s;
    EXPECT_EQ(BuildOpenFilter(s.NMEAext, s.CSVext, s.RTKLIBext),
              "Data file|*.nmea;*.nme;*.nma;*.txt;*.log;*.ubx;*.csv;*.pos|NMEA file|*.nmea;*.nme;"
              "*.nma;*.txt;*.log;*.ubx|CSV file|*.csv|RTKLIB file|*.pos|All file|*.*");
}

TEST(VersionText, TwoDigitMinor) {
    EXPECT_EQ(VersionText(), "Ver2.24");
}
