// CSV as spreadsheets exchange it: what the writer puts in a file, read back by a reader of
// the test's own and by the program's; the reader's tolerance of what spreadsheets write; and
// a file that is written whole or not at all.

#include "DataFolder.h"

#include "store/Codepage.h"
#include "store/Csv.h"
#include "store/FileWrite.h"

#include <QFileInfo>
#include <QtTest>
#include <atomic>
#include <cerrno>
#include <limits>
#include <thread>

using namespace store;

namespace {

using Rows = QList<QStringList>;

// RFC 4180 as plainly as it can be read, to judge the writer by: a byte-order mark, rows
// ended by CR LF, quoted fields with doubled quotes. Fails the test on anything else.
Rows ReadPlainly(const QByteArray& bytes) {
    Rows rows;
    if (!bytes.startsWith("\xEF\xBB\xBF")) {
        qWarning("no byte-order mark");
        return {};
    }
    const QString text = QString::fromUtf8(bytes.mid(3));
    QStringList row;
    QString field;
    bool quoted = false;
    const auto next = [&](qsizetype i) { return i + 1 < text.size() ? text[i + 1] : QChar(); };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted && c == u'"' && next(i) == u'"') {
            field += c;
            ++i;
        } else if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && c == u',') {
            row << std::exchange(field, QString());
        } else if (!quoted && c == u'\r' && next(i) == u'\n') {
            row << std::exchange(field, QString());
            rows << std::exchange(row, QStringList());
            ++i;
        } else if (!quoted && (c == u'\r' || c == u'\n')) {
            qWarning("a line end other than CR LF");
            return {};
        } else {
            field += c;
        }
    }
    if (!field.isEmpty() || !row.isEmpty())
        qWarning("the last row has no CR LF");
    return rows;
}

} // namespace

class TestCsv : public QObject {
    Q_OBJECT

private slots:
    void fieldsAsWritten_data();
    void fieldsAsWritten();
    void awkwardFieldsRoundTrip();
    void numbersAsWritten();
    void reading_data();
    void reading();
    void unclosedQuoteNamesItsLine();
    void writtenWholeOrNotAtAll();
    void failedSyncAlongTheWayFailsTheFile();
};

void TestCsv::fieldsAsWritten_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("plain") << "Smith" << QByteArray("Smith");
    QTest::newRow("empty") << "" << QByteArray("");
    QTest::newRow("comma") << "Smith, Jr." << QByteArray("\"Smith, Jr.\"");
    QTest::newRow("quote") << "the \"range\" day" << QByteArray("\"the \"\"range\"\" day\"");
    QTest::newRow("CR LF") << "two\r\nlines" << QByteArray("\"two\r\nlines\"");
    QTest::newRow("LF alone") << "a\nb" << QByteArray("\"a\nb\"");
    QTest::newRow("formula =") << "=HYPERLINK(\"x\")" << QByteArray("\"'=HYPERLINK(\"\"x\"\")\"");
    QTest::newRow("formula +") << "+1" << QByteArray("'+1");
    QTest::newRow("text like a negative number") << "-5 hours" << QByteArray("'-5 hours");
    QTest::newRow("formula @") << "@SUM(A1)" << QByteArray("'@SUM(A1)");
    QTest::newRow("quote before a formula gets one more") << "'=1" << QByteArray("''=1");
    QTest::newRow("quote before text stays") << "'tis" << QByteArray("'tis");
    QTest::newRow("= inside") << "a=b" << QByteArray("a=b");
    QTest::newRow("accents in UTF-8") << "Müller €" << QByteArray("M\xC3\xBCller \xE2\x82\xAC");
}

void TestCsv::fieldsAsWritten() {
    QFETCH(QString, text);
    QFETCH(QByteArray, written);
    QByteArray out;
    csv::AppendText(out, text);
    QCOMPARE(out, written);
    // A stored field (Windows-1252, padded) is written the same, trimmed.
    const QByteArray stored = " " + EncodeAnsi(text) + QByteArray(3, ' ') + QByteArray(2, '\0');
    out.clear();
    csv::AppendStoredText(out, stored.constData(), int(stored.size()));
    QCOMPARE(out, written);
}

