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

    // Compared with a required number of hours exactly, not as the rounded text shows.
    void below_data() {
        QTest::addColumn<QList<float>>("hours");
        QTest::addColumn<float>("required");
        QTest::addColumn<bool>("below");
        QTest::newRow("nothing below 24") << QList<float>{} << 24.0f << true;
        QTest::newRow("nothing is not below 0") << QList<float>{} << 0.0f << false;
        QTest::newRow("exactly 24 of eighths")
            << QList<float>{8, 7.5f, 0.125f, 0.375f, 8} << 24.0f << false;
        QTest::newRow("0.1 x 3 is 0.3") << QList<float>{0.1f, 0.1f, 0.1f} << 0.3f << false;
        QTest::newRow("23.99") << QList<float>{23.99f} << 24.0f << true;
        QTest::newRow("a billionth short, shown as 24")
            << QList<float>{24, -1e-9f} << 24.0f << true;
        QTest::newRow("past 9.2 billion hours") << QList<float>{1e10f, 1e10f} << 24.0f << false;
    }
    void below() {
        QFETCH(QList<float>, hours);
        QFETCH(float, required);
        QFETCH(bool, below);
        store::HoursSum sum;
        for (const float h : hours)
            sum.Add(h);
        QCOMPARE(sum.Below(required), below);
    }
};

QTEST_GUILESS_MAIN(TestHoursSum)
#include "test_hourssum.moc"
