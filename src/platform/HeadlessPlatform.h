#pragma once

#include "platform/Platform.h"

#include <deque>
#include <string>
#include <vector>

namespace fixtally {

// A platform without windows: records what it was told, answers message boxes
// from a script, and can play an Esc key press after a number of message
// processing calls.
class HeadlessPlatform : public Platform {
public:
    struct Message {
        std::string Text;
        MessageKind Kind;
        unsigned Buttons;
        MessageButton Answer = ButtonOk; // the button the script pressed
    };

    void ProcessMessages() override;
    void SetBusyCursor(bool busy) override { BusyCursor = busy; }
    int TaskbarMaximum() const override { return TaskbarMax; }
    void SetTaskbarProgress(int value) override {
        TaskbarValue = value;
        ++TaskbarUpdates;
    }
    void SetTaskbarState(TaskbarState state) override { Taskbar = state; }
    MessageButton ShowMessage(std::string_view text, MessageKind kind, unsigned buttons) override;
    void LockRepaint(bool locked) override { RepaintLocked = locked; }

    // Sets *abortFlag to true during the calls-th call of ProcessMessages from now.
    void InjectEscAfter(int calls, bool* abortFlag) {
        escCountdown_ = calls;
        escTarget_ = abortFlag;
    }

    int TaskbarMax = 0;
    int TaskbarValue = 0;
    int TaskbarUpdates = 0;
    TaskbarState Taskbar = TaskbarState::None;
    bool BusyCursor = false;
    bool RepaintLocked = false;
    int ProcessMessagesCalls = 0;
    std::vector<Message> Messages;
    // Answers given to message boxes in order; DefaultAnswer once they run out.
    std::deque<MessageButton> Answers;
    MessageButton DefaultAnswer = ButtonOk;

private:
    int escCountdown_ = 0;
    bool* escTarget_ = nullptr;
};

} // namespace fixtally
