#pragma once

#include <QString>
#include <functional>

// The program's end, reached from the Admin window and the Lobby.

// Closes every file, lets pending events run, deletes the data files of length 0, closes
// every window and ends the event loop. Windows asked to close meanwhile can tell by
// ShuttingDown() that nobody is to be asked anything.
void ShutDown();
bool ShuttingDown();

// What ends the program once the windows are closed; QCoreApplication::quit unless a test
// puts its own. An empty function restores the default.
void SetProgramEnd(std::function<void()> end);

// The question Quit and the close box ask before the program ends: "Exit Mirtavel?", that it
// will close, "Is this what you want to do?". Its two buttons and which is the default are
// the window's; true when the first was pressed.
struct QuitButtons {
    QString yes;
    QString no;
    int defaultButton = 1;
};
bool AskToQuit(const QuitButtons& buttons);

// A fresh start (Main) forgets an earlier shutdown.
void ForgetShutDown();
