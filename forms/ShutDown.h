#pragma once

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

// A fresh start (Main) forgets an earlier shutdown.
void ForgetShutDown();
