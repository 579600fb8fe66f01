#include "desktop/DialogSupport.h"

#include "desktop/ScreenPlacement.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <string>

namespace fixtally {

namespace {

// No text of a field is selected when the dialog becomes active (also when it is shown,
// where Qt's own focus handling selects the whole text of the first field).
class ActivationDeselect : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowActivate) DeselectFields(static_cast<QWidget*>(watched));
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void DeselectFields(QWidget* window) {
    for (QLineEdit* edit : window->findChildren<QLineEdit*>()) edit->deselect();
}

void SetupDialogFrame(QDialog* dialog, const char* objectName, const char* caption, int width,
                      int height) {
    dialog->installEventFilter(new ActivationDeselect(dialog));
    dialog->setObjectName(objectName);
    dialog->setWindowTitle(caption);
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    dialog->setModal(true);
    dialog->setFixedSize(width, height);
    dialog->setSizeGripEnabled(false);
}

void ExecCentred(QDialog* dialog, QWidget* owner) {
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
    ShowCentred(dialog, owner);
    DeselectFields(dialog);
    // Showing makes the first button after the focus the default one; a button is the
    // default only while it has the focus, as Enter in the fields is discarded anyway.
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
        if (!button->hasFocus()) button->setDefault(false);
    dialog->exec();
    if (busy) QApplication::restoreOverrideCursor();
}

void EnterDiscarder::Watch(QWidget* widget) {
    widget->installEventFilter(this);
    if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit())
        combo->lineEdit()->installEventFilter(this);
}

bool EnterDiscarder::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
            key->text() == QLatin1String("\r") || key->text() == QLatin1String("\n"))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

QLabel* DialogLabel(QWidget* parent, const char* name, const char* text, QRect geometry,
                    Qt::Alignment align) {
    auto* label = new QLabel(text, parent);
    if (name) label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAlignment(align);
    return label;
}

QLineEdit* DialogEdit(QWidget* parent, const char* name, QRect geometry, Qt::Alignment align) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(geometry);
    edit->setAlignment(align);
    return edit;
}

QPushButton* DialogButton(QWidget* parent, const char* name, const char* caption, QRect geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    return button;
}

void ShowText(QLineEdit* edit, const std::string& text) {
    const QString shown = QString::fromStdString(text);
    if (edit->text() != shown) {
        edit->setText(shown);
        edit->setCursorPosition(0);
    }
}

void ShowText(QLabel* label, const std::string& text) {
    const QString shown = QString::fromStdString(text);
    if (label->text() != shown) label->setText(shown);
}

} // namespace fixtally
