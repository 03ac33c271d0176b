// The report printer through the recording page writer: headers, rows, rules and page breaks
// of every report kind, the hours cells, and the word-wrapped text.

#include "PrintTesting.h"
#include "print/RecordingPageWriter.h"
#include "print/ReportPrinter.h"
#include "print/ReportTable.h"
#include "store/Clock.h"
#include "store/Formats.h"
#include "support/TestFolder.h"

#include <QApplication>
#include <QTest>

using namespace printtest;
using print::RecordingPageWriter;

namespace {

constexpr double Line9 = 9 / 72.0 * 1.15; // a line of the 9-point report font
constexpr double Eps = 1e-9;

QString PrintedOn(int page) {
    return QStringLiteral("Printed on ") + formats::GeneralDate(store::CurrentDateValue()) +
           QStringLiteral(" -- Page ") + QString::number(page);
}

// A recorder that also notes whether the window was busy while anything was printed.
class WatchingWriter : public RecordingPageWriter {
public:
    explicit WatchingWriter(const Form& window) : window_(window) {}
    bool busyThroughout = true;

protected:
    void Draw(double x, double y, const print::PrintFont& font, const QString& text) override {
        busyThroughout = busyThroughout && window_.IsBusy() && !window_.isEnabled();
        RecordingPageWriter::Draw(x, y, font, text);
    }

private:
    const Form& window_;
};

// The texts of one page, in the order printed.
QStringList TextsOf(const RecordingPageWriter& out, int page) {
    QStringList result;
    for (const Text& t : out.OnPage(page))
        result << t.text;
    return result;
}

// A rule drawn on `page` at `y` from 0.5 to at least 7.5 (and no further than one stroke).
bool UnderlinedAt(const RecordingPageWriter& out, int page, double y) {
    for (const auto& rule : out.rules)
        if (rule.page == page && qAbs(rule.y - y) < Eps && qAbs(rule.fromX - 0.5) < Eps &&
            rule.toX >= 7.5 && rule.toX < 7.5 + RecordingPageWriter::CharWidth(9) + Eps)
            return true;
    return false;
}

} // namespace

class TestReportPrinter : public QObject {
    Q_OBJECT

private slots:
    void nameListOfOnePerson() {
        TestFolder folder;
        Window window;
        const print::ReportTable table =
            MakeTable(print::NameListReport, NameHeadings, NameRows(1));
        WatchingWriter out(window);
        print::PrintTableReport(out, table, window);

        QCOMPARE(TextsOf(out, 1),
                 QStringList({Caption, PrintedOn(1), "List of all active persons", "Organization",
                              "Person 1", "Squad 1", "End of Printout"}));
        QCOMPARE(out.PageCount(), 1);
        QCOMPARE(out.pagesStarted, 0);
        QCOMPARE(out.documentsEnded, 1);
        QCOMPARE(out.textsAtLastEnd, out.texts.size());

        const Text* caption = out.Find(Caption);
        QCOMPARE(caption->x, 0.5);
        QCOMPARE(caption->y, 1.0);
        QCOMPARE(caption->font.name, QStringLiteral("Arial"));
        QCOMPARE(caption->font.size, 9.0);
        QVERIFY(!caption->font.bold && !caption->font.italic && !caption->font.underline);
        QCOMPARE(out.Find(PrintedOn(1))->x, 0.5);
        QVERIFY(qAbs(out.Find(PrintedOn(1))->y - (1.0 + Line9)) < Eps);

        // An empty line, then the headings underlined, the row underlined, the end line.
        const Text* heading = out.Find(QStringLiteral("List of all active persons"));
        QVERIFY(qAbs(heading->y - (1.0 + 3 * Line9)) < Eps);
        QCOMPARE(heading->x, 0.5);
        QCOMPARE(out.Find(QStringLiteral("Organization"))->x, 4.0);
        QCOMPARE(out.Find(QStringLiteral("Organization"))->y, heading->y);
        const Text* row = out.Find(QStringLiteral("Person 1"));
        QVERIFY(qAbs(row->y - (heading->y + Line9)) < Eps);
        QCOMPARE(out.Find(QStringLiteral("Squad 1"))->x, 4.0);
        QCOMPARE(out.rules.size(), 2);
        QVERIFY(UnderlinedAt(out, 1, heading->y));
        QVERIFY(UnderlinedAt(out, 1, row->y));
        const Text* end = out.Find(QStringLiteral("End of Printout"));
        QCOMPARE(end->x, 0.5);
        QVERIFY(qAbs(end->y - (row->y + Line9)) < Eps);

        // Hidden key columns are not printed; the window is busy throughout and then free.
        QVERIFY(!out.Find(QStringLiteral("sort1")));
        QVERIFY(out.busyThroughout);
        QVERIFY(window.isEnabled());
        QVERIFY(!window.IsBusy());
    }

