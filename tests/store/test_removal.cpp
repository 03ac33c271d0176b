#include "DataFolder.h"

#include "store/ChangeLog.h"
#include "store/Clock.h"
#include "store/DataFileOpen.h"
#include "store/FileWrite.h"
#include "store/Formats.h"
#include "store/Removal.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace store;

Q_DECLARE_METATYPE(store::DataFile)
Q_DECLARE_METATYPE(store::RemovalStep)

namespace {

using Records = QList<QByteArray>;

// Creation stamps of whole seconds, as the clock gives them.
double Stamp(int second) {
    return formats::DateValue(QDate(2014, 3, 7), QTime(8, 0, 0).addSecs(second));
}

QByteArray PersonBytes(int i) {
    PersonRecord p;
    p.DateCreated = Stamp(i);
    p.FirstName = QStringLiteral("First%1").arg(i);
    p.LastName = QStringLiteral("Last");
    p.Organization = QStringLiteral("Patrol");
    p.Comments = QStringLiteral("Comment %1").arg(i);
    return p.Encode();
}

QByteArray UserBytes(int i) {
    UserRecord u;
    u.DateCreated = Stamp(200 + i);
    u.FirstName = QStringLiteral("User%1").arg(i);
    u.LastName = QStringLiteral("Lee");
    u.Password = QStringLiteral("xaybzc");
    u.AccessLevel = static_cast<qint16>(1 + i % 4);
    return u.Encode();
}

QByteArray CourseBytes(int i) {
    CourseRecord c;
    c.DateCreated = Stamp(100 + i);
    c.CourseCode = QStringLiteral("C-%1").arg(i);
    c.CourseName = QStringLiteral("Course %1").arg(i);
    c.ProvidedBy = QStringLiteral("Academy");
    c.Hours = 8;
    return c.Encode();
}

// Keys of 08:00:00 to 08:00:02 happen to be printable bytes all through, like a course code.
QByteArray TrainingBytes(double personKey, int i) {
    TrainingRecord t;
    t.TrainingDate = formats::DateValue(QDate(2014, 1, 1).addDays(i));
    t.PersonKey = personKey;
    t.CourseKey = Stamp(i % 3);
    t.CourseCode = QStringLiteral("C-%1").arg(i % 3);
    t.CourseName = QStringLiteral("Course %1").arg(i % 3);
    t.Hours = 8;
    t.Comments = QStringLiteral("T%1").arg(i);
    return t.Encode();
}

Records SampleRecords(DataFile file, int count) {
    Records records;
    for (int i = 1; i <= count; ++i) {
        switch (file) {
        case DataFile::UserList:
            records.append(UserBytes(i));
            break;
        case DataFile::NameList:
            records.append(PersonBytes(i));
            break;
        case DataFile::CourseIndex:
            records.append(CourseBytes(i));
            break;
        case DataFile::TrainingRecords:
            records.append(TrainingBytes(Stamp(i % 3), i));
            break;
        }
    }
    return records;
}

QByteArray Join(const Records& records) {
    QByteArray all;
    for (const QByteArray& r : records)
        all += r;
    return all;
}

bool Exists(const QString& name) {
    const QFileInfo info(name);
    return info.exists() || info.isSymLink();
}

// The data folder's files but the change log, which only grows (its lines are looked at in its
// own tests).
QStringList FilesInFolder() {
    changelog::Settle(); // a write's done journal goes once its lines are synced
    QStringList files = QDir().entryList(QDir::Files | QDir::System | QDir::Hidden, QDir::Name);
    files.removeOne(ChangeLogFileName);
    return files;
}

// Clears the removal hook however the test ends.
struct HookGuard {
    explicit HookGuard(std::function<bool(RemovalStep)> hook) {
        testing::SetRemovalHook(std::move(hook));
    }
    ~HookGuard() { testing::SetRemovalHook({}); }
};

// A removal whose files, action and outcome a data-driven test names.
struct Scenario {
    QString fileName;
    Records before;
    Records after;
    std::function<StoreResult()> run;
};

Scenario MakeScenario(const QString& name) {
    if (name == QLatin1String("person 2 of 3")) {
        const Records persons = SampleRecords(DataFile::NameList, 3);
        return {QStringLiteral("Name.List"), persons, {persons[0], persons[2]}, [] {
                    return RemoveMarkedRecord(DataFile::NameList, 2);
                }};
    }
    if (name == QLatin1String("only user")) {
        const Records users = SampleRecords(DataFile::UserList, 1);
        return {QStringLiteral("User.List"), users, {}, [] {
                    return RemoveMarkedRecord(DataFile::UserList, 1);
                }};
    }
    if (name == QLatin1String("course 1 of 3")) {
        const Records courses = SampleRecords(DataFile::CourseIndex, 3);
        return {QStringLiteral("Course.Index"), courses, {courses[1], courses[2]}, [] {
                    return RemoveMarkedRecord(DataFile::CourseIndex, 1);
                }};
    }
    if (name == QLatin1String("person's training")) {
        const double a = Stamp(0), b = Stamp(1), c = Stamp(2);
        const Records all = {TrainingBytes(a, 1), TrainingBytes(b, 2), TrainingBytes(a, 3),
                             TrainingBytes(c, 4), TrainingBytes(b, 5), TrainingBytes(a, 6)};
        return {QStringLiteral("Training.Records"), all, {all[1], all[3], all[4]}, [a] {
                    return RemovePersonTraining(a);
                }};
    }
    // Every training record belongs to the person: nothing is kept.
    const double a = Stamp(0);
    return {QStringLiteral("Training.Records"),
            {TrainingBytes(a, 1), TrainingBytes(a, 2)},
            {},
            [a] { return RemovePersonTraining(a); }};
}

// Writes the record files other than `fileName` with a few records each, as a data folder
// holds them; returns the names. A short copy left behind could otherwise also be the start
// of a missing file, and would be kept rather than deleted.
QStringList WriteOtherFiles(const QString& fileName) {
    QStringList names;
    for (DataFile file : {DataFile::UserList, DataFile::NameList, DataFile::CourseIndex,
                          DataFile::TrainingRecords}) {
        if (FileNameOf(file) != fileName &&
            WriteBytes(FileNameOf(file), Join(SampleRecords(file, 2))))
            names.append(FileNameOf(file));
    }
    return names;
}

const QStringList kScenarios = {
    QStringLiteral("person 2 of 3"), QStringLiteral("only user"), QStringLiteral("course 1 of 3"),
    QStringLiteral("person's training"), QStringLiteral("all of a person's training")};

} // namespace

