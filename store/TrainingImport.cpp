#include "store/TrainingImport.h"

#include "store/ChangeLog.h"

#include "store/Codepage.h"
#include "store/Formats.h"
#include "store/PersonTraining.h"
#include "store/RecordScan.h"
#include "store/RecordStore.h"
#include "store/TrainingScan.h"
#include "store/TypedDate.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <limits>

namespace store::csvimport {

namespace {

constexpr int kCommentsWidth = 184;

// Keys are compared by the whole second they name, as PersonKeyMatch does; a value that is no
// date counts as one shared second, so that it is never taken for new.
qint64 SecondOf(double key) {
    return KeySecond(key).value_or(std::numeric_limits<qint64>::min());
}

// Whether a middle name from a row names a person's middle name: the same name, or one is
// the other's initial ("J" or "J." for "James").
bool MiddleMatches(const QString& wanted, const QString& listed) {
    if (wanted == listed)
        return true;
    const auto initial = [](const QString& name) {
        return name.size() == 1 || (name.size() == 2 && name[1] == u'.');
    };
    if (wanted.isEmpty() || listed.isEmpty())
        return false;
    return (initial(wanted) || initial(listed)) && wanted[0] == listed[0];
}

QString ShownField(const char* bytes, FieldSpan span) {
    return Folded(TrimField(DecodeField(bytes + span.offset, span.width)));
}

// The persons of Name.List, found by name or by identity.
class PersonIndex {
public:
    StoreResult Load() {
        return ForEachLivePerson([this](const char* bytes) {
            const int index = int(keys_.size());
            keys_.push_back(PersonRecord::DateCreatedRaw(bytes));
            middles_.push_back(ShownField(bytes, PersonRecord::MiddleNameSpan));
            byName_[NameKey(ShownField(bytes, PersonRecord::LastNameSpan),
                            ShownField(bytes, PersonRecord::FirstNameSpan))]
                .push_back(index);
            bySecond_[SecondOf(keys_.back())].push_back(index);
        });
    }

    // The persons a row names; more than one when the name does not tell them apart.
    std::vector<int> Named(const QString& last, const QString& first, const QString& middle) const {
        std::vector<int> found = byName_.value(NameKey(Folded(last), Folded(first)));
        const QString wanted = Folded(middle);
        if (!wanted.isEmpty())
            std::erase_if(found, [&](int i) { return !MiddleMatches(wanted, middles_[i]); });
        return found;
    }

    // The persons an identity names, as exported (the exact day count) or as the lists show
    // it (the general date and time).
    std::vector<int> Identified(const QString& text) const {
        std::optional<double> key;
        if (formats::IsNumeric(text))
            key = formats::LeadingNumber(text);
        else
            key = formats::ParseGeneralDate(text);
        if (!key || !KeySecond(*key))
            return {};
        return bySecond_.value(*KeySecond(*key));
    }

    double Key(int index) const { return keys_[std::size_t(index)]; }

private:
    static QString NameKey(const QString& last, const QString& first) {
        return last + u'\n' + first;
    }

    std::vector<double> keys_;
    std::vector<QString> middles_;
    QHash<QString, std::vector<int>> byName_;
    QHash<qint64, std::vector<int>> bySecond_;
};

// The courses of Course.Index by code.
class CourseIndex {
public:
    StoreResult Load() {
        auto& courses = Courses();
        StoreResult result = courses.OpenForReading();
        if (result) {
            RecordScan scan(courses.File());
            while (scan.Next()) {
                if (CourseRecord::IsMarkedRaw(scan.Bytes()))
                    continue;
                CourseRecord& course = courses_.emplace_back(CourseRecord::Decode(scan.Bytes()));
                course.MakeSafe();
                byCode_[Folded(TrimField(course.CourseCode))].push_back(int(courses_.size() - 1));
            }
            result = scan.Result();
        }
        courses.Close();
        return result;
    }

