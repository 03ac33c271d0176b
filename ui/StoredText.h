#pragma once

#include <QString>

// Multi-line boxes show line breaks as LF; the record files keep them as CR LF. A box limited
// to a record field counts what its text will take there.
namespace storedtext {

// The length a text takes in a record: each line break is stored as CR LF.
inline int StoredLength(const QString& plain) {
    return static_cast<int>(plain.size() + plain.count(u'\n'));
}

// The longest beginning of `plain` whose stored length fits `limit`.
inline QString CutToStoredLength(const QString& plain, int limit) {
    int used = 0;
    qsizetype keep = 0;
    for (; keep < plain.size(); ++keep) {
        const int cost = plain.at(keep) == u'\n' ? 2 : 1;
        if (used + cost > limit)
            break;
        used += cost;
    }
    return plain.left(keep);
}

} // namespace storedtext
