// Runs the built fixtally-cli as a script would and checks its output and exit codes.

#include "CliRunner.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

using fixtally::testing::ReadWholeFile;

class FixtallyCli : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return folder_ / name; }

    std::string Write(const std::string& name, const std::string& content) {
        return folder_.Write(name, content);
    }

    // Arguments are quoted for the shell; none of them holds a single quote.
    CliRun Cli(const std::string& arguments) {
        fixtally::testing::CliOutput run = fixtally::testing::RunCli(arguments, Path("stderr.txt"));
        return {run.ExitCode, std::move(run.Out), std::move(run.Err)};
    }

    std::string Example() const {
        return "'" + std::string(FIXTALLY_SOURCE_DIR) + "/examples/static-1hz-hour.nmea'";
    }

    fixtally::testing::TempFolder folder_{"fixtally-cli"};
};

} // namespace

TEST_F(FixtallyCli, LogsThatDoNotLoadExitWithTheStatusText) {
    Write("empty.nmea", "");
    std::string binary(2000, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = char((i * 7919) & 0xff);
    Write("frames.ubx", binary);
    std::filesystem::create_directories(folder_.Path() / "folder.nmea");
    struct Case {
        std::string log;
        std::string status;
    } cases[] = {
        {Path("missing.nmea"), " <<Error!!>>   Can not open: missing.nmea"},
        {Path("folder.nmea"), " <<Error!!>>   Is a folder: folder.nmea"},
        {Path("empty.nmea"), " empty.nmea  *** No data ***"},
        {Path("frames.ubx"), " frames.ubx  *** No data ***"},
        {Path("picture.png"), "  *** Not data file ***"},
    };
    for (const Case& c : cases) {
        CliRun run = Cli("'" + c.log + "'");
        EXPECT_EQ(run.exitCode, 1) << c.log;
        EXPECT_EQ(run.err.rfind(c.status, 0), 0u) << c.log << ": " << run.err;
        EXPECT_TRUE(run.out.empty()) << c.log;
    }
}

TEST_F(FixtallyCli, BadCommandLinesAreUsageErrors) {
    for (const std::string& arguments :
         {std::string(""), Example() + " --bogus", Example() + " --set NoSuchKey=1",
          Example() + " --set HDOPlim", Example() + " --true 35.1 139.2", Example() + " --range",
          Example() + " --set RangeIndex=seven", Example() + " --with-error"}) {
        CliRun run = Cli(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments;
        EXPECT_NE(run.err.find("usage: fixtally-cli"), std::string::npos) << arguments;
    }
}

// The words of a command line in the forms a shell user types them: options before the
// log, negative coordinates as values, an option given twice, "--" before the log.
TEST_F(FixtallyCli, CommandLinesInEveryForm) {
    struct Case {
        std::string arguments;
        int exitCode;
        std::string found; // in stdout for exit code 0, else in stderr
    } cases[] = {
        {"--json --true -33.86 -70.5 -10 " + Example(), 0, "\"Latitude\": -33.86,"},
        {"--json --true -33.86 -70.5 -10 " + Example(), 0, "\"Longitude\": -70.5,"},
        {"--json --true '33 51 36S' 151.2 5 " + Example(), 0, "\"Latitude\": -33.8"},
        {Example() + " --true 1 2 3 --json --true 35.68 139.767 40", 0, "\"Latitude\": 35.68,"},
        {"--json --true -33.86,-70.5,10 " + Example(), 0, "\"Longitude\": -70.5,"},
        {"--json --true=-33.86,-70.5,10 " + Example(), 0, "\"Latitude\": -33.86,"},
        {Example() + " --true 35.68,139.767 --json", 2, "--true"},
        {"--status -- " + Example(), 0, "3600:3600records."},
        {Example() + " --status --status --set HDOPlim=9 --set VDOPlim=9", 0, "3600:3600records."},
        {Example() + " --true 35.68 139.767 --json", 2, "--true"},
        {Example() + " --export-track --reduce 10", 2, "--reduce"},
        {Example() + " --graph a.png --graph-plain b.png", 2,
         "--graph and --graph-plain do not go together"},
        {Example() + " --size 800x600", 2, "--size belongs to --timeplot"},
        {"--compare " + Example() + " --threads 0", 2,
         "--threads needs a whole number above 0, got \"0\""},
        {"--compare " + Example() + " --threads x", 2, "--threads needs a whole number above 0"},
        {Example() + " " + Example(), 2, "more than one log given"},
        {Example() + " --set =1", 2, "--set needs KEY=VALUE, got \"=1\""},
    };
    for (const Case& c : cases) {
        CliRun run = Cli(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments << "\n" << run.err;
        const std::string& where = c.exitCode == 0 ? run.out : run.err;
        EXPECT_NE(where.find(c.found), std::string::npos) << c.arguments << "\n" << where;
        if (c.exitCode == 2) {
            EXPECT_EQ(run.err.rfind("fixtally-cli: ", 0), 0u) << run.err;
            EXPECT_NE(run.err.find("\nusage: fixtally-cli LOG [options]\n"), std::string::npos);
            EXPECT_TRUE(run.out.empty()) << c.arguments;
        }
    }
}

// The JSON is JSON whatever the log's name holds: bytes that are no UTF-8 become U+FFFD.
TEST_F(FixtallyCli, JsonStaysValidForAnyFileName) {
    const std::string log = Path("caf\xe9 \"quoted\".nmea");
    std::filesystem::copy_file(std::string(FIXTALLY_SOURCE_DIR) + "/examples/static-1hz-hour.nmea",
                               log);
    CliRun run = Cli("'" + log + "' --json");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const nlohmann::json json = nlohmann::json::parse(run.out, nullptr, false);
    ASSERT_FALSE(json.is_discarded()) << run.out;
    EXPECT_EQ(json["RecordCount"], 3600);
    EXPECT_NE(json["StatusPanel0"].get<std::string>().find("caf\xef\xbf\xbd \"quoted\".nmea"),
              std::string::npos)
        << json["StatusPanel0"];
    EXPECT_TRUE(json["accuracy"]["cep95"].is_number());
    EXPECT_TRUE(json["statistics"]["records_in_range"].is_number_integer());
}

TEST_F(FixtallyCli, ReportIsTheDefaultOutput) {
    CliRun run = Cli(Example());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.rfind("Average coordinates standard.\r\n\r\nInput file\r\n", 0), 0u);
    EXPECT_NE(run.out.find("  Horizontal:  "), std::string::npos);
    EXPECT_NE(run.out.find("3600:3600records."), std::string::npos);
}

TEST_F(FixtallyCli, SettingsRangeAndTrueCoordinatesReachTheResults) {
    CliRun status =
        Cli(Example() + " --status --set DateFormat=yyyy/mm/dd --range '2026/03/14 12:00:00' "
                        "'2026/03/14 12:09:59.000'");
    ASSERT_EQ(status.exitCode, 0) << status.err;
    EXPECT_EQ(status.out, " Completed: static-1hz-hour.nmea\n RMC preceding  3600rec.\n"
                          "2026/03/14 12:00:00 to 2026/03/14 12:09:59(UTC) elapsed: 00:09:59  "
                          "600:600records.\n");

    CliRun json = Cli(Example() + " --json --true 35.68 139.767 40 --set 2drms=0");
    ASSERT_EQ(json.exitCode, 0) << json.err;
    EXPECT_NE(json.out.find("\"GroupBox2drms\": \" CEP(50%) \""), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"UseTrueReference\": true"), std::string::npos);
    EXPECT_NE(json.out.find("\"Latitude\": 35.68,"), std::string::npos);
    EXPECT_NE(json.out.find("\"RecordCount\": 3600"), std::string::npos);
    EXPECT_EQ(json.out.find("\"tCenterEditHorDiff\": \"\""), std::string::npos) << json.out;
}

TEST_F(FixtallyCli, ExportsRefuseToOverwriteWithoutYes) {
    const std::string log = Path("track.nmea");
    std::filesystem::copy_file(std::string(FIXTALLY_SOURCE_DIR) + "/examples/static-1hz-hour.nmea",
                               log);

    CliRun first = Cli("'" + log + "' --export-track --reduce 30.0 10.0");
    ASSERT_EQ(first.exitCode, 0) << first.err;
    std::filesystem::path written;
    for (const auto& entry : std::filesystem::directory_iterator(folder_.Path()))
        if (entry.path().extension() == ".csv") written = entry.path();
    ASSERT_FALSE(written.empty());
    const std::string content = ReadWholeFile(written);
    EXPECT_NE(content.find("\r\n"), std::string::npos);

    CliRun again = Cli("'" + log + "' --export-track");
    EXPECT_EQ(again.exitCode, 3);
    EXPECT_EQ(again.err, written.string() +
                             " exists.\r\n\r\nOverwrite?\n"
                             "fixtally-cli: output file exists; --yes overwrites it\n");
    EXPECT_EQ(ReadWholeFile(written), content); // left alone

    CliRun yes = Cli("'" + log + "' --export-track --yes");
    EXPECT_EQ(yes.exitCode, 0) << yes.err;
    EXPECT_GT(ReadWholeFile(written).size(), content.size()); // "Full" writes every fix

    CliRun average = Cli("'" + log + "' --export-average 0.25 0.25 --yes");
    EXPECT_EQ(average.exitCode, 0) << average.err;

    CliRun refused = Cli("'" + log + "' --export-average 1 1 --start 1999/01/01 --yes");
    EXPECT_EQ(refused.exitCode, 3);
    EXPECT_EQ(refused.err, "Start time is out of range. \n");
}

TEST_F(FixtallyCli, GraphIsWrittenAsPng) {
    const std::string png = Path("graph.png");
    CliRun run = Cli(Example() + " --graph '" + png + "'");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadWholeFile(png).substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_TRUE(run.out.empty()); // an output was asked for, so no report
}

TEST_F(FixtallyCli, LoggerFixturesLoadWithTheirProfiles) {
    struct Case {
        const char* file;
        const char* profile;
        const char* records;
    } cases[] = {
        {"csv/gt730fls_repeats.csv", "GT-730FL-S", "  Read:3rec."},
        {"csv/igotu_trip.csv", "i-gotU", "  Read:3rec."},
        {"csv/iso_zones.csv", "Default", "  Read:5rec."},
        {"csv/m241_preamble.csv", "M-241 Ver1.13", "  Read:5rec."},
        {"csv/spaced_columns.txt", "Default", "  Read:3rec."},
        {"csv/v900_columbus.csv", "V-900, VGPS-900", "  Read:4rec."},
        {"csv/wintec_tmx.csv", "Wintec", "  Read:4rec."},
        {"pos/kinematic_gpst.pos", "RTKLIB", "  Read:4rec."},
        {"pos/kinematic_utc.pos", "RTKLIB", "  Read:4rec."},
    };
    for (const Case& c : cases) {
        CliRun run = Cli("'" + std::string(FIXTALLY_TEST_DATA) + "/" + c.file + "' --json");
        ASSERT_EQ(run.exitCode, 0) << c.file << ": " << run.err;
        EXPECT_NE(run.out.find("\"CsvProfile\": \"" + std::string(c.profile) + "\""),
                  std::string::npos)
            << c.file << "\n"
            << run.out;
        EXPECT_NE(run.out.find("\"StatusPanel1\": \"" + std::string(c.records) + "\""),
                  std::string::npos)
            << c.file;
    }
}

// A log saved as UTF-16 (Windows tools write captures that way) gives the same results
// as the same text saved as UTF-8, in either byte order.
TEST_F(FixtallyCli, Utf16CopiesOfLogsGiveTheSameResults) {
    const std::string logs[] = {std::string(FIXTALLY_SOURCE_DIR) + "/examples/static-1hz-hour.nmea",
                                std::string(FIXTALLY_TEST_DATA) + "/csv/m241_preamble.csv",
                                std::string(FIXTALLY_TEST_DATA) + "/pos/kinematic_gpst.pos"};
    for (const std::string& log : logs) {
        SCOPED_TRACE(log);
        const std::string text = ReadWholeFile(log);
        ASSERT_FALSE(text.empty());
        const std::string name = std::filesystem::path(log).filename().string();
        std::string le = "\xFF\xFE", be = "\xFE\xFF";
        for (char c : text) {
            ASSERT_GE(c, 0) << "the fixture is ASCII";
            le += c;
            le += '\0';
            be += '\0';
            be += c;
        }
        // The same file name in three folders, so that the report names the same log.
        std::string results[3];
        int index = 0;
        for (const auto& [folder, bytes] : {std::pair{"utf8", text}, {"le", le}, {"be", be}}) {
            std::filesystem::create_directories(folder_.Path() / folder);
            const std::string path = Write(std::string(folder) + "/" + name, bytes);
            CliRun report = Cli("'" + path + "' --report");
            CliRun json = Cli("'" + path + "' --json");
            ASSERT_EQ(report.exitCode, 0) << folder << ": " << report.err;
            const std::size_t at = report.out.find(path);
            ASSERT_NE(at, std::string::npos) << report.out;
            report.out.replace(at, path.size(), name);
            results[index++] = report.out + json.out;
        }
        EXPECT_EQ(results[1], results[0]);
        EXPECT_EQ(results[2], results[0]);
    }
}

// The README's examples for RTKLIB files: the quality filter and the leap seconds.
TEST_F(FixtallyCli, RtklibExamplesOfTheReadme) {
    const std::string log =
        "'" + std::string(FIXTALLY_TEST_DATA) + "/pos/kinematic_mixed_plain.pos'";
    CliRun all = Cli(log + " --set RTK_QU=1");
    ASSERT_EQ(all.exitCode, 0) << all.err;
    EXPECT_NE(all.out.find("  Horizontal:  0.68086m"), std::string::npos) << all.out;
    EXPECT_NE(all.out.find("115:115records."), std::string::npos);
    CliRun fixed = Cli(log + " --set 'RTK_QS=<=' --set 'RTK_QU=1 fix'");
    ASSERT_EQ(fixed.exitCode, 0) << fixed.err;
    EXPECT_NE(fixed.out.find("  <=1 fix:      27.0%"), std::string::npos) << fixed.out;
    EXPECT_NE(fixed.out.find("  Horizontal:  0.00791m"), std::string::npos);
    EXPECT_NE(fixed.out.find("31:31records."), std::string::npos);
    CliRun leap = Cli(log + " --status --set LeapSecond=13");
    ASSERT_EQ(leap.exitCode, 0) << leap.err;
    EXPECT_NE(leap.out.find("4/1/2005 23:59:47 to 4/2/2005 00:56:47(UTC)"), std::string::npos)
        << leap.out;
}

// Option values that would be replaced by a default in silence are usage errors that
// name the option and the value.
TEST_F(FixtallyCli, OptionValuesThatDoNotConvertAreUsageErrors) {
    struct Case {
        std::string arguments;
        std::string reason;
    } cases[] = {
        {"--true north 139.767 40", "--true latitude \"north\" is not a coordinate"},
        {"--true 35.68 east 40", "--true longitude \"east\" is not a coordinate"},
        {"--true 35.68 139.767 high", "--true altitude \"high\" is not a height in metres"},
        {"--export-average x 1", "--export-average span \"x\" is not a number of hours"},
        {"--export-average 1 1h", "--export-average step \"1h\" is not a number of hours"},
        {"--export-track --reduce far 10", "--reduce distance \"far\" is not a number of metres"},
        {"--export-track --reduce 10 ''", "--reduce time \"\" is not a number of seconds"},
        {"--set HDOPlim=abc", "--set HDOPlim \"abc\" is not a number"},
        {"--set CSVspan=", "--set CSVspan \"\" is not a number"},
        {"--set PosDecimal=2.5", "--set PosDecimal \"2.5\" is not a whole number"},
        {"--set TrueLat=north", "--set TrueLat \"north\" is not a coordinate"},
    };
    for (const Case& c : cases) {
        CliRun run = Cli(Example() + " " + c.arguments);
        EXPECT_EQ(run.exitCode, 2) << c.arguments;
        EXPECT_EQ(run.err.rfind("fixtally-cli: " + c.reason + "\nusage: fixtally-cli", 0), 0u)
            << c.arguments << "\n"
            << run.err;
        EXPECT_TRUE(run.out.empty()) << c.arguments;
    }
    // What the dialogs refuse themselves stays theirs, with exit code 3.
    CliRun limit = Cli(Example() + " --export-average 1 1 --limit -5");
    EXPECT_EQ(limit.exitCode, 3);
    EXPECT_EQ(limit.err, "Effective horizontal error range is out of range. \n");
}

TEST_F(FixtallyCli, HelpVersionAndSettingsFilesThatAreNoFiles) {
    for (const char* help : {"--help", "-h", "some.nmea --bogus-after --help"}) {
        CliRun run = Cli(help);
        if (std::string(help).find("--bogus") != std::string::npos) {
            EXPECT_EQ(run.exitCode, 2); // the unknown option comes first
            continue;
        }
        EXPECT_EQ(run.exitCode, 0) << help;
        EXPECT_EQ(run.out.rfind("usage: fixtally-cli LOG [options]\n", 0), 0u) << help;
        EXPECT_NE(run.out.find("4 the log loaded but no fix could be counted"), std::string::npos);
        EXPECT_TRUE(run.err.empty());
    }
    CliRun version = Cli("--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("fixtally-cli Ver", 0), 0u) << version.out;

    std::filesystem::create_directories(folder_.Path() / "folder.ini");
    ASSERT_EQ(::mkfifo(Path("fifo.ini").c_str(), 0600), 0);
    for (const char* ini : {"folder.ini", "fifo.ini", "missing.ini"}) {
        CliRun run = Cli(Example() + " --ini '" + Path(ini) + "'");
        EXPECT_EQ(run.exitCode, 2) << ini;
        EXPECT_EQ(run.err, "fixtally-cli: cannot read settings file " + Path(ini) + "\n");
    }
    // Binary bytes are no settings: a warning, the defaults, and the file untouched.
    std::string binary;
    for (int i = 0; i < 600; ++i) binary += char((i * 131 + 7) & 0xff);
    const std::string ini = Write("binary.ini", binary);
    CliRun run = Cli(Example() + " --ini '" + ini + "' --status");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "fixtally-cli: warning: " + ini +
                           " is no text in any accepted encoding; its settings are not used\n");
    EXPECT_NE(run.out.find("3600:3600records."), std::string::npos);
    EXPECT_EQ(ReadWholeFile(ini), binary);
}

// Every fix filtered out, or none in the count range: exit code 4 and the status text,
// the report still printed and the exports still run; a refused export's 3 wins.
TEST_F(FixtallyCli, NoEffectiveDataEndsWithExitCodeFour) {
    const std::string log = Path("track.nmea");
    std::filesystem::copy_file(std::string(FIXTALLY_SOURCE_DIR) + "/examples/static-1hz-hour.nmea",
                               log);
    for (const std::string& arguments :
         {std::string(" --set HDOPlim=0.1"),
          std::string(" --range '3/14/2026 12:30:00.2' '3/14/2026 12:30:00.7'")}) {
        CliRun run = Cli("'" + log + "'" + arguments);
        EXPECT_EQ(run.exitCode, 4) << arguments;
        EXPECT_EQ(run.err, "***** no effective data *****\n") << arguments;
        EXPECT_NE(run.out.find("Average coordinates standard."), std::string::npos);
    }
    CliRun exported = Cli("'" + log + "' --set HDOPlim=0.1 --export-track");
    EXPECT_EQ(exported.exitCode, 4) << exported.err;
    EXPECT_TRUE(std::filesystem::exists(Path("track.csv")));
    CliRun refused = Cli("'" + log + "' --set HDOPlim=0.1 --export-track");
    EXPECT_EQ(refused.exitCode, 3);
    EXPECT_EQ(refused.err.find("no effective data"), std::string::npos) << refused.err;
}

TEST_F(FixtallyCli, GraphKeepsExistingFilesAndNeverReplacesTheLog) {
    const std::string log = Path("victim.log");
    std::filesystem::copy_file(std::string(FIXTALLY_SOURCE_DIR) + "/examples/static-1hz-hour.nmea",
                               log);
    const std::string logBytes = ReadWholeFile(log);
    for (const char* yes : {"", " --yes"}) {
        CliRun run = Cli("'" + log + "' --graph '" + log + "'" + yes);
        EXPECT_EQ(run.exitCode, 3) << yes;
        EXPECT_EQ(run.err, log + " is the log being read; it is not overwritten.\n");
    }
    EXPECT_EQ(ReadWholeFile(log), logBytes);

    const std::string png = Write("graph.png", "an older picture");
    CliRun kept = Cli("'" + log + "' --graph '" + png + "'");
    EXPECT_EQ(kept.exitCode, 3);
    EXPECT_EQ(kept.err, png + " exists.\r\n\r\nOverwrite?\n"
                              "fixtally-cli: output file exists; --yes overwrites it\n");
    EXPECT_EQ(ReadWholeFile(png), "an older picture");
    CliRun replaced = Cli("'" + log + "' --graph '" + png + "' --yes");
    EXPECT_EQ(replaced.exitCode, 0) << replaced.err;
    EXPECT_EQ(ReadWholeFile(png).substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));

    // A target that cannot be written: only the reason.
    std::filesystem::create_directories(folder_.Path() / "dir.png");
    CliRun folder = Cli("'" + log + "' --graph '" + Path("dir.png") + "' --yes");
    EXPECT_EQ(folder.exitCode, 3);
    EXPECT_EQ(folder.err, "fixtally-cli: cannot write " + Path("dir.png") + ": Is a directory\n");
}

