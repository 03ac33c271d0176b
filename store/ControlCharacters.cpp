#include "store/ControlCharacters.h"

namespace store {

namespace {
// "0D", "9D": the code of a control character.
QString HexCode(QChar c) {
    return QStringLiteral("%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
}
} // namespace

bool IsControlCharacter(QChar c) {
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7F && u <= 0x9F);
}

qsizetype FirstControlCharacter(const QString& text, LineBreaks lineBreaks) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (lineBreaks == LineBreaks::Allowed && (c == u'\r' || c == u'\n'))
            continue;
        if (IsControlCharacter(c))
            return i;
    }
    return -1;
}

QStringList ControlCharacterRefusal(const QString& field, const QString& text,
                                    LineBreaks lineBreaks) {
    const qsizetype at = FirstControlCharacter(text, lineBreaks);
    if (at < 0)
        return {};
    return {QStringLiteral("The '%1' entry holds a control character").arg(field),
            QStringLiteral("(code %1, character %2 of the entry),")
                .arg(HexCode(text.at(at)))
                .arg(at + 1),
            QStringLiteral("which cannot be stored."), QString(),
            QStringLiteral("Please remove it and save again.")};
}

QString EscapeControlCharacters(const QString& text) {
    if (FirstControlCharacter(text) < 0)
        return text;
    QString escaped;
    escaped.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (IsControlCharacter(c))
            escaped += QStringLiteral("\\x") + HexCode(c);
        else
            escaped += c;
    }
    return escaped;
}

} // namespace store
