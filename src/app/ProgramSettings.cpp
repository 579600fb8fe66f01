#include "app/ProgramSettings.h"

#include "app/GraphCommands.h"
#include "app/Program.h"
#include "app/Recount.h"
#include "app/ResultsView.h"
#include "convert/Conversions.h"
#include "input/LogKind.h"
#include "settings/Conventions.h"
#include "settings/IniFile.h"
#include "settings/IniPath.h"
#include "settings/SettingsIni.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fixtally {

namespace {

// The interface language follows the user's message locale: Japanese or not.
bool UserLocaleIsEnglish() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && value[0])
            return !EqualsIgnoringCase(std::string_view(value).substr(0, 2), "ja");
    }
    return true;
}

std::string ExecutableFolder() {
    std::string folder = FolderOf(ExecutablePath());
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

void StartReading(Program& p) {
    p.Main.UiEnglish = UserLocaleIsEnglish();
    SetupConventions(p.Conventions);
}

// Reads every setting from ini and puts them into effect; a changed reference choice
// recounts a loaded log. True when the migration deleted obsolete keys from ini.
bool ReadAll(Program& p, IniFile& ini) {
    const bool wasAverage = p.Settings.UseAverage;
    const bool deleted = ReadSettingsFromIni(p.Settings, ini, ExecutableFolder());
    SelectInterfaceFont(p);
    if (p.Settings.UseAverage != wasAverage && p.Store.Exists()) CountFixes(p);
    ApplySettings(p);
    return deleted;
}

} // namespace

void SelectInterfaceFont(Program& p) {
    const Settings::FontSection& f = p.Settings.Font;
    MainWindowModel& m = p.Main;
    m.InterfaceFontName = m.UiEnglish ? f.EngFontName : f.JpFontName;
    m.InterfaceFontCharset = m.UiEnglish ? f.EngCharset : f.JpCharset;
    m.InterfaceFontSize = m.UiEnglish ? f.EngFontSize : f.JpFontSize;
}

void ApplySettings(Program& p) {
    Settings& s = p.Settings;
    SetProbabilityCaption(p);
    p.Main.OpenDialogFilter = BuildOpenFilter(s.NMEAext, s.CSVext, s.RTKLIBext);
    const DotSize dot = ReadDotSize(s.GPixels);
    p.Graph.DotSide = dot.Side;
    p.Graph.DotLo = dot.Lo;
    p.Graph.DotHi = dot.Hi;
    p.Graph.Monotone = s.Monotone;
    if (TrimText(s.DateFormat).empty()) s.DateFormat = p.Conventions.DefaultDateFormat;
    if (s.RangeIndex < 1) s.RangeIndex = 1;
    if (s.RangeIndex > 32) s.RangeIndex = 32;
    const ShadingLevels levels = ReadShadingLevels(s.MiniColor, s.MaxColor);
    p.Graph.Brightest = levels.Brightest;
    p.Graph.Darkest = levels.Darkest;
    ++p.Graph.Revision;
    SetGraphRange(p, s.RangeIndex, false);
}

void ReadSettings(Program& program) {
    try {
        StartReading(program);
        CreateIniFileIfMissing(program.IniPath);
        IniFile ini;
        ini.Load(program.IniPath);
        // Deletions of obsolete keys reach the file at once; a file that is no text is
        // no settings file of ours and is never written over.
        if (ReadAll(program, ini) && ini.IsText()) ini.Save(program.IniPath);
    } catch (const std::exception&) {
        // Reading ends silently; what was read stays.
    }
    MeasureLocalOffset(program.Conventions);
}

bool ReadSettingsFile(Program& program, const std::string& path, bool* notText) {
    IniFile ini;
    if (notText) *notText = false;
    try {
        if (!ini.Load(path)) return false;
        if (!ini.IsText()) {
            // Binary bytes hold no settings: the ones in force stay.
            if (notText) *notText = true;
            return true;
        }
        StartReading(program);
        ReadAll(program, ini); // deletions stay in memory
    } catch (const std::exception&) {}
    MeasureLocalOffset(program.Conventions);
    return true;
}

bool WriteSettings(Program& program) {
    try {
        const std::string& path = program.IniPath;
        IniFile ini;
        std::error_code ec;
        if (!ini.Load(path) && std::filesystem::exists(path, ec)) return false;
        if (!ini.IsText()) return false;
        WriteSettingsToIni(program.Settings, ini);
        return ini.Save(path);
    } catch (const std::exception&) {
        return false;
    }
}

bool SelectIniFile(Program& program, std::string_view path) {
    IniPathResult usable = UsableIniPath(path);
    if (!usable.Ok()) {
        program.Ui.ShowMessage(usable.Error, MessageKind::Error, ButtonOk);
        return false;
    }
    program.IniPath = usable.Path;
    return true;
}

bool SwitchIniFile(Program& program, std::string_view path) {
    WriteSettings(program);
    if (!SelectIniFile(program, path)) return false;
    ReadSettings(program);
    return true;
}

} // namespace fixtally
