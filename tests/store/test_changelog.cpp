#include "DataFolder.h"

#include "store/ChangeLines.h"
#include "store/ChangeLog.h"
#include "store/Clock.h"
#include "store/CourseCopies.h"
#include "store/DataBackup.h"
#include "store/DataRestore.h"
#include "store/DataSet.h"
#include "store/FileWrite.h"
#include "store/Formats.h"
#include "store/PersonTraining.h"
#include "store/RecordFile.h"
#include "store/Recovery.h"
#include "store/Removal.h"

#include <QtTest>
#include <cerrno>
#include <future>
#include <thread>

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

double Stamp(int second) {
    return formats::DateValue(QDate(2014, 3, 7), QTime(8, 0, 0).addSecs(second));
}

// A data folder of one user, one person with one training record of one course.
void WriteDataSet() {
    UserRecord u;
    u.DateCreated = Stamp(1);
    u.FirstName = QStringLiteral("Una");
    u.LastName = QStringLiteral("User");
    u.Password = ScramblePassword(QStringLiteral("s3cret"));
    PersonRecord p;
    p.DateCreated = Stamp(2);
    p.FirstName = QStringLiteral("Pat");
    p.LastName = QStringLiteral("Old");
    CourseRecord c;
    c.DateCreated = Stamp(3);
    c.CourseCode = QStringLiteral("FA");
    c.CourseName = QStringLiteral("First Aid");
    c.Hours = 8;
    const TrainingRecord t = CreditedRecord(c, p.DateCreated, Stamp(0), QString());
    QVERIFY(WriteBytes(QStringLiteral("User.List"), u.Encode()));
    QVERIFY(WriteBytes(QStringLiteral("Name.List"), p.Encode()));
    QVERIFY(WriteBytes(QStringLiteral("Course.Index"), c.Encode()));
    QVERIFY(WriteBytes(QStringLiteral("Training.Records"), t.Encode()));
}

// Reads record 1 of `table`, lets `change` alter it and writes it back (or after the last).
template <class Record>
StoreResult Rewrite(RecordTable<Record>& table, const std::function<void(Record&)>& change,
                    bool add = false) {
    if (StoreResult opened = table.Open(); !opened)
        return opened;
    StoreResult result = table.Read(1);
    change(table.Buffer());
    if (result)
        result = table.Write(add ? table.Count() + 1 : 1);
    table.Close();
    return result;
}

StoreResult Run(const QString& what) {
    if (what == "person added")
        return Rewrite<PersonRecord>(
            Persons(),
            [](PersonRecord& p) {
                p.DateCreated = Stamp(9);
                p.LastName = QStringLiteral("New");
            },
            true);
    if (what == "person edited")
        return Rewrite<PersonRecord>(Persons(),
                                     [](PersonRecord& p) { p.LastName = QStringLiteral("New"); });
    if (what == "hours edited") // 8 and 8.04: the grid shows both as 8.0
        return Rewrite<CourseRecord>(Courses(), [](CourseRecord& c) { c.Hours = 8.04f; });
    if (what == "saved unchanged")
        return Rewrite<PersonRecord>(Persons(), [](PersonRecord&) {});
    if (what == "password changed")
        return Rewrite<UserRecord>(Users(), [](UserRecord& u) {
            u.Password = ScramblePassword(QStringLiteral("n3wpass"));
        });
    if (what == "training edited")
        return ChangeTrainingRecord(1, Stamp(2),
                                    [](TrainingRecord& t) { t.Comments = QStringLiteral("late"); });
    if (what == "credit") {
        CourseRecord c;
        c.DateCreated = Stamp(3);
        c.CourseCode = QStringLiteral("FA");
        return AppendTrainingRecords({CreditedRecord(c, Stamp(2), Stamp(0), QString())});
    }
    if (what == "course removed")
        return RemoveMarkedRecord(DataFile::CourseIndex, 1);
    if (what == "person removed") {
        PersonRemoval removal;
        return RemovePerson(1, removal);
    }
    CourseRecord c; // course copies updated
    c.DateCreated = Stamp(3);
    c.CourseCode = QStringLiteral("FA2");
    CourseCopyTally tally;
    return UpdateCourseCopies(c, tally);
}

} // namespace