void TestCsv::awkwardFieldsRoundTrip() {
    DataFolder folder;
    QVERIFY(folder.ready());
    const Rows rows = {
        {"Last Name", "Comments", "Hours"},
        {"O'Brien", "said \"fine\", then left", "8"},
        {"=cmd|' /C calc'!A0", "line one\r\nline two\r\n", "-1"},
        {"", "", ""},
        {"Zoë", "@home, +1, -2", "''=x"},
    };
    const StoreResult written = csv::WriteFile(QStringLiteral("out.csv"), rows);
    QVERIFY2(written, qPrintable(written.text()));
    const QByteArray bytes = ReadBytes(QStringLiteral("out.csv"));

    // What a spreadsheet sees: every field, formulas behind a quote.
    Rows seen = rows;
    seen[2][0] = "'=cmd|' /C calc'!A0";
    seen[2][2] = "'-1";
    seen[4][1] = "'@home, +1, -2";
    seen[4][2] = "'''=x";
    QCOMPARE(ReadPlainly(bytes), seen);

    // What the program reads back: every field exactly as it was.
    csv::Table table;
    QVERIFY(csv::ReadFile(QStringLiteral("out.csv"), table));
    Rows read;
    for (const csv::Record& record : table.records)
        read << record.fields;
    QCOMPARE(read, rows);
    QVERIFY(table.raggedLines.empty());
    // A row begins on the line after the line breaks inside the quotes before it.
    QCOMPARE(table.records[2].line, 3);
    QCOMPARE(table.records[3].line, 6);
}

void TestCsv::numbersAsWritten() {
    // Identities as their exact day counts, hours as the stored decimal, numbers unguarded.
    const double identity = 38412 + 45230 / 86400.0;
    QByteArray out;
    csv::AppendNumber(out, identity);
    QCOMPARE(out.toDouble(), identity);
    const struct {
        float hours;
        QByteArray text;
    } hours[] = {{1.2f, "1.2"},
                 {0.25f, "0.25"},
                 {8.0f, "8"},
                 {-1.5f, "-1.5"},
                 {std::numeric_limits<float>::quiet_NaN(), "nan"},
                 {-std::numeric_limits<float>::infinity(), "'-inf"}};
    for (const auto& h : hours) {
        out.clear();
        csv::AppendHours(out, h.hours);
        QCOMPARE(out, h.text);
    }
}

void TestCsv::reading_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QList<int>>("ragged");
    QTest::newRow("LF lines, no BOM, no last line end")
        << QByteArray("a,b\n1,2") << Rows{{"a", "b"}, {"1", "2"}} << QList<int>{};
    QTest::newRow("quoted CR LF and doubled quotes")
        << QByteArray("\xEF\xBB\xBFx,y\r\n\"1\r\n2\",\"say \"\"hi\"\"\"\r\n")
        << Rows{{"x", "y"}, {"1\r\n2", "say \"hi\""}} << QList<int>{};
    QTest::newRow("empty lines are no rows")
        << QByteArray("a\r\n\r\nb\r\n\r\n") << Rows{{"a"}, {"b"}} << QList<int>{};
    QTest::newRow("ragged rows by line")
        << QByteArray("a,b\n1\n1,2\n1,2,3\n")
        << Rows{{"a", "b"}, {"1"}, {"1", "2"}, {"1", "2", "3"}} << QList<int>{2, 4};
    QTest::newRow("Windows-1252 when no UTF-8")
        << QByteArray("Name\nM\xFCller \x80\n") << Rows{{"Name"}, {"Müller €"}} << QList<int>{};
    QTest::newRow("semicolons of a heading without commas")
        << QByteArray("Last;First\nLee;\"Ann; Jo\"\n")
        << Rows{{"Last", "First"}, {"Lee", "Ann; Jo"}} << QList<int>{};
    QTest::newRow("empty quoted field and quote inside text")
        << QByteArray("\"\",5\" tall\n") << Rows{{"", "5\" tall"}} << QList<int>{};
}

