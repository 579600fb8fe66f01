#include "plot/TimePlot.h"

#include "display/FixedText.h"
#include "stats/TimeText.h"

#include <QCategoryAxis>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <array>
#include <cmath>

namespace fixtally {

namespace {

constexpr double SecondsPerDay = 86400;
// Above this many fixes the points are thinned to the extremes of each time bucket: the
// picture keeps its envelope and stays quick to draw.
constexpr std::size_t ThinAbove = 20000;
constexpr std::size_t Buckets = 2000;

constexpr const char* NmeaQualities[] = {"0 Invalid",   "1 SPS",          "2 DGPS",
                                         "3 PPS",       "4 RTK",          "5 Float RTK",
                                         "6 Estimated", "7 Manual input", "8 Simulator"};
constexpr const char* RtklibQualities[] = {"0",        "1 fix", "2 float", "3 sbas", "4 dgps",
                                           "5 single", "6 ppp", "7",       "8"};

int QualityIndex(char16_t quality) {
    return quality >= u'0' && quality <= u'8' ? quality - u'0' : 9;
}

double Seconds(const FixErrorSamples& s, std::size_t i) {
    return (s.Time[i] - s.Time.front()) * SecondsPerDay;
}

// The points of one chart: value(i) of every fix, thinned when there are many.
std::vector<std::size_t> PlottedIndexes(const FixErrorSamples& s, const PlotSegment& segment,
                                        const std::vector<double>& values) {
    auto value = [&values](std::size_t i) { return values[i]; };
    std::vector<std::size_t> kept;
    const std::size_t n = segment.End - segment.Begin;
    if (s.Count() <= ThinAbove) {
        for (std::size_t i = segment.Begin; i < segment.End; ++i)
            if (!std::isnan(value(i))) kept.push_back(i);
        return kept;
    }
    // The lowest and highest fix of every quality in each bucket, in time order.
    const double span = std::max(Seconds(s, s.Count() - 1), 1.0);
    std::array<std::size_t, 10> low, high;
    std::size_t bucket = SIZE_MAX;
    auto flush = [&] {
        std::vector<std::size_t> chosen;
        for (int q = 0; q < 10; ++q) {
            if (low[q] == SIZE_MAX) continue;
            chosen.push_back(low[q]);
            if (high[q] != low[q]) chosen.push_back(high[q]);
        }
        std::sort(chosen.begin(), chosen.end());
        kept.insert(kept.end(), chosen.begin(), chosen.end());
        low.fill(SIZE_MAX);
        high.fill(SIZE_MAX);
    };
    low.fill(SIZE_MAX);
    high.fill(SIZE_MAX);
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t i = segment.Begin + k;
        const double v = value(i);
        if (std::isnan(v)) continue;
        const auto b = static_cast<std::size_t>(Seconds(s, i) / span * (Buckets - 1));
        if (b != bucket) {
            flush();
            bucket = b;
        }
        const int q = QualityIndex(s.Quality[i]);
        if (low[q] == SIZE_MAX || v < value(low[q])) low[q] = i;
        if (high[q] == SIZE_MAX || v > value(high[q])) high[q] = i;
    }
    flush();
    return kept;
}

void HideFromLegend(QChart& chart, QAbstractSeries* series) {
    for (QLegendMarker* marker : chart.legend()->markers(series)) marker->setVisible(false);
}

std::string Metres(double value, int decimals) {
    return FixedText(value, decimals) + "m";
}

// A dashed line across the chart at a figure; mirrored adds the same line at -y (the
// altitude error runs both ways), hidden from the legend.
struct ReferenceLine {
    double Y;
    QColor Colour;
    std::string Name;
    bool Mirrored;
};

std::unique_ptr<QChart> ErrorChart(const TimePlotInput& input, const QString& axisTitle,
                                   const std::vector<double>& values,
                                   const std::vector<ReferenceLine>& lines) {
    auto chart = std::make_unique<QChart>();
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(6, 6, 6, 6));
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setShowToolTips(false);
    const FixErrorSamples& s = *input.Errors;
    const std::size_t n = s.Count();
    const double right = n > 0 ? std::max(Seconds(s, n - 1), 1.0) : 1.0;

