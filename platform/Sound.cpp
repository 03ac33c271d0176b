#include "platform/Sound.h"

#include <QApplication>

namespace platform {

namespace {
struct BeepLog {
    int count = 0;
    int lastType = -1;
};

BeepLog& Log() {
    static BeepLog log;
    return log;
}
} // namespace

void MessageBeep(int type) {
    // Qt has one system sound; the type is kept for whoever wants to know which was meant.
    Log().count += 1;
    Log().lastType = type;
    QApplication::beep();
}

int BeepCount() {
    return Log().count;
}
int LastBeepType() {
    return Log().lastType;
}
void ResetBeeps() {
    Log() = BeepLog{};
}

} // namespace platform
