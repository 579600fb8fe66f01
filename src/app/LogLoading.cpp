#include "app/LogLoading.h"

#include "app/Program.h"
#include "app/ReadProgress.h"
#include "app/Recount.h"
#include "app/ResultsView.h"
#include "convert/Conversions.h"
#include "input/LogKind.h"
#include "input/csv/CsvReader.h"
#include "input/nmea/NmeaReader.h"

#include <charconv>
#include <climits>
#include <filesystem>
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

std::string CountText(std::int64_t count) {
    char digits[24];
    const auto r = std::to_chars(digits, digits + sizeof digits, count);
    return std::string(digits, r.ptr);
}

// What a read shows in the status bar and the taskbar, and the Esc key that stops it.
class WindowReadObserver final : public ReadObserver {
public:
    WindowReadObserver(Program& program, std::string_view name) : program_(program), name_(name) {}

    void StageBegun(ReadStage stage) override {
        switch (stage) {
        case ReadStage::Opening:
            SetPanel0("  Open NMEA file ...");
            program_.Ui.ProcessMessages();
            break;
        case ReadStage::Checking:
            SetPanel0("  Checking NMEA file ...");
            program_.Ui.ProcessMessages();
            break;
        case ReadStage::Reading:
            SetPanel0("  Reading .");
            break;
        }
    }
    void ModeFound(std::string_view modeText) override {
        std::string& panel1 = program_.Main.StatusPanel1;
        panel1.assign(" ");
        panel1.append(modeText);
        program_.Ui.ProcessMessages();
    }
    void ProfileFound(std::string_view profile) override {
        SetPanel0("  ");
        program_.Main.StatusPanel0.append(profile);
        program_.Main.StatusPanel0.append(" CSV file ...");
    }
    bool Progress(std::int64_t bytesRead, std::int64_t fileSize) override {
        ShowReadingPercentage(program_, name_, bytesRead, fileSize);
        ShowReadProgress(program_, bytesRead, fileSize);
        program_.Ui.ProcessMessages();
        return !program_.Log.AbortRequested;
    }
    bool AbortRequested() override { return program_.Log.AbortRequested; }

private:
    void SetPanel0(std::string_view text) {
        std::string& panel = program_.Main.StatusPanel0;
        panel.assign(" ");
        panel.append(name_);
        panel.append(text);
    }

    Program& program_;
    std::string_view name_;
};

ReadOptions OptionsOf(const Program& program) {
    ReadOptions options;
    options.Options = &program.Settings;
    options.ExpandMode = program.Log.ExpandMode;
    options.LastFixTime = program.Log.LastFixTime;
    options.LogPosDecimals = program.Log.LogPosDecimals;
    options.LogAltDecimals = program.Log.LogAltDecimals;
    return options;
}

// What a read learned of the log goes to the program whatever its outcome, as the
// readers left it in the program before.
void TakeLogValues(Program& program, const LoadResult& result) {
    LoadedLog& log = program.Log;
    log.LastFixTime = result.Log.LastFixTime;
    log.LogPosDecimals = result.Log.LogPosDecimals;
    log.LogAltDecimals = result.Log.LogAltDecimals;
    if (result.RangeFound) program.CountRange = result.Range;
}

} // namespace

int ReadNmeaPasses(Program& program, bool& readPassDone) {
    readPassDone = false;
    const std::string path = program.Log.LogFileName;
    const std::string_view name = FileNameOnly(path);

    ClearResults(program);
    ClearStatusBar(program);
    WindowReadObserver observer(program, name);
    const LoadResult result = ReadNmeaLog(path, OptionsOf(program), observer, program.Store);
    TakeLogValues(program, result);
    switch (result.Outcome) {
    case LoadOutcome::CannotOpen:
        program.Main.StatusPanel0 = "  Can not open: " + std::string(name);
        return -1;
    case LoadOutcome::NoData:
        return 0;
    case LoadOutcome::Loaded:
        break;
    default:
        return -1;
    }
    program.Main.StatusPanel1 += "  " + CountText(result.Records) + "rec.";
    ShowReadProgress(program, result.BytesRead, result.FileSize);
    PublishLogRange(program);
    readPassDone = true;
    return result.Records > INT32_MAX ? INT32_MAX : static_cast<int>(result.Records);
}

int ReadNmeaLog(Program& program) {
    bool readPassDone = false;
    const int result = ReadNmeaPasses(program, readPassDone);
    if (readPassDone) {
        try {
            CountFixes(program);
        } catch (...) {
            return -1;
        }
    }
    return result;
}

int ReadCsvLog(Program& program, std::string_view path) {
    const std::string name(FileNameOnly(path));
    ClearResults(program);
    ClearStatusBar(program);
    program.Main.StatusPanel0 = " " + name + "  Reading CSV file ...";
    program.Ui.ProcessMessages();

    WindowReadObserver observer(program, name);
    const LoadResult result = ReadCsvLog(path, OptionsOf(program), observer, program.Store);
    TakeLogValues(program, result);
    if (result.Outcome != LoadOutcome::CannotOpen) {
        program.Log.IsRtklibLog = result.Log.IsRtklibLog;
        if (!result.Log.CsvProfile.empty()) program.Log.CsvProfile = result.Log.CsvProfile;
    }
    switch (result.Outcome) {
    case LoadOutcome::CannotOpen:
        program.Main.StatusPanel0 = "  Can not open: " + name;
        return -1;
    case LoadOutcome::UnknownLayout:
        program.Main.StatusPanel0 = result.Refusal + name;
        return -2;
    case LoadOutcome::Loaded:
        break;
    default:
        return -1;
    }
    program.Main.StatusPanel1 += "  Read:" + CountText(result.Records) + "rec.";
    ShowReadProgress(program, result.BytesRead, result.FileSize);
    PublishLogRange(program);
    try {
        if (result.Records > 0) CountFixes(program);
    } catch (const std::exception&) {
        program.Store.Clear();
        return -1;
    }
    return static_cast<int>(result.Records);
}

int ReadCsvLog(Program& program) {
    const std::string path = program.Log.LogFileName;
    return ReadCsvLog(program, path);
}

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

    std::error_code folderError;
    if (std::filesystem::is_directory(std::string(path), folderError)) {
        // No reader can open a folder; say what it is instead of a bare error.
        program.Main.StatusPanel0 = "  Is a folder: " + std::string(FileNameOnly(path));
        result = -1;
    } else if (kind == NmeaLog) {
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

    // Esc during the count that ends a read stops the load as it stops the read.
    if (result > 0 && program.Log.AbortRequested) result = -1;
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
