#include "LobbySeam.h"
#include "SigninTesting.h"
#include "app/basMirtavel.h"
#include "platform/Instance.h"
#include "signin/AccessCode.h"
#include "signin/frmAdmin.h"
#include "signin/frmNewUser.h"
#include "signin/frmTitlePage.h"
#include "store/UserLog.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "ui/AppTitle.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

using signintest::Press;
using signintest::Type;

namespace {

template <class Window> Window* OpenWindow() {
    Window* found = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<Window*>(widget); window && window->isVisible()) {
            if (found)
                return nullptr; // more than one
            found = window;
        }
    }
    return found;
}

} // namespace

// From an empty data folder to a signed-in user, as a new installation is first used.
class TestFirstRun : public QObject {
    Q_OBJECT

private slots:
    void fromAnEmptyFolderToASignedInUser() {
        TestFolder folder;
        const QString lock =
            QStringLiteral("mirtavel-firstrun-%1").arg(QCoreApplication::applicationPid());
        SetProgramEnd([] {});
        ScriptedAnswers answers;

        // The program starts with the title window.
        QVERIFY(Main(lock));
        signintest::UseLobbySeam();
        frmTitlePage* title = OpenWindow<frmTitlePage>();
        QVERIFY(title);

        // Continue: the overview greets the new user, who asks not to see it again; the
        // Admin window says the user list is empty.
        answers
            .expectWindow(
                [](QWidget* window) {
                    auto* overview = qobject_cast<frmNewUser*>(window);
                    QVERIFY(overview);
                    overview->chkNoShow->click();
                    Press(overview->cmdContinue);
                },
                QStringLiteral(" Mirtavel - New User Overview"))
            .expectMessage(QStringLiteral("'User List' Empty"), 1);
        Press(title->cmdContinue);
        QVERIFY(answers.verifyDone());
        frmAdmin* admin = OpenWindow<frmAdmin>();
        QVERIFY(admin);
        QPointer<frmAdmin> adminAlive(admin);

        // The administrator chooses the access code and adds the first user at once.
        signintest::ExpectFirstAdministrator(answers);
        Press(admin->cmdAdmin);
        QVERIFY(answers.verifyDone());
        QVERIFY(admin->IsAdminMode());
        QVERIFY(admin->grid->isVisible());
        QCOMPARE(admin->grid->Rows(), 2);
        QCOMPARE(admin->grid->Row(), 1);
        QCOMPARE(admin->grid->TextMatrix(1, 0), QStringLiteral("Dana Dorsey"));
        QCOMPARE(admin->grid->TextMatrix(1, 1), QStringLiteral("Read/Edit/Add/Delete"));

        // Admin mode ends; the user picks her name and types her password.
        Press(admin->cmdAdmin);
        QVERIFY(!admin->IsAdminMode());
        Press(admin->cmdUserSelected);
        Type(admin->txtPassword, QStringLiteral("Chief01"));
        const int lobbies = signintest::LobbyShown();
        Press(admin->cmdContinue);

        QCOMPARE(signintest::LobbyShown(), lobbies + 1);
        QCOMPARE(TestSession().userName, QStringLiteral("Dana Dorsey"));
        QCOMPARE(TestSession().level, AccessLevel::ReadEditAddDelete);
        QCOMPARE(signintest::LogLines(),
                 QStringList{QStringLiteral("03/15/2024 at 10:30:00 - Dana Dorsey logged in w/ "
                                            "Read/Edit/Add/Delete privileges.")});
        QVERIFY(!adminAlive || !adminAlive->isVisible());
        QVERIFY(signin::CheckAccessCode(QStringLiteral("Captain77")));
        QVERIFY(answers.verifyDone());

        // A later start lists the user straight away, without the overview.
        QVERIFY(Main(lock));
        signintest::UseLobbySeam();
        title = OpenWindow<frmTitlePage>();
        QVERIFY(title);
        Press(title->cmdContinue);
        admin = OpenWindow<frmAdmin>();
        QVERIFY(admin);
        QCOMPARE(admin->grid->TextMatrix(1, 0), QStringLiteral("Dana Dorsey"));
        QVERIFY(admin->cmdUserSelected->isVisible());
        QVERIFY(answers.verifyDone());

        admin->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        platform::ReleaseInstanceLock();
        SetProgramEnd({});
    }
};

QTEST_MAIN(TestFirstRun)
#include "test_firstrun.moc"
