#include "store/Codepage.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace store;

class TestCodepage : public QObject {
    Q_OBJECT

private slots:
    void decodesEachByte_data();
    void decodesEachByte();
    void everyByteRoundTrips();
    void encodesText_data();
    void encodesText();
    void encodesFields_data();
    void encodesFields();
    void decodesFields_data();
    void decodesFields();
    void trimsBothEnds_data();
    void trimsBothEnds();
    void appendsFieldsAsListsShowThem();
};

void TestCodepage::decodesEachByte_data() {
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("codePoint");
    QTest::newRow("NUL") << 0x00 << 0x0000;
    QTest::newRow("A") << 0x41 << 0x0041;
    QTest::newRow("DEL") << 0x7F << 0x007F;
    // The code page's own characters between 0x80 and 0x9F.
    const int high[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                          0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                          0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                          0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    for (int i = 0; i < 32; ++i)
        QTest::addRow("0x%02X", 0x80 + i) << 0x80 + i << high[i];
    QTest::newRow("no-break space") << 0xA0 << 0x00A0;
    QTest::newRow("e acute") << 0xE9 << 0x00E9;
    QTest::newRow("y diaeresis") << 0xFF << 0x00FF;
}

void TestCodepage::decodesEachByte() {
    QFETCH(int, byte);
    QFETCH(int, codePoint);
    const char b = static_cast<char>(byte);
    const QString text = DecodeAnsi(&b, 1);
    QCOMPARE(text.size(), 1);
    QCOMPARE(int(text.at(0).unicode()), codePoint);
}

void TestCodepage::everyByteRoundTrips() {
    QByteArray all(256, '\0');
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<char>(i);
    const QString text = DecodeAnsi(all.constData(), 256);
    QCOMPARE(text.size(), 256);
    QCOMPARE(EncodeAnsi(text), all);
}

void TestCodepage::encodesText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << QStringLiteral("Patrol 7") << QByteArray("Patrol 7");
    QTest::newRow("latin") << QStringLiteral("Zo\u00EB") << QByteArray("Zo\xEB");
    QTest::newRow("euro and quotes")
        << QStringLiteral("\u20AC\u201Cx\u201D") << QByteArray("\x80\x93x\x94");
    QTest::newRow("undefined byte's control")
        << QStringLiteral("\u0081\u009D") << QByteArray("\x81\x9D");
    // U+0080 is not the page's 0x80 (that is the euro sign).
    QTest::newRow("other C1 control") << QStringLiteral("\u0080") << QByteArray("?");
    QTest::newRow("greek") << QStringLiteral("\u03A9mega") << QByteArray("?mega");
    QTest::newRow("surrogate pair is one character")
        << QStringLiteral("a\U0001F600b") << QByteArray("a?b");
    QTest::newRow("lone surrogate")
        << QString(QChar(0xD800)) + QLatin1Char('z') << QByteArray("?z");
    QTest::newRow("empty") << QString() << QByteArray();
}

void TestCodepage::encodesText() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(EncodeAnsi(text), bytes);
}

void TestCodepage::encodesFields_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("padded") << QStringLiteral("Ann") << 8 << QByteArray("Ann     ");
    QTest::newRow("exact") << QStringLiteral("$Killed$") << 8 << QByteArray("$Killed$");
    QTest::newRow("cut to width") << QStringLiteral("ABCDEFGHIJKLMNOPQRST") << 15
                                  << QByteArray("ABCDEFGHIJKLMNO");
    QTest::newRow("pair counts once") << QStringLiteral("a\U0001F600bcd") << 3 << QByteArray("a?b");
    QTest::newRow("leading blank kept") << QStringLiteral(" x") << 4 << QByteArray(" x  ");
    QTest::newRow("empty") << QString() << 3 << QByteArray("   ");
}

void TestCodepage::encodesFields() {
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QByteArray, bytes);
    QCOMPARE(EncodeField(text, width), bytes);
}

void TestCodepage::decodesFields_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("blanks") << QByteArray("Ann     ") << QStringLiteral("Ann");
    QTest::newRow("NULs") << QByteArray("Ann\0\0\0\0\0", 8) << QStringLiteral("Ann");
    QTest::newRow("mixed padding") << QByteArray("Ann \0 \0 ", 8) << QStringLiteral("Ann");
    QTest::newRow("leading blanks kept") << QByteArray("  Ann   ") << QStringLiteral("  Ann");
    QTest::newRow("inner NUL kept")
        << QByteArray("A\0n     ", 8)
        << QString(QStringLiteral("A")) + QChar(0) + QStringLiteral("n");
    QTest::newRow("never assigned") << QByteArray(8, '\0') << QString();
    QTest::newRow("all blanks") << QByteArray(8, ' ') << QString();
    QTest::newRow("code page") << QByteArray("\x80 5   ") << QStringLiteral("\u20AC 5");
}

void TestCodepage::decodesFields() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const int width = static_cast<int>(bytes.size());
    QCOMPARE(DecodeField(bytes.constData(), width), text);
    // Into a string that held a longer text, and one shared with another holder.
    QString reused = QStringLiteral("a much longer text than any field here");
    DecodeFieldInto(reused, bytes.constData(), width);
    QCOMPARE(reused, text);
    QString shared = QStringLiteral("kept");
    const QString holder = shared;
    DecodeFieldInto(shared, bytes.constData(), width);
    QCOMPARE(shared, text);
    QCOMPARE(holder, QStringLiteral("kept"));
}

void TestCodepage::trimsBothEnds_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trimmed");
    const QChar nul(0);
    QTest::newRow("blanks") << QStringLiteral("  Ann  ") << QStringLiteral("Ann");
    QTest::newRow("NULs") << QString(nul) + QStringLiteral("Ann") + nul << QStringLiteral("Ann");
    QTest::newRow("inner kept") << QStringLiteral(" A n ") << QStringLiteral("A n");
    QTest::newRow("only padding") << QString(nul) + QStringLiteral("  ") << QString();
    QTest::newRow("tab is text") << QStringLiteral("\tA") << QStringLiteral("\tA");
}

void TestCodepage::trimsBothEnds() {
    QFETCH(QString, text);
    QFETCH(QString, trimmed);
    QCOMPARE(TrimField(text), trimmed);
}

void TestCodepage::appendsFieldsAsListsShowThem() {
    // Fields made of the bytes that trimming and padding treat specially, in every mix: the
    // appended text must be exactly the decoded field trimmed, and what was before it stays.
    const QByteArray alphabet("  \0\0\t\n\xA0\x85\x81"
                              "ab\xE9",
                              13);
    QRandomGenerator random(20261208);
    for (int round = 0; round < 20000; ++round) {
        const int width = 1 + random.bounded(12);
        QByteArray field(width, ' ');
        for (char& b : field)
            b = alphabet.at(random.bounded(alphabet.size()));
        QString out = QStringLiteral("before|");
        AppendShownField(out, field.constData(), width);
        const QString expected =
            QStringLiteral("before|") + DecodeField(field.constData(), width).trimmed();
        if (out != expected)
            QFAIL(qPrintable(QStringLiteral("field %1: %2 instead of %3")
                                 .arg(QString::fromLatin1(field.toHex()), out, expected)));
    }
}

QTEST_APPLESS_MAIN(TestCodepage)
#include "test_codepage.moc"