class TestRemoval : public QObject {
    Q_OBJECT

private slots:
    void removesOneRecord_data();
    void removesOneRecord();
    void dropsRecordsAlreadyMarked();
    void storesFirstNameTrimmed();
    void leavesRemovedRecordInBuffer();
    void refusesRecordThatIsNotThere();
    void removesPersonTraining_data();
    void removesPersonTraining();
    void personTrainingOfMissingFile();
    void rewritesBeyondSixteenBits();
    void fullDiskLeavesFileUnchanged_data();
    void fullDiskLeavesFileUnchanged();
    void tempNameNeitherRedirectsNorHangs_data();
    void tempNameNeitherRedirectsNorHangs();
    void copyKeepsModeGroupAndLink_data();
    void copyKeepsModeGroupAndLink();
    void reportsUnopenableFile();
    void refusesLinkLeadingOutside();
    void reportsVanishedFolder();
    void stopAtAnyStepLosesNothing_data();
    void stopAtAnyStepLosesNothing();
    void recoveryWithoutTemp();
    void recoveryDeletesEmptyTemp();
    void recoveryDeletesTempWhenFilesAreThere();
    void recoveryDeletesTempOfNoRecordLength();
    void recoveryDeletesTempThatFitsNoMissingFile();
    void recoveryRestoresDeletedFile_data();
    void recoveryRestoresDeletedFile();
    void recoveryRestoresCutShortOnlyCopy();
    void recoveryKeepsTempWhenUndecidable();
    void recoveryNeverDeletesCopyOfMissingFile_data();
    void recoveryNeverDeletesCopyOfMissingFile();
    void leftoverTempIsSettledBeforeRemoval();
};

void TestRemoval::removesOneRecord_data() {
    QTest::addColumn<DataFile>("file");
    QTest::addColumn<int>("number");
    const std::pair<DataFile, const char*> files[] = {
        {DataFile::UserList, "User.List"},
        {DataFile::NameList, "Name.List"},
        {DataFile::CourseIndex, "Course.Index"},
        {DataFile::TrainingRecords, "Training.Records"}};
    for (const auto& [file, name] : files) {
        for (int n = 1; n <= 3; ++n)
            QTest::addRow("%s record %d of 3", name, n) << file << n;
    }
}

void TestRemoval::removesOneRecord() {
    QFETCH(DataFile, file);
    QFETCH(int, number);
    DataFolder folder;
    QVERIFY(folder.ready());
    const Records records = SampleRecords(file, 3);
    QVERIFY(WriteBytes(FileNameOf(file), Join(records)));
    QVERIFY(RemoveMarkedRecord(file, number));
    Records expected = records;
    expected.removeAt(number - 1);
    QCOMPARE(ReadBytes(FileNameOf(file)), Join(expected));
    QCOMPARE(FilesInFolder(), QStringList{FileNameOf(file)});
}

