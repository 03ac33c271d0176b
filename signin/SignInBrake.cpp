#include "signin/SignInBrake.h"

#include <algorithm>

namespace signin {

int SignInBrake::WaitAfter(int failures) {
    if (failures < FreeTries)
        return 0;
    // 2 s after the third, doubling from there; the shift stops well before it could overflow.
    const int doublings = std::min(failures - FreeTries, 5);
    return std::min(2 << doublings, MaxWaitSeconds);
}

int SignInBrake::SecondsToWait(const QString& name, const QDateTime& now) {
    const auto found = tries_.find(name);
    if (found == tries_.end())
        return 0;
    Tries& tries = found.value();
    const int wait = WaitAfter(tries.failures);
    if (wait == 0)
        return 0;
    // A clock set back would otherwise hold the name off for as long as it went back: the
    // wait starts again from now instead.
    if (now < tries.last)
        tries.last = now;
    const qint64 passed = tries.last.secsTo(now);
    return passed >= wait ? 0 : static_cast<int>(wait - passed);
}

void SignInBrake::Failed(const QString& name, const QDateTime& now) {
    Tries& tries = tries_[name];
    ++tries.failures;
    tries.last = now;
}

void SignInBrake::Succeeded(const QString& name) {
    tries_.remove(name);
}

void SignInBrake::Clear() {
    tries_.clear();
}

SignInBrake& PasswordBrake() {
    static SignInBrake brake;
    return brake;
}

SignInBrake& AccessCodeBrake() {
    static SignInBrake brake;
    return brake;
}

} // namespace signin
