#pragma once

#include "store/StoreResult.h"

#include <QStringList>
#include <QtGlobal>
#include <utility>
#include <vector>

namespace search {

// A listed person as Name.List numbers and stamps it: the record number and the identity.
using ListedNumber = std::pair<qint32, double>;

// The employee IDs Name.List holds now for `persons`, in their order, trimmed as shown, in one
// pass over the file. A person whose record was removed or replaced elsewhere since the list
// was made (another identity at its number) gets none; so does every person when there is no
// file.
store::StoreResult ReadEmployeeIds(const std::vector<ListedNumber>& persons, QStringList& ids);

} // namespace search
