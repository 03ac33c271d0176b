#include "print/ReportPrinter.h"

#include "forms/WindowBusy.h"
#include "print/PageWriter.h"
#include "store/Clock.h"
#include "store/Formats.h"
#include "ui/FlexGrid.h"
#include "ui/Form.h"

#include <array>
#include <optional>

namespace print {

namespace {

constexpr double LeftEdge = 0.5;
constexpr double RuleEnd = 7.5;
constexpr double LastLineTop = 8.8; // a row printed below this ends the page
constexpr double CriteriaLabelEnd = 2.3;
constexpr double HeaderTop = 1.0;

// Where one column prints: its heading's left edge, and its cells' left edge or, for hours,
// the right edge their "###.0" text ends at.
struct Column {
    double heading;
    double data;
    bool hours = false;
};

struct Layout {
    std::array<Column, 5> columns;
    int count;
};

constexpr Column Left(double x) {
    return {x, x, false};
}

Layout LayoutOf(ReportKind kind) {
    switch (kind) {
    case NameListReport:
    case SearchResultsReport:
        return {{Left(0.5), Left(4.0)}, 2};
    case CourseIndexReport:
        return {{Left(0.5), Left(1.4), Left(4.6), Column{7.15, 7.45, true}}, 4};
    case TrainingHistoryReport:
        return {{Left(0.5), Left(1.3), Left(2.2), Left(5.3), Column{7.15, 7.45, true}}, 5};
    case AnnualSummaryReport:
        return {{Left(0.5), Column{4.0, 4.3, true}}, 2};
    }
    return {{}, 0};
}

// An hours cell as "###.0"; empty stays empty, and a text that is no number prints as it is.
QString HoursCell(const QString& cell) {
    const QString trimmed = cell.trimmed();
    if (trimmed.isEmpty())
        return QString();
    bool ok = false;
    const double hours = trimmed.toDouble(&ok);
    return ok ? formats::Hours(hours) : cell;
}

void PrintLine(PageWriter& out, double x, const QString& text) {
    out.SetCurrentX(x);
    out.Print(text);
    out.EndLine();
}

// A criteria line of the search report, its label ending at 2.3 inches.
void PrintCriterion(PageWriter& out, const QString& label, const QString& value) {
    out.SetCurrentX(CriteriaLabelEnd - out.TextWidth(label));
    out.Print(label);
    out.Print(value);
    out.EndLine();
}

void PrintHeader(PageWriter& out, ReportKind kind, const FlexGrid& grid, const Form& window,
                 const ReportTexts& texts, const Layout& layout) {
    out.SetCurrentY(HeaderTop);
    out.Print(window.Caption().trimmed());
    out.EndLine();
    PrintLine(out, LeftEdge,
              QStringLiteral("Printed on ") + formats::GeneralDate(store::CurrentDateValue()) +
                  QStringLiteral(" -- Page ") + QString::number(out.Page()));

    if (kind == SearchResultsReport && out.Page() == 1) {
        out.EndLine();
        if (!texts.fromDate.isEmpty())
            PrintCriterion(out, QStringLiteral("Date Range Searched: "),
                           texts.fromDate + QStringLiteral(" to ") + texts.toDate);
        if (!texts.courseCode.isEmpty())
            PrintCriterion(out, QStringLiteral("Course Code Searched: "), texts.courseCode);
        if (!texts.trainingComment.isEmpty())
            PrintCriterion(out, QStringLiteral("Training Comments Searched: "),
                           texts.trainingComment);
        out.EndLine();
        PrintLine(out, LeftEdge,
                  QStringLiteral("The below is a ") + texts.nameListHeading.toLower());
        PrintLine(out, LeftEdge,
                  QStringLiteral("that have training records that ") +
                      (texts.match ? QString() : QStringLiteral("do NOT ")) +
                      QStringLiteral("match the above criteria"));
    }
    if (kind == AnnualSummaryReport) {
        out.EndLine();
        PrintLine(out, LeftEdge,
                  QStringLiteral("The below is a ") + texts.nameListHeading.toLower());
        PrintLine(out, LeftEdge,
                  QStringLiteral("and their total training hours for the year ") +
                      texts.summaryYear);
    }

    out.EndLine();
    for (int c = 0; c < layout.count; ++c) {
        out.SetCurrentX(layout.columns[c].heading);
        out.Print(grid.TextMatrix(0, c));
    }
    PrintRule(out, LeftEdge, RuleEnd);
}

void PrintRow(PageWriter& out, const FlexGrid& grid, int row, const Layout& layout) {
    for (int c = 0; c < layout.count; ++c) {
        const Column& column = layout.columns[c];
        if (column.hours) {
            const QString text = HoursCell(grid.TextMatrix(row, c));
            out.SetCurrentX(column.data - out.TextWidth(text));
            out.Print(text);
        } else {
            out.SetCurrentX(column.data);
            out.Print(grid.TextMatrix(row, c));
        }
    }
}

} // namespace

void PrintRule(PageWriter& out, double fromX, double toX) {
    out.SetCurrentX(fromX);
    const QString stroke = QStringLiteral("_");
    // A font that measures "_" as nothing wide would never reach toX.
    if (out.TextWidth(stroke) > 0) {
        do
            out.Print(stroke);
        while (out.CurrentX() < toX);
    }
    out.EndLine();
}

void PrintGridReport(PageWriter& out, ReportKind kind, const FlexGrid& grid, Form& window,
                     const ReportTexts& texts) {
    const WindowBusy busy(window);
    const Layout layout = LayoutOf(kind);
    // The first name is the one the reports were designed with; the second is the one used.
    out.SetFontName(QStringLiteral("Courier"));
    out.SetFontName(QStringLiteral("Arial"));
    out.SetFontSize(9);
    out.SetFontBold(false);
    out.SetFontItalic(false);
    out.SetFontUnderline(false);

    const int last = grid.Rows() - 1;
    for (int r = 1; r <= last; ++r) {
        if (out.CurrentX() < 1)
            out.SetCurrentX(LeftEdge);
        if (out.CurrentY() < 1)
            PrintHeader(out, kind, grid, window, texts, layout);
        out.SetCurrentX(LeftEdge);
        PrintRow(out, grid, r, layout);
        if (out.CurrentY() > LastLineTop || r == last) {
            PrintRule(out, LeftEdge, RuleEnd);
            if (r != last) {
                out.NewPage();
            } else {
                PrintLine(out, LeftEdge,
                          kind == AnnualSummaryReport ? texts.totalHours
                                                      : QStringLiteral("End of Printout"));
                out.EndDoc();
            }
        } else {
            out.EndLine();
        }
    }
}

void PrintWrappedText(PageWriter& out, Form& window, const QString& text, const QString& title,
                      const WrapOptions& options) {
    const WindowBusy busy(window, !options.keepWindowEnabled);
    int page = 0;
    bool newPage = true;
    const qsizetype length = text.size();
    for (qsizetype i = 0; i < length; ++i) {
        if (out.CurrentY() < 1)
            out.SetCurrentY(1.0);
        if (out.CurrentX() < options.leftMargin)
            out.SetCurrentX(options.leftMargin);
        if (newPage) {
            newPage = false;
            ++page;
            if (!title.isEmpty() && (options.titleOnEveryPage || page == 1)) {
                if (options.underlineTitle)
                    out.SetFontUnderline(true);
                if (options.centreTitle)
                    out.SetCurrentX(out.Width() / 2880.0 - out.TextWidth(title) / 2);
                out.Print(title);
                out.SetFontUnderline(false);
                out.EndLine();
                out.SetCurrentX(1.0);
            }
        }
        if (text[i] == u'\r' && i + 1 < length && text[i + 1] == u'\n') {
            out.EndLine();
            ++i;
        } else {
            out.Print(QString(text[i]));
        }
        // Words wrap at the first blank past an inch before the right margin; a run without
        // blanks is cut half an inch past it.
        if (out.CurrentX() > options.rightMargin - 1 &&
            (text[i] == u' ' || out.CurrentX() > options.rightMargin + 0.5))
            out.EndLine();
        const bool remains = i + 1 < length;
        if (!remains || out.CurrentY() > LastLineTop) {
            if (page > 1) {
                out.EndLine();
                out.SetCurrentY(9.2);
                out.SetCurrentX(6.0);
                out.Print(QStringLiteral("(page ") + QString::number(page) + u')');
            }
            if (remains) {
                out.NewPage();
                newPage = true;
            }
        }
    }
    if (!options.leaveDocumentOpen)
        out.EndDoc();
}

} // namespace print
