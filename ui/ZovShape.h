#pragma once

#include <QRect>
#include <QRegion>

// Where a flat button puts its caption and which of its pixels it owns, by button type.
namespace zov {

// The caption's rectangle inside the client rectangle `client`.
QRect TextRect(int buttonType, const QRect& client);

// The pixels the button covers. Type 3 rounds its corners by leaving out three pixels at
// each; type 14 leaves out its bottom-left and top-right pixels; other types cover the
// whole rectangle. What is left out shows the window behind.
QRegion WindowRegion(int buttonType, const QRect& client);

} // namespace zov
