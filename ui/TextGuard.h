#pragma once

class QLineEdit;
class QPlainTextEdit;

// Guards on what the user may put into a text box, applied as it is typed, pasted or dropped.
// What is refused is never inserted, the user hears the beep, and nothing already in the box
// is ever removed. A character the data files' code page does not hold is refused with its
// reason shown beside the box ("Ł cannot be stored; ..."); text holding one is refused whole,
// never stored with the character dropped.
namespace textguard {

// A multi-line box for a stored field of `limit` characters (a line break counts as the CR LF
// it is stored as): of an insertion that does not fit, only the beginning that fits stays. Call it
// before connecting to the box's textChanged, so that those handlers see the text as it is kept.
void GuardStoredField(QPlainTextEdit* box, int limit);
// A one-line box for a stored field (the box's own maximum length keeps it to the field).
void GuardStoredField(QLineEdit* box);

} // namespace textguard
