#include "store/ImportColumns.h"

#include "store/Codepage.h"
#include "store/ControlCharacters.h"

#include <QRegularExpression>
#include <algorithm>

namespace store::csvimport {

namespace {

struct FieldNames {
    Field field;
    const char* caption;
    // Headings that name the field, as Normalized gives them.
    std::vector<const char*> names;
};

const std::vector<FieldNames>& AllFieldNames() {
    static const std::vector<FieldNames> fields{
        {Field::Identity, "Person Identity", {"identity", "personidentity", "personkey"}},
        {Field::LastName, "Last Name", {"lastname", "last", "surname", "familyname"}},
        {Field::FirstName, "First Name", {"firstname", "first", "givenname"}},
        {Field::MiddleName, "Middle Name", {"middlename", "middle", "middleinitial"}},
        {Field::CourseCode, "Course Code", {"coursecode", "code", "course"}},
        {Field::Date, "Date", {"date", "trainingdate", "datetrained", "datecompleted"}},
        {Field::Hours, "Hours", {"hours", "hrs", "traininghours", "credithours"}},
        {Field::Comments, "Comments", {"comments", "comment", "trainingcomments", "notes"}},
        {Field::Organization, "Organization", {"organization", "organisation", "agency"}},
        {Field::EmployeeID,
         "Employee ID",
         {"employeeid", "employeeno", "employeenumber", "empid", "badge", "badgenumber"}},
        {Field::Active, "Active", {"active", "activeperson", "status"}},
    };
    return fields;
}

const FieldNames& NamesOf(Field field) {
    return AllFieldNames()[std::size_t(field)];
}

// Letters and digits alone, in lower case: "* Last Name" and "last_name" are "lastname".
QString Normalized(const QString& heading) {
    QString letters;
    for (const QChar c : heading) {
        if (c.isLetterOrNumber())
            letters += c.toLower();
    }
    return letters;
}

} // namespace

const std::vector<Field>& FieldsOf(Kind kind) {
    static const std::vector<Field> training{Field::Identity,   Field::LastName,   Field::FirstName,
                                             Field::MiddleName, Field::CourseCode, Field::Date,
                                             Field::Hours,      Field::Comments};
    static const std::vector<Field> persons{
        Field::LastName,   Field::FirstName, Field::MiddleName, Field::Organization,
        Field::EmployeeID, Field::Comments,  Field::Active};
    return kind == Kind::Training ? training : persons;
}

QString Caption(Field field) {
    return QString::fromLatin1(NamesOf(field).caption);
}

void ColumnMap::Set(Field field, int column) {
    if (column >= 0) {
        for (int& fed : column_) {
            if (fed == column)
                fed = -1;
        }
    }
    column_[std::size_t(field)] = std::max(column, -1);
}

ColumnMap MatchColumns(const QStringList& heading, Kind kind) {
    ColumnMap map;
    for (int column = 0; column < heading.size(); ++column) {
        const QString name = Normalized(heading[column]);
        for (Field field : FieldsOf(kind)) {
            const auto& names = NamesOf(field).names;
            const bool named = std::any_of(names.begin(), names.end(),
                                           [&](const char* n) { return name == QLatin1String(n); });
            if (named && map.Column(field) < 0) {
                map.Set(field, column);
                break;
            }
        }
    }
    return map;
}

QStringList MissingFields(const ColumnMap& map, Kind kind) {
    QStringList missing;
    const auto need = [&](Field field) {
        if (map.Column(field) < 0)
            missing << Caption(field);
    };
    if (kind == Kind::Persons || map.Column(Field::Identity) < 0) {
        need(Field::LastName);
        need(Field::FirstName);
    }
    if (kind == Kind::Training) {
        need(Field::CourseCode);
        need(Field::Date);
    }
    return missing;
}

QString Cell(const csv::Record& record, const ColumnMap& map, Field field) {
    const int column = map.Column(field);
    if (column < 0 || column >= record.fields.size())
        return QString();
    return record.fields[column].trimmed();
}

int AcceptedCount(const std::vector<RowVerdict>& rows) {
    return int(std::count_if(rows.begin(), rows.end(),
                             [](const RowVerdict& row) { return row.Accepted(); }));
}

StoreResult WriteRejectedRows(const QString& path, const csv::Table& table,
                              const std::vector<RowVerdict>& rows) {
    csv::FileWriter writer(path);
    if (StoreResult begun = writer.Begin(); !begun)
        return begun;
    QStringList heading = table.records.empty() ? QStringList() : table.records.front().fields;
    writer.WriteRow(heading << QStringLiteral("Reason"));
    for (const RowVerdict& row : rows) {
        if (!row.Accepted())
            writer.WriteRow(QStringList(table.records[std::size_t(row.record)].fields) << row.text);
    }
    return writer.Commit();
}

QString Folded(const QString& text) {
    return text.simplified().toCaseFolded();
}

QString WithCrLf(const QString& text) {
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    return QString(text).replace(breaks, QStringLiteral("\r\n"));
}

Refusal RefusalOf(Reason reason) {
    const auto text = [&]() -> const char* {
        switch (reason) {
        case Reason::None:
            return "";
        case Reason::UnknownPerson:
            return "unknown person";
        case Reason::AmbiguousPerson:
            return "more than one person with that name";
        case Reason::UnknownCourse:
            return "unknown course code";
        case Reason::AmbiguousCourse:
            return "more than one course with that code";
        case Reason::CategoryHeading:
            return "the code of a category heading, which has no hours";
        case Reason::BadDate:
            return "bad date";
        case Reason::ImplausibleDate:
            return "implausible date (before 1955 or after the end of next year)";
        case Reason::BadHours:
            return "hours not a number above 0";
        case Reason::OnFile:
            return "the same person, course and date already on file";
        case Reason::IdOnFile:
            return "employee ID already on file";
        case Reason::NameOnFile:
            return "full name already on file";
        case Reason::MissingLastName:
            return "missing last name";
        case Reason::MissingFirstName:
            return "missing first name";
        case Reason::MarkerName:
            return "\"$Killed$\" cannot be a first name: it marks records being removed";
        case Reason::BadActive:
            return "Active is neither yes nor no";
        case Reason::Ragged:
        case Reason::Unstorable:
        case Reason::TooLong:
        case Reason::EarlierInFile:
        case Reason::IdEarlierInFile:
        case Reason::NameEarlierInFile:
            break;
        }
        return "cannot be imported";
    };
    return {reason, QString::fromUtf8(text())};
}

Refusal RaggedRow(const csv::Table& table, const csv::Record& record) {
    const qsizetype heading = table.records.front().fields.size();
    if (record.fields.size() == heading)
        return {};
    return {Reason::Ragged, QStringLiteral("%1 fields where the heading has %2")
                                .arg(record.fields.size())
                                .arg(heading)};
}

Refusal TextRefusal(Field field, const QString& text, int width, bool lineBreaks) {
    const LineBreaks breaks = lineBreaks ? LineBreaks::Allowed : LineBreaks::Refused;
    if (FirstControlCharacter(text, breaks) >= 0 || KeepCodepage(text) != text)
        return {
            Reason::Unstorable,
            QStringLiteral("text with characters the files cannot hold (%1)").arg(Caption(field))};
    if (text.size() > width)
        return {Reason::TooLong, QStringLiteral("%1 too long for its field (at most %2 "
                                                "characters)")
                                     .arg(Caption(field))
                                     .arg(width)};
    return {};
}

Refusal EarlierRefusal(Reason reason, int line) {
    const char* what = reason == Reason::IdEarlierInFile     ? "employee ID"
                       : reason == Reason::NameEarlierInFile ? "full name"
                                                             : "the same person, course and date";
    return {
        reason,
        QStringLiteral("%1 also on line %2 of this file").arg(QString::fromLatin1(what)).arg(line)};
}

} // namespace store::csvimport
