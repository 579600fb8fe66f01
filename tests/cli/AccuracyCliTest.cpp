// The empirical accuracy figures and the plain-number statistics of fixtally-cli.

#include "CliRunner.h"

#include "app/LogLoading.h"
#include "app/Program.h"
#include "app/ProgramSettings.h"
#include "geodesy/Geodesic.h"
#include "input/csv/CsvProfiles.h"
#include "platform/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace fixtally {
namespace {

using testing::ExampleLog;
using testing::JsonNumber;
using testing::Quoted;

class AccuracyCli : public ::testing::Test {
protected:
    testing::CliOutput Cli(const std::string& arguments) {
        return testing::RunCli(arguments, folder_ / "stderr.txt");
    }
    testing::TempFolder folder_{"fixtally-accuracy"};
};

// The k-th smallest, k = ceil(p x n), of a fully sorted copy.
double SortedRank(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(std::ceil(p * values.size())) - 1];
}

TEST_F(AccuracyCli, JsonFiguresEqualASortOfTheDistances) {
    for (const char* reference : {"", " --true 35.6812 139.7671 41"}) {
        SCOPED_TRACE(reference);
        const testing::CliOutput run = Cli(Quoted(ExampleLog()) + " --json" + reference);
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        const std::size_t accuracy = run.Out.find("\"accuracy\": {");
        ASSERT_NE(accuracy, std::string::npos) << run.Out;

        // The same log counted here, its distances measured one by one and sorted.
        HeadlessPlatform ui;
        Program p(ui);
        AddDefaultProfiles(p.Settings);
        if (*reference) {
            p.Settings.UseAverage = false;
            p.Settings.TrueLat = "35.6812";
            p.Settings.TrueLon = "139.7671";
            p.Settings.TrueAlt = "41";
        }
        ApplySettings(p);
        p.Log.LogFileName = ExampleLog();
        ASSERT_GT(LoadLogFile(p), 0);
        const GeoPoint r = p.Results.ReferencePoint;
        const FixFilter filter = CurrentFilter(p);
        std::vector<double> horizontal, vertical, error3d;
        for (std::size_t i = 0; i < p.Store.Count(); ++i) {
            const FixRecord fix = p.Store.At(i);
            if (!filter.Accepts(fix)) continue;
            const double h =
                GeodesicDistance(r.Latitude, r.Longitude, fix.Latitude, fix.Longitude, 0, 0);
            horizontal.push_back(h);
            if (std::isnan(fix.Altitude)) continue;
            vertical.push_back(std::fabs(fix.Altitude - r.Altitude));
            error3d.push_back(std::hypot(h, fix.Altitude - r.Altitude));
        }
        ASSERT_EQ(horizontal.size(), 3600u);
        EXPECT_EQ(JsonNumber(run.Out, "cep50", accuracy), SortedRank(horizontal, 0.50));
        EXPECT_EQ(JsonNumber(run.Out, "cep95", accuracy), SortedRank(horizontal, 0.95));
        EXPECT_EQ(JsonNumber(run.Out, "cep99", accuracy), SortedRank(horizontal, 0.99));
        EXPECT_EQ(JsonNumber(run.Out, "vertical50", accuracy), SortedRank(vertical, 0.50));
        EXPECT_EQ(JsonNumber(run.Out, "vertical95", accuracy), SortedRank(vertical, 0.95));
        EXPECT_DOUBLE_EQ(JsonNumber(run.Out, "error3d95", accuracy), SortedRank(error3d, 0.95));
        EXPECT_EQ(JsonNumber(run.Out, "fixes", accuracy), 3600);
        // Half the report's 2drms is the horizontal RMS of the same fixes.
        EXPECT_NEAR(JsonNumber(run.Out, "horizontal_rms", accuracy),
                    p.Results.ErrorSpread.Horizontal / 2, 1e-12);
    }
}

