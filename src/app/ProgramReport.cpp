#include "app/ProgramReport.h"

#include "app/Program.h"
#include "report/ReportText.h"

namespace fixtally {

std::string BuildReportText(const Program& program) {
    if (!program.Store.Exists() || program.Store.Count() == 0) {
        program.Ui.ShowMessage(NoReadingDataMessage, MessageKind::Error, ButtonOk);
        return {};
    }
    return BuildReportText(program.Main, program.Results.UseTrueReference, program.Log.LogFileName,
                           program.Settings);
}

} // namespace fixtally
