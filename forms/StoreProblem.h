#pragma once

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

} // namespace forms
