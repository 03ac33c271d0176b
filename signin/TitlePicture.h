#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>

namespace signin {

// The title window's picture: a deep blue field with a gold badge at the left, drawn to fill
// `size` pixels.
QPixmap TitlePicture(const QSize& size);

// The badge alone on a transparent square of `size` pixels: the program's icon.
QImage BadgeIcon(int size);

} // namespace signin
