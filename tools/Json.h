#pragma once

#include <QByteArray>
#include <QString>

// Pieces of JSON text, appended to a UTF-8 buffer.
namespace datatool::json {

// A string literal with its quotes; quotes, backslashes and control characters escaped.
void AppendString(QByteArray& out, const QString& text);
// The shortest number text that reads back as exactly this double; null for NaN and
// infinities, which JSON cannot write.
void AppendNumber(QByteArray& out, double value);
// The same for a 4-byte single: 1.2f gives 1.2, not the digits of its widened double.
void AppendNumber(QByteArray& out, float value);
void AppendInteger(QByteArray& out, qint64 value);

} // namespace datatool::json
