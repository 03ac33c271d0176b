#pragma once

#include <QString>

class FlexGrid;
class Form;

// The report printer: a grid as a columned list, a long text word-wrapped, and a rule of
// underscores, all written on a PageWriter and knowing nothing of how it reaches paper.
namespace print {

class PageWriter;

enum ReportKind : qint16 {
    NameListReport = 1,
    CourseIndexReport = 2,
    TrainingHistoryReport = 3,
    SearchResultsReport = 4,
    AnnualSummaryReport = 5,
};

// What the search and summary reports print besides their grid, as the search page shows
// them.
struct ReportTexts {
    QString fromDate;        // txtMatch(0)
    QString toDate;          // txtMatch(1)
    QString courseCode;      // txtMatch(2)
    QString trainingComment; // txtMatch(3)
    bool match = true;       // optMatch(1) selected; false: "do NOT match"
    QString summaryYear;     // txtSummaryYear
    QString totalHours;      // the caption of lblTotalHours
    QString nameListHeading; // the heading cell of the Name List grid, row 0 column 0
};

// Draws "_" from fromX until CurrentX reaches toX, then ends the line. Drawn after a text
// that stayed on its line, it underlines that text.
void PrintRule(PageWriter& out, double fromX, double toX);

// Prints the data rows of `grid` as report `kind` under a header carrying `window`'s caption,
// the date and the page number; `window` is disabled under the hourglass meanwhile. A grid
// with no data rows prints nothing and ends no document.
void PrintGridReport(PageWriter& out, ReportKind kind, const FlexGrid& grid, Form& window,
                     const ReportTexts& texts = {});

struct WrapOptions {
    bool underlineTitle = false;
    bool centreTitle = false;
    bool titleOnEveryPage = false;
    bool keepWindowEnabled = false;
    bool leaveDocumentOpen = false;
    double leftMargin = 1.0;  // inches
    double rightMargin = 7.5; // inches
};

// Prints `text` (lines separated by CR LF) word-wrapped between the margins under `title`
// (none when empty), with "(page n)" at the foot of pages 2 and on.
void PrintWrappedText(PageWriter& out, Form& window, const QString& text, const QString& title,
                      const WrapOptions& options);

} // namespace print
