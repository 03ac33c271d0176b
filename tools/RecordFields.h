#pragma once

#include "store/RecordFields.h"

// The record layouts live in the record store, where the check of a restore's copies reads
// them too; the commands use them by their short names.
namespace datatool {

using store::fields::AllDataFiles;
using store::fields::DataFileNamed;
using store::fields::FieldInfo;
using store::fields::FieldKind;
using store::fields::FieldRole;
using store::fields::FieldValue;
using store::fields::ForEachRecord;
using store::fields::ForEachRecordBytes;
using store::fields::LayoutOf;
using store::fields::RecordLayout;
using store::fields::RecordRow;

} // namespace datatool