    void longListBreaksPagesWithHeaderAgain() {
        TestFolder folder;
        Window window;
        const print::ReportTable table =
            MakeTable(print::NameListReport, NameHeadings, NameRows(120));
        RecordingPageWriter out;
        print::PrintTableReport(out, table, window);

        QCOMPARE(out.PageCount(), 3);
        QCOMPARE(out.pagesStarted, 2);
        QCOMPARE(out.documentsEnded, 1);
        int printedRows = 0;
        for (int page = 1; page <= 3; ++page) {
            const QList<Text> texts = out.OnPage(page);
            QCOMPARE(texts.at(0).text, Caption);
            QCOMPARE(texts.at(0).y, 1.0);
            QCOMPARE(texts.at(1).text, PrintedOn(page));
            QCOMPARE(texts.at(2).text, QStringLiteral("List of all active persons"));
            QVERIFY(UnderlinedAt(out, page, texts.at(2).y));
            // Rows follow in order; the last of the page is underlined, and only a page's
            // last row lies below 8.8 inches.
            const Text* lastRow = nullptr;
            for (const Text& t : texts) {
                if (!t.text.startsWith(QStringLiteral("Person ")))
                    continue;
                ++printedRows;
                QCOMPARE(t.text, QStringLiteral("Person %1").arg(printedRows));
                QVERIFY(!lastRow || lastRow->y <= 8.8);
                lastRow = &t;
            }
            QVERIFY(lastRow);
            QVERIFY(UnderlinedAt(out, page, lastRow->y));
            if (page < 3)
                QVERIFY(lastRow->y > 8.8);
        }
        QCOMPARE(printedRows, 120);
        QCOMPARE(out.texts.constLast().text, QStringLiteral("End of Printout"));
        QCOMPARE(out.texts.constLast().page, 3);
    }

