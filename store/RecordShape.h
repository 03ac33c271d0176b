#pragma once

#include "store/RecordStore.h"

// Whether stored bytes look like a record of a given file. Used only to tell which file a
// left-over rewrite copy belongs to, so the tests are about shape, not about valid values:
// creation stamps are whole seconds, names and codes are single-line text.
namespace store {

bool LooksLikeRecordOf(DataFile file, const char* bytes);

} // namespace store
