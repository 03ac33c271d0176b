// Backup and restore of the data set, below the windows: all or nothing at every step.

#include "store/ChangeLog.h"
#include "store/Clock.h"
#include "store/CourseCopies.h"
#include "store/DataBackup.h"
#include "store/DataRestore.h"
#include "store/DataSet.h"
#include "store/FileCopy.h"
#include "store/FileWrite.h"
#include "store/PersonTraining.h"
#include "store/RecordFile.h"
#include "store/Records.h"
#include "store/Removal.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <functional>
#include <sys/stat.h>

using namespace store;

namespace {

using FileSet = QMap<QString, QByteArray>; // name -> bytes

const QStringList kNames = DataSetFileNames();

template <class Record>
QByteArray Encoded(int count, const std::function<void(Record&, int)>& fill) {
    QByteArray bytes;
    for (int i = 0; i < count; ++i) {
        Record record;
        fill(record, i);
        bytes += record.Encode();
    }
    return bytes;
}

// A whole and clean set, as the program writes it, told apart by `fill` in its texts.
FileSet MakeSet(char fill, bool withLog = true) {
    const QString text(2, QChar::fromLatin1(fill));
    FileSet set{{"User.List", Encoded<UserRecord>(2,
                                                  [&](UserRecord& r, int i) {
                                                      r.DateCreated = 45000 + i;
                                                      r.FirstName = text;
                                                      r.AccessLevel = 4;
                                                  })},
                {"Name.List", Encoded<PersonRecord>(3,
                                                    [&](PersonRecord& r, int i) {
                                                        r.DateCreated = 45100 + i;
                                                        r.LastName = text;
                                                    })},
                {"Course.Index", Encoded<CourseRecord>(4,
                                                       [&](CourseRecord& r, int i) {
                                                           r.DateCreated = 45200 + i;
                                                           r.CourseName = text;
                                                       })},
                {"Training.Records", Encoded<TrainingRecord>(5, [&](TrainingRecord& r, int i) {
                     r.TrainingDate = 45300 + i;
                     r.PersonKey = 45100;
                     r.CourseKey = 45200;
                     r.CourseName = text;
                 })}};
    if (withLog)
        set.insert("User.Log", QByteArray("03/15/2024 at 10:30:00 - ") + fill + "\r\n");
    return set;
}

const auto kAgree = [](const RestoreReview&) { return true; };

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
// The files of `folder` but the change log, which a restore adds to rather than restores (its
// lines are looked at in its own tests).
FileSet ReadSet(const QString& folder) {
    changelog::Settle(); // a write's done journal goes once its lines are synced
    FileSet set;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (name == ChangeLogFileName)
            continue;
        QFile file(dir.filePath(name));
        set.insert(name, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("?"));
    }
    return set;
}

// Puts what a row names at `path`: a link to `to`, a named pipe, a folder, or a file of `size`
// bytes (sparse, so that a large one costs no disk) or of `bytes`.
bool Plant(const QString& path, const QString& kind, const QString& to = {}, qint64 size = 0) {
    if (kind == QLatin1String("link"))
        return QFile::link(to, path);
    if (kind == QLatin1String("pipe"))
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    if (kind == QLatin1String("folder"))
        return QDir().mkdir(path);
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           (kind == QLatin1String("sized") ? file.resize(size) : file.write(to.toUtf8()) >= 0);
}

