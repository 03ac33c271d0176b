#pragma once

#include <QString>
#include <QStringList>

// No stored name or text holds a control character: U+0000 to U+001F, U+007F, and U+0080 to
// U+009F (which only the five bytes Windows-1252 leaves undefined decode to; "€" and "“" are
// letters of the page). A control character in a name would break the user log's one line per
// event and could steer the terminal or the printer of whoever reads a list.
//
// The comment fields keep their line breaks as CR LF in the record (the comments boxes are
// multi-line), so there, and only there, CR and LF are letters too.
namespace store {

enum class LineBreaks { Refused, Allowed };

bool IsControlCharacter(QChar c);

// Where the first character lies that `text` may not hold; -1 when it may be stored as it is.
qsizetype FirstControlCharacter(const QString& text, LineBreaks lineBreaks = LineBreaks::Refused);

// The lines of "Entry Error" for a text entered as `field` ("First Name", "Comments") that
// holds a control character; empty when the text may be stored. The character is invisible,
// so the message says where it is and what it is.
QStringList ControlCharacterRefusal(const QString& field, const QString& text,
                                    LineBreaks lineBreaks = LineBreaks::Refused);

// `text` for one line of a log: every control character written as \xNN (two upper-case hex
// digits), so that a name read from an older file can neither end the line nor pass a byte to
// whoever reads the log. A backslash stays itself: names as typed keep their old lines.
QString EscapeControlCharacters(const QString& text);

} // namespace store
