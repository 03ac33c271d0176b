// A station that only reads a folder another program holds: whatever it is asked to do, every
// file of the folder stays byte for byte as it was, no file is made, and the refusal says why.

#include "DataFolder.h"

#include "store/ChangeLog.h"
#include "store/CourseCopies.h"
#include "store/DataRestore.h"
#include "store/DataSet.h"
#include "store/Formats.h"
#include "store/PersonTraining.h"
#include "store/ReadOnlyStation.h"
#include "store/Removal.h"
#include "store/UserLog.h"

#include <QDir>
#include <QtTest>
#include <functional>

using namespace store;

namespace {

double Stamp(int second) {
    return formats::DateValue(QDate(2014, 3, 7), QTime(8, 0, 0).addSecs(second));
}

TrainingRecord Training(int person) {
    TrainingRecord t;
    t.TrainingDate = formats::DateValue(QDate(2014, 1, 1));
    t.PersonKey = Stamp(person);
    t.CourseKey = Stamp(100);
    t.CourseCode = QStringLiteral("FIR-1");
    t.Hours = 8;
    return t;
}

void WriteFolder() {
    QByteArray persons;
    for (int i = 1; i <= 2; ++i) {
        PersonRecord p;
        p.DateCreated = Stamp(i);
        p.FirstName = QStringLiteral("First%1").arg(i);
        persons += p.Encode();
    }
    CourseRecord c;
    c.DateCreated = Stamp(100);
    c.CourseCode = QStringLiteral("FIR-1");
    c.Hours = 8;
    QVERIFY(WriteBytes(QStringLiteral("Name.List"), persons));
    QVERIFY(WriteBytes(QStringLiteral("Course.Index"), c.Encode()));
    QVERIFY(WriteBytes(QStringLiteral("Training.Records"),
                       Training(1).Encode() + Training(2).Encode()));
    QVERIFY(WriteBytes(QStringLiteral("User.Log"), "a line\r\n"));
}

QMap<QString, QByteArray> Snapshot() {
    store::changelog::Settle(); // a write's done journal goes once its lines are synced
    QMap<QString, QByteArray> files;
    for (const QString& name :
         QDir::current().entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot))
        files.insert(name, ReadBytes(name));
    return files;
}

using Attempt = std::function<StoreResult()>;

} // namespace

class TestReadOnlyStation : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { SetReadOnlyStation(false); }

    void nothingIsWritten_data() {
        QTest::addColumn<Attempt>("attempt");
        QTest::newRow("save a record") << Attempt([] {
            if (StoreResult opened = Persons().Open(); !opened)
                return opened;
            return Persons().Write(1);
        });
        QTest::newRow("add to a missing file") << Attempt([] {
            if (StoreResult opened = Users().Open(); !opened)
                return opened;
            return Users().Write(1);
        });
        QTest::newRow("credit") << Attempt([] { return AppendTrainingRecords({Training(2)}); });
        QTest::newRow("change a training record") << Attempt([] {
            return ChangeTrainingRecord(1, Stamp(1), [](TrainingRecord& t) { t.Hours = 2; });
        });
        QTest::newRow("remove a course")
            << Attempt([] { return RemoveMarkedRecord(DataFile::CourseIndex, 1); });
        QTest::newRow("remove a person") << Attempt([] {
            PersonRemoval removal;
            return RemovePerson(1, removal);
        });
        QTest::newRow("update a course's copies") << Attempt([] {
            CourseRecord c;
            c.DateCreated = Stamp(100);
            c.CourseCode = QStringLiteral("FIR-2");
            CourseCopyTally tally;
            return UpdateCourseCopies(c, tally);
        });
        QTest::newRow("sign-in line") << Attempt([] {
            return AppendUserLog(UserLogEvent::SignIn, QStringLiteral("Ann Able"),
                                 QStringLiteral("Read Only"));
        });
        QTest::newRow("restore") << Attempt(
            [] { return RestoreDataSet(QStringLiteral("backup"), DataSetFileNames()); });
    }
    void nothingIsWritten() {
        QFETCH(Attempt, attempt);
        DataFolder folder;
        QVERIFY(folder.ready());
        WriteFolder();
        QVERIFY(QDir().mkdir(QStringLiteral("backup")));
        QVERIFY(WriteBytes(QStringLiteral("backup/Name.List"), QByteArray()));
        const auto before = Snapshot();

        SetReadOnlyStation(true, QStringLiteral("dana on pc-7"));
        const StoreResult result = attempt();
        CloseAll();
        QVERIFY(!result);
        QCOMPARE(result.reason(), ReadOnlyStationReason());
        QCOMPARE(Snapshot(), before);
    }
};

QTEST_GUILESS_MAIN(TestReadOnlyStation)
#include "test_readonlystation.moc"
