#pragma once

#include "store/StoreResult.h"

#include <QList>
#include <QString>
#include <functional>

// The integrity check of a data folder: what the support tool's check reports, and what a
// restore looks at in its copies before it replaces anything.
namespace store {

struct DataCheckOutcome {
    qint64 findings = 0;
    // The files that could not be read, each told once; the others were still checked.
    QList<StoreResult> failures;
};

// Checks the data files of `folder` and hands each finding to `report`: the file it is about
// (its bare name) and one line that names the file and, where there is one, the record
// number.
using DataCheckReport = std::function<void(const QString& fileName, const QString& line)>;
DataCheckOutcome CheckDataFolder(const QString& folder, const DataCheckReport& report);

// A file or folder that interrupted work leaves in the data folder until the program's next
// start settles it. `work` names the work ("removal"), `finding` is what the check says.
struct PendingWork {
    QString name;
    QString work;
    QString finding;
};
const QList<PendingWork>& PendingWorkFiles();

} // namespace store
