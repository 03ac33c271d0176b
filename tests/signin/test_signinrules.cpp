// The sign-in's rules read without the Admin window: the user log as viewed, and the
// access-code prompt's offered answer.
#include "signin/AccessCode.h"
#include "signin/AdminAccess.h"
#include "signin/PasswordCheck.h"
#include "signin/SignInBrake.h"
#include "signin/UserLogReading.h"
#include "store/UserLog.h"
#include "support/TestFolder.h"

#include <QFile>
#include <QTest>

class TestSignInRules : public QObject {
    Q_OBJECT

private slots:
    void init() { signin::AccessCodeBrake().Clear(); }

    void theLogIsReadForViewing_data() {
        QTest::addColumn<QByteArray>("bytes"); // null: no log
        QTest::addColumn<bool>("empty");
        QTest::addColumn<QString>("text");
        QTest::newRow("no log") << QByteArray() << true << QString();
        QTest::newRow("no length") << QByteArray("") << true << QString();
        QTest::newRow("blanks at the ends go, line ends stay")
            << QByteArray("  Al Able logged out. \r\nBea  \r\n  ") << false
            << QStringLiteral("Al Able logged out. \nBea  \n");
        QTest::newRow("blanks alone") << QByteArray("   ") << false << QString();
        QTest::newRow("the data's code page")
            << QByteArray("Jos\xe9 Ruiz\r\n") << false << QStringLiteral("Jos\u00e9 Ruiz\n");
    }
    void theLogIsReadForViewing() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, empty);
        QFETCH(QString, text);
        TestFolder folder;
        if (!bytes.isNull()) {
            QFile log(store::UserLogFileName);
            QVERIFY(log.open(QIODevice::WriteOnly));
            QCOMPARE(log.write(bytes), bytes.size());
        }
        const signin::UserLogText read = signin::ReadUserLogText();
        QVERIFY(read.read.ok());
        QCOMPARE(read.empty, empty);
        QCOMPARE(read.text, text);
    }

    // The prompt's offered text sent back unchanged is refused even where it is the code.
    void theOfferedAnswerIsNeverTheCode_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("right");
        const QString offered = signin::AccessCodePromptDefault;
        QTest::newRow("the code") << "Badge#4711"
                                  << "Badge#4711" << true;
        QTest::newRow("another") << "Badge#4711"
                                 << "Badge#4712" << false;
        QTest::newRow("the offered text as the code") << offered << offered << false;
    }
    void theOfferedAnswerIsNeverTheCode() {
        QFETCH(QString, code);
        QFETCH(QString, answer);
        QFETCH(bool, right);
        TestFolder folder;
        const signin::SignInTry tried =
            signin::TryAccessCode(signin::MakeAccessCodeRecord(code, 1000), answer,
                                  signin::AccessCodePromptDefault, QStringLiteral("Al Able"));
        QCOMPARE(tried.right, right);
        QVERIFY(tried.logged.ok());
        QCOMPARE(QFile::exists(store::UserLogFileName), !right);
    }
};

QTEST_GUILESS_MAIN(TestSignInRules)
#include "test_signinrules.moc"
