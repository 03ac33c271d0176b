#include "platform/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace platform {

namespace {
QScreen* Screen() {
    return QGuiApplication::primaryScreen();
}
} // namespace

int TwipsPerPixel() {
    const QScreen* screen = Screen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    const int perPixel = static_cast<int>(std::lround(1440.0 / (dpi > 0 ? dpi : 96.0)));
    return perPixel > 0 ? perPixel : 15;
}

int Twips(int twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / TwipsPerPixel()));
}

int PixelsToTwips(int pixels) {
    return pixels * TwipsPerPixel();
}

int ScreenWidthPixels() {
    const QScreen* screen = Screen();
    return screen ? screen->geometry().width() : 1024;
}

int ScreenHeightPixels() {
    const QScreen* screen = Screen();
    return screen ? screen->geometry().height() : 768;
}

int ScreenWidthTwips() {
    return PixelsToTwips(ScreenWidthPixels());
}
int ScreenHeightTwips() {
    return PixelsToTwips(ScreenHeightPixels());
}

void PlaceTwips(QWidget* control, int left, int top, int width, int height) {
    control->setGeometry(Twips(left), Twips(top), Twips(width), Twips(height));
}

} // namespace platform
