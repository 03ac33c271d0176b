#include "platform/Fonts.h"

#include <QStringList>

namespace platform {

void InstallFontSubstitutes() {
    const QString dejaVu = QStringLiteral("DejaVu Sans");
    const QString dejaVuCondensed = QStringLiteral("DejaVu Sans Condensed");
    const QString liberation = QStringLiteral("Liberation Sans");
    const QString liberationNarrow = QStringLiteral("Liberation Sans Narrow");
    // Each list is tried in order; DejaVu comes last as it is always installed.
    QFont::insertSubstitutions(QStringLiteral("Arial"), {liberation, dejaVu});
    QFont::insertSubstitutions(QStringLiteral("Arial Narrow"),
                               {liberationNarrow, dejaVuCondensed, liberation, dejaVu});
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), {dejaVuCondensed, dejaVu});
    QFont::insertSubstitutions(QStringLiteral("Verdana"), {dejaVu});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), {liberation, dejaVu});
}

QFont DesignFont(const QString& family, double points, bool bold) {
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace platform
