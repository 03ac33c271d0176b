#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>
#include <vector>

// A list as the user sees it, as a value: the visible columns under their headings, the rows
// in the order shown with each cell's text as shown, and each row's hidden identity where the
// list keeps one. It is all a printout of the list needs, and all a copy of the list saved
// elsewhere needs, so each list describes itself once. Searches and summaries add what they
// were made from and their total.
namespace print {

// The lists that are printed; each has its own columns on paper.
enum ReportKind : qint16 {
    NameListReport = 1,
    CourseIndexReport = 2,
    TrainingHistoryReport = 3,
    SearchResultsReport = 4,
    AnnualSummaryReport = 5,
    DueListReport = 6,
    ChangeLogReport = 7,
};

// One visible column and where it prints, in inches from the left edge of the printable area.
struct ReportColumn {
    QString heading;
    double left = 0;    // the heading, and the cells unless they are hours
    double right = 0;   // where the column ends: hours cells end here
    bool hours = false; // cells print in the number format "###.0", ending at `right`
};

struct ReportRow {
    QStringList cells; // one per column, as the list shows them
    QString identity;  // IdentityText of the record's identity; empty where there is none
    // The hours behind the row's hours cell as stored, where the cell shows them rounded
    // ("###.0"): a copy of the list saved elsewhere gives them exactly (1.25, not 1.3).
    std::optional<float> storedHours = std::nullopt;
    // The fields a saved copy carries after the shown cells (the table's extraHeadings).
    QStringList extra = {};
};

// A line of what a search was made from, its label ending 2.3 inches from the edge.
struct ReportCriterion {
    QString label;
    QString value;
};

struct ReportTable {
    QString title; // the list's name ("Name List"): names the print job and a file saved
    std::vector<ReportColumn> columns;
    QString identityHeading; // the heading of the hidden identity; empty where there is none
    // Fields a saved copy carries that the list does not show (a person's employee ID).
    QStringList extraHeadings;
    std::vector<ReportRow> rows;

    // Above the headings: the criteria on the first page, between empty lines, then the
    // description after an empty line, on the first page or on every page.
    std::vector<ReportCriterion> criteria;
    QStringList description;
    bool describeEveryPage = false;
    // Printed under the last row in place of "End of Printout": a total.
    QString totals;
};

// A record's identity (its DateCreated) as a table carries it: the shortest text that reads
// back as exactly the number stored. The lists' own key texts round to whole seconds, and two
// records created in one second would share them.
QString IdentityText(double identity);

// An empty table of `kind`: its title, and its columns where that list prints them under
// `headings` in order. Headings beyond the list's printed columns are left out, as hidden key
// columns are.
ReportTable ListTable(ReportKind kind, const QStringList& headings);

} // namespace print
