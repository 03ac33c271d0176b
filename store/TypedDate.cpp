#include "store/TypedDate.h"

#include "store/Formats.h"

#include <QRegularExpression>

namespace store {

namespace {
constexpr int kFirstPlausibleYear = 1955;
} // namespace

std::optional<TypedDate> ReadTypedDate(const QString& text, const QDate& today) {
    TypedDate typed;
    std::optional<double> value = formats::ParseDate(text);
    if (!value) {
        // A day and month alone, as "6/15" or "6-15": this year's.
        static const QRegularExpression dayAndMonth(
            QStringLiteral(R"(^\s*(\d{1,2})\s*([/.-])\s*(\d{1,2})\s*$)"));
        const QRegularExpressionMatch m = dayAndMonth.match(text);
        if (!m.hasMatch())
            return std::nullopt;
        value = formats::ParseDate(m.captured(1) + m.captured(2) + m.captured(3) + m.captured(2) +
                                   QString::number(today.year()));
        if (!value)
            return std::nullopt;
        typed.yearAdded = true;
    }
    typed.value = *value;
    typed.date = formats::DatePart(*value);
    typed.plausible = typed.date.isValid() && typed.date.year() >= kFirstPlausibleYear &&
                      typed.date.year() <= today.year() + 1;
    return typed;
}

} // namespace store
