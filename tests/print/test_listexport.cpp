// "Export to CSV..." on every list: the file saved through the window holds the rows and
// visible columns the list shows, in its order and under its headings, the hours exactly as
// stored, each record's exact identity, and for searches and summaries the employee ID and
// organization; it is read back here with a reader of its own.

#include "SigninTesting.h"
#include "courses/CoursePage.h"
#include "lobby/NamePage.h"
#include "lobby/test_lobby_data.h"
#include "search/SearchControls.h"
#include "signin/AccessCode.h"
#include "signin/UserList.h"
#include "signin/frmAdmin.h"
#include "store/Formats.h"
#include "store/UserLog.h"
#include "support/RecordFiles.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "training/frmTrainingHistory.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>
#include <functional>

namespace {

const QString Code = QStringLiteral("Sergeant42");

// RFC 4180 as a spreadsheet reads it: quoted fields may hold commas, doubled quotes and line
// breaks; every row ends in CR LF.
QList<QStringList> ReadCsv(const QString& text) {
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    // The character after `i`, or none at the end.
    const auto next = [&text](qsizetype i) { return i + 1 < text.size() ? text[i + 1] : QChar(); };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && next(i) == u'"')
                field += text[++i];
            else if (c == u'"')
                quoted = false;
            else
                field += c;
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row << std::exchange(field, {});
        } else if (c == u'\r' && next(i) == u'\n') {
            row << std::exchange(field, {});
            rows << std::exchange(row, {});
            ++i;
        } else {
            field += c;
        }
    }
    return rows;
}

// A text field as a spreadsheet must not run it: one that would be a formula gets a quote.
QString Guarded(const QString& text) {
    return QStringLiteral("=+-@").contains(text.left(1)) && !text.isEmpty() ? u'\'' + text : text;
}

// What one list's export must hold besides its grid: the hours of a row exactly (by the
// row's cells), the extra fields of a row, and the identity stored for a row.
struct Expected {
    FlexGrid* grid = nullptr;
    int shownColumns = 0;
    int hoursColumn = -1;
    std::function<QString(const QStringList&)> exactHours;
    QStringList extraHeadings;
    std::function<QStringList(const QStringList&)> extra;
    QString identityHeading; // empty: none
    std::function<double(const QStringList&)> identity;
};

// The persons, courses and records every Lobby list shows. Ann's name holds a quote and a
// comma, her organization and a course name begin with "=", she was created on a half second,
// and her hours are 0.25 and 1.2, which the lists show rounded.
void WriteLobbyData() {
    lobbytest::WriteUser();
    lobbytest::WritePersons(
        {{"Ann \"Red\"", "Lee, Jr", {}, true, "=1+2"}, {"Bob", "Moe", {}, true, "South"}});
    store::PersonRecord ann = recordfiles::ReadPerson(1);
    ann.DateCreated += 0.5 / 86400;
    ann.EmployeeID = QStringLiteral("E-77");
    store::PersonRecord bob = recordfiles::ReadPerson(2);
    bob.EmployeeID = QStringLiteral("B2");
    QVERIFY(recordfiles::WritePersons({ann, bob}, 1));
    lobbytest::WriteCourses({{"RG-2", "Range, \"night\"", 1.2f, "County"},
                             {"FA-1", "=First Aid", 0.25f, "Red Cross"},
                             {"AA-0", "Firearms", 0}});
    QList<store::TrainingRecord> records;
    for (const auto& [day, code, hours] :
         {std::tuple{1, "FA-1", 0.25f}, std::tuple{2, "RG-2", 1.2f}}) {
        store::TrainingRecord record;
        record.TrainingDate = formats::DateValue(QDateTime(QDate(2024, 3, day), QTime(9, 0)));
        record.PersonKey = ann.DateCreated;
        record.CourseCode = QString::fromLatin1(code);
        record.CourseName = day == 1 ? QStringLiteral("=First Aid") : QStringLiteral("Range");
        record.Hours = hours;
        records << record;
    }
    QVERIFY(recordfiles::WriteTrainings(records));
    lobbytest::SignIn(4);
}

QString ExactHoursOfCode(const QString& code) {
    if (code == QStringLiteral("FA-1"))
        return QStringLiteral("0.25");
    if (code == QStringLiteral("RG-2"))
        return QStringLiteral("1.2");
    return {};
}

double PersonIdentity(const QString& name) {
    return recordfiles::ReadPerson(name.startsWith(QStringLiteral("Ann")) ? 1 : 2).DateCreated;
}

QString EmployeeId(const QString& name) {
    return name.startsWith(QStringLiteral("Ann")) ? QStringLiteral("E-77") : QStringLiteral("B2");
}

QAction* ExportAction(ZovButton* button) {
    for (QAction* action : button->actions()) {
        if (action->text() == QStringLiteral("&Export to CSV..."))
            return action;
    }
    return nullptr;
}

} // namespace

