#pragma once

#include <QString>
#include <QStringList>

// The one way the windows ask and tell the user: the program's message box, its text given
// line by line, its picture and buttons named. The question goes through the one seam, so a
// test answers it without a window.
namespace forms {

// The picture beside the text, by the numbers the message box knows.
enum class Icon {
    Application = 1,
    Stop = 2,
    Question = 3,
    Exclamation = 4,
    Information = 5,
    // A number the box draws no picture for; the password notice has always been shown so.
    Plain = 48,
};

// The one-button notices' button.
QString OkayButton(); // "&Okay"

// Shows the message box with `lines` joined by CR LF; returns the number of the button
// pressed, 0 for none (Esc, the close box).
int Ask(const QString& title, Icon icon, const QStringList& lines, int defaultButton,
        const QStringList& buttons);

// A notice with the one button "&Okay".
void Tell(const QString& title, const QStringList& lines, Icon icon = Icon::Information);

} // namespace forms