    auto* timeAxis = new QCategoryAxis;
    timeAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    timeAxis->setRange(0, right);
    const std::vector<TimeTick> ticks =
        n > 0 ? TimeAxisTicks(s.Time.front(), s.Time.back()) : std::vector<TimeTick>{};
    for (const TimeTick& tick : ticks)
        timeAxis->append(QString::fromStdString(tick.Label), tick.Seconds);
    std::string timeTitle = "Time (UTC)";
    if (n > 0)
        timeTitle +=
            " from " + FormatTimeFraction(s.Time.front(),
                                          s.Time.front() > 1 ? "yyyy-mm-dd hh:nn:ss" : "hh:nn:ss");
    timeAxis->setTitleText(QString::fromStdString(timeTitle));
    timeAxis->setGridLineVisible(true);
    auto* errorAxis = new QValueAxis;
    errorAxis->setTitleText(axisTitle);
    chart->addAxis(timeAxis, Qt::AlignBottom);
    chart->addAxis(errorAxis, Qt::AlignLeft);
    auto attach = [&](QAbstractSeries* series) {
        series->attachAxis(timeAxis);
        series->attachAxis(errorAxis);
    };

    double top = 0, bottom = 0;
    std::array<QScatterSeries*, 10> points{};
    const double marker = n > 5000 ? 3.0 : 5.0;
    for (const PlotSegment& segment : SplitAtGaps(s.Time)) {
        const std::vector<std::size_t> kept = PlottedIndexes(s, segment, values);
        if (kept.empty()) continue;
        auto* line = new QLineSeries;
        line->setPen(QPen(QColor(190, 190, 190), 1));
        for (std::size_t i : kept) {
            const double x = Seconds(s, i), v = values[i];
            line->append(x, v);
            top = std::max(top, v);
            bottom = std::min(bottom, v);
            const int q = QualityIndex(s.Quality[i]);
            if (!points[q]) {
                points[q] = new QScatterSeries;
                points[q]->setMarkerSize(marker);
                points[q]->setColor(QualityColour(s.Quality[i]));
                points[q]->setBorderColor(QualityColour(s.Quality[i]));
                points[q]->setName(
                    QString::fromStdString(QualityName(s.Quality[i], input.IsRtklibLog)));
            }
            points[q]->append(x, v);
        }
        chart->addSeries(line);
        attach(line);
        HideFromLegend(*chart, line);
    }
    for (QScatterSeries* series : points) {
        if (!series) continue;
        chart->addSeries(series);
        attach(series);
    }
    for (const ReferenceLine& reference : lines) {
        if (!std::isfinite(reference.Y)) continue;
        for (int side = 0; side < (reference.Mirrored ? 2 : 1); ++side) {
            const double y = side == 0 ? reference.Y : -reference.Y;
            auto* line = new QLineSeries;
            line->append(0, y);
            line->append(right, y);
            line->setPen(QPen(reference.Colour, 1.5, Qt::DashLine));
            line->setName(QString::fromStdString(reference.Name));
            chart->addSeries(line);
            attach(line);
            if (side == 1) HideFromLegend(*chart, line);
            top = std::max(top, y);
            bottom = std::min(bottom, y);
        }
    }
    if (top == bottom) top = bottom + 1;
    const double margin = (top - bottom) * 0.05;
    errorAxis->setRange(bottom < 0 ? bottom - margin : 0, top + margin);
    errorAxis->applyNiceNumbers();
    return chart;
}

} // namespace

std::vector<PlotSegment> SplitAtGaps(const std::vector<double>& times) {
    std::vector<PlotSegment> segments;
    const std::size_t n = times.size();
    if (n == 0) return segments;
    std::vector<double> steps;
    steps.reserve(n);
    for (std::size_t i = 1; i < n; ++i)
        if (times[i] > times[i - 1]) steps.push_back((times[i] - times[i - 1]) * SecondsPerDay);
    double usual = 1;
    if (!steps.empty()) {
        std::nth_element(steps.begin(), steps.begin() + steps.size() / 2, steps.end());
        usual = steps[steps.size() / 2];
    }
    const double gap = std::max(5 * usual, 2.0);
    std::size_t begin = 0;
    for (std::size_t i = 1; i < n; ++i) {
        const double step = (times[i] - times[i - 1]) * SecondsPerDay;
        if (step > gap || step < 0) {
            segments.push_back({begin, i});
            begin = i;
        }
    }
    segments.push_back({begin, n});
    return segments;
}

