#include "LobbySeam.h"
#include "SigninTesting.h"
#include "forms/ShutDown.h"
#include "platform/Settings.h"
#include "signin/AccessCode.h"
#include "signin/frmAdmin.h"
#include "store/DataFileOpen.h"
#include "store/UserLog.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "ui/AppTitle.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

using signintest::AddUser;
using signintest::AdminFolder;
using signintest::Press;
using signintest::Type;

namespace {
const QString Code = QStringLiteral("Sergeant42");
} // namespace

class TestUserLogView : public QObject {
    Q_OBJECT

    std::unique_ptr<AdminFolder> folder_;
    QString codeRecord_;

    std::unique_ptr<frmAdmin> AdminInAdminMode(ScriptedAnswers& answers) {
        auto admin = std::make_unique<frmAdmin>();
        admin->show();
        answers.expectInput(Code, QStringLiteral("Access Code Required"));
        Press(admin->cmdAdmin);
        return admin;
    }

    void SignIn(int row, const QString& password) {
        frmAdmin admin;
        admin.show();
        admin.grid->SetRow(row);
        Press(admin.cmdUserSelected);
        Type(admin.txtPassword, password);
        Press(admin.cmdContinue);
    }

private slots:
    void initTestCase() { codeRecord_ = signin::MakeAccessCodeRecord(Code); }
    void init() { folder_ = std::make_unique<AdminFolder>(codeRecord_); }
    void cleanup() { folder_.reset(); }

