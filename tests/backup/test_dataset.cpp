// Backup and restore of the data set, below the windows: all or nothing at every step.

#include "store/Clock.h"
#include "store/DataBackup.h"
#include "store/DataRestore.h"
#include "store/FileCopy.h"
#include "store/Removal.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

using namespace store;

namespace {

using FileSet = QMap<QString, QByteArray>; // name -> bytes

const QStringList kNames = {"User.List", "User.Log", "Name.List", "Course.Index",
                            "Training.Records"};

// Whole records of the right lengths, told apart by their fill byte.
FileSet MakeSet(char fill, bool withLog = true) {
    FileSet set{{"User.List", QByteArray(2 * 500, fill)},
                {"Name.List", QByteArray(3 * 1000, fill)},
                {"Course.Index", QByteArray(4 * 300, fill)},
                {"Training.Records", QByteArray(5 * 300, fill)}};
    if (withLog)
        set.insert("User.Log", QByteArray("03/15/2024 at 10:30:00 - ") + fill + "\r\n");
    return set;
}

bool WriteSet(const QString& folder, const FileSet& set) {
    for (auto it = set.cbegin(); it != set.cend(); ++it) {
        QFile file(QDir(folder).filePath(it.key()));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(it.value()) != it.value().size())
            return false;
    }
    return true;
}

// The data files of `folder`, other files (but not folders) included by their names.
FileSet ReadSet(const QString& folder) {
    FileSet set;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        QFile file(dir.filePath(name));
        set.insert(name, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("?"));
    }
    return set;
}

QStringList SubFolders(const QString& folder) {
    return QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

// A data folder made current and a backup folder beside it.
struct Folders {
    QTemporaryDir data;
    QTemporaryDir backup;
    QString previous = QDir::currentPath();
    Folders() { QDir::setCurrent(data.path()); }
    ~Folders() {
        testing::SetRestoreHook({});
        QDir::setCurrent(previous);
    }
};

} // namespace

