// fixtally-cli --timeplot: the picture file and its refusals.

#include "CliRunner.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fixtally {
namespace {

using testing::ExampleLog;
using testing::Quoted;
using testing::ReadWholeFile;

class TimePlotCli : public ::testing::Test {
protected:
    testing::CliOutput Cli(const std::string& arguments) {
        return testing::RunCli(arguments, folder_ / "stderr.txt");
    }
    testing::TempFolder folder_{"fixtally-timeplot"};
};

// Width and height from the PNG header (IHDR, big-endian).
std::pair<unsigned, unsigned> PngSize(const std::string& png) {
    auto at = [&png](std::size_t i) {
        unsigned v = 0;
        for (std::size_t k = 0; k < 4; ++k) v = v << 8 | static_cast<unsigned char>(png[i + k]);
        return v;
    };
    if (png.size() < 24 || png.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return {0, 0};
    return {at(16), at(20)};
}

TEST_F(TimePlotCli, WritesAPngOfTheAskedSize) {
    const std::string png = folder_ / "plot.png";
    const testing::CliOutput run =
        Cli(Quoted(ExampleLog()) + " --timeplot " + Quoted(png) + " --size 640x400");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_TRUE(run.Out.empty()); // an output was asked for, so no report
    EXPECT_TRUE(run.Err.empty()) << run.Err;
    EXPECT_EQ(PngSize(ReadWholeFile(png)), std::make_pair(640u, 400u));

    const testing::CliOutput standard =
        Cli(Quoted(ExampleLog()) + " --timeplot " + Quoted(folder_ / "default.png"));
    ASSERT_EQ(standard.ExitCode, 0) << standard.Err;
    EXPECT_EQ(PngSize(ReadWholeFile(folder_ / "default.png")), std::make_pair(1200u, 800u));
}

TEST_F(TimePlotCli, ExistingFilesAndTheLogItselfAreRefused) {
    const std::string png = Quoted(folder_.Write("old.png", "old picture"));
    const testing::CliOutput refused = Cli(Quoted(ExampleLog()) + " --timeplot " + png);
    EXPECT_EQ(refused.ExitCode, 3);
    EXPECT_NE(refused.Err.find("--yes"), std::string::npos) << refused.Err;
    EXPECT_EQ(ReadWholeFile(folder_ / "old.png"), "old picture");

    const testing::CliOutput yes = Cli(Quoted(ExampleLog()) + " --timeplot " + png + " --yes");
    EXPECT_EQ(yes.ExitCode, 0) << yes.Err;
    EXPECT_GT(PngSize(ReadWholeFile(folder_ / "old.png")).first, 0u);

    const std::string log = folder_ / "log.nmea";
    std::filesystem::copy_file(ExampleLog(), log);
    const std::string before = ReadWholeFile(log);
    const testing::CliOutput overLog = Cli(Quoted(log) + " --timeplot " + Quoted(log) + " --yes");
    EXPECT_EQ(overLog.ExitCode, 3);
    EXPECT_EQ(ReadWholeFile(log), before);

    for (const char* size : {"640", "640x", "50x50", "x400", "640x400x2"}) {
        const testing::CliOutput bad = Cli(Quoted(ExampleLog()) + " --timeplot " +
                                           Quoted(folder_ / "n.png") + " --size " + size);
        EXPECT_EQ(bad.ExitCode, 2) << size;
    }
    EXPECT_EQ(Cli(Quoted(ExampleLog()) + " --size 640x400").ExitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "n.png"));
}

TEST_F(TimePlotCli, GraphGainsALegendAndGraphPlainKeepsTheWindowsPicture) {
    const std::string plain = folder_ / "plain.png", legend = folder_ / "legend.png";
    const testing::CliOutput run = Cli(Quoted(ExampleLog()) + " --graph-plain " + Quoted(plain));
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(PngSize(ReadWholeFile(plain)), std::make_pair(311u, 316u));
    const testing::CliOutput withLegend = Cli(Quoted(ExampleLog()) + " --graph " + Quoted(legend));
    ASSERT_EQ(withLegend.ExitCode, 0) << withLegend.Err;
    EXPECT_TRUE(withLegend.Err.empty()) << withLegend.Err;
    EXPECT_EQ(PngSize(ReadWholeFile(legend)), std::make_pair(311u, 316u + 132u));

    const testing::CliOutput again = Cli(Quoted(ExampleLog()) + " --graph " + Quoted(legend));
    EXPECT_EQ(again.ExitCode, 3);
}

} // namespace
} // namespace fixtally
