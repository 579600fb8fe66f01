#pragma once

#include "stats/FixErrorSamples.h"

#include <QChart>
#include <QImage>
#include <QSize>

#include <memory>
#include <string>
#include <vector>

namespace fixtally {

// What the error-over-time plot shows of one count.
struct TimePlotInput {
    const FixErrorSamples* Errors = nullptr; // kept with times and qualities
    bool IsRtklibLog = false;                // quality names of the RTKLIB list
    bool TwoDrms = true;                     // the spread lines are 2drms, else CEP(50%)
    double HorizontalSpread = 0;             // metres, as the report gives it
    double AltitudeSpread = 0;
    double Cep95 = 0; // empirical 95 % radius
    double Vertical95 = 0;
    int ErrorDecimals = 5;
    std::string Title; // the log's name
};

// One stretch of fixes without a gap: indexes [Begin, End) into the samples.
struct PlotSegment {
    std::size_t Begin = 0;
    std::size_t End = 0;
};

// The stretches of the samples, split where the time between two fixes exceeds five times
// the usual (median) interval and at least 2 s, or goes backwards.
std::vector<PlotSegment> SplitAtGaps(const std::vector<double>& times);

// A tick of the time axis: seconds after the first fix and its label.
struct TimeTick {
    double Seconds;
    std::string Label;
};

// Readable ticks between first and last (day numbers, UTC): a round step of seconds,
// minutes, hours or days giving at most eight ticks, labelled hh:nn, hh:nn:ss when the
// step is below a minute, mm-dd when it is a day or more.
std::vector<TimeTick> TimeAxisTicks(double first, double last);

// The colour and the options-dialog name of a fix-quality character.
QColor QualityColour(char16_t quality);
std::string QualityName(char16_t quality, bool isRtklibLog);

// The two charts: horizontal error and altitude error (m) against time, points coloured by
// fix quality, grey lines through each stretch without gaps, dashed lines at the spread
// and the empirical 95 % figure, axes with units and a legend. The x values are seconds
// after the first fix.
std::unique_ptr<QChart> HorizontalErrorChart(const TimePlotInput& input);
std::unique_ptr<QChart> AltitudeErrorChart(const TimePlotInput& input);

// Both charts one above the other under a title line, drawn into an image of size. Needs
// a QApplication.
QImage RenderTimePlot(const TimePlotInput& input, QSize size);

} // namespace fixtally
