#include "DataFolder.h"

#include "store/FileWrite.h"

#include "store/Formats.h"
#include "store/PersonTraining.h"
#include "store/Removal.h"

#include <QFileInfo>
#include <QtTest>

using namespace store;

namespace {

constexpr double kSecond = 1.0 / 86400.0;

double Stamp(int minute) {
    return formats::DateValue(QDate(2014, 3, 7), QTime(8, 0).addSecs(60 * minute));
}

TrainingRecord Training(double personKey, int day, const QString& comment = {}) {
    TrainingRecord t;
    t.TrainingDate = formats::DateValue(QDate(2024, 1, 1).addDays(day));
    t.PersonKey = personKey;
    t.CourseKey = Stamp(100);
    t.CourseCode = QStringLiteral("FIR-%1").arg(day);
    t.CourseName = QStringLiteral("Firearms");
    t.Hours = 8;
    t.Comments = comment;
    return t;
}

// Training.Records holding `keys` in this order, record n for day n.
QByteArray WriteTrainings(const QList<double>& keys) {
    QByteArray bytes;
    for (int i = 0; i < keys.size(); ++i)
        bytes += Training(keys[i], i + 1).Encode();
    return WriteBytes(QStringLiteral("Training.Records"), bytes) ? bytes : QByteArray();
}

void WritePersons(int count) {
    QByteArray bytes;
    for (int i = 1; i <= count; ++i) {
        PersonRecord p;
        p.DateCreated = Stamp(i);
        p.FirstName = QStringLiteral("First%1").arg(i);
        p.LastName = QStringLiteral("Last");
        bytes += p.Encode();
    }
    QVERIFY(WriteBytes(QStringLiteral("Name.List"), bytes));
}

QList<qint32> RecNums(const std::vector<NumberedTraining>& records) {
    QList<qint32> numbers;
    for (const NumberedTraining& t : records)
        numbers << t.recNum;
    return numbers;
}

// Runs `write` while Training.Records may grow to `limit` bytes and no further, as on a disk
// that fills up: a write past it is cut short there and then fails. Other files (the journal,
// the change log) are written as usual.
template <class Write> void WithSizeLimit(qint64 limit, Write write) {
    const qint64 start = QFileInfo(QStringLiteral("Training.Records")).size();
    qint64 room = std::max<qint64>(0, limit - start);
    io::testing::SetWriteHook([&room](const QString& name, qint64 wanted, int& error) {
        if (name != QStringLiteral("Training.Records"))
            return wanted;
        const qint64 taken = std::min(room, wanted);
        room -= taken;
        error = taken == 0 ? EFBIG : 0;
        return taken;
    });
    write();
    io::testing::SetWriteHook({});
}

} // namespace

class TestPersonTraining : public QObject {
    Q_OBJECT

private slots:
    void keysBelongByTheWholeSecond_data() {
        QTest::addColumn<double>("key");
        QTest::addColumn<bool>("belongs");
        const double p = Stamp(5);
        QTest::newRow("equal") << p << true;
        QTest::newRow("last bit differs") << std::nextafter(p, 1e9) << true;
        QTest::newRow("0.4 s later") << p + 0.4 * kSecond << true;
        QTest::newRow("0.4 s earlier") << p - 0.4 * kSecond << true;
        QTest::newRow("1 s later") << p + kSecond << false;
        QTest::newRow("another person") << Stamp(6) << false;
        QTest::newRow("no date") << std::nan("") << false;
        QTest::newRow("zero") << 0.0 << false;
    }
    void keysBelongByTheWholeSecond() {
        QFETCH(double, key);
        QFETCH(bool, belongs);
        QCOMPARE(BelongsToPerson(key, Stamp(5)), belongs);
        QCOMPARE(PersonKeyMatch(Stamp(5))(key), belongs);
        // Values outside the calendar belong only to themselves.
        QVERIFY(BelongsToPerson(1e300, 1e300));
        QVERIFY(!BelongsToPerson(1e300, std::nextafter(1e300, 0.0)));
    }

    // The history lists exactly what the deletion removes, also for keys a fraction of a
    // second off; the others keep their order.
    void historyAndDeletionAgree() {
        DataFolder folder;
        QVERIFY(folder.ready());
        const double p = Stamp(1);
        const double q = Stamp(2);
        const QByteArray all =
            WriteTrainings({q, p, q, p + 0.3 * kSecond, q, p - 0.3 * kSecond, p + 1.5 * kSecond});
        std::vector<NumberedTraining> listed;
        QVERIFY(ReadPersonTraining(p, listed));
        QCOMPARE(RecNums(listed), (QList<qint32>{2, 4, 6}));
        QCOMPARE(listed[1].record.CourseCode, QStringLiteral("FIR-4"));

        qint32 before = 0;
        qint32 removed = 0;
        QVERIFY(RemovePersonTraining(p, &before, &removed));
        QCOMPARE(before, 7);
        QCOMPARE(removed, 3);
        const QByteArray left = ReadBytes(QStringLiteral("Training.Records"));
        QCOMPARE(left, all.mid(0, 300) + all.mid(600, 300) + all.mid(1200, 300) + all.mid(1800));
        QVERIFY(ReadPersonTraining(p, listed));
        QVERIFY(listed.empty());
    }

