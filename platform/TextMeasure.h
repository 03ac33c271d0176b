#pragma once

#include <QString>

class QFont;

// Text measured in twips, for windows that size themselves to their text.
namespace platform {

int TextWidthTwips(const QFont& font, const QString& text);  // one line, no wrapping
int TextHeightTwips(const QFont& font, const QString& text); // lines split at CR LF or LF

} // namespace platform