Q_DECLARE_METATYPE(QList<store::changelog::FieldChange>)
Q_DECLARE_METATYPE(QList<store::TrainingRecord>)

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
    void eachChangeWritesItsLine_data();
    void eachChangeWritesItsLine();
    void restoreAppendsAndKeepsTheLog();
    void aClassCreditedAtOnceIsOneLine();
    void linesSyncedBehindSurviveAStop_data();
    void linesSyncedBehindSurviveAStop();
    void aFailedSyncBehindIsCompletedByTheNextWrite();
    void addedTrainingLinesAreExact_data();
    void addedTrainingLinesAreExact();
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
    QTest::addColumn<int>("length"); // lines after the header
    QTest::addColumn<int>("at");     // the line tampered with, the header being 0
    QTest::addColumn<ChainCheck::Fault>("fault");
    QTest::addColumn<qint64>("line");
    using Fault = ChainCheck::Fault;
    QTest::newRow("none") << "none" << 4 << 2 << Fault::None << qint64(0);
    QTest::newRow("value edited") << "edit" << 4 << 2 << Fault::Altered << qint64(3);
    QTest::newRow("hash edited") << "hash" << 4 << 2 << Fault::Altered << qint64(3);
    QTest::newRow("line removed") << "remove" << 4 << 2 << Fault::Removed << qint64(3);
    QTest::newRow("line repeated") << "insert" << 4 << 2 << Fault::Inserted << qint64(4);
    QTest::newRow("header edited") << "header" << 4 << 0 << Fault::NoHeader << qint64(1);
    QTest::newRow("garbage line") << "garbage" << 4 << 2 << Fault::Altered << qint64(3);
    // A log of several read blocks, its lines checked on two cores: the first bad line is
    // named wherever it lies, and before a later gap.
    QTest::newRow("long, whole") << "none" << 40000 << 0 << Fault::None << qint64(0);
    QTest::newRow("long, edited late")
        << "edit" << 40000 << 39990 << Fault::Altered << qint64(39991);
    QTest::newRow("long, edited in a second half")
        << "edit" << 40000 << 30000 << Fault::Altered << qint64(30001);
    QTest::newRow("long, edited before a gap")
        << "edit, gap" << 40000 << 1000 << Fault::Altered << qint64(1001);
    // Where the first block is cut for the two cores (at < 0: -1 the line before the cut, -2
    // the line after it).
    QTest::newRow("long, hash edited before the cut")
        << "hash" << 40000 << -1 << Fault::Altered << qint64(0);
    QTest::newRow("long, line after the cut removed")
        << "remove" << 40000 << -2 << Fault::Removed << qint64(0);
}

void TestChangeLog::checkNamesFirstBadLine() {
    QFETCH(QString, tamper);
    QFETCH(int, length);
    QFETCH(int, at);
    QFETCH(ChainCheck::Fault, fault);
    QFETCH(qint64, line);
    DataFolder folder;
    QVERIFY(folder.ready());
    QList<Change> changes;
    for (int i = 0; i < length; ++i)
        changes.append(Sample(1 + i % 28));
    QVERIFY(Append(changes));
    QList<QByteArray> lines = LogLines();
    if (at < 0) {
        // The reader's blocks are 4 MiB of whole lines; the first is cut at the line break
        // after its middle.
        const QByteArray bytes = ReadBytes(ChangeLogFileName);
        const qsizetype block = bytes.lastIndexOf('\n', (4 << 20) - 1) + 1;
        const qsizetype cut = bytes.indexOf('\n', block / 2) + 1;
        at = int(bytes.left(cut).count('\n')) + (at == -1 ? -1 : 0);
        line = at + 1;
    }
    if (tamper.startsWith("edit"))
        lines[at].replace("Person", "Persen");
    if (tamper == "edit, gap")
        lines.removeAt(length - 5);
    else if (tamper == "hash")
        lines[at][0] = lines[at][0] == 'a' ? 'b' : 'a';
    else if (tamper == "remove")
        lines.removeAt(at);
    else if (tamper == "insert")
        lines.insert(at + 1, lines[at]);
    else if (tamper == "header")
        lines[at] += " ";
    else if (tamper == "garbage")
        lines[at] = "nothing of ours";
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
    journal::Fields noted;
    NoteInJournal(pending, noted);
    // Through the journal's file, and as the version before wrote them (hexadecimal).
    DataFolder folder;
    QVERIFY(folder.ready());
    journal::Fields read;
    bool found = false;
    QVERIFY(journal::Write(QStringLiteral("Test.Journal"), QStringLiteral("test"), noted));
    QVERIFY(journal::Read(QStringLiteral("Test.Journal"), QStringLiteral("test"), read, found));
    const QByteArray hex = (ContentOf(Sample(1)) + '\n' + ContentOf(Sample(2)) + '\n').toHex();
    const journal::Fields earlier = {{QStringLiteral("ChangeLogLength"), QStringLiteral("123")},
                                     {QStringLiteral("ChangeLogLines"), QString::fromLatin1(hex)}};
    for (const journal::Fields& fields : {noted, read, earlier}) {
        Pending back;
        QVERIFY(FromJournal(fields, back));
        QCOMPARE(back.lengthBefore, 123);
        QCOMPARE(back.changes, pending.changes);
    }
    Pending none;
    QVERIFY(!FromJournal({}, none)); // a journal of a version that kept no log
}

