#include "DataFolder.h"

#include "store/ChangeLog.h"
#include "store/FileWrite.h"
#include "store/Formats.h"
#include "store/Journal.h"
#include "store/RecordFile.h"
#include "store/RecordStore.h"
#include "store/UserLog.h"

#include <QFileInfo>
#include <QtTest>
#include <cerrno>
#include <climits>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace store;
Q_DECLARE_METATYPE(store::DataFile)

namespace {

PersonRecord Person(double created, const QString& first) {
    PersonRecord p;
    p.DateCreated = created;
    p.FirstName = first;
    p.LastName = QStringLiteral("Doe");
    return p;
}

// What the system says when a name is a directory, asked of QFile itself.
QString ReasonForOpening(const QString& name) {
    QFile file(name);
    file.open(QIODevice::ReadWrite);
    return file.errorString();
}

} // namespace

class TestRecordFile : public QObject {
    Q_OBJECT

private slots:
    void countsRoundHalfToEven_data();
    void countsRoundHalfToEven();
    void openCreatesMissingFile();
    void everyOpenTakesAFreshHandle();
    void countsAFileOfOddLength_data();
    void countsAFileOfOddLength();
    void readsPartialLastRecordWithZeros();
    void refusesRecordsBeyondTheEnd();
    void readsAllRecordsAtOnce();
    void writesAndReadsInAnyOrder();
    void reportsOpenFailure();
    void reportsFailedWrite();
    void failedAppendLeavesNoRecord_data();
    void failedAppendLeavesNoRecord();
    void readsReadOnlyFolder();
    void refusesDevices();
    void followsLinksOnlyInsideFolder_data();
    void followsLinksOnlyInsideFolder();
    void usesWideOffsets();
    void tableReadGivesSafeValues();
    void tableWriteEncodesBuffer();
    void listsRefuseBeyondTheirLimit();
    void trainingCountsBeyondSixteenBits();
    void closeAllClosesEveryTable();
    void uniqueStampSkipsTakenSeconds();
    void uniqueStampOpensAndClosesItself();
    void uniqueStampKeepsOpenFileOpen();
    void removesEmptyDataFiles();
    void olderWriteJournalOnlyAtItsLength_data();
    void olderWriteJournalOnlyAtItsLength();
    void newFilesTakeTheFolderMode_data();
    void newFilesTakeTheFolderMode();
};

void TestRecordFile::countsRoundHalfToEven_data() {
    QTest::addColumn<qint64>("length");
    QTest::addColumn<int>("recordLength");
    QTest::addColumn<int>("count");
    QTest::newRow("empty") << qint64(0) << 1000 << 0;
    QTest::newRow("under half") << qint64(499) << 1000 << 0;
    QTest::newRow("half of one, to 0") << qint64(500) << 1000 << 0;
    QTest::newRow("one") << qint64(1000) << 1000 << 1;
    QTest::newRow("1,499") << qint64(1499) << 1000 << 1;
    QTest::newRow("1,500 to 2") << qint64(1500) << 1000 << 2;
    QTest::newRow("1,501") << qint64(1501) << 1000 << 2;
    QTest::newRow("2,500 to 2") << qint64(2500) << 1000 << 2;
    QTest::newRow("3,500 to 4") << qint64(3500) << 1000 << 4;
    QTest::newRow("training 450") << qint64(450) << 300 << 2;
    QTest::newRow("beyond 16 bits") << qint64(300) * 40000 << 300 << 40000;
    QTest::newRow("capped at 32 bits") << qint64(5000000000) << 1 << INT_MAX;
}

void TestRecordFile::countsRoundHalfToEven() {
    QFETCH(qint64, length);
    QFETCH(int, recordLength);
    QFETCH(int, count);
    QCOMPARE(RecordCountForLength(length, recordLength), count);
}

void TestRecordFile::openCreatesMissingFile() {
    DataFolder folder;
    QVERIFY(folder.ready());
    RecordFile file(QStringLiteral("Name.List"), 1000);
    QVERIFY(!file.IsOpen());
    QCOMPARE(file.Handle(), 0);
    QVERIFY(file.Open());
    QVERIFY(file.IsOpen());
    QVERIFY(file.Handle() > 0);
    QCOMPARE(file.Count(), 0);
    QVERIFY(QFileInfo::exists(QStringLiteral("Name.List")));
    QCOMPARE(QFileInfo(QStringLiteral("Name.List")).size(), qint64(0));
    file.Close();
    QCOMPARE(file.Handle(), 0);
    file.Close(); // closing a closed file does nothing
    QVERIFY(!file.IsOpen());
}

