// A new installation from its first start to the Lobby and out again: the sign-in hands over
// to the real Lobby, which opens empty for the first user and signs her out on Quit.

#include "SigninTesting.h"
#include "app/basMirtavel.h"
#include "lobby/frmLobby.h"
#include "platform/Instance.h"
#include "signin/frmAddEditUser.h"
#include "signin/frmAdmin.h"
#include "signin/frmTitlePage.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
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

} // namespace

class TestLobbyFirstRun : public QObject {
    Q_OBJECT

private slots:
    void fromTheFirstStartToTheLobbyAndOut() {
        TestFolder folder;
        const QString lock =
            QStringLiteral("mirtavel-lobby-firstrun-%1").arg(QCoreApplication::applicationPid());
        bool ended = false;
        SetProgramEnd([&ended] { ended = true; });
        ScriptedAnswers answers;

        QVERIFY(Main(lock));
        frmTitlePage* title = OpenWindow<frmTitlePage>();
        QVERIFY(title);
        answers.expectWindow({}, QStringLiteral(" Mirtavel - New User Overview"))
            .expectMessage(QStringLiteral("'User List' Empty"), 1);
        Press(title->cmdContinue);
        frmAdmin* admin = OpenWindow<frmAdmin>();
        QVERIFY(admin);

        answers.expectInput(QStringLiteral("Captain77"), QStringLiteral("New Access Code"))
            .expectInput(QStringLiteral("Captain77"), QStringLiteral("Confirm Access Code"))
            .expectMessage(QStringLiteral("Access Code Saved"), 1)
            .expectWindow([](QWidget* window) {
                auto* editor = qobject_cast<frmAddEditUser*>(window);
                QVERIFY(editor);
                Type(editor->txtField[1], QStringLiteral("Dana"));
                Type(editor->txtField[2], QStringLiteral("Dorsey"));
                Type(editor->txtField[3], QStringLiteral("Chief01"));
                QTest::mouseClick(editor->optAccessLevel[4], Qt::LeftButton);
                Press(editor->cmdSave);
            });
        Press(admin->cmdAdmin);
        Press(admin->cmdAdmin);
        Press(admin->cmdUserSelected);
        Type(admin->txtPassword, QStringLiteral("Chief01"));
        QVERIFY(answers.verifyDone());

        // The Lobby opens on an empty Name List.
        answers.expectMessage(QStringLiteral("No Names on File..."), 1);
        Press(admin->cmdContinue);
        QVERIFY(answers.verifyDone());
        QPointer<frmLobby> lobby = OpenWindow<frmLobby>();
        QVERIFY(lobby);
        QCOMPARE(lobby->lblUserInfo->text(),
                 QStringLiteral("User: Dana Dorsey\nAccess: Read/Edit/Add/Delete"));
        QVERIFY(lobby->cmdAddName->isEnabled());
        QVERIFY(!lobby->cmdBackupRestore->isHidden()); // User.List exists now
        QVERIFY(lobby->cmdEditName->isHidden());

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
};

QTEST_MAIN(TestLobbyFirstRun)
#include "test_lobby_firstrun.moc"
