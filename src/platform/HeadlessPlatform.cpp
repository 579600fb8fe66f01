#include "platform/HeadlessPlatform.h"

namespace fixtally {

void HeadlessPlatform::ProcessMessages() {
    ++ProcessMessagesCalls;
    if (escTarget_ && escCountdown_ > 0 && --escCountdown_ == 0) {
        *escTarget_ = true;
        escTarget_ = nullptr;
    }
}

MessageButton HeadlessPlatform::ShowMessage(std::string_view text, MessageKind kind,
                                            unsigned buttons) {
    MessageButton answer = DefaultAnswer;
    if (!Answers.empty()) {
        answer = Answers.front();
        Answers.pop_front();
    }
    Messages.push_back({std::string(text), kind, buttons, answer});
    return answer;
}

} // namespace fixtally
