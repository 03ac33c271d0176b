#pragma once

#include "store/Records.h"

#include <QList>
#include <QString>
#include <utility>

class FlexGrid;
class QWidget;

// Data files, the signed-in user and grid readings for the tests of the list pages and the
// windows opened from them. Records get creation stamps one minute apart from 1 March 2005
// 12:00 on, so every person and course has its own identity.
namespace listdata {

struct Person {
    Person(QString firstName, QString lastName, QString middleName = {}, bool isActive = true,
           QString organizationName = {})
        : first(std::move(firstName)), last(std::move(lastName)), middle(std::move(middleName)),
          active(isActive), organization(std::move(organizationName)) {}
    QString first;
    QString last;
    QString middle;
    bool active;
    QString organization;
};

struct Course {
    Course(QString courseCode, QString courseName, float courseHours, QString provider = {})
        : code(std::move(courseCode)), name(std::move(courseName)), hours(courseHours),
          providedBy(std::move(provider)) {}
    QString code;
    QString name;
    float hours;
    QString providedBy;
};

double StampOf(int index); // 1 March 2005 12:00 + index minutes
void WritePersons(const QList<Person>& persons);
void WriteCourses(const QList<Course>& courses);
void WriteTrainings(int count, double courseKey); // records for person 1, all of one course
void WriteUser();                                 // User.List with one user

// The signed-in user the pages show.
void SignIn(int accessLevel, const QString& name = QStringLiteral("Ann Admin"));

// What an editor does when the user saves: writes `record` at `recNum` (appending when it is
// the count + 1) and reports the save from `editor` (the record editor shown).
void SavePerson(const store::PersonRecord& record, qint32 recNum, QWidget* editor);
void SaveCourse(const store::CourseRecord& record, qint32 recNum, QWidget* editor);

// The texts of one grid column, data rows only.
QStringList ColumnTexts(const FlexGrid& grid, int col);

// Moves the mouse over grid row `row` (0 the heading) and lets the grid report it.
void MoveMouseOverRow(FlexGrid& grid, int row);

} // namespace listdata