    void searchCriteriaOnFirstPage_data() {
        QTest::addColumn<bool>("match");
        QTest::addColumn<QStringList>("criteria");
        QTest::addColumn<QString>("lastDescription");
        QTest::newRow("course code only")
            << true << QStringList({"Course Code Searched: |FA-101"})
            << "that have training records that match the above criteria";
        QTest::newRow("every field, do NOT match")
            << false
            << QStringList({"Date Range Searched: |01/01/2024 to 12/31/2024",
                            "Course Code Searched: |FA", "Training Comments Searched: |range"})
            << "that have training records that do NOT match the above criteria";
    }
    void searchCriteriaOnFirstPage() {
        QFETCH(bool, match);
        QFETCH(QStringList, criteria);
        QFETCH(QString, lastDescription);
        TestFolder folder;
        Window window;
        print::ReportTable table =
            MakeTable(print::SearchResultsReport,
                      QStringLiteral("List of all persons|Organization"), NameRows(60));
        DescribeSearch(table, criteria, match);
        RecordingPageWriter out;
        print::PrintTableReport(out, table, window);

        // Page 1: caption, date line, an empty line, the criteria labels ending at 2.3 with
        // their values after them, an empty line, the two description lines, an empty line.
        const QList<Text> page1 = out.OnPage(1);
        QStringList block;
        for (int i = 2; i < 2 + criteria.size() * 2; i += 2) {
            QVERIFY(qAbs(page1.at(i).right - 2.3) < Eps);
            QCOMPARE(page1.at(i + 1).x, page1.at(i).right);
            QCOMPARE(page1.at(i + 1).y, page1.at(i).y);
            block << page1.at(i).text + u'|' + page1.at(i + 1).text;
        }
        QCOMPARE(block, criteria);
        QVERIFY(qAbs(page1.at(2).y - (1.0 + 3 * Line9)) < Eps);
        const int d = 2 + static_cast<int>(criteria.size()) * 2;
        QCOMPARE(page1.at(d).text, QStringLiteral("The below is a list of all active persons"));
        QVERIFY(qAbs(page1.at(d).y - (page1.at(d - 1).y + 2 * Line9)) < Eps);
        QCOMPARE(page1.at(d + 1).text, lastDescription);
        QCOMPARE(page1.at(d + 1).x, 0.5);
        QCOMPARE(page1.at(d + 2).text, QStringLiteral("List of all persons"));
        QVERIFY(qAbs(page1.at(d + 2).y - (page1.at(d + 1).y + 2 * Line9)) < Eps);

        // Page 2 has the plain header only.
        QCOMPARE(out.PageCount(), 2);
        QCOMPARE(TextsOf(out, 2).mid(0, 3),
                 QStringList({Caption, PrintedOn(2), "List of all persons"}));
        QCOMPARE(out.texts.constLast().text, QStringLiteral("End of Printout"));
    }

    void annualSummaryDescribedOnEveryPageAndTotalled() {
        TestFolder folder;
        Window window;
        QStringList rows;
        for (int i = 1; i <= 60; ++i)
            rows << QStringLiteral("Person %1\t%2").arg(i).arg(i % 4 ? QStringLiteral("8") : "");
        print::ReportTable table = MakeTable(
            print::AnnualSummaryReport, QStringLiteral("List of all Active Persons|Hours"), rows);
        DescribeSummary(table, QStringLiteral("2024"),
                        QStringLiteral("Total Training Hours for 2024: 360.0"));
        RecordingPageWriter out;
        print::PrintTableReport(out, table, window);

        QCOMPARE(out.PageCount(), 2);
        for (int page = 1; page <= 2; ++page) {
            const QList<Text> shown = out.OnPage(page);
            QCOMPARE(shown.at(2).text, QStringLiteral("The below is a list of all active persons"));
            QVERIFY(qAbs(shown.at(2).y - (1.0 + 3 * Line9)) < Eps);
            QCOMPARE(shown.at(3).text,
                     QStringLiteral("and their total training hours for the year 2024"));
            QCOMPARE(shown.at(3).x, 0.5);
            QCOMPARE(shown.at(4).text, QStringLiteral("List of all Active Persons"));
        }
        QCOMPARE(out.texts.constLast().text, table.totals);
        QCOMPARE(out.texts.constLast().x, 0.5);
        QVERIFY(!out.Find(QStringLiteral("End of Printout")));
        QCOMPARE(out.documentsEnded, 1);
    }

