#include "app/ExportPrompts.h"

#include "app/Program.h"
#include "export/ExportFile.h"

#include <filesystem>
#include <system_error>

namespace fixtally {

BusyCursorGuard::BusyCursorGuard(Platform& ui) : ui_(ui) {
    ui_.SetBusyCursor(true);
}

BusyCursorGuard::~BusyCursorGuard() {
    ui_.SetBusyCursor(false);
}

OverwriteAnswer AskOverwrite(Program& program, const std::string& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return OverwriteAnswer::NoFile;
    MessageButton answer = program.Ui.ShowMessage(path + " exists.\r\n\r\nOverwrite?",
                                                  MessageKind::Information, ButtonYes | ButtonNo);
    return answer == ButtonYes ? OverwriteAnswer::Yes : OverwriteAnswer::No;
}

std::string OverLogMessage(const std::string& path) {
    return path + " is the log being read; it is not overwritten.";
}

bool RefuseOverLog(Program& program, const std::string& path) {
    if (program.Log.LogFileName.empty() || !SameFile(path, program.Log.LogFileName)) return false;
    program.Ui.ShowMessage("\n" + OverLogMessage(path), MessageKind::Error, ButtonOk);
    return true;
}

void NoteExportFailure(Program& program, const std::string& path, const std::string& reason) {
    program.ExportFailure.Path = path;
    program.ExportFailure.Reason = reason;
}

} // namespace fixtally
