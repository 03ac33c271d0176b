#include "forms/FlashState.h"

#include "ui/ZovButton.h"

namespace {
QColor Yellowish(int level) {
    const int v = qBound(0, level, 255);
    return QColor(v, v, 0);
}
} // namespace

void FlashState::Step() {
    if (FlashFore < 8) {
        FlashBack = 248;
        FlashStep = 4;
    } else if (FlashFore > 248) {
        FlashBack = 2;
        FlashStep = -4;
    }
    FlashFore = static_cast<qint16>(FlashFore + FlashStep);
    FlashBack = static_cast<qint16>(FlashBack - FlashStep);
}

QColor FlashState::Back() const {
    return Yellowish(FlashBack);
}

QColor FlashState::Fore() const {
    return Yellowish(FlashFore);
}

void FlashState::Paint(ZovButton* button) const {
    button->SetBackColor(Back());
    button->SetForeColor(Fore());
}