void TestRecordFile::everyOpenTakesAFreshHandle() {
    DataFolder folder;
    QVERIFY(folder.ready());
    RecordFile file(QStringLiteral("Course.Index"), 300);
    RecordFile other(QStringLiteral("Training.Records"), 300);
    QVERIFY(file.Open());
    const int first = file.Handle();
    QVERIFY(other.Open());
    QVERIFY(other.Handle() > first);
    QVERIFY(WriteBytes(QStringLiteral("Course.Index"), QByteArray(600, 'x')));
    QVERIFY(file.Open()); // open again while open: the earlier handle is given up
    QVERIFY(file.Handle() > other.Handle());
    QCOMPARE(file.Count(), 2);
}

void TestRecordFile::countsAFileOfOddLength_data() {
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("count");
    QTest::newRow("1,499") << 1499 << 1;
    QTest::newRow("1,500") << 1500 << 2;
    QTest::newRow("2,500") << 2500 << 2;
}

void TestRecordFile::countsAFileOfOddLength() {
    QFETCH(int, length);
    QFETCH(int, count);
    DataFolder folder;
    QVERIFY(folder.ready());
    QVERIFY(WriteBytes(QStringLiteral("Name.List"), QByteArray(length, ' ')));
    QVERIFY(OpenNameList());
    QCOMPARE(PersonCount(), count);
    CloseNameList();
}

void TestRecordFile::readsPartialLastRecordWithZeros() {
    DataFolder folder;
    QVERIFY(folder.ready());
    const QByteArray fixture = Fixture(QStringLiteral("persons-partial.bin"));
    QCOMPARE(fixture.size(), 1600);
    QVERIFY(WriteBytes(QStringLiteral("Name.List"), fixture));
    RecordFile file(QStringLiteral("Name.List"), 1000);
    QVERIFY(file.Open());
    QCOMPARE(file.Count(), 2);
    QByteArray bytes;
    QVERIFY(file.ReadRaw(2, bytes));
    QCOMPARE(bytes.size(), 1000);
    QCOMPARE(bytes.left(600), fixture.mid(1000, 600));
    QCOMPARE(bytes.mid(600), QByteArray(400, '\0'));

    // Through the table: the missing flag reads as 0 (inactive), the comments end where the
    // file ends.
    QVERIFY(OpenNameList());
    QVERIFY(Persons().Read(2));
    const PersonRecord& p = Persons().Buffer();
    QCOMPARE(p.DateCreated, 41706.25);
    QCOMPARE(p.FirstName, QStringLiteral("Bob"));
    QCOMPARE(p.MiddleName, QString());
    QCOMPARE(p.Organization, QString());
    QCOMPARE(p.Comments, QString(492, QLatin1Char('x')));
    QCOMPARE(p.Active, qint16(0));
    QVERIFY(Persons().Read(1));
    QCOMPARE(Persons().Buffer().Comments, QStringLiteral("Night shift"));
    QCOMPARE(Persons().Buffer().Active, qint16(-1));
}

void TestRecordFile::readsAllRecordsAtOnce() {
    DataFolder folder;
    QVERIFY(folder.ready());
    const QByteArray fixture = Fixture(QStringLiteral("persons-partial.bin"));
    QVERIFY(WriteBytes(QStringLiteral("Name.List"), fixture));
    RecordFile file(QStringLiteral("Name.List"), 1000);
    QByteArray bytes("left over");
    QVERIFY(!file.ReadAll(bytes)); // not open
    QVERIFY(bytes.isEmpty());

    QVERIFY(file.Open());
    QVERIFY(file.ReadAll(bytes));
    // Two records: the second, cut short, padded as a read by number pads it.
    QCOMPARE(bytes.size(), 2000);
    QCOMPARE(bytes.left(1600), fixture);
    QByteArray second;
    QVERIFY(file.ReadRaw(2, second));
    QCOMPARE(bytes.mid(1000), second);

    // Bytes short of half a record are not a record.
    QVERIFY(WriteBytes(QStringLiteral("Course.Index"), QByteArray(300 + 149, 'c')));
    RecordFile courses(QStringLiteral("Course.Index"), 300);
    QVERIFY(courses.Open());
    QVERIFY(courses.ReadAll(bytes));
    QCOMPARE(bytes, QByteArray(300, 'c'));
}

