#include "ui/MsgBoxLayout.h"

#include "platform/Sound.h"

#include <algorithm>
#include <cmath>

namespace msgbox {

int WrapLimit(int screenWidth) {
    return 2 * (screenWidth / 10);
}

int RoundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

MsgBoxLayout LayOut(const MsgBoxInput& in) {
    MsgBoxLayout out;
    int labelWidth = in.labelWidth;
    int labelHeight = in.labelHeight;
    const int limit = WrapLimit(in.screenWidth);
    if (limit < in.labelWidth) {
        out.wordWrap = true;
        labelWidth = std::min(limit, MaxLabelWidth);
        labelHeight = in.wrappedHeight ? in.wrappedHeight(labelWidth) : in.labelHeight;
    }
    out.label = QRect(LabelLeft, LabelTop, labelWidth, labelHeight);

    const int buttonTop = labelHeight + 400;
    for (const int width : in.captionWidths) {
        out.rowWidth += width + ButtonGap;
        out.buttons.append(QRect(0, buttonTop, width, ButtonHeight));
    }

    out.width = std::max(labelWidth + 1100, out.rowWidth + 300);
    out.height = labelHeight + 1300 + (in.showDontAsk ? 300 : 0);
    out.tooBig = out.height > in.screenHeight || out.width > in.screenWidth;

    // The row's gap after the last button puts it 50 left of the middle.
    int x = RoundHalfEven(out.width / 2.0 - out.rowWidth / 2.0);
    for (QRect& button : out.buttons) {
        button.moveLeft(x);
        x += button.width() + ButtonGap;
    }

    const int bandTop = labelHeight + 275;
    out.band = QRect(-20, bandTop, out.width + 40, out.height - bandTop + 100);
    if (!out.buttons.isEmpty())
        out.dontAskTopLeft = QPoint(100, out.buttons.first().bottom() + 1 + 100);
    return out;
}

std::optional<IconAndSound> IconForKind(int iconKind) {
    using platform::StockIconKind;
    switch (iconKind) {
    case 0:
    case 1:
        return IconAndSound{StockIconKind::Application, platform::Beep::Default};
    case 2:
        return IconAndSound{StockIconKind::Stop, platform::Beep::Hand};
    case 3:
        return IconAndSound{StockIconKind::Question, platform::Beep::Question};
    case 4:
        return IconAndSound{StockIconKind::Exclamation, platform::Beep::Exclamation};
    case 5:
        return IconAndSound{StockIconKind::Information, platform::Beep::Asterisk};
    default:
        return std::nullopt;
    }
}

} // namespace msgbox
