#include "store/Clock.h"

#include "store/Formats.h"

#include <utility>

namespace store {

namespace {
// The injected source; empty means the system clock.
ClockSource& Source() {
    static ClockSource source;
    return source;
}
} // namespace

void SetClock(ClockSource source) {
    Source() = std::move(source);
}

QDateTime CurrentDateTime() {
    const ClockSource& source = Source();
    QDateTime now = source ? source() : QDateTime::currentDateTime();
    if (!now.isValid())
        return now;
    // Whole seconds: the milliseconds are dropped, not rounded, so "now" never runs ahead.
    const int msec = now.time().msec();
    return msec == 0 ? now : now.addMSecs(-msec);
}

double CurrentDateValue() {
    return formats::DateValue(CurrentDateTime());
}

} // namespace store
