// Two programs on one data folder: the one that starts second is told who holds the folder and
// may only read it (no repair, no write); a lock left by a program of this machine that stopped
// is taken over; one from another machine is broken only when the user says so.

#include "app/basMirtavel.h"
#include "forms/ShutDown.h"
#include "platform/Instance.h"
#include "store/ChangeLog.h"
#include "store/FolderLock.h"
#include "store/ReadOnlyStation.h"
#include "store/RecordStore.h"
#include "store/Records.h"
#include "store/UserLog.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "ui/AppTitle.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QSysInfo>
#include <QTest>
#include <iostream>
#include <string>

namespace {

const char* const HoldArgument = "--hold-folder";
const char* const ExitArgument = "--exit";
const QString TempFile = QStringLiteral("TempFile.$$$");

// Run as the program that holds the folder: take its lock, say so, keep it until stdin closes.
int HoldFolder(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QDir::setCurrent(QString::fromLocal8Bit(argv[2]));
    const store::LockAttempt lock = store::TakeFolderLock();
    std::cout << (lock.outcome == store::LockOutcome::Taken ? "held" : "busy") << std::endl;
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    store::ReleaseFolderLock();
    return 0;
}

void WriteFile(const QString& name, const QByteArray& bytes) {
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray FileBytes(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every file of the folder, hidden ones too, with its bytes.
QMap<QString, QByteArray> Snapshot() {
    store::changelog::Settle(); // a write's done journal goes once its lines are synced
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir().entryList(QDir::Files | QDir::Hidden | QDir::System))
        files.insert(name, FileBytes(name));
    return files;
}

// Work a start-up repair would settle: a removal's copy whose User.List is gone. And an empty
// file, which a shutdown would delete.
void LeaveUnfinishedWork() {
    store::UserRecord user;
    user.DateCreated = 38412.5;
    user.FirstName = QStringLiteral("Al");
    user.LastName = QStringLiteral("Able");
    user.AccessLevel = 4;
    WriteFile(TempFile, user.Encode());
    WriteFile(QStringLiteral("Name.List"), {});
    WriteFile(QStringLiteral("Course.Index"), QByteArray(300, 'c'));
}

QByteArray LockText(const QString& user, const QString& machine, qint64 pid,
                    const QDateTime& since) {
    return "Mirtavel data folder lock\nUser=" + user.toUtf8() + "\nMachine=" + machine.toUtf8() +
           "\nPid=" + QByteArray::number(pid) + "\nSince=" +
           since.toOffsetFromUtc(since.offsetFromUtc()).toString(Qt::ISODate).toUtf8() + '\n';
}

bool LockIsOurs() {
    return FileBytes(store::FolderLockFileName)
        .contains("\nPid=" + QByteArray::number(QCoreApplication::applicationPid()) + '\n');
}

} // namespace

class TestFolderLock : public QObject {
    Q_OBJECT

    std::unique_ptr<TestFolder> folder_;
    QString instance_;

private slots:
    void init() {
        static int run = 0;
        instance_ = QStringLiteral("mirtavel-folderlock-test-%1-%2")
                        .arg(QCoreApplication::applicationPid())
                        .arg(++run);
        folder_ = std::make_unique<TestFolder>();
        SetProgramEnd([] {});
    }
    void cleanup() {
        for (QWidget* widget : QApplication::topLevelWidgets())
            widget->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        platform::ReleaseInstanceLock();
        store::ReleaseFolderLock();
        store::SetReadOnlyStation(false);
        SetProgramEnd({});
        folder_.reset();
    }

    void aSecondProgramIsToldWhoHoldsTheFolderAndOnlyReads() {
        LeaveUnfinishedWork();
        QProcess holder;
        holder.start(QCoreApplication::applicationFilePath(),
                     {QString::fromLatin1(HoldArgument), folder_->path()});
        QVERIFY(holder.waitForStarted());
        QVERIFY(holder.waitForReadyRead());
        QCOMPARE(holder.readLine().trimmed(), QByteArray("held"));
        const auto before = Snapshot();

        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Data Folder in Use"), 1);
        QVERIFY(Main(instance_)); // no repair: "Data Files Repaired" would be a question
        QVERIFY(answers.verifyDone());
        const QString told = answers.lastAsked().lines.join(u' ');
        QVERIFY2(told.contains(store::ThisStation().user + QStringLiteral(" on ") +
                               QSysInfo::machineHostName() + QStringLiteral(" since ")),
                 qPrintable(told));
        QCOMPARE(answers.lastAsked().buttons, QStringList({"Open &Read Only", "&Quit"}));
        QVERIFY(store::IsReadOnlyStation());

        // Whatever this station tries, nothing reaches the folder.
        QVERIFY(store::OpenNameList().ok());
        const store::StoreResult written = store::Persons().Write(1);
        store::CloseNameList();
        QVERIFY(!written);
        QCOMPARE(written.reason(), store::ReadOnlyStationReason());
        QVERIFY(store::OpenTrainingRecords().ok()); // a missing file is not made by looking
        store::CloseTrainingRecords();
        QVERIFY(!store::AppendUserLog(store::UserLogEvent::SignIn, QStringLiteral("Ann Admin"),
                                      QStringLiteral("Read Only")));
        ShutDown(); // the empty Name.List stays: it may be the holder's
        QCOMPARE(Snapshot(), before);

        holder.closeWriteChannel();
        QVERIFY(holder.waitForFinished());
        QVERIFY(!QFile::exists(store::FolderLockFileName));
    }

