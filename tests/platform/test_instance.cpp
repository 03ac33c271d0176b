#include "platform/Instance.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <iostream>
#include <string>

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
