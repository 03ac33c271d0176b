#include "tools/Json.h"

#include <array>
#include <charconv>
#include <cmath>

namespace datatool::json {
namespace {

template <class Number> void AppendShortest(QByteArray& out, Number value) {
    std::array<char, 64> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    out.append(digits.data(), result.ptr - digits.data());
}

} // namespace

void AppendString(QByteArray& out, const QString& text) {
    // Escaped as UTF-16 first and converted once, so that surrogate pairs stay whole.
    QString escaped;
    escaped.reserve(text.size() + 2);
    escaped.append(u'"');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"':
            escaped.append(u"\\\"");
            break;
        case u'\\':
            escaped.append(u"\\\\");
            break;
        case u'\b':
            escaped.append(u"\\b");
            break;
        case u'\f':
            escaped.append(u"\\f");
            break;
        case u'\n':
            escaped.append(u"\\n");
            break;
        case u'\r':
            escaped.append(u"\\r");
            break;
        case u'\t':
            escaped.append(u"\\t");
            break;
        default:
            // Controls never reach the terminal raw: DEL, and the C1 controls that the five
            // bytes the code page leaves undefined decode to (0x90 and 0x9D would open device
            // and command strings).
            if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F)) {
                escaped.append(QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0')));
            } else {
                escaped.append(c);
            }
        }
    }
    escaped.append(u'"');
    out.append(escaped.toUtf8());
}

void AppendNumber(QByteArray& out, double value) {
    if (!std::isfinite(value)) {
        out.append("null");
        return;
    }
    AppendShortest(out, value);
}

void AppendNumber(QByteArray& out, float value) {
    if (!std::isfinite(value)) {
        out.append("null");
        return;
    }
    AppendShortest(out, value);
}

void AppendInteger(QByteArray& out, qint64 value) {
    AppendShortest(out, value);
}

} // namespace datatool::json