void TestChangeLog::identityIsTheWholeSecond() {
    const double stamp = 45000.5; // 2023-03-15 12:00:00
    QCOMPARE(IdentityText(stamp), QStringLiteral("2023-03-15 12:00:00"));
    QCOMPARE(IdentityText(stamp + 0.3 / 86400), IdentityText(stamp));
    QVERIFY(IdentityText(std::nan("")).isEmpty());
}

void TestChangeLog::eachChangeWritesItsLine_data() {
    QTest::addColumn<QString>("what");
    QTest::addColumn<QStringList>("lines");         // action and kind of each new line
    QTest::addColumn<QString>("name");              // of the first new line
    QTest::addColumn<QList<FieldChange>>("fields"); // of the first new line; empty: not compared
    using F = QList<FieldChange>;
    const QString person = QStringLiteral("Person");
    QTest::newRow("person added") << "person added" << QStringList{"Added Person"} << "Pat New"
                                  << F{{"First Name", "", "Pat"},
                                       {"Last Name", "", "New"},
                                       {"Status", "", "Active"}};
    QTest::newRow("person edited") << "person edited" << QStringList{"Edited Person"} << "Pat New"
                                   << F{{"Last Name", "Old", "New"}};
    QTest::newRow("hours edited") << "hours edited" << QStringList{"Edited Course"}
                                  << "FA - First Aid" << F{{"Hours", "8", "8.04"}};
    QTest::newRow("saved unchanged") << "saved unchanged" << QStringList{} << "" << F{};
    QTest::newRow("password changed") << "password changed" << QStringList{"Edited User"}
                                      << "Una User" << F{{PasswordChanged, "", ""}};
    QTest::newRow("training edited") << "training edited" << QStringList{"Edited Training record"}
                                     << "FA on 03/07/2014" << F{{"Comments", "", "late"}};
    QTest::newRow("credit") << "credit" << QStringList{"Credited Training record"}
                            << "FA on 03/07/2014" << F{};
    QTest::newRow("course removed")
        << "course removed" << QStringList{"Removed Course"} << "FA - First Aid"
        << F{{"Course Code", "FA", ""}, {"Course Name", "First Aid", ""}, {"Hours", "8", ""}};
    QTest::newRow("person removed with records")
        << "person removed" << QStringList{"Removed Person", "Removed Training record"} << "Pat Old"
        << F{{"First Name", "Pat", ""},
             {"Last Name", "Old", ""},
             {"Status", "Active", ""},
             {"Training records", "1", "0"}};
    QTest::newRow("course copies updated")
        << "copies" << QStringList{"Course copies updated Course"} << "FA2 - "
        << F{{"Credited records updated", "", "1"}};
}

void TestChangeLog::eachChangeWritesItsLine() {
    QFETCH(QString, what);
    QFETCH(QStringList, lines);
    QFETCH(QString, name);
    QFETCH(QList<FieldChange>, fields);
    DataFolder folder;
    QVERIFY(folder.ready());
    WriteDataSet();
    SetClock([] { return QDateTime(QDate(2024, 6, 1), QTime(10, 0)); });
    SetActingUser(QStringLiteral("Ann Admin"));
    const StoreResult done = Run(what);
    SetActingUser(QString());
    SetClock({});
    QVERIFY2(done.ok(), qPrintable(done.text()));
    QList<ChangeEntry> entries;
    QVERIFY(ReadChanges({}, entries));
    QStringList got;
    for (const ChangeEntry& entry : entries)
        got.append(entry.action + u' ' + entry.kind);
    QCOMPARE(got, lines);
    const QByteArray log = ReadBytes(ChangeLogFileName);
    QVERIFY(!log.contains("s3cret") && !log.contains("n3wpass"));
    if (entries.isEmpty())
        return;
    QCOMPARE(entries[0].user, QStringLiteral("Ann Admin"));
    QCOMPARE(entries[0].time, QDateTime(QDate(2024, 6, 1), QTime(10, 0)));
    QCOMPARE(entries[0].name, name);
    if (!fields.isEmpty())
        QCOMPARE(entries[0].fields, fields);
    // A person's lines, their records' too, are found by the person's identity.
    if (entries[0].kind != kind::Course && entries[0].kind != kind::User)
        QVERIFY(NamesPerson(
            entries[0].person.toUtf8(),
            IdentityText(Stamp(entries[0].kind == kind::Person && what == "person added" ? 9 : 2))
                .toUtf8()));
}

