// The rules file beside the legacy files: none means no rules, what is written reads back
// exactly, a write is all or nothing, and the due dates of renewal periods.

#include "DataFolder.h"
#include "store/FileWrite.h"
#include "store/Formats.h"
#include "store/TrainingRules.h"

#include <QtTest>
#include <cerrno>

using namespace store;

class TestTrainingRules : public QObject {
    Q_OBJECT

private slots:
    void dueDates_data() {
        QTest::addColumn<QDate>("credit");
        QTest::addColumn<int>("months");
        QTest::addColumn<QDate>("due");
        QTest::newRow("a year from the 31st") << QDate(2025, 1, 31) << 12 << QDate(2026, 1, 31);
        QTest::newRow("a month from the 31st") << QDate(2025, 1, 31) << 1 << QDate(2025, 2, 28);
        QTest::newRow("into a leap February") << QDate(2023, 1, 31) << 13 << QDate(2024, 2, 29);
        QTest::newRow("from the leap day") << QDate(2024, 2, 29) << 12 << QDate(2025, 2, 28);
        QTest::newRow("to a 30-day month") << QDate(2025, 3, 31) << 1 << QDate(2025, 4, 30);
        QTest::newRow("over the year's end") << QDate(2025, 11, 15) << 2 << QDate(2026, 1, 15);
        QTest::newRow("ten years") << QDate(2025, 6, 1) << 120 << QDate(2035, 6, 1);
        QTest::newRow("never expires") << QDate(2025, 1, 31) << 0 << QDate();
        QTest::newRow("no credit date") << QDate() << 12 << QDate();
    }
    void dueDates() {
        QFETCH(QDate, credit);
        QFETCH(int, months);
        QFETCH(QDate, due);
        QCOMPARE(DueDate(credit, months), due);
        // A stored value at 4 PM falls due on the same day.
        const double stored = credit.isValid() ? formats::DateValue(credit, QTime(16, 0)) : qQNaN();
        QCOMPARE(DueDate(stored, months), due);
    }

    // An older data set has no file: no periods, no required hours. What is written reads
    // back exactly, keys to the last bit; emptied rules leave no file.
    void roundTrip() {
        DataFolder folder;
        QVERIFY(folder.ready());
        TrainingRules rules;
        rules.requiredHours = 5; // overwritten by the read
        QVERIFY(ReadTrainingRules(rules));
        QCOMPARE(rules, TrainingRules{});
        QVERIFY(!rules.HasRequiredHours());
        QCOMPARE(rules.RuleOf(45678.5), CourseRule{});

        const double keyA = formats::DateValue(QDate(2004, 3, 1), QTime(12, 33, 50));
        const double keyB = std::nextafter(keyA, 1e9); // differs in the last bit only
        TrainingRules written;
        written.requiredHours = 24.1f;
        written.SetRule(keyA, {12, true});
        written.SetRule(keyB, {24, false});
        written.SetRule(-1.25, {0, true});
        written.SetRule(7, {6, false});
        written.SetRule(7, {}); // emptied: dropped
        QVERIFY(WriteTrainingRules(written));
        QVERIFY(!ReadBytes(TrainingRulesFileName).contains("Course=401c")); // 7 is gone
        TrainingRules read;
        QVERIFY(ReadTrainingRules(read));
        QCOMPARE(read, written);
        QCOMPARE(read.RuleOf(keyB), (CourseRule{24, false}));
        QCOMPARE(read.courses.size(), std::size_t(3));

        QVERIFY(WriteTrainingRules(TrainingRules{}));
        QVERIFY(!QFile::exists(TrainingRulesFileName));
        QVERIFY(WriteTrainingRules(TrainingRules{})); // nothing to remove
    }

    // A full disk half-way leaves the former rules in full and no copy beside them.
    void allOrNothing() {
        DataFolder folder;
        QVERIFY(folder.ready());
        TrainingRules former;
        former.requiredHours = 24;
        former.SetRule(38000, {12, true});
        QVERIFY(WriteTrainingRules(former));
        const QByteArray bytes = ReadBytes(TrainingRulesFileName);

        TrainingRules later = former;
        later.requiredHours = 40;
        io::testing::SetWriteHook([](const QString&, qint64 wanted, int& error) -> qint64 {
            error = ENOSPC;
            return wanted / 2;
        });
        const StoreResult failed = WriteTrainingRules(later);
        io::testing::SetWriteHook({});
        QVERIFY(!failed);
        QCOMPARE(failed.fileName(), TrainingRulesFileName);
        QCOMPARE(failed.reason(), qt_error_string(ENOSPC));
        QCOMPARE(ReadBytes(TrainingRulesFileName), bytes);
        QCOMPARE(QDir().entryList(QDir::Files), QStringList{TrainingRulesFileName});
    }

    // A file cut short or not ours is reported and left alone; lines of a later program are
    // passed over.
    void readsOnlyWholeFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<float>("hours");
        const QByteArray course = "Course=40e5c0d5e0000000,12,1\n";
        QTest::newRow("whole") << "Training rules 1\nRequiredHours=16.5\n" + course + "end\n"
                               << true << 16.5f;
        QTest::newRow("a later program's line")
            << "Training rules 1\nRequiredHours=8\nReminderDays=30\n" + course + "end\n"
            << true << 8.0f;
        QTest::newRow("cut short")
            << "Training rules 1\nRequiredHours=16.5\n" + course << false << 0.0f;
        QTest::newRow("another heading") << QByteArray("Training rules 2\nend\n") << false << 0.0f;
        QTest::newRow("months past ten years")
            << QByteArray("Training rules 1\nCourse=40e5c0d5e0000000,121,0\nend\n") << false
            << 0.0f;
        QTest::newRow("negative hours")
            << QByteArray("Training rules 1\nRequiredHours=-2\nend\n") << false << 0.0f;
        QTest::newRow("key not a number")
            << QByteArray("Training rules 1\nCourse=38000.5,12,0\nend\n") << false << 0.0f;
    }
    void readsOnlyWholeFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, readable);
        QFETCH(float, hours);
        DataFolder folder;
        QVERIFY(folder.ready());
        QVERIFY(WriteBytes(TrainingRulesFileName, bytes));
        TrainingRules rules;
        const StoreResult read = ReadTrainingRules(rules);
        QCOMPARE(read.ok(), readable);
        QCOMPARE(rules.requiredHours, hours);
        QCOMPARE(rules.courses.size(), std::size_t(readable ? 1 : 0));
        if (!readable)
            QCOMPARE(read.fileName(), TrainingRulesFileName);
        QCOMPARE(ReadBytes(TrainingRulesFileName), bytes);
    }
};

QTEST_GUILESS_MAIN(TestTrainingRules)
#include "test_trainingrules.moc"
