#pragma once

#include "store/StoreResult.h"

#include <QString>

// Whole-file copies that are on the disk when they return, for backup and restore.
namespace store::filecopy {

// Copies `from` to `to` (created or truncated), flushed to the disk. On failure `to` is
// removed and the result names the file that failed and why.
StoreResult CopyDurably(const QString& from, const QString& to);

// Makes the entries of `folder` (renames, new and deleted files) durable.
StoreResult SyncDir(const QString& folder);

// One atomic rename that replaces `to` if it exists.
StoreResult Rename(const QString& from, const QString& to);

// Whether `a` and `b` are one folder: their canonical paths (links resolved, no trailing
// separator) are compared; a path that does not exist is compared as cleaned text.
bool SameFolder(const QString& a, const QString& b);

} // namespace store::filecopy
