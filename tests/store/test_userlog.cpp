#include "DataFolder.h"

#include "store/Clock.h"
#include "store/UserLog.h"

#include <QFileInfo>
#include <QSet>
#include <QtTest>
#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace store;

namespace {

const QDateTime kMorning(QDate(2014, 3, 7), QTime(8, 15, 2));
const QDateTime kEvening(QDate(2014, 3, 7), QTime(23, 40, 55));

bool IsLetterOrDigit(QChar c) {
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
}

// Fixes the clock for the life of the object.
struct FixedClock {
    explicit FixedClock(const QDateTime& when) {
        SetClock([when] { return when; });
    }
    ~FixedClock() { SetClock({}); }
};

} // namespace

class TestUserLog : public QObject {
    Q_OBJECT

private slots:
    void formatsLine_data();
    void formatsLine();
    void namesNobodyForAnAccessCodeWithoutUser();
    void appendCreatesMissingLog();
    void appendAddsLinesInCodePage();
    void escapesControlCharactersInName_data();
    void escapesControlCharactersInName();
    void reportsLogThatCannotBeOpened();
    void followsLinksOnlyInsideFolder_data();
    void followsLinksOnlyInsideFolder();
    void takesBackPartLine();
    void scrambleInterleavesFiller_data();
    void scrambleInterleavesFiller();
    void scrambleDrawsFreshFiller();
    void fillerCoversDigitsAndLetters();
    void unscrambleTakesEverySecondCharacter_data();
    void unscrambleTakesEverySecondCharacter();
};

void TestUserLog::formatsLine_data() {
    QTest::addColumn<int>("event");
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QString>("line");
    QTest::newRow("sign-in") << static_cast<int>(UserLogEvent::SignIn) << kMorning
                             << QStringLiteral("03/07/2014 at 08:15:02 - First Last logged in w/ "
                                               "Read/Edit/Add privileges.");
    QTest::newRow("sign-out") << static_cast<int>(UserLogEvent::SignOut) << kEvening
                              << QStringLiteral("03/07/2014 at 23:40:55 - First Last logged out.");
    QTest::newRow("failed sign-in")
        << static_cast<int>(UserLogEvent::FailedSignIn) << kMorning
        << QStringLiteral("03/07/2014 at 08:15:02 - First Last failed to sign in.");
    QTest::newRow("incorrect access code")
        << static_cast<int>(UserLogEvent::FailedAccessCode) << kEvening
        << QStringLiteral("03/07/2014 at 23:40:55 - First Last entered an incorrect access code.");
    QTest::newRow("a number outside the events signs out")
        << 0 << QDateTime(QDate(2025, 12, 31), QTime(0, 0, 9))
        << QStringLiteral("12/31/2025 at 00:00:09 - First Last logged out.");
}

void TestUserLog::formatsLine() {
    QFETCH(int, event);
    QFETCH(QDateTime, when);
    QFETCH(QString, line);
    QCOMPARE(UserLogLine(static_cast<UserLogEvent>(event), QStringLiteral("First Last"),
                         QStringLiteral("Read/Edit/Add"), when),
             line);
}

// An incorrect access code given while no user was highlighted names nobody.
void TestUserLog::namesNobodyForAnAccessCodeWithoutUser() {
    QCOMPARE(UserLogLine(UserLogEvent::FailedAccessCode, QString(), QString(), kMorning),
             QStringLiteral("03/07/2014 at 08:15:02 - An incorrect access code was entered."));
}

void TestUserLog::appendCreatesMissingLog() {
    DataFolder folder;
    QVERIFY(folder.ready());
    FixedClock clock(kMorning);
    QVERIFY(AppendUserLog(UserLogEvent::SignIn, QStringLiteral("Ann Lee"),
                          QStringLiteral("Read Only")));
    QCOMPARE(ReadBytes(QStringLiteral("User.Log")),
             QByteArray("03/07/2014 at 08:15:02 - Ann Lee logged in w/ Read Only privileges.\r\n"));
}

void TestUserLog::appendAddsLinesInCodePage() {
    DataFolder folder;
    QVERIFY(folder.ready());
    const QByteArray earlier("an older line\r\n");
    QVERIFY(WriteBytes(QStringLiteral("User.Log"), earlier));
    {
        FixedClock clock(kMorning);
        QVERIFY(AppendUserLog(UserLogEvent::SignIn, QStringLiteral("Zo\u00EB \u20AC\u03A9"),
                              QStringLiteral("Read/Edit")));
    }
    {
        FixedClock clock(kEvening);
        QVERIFY(AppendUserLog(UserLogEvent::SignOut, QStringLiteral("Zo\u00EB \u20AC\u03A9"),
                              QStringLiteral("Read/Edit")));
    }
    QCOMPARE(ReadBytes(QStringLiteral("User.Log")),
             earlier + QByteArray("03/07/2014 at 08:15:02 - Zo\xEB \x80? logged in w/ Read/Edit "
                                  "privileges.\r\n"
                                  "03/07/2014 at 23:40:55 - Zo\xEB \x80? logged out.\r\n"));
}

