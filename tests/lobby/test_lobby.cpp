// The Lobby window: caption and user, tabs, the buttons by access level and list contents,
// help, backup/restore, the flashing button and the two ways out.

#include "forms/ShutDown.h"
#include "help/ShowHelp.h"
#include "help/frmManual.h"
#include "lobby/test_lobby_data.h"
#include "platform/Questions.h"
#include "platform/Twips.h"
#include "signin/AdminEntry.h"
#include "signin/frmAdmin.h"
#include "store/ReadOnlyStation.h"
#include "store/UserLog.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "ui/AppTitle.h"
#include "ui/FlexGrid.h"
#include "ui/WindowFlow.h"
#include "ui/ZovButton.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QRadioButton>
#include <QSpontaneKeyEvent>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace lobbytest;

namespace {

const QList<Person> ThreePersons = {{"Ann", "Lee"}, {"Bob", "Lee", "Q"}, {"Al", "Moe"}};
const QList<Course> ThreeCourses = {
    {"FIR-101", "Firearms Qualification", 8}, {"ADM", "Administration", 0}, {"CPR-1", "CPR", 4}};

void WriteFullData() {
    WriteUser();
    WritePersons(ThreePersons);
    WriteCourses(ThreeCourses);
    WriteTrainings(2, StampOf(1001));
}

QStringList UserLogLines() {
    QFile log(QStringLiteral("User.Log"));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(log.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

// The window system's close box, which (unlike the program's own closes) is spontaneous.
void PressCloseBox(QWidget* window) {
    QCloseEvent close;
    // notify() delivers the event as the window system would, keeping it spontaneous.
    QSpontaneKeyEvent::setSpontaneous(&close);
    QApplication::instance()->notify(window, &close);
}

// Whether `control` (or the part of it that takes keys) is where the window's focus is.
bool HasFocus(QWidget* window, QWidget* control) {
    QWidget* focus = window->focusWidget();
    return focus && (focus == control || control->isAncestorOf(focus));
}

} // namespace

class TestLobby : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { flow::SetAdminWindow(signin::OpenAdminWindow); }
    void init() {
        SetProgramEnd([] {});
    }
    void cleanup() {
        SetProgramEnd({});
        store::SetReadOnlyStation(false);
    }

    // Names are shown as typed, never read as markup: a screen reader hears what is drawn.
    void markupInAStoredNameIsShownAsText() {
        TestFolder folder;
        WriteFullData();
        const QString name = QStringLiteral("<b>Reader</b> <font size=7>Boss");
        SignIn(1, name);
        TestSession().organizationName = QStringLiteral("<i>Lakeview</i>");
        auto lobby = OpenLobby();
        QAccessibleInterface* label = QAccessible::queryAccessibleInterface(lobby->lblUserInfo);
        QVERIFY(label);
        QCOMPARE(label->text(QAccessible::Name),
                 QStringLiteral("User: ") + name + QStringLiteral("\nAccess: Read Only"));
    }

    void captionSizeAndSignedInUser() {
        TestFolder folder;
        WriteFullData();
        SignIn(3, QStringLiteral("Carla Diaz"));
        TestSession().organizationName = QStringLiteral("Lakeview Police Department");
        auto lobby = OpenLobby();
        QCOMPARE(lobby->windowTitle(), QStringLiteral(" Mirtavel - Lakeview Police Department"));
        QCOMPARE(lobby->size(), QSize(platform::Twips(11000), platform::Twips(8100)));
        QCOMPARE(lobby->lblUserInfo->text(),
                 QStringLiteral("User: Carla Diaz\nAccess: Read/Edit/Add"));
        QCOMPARE(lobby->tabMain->count(), 5);
        QCOMPARE(lobby->tabMain->tabText(frmLobby::DuePage), QStringLiteral("Who is Due"));
        QCOMPARE(lobby->tabMain->tabText(0), QStringLiteral("Name List"));
        QCOMPARE(lobby->tabMain->tabText(1), QStringLiteral("Course Index"));
        QCOMPARE(lobby->tabMain->tabText(2), QStringLiteral("Search && Summary Options"));
        QVERIFY(!lobby->tabMain->isTabVisible(frmLobby::ResultsPage));
        QCOMPARE(lobby->tabMain->currentIndex(), int(frmLobby::NameListPage));
        QCOMPARE(lobby->searchControls.optMatch[1]->text(),
                 QStringLiteral("match\nthe above critera"));
        QCOMPARE(lobby->searchControls.optMatch[2]->text(),
                 QStringLiteral("do NOT match\nthe above critera"));
        QVERIFY(lobby->LobbyActivated);
        QVERIFY(HasFocus(lobby.get(), lobby->nameControls.gridName));
    }

    void buttonsByAccessLevel_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("canAdd");
        QTest::addColumn<bool>("canDelete");
        QTest::addColumn<bool>("canCredit");
        QTest::addColumn<QString>("editName");
        QTest::addColumn<QString>("editCourse");
        QTest::newRow("Read Only") << 1 << false << false << false << "View Details"
                                   << "View Details";
        QTest::newRow("Read/Edit") << 2 << false << false << false << "Edit Person"
                                   << "Edit Course";
        QTest::newRow("Read/Edit/Add") << 3 << true << false << true << "Edit Person"
                                       << "Edit Course";
        QTest::newRow("Read/Edit/Add/Delete") << 4 << true << true << true << "Edit Person"
                                              << "Edit Course";
    }

