#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <functional>
#include <optional>

#include "platform/StockIcon.h"

// The message box's arithmetic, apart from the window so it can be checked by itself. All
// sizes are in twips.

struct MsgBoxInput {
    // The text as a label shows it unwrapped, its closing empty line included.
    int labelWidth = 0;
    int labelHeight = 0;
    // Height of the text when wrapped at the given width.
    std::function<int(int width)> wrappedHeight;
    // Width of each caption with a space on either side, in the window's own font.
    QList<int> captionWidths;
    bool showDontAsk = false;
    int screenWidth = 0;
    int screenHeight = 0;
};

struct MsgBoxLayout {
    bool wordWrap = false;
    QRect label;
    QList<QRect> buttons; // buttons[k - 1] is button k
    int rowWidth = 0;     // every button's width plus a 100 gap after each
    int width = 0;
    int height = 0;
    bool tooBig = false;   // larger than the screen: the box is not shown at all
    QRect band;            // the footer band behind the buttons
    QPoint dontAskTopLeft; // the "Don't show this again" box, when asked for
};

namespace msgbox {

constexpr int LabelLeft = 780;
constexpr int LabelTop = 250;
constexpr int ButtonHeight = 400;
constexpr int ButtonGap = 100;
constexpr int MaxLabelWidth = 12000;

// Text wider than this is wrapped: two tenths of the screen's width.
int WrapLimit(int screenWidth);

// Rounds to the nearest integer, halves to the even one.
int RoundHalfEven(double value);

MsgBoxLayout LayOut(const MsgBoxInput& in);

// The icon and the sound of an icon kind; none for kinds outside 0 to 5.
struct IconAndSound {
    platform::StockIconKind icon;
    int beep; // platform::Beep
};
std::optional<IconAndSound> IconForKind(int iconKind);

} // namespace msgbox