    // The one course of `code` that can be credited, or why there is none.
    Refusal Find(const QString& code, const CourseRecord*& found) const {
        found = nullptr;
        const std::vector<int> named = byCode_.value(Folded(code));
        if (named.empty())
            return RefusalOf(Reason::UnknownCourse);
        for (int i : named) {
            // A category heading has no hours: there is nothing to credit.
            if (!(courses_[std::size_t(i)].Hours > 0))
                continue;
            if (found)
                return RefusalOf(Reason::AmbiguousCourse);
            found = &courses_[std::size_t(i)];
        }
        return found ? Refusal{} : RefusalOf(Reason::CategoryHeading);
    }

private:
    std::vector<CourseRecord> courses_;
    QHash<QString, std::vector<int>> byCode_;
};

// A person, course and day: the same three twice are the same training.
struct Credit {
    qint64 person = 0;
    qint64 course = 0;
    qint64 day = 0;
    bool operator==(const Credit&) const = default;
};

size_t qHash(const Credit& c, size_t seed = 0) {
    return qHashMulti(seed, c.person, c.course, c.day);
}

// Hours from a row: none when it gives none, or why they cannot be.
Refusal ReadHours(const QString& text, std::optional<float>& hours) {
    hours.reset();
    if (text.isEmpty())
        return {};
    const double value = formats::LeadingNumber(text);
    if (!formats::IsNumeric(text) || !formats::FitsSingle(value) || !(value > 0))
        return RefusalOf(Reason::BadHours);
    hours = static_cast<float>(value);
    return {};
}

// The person a row names, or why none.
Refusal FindPerson(const PersonIndex& persons, const csv::Record& row, const ColumnMap& map,
                   int& person) {
    const QString identity = Cell(row, map, Field::Identity);
    const std::vector<int> found =
        !identity.isEmpty()
            ? persons.Identified(identity)
            : persons.Named(Cell(row, map, Field::LastName), Cell(row, map, Field::FirstName),
                            Cell(row, map, Field::MiddleName));
    if (found.empty())
        return RefusalOf(Reason::UnknownPerson);
    if (found.size() > 1)
        return RefusalOf(Reason::AmbiguousPerson);
    person = found.front();
    return {};
}

// Everything a row says on its own; the duplicates are found after.
Refusal JudgeRow(const csv::Table& table, const csv::Record& row, const ColumnMap& map,
                 const QDate& today, const PersonIndex& persons, const CourseIndex& courses,
                 TrainingRecord& record) {
    if (Refusal ragged = RaggedRow(table, row))
        return ragged;
    int person = -1;
    if (Refusal refused = FindPerson(persons, row, map, person))
        return refused;
    const CourseRecord* course = nullptr;
    if (Refusal refused = courses.Find(Cell(row, map, Field::CourseCode), course))
        return refused;
    const std::optional<TypedDate> date = ReadTypedDate(Cell(row, map, Field::Date), today);
    // A date without a year would be this year's: a history has no such rows.
    if (!date || date->yearAdded)
        return RefusalOf(Reason::BadDate);
    if (!date->plausible)
        return RefusalOf(Reason::ImplausibleDate);
    std::optional<float> hours;
    if (Refusal refused = ReadHours(Cell(row, map, Field::Hours), hours))
        return refused;
    const QString comments = WithCrLf(Cell(row, map, Field::Comments));
    if (Refusal refused = TextRefusal(Field::Comments, comments, kCommentsWidth, true))
        return refused;
    record = CreditedRecord(*course, persons.Key(person), date->value, comments);
    if (hours)
        record.Hours = *hours;
    return {};
}

} // namespace

QString WillBeCredited() {
    return QStringLiteral("will be credited");
}

StoreResult PlanTrainingImport(const csv::Table& table, const ColumnMap& map, const QDate& today,
                               TrainingImport& plan) {
    plan = TrainingImport{};
    PersonIndex persons;
    CourseIndex courses;
    if (StoreResult loaded = persons.Load(); !loaded)
        return loaded;
    if (StoreResult loaded = courses.Load(); !loaded)
        return loaded;

    // Each row on its own, and against the rows before it.
    std::vector<TrainingRecord> candidates(table.records.size());
    QHash<Credit, std::size_t> credits; // the row that has it first
    QSet<qint64> creditedPersons;
    DateSpan span{std::numeric_limits<double>::max(), std::numeric_limits<double>::lowest()};
    for (std::size_t i = 1; i < table.records.size(); ++i) {
        const csv::Record& row = table.records[i];
        TrainingRecord& record = candidates[i];
        Refusal refused = JudgeRow(table, row, map, today, persons, courses, record);
        if (!refused) {
            const Credit credit{SecondOf(record.PersonKey), SecondOf(record.CourseKey),
                                formats::DayNumber(record.TrainingDate).value_or(0)};
            if (const auto first = credits.constFind(credit); first != credits.cend()) {
                refused = EarlierRefusal(Reason::EarlierInFile, table.records[*first].line);
            } else {
                credits.insert(credit, i);
                creditedPersons.insert(credit.person);
                span.low = std::min(span.low, record.TrainingDate - 1);
                span.high = std::max(span.high, record.TrainingDate + 1);
            }
        }
        plan.rows.push_back({int(i), refused.reason, refused ? refused.text : WillBeCredited()});
    }

    // One pass over the training records on file, looking only at the rows' persons and days.
    if (!credits.isEmpty()) {
        auto& trainings = Trainings();
        StoreResult opened = trainings.OpenForReading();
        if (!opened)
            return opened;
        TrainingScan scan(span);
        while (scan.Next()) {
            const char* bytes = scan.Bytes();
            const qint64 person = SecondOf(TrainingRecord::PersonKeyRaw(bytes));
            if (!creditedPersons.contains(person) || TrainingRecord::IsMarkedRaw(bytes))
                continue;
            const std::optional<qint64> day =
                formats::DayNumber(TrainingRecord::TrainingDateRaw(bytes));
            const auto row = credits.constFind(
                {person, SecondOf(TrainingRecord::CourseKeyRaw(bytes)), day.value_or(0)});
            if (!day || row == credits.cend())
                continue;
            RowVerdict& verdict = plan.rows[*row - 1];
            const Refusal onFile = RefusalOf(Reason::OnFile);
            verdict.reason = onFile.reason;
            verdict.text = onFile.text;
        }
        const StoreResult scanned = scan.Result();
        trainings.Close();
        if (!scanned) {
            plan = TrainingImport{};
            return scanned;
        }
    }
    for (const RowVerdict& row : plan.rows) {
        if (row.Accepted())
            plan.records.push_back(candidates[std::size_t(row.record)]);
    }
    return StoreResult::Ok();
}

StoreResult AppendTrainingImport(const TrainingImport& plan, qint32* firstNumber) {
    if (plan.records.empty())
        return StoreResult::Ok();
    return AppendTrainingRecords(plan.records, firstNumber, changelog::action::Imported);
}

} // namespace store::csvimport
