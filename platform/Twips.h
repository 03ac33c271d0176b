#pragma once

// Window geometry is kept in twips (1/1440 inch) as the windows were designed; this is the
// one place that turns twips into pixels: 15 twips a pixel at 96 dpi, scaled by the screen.
class QWidget;

namespace platform {

int Twips(int twips);          // twips -> pixels on the primary screen
int PixelsToTwips(int pixels); // pixels -> twips
int TwipsPerPixel();           // 15 at 96 dpi
int ScreenWidthTwips();
int ScreenHeightTwips();
int ScreenWidthPixels();
int ScreenHeightPixels();

// Places a control at a design position and size given in twips.
void PlaceTwips(QWidget* control, int left, int top, int width, int height);

} // namespace platform
