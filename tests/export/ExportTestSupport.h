#pragma once

#include "../support/FixRecords.h"
#include "../support/TempFolder.h"
#include "app/Program.h"
#include "convert/DatePattern.h"
#include "geodesy/Geodesic.h"
#include "platform/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fixtally::testing {

// A loaded program over a store the test fills, with the date format yyyy/mm/dd.
struct LoadedProgram {
    HeadlessPlatform Ui;
    Program P{Ui};

    explicit LoadedProgram(const std::string& logFileName) {
        P.Store.Replace();
        P.Log.LogFileName = logFileName;
        P.Settings.DateFormat = "yyyy/mm/dd";
    }
    void Add(const FixRecord& fix) { P.Store.Append(fix); }
    // Count range and full range over the whole store, as a reader leaves them.
    void SetRangeToStore() {
        double first = 0, last = 0;
        for (std::size_t i = 0; i < P.Store.Count(); ++i) {
            double t = P.Store.At(i).Time;
            if (i == 0 || t < first) first = t;
            if (i == 0 || t > last) last = t;
        }
        P.CountRange = {first, last};
        P.FullRange = P.CountRange;
        P.RangeDialog.PublishLogRange(P);
        P.Average.PublishLogRange(P);
    }
};

inline double Day(int year, int month, int day) {
    return DayNumberFromDate(year, month, day);
}
inline double Seconds(double s) {
    return s / 86400.0;
}

// The lines of a CR LF file (each line must end with CR LF).
inline std::vector<std::string> CsvLines(const std::string& path) {
    std::string text = ReadWholeFile(path);
    std::vector<std::string> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = text.find("\r\n", begin);
        EXPECT_NE(end, std::string::npos) << "line without CR LF in " << path;
        if (end == std::string::npos) break;
        std::string line = text.substr(begin, end - begin);
        EXPECT_EQ(line.find('\n'), std::string::npos);
        lines.push_back(line);
        begin = end + 2;
    }
    return lines;
}

inline std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t begin = 0;
    for (;;) {
        std::size_t comma = line.find(',', begin);
        fields.push_back(line.substr(begin, comma - begin));
        if (comma == std::string::npos) break;
        begin = comma + 1;
    }
    return fields;
}

// Degrees of latitude and longitude per metre near a point, from the program's own distance.
inline double LatDegreesPerMetre(double lat, double lon) {
    return 0.001 / GeodesicDistance(lat, lon, lat + 0.001, lon, 0, 0);
}
inline double LonDegreesPerMetre(double lat, double lon) {
    return 0.001 / GeodesicDistance(lat, lon, lat, lon + 0.001, 0, 0);
}

} // namespace fixtally::testing
