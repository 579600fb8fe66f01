#include "app/ResultsView.h"

#include "app/GraphCommands.h"
#include "app/Program.h"
#include "display/ResultsDisplay.h"
#include "settings/Conventions.h"

namespace fixtally {

void ReadDisplayDecimals(Program& program) {
    ReadDisplayDecimals(program.Main, program.Settings, program.Log.LogPosDecimals,
                        program.Log.LogAltDecimals);
}

void ShowSpreadFields(Program& program) {
    ShowSpreadFields(program.Main, program.Results.ErrorSpread, program.Settings.TwoDrms);
}

void ShowAveragePosition(Program& program) {
    ShowAveragePosition(program.Main, program.Results.AveragePoint, program.Settings.DDMMSS);
}

void ShowFilterLabel(Program& program) {
    program.Main.LabelDgps = FilterLabelText(program.Settings, program.Log.IsRtklibLog);
}

void SetProbabilityCaption(Program& program) {
    program.Main.GroupBox2drms = ProbabilityCaption(program.Settings.TwoDrms);
    ShowSpreadFields(program);
}

void ClearResults(Program& program) {
    ClearResultFields(program.Main);
    program.LastStatistics = FixStatistics{};
    program.FixErrors.Clear();
    DrawGraphBackground(program);
}

void ClearStatusBar(Program& program) {
    program.Main.StatusPanel0.clear();
    program.Main.StatusPanel1.clear();
    if (program.Ui.TaskbarMaximum() > 0) {
        program.Ui.SetTaskbarProgress(0);
        program.Ui.SetTaskbarState(TaskbarState::None);
    }
}

std::string PeakTimeText(const Program& program, double time) {
    return PeakTimeText(time, program.Log.LastFixTime,
                        DateFormatInUse(program.Settings, program.Conventions));
}

} // namespace fixtally