// A restore brings the data files back, never the log: the lines before it stay and one more
// says what came back from where.
void TestChangeLog::restoreAppendsAndKeepsTheLog() {
    DataFolder folder;
    QVERIFY(folder.ready());
    WriteDataSet();
    QVERIFY(Run("person edited"));
    QVERIFY(QDir().mkdir("backup"));
    QVERIFY(BackupDataSet(QStringLiteral("backup"), BackupFileNames()));
    QVERIFY(QFileInfo::exists(QStringLiteral("backup/") + ChangeLogFileName));
    QVERIFY(Run("training edited"));
    const QByteArray before = ReadBytes(ChangeLogFileName);
    const StoreResult restored = RestoreDataSet(QStringLiteral("backup"), DataSetFileNames());
    QVERIFY2(restored.ok(), qPrintable(restored.text()));
    const QByteArray after = ReadBytes(ChangeLogFileName);
    QVERIFY(after.startsWith(before));
    QList<ChangeEntry> entries;
    QVERIFY(ReadChanges({}, entries));
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries[2].action, action::Restored);
    QCOMPARE(entries[2].name, QDir(QStringLiteral("backup")).absolutePath());
    ChainCheck check;
    QVERIFY(CheckChain(check));
    QCOMPARE(check.fault, ChainCheck::Fault::None);
}

// Records that differ only in their person are told once, naming every person; the next run
// (another date) has a line of its own, and each person's lines still find them.
void TestChangeLog::aClassCreditedAtOnceIsOneLine() {
    DataFolder folder;
    QVERIFY(folder.ready());
    WriteDataSet();
    CourseRecord c;
    c.DateCreated = Stamp(3);
    c.CourseCode = QStringLiteral("FA");
    c.Hours = 8;
    std::vector<TrainingRecord> credit;
    for (int person : {2, 5, 6})
        credit.push_back(CreditedRecord(c, Stamp(person), Stamp(0), QStringLiteral("Range")));
    credit.push_back(CreditedRecord(c, Stamp(7), Stamp(1), QStringLiteral("Range")));
    QVERIFY(AppendTrainingRecords(credit));
    QList<ChangeEntry> entries;
    QVERIFY(ReadChanges({}, entries));
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries[0].person,
             QStringList({IdentityText(Stamp(2)), IdentityText(Stamp(5)), IdentityText(Stamp(6))})
                 .join(PersonSeparator));
    QCOMPARE(entries[0].fields.constLast(), (FieldChange{"Persons", "", "3"}));
    QCOMPARE(entries[1].person, IdentityText(Stamp(7)));
    for (const auto& [person, lines] : {std::pair{5, 1}, {7, 1}, {8, 0}}) {
        ChangeFilter filter;
        filter.person = IdentityText(Stamp(person));
        QVERIFY(ReadChanges(filter, entries));
        QCOMPARE(entries.size(), lines);
    }
}

void TestChangeLog::linesSyncedBehindSurviveAStop_data() {
    QTest::addColumn<int>("writes");      // credits whose log syncs were under way at the stop
    QTest::addColumn<int>("keptPercent"); // of their lines' bytes, what reached the disk
    QTest::addColumn<bool>("laterWrite"); // a write after them, whose journal was removed
    QTest::newRow("one write, lines lost") << 1 << 0 << false;
    QTest::newRow("one write, half of them kept") << 1 << 50 << false;
    QTest::newRow("one write, all kept") << 1 << 100 << false;
    QTest::newRow("two writes, lines lost") << 2 << 0 << false;
    QTest::newRow("two writes, half of them kept") << 2 << 50 << false;
    QTest::newRow("journal found again after later work") << 1 << 100 << true;
}

