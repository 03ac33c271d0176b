#include "forms/ImportPlan.h"

#include "store/Clock.h"

namespace forms {

using namespace store::csvimport;

store::StoreResult ImportPlan::Make(const store::csv::Table& table, const ColumnMap& map) {
    if (kind_ == Kind::Training)
        return PlanTrainingImport(table, map, store::CurrentDateTime().date(), training_);
    return PlanPersonImport(table, map, persons_);
}

const std::vector<RowVerdict>& ImportPlan::Rows() const {
    return kind_ == Kind::Training ? training_.rows : persons_.rows;
}

int ImportPlan::Accepted() const {
    return AcceptedCount(Rows());
}

bool ImportPlan::SameVerdicts(const ImportPlan& other) const {
    const auto& mine = Rows();
    const auto& theirs = other.Rows();
    if (kind_ != other.kind_ || mine.size() != theirs.size())
        return false;
    for (std::size_t i = 0; i < mine.size(); ++i) {
        if (mine[i].record != theirs[i].record || mine[i].text != theirs[i].text)
            return false;
    }
    return true;
}

QString ImportPlan::CountsText() const {
    return QStringLiteral("%1 %2, %3 cannot be")
        .arg(Accepted())
        .arg(kind_ == Kind::Training ? WillBeCredited() : WillBeAdded())
        .arg(Rejected());
}

QString ImportPlan::AddedText(int added) const {
    if (kind_ == Kind::Training)
        return added == 1 ? QStringLiteral("1 training record was added.")
                          : QStringLiteral("%1 training records were added.").arg(added);
    return added == 1 ? QStringLiteral("1 person was added to the Name List.")
                      : QStringLiteral("%1 persons were added to the Name List.").arg(added);
}

store::StoreResult ImportPlan::Append(ImportResult& result) {
    result = {};
    store::StoreResult appended;
    if (kind_ == Kind::Training) {
        appended = AppendTrainingImport(training_);
        if (appended)
            result.added = int(training_.records.size());
    } else {
        appended = AppendPersonImport(persons_);
        if (appended && !persons_.persons.empty()) {
            result.added = int(persons_.persons.size());
            result.identity = persons_.persons.front().DateCreated;
        }
    }
    return appended;
}

} // namespace forms
