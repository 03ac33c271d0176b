// What each print button does: the page estimate, the question and its answers, where the
// printout goes (printer, PDF, preview) and what the user is told when it cannot be made.

#include "PrintTesting.h"
#include "courses/CoursePage.h"
#include "lobby/NamePage.h"
#include "lobby/test_lobby_data.h"
#include "platform/Desktop.h"
#include "print/ListPrintouts.h"
#include "print/PrintOutput.h"
#include "print/RecordingPageWriter.h"
#include "search/SearchControls.h"
#include "store/Formats.h"
#include "support/RecordFiles.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "training/frmTrainingHistory.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <functional>

using namespace printtest;
using platform::StandardAnswer;
using print::Output;
using print::RecordingPageWriter;

namespace {

const QStringList YesNoPrint = {"&Yes, print", "&No, do NOT print"};

QStringList Confirmation(int pages) {
    return {"This printout will consist", QStringLiteral("of about %1 page(s).").arg(pages), "",
            "Are you ready to print?"};
}

// Hands every printout to a recorder while it lives.
struct RecordedOutput {
    RecordingPageWriter out;
    RecordedOutput() { print::ReplaceOutput(&out); }
    ~RecordedOutput() { print::ReplaceOutput(nullptr); }
};

// Records what the desktop was asked to open, answering `opens`.
struct DesktopSpy {
    QList<QUrl> opened;
    explicit DesktopSpy(bool opens = true) {
        platform::SetTargetOpener([this, opens](const QUrl& url) {
            opened << url;
            return opens;
        });
    }
    ~DesktopSpy() { platform::SetTargetOpener({}); }
};

// A list of each kind the Lobby prints, as its page would hand it over.
print::ReportTable ListOf(const QString& list, int dataRows) {
    const QString headings = QStringLiteral("Name|Organization|Hours");
    if (list == QStringLiteral("name"))
        return MakeTable(print::NameListReport, headings, NameRows(dataRows));
    if (list == QStringLiteral("course"))
        return MakeTable(print::CourseIndexReport, headings, NameRows(dataRows));
    const bool search = list == QStringLiteral("search");
    print::ReportTable table =
        MakeTable(search ? print::SearchResultsReport : print::AnnualSummaryReport, headings,
                  NameRows(dataRows));
    if (search)
        DescribeSearch(table, {QStringLiteral("Course Code Searched: |FA")}, true);
    else
        DescribeSummary(table, QStringLiteral("2024"), QStringLiteral("Total hours: 8.0"));
    return table;
}

// `table` holds what `grid` shows: its first `columns` headings and, row by row in the grid's
// order, the cells under them; each row's identity reads back as exactly `identityOf` the
// record numbered in the grid's `recNumCol` (no identity when that is absent).
void CheckTable(const print::ReportTable& table, const FlexGrid& grid, int columns, int recNumCol,
                const std::function<double(qint32)>& identityOf) {
    QCOMPARE(int(table.columns.size()), columns);
    for (int c = 0; c < columns; ++c)
        QCOMPARE(table.columns[std::size_t(c)].heading, grid.TextMatrix(0, c));
    QCOMPARE(int(table.rows.size()), grid.Rows() - 1);
    for (int r = 1; r < grid.Rows(); ++r) {
        const print::ReportRow& row = table.rows[std::size_t(r - 1)];
        for (int c = 0; c < columns; ++c)
            QCOMPARE(row.cells.value(c), grid.TextMatrix(r, c));
        const qint32 recNum = grid.TextMatrix(r, recNumCol).toInt();
        if (identityOf) // exactly: QCOMPARE would forgive the last digits
            QVERIFY2(row.identity.toDouble() == identityOf(recNum), qPrintable(row.identity));
        else
            QVERIFY(row.identity.isEmpty());
    }
}

} // namespace

class TestListPrintouts : public QObject {
    Q_OBJECT

private slots:
    void pageEstimates_data() {
        QTest::addColumn<int>("dataRows");
        QTest::addColumn<int>("pages");
        QTest::newRow("none") << 0 << 1;
        QTest::newRow("24: half a page rounds to even 0, at least 1") << 24 << 1;
        QTest::newRow("30") << 30 << 1;
        QTest::newRow("49") << 49 << 1;
        QTest::newRow("72: one and a half rounds to 2") << 72 << 2;
        QTest::newRow("100") << 100 << 2;
        QTest::newRow("120: two and a half rounds to 2") << 120 << 2;
        QTest::newRow("168: three and a half rounds to 4") << 168 << 4;
    }
    void pageEstimates() {
        QFETCH(int, dataRows);
        QFETCH(int, pages);
        QCOMPARE(print::PageEstimate(dataRows + 1), pages);
    }