void TestRemoval::dropsRecordsAlreadyMarked() {
    DataFolder folder;
    QVERIFY(folder.ready());
    Records persons = SampleRecords(DataFile::NameList, 4);
    persons[2].replace(8, 15, Padded("  $Killed$", 15));
    QVERIFY(WriteBytes(QStringLiteral("Name.List"), Join(persons)));
    QVERIFY(OpenNameList()); // open before: closed by the removal
    QVERIFY(RemoveMarkedRecord(DataFile::NameList, 1));
    QVERIFY(!Persons().IsOpen());
    QCOMPARE(ReadBytes(QStringLiteral("Name.List")), persons[1] + persons[3]);

    // A marked training record goes with the next removal of a record, not with the removal
    // of a person's training.
    Records trainings = SampleRecords(DataFile::TrainingRecords, 3);
    trainings[1].replace(24, 8, QByteArray("$Killed$"));
    QVERIFY(WriteBytes(QStringLiteral("Training.Records"), Join(trainings)));
    QVERIFY(RemovePersonTraining(Stamp(55)));
    QCOMPARE(ReadBytes(QStringLiteral("Training.Records")), Join(trainings));
    QVERIFY(RemoveMarkedRecord(DataFile::TrainingRecords, 3));
    QCOMPARE(ReadBytes(QStringLiteral("Training.Records")), trainings[0]);
}

void TestRemoval::storesFirstNameTrimmed() {
    DataFolder folder;
    QVERIFY(folder.ready());
    Records persons = SampleRecords(DataFile::NameList, 2);
    persons[1].replace(8, 15, QByteArray("\0 Ann\0\0\0\0\0\0\0\0\0\0", 15));
    persons[1].replace(500, 20, QByteArray(20, '\0')); // NULs elsewhere stay as they are
    QVERIFY(WriteBytes(QStringLiteral("Name.List"), Join(persons)));
    QVERIFY(RemoveMarkedRecord(DataFile::NameList, 1));
    QByteArray expected = persons[1];
    expected.replace(8, 15, Padded("Ann", 15));
    QCOMPARE(ReadBytes(QStringLiteral("Name.List")), expected);

    // Course codes are copied exactly, blanks and NULs included.
    Records courses = SampleRecords(DataFile::CourseIndex, 2);
    courses[1].replace(8, 8, QByteArray("\0 C\0\0\0\0\0", 8));
    QVERIFY(WriteBytes(QStringLiteral("Course.Index"), Join(courses)));
    QVERIFY(RemoveMarkedRecord(DataFile::CourseIndex, 1));
    QCOMPARE(ReadBytes(QStringLiteral("Course.Index")), courses[1]);
}

void TestRemoval::leavesRemovedRecordInBuffer() {
    DataFolder folder;
    QVERIFY(folder.ready());
    QVERIFY(WriteBytes(QStringLiteral("Name.List"), Join(SampleRecords(DataFile::NameList, 3))));
    QVERIFY(RemoveMarkedRecord(DataFile::NameList, 2));
    QCOMPARE(Persons().Buffer().FirstName, QStringLiteral("First2"));
    QCOMPARE(Persons().Buffer().DateCreated, Stamp(2));
}

void TestRemoval::refusesRecordThatIsNotThere() {
    DataFolder folder;
    QVERIFY(folder.ready());
    const QByteArray three = Join(SampleRecords(DataFile::CourseIndex, 3));
    QVERIFY(WriteBytes(QStringLiteral("Course.Index"), three));
    for (qint32 n : {4, 0, -2}) {
        const StoreResult r = RemoveMarkedRecord(DataFile::CourseIndex, n);
        QVERIFY(!r.ok());
        QCOMPARE(r.fileName(), QStringLiteral("Course.Index"));
    }
    QCOMPARE(ReadBytes(QStringLiteral("Course.Index")), three);
    QCOMPARE(FilesInFolder(), QStringList{QStringLiteral("Course.Index")});

    const StoreResult missing = RemoveMarkedRecord(DataFile::UserList, 1);
    QVERIFY(!missing.ok());
    QCOMPARE(missing.fileName(), QStringLiteral("User.List"));
    QVERIFY(!Exists(QStringLiteral("User.List")));
}

void TestRemoval::removesPersonTraining_data() {
    QTest::addColumn<QList<int>>("owners"); // person of each record, by stamp second
    QTest::addColumn<int>("removed");
    QTest::addColumn<QList<int>>("kept"); // record indexes, from 0
    QTest::newRow("interleaved") << QList<int>{0, 1, 0, 2, 1, 0} << 0 << QList<int>{1, 3, 4};
    QTest::newRow("no records of the person") << QList<int>{1, 2, 1} << 0 << QList<int>{0, 1, 2};
    QTest::newRow("only the person's") << QList<int>{3, 3} << 3 << QList<int>{};
    // A key that reads as 0 (not a number) belongs to key 0.
    QTest::newRow("damaged keys") << QList<int>{-1, 1, -1} << -1 << QList<int>{1};
}