    void hoursCellsRightAligned_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("headings");
        QTest::addColumn<QString>("cellsBeforeHours");
        QTest::addColumn<QString>("cellsAfterHours");
        QTest::addColumn<double>("headingX");
        QTest::addColumn<double>("rightEdge");
        QTest::newRow("course index") << 2 << "Code|Course Name|Provided By|Hours"
                                      << "FA\tFirst Aid\tRed Cross\t"
                                      << "" << 7.15 << 7.45;
        QTest::newRow("training history") << 3 << "Date|Code|Course|Provided By|Hours"
                                          << "03/01/2024\tFA\tFirst Aid\tRed Cross\t"
                                          << "" << 7.15 << 7.45;
        QTest::newRow("annual summary") << 5 << "Name|Hours|Organization"
                                        << "Ann Lee\t"
                                        << "\tPatrol" << 4.0 << 4.3;
    }
    void hoursCellsRightAligned() {
        QFETCH(int, kind);
        QFETCH(QString, headings);
        QFETCH(QString, cellsBeforeHours);
        QFETCH(QString, cellsAfterHours);
        QFETCH(double, headingX);
        QFETCH(double, rightEdge);
        TestFolder folder;
        Window window;
        const QStringList hours = {"12", "7.5", "", ".5"};
        QStringList rows;
        for (const QString& h : hours)
            rows << cellsBeforeHours + h + cellsAfterHours + QStringLiteral("\tkey");
        const print::ReportTable table =
            MakeTable(static_cast<print::ReportKind>(kind), headings, rows);
        RecordingPageWriter out;
        print::PrintTableReport(out, table, window);

        QCOMPARE(out.Find(QStringLiteral("Hours"))->x, headingX);
        const QStringList expected = {"12.0", "7.5", "", ".5"};
        const double firstRowY = out.Find(QStringLiteral("Hours"))->y + Line9;
        for (int r = 0; r < hours.size(); ++r) {
            const double y = firstRowY + r * Line9;
            const Text* cell = nullptr;
            for (const Text& t : out.texts)
                if (qAbs(t.y - y) < Eps && t.right > rightEdge - 1 && t.x < rightEdge)
                    cell = &t;
            if (expected[r].isEmpty()) {
                QVERIFY2(!cell, qPrintable(QStringLiteral("row %1 printed %2")
                                               .arg(r + 1)
                                               .arg(cell ? cell->text : QString())));
                continue;
            }
            QVERIFY(cell);
            QCOMPARE(cell->text, expected[r]);
            QVERIFY(qAbs(cell->right - rightEdge) < Eps);
        }
        QVERIFY(!out.Find(QStringLiteral("key")));
    }

    // A last cell too long for the paper runs on under its column, within the rule, and
    // nothing of it is lost; the next row follows its last line.
    void longLastCellRunsOnUnderItself_data() {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<int>("lines");
        QTest::newRow("fits") << "Last Name: Lee -> Li" << 1;
        QTest::newRow("words") << QStringLiteral("Comments: ").repeated(30) << 0;
        QTest::newRow("one long word") << QStringLiteral("x").repeated(300) << 0;
    }
    void longLastCellRunsOnUnderItself() {
        QFETCH(QString, cell);
        QFETCH(int, lines);
        TestFolder folder;
        Window window;
        const print::ReportTable table =
            MakeTable(print::ChangeLogReport, "Time|User|What was done|Record|Fields",
                      {"t1\tAnn\tEdited\tPerson: Lee\t" + cell, "t2\tAnn\tAdded\tCourse: FA\tend"});
        RecordingPageWriter out;
        print::PrintTableReport(out, table, window);
        const double left = out.Find(QStringLiteral("Fields"))->x;
        QString joined;
        int printed = 0;
        for (const Text& t : out.texts) {
            if (t.x != left || t.text == QLatin1String("Fields") || t.text == QLatin1String("end"))
                continue;
            QVERIFY2(t.right <= 7.5 + Eps, qPrintable(t.text));
            joined += t.text;
            ++printed;
        }
        QCOMPARE(joined.remove(u' '), QString(cell).remove(u' '));
        QVERIFY(lines == 0 ? printed > 1 : printed == lines);
        QVERIFY(qAbs(out.Find(QStringLiteral("t2"))->y - out.Find(QStringLiteral("t1"))->y -
                     printed * Line9) < Eps);
    }

    void headingOnlyGridPrintsNothing() {
        TestFolder folder;
        Window window;
        const print::ReportTable table = MakeTable(print::NameListReport, NameHeadings, {});
        RecordingPageWriter out;
        print::PrintTableReport(out, table, window);
        QVERIFY(out.texts.isEmpty());
        QVERIFY(out.rules.isEmpty());
        QCOMPARE(out.documentsEnded, 0);
        QVERIFY(window.isEnabled());
        QVERIFY(!window.IsBusy());
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void longWordCutHalfAnInchPastTheMargin() {
        TestFolder folder;
        Window window;
        const QString word(200, u'x');
        WatchingWriter out(window);
        out.SetFontSize(10);
        print::WrapOptions options;
        options.underlineTitle = true;
        print::PrintWrappedText(out, window, QStringLiteral("ab ") + word + QStringLiteral(" cd"),
                                QStringLiteral("Title"), options);

        const double charWidth = RecordingPageWriter::CharWidth(10);
        QCOMPARE(out.texts.at(0).text, QStringLiteral("Title"));
        QVERIFY(out.texts.at(0).font.underline);
        // The word starts on the text's first line at the left margin plus "ab ", runs until
        // it is past 8.0 inches, and goes on at the left margin of the next line.
        QList<Text> xs;
        for (const Text& t : out.texts)
            if (t.text == QStringLiteral("x"))
                xs << t;
        QCOMPARE(xs.size(), 200);
        int firstLine = 0;
        while (firstLine < xs.size() && xs[firstLine].y == xs[0].y)
            ++firstLine;
        QVERIFY(firstLine < 200);
        QVERIFY(xs[firstLine - 1].right > 8.0);
        QVERIFY(xs[firstLine - 1].right <= 8.0 + charWidth + Eps);
        QCOMPARE(xs[0].x, 1.0 + 3 * charWidth);
        QCOMPARE(xs[firstLine].x, 1.0);
        QVERIFY(qAbs(xs[firstLine].y - (xs[0].y + RecordingPageWriter::LineOf(10))) < Eps);
        QVERIFY(!out.texts.constLast().font.underline);
        QCOMPARE(out.documentsEnded, 1);
        QVERIFY(out.busyThroughout);
        QVERIFY(window.isEnabled());
    }

    void wrappedTextPagesAndFooters() {
        TestFolder folder;
        Window window;
        QStringList lines;
        for (int i = 1; i <= 60; ++i) // 49 lines fill the first page
            lines << QStringLiteral("Line %1 of the topic.").arg(i);
        RecordingPageWriter out;
        out.SetFontSize(10);
        print::WrapOptions options;
        options.underlineTitle = true;
        options.keepWindowEnabled = true;
        print::PrintWrappedText(out, window, lines.join(QStringLiteral("\r\n")),
                                QStringLiteral("Help Title"), options);

        QCOMPARE(out.PageCount(), 2);
        QCOMPARE(out.OnPage(1).at(0).text, QStringLiteral("Help Title"));
        QCOMPARE(out.OnPage(1).at(0).y, 1.0);
        QCOMPARE(out.OnPage(1).at(0).x, 1.0);
        int titles = 0;
        for (const Text& t : out.texts)
            titles += t.text == QStringLiteral("Help Title");
        QCOMPARE(titles, 1);
        // The first page has no footer; the second ends in "(page 2)" near the bottom right.
        QVERIFY(!out.Find(QStringLiteral("(page 1)")));
        const Text* footer = out.Find(QStringLiteral("(page 2)"));
        QVERIFY(footer);
        QCOMPARE(footer->page, 2);
        QCOMPARE(footer->x, 6.0);
        QCOMPARE(footer->y, 9.2);
        // Every line starts at the left margin; none is drawn below 8.8 inches + a line.
        for (const Text& t : out.texts)
            if (t.text == QStringLiteral("L"))
                QCOMPARE(t.x, 1.0);
        for (const Text& t : out.texts)
            if (&t != footer)
                QVERIFY(t.y <= 8.8 + RecordingPageWriter::LineOf(10) + Eps);
        QCOMPARE(out.documentsEnded, 1);
        QCOMPARE(out.pagesStarted, 1);
        QVERIFY(window.isEnabled());
    }

    void ruleInAFontWithoutWidthEnds() {
        // A font whose "_" measures nothing wide ends the line instead of drawing forever.
        struct NoWidth : RecordingPageWriter {
            double Measure(const print::PrintFont&, const QString&) const override { return 0; }
        } flat;
        print::PrintRule(flat, 0.5, 7.5);
        QCOMPARE(flat.CurrentY(), Line9);
    }
};

QTEST_MAIN(TestReportPrinter)
#include "test_reportprinter.moc"
