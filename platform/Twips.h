#pragma once

// Window geometry is kept in twips (1/1440 inch) as the windows were designed; this is the
// one place that turns twips into pixels: 15 twips a pixel at 96 dpi, scaled by the screen.
namespace platform {

int Twips(int twips);            // twips -> pixels on the primary screen
int PixelsToTwips(int pixels);   // pixels -> twips
int TwipsPerPixel();             // 15 at 96 dpi
int ScreenWidthTwips();
int ScreenHeightTwips();
int ScreenWidthPixels();
int ScreenHeightPixels();

} // namespace platform