    void aLockLeftOnThisMachineIsTakenOver() {
        LeaveUnfinishedWork();
        QProcess gone;
        gone.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(ExitArgument)});
        QVERIFY(gone.waitForStarted());
        const qint64 pid = gone.processId();
        QVERIFY(gone.waitForFinished());
        WriteFile(store::FolderLockFileName,
                  LockText(QStringLiteral("carl"), QSysInfo::machineHostName(), pid,
                           TestFolder::FixedNow().addDays(-1)));

        ScriptedAnswers answers; // no question about the lock; the repairs run
        answers.expectMessage(QStringLiteral("Data Files Repaired"), 1);
        QVERIFY(Main(instance_));
        QVERIFY(answers.verifyDone());
        QVERIFY(!store::IsReadOnlyStation());
        QVERIFY(LockIsOurs());
        QVERIFY(!QFile::exists(TempFile));
    }

    void aLockFromAnotherMachineIsBrokenOnlyByChoice_data() {
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QList<int>>("buttons");
        QTest::addColumn<bool>("started");
        QTest::addColumn<bool>("broken");
        const QString inUse = QStringLiteral("Data Folder in Use");
        const QString breakIt = QStringLiteral("Break the Lock?");
        QTest::newRow("quit") << QStringList{inUse} << QList<int>{2} << false << false;
        QTest::newRow("break cancelled, then quit")
            << QStringList{inUse, breakIt, inUse} << QList<int>{3, 2, 2} << false << false;
        QTest::newRow("read only") << QStringList{inUse} << QList<int>{1} << true << false;
        QTest::newRow("broken") << QStringList{inUse, breakIt,
                                               QStringLiteral("Data Files Repaired")}
                                << QList<int>{3, 1, 1} << true << true;
    }
    void aLockFromAnotherMachineIsBrokenOnlyByChoice() {
        QFETCH(QStringList, titles);
        QFETCH(QList<int>, buttons);
        QFETCH(bool, started);
        QFETCH(bool, broken);
        LeaveUnfinishedWork();
        const QByteArray foreign = LockText(QStringLiteral("dana"), QStringLiteral("pc-far-away"),
                                            4242, TestFolder::FixedNow().addSecs(-7200));
        WriteFile(store::FolderLockFileName, foreign);

        ScriptedAnswers answers;
        for (int i = 0; i < titles.size(); ++i)
            answers.expectMessage(titles[i], buttons[i]);
        QCOMPARE(Main(instance_), started);
        QVERIFY(answers.verifyDone());
        const ScriptedAnswers::Asked& first = answers.asked().first();
        QVERIFY(first.lines.join(u' ').contains(QStringLiteral(
            "is in use by dana on pc-far-away since 03/15/2024 08:30 (2 hours ago).")));
        QCOMPARE(first.buttons, QStringList({"Open &Read Only", "&Quit", "&Break the Lock"}));
        QCOMPARE(store::IsReadOnlyStation(), started && !broken);
        QCOMPARE(FileBytes(store::FolderLockFileName) == foreign, !broken);
        QCOMPARE(LockIsOurs(), broken);
        QCOMPARE(QFile::exists(TempFile), !broken); // repairs only for the folder's holder
    }
};

int main(int argc, char* argv[]) {
    if (argc == 3 && qstrcmp(argv[1], HoldArgument) == 0)
        return HoldFolder(argc, argv);
    if (argc == 2 && qstrcmp(argv[1], ExitArgument) == 0)
        return 0;
    QApplication app(argc, argv);
    TestFolderLock test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_folderlock.moc"
