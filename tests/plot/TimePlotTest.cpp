#include "plot/TimePlot.h"

#include "fixdata/FixRecord.h"

#include <QApplication>
#include <QCategoryAxis>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace fixtally {
namespace {

constexpr double Day20260314 = 46095; // 2026-03-14 00:00 UTC
constexpr double Second = 1.0 / 86400;

class TimePlot : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (QCoreApplication::instance()) return;
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "test_plot";
        static char* argv[] = {name, nullptr};
        static QApplication application(argc, argv);
    }

    // Fixes at 12:00:00 + the given seconds, quality '1' but every third '4'.
    void Fixes(const std::vector<double>& seconds) {
        errors.Keep = errors.KeepTimes = errors.Complete = true;
        for (std::size_t i = 0; i < seconds.size(); ++i) {
            errors.Time.push_back(Day20260314 + 0.5 + seconds[i] * Second);
            errors.Add(1 + static_cast<double>(i % 5), 0, 0,
                       i % 7 == 0 ? NaN : static_cast<double>(i % 5) - 2);
            errors.Quality.push_back(i % 3 == 0 ? u'4' : u'1');
        }
        input.Errors = &errors;
        input.HorizontalSpread = 5;
        input.AltitudeSpread = 3;
        input.Cep95 = 4.5;
        input.Vertical95 = 2;
        input.Title = "test.nmea";
    }

    FixErrorSamples errors;
    TimePlotInput input;
};

TEST_F(TimePlot, PictureHasTheAskedSizeAndPointsInTheQualityColours) {
    std::vector<double> seconds;
    for (int i = 0; i < 120; ++i) seconds.push_back(i);
    Fixes(seconds);
    const QImage image = RenderTimePlot(input, QSize(640, 480));
    ASSERT_EQ(image.size(), QSize(640, 480));
    int sps = 0, rtk = 0;
    const QRgb spsColour = QualityColour(u'1').rgb(), rtkColour = QualityColour(u'4').rgb();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y) | 0xff000000u;
            sps += pixel == spsColour;
            rtk += pixel == rtkColour;
        }
    EXPECT_GT(sps, 200);
    EXPECT_GT(rtk, 100);
    EXPECT_NE(QualityColour(u'1'), QualityColour(u'4'));
    EXPECT_EQ(QualityName(u'4', false), "4 RTK");
    EXPECT_EQ(QualityName(u'2', true), "2 float");
}

TEST_F(TimePlot, AGapInTheLogBreaksTheLine) {
    // 0..29 s, then nothing until 300 s.
    std::vector<double> seconds;
    for (int i = 0; i < 30; ++i) seconds.push_back(i);
    for (int i = 300; i < 330; ++i) seconds.push_back(i);
    Fixes(seconds);
    const std::vector<PlotSegment> segments = SplitAtGaps(errors.Time);
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_EQ(segments[0].End, 30u);

    for (const auto& chart : {HorizontalErrorChart(input), AltitudeErrorChart(input)}) {
        int lines = 0;
        for (QAbstractSeries* series : chart->series()) {
            auto* line = qobject_cast<QLineSeries*>(series);
            if (!line || qobject_cast<QScatterSeries*>(series)) continue;
            const QList<QPointF> points = line->points();
            if (line->pen().style() == Qt::DashLine) continue; // the figures' lines
            ++lines;
            for (qsizetype i = 1; i < points.size(); ++i)
                EXPECT_FALSE(points[i - 1].x() < 100 && points[i].x() > 100)
                    << points[i - 1].x() << " to " << points[i].x();
        }
        EXPECT_EQ(lines, 2);
    }
}

TEST_F(TimePlot, TimeAxisCoversTheLogWithReadableTicks) {
    std::vector<double> seconds;
    for (int i = 0; i < 3600; i += 10) seconds.push_back(i);
    seconds.push_back(3599);
    Fixes(seconds);
    const auto chart = HorizontalErrorChart(input);
    auto* time = qobject_cast<QCategoryAxis*>(chart->axes(Qt::Horizontal).front());
    ASSERT_NE(time, nullptr);
    EXPECT_LE(time->min(), 0);
    EXPECT_GE(time->max(), 3599);
    EXPECT_TRUE(time->titleText().startsWith("Time (UTC) from 2026-03-14 12:00:00"));
    auto* error = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).front());
    EXPECT_EQ(error->titleText(), "Horizontal error (m)");
    EXPECT_GE(error->max(), 5); // the spread line is inside

    const struct {
        double from, to; // seconds after 12:00:00
        std::vector<std::string> labels;
    } cases[] = {
        {0, 3599, {"12:00", "12:10", "12:20", "12:30", "12:40", "12:50"}},
        {5, 65, {"12:00:10", "12:00:20", "12:00:30", "12:00:40", "12:00:50", "12:01:00"}},
        {-1800, 1800, {"11:30", "11:40", "11:50", "12:00", "12:10", "12:20", "12:30"}},
    };
    for (const auto& c : cases) {
        const std::vector<TimeTick> ticks =
            TimeAxisTicks(Day20260314 + 0.5 + c.from * Second, Day20260314 + 0.5 + c.to * Second);
        std::vector<std::string> labels;
        for (const TimeTick& tick : ticks) labels.push_back(tick.Label);
        EXPECT_EQ(labels, c.labels);
        EXPECT_GE(ticks.front().Seconds, 0);
    }
    // Several days: one tick a day, by date.
    const std::vector<TimeTick> days = TimeAxisTicks(Day20260314 + 0.5, Day20260314 + 4.5);
    ASSERT_EQ(days.size(), 4u);
    EXPECT_EQ(days.front().Label, "03-15");
}

} // namespace
} // namespace fixtally
