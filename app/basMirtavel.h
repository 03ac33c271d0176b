#pragma once

#include <QString>
#include <functional>

// The program's start and end.

// Starts the program: refuses a second running copy (the "Terminating..." notice), builds
// the shared tables, settles an interrupted restore or removal, loads the organization's name and
// shows the title window. Returns false when the program must end at once (a copy already runs).
// `instanceName` names the lock that tells running copies apart; tests pass their own.
bool Main(const QString& instanceName = QStringLiteral("Mirtavel"));

// Ends the program from the Admin window or the Lobby: closes every file, lets pending
// events run, deletes the data files of length 0, closes every window and ends the event
// loop. Windows asked to close meanwhile can tell by ShuttingDown() that nobody is to be
// asked anything.
void ShutDown();
bool ShuttingDown();

// What ends the program once the windows are closed; QCoreApplication::quit unless a test
// puts its own. An empty function restores the default.
void SetProgramEnd(std::function<void()> end);
