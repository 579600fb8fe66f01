#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <string_view>

class QWidget;

namespace fixtally {

// The name filters of the open dialog from the program's filter text
// "Data file|*.nmea;*.nme|...|All file|*.*": one "Data file (*.nmea *.nme)" entry per
// pair; "*.*" becomes "*", so that files without an extension are listed too.
QStringList OpenDialogFilters(std::string_view filterText);

struct OpenChoice {
    QString File;
    QString Folder;  // the chosen file's folder, where the next dialog opens
    int FilterIndex; // 1-based entry of the filter list in use when the file was chosen
};

// The open dialog (Qt's own, not the system's) centred over owner and kept on its screen.
// Empty when the user cancels.
std::optional<OpenChoice> AskLogFile(QWidget* owner, const QStringList& filters,
                                     const QString& folder, int filterIndex);

} // namespace fixtally