void TestCsv::reading() {
    QFETCH(QByteArray, bytes);
    QFETCH(Rows, rows);
    QFETCH(QList<int>, ragged);
    csv::Table table;
    QVERIFY(csv::Parse(bytes, QStringLiteral("in.csv"), table));
    Rows read;
    for (const csv::Record& record : table.records)
        read << record.fields;
    QCOMPARE(read, rows);
    QCOMPARE(QList<int>(table.raggedLines.begin(), table.raggedLines.end()), ragged);
}

void TestCsv::unclosedQuoteNamesItsLine() {
    csv::Table table;
    const StoreResult read =
        csv::Parse("a,b\n1,2\n3,\"open\n4,5\n", QStringLiteral("in.csv"), table);
    QVERIFY(!read);
    QCOMPARE(read.fileName(), QStringLiteral("in.csv"));
    QVERIFY2(read.reason().contains(QStringLiteral("line 3")), qPrintable(read.reason()));
}

void TestCsv::writtenWholeOrNotAtAll() {
    DataFolder folder;
    QVERIFY(folder.ready());
    const QString name = QStringLiteral("List.csv");
    QVERIFY(WriteBytes(name, "earlier export"));
    // Enough rows to be written in several blocks; the disk fills up in the second.
    Rows rows;
    for (int i = 0; i < 40000; ++i)
        rows << QStringList{QString::number(i), QStringLiteral("a fairly long comment text")};
    int writes = 0;
    io::testing::SetWriteHook([&](const QString&, qint64 wanted, int& error) -> qint64 {
        if (++writes < 2)
            return wanted;
        error = ENOSPC;
        return 0;
    });
    const StoreResult failed = csv::WriteFile(name, rows);
    io::testing::SetWriteHook({});
    QVERIFY(!failed);
    QCOMPARE(failed.fileName(), name);
    QCOMPARE(failed.reason(), qt_error_string(ENOSPC));
    QCOMPARE(ReadBytes(name), QByteArray("earlier export"));
    QCOMPARE(QDir().entryList(QDir::Files), QStringList{name}); // no part file left

    QVERIFY(csv::WriteFile(name, rows));
    csv::Table table;
    QVERIFY(csv::ReadFile(name, table));
    QCOMPARE(int(table.records.size()), rows.size());
    QCOMPARE(QDir().entryList(QDir::Files), QStringList{name});

    // Nothing is written through a link or put in place of one.
    QVERIFY(QFile::link(QStringLiteral("elsewhere.csv"), QStringLiteral("link.csv")));
    QVERIFY(!csv::WriteFile(QStringLiteral("link.csv"), rows));
    QVERIFY(!QFileInfo::exists(QStringLiteral("elsewhere.csv")));
}

QTEST_GUILESS_MAIN(TestCsv)
#include "test_csv.moc"

void TestCsv::failedSyncAlongTheWayFailsTheFile() {
    // A long file is synced along the way while more is written. The system tells a write the
    // disk lost to one sync only: when that is one of these, the file fails all the same,
    // though its last sync succeeds.
    DataFolder folder;
    QVERIFY(folder.ready());
    const QString name = QStringLiteral("Long.csv");
    QVERIFY(WriteBytes(name, "earlier export"));
    const std::thread::id writing = std::this_thread::get_id();
    std::atomic<int> along = 0;
    io::testing::SetSyncHook([&](const QString&) {
        if (std::this_thread::get_id() == writing)
            return 0;
        ++along;
        return EIO;
    });
    csv::FileWriter writer(name);
    QVERIFY(writer.Begin());
    const QStringList row{QString(1000, u'x')};
    for (int i = 0; i < 20000; ++i) // 20 MB
        writer.WriteRow(row);
    QTRY_VERIFY(along > 0);
    const StoreResult committed = writer.Commit();
    io::testing::SetSyncHook({});
    QVERIFY(!committed);
    QCOMPARE(committed.reason(), qt_error_string(EIO));
    QCOMPARE(ReadBytes(name), QByteArray("earlier export"));
    QCOMPARE(QDir().entryList(QDir::Files), QStringList{name});
}
