#include "platform/Instance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <iostream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;

namespace {

const char* const HoldArgument = "--hold-lock";

// Run as a second copy: report whether the lock was free, then keep it until stdin closes.
int HoldLock(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const bool other = PreviousInstanceRunning(QString::fromLocal8Bit(argv[2]));
    std::cout << (other ? "busy" : "held") << std::endl;
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    ReleaseInstanceLock();
    return 0;
}

} // namespace

class TestInstance : public QObject {
    Q_OBJECT

private:
    QString lockName_;

    // Starts a second copy of this program and returns its first word.
    QByteArray StartCopy(QProcess& copy) {
        copy.start(QCoreApplication::applicationFilePath(),
                   {QString::fromLatin1(HoldArgument), lockName_});
        if (!copy.waitForStarted() || !copy.waitForReadyRead())
            return {};
        return copy.readLine().trimmed();
    }

private slots:
    void init() {
        static int run = 0;
        lockName_ = QStringLiteral("mirtavel-test-%1-%2")
                        .arg(QCoreApplication::applicationPid())
                        .arg(++run);
        QFile::remove(InstanceLockPath(lockName_));
    }

    void cleanup() {
        ReleaseInstanceLock();
        QFile::remove(InstanceLockPath(lockName_));
    }

    void firstCopyTakesTheLock() {
        QVERIFY(!PreviousInstanceRunning(lockName_));
        QVERIFY(QFile::exists(InstanceLockPath(lockName_)));
        // This process holding it is not another copy.
        QVERIFY(!PreviousInstanceRunning(lockName_));
        ReleaseInstanceLock();
        QVERIFY(!QFile::exists(InstanceLockPath(lockName_)));
    }

    void aSecondCopyIsRefused() {
        QVERIFY(!PreviousInstanceRunning(lockName_));
        QProcess copy;
        QCOMPARE(StartCopy(copy), QByteArray("busy"));
        copy.closeWriteChannel();
        QVERIFY(copy.waitForFinished());
    }

    void aLiveCopyIsDetectedUntilItEnds() {
        QProcess copy;
        QCOMPARE(StartCopy(copy), QByteArray("held"));
        QVERIFY(PreviousInstanceRunning(lockName_));
        copy.closeWriteChannel();
        QVERIFY(copy.waitForFinished());
        QCOMPARE(copy.exitCode(), 0);
        QVERIFY(!PreviousInstanceRunning(lockName_));
    }

    // Without a runtime folder the lock goes into a folder of the user's own, never into the
    // shared temporary folder; a folder planted under that name is not used.
    void fallbackIsAPrivateFolder_data() {
        QTest::addColumn<QString>("planted");
        QTest::addColumn<bool>("locks");
        QTest::newRow("nothing there yet") << QString() << true;
        QTest::newRow("a link to another folder") << QStringLiteral("link") << false;
        QTest::newRow("a folder open to others") << QStringLiteral("open") << false;
        QTest::newRow("a file") << QStringLiteral("file") << false;
    }
    void fallbackIsAPrivateFolder() {
        QFETCH(QString, planted);
        QFETCH(bool, locks);
        QTemporaryDir temp;
        QVERIFY(temp.isValid());
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR"), tmpdir = qgetenv("TMPDIR");
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", QFile::encodeName(temp.path()));
        const QString own = temp.filePath(QStringLiteral("mirtavel-%1").arg(::geteuid()));
        const QString other = temp.filePath(QStringLiteral("other"));
        QVERIFY(QDir().mkdir(other));
        if (planted == QLatin1String("link"))
            QVERIFY(QFile::link(other, own));
        else if (planted == QLatin1String("open"))
            QVERIFY(QDir().mkdir(own) && ::chmod(QFile::encodeName(own).constData(), 0777) == 0);
        else if (planted == QLatin1String("file"))
            QVERIFY(QFile(own).open(QIODevice::WriteOnly));

        const QString path = InstanceLockPath(lockName_);
        const bool running = PreviousInstanceRunning(lockName_);
        ReleaseInstanceLock();
        qputenv("XDG_RUNTIME_DIR", runtime);
        qputenv("TMPDIR", tmpdir);
        QVERIFY(!running);
        QCOMPARE(!path.isEmpty(), locks);
        QVERIFY(QDir(other).isEmpty());
        if (locks) {
            QCOMPARE(QFileInfo(path).path(), own);
            struct stat st;
            QCOMPARE(::lstat(QFile::encodeName(own).constData(), &st), 0);
            QCOMPARE(st.st_mode & 0777, mode_t(0700));
        }
    }

    void aCrashedCopyDoesNotBlock() {
        QProcess copy;
        QCOMPARE(StartCopy(copy), QByteArray("held"));
        copy.kill();
        QVERIFY(copy.waitForFinished());
        // The killed copy could not remove its lock file.
        QVERIFY(QFile::exists(InstanceLockPath(lockName_)));
        QVERIFY(!PreviousInstanceRunning(lockName_));

        QProcess next;
        QCOMPARE(StartCopy(next), QByteArray("busy"));
        next.closeWriteChannel();
        QVERIFY(next.waitForFinished());
    }
};

int main(int argc, char* argv[]) {
    if (argc == 3 && qstrcmp(argv[1], HoldArgument) == 0)
        return HoldLock(argc, argv);
    QCoreApplication app(argc, argv);
    TestInstance test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_instance.moc"
