#include "desktop/OpenDialog.h"

#include "desktop/ScreenPlacement.h"

#include <QFileDialog>
#include <QFileInfo>

namespace fixtally {

QStringList OpenDialogFilters(std::string_view filterText) {
    const QStringList parts = QString::fromUtf8(filterText.data(), qsizetype(filterText.size()))
                                  .split('|', Qt::KeepEmptyParts);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            if (pattern == "*.*") pattern = "*";
        filters << parts[i] + " (" + patterns.join(' ') + ")";
    }
    return filters;
}

std::optional<OpenChoice> AskLogFile(QWidget* owner, const QStringList& filters,
                                     const QString& folder, int filterIndex) {
    QFileDialog dialog(owner, "Open");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(filters);
    if (filterIndex >= 1 && filterIndex <= filters.size())
        dialog.selectNameFilter(filters[filterIndex - 1]);
    if (!folder.isEmpty()) dialog.setDirectory(folder);
    ShowCentred(&dialog, owner);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    OpenChoice choice;
    choice.File = dialog.selectedFiles().first();
    choice.Folder = QFileInfo(choice.File).absolutePath();
    const qsizetype index = filters.indexOf(dialog.selectedNameFilter());
    choice.FilterIndex = index >= 0 ? int(index) + 1 : filterIndex;
    return choice;
}

} // namespace fixtally
