#include "support/ListData.h"

#include "forms/ListRecordEditor.h"
#include "store/Formats.h"
#include "store/RecordStore.h"
#include "store/UserLog.h"
#include "support/RecordFiles.h"
#include "support/TestFolder.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTableView>
#include <QTest>

namespace listdata {

double StampOf(int index) {
    return formats::DateValue(QDate(2005, 3, 1), QTime(12, 0)) + index / (24.0 * 60.0);
}

void WritePersons(const QList<Person>& persons) {
    QList<store::PersonRecord> records;
    for (const Person& p : persons) {
        store::PersonRecord& r = records.emplace_back();
        r.DateCreated = formats::WholeSecondValue(StampOf(int(records.size())));
        r.FirstName = p.first;
        r.MiddleName = p.middle;
        r.LastName = p.last;
        r.Organization = p.organization;
        r.Active = p.active ? -1 : 0;
    }
    QVERIFY(recordfiles::WritePersons(records));
}

void WriteCourses(const QList<Course>& courses) {
    QList<store::CourseRecord> records;
    for (const Course& c : courses) {
        store::CourseRecord& r = records.emplace_back();
        r.DateCreated = formats::WholeSecondValue(StampOf(1000 + int(records.size())));
        r.CourseCode = c.code;
        r.CourseName = c.name;
        r.ProvidedBy = c.providedBy;
        r.Hours = c.hours;
    }
    QVERIFY(recordfiles::WriteCourses(records));
}

void WriteTrainings(int count, double courseKey) {
    QList<store::TrainingRecord> records;
    for (int n = 1; n <= count; ++n) {
        store::TrainingRecord& r = records.emplace_back();
        r.TrainingDate = formats::DateValue(QDate(2024, 1, n % 28 + 1));
        r.PersonKey = formats::WholeSecondValue(StampOf(1));
        r.CourseKey = courseKey;
        r.CourseCode = QStringLiteral("FIR-101");
        r.CourseName = QStringLiteral("Firearms Qualification");
        r.Hours = 8;
    }
    QVERIFY(recordfiles::WriteTrainings(records));
}

void WriteUser() {
    auto& table = store::Users();
    QVERIFY(table.Open());
    store::UserRecord& r = table.Buffer();
    r = store::UserRecord();
    r.DateCreated = formats::WholeSecondValue(StampOf(0));
    r.FirstName = QStringLiteral("Ann");
    r.LastName = QStringLiteral("Admin");
    r.Password = store::ScramblePassword(QStringLiteral("secret"));
    r.AccessLevel = 4;
    QVERIFY(table.Write(1));
    table.Close();
}

void SignIn(int accessLevel, const QString& name) {
    TestSession().userName = name;
    TestSession().level = AccessLevelOf(accessLevel);
}

namespace {
void ReportSaved(QWidget* editor, double identity) {
    auto* saving = qobject_cast<ListRecordEditor*>(editor);
    QVERIFY(saving);
    saving->ReportSaved(identity);
}
} // namespace

void SavePerson(const store::PersonRecord& record, qint32 recNum, QWidget* editor) {
    QVERIFY(recordfiles::WritePersons({record}, recNum));
    ReportSaved(editor, record.DateCreated);
}

void SaveCourse(const store::CourseRecord& record, qint32 recNum, QWidget* editor) {
    QVERIFY(recordfiles::WriteCourses({record}, recNum));
    ReportSaved(editor, record.DateCreated);
}

QStringList ColumnTexts(const FlexGrid& grid, int col) {
    QStringList texts;
    for (int row = 1; row < grid.Rows(); ++row)
        texts << grid.TextMatrix(row, col);
    return texts;
}

void MoveMouseOverRow(FlexGrid& grid, int row) {
    auto* view = grid.findChild<QTableView*>();
    QVERIFY(view);
    QWidget* target =
        row == 0 ? static_cast<QWidget*>(view->horizontalHeader()->viewport()) : view->viewport();
    const int y = row == 0 ? 2 : view->rowViewportPosition(row - 1) + 2;
    const QPointF at(5, y);
    QMouseEvent move(QEvent::MouseMove, at, target->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(target, &move);
}

} // namespace listdata
