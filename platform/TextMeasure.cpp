#include "platform/TextMeasure.h"

#include "platform/Twips.h"

#include <QFont>
#include <QFontMetrics>
#include <QRegularExpression>

namespace platform {

int TextWidthTwips(const QFont& font, const QString& text) {
    return PixelsToTwips(QFontMetrics(font).horizontalAdvance(text));
}

int TextHeightTwips(const QFont& font, const QString& text) {
    static const QRegularExpression lineBreak(QStringLiteral("\r?\n"));
    const auto lines = text.split(lineBreak).size();
    return PixelsToTwips(static_cast<int>(lines) * QFontMetrics(font).lineSpacing());
}

} // namespace platform
