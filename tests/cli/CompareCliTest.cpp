// fixtally-cli --compare: several logs side by side.

#include "CliRunner.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fixtally {
namespace {

using testing::ExampleLog;
using testing::JsonNumber;
using testing::Quoted;

class CompareCli : public ::testing::Test {
protected:
    testing::CliOutput Cli(const std::string& arguments) {
        return testing::RunCli(arguments, folder_ / "stderr.txt");
    }
    std::string Copy(const std::string& name) {
        const std::string path = folder_ / name;
        std::filesystem::copy_file(ExampleLog(), path);
        return path;
    }
    testing::TempFolder folder_{"fixtally-compare"};
};

TEST_F(CompareCli, TwoCopiesOfOneLogLieZeroApart) {
    const std::string a = Copy("a.nmea"), b = Copy("b.nmea");
    const testing::CliOutput table = Cli("--compare " + Quoted(a) + " " + Quoted(b));
    ASSERT_EQ(table.ExitCode, 0) << table.Err;
    EXPECT_EQ(table.Out.rfind("log", 0), 0u);
    EXPECT_NE(table.Out.find("2drms"), std::string::npos);
    EXPECT_NE(table.Out.find("3600/3600  100.0%  5.50130m"), std::string::npos) << table.Out;
    EXPECT_NE(table.Out.find("b.nmea"), std::string::npos);

    const testing::CliOutput json = Cli("--compare " + Quoted(a) + " " + Quoted(b) + " --json");
    ASSERT_EQ(json.ExitCode, 0) << json.Err;
    const std::size_t second = json.Out.find("b.nmea");
    EXPECT_EQ(JsonNumber(json.Out, "from_first_m", second), 0);
    EXPECT_EQ(JsonNumber(json.Out, "cep95_m"), JsonNumber(json.Out, "cep95_m", second));

    // The figures are those of the log counted alone.
    const testing::CliOutput alone = Cli(Quoted(a) + " --json");
    EXPECT_EQ(JsonNumber(json.Out, "cep95_m"), JsonNumber(alone.Out, "cep95"));
    EXPECT_EQ(JsonNumber(json.Out, "horizontal_spread_m"),
              JsonNumber(alone.Out, "horizontal_2drms_m"));
}

TEST_F(CompareCli, AMissingLogGetsARowWithTheReasonAndExitCodeOne) {
    const std::string a = Copy("a.nmea");
    for (const char* form : {"", " --csv", " --json"}) {
        SCOPED_TRACE(form);
        const testing::CliOutput run =
            Cli("--compare " + Quoted(a) + " " + Quoted(folder_ / "missing.nmea") + form);
        EXPECT_EQ(run.ExitCode, 1);
        EXPECT_NE(run.Out.find("Can not open: missing.nmea"), std::string::npos) << run.Out;
        EXPECT_NE(run.Out.find("a.nmea"), std::string::npos);
    }
    const testing::CliOutput csv =
        Cli("--compare " + Quoted(folder_ / "missing.nmea") + " " + Quoted(a) + " --csv");
    // The first log did not load: distances are taken from the first that did.
    EXPECT_NE(csv.Out.find(",0,\r\n"), std::string::npos) << csv.Out;
}

TEST_F(CompareCli, ParallelLoadsGiveTheSequentialResults) {
    std::string logs;
    for (const char* name : {"static-1hz-hour.nmea", "multi-gnss-gn.nmea", "gns-dominated.nmea",
                             "static-1hz-hour.nmea"})
        logs += " " + Quoted(ExampleLog(name));
    logs += " " + Quoted(std::string(FIXTALLY_TEST_DATA) + "/pos/kinematic_mixed_plain.pos");
    const testing::CliOutput sequential = Cli("--compare" + logs + " --json --threads 1");
    const testing::CliOutput parallel = Cli("--compare" + logs + " --json --threads 4");
    ASSERT_EQ(sequential.ExitCode, 0) << sequential.Err;
    ASSERT_EQ(parallel.ExitCode, 0) << parallel.Err;
    EXPECT_EQ(parallel.Out, sequential.Out);
    EXPECT_NE(parallel.Out.find("\"kind\": \"RTKLIB\""), std::string::npos);
}

TEST_F(CompareCli, CompareTakesNoOutputOfASingleLog) {
    for (const char* extra : {" --report", " --accuracy", " --graph g.png", " --csv --json"}) {
        const testing::CliOutput run = Cli("--compare " + Quoted(ExampleLog()) + extra);
        EXPECT_EQ(run.ExitCode, 2) << extra;
    }
    EXPECT_EQ(Cli(Quoted(ExampleLog()) + " --csv").ExitCode, 2);
    EXPECT_EQ(Cli(Quoted(ExampleLog()) + " " + Quoted(ExampleLog())).ExitCode, 2);
    EXPECT_EQ(Cli("--compare " + Quoted(ExampleLog()) + " --threads 0").ExitCode, 2);
}

} // namespace
} // namespace fixtally