void TestRecordFile::refusesRecordsBeyondTheEnd() {
    DataFolder folder;
    QVERIFY(folder.ready());
    QVERIFY(WriteBytes(QStringLiteral("Name.List"), QByteArray(1499, 'a')));
    RecordFile file(QStringLiteral("Name.List"), 1000);
    QByteArray bytes;
    StoreResult closed = file.ReadRaw(1, bytes);
    QVERIFY(!closed.ok());
    QVERIFY(file.Open());
    QVERIFY(file.ReadRaw(2, bytes)); // 499 bytes of it exist
    QCOMPARE(bytes.left(499), QByteArray(499, 'a'));
    QCOMPARE(bytes.mid(499), QByteArray(501, '\0'));
    for (qint32 n : {3, 0, -1}) {
        const StoreResult r = file.ReadRaw(n, bytes);
        QVERIFY2(!r.ok(), qPrintable(QString::number(n)));
        QCOMPARE(r.fileName(), QStringLiteral("Name.List"));
        QVERIFY(!r.reason().isEmpty());
    }
}

void TestRecordFile::writesAndReadsInAnyOrder() {
    DataFolder folder;
    QVERIFY(folder.ready());
    RecordFile file(QStringLiteral("Course.Index"), 300);
    QVERIFY(file.Open());
    const QByteArray a(300, 'a'), b(300, 'b'), c(300, 'c');
    QVERIFY(file.WriteRaw(1, a));
    QVERIFY(file.WriteRaw(2, b));
    QCOMPARE(QFileInfo(QStringLiteral("Course.Index")).size(), qint64(600));
    QCOMPARE(file.Count(), 0); // a write does not count
    QByteArray bytes;
    QVERIFY(file.ReadRaw(1, bytes));
    QCOMPARE(bytes, a);
    QVERIFY(file.WriteRaw(2, c)); // over a record that the last read brought in
    QVERIFY(file.ReadRaw(2, bytes));
    QCOMPARE(bytes, c);
    QVERIFY(file.WriteRaw(3, a)); // append after a read
    QVERIFY(file.ReadRaw(3, bytes));
    QCOMPARE(bytes, a);
    QCOMPARE(ReadBytes(QStringLiteral("Course.Index")), a + c + a);
    QVERIFY(!file.WriteRaw(1, QByteArray(299, 'x')).ok());
}

void TestRecordFile::reportsOpenFailure() {
    DataFolder folder;
    QVERIFY(folder.ready());
    QVERIFY(QDir().mkdir(QStringLiteral("Name.List")));
    const StoreResult r = OpenNameList();
    QVERIFY(!r.ok());
    QCOMPARE(r.fileName(), QStringLiteral("Name.List"));
    QCOMPARE(r.reason(), ReasonForOpening(QStringLiteral("Name.List")));
    QVERIFY(!r.reason().isEmpty());
    QVERIFY(r.text().contains(QStringLiteral("\"Name.List\"")));
    QVERIFY(!Persons().IsOpen());
}

void TestRecordFile::reportsFailedWrite() {
    DataFolder folder;
    QVERIFY(folder.ready());
    const QByteArray former(900, 'a');
    QVERIFY(WriteBytes(QStringLiteral("Course.Index"), former));
    QVERIFY(OpenCourseIndex());
    // The file-size limit stops writes even for root: the write of record 4 could end at
    // byte 1,000, record 5 gets nothing at all.
    struct rlimit previous;
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
    struct rlimit small = previous;
    small.rlim_cur = 1000;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    Courses().Buffer().CourseCode = QStringLiteral("FA-101");
    const StoreResult shortWrite = Courses().Write(4);
    const StoreResult noWrite = Courses().Write(5);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);

    // Both name the system's reason, and neither leaves a part of a record behind to be
    // counted as one.
    for (const StoreResult& r : {shortWrite, noWrite}) {
        QVERIFY(!r.ok());
        QCOMPARE(r.fileName(), QStringLiteral("Course.Index"));
        QCOMPARE(r.reason(), qt_error_string(EFBIG));
    }
    QCOMPARE(CourseCount(), 3);
    Courses().Close();
    QCOMPARE(ReadBytes(QStringLiteral("Course.Index")), former);
}

