// One printout of each kind written as a PDF file by the real printer code, read back as
// text with pdftotext. Set MIRTAVEL_PRINT_OUT to a folder to keep the files and look at them.

#include "PrintTesting.h"
#include "platform/Desktop.h"
#include "print/ListPrintouts.h"
#include "print/QtPageWriter.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace printtest;
using print::Output;

namespace {

// The PDF's text page by page, or an empty list when it cannot be read.
QStringList PagesOf(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(u'\f');
    if (!pages.isEmpty() && pages.constLast().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

QStringList Rows(int count, const QString& pattern) {
    QStringList rows;
    for (int i = 1; i <= count; ++i)
        rows << pattern.arg(i, 3, 10, QLatin1Char('0'));
    return rows;
}

} // namespace

class TestPdfPrintouts : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QProcess probe;
        probe.start(QStringLiteral("pdftotext"), {QStringLiteral("-v")});
        if (!probe.waitForFinished(10000))
            QFAIL("pdftotext is missing: scripts/setup installs it (poppler-utils)");
    }

    void everyKindAsPdf_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QStringList>("firstPage");
        QTest::addColumn<QStringList>("lastPage");
        const QString end = QStringLiteral("End of Printout");
        QTest::newRow("name list")
            << "name" << 2
            << QStringList({Caption, "Printed on", "-- Page 1", "List of all active persons",
                            "Organization", "Person 001", "Squad 1"})
            << QStringList({"-- Page 2", "List of all active persons", "Person 060", end});
        QTest::newRow("course index")
            << "course" << 1
            << QStringList({"Code", "Course Name", "Provided By", "Hours", "FA-001",
                            "First Aid 001", "Red Cross", "12.0", "7.5"})
            << QStringList({end});
        QTest::newRow("training history")
            << "history" << 1
            << QStringList({"Date", "Course", "03/01/2024", "Firearms 001", "8.0"})
            << QStringList({end});
        QTest::newRow("search results")
            << "search" << 1
            << QStringList({"Date Range Searched: 01/01/2024 to 12/31/2024",
                            "Course Code Searched: FA", "The below is a list of all active persons",
                            "that have training records that do NOT match the above criteria",
                            "Person 001"})
            << QStringList({end});
        QTest::newRow("annual summary")
            << "summary" << 2
            << QStringList({"The below is a list of all active persons",
                            "and their total training hours for the year 2024", "Person 001",
                            "16.0"})
            << QStringList({"and their total training hours for the year 2024",
                            "Total Training Hours: 960.0"});
        QTest::newRow("help topic") // each paragraph takes two lines
            << "help" << 3 << QStringList({"Mirtavel, Help Section: Printing", "Paragraph 001"})
            << QStringList({"Paragraph 060", "(page 3)"});
    }
    void everyKindAsPdf() {
        QFETCH(QString, kind);
        QFETCH(int, pages);
        QFETCH(QStringList, firstPage);
        QFETCH(QStringList, lastPage);
        TestFolder folder;
        Window window;
        platform::SetTargetOpener([](const QUrl&) { return true; });
        const QString pdf = folder.filePath(kind + QStringLiteral(".pdf"));
        ScriptedAnswers answers;
        if (kind == QStringLiteral("history"))
            answers.expectStandard(platform::StandardAnswer::Yes);
        else if (kind != QStringLiteral("help"))
            answers.expectMessage(QString(), 1);
        answers.expectSaveFile(pdf);

        if (kind == QStringLiteral("name")) {
            const print::ReportTable table =
                MakeTable(print::NameListReport, NameHeadings,
                          Rows(60, QStringLiteral("Person %1\tSquad 1\tk")));
            print::PrintNameList(table, window, Output::Pdf);
        } else if (kind == QStringLiteral("course")) {
            const print::ReportTable table = MakeTable(
                print::CourseIndexReport, QStringLiteral("Code|Course Name|Provided By|Hours"),
                {"FA-001\tFirst Aid 001\tRed Cross\t12", "FA-002\tFirst Aid 002\tRed Cross\t7.5"});
            print::PrintCourseIndex(table, window, Output::Pdf);
        } else if (kind == QStringLiteral("history")) {
            const print::ReportTable table = MakeTable(
                print::TrainingHistoryReport, QStringLiteral("Date|Code|Course|Provided By|Hours"),
                Rows(5, "03/01/2024\tFI-%1\tFirearms %1\tRange\t8"));
            print::PrintTrainingHistory(table, window, Output::Pdf);
        } else if (kind == QStringLiteral("search") || kind == QStringLiteral("summary")) {
            const bool search = kind == QStringLiteral("search");
            print::ReportTable table =
                MakeTable(search ? print::SearchResultsReport : print::AnnualSummaryReport,
                          search ? NameHeadings : QStringLiteral("Name|Hours"),
                          Rows(search ? 10 : 60, search ? "Person %1\tSquad 2" : "Person %1\t16"));
            if (search)
                DescribeSearch(table,
                               {QStringLiteral("Date Range Searched: |01/01/2024 to 12/31/2024"),
                                QStringLiteral("Course Code Searched: |FA")},
                               false);
            else
                DescribeSummary(table, QStringLiteral("2024"),
                                QStringLiteral("Total Training Hours: 960.0"));
            print::PrintSearchSummary(table, window, Output::Pdf);
        } else {
            QString text;
            for (const QString& line :
                 Rows(60, QStringLiteral("Paragraph %1 of the help topic, long enough to be "
                                         "wrapped once at the right margin of the page.")))
                text += line + QStringLiteral("\r\n");
            print::PrintHelpTopic(window, text, QStringLiteral("Printing"), Output::Pdf);
        }
        platform::SetTargetOpener({});
        QVERIFY(answers.verifyDone());
        QVERIFY(QFile::exists(pdf));
        const QString keep = qEnvironmentVariable("MIRTAVEL_PRINT_OUT");
        if (!keep.isEmpty()) {
            QFile::remove(QDir(keep).filePath(kind + QStringLiteral(".pdf")));
            QFile::copy(pdf, QDir(keep).filePath(kind + QStringLiteral(".pdf")));
        }

        // pdftotext lays words out by position, so blanks between them may differ.
        const QStringList read = PagesOf(pdf);
        QCOMPARE(read.size(), pages);
        static const QRegularExpression blanks(QStringLiteral(" +"));
        const QString first = QString(read.constFirst()).replace(blanks, QStringLiteral(" "));
        const QString last = QString(read.constLast()).replace(blanks, QStringLiteral(" "));
        for (const QString& text : firstPage)
            QVERIFY2(first.contains(text), qPrintable(text + QStringLiteral(" in:\n") + first));
        for (const QString& text : lastPage)
            QVERIFY2(last.contains(text), qPrintable(text + QStringLiteral(" in:\n") + last));
    }

    // "Arial" is printed in the free font of the same metrics; a font that is not installed
    // prints in the desktop's own instead of failing.
    void fontsSubstituted() {
        TestFolder folder;
        const QString pdf = folder.filePath(QStringLiteral("fonts.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        {
            print::QtPageWriter out(printer);
            out.SetFontName(QStringLiteral("Arial"));
            out.Print(QStringLiteral("Arial text"));
            out.EndLine();
            out.SetFontName(QStringLiteral("No Such Font Anywhere"));
            out.Print(QStringLiteral("Fallback text"));
            out.EndDoc();
            QVERIFY(out.Printed());
            QVERIFY(!out.Failed());
        }
        const QStringList pages = PagesOf(pdf);
        QCOMPARE(pages.size(), 1);
        QVERIFY(pages[0].contains(QStringLiteral("Arial text")));
        QVERIFY(pages[0].contains(QStringLiteral("Fallback text")));
        QProcess fonts;
        fonts.start(QStringLiteral("pdffonts"), {pdf});
        QVERIFY(fonts.waitForFinished(30000));
        QVERIFY(QString::fromUtf8(fonts.readAllStandardOutput())
                    .contains(QStringLiteral("LiberationSans")));
    }
};

QTEST_MAIN(TestPdfPrintouts)
#include "test_pdfprintouts.moc"
