#include "store/Clock.h"

#include "store/Formats.h"

#include <ctime>
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

// The system's local time in whole seconds. Working local time out costs microseconds (the time
// zone is looked at every time), and a credit of many persons asks for it once a record, so
// the answer is kept for the second it belongs to; it is made from that second itself, so it
// never runs ahead of it.
QDateTime SystemNow() {
    thread_local std::time_t second = -1;
    thread_local QDateTime local;
    // The precise clock, as the system's local time is read from: time() may lag it by a tick
    // and stamp a moment after a second's turn with the second before.
    timespec precise{};
    ::clock_gettime(CLOCK_REALTIME, &precise);
    const std::time_t now = precise.tv_sec;
    if (now != second) {
        local = QDateTime::fromSecsSinceEpoch(qint64(now));
        second = now;
    }
    return local;
}

QDateTime CurrentDateTime() {
    const ClockSource& source = Source();
    QDateTime now = source ? source() : SystemNow();
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
