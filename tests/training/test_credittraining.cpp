// Crediting a course from the Lobby: the window's choices, what it writes, and a write that
// fails leaving Training.Records as it was.

#include "courses/CourseGrid.h"
#include "forms/ListGrid.h"
#include "lobby/test_lobby_data.h"
#include "store/FileWrite.h"
#include "store/Formats.h"
#include "store/PersonTraining.h"
#include "store/RecordStore.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "training/CommentsBox.h"
#include "training/PersonPicks.h"
#include "training/TrainingDate.h"
#include "training/frmCreditTraining.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QRadioButton>
#include <QTest>
#include <QTextDocument>
#include <cerrno>

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

// A credit window for course 1 over the four persons (Cy Cole inactive), shown.
std::unique_ptr<frmCreditTraining> OpenWindow(const training::HighlightedCourse& course = {
                                                  1, "FIR-101", "Firearms", "Range", "8.0"}) {
    QList<training::ListedPerson> persons;
    for (int i = 0; i < kPersons.size(); ++i)
        persons << training::ListedPerson{kPersons[i].first + u' ' + kPersons[i].last, i + 1,
                                          i != 2};
    SignIn(3); // the Lobby offers the credit from Read/Edit/Add
    auto window = std::make_unique<frmCreditTraining>(nullptr, TestSession(), course, persons);
    window->show();
    return window;
}

// Exactly the persons in `rows` of the unfiltered list picked.
void Select(frmCreditTraining& window, const QList<int>& rows) {
    training::PersonPicks& picks = window.Picks();
    while (picks.PickCount() > 0)
        picks.TakeOut(0);
    for (int row : rows)
        picks.Toggle(row);
}