class TestDataSet : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        SetClock([] { return QDateTime(QDate(2026, 12, 8), QTime(14, 5, 30)); });
    }
    void cleanupTestCase() { SetClock({}); }

    void restoreStoppedAfterAnyStepGivesAWholeSet_data() {
        QTest::addColumn<bool>("backupHasLog");
        QTest::newRow("backup of all five") << true;
        QTest::newRow("backup without User.Log") << false;
    }

    // Stops the restore after step 1, 2, 3 ... until it runs through; each time the start-up
    // recovery must leave exactly the old set or exactly the new one.
    void restoreStoppedAfterAnyStepGivesAWholeSet() {
        QFETCH(bool, backupHasLog);
        const FileSet before = MakeSet('o');
        const FileSet restored = MakeSet('n', backupHasLog);
        int olds = 0, news = 0;
        for (int stopAt = 1;; ++stopAt) {
            Folders f;
            QVERIFY(WriteSet(f.data.path(), before) && WriteSet(f.backup.path(), restored));
            int step = 0;
            testing::SetRestoreHook([&](RestoreStep) { return ++step < stopAt; });
            const StoreResult run = RestoreDataSet(f.backup.path(), kNames);
            testing::SetRestoreHook({});
            if (run.ok()) {
                QVERIFY2(stopAt > 8, "a restore has at least this many steps");
                break;
            }
            const bool leftover =
                QDir().exists(RestoreStagingName) || QDir().exists(RestoreSwapName);
            QString note;
            QVERIFY(RecoverInterruptedRestore(&note));
            QCOMPARE(!note.isEmpty(), leftover);
            const FileSet now = ReadSet(f.data.path());
            const QString kept = QStringLiteral("Before restore 2026-12-08 14-05");
            if (now == before) {
                ++olds;
                QCOMPARE(SubFolders(f.data.path()), QStringList());
            } else {
                ++news;
                QCOMPARE(now, restored);
                QCOMPARE(SubFolders(f.data.path()), QStringList{kept});
                QCOMPARE(ReadSet(kept), before); // every replaced file, User.Log too
                QVERIFY(!leftover || note.contains(kept));
            }
            QVERIFY(RecoverInterruptedRestore(&note)); // nothing left to do
            QVERIFY(note.isEmpty());
        }
        QVERIFY(olds > 0 && news > 0);
    }

    void restoreGivesExactlyTheBackupsSet() {
        Folders f;
        const FileSet before = MakeSet('o');
        FileSet backup = MakeSet('n', false);
        backup.insert(TempFileName, QByteArray(300, 'x')); // never copied
        QVERIFY(WriteSet(f.data.path(), before) && WriteSet(f.backup.path(), backup));
        QStringList copied;
        QString kept;
        QVERIFY(RestoreDataSet(
            f.backup.path(), kNames, [&](const QString& name) { copied.append(name); }, &kept));
        backup.remove(TempFileName);
        QCOMPARE(ReadSet(f.data.path()), backup);
        QCOMPARE(copied,
                 QStringList({"User.List", "Name.List", "Course.Index", "Training.Records"}));
        QCOMPARE(kept, QStringLiteral("Before restore 2026-12-08 14-05"));
        QCOMPARE(ReadSet(kept), before);

        // A second restore in the same minute keeps its files apart from the first's.
        QVERIFY(RestoreDataSet(f.backup.path(), kNames, {}, &kept));
        QCOMPARE(kept, QStringLiteral("Before restore 2026-12-08 14-05 (2)"));
        QCOMPARE(ReadSet(kept), backup);
    }

    void restoreIntoAnEmptyDataFolderKeepsNothing() {
        Folders f;
        const FileSet backup = MakeSet('n');
        QVERIFY(WriteSet(f.backup.path(), backup));
        QString kept = QStringLiteral("x");
        QVERIFY(RestoreDataSet(f.backup.path(), kNames, {}, &kept));
        QVERIFY(kept.isEmpty());
        QCOMPARE(ReadSet(f.data.path()), backup);
        QCOMPARE(SubFolders(f.data.path()), QStringList());
    }

    void restoreRefusedChangesNothing_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("failingFile");
        QTest::newRow("removal leftover") << "temp" << TempFileName;
        QTest::newRow("earlier restore") << "staging" << RestoreStagingName;
        QTest::newRow("no User.List in backup") << "marker"
                                                << "User.List";
        QTest::newRow("partial record") << "partial"
                                        << "Course.Index";
        QTest::newRow("unreadable backup file") << "unreadable"
                                                << "Name.List";
    }

    void restoreRefusedChangesNothing() {
        QFETCH(QString, damage);
        QFETCH(QString, failingFile);
        Folders f;
        const FileSet before = MakeSet('o');
        FileSet backup = MakeSet('n');
        QVERIFY(WriteSet(f.data.path(), before));
        if (damage == QLatin1String("temp"))
            QVERIFY(WriteSet(f.data.path(), {{TempFileName, QByteArray(300, 'x')}}));
        if (damage == QLatin1String("staging"))
            QVERIFY(QDir().mkdir(RestoreStagingName));
        if (damage == QLatin1String("marker"))
            backup.remove("User.List");
        if (damage == QLatin1String("partial"))
            backup["Course.Index"].chop(1);
        if (damage == QLatin1String("unreadable")) {
            backup.remove("Name.List");
            QVERIFY(QDir(f.backup.path()).mkdir("Name.List"));
        }
        QVERIFY(WriteSet(f.backup.path(), backup));
        const FileSet was = ReadSet(f.data.path());
        const StoreResult r = RestoreDataSet(f.backup.path(), kNames);
        QVERIFY(!r.ok());
        QCOMPARE(r.fileName(), failingFile);
        QCOMPARE(ReadSet(f.data.path()), was);
        QCOMPARE(SubFolders(f.data.path()), damage == QLatin1String("staging")
                                                ? QStringList{RestoreStagingName}
                                                : QStringList());
    }

    void recoveryKeepsEverythingWhenItsListIsDamaged() {
        Folders f;
        QVERIFY(WriteSet(f.data.path(), MakeSet('o')));
        QVERIFY(QDir().mkdir(RestoreSwapName));
        QVERIFY(WriteSet(RestoreSwapName, {{"Restore.list", "kept ../x\nrestore User.List\n"},
                                           {"User.List", QByteArray(500, 'n')}}));
        QVERIFY(!RecoverInterruptedRestore().ok());
        QCOMPARE(ReadSet(f.data.path()), MakeSet('o'));
        QCOMPARE(ReadSet(RestoreSwapName).size(), 2);
    }

    void backupReplacesAFormerBackupWhole() {
        Folders f;
        const FileSet current = MakeSet('n', false);
        QVERIFY(WriteSet(f.data.path(), current));
        QVERIFY(WriteSet(f.backup.path(), MakeSet('o')));
        QVERIFY(WriteSet(f.backup.path(), {{"Notes.txt", "mine"}}));
        QStringList copied;
        QVERIFY(BackupDataSet(f.backup.path(), kNames,
                              [&](const QString& name) { copied.append(name); }));
        QCOMPARE(copied,
                 QStringList({"User.List", "Name.List", "Course.Index", "Training.Records"}));
        FileSet expected = current;
        expected.insert("Notes.txt", "mine"); // the former backup's User.Log is gone
        QCOMPARE(ReadSet(f.backup.path()), expected);
    }

    void backupThatFailsMidwayLeavesTheFormerBackup() {
        Folders f;
        QVERIFY(WriteSet(f.data.path(), MakeSet('n')));
        // Course.Index cannot be read: a folder stands in its place.
        QVERIFY(QFile::remove("Course.Index") && QDir().mkdir("Course.Index"));
        const FileSet former = MakeSet('o');
        QVERIFY(WriteSet(f.backup.path(), former));
        const StoreResult r = BackupDataSet(f.backup.path(), kNames);
        QVERIFY(!r.ok());
        QCOMPARE(r.fileName(), QStringLiteral("Course.Index"));
        QVERIFY(!r.reason().isEmpty());
        QCOMPARE(ReadSet(f.backup.path()), former); // no temporary copy left either
    }

    void sameFolderByCanonicalPath() {
        Folders f;
        const QString data = f.data.path();
        const QString link = f.backup.path() + "/link";
        QVERIFY(QFile::link(data, link));
        QVERIFY(filecopy::SameFolder(data, data + "/"));
        QVERIFY(filecopy::SameFolder(link, data));
        QVERIFY(filecopy::SameFolder(data + "/sub/..", data));
        QVERIFY(!filecopy::SameFolder(f.backup.path(), data));
        QVERIFY(!filecopy::SameFolder(data + "/missing", data));
    }
};

QTEST_APPLESS_MAIN(TestDataSet)
#include "test_dataset.moc"
