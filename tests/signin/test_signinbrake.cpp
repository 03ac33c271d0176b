// Wrong passwords and access codes: the brake that slows guessing, the log lines that record
// each wrong try, and which user a sign-in is counted and logged for.
#include "LobbySeam.h"
#include "SigninTesting.h"
#include "signin/AccessCode.h"
#include "signin/SignInBrake.h"
#include "signin/frmAdmin.h"
#include "store/Clock.h"
#include "store/RecordStore.h"
#include "store/UserLog.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "ui/AppTitle.h"
#include "ui/ZovButton.h"

#include <QLineEdit>
#include <QTest>

using signin::SignInBrake;
using signintest::AddUser;
using signintest::LogLines;
using signintest::Press;
using signintest::Type;

namespace {

const QString Code = QStringLiteral("Sergeant42");
const QString Wait2 = QStringLiteral("Please wait 2 seconds and try again.");

// Another station has put a different user at record `number` since the list was filled.
void ReplaceUser(int number, const QString& first, const QString& last, const QString& password,
                 int level) {
    auto& users = store::Users();
    QVERIFY(users.Open());
    QVERIFY(users.Read(number));
    store::UserRecord& user = users.Buffer();
    user.FirstName = first;
    user.LastName = last;
    user.Password = store::ScramblePassword(password);
    user.AccessLevel = static_cast<qint16>(level);
    QVERIFY(users.Write(number));
    users.Close();
}

} // namespace

class TestSignInBrake : public QObject {
    Q_OBJECT

    std::unique_ptr<signintest::AdminFolder> folder_;
    QString codeRecord_;
    QDateTime now_;

    void Later(int seconds) { now_ = now_.addSecs(seconds); }

    // Continue with `typed` in the password box, answered by the message titled `told`;
    // returns that message's last line.
    QString TryPassword(frmAdmin& admin, const QString& typed, const QString& told) {
        admin.txtPassword->clear();
        Type(admin.txtPassword, typed);
        ScriptedAnswers answers;
        answers.expectMessage(told, 1);
        Press(admin.cmdContinue);
        return answers.verifyDone() ? answers.lastAsked().lines.constLast() : QString();
    }

private slots:
    void initTestCase() { codeRecord_ = signin::MakeAccessCodeRecord(Code); }
    void init() {
        folder_ = std::make_unique<signintest::AdminFolder>(codeRecord_);
        now_ = TestFolder::FixedNow();
        store::SetClock([this] { return now_; });
    }
    void cleanup() { folder_.reset(); }

    void theWaitDoublesAfterThreeWrongTries_data() {
        QTest::addColumn<int>("failures");
        QTest::addColumn<int>("later"); // seconds after the last wrong try
        QTest::addColumn<QString>("asking");
        QTest::addColumn<bool>("rightTry");
        QTest::addColumn<int>("wait");
        const QString al = QStringLiteral("Al Able");
        QTest::newRow("two pass") << 2 << 0 << al << false << 0;
        QTest::newRow("third holds 2 s") << 3 << 0 << al << false << 2;
        QTest::newRow("a second of it left") << 3 << 1 << al << false << 1;
        QTest::newRow("waited out") << 3 << 2 << al << false << 0;
        QTest::newRow("fourth holds 4 s") << 4 << 0 << al << false << 4;
        QTest::newRow("fifth 8 s") << 5 << 0 << al << false << 8;
        QTest::newRow("sixth 16 s") << 6 << 0 << al << false << 16;
        QTest::newRow("seventh at most 30 s") << 7 << 0 << al << false << 30;
        QTest::newRow("hundredth still 30 s") << 100 << 29 << al << false << 1;
        QTest::newRow("another name is free") << 5 << 0 << "Bea Baker" << false << 0;
        QTest::newRow("a right try forgets") << 5 << 0 << al << true << 0;
        QTest::newRow("clock set back an hour") << 4 << -3600 << al << false << 4;
    }
    void theWaitDoublesAfterThreeWrongTries() {
        QFETCH(int, failures);
        QFETCH(int, later);
        QFETCH(QString, asking);
        QFETCH(bool, rightTry);
        QFETCH(int, wait);
        SignInBrake brake;
        const QDateTime start = TestFolder::FixedNow();
        for (int n = 0; n < failures; ++n)
            brake.Failed(QStringLiteral("Al Able"), start);
        if (rightTry)
            brake.Succeeded(QStringLiteral("Al Able"));
        QCOMPARE(brake.SecondsToWait(asking, start.addSecs(later)), wait);
    }