void TestRemoval::removesPersonTraining() {
    QFETCH(QList<int>, owners);
    QFETCH(int, removed);
    QFETCH(QList<int>, kept);
    DataFolder folder;
    QVERIFY(folder.ready());
    const auto keyOf = [](int owner) {
        return owner < 0 ? std::numeric_limits<double>::quiet_NaN() : Stamp(owner);
    };
    Records records;
    for (int i = 0; i < owners.size(); ++i)
        records.append(TrainingBytes(keyOf(owners[i]), i));
    QVERIFY(WriteBytes(QStringLiteral("Training.Records"), Join(records)));
    QVERIFY(OpenTrainingRecords());
    QVERIFY(RemovePersonTraining(removed < 0 ? 0.0 : Stamp(removed)));
    QVERIFY(!Trainings().IsOpen());
    Records expected;
    for (int i : kept)
        expected.append(records[i]);
    if (expected.isEmpty())
        QVERIFY(!Exists(QStringLiteral("Training.Records")));
    else
        QCOMPARE(ReadBytes(QStringLiteral("Training.Records")), Join(expected));
    QVERIFY(!Exists(TempFileName));
}

void TestRemoval::personTrainingOfMissingFile() {
    DataFolder folder;
    QVERIFY(folder.ready());
    QVERIFY(RemovePersonTraining(Stamp(1)));
    QVERIFY(FilesInFolder().isEmpty());
}

void TestRemoval::rewritesBeyondSixteenBits() {
    DataFolder folder;
    QVERIFY(folder.ready());
    // 40,000 records: more than 16 bits count and more than one copy block.
    const QByteArray ofA = TrainingBytes(Stamp(0), 1);
    const QByteArray ofB = TrainingBytes(Stamp(1), 2);
    QByteArray all;
    QByteArray expected;
    for (int i = 0; i < 40000; ++i) {
        QByteArray record = i % 3 == 0 ? ofA : ofB;
        record.replace(116, 8, QByteArray::number(i).leftJustified(8, ' '));
        all += record;
        if (i % 3 != 0)
            expected += record;
    }
    QVERIFY(WriteBytes(QStringLiteral("Training.Records"), all));
    QVERIFY(RemovePersonTraining(Stamp(0)));
    const QByteArray after = ReadBytes(QStringLiteral("Training.Records"));
    QCOMPARE(after.size(), expected.size());
    QVERIFY(after == expected);
    QVERIFY(OpenTrainingRecords());
    QCOMPARE(TrainingCount(), 26666);
}

void TestRemoval::fullDiskLeavesFileUnchanged_data() {
    QTest::addColumn<bool>("personTraining");
    QTest::newRow("record") << false;
    QTest::newRow("person's training") << true;
}

void TestRemoval::fullDiskLeavesFileUnchanged() {
    QFETCH(bool, personTraining);
    DataFolder folder;
    QVERIFY(folder.ready());
    const QByteArray before = Join(SampleRecords(DataFile::TrainingRecords, 5));
    QVERIFY(WriteBytes(QStringLiteral("Training.Records"), before));
    // The disk takes 500 bytes of the copy and is full.
    qint64 room = 500;
    io::testing::SetWriteHook([&room](const QString& name, qint64 wanted, int& error) {
        if (name != TempFileName)
            return wanted;
        const qint64 taken = std::min(room, wanted);
        room -= taken;
        error = taken == 0 ? ENOSPC : 0;
        return taken;
    });
    const StoreResult r = personTraining ? RemovePersonTraining(Stamp(1))
                                         : RemoveMarkedRecord(DataFile::TrainingRecords, 2);
    io::testing::SetWriteHook({});
    QVERIFY(!r.ok());
    QCOMPARE(r.fileName(), TempFileName);
    QCOMPARE(r.reason(), qt_error_string(ENOSPC));
    QCOMPARE(ReadBytes(QStringLiteral("Training.Records")), before);
    QVERIFY(!Exists(TempFileName));
}

void TestRemoval::tempNameNeitherRedirectsNorHangs_data() {
    QTest::addColumn<QString>("entry");
    QTest::newRow("dangling link") << QStringLiteral("dangling link");
    QTest::newRow("link to a file elsewhere") << QStringLiteral("link");
    QTest::newRow("FIFO") << QStringLiteral("fifo");
    QTest::newRow("empty file") << QStringLiteral("empty");
    QTest::newRow("folder") << QStringLiteral("folder");
}

