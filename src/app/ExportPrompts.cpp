#include "app/ExportPrompts.h"

#include "app/Program.h"

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

} // namespace fixtally