// A failed export shows only its reason, not the status of the load before it.
TEST_F(FixtallyCli, FailedExportsShowOnlyTheirReason) {
    const std::string log = Path("track.nmea");
    std::filesystem::copy_file(std::string(FIXTALLY_SOURCE_DIR) + "/examples/static-1hz-hour.nmea",
                               log);
    std::filesystem::create_directories(folder_.Path() / "track.csv");
    CliRun track = Cli("'" + log + "' --export-track --yes");
    EXPECT_EQ(track.exitCode, 3);
    EXPECT_EQ(track.err, "File could not be created\nfixtally-cli: cannot write " +
                             Path("track.csv") + ": Is a directory\n");
    std::filesystem::create_directories(folder_.Path() / "track-1h1h.csv");
    CliRun average = Cli("'" + log + "' --export-track --export-average 1 1 --yes");
    EXPECT_EQ(average.exitCode, 3);
    EXPECT_EQ(average.err.find("Completed"), std::string::npos) << average.err;
}

// On a real full disk (a small tmpfs, where the test may mount one) an export over a
// complete earlier one keeps the earlier one.
TEST_F(FixtallyCli, FullDiskKeepsThePreviousExport) {
    const std::string small = Path("small");
    std::filesystem::create_directories(small);
    if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=1200k") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here";
    struct Unmount {
        std::string path;
        ~Unmount() { ::umount(path.c_str()); }
    } unmount{small};
    const std::string log = small + "/track.nmea";
    std::filesystem::copy_file(std::string(FIXTALLY_SOURCE_DIR) + "/examples/static-1hz-hour.nmea",
                               log);
    CliRun first = Cli("'" + log + "' --export-track --reduce 1 10");
    ASSERT_EQ(first.exitCode, 0) << first.err;
    const std::string previous = ReadWholeFile(small + "/track.csv");
    CliRun full = Cli("'" + log + "' --export-track --with-error --yes");
    EXPECT_EQ(full.exitCode, 3);
    EXPECT_EQ(full.err, " Error: could not be CSV output.\nfixtally-cli: cannot write " + small +
                            "/track.csv: No space left on device\n");
    EXPECT_EQ(ReadWholeFile(small + "/track.csv"), previous);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(small)) ++files;
    EXPECT_EQ(files, 2u); // the log and the previous export
}