void TestRecordFile::failedAppendLeavesNoRecord_data() {
    QTest::addColumn<DataFile>("file");
    QTest::addColumn<qint64>("taken"); // bytes the disk takes before it is full
    QTest::addColumn<int>("tail");     // bytes of a cut-off record already at the end
    QTest::newRow("person, half taken") << DataFile::NameList << qint64(600) << 0;
    QTest::newRow("user, nothing taken") << DataFile::UserList << qint64(0) << 0;
    QTest::newRow("course over a short tail") << DataFile::CourseIndex << qint64(299) << 100;
}

void TestRecordFile::failedAppendLeavesNoRecord() {
    QFETCH(DataFile, file);
    QFETCH(qint64, taken);
    QFETCH(int, tail);
    DataFolder folder;
    QVERIFY(folder.ready());
    const int length = RecordLengthOf(file);
    const QByteArray former = QByteArray(2 * length, 'r') + QByteArray(tail, 't');
    QVERIFY(WriteBytes(FileNameOf(file), former));
    RecordFile records(FileNameOf(file), length);
    QVERIFY(records.Open());
    qint64 left = taken;
    io::testing::SetWriteHook([&left](const QString&, qint64 wanted, int& error) {
        const qint64 allowed = std::min(left, wanted);
        left -= allowed;
        error = allowed == 0 ? ENOSPC : 0;
        return allowed;
    });
    const StoreResult r = records.WriteRaw(3, QByteArray(length, 'n'));
    io::testing::SetWriteHook({});
    QVERIFY(!r.ok());
    QCOMPARE(r.reason(), qt_error_string(ENOSPC));
    QCOMPARE(records.Count(), 2);
    records.Close();
    QCOMPARE(ReadBytes(FileNameOf(file)), former);
}

void TestRecordFile::readsReadOnlyFolder() {
    DataFolder folder;
    QVERIFY(folder.ready());
    Persons().Buffer().FirstName = QStringLiteral("Ann");
    QVERIFY(OpenNameList());
    QVERIFY(Persons().Write(1));
    CloseNameList();
    {
        const ReadOnlyFolder readOnly(folder.path());
        QVERIFY(readOnly.ready());
        // Reading works, whichever way the file is opened; a missing file is empty.
        for (auto open : {&RecordFile::Open, &RecordFile::OpenForReading}) {
            QVERIFY((Persons().File().*open)());
            QCOMPARE(PersonCount(), 1);
            QVERIFY(Persons().Read(1));
            QCOMPARE(Persons().Buffer().FirstName, QStringLiteral("Ann"));
            QVERIFY((Courses().File().*open)());
            QVERIFY(Courses().IsOpen());
            QCOMPARE(CourseCount(), 0);
            QByteArray all;
            QVERIFY(Courses().File().ReadAll(all));
            QVERIFY(all.isEmpty());
        }
        // Writing says why it cannot.
        QVERIFY(OpenNameList());
        QVERIFY(OpenCourseIndex());
        for (const StoreResult& r : {Persons().Write(2), Courses().Write(1),
                                     Persons().File().AppendRecords(PersonRecord().Encode())}) {
            QVERIFY(!r.ok());
            QVERIFY(r.reason().contains(QStringLiteral("can only be read")));
        }
        CloseAll();
    }
    // The one write before the folder turned read-only, and its line in the change log.
    QCOMPARE(QDir().entryList(QDir::Files), QStringList({ChangeLogFileName, "Name.List"}));
    QCOMPARE(QFileInfo(QStringLiteral("Name.List")).size(), qint64(PersonRecord::Length));
}

void TestRecordFile::refusesDevices() {
    DataFolder folder;
    QVERIFY(folder.ready());
    if (!QFile::link(QStringLiteral("/dev/full"), QStringLiteral("Course.Index")))
        QSKIP("no /dev/full here");
    const StoreResult r = OpenCourseIndex();
    QVERIFY(!r.ok());
    QCOMPARE(r.fileName(), QStringLiteral("Course.Index"));
    QVERIFY(!Courses().IsOpen());
}

