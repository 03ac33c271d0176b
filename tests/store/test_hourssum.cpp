// Totals of stored hours: each single counts as its shortest decimal, added exactly, shown in
// the general number text.

#include "store/HoursSum.h"

#include <QtTest>
#include <limits>

class TestHoursSum : public QObject {
    Q_OBJECT

private slots:
    void sums_data() {
        QTest::addColumn<QList<float>>("hours");
        QTest::addColumn<QString>("total");
        QTest::newRow("nothing") << QList<float>{} << "0";
        QTest::newRow("0.25 is not 0.3") << QList<float>{0.25f} << "0.25";
        QTest::newRow("the hundredths of a year")
            << QList<float>{0.25f, 0.25f, 0.25f, 0.25f, 1.25f, 2.75f, 0.35f, 0.05f, 0.15f, 1.33f}
            << "6.88";
        QTest::newRow("0.1 + 0.2") << QList<float>{0.1f, 0.2f} << "0.3";
        QTest::newRow("negative and back to zero") << QList<float>{1.5f, -1.5f, -0.25f} << "-0.25";
        QTest::newRow("NaN and infinity count nothing")
            << QList<float>{2, std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::infinity()}
            << "2";
        // Beyond the billionths: kept exactly, shown to fifteen digits, the half rounded up.
        QTest::newRow("tiny beside whole") << QList<float>{1e-12f, 3} << "3.000000000001";
        QTest::newRow("past fifteen digits") << QList<float>{1e-15f, 3} << "3";
        QTest::newRow("tiny alone") << QList<float>{1e-12f, 2e-12f} << "3E-12";
        QTest::newRow("largest singles")
            << QList<float>{3.4028235e38f, 3.4028235e38f} << "6.805647E+38";
        QTest::newRow("sixteen digits round half up")
            << QList<float>{1e9f, 1e9f, 0.5f, 1e-6f, 5e-7f} << "2000000000.5";
        QTest::newRow("fifteen nines carry") << QList<float>{99999.9f, 0.1f} << "100000";
        // Past 2^63 billionths, by one value and by adding: kept aside, exactly.
        QTest::newRow("past 9.2 billion hours")
            << QList<float>{1e10f, 4e9f, 4e9f, 4e9f, 0.5f} << "22000000000.5";
    }
    void sums() {
        QFETCH(QList<float>, hours);
        QFETCH(QString, total);
        store::HoursSum sum;
        store::HoursSum halves[2];
        for (qsizetype i = 0; i < hours.size(); ++i) {
            sum.Add(hours[i]);
            halves[i % 2].Add(hours[i]);
        }
        QCOMPARE(sum.Text(), total);
        const store::HoursSum copy = sum;
        QCOMPARE(copy.Text(), total);
        halves[0].Add(halves[1]); // per person first, then the grand total: the same
        QCOMPARE(halves[0].Text(), total);
    }
};

QTEST_GUILESS_MAIN(TestHoursSum)
#include "test_hourssum.moc"
