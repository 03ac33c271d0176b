#include "DataFolder.h"

#include "store/RecordScan.h"
#include "store/RecordStore.h"

#include <QtEndian>
#include <QtTest>
#include <cmath>
#include <limits>

using namespace store;

namespace {

// A training record whose bytes say which record it is: the hours hold its number.
QByteArray TrainingBytes(int number, double personKey) {
    QByteArray bytes(TrainingRecord::Length, ' ');
    qToLittleEndian<double>(40000.0 + number, bytes.data());       // TrainingDate
    qToLittleEndian<double>(personKey, bytes.data() + 8);          // PersonKey
    qToLittleEndian<double>(38000.5, bytes.data() + 16);           // CourseKey
    qToLittleEndian<float>(float(number) / 2, bytes.data() + 112); // Hours
    return bytes;
}

} // namespace

class TestRecordScan : public QObject {
    Q_OBJECT

private slots:
    // More records than one block holds, so the walk crosses block edges.
    void visitsEveryRecordInOrderAcrossBlocks() {
        DataFolder folder;
        QVERIFY(folder.ready());
        const int total = 3 * (1024 * 1024 / TrainingRecord::Length) + 7;
        QByteArray file;
        for (int n = 1; n <= total; ++n)
            file += TrainingBytes(n, 1000 + n % 3);
        QVERIFY(WriteBytes("Training.Records", file));

        QVERIFY(OpenTrainingRecords().ok());
        RecordScan scan(Trainings().File());
        int seen = 0;
        int ofKey = 0;
        while (scan.Next()) {
            ++seen;
            QCOMPARE(scan.RecordNumber(), seen);
            QCOMPARE(TrainingRecord::HoursRaw(scan.Bytes()), float(seen) / 2);
            QCOMPARE(TrainingRecord::TrainingDateRaw(scan.Bytes()), 40000.0 + seen);
            QCOMPARE(TrainingRecord::CourseKeyRaw(scan.Bytes()), 38000.5);
            if (TrainingRecord::PersonKeyRaw(scan.Bytes()) == 1001)
                ++ofKey;
        }
        QVERIFY(scan.Result().ok());
        QCOMPARE(seen, total);
        QCOMPARE(ofKey, (total + 2) / 3); // numbers 1, 4, 7, ...
        CloseTrainingRecords();
    }

    void startsAtTheGivenRecordAndStopsAtTheCount() {
        DataFolder folder;
        QByteArray file;
        for (int n = 1; n <= 5; ++n)
            file += TrainingBytes(n, 1);
        QVERIFY(WriteBytes("Training.Records", file));
        QVERIFY(OpenTrainingRecords().ok());
        Trainings().SetCount(4); // a caller that counts fewer records than the file holds
        RecordScan scan(Trainings().File(), 3);
        QVERIFY(scan.Next());
        QCOMPARE(scan.RecordNumber(), 3);
        QVERIFY(scan.Next());
        QCOMPARE(scan.RecordNumber(), 4);
        QVERIFY(!scan.Next());
        QVERIFY(scan.Result().ok());
    }

    void emptyFileHasNoRecords() {
        DataFolder folder;
        QVERIFY(OpenTrainingRecords().ok());
        RecordScan scan(Trainings().File());
        QVERIFY(!scan.Next());
        QVERIFY(scan.Result().ok());
    }

    // A last record cut short counts (the count rounds) and reads with zeros, as by number.
    void cutShortLastRecordReadsWithZeros() {
        DataFolder folder;
        QByteArray file = TrainingBytes(1, 7) + TrainingBytes(2, 7).left(200);
        QVERIFY(WriteBytes("Training.Records", file));
        QVERIFY(OpenTrainingRecords().ok());
        QCOMPARE(TrainingCount(), 2);
        RecordScan scan(Trainings().File());
        QVERIFY(scan.Next());
        QVERIFY(scan.Next());
        QCOMPARE(TrainingRecord::PersonKeyRaw(scan.Bytes()), 7.0);
        QCOMPARE(TrainingRecord::HoursRaw(scan.Bytes()), 1.0f);
        QCOMPARE(QByteArray(scan.Bytes() + 199, 101), QByteArray(" ") + QByteArray(100, '\0'));
        QVERIFY(!scan.Next());
    }

    // The raw readers give what a decoded, made-safe record holds.
    void rawFieldsAreSafeValues() {
        QByteArray bytes = TrainingBytes(1, std::numeric_limits<double>::quiet_NaN());
        qToLittleEndian<float>(std::numeric_limits<float>::infinity(), bytes.data() + 112);
        qToLittleEndian<double>(-std::numeric_limits<double>::infinity(), bytes.data());
        TrainingRecord decoded = TrainingRecord::Decode(bytes.constData());
        decoded.MakeSafe();
        QCOMPARE(TrainingRecord::PersonKeyRaw(bytes.constData()), decoded.PersonKey);
        QCOMPARE(TrainingRecord::HoursRaw(bytes.constData()), decoded.Hours);
        QCOMPARE(TrainingRecord::TrainingDateRaw(bytes.constData()), decoded.TrainingDate);
        QCOMPARE(decoded.PersonKey, 0.0);
        QCOMPARE(decoded.Hours, 0.0f);
    }
};

QTEST_GUILESS_MAIN(TestRecordScan)
#include "test_recordscan.moc"
