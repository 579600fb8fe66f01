#include "app/ExportCommands.h"

#include "app/AveragedCsvExport.h"
#include "app/Program.h"
#include "app/TrackCsvExport.h"

namespace fixtally {

ExportOutcome RunTrackExport(Program& program, bool withError,
                             const std::optional<ReducePress>& reduce) {
    return SaveToCsvClick(program, withError, [&](Program& p) {
        p.Reduce.FormActivate(p);
        if (reduce) {
            ReduceDialog::EditMd(p) = reduce->MovingDistance;
            ReduceDialog::EditEt(p) = reduce->ElapsedTime;
            p.Reduce.ButtonOKClick(p);
        } else {
            p.Reduce.ButtonFullClick();
        }
    });
}

ExportOutcome RunAverageExport(Program& program, const AverageRequest& request) {
    bool refused = false;
    ExportOutcome outcome = SaveAverageToCsvClick(program, [&](Program& p) {
        AverageDialog& dialog = p.Average;
        dialog.FormActivate(p);
        AverageDialog::tCenterEditCSVspan(p) = request.Span;
        AverageDialog::tCenterEditCSVstep(p) = request.Step;
        dialog.CheckBoxEffectHoriClick(request.Limit.has_value());
        if (request.Limit) AverageDialog::tCenterEditHerror(p) = *request.Limit;
        if (request.Start) dialog.tCenterEditCSVstime = *request.Start;
        if (request.Final) dialog.tCenterEditCSVftime = *request.Final;
        if (!dialog.ButtonCSVokClick(p)) {
            refused = true;
            dialog.ButtonCSVcancelClick(p);
        }
    });
    return refused ? ExportOutcome::Refused : outcome;
}

} // namespace fixtally
