#pragma once

#include "desktop/LauncherProgress.h"
#include "platform/Platform.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

namespace fixtally {

// The core's platform on Qt Widgets. Long operations run on the window thread and call
// ProcessMessages at intervals: the window first shows the model's texts, then Qt
// handles what is pending. Esc sets the abort flag from anywhere in the application and
// still reaches the widget it was meant for.
class QtPlatform final : public QObject, public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;

    void SetMainWindow(QWidget* window) { window_ = window; }
    void SetAbortFlag(bool* abortRequested) { abortRequested_ = abortRequested; }
    // Called before pending events are handled, so that progress texts show.
    void SetBeforeEvents(std::function<void()> refresh) { refresh_ = std::move(refresh); }

    void ProcessMessages() override;
    void SetBusyCursor(bool busy) override;
    int TaskbarMaximum() const override { return launcher_.Available() ? 128 : 0; }
    void SetTaskbarProgress(int value) override;
    void SetTaskbarState(TaskbarState state) override;
    MessageButton ShowMessage(std::string_view text, MessageKind kind, unsigned buttons) override;
    void LockRepaint(bool locked) override;
    // A save dialog in the proposed folder with the proposed name; an existing file is
    // asked about afterwards by the export with its own centred question.
    std::string ChooseExportPath(std::string_view proposed) override;

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SendProgress();

    QPointer<QWidget> window_;
    bool* abortRequested_ = nullptr;
    std::function<void()> refresh_;
    bool busyCursorShown_ = false;
    LauncherProgress launcher_;
    int progressValue_ = 0;
    TaskbarState progressState_ = TaskbarState::None;
};

} // namespace fixtally
