#pragma once

#include <QDateTime>
#include <functional>

namespace store {

// The program's sense of "now", in whole seconds of local time. Tests replace it so that
// creation stamps and log lines are predictable.
using ClockSource = std::function<QDateTime()>;

void SetClock(ClockSource source); // an empty source restores the system clock
QDateTime CurrentDateTime();       // whole seconds, local time
double CurrentDateValue();         // CurrentDateTime() as a date value

} // namespace store
