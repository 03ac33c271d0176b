#pragma once

#include <QColor>
#include <QtGlobal>

class ZovButton;

// The interval of every window's flashing timer. The old platform's timers fired at most
// about 64 times a second whatever they were set to, and the flashing was paced by that: a
// pulse then takes about two seconds, well under three flashes a second, and the idle window
// uses next to no processor time. Asked for literally, a 2 ms timer flashed four times a
// second.
constexpr int FlashTimerInterval = 16;

// The pulse of a flashing button, driven by a window's timer ticking at FlashTimerInterval.
// FlashFore climbs by 4 from below 8 to above 248 and falls back again; FlashBack moves the
// other way, so the button's face and its caption pulse in opposite directions.
struct FlashState {
    qint16 FlashFore = 0;
    qint16 FlashBack = 0;
    qint16 FlashStep = 0;

    // One timer tick.
    void Step();

    // Face RGB(FlashBack, FlashBack, 0) and caption RGB(FlashFore, FlashFore, 0), each part
    // held to 0..255.
    QColor Back() const;
    QColor Fore() const;

    // Paints `button` in the current colours. Its hover colours stay: under the mouse the
    // button looks as usual, and they give back its normal look when the flashing ends.
    void Paint(ZovButton* button) const;
};
