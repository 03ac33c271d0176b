#pragma once

#include "store/StoreResult.h"

#include <QString>

namespace signin {

// The user log as it is read for viewing.
struct UserLogText {
    store::StoreResult read; // the log is there but could not be opened
    bool empty = true;       // no log, or one of no length: nothing to view
    QString text;            // the whole log, blanks at either end removed, lines ending "\n"
};

// Reads the whole log the way the record files are read: never through a link that leads
// elsewhere, which could show another account's file here.
UserLogText ReadUserLogText();

} // namespace signin
