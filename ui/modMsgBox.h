#pragma once

#include <QString>
#include <QStringList>

// Shows the program's message box and waits for the user. `message` has its lines separated
// by CR LF; button k shows buttonCaptions[k - 1] ("&" marks its access key) and
// `defaultButton` is the one Enter presses. Returns the number of the button pressed, 0 for
// none (Esc, the close box, or a message too big for the screen).
//
// The question goes through platform::Ask (Question::Kind::Message), so a test answers it
// without a window.
int ShowMessage(const QString& title, int iconKind, const QString& message, int defaultButton,
                bool showDontAsk, const QStringList& buttonCaptions);
