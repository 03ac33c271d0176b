#pragma once

#include <QString>

namespace store {
class StoreResult;
}

namespace forms {

// Tells the user that the program's own settings file could not be written, naming it and
// the system's reason. The data are not concerned. Does nothing for a success.
void ShowSettingsProblem(const store::StoreResult& result);

// Tells the user that a data file could not be read or written, naming the file and the
// system's reason. Does nothing for a success.
void ShowStoreProblem(const store::StoreResult& result);

// Tells the user that a file of their own choosing (a list saved for a spreadsheet) could not
// be written: the whole path, as the user chose it, and the system's reason. Nothing of it was
// written. Does nothing for a success.
void ShowSaveProblem(const QString& path, const store::StoreResult& result);

// Tells the user that a line of the user log (`event`: "sign-in", "sign-out") could not be
// written. The sign-in or sign-out itself stands: there is nothing to try again. Does nothing
// for a success.
void TellUnlogged(const QString& event, const store::StoreResult& logged);

// Tells the user that the record a window shows was changed or removed elsewhere (by another
// station) since the window read it, so that saving would write over what somebody else
// saved; true when the user chooses to reload, false to stay in the window.
bool AskReloadChangedRecord();

// Tells the user that a record could not be removed because it was changed or removed
// elsewhere; the window then shows the list as it is on file.
void TellRemovalChangedElsewhere();

} // namespace forms