    void buttonsByAccessLevel() {
        QFETCH(int, level);
        QFETCH(bool, canAdd);
        QFETCH(bool, canDelete);
        QFETCH(bool, canCredit);
        QFETCH(QString, editName);
        QFETCH(QString, editCourse);
        TestFolder folder;
        WriteFullData();
        SignIn(level);
        auto lobby = OpenLobby();

        QVERIFY(!lobby->nameControls.cmdAddName->isHidden());
        QCOMPARE(lobby->nameControls.cmdAddName->isEnabled(), canAdd);
        QCOMPARE(lobby->nameControls.cmdAddName->Caption(), QStringLiteral("Add Person"));
        QCOMPARE(lobby->courseControls.cmdAddCourse->isEnabled(), canAdd);
        QCOMPARE(lobby->nameControls.cmdEditName->Caption(), editName);
        QCOMPARE(lobby->courseControls.cmdEditCourse->Caption(), editCourse);
        QCOMPARE(lobby->nameControls.cmdDeleteName->isEnabled(), canDelete);
        QCOMPARE(lobby->courseControls.cmdDeleteCourse->isEnabled(), canDelete);
        // Row 1 of the Course Index is ADM, a heading; the next row has hours.
        QCOMPARE(lobby->courseControls.gridCourse->Row(), 1);
        QVERIFY(!lobby->courseControls.cmdCreditTraining->isEnabled());
        lobby->courseControls.gridCourse->SetRow(2);
        QCOMPARE(lobby->courseControls.cmdCreditTraining->isEnabled(), canCredit);
        for (ZovButton* shown :
             {lobby->nameControls.cmdEditName, lobby->nameControls.cmdDeleteName,
              lobby->nameControls.cmdTrainingHistory, lobby->nameControls.cmdPrintNameList,
              lobby->courseControls.cmdSearch, lobby->courseControls.cmdCreditTraining,
              lobby->courseControls.cmdEditCourse, lobby->courseControls.cmdDeleteCourse,
              lobby->courseControls.cmdPrintCourseIndex, lobby->cmdBackupRestore})
            QVERIFY2(!shown->isHidden(), qPrintable(shown->Caption()));
        QVERIFY(lobby->courseControls.cmdQuitSearching->isHidden());
        QVERIFY(lobby->nameControls.cmdTrainingHistory->isEnabled());
        QVERIFY(lobby->tabMain->isTabEnabled(frmLobby::SearchOptionsPage));
    }

