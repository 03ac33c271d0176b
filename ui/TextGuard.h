#pragma once

class QPlainTextEdit;

// Guards on what the user may put into a text box, applied as it is typed, pasted or dropped.
// What is refused is never inserted, the user hears the beep, and nothing already in the box
// is ever removed.
namespace textguard {

// A multi-line box kept to `limit` characters as stored (a line break counts as the CR LF it
// is stored as): of an insertion that does not fit, only the beginning that fits stays.
// Call it before connecting to the box's textChanged, so that those handlers see the text
// as it is kept.
void LimitStoredLength(QPlainTextEdit* box, int limit);

} // namespace textguard
