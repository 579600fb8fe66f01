// The printouts, printed to PDF files and measured with poppler from outside.

#include "../support/PdfInspect.h"
#include "../support/TempFolder.h"
#include "print/LinePrinter.h"
#include "print/PicturePrint.h"
#include "print/ReportPdf.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

using namespace fixtally;
using namespace fixtally::testing;

namespace {

constexpr double Tolerance = 1.5; // points: rounding to dots and the font's ascent

struct Paper {
    QPrinter::PrinterMode Mode;
    double MarginLeftMm, MarginTopMm; // unprintable margins; 0 prints on the full page
};

void SetUpPrinter(QPrinter& printer, const std::string& path, const Paper& paper) {
    printer.setOutputFileName(QString::fromStdString(path));
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(paper.MarginLeftMm, paper.MarginTopMm, 10, 10),
                                      QPageLayout::Millimeter));
    printer.setFullPage(paper.MarginLeftMm == 0 && paper.MarginTopMm == 0);
}

class Printing : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!QGuiApplication::instance()) {
            static int argc = 1;
            static char name[] = "test_print";
            static char* argv[] = {name, nullptr};
            new QGuiApplication(argc, argv); // lives as long as the process
        }
    }
    void SetUp() override {
        if (!HavePoppler()) GTEST_SKIP() << "poppler-utils (pdftotext, pdfimages ...) missing";
    }

    // Prints text as "Print Text(&R)" does, on A4 with these margins; returns the file.
    std::string PrintToPdf(const std::string& name, const std::string& text,
                           const Paper& paper = {QPrinter::HighResolution, 0, 0}) {
        const std::string path = folder_ / name;
        QPrinter printer(paper.Mode);
        SetUpPrinter(printer, path, paper);
        EXPECT_EQ(PrintText(printer, text, Family), PrintOutcome::Printed);
        return path;
    }

    // The average character width of the printed font, in points.
    double AverageCharWidthPt() {
        QPrinter printer(QPrinter::HighResolution);
        SetUpPrinter(printer, folder_ / "metrics.pdf", {QPrinter::HighResolution, 0, 0});
        QFont font;
        font.setFamily(Family);
        font.setStyleStrategy(QFont::PreferNoShaping);
        return QFontMetricsF(font, &printer).averageCharWidth() / printer.resolution() * 72;
    }

    const QString Family = QStringLiteral("DejaVu Sans");
    TempFolder folder_{"fixtally-print"};
};

TEST_F(Printing, FirstWordSits15mmFromTheLeftAnd20mmFromTheTopOfThePaper) {
    const Paper papers[] = {{QPrinter::HighResolution, 0, 0},
                            {QPrinter::ScreenResolution, 0, 0},
                            {QPrinter::HighResolution, 6.35, 12.7},
                            {QPrinter::ScreenResolution, 4, 5}};
    int n = 0;
    for (const Paper& paper : papers) {
        const std::string pdf =
            PrintToPdf("placed" + std::to_string(++n) + ".pdf", "Average coordinates\r\n", paper);
        const std::vector<PdfWord> words = PdfWords(pdf);
        ASSERT_FALSE(words.empty()) << n;
        EXPECT_EQ(words[0].Text, "Average") << n;
        EXPECT_NEAR(words[0].Left, 15 * PointsPerMm, Tolerance) << n;
        EXPECT_NEAR(words[0].Top, 20 * PointsPerMm, Tolerance) << n;
        EXPECT_EQ(PdfPageCount(pdf), 1) << n;
    }
}

