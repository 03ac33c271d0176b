#include "DataFolder.h"

#include "store/ChangeLog.h"

#include <QtTest>

using namespace store;
using namespace store::changelog;

namespace {

Change Sample(int n, const QString& person = QString(), const QString& course = QString(),
              const QString& user = QStringLiteral("Ann Admin")) {
    Change change;
    change.time = QDateTime(QDate(2024, 5, n), QTime(9, 30, n));
    change.user = user;
    change.action = action::Edited;
    change.kind = kind::Person;
    change.identity = person;
    change.name = QStringLiteral("Person %1").arg(n);
    change.person = person;
    change.course = course;
    change.fields = {{QStringLiteral("Last Name"), QStringLiteral("Old\t%1").arg(n),
                      QStringLiteral("New\\%1\n").arg(n)}};
    return change;
}

QList<QByteArray> LogLines() {
    QList<QByteArray> lines = ReadBytes(ChangeLogFileName).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void WriteLines(const QList<QByteArray>& lines) {
    QVERIFY(WriteBytes(ChangeLogFileName, lines.join('\n') + '\n'));
}

} // namespace

class TestChangeLog : public QObject {
    Q_OBJECT

private slots:
    void escapesEveryBreakAndControl_data();
    void escapesEveryBreakAndControl();
    void readsBackWhatWasAppended();
    void filtersByPersonCourseUserAndDates_data();
    void filtersByPersonCourseUserAndDates();
    void checkNamesFirstBadLine_data();
    void checkNamesFirstBadLine();
    void completeAndWithdrawFollowTheTail_data();
    void completeAndWithdrawFollowTheTail();
    void pendingLinesTravelInJournal();
    void identityIsTheWholeSecond();
};

void TestChangeLog::escapesEveryBreakAndControl_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("escaped");
    QTest::newRow("plain") << QStringLiteral("Smith") << QByteArray("Smith");
    QTest::newRow("tab and breaks") << QStringLiteral("a\tb\r\nc") << QByteArray("a\\tb\\r\\nc");
    QTest::newRow("backslash") << QStringLiteral("C:\\x") << QByteArray("C:\\\\x");
    QTest::newRow("control") << QString(QChar(0x1b)) + QChar(0x7f) << QByteArray("\\x1b\\x7f");
    QTest::newRow("unicode") << QStringLiteral("Müller") << QStringLiteral("Müller").toUtf8();
}

void TestChangeLog::escapesEveryBreakAndControl() {
    QFETCH(QString, text);
    QFETCH(QByteArray, escaped);
    QCOMPARE(Escape(text), escaped);
    QString back;
    QVERIFY(Unescape(escaped, back));
    QCOMPARE(back, text);
    // A backslash that starts no escape is no line of ours.
    QVERIFY(!Unescape(escaped + "\\q", back));
    QVERIFY(!Unescape(escaped + "\\", back));
}

void TestChangeLog::readsBackWhatWasAppended() {
    DataFolder folder;
    QVERIFY(folder.ready());
    const QList<Change> changes = {Sample(1), Sample(2), Sample(3)};
    QVERIFY(Append({changes[0]}));
    QVERIFY(Append({changes[1], changes[2]}));
    const QList<QByteArray> lines = LogLines();
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0], QByteArray(kHeader));
    QList<ChangeEntry> entries;
    QVERIFY(ReadChanges({}, entries));
    QCOMPARE(entries.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(static_cast<const Change&>(entries[i]), changes[i]);
        QCOMPARE(entries[i].line, i + 2);
        QCOMPARE(entries[i].sequence, i + 1);
    }
    ChainCheck check;
    QVERIFY(CheckChain(check));
    QCOMPARE(check.fault, ChainCheck::Fault::None);
    QCOMPARE(check.lines, 4);
}

void TestChangeLog::filtersByPersonCourseUserAndDates_data() {
    QTest::addColumn<ChangeFilter>("filter");
    QTest::addColumn<QList<qint64>>("sequences");
    const QDate may2(2024, 5, 2);
    QTest::newRow("all") << ChangeFilter{} << QList<qint64>{1, 2, 3, 4};
    QTest::newRow("person") << ChangeFilter{QStringLiteral("P1"), {}, {}, {}, {}}
                            << QList<qint64>{1, 3};
    QTest::newRow("course") << ChangeFilter{{}, QStringLiteral("C1"), {}, {}, {}}
                            << QList<qint64>{3, 4};
    QTest::newRow("user any case")
        << ChangeFilter{{}, {}, QStringLiteral("bob"), {}, {}} << QList<qint64>{4};
    QTest::newRow("from") << ChangeFilter{{}, {}, {}, may2, {}} << QList<qint64>{2, 3, 4};
    QTest::newRow("to") << ChangeFilter{{}, {}, {}, {}, may2} << QList<qint64>{1, 2};
    QTest::newRow("one day") << ChangeFilter{{}, {}, {}, may2, may2} << QList<qint64>{2};
    QTest::newRow("person and course")
        << ChangeFilter{QStringLiteral("P1"), QStringLiteral("C1"), {}, {}, {}} << QList<qint64>{3};
}

void TestChangeLog::filtersByPersonCourseUserAndDates() {
    QFETCH(ChangeFilter, filter);
    QFETCH(QList<qint64>, sequences);
    DataFolder folder;
    QVERIFY(folder.ready());
    QVERIFY(Append({Sample(1, QStringLiteral("P1")), Sample(2, QStringLiteral("P2")),
                    Sample(3, QStringLiteral("P1"), QStringLiteral("C1")),
                    Sample(4, QString(), QStringLiteral("C1"), QStringLiteral("Bob"))}));
    QList<ChangeEntry> entries;
    QVERIFY(ReadChanges(filter, entries));
    QList<qint64> got;
    for (const ChangeEntry& entry : entries)
        got.append(entry.sequence);
    QCOMPARE(got, sequences);
}