void TestRecordFile::followsLinksOnlyInsideFolder_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("forReading");
    QTest::addColumn<bool>("opens");
    for (const bool forReading : {false, true}) {
        const char* how = forReading ? " (reading)" : " (read and write)";
        QTest::addRow("link inside%s", how) << QStringLiteral("inside") << forReading << true;
        QTest::addRow("link outside%s", how) << QStringLiteral("outside") << forReading << false;
        QTest::addRow("link outside to a file not there%s", how)
            << QStringLiteral("dangling") << forReading << false;
        QTest::addRow("FIFO%s", how) << QStringLiteral("fifo") << forReading << false;
    }
}

void TestRecordFile::followsLinksOnlyInsideFolder() {
    QFETCH(QString, entry);
    QFETCH(bool, forReading);
    QFETCH(bool, opens);
    QTemporaryDir elsewhere;
    QVERIFY(elsewhere.isValid());
    const QString outside = elsewhere.filePath(QStringLiteral("someone's"));
    const QByteArray theirs(600, 'x');
    QVERIFY(WriteBytes(outside, theirs));
    DataFolder folder;
    QVERIFY(folder.ready());
    const QString name = QStringLiteral("Course.Index");
    QVERIFY(QDir().mkdir(QStringLiteral("shared")));
    QVERIFY(WriteBytes(QStringLiteral("shared/Course.Index"), QByteArray(900, 'c')));
    if (entry == QLatin1String("inside"))
        QVERIFY(QFile::link(QStringLiteral("shared/Course.Index"), name));
    else if (entry == QLatin1String("outside"))
        QVERIFY(QFile::link(outside, name));
    else if (entry == QLatin1String("dangling"))
        QVERIFY(QFile::link(elsewhere.filePath(QStringLiteral("new")), name));
    else
        QCOMPARE(::mkfifo(QFile::encodeName(name).constData(), 0600), 0);

    RecordFile file(name, 300);
    const StoreResult r = forReading ? file.OpenForReading() : file.Open();
    QCOMPARE(r.ok(), opens);
    QCOMPARE(ReadBytes(outside), theirs);
    QVERIFY(!QFile::exists(elsewhere.filePath(QStringLiteral("new"))));
    if (opens) {
        QCOMPARE(file.Count(), 3);
        return;
    }
    QVERIFY(!file.IsOpen());
    QCOMPARE(r.fileName(), name);
    if (entry != QLatin1String("fifo"))
        QCOMPARE(r.reason(), QStringLiteral("It is a link that leads outside the data folder; it "
                                            "was not opened."));
}

void TestRecordFile::usesWideOffsets() {
    DataFolder folder;
    QVERIFY(folder.ready());
    // Record 7,200,001 begins at byte 2,160,000,000, past what 32 bits can address.
    const qint32 far = 7200001;
    RecordFile file(QStringLiteral("Training.Records"), 300);
    QVERIFY(file.Open());
    QByteArray record(300, 'k');
    if (!file.WriteRaw(far, record))
        QSKIP("this file system holds no file of 2 GB");
    QCOMPARE(QFileInfo(QStringLiteral("Training.Records")).size(), qint64(far) * 300);
    QVERIFY(file.Open());
    QCOMPARE(file.Count(), far);
    QByteArray bytes;
    QVERIFY(file.ReadRaw(far, bytes));
    QCOMPARE(bytes, record);
    QVERIFY(file.ReadRaw(far - 1, bytes)); // never written: zeros
    QCOMPARE(bytes, QByteArray(300, '\0'));
    file.Close();
    QFile::remove(QStringLiteral("Training.Records"));
}

void TestRecordFile::tableReadGivesSafeValues() {
    DataFolder folder;
    QVERIFY(folder.ready());
    QVERIFY(WriteBytes(QStringLiteral("User.List"), Fixture(QStringLiteral("users-damaged.bin"))));
    QVERIFY(OpenUserList());
    QCOMPARE(UserCount(), 2);
    QVERIFY(Users().Read(1));
    QCOMPARE(Users().Buffer().DateCreated, 0.0);
    QCOMPARE(Users().Buffer().AccessLevel, qint16(1));
    QCOMPARE(Users().Buffer().FirstName, QStringLiteral("Ann"));
    QCOMPARE(Users().Buffer().LastName, QString());
    QVERIFY(Users().Read(2));
    QCOMPARE(Users().Buffer().DateCreated, 0.0);
    QCOMPARE(Users().Buffer().AccessLevel, qint16(1));
    QCOMPARE(Users().Buffer().LastName, QStringLiteral(" Lee"));
    // A failed read leaves the buffer as it was.
    QVERIFY(!Users().Read(3).ok());
    QCOMPARE(Users().Buffer().LastName, QStringLiteral(" Lee"));
    CloseUserList();
}

