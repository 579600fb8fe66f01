#include "app/LogLoading.h"

#include "app/LogKind.h"
#include "app/Program.h"
#include "convert/Conversions.h"
#include "display/ResultsDisplay.h"
#include "input/csv/CsvReader.h"
#include "input/nmea/NmeaReader.h"

#include <string>

namespace fixtally {

namespace {

// Puts back the cursor and the abort flag on every way out of a load.
struct LoadExit {
    Program& program;
    ~LoadExit() {
        program.Ui.SetBusyCursor(false);
        program.Main.BusyCursor = false;
        program.Log.AbortRequested = false;
    }
};

} // namespace

int LoadLog(Program& program, std::string_view path) {
    LoadExit restore{program};
    int result = 0;
    ClearStatusBar(program);
    if (program.Ui.TaskbarMaximum() > 0) program.Ui.SetTaskbarState(TaskbarState::Normal);
    if (TrimText(path).empty()) return 0;

    program.Main.MenuCountRangeEnabled = false;
    program.Main.MenuRecountEnabled = false;
    program.Ui.SetBusyCursor(true);
    program.Main.BusyCursor = true;

    program.Log.IsRtklibLog = false;
    program.Log.CsvProfile.clear();
    const LogKind kind = LogFileKind(program.Settings, path);
    program.Log.LogPosDecimals = 1;
    program.Log.LogAltDecimals = 1;

    if (kind == NmeaLog) {
        result = ReadNmeaLog(program);
        if (result < 1 && LowerExtension(path) == ".txt" && !program.Log.AbortRequested) {
            // A ".txt" log that is not NMEA may be a logger CSV; it starts
            // from the decimals of a fresh load, not what the NMEA attempt saw.
            program.Log.LogPosDecimals = 1;
            program.Log.LogAltDecimals = 1;
            result = ReadCsvLog(program);
        }
    } else if (kind == CsvLog) {
        result = ReadCsvLog(program);
    }

    const std::string name(FileNameOnly(path));
    if (result > 0) {
        program.Main.StatusPanel0 = " Completed: " + name;
        program.Main.MenuCountRangeEnabled = true;
        program.Main.MenuRecountEnabled = true;
        program.Ui.ProcessMessages();
    } else {
        ClearResults(program);
        if (program.Log.AbortRequested)
            program.Main.StatusPanel0 = "*** Aborted by user ***";
        else if (result != 0)
            program.Main.StatusPanel0 = " <<Error!!>> " + program.Main.StatusPanel0;
        else if (kind != NotDataFile)
            program.Main.StatusPanel0 = " " + name + "  *** No data ***";
        else
            program.Main.StatusPanel0 = "  *** Not data file ***";
    }
    return result;
}

int LoadLogFile(Program& program) {
    program.Log.Loading = true;
    program.Results.AveragePoint = {NaN, NaN, NaN};
    program.Log.AbortRequested = false;
    ClearStatusBar(program);

    std::string_view name = TrimText(program.Log.LogFileName);
    if (std::size_t semicolon = name.find(';'); semicolon != std::string_view::npos)
        name = TrimText(name.substr(0, semicolon));
    program.Log.LogFileName = std::string(name);
    int result = 0;
    if (!program.Log.LogFileName.empty()) result = LoadLog(program, program.Log.LogFileName);
    program.Log.Loading = false;
    return result;
}

} // namespace fixtally
