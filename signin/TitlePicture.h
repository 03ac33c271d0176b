#pragma once

#include <QPixmap>
#include <QSize>

namespace signin {

// The title window's picture: a deep blue field with a gold badge at the left, drawn to fill
// `size` pixels.
QPixmap TitlePicture(const QSize& size);

} // namespace signin