void TestRemoval::tempNameNeitherRedirectsNorHangs() {
    QFETCH(QString, entry);
    DataFolder folder;
    QVERIFY(folder.ready());
    QVERIFY(QDir().mkdir(QStringLiteral("elsewhere")));
    const QString aside = QStringLiteral("elsewhere/kept");
    const QByteArray temp = QFile::encodeName(TempFileName);
    if (entry == QLatin1String("link"))
        QVERIFY(WriteBytes(aside, "someone else's"));
    if (entry.contains(QLatin1String("link")))
        QVERIFY(QFile::link(aside, TempFileName));
    else if (entry == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(temp.constData(), 0600), 0);
    else if (entry == QLatin1String("empty"))
        QVERIFY(WriteBytes(TempFileName, QByteArray()));
    else
        QVERIFY(QDir().mkdir(TempFileName));
    const Records courses = SampleRecords(DataFile::CourseIndex, 3);
    QVERIFY(WriteBytes(QStringLiteral("Course.Index"), Join(courses)));

    const StoreResult r = RemoveMarkedRecord(DataFile::CourseIndex, 1);
    const QFileInfo index(QStringLiteral("Course.Index"));
    QVERIFY(index.isFile() && !index.isSymLink());
    if (entry == QLatin1String("folder")) {
        QVERIFY(!r.ok());
        QCOMPARE(r.fileName(), TempFileName);
        QVERIFY(r.reason().contains(QStringLiteral("folder")));
        QCOMPARE(ReadBytes(QStringLiteral("Course.Index")), Join(courses));
        return;
    }
    QVERIFY2(r.ok(), qPrintable(r.text()));
    QCOMPARE(ReadBytes(QStringLiteral("Course.Index")), courses[1] + courses[2]);
    QVERIFY(!Exists(TempFileName));
    QCOMPARE(QDir(QStringLiteral("elsewhere")).entryList(QDir::Files),
             entry == QLatin1String("link") ? QStringList{QStringLiteral("kept")} : QStringList());
    if (entry == QLatin1String("link"))
        QCOMPARE(ReadBytes(aside), QByteArray("someone else's"));
}

void TestRemoval::copyKeepsModeGroupAndLink_data() {
    QTest::addColumn<bool>("linked");
    QTest::newRow("shared file") << false;
    QTest::newRow("file reached by a link") << true;
}

void TestRemoval::copyKeepsModeGroupAndLink() {
    QFETCH(bool, linked);
    DataFolder folder;
    QVERIFY(folder.ready());
    const Records courses = SampleRecords(DataFile::CourseIndex, 3);
    const QString real = linked ? QStringLiteral("shared/Course.Index") : "Course.Index";
    QVERIFY(QDir().mkpath(QStringLiteral("shared")));
    QVERIFY(WriteBytes(real, Join(courses)));
    if (linked)
        QVERIFY(QFile::link(real, QStringLiteral("Course.Index")));
    const QByteArray path = QFile::encodeName(real);
    QCOMPARE(::chmod(path.constData(), 0660), 0);
    // A group of ours other than the one new files get, where there is one.
    gid_t groups[64];
    const int n = ::getgroups(64, groups);
    gid_t group = ::getegid();
    for (int i = 0; i < n; ++i) {
        if (groups[i] != ::getegid())
            group = groups[i];
    }
    QCOMPARE(::chown(path.constData(), static_cast<uid_t>(-1), group), 0);

    QVERIFY(RemoveMarkedRecord(DataFile::CourseIndex, 2));
    struct stat st;
    QCOMPARE(::stat(path.constData(), &st), 0);
    QCOMPARE(st.st_mode & 07777, mode_t(0660));
    QCOMPARE(st.st_gid, group);
    QCOMPARE(ReadBytes(real), courses[0] + courses[2]);
    QCOMPARE(QFileInfo(QStringLiteral("Course.Index")).isSymLink(), linked);
    QVERIFY(!Exists(TempFileName) && !Exists(QStringLiteral("shared/") + TempFileName));

    // Every record removed: a linked file stays, empty, where the link points.
    QVERIFY(RemoveMarkedRecord(DataFile::CourseIndex, 1));
    QVERIFY(RemoveMarkedRecord(DataFile::CourseIndex, 1));
    QCOMPARE(Exists(QStringLiteral("Course.Index")), linked);
    QCOMPARE(QFileInfo::exists(real), linked);
}

void TestRemoval::reportsUnopenableFile() {
    DataFolder folder;
    QVERIFY(folder.ready());
    QVERIFY(QDir().mkdir(QStringLiteral("Name.List")));
    const StoreResult r = RemoveMarkedRecord(DataFile::NameList, 1);
    QVERIFY(!r.ok());
    QCOMPARE(r.fileName(), QStringLiteral("Name.List"));
    QCOMPARE(r.reason(), qt_error_string(EISDIR));
    QVERIFY(!Exists(TempFileName));
}

