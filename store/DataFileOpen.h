#pragma once

#include <QString>

// How the data files are reached. The data folder may lie on a drive that several staff can
// write to, so a data file there may have been replaced by a link to some other account's
// file; the program would then write records or log lines into it with the rights of whoever
// signs in. A link that stays inside the data folder is followed (a department may keep a
// file in a subfolder and link it into place); a link that leads anywhere else is refused.
namespace store {

// Opens the data file `fileName` (its bare name in the data folder, the current directory)
// with the open(2) `flags`; with `create`, a missing file is made as OpenCreating makes it.
// Links are followed only while they stay inside the folder, and the file reached is opened
// without following a link. Returns the descriptor, or -1 with errno set; `leadsOutside` tells
// that the name is a link refused for leading out of the folder (or round in a circle).
int OpenDataFile(const QString& fileName, int flags, bool create, bool& leadsOutside);

// "It is a link that leads outside the data folder; it was not opened."
QString LeadsOutsideReason();

} // namespace store