TEST_F(AccuracyCli, StatisticsAreNumbersWithUnitsAndIsoTimes) {
    const testing::CliOutput run =
        Cli(Quoted(ExampleLog()) + " --json --true 35.6812 139.7671 41 --set 2drms=0");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const std::string& out = run.Out;
    const std::size_t statistics = out.find("\"statistics\": {");
    ASSERT_NE(statistics, std::string::npos);
    // The text fields are still there, with the values the numbers stand for.
    EXPECT_NE(out.find("\"tCenterEditHP\": \"12.22083m  3/14/2026 12:55:00(UTC)\""),
              std::string::npos);
    EXPECT_NEAR(JsonNumber(out, "peak_horizontal_m", statistics), 12.22083, 5e-6);
    EXPECT_NE(out.find("\"peak_horizontal_time\": \"2026-03-14T12:55:00Z\""), std::string::npos);
    EXPECT_NE(out.find("\"spread_kind\": \"CEP(50%)\""), std::string::npos);
    EXPECT_NE(out.find("\"reference_kind\": \"true\""), std::string::npos);
    const double twoDrms = JsonNumber(out, "horizontal_2drms_m", statistics);
    EXPECT_NEAR(JsonNumber(out, "horizontal_spread_m", statistics), twoDrms * 0.416273762, 1e-12);
    EXPECT_EQ(JsonNumber(out, "latitude_deg", out.find("\"reference\": {")), 35.6812);
    EXPECT_GT(JsonNumber(out, "average_from_reference_m", statistics), 0);
    EXPECT_NE(out.find("\"first_fix_time\": \"2026-03-14T12:00:00Z\""), std::string::npos);
    EXPECT_NE(out.find("\"last_fix_time\": \"2026-03-14T12:59:59Z\""), std::string::npos);
    EXPECT_EQ(JsonNumber(out, "fixes_accepted", statistics), 3600);
    EXPECT_EQ(JsonNumber(out, "records_read", statistics), 3600);
    EXPECT_EQ(JsonNumber(out, "min", out.find("\"satellites_used\": {")), 7);
    EXPECT_TRUE(std::isnan(JsonNumber(out, "min", out.find("\"satellites_extra\": {"))));
}

TEST_F(AccuracyCli, NoAcceptedFixGivesNullsNotZeros) {
    const testing::CliOutput run = Cli(Quoted(ExampleLog()) + " --json --set HDOPlim=0.1");
    const std::string& out = run.Out;
    const std::size_t accuracy = out.find("\"accuracy\": {");
    ASSERT_NE(accuracy, std::string::npos) << run.Err;
    EXPECT_NE(out.find("\"cep95\": null", accuracy), std::string::npos);
    EXPECT_EQ(JsonNumber(out, "fixes", accuracy), 0);
    EXPECT_NE(out.find("\"records_in_range\": null"), std::string::npos);
    EXPECT_NE(out.find("\"first_fix_time\": null"), std::string::npos);
    EXPECT_EQ(JsonNumber(out, "records_read"), 3600);
}

TEST_F(AccuracyCli, AccuracyBlockFollowsTheUnchangedReport) {
    const testing::CliOutput report = Cli(Quoted(ExampleLog()));
    const testing::CliOutput run = Cli(Quoted(ExampleLog()) + " --accuracy");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    ASSERT_EQ(run.Out.rfind(report.Out, 0), 0u); // the report byte for byte, then the block
    const std::string block = run.Out.substr(report.Out.size());
    EXPECT_EQ(block.rfind("Empirical accuracy (", 0), 0u) << block;
    EXPECT_NE(block.find("  CEP95 (empirical):"), std::string::npos);
    EXPECT_NE(block.find("m  3600 fixes\r\n"), std::string::npos);
    EXPECT_NE(block.find("m  3600 fixes with altitude\r\n"), std::string::npos);
    // Every figure line has its fixes count in the same column.
    std::size_t column = std::string::npos, lines = 0;
    for (std::size_t at = block.find("\r\n") + 2; at < block.size();
         at = block.find("\r\n", at) + 2) {
        const std::size_t count = block.find("m  3600", at);
        if (column == std::string::npos) column = count - at;
        EXPECT_EQ(count - at, column);
        ++lines;
    }
    EXPECT_EQ(lines, 11u);
}

} // namespace
} // namespace fixtally
