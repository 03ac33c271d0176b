#pragma once

#include "print/RecordingPageWriter.h"
#include "print/ReportTable.h"
#include "ui/Form.h"

#include <QStringList>

// Lists and windows for the printer's tests, shaped as the program's lists are.
namespace printtest {

using Text = print::RecordingPageWriter::Text;

// A list of `kind` with the given headings ("A|B|C") and rows (cells separated by tabs).
// Headings and cells beyond the list's printed columns are left out, as the hidden key columns
// of the program's lists are.
inline print::ReportTable MakeTable(print::ReportKind kind, const QString& headings,
                                    const QStringList& rows) {
    print::ReportTable table = print::ListTable(kind, headings.split(u'|'));
    for (const QString& row : rows)
        table.rows.push_back({row.split(u'\t').mid(0, qsizetype(table.columns.size())), {}});
    return table;
}

// What the search page says above its results: each criterion as "Label: |value", and that
// the active persons are listed who have (or, unless `match`, do not have) such records.
inline void DescribeSearch(print::ReportTable& table, const QStringList& criteria, bool match) {
    for (const QString& criterion : criteria)
        table.criteria.push_back({criterion.section(u'|', 0, 0), criterion.section(u'|', 1)});
    table.description = {QStringLiteral("The below is a list of all active persons"),
                         QStringLiteral("that have training records that ") +
                             (match ? QString() : QStringLiteral("do NOT ")) +
                             QStringLiteral("match the above criteria")};
}

// What the annual summary says above its results on every page, and its total at the end.
inline void DescribeSummary(print::ReportTable& table, const QString& year, const QString& total) {
    table.description = {QStringLiteral("The below is a list of all active persons"),
                         QStringLiteral("and their total training hours for the year ") + year};
    table.describeEveryPage = true;
    table.totals = total;
}

// `count` Name List rows: "Person 1" ... with an organization, and hidden key columns.
inline QStringList NameRows(int count) {
    QStringList rows;
    for (int i = 1; i <= count; ++i)
        rows << QStringLiteral("Person %1\tSquad %2\t3800%1\tsort%1\t%1").arg(i).arg(i % 3);
    return rows;
}

inline const QString NameHeadings =
    QStringLiteral("List of all active persons|Organization|Key|Sort|RecNum");

// A window as the Lobby is: its caption has blanks around it.
class Window : public Form {
public:
    Window() { SetCaption(QStringLiteral(" Mirtavel - Test Police Department ")); }
};

inline const QString Caption = QStringLiteral("Mirtavel - Test Police Department");

} // namespace printtest