    void missingFileIsNoHistoryAndStaysMissing() {
        DataFolder folder;
        QVERIFY(folder.ready());
        std::vector<NumberedTraining> listed(3);
        QVERIFY(ReadPersonTraining(Stamp(1), listed));
        QVERIFY(listed.empty());
        QVERIFY(!QFileInfo::exists(QStringLiteral("Training.Records")));
    }

    void creditAppendsAllInOrder() {
        DataFolder folder;
        QVERIFY(folder.ready());
        const QByteArray old = WriteTrainings({Stamp(9), Stamp(9)});
        const std::vector<TrainingRecord> credit = {Training(Stamp(1), 10), Training(Stamp(2), 10),
                                                    Training(Stamp(3), 10)};
        qint32 first = 0;
        QVERIFY(AppendTrainingRecords(credit, &first));
        QCOMPARE(first, 3);
        QVERIFY(!Trainings().IsOpen());
        QCOMPARE(ReadBytes(QStringLiteral("Training.Records")),
                 old + credit[0].Encode() + credit[1].Encode() + credit[2].Encode());
    }

    // A credit cut short by a full disk leaves the file byte for byte as it was, also when its
    // last record was cut off and the count rounds past or short of the bytes.
    void failedCreditLeavesTheFileAsItWas_data() {
        QTest::addColumn<int>("formerBytes");
        QTest::addColumn<int>("limit");
        QTest::newRow("whole records, nothing fits") << 600 << 600;
        QTest::newRow("whole records, one of three fits") << 600 << 1000;
        QTest::newRow("short tail below the count") << 700 << 1100;
        QTest::newRow("short tail rounded up") << 860 << 1200;
        QTest::newRow("empty file") << 0 << 450;
    }
    void failedCreditLeavesTheFileAsItWas() {
        QFETCH(int, formerBytes);
        QFETCH(int, limit);
        DataFolder folder;
        QVERIFY(folder.ready());
        QByteArray former;
        for (int i = 0; i < formerBytes; ++i)
            former += char('a' + i % 26);
        QVERIFY(WriteBytes(QStringLiteral("Training.Records"), former));
        const std::vector<TrainingRecord> credit = {Training(Stamp(1), 1), Training(Stamp(2), 1),
                                                    Training(Stamp(3), 1)};
        StoreResult result;
        WithSizeLimit(limit, [&] { result = AppendTrainingRecords(credit); });
        QVERIFY(!result);
        QCOMPARE(result.fileName(), QStringLiteral("Training.Records"));
        QVERIFY(!result.reason().isEmpty());
        QCOMPARE(ReadBytes(QStringLiteral("Training.Records")), former);
        QVERIFY(!Trainings().IsOpen());
    }

