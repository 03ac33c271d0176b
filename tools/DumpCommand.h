#pragma once

#include "tools/CommandLine.h"
#include "tools/RecordFields.h"

#include <QByteArray>

namespace datatool {

// One JSON object for one record: "RecNum", then every field in layout order.
QByteArray DumpLine(const RecordLayout& layout, qint32 recordNumber, const RecordRow& row);

// mirtavel-data dump [--dir DIR] FILE
int RunDump(const QStringList& args, const Console& console);

} // namespace datatool
