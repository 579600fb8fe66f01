#pragma once

#include <string>
#include <string_view>

namespace fixtally {

struct Program;

// Reads the INI file at program.IniPath into the settings and applies them:
// language and font, open-dialog filter, reference choice (a recount when it
// changes with a log loaded), probability caption, dot size, shading, graph
// range, date format and local offset. A missing file is first created as a
// UTF-16 file holding only its byte-order mark; obsolete keys of old versions
// are deleted from the file at once. Never fails: a key that cannot be read
// keeps its value or default.
void ReadSettings(Program& program);

// Puts the settings into effect on the program's models: probability caption,
// open-dialog filter, dot size, shading, graph range and the date format in
// use. Reading an INI file ends with it; fixtally-cli calls it after --set.
void ApplySettings(Program& program);

// The Font section's font of the interface language into program.Main, where the
// windows take it from.
void SelectInterfaceFont(Program& program);

// Reads the settings from path like ReadSettings but never creates, changes
// or deletes anything in the file (fixtally-cli --ini). False, with the
// settings untouched, when the file cannot be read or is no plain file. A file
// that is no text (binary bytes) is read as holding no setting: true, with
// notText (when given) set.
bool ReadSettingsFile(Program& program, const std::string& path, bool* notText = nullptr);

// Writes every setting to program.IniPath in the fixed order of sections and
// keys; keys of the file that are not settings are kept. The file is replaced
// as a whole, so a failure leaves the previous file intact. False when the
// file could not be written (the failure is not reported to the user).
bool WriteSettings(Program& program);

// program.IniPath := UsableIniPath(path). When that fails the message
// ("Cannot create : ...", "Cannot Copy : ...") is shown, IniPath stays and
// the result is false.
bool SelectIniFile(Program& program, std::string_view path);

// The switch to another INI file (an INI file dropped on the main window):
// the settings are written to the current file, then the new file is
// selected and read. False when the new file could not be selected.
bool SwitchIniFile(Program& program, std::string_view path);

} // namespace fixtally
