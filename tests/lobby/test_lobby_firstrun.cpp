// A new installation from its first start to the Lobby and out again: the sign-in hands over
// to the real Lobby, which opens empty for the first user and signs her out on Quit.

#include "SigninTesting.h"
#include "app/basMirtavel.h"
#include "courses/frmAddEditCourse.h"
#include "lobby/frmAddEditName.h"
#include "lobby/frmLobby.h"
#include "platform/Instance.h"
#include "signin/frmAdmin.h"
#include "signin/frmTitlePage.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "training/PersonPicks.h"
#include "training/frmCreditTraining.h"
#include "training/frmTrainingHistory.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTest>

using signintest::Press;
using signintest::Type;

namespace {

template <class Window> Window* OpenWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<Window*>(widget); window && window->isVisible())
            return window;
    }
    return nullptr;
}

// From the first start through setting the access code and adding the first user to her
// sign-in: the Lobby that opens on an empty Name List.
QPointer<frmLobby> SignInTheFirstUser(ScriptedAnswers& answers, const QString& lock) {
    if (!Main(lock))
        return nullptr;
    frmTitlePage* title = OpenWindow<frmTitlePage>();
    if (!title)
        return nullptr;
    answers.expectWindow({}, QStringLiteral(" Mirtavel - New User Overview"))
        .expectMessage(QStringLiteral("'User List' Empty"), 1);
    Press(title->cmdContinue);
    frmAdmin* admin = OpenWindow<frmAdmin>();
    if (!admin)
        return nullptr;

    signintest::ExpectFirstAdministrator(answers);
    Press(admin->cmdAdmin);
    Press(admin->cmdAdmin);
    Press(admin->cmdUserSelected);
    Type(admin->txtPassword, QStringLiteral("Chief01"));
    if (!answers.verifyDone())
        return nullptr;

    answers.expectMessage(QStringLiteral("No Names on File..."), 1);
    Press(admin->cmdContinue);
    if (!answers.verifyDone())
        return nullptr;
    return OpenWindow<frmLobby>();
}

QString LockName() {
    return QStringLiteral("mirtavel-lobby-firstrun-%1").arg(QCoreApplication::applicationPid());
}

} // namespace

class TestLobbyFirstRun : public QObject {
    Q_OBJECT

private slots:
    void fromTheFirstStartToTheLobbyAndOut() {
        TestFolder folder;
        bool ended = false;
        SetProgramEnd([&ended] { ended = true; });
        ScriptedAnswers answers;

        // The Lobby opens on an empty Name List.
        QPointer<frmLobby> lobby = SignInTheFirstUser(answers, LockName());
        QVERIFY(lobby);
        QCOMPARE(lobby->lblUserInfo->text(),
                 QStringLiteral("User: Dana Dorsey\nAccess: Read/Edit/Add/Delete"));
        QVERIFY(lobby->nameControls.cmdAddName->isEnabled());
        QVERIFY(!lobby->cmdBackupRestore->isHidden()); // User.List exists now
        QVERIFY(lobby->nameControls.cmdEditName->isHidden());

        // Quit: signed out, the program ends and the empty lists leave no file behind.
        answers.expectMessage(QStringLiteral("Exit Mirtavel?"), 1);
        Press(lobby->cmdQuit);
        QVERIFY(answers.verifyDone());
        QVERIFY(ended);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!lobby);
        const QStringList log = signintest::LogLines();
        QCOMPARE(log.size(), 2);
        QCOMPARE(log[1], QStringLiteral("03/15/2024 at 10:30:00 - Dana Dorsey logged out."));
        QVERIFY(!QFile::exists(QStringLiteral("Name.List")));
        QVERIFY(!QFile::exists(QStringLiteral("Course.Index")));
        QVERIFY(QFile::exists(QStringLiteral("User.List")));

        platform::ReleaseInstanceLock();
        SetProgramEnd({});
    }

    // The first user adds a person and a course, credits the course and finds the record in
    // the person's training history.
    void firstCreditAppearsInTheHistory() {
        TestFolder folder;
        SetProgramEnd([] {});
        ScriptedAnswers answers;
        QPointer<frmLobby> lobby = SignInTheFirstUser(answers, LockName());
        QVERIFY(lobby);

        answers.expectWindow([](QWidget* window) {
            auto* editor = qobject_cast<frmAddEditName*>(window);
            QVERIFY(editor);
            Type(editor->Field(1), QStringLiteral("Pat"));
            Type(editor->Field(3), QStringLiteral("Quinn"));
            Press(editor->cmdSave);
        });
        Press(lobby->nameControls.cmdAddName);
        QVERIFY(answers.verifyDone());
        QCOMPARE(lobby->nameControls.gridName->TextMatrix(1, 0), QStringLiteral("Pat Quinn"));
        QVERIFY(!lobby->nameControls.cmdTrainingHistory->isEnabled()); // no training records yet

        lobby->tabMain->setCurrentIndex(frmLobby::CourseIndexPage);
        answers.expectWindow([](QWidget* window) {
            auto* editor = qobject_cast<frmAddEditCourse*>(window);
            QVERIFY(editor);
            Type(editor->Field(1), QStringLiteral("FIR-101"));
            Type(editor->Field(2), QStringLiteral("Firearms Qualification"));
            Type(editor->Field(4), QStringLiteral("8"));
            Press(editor->cmdSave);
        });
        Press(lobby->courseControls.cmdAddCourse);
        QVERIFY(answers.verifyDone());

        answers.expectWindow([](QWidget* window) {
            auto* credit = qobject_cast<frmCreditTraining*>(window);
            QVERIFY(credit);
            Type(credit->txtDate, QStringLiteral("06/15/2024"));
            credit->Picks().Toggle(0);
            Press(credit->cmdSave);
        });
        answers.expectMessage(QStringLiteral("Training Credited"), 1);
        Press(lobby->courseControls.cmdCreditTraining);
        QVERIFY(answers.verifyDone());
        QVERIFY(lobby->nameControls.cmdTrainingHistory->isEnabled());

        lobby->tabMain->setCurrentIndex(frmLobby::NameListPage);
        answers.expectWindow([](QWidget* window) {
            auto* history = qobject_cast<frmTrainingHistory*>(window);
            QVERIFY(history);
            QCOMPARE(history->gridTraining->Rows(), 2);
            QCOMPARE(history->gridTraining->TextMatrix(1, 0), QStringLiteral("06/15/2024"));
            QCOMPARE(history->gridTraining->TextMatrix(1, 1), QStringLiteral("FIR-101"));
            QCOMPARE(history->lblTotalHours->text(), QStringLiteral("Total hours listed:\n8"));
            Press(history->cmdReturn);
        });
        Press(lobby->nameControls.cmdTrainingHistory);
        QVERIFY(answers.verifyDone());

        delete lobby.data();
        platform::ReleaseInstanceLock();
        SetProgramEnd({});
    }
};

QTEST_MAIN(TestLobbyFirstRun)
#include "test_lobby_firstrun.moc"