    void creditPastTheLargestCountIsRefused() {
        DataFolder folder;
        QVERIFY(folder.ready());
        // A sparse file of MaxTrainingRecords - 1 records takes no room on the disk.
        const qint64 length = qint64(MaxTrainingRecords - 1) * TrainingRecord::Length;
        {
            QFile file(QStringLiteral("Training.Records"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            if (!file.resize(length))
                QSKIP("no sparse file of that length here");
        }
        const StoreResult refused =
            AppendTrainingRecords({Training(Stamp(1), 1), Training(Stamp(2), 1)});
        QVERIFY(!refused);
        QVERIFY(refused.isFull());
        QVERIFY(refused.reason().contains(QStringLiteral("2,147,483,647")));
        QVERIFY(refused.reason().startsWith(QStringLiteral("The file is full")));
        QCOMPARE(QFileInfo(QStringLiteral("Training.Records")).size(), length);
        qint32 first = 0;
        QVERIFY(AppendTrainingRecords({Training(Stamp(1), 1)}, &first));
        QCOMPARE(first, MaxTrainingRecords);
        QVERIFY(QFile::remove(QStringLiteral("Training.Records")));
    }

    void changeWritesOneRecordOfThePerson() {
        DataFolder folder;
        QVERIFY(folder.ready());
        const QByteArray all = WriteTrainings({Stamp(1), Stamp(2), Stamp(1)});
        const auto rename = [](TrainingRecord& t) { t.CourseName = QStringLiteral("Renamed"); };
        QVERIFY(ChangeTrainingRecord(3, Stamp(1), rename));
        QVERIFY(!Trainings().IsOpen());
        TrainingRecord expected = Training(Stamp(1), 3);
        expected.CourseName = QStringLiteral("Renamed");
        const QByteArray changed = all.left(600) + expected.Encode();
        QCOMPARE(ReadBytes(QStringLiteral("Training.Records")), changed);

        // Another person's record, or none at all: refused, nothing written.
        const StoreResult notHis = ChangeTrainingRecord(2, Stamp(1), rename);
        QVERIFY(!notHis);
        QCOMPARE(notHis.fileName(), QStringLiteral("Training.Records"));
        QVERIFY(!ChangeTrainingRecord(4, Stamp(1), rename));
        QCOMPARE(ReadBytes(QStringLiteral("Training.Records")), changed);
    }

    void removingAPersonTakesHisRecords_data() {
        QTest::addColumn<int>("persons");
        QTest::addColumn<int>("remove");
        QTest::addColumn<QList<int>>("owners"); // person number of each training record
        QTest::addColumn<int>("removed");
        QTest::newRow("5 of 12") << 3 << 2 << QList<int>{1, 2, 3, 2, 2, 1, 2, 3, 1, 2, 3, 1} << 5;
        QTest::newRow("no records") << 3 << 3 << QList<int>{1, 2, 1} << 0;
        QTest::newRow("only person, all records") << 1 << 1 << QList<int>{1, 1} << 2;
        QTest::newRow("no training file") << 2 << 1 << QList<int>{} << 0;
    }
    void removingAPersonTakesHisRecords() {
        QFETCH(int, persons);
        QFETCH(int, remove);
        QFETCH(QList<int>, owners);
        QFETCH(int, removed);
        DataFolder folder;
        QVERIFY(folder.ready());
        WritePersons(persons);
        QList<double> keys;
        for (int owner : owners)
            keys << Stamp(owner);
        QByteArray kept;
        if (!owners.isEmpty()) {
            const QByteArray all = WriteTrainings(keys);
            for (int i = 0; i < owners.size(); ++i) {
                if (owners[i] != remove)
                    kept += all.mid(300 * i, 300);
            }
        }

        PersonRemoval removal;
        QVERIFY(RemovePerson(remove, removal));
        QCOMPARE(removal.dateCreated, Stamp(remove));
        QCOMPARE(removal.trainingBefore, int(owners.size()));
        QCOMPARE(removal.trainingRemoved, removed);
        QCOMPARE(QFileInfo::exists(QStringLiteral("Name.List")), persons > 1);
        QCOMPARE(QFileInfo(QStringLiteral("Name.List")).size(), qint64(1000 * (persons - 1)));
        QCOMPARE(QFileInfo::exists(QStringLiteral("Training.Records")), !kept.isEmpty());
        QCOMPARE(ReadBytes(QStringLiteral("Training.Records")), kept);
        QVERIFY(!QFileInfo::exists(TempFileName));
    }

    void interruptedRemovalTellsHowManyRecordsWent_data();
    void interruptedRemovalTellsHowManyRecordsWent();
};

void TestPersonTraining::interruptedRemovalTellsHowManyRecordsWent_data() {
    QTest::addColumn<int>("stopAfterRenames"); // 1: Name.List rewritten, 2: both files
    QTest::addColumn<QList<int>>("owners");
    QTest::addColumn<QString>("told");
    QTest::newRow("records removed at start")
        << 1 << QList<int>{1, 2, 2} << QStringLiteral("2 training records of that person were");
    QTest::newRow("no records") << 1 << QList<int>{1, 3}
                                << QStringLiteral("no training records of that person were");
    QTest::newRow("records removed before the stop")
        << 2 << QList<int>{2, 1, 2, 2} << QStringLiteral("3 training records of that person were");
    QTest::newRow("one record removed before the stop")
        << 2 << QList<int>{1, 2} << QStringLiteral("1 training record of that person was");
}

void TestPersonTraining::interruptedRemovalTellsHowManyRecordsWent() {
    QFETCH(int, stopAfterRenames);
    QFETCH(QList<int>, owners);
    QFETCH(QString, told);
    DataFolder folder;
    QVERIFY(folder.ready());
    WritePersons(3);
    QList<double> keys;
    for (int owner : owners)
        keys << Stamp(owner);
    WriteTrainings(keys);
    int renames = 0;
    testing::SetRemovalHook([&](RemovalStep step) {
        return step != RemovalStep::FolderFlushed || ++renames < stopAfterRenames;
    });
    PersonRemoval removal;
    const StoreResult stopped = RemovePerson(2, removal);
    testing::SetRemovalHook({});
    QVERIFY(!stopped);
    QVERIFY(QFileInfo::exists(PersonRemovalJournal));
    QString note;
    QVERIFY(FinishInterruptedPersonRemoval(&note));
    QVERIFY2(note.contains(told), qPrintable(note));
    QVERIFY(!QFileInfo::exists(PersonRemovalJournal));
}

QTEST_GUILESS_MAIN(TestPersonTraining)
#include "test_persontraining.moc"
