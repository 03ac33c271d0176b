// export writes every data file as CSV: raw fields under their names, identities exact,
// passwords left out, the log split into its parts.

#include "ToolTestSupport.h"

#include "tools/ExportCommand.h"

#include "store/Csv.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using tooltest::RecordBytes;
using tooltest::RunTool;

namespace {

// 3/1/2005 12:33:50 PM as the program stamps it.
const double Stamp = 38412 + 45230 / 86400.0;

QList<QStringList> ReadCsv(const QString& path) {
    store::csv::Table table;
    if (!store::csv::ReadFile(path, table))
        return {};
    QList<QStringList> rows;
    for (const store::csv::Record& record : table.records)
        rows << record.fields;
    return rows;
}

} // namespace

class ExportTest : public QObject {
    Q_OBJECT

private slots:
    void exportsEveryFile();
    void needsOut();
    void failureLeavesEveryExportAsItWas();
    void rowsTheSameHoweverCut_data();
    void rowsTheSameHoweverCut();
};

void ExportTest::exportsEveryFile() {
    QTemporaryDir dir;
    const QString data = dir.filePath("data");
    const QString out = dir.filePath("out/csv");
    QVERIFY(QDir().mkpath(data));
    // Windows-1252 text with quotes and a line break; an old record padded with NULs.
    const QByteArray course = RecordBytes()
                                  .Double(Stamp)
                                  .Text("FIR-0001", 8)
                                  .Text("Caf\xe9 \x80 Safety", 50)
                                  .Text("  Range Staff", 30)
                                  .Single(1.2f)
                                  .Text("He said \"ok\"\r\nnext", 200, '\0')
                                  .Bytes();
    const QByteArray formula = RecordBytes()
                                   .Double(-1.25)
                                   .Text("=1+2", 8)
                                   .Text("-5 hours", 50)
                                   .Text("", 30)
                                   .Single(-0.25f)
                                   .Text("", 200)
                                   .Bytes();
    // Like the one before but for its name and hours: a field is never taken from the record
    // before when its bytes differ.
    const QByteArray alike = RecordBytes()
                                 .Double(-1.25)
                                 .Text("=1+2", 8)
                                 .Text("-6 hours", 50)
                                 .Text("", 30)
                                 .Single(2.5f)
                                 .Text("", 200)
                                 .Bytes();
    const QByteArray user = RecordBytes()
                                .Double(Stamp)
                                .Text("Pat", 15)
                                .Text("Kim", 20)
                                .Text("x1y2z3w4", 16)
                                .Int16(4)
                                .Text("", 439)
                                .Bytes();
    QVERIFY(tooltest::WriteFile(data + "/Course.Index", course + formula + alike));
    QVERIFY(tooltest::WriteFile(data + "/User.List", user));
    QVERIFY(tooltest::WriteFile(data + "/User.Log",
                                "03/07/2014 at 08:15:02 - Pat Kim logged in w/ Read Only "
                                "privileges.\r\nsomething else\r\n"));

    const auto run = RunTool({"export", "--dir", data, "--out", out});
    QCOMPARE(run.code, 0);
    QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
    QCOMPARE(run.out, QStringLiteral("User.List.csv: 1 records\nName.List.csv: 0 records\n"
                                     "Course.Index.csv: 3 records\n"
                                     "Training.Records.csv: 0 records\nUser.Log.csv: 2 lines\n"));

    QCOMPARE(tooltest::ReadFile(out + "/Course.Index.csv"),
             QByteArray("\xEF\xBB\xBF"
                        "RecNum,DateCreated,CourseCode,CourseName,ProvidedBy,Hours,Comments\r\n"
                        "1,38412.52349537037,FIR-0001,Caf\xC3\xA9 \xE2\x82\xAC Safety,Range Staff,"
                        "1.2,\"He said \"\"ok\"\"\r\nnext\"\r\n"
                        "2,-1.25,'=1+2,'-5 hours,,-0.25,\r\n"
                        "3,-1.25,'=1+2,'-6 hours,,2.5,\r\n"));
    // The identity reads back as exactly the stored value.
    QCOMPARE(ReadCsv(out + "/Course.Index.csv").value(1).value(1).toDouble(), Stamp);

    QCOMPARE(ReadCsv(out + "/User.List.csv"),
             (QList<QStringList>{
                 {"RecNum", "DateCreated", "FirstName", "LastName", "AccessLevel", "Comments"},
                 {"1", "38412.52349537037", "Pat", "Kim", "4", ""}}));
    QVERIFY(!tooltest::ReadFile(out + "/User.List.csv").contains("x1y2z3w4"));
    QCOMPARE(ReadCsv(out + "/Training.Records.csv").size(), 1); // the heading alone
    QCOMPARE(ReadCsv(out + "/User.Log.csv"),
             (QList<QStringList>{
                 {"Line", "Date", "Time", "Entry"},
                 {"1", "03/07/2014", "08:15:02", "Pat Kim logged in w/ Read Only privileges."},
                 {"2", "", "", "something else"}}));
}