void TestUserLog::reportsLogThatCannotBeOpened() {
    DataFolder folder;
    QVERIFY(folder.ready());
    QVERIFY(QDir().mkdir(QStringLiteral("User.Log")));
    const StoreResult r =
        AppendUserLog(UserLogEvent::SignOut, QStringLiteral("Ann Lee"), QString());
    QVERIFY(!r.ok());
    QCOMPARE(r.fileName(), QStringLiteral("User.Log"));
    QVERIFY(!r.reason().isEmpty());
}

void TestUserLog::escapesControlCharactersInName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("logged");
    QTest::newRow("a line of its own")
        << QStringLiteral("X\r\n. payload #") << QStringLiteral("X\\x0D\\x0A. payload #");
    QTest::newRow("NUL, TAB, ESC, US")
        << QStringLiteral("A") + QChar(0) + QStringLiteral("\t\x1B\x1F")
        << QStringLiteral("A\\x00\\x09\\x1B\\x1F");
    QTest::newRow("DEL and C1 bytes 0x81 0x90 0x9D")
        << QStringLiteral("B\u007F\u0081\u0090\u009D") << QStringLiteral("B\\x7F\\x81\\x90\\x9D");
    QTest::newRow("letters of the page stay") << QStringLiteral("\u20AC \u201C\u00A0\u00FF\\")
                                              << QStringLiteral("\u20AC \u201C\u00A0\u00FF\\");
}

void TestUserLog::escapesControlCharactersInName() {
    QFETCH(QString, name);
    QFETCH(QString, logged);
    const QString line =
        UserLogLine(UserLogEvent::SignIn, name, QStringLiteral("Read Only"), kMorning);
    QCOMPARE(line, QStringLiteral("03/07/2014 at 08:15:02 - ") + logged +
                       QStringLiteral(" logged in w/ Read Only privileges."));
    // Whatever the name, the log grows by exactly one line.
    DataFolder folder;
    QVERIFY(folder.ready());
    FixedClock clock(kMorning);
    QVERIFY(AppendUserLog(UserLogEvent::SignIn, name, QStringLiteral("Read Only")));
    const QByteArray bytes = ReadBytes(QStringLiteral("User.Log"));
    QCOMPARE(bytes.count('\n'), 1);
    QCOMPARE(bytes.count('\r'), 1);
    QVERIFY(bytes.endsWith("privileges.\r\n"));
}

void TestUserLog::followsLinksOnlyInsideFolder_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("written");
    QTest::newRow("link inside the folder") << QStringLiteral("inside") << true;
    QTest::newRow("link to a file outside") << QStringLiteral("outside") << false;
    QTest::newRow("link out through a link inside") << QStringLiteral("chain") << false;
    QTest::newRow("link outside to a file not there") << QStringLiteral("dangling") << false;
    QTest::newRow("link to a device") << QStringLiteral("device") << false;
    QTest::newRow("FIFO") << QStringLiteral("fifo") << false;
}

void TestUserLog::followsLinksOnlyInsideFolder() {
    QFETCH(QString, entry);
    QFETCH(bool, written);
    QTemporaryDir elsewhere;
    QVERIFY(elsewhere.isValid());
    const QString victim = elsewhere.filePath(QStringLiteral(".bashrc"));
    DataFolder folder;
    QVERIFY(folder.ready());
    QVERIFY(WriteBytes(victim, "keep\n"));
    const QString log = QStringLiteral("User.Log");
    QVERIFY(QDir().mkdir(QStringLiteral("shared")));
    const QString shared = QStringLiteral("shared/User.Log");
    QVERIFY(WriteBytes(shared, "an older line\r\n"));
    if (entry == QLatin1String("inside"))
        QVERIFY(QFile::link(shared, log));
    else if (entry == QLatin1String("outside"))
        QVERIFY(QFile::link(victim, log));
    else if (entry == QLatin1String("chain"))
        QVERIFY(QFile::link(victim, QStringLiteral("hop")) &&
                QFile::link(QStringLiteral("hop"), log));
    else if (entry == QLatin1String("dangling"))
        QVERIFY(QFile::link(elsewhere.filePath(QStringLiteral("new")), log));
    else if (entry == QLatin1String("device"))
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), log));
    else
        QCOMPARE(::mkfifo(QFile::encodeName(log).constData(), 0600), 0);

    FixedClock clock(kEvening);
    const StoreResult r =
        AppendUserLog(UserLogEvent::SignOut, QStringLiteral("Ann Lee"), QString());
    QCOMPARE(r.ok(), written);
    QCOMPARE(ReadBytes(victim), QByteArray("keep\n"));
    QVERIFY(!QFile::exists(elsewhere.filePath(QStringLiteral("new"))));
    if (written) {
        QCOMPARE(ReadBytes(shared),
                 QByteArray("an older line\r\n03/07/2014 at 23:40:55 - Ann Lee logged out.\r\n"));
        return;
    }
    QCOMPARE(r.fileName(), log);
    QCOMPARE(r.reason(), entry == QLatin1String("fifo")
                             ? QStringLiteral("It is not a plain file; nothing was written to it.")
                             : QStringLiteral("It is a link that leads outside the data folder; "
                                              "it was not opened."));
}

