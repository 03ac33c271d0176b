#include "store/PersonImport.h"

#include "store/ChangeLines.h"

#include "store/Clock.h"
#include "store/Codepage.h"
#include "store/RecordStore.h"

#include <QHash>
#include <QLocale>

namespace store::csvimport {

namespace {

constexpr int kCommentsWidth = 890;

QString FullName(const QString& last, const QString& first, const QString& middle) {
    return Folded(last) + u'\n' + Folded(first) + u'\n' + Folded(middle);
}

QString ShownField(const char* bytes, FieldSpan span) {
    return TrimField(DecodeField(bytes + span.offset, span.width));
}

// The employee IDs and full names on file (folded), and what the rows add to them: each with
// the line that had it first, 0 for one on file.
struct Taken {
    QHash<QString, int> ids;
    QHash<QString, int> names;

    StoreResult Load() {
        return ForEachLivePerson([this](const char* b) {
            const QString id = Folded(ShownField(b, PersonRecord::EmployeeIDSpan));
            if (!id.isEmpty())
                ids.insert(id, 0);
            names.insert(FullName(ShownField(b, PersonRecord::LastNameSpan),
                                  ShownField(b, PersonRecord::FirstNameSpan),
                                  ShownField(b, PersonRecord::MiddleNameSpan)),
                         0);
        });
    }
};

std::optional<qint16> ReadActive(const QString& text) {
    const QString answer = Folded(text);
    static const QStringList yes = {"",   "yes", "y",      "true",         "1",
                                    "-1", "x",   "active", "active person"};
    static const QStringList no = {"no", "n", "false", "0", "inactive", "inactive person"};
    if (yes.contains(answer))
        return qint16(-1);
    if (no.contains(answer))
        return qint16(0);
    return std::nullopt;
}

// Everything a row says on its own; the names and IDs taken are looked at after.
Refusal JudgeRow(const csv::Table& table, const csv::Record& row, const ColumnMap& map,
                 PersonRecord& person) {
    if (Refusal ragged = RaggedRow(table, row))
        return ragged;
    person.LastName = Cell(row, map, Field::LastName);
    person.FirstName = Cell(row, map, Field::FirstName);
    person.MiddleName = Cell(row, map, Field::MiddleName);
    person.Organization = Cell(row, map, Field::Organization);
    person.EmployeeID = Cell(row, map, Field::EmployeeID);
    person.Comments = WithCrLf(Cell(row, map, Field::Comments));
    if (person.LastName.isEmpty())
        return RefusalOf(Reason::MissingLastName);
    if (person.FirstName.isEmpty())
        return RefusalOf(Reason::MissingFirstName);
    if (person.IsMarked())
        return RefusalOf(Reason::MarkerName);
    const struct {
        Field field;
        const QString& text;
        FieldSpan span;
    } texts[] = {
        {Field::LastName, person.LastName, PersonRecord::LastNameSpan},
        {Field::FirstName, person.FirstName, PersonRecord::FirstNameSpan},
        {Field::MiddleName, person.MiddleName, PersonRecord::MiddleNameSpan},
        {Field::Organization, person.Organization, PersonRecord::OrganizationSpan},
        {Field::EmployeeID, person.EmployeeID, PersonRecord::EmployeeIDSpan},
    };
    for (const auto& t : texts) {
        if (Refusal refused = TextRefusal(t.field, t.text, t.span.width, false))
            return refused;
    }
    if (Refusal refused = TextRefusal(Field::Comments, person.Comments, kCommentsWidth, true))
        return refused;
    const std::optional<qint16> active = ReadActive(Cell(row, map, Field::Active));
    if (!active)
        return RefusalOf(Reason::BadActive);
    person.Active = *active;
    return {};
}

// Whether `key` is taken in `taken` (on file or on an earlier row); takes it when not.
Refusal Take(QHash<QString, int>& taken, const QString& key, int line, Reason onFile,
             Reason earlier) {
    const auto found = taken.constFind(key);
    if (found == taken.cend()) {
        taken.insert(key, line);
        return {};
    }
    return *found == 0 ? RefusalOf(onFile) : EarlierRefusal(earlier, *found);
}

} // namespace

QString WillBeAdded() {
    return QStringLiteral("will be added");
}

StoreResult PlanPersonImport(const csv::Table& table, const ColumnMap& map, PersonImport& plan) {
    plan = PersonImport{};
    Taken taken;
    if (StoreResult loaded = taken.Load(); !loaded)
        return loaded;
    for (std::size_t i = 1; i < table.records.size(); ++i) {
        const csv::Record& row = table.records[i];
        PersonRecord person;
        Refusal refused = JudgeRow(table, row, map, person);
        const QString id = Folded(person.EmployeeID);
        if (!refused && !id.isEmpty())
            refused = Take(taken.ids, id, row.line, Reason::IdOnFile, Reason::IdEarlierInFile);
        if (!refused)
            refused =
                Take(taken.names, FullName(person.LastName, person.FirstName, person.MiddleName),
                     row.line, Reason::NameOnFile, Reason::NameEarlierInFile);
        plan.rows.push_back({int(i), refused.reason, refused ? refused.text : WillBeAdded()});
        if (!refused)
            plan.persons.push_back(person);
    }
    return StoreResult::Ok();
}

StoreResult AppendPersonImport(PersonImport& plan, qint32* firstNumber) {
    if (plan.persons.empty())
        return StoreResult::Ok();
    auto& persons = Persons();
    StoreResult result = persons.Open();
    const qint64 count = persons.Count();
    const qint64 adding = qint64(plan.persons.size());
    if (result && adding > MaxListRecords - count)
        result = StoreResult::Full(
            persons.File().FileName(),
            QStringLiteral("The list holds %1 persons and cannot hold more than %2; %3 more "
                           "would not fit. Nothing was saved.")
                .arg(QLocale(QLocale::English).toString(count),
                     QLocale(QLocale::English).toString(MaxListRecords),
                     QLocale(QLocale::English).toString(adding)));
    // The stamps are the persons' identities: none may be one a person on file carries.
    std::vector<double> stamps;
    if (result)
        result = UniqueDatesCreated(DataFile::NameList, CurrentDateValue(), int(adding), stamps);
    if (result) {
        QByteArray bytes;
        bytes.reserve(adding * PersonRecord::Length);
        QList<changelog::Change> lines;
        for (std::size_t i = 0; i < plan.persons.size(); ++i) {
            plan.persons[i].DateCreated = stamps[i];
            bytes += plan.persons[i].Encode();
            changelog::Change& line =
                lines.emplaceBack(changelog::RecordChange(nullptr, plan.persons[i]));
            line.action = changelog::action::Imported;
        }
        persons.File().SetChanges(std::move(lines));
        result = persons.File().AppendRecords(bytes);
    }
    if (result && firstNumber)
        *firstNumber = qint32(count + 1);
    persons.Close();
    return result;
}

} // namespace store::csvimport
