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
    Messages.push_back({std::string(text), kind, buttons});
    if (!Answers.empty()) {
        MessageButton answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    return DefaultAnswer;
}

} // namespace fixtally
