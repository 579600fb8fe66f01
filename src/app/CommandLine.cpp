#include "app/CommandLine.h"

#include "app/LogLoading.h"
#include "app/Program.h"
#include "app/ProgramSettings.h"
#include "input/LogKind.h"
#include "settings/IniPath.h"

namespace fixtally {

namespace {
bool IsExpandSwitch(const std::string& argument) {
    return argument.size() == 2 && argument[0] == '/' && (argument[1] == 'H' || argument[1] == 'h');
}
} // namespace

void ProcessCommandLine(Program& program, const std::vector<std::string>& arguments) {
    bool iniGiven = false;
    for (const std::string& argument : arguments) {
        if (LowerExtension(argument) != ".ini") continue;
        iniGiven = true;
        SelectIniFile(program, argument);
        ReadSettings(program);
    }
    if (!iniGiven) ReadSettings(program);

    program.Log.LogFileName.clear();
    for (const std::string& argument : arguments) {
        if (LowerExtension(argument) == ".ini") continue;
        if (IsExpandSwitch(argument)) {
            if (!program.Log.ExpandMode) program.Main.Caption += " *** Expand mode ***";
            program.Log.ExpandMode = true;
        } else if (LogFileKind(program.Settings, argument) != NotDataFile) {
            program.Log.LogFileName = argument;
        }
    }
    if (!program.Log.LogFileName.empty()) LoadLogFile(program);
}

void HandleDroppedFiles(Program& program, const std::vector<std::string>& files) {
    for (const std::string& file : files) {
        if (LowerExtension(file) == ".ini")
            SwitchIniFile(program, file);
        else
            program.Log.LogFileName = file;
    }
    if (!program.Log.LogFileName.empty()) LoadLogFile(program);
}

} // namespace fixtally