// A data file linked to a file outside the folder (another account's) is never rewritten:
// the copy would be made, and renamed over it, beside that file.
void TestRemoval::refusesLinkLeadingOutside() {
    DataFolder folder;
    QVERIFY(folder.ready());
    QTemporaryDir elsewhere;
    const QString victim = elsewhere.filePath(QStringLiteral("victim"));
    const QByteArray bytes = Join(SampleRecords(DataFile::NameList, 3));
    QVERIFY(WriteBytes(victim, bytes));
    QVERIFY(QFile::link(victim, QStringLiteral("Name.List")));
    const StoreResult r = RemoveMarkedRecord(DataFile::NameList, 1);
    QVERIFY(!r.ok());
    QCOMPARE(r.fileName(), QStringLiteral("Name.List"));
    QCOMPARE(r.reason(), LeadsOutsideReason());
    QCOMPARE(ReadBytes(victim), bytes);
    QCOMPARE(QDir(elsewhere.path()).entryList(QDir::Files), QStringList{"victim"});
}

void TestRemoval::reportsVanishedFolder() {
    DataFolder folder;
    QVERIFY(folder.ready());
    QVERIFY(WriteBytes(QStringLiteral("Name.List"), Join(SampleRecords(DataFile::NameList, 3))));
    const QString path = folder.path();
    HookGuard guard([path](RemovalStep step) {
        if (step == RemovalStep::RecordsCopied)
            QDir(path).removeRecursively();
        return true;
    });
    const StoreResult r = RemoveMarkedRecord(DataFile::NameList, 1);
    QVERIFY(!r.ok());
    QCOMPARE(r.fileName(), QStringLiteral("Name.List"));
    QCOMPARE(r.reason(), qt_error_string(ENOENT));
}

void TestRemoval::stopAtAnyStepLosesNothing_data() {
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<RemovalStep>("step");
    const std::pair<RemovalStep, const char*> steps[] = {
        {RemovalStep::TempOpened, "temp opened"},
        {RemovalStep::RecordsCopied, "records copied"},
        {RemovalStep::TempFlushed, "temp flushed"},
        {RemovalStep::Renamed, "renamed"},
        {RemovalStep::FolderFlushed, "folder flushed"}};
    for (const QString& scenario : kScenarios) {
        for (const auto& [step, name] : steps)
            QTest::addRow("%s, stop after %s", qPrintable(scenario), name) << scenario << step;
    }
}

void TestRemoval::stopAtAnyStepLosesNothing() {
    QFETCH(QString, scenario);
    QFETCH(RemovalStep, step);
    DataFolder folder;
    QVERIFY(folder.ready());
    const Scenario s = MakeScenario(scenario);
    QVERIFY(WriteBytes(s.fileName, Join(s.before)));
    QStringList files = WriteOtherFiles(s.fileName);
    {
        HookGuard guard([step](RemovalStep reached) { return reached != step; });
        QVERIFY(!s.run().ok());
    }
    QString note = QStringLiteral("stale");
    QVERIFY(RecoverInterruptedRemoval(&note));
    QCOMPARE(note, QString());

    // Up to the rename the old file is whole; from the rename on, the new one.
    const bool replaced = step == RemovalStep::Renamed || step == RemovalStep::FolderFlushed;
    const Records& expected = replaced ? s.after : s.before;
    if (!expected.isEmpty())
        files.append(s.fileName);
    files.sort();
    QCOMPARE(FilesInFolder(), files);
    QCOMPARE(ReadBytes(s.fileName), Join(expected));
}

void TestRemoval::recoveryWithoutTemp() {
    DataFolder folder;
    QVERIFY(folder.ready());
    const QByteArray persons = Join(SampleRecords(DataFile::NameList, 2));
    QVERIFY(WriteBytes(QStringLiteral("Name.List"), persons));
    QString note = QStringLiteral("stale");
    QVERIFY(RecoverInterruptedRemoval(&note));
    QVERIFY(note.isEmpty());
    QCOMPARE(FilesInFolder(), QStringList{QStringLiteral("Name.List")});
    QCOMPARE(ReadBytes(QStringLiteral("Name.List")), persons);
}

void TestRemoval::recoveryDeletesEmptyTemp() {
    DataFolder folder;
    QVERIFY(folder.ready());
    QVERIFY(WriteBytes(TempFileName, QByteArray()));
    QVERIFY(RecoverInterruptedRemoval());
    QVERIFY(FilesInFolder().isEmpty());
}