void TestRecordFile::tableWriteEncodesBuffer() {
    DataFolder folder;
    QVERIFY(folder.ready());
    QVERIFY(OpenNameList());
    Persons().Buffer() = Person(2.5, QStringLiteral("Mary"));
    QVERIFY(Persons().Write(PersonCount() + 1));
    Persons().SetCount(PersonCount() + 1);
    Persons().Buffer() = Person(1.0, QStringLiteral("Bob"));
    QVERIFY(Persons().Write(PersonCount() + 1));
    CloseNameList();

    const QByteArray bytes = ReadBytes(QStringLiteral("Name.List"));
    QCOMPARE(bytes.size(), 2000);
    QCOMPARE(bytes.left(8), QByteArray("\x00\x00\x00\x00\x00\x00\x04\x40", 8));
    QCOMPARE(bytes.mid(8, 15), Padded("Mary", 15));
    QCOMPARE(bytes.mid(1000, 8), QByteArray("\x00\x00\x00\x00\x00\x00\xF0\x3F", 8));
    QCOMPARE(bytes.mid(1008, 15), Padded("Bob", 15));
    QVERIFY(OpenNameList());
    QCOMPARE(PersonCount(), 2);
}

void TestRecordFile::listsRefuseBeyondTheirLimit() {
    DataFolder folder;
    QVERIFY(folder.ready());
    QCOMPARE(MaxRecordsOf(DataFile::UserList), 32767);
    QCOMPARE(MaxRecordsOf(DataFile::NameList), 32767);
    QCOMPARE(MaxRecordsOf(DataFile::CourseIndex), 32767);
    QCOMPARE(MaxRecordsOf(DataFile::TrainingRecords), INT_MAX);

    // A Course.Index of exactly 32,767 records: full.
    QVERIFY(WriteBytes(QStringLiteral("Course.Index"), QByteArray(300 * 32766, ' ')));
    QVERIFY(OpenCourseIndex());
    QVERIFY(Courses().CanAdd());
    QVERIFY(Courses().Write(32767));
    QVERIFY(OpenCourseIndex());
    QCOMPARE(CourseCount(), 32767);
    QVERIFY(!Courses().CanAdd());
    const StoreResult r = Courses().Write(32768);
    QVERIFY(!r.ok());
    QVERIFY(r.isFull());
    QCOMPARE(r.fileName(), QStringLiteral("Course.Index"));
    QCOMPARE(r.reason(), QStringLiteral("The file is full: it cannot hold more than 32,767 "
                                        "records. Nothing was saved."));
    QCOMPARE(QFileInfo(QStringLiteral("Course.Index")).size(), qint64(300) * 32767);

    Persons().SetCount(32767);
    QVERIFY(!Persons().CanAdd());
    Users().SetCount(32766);
    QVERIFY(Users().CanAdd());
}

void TestRecordFile::trainingCountsBeyondSixteenBits() {
    DataFolder folder;
    QVERIFY(folder.ready());
    QVERIFY(WriteBytes(QStringLiteral("Training.Records"), QByteArray(300 * 40000, '\0')));
    QVERIFY(OpenTrainingRecords());
    QCOMPARE(TrainingCount(), 40000);
    QVERIFY(Trainings().CanAdd());
    Trainings().Buffer().CourseCode = QStringLiteral("LATE");
    QVERIFY(Trainings().Write(40001));
    QVERIFY(OpenTrainingRecords());
    QCOMPARE(TrainingCount(), 40001);
    QVERIFY(Trainings().Read(40001));
    QCOMPARE(Trainings().Buffer().CourseCode, QStringLiteral("LATE"));
    Trainings().SetCount(INT_MAX);
    QVERIFY(!Trainings().CanAdd());
}

void TestRecordFile::closeAllClosesEveryTable() {
    DataFolder folder;
    QVERIFY(folder.ready());
    QVERIFY(OpenUserList());
    QVERIFY(OpenNameList());
    QVERIFY(OpenCourseIndex());
    QVERIFY(OpenTrainingRecords());
    CloseAll();
    QVERIFY(!Users().IsOpen());
    QVERIFY(!Persons().IsOpen());
    QVERIFY(!Courses().IsOpen());
    QVERIFY(!Trainings().IsOpen());
    QCOMPARE(Trainings().File().Handle(), 0);
}