    void listConfirmations_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("dataRows");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("printedLast"); // empty: nothing printed
        const QString end = QStringLiteral("End of Printout");
        QTest::newRow("name list, yes") << "name" << 100 << "Print the Name List?" << 2 << 1 << end;
        QTest::newRow("name list, no") << "name" << 30 << "Print the Name List?" << 1 << 2 << "";
        QTest::newRow("name list, Esc") << "name" << 30 << "Print the Name List?" << 1 << 0 << "";
        QTest::newRow("course index, yes")
            << "course" << 72 << "Print the Course Index?" << 2 << 1 << end;
        QTest::newRow("course index, no")
            << "course" << 72 << "Print the Course Index?" << 2 << 2 << "";
        QTest::newRow("search results, yes")
            << "search" << 49 << "Print the Search/Summary List?" << 1 << 1 << end;
        QTest::newRow("annual summary, yes")
            << "summary" << 49 << "Print the Search/Summary List?" << 1 << 1 << "Total hours: 8.0";
        QTest::newRow("annual summary, closed")
            << "summary" << 49 << "Print the Search/Summary List?" << 1 << 0 << "";
    }
    void listConfirmations() {
        QFETCH(QString, list);
        QFETCH(int, dataRows);
        QFETCH(QString, title);
        QFETCH(int, pages);
        QFETCH(int, button);
        QFETCH(QString, printedLast);
        TestFolder folder;
        Window window;
        const print::ReportTable table = ListOf(list, dataRows);
        RecordedOutput recorded;
        ScriptedAnswers answers;
        answers.expectMessage(title, button);
        if (list == QStringLiteral("name"))
            print::PrintNameList(table, window);
        else if (list == QStringLiteral("course"))
            print::PrintCourseIndex(table, window);
        else
            print::PrintSearchSummary(table, window);
        QVERIFY(answers.verifyDone());
        const ScriptedAnswers::Asked& asked = answers.lastAsked();
        QCOMPARE(asked.lines, Confirmation(pages));
        QCOMPARE(asked.icon, 3);
        QCOMPARE(asked.defaultButton, 2);
        QCOMPARE(asked.buttons, YesNoPrint);

        const RecordingPageWriter& out = recorded.out;
        if (printedLast.isEmpty()) {
            QVERIFY(out.texts.isEmpty());
            QCOMPARE(out.documentsEnded, 0);
        } else {
            QCOMPARE(out.texts.constLast().text, printedLast);
            QCOMPARE(out.documentsEnded, 1);
            QCOMPARE(out.Find(QStringLiteral("Course Code Searched: ")) != nullptr,
                     list == QStringLiteral("search"));
        }
        QVERIFY(window.isEnabled());
    }

    // The search and summary reports print the criteria, the year and the total as the
    // Lobby's search page shows them, under the Name List's heading.
    void searchSummaryTextsReadFromTheLobby() {
        TestFolder folder;
        lobbytest::WriteUser();
        lobbytest::WritePersons({{"Ann", "Lee"}, {"Bob", "Moe"}});
        store::TrainingRecord record;
        record.TrainingDate = formats::DateValue(QDateTime(QDate(2024, 3, 1), QTime(9, 0)));
        record.PersonKey = formats::WholeSecondValue(lobbytest::StampOf(1));
        record.CourseCode = QStringLiteral("FA-1");
        record.Hours = 8;
        record.CourseName = QStringLiteral("Firearms");
        record.Comments = QStringLiteral("night");
        QVERIFY(recordfiles::WriteTrainings({record}));
        lobbytest::SignIn(4);
        auto lobby = lobbytest::OpenLobby();
        lobby->tabMain->setCurrentIndex(frmLobby::SearchOptionsPage);
        const search::SearchControls& c = lobby->searchControls;
        const QStringList values = {"01/01/2024", "06/30/2024", "FA", "nigh", "ARM"};
        for (std::size_t i = 0; i < 5; ++i)
            c.txtMatch[i]->setText(values[int(i)]);
        c.optMatch[2]->click();
        c.cmdMatch->Click();
        const auto printed = [&] {
            RecordedOutput recorded;
            ScriptedAnswers answers;
            answers.expectMessage(QStringLiteral("Print the Search/Summary List?"), 1);
            c.cmdSummaryPrint->Click();
            QStringList texts;
            for (const Text& t : recorded.out.texts)
                texts << t.text;
            c.cmdFinishedSummary->Click();
            return texts;
        };
        QStringList texts = printed();
        for (const QString& text :
             {QStringLiteral("Date Range Searched: "), QStringLiteral("01/01/2024 to 06/30/2024"),
              QStringLiteral("Course Code Searched: "), QStringLiteral("FA"),
              QStringLiteral("Course Name Searched: "), QStringLiteral("ARM"),
              QStringLiteral("Training Comments Searched: "), QStringLiteral("nigh"),
              QStringLiteral("The below is a list of all active persons"),
              QStringLiteral("that have training records that do NOT match the above criteria"),
              QStringLiteral("Bob Moe")})
            QVERIFY2(texts.contains(text), qPrintable(text));

        c.optSearch[2]->click();
        c.txtSummaryYear->setText(QStringLiteral("2024"));
        c.cmdAnnualSummary->Click();
        texts = printed();
        QVERIFY(texts.contains(QStringLiteral("and their total training hours for the year 2024")));
        QCOMPARE(texts.constLast(), QStringLiteral("Total Hours: 8"));
    }

    // Each list hands over what it shows, in the order shown, with each record's identity
    // exactly as stored: one created on half a second keeps the half.
    void listsHandOverWhatTheyShow() {
        TestFolder folder;
        lobbytest::WriteUser();
        lobbytest::WritePersons({{"Cy", "Cole", {}, true, "North"},
                                 {"Ann", "Able"},
                                 {"Bob", "Moe", "J", true, "South"}});
        store::PersonRecord cy = recordfiles::ReadPerson(1);
        cy.DateCreated += 0.5 / 86400;
        QVERIFY(recordfiles::WritePersons({cy}, 1));
        lobbytest::WriteCourses({{"ZZ-9", "Zeta", 1.25f, "Range"}, {"AA-1", "Alpha", 0}});
        QList<store::TrainingRecord> records;
        for (const int day : {3, 1, 2}) {
            store::TrainingRecord record;
            record.TrainingDate = formats::DateValue(QDateTime(QDate(2024, 3, day), QTime(9, 0)));
            record.PersonKey = cy.DateCreated;
            record.CourseCode = QStringLiteral("ZZ-9");
            record.Hours = 0.5f * float(day);
            records << record;
        }
        QVERIFY(recordfiles::WriteTrainings(records));
        lobbytest::SignIn(4);
        auto lobby = lobbytest::OpenLobby();
        const auto person = [](qint32 n) { return recordfiles::ReadPerson(n).DateCreated; };
        CheckTable(lobby->Names().Table(), *lobby->nameControls.gridName, 2, 4, person);
        CheckTable(lobby->Courses().Table(), *lobby->courseControls.gridCourse, 4, 5,
                   [](qint32 n) { return recordfiles::ReadCourse(n).DateCreated; });
        const search::SearchControls& c = lobby->searchControls;
        c.txtMatch[2]->setText(QStringLiteral("ZZ"));
        c.cmdMatch->Click();
        CheckTable(lobby->SearchPages().Table(), *c.gridSummary, 2, 4, person);

        training::HistorySubject subject;
        subject.person = {QStringLiteral("Cy Cole"), 1};
        subject.session.level = AccessLevelOf(4);
        frmTrainingHistory history(nullptr, subject);
        history.show();
        CheckTable(history.Table(), *history.gridTraining, 5, training::RecNum, {});
        QCOMPARE(history.Table().rows.at(0).cells.at(0), QStringLiteral("03/01/2024"));
    }

    void trainingHistoryConfirmation_data() {
        QTest::addColumn<StandardAnswer>("answer");
        QTest::addColumn<bool>("printed");
        QTest::newRow("yes") << StandardAnswer::Yes << true;
        QTest::newRow("no") << StandardAnswer::No << false;
        QTest::newRow("closed") << StandardAnswer::None << false;
    }
    void trainingHistoryConfirmation() {
        QFETCH(StandardAnswer, answer);
        QFETCH(bool, printed);
        TestFolder folder;
        Window window;
        const print::ReportTable table = MakeTable(
            print::TrainingHistoryReport, QStringLiteral("Date|Code|Course|Provided By|Hours"),
            {QStringLiteral("03/01/2024\tFA\tFirst Aid\tRed Cross\t8")});
        RecordedOutput recorded;
        ScriptedAnswers answers;
        answers.expectStandard(answer, QStringLiteral("Print the Training History?"));
        print::PrintTrainingHistory(table, window);
        QVERIFY(answers.verifyDone());
        QCOMPARE(answers.lastAsked().lines, Confirmation(1));
        QCOMPARE(answers.lastAsked().icon, static_cast<int>(platform::StandardIcon::None));
        QCOMPARE(answers.lastAsked().buttons, QStringList({"Yes", "No"}));
        QCOMPARE(recorded.out.Find(QStringLiteral("8.0")) != nullptr, printed);
        QCOMPARE(recorded.out.documentsEnded, printed ? 1 : 0);
    }

    void helpTopicPrintsWithoutAsking() {
        TestFolder folder;
        Window window;
        RecordedOutput recorded;
        ScriptedAnswers answers; // no question expected
        // The help box hands its lines over separated by LF alone.
        print::PrintHelpTopic(window, QStringLiteral("First line\nSecond"),
                              QStringLiteral(" Getting Started"));
        QVERIFY(answers.verifyDone());
        const RecordingPageWriter& out = recorded.out;
        const Text& title = out.texts.at(0);
        QCOMPARE(title.text, QStringLiteral("Mirtavel, Help Section:  Getting Started"));
        QVERIFY(title.font.underline);
        QCOMPARE(title.font.name, QStringLiteral("Arial"));
        QCOMPARE(title.font.size, 10.0);
        QCOMPARE(out.texts.at(1).text, QStringLiteral("F"));
        QVERIFY(!out.texts.at(1).font.underline);
        const Text* second = out.Find(QStringLiteral("S"));
        QVERIFY(second);
        QCOMPARE(second->x, 1.0);
        QVERIFY(second->y > out.texts.at(1).y);
        QVERIFY(!out.Find(QStringLiteral("\n")));
        QCOMPARE(out.documentsEnded, 1);
        QVERIFY(window.isEnabled());
    }

    void lobbyPrintButtons() {
        TestFolder folder;
        lobbytest::WriteUser();
        lobbytest::WritePersons({{"Ann", "Lee"}, {"Bob", "Moe"}});
        lobbytest::WriteCourses({{"FA-101", "First Aid", 7.5f, "Red Cross"}});
        lobbytest::SignIn(4);
        auto lobby = lobbytest::OpenLobby();
        lobby->tabMain->setCurrentIndex(frmLobby::CourseIndexPage);
        {
            RecordedOutput recorded;
            ScriptedAnswers answers;
            answers.expectMessage(QStringLiteral("Print the Name List?"), 1)
                .expectMessage(QStringLiteral("Print the Course Index?"), 1);
            emit lobby->nameControls.cmdPrintNameList->Click();
            emit lobby->courseControls.cmdPrintCourseIndex->Click();
            QVERIFY(answers.verifyDone());
            QStringList printed;
            for (const Text& t : recorded.out.texts)
                printed << t.text;
            for (const char* text : {"Ann Lee", "Bob Moe", "FA-101", "First Aid", "7.5"})
                QVERIFY2(printed.contains(QLatin1String(text)), text);
            QCOMPARE(recorded.out.documentsEnded, 2);
            QVERIFY(lobby->isEnabled());
        }
        // The menu of each print button offers the preview, a PDF and a CSV file, and screen
        // readers offer it.
        for (ZovButton* button :
             {lobby->nameControls.cmdPrintNameList, lobby->courseControls.cmdPrintCourseIndex}) {
            QStringList actions;
            for (QAction* action : button->actions())
                actions << action->text();
            QCOMPARE(actions,
                     QStringList({"Print Pre&view...", "Save as &PDF...", "&Export to CSV..."}));
            QCOMPARE(button->contextMenuPolicy(), Qt::ActionsContextMenu);
            QAccessibleInterface* access = QAccessible::queryAccessibleInterface(button);
            QVERIFY(access && access->actionInterface());
            QVERIFY(access->actionInterface()->actionNames().contains(
                QAccessibleActionInterface::showMenuAction()));
        }
        // The preview asks nothing first and shows the pages.
        int previewPages = 0;
        ScriptedAnswers answers;
        answers.expectWindow(
            [&](QWidget* window) {
                auto* preview = window->findChild<QPrintPreviewWidget*>();
                QVERIFY(preview);
                preview->updatePreview();
                previewPages = preview->pageCount();
            },
            QStringLiteral("Mirtavel - Print Preview: Name List"));
        lobby->nameControls.cmdPrintNameList->actions().at(0)->trigger();
        QVERIFY(answers.verifyDone());
        QCOMPARE(previewPages, 1);
        QVERIFY(lobby->isEnabled());
    }

    void pdfChosenIsWrittenAndOpened() {
        TestFolder folder;
        Window window;
        const print::ReportTable table =
            MakeTable(print::NameListReport, NameHeadings, NameRows(3));
        DesktopSpy desktop;
        const QString path = folder.filePath(QStringLiteral("names"));
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Print the Name List?"), 1).expectSaveFile(path);
        print::PrintNameList(table, window, Output::Pdf);
        QVERIFY(answers.verifyDone());
        QVERIFY(
            answers.lastAsked().defaultText.endsWith(QStringLiteral("/Name List 2024-03-15.pdf")));
        // A name without an ending gets ".pdf".
        QVERIFY(QFile::exists(path + QStringLiteral(".pdf")));
        QCOMPARE(desktop.opened, QList<QUrl>({QUrl::fromLocalFile(path + QStringLiteral(".pdf"))}));
        QVERIFY(window.isEnabled());
    }

    void pdfCancelledPrintsNothingAndTellsNothing() {
        TestFolder folder;
        Window window;
        const print::ReportTable table =
            MakeTable(print::CourseIndexReport, NameHeadings, NameRows(3));
        DesktopSpy desktop;
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Print the Course Index?"), 1).expectSaveFile({});
        print::PrintCourseIndex(table, window, Output::Pdf);
        QVERIFY(answers.verifyDone());
        QVERIFY(desktop.opened.isEmpty());
    }

    void failuresAreTold_data() {
        QTest::addColumn<QString>("answerPath"); // relative to the test folder; empty: Cancel
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("cause");
        QTest::newRow("no printer, no PDF")
            << "" << true << "Printing Problem"
            << "There is no default printer, and no PDF file was chosen to print to instead.";
        QTest::newRow("PDF folder missing") << "missing/list.pdf" << true << "Printing Problem"
                                            << "The PDF file could not be written:";
        QTest::newRow("no viewer") << "list.pdf" << false << "Printout Saved"
                                   << "The printout was saved as";
    }
    void failuresAreTold() {
        QFETCH(QString, answerPath);
        QFETCH(bool, opens);
        QFETCH(QString, title);
        QFETCH(QString, cause);
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("this desktop has a default printer; nothing is to be printed on it");
        TestFolder folder;
        Window window;
        const print::ReportTable table =
            MakeTable(print::NameListReport, NameHeadings, NameRows(3));
        DesktopSpy desktop(opens);
        const QString path = answerPath.isEmpty() ? QString() : folder.filePath(answerPath);
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Print the Name List?"), 1)
            .expectSaveFile(path)
            .expectMessage(title, 1);
        print::PrintNameList(table, window);
        QVERIFY(answers.verifyDone());
        const QStringList lines = answers.lastAsked().lines;
        QVERIFY2(lines.contains(cause), qPrintable(lines.join(u'|')));
        if (!path.isEmpty())
            QVERIFY(lines.contains(QDir::toNativeSeparators(path)));
        if (answerPath.startsWith(QStringLiteral("missing")))
            QVERIFY(lines.contains(QStringLiteral("No such file or directory")));
        QVERIFY(window.isEnabled());
        QVERIFY(!window.IsBusy());
    }
};

QTEST_MAIN(TestListPrintouts)
#include "test_listprintouts.moc"