class TestListExport : public QObject {
    Q_OBJECT

    QString codeRecord_;

    // Answers the save dialog of an export with `path` while `start` runs, and checks the
    // name suggested.
    static void Export(const std::function<void()>& start, const QString& path,
                       const QString& suggested) {
        ScriptedAnswers answers;
        answers.expectSaveFile(path);
        start();
        QVERIFY(answers.verifyDone());
        QVERIFY2(answers.lastAsked().defaultText.endsWith(u'/' + suggested),
                 qPrintable(answers.lastAsked().defaultText));
    }

    // The file at `path` holds what `e.grid` shows, as `e` describes it.
    static void CheckFile(const QString& path, const Expected& e) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QVERIFY(bytes.endsWith("\r\n"));
        const QList<QStringList> rows = ReadCsv(QString::fromUtf8(bytes.mid(3)));
        const FlexGrid& grid = *e.grid;
        QStringList headings;
        for (int c = 0; c < e.shownColumns; ++c)
            headings << grid.TextMatrix(0, c);
        headings << e.extraHeadings;
        if (!e.identityHeading.isEmpty())
            headings << e.identityHeading;
        QCOMPARE(rows.value(0), headings);
        QCOMPARE(rows.size(), grid.Rows());
        for (int r = 1; r < grid.Rows(); ++r) {
            QStringList shown;
            for (int c = 0; c < e.shownColumns; ++c)
                shown << grid.TextMatrix(r, c);
            QStringList expected;
            for (int c = 0; c < e.shownColumns; ++c)
                expected << (c == e.hoursColumn ? e.exactHours(shown) : Guarded(shown[c]));
            if (e.extra) {
                for (const QString& field : e.extra(shown))
                    expected << Guarded(field);
            }
            QStringList fields = rows[r];
            if (e.identity) {
                // Exactly: the text must read back as the very number stored.
                const double stored = e.identity(shown);
                QVERIFY2(fields.constLast().toDouble() == stored,
                         qPrintable(fields.constLast() + QStringLiteral(" != ") +
                                    QString::number(stored, 'g', 17)));
                fields.removeLast();
            }
            QCOMPARE(fields, expected);
        }
    }