void TestRecordFile::uniqueStampSkipsTakenSeconds() {
    DataFolder folder;
    QVERIFY(folder.ready());
    const QDate day(2014, 3, 7);
    const double taken0 = formats::DateValue(day, QTime(8, 15, 2));
    const double taken1 = formats::DateValue(day, QTime(8, 15, 3));
    const double free2 = formats::DateValue(day, QTime(8, 15, 4));
    QVERIFY(OpenNameList());
    Persons().Buffer() = Person(taken1, QStringLiteral("B"));
    QVERIFY(Persons().Write(1));
    Persons().Buffer() = Person(taken0, QStringLiteral("A"));
    QVERIFY(Persons().Write(2));
    CloseNameList();

    double unique = 0;
    QVERIFY(UniqueDateCreated(DataFile::NameList, taken0, unique));
    QCOMPARE(unique, free2); // bit for bit what the clock would give at 08:15:04
    QVERIFY(UniqueDateCreated(DataFile::NameList, free2, unique));
    QCOMPARE(unique, free2);

    // Midnight: the next second is on the next day.
    const double lateNight = formats::DateValue(day, QTime(23, 59, 59));
    Persons().Buffer() = Person(lateNight, QStringLiteral("C"));
    QVERIFY(OpenNameList());
    QVERIFY(Persons().Write(3));
    CloseNameList();
    QVERIFY(UniqueDateCreated(DataFile::NameList, lateNight, unique));
    QCOMPARE(unique, formats::DateValue(day.addDays(1), QTime(0, 0, 0)));

    QVERIFY(!UniqueDateCreated(DataFile::TrainingRecords, taken0, unique).ok());
}

void TestRecordFile::uniqueStampOpensAndClosesItself() {
    DataFolder folder;
    QVERIFY(folder.ready());
    const double stamp = formats::DateValue(QDate(2020, 1, 1), QTime(12, 0, 0));
    double unique = 0;
    QVERIFY(UniqueDateCreated(DataFile::CourseIndex, stamp, unique)); // no file yet
    QCOMPARE(unique, stamp);
    QVERIFY(!Courses().IsOpen());

    UserRecord user;
    user.DateCreated = stamp;
    QVERIFY(WriteBytes(QStringLiteral("User.List"), user.Encode()));
    Users().Buffer().FirstName = QStringLiteral("untouched");
    QVERIFY(UniqueDateCreated(DataFile::UserList, stamp, unique));
    QCOMPARE(unique, formats::DateValue(QDate(2020, 1, 1), QTime(12, 0, 1)));
    QVERIFY(!Users().IsOpen());
    QCOMPARE(Users().Buffer().FirstName, QStringLiteral("untouched"));
}

void TestRecordFile::uniqueStampKeepsOpenFileOpen() {
    DataFolder folder;
    QVERIFY(folder.ready());
    const double stamp = formats::DateValue(QDate(2020, 1, 1), QTime(12, 0, 0));
    QVERIFY(OpenCourseIndex());
    Courses().Buffer().DateCreated = stamp;
    QVERIFY(Courses().Write(1));
    Courses().SetCount(1);
    const int handle = Courses().File().Handle();
    double unique = 0;
    QVERIFY(UniqueDateCreated(DataFile::CourseIndex, stamp, unique));
    QCOMPARE(unique, formats::DateValue(QDate(2020, 1, 1), QTime(12, 0, 1)));
    QVERIFY(Courses().IsOpen());
    QCOMPARE(Courses().File().Handle(), handle);
}

