#pragma once

#include "print/ReportTable.h"
#include "store/StoreResult.h"

#include <QString>

class QWidget;

// A list saved as a CSV file for a spreadsheet: what the list shows, as it shows it, so a
// coordinator can hand it on (hours to a training board, to payroll) or read it back.
namespace print {

// Writes `table` to `path`, all of it or nothing: the headings, then one line per row in
// the order shown. Each line holds the row's cells as shown, but the hours as stored (1.25
// where the list shows 1.3), then the extra fields, then the identity where the list has one,
// so that every row names its record exactly.
store::StoreResult WriteCsv(const ReportTable& table, const QString& path);

// "Export to CSV...": asks where to save `table`, offering "<Documents>/<title>
// yyyy-mm-dd.csv", and saves it there; a failure is told, naming the file and the reason. A
// cancelled dialog saves nothing.
void ExportCsv(const ReportTable& table, QWidget* owner);

} // namespace print
