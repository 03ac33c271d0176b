// Crediting a course from the Lobby: the window's choices, what it writes, and a write that
// fails leaving Training.Records as it was.

#include "courses/CourseGrid.h"
#include "forms/ListGrid.h"
#include "lobby/test_lobby_data.h"
#include "store/Formats.h"
#include "store/PersonTraining.h"
#include "store/RecordStore.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "training/CommentsBox.h"
#include "training/frmCreditTraining.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTextDocument>
#include <csignal>
#include <sys/resource.h>

using namespace lobbytest;

namespace {

const QList<Person> kPersons = {{"Ann", "Able"}, {"Bob", "Baker"}, {"Cy", "Cole"}, {"Di", "Dunn"}};

QByteArray FileBytes(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::vector<store::TrainingRecord> AllTrainings() {
    std::vector<store::TrainingRecord> all;
    auto& table = store::Trainings();
    if (!table.Open())
        return all;
    for (qint32 n = 1; n <= table.Count(); ++n) {
        if (table.Read(n))
            all.push_back(table.Buffer());
    }
    table.Close();
    return all;
}

// A credit window for course 1 over the four persons, shown.
std::unique_ptr<frmCreditTraining> OpenWindow(const training::HighlightedCourse& course = {
                                                  1, "FIR-101", "Firearms", "Range", "8.0"}) {
    QList<training::ListedPerson> persons;
    for (int i = 0; i < kPersons.size(); ++i)
        persons << training::ListedPerson{kPersons[i].first + u' ' + kPersons[i].last, i + 1};
    SignIn(3); // the Lobby offers the credit from Read/Edit/Add
    auto window = std::make_unique<frmCreditTraining>(nullptr, TestSession(), course, persons);
    window->show();
    return window;
}

void Select(frmCreditTraining& window, const QList<int>& rows) {
    window.listNames->clearSelection();
    for (int row : rows)
        window.listNames->item(row)->setSelected(true);
}

} // namespace

class TestCreditTraining : public QObject {
    Q_OBJECT

private slots:
    // Three persons chosen in the Lobby's list order, the date and a comment with blanks:
    // three records after the existing one, the Lobby's buttons set up again.
    void creditsThePersonsChosenFromTheLobby() {
        TestFolder folder;
        WritePersons(kPersons);
        WriteCourses({{"FIR-101", "Firearms", 8, "Range"}, {"HEAD", "Category", 0}});
        WriteTrainings(1, 0);
        SignIn(3);
        ScriptedAnswers answers;
        auto lobby = OpenLobby();
        FlexGrid& courses = *lobby->courseControls.gridCourse;
        const int fir = listgrid::FindRow(courses, coursegrid::Code,
                                          [](const QString& c) { return c == "FIR-101"; });
        listgrid::SelectRow(courses, fir, coursegrid::LastShownCol, false);

        answers.expectWindow([](QWidget* w) {
            auto* window = qobject_cast<frmCreditTraining*>(w);
            QVERIFY(window);
            QCOMPARE(window->lblCourseInfo->text(),
                     QStringLiteral("\n  FIR-101\n  Firearms\n  Range\n  8.0 hours"));
            QCOMPARE(window->listNames->count(), 4);
            QTest::keyClicks(window->txtDate, QStringLiteral("06/15/2026"));
            Select(*window, {3, 0, 2});
            window->txtComments->setPlainText(QStringLiteral("  range day  "));
            window->cmdSave->Click();
        });
        lobby->courseControls.cmdCreditTraining->Click();
        QVERIFY(answers.verifyDone());

        const auto all = AllTrainings();
        QCOMPARE(all.size(), std::size_t(4));
        const QStringList names = ColumnTexts(*lobby->nameControls.gridName, 0);
        QCOMPARE(names.first(), QStringLiteral("Ann Able"));
        const double expectedKeys[] = {formats::WholeSecondValue(StampOf(1)),
                                       formats::WholeSecondValue(StampOf(3)),
                                       formats::WholeSecondValue(StampOf(4))};
        for (int i = 0; i < 3; ++i) {
            const store::TrainingRecord& t = all[std::size_t(i + 1)];
            QCOMPARE(t.PersonKey, expectedKeys[i]);
            QCOMPARE(t.TrainingDate, formats::DateValue(QDate(2026, 6, 15)));
            QCOMPARE(t.CourseKey, formats::WholeSecondValue(StampOf(1001)));
            QCOMPARE(t.CourseCode, QStringLiteral("FIR-101"));
            QCOMPARE(t.Hours, 8.0f);
            QCOMPARE(t.Comments.trimmed(), QStringLiteral("range day"));
            QVERIFY(t.Comments.startsWith(QStringLiteral("range day")));
        }
        QVERIFY(lobby->nameControls.cmdTrainingHistory->isEnabled());

        // A heading without hours opens nothing (an unexpected window would fail here).
        const int head = listgrid::FindRow(courses, coursegrid::Code,
                                           [](const QString& c) { return c == "HEAD"; });
        listgrid::SelectRow(courses, head, coursegrid::LastShownCol, false);
        lobby->courseControls.cmdCreditTraining->Click();
        QVERIFY(answers.verifyDone());
    }

