#include "app/LogLoading.h"
#include "app/Program.h"
#include "convert/DatePattern.h"
#include "input/csv/CsvProfiles.h"
#include "input/csv/CsvReader.h"
#include "platform/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

using namespace fixtally;

namespace {

struct ManifestEntry {
    std::string Path;
    int Records = 0;
    bool DatedTimes = false; // yyyy/mm/dd hh:mm:ss times (not GPS week and seconds)
};

std::vector<ManifestEntry> PosEntries(const std::filesystem::path& corpus) {
    std::vector<ManifestEntry> entries;
    std::ifstream manifest(corpus / "MANIFEST.tsv");
    const std::regex records(R"((\d+) records)");
    std::string line;
    while (std::getline(manifest, line)) {
        if (line.rfind("pos/", 0) != 0) continue;
        ManifestEntry entry;
        entry.Path = line.substr(0, line.find('\t'));
        std::smatch match;
        if (std::regex_search(line, match, records)) entry.Records = std::stoi(match[1]);
        entry.DatedTimes = line.find("yyyy/mm/dd") != std::string::npos;
        entries.push_back(entry);
    }
    return entries;
}

} // namespace

// Every RTKLIB solution file of the corpus loads as an RTKLIB log with the number of
// records its manifest states.
TEST(RtklibCorpus, SolutionFilesLoad) {
    const std::filesystem::path corpus(FIXTALLY_CORPUS);
    if (!std::filesystem::exists(corpus / "MANIFEST.tsv")) GTEST_SKIP() << "no corpus";
    const std::vector<ManifestEntry> entries = PosEntries(corpus);
    ASSERT_FALSE(entries.empty());
    for (const ManifestEntry& entry : entries) {
        HeadlessPlatform ui;
        Program p(ui);
        AddDefaultProfiles(p.Settings);
        const int result = ReadCsvLog(p, (corpus / entry.Path).string());
        EXPECT_EQ(result, entry.Records) << entry.Path;
        EXPECT_TRUE(p.Log.IsRtklibLog) << entry.Path;
        EXPECT_NE(p.Main.StatusPanel0.find("  RTKLIB CSV file ..."), std::string::npos)
            << entry.Path;
        if (result <= 0) continue;
        const FixRecord first = p.Store.At(0);
        EXPECT_GT(first.Latitude, -90) << entry.Path;
        EXPECT_LT(first.Latitude, 90) << entry.Path;
        EXPECT_NE(first.SatsUsed, 255) << entry.Path;
        EXPECT_GE(first.FixQuality, u'1') << entry.Path;
        EXPECT_LE(first.FixQuality, u'6') << entry.Path;
        if (entry.DatedTimes) {
            // Dated solutions span their epochs: a few minutes to an hour.
            EXPECT_GT(p.FullRange.Start, 38000) << entry.Path;
            const double span = p.FullRange.End - p.FullRange.Start;
            EXPECT_GT(span, 0) << entry.Path;
            EXPECT_LT(span, 1.0 / 24 + 1e-6) << entry.Path;
        } else {
            // GPS week and seconds of week: the dates they stand for, GPS time less the
            // 16 s of the LeapSecond setting (week 1316, 518400 s is 2005-04-02 00:00).
            const double start = DayNumberFromDate(2005, 4, 2) - 16.0 / 86400;
            EXPECT_NEAR(first.Time, start, 1e-9) << entry.Path;
            EXPECT_NEAR(p.FullRange.Start, start, 1e-9) << entry.Path;
        }
    }
}