QStringList Rows(QAbstractItemModel* model) {
    QStringList rows;
    for (int r = 0; r < model->rowCount(); ++r)
        rows << model->index(r, 0).data().toString();
    return rows;
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
            QCOMPARE(window->Picks().ShownCount(), 4);
            QTest::keyClicks(window->txtDate, QStringLiteral("06/15/2024"));
            Select(*window, {3, 0, 2});
            window->txtComments->setPlainText(QStringLiteral("  range day  "));
            window->cmdSave->Click();
        });
        answers.expectMessage(QStringLiteral("Confirm Credit"), 1)
            .expectMessage(QStringLiteral("Training Credited"), 1);
        lobby->courseControls.cmdCreditTraining->Click();
        QVERIFY(answers.verifyDone());
        QCOMPARE(answers.lastAsked().lines, QStringList{"3 training records were added."});

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
            QCOMPARE(t.TrainingDate, formats::DateValue(QDate(2024, 6, 15)));
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
        QCOMPARE(Rows(window->listSelected->model()), QStringList{"Bob Baker"});
        QCOMPARE(window->listSelected->model()->index(0, 0).data(Qt::UserRole).toInt(), 2);
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
        QTest::newRow("disk full") << "06/15/2024" << 700 << "File Problem";
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
        if (sizeLimit > 0)
            answers.expectMessage(QStringLiteral("Confirm Credit"), 1);
        answers.expectMessage(message, 1);

        // The disk fills up once Training.Records reaches the limit.
        qint64 room = sizeLimit > 0 ? sizeLimit - before.size() : 0;
        if (sizeLimit > 0)
            store::io::testing::SetWriteHook(
                [&room](const QString& name, qint64 wanted, int& error) {
                    if (name != QStringLiteral("Training.Records"))
                        return wanted;
                    const qint64 taken = std::min(room, wanted);
                    room -= taken;
                    error = taken == 0 ? ENOSPC : 0;
                    return taken;
                });
        window->cmdSave->Click();
        store::io::testing::SetWriteHook({});

        QVERIFY(answers.verifyDone());
        if (sizeLimit > 0)
            QVERIFY(answers.lastAsked().lines.join(u'\n').contains("\"Training.Records\""));
        QCOMPARE(FileBytes(QStringLiteral("Training.Records")), before);
        QVERIFY(window->isVisible());
        QVERIFY(window->isEnabled());
        QVERIFY(!window->Saved());
        QCOMPARE(window->Picks().PickCount(), 3);
        QCOMPARE(window->Picks().ShownCount(), 4); // back from the message: no names added again
        QCOMPARE(window->txtDate->text(), date);
    }

    void cancelWritesNothing() {
        TestFolder folder;
        auto window = OpenWindow();
        QTest::keyClicks(window->txtDate, QStringLiteral("06/15/2024"));
        Select(*window, {0});
        window->cmdCancel->Click();
        QVERIFY(!window->isVisible());
        QVERIFY(!window->Saved());
        QVERIFY(!QFile::exists(QStringLiteral("Training.Records")));
    }

    // Picks made by finding: each name found and picked with Enter, the find box emptied for
    // the next; a letter typed later narrows the list and keeps every pick; a pick taken out.
    void picksAreKeptWhateverIsFound() {
        TestFolder folder;
        auto window = OpenWindow();
        training::PersonPicks& picks = window->Picks();
        const auto find = [&window](const QString& text) {
            window->txtFind->clear();
            QTest::keyClicks(window->txtFind, text);
        };
        find(QStringLiteral("BAK")); // case and place in the name do not matter
        QCOMPARE(Rows(window->listNames->model()), QStringList{"Bob Baker"});
        QTest::keyClick(window->txtFind, Qt::Key_Return);
        QVERIFY(window->txtFind->text().isEmpty());
        QCOMPARE(picks.ShownCount(), 4);
        find(QStringLiteral("a")); // Ann Able, Bob Baker
        QCOMPARE(picks.ShownCount(), 2);
        QCOMPARE(picks.PickCount(), 1);
        window->cmdPickAllShown->Click();
        QCOMPARE(Rows(window->listSelected->model()), (QStringList{"Ann Able", "Bob Baker"}));
        QCOMPARE(window->lblCounts->text(), QStringLiteral("2 shown, 2 picked"));
        QCOMPARE(window->txtFind->accessibleDescription(), window->lblCounts->text());
        // Space on the highlighted row unpicks it; Delete in the right list takes one out.
        window->listNames->setCurrentIndex(window->listNames->model()->index(0, 0));
        QTest::keyClick(window->listNames, Qt::Key_Space);
        QCOMPARE(Rows(window->listSelected->model()), QStringList{"Bob Baker"});
        window->listSelected->setCurrentIndex(window->listSelected->model()->index(0, 0));
        QTest::keyClick(window->listSelected, Qt::Key_Delete);
        QCOMPARE(picks.PickCount(), 0);
        // Enter with several matches and none highlighted by the user picks the first shown.
        find(QStringLiteral("zzz"));
        QTest::keyClick(window->txtFind, Qt::Key_Return);
        QCOMPARE(picks.PickCount(), 0);
        QCOMPARE(window->txtFind->text(), QStringLiteral("zzz"));
    }

    void findingIgnoresCaseAndAccents_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("found");
        QTest::newRow("accent in the name") << "Émile Zola"
                                            << "emile" << true;
        QTest::newRow("accent typed") << "Renee Fox"
                                      << "renée" << true;
        QTest::newRow("middle of a name") << "Sanchez, Ana"
                                          << "nche" << true;
        QTest::newRow("not there") << "Sanchez, Ana"
                                   << "sz" << false;
    }
    void findingIgnoresCaseAndAccents() {
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(bool, found);
        training::PersonPicks picks({{name, 1}});
        picks.SetFilter(typed);
        QCOMPARE(picks.ShownCount() == 1, found);
    }

    // With active and inactive persons listed in the Lobby, the inactive ones are marked.
    void inactivePersonsAreMarked() {
        TestFolder folder;
        WritePersons({{"Ann", "Able"}, {"Cy", "Cole", {}, false}});
        WriteCourses({{"FIR-101", "Firearms", 8, "Range"}});
        SignIn(3);
        auto lobby = OpenLobby();
        lobby->nameControls.optDisplay[3]->click(); // active and inactive
        ScriptedAnswers answers;
        answers.expectWindow([](QWidget* w) {
            auto* window = qobject_cast<frmCreditTraining*>(w);
            QVERIFY(window);
            QCOMPARE(Rows(window->listNames->model()),
                     (QStringList{"Ann Able", "Cy Cole (inactive)"}));
            window->close();
        });
        lobby->courseControls.cmdCreditTraining->Click();
        QVERIFY(answers.verifyDone());
    }

    // Keyboard alone: three names found and picked, a date, Credit, Yes.
    void aClassIsCreditedFromTheKeyboard() {
        TestFolder folder;
        WritePersons(kPersons);
        WriteCourses({{"FIR-101", "Firearms", 8, "Range"}});
        auto window = OpenWindow();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        for (const char* name : {"able", "cole", "dunn"}) {
            QTest::keyClicks(window->txtFind, QString::fromLatin1(name));
            QTest::keyClick(window->txtFind, Qt::Key_Return);
        }
        QTest::keyClicks(window->txtDate, QStringLiteral("03/01/2024"));
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Confirm Credit"), 1)
            .expectMessage(QStringLiteral("Training Credited"), 1);
        QTest::keyClick(window.get(), Qt::Key_C, Qt::AltModifier);
        QVERIFY(answers.verifyDone());
        QCOMPARE(answers.asked().first().lines, QStringList{"Credit FIR-101 to 3 persons?"});
        QCOMPARE(AllTrainings().size(), std::size_t(3));
    }

    // Ann has the course on that day already: asked, then credited again, skipped, or nothing.
    void aDoubleCreditIsAsked_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("added");
        QTest::newRow("credit again") << 1 << 2;
        QTest::newRow("skip them") << 2 << 1;
        QTest::newRow("cancel") << 3 << 0;
    }
    void aDoubleCreditIsAsked() {
        QFETCH(int, answer);
        QFETCH(int, added);
        TestFolder folder;
        WritePersons(kPersons);
        WriteCourses({{"FIR-101", "Firearms", 8, "Range"}});
        WriteTrainings(1, formats::WholeSecondValue(StampOf(1001))); // Ann, 01/02/2024
        auto window = OpenWindow();
        Select(*window, {0, 1});
        QTest::keyClicks(window->txtDate, QStringLiteral("1/2/2024"));
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Already Credited"), answer);
        if (added > 1)
            answers.expectMessage(QStringLiteral("Confirm Credit"), 1);
        if (added > 0)
            answers.expectMessage(QStringLiteral("Training Credited"), 1);
        window->cmdSave->Click();
        QVERIFY(answers.verifyDone());
        QVERIFY(answers.asked().first().lines.contains(QStringLiteral("  Ann Able")));
        QVERIFY(!answers.asked().first().lines.contains(QStringLiteral("  Bob Baker")));
        QCOMPARE(AllTrainings().size(), std::size_t(1 + added));
    }

    // Dates a coordinator may have mistyped are asked about with the date written out; a day
    // and month alone is this year's. The test clock stands on 03/15/2024.
    void unlikelyDatesAreAsked_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("answer");   // 0: nothing asked
        QTest::addColumn<QDate>("stored"); // invalid: nothing written
        QTest::newRow("plausible") << "12/31/2025" << 0 << QDate(2025, 12, 31);
        QTest::newRow("no year, yes") << "6/15" << 1 << QDate(2024, 6, 15);
        QTest::newRow("too early, no") << "01/01/1950" << 2 << QDate();
        QTest::newRow("too late, yes") << "01/01/2026" << 1 << QDate(2026, 1, 1);
    }
    void unlikelyDatesAreAsked() {
        QFETCH(QString, typed);
        QFETCH(int, answer);
        QFETCH(QDate, stored);
        TestFolder folder;
        WritePersons(kPersons);
        WriteCourses({{"FIR-101", "Firearms", 8, "Range"}});
        auto window = OpenWindow();
        Select(*window, {0});
        QTest::keyClicks(window->txtDate, typed);
        ScriptedAnswers answers;
        if (answer > 0)
            answers.expectMessage(QStringLiteral("Is this date right?"), answer);
        if (stored.isValid())
            answers.expectMessage(QStringLiteral("Training Credited"), 1);
        window->cmdSave->Click();
        QVERIFY(answers.verifyDone());
        if (answer > 0) {
            const QStringList lines = answers.asked().first().lines;
            QVERIFY(lines.contains(
                training::DateWrittenOut(stored.isValid() ? stored : QDate(1950, 1, 1))));
        }
        const auto all = AllTrainings();
        QCOMPARE(all.size(), std::size_t(stored.isValid() ? 1 : 0));
        if (stored.isValid())
            QCOMPARE(all.front().TrainingDate, formats::DateValue(stored));
    }

    // A full date box takes a new date typed after it gets the focus, by Tab or by a click.
    void aFullDateBoxTakesWhatIsTyped_data() {
        QTest::addColumn<bool>("click");
        QTest::newRow("tab") << false;
        QTest::newRow("click") << true;
    }
    void aFullDateBoxTakesWhatIsTyped() {
        QFETCH(bool, click);
        TestFolder folder;
        auto window = OpenWindow();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->txtDate->setText(QStringLiteral("06/15/2024"));
        window->txtFind->setFocus();
        if (click)
            QTest::mouseClick(window->txtDate, Qt::LeftButton, {},
                              window->txtDate->rect().center());
        else
            window->txtDate->setFocus(Qt::TabFocusReason);
        QTest::qWait(1);
        QTest::keyClicks(window->txtDate, QStringLiteral("07/01/2024"));
        QCOMPARE(window->txtDate->text(), QStringLiteral("07/01/2024"));
    }
};

QTEST_MAIN(TestCreditTraining)
#include "test_credittraining.moc"
