#pragma once

#include <QRect>
#include <QRegion>

#include "ui/ZovColors.h"

// Where a flat button puts its caption and which of its pixels it owns, by button type.
namespace zov {

// The caption's rectangle inside the client rectangle `client`.
QRect TextRect(ButtonType buttonType, const QRect& client);

// The pixels the button covers. The rounded type rounds its corners by leaving out three
// pixels at each; the shaded type leaves out its bottom-left and top-right pixels; other
// types cover the whole rectangle. What is left out shows the window behind.
QRegion WindowRegion(ButtonType buttonType, const QRect& client);

} // namespace zov