    // Three wrong passwords, then a try too soon is refused unchecked, even the right one; each
    // wrong try is in the log under the name.
    void aWrongPasswordIsLoggedAndSlowsTheNextTry() {
        AddUser(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("alpw"), 2);
        auto admin = std::make_unique<frmAdmin>();
        admin->show();
        Press(admin->cmdUserSelected);
        for (int n = 0; n < 3; ++n)
            TryPassword(*admin, QStringLiteral("guess"), QStringLiteral("Incorrect Password"));
        const int lobbies = signintest::LobbyShown();
        QCOMPARE(TryPassword(*admin, QStringLiteral("alpw"), QStringLiteral("Please Wait")), Wait2);
        QCOMPARE(signintest::LobbyShown(), lobbies);
        Later(1);
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Please Wait"), 1);
        Press(admin->cmdContinue); // the typed password is kept for the next try
        QVERIFY(answers.verifyDone());
        QCOMPARE(answers.lastAsked().lines,
                 QStringList({QStringLiteral("Too many incorrect passwords for this name."),
                              QStringLiteral("Please wait 1 second and try again.")}));
        Later(1);
        TryPassword(*admin, QStringLiteral("guess"), QStringLiteral("Incorrect Password"));
        QCOMPARE(TryPassword(*admin, QStringLiteral("alpw"), QStringLiteral("Please Wait")),
                 QStringLiteral("Please wait 4 seconds and try again."));
        Later(4);
        admin->txtPassword->clear();
        Type(admin->txtPassword, QStringLiteral("alpw"));
        Press(admin->cmdContinue);
        QCOMPARE(signintest::LobbyShown(), lobbies + 1);
        const QString failed = QStringLiteral(" - Al Able failed to sign in.");
        QCOMPARE(LogLines(),
                 QStringList({"03/15/2024 at 10:30:00" + failed, "03/15/2024 at 10:30:00" + failed,
                              "03/15/2024 at 10:30:00" + failed, "03/15/2024 at 10:30:02" + failed,
                              "03/15/2024 at 10:30:06 - Al Able logged in w/ Read/Edit "
                              "privileges."}));
        // The right password forgot the wrong ones.
        QCOMPARE(signin::PasswordBrake().SecondsToWait(QStringLiteral("Al Able"), now_), 0);
    }

    // The row was filled before another station put Bea Baker at its record: her password is
    // the one checked, so hers is the name counted, logged and signed in.
    void theRecordCheckedNamesTheUser() {
        AddUser(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("alpw"), 1);
        auto admin = std::make_unique<frmAdmin>();
        admin->show();
        ReplaceUser(1, QStringLiteral("Bea"), QStringLiteral("Baker"), QStringLiteral("bbpw"), 3);
        Press(admin->cmdUserSelected);
        TryPassword(*admin, QStringLiteral("alpw"), QStringLiteral("Incorrect Password"));
        admin->txtPassword->clear();
        Type(admin->txtPassword, QStringLiteral("bbpw"));
        Press(admin->cmdContinue);
        QCOMPARE(TestSession().userName, QStringLiteral("Bea Baker"));
        QCOMPARE(TestSession().level, AccessLevel::ReadEditAdd);
        QCOMPARE(LogLines(),
                 QStringList({"03/15/2024 at 10:30:00 - Bea Baker failed to sign in.",
                              "03/15/2024 at 10:30:00 - Bea Baker logged in w/ Read/Edit/Add "
                              "privileges."}));
    }

    void aWrongAccessCodeIsLoggedAndSlowsTheNext_data() {
        QTest::addColumn<bool>("users");
        QTest::addColumn<QString>("logged");
        QTest::newRow("a user highlighted")
            << true << "03/15/2024 at 10:30:00 - Al Able entered an incorrect access code.";
        QTest::newRow("nobody to name")
            << false << "03/15/2024 at 10:30:00 - An incorrect access code was entered.";
    }
    void aWrongAccessCodeIsLoggedAndSlowsTheNext() {
        QFETCH(bool, users);
        QFETCH(QString, logged);
        ScriptedAnswers answers;
        if (users)
            AddUser(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("alpw"), 4);
        else
            answers.expectMessage(QStringLiteral("'User List' Empty"), 1);
        auto admin = std::make_unique<frmAdmin>();
        admin->show();
        for (int n = 0; n < 3; ++n)
            answers.expectInput(QStringLiteral("guess"), QStringLiteral("Access Code Required"))
                .expectMessage(QStringLiteral("Incorrect Access Code"), 1);
        answers.expectMessage(QStringLiteral("Please Wait"), 1);
        Press(admin->cmdAdmin);
        QVERIFY(answers.verifyDone());
        QCOMPARE(answers.lastAsked().lines,
                 QStringList({QStringLiteral("Too many incorrect access codes."), Wait2}));
        QVERIFY(!admin->IsAdminMode());
        // Pressed again too soon, the code is not even asked.
        Later(1);
        answers.expectMessage(QStringLiteral("Please Wait"), 1);
        Press(admin->cmdAdmin);
        QVERIFY(answers.verifyDone());
        Later(1);
        answers.expectInput(QString(), QStringLiteral("Access Code Required"));
        Press(admin->cmdAdmin);
        QVERIFY(answers.verifyDone());
        QCOMPARE(LogLines(), QStringList({logged, logged, logged}));
    }
};

QTEST_MAIN(TestSignInBrake)
#include "test_signinbrake.moc"