// The program stops (power is cut) after writes whose journals were renamed done but whose
// lines were not yet synced: the next start completes the lines, once and in order, and the
// files stay as the writes left them.
void TestChangeLog::linesSyncedBehindSurviveAStop() {
    QFETCH(int, writes);
    QFETCH(int, keptPercent);
    QFETCH(bool, laterWrite);
    DataFolder folder;
    QVERIFY(folder.ready());
    WriteDataSet();
    QVERIFY(Run("credit")); // the log is there: a new log's lines are synced at once
    Settle();
    const QByteArray before = ReadBytes(ChangeLogFileName);
    // The syncs behind wait at the gate, as a slow disk keeps them.
    std::promise<void> open;
    const std::shared_future<void> gate = open.get_future().share();
    const std::thread::id lead = std::this_thread::get_id();
    io::testing::SetSyncHook([gate, lead](const QString& name) {
        if (name == ChangeLogFileName && std::this_thread::get_id() != lead)
            gate.wait();
        return 0;
    });
    for (int i = 0; i < writes; ++i)
        QVERIFY(Run("credit"));
    QMap<QString, QByteArray> done;
    for (const QString& name : journal::DoneOf(RecordWriteJournal))
        done.insert(name, ReadBytes(name));
    QCOMPARE(done.size(), writes);
    QByteArray full = ReadBytes(ChangeLogFileName);
    open.set_value();
    Settle();
    io::testing::SetSyncHook(nullptr);
    QVERIFY(journal::DoneOf(RecordWriteJournal).isEmpty()); // removed once the log was synced
    if (laterWrite) {
        QVERIFY(Run("credit"));
        Settle();
        full = ReadBytes(ChangeLogFileName);
    }
    const QByteArray records = ReadBytes(QStringLiteral("Training.Records"));
    // What the disk held after the stop.
    for (auto it = done.cbegin(); it != done.cend(); ++it)
        QVERIFY(WriteBytes(it.key(), it.value()));
    if (!laterWrite)
        QVERIFY(WriteBytes(
            ChangeLogFileName,
            full.left(before.size() + (full.size() - before.size()) * keptPercent / 100)));
    QStringList notes;
    QVERIFY(FinishInterruptedWork(notes));
    QCOMPARE(notes, QStringList());
    QCOMPARE(ReadBytes(ChangeLogFileName), full);
    QCOMPARE(ReadBytes(QStringLiteral("Training.Records")), records);
    QVERIFY(journal::DoneOf(RecordWriteJournal).isEmpty());
}

// A log whose sync fails behind the write keeps the done journal; the next write completes
// its lines first, without a restart.
void TestChangeLog::aFailedSyncBehindIsCompletedByTheNextWrite() {
    DataFolder folder;
    QVERIFY(folder.ready());
    WriteDataSet();
    QVERIFY(Run("credit"));
    Settle();
    const std::thread::id lead = std::this_thread::get_id();
    io::testing::SetSyncHook([lead](const QString& name) {
        return name == ChangeLogFileName && std::this_thread::get_id() != lead ? EIO : 0;
    });
    QVERIFY(Run("credit"));
    Settle();
    io::testing::SetSyncHook(nullptr);
    QCOMPARE(journal::DoneOf(RecordWriteJournal).size(), 1);
    QVERIFY(Run("person edited"));
    Settle();
    QVERIFY(journal::DoneOf(RecordWriteJournal).isEmpty());
    QList<ChangeEntry> entries;
    QVERIFY(ReadChanges({}, entries));
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries.constLast().action, action::Edited);
    ChainCheck check;
    QVERIFY(CheckChain(check));
    QCOMPARE(check.fault, ChainCheck::Fault::None);
}

