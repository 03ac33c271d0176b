#pragma once

#include <QString>

// A program that found the data folder held by another (FolderLock) may go on looking at it,
// but must never write to it: the other program may be in the middle of a change that a write
// from here would tear. While the switch is on, every record file opens for reading alone, a
// missing file is not made, every write fails and says why, the user log takes no line and the
// shutdown deletes nothing.
namespace store {

// `heldBy` says who holds the folder, for the windows to tell (FolderLock's DescribeHolder).
void SetReadOnlyStation(bool readOnly, const QString& heldBy = QString());
bool IsReadOnlyStation();
QString ReadOnlyStationHeldBy();

// Why a write was refused.
QString ReadOnlyStationReason();

} // namespace store