void ExportTest::needsOut() {
    QTemporaryDir dir;
    const auto run = RunTool({"export", "--dir", dir.path()});
    QCOMPARE(run.code, 2);
    QVERIFY(run.err.contains("--out"));
}

// Training records whose fields change at different paces: the course name every eight
// records, so that it repeats across the boundaries of blocks of four, the hours exactly at
// them, the person with every record; text that is quoted and converted among them.
QByteArray TrainingRecords(int count) {
    QByteArray bytes;
    for (int i = 0; i < count; ++i) {
        const QByteArray name = i / 8 % 2 ? "Caf\xe9, \"Range\"" : "=Use of Force";
        bytes += RecordBytes()
                     .Double(40000 + i / 3)
                     .Double(Stamp + i)
                     .Double(Stamp)
                     .Text("UOF", 8)
                     .Text(name, 50)
                     .Text("Staff", 30)
                     .Single(0.25f * float(i / 4))
                     .Text(i % 5 ? "" : "line\r\nbreak", 184, '\0')
                     .Bytes();
    }
    return bytes;
}

void ExportTest::rowsTheSameHoweverCut_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("perBlock");
    QTest::addColumn<int>("threads");
    QTest::addColumn<int>("records");
    QTest::newRow("fewer than a block") << TrainingRecords(3) << 4 << 2 << 3;
    QTest::newRow("exactly a block") << TrainingRecords(4) << 4 << 2 << 4;
    QTest::newRow("a block and one") << TrainingRecords(5) << 4 << 2 << 5;
    QTest::newRow("many blocks, more than slots") << TrainingRecords(37) << 4 << 2 << 37;
    QTest::newRow("a record a block, three threads") << TrainingRecords(11) << 1 << 3 << 11;
    // Half a record at the end is one, its missing bytes zeros.
    QTest::newRow("a part record ends the last block")
        << TrainingRecords(9) + TrainingRecords(1).left(150) << 4 << 2 << 10;
}

void ExportTest::rowsTheSameHoweverCut() {
    // The rows of records cut into blocks, made on several threads, are those the whole file
    // makes as one block on one thread.
    QFETCH(QByteArray, file);
    QFETCH(int, perBlock);
    QFETCH(int, threads);
    QFETCH(int, records);
    QTemporaryDir dir;
    QVERIFY(tooltest::WriteFile(dir.filePath("Training.Records"), file));
    const auto exported = [&](const datatool::RowBlocks& blocks) {
        const QString path = dir.filePath(QStringLiteral("%1.csv").arg(blocks.records));
        qint64 written = -1;
        const store::StoreResult done = datatool::ExportDataFile(store::DataFile::TrainingRecords,
                                                                 dir.path(), path, written, blocks);
        return done && written == records ? tooltest::ReadFile(path) : QByteArray();
    };
    const QByteArray whole = exported({1 << 20, 1});
    QCOMPARE(ReadCsv(dir.filePath(QStringLiteral("%1.csv").arg(1 << 20))).size(), records + 1);
    QCOMPARE(exported({perBlock, threads}), whole);
}

int RunExportTests(int argc, char* argv[]) {
    ExportTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ExportTest.moc"

void ExportTest::failureLeavesEveryExportAsItWas() {
    // The last of the five cannot be written (a folder stands under its name): the exports
    // before it, old and new, stay as they were, and no part file is left.
    QTemporaryDir dir;
    const QString out = dir.filePath("out");
    QVERIFY(QDir().mkpath(out + "/User.Log.csv"));
    QVERIFY(tooltest::WriteFile(out + "/Name.List.csv", "old"));
    QVERIFY(tooltest::WriteFile(dir.filePath("Course.Index"),
                                RecordBytes().Double(Stamp).Text("FIR", 300 - 8).Bytes()));
    const auto run = RunTool({"export", "--dir", dir.path(), "--out", out});
    QCOMPARE(run.code, 1);
    QVERIFY2(run.err.contains("User.Log.csv"), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
    QCOMPARE(tooltest::ReadFile(out + "/Name.List.csv"), QByteArray("old"));
    QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
             QStringList({"Name.List.csv", "User.Log.csv"}));
}
