// fixtally: the desktop program. Chooses the INI file, creates the main window and runs
// until it closes.

#include "desktop/MainWindow.h"
#include "settings/IniPath.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Fixtally");
    QGuiApplication::setDesktopFileName("fixtally");

    std::vector<std::string> arguments;
    for (const QString& argument : QApplication::arguments().mid(1))
        arguments.push_back(argument.toStdString());

    const fixtally::IniPathResult ini = fixtally::DefaultIniPath(arguments);
    if (!ini.Ok()) {
        QMessageBox::critical(nullptr, QApplication::applicationName(),
                              QString::fromStdString(ini.Error));
        return 1;
    }

    fixtally::TFormMain window(arguments, ini.Path);
    window.show();
    return QApplication::exec();
}