    // Credit hidden until a date and a name are there, then greyed while either is missing.
    void creditShowsThenGreys() {
        TestFolder folder;
        auto window = OpenWindow();
        QVERIFY(window->cmdSave->isHidden());
        QCOMPARE(window->cmdSave->Caption(), QStringLiteral("&Credit\r\nthis Training"));
        QTest::keyClicks(window->txtDate, QStringLiteral("1/2/2025"));
        QVERIFY(window->cmdSave->isHidden());
        Select(*window, {1});
        QVERIFY(!window->cmdSave->isHidden() && window->cmdSave->isEnabled());
        QCOMPARE(window->listSelected->item(0)->text(), QStringLiteral("Bob Baker"));
        QCOMPARE(window->listSelected->item(0)->data(Qt::UserRole).toInt(), 2);
        Select(*window, {});
        QVERIFY(!window->cmdSave->isHidden() && !window->cmdSave->isEnabled());
        Select(*window, {1});
        QVERIFY(window->cmdSave->isEnabled());
        window->txtDate->clear();
        QVERIFY(!window->cmdSave->isEnabled());
    }

    // A course's text is shown as stored, never read as markup: no document is built from it.
    void markupInACourseIsShownAsText() {
        TestFolder folder;
        auto window = OpenWindow({1, "<b>X", "<font size=7>Big", "<i>Range", "8.0"});
        QCOMPARE(window->lblCourseInfo->text(),
                 QStringLiteral("\n  <b>X\n  <font size=7>Big\n  <i>Range\n  8.0 hours"));
        QVERIFY(!window->lblCourseInfo->findChild<QTextDocument*>());
    }

    void commentGauge_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("gauge");
        QTest::newRow("empty") << 0 << QString();
        QTest::newRow("one") << 1 << QStringLiteral(" 1% full ");
        QTest::newRow("half") << 92 << QStringLiteral(" 50% full ");
        QTest::newRow("cut to the field") << 200 << QStringLiteral(" 100% full ");
    }
    void commentGauge() {
        QFETCH(int, length);
        QFETCH(QString, gauge);
        TestFolder folder;
        auto window = OpenWindow();
        window->txtComments->setPlainText(QString(length, u'x'));
        QCOMPARE(window->lblSpaceFull->isHidden(), gauge.isEmpty());
        if (!gauge.isEmpty())
            QCOMPARE(window->lblSpaceFull->text(), gauge);
        QVERIFY(window->txtComments->StoredText().size() <= 184);
    }

    // A date the program cannot read, or a write that fails: nothing written, told, and the
    // window stays open with the choices as they were.
    void refusedOrFailedCreditWritesNothing_data() {
        QTest::addColumn<QString>("date");
        QTest::addColumn<int>("sizeLimit"); // bytes Training.Records may reach; 0: no limit
        QTest::addColumn<QString>("message");
        QTest::newRow("unreadable date") << "13/45/2026" << 0 << "Check the date entry";
        QTest::newRow("disk full") << "06/15/2026" << 700 << "File Problem";
    }
    void refusedOrFailedCreditWritesNothing() {
        QFETCH(QString, date);
        QFETCH(int, sizeLimit);
        QFETCH(QString, message);
        TestFolder folder;
        WritePersons(kPersons);
        WriteCourses({{"FIR-101", "Firearms", 8, "Range"}});
        WriteTrainings(2, 0);
        const QByteArray before = FileBytes(QStringLiteral("Training.Records"));
        auto window = OpenWindow();
        QTest::keyClicks(window->txtDate, date);
        Select(*window, {0, 1, 2});
        ScriptedAnswers answers;
        answers.expectMessage(message, 1);

        struct rlimit previous;
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        if (sizeLimit > 0) {
            struct rlimit small = previous;
            small.rlim_cur = rlim_t(sizeLimit);
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        }
        window->cmdSave->Click();
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, oldHandler);

        QVERIFY(answers.verifyDone());
        if (sizeLimit > 0)
            QVERIFY(answers.lastAsked().lines.join(u'\n').contains("\"Training.Records\""));
        QCOMPARE(FileBytes(QStringLiteral("Training.Records")), before);
        QVERIFY(window->isVisible());
        QVERIFY(window->isEnabled());
        QVERIFY(!window->Saved());
        QCOMPARE(window->listSelected->count(), 3);
        QCOMPARE(window->listNames->count(), 4); // back from the message: no names added again
        QCOMPARE(window->txtDate->text(), date);
    }

    void cancelWritesNothing() {
        TestFolder folder;
        auto window = OpenWindow();
        QTest::keyClicks(window->txtDate, QStringLiteral("06/15/2026"));
        Select(*window, {0});
        window->cmdCancel->Click();
        QVERIFY(!window->isVisible());
        QVERIFY(!window->Saved());
        QVERIFY(!QFile::exists(QStringLiteral("Training.Records")));
    }
};

QTEST_MAIN(TestCreditTraining)
#include "test_credittraining.moc"
