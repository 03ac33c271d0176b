#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Windows-1252, the code page of the data files. Our own table, so that the files read and
// write the same on every machine whatever its locale.
namespace store {

QString DecodeAnsi(const char* bytes, int length);
QByteArray EncodeAnsi(const QString& text); // one byte per character; outside the page: '?'
// Whether the page holds `c`, so that it is stored as itself and not as '?'.
bool InCodepage(QChar c);
// `text` without the characters the page does not hold.
QString KeepCodepage(const QString& text);
// The first character of `text` the page does not hold, with its surrogate partner; empty
// when the page holds every one.
QString FirstOutsideCodepage(const QString& text);
// Why `character` is refused, in lines short enough for the message box: "Ł cannot be
// stored;", "the files hold Western", "European letters only".
QStringList OutsideCodepageLines(const QString& character);
// The same in one line, as a note beside a box shows it.
QString OutsideCodepageReason(const QString& character);

// A text field of `width` bytes: the text cut to its first `width` characters and padded
// with blanks.
QByteArray EncodeField(const QString& text, int width);
// The length of a field's text without the padding behind it (blanks and NULs).
int PaddedEnd(const char* bytes, int width);
// The field's text without the padding behind it (blanks and NULs); leading blanks are kept,
// because some fields are stored exactly as typed.
QString DecodeField(const char* bytes, int width);
// The same into an existing string, reusing its storage: for reading records by the million.
void DecodeFieldInto(QString& text, const char* bytes, int width);
// Appends the field's text as lists show it, trimmed of white space on both sides: the same
// text as DecodeField(bytes, width).trimmed(), without a string of its own.
void AppendShownField(QString& out, const char* bytes, int width);
// The trim every reader applies before showing or comparing a text: blanks and NULs on both
// sides. An older program left unassigned fields full of NULs.
QString TrimField(const QString& text);

} // namespace store