void TestUserLog::takesBackPartLine() {
    DataFolder folder;
    QVERIFY(folder.ready());
    const QByteArray earlier("an older line\r\n");
    QVERIFY(WriteBytes(QStringLiteral("User.Log"), earlier));
    // The file-size limit lets 20 more bytes in, then refuses, even for root.
    struct rlimit previous;
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
    struct rlimit small = previous;
    small.rlim_cur = earlier.size() + 20;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const StoreResult r =
        AppendUserLog(UserLogEvent::SignOut, QStringLiteral("Ann Lee"), QString());
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY(!r.ok());
    QCOMPARE(r.fileName(), QStringLiteral("User.Log"));
    QCOMPARE(ReadBytes(QStringLiteral("User.Log")), earlier);
}

void TestUserLog::scrambleInterleavesFiller_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("password");
    QTest::newRow("three") << QStringLiteral("ab1") << QStringLiteral("ab1");
    QTest::newRow("eight") << QStringLiteral("Pass1234") << QStringLiteral("Pass1234");
    QTest::newRow("blanks around") << QStringLiteral("  Zz9  ") << QStringLiteral("Zz9");
    QTest::newRow("empty") << QString() << QString();
}

void TestUserLog::scrambleInterleavesFiller() {
    QFETCH(QString, typed);
    QFETCH(QString, password);
    const QString scrambled = ScramblePassword(typed);
    QCOMPARE(scrambled.size(), password.size() * 2);
    for (qsizetype i = 0; i < password.size(); ++i) {
        QVERIFY2(IsLetterOrDigit(scrambled.at(2 * i)), qPrintable(scrambled));
        QCOMPARE(scrambled.at(2 * i + 1), password.at(i));
    }
    QCOMPARE(UnscramblePassword(scrambled), password);
}

void TestUserLog::scrambleDrawsFreshFiller() {
    // Twenty scrambles of one password all alike would mean the filler is not drawn at random
    // (the odds of that by chance are 62^-140).
    QSet<QString> forms;
    for (int i = 0; i < 20; ++i)
        forms.insert(ScramblePassword(QStringLiteral("Pass1234")));
    QVERIFY(forms.size() > 1);
}

void TestUserLog::fillerCoversDigitsAndLetters() {
    bool digit = false, upper = false, lower = false;
    for (int i = 0; i < 100; ++i) {
        const QString scrambled = ScramblePassword(QStringLiteral("abcdefgh"));
        for (qsizetype k = 0; k < scrambled.size(); k += 2) {
            const QChar c = scrambled.at(k);
            QVERIFY(IsLetterOrDigit(c));
            digit = digit || c.isDigit();
            upper = upper || c.isUpper();
            lower = lower || c.isLower();
        }
    }
    QVERIFY(digit);
    QVERIFY(upper);
    QVERIFY(lower);
}

void TestUserLog::unscrambleTakesEverySecondCharacter_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("password");
    QTest::newRow("field padded") << QStringLiteral("xaybzc          ") << QStringLiteral("abc");
    QTest::newRow("sixteen") << QStringLiteral("1P2a3s4s5W6o7r8d") << QStringLiteral("PassWord");
    QTest::newRow("odd length") << QStringLiteral("xAy") << QStringLiteral("A");
    QTest::newRow("empty") << QString() << QString();
}

void TestUserLog::unscrambleTakesEverySecondCharacter() {
    QFETCH(QString, stored);
    QFETCH(QString, password);
    QCOMPARE(UnscramblePassword(stored), password);
}

QTEST_APPLESS_MAIN(TestUserLog)
#include "test_userlog.moc"
