#pragma once

#include <QString>

class Form;

// The report printer: a list as columns, a long text word-wrapped, and a rule of
// underscores, all written on a PageWriter and knowing nothing of how it reaches paper.
namespace print {

class PageWriter;
struct ReportTable;

// Draws "_" from fromX until CurrentX reaches toX, then ends the line. Drawn after a text
// that stayed on its line, it underlines that text.
void PrintRule(PageWriter& out, double fromX, double toX);

// Prints the rows of `table` at its columns under a header carrying `window`'s caption, the
// date and the page number; `window` is disabled under the hourglass meanwhile. A table
// without rows prints nothing and ends no document.
void PrintTableReport(PageWriter& out, const ReportTable& table, Form& window);

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
