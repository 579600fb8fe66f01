#include "app/OutputRange.h"

#include "app/Program.h"
#include "app/ProgramTime.h"
#include "app/Recount.h"
#include "stats/CountRange.h"
#include "stats/TimeText.h"

namespace fixtally {

void OutputRange::PublishLogRange(Program& program) {
    std::string dateFormat = DateFormatInUse(program.Settings, program.Conventions);
    EditStime = FormatFixTime(program.CountRange.Start, dateFormat);
    EditEtime = FormatFixTime(program.CountRange.End, dateFormat);
    LabelTitl = FullRangeTitle;
    LabelRange = EditStime + " to " + EditEtime;
    program.FullRange = program.CountRange;
}

void OutputRange::ClampRangeEdits(const Program& program) {
    ::fixtally::ClampRangeEdits(EditStime, EditEtime, program.FullRange,
                                DateFormatInUse(program.Settings, program.Conventions));
}

void OutputRange::ButtonOKClick(Program& program) {
    ClampRangeEdits(program);
    std::string dateFormat = DateFormatInUse(program.Settings, program.Conventions);
    program.CountRange.Start = ParseRangeStart(EditStime, program.FullRange, dateFormat);
    program.CountRange.End = ParseRangeEnd(EditEtime, program.FullRange, dateFormat);
    CountFixes(program);
    CloseRequested = true;
}

void OutputRange::ButtonCancelClick(Program& program) {
    std::string dateFormat = DateFormatInUse(program.Settings, program.Conventions);
    program.CountRange = program.FullRange;
    EditStime = FormatFixTime(program.FullRange.Start, dateFormat);
    EditEtime = FormatFixTime(program.FullRange.End, dateFormat);
    CountFixes(program);
    CloseRequested = true;
}

void OutputRange::StepHour(const Program& program, bool startEdit, double step) {
    std::string dateFormat = DateFormatInUse(program.Settings, program.Conventions);
    std::string& edit = startEdit ? EditStime : EditEtime;
    double t = startEdit ? ParseRangeStart(edit, program.FullRange, dateFormat)
                         : ParseRangeEnd(edit, program.FullRange, dateFormat);
    edit = FormatFixTime(t + step, dateFormat);
    ClampRangeEdits(program);
}

} // namespace fixtally