private slots:
    void initTestCase() { codeRecord_ = signin::MakeAccessCodeRecord(Code); }

    void lobbyListsExportWhatTheyShow_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("suggested");
        QTest::newRow("name list") << "name"
                                   << "Name List 2024-03-15.csv";
        QTest::newRow("course index") << "course"
                                      << "Course Index 2024-03-15.csv";
        QTest::newRow("training history") << "history"
                                          << "Training History 2024-03-15.csv";
        QTest::newRow("search results") << "search"
                                        << "Search Results 2024-03-15.csv";
        QTest::newRow("annual summary") << "summary"
                                        << "Annual Summary 2024-03-15.csv";
    }
    void lobbyListsExportWhatTheyShow() {
        QFETCH(QString, list);
        QFETCH(QString, suggested);
        TestFolder folder;
        WriteLobbyData();
        auto lobby = lobbytest::OpenLobby();
        const search::SearchControls& s = lobby->searchControls;
        std::unique_ptr<frmTrainingHistory> history;
        const auto person = [](const QStringList& shown) { return PersonIdentity(shown[0]); };
        ZovButton* button = nullptr;
        Expected e;
        if (list == QStringLiteral("name")) {
            button = lobby->nameControls.cmdPrintNameList;
            e = {lobby->nameControls.gridName, 2, -1, {}, {}, {}, "Person Identity", person};
        } else if (list == QStringLiteral("course")) {
            button = lobby->courseControls.cmdPrintCourseIndex;
            e = {lobby->courseControls.gridCourse,
                 4,
                 3,
                 [](const QStringList& shown) { return ExactHoursOfCode(shown[0]); },
                 {},
                 {},
                 "Course Identity",
                 [](const QStringList& shown) {
                     const QString code = shown[0];
                     const int n = code == "RG-2" ? 1 : code == "FA-1" ? 2 : 3;
                     return recordfiles::ReadCourse(n).DateCreated;
                 }};
        } else if (list == QStringLiteral("history")) {
            training::HistorySubject subject;
            subject.person = {QStringLiteral("Ann \"Red\" Lee, Jr"), 1};
            subject.session.level = AccessLevelOf(4);
            history = std::make_unique<frmTrainingHistory>(nullptr, subject);
            history->show();
            button = history->cmdPrintTraining;
            e = {history->gridTraining,
                 5,
                 4,
                 [](const QStringList& shown) { return ExactHoursOfCode(shown[1]); },
                 {},
                 {},
                 {},
                 {}};
        } else if (list == QStringLiteral("search")) {
            s.txtMatch[2]->setText(QStringLiteral("FA"));
            s.cmdMatch->Click();
            button = s.cmdSummaryPrint;
            e = {s.gridSummary,
                 2,
                 -1,
                 {},
                 {"Employee ID"},
                 [](const QStringList& shown) { return QStringList{EmployeeId(shown[0])}; },
                 "Person Identity",
                 person};
        } else {
            s.optSearch[2]->click();
            s.txtSummaryYear->setText(QStringLiteral("2024"));
            s.cmdAnnualSummary->Click();
            button = s.cmdSummaryPrint;
            e = {s.gridSummary,
                 3, // the organization is shown
                 1,
                 [](const QStringList& shown) { return shown[1]; },
                 {"Employee ID"},
                 [](const QStringList& shown) { return QStringList{EmployeeId(shown[0])}; },
                 "Person Identity",
                 person};
        }
        QVERIFY(e.grid->Rows() > 1);
        QAction* action = ExportAction(button);
        QVERIFY(action);
        const QString path = folder.filePath(QStringLiteral("list"));
        Export([action] { action->trigger(); }, path, suggested);
        // A name without an ending gets ".csv".
        CheckFile(path + QStringLiteral(".csv"), e);
        if (list == QStringLiteral("summary")) // the hours added exactly: 0.25 + 1.2
            QCOMPARE(e.grid->TextMatrix(1, 1), QStringLiteral("1.45"));
    }

    void adminListsExportWhatTheyShow() {
        signintest::AdminFolder folder(codeRecord_);
        signintest::AddUser(QStringLiteral("Ann \"Red\""), QStringLiteral("Lee, Jr"),
                            QStringLiteral("pw12"), 4);
        signintest::AddUser(QStringLiteral("=Bob"), QStringLiteral("Moe"), QStringLiteral("pw34"),
                            1);
        QVERIFY(store::AppendUserLog(store::UserLogEvent::SignIn, QStringLiteral("=Bob Moe"),
                                     QStringLiteral("Read Only"))
                    .ok());
        QVERIFY(store::AppendUserLog(store::UserLogEvent::SignOut, QStringLiteral("=Bob Moe"), {})
                    .ok());
        frmAdmin admin;
        admin.show();
        QVERIFY(!admin.cmdExport->isVisible()); // signing in offers no export
        {
            ScriptedAnswers answers;
            answers.expectInput(Code, QStringLiteral("Access Code Required"));
            signintest::Press(admin.cmdAdmin);
            QVERIFY(answers.verifyDone());
        }
        const QString users = QDir::current().filePath(QStringLiteral("users.csv"));
        Export([&] { signintest::Press(admin.cmdExport); }, users, "User List 2024-03-15.csv");
        CheckFile(users,
                  {admin.grid, 3, -1, {}, {}, {}, "User Identity", [](const QStringList& shown) {
                       store::UserRecord user;
                       const qint32 n = shown[0].startsWith(QStringLiteral("Ann")) ? 1 : 2;
                       return signin::ReadUser(n, user).ok() ? user.DateCreated : -1.0;
                   }});

        signintest::Press(admin.cmdReviewUserLog);
        QVERIFY(admin.IsViewingLog());
        admin.txtUserLog->setPlainText(QStringLiteral("typed over")); // never saved
        const QString log = QDir::current().filePath(QStringLiteral("log.csv"));
        Export([&] { signintest::Press(admin.cmdExport); }, log, "User Log 2024-03-15.csv");
        QFile file(log);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(ReadCsv(QString::fromUtf8(file.readAll().mid(3))),
                 QList<QStringList>(
                     {{"Date", "Time", "Event"},
                      {"03/15/2024", "10:30:00", "'=Bob Moe logged in w/ Read Only privileges."},
                      {"03/15/2024", "10:30:00", "'=Bob Moe logged out."}}));
    }

    // A file that cannot be written is told with its path and the reason, and nothing of it
    // is left behind; a cancelled dialog writes nothing and tells nothing.
    void failureIsToldAndCancelWritesNothing() {
        TestFolder folder;
        WriteLobbyData();
        auto lobby = lobbytest::OpenLobby();
        QAction* action = ExportAction(lobby->nameControls.cmdPrintNameList);
        QVERIFY(action);
        const QString path = folder.filePath(QStringLiteral("missing/names.csv"));
        ScriptedAnswers answers;
        answers.expectSaveFile(path).expectMessage(QStringLiteral("File Not Saved"), 1);
        action->trigger();
        QVERIFY(answers.verifyDone());
        const QStringList lines = answers.lastAsked().lines;
        QVERIFY2(lines.contains(QDir::toNativeSeparators(path)), qPrintable(lines.join(u'|')));
        QVERIFY2(lines.contains(QStringLiteral("No such file or directory")),
                 qPrintable(lines.join(u'|')));
        answers.expectSaveFile({});
        action->trigger();
        QVERIFY(answers.verifyDone());
        QCOMPARE(QDir(folder.path()).entryList({QStringLiteral("*.csv*")}, QDir::Files),
                 QStringList());
    }
};

QTEST_MAIN(TestListExport)
#include "test_listexport.moc"
