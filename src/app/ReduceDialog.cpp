#include "app/ReduceDialog.h"

#include "app/Program.h"
#include "convert/Conversions.h"

namespace fixtally {

std::string& ReduceDialog::EditMd(Program& program) {
    return program.Settings.Reduce.MovingDist;
}

std::string& ReduceDialog::EditEt(Program& program) {
    return program.Settings.Reduce.ElapsesTimes;
}

void ReduceDialog::ApplyReduceEdits(Program& program) {
    double distance = TextToZeroFloat(EditMd(program));
    if (distance < 1) {
        distance = 1;
        EditMd(program) = "1.0";
    }
    double interval = TextToZeroFloat(EditEt(program)) / 86400;
    if (interval < 0.1 / 86400) {
        interval = 0.1 / 86400;
        EditEt(program) = "0.1";
    }
    ReduceInterval = interval - 0.01 / 86400;
    ReduceDistance = distance;
}

void ReduceDialog::Button1Click(Program& program) {
    program.Log.AbortRequested = true;
    CloseRequested = true;
}

} // namespace fixtally
