#pragma once

#include <QString>
#include <QStringView>
#include <vector>

// The order of many texts ignoring case, as the grids sort: by their case-folded UTF-16
// units, shorter first when one is the start of the other, equal texts in the order they
// were added.
//
// Each text is folded once into one shared pool; its first eight folded units are packed into
// two integers, so that most comparisons of a list of thousands compare two numbers and only
// texts sharing their first eight units look further.
class CaseBlindOrder {
public:
    void Reserve(std::size_t texts, qsizetype units);

    void Add(QStringView text);
    // Adds the text that `write` appends to the string it is given.
    template <class Write> void AddWritten(Write&& write) {
        const qsizetype start = pool_.size();
        write(pool_);
        Close(start);
    }

    std::size_t Count() const { return keys_.size(); }
    // The positions (from 0, in the order of adding) of the texts from first to last.
    std::vector<int> Order() const;

private:
    struct Key {
        quint64 head = 0; // folded units 0 to 3, the first in the highest bits; 0 past the end
        quint64 next = 0; // units 4 to 7
        qsizetype start = 0;
        qsizetype length = 0;
        int position = 0;
    };

    void Close(qsizetype start); // folds the text the pool gained since `start` and keys it
    bool Less(const Key& a, const Key& b) const;

    QString pool_;
    std::vector<Key> keys_;
};
