// fixtally-cli --pdf: the printed report with the graph, as a script gets it.

#include "../support/PdfInspect.h"
#include "../support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace {

using namespace fixtally::testing;

class CliPdf : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HavePoppler()) GTEST_SKIP() << "poppler-utils (pdftotext, pdfimages ...) missing";
    }

    // Runs fixtally-cli with the example log; returns the exit code, stderr in err_.
    int Cli(const std::string& arguments, const std::string& log = Example()) {
        const std::string command = std::string(FIXTALLY_BINARY_DIR) + "/fixtally-cli '" + log +
                                    "' " + arguments + " >/dev/null 2>'" + (folder_ / "err.txt") +
                                    "'";
        const int status = std::system(command.c_str());
        err_ = ReadWholeFile(folder_ / "err.txt");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    static std::string Example() {
        return std::string(FIXTALLY_SOURCE_DIR) + "/examples/static-1hz-hour.nmea";
    }

    // The files of the folder other than the captured stderr.
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_.Path()))
            if (entry.path().filename() != "err.txt") names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder folder_{"fixtally-cli-pdf"};
    std::string err_;
};

TEST_F(CliPdf, WritesOnePageWithTheReportAndTheGraph) {
    const std::string pdf = folder_ / "report.pdf";
    ASSERT_EQ(Cli("--pdf '" + pdf + "'"), 0) << err_;
    EXPECT_EQ(PdfPageCount(pdf), 1);

    const std::string text = CommandOutput("pdftotext -layout '" + pdf + "' -");
    for (const char* expected :
         {"Average coordinates standard.", "Input file", "static-1hz-hour.nmea",
          "Horizontal:", "Peak of error", "Statistics(Ave, Min, Max)", "3600:3600records.", "0m"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;

    const std::vector<PdfWord> words = PdfWords(pdf);
    ASSERT_FALSE(words.empty());
    EXPECT_EQ(words[0].Text, "Average");
    EXPECT_NEAR(words[0].Left, 15 * PointsPerMm, 1.5);
    EXPECT_NEAR(words[0].Top, 20 * PointsPerMm, 1.5);

    // The colour bar above the scatter graph, 0.24 mm per pixel, 15 mm from the left and
    // below the last line of text.
    const std::vector<PdfImage> images = PdfImages(pdf);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].Width, 311);
    EXPECT_EQ(images[0].Height, 316);
    EXPECT_EQ(images[0].XPpi, 106);
    const GreyPage page = RenderGrey(pdf, 1, 127); // 5 pixels per millimetre
    ASSERT_GT(page.Width, 0);
    double lastText = 0;
    for (const PdfWord& w : words)
        if (w.Text.find("records.") != std::string::npos) lastText = w.Bottom;
    // Everything dark below the text: the graph's black frame and the labels under it.
    const int below = int(lastText / PointsPerMm * 5) + 1;
    int left = page.Width, right = -1, bottom = -1;
    for (int y = below; y < page.Height; ++y)
        for (int x = 0; x < page.Width; ++x)
            if (page.At(x, y) < 128) {
                left = std::min(left, x), right = std::max(right, x);
                bottom = std::max(bottom, y);
            }
    EXPECT_NEAR(left, 75, 1);                    // 15 mm
    EXPECT_NEAR(right - left + 1, 311 * 1.2, 2); // 311 pixels x 0.24 mm
    EXPECT_LT(bottom, 297 * 5);
}

TEST_F(CliPdf, ExistingFileIsReplacedOnlyWithYes) {
    const std::string pdf = folder_.Write("report.pdf", "old contents");
    EXPECT_EQ(Cli("--pdf '" + pdf + "'"), 3);
    EXPECT_NE(err_.find("--yes"), std::string::npos) << err_;
    EXPECT_EQ(ReadWholeFile(pdf), "old contents");

    ASSERT_EQ(Cli("--pdf '" + pdf + "' --yes"), 0) << err_;
    EXPECT_EQ(PdfPageCount(pdf), 1);
    EXPECT_EQ(Files(), std::vector<std::string>{"report.pdf"});
}

TEST_F(CliPdf, FailuresAreExitCode3AndLeaveNothingBehind) {
    // A folder that does not exist.
    EXPECT_EQ(Cli("--pdf '" + (folder_ / "missing/report.pdf") + "'"), 3);
    EXPECT_NE(err_.find("cannot write"), std::string::npos) << err_;
    // A folder that cannot be written to (root may write anywhere; then the check is moot).
    std::filesystem::create_directory(folder_.Path() / "locked");
    std::filesystem::permissions(folder_.Path() / "locked", std::filesystem::perms::owner_read |
                                                                std::filesystem::perms::owner_exec);
    const int locked = Cli("--pdf '" + (folder_ / "locked/report.pdf") + "'");
    if (::geteuid() != 0) {
        EXPECT_EQ(locked, 3);
    }
    std::filesystem::permissions(folder_.Path() / "locked", std::filesystem::perms::owner_all);
    // Never over the log being read, --yes or not.
    const std::string log = folder_ / "log.nmea";
    std::filesystem::copy_file(Example(), log);
    const std::string before = ReadWholeFile(log);
    EXPECT_EQ(Cli("--pdf '" + log + "' --yes", log), 3);
    EXPECT_EQ(ReadWholeFile(log), before);
    EXPECT_EQ(Files(), (std::vector<std::string>{"locked", "log.nmea"}));
    // A missing value is a command-line error.
    EXPECT_EQ(Cli("--pdf"), 2);
    EXPECT_NE(err_.find("--pdf FILE"), std::string::npos) << err_;
}

} // namespace