std::vector<TimeTick> TimeAxisTicks(double first, double last) {
    static constexpr double Steps[] = {1,     2,     5,     10,    15,     30,    60,
                                       120,   300,   600,   900,   1800,   3600,  7200,
                                       10800, 21600, 43200, 86400, 172800, 604800};
    const double span = std::max((last - first) * SecondsPerDay, 1.0);
    double step = Steps[std::size(Steps) - 1];
    for (double candidate : Steps) {
        // Beyond a day the times of day would repeat: whole days only.
        if (span > 86400 && candidate < 86400) continue;
        if (span / candidate <= 8) {
            step = candidate;
            break;
        }
    }
    // Spans of days are labelled by date; shorter ones by the time of day, the axis title
    // saying where they start.
    const char* pattern = step >= 86400 && first > 1 ? "mm-dd" : step < 60 ? "hh:nn:ss" : "hh:nn";

    std::vector<TimeTick> ticks;
    const double firstSecond = first * SecondsPerDay;
    for (double t = std::ceil(firstSecond / step - 1e-9) * step; t <= firstSecond + span + 1e-6;
         t += step) {
        // Rounded to the millisecond, so that 12:10 does not read 12:09:59.
        const double day = std::round(t * 1000) / (SecondsPerDay * 1000);
        ticks.push_back({t - firstSecond, FormatTimeFraction(day, pattern)});
    }
    return ticks;
}

QColor QualityColour(char16_t quality) {
    static const QColor colours[] = {
        QColor(0, 0, 0),       QColor(31, 119, 180),  QColor(44, 160, 44), QColor(23, 190, 207),
        QColor(148, 103, 189), QColor(255, 127, 14),  QColor(214, 39, 40), QColor(140, 86, 75),
        QColor(227, 119, 194), QColor(127, 127, 127), // unknown
    };
    return colours[QualityIndex(quality)];
}

std::string QualityName(char16_t quality, bool isRtklibLog) {
    const int index = QualityIndex(quality);
    if (index == 9) return "unknown quality";
    return isRtklibLog ? RtklibQualities[index] : NmeaQualities[index];
}

std::unique_ptr<QChart> HorizontalErrorChart(const TimePlotInput& input) {
    const std::string spread = input.TwoDrms ? "2drms " : "CEP(50%) ";
    const int d = input.ErrorDecimals;
    return ErrorChart(
        input, "Horizontal error (m)", input.Errors->Horizontal,
        {{input.HorizontalSpread, Qt::black, spread + Metres(input.HorizontalSpread, d), false},
         {input.Cep95, QColor(200, 0, 0), "CEP95 (empirical) " + Metres(input.Cep95, d), false}});
}

std::unique_ptr<QChart> AltitudeErrorChart(const TimePlotInput& input) {
    const std::string spread = input.TwoDrms ? "\u00b1 2drms " : "\u00b1 CEP(50%) ";
    const int d = input.ErrorDecimals;
    return ErrorChart(
        input, "Altitude error (m)", input.Errors->Up,
        {{input.AltitudeSpread, Qt::black, spread + Metres(input.AltitudeSpread, d), true},
         {input.Vertical95, QColor(200, 0, 0),
          "\u00b1 vertical 95% (empirical) " + Metres(input.Vertical95, d), true}});
}

QImage RenderTimePlot(const TimePlotInput& input, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const int titleHeight = std::min(40, size.height() / 10);
    QFont font = painter.font();
    font.setPixelSize(std::max(10, titleHeight / 2));
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, size.width(), titleHeight), Qt::AlignCenter,
                     QString::fromStdString("Error over time: " + input.Title));
    const int half = (size.height() - titleHeight) / 2;
    const QRectF areas[] = {
        QRectF(0, titleHeight, size.width(), half),
        QRectF(0, titleHeight + half, size.width(), size.height() - titleHeight - half)};
    std::unique_ptr<QChart> charts[] = {HorizontalErrorChart(input), AltitudeErrorChart(input)};
    QGraphicsScene scenes[2];
    for (int i = 0; i < 2; ++i) {
        scenes[i].addItem(charts[i].get());
        charts[i]->setGeometry(QRectF(QPointF(0, 0), areas[i].size()));
        charts[i]->layout()->activate();
        scenes[i].setSceneRect(QRectF(QPointF(0, 0), areas[i].size()));
    }
    // One time axis above the other: both plot areas take the narrower of the two widths.
    const QRectF a = charts[0]->plotArea(), b = charts[1]->plotArea();
    const double left = std::max(a.left(), b.left()), right = std::min(a.right(), b.right());
    for (int i = 0; i < 2; ++i) {
        const QRectF area = charts[i]->plotArea();
        charts[i]->setPlotArea(QRectF(left, area.top(), right - left, area.height()));
        charts[i]->layout()->activate();
        scenes[i].render(&painter, areas[i], scenes[i].sceneRect());
        scenes[i].removeItem(charts[i].get());
    }
    return image;
}

} // namespace fixtally