void TestRemoval::recoveryDeletesTempWhenFilesAreThere() {
    DataFolder folder;
    QVERIFY(folder.ready());
    const QStringList names = {QStringLiteral("User.List"), QStringLiteral("Name.List"),
                               QStringLiteral("Course.Index"), QStringLiteral("Training.Records")};
    for (const QString& name : names)
        QVERIFY(WriteBytes(name, name.toLatin1()));
    // 3,000 bytes of persons: a length that fits every record file.
    QVERIFY(WriteBytes(TempFileName, Join(SampleRecords(DataFile::NameList, 3))));
    QString note;
    QVERIFY(RecoverInterruptedRemoval(&note));
    QVERIFY(note.isEmpty());
    QVERIFY(!Exists(TempFileName));
    for (const QString& name : names)
        QCOMPARE(ReadBytes(name), name.toLatin1());
}

void TestRemoval::recoveryDeletesTempOfNoRecordLength() {
    DataFolder folder;
    QVERIFY(folder.ready());
    QVERIFY(WriteBytes(TempFileName, QByteArray(1234, 'x')));
    QVERIFY(RecoverInterruptedRemoval());
    QVERIFY(FilesInFolder().isEmpty());
}

void TestRemoval::recoveryDeletesTempThatFitsNoMissingFile() {
    DataFolder folder;
    QVERIFY(folder.ready());
    // A copy of training records whose file is still there; Course.Index, of the same
    // record length, is missing but the records are not courses.
    QStringList files = WriteOtherFiles(QStringLiteral("Course.Index"));
    files.sort();
    const QByteArray trainings = Join(SampleRecords(DataFile::TrainingRecords, 4));
    QVERIFY(WriteBytes(QStringLiteral("Training.Records"), trainings));
    QVERIFY(WriteBytes(TempFileName, trainings.left(900)));
    QVERIFY(RecoverInterruptedRemoval());
    QCOMPARE(FilesInFolder(), files);
    QCOMPARE(ReadBytes(QStringLiteral("Training.Records")), trainings);
}

void TestRemoval::recoveryRestoresDeletedFile_data() {
    QTest::addColumn<DataFile>("file");
    QTest::addColumn<int>("count");
    QTest::newRow("Name.List") << DataFile::NameList << 3;
    QTest::newRow("User.List") << DataFile::UserList << 2;
    QTest::newRow("User.List, 6 users") << DataFile::UserList << 6;
    QTest::newRow("Course.Index") << DataFile::CourseIndex << 3;
    QTest::newRow("Course.Index, 10 courses") << DataFile::CourseIndex << 10;
    QTest::newRow("Training.Records") << DataFile::TrainingRecords << 3;
    QTest::newRow("Training.Records, 10 records") << DataFile::TrainingRecords << 10;
}

void TestRemoval::recoveryRestoresDeletedFile() {
    QFETCH(DataFile, file);
    QFETCH(int, count);
    DataFolder folder;
    QVERIFY(folder.ready());
    // An older program deleted the file and was stopped before renaming its copy. No other
    // record file exists either, so only the records themselves can tell where they belong.
    const QByteArray copy = Join(SampleRecords(file, count));
    QVERIFY(WriteBytes(TempFileName, copy));
    QString note;
    QVERIFY(RecoverInterruptedRemoval(&note));
    QVERIFY(note.contains(QStringLiteral("\"%1\"").arg(FileNameOf(file))));
    QCOMPARE(FilesInFolder(), QStringList{FileNameOf(file)});
    QCOMPARE(ReadBytes(FileNameOf(file)), copy);
}

void TestRemoval::recoveryRestoresCutShortOnlyCopy() {
    DataFolder folder;
    QVERIFY(folder.ready());
    // Name.List deleted by an older program, its copy cut short in the 6th person.
    const Records persons = SampleRecords(DataFile::NameList, 6);
    const QByteArray whole = Join(persons.mid(0, 5));
    const QByteArray part = persons[5].left(600);
    QVERIFY(WriteBytes(TempFileName, whole + part));
    QVERIFY(WriteBytes(QStringLiteral("Name.List.Partial"), "an earlier one"));
    QString note;
    QVERIFY(RecoverInterruptedRemoval(&note));
    QCOMPARE(ReadBytes(QStringLiteral("Name.List")), whole);
    QCOMPARE(ReadBytes(QStringLiteral("Name.List.Partial-2")), part);
    QCOMPARE(ReadBytes(QStringLiteral("Name.List.Partial")), QByteArray("an earlier one"));
    QVERIFY(!Exists(TempFileName));
    QVERIFY(note.contains(QStringLiteral("\"Name.List\"")));
    QVERIFY(note.contains(QStringLiteral("\"Name.List.Partial-2\"")));
}

