#pragma once

#include <string>
#include <string_view>

namespace fixtally {

enum class MessageKind { Warning, Error, Information, Confirmation };

// Standard buttons of a message box; a set is an OR of them.
enum MessageButton : unsigned {
    ButtonNone = 0,
    ButtonOk = 1,
    ButtonCancel = 2,
    ButtonYes = 4,
    ButtonNo = 8,
};

enum class TaskbarState { None, Normal, Paused, Error, Indeterminate };

// The only way the core reaches the window system. The desktop program
// implements it with Qt; the command-line program and the tests use
// HeadlessPlatform.
class Platform {
public:
    virtual ~Platform() = default;

    // Lets the window system handle pending events; Esc sets the program's
    // AbortRequested from here.
    virtual void ProcessMessages() = 0;
    virtual void SetBusyCursor(bool busy) = 0;
    // 128 where taskbar progress is shown, 0 where it is not.
    virtual int TaskbarMaximum() const = 0;
    virtual void SetTaskbarProgress(int value) = 0;
    virtual void SetTaskbarState(TaskbarState state) = 0;
    // Shows a modal message centred over the main window; returns the button pressed.
    virtual MessageButton ShowMessage(std::string_view text, MessageKind kind,
                                      unsigned buttons) = 0;
    virtual void LockRepaint(bool locked) = 0;
    // Lets the user confirm or change the path of an export file before it is written;
    // empty when the user cancels. Without windows the proposed path is taken as it is.
    virtual std::string ChooseExportPath(std::string_view proposed) {
        return std::string(proposed);
    }
};

} // namespace fixtally