    void captionsAndToolTipsOfTheSetUp() {
        TestFolder folder;
        WriteFullData();
        SignIn(4);
        auto lobby = OpenLobby();
        QCOMPARE(lobby->cmdQuit->toolTip(), QStringLiteral(" Click here to exit Mirtavel "));
        QCOMPARE(lobby->courseControls.cmdCreditTraining->Caption(),
                 QStringLiteral("Credit the highlighted course to\r\none or more person's "
                                "training record(s)..."));
        QCOMPARE(lobby->searchControls.cmdFinishedSummary->Caption(),
                 QStringLiteral("Finished with this\r\nSearch/Summary"));
        QCOMPARE(lobby->courseControls.cmdPrintCourseIndex->toolTip(),
                 QStringLiteral(" Print this 'Course Index' "));
    }

    // The first-run notice comes up over a usable Lobby: its buttons captioned and set up,
    // the window enabled, the normal pointer.
    void firstRunNoticeComesOverAReadyLobby() {
        TestFolder folder;
        WriteUser();
        SignIn(4);
        QStringList seen;
        platform::SetAnswerer([&seen](const platform::Question& question) {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (auto* lobby = qobject_cast<frmLobby*>(top)) {
                    seen << question.title << lobby->nameControls.cmdAddName->Caption()
                         << QString::number(lobby->isEnabled())
                         << QString::number(lobby->nameControls.cmdEditName->isHidden())
                         << QString::number(QApplication::overrideCursor() == nullptr);
                }
            }
            platform::Answer answer;
            answer.button = 1;
            return answer;
        });
        auto lobby = OpenLobby();
        platform::SetAnswerer({});
        QCOMPARE(seen, QStringList({"No Names on File...", "Add Person", "1", "1", "1"}));
    }

    void emptyListsLeaveOnlyTheButtonsThatNeedNoRow() {
        TestFolder folder;
        WriteUser();
        SignIn(4);
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("No Names on File..."), 1);
        auto lobby = OpenLobby();
        QVERIFY(answers.verifyDone());
        QCOMPARE(answers.asked().at(0).lines,
                 QStringList({"There are currently no names", "in the Name List"}));
        QCOMPARE(answers.asked().at(0).icon, 5);

        for (ZovButton* shown :
             {lobby->nameControls.cmdAddName, lobby->courseControls.cmdAddCourse, lobby->cmdHelp,
              lobby->cmdQuit, lobby->cmdAdminWindow, lobby->cmdBackupRestore})
            QVERIFY(!shown->isHidden());
        for (ZovButton* hidden :
             {lobby->nameControls.cmdEditName, lobby->nameControls.cmdDeleteName,
              lobby->nameControls.cmdTrainingHistory, lobby->nameControls.cmdPrintNameList,
              lobby->courseControls.cmdSearch, lobby->courseControls.cmdQuitSearching,
              lobby->courseControls.cmdCreditTraining, lobby->courseControls.cmdEditCourse,
              lobby->courseControls.cmdDeleteCourse, lobby->courseControls.cmdPrintCourseIndex})
            QVERIFY2(hidden->isHidden(), qPrintable(hidden->Caption()));
        QVERIFY(!lobby->nameControls.gridName->Visible());
        QVERIFY(!lobby->courseControls.gridCourse->Visible());
        for (int i = 1; i <= 3; ++i)
            QVERIFY(lobby->nameControls.optDisplay[i]->isHidden());
        QVERIFY(!lobby->tabMain->isTabEnabled(frmLobby::SearchOptionsPage));
    }

    void backupButtonNeedsUserListAndHistoryNeedsTrainingRecords() {
        TestFolder folder;
        WritePersons(ThreePersons);
        WriteCourses({{"FIR-101", "Firearms Qualification", 8}});
        SignIn(4);
        auto lobby = OpenLobby();
        QVERIFY(lobby->cmdBackupRestore->isHidden());
        QVERIFY(!lobby->nameControls.cmdTrainingHistory->isHidden());
        QVERIFY(!lobby->nameControls.cmdTrainingHistory->isEnabled());
        QVERIFY(!lobby->tabMain->isTabEnabled(frmLobby::SearchOptionsPage));
        // A single course: everything but the find.
        for (ZovButton* shown :
             {lobby->courseControls.cmdEditCourse, lobby->courseControls.cmdDeleteCourse,
              lobby->courseControls.cmdPrintCourseIndex, lobby->courseControls.cmdCreditTraining})
            QVERIFY(!shown->isHidden());
        QVERIFY(lobby->courseControls.cmdSearch->isHidden());
    }

    void tabChangeFocusAndSearchCaptions() {
        TestFolder folder;
        WriteFullData();
        SignIn(3);
        auto lobby = OpenLobby();
        lobby->tabMain->setCurrentIndex(frmLobby::CourseIndexPage);
        QVERIFY(HasFocus(lobby.get(), lobby->courseControls.gridCourse));
        lobby->tabMain->setCurrentIndex(frmLobby::SearchOptionsPage);
        QCOMPARE(lobby->searchControls.optSearch[1]->text(),
                 QStringLiteral("List all active persons\nthat have any training records\n"
                                "matching the following criteria..."));
        QCOMPARE(lobby->searchControls.optSearch[2]->text(),
                 QStringLiteral("Produce an annual summary\nof all training hours for all\n"
                                "active persons"));
    }

    void helpTopicFollowsThePage() {
        TestFolder folder;
        WriteFullData();
        SignIn(2);
        auto lobby = OpenLobby();
        ScriptedAnswers answers;
        // The help window opens on the topic of the page shown.
        const auto expectHelp = [&answers](const QString& topic) {
            answers.expectWindow(
                [topic](QWidget* window) {
                    auto* help = qobject_cast<frmManual*>(window);
                    QVERIFY(help);
                    QCOMPARE(help->labelHelpTopic->text(), topic);
                },
                QStringLiteral("Mirtavel -  Help Screen"));
        };
        expectHelp(QStringLiteral("The 'Name List' tab"));
        QTest::keyClick(lobby->nameControls.gridName, Qt::Key_F1);
        QCOMPARE(help::LastHelpTopic(), help::HelpTopic::NameList);
        lobby->tabMain->setCurrentIndex(frmLobby::CourseIndexPage);
        expectHelp(QStringLiteral("The 'Course Index' tab"));
        QTest::keyClick(lobby->courseControls.gridCourse, Qt::Key_F1);
        QCOMPARE(help::LastHelpTopic(), help::HelpTopic::CourseIndex);
        lobby->tabMain->setCurrentIndex(frmLobby::SearchOptionsPage);
        expectHelp(QStringLiteral("The 'Search/Summary' tab"));
        lobby->cmdHelp->Click();
        QCOMPARE(help::LastHelpTopic(), help::HelpTopic::SearchAndSummary);
        // The results page keeps the last topic.
        lobby->tabMain->setTabVisible(frmLobby::ResultsPage, true);
        lobby->tabMain->setCurrentIndex(frmLobby::ResultsPage);
        expectHelp(QStringLiteral("The 'Search/Summary' tab"));
        lobby->cmdHelp_Click();
        QCOMPARE(help::LastHelpTopic(), help::HelpTopic::SearchAndSummary);
        // Who is Due has its section in that topic, whatever was asked for before.
        lobby->tabMain->setTabVisible(frmLobby::ResultsPage, false);
        lobby->tabMain->setCurrentIndex(frmLobby::CourseIndexPage);
        expectHelp(QStringLiteral("The 'Course Index' tab"));
        lobby->cmdHelp->Click();
        lobby->tabMain->setCurrentIndex(frmLobby::DuePage);
        QCOMPARE(lobby->tabMain->currentIndex(), int(frmLobby::DuePage));
        expectHelp(QStringLiteral("The 'Search/Summary' tab"));
        lobby->cmdHelp->Click();
        QCOMPARE(help::LastHelpTopic(), help::HelpTopic::SearchAndSummary);
        QVERIFY(answers.verifyDone());
    }

    void backupRestoreIsForFullAccessOnly() {
        TestFolder folder;
        WriteFullData();
        SignIn(3);
        auto lobby = OpenLobby();
        {
            ScriptedAnswers answers;
            answers.expectMessage(QStringLiteral("Not authorized"), 1);
            lobby->cmdBackupRestore->Click();
            QVERIFY(answers.verifyDone());
            QCOMPARE(answers.lastAsked().icon, 2);
            QCOMPARE(answers.lastAsked().lines, QStringList({"Full access level privileges",
                                                             "are required to use this feature."}));
            QCOMPARE(answers.lastAsked().buttons, QStringList({"&Okay"}));
        }
        QVERIFY(!lobby->menuBackupRestoreMenu->isVisible());

        // The level is the session's, given when the Lobby opened.
        lobby.reset();
        SignIn(4);
        lobby = OpenLobby();
        lobby->cmdBackupRestore->Click();
        QVERIFY(lobby->menuBackupRestoreMenu->isVisible());
        QCOMPARE(lobby->menuBackupRestore[1]->text(),
                 QStringLiteral("Backup the Mirtavel data files"));
        QCOMPARE(lobby->menuBackupRestore[2]->text(),
                 QStringLiteral("Restore the Mirtavel data files"));
        QVERIFY(lobby->menuBackupRestore[3]->isSeparator());
        QCOMPARE(lobby->menuBackupRestore[4]->text(), QStringLiteral("Exit this menu"));
        lobby->menuBackupRestoreMenu->close();
    }

    void flashingButtonIsQuitSearchingOrFinished() {
        TestFolder folder;
        WriteFullData();
        SignIn(3);
        auto lobby = OpenLobby();
        QCOMPARE(lobby->timerFlashButton->interval(), 16);
        lobby->timerFlashButton_Timer();
        QCOMPARE(lobby->courseControls.cmdQuitSearching->BackColor(), QColor(244, 244, 0));
        QCOMPARE(lobby->courseControls.cmdQuitSearching->ForeColor(), QColor(4, 4, 0));
        // While results are shown, Finished flashes instead.
        lobby->tabMain->setTabVisible(frmLobby::ResultsPage, true);
        lobby->timerFlashButton_Timer();
        QCOMPARE(lobby->searchControls.cmdFinishedSummary->ForeColor(), QColor(8, 8, 0));
        QCOMPARE(lobby->courseControls.cmdQuitSearching->ForeColor(), QColor(4, 4, 0));
    }

    void closeBoxAsksTheQuitQuestion() {
        TestFolder folder;
        WriteFullData();
        SignIn(2, QStringLiteral("Bob Baker"));
        auto lobby = OpenLobby();
        {
            ScriptedAnswers answers;
            answers.expectMessage(QStringLiteral("Exit Mirtavel?"), 2);
            PressCloseBox(lobby.get());
            QCoreApplication::processEvents();
            QVERIFY(answers.verifyDone());
            const ScriptedAnswers::Asked& asked = answers.lastAsked();
            QCOMPARE(asked.icon, 3);
            QCOMPARE(asked.defaultButton, 1);
            QCOMPARE(asked.lines, QStringList({"This will close Mirtavel.", "",
                                               "Is this what you want to do?"}));
            QCOMPARE(asked.buttons, QStringList({"&Yes, quit Mirtavel", "&No, do NOT quit"}));
        }
        QVERIFY(lobby->isVisible());
        QVERIFY(UserLogLines().isEmpty());

        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Exit Mirtavel?"), 1);
        PressCloseBox(lobby.get());
        QCoreApplication::processEvents();
        QVERIFY(answers.verifyDone());
        QVERIFY(!lobby->isVisible());
        const QStringList lines = UserLogLines();
        QCOMPARE(lines.size(), 1);
        QVERIFY(lines[0].endsWith(QStringLiteral(" - Bob Baker logged out.")));
    }

    // Another program holds the folder: whoever signed in reads only, is told who holds it, and
    // sees the lists follow the files as the holder writes them; leaving logs nothing.
    void aReadOnlyStationNamesTheHolderAndFollowsTheFiles() {
        TestFolder folder;
        WriteFullData();
        SignIn(4, QStringLiteral("Ann Admin"));
        const QString holder = QStringLiteral("dana on pc-7 since 03/15/2024 08:30");
        store::SetReadOnlyStation(true, holder);
        // The holder's writes, made here with the store's switch off for the moment.
        const auto asTheHolder = [&holder](const std::function<void()>& write) {
            store::SetReadOnlyStation(false);
            write();
            store::SetReadOnlyStation(true, holder);
        };
        auto lobby = OpenLobby();
        QCOMPARE(lobby->lblUserInfo->text(), QStringLiteral("User: Ann Admin\nAccess: Read Only"));
        QVERIFY(!lobby->nameControls.cmdAddName->isEnabled());
        QCOMPARE(lobby->nameControls.cmdEditName->Caption(), QStringLiteral("View Details"));
        QVERIFY(lobby->lblStationNotice && lobby->lblStationNotice->isVisible());
        QVERIFY(lobby->lblStationNotice->text().contains(
            QStringLiteral("in use by dana on pc-7 since 03/15/2024 08:30")));
        QCOMPARE(lobby->lblStationNotice->accessibleName(), QStringLiteral("Read only station"));

        QCOMPARE(lobby->nameControls.gridName->Rows(), 4);
        asTheHolder([] { WritePersons(ThreePersons + QList<Person>{{"Dee", "Fox"}}); });
        QTRY_COMPARE(lobby->nameControls.gridName->Rows(), 5);
        asTheHolder([] { WriteCourses(ThreeCourses + QList<Course>{{"K9", "Dogs", 2}}); });
        QTRY_COMPARE(lobby->courseControls.gridCourse->Rows(), 5);

        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Exit Mirtavel?"), 1);
        lobby->cmdQuit_Click();
        QVERIFY(answers.verifyDone());
        QVERIFY(UserLogLines().isEmpty());
    }

    void adminButtonSignsOutAndShowsTheAdminWindow() {
        TestFolder folder;
        WriteFullData();
        SignIn(4, QStringLiteral("Ann Admin"));
        auto* lobby = OpenLobby().release();
        lobby->setAttribute(Qt::WA_DeleteOnClose);
        const QPointer<frmLobby> watch(lobby);
        lobby->cmdAdminWindow->Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!watch);
        QVERIFY(UserLogLines().value(0).endsWith(QStringLiteral(" - Ann Admin logged out.")));
        frmAdmin* admin = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* found = qobject_cast<frmAdmin*>(window); found && found->isVisible())
                admin = found;
        }
        QVERIFY(admin);
        delete admin;
    }

    // The user is out whether or not the line was written: nothing to try again.
    void aSignOutLineThatCannotBeWrittenIsTold() {
        TestFolder folder;
        WriteFullData();
        QFile::remove(QStringLiteral("User.Log"));
        QVERIFY(QDir().mkpath(QStringLiteral("User.Log")));
        SignIn(2, QStringLiteral("Bo Reader"));
        auto lobby = OpenLobby();
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Exit Mirtavel?"), 1)
            .expectMessage(QStringLiteral("User Log Not Written"), 1);
        lobby->cmdQuit_Click();
        QVERIFY(answers.verifyDone());
        const QString told = answers.lastAsked().lines.join(u' ');
        QVERIFY2(told.contains(QStringLiteral("this sign-out is not in the log")),
                 qPrintable(told));
        QVERIFY(told.contains(QStringLiteral("\"User.Log\"")));
    }
};

QTEST_MAIN(TestLobby)
#include "test_lobby.moc"
