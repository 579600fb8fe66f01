#pragma once

#include <QObject>
#include <QRect>

#include <string>

class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace fixtally {

// The frame every dialog of the program has: modal, fixed client size, a title bar
// without buttons of its own (the window system may still add what it insists on).
void SetupDialogFrame(QDialog* dialog, const char* objectName, const char* caption, int width,
                      int height);

// Clears the text selection of every edit field and list of a window.
void DeselectFields(QWidget* window);

// Shows a dialog modally, centred over owner and inside the owner's screen, and returns
// when it closes. A busy cursor of the command that opens it gives way to the arrow while
// the dialog waits for the user.
void ExecCentred(QDialog* dialog, QWidget* owner);

// Discards typed carriage returns and line feeds in the widgets it is installed on, so
// that Enter in a field neither changes it nor presses a button of the dialog.
class EnterDiscarder : public QObject {
public:
    using QObject::QObject;
    void Watch(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Small constructors of the design's controls, geometry in client pixels.
QLabel* DialogLabel(QWidget* parent, const char* name, const char* text, QRect geometry,
                    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
QLineEdit* DialogEdit(QWidget* parent, const char* name, QRect geometry,
                      Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
QPushButton* DialogButton(QWidget* parent, const char* name, const char* caption, QRect geometry);

// Replaces an edit's text only when it differs, leaving the cursor at the start.
void ShowText(QLineEdit* edit, const std::string& text);
void ShowText(QLabel* label, const std::string& text);

} // namespace fixtally
