#include "ui/CaseBlindOrder.h"

#include <QRandomGenerator>
#include <QtTest>
#include <algorithm>
#include <numeric>

namespace {

// The order the grids have always promised, worked out the slow, obvious way.
std::vector<int> ReferenceOrder(const QStringList& texts) {
    std::vector<QString> folded;
    for (const QString& text : texts)
        folded.push_back(text.toCaseFolded());
    std::vector<int> order(texts.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&folded](int a, int b) { return folded[a] < folded[b]; });
    return order;
}

std::vector<int> FastOrder(const QStringList& texts) {
    CaseBlindOrder order;
    for (const QString& text : texts)
        order.Add(text);
    return order.Order();
}

// Texts drawn from few characters, so that long shared starts, equal texts and texts that
// differ only in case or only past their eighth unit are common.
QStringList RandomTexts(QRandomGenerator& random, int count) {
    static const QString pieces[] = {
        QStringLiteral("a"),
        QStringLiteral("A"),
        QStringLiteral("b"),
        QStringLiteral("-"),
        QStringLiteral("0"),
        QStringLiteral("\u00E9"), // é
        QStringLiteral("\u00C9"), // É
        QStringLiteral("\u03BC"), // μ
        QStringLiteral("\u00B5"), // µ folds to μ
        QString(QChar(0)),
        QStringLiteral("\U00010400"), // Deseret capital, a surrogate pair
        QStringLiteral("\U00010428"), // its small letter
        QStringLiteral("\u20AC"),     // €
        QStringLiteral("ABCDEFGH"),
    };
    QStringList texts;
    for (int i = 0; i < count; ++i) {
        QString text;
        const int length = random.bounded(14);
        for (int k = 0; k < length; ++k)
            text += pieces[random.bounded(int(std::size(pieces)))];
        texts << text;
    }
    return texts;
}

} // namespace

class TestCaseBlindOrder : public QObject {
    Q_OBJECT

private slots:
    void ordersLikeFoldedComparison_data();
    void ordersLikeFoldedComparison();
    void matchesFoldedComparisonOnRandomTexts();
    void addsWrittenTexts();
};

void TestCaseBlindOrder::ordersLikeFoldedComparison_data() {
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<int>>("order");
    QTest::newRow("case ignored, equal keep order")
        << QStringList{"smith", "BROWN", "SMITH", "Smith"} << QList<int>{1, 0, 2, 3};
    QTest::newRow("codes") << QStringList{"ABC-1234", "abc-0001"} << QList<int>{1, 0};
    QTest::newRow("shorter first")
        << QStringList{"ABCDEFGHI", "abcdefgh", "ABCDEFGH"} << QList<int>{1, 2, 0};
    QTest::newRow("past the eighth unit")
        << QStringList{"Firearms Qualification B", "FIREARMS QUALIFICATION A", "firearms"}
        << QList<int>{2, 1, 0};
    QTest::newRow("a NUL is not the end")
        << QStringList{QString("A") + QChar(0), "A", QString("A") + QChar(0) + "B"}
        << QList<int>{1, 0, 2};
    QTest::newRow("empty first") << QStringList{"b", "", "a", ""} << QList<int>{1, 3, 2, 0};
    QTest::newRow("one") << QStringList{"x"} << QList<int>{0};
    QTest::newRow("none") << QStringList{} << QList<int>{};
}

void TestCaseBlindOrder::ordersLikeFoldedComparison() {
    QFETCH(QStringList, texts);
    QFETCH(QList<int>, order);
    const std::vector<int> got = FastOrder(texts);
    QCOMPARE(QList<int>(got.begin(), got.end()), order);
    const std::vector<int> reference = ReferenceOrder(texts);
    QCOMPARE(QList<int>(reference.begin(), reference.end()), order);
}

void TestCaseBlindOrder::matchesFoldedComparisonOnRandomTexts() {
    QRandomGenerator random(8122026);
    for (int round = 0; round < 200; ++round) {
        const QStringList texts = RandomTexts(random, 1 + random.bounded(300));
        if (FastOrder(texts) != ReferenceOrder(texts))
            QFAIL(qPrintable(QStringLiteral("round %1 sorts differently").arg(round)));
    }
}

void TestCaseBlindOrder::addsWrittenTexts() {
    // Texts written straight into the pool sort as the same texts added whole.
    const QStringList texts{"delta", "Alpha", "charlie", "BRAVO"};
    CaseBlindOrder order;
    for (const QString& text : texts)
        order.AddWritten([&text](QString& pool) { pool += text; });
    QCOMPARE(order.Count(), std::size_t(4));
    QCOMPARE(order.Order(), (std::vector<int>{1, 3, 2, 0}));
}

QTEST_APPLESS_MAIN(TestCaseBlindOrder)
#include "test_caseblindorder.moc"
