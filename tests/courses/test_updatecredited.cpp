#include "CourseFiles.h"

#include "courses/UpdateCreditedRecords.h"
#include "support/TestFolder.h"

#include <QTest>
#include <cmath>

using namespace coursefiles;

namespace {

const QString TrainingFile = QStringLiteral("Training.Records");

const Course Old{Stamp(2004, 1, 5), "FA-0001", "Pistol", 8, "Range"};
const Course Other{Stamp(2004, 1, 6), "ETH-01", "Ethics", 4, "Academy"};

store::CourseRecord Edited(const Course& course) {
    store::CourseRecord r;
    r.DateCreated = course.created;
    r.CourseCode = QStringLiteral(" FA-9");
    r.CourseName = QStringLiteral("Pistol, new rules");
    r.ProvidedBy = QStringLiteral("State");
    r.Hours = 12.5f;
    return r;
}

// `count` records of Other, with Old at the record numbers given.
QList<store::TrainingRecord> Records(qint32 count, const QList<qint32>& ofOld) {
    QList<store::TrainingRecord> records;
    records.reserve(count);
    for (qint32 n = 1; n <= count; ++n) {
        records.append(Credit(ofOld.contains(n) ? Old : Other, Stamp(2000, 1, 1) + n % 500,
                              Stamp(2006, 1, 1) + n % 3000, QStringLiteral("#%1").arg(n)));
    }
    return records;
}

} // namespace

class TestUpdateCredited : public QObject {
    Q_OBJECT

private slots:
    void recordsBeyondSixteenBitsAreReached() {
        TestFolder folder;
        const QList<qint32> ofOld = {1, 32768, 40000};
        QVERIFY(WriteTrainings(Records(40000, ofOld)));
        const QByteArray before = FileBytes(TrainingFile);

        credited::Tally tally;
        QVERIFY(credited::CarryCourseIntoTraining(Edited(Old), tally));
        QCOMPARE(tally.total, 40000);
        QCOMPARE(tally.reviewed, 40000);
        QCOMPARE(tally.updated, 3);

        const QByteArray after = FileBytes(TrainingFile);
        QCOMPARE(after.size(), before.size());
        for (qint32 n : ofOld) {
            const store::TrainingRecord t = TrainingOf(after, n);
            QCOMPARE(t.CourseCode, QStringLiteral(" FA-9"));
            QCOMPARE(t.CourseName, QStringLiteral("Pistol, new rules"));
            QCOMPARE(t.ProvidedBy, QStringLiteral("State"));
            QCOMPARE(t.Hours, 12.5f);
            QCOMPARE(t.Comments, QStringLiteral("#%1").arg(n));
            // Everything outside the four course copies is as it was.
            const QByteArray was = RecordOf(before, n, 300);
            const QByteArray now = RecordOf(after, n, 300);
            QCOMPARE(now.left(24), was.left(24));
            QCOMPARE(now.mid(116), was.mid(116));
        }
        // Between and around the three, not a byte changed.
        QCOMPARE(after.mid(300, 32766 * 300), before.mid(300, 32766 * 300));
        QCOMPARE(after.mid(32768 * 300, 7231 * 300), before.mid(32768 * 300, 7231 * 300));
        QVERIFY(!store::Trainings().IsOpen());
    }

    void progressIsToldOnlyWhenItsCaptionMayChange() {
        TestFolder folder;
        const QList<qint32> ofOld = {10, 11, 12, 5000, 9999};
        QVERIFY(WriteTrainings(Records(10000, ofOld)));
        QStringList captions;
        credited::Tally tally;
        QVERIFY(credited::CarryCourseIntoTraining(
            Edited(Old), tally, [&captions](const credited::Tally& now) {
                captions.append(credited::ProgressCaption(now));
            }));
        QCOMPARE(tally.updated, 5);
        // 0% to 100% once each, plus a call after each update that moved the count.
        QVERIFY2(captions.size() <= 101 + 5, qPrintable(QString::number(captions.size())));
        QCOMPARE(captions.first(), QStringLiteral("0%/0"));
        QCOMPARE(captions.last(), QStringLiteral("100%/5"));
        for (qsizetype i = 1; i < captions.size(); ++i)
            QVERIFY2(captions.at(i) != captions.at(i - 1), qPrintable(captions.at(i)));
        // Record 10 is shown before its update, record 11 after it.
        QVERIFY(captions.contains(QStringLiteral("0%/1")));
        QVERIFY(captions.contains(QStringLiteral("0%/2")));
        QVERIFY(captions.contains(QStringLiteral("0%/3")));
        QVERIFY(captions.contains(QStringLiteral("50%/4")));
    }

    void keysAreComparedAsTheirText() {
        TestFolder folder;
        QList<store::TrainingRecord> records = Records(3, {1, 2, 3});
        // Another program may have stored the same time with a different last bit.
        records[1].CourseKey = std::nextafter(Old.created, 1e9);
        // One second later is another course.
        records[2].CourseKey = Old.created + 1.0 / 86400;
        QVERIFY(WriteTrainings(records));
        credited::Tally tally;
        QVERIFY(credited::CarryCourseIntoTraining(Edited(Old), tally));
        QCOMPARE(tally.updated, 2);
        const QByteArray after = FileBytes(TrainingFile);
        QCOMPARE(TrainingOf(after, 2).CourseName, QStringLiteral("Pistol, new rules"));
        QCOMPARE(TrainingOf(after, 3).CourseName, QStringLiteral("Pistol"));
    }

    void emptyFileIsReviewedWithoutProgress() {
        TestFolder folder;
        QVERIFY(WriteTrainings({}));
        int calls = 0;
        credited::Tally tally;
        QVERIFY(credited::CarryCourseIntoTraining(Edited(Old), tally,
                                                  [&calls](const credited::Tally&) { ++calls; }));
        QCOMPARE(tally.total, 0);
        QCOMPARE(tally.updated, 0);
        QCOMPARE(calls, 0);
    }

    void captionShowsShareAndCount() {
        QCOMPARE(credited::ProgressCaption({45, 100, 3}), QStringLiteral("45%/3"));
        QCOMPARE(credited::ProgressCaption({1, 3, 0}), QStringLiteral("33%/0"));
        QCOMPARE(credited::ProgressCaption({1, 8, 1}), QStringLiteral("13%/1"));
        QCOMPARE(credited::ProgressCaption({40, 40, 3}), QStringLiteral("100%/3"));
    }
};

QTEST_MAIN(TestUpdateCredited)
#include "test_updatecredited.moc"
