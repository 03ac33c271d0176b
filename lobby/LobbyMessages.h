#pragma once

#include <QString>
#include <QStringList>

// The Lobby's messages, given line by line as the program's message box shows them.
namespace lobbymsg {

// Shows the message box with `lines` joined by CR LF; returns the number of the button
// pressed, 0 for none (Esc, the close box).
int Ask(const QString& title, int iconKind, const QStringList& lines, int defaultButton,
        const QStringList& buttons);

// A notice with the one button "&Okay"; icon kind 5 (information) unless given.
void Notice(const QString& title, const QStringList& lines, int iconKind = 5);

} // namespace lobbymsg