void TestChangeLog::checkNamesFirstBadLine_data() {
    QTest::addColumn<QString>("tamper");
    QTest::addColumn<ChainCheck::Fault>("fault");
    QTest::addColumn<qint64>("line");
    QTest::newRow("none") << "none" << ChainCheck::Fault::None << qint64(0);
    QTest::newRow("value edited") << "edit" << ChainCheck::Fault::Altered << qint64(3);
    QTest::newRow("hash edited") << "hash" << ChainCheck::Fault::Altered << qint64(3);
    QTest::newRow("line removed") << "remove" << ChainCheck::Fault::Removed << qint64(3);
    QTest::newRow("line repeated") << "insert" << ChainCheck::Fault::Inserted << qint64(4);
    QTest::newRow("header edited") << "header" << ChainCheck::Fault::NoHeader << qint64(1);
    QTest::newRow("garbage line") << "garbage" << ChainCheck::Fault::Altered << qint64(3);
}

void TestChangeLog::checkNamesFirstBadLine() {
    QFETCH(QString, tamper);
    QFETCH(ChainCheck::Fault, fault);
    QFETCH(qint64, line);
    DataFolder folder;
    QVERIFY(folder.ready());
    QVERIFY(Append({Sample(1), Sample(2), Sample(3), Sample(4)}));
    QList<QByteArray> lines = LogLines();
    if (tamper == "edit")
        lines[2].replace("Person 2", "Person 9");
    else if (tamper == "hash")
        lines[2][0] = lines[2][0] == 'a' ? 'b' : 'a';
    else if (tamper == "remove")
        lines.removeAt(2);
    else if (tamper == "insert")
        lines.insert(3, lines[2]);
    else if (tamper == "header")
        lines[0] += " ";
    else if (tamper == "garbage")
        lines[2] = "nothing of ours";
    WriteLines(lines);
    ChainCheck check;
    QVERIFY(CheckChain(check));
    QCOMPARE(check.fault, fault);
    QCOMPARE(check.line, line);
    QCOMPARE(check.Describe().isEmpty(), fault == ChainCheck::Fault::None);
    if (line > 1)
        QVERIFY(check.Describe().contains(QString::number(line)));
}

void TestChangeLog::completeAndWithdrawFollowTheTail_data() {
    QTest::addColumn<int>("onFile"); // bytes of the pending lines already there; -1: a foreign line
    QTest::addColumn<bool>("complete");
    QTest::addColumn<int>("linesAfter"); // lines of the log after the step, header counted
    QTest::newRow("complete none") << 0 << true << 4;
    QTest::newRow("complete part") << 30 << true << 4;
    QTest::newRow("complete whole") << 9999 << true << 4;
    QTest::newRow("complete after a foreign line") << -1 << true << 5;
    QTest::newRow("withdraw none") << 0 << false << 2;
    QTest::newRow("withdraw part") << 30 << false << 2;
    QTest::newRow("withdraw whole") << 9999 << false << 2;
    QTest::newRow("withdraw leaves a foreign line") << -1 << false << 3;
}

void TestChangeLog::completeAndWithdrawFollowTheTail() {
    QFETCH(int, onFile);
    QFETCH(bool, complete);
    QFETCH(int, linesAfter);
    DataFolder folder;
    QVERIFY(folder.ready());
    QVERIFY(Append({Sample(1)}));
    Pending pending;
    QVERIFY(Prepare({Sample(2), Sample(3)}, pending));
    const QByteArray before = ReadBytes(ChangeLogFileName);
    QCOMPARE(pending.lengthBefore, before.size());
    QVERIFY(Complete(pending));
    const QByteArray whole = ReadBytes(ChangeLogFileName);
    const QByteArray foreign = QByteArray(64, 'f') + "\t2\t2024-05-09 10:00:00\tX\tY\n";
    WriteBytes(ChangeLogFileName,
               onFile < 0 ? before + foreign : whole.left(before.size() + onFile));
    QVERIFY(complete ? Complete(pending) : Withdraw(pending));
    QCOMPARE(LogLines().size(), linesAfter);
    if (complete && onFile >= 0)
        QCOMPARE(ReadBytes(ChangeLogFileName), whole);
    if (!complete && onFile >= 0)
        QCOMPARE(ReadBytes(ChangeLogFileName), before);
    if (onFile >= 0) {
        ChainCheck check;
        QVERIFY(CheckChain(check));
        QCOMPARE(check.fault, ChainCheck::Fault::None);
    }
}

void TestChangeLog::pendingLinesTravelInJournal() {
    Pending pending;
    pending.lengthBefore = 123;
    pending.changes = {Sample(1), Sample(2)};
    journal::Fields fields;
    NoteInJournal(pending, fields);
    Pending back;
    QVERIFY(FromJournal(fields, back));
    QCOMPARE(back.lengthBefore, 123);
    QCOMPARE(back.changes, pending.changes);
    QVERIFY(!FromJournal({}, back)); // a journal of a version that kept no log
}

void TestChangeLog::identityIsTheWholeSecond() {
    const double stamp = 45000.5; // 2023-03-15 12:00:00
    QCOMPARE(IdentityText(stamp), QStringLiteral("2023-03-15 12:00:00"));
    QCOMPARE(IdentityText(stamp + 0.3 / 86400), IdentityText(stamp));
    QVERIFY(IdentityText(std::nan("")).isEmpty());
}

QTEST_APPLESS_MAIN(TestChangeLog)
#include "test_changelog.moc"
