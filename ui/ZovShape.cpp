#include "ui/ZovShape.h"

namespace zov {

namespace {
QRegion Pixel(int x, int y) {
    return QRegion(x, y, 1, 1);
}
} // namespace

QRect TextRect(ButtonType buttonType, const QRect& client) {
    switch (buttonType) {
    case RoundedButton:
        return client.adjusted(4, 4, -4, -4);
    case SeeThroughButton:
        return client.adjusted(3, 3, -3, -3);
    case ShadedButton:
        return client.adjusted(5, 5, -5, -5).translated(1, 1);
    default:
        return client;
    }
}

QRegion WindowRegion(ButtonType buttonType, const QRect& client) {
    QRegion region(client);
    if (client.width() < 4 || client.height() < 4)
        return region;
    const int l = client.left();
    const int t = client.top();
    const int r = client.right();
    const int b = client.bottom();
    if (buttonType == RoundedButton) {
        // The two outer pixels of each corner row and the outer pixel of the row next to it.
        region -= Pixel(l, t) + Pixel(l + 1, t) + Pixel(l, t + 1);
        region -= Pixel(r, t) + Pixel(r - 1, t) + Pixel(r, t + 1);
        region -= Pixel(l, b) + Pixel(l + 1, b) + Pixel(l, b - 1);
        region -= Pixel(r, b) + Pixel(r - 1, b) + Pixel(r, b - 1);
    } else if (buttonType == ShadedButton) {
        region -= Pixel(l, b) + Pixel(r, t);
    }
    return region;
}

} // namespace zov
