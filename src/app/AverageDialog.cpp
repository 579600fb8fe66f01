#include "app/AverageDialog.h"

#include "app/Program.h"
#include "app/ProgramTime.h"
#include "convert/Conversions.h"
#include "settings/Conventions.h"
#include "stats/CountRange.h"
#include "stats/TimeText.h"

#include <cmath>

namespace fixtally {

namespace {

constexpr long long DayMs = 86400000;
constexpr long long HourMs = 3600000;
// The smallest span or stepping OK accepts, in hours (about 0.04 s).
constexpr double SmallestHours = 1.1574062499999999e-5;

void Warn(Program& program, const char* text) {
    program.Ui.ShowMessage(text, MessageKind::Warning, ButtonOk);
}

void Trim(std::string& text) {
    text = std::string(TrimText(text));
}

// A time split into its day and the milliseconds into that day.
struct DayAndMs {
    double Day;
    long long Ms;
};

DayAndMs SplitTime(double t) {
    double day = std::floor(t);
    long long ms = std::llround((t - day) * DayMs);
    if (ms >= DayMs) {
        day += 1;
        ms = 0;
    }
    return {day, ms};
}

} // namespace

std::string& AverageDialog::tCenterEditCSVspan(Program& program) {
    return program.Settings.CSVspan;
}
std::string& AverageDialog::tCenterEditCSVstep(Program& program) {
    return program.Settings.CSVstep;
}
std::string& AverageDialog::tCenterEditHerror(Program& program) {
    return program.Settings.CSVherr;
}

void AverageDialog::PublishLogRange(const Program& program) {
    tCenterEditCSVstime = FormatFixTime(program, program.CountRange.Start);
    tCenterEditCSVftime = FormatFixTime(program, program.CountRange.End);
    LabelTitl = FullRangeTitle;
    LabelRange = tCenterEditCSVstime + " to " + tCenterEditCSVftime;
}

void AverageDialog::FormActivate(Program& program) {
    CloseRequested = false;
    savedSpan_ = tCenterEditCSVspan(program);
    savedStep_ = tCenterEditCSVstep(program);
    savedHerror_ = tCenterEditHerror(program);
    savedEffectHori_ = CheckBoxEffectHori;
}

double AverageDialog::StartTime(const Program& program) const {
    return ParseRangeStart(tCenterEditCSVstime, program.FullRange,
                           DateFormatInUse(program.Settings, program.Conventions));
}

double AverageDialog::FinalTime(const Program& program) const {
    return ParseRangeEnd(tCenterEditCSVftime, program.FullRange,
                         DateFormatInUse(program.Settings, program.Conventions));
}

void AverageDialog::RoundStartUp(Program& program, long long unitMs) {
    double t = StartTime(program);
    if (t == 0 || std::isnan(t)) return;
    DayAndMs split = SplitTime(t);
    if (split.Ms % unitMs == 0) return; // already on a full day or hour
    double next = split.Day + static_cast<double>((split.Ms / unitMs + 1) * unitMs) / DayMs;
    if (next < program.FullRange.End)
        tCenterEditCSVstime = FormatFixTime(program, next);
    else
        Warn(program, "Round-up is impossible. ");
}

void AverageDialog::TruncateFinal(Program& program, long long unitMs) {
    double t = FinalTime(program);
    if (t == 0 || std::isnan(t)) return;
    DayAndMs split = SplitTime(t);
    if (split.Ms % unitMs == 0) return;
    double previous = split.Day + static_cast<double>(split.Ms / unitMs * unitMs) / DayMs;
    if (previous > program.FullRange.Start)
        tCenterEditCSVftime = FormatFixTime(program, previous);
    else
        Warn(program, "Truncation is impossible. ");
}

void AverageDialog::ButtonDayClick(Program& program) {
    RoundStartUp(program, DayMs);
}
void AverageDialog::ButtonHourClick(Program& program) {
    RoundStartUp(program, HourMs);
}
void AverageDialog::ButtonFdayClick(Program& program) {
    TruncateFinal(program, DayMs);
}
void AverageDialog::ButtonFhourClick(Program& program) {
    TruncateFinal(program, HourMs);
}

bool AverageDialog::ButtonCSVokClick(Program& program) {
    Trim(tCenterEditCSVstime);
    Trim(tCenterEditCSVftime);
    Trim(tCenterEditCSVspan(program));
    Trim(tCenterEditCSVstep(program));
    Trim(tCenterEditHerror(program));

    const TimeRange& full = program.FullRange;
    double start = StartTime(program);
    if (start == 0 || !(start >= full.Start && start <= full.End)) {
        Warn(program, "Start time is out of range. ");
        return false;
    }
    double finalTime = FinalTime(program);
    if (finalTime == 0 || !(finalTime >= full.Start && finalTime <= full.End)) {
        Warn(program, "Final time is out of range. ");
        return false;
    }
    if (CheckBoxEffectHori) {
        double limit = TextToFloat(tCenterEditHerror(program));
        if (!(limit > 0)) {
            Warn(program, "Effective horizontal error range is out of range. ");
            return false;
        }
    }
    double span = TextToFloat(tCenterEditCSVspan(program));
    if (std::isnan(span))
        tCenterEditCSVspan(program) = "24.0";
    else if (span < SmallestHours)
        tCenterEditCSVspan(program) = "1.0";
    double step = TextToFloat(tCenterEditCSVstep(program));
    if (std::isnan(step) || step < SmallestHours) tCenterEditCSVstep(program) = "1.0";

    program.Log.AbortRequested = false;
    CloseRequested = true;
    return true;
}

void AverageDialog::ButtonCSVcancelClick(Program& program) {
    program.Log.AbortRequested = true;
    CloseRequested = true;
}

void AverageDialog::ButtonResetClick(Program& program) {
    program.Log.AbortRequested = true;
    LabelTitl = FullRangeTitle;
    LabelRange =
        RangeText(program.CountRange, DateFormatInUse(program.Settings, program.Conventions));
    tCenterEditCSVstime = program.RangeDialog.EditStime;
    tCenterEditCSVftime = program.RangeDialog.EditEtime;
    tCenterEditCSVspan(program) = savedSpan_;
    tCenterEditCSVstep(program) = savedStep_;
    tCenterEditHerror(program) = savedHerror_;
    CheckBoxEffectHori = savedEffectHori_;
    CloseRequested = true;
}

} // namespace fixtally