void TestRemoval::recoveryKeepsTempWhenUndecidable() {
    DataFolder folder;
    QVERIFY(folder.ready());
    SetClock([] { return QDateTime(QDate(2026, 12, 8), QTime(14, 30)); });
    // Persons whose comments hold, at byte 500, what looks like the start of a user record:
    // the copy reads as three persons and as six users alike.
    Records persons = SampleRecords(DataFile::NameList, 3);
    for (QByteArray& p : persons) {
        UserRecord user;
        user.DateCreated = Stamp(50);
        user.FirstName = QStringLiteral("Ann");
        p.replace(500, 59, user.Encode().left(59));
    }
    const QByteArray copy = Join(persons);
    QVERIFY(WriteBytes(TempFileName, copy));
    QVERIFY(WriteBytes(QStringLiteral("TempFile kept 2026-12-08 14-30-00.$$$"), "earlier"));
    QString note;
    const StoreResult r = RecoverInterruptedRemoval(&note);
    SetClock({});
    QVERIFY2(r.ok(), qPrintable(r.text()));
    const QString kept = QStringLiteral("TempFile kept 2026-12-08 14-30-00 (2).$$$");
    QVERIFY(note.contains(QStringLiteral("\"User.List\" (missing)")));
    QVERIFY(note.contains(QStringLiteral("\"Name.List\" (missing)")));
    QVERIFY(note.contains(QStringLiteral("\"%1\"").arg(kept)));
    QCOMPARE(ReadBytes(kept), copy);
    QVERIFY(!Exists(TempFileName));

    // Out of the way of a removal, which goes on.
    const Records courses = SampleRecords(DataFile::CourseIndex, 2);
    QVERIFY(WriteBytes(QStringLiteral("Course.Index"), Join(courses)));
    QVERIFY(RemoveMarkedRecord(DataFile::CourseIndex, 1));
    QCOMPARE(ReadBytes(QStringLiteral("Course.Index")), courses[1]);
    QCOMPARE(ReadBytes(kept), copy);
}

void TestRemoval::recoveryNeverDeletesCopyOfMissingFile_data() {
    QTest::addColumn<QStringList>("present"); // record files there besides the copy
    QTest::addColumn<bool>("restored");       // else kept under a name of its own
    // Name.List's first 99,500 bytes: 99 persons and half of one, or 199 records of
    // User.List's length, every other one of which starts like a user.
    QTest::newRow("Name.List missing, User.List there")
        << QStringList{QStringLiteral("User.List")} << true;
    QTest::newRow("both missing") << QStringList{} << true;
    QTest::newRow("Name.List there, User.List missing")
        << QStringList{QStringLiteral("Name.List")} << false;
}

void TestRemoval::recoveryNeverDeletesCopyOfMissingFile() {
    QFETCH(QStringList, present);
    QFETCH(bool, restored);
    DataFolder folder;
    QVERIFY(folder.ready());
    const QByteArray persons = Join(SampleRecords(DataFile::NameList, 100));
    const QByteArray copy = persons.left(99500);
    for (const QString& name : present)
        QVERIFY(WriteBytes(name, name == QLatin1String("Name.List") ? persons : "users"));
    QVERIFY(WriteBytes(TempFileName, copy));
    QString note;
    QVERIFY(RecoverInterruptedRemoval(&note));
    QVERIFY(!Exists(TempFileName));
    QVERIFY(note.contains(QStringLiteral("\"Name.List\"")));
    if (restored) {
        QCOMPARE(ReadBytes(QStringLiteral("Name.List")), copy.left(99000));
        QCOMPARE(ReadBytes(QStringLiteral("Name.List.Partial")), copy.mid(99000));
        if (!present.isEmpty())
            QCOMPARE(ReadBytes(QStringLiteral("User.List")), QByteArray("users"));
    } else {
        const QStringList kept =
            QDir().entryList({QStringLiteral("TempFile kept *.$$$")}, QDir::Files);
        QCOMPARE(kept.size(), 1);
        QCOMPARE(ReadBytes(kept.first()), copy);
        QVERIFY(note.contains(kept.first()));
        QCOMPARE(ReadBytes(QStringLiteral("Name.List")), persons);
    }
}

void TestRemoval::leftoverTempIsSettledBeforeRemoval() {
    DataFolder folder;
    QVERIFY(folder.ready());
    const QByteArray courses = Join(SampleRecords(DataFile::CourseIndex, 3));
    const Records persons = SampleRecords(DataFile::NameList, 2);
    QVERIFY(WriteBytes(TempFileName, courses)); // an older program's copy of Course.Index
    QVERIFY(WriteBytes(QStringLiteral("Name.List"), Join(persons)));
    QVERIFY(RemoveMarkedRecord(DataFile::NameList, 1));
    QCOMPARE(ReadBytes(QStringLiteral("Course.Index")), courses);
    QCOMPARE(ReadBytes(QStringLiteral("Name.List")), persons[1]);
    QVERIFY(!Exists(TempFileName));
}

QTEST_APPLESS_MAIN(TestRemoval)
#include "test_removal.moc"
