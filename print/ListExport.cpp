#include "print/ListExport.h"

#include "forms/StoreProblem.h"
#include "platform/BusyCursor.h"
#include "platform/StandardDialogs.h"
#include "print/PrintOutput.h"
#include "store/Csv.h"
#include "ui/AppTitle.h"

#include <QFileInfo>

namespace print {

store::StoreResult WriteCsv(const ReportTable& table, const QString& path) {
    store::csv::FileWriter file(path);
    if (store::StoreResult begun = file.Begin(); !begun)
        return begun;
    const bool identity = !table.identityHeading.isEmpty();
    for (const ReportColumn& column : table.columns)
        file.Text(column.heading);
    for (const QString& heading : table.extraHeadings)
        file.Text(heading);
    if (identity)
        file.Text(table.identityHeading);
    file.EndRow();
    for (const ReportRow& row : table.rows) {
        for (std::size_t c = 0; c < table.columns.size(); ++c) {
            if (table.columns[c].hours && row.storedHours)
                file.Hours(*row.storedHours);
            else
                file.Text(row.cells.value(qsizetype(c)));
        }
        for (qsizetype e = 0; e < table.extraHeadings.size(); ++e)
            file.Text(row.extra.value(e));
        // A number, as the hours are: written as it is, never guarded as text.
        if (identity && !row.identity.isEmpty())
            file.Number(row.identity.toDouble());
        else if (identity)
            file.Text({});
        file.EndRow();
    }
    return file.Commit();
}

void ExportCsv(const ReportTable& table, QWidget* owner) {
    QString path = platform::SaveFileName(AppTitle() + QStringLiteral(" - Export the ") +
                                              table.title + QStringLiteral(" to CSV"),
                                          SuggestedPath(table.title, QStringLiteral("csv")),
                                          QStringLiteral("CSV files (*.csv)"), owner);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    store::StoreResult written;
    {
        platform::BusyCursor busy;
        written = WriteCsv(table, path);
    }
    forms::ShowSaveProblem(path, written);
}

} // namespace print
