#pragma once

namespace store {
class StoreResult;
}

namespace forms {

// Tells the user that a data file could not be read or written, naming the file and the
// system's reason. Does nothing for a success.
void ShowStoreProblem(const store::StoreResult& result);

} // namespace forms
