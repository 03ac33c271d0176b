#pragma once

#include <QPixmap>

// The program's background texture: 127 by 127 pixels of light yellow paper grain that tiles
// without seams. Made once, the same every time.
const QPixmap& BackgroundTexture();