// The type bits of what stands at `path`, not following a link; 0 when nothing does.
mode_t TypeAt(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & S_IFMT : 0;
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
            const StoreResult run = RestoreDataSet(f.backup.path(), kNames, {}, nullptr, kAgree);
            testing::SetRestoreHook({});
            if (run.ok()) {
                QVERIFY2(stopAt > 8, "a restore has at least this many steps");
                break;
            }
            const bool leftover =
                QDir().exists(RestoreStagingName) || QDir().exists(RestoreSwapName);
            // Stopped once every file was placed and the list removed: nothing names the kept
            // folder any more.
            const bool finished = RestoreSwapState() == SwapState::Finished;
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
                QVERIFY(!leftover || finished || note.contains(kept));
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
            f.backup.path(), kNames, [&](const QString& name) { copied.append(name); }, &kept,
            kAgree));
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
        for (const QString& journal :
             {RecordWriteJournal, PersonRemovalJournal, CourseUpdateJournal})
            QTest::addRow("pending %s", qPrintable(journal)) << "journal" << journal;
        QTest::newRow("earlier restore") << "staging" << RestoreStagingName;
        QTest::newRow("decided restore") << "swap" << RestoreSwapName;
        QTest::newRow("no room") << "room" << QString(); // the data folder, known below
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
        if (damage == QLatin1String("temp") || damage == QLatin1String("journal"))
            QVERIFY(WriteSet(f.data.path(), {{failingFile, QByteArray(300, 'x')}}));
        if (damage == QLatin1String("staging") || damage == QLatin1String("swap"))
            QVERIFY(QDir().mkdir(failingFile));
        if (damage == QLatin1String("room")) {
            testing::SetFreeSpaceHook([] { return qint64(100); });
            failingFile = f.data.path(); // the folder where the files belong
        }
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
        testing::SetFreeSpaceHook({});
        QVERIFY(!r.ok());
        QCOMPARE(QFileInfo(r.fileName()).absoluteFilePath(),
                 QFileInfo(failingFile).absoluteFilePath());
        if (damage == QLatin1String("journal"))
            QCOMPARE(r.reason(), QStringLiteral("An interrupted %1 left it behind; it is settled "
                                                "at the next start.")
                                     .arg(failingFile == RecordWriteJournal ? "save"
                                          : failingFile == PersonRemovalJournal
                                              ? "removal of a person"
                                              : "update of a course's training records"));
        if (damage == QLatin1String("room"))
            QVERIFY(r.reason().contains(QStringLiteral("data folder")));
        QCOMPARE(ReadSet(f.data.path()), was);
        QCOMPARE(SubFolders(f.data.path()),
                 damage == QLatin1String("staging") || damage == QLatin1String("swap")
                     ? QStringList{failingFile}
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

    // A kill in the last step can leave the swap folder without its list. With nothing left
    // in it that is finished work; with copies in it nothing tells where they belong.
    void recoveryOfASwapFolderWithoutItsList_data() {
        QTest::addColumn<QString>("holds");
        QTest::addColumn<bool>("finished");
        QTest::newRow("nothing") << "" << true;
        QTest::newRow("a file that is no data file") << "notes.tmp" << true;
        QTest::newRow("a staged User.List") << "User.List" << false;
        QTest::newRow("a staged Access.Code") << "Access.Code" << false;
    }

    void recoveryOfASwapFolderWithoutItsList() {
        QFETCH(QString, holds);
        QFETCH(bool, finished);
        Folders f;
        QVERIFY(WriteSet(f.data.path(), MakeSet('n')));
        QVERIFY(QDir().mkdir(RestoreSwapName));
        if (!holds.isEmpty())
            QVERIFY(WriteSet(RestoreSwapName, {{holds, QByteArray(500, 'o')}}));
        QCOMPARE(RestoreSwapState(), finished ? SwapState::Finished : SwapState::Unlisted);
        QString note;
        const StoreResult r = RecoverInterruptedRestore(&note);
        QCOMPARE(r.ok(), finished);
        QCOMPARE(QDir().exists(RestoreSwapName), !finished);
        QCOMPARE(ReadSet(f.data.path()), MakeSet('n'));
        if (finished) {
            QVERIFY(!note.isEmpty());
        } else {
            QCOMPARE(r.fileName(), RestoreSwapName);
            QVERIFY(r.reason().contains(QStringLiteral("without its list")));
            QCOMPARE(ReadSet(RestoreSwapName).size(), 1);
        }
    }

    // The swap folder's list goes last: stopped after any step of the removal, a start can
    // tell what is left.
    void theListOfTheSwapFolderIsRemovedLast() {
        Folders f;
        QVERIFY(WriteSet(f.data.path(), MakeSet('o')) && WriteSet(f.backup.path(), MakeSet('n')));
        testing::SetRestoreHook([](RestoreStep step) {
            if (step != RestoreStep::ListRemoved)
                return true;
            return false;
        });
        QVERIFY(!RestoreDataSet(f.backup.path(), kNames));
        testing::SetRestoreHook({});
        QCOMPARE(RestoreSwapState(), SwapState::Finished);
        QVERIFY(RecoverInterruptedRestore());
        QVERIFY(!QDir().exists(RestoreSwapName));
        QCOMPARE(ReadSet(f.data.path()), MakeSet('n'));
    }

    // Before anything is replaced the copies are checked and compared with the data folder;
    // nothing is replaced unless the user agrees, and the review names the problem.
    void restoreAsksBeforeReplacingWhatTheBackupLacksOrCannotRead_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("file");
        for (const char* name : {"User.Log", "Name.List", "Course.Index", "Training.Records"})
            QTest::addRow("lacks %s", name) << "lacks" << name;
        // The check reads no field of a course that random bytes would upset.
        for (const char* name : {"User.List", "Name.List", "Training.Records"})
            QTest::addRow("random bytes in %s", name) << "random" << name;
        for (const char* name : {"Name.List", "Course.Index", "Training.Records"})
            QTest::addRow("cut-short %s", name) << "cut" << name;
    }

    void restoreAsksBeforeReplacingWhatTheBackupLacksOrCannotRead() {
        QFETCH(QString, damage);
        QFETCH(QString, file);
        Folders f;
        const FileSet before = MakeSet('o');
        FileSet backup = MakeSet('n');
        if (damage == QLatin1String("lacks"))
            backup.remove(file);
        if (damage == QLatin1String("random")) {
            QByteArray noise(backup[file].size(), Qt::Uninitialized);
            QRandomGenerator generator(7);
            for (char& byte : noise)
                byte = static_cast<char>(generator.bounded(256));
            backup[file] = noise;
        }
        if (damage == QLatin1String("cut"))
            backup[file].chop(100);
        QVERIFY(WriteSet(f.data.path(), before) && WriteSet(f.backup.path(), backup));

        for (const bool agree : {false, true}) {
            RestoreReview seen;
            const StoreResult r = RestoreDataSet(f.backup.path(), kNames, {}, nullptr,
                                                 [&](const RestoreReview& review) {
                                                     seen = review;
                                                     return agree;
                                                 });
            QCOMPARE(r.ok(), agree);
            QVERIFY(!seen.Clean());
            if (damage == QLatin1String("lacks")) {
                QCOMPARE(seen.lacks, QStringList{file});
                QVERIFY(seen.replaced.contains(file));
            } else {
                QVERIFY(seen.lacks.isEmpty());
                QVERIFY(seen.findingCount >= seen.findings.size());
                QCOMPARE(seen.findings.constFirst().fileName, file);
                QVERIFY(seen.findings.constFirst().line.startsWith(file));
            }
            if (!agree) {
                QCOMPARE(ReadSet(f.data.path()), before);
                QCOMPARE(SubFolders(f.data.path()), QStringList());
            }
        }
        QCOMPARE(ReadSet(f.data.path()), backup);
    }

    void aWholeCleanBackupIsReviewedClean() {
        Folders f;
        QVERIFY(WriteSet(f.data.path(), MakeSet('o')) && WriteSet(f.backup.path(), MakeSet('n')));
        const QDateTime made(QDate(2026, 11, 30), QTime(9, 15));
        for (const QString& name : MakeSet('n').keys()) {
            QFile file(QDir(f.backup.path()).filePath(name));
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(name == QLatin1String("Name.List") ? made : made.addDays(-3),
                                     QFileDevice::FileModificationTime));
        }
        RestoreReview seen;
        QVERIFY(
            RestoreDataSet(f.backup.path(), kNames, {}, nullptr, [&](const RestoreReview& review) {
                seen = review;
                return true;
            }));
        QVERIFY(seen.Clean());
        QCOMPARE(seen.backupTime, made);
        QCOMPARE(seen.replaced, QStringList({"User.List", "User.Log", "Name.List", "Course.Index",
                                             "Training.Records"}));
    }

    // The access code is kept with the data since this version: an older backup without it
    // leaves the current one; a backup with it brings it back.
    // An older backup leaves the current access code in place (else no administrator could
    // sign in), but is of a data set without training rules: restoring it removes them. A
    // backup holding either file copies it and brings it back.
    void theAccessCodeStaysUnlessTheBackupHoldsOne_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("backupHoldsOne");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("older backup") << AccessCodeFileName << false << QByteArray("current");
        QTest::newRow("backup with a code") << AccessCodeFileName << true << QByteArray("backed");
        QTest::newRow("backup without rules") << TrainingRulesFileName << false << QByteArray();
        QTest::newRow("backup with rules") << TrainingRulesFileName << true << QByteArray("backed");
    }

    void theAccessCodeStaysUnlessTheBackupHoldsOne() {
        QFETCH(QString, name);
        QFETCH(bool, backupHoldsOne);
        QFETCH(QByteArray, after);
        Folders f;
        FileSet before = MakeSet('o');
        before.insert(name, "current");
        QVERIFY(WriteSet(f.data.path(), before));
        if (backupHoldsOne) {
            FileSet backedUp = MakeSet('n');
            backedUp.insert(name, "backed");
            QVERIFY(WriteSet(f.data.path(), backedUp));
            QVERIFY(BackupDataSet(f.backup.path(), kNames));
            QVERIFY(WriteSet(f.data.path(), before));
        } else {
            QVERIFY(WriteSet(f.backup.path(), MakeSet('n')));
        }
        QVERIFY(RestoreDataSet(f.backup.path(), kNames));
        QCOMPARE(ReadSet(f.data.path()).value(name), after);
        QCOMPARE(ReadSet(f.data.path()).contains(name), !after.isEmpty());
    }

    // Each copy keeps its data file's permissions: a private User.List stays private.
    void copiesKeepTheModeOfTheirFile_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("private") << 0600;
        QTest::newRow("group") << 0660;
        QTest::newRow("everyone reads") << 0644;
    }

    void copiesKeepTheModeOfTheirFile() {
        QFETCH(int, mode);
        Folders f;
        QVERIFY(WriteSet(f.data.path(), MakeSet('o')));
        QVERIFY(::chmod("User.List", static_cast<mode_t>(mode)) == 0);
        const auto modeOf = [](const QString& path) {
            struct stat info {};
            return ::stat(QFile::encodeName(path).constData(), &info) == 0
                       ? static_cast<int>(info.st_mode & 07777)
                       : -1;
        };
        // Until a copy is whole it is its owner's alone.
        QList<int> whileWritten;
        io::testing::SetWriteHook([&](const QString& name, qint64 wanted, int&) {
            if (name == QLatin1String("User.List"))
                for (const QString& copy : {QDir(f.backup.path()).filePath("User.List.$$$"),
                                            RestoreStagingName + "/User.List"})
                    if (TypeAt(copy))
                        whileWritten.append(modeOf(copy));
            return wanted;
        });
        const bool backedUp = BackupDataSet(f.backup.path(), kNames).ok();
        const int backedUpMode = modeOf(QDir(f.backup.path()).filePath("User.List"));
        const bool removed = QFile::remove("User.List");
        const bool restored = RestoreDataSet(f.backup.path(), kNames).ok();
        io::testing::SetWriteHook({});
        QVERIFY(backedUp && removed && restored);
        QCOMPARE(backedUpMode, mode);
        QCOMPARE(modeOf("User.List"), mode);
        QCOMPARE(whileWritten, QList<int>({0600, 0600}));
    }

    // Another account may put entries in a shared backup folder: a link under a name the
    // backup writes must not have a personnel list written into, or renamed over, its target.
    void backupWritesNothingThroughWhatStandsUnderItsNames_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("refused");
        QTest::newRow("link under a copy's name") << "Name.List.$$$"
                                                  << "link" << true;
        QTest::newRow("link under a file's name") << "Name.List"
                                                  << "link" << true;
        QTest::newRow("pipe under a copy's name") << "User.List.$$$"
                                                  << "pipe" << true;
        QTest::newRow("folder under a file's name") << "Course.Index"
                                                    << "folder" << true;
        QTest::newRow("an interrupted backup's copy") << "User.Log.$$$"
                                                      << "file" << false;
    }

    void backupWritesNothingThroughWhatStandsUnderItsNames() {
        QFETCH(QString, entry);
        QFETCH(QString, kind);
        QFETCH(bool, refused);
        Folders f;
        QTemporaryDir elsewhere;
        const QString victim = elsewhere.filePath("victim_file");
        QVERIFY(Plant(victim, "file", "someone else's"));
        QVERIFY(WriteSet(f.data.path(), MakeSet('n')));
        const QString planted = QDir(f.backup.path()).filePath(entry);
        QVERIFY(Plant(planted, kind, victim));
        const mode_t type = TypeAt(planted);

        const StoreResult r = BackupDataSet(f.backup.path(), kNames);
        QCOMPARE(ReadSet(elsewhere.path()), FileSet({{"victim_file", "someone else's"}}));
        QCOMPARE(r.ok(), !refused);
        if (!refused) {
            QCOMPARE(ReadSet(f.backup.path()), MakeSet('n'));
            return;
        }
        QCOMPARE(r.fileName(), QString(entry).remove(".$$$"));
        QVERIFY2(r.reason().contains(QDir::toNativeSeparators(planted)), qPrintable(r.reason()));
        QCOMPARE(TypeAt(planted), type);
        for (const QString& name : kNames) {
            for (const QString& written : {name, BackupTempName(name)}) {
                if (written != entry)
                    QVERIFY2(!TypeAt(QDir(f.backup.path()).filePath(written)), qPrintable(written));
            }
        }
    }

    // What a backup holds came from elsewhere: a restore reads each file as itself, never
    // through a link, never waits on a pipe, and takes no size its data file cannot have.
    // Nothing in the data folder changes when it refuses.
    void restoreReadsOnlyFilesThatCanBeDataFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("to");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("reason");
        QTest::newRow("User.Log linked to a private file")
            << "User.Log"
            << "link"
            << "./secret" << qint64(0) << "symbolic link";
        QTest::newRow("Name.List a named pipe") << "Name.List"
                                                << "pipe"
                                                << "" << qint64(0) << "a named pipe";
        QTest::newRow("Training.Records linked to /dev/zero")
            << "Training.Records"
            << "link"
            << "/dev/zero" << qint64(0) << "symbolic link";
        QTest::newRow("Course.Index a folder") << "Course.Index"
                                               << "folder"
                                               << "" << qint64(0) << "a folder";
        QTest::newRow("User.Log past its bound")
            << "User.Log"
            << "sized"
            << "" << MaxRestoredLogBytes + 1 << "more than a user log";
    }

    void restoreReadsOnlyFilesThatCanBeDataFiles() {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, to);
        QFETCH(qint64, size);
        QFETCH(QString, reason);
        Folders f;
        const FileSet before = MakeSet('o');
        FileSet backup = MakeSet('n');
        backup.remove(name);
        QVERIFY(WriteSet(f.data.path(), before) && WriteSet(f.backup.path(), backup));
        const QString secret = QDir(f.backup.path()).filePath("secret");
        QVERIFY(Plant(secret, "file", "private") && ::chmod(QFile::encodeName(secret), 0600) == 0);
        QVERIFY(Plant(QDir(f.backup.path()).filePath(name), kind, to, size));

        const StoreResult r = RestoreDataSet(f.backup.path(), kNames, {}, nullptr, kAgree);
        QVERIFY(!r.ok());
        QCOMPARE(r.fileName(), name);
        QVERIFY2(r.reason().contains(reason), qPrintable(r.reason()));
        QCOMPARE(ReadSet(f.data.path()), before);
        QCOMPARE(SubFolders(f.data.path()), QStringList());
    }

    // The sizes a data file can have, at each limit.
    void aBackupFileMustFitItsDataFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("fits");
        for (const DataFile file : {DataFile::UserList, DataFile::NameList, DataFile::CourseIndex,
                                    DataFile::TrainingRecords}) {
            const qint64 full = qint64(MaxRecordsOf(file)) * RecordLengthOf(file);
            QTest::addRow("%s full", qPrintable(FileNameOf(file)))
                << FileNameOf(file) << full << true;
            QTest::addRow("%s one byte more", qPrintable(FileNameOf(file)))
                << FileNameOf(file) << full + 1 << false;
        }
        // Told by the check of the staged copies instead, for the user to decide.
        QTest::newRow("last record cut short") << "Name.List" << qint64(5100) << true;
        QTest::newRow("User.Log at its bound") << "User.Log" << MaxRestoredLogBytes << true;
        QTest::newRow("User.Log past it") << "User.Log" << MaxRestoredLogBytes + 1 << false;
        QTest::newRow("Access.Code at its bound")
            << "Access.Code" << MaxRestoredAccessCodeBytes << true;
        QTest::newRow("Access.Code past it")
            << "Access.Code" << MaxRestoredAccessCodeBytes + 1 << false;
        QTest::newRow("Training.Rules at its bound")
            << "Training.Rules" << MaxTrainingRulesBytes << true;
        QTest::newRow("Training.Rules past it")
            << "Training.Rules" << MaxTrainingRulesBytes + 1 << false;
    }

    void aBackupFileMustFitItsDataFile() {
        QFETCH(QString, name);
        QFETCH(qint64, size);
        QFETCH(bool, fits);
        const StoreResult r = FitsDataFile(name, size);
        QCOMPARE(r.ok(), fits);
        if (!fits)
            QCOMPARE(r.fileName(), name);
    }

    // A failed copy names the data file and the system's reason.
    void aFailedBackupNamesTheFileAndWhy_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("reason");
        QTest::newRow("full disk") << "full" << qt_error_string(ENOSPC);
        QTest::newRow("a folder stands under the copy's name")
            << "blocked"
            << "User.List.$$$\" is a folder, not a file";
    }

    void aFailedBackupNamesTheFileAndWhy() {
        QFETCH(QString, how);
        QFETCH(QString, reason);
        Folders f;
        QVERIFY(WriteSet(f.data.path(), MakeSet('n')));
        if (how == QLatin1String("full")) {
            io::testing::SetWriteHook([](const QString&, qint64, int& error) {
                error = ENOSPC;
                return qint64(0);
            });
        } else {
            QVERIFY(QDir(f.backup.path()).mkdir(BackupTempName("User.List")));
        }
        const StoreResult r = BackupDataSet(f.backup.path(), kNames);
        io::testing::SetWriteHook({});
        QVERIFY(!r.ok());
        QCOMPARE(r.fileName(), QStringLiteral("User.List"));
        QVERIFY2(r.reason().contains(reason), qPrintable(r.reason()));
        QCOMPARE(ReadSet(f.backup.path()), FileSet());
    }

    // A copy written by its handle is renamed by its name only while the name still is it.
    void aCopyIsRenamedOnlyWhileItsNameIsTheFileWritten_data() {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<bool>("renamed");
        QTest::newRow("left alone") << "" << true;
        QTest::newRow("replaced by another file") << "replaced" << false;
        QTest::newRow("removed") << "removed" << false;
        QTest::newRow("turned into a link to it") << "link" << false;
    }

    void aCopyIsRenamedOnlyWhileItsNameIsTheFileWritten() {
        QFETCH(QString, meanwhile);
        QFETCH(bool, renamed);
        Folders f;
        QVERIFY(WriteSet(f.data.path(), MakeSet('n')));
        const QString copy = f.backup.path() + "/User.List.$$$";
        const QString kept = f.backup.path() + "/kept";
        filecopy::FileIdentity written;
        QVERIFY(filecopy::CopyDurably("User.List", copy, &written));
        if (meanwhile == QLatin1String("replaced")) {
            QVERIFY(WriteSet(f.backup.path(), {{"other", "someone else's"}}));
            QVERIFY(filecopy::Rename(f.backup.path() + "/other", copy));
        } else if (meanwhile == QLatin1String("removed")) {
            QVERIFY(QFile::remove(copy));
        } else if (meanwhile == QLatin1String("link")) {
            QVERIFY(QFile::rename(copy, kept) && QFile::link(kept, copy));
        }
        const StoreResult r =
            filecopy::RenameWritten(copy, f.backup.path() + "/User.List", written);
        QCOMPARE(r.ok(), renamed);
        QCOMPARE(QFile::exists(f.backup.path() + "/User.List"), renamed);
        if (!renamed)
            QCOMPARE(r.fileName(), QStringLiteral("User.List"));
    }

    void aCopyIsComparedWithItsSource_data() {
        QTest::addColumn<QByteArray>("copy");
        QTest::addColumn<bool>("same");
        const QByteArray source = QByteArray(3 * 1024 * 1024 + 5, 's');
        QTest::newRow("same") << source << true;
        QTest::newRow("one byte differs")
            << QByteArray(source).replace(2 * 1024 * 1024, 1, "x") << false;
        QTest::newRow("shorter") << source.left(source.size() - 1) << false;
        QTest::newRow("longer") << source + 's' << false;
    }

    void aCopyIsComparedWithItsSource() {
        QFETCH(QByteArray, copy);
        QFETCH(bool, same);
        Folders f;
        QVERIFY(WriteSet(f.data.path(), {{"Name.List", QByteArray(3 * 1024 * 1024 + 5, 's')}}));
        QVERIFY(WriteSet(f.backup.path(), {{"Name.List", copy}}));
        const StoreResult r =
            filecopy::CompareFiles("Name.List", QDir(f.backup.path()).filePath("Name.List"));
        QCOMPARE(r.ok(), same);
        if (!same)
            QCOMPARE(r.fileName(), QStringLiteral("Name.List"));
    }

    // Each backup gets its own dated folder, so the earlier ones are kept.
    void eachBackupGoesIntoItsOwnDatedFolder() {
        Folders f;
        QVERIFY(WriteSet(f.data.path(), MakeSet('n')));
        QString first, second;
        QVERIFY(BackupIntoNewFolder(f.backup.path(), kNames, {}, &first));
        QVERIFY(BackupIntoNewFolder(f.backup.path(), kNames, {}, &second));
        QCOMPARE(SubFolders(f.backup.path()),
                 QStringList(
                     {"Mirtavel backup 2026-12-08 14-05", "Mirtavel backup 2026-12-08 14-05 (2)"}));
        QCOMPARE(QFileInfo(second).fileName(),
                 QStringLiteral("Mirtavel backup 2026-12-08 14-05 (2)"));
        QCOMPARE(ReadSet(first), MakeSet('n'));
        QCOMPARE(ReadSet(second), MakeSet('n'));
        QDateTime when;
        int number = 0;
        QVERIFY(IsBackupFolderName(QFileInfo(second).fileName(), &when, &number));
        QCOMPARE(when, QDateTime(QDate(2026, 12, 8), QTime(14, 5)));
        QCOMPARE(number, 2);
        QVERIFY(!IsBackupFolderName("Mirtavel backup 2026-13-40 10-00"));
        QVERIFY(!IsBackupFolderName("Before restore 2026-12-08 14-05"));

        // A backup that fails leaves no folder behind.
        QVERIFY(QFile::remove("Course.Index") && QDir().mkdir("Course.Index"));
        QString third = "x";
        QVERIFY(!BackupIntoNewFolder(f.backup.path(), kNames, {}, &third));
        QVERIFY(third.isEmpty());
        QCOMPARE(SubFolders(f.backup.path()).size(), 2);
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
