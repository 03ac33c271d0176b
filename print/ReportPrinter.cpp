#include "print/ReportPrinter.h"

#include "forms/WindowBusy.h"
#include "print/PageWriter.h"
#include "print/ReportTable.h"
#include "store/Clock.h"
#include "store/Formats.h"
#include "ui/Form.h"

#include <algorithm>

namespace print {

namespace {

constexpr double LeftEdge = 0.5;
constexpr double RuleEnd = 7.5;
constexpr double LastLineTop = 8.8; // a row printed below this ends the page
constexpr double CriteriaLabelEnd = 2.3;
constexpr double HeaderTop = 1.0;

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

// A criteria line of a search, its label ending at 2.3 inches.
void PrintCriterion(PageWriter& out, const ReportCriterion& criterion) {
    out.SetCurrentX(CriteriaLabelEnd - out.TextWidth(criterion.label));
    out.Print(criterion.label);
    out.Print(criterion.value);
    out.EndLine();
}

void PrintHeader(PageWriter& out, const ReportTable& table, const Form& window) {
    out.SetCurrentY(HeaderTop);
    out.Print(window.Caption().trimmed());
    out.EndLine();
    PrintLine(out, LeftEdge,
              QStringLiteral("Printed on ") + formats::GeneralDate(store::CurrentDateValue()) +
                  QStringLiteral(" -- Page ") + QString::number(out.Page()));

    const bool firstPage = out.Page() == 1;
    if (firstPage && !table.criteria.empty()) {
        out.EndLine();
        for (const ReportCriterion& criterion : table.criteria)
            PrintCriterion(out, criterion);
    }
    if (!table.description.isEmpty() && (firstPage || table.describeEveryPage)) {
        out.EndLine();
        for (const QString& line : table.description)
            PrintLine(out, LeftEdge, line);
    }

    out.EndLine();
    for (const ReportColumn& column : table.columns) {
        out.SetCurrentX(column.left);
        out.Print(column.heading);
    }
    PrintRule(out, LeftEdge, RuleEnd);
}

// The pieces of `text` that each fit between `left` and the rule's end: broken after the last
// blank that fits, or where the room ends in a run without blanks. Text that fits is one piece.
QStringList FittingPieces(const PageWriter& out, double left, const QString& text) {
    QStringList pieces;
    QString rest = text;
    while (left + out.TextWidth(rest) > RuleEnd) {
        qsizetype fits = 0; // characters that fit, at least one so that the text always ends
        while (fits < rest.size() && left + out.TextWidth(rest.left(fits + 1)) <= RuleEnd)
            ++fits;
        fits = std::max<qsizetype>(fits, 1);
        const qsizetype blank = rest.left(fits + 1).lastIndexOf(u' ');
        const qsizetype cut = blank > 0 ? blank : fits;
        pieces << rest.left(cut);
        rest = rest.mid(cut).trimmed();
    }
    if (!rest.isEmpty() || pieces.isEmpty())
        pieces << rest;
    return pieces;
}

void PrintRow(PageWriter& out, const ReportTable& table, const ReportRow& row) {
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        const ReportColumn& column = table.columns[c];
        const QString cell = row.cells.value(qsizetype(c));
        if (column.hours) {
            const QString text = HoursCell(cell);
            out.SetCurrentX(column.right - out.TextWidth(text));
            out.Print(text);
        } else if (c + 1 < table.columns.size()) {
            out.SetCurrentX(column.left);
            out.Print(cell);
        } else {
            // The last column runs on under itself rather than off the paper (a change's
            // fields, a long comment).
            const QStringList pieces = FittingPieces(out, column.left, cell);
            for (qsizetype i = 0; i < pieces.size(); ++i) {
                if (i > 0)
                    out.EndLine();
                out.SetCurrentX(column.left);
                out.Print(pieces[i]);
            }
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

void PrintTableReport(PageWriter& out, const ReportTable& table, Form& window) {
    const WindowBusy busy(window);
    // The first name is the one the reports were designed with; the second is the one used.
    out.SetFontName(QStringLiteral("Courier"));
    out.SetFontName(QStringLiteral("Arial"));
    out.SetFontSize(9);
    out.SetFontBold(false);
    out.SetFontItalic(false);
    out.SetFontUnderline(false);

    const std::size_t count = table.rows.size();
    for (std::size_t r = 0; r < count; ++r) {
        const bool last = r + 1 == count;
        if (out.CurrentX() < 1)
            out.SetCurrentX(LeftEdge);
        if (out.CurrentY() < 1)
            PrintHeader(out, table, window);
        out.SetCurrentX(LeftEdge);
        PrintRow(out, table, table.rows[r]);
        if (out.CurrentY() > LastLineTop || last) {
            PrintRule(out, LeftEdge, RuleEnd);
            if (!last) {
                out.NewPage();
            } else {
                PrintLine(out, LeftEdge,
                          table.totals.isEmpty() ? QStringLiteral("End of Printout")
                                                 : table.totals);
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
