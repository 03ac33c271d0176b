#include "training/PersonPicks.h"

#include <QColor>

namespace training {

namespace {

// How a person reads in either list: inactive persons are marked, so that "Active and
// Inactive Persons" does not make them look alike.
QString ListedText(const ListedPerson& person) {
    return person.active ? person.name : person.name + QStringLiteral(" (inactive)");
}

QVariant PersonData(const ListedPerson& person, int role) {
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return ListedText(person);
    case Qt::ForegroundRole:
        if (!person.active)
            return QColor(96, 96, 96);
        break;
    case Qt::UserRole:
        return person.recNum;
    default:
        break;
    }
    return {};
}

} // namespace

QString FindingText(const QString& text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing)
            folded += c;
    }
    return folded.toCaseFolded();
}

// The right list: the picks in the Name List's order.
class PersonPicks::Picked : public QAbstractListModel {
public:
    explicit Picked(PersonPicks& picks) : QAbstractListModel(&picks), picks_(picks) {}

    void Refill() {
        beginResetModel();
        rows_.clear();
        for (std::size_t i = 0; i < picks_.persons_.size(); ++i) {
            if (picks_.isPicked_[i])
                rows_.push_back(int(i));
        }
        endResetModel();
    }
    int Position(int row) const { return rows_[std::size_t(row)]; }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : int(rows_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= int(rows_.size()))
            return {};
        return PersonData(picks_.persons_[std::size_t(rows_[std::size_t(index.row())])], role);
    }

private:
    PersonPicks& picks_;
    std::vector<int> rows_;
};

PersonPicks::PersonPicks(QList<ListedPerson> persons, QObject* parent)
    : QAbstractListModel(parent), persons_(persons.begin(), persons.end()),
      isPicked_(persons_.size(), false), picked_(new Picked(*this)) {
    finding_.reserve(persons_.size());
    shown_.reserve(persons_.size());
    for (std::size_t i = 0; i < persons_.size(); ++i) {
        finding_.push_back(FindingText(persons_[i].name));
        shown_.push_back(int(i));
    }
}

void PersonPicks::SetFilter(const QString& text) {
    const QString wanted = FindingText(text.trimmed());
    beginResetModel();
    shown_.clear();
    for (std::size_t i = 0; i < persons_.size(); ++i) {
        if (wanted.isEmpty() || finding_[i].contains(wanted))
            shown_.push_back(int(i));
    }
    endResetModel();
}

void PersonPicks::Toggle(int row) {
    if (row < 0 || row >= ShownCount())
        return;
    const auto person = std::size_t(shown_[std::size_t(row)]);
    isPicked_[person] = !isPicked_[person];
    pickCount_ += isPicked_[person] ? 1 : -1;
    emit dataChanged(index(row), index(row), {Qt::CheckStateRole});
    Changed();
}

void PersonPicks::PickAllShown() {
    for (int person : shown_) {
        if (!isPicked_[std::size_t(person)]) {
            isPicked_[std::size_t(person)] = true;
            ++pickCount_;
        }
    }
    if (!shown_.empty())
        emit dataChanged(index(0), index(ShownCount() - 1), {Qt::CheckStateRole});
    Changed();
}

void PersonPicks::TakeOut(int pick) {
    if (pick < 0 || pick >= picked_->rowCount({}))
        return;
    const int person = picked_->Position(pick);
    isPicked_[std::size_t(person)] = false;
    --pickCount_;
    for (int row = 0; row < ShownCount(); ++row) {
        if (shown_[std::size_t(row)] == person)
            emit dataChanged(index(row), index(row), {Qt::CheckStateRole});
    }
    Changed();
}

QList<ListedPerson> PersonPicks::Picks() const {
    QList<ListedPerson> picks;
    for (std::size_t i = 0; i < persons_.size(); ++i) {
        if (isPicked_[i])
            picks << persons_[i];
    }
    return picks;
}

int PersonPicks::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ShownCount();
}

QVariant PersonPicks::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= ShownCount())
        return {};
    const auto person = std::size_t(shown_[std::size_t(index.row())]);
    if (role == Qt::CheckStateRole)
        return isPicked_[person] ? Qt::Checked : Qt::Unchecked;
    return PersonData(persons_[person], role);
}

QAbstractListModel* PersonPicks::PickedList() {
    return picked_;
}

void PersonPicks::Changed() {
    picked_->Refill();
    emit PicksChanged();
}

} // namespace training
