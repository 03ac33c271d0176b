#pragma once

#include "tools/CommandLine.h"

#include "store/StoreResult.h"

#include <QList>
#include <functional>

namespace datatool {

struct CheckOutcome {
    qint64 findings = 0;
    // The files that could not be read, each told once; the others were still checked.
    QList<store::StoreResult> failures;
};

// Checks the data files of the current folder and hands each finding to `report` as one
// line that names the file and, where there is one, the record number.
CheckOutcome CheckDataFiles(const std::function<void(const QString&)>& report);

// mirtavel-data check [--dir DIR]
int RunCheck(const QStringList& args, const Console& console);

} // namespace datatool
