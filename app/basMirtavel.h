#pragma once

#include "forms/ShutDown.h"

#include <QString>

// The program's start and end.

// Starts the program: refuses a second running copy (the "Terminating..." notice), builds
// the shared tables, takes the data folder (or goes on read only when another program holds
// it), settles an interrupted restore or removal, loads the organization's name and shows the
// title window. Returns false when the program must end at once (a copy already runs, or the
// user chose to quit rather than share the data folder).
// `instanceName` names the lock that tells running copies apart; tests pass their own.
bool Main(const QString& instanceName = QStringLiteral("Mirtavel"));