TEST_F(Printing, EmptyTextPrintsNothing) {
    QPrinter printer(QPrinter::HighResolution);
    const std::string path = folder_ / "empty.pdf";
    SetUpPrinter(printer, path, {QPrinter::HighResolution, 0, 0});
    EXPECT_EQ(PrintText(printer, "", Family), PrintOutcome::NothingToPrint);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(Printing, LongTextGoesOnToFurtherPagesFromThePlacementPoint) {
    std::string text;
    for (int i = 1; i <= 90; ++i) text += "Line" + std::to_string(i) + "\r\n";
    text += "\r\n\r\n"; // the report ends in empty lines: they must not begin another page
    const std::string pdf = PrintToPdf("long.pdf", text);
    const std::vector<PdfWord> words = PdfWords(pdf);
    ASSERT_EQ(words.size(), 90u);
    const int pages = PdfPageCount(pdf);
    EXPECT_EQ(pages, words.back().Page);
    EXPECT_GE(pages, 2);

    const double pageHeight = 297 * PointsPerMm;
    const double lineStep = words[1].Top - words[0].Top;
    for (std::size_t i = 0; i < words.size(); ++i) {
        EXPECT_EQ(words[i].Text, "Line" + std::to_string(i + 1));
        EXPECT_NEAR(words[i].Left, 15 * PointsPerMm, Tolerance) << words[i].Text;
        // Nothing starts within twice the line height of the page's bottom edge.
        EXPECT_LT(words[i].Top, pageHeight - lineStep) << words[i].Text;
        if (i == 0) continue;
        if (words[i].Page != words[i - 1].Page)
            EXPECT_NEAR(words[i].Top, 20 * PointsPerMm, Tolerance) << words[i].Text;
        else
            EXPECT_NEAR(words[i].Top - words[i - 1].Top, lineStep, 0.01) << words[i].Text;
    }
    // The line step is the font height plus 2 dots; an empty line is the font height.
    const std::string gaps = PrintToPdf("gaps.pdf", "A\r\n\r\nB\r\nC\r\n");
    const std::vector<PdfWord> g = PdfWords(gaps);
    ASSERT_EQ(g.size(), 3u);
    const double twoDots = 2.0 / 1200 * 72;
    EXPECT_NEAR(g[1].Top - g[0].Top, 2 * lineStep - twoDots, 0.01);
    EXPECT_NEAR(g[2].Top - g[1].Top, lineStep, 0.01);
}

TEST_F(Printing, LineWiderThanThePageIsBrokenNotCut) {
    std::string line;
    for (int i = 0; i < 60; ++i) line += "w" + std::to_string(100 + i) + "-";
    const std::string pdf = PrintToPdf("wide.pdf", "Head\r\n" + line + "\r\nTail\r\n");
    std::string printed;
    const double right = 210 * PointsPerMm;
    std::vector<PdfWord> words = PdfWords(pdf);
    ASSERT_GE(words.size(), 4u);
    for (std::size_t i = 1; i + 1 < words.size(); ++i) {
        printed += words[i].Text;
        EXPECT_LE(words[i].Right, right) << words[i].Text;
        EXPECT_NEAR(words[i].Left, 15 * PointsPerMm, Tolerance) << words[i].Text;
    }
    EXPECT_EQ(printed, line); // every character, in order, nothing lost at the break
    EXPECT_EQ(words.back().Text, "Tail");
    // Broken after the last character that fits: the first part fills the line to within
    // one character of the right edge of the page.
    EXPECT_GT(words[1].Right, right - 2 * AverageCharWidthPt());
}

TEST_F(Printing, TabsAdvanceToMultiplesOfEightAverageCharacterWidths) {
    const std::string pdf = PrintToPdf("tabs.pdf", "a\tb\r\nabcdefghijklmnop\tc\r\n\t\td\r\n");
    std::map<std::string, PdfWord> word; // pdftotext orders words by columns, not lines
    for (const PdfWord& w : PdfWords(pdf)) word[w.Text] = w;
    ASSERT_EQ(word.size(), 5u);
    const double stop = 8 * AverageCharWidthPt();
    const double left = 15 * PointsPerMm;
    EXPECT_NEAR(word["a"].Left, left, Tolerance);
    EXPECT_NEAR(word["b"].Left, left + stop, 0.5);
    // The stop after the long word.
    const int cStop = int((word["abcdefghijklmnop"].Right - left) / stop) + 1;
    EXPECT_NEAR(word["c"].Left, left + cStop * stop, 0.5);
    EXPECT_NEAR(word["d"].Left, left + 2 * stop, 0.5);
}

TEST_F(Printing, PicturePrintsAt024mmPerPixelFromThePlacementPoint) {
    QImage picture(500, 100, QImage::Format_RGB32);
    picture.fill(Qt::black);
    const Paper papers[] = {{QPrinter::HighResolution, 0, 0}, {QPrinter::ScreenResolution, 5, 8}};
    int n = 0;
    for (const Paper& paper : papers) {
        const std::string path = folder_ / ("picture" + std::to_string(++n) + ".pdf");
        QPrinter printer(paper.Mode);
        SetUpPrinter(printer, path, paper);
        ASSERT_EQ(PrintPicture(printer, picture), PrintOutcome::Printed);
        EXPECT_EQ(printer.docName(), "Fixtally_Image");

        const std::vector<PdfImage> images = PdfImages(path);
        ASSERT_EQ(images.size(), 1u) << n;
        EXPECT_EQ(images[0].Width, 500);
        EXPECT_EQ(images[0].XPpi, 106) << n; // 500 pixels over 120 mm: 105.8 per inch

        // At 5 pixels per millimetre: 120 mm x 24 mm from (15 mm, 20 mm).
        const GreyPage page = RenderGrey(path, 1, 127);
        ASSERT_GT(page.Width, 0);
        int left = page.Width, top = page.Height, right = -1, bottom = -1;
        for (int y = 0; y < page.Height; ++y)
            for (int x = 0; x < page.Width; ++x)
                if (page.At(x, y) < 128) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        EXPECT_NEAR(left, 75, 1) << n;
        EXPECT_NEAR(top, 100, 1) << n;
        EXPECT_NEAR(right - left + 1, 600, 2) << n;
        EXPECT_NEAR(bottom - top + 1, 120, 2) << n;
    }
}

TEST_F(Printing, ReportPdfReplacesItsFileOnlyWhenComplete) {
    ScatterGraph graph;
    graph.LabelFS = "5m";
    const std::string path = folder_ / "report.pdf";
    ASSERT_EQ(WriteReportPdf(path, "Average coordinates standard.\r\n\r\n", "DejaVu Sans", graph),
              PdfOutcome::Written);
    EXPECT_EQ(PdfPageCount(path), 1);
    const std::vector<PdfImage> images = PdfImages(path);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].Width, GraphSize);
    EXPECT_EQ(images[0].XPpi, 106);
    bool rangeLabel = false;
    for (const PdfWord& w : PdfWords(path)) rangeLabel |= w.Text == "5m";
    EXPECT_TRUE(rangeLabel);

    // A painting that fails leaves the old file as it was and no temporary file beside it.
    folder_.Write("old.pdf", "old");
    EXPECT_EQ(WritePdfFile(folder_ / "old.pdf", [](QPrinter&) { return false; }),
              PdfOutcome::Failed);
    EXPECT_EQ(ReadWholeFile(folder_ / "old.pdf"), "old");
    // A folder that does not exist cannot take the file.
    EXPECT_EQ(WriteReportPdf(folder_ / "no/such/report.pdf", "x\r\n", "DejaVu Sans", graph),
              PdfOutcome::Failed);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_.Path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"old.pdf", "report.pdf"}));
}

} // namespace