void TestRecordFile::removesEmptyDataFiles() {
    DataFolder folder;
    QVERIFY(folder.ready());
    const QStringList empty = {QStringLiteral("User.List"), QStringLiteral("User.Log"),
                               QStringLiteral("Course.Index")};
    const QStringList kept = {QStringLiteral("Name.List"), QStringLiteral("Training.Records"),
                              QStringLiteral("Other.List")};
    for (const QString& name : empty)
        QVERIFY(WriteBytes(name, QByteArray()));
    QVERIFY(WriteBytes(QStringLiteral("Name.List"), QByteArray(1000, ' ')));
    QVERIFY(WriteBytes(QStringLiteral("Training.Records"), QByteArray(1, '\0')));
    QVERIFY(WriteBytes(QStringLiteral("Other.List"), QByteArray()));
    RemoveEmptyDataFiles();
    for (const QString& name : empty)
        QVERIFY2(!QFileInfo::exists(name), qPrintable(name));
    for (const QString& name : kept)
        QVERIFY2(QFileInfo::exists(name), qPrintable(name));

    // A file opened only to look at an empty list leaves nothing behind.
    QVERIFY(OpenCourseIndex());
    CloseAll();
    RemoveEmptyDataFiles();
    QVERIFY(!QFileInfo::exists(QStringLiteral("Course.Index")));
}

void TestRecordFile::olderWriteJournalOnlyAtItsLength_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("after"); // empty: left as it is
    QTest::newRow("same length: put back") << QByteArray("AAxxCC") << QByteArray("AABBCC");
    QTest::newRow("another length: left") << QByteArray("AAxxCCDD") << QByteArray();
    QTest::newRow("shorter: never grown") << QByteArray("AAx") << QByteArray();
}

// A journal of the previous version names no file: it is applied only where the file still
// has the length the journal recorded.
void TestRecordFile::olderWriteJournalOnlyAtItsLength() {
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, after);
    DataFolder folder;
    QVERIFY(folder.ready());
    QVERIFY(WriteBytes(QStringLiteral("Name.List"), file));
    QVERIFY(WriteBytes(RecordWriteJournal, "Mirtavel record write\nFile=4e616d652e4c697374\n"
                                           "Former=4242\nLength=6\nOffset=2\nend\n"));
    QString note;
    QVERIFY(UndoInterruptedWrite(&note));
    QVERIFY(!QFileInfo::exists(RecordWriteJournal));
    if (after.isEmpty()) {
        QCOMPARE(ReadBytes(QStringLiteral("Name.List")), file);
        QVERIFY(QFileInfo::exists(RecordWriteJournal + QStringLiteral(".not-applied")));
        QVERIFY(note.contains(QStringLiteral("replaced since")));
    } else {
        QCOMPARE(ReadBytes(QStringLiteral("Name.List")), after);
        QVERIFY(note.contains(QStringLiteral("put back")));
    }
}

void TestRecordFile::newFilesTakeTheFolderMode_data() {
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<int>("umask");
    QTest::addColumn<int>("fileMode");
    QTest::newRow("shared folder, open umask") << 0770 << 022 << 0660;
    QTest::newRow("shared folder, closed umask") << 0770 << 077 << 0660;
    QTest::newRow("private folder, open umask") << 0700 << 022 << 0600;
    QTest::newRow("private folder, closed umask") << 0700 << 077 << 0600;
}

// Whatever the umask, a data file, the log and a journal the program makes get the folder's
// read and write bits; a file that is there keeps its own.
void TestRecordFile::newFilesTakeTheFolderMode() {
    QFETCH(int, folderMode);
    QFETCH(int, umask);
    QFETCH(int, fileMode);
    DataFolder folder;
    QVERIFY(folder.ready());
    QVERIFY(::chmod(".", static_cast<mode_t>(folderMode)) == 0);
    QVERIFY(WriteBytes(QStringLiteral("Course.Index"), QByteArray()));
    QVERIFY(::chmod("Course.Index", 0640) == 0);
    const mode_t previous = ::umask(static_cast<mode_t>(umask));
    const bool opened = OpenNameList() && OpenCourseIndex();
    CloseAll();
    const bool logged =
        AppendUserLog(UserLogEvent::SignIn, QStringLiteral("Ann"), QStringLiteral("Admin")).ok();
    const bool noted = journal::Write(RecordWriteJournal, kRecordWriteKind, {}).ok();
    ::umask(previous);
    QVERIFY(opened && logged && noted);
    const auto modeOf = [](const char* name) {
        struct stat st;
        return ::stat(name, &st) == 0 ? int(st.st_mode & 07777) : -1;
    };
    QCOMPARE(modeOf("Name.List"), fileMode);
    QCOMPARE(modeOf("User.Log"), fileMode);
    QCOMPARE(modeOf("RecordWrite.Journal"), fileMode);
    QCOMPARE(modeOf("Course.Index"), 0640);
}

QTEST_APPLESS_MAIN(TestRecordFile)
#include "test_recordfile.moc"