    void signInAndOutLinesHaveTheirExactForm() {
        AddUser(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("pw12"), 1);
        AddUser(QStringLiteral("Bea"), QStringLiteral("Bell"), QStringLiteral("pw34"), 4);
        QVERIFY(!QFile::exists(QStringLiteral("User.Log")));
        SignIn(2, QStringLiteral("pw34"));
        // The Lobby's way back to the Admin window writes the sign-out.
        QVERIFY(
            store::AppendUserLog(store::UserLogEvent::SignOut, TestSession().userName, QString())
                .ok());
        SignIn(1, QStringLiteral("pw12"));
        QCOMPARE(
            signintest::LogLines(),
            QStringList({"03/15/2024 at 10:30:00 - Bea Bell logged in w/ "
                         "Read/Edit/Add/Delete privileges.",
                         "03/15/2024 at 10:30:00 - Bea Bell logged out.",
                         "03/15/2024 at 10:30:00 - Al Able logged in w/ Read Only privileges."}));
        QFile log(QStringLiteral("User.Log"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(log.readAll().endsWith("privileges.\r\n"));
    }

    void leavingTheAdminWindowWritesNothing() {
        AddUser(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("pw12"), 1);
        frmAdmin admin;
        admin.show();
        Press(admin.cmdUserSelected);
        Type(admin.txtPassword, QStringLiteral("bad1"));
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Incorrect Password"), 1)
            .expectMessage(QStringLiteral("Exit Mirtavel?"), 1);
        Press(admin.cmdContinue);
        Press(admin.cmdCancel);
        Press(admin.cmdQuit);
        QVERIFY(answers.verifyDone());
        // Nobody signed in or out: the wrong try is the only line.
        QCOMPARE(
            signintest::LogLines(),
            QStringList{QStringLiteral("03/15/2024 at 10:30:00 - Al Able failed to sign in.")});
    }

    void theLogIsReviewedInPlaceOfTheGrid() {
        AddUser(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("pw12"), 4);
        SignIn(1, QStringLiteral("pw12"));
        QVERIFY(
            store::AppendUserLog(store::UserLogEvent::SignOut, QStringLiteral("Al Able"), QString())
                .ok());
        ScriptedAnswers answers;
        auto admin = AdminInAdminMode(answers);
        QVERIFY(answers.verifyDone());
        QVERIFY(admin->cmdReviewUserLog->isVisible());
        const QColor normalFace = admin->cmdReviewUserLog->BackOver();
        const int boxTop = admin->txtUserLog->y();

        Press(admin->cmdReviewUserLog);
        QVERIFY(admin->IsViewingLog());
        QCOMPARE(admin->windowTitle(), QStringLiteral("Mirtavel - User Log"));
        QCOMPARE(admin->cmdReviewUserLog->Caption(), QStringLiteral("Finished Viewing"));
        for (ZovButton* hidden : {admin->cmdAdmin, admin->cmdAddUser, admin->cmdEditUser,
                                  admin->cmdDeleteUser, admin->cmdOrganizationName})
            QVERIFY(!hidden->isVisible());
        QVERIFY(admin->cmdQuit->isVisible());
        QVERIFY(!admin->grid->isVisible());
        QVERIFY(admin->txtUserLog->isVisible());
        QCOMPARE(admin->txtUserLog->y(), admin->grid->y());
        QCOMPARE(admin->txtUserLog->height(), admin->grid->height());
        QCOMPARE(admin->txtUserLog->toPlainText(),
                 QStringLiteral("03/15/2024 at 10:30:00 - Al Able logged in w/ "
                                "Read/Edit/Add/Delete privileges.\n"
                                "03/15/2024 at 10:30:00 - Al Able logged out.\n"));
        QVERIFY(admin->txtUserLog->textCursor().atEnd());
        // The Finished Viewing button flashes now.
        admin->timerFlashButton_Timer();
        QCOMPARE(admin->cmdReviewUserLog->BackColor(), QColor(244, 244, 0));

        Press(admin->cmdReviewUserLog);
        QVERIFY(!admin->IsViewingLog());
        QCOMPARE(admin->windowTitle(), QStringLiteral("Mirtavel - Admin Window"));
        QVERIFY(!admin->txtUserLog->isVisible());
        QCOMPARE(admin->txtUserLog->y(), boxTop);
        QVERIFY(admin->txtUserLog->toPlainText().isEmpty());
        QCOMPARE(admin->cmdReviewUserLog->Caption(), QStringLiteral("&Review User Log"));
        QCOMPARE(admin->cmdReviewUserLog->ForeColor(), QColor(0, 0, 0));
        QCOMPARE(admin->cmdReviewUserLog->BackColor(), normalFace);
        QVERIFY(admin->grid->isVisible());
        for (ZovButton* shown : {admin->cmdAdmin, admin->cmdAddUser, admin->cmdEditUser,
                                 admin->cmdDeleteUser, admin->cmdOrganizationName})
            QVERIFY(shown->isVisible());
        // The admin button flashes again.
        admin->timerFlashButton_Timer();
        QCOMPARE(admin->cmdAdmin->BackColor(), admin->Flash().Back());
    }

    void anEmptyLogHasNothingToView() {
        AddUser(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("pw12"), 4);
        {
            QFile log(QStringLiteral("User.Log"));
            QVERIFY(log.open(QIODevice::WriteOnly));
        }
        ScriptedAnswers answers;
        auto admin = AdminInAdminMode(answers);
        answers.expectMessage(QStringLiteral("Nothing to View"), 1);
        Press(admin->cmdReviewUserLog);
        QVERIFY(answers.verifyDone());
        QCOMPARE(answers.lastAsked().icon, 5);
        QCOMPARE(answers.lastAsked().lines,
                 QStringList({"There is currently no data", "in the 'User Log'."}));
        QVERIFY(!admin->IsViewingLog());
        QVERIFY(admin->grid->isVisible());
        QCOMPARE(admin->cmdReviewUserLog->Caption(), QStringLiteral("&Review User Log"));

        // Shutting down deletes the empty log, so the next Admin window offers no review.
        ShutDown();
        QVERIFY(!QFile::exists(QStringLiteral("User.Log")));
        auto next = AdminInAdminMode(answers);
        QVERIFY(answers.verifyDone());
        QVERIFY(!next->cmdReviewUserLog->isVisible());
    }

    // A log linked to a file elsewhere (another account's) is never shown here.
    void aLogLinkedOutsideTheFolderIsNotShown() {
        AddUser(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("pw12"), 4);
        QTemporaryDir elsewhere;
        const QString secret = elsewhere.filePath(QStringLiteral("secret"));
        {
            QFile file(secret);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("private words\r\n");
        }
        QVERIFY(QFile::link(secret, QStringLiteral("User.Log")));
        ScriptedAnswers answers;
        auto admin = AdminInAdminMode(answers);
        answers.expectMessage(QStringLiteral("File Problem"), 1);
        Press(admin->cmdReviewUserLog);
        QVERIFY(answers.verifyDone());
        QVERIFY(answers.lastAsked().lines.join(u' ').contains(store::LeadsOutsideReason()));
        QVERIFY(!admin->IsViewingLog());
        QVERIFY(!admin->txtUserLog->toPlainText().contains(QStringLiteral("private")));
    }

    void aRemovedUserKeepsItsLines() {
        AddUser(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("pw12"), 4);
        AddUser(QStringLiteral("Bea"), QStringLiteral("Bell"), QStringLiteral("pw34"), 4);
        SignIn(2, QStringLiteral("pw34"));
        ScriptedAnswers answers;
        auto admin = AdminInAdminMode(answers);
        admin->grid->SetRow(2);
        answers.expectMessage(QStringLiteral("Confirm Deletion"), 1)
            .expectMessage(QStringLiteral("Name removed"), 1);
        Press(admin->cmdDeleteUser);
        QVERIFY(answers.verifyDone());
        Press(admin->cmdReviewUserLog);
        QVERIFY(admin->txtUserLog->toPlainText().contains(QStringLiteral("Bea Bell logged in")));
    }
};

QTEST_MAIN(TestUserLogView)
#include "test_userlogview.moc"
