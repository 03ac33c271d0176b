#include "platform/Questions.h"

#include <utility>

namespace platform {

namespace {
Answerer& Installed() {
    static Answerer answerer;
    return answerer;
}
} // namespace

void SetAnswerer(Answerer answerer) {
    Installed() = std::move(answerer);
}

bool HasAnswerer() {
    return static_cast<bool>(Installed());
}

Answer Ask(const Question& question, const std::function<Answer()>& showOnScreen) {
    // A copy, so that an answerer which replaces itself while answering stays alive.
    const Answerer answerer = Installed();
    if (answerer)
        return answerer(question);
    return showOnScreen ? showOnScreen() : Answer{};
}

} // namespace platform
