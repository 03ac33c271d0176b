#include "store/ChangeLines.h"

#include "store/Formats.h"
#include "store/HoursSum.h"
#include "store/UserLog.h"

#include <QStringBuilder>
#include <cstring>
#include <utility>

namespace store::changelog {

namespace {

using Values = QList<std::pair<QString, QString>>;

QString Trimmed(const QString& text) {
    return text.trimmed();
}

QString DateText(double value) {
    return formats::MmDdYyyy(value);
}

// Hours as their exact stored decimal (1.2, 0.25): the grid's one decimal would show an edit
// of 12.25 to 12.3 as no change at all.
QString HoursText(float hours) {
    char text[kExactHoursChars];
    return QString::fromLatin1(text, ExactHoursChars(hours, text) - text);
}

// Who or what a record is, and the fields the log shows of it.
struct Described {
    QString kind;
    QString identity;
    QString name;
    QString person;
    QString course;
    Values values;
};

Described Describe(const PersonRecord& r) {
    const QString id = IdentityText(r.DateCreated);
    return {kind::Person,
            id,
            QStringList{Trimmed(r.FirstName), Trimmed(r.LastName)}.join(u' ').trimmed(),
            id,
            QString(),
            {{QStringLiteral("First Name"), Trimmed(r.FirstName)},
             {QStringLiteral("Middle Name"), Trimmed(r.MiddleName)},
             {QStringLiteral("Last Name"), Trimmed(r.LastName)},
             {QStringLiteral("Organization"), Trimmed(r.Organization)},
             {QStringLiteral("Employee ID"), Trimmed(r.EmployeeID)},
             {QStringLiteral("Comments"), Trimmed(r.Comments)},
             {QStringLiteral("Status"),
              r.Active == 0 ? QStringLiteral("Inactive") : QStringLiteral("Active")}}};
}

Described Describe(const CourseRecord& r) {
    const QString id = IdentityText(r.DateCreated);
    return {kind::Course,
            id,
            QStringList{Trimmed(r.CourseCode), Trimmed(r.CourseName)}.join(QStringLiteral(" - ")),
            QString(),
            id,
            {{QStringLiteral("Course Code"), Trimmed(r.CourseCode)},
             {QStringLiteral("Course Name"), Trimmed(r.CourseName)},
             {QStringLiteral("Provided By"), Trimmed(r.ProvidedBy)},
             {QStringLiteral("Hours"), HoursText(r.Hours)},
             {QStringLiteral("Comments"), Trimmed(r.Comments)}}};
}

// A training record has no identity of its own: it is its person's credit of its course on
// its date.
// Each text is made in one go: an import describes thousands of records at once.
Described Describe(const TrainingRecord& r) {
    const QString person = IdentityText(r.PersonKey);
    const QString course = IdentityText(r.CourseKey);
    const QString date = DateText(r.TrainingDate);
    const QString code = Trimmed(r.CourseCode);
    return {kind::Training,
            person % u'/' % course % u'/' % date,
            code % u" on " % date,
            person,
            course,
            {{QStringLiteral("Training Date"), date},
             {QStringLiteral("Course Code"), code},
             {QStringLiteral("Course Name"), Trimmed(r.CourseName)},
             {QStringLiteral("Provided By"), Trimmed(r.ProvidedBy)},
             {QStringLiteral("Hours"), HoursText(r.Hours)},
             {QStringLiteral("Comments"), Trimmed(r.Comments)}}};
}

// The password stays out: only whether it changed is told.
Described Describe(const UserRecord& r) {
    return {kind::User,
            IdentityText(r.DateCreated),
            QStringList{Trimmed(r.FirstName), Trimmed(r.LastName)}.join(u' ').trimmed(),
            QString(),
            QString(),
            {{QStringLiteral("First Name"), Trimmed(r.FirstName)},
             {QStringLiteral("Last Name"), Trimmed(r.LastName)},
             {QStringLiteral("Access Level"), QString::number(r.AccessLevel)},
             {QStringLiteral("Comments"), Trimmed(r.Comments)}}};
}

// `stamped`, as Now made it, told of `d`.
Change Made(Change stamped, Described&& d, QList<FieldChange>&& fields) {
    stamped.identity = std::move(d.identity);
    stamped.name = std::move(d.name);
    stamped.person = std::move(d.person);
    stamped.course = std::move(d.course);
    stamped.fields = std::move(fields);
    return stamped;
}

template <class Record> Change ChangeOf(const Record* before, const Record& after) {
    Described now = Describe(after);
    QList<FieldChange> fields =
        Differences(before ? Describe(*before).values : Values(), now.values);
    return Made(Now(before ? action::Edited : action::Added, now.kind), std::move(now),
                std::move(fields));
}

template <class Record> Change Removal(const char* bytes) {
    Record record = Record::Decode(bytes);
    record.MakeSafe();
    Described d = Describe(record);
    QList<FieldChange> fields = Differences(d.values, Values());
    return Made(Now(action::Removed, d.kind), std::move(d), std::move(fields));
}

} // namespace

Change RecordChange(const PersonRecord* before, const PersonRecord& after) {
    return ChangeOf(before, after);
}

Change RecordChange(const CourseRecord* before, const CourseRecord& after) {
    return ChangeOf(before, after);
}

Change RecordChange(const TrainingRecord* before, const TrainingRecord& after) {
    return ChangeOf(before, after);
}

Change RecordChange(const UserRecord* before, const UserRecord& after) {
    Change change = ChangeOf(before, after);
    // Scrambled anew at every save: the passwords themselves are compared.
    if (before && UnscramblePassword(before->Password) != UnscramblePassword(after.Password))
        change.fields.append({PasswordChanged, QString(), QString()});
    return change;
}

Change RemovalOf(DataFile file, const char* bytes) {
    switch (file) {
    case DataFile::UserList:
        return Removal<UserRecord>(bytes);
    case DataFile::NameList:
        return Removal<PersonRecord>(bytes);
    case DataFile::CourseIndex:
        return Removal<CourseRecord>(bytes);
    case DataFile::TrainingRecords:
        break;
    }
    return Removal<TrainingRecord>(bytes);
}

namespace {

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool SameButPerson(const TrainingRecord& a, const TrainingRecord& b) {
    return SameBits(a.TrainingDate, b.TrainingDate) && SameBits(a.CourseKey, b.CourseKey) &&
           std::memcmp(&a.Hours, &b.Hours, sizeof a.Hours) == 0 && a.CourseCode == b.CourseCode &&
           a.CourseName == b.CourseName && a.ProvidedBy == b.ProvidedBy && a.Comments == b.Comments;
}

} // namespace

QList<Change> TrainingAdded(const std::vector<TrainingRecord>& records, const QString& how) {
    // One unit of work, one time: the clock is asked once, not for each of thousands of lines.
    const Change stamped = Now(how, kind::Training);
    QList<Change> lines;
    lines.reserve(qsizetype(records.size())); // at most a line a record
    for (std::size_t first = 0, end = 0; first < records.size(); first = end) {
        end = first + 1;
        while (end < records.size() && SameButPerson(records[first], records[end]))
            ++end;
        Described d = Describe(records[first]);
        if (end - first > 1) {
            // The run is told once: its course and date, and every person it credits.
            QStringList persons;
            persons.reserve(qsizetype(end - first));
            for (std::size_t i = first; i < end; ++i)
                persons.append(IdentityText(records[i].PersonKey));
            d.identity = QStringList{d.course, DateText(records[first].TrainingDate)}.join(u'/');
            d.person = persons.join(PersonSeparator);
            d.values.append({QStringLiteral("Persons"), QString::number(end - first)});
        }
        QList<FieldChange> fields = Differences(Values(), d.values);
        lines.append(Made(stamped, std::move(d), std::move(fields)));
    }
    return lines;
}

} // namespace store::changelog