// The bytes of the lines, their journal text and their chained form, as the log has always
// had them: records kept as stored (padded, not trimmed), escapes, text beyond ASCII, a run of
// one class and a key that is no date.
void TestChangeLog::addedTrainingLinesAreExact_data() {
    QTest::addColumn<QList<TrainingRecord>>("records");
    QTest::addColumn<QByteArray>("contents");  // each ContentOf, '\n' after each
    QTest::addColumn<QByteArray>("firstHash"); // of the first line chained on the header
    // The time, the user (beyond ASCII), the action and the kind, which every line starts with.
    const QByteArray at = "2024-06-01 10:00:05\tAnn \xc3\x85"
                          "dmin\tImported\tTraining record\t";
    const QByteArray course = "\tTraining Date\t\t03/07/2014\tCourse Code\t\tFA\tCourse Name\t\t"
                              "First Aid\tProvided By\t\tRed Cross\tHours\t\t1.25";
    CourseRecord c;
    c.DateCreated = Stamp(3);
    c.CourseCode = QStringLiteral("FA      ");
    c.CourseName = QStringLiteral("First Aid") + QString(41, u' ');
    c.ProvidedBy = QStringLiteral("Red Cross");
    c.Hours = 1.25f;
    const TrainingRecord plain = CreditedRecord(c, Stamp(2), Stamp(0), QString());
    QTest::newRow("one, padded fields")
        << QList<TrainingRecord>{plain}
        << at +
               "2014-03-07 08:00:02/2014-03-07 08:00:03/03/07/2014\tFA on 03/07/2014\t"
               "2014-03-07 08:00:02\t2014-03-07 08:00:03" +
               course + '\n'
        << QByteArray("6d3716cca5e5a11a388c4aedad8b655910bbee8672f08b30267211df8f24b81e");
    CourseRecord other = c;
    other.CourseName = QStringLiteral("Erste Hilfe – Übung");
    other.ProvidedBy = QStringLiteral("C:\\Kurse");
    const TrainingRecord escaped = CreditedRecord(
        other, Stamp(2), Stamp(0) + 1, QStringLiteral("line one\r\nline\ttwo") + QChar(0x1b));
    QTest::newRow("escapes and UTF-8")
        << QList<TrainingRecord>{escaped}
        << at + "2014-03-07 08:00:02/2014-03-07 08:00:03/03/08/2014\tFA on 03/08/2014\t"
                "2014-03-07 08:00:02\t2014-03-07 08:00:03\tTraining Date\t\t03/08/2014\t"
                "Course Code\t\tFA\tCourse Name\t\tErste Hilfe \xe2\x80\x93 \xc3\x9c"
                "bung\tProvided By\t\tC:\\\\Kurse\tHours\t\t1.25\tComments\t\t"
                "line one\\r\\nline\\ttwo\\x1b\n"
        << QByteArray("246f319b183ee3de3c5a7f71fc5ac79ca69477df7a6c968a4b3799c0ac1f6128");
    QList<TrainingRecord> run;
    for (int person : {2, 5, 6})
        run.append(CreditedRecord(c, Stamp(person), Stamp(0), QStringLiteral("Range")));
    TrainingRecord undated = plain;
    undated.PersonKey = std::nan("");
    run.append(undated);
    QTest::newRow("a class, then a key that is no date")
        << run
        << at +
               "2014-03-07 08:00:03/03/07/2014\tFA on 03/07/2014\t2014-03-07 08:00:02,"
               "2014-03-07 08:00:05,2014-03-07 08:00:06\t2014-03-07 08:00:03" +
               course + "\tComments\t\tRange\tPersons\t\t3\n" + at +
               "/2014-03-07 08:00:03/03/07/2014\tFA on 03/07/2014\t\t2014-03-07 08:00:03" + course +
               '\n'
        << QByteArray("3912c74457abc8fbf57b7235e2c721c8c5b0791c6447eb07c395ac523d6dc6f1");
}

void TestChangeLog::addedTrainingLinesAreExact() {
    QFETCH(QList<TrainingRecord>, records);
    QFETCH(QByteArray, contents);
    QFETCH(QByteArray, firstHash);
    SetClock([] { return QDateTime(QDate(2024, 6, 1), QTime(10, 0, 5)); });
    SetActingUser(QStringLiteral("Ann Ådmin"));
    const QList<Change> lines = TrainingAdded(
        std::vector<TrainingRecord>(records.cbegin(), records.cend()), action::Imported);
    SetActingUser(QString());
    SetClock({});
    QByteArray made;
    for (const Change& change : lines)
        made += ContentOf(change) + '\n';
    QCOMPARE(made, contents);
    Link next;
    QCOMPARE(ChainedLine(HeaderLink(), ContentOf(lines.front()), next),
             firstHash + "\t1\t" + contents.left(contents.indexOf('\n') + 1));
    // The journal carries the same bytes, with the contents made once or made anew.
    for (bool madeOnce : {false, true}) {
        Pending pending;
        pending.changes = lines;
        if (madeOnce) {
            DataFolder folder;
            QVERIFY(Prepare(lines, pending));
        }
        journal::Fields fields;
        NoteInJournal(pending, fields);
        QCOMPARE(fields.value(QStringLiteral("ChangeLogText")).toUtf8(),
                 QByteArray(contents).replace('\n', '\x1e'));
    }
}

QTEST_APPLESS_MAIN(TestChangeLog)
#include "test_changelog.moc"
