#pragma once

#include "training/TrainingOpening.h"

#include <QAbstractListModel>
#include <vector>

// The persons a credit may go to and which of them are picked, for the credit window's two
// lists: every person of the Name List in its order, a filter that narrows what the left list
// shows, and the picks, kept whatever is filtered. The lists are models over the Lobby's rows,
// so 30,000 persons open and filter at once.
namespace training {

// Folds a name for finding it: lower case, accents dropped ("Émile" finds "emile").
QString FindingText(const QString& text);

class PersonPicks : public QAbstractListModel {
    Q_OBJECT

public:
    explicit PersonPicks(QList<ListedPerson> persons, QObject* parent = nullptr);

    // The left list: the persons whose name holds `text` anywhere (case and accents ignored);
    // everyone when it is blank.
    void SetFilter(const QString& text);
    int ShownCount() const { return int(shown_.size()); }
    // The person shown in row `row` of the left list.
    const ListedPerson& ShownPerson(int row) const {
        return persons_[std::size_t(shown_[std::size_t(row)])];
    }

    // Picks or unpicks the person in row `row` of the left list.
    void Toggle(int row);
    // Picks every person the filter shows.
    void PickAllShown();
    // Takes out the `pick`-th pick (from 0, in the order of the right list).
    void TakeOut(int pick);
    int PickCount() const { return pickCount_; }
    // The picked persons in the Name List's order, as the right list shows them.
    QList<ListedPerson> Picks() const;

    // The left list.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The right list, which shows the picks.
    QAbstractListModel* PickedList();

signals:
    void PicksChanged();

private:
    class Picked;
    void Changed();

    std::vector<ListedPerson> persons_;
    std::vector<QString> finding_; // FindingText of each name
    std::vector<bool> isPicked_;
    std::vector<int> shown_; // positions in persons_ the left list shows
    int pickCount_ = 0;
    Picked* picked_;
};

} // namespace training
