#include "ui/CaseBlindOrder.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

// Folds the units of [begin, end) in place, a surrogate pair as the one character it is.
void FoldInPlace(QChar* begin, QChar* end) {
    for (QChar* c = begin; c < end; ++c) {
        if (c->isHighSurrogate() && c + 1 < end && c[1].isLowSurrogate()) {
            const char32_t folded = QChar::toCaseFolded(QChar::surrogateToUcs4(c[0], c[1]));
            c[0] = QChar(QChar::highSurrogate(folded));
            c[1] = QChar(QChar::lowSurrogate(folded));
            ++c;
        } else {
            *c = c->toCaseFolded();
        }
    }
}

// Four units from `from` packed with the first in the highest bits; units past `length` are 0.
quint64 Pack(const QChar* from, qsizetype length) {
    quint64 packed = 0;
    for (qsizetype i = 0; i < 4; ++i)
        packed = (packed << 16) | (i < length ? from[i].unicode() : 0u);
    return packed;
}

} // namespace

void CaseBlindOrder::Reserve(std::size_t texts, qsizetype units) {
    keys_.reserve(texts);
    pool_.reserve(units);
}

void CaseBlindOrder::Add(QStringView text) {
    AddWritten([text](QString& pool) { pool.append(text); });
}

void CaseBlindOrder::Close(qsizetype start) {
    const qsizetype length = pool_.size() - start;
    QChar* text = pool_.data() + start;
    FoldInPlace(text, text + length);
    Key key;
    key.head = Pack(text, length);
    key.next = length > 4 ? Pack(text + 4, length - 4) : 0;
    key.start = start;
    key.length = length;
    key.position = static_cast<int>(keys_.size());
    keys_.push_back(key);
}

bool CaseBlindOrder::Less(const Key& a, const Key& b) const {
    if (a.head != b.head)
        return a.head < b.head;
    if (a.next != b.next)
        return a.next < b.next;
    // The first eight units agree (a unit of 0 and the end pack alike; the lengths decide).
    const QStringView restA =
        QStringView(pool_).mid(a.start, a.length).mid(std::min<qsizetype>(8, a.length));
    const QStringView restB =
        QStringView(pool_).mid(b.start, b.length).mid(std::min<qsizetype>(8, b.length));
    const int rest = restA.compare(restB, Qt::CaseSensitive);
    if (rest != 0)
        return rest < 0;
    if (a.length != b.length)
        return a.length < b.length;
    return a.position < b.position;
}

std::vector<int> CaseBlindOrder::Order() const {
    // A comparison sort of thousands of keys spends its time on mispredicted branches. The
    // packed first eight units are put in order instead by a stable radix sort, a byte at a
    // time from the last; a byte that is the same in every key (the high byte of every ASCII
    // unit) costs no pass.
    constexpr int Bytes = 16; // 0 to 7 from `next`, 8 to 15 from `head`, least significant first
    const auto byteOf = [](const Key& key, int byte) {
        const quint64 word = byte < 8 ? key.next : key.head;
        return static_cast<std::size_t>((word >> ((byte % 8) * 8)) & 0xFF);
    };
    std::vector<std::array<std::size_t, 256>> counts(Bytes);
    for (const Key& key : keys_) {
        for (int byte = 0; byte < Bytes; ++byte)
            ++counts[byte][byteOf(key, byte)];
    }
    std::vector<Key> sorted = keys_;
    std::vector<Key> spare(sorted.size());
    for (int byte = 0; byte < Bytes; ++byte) {
        std::array<std::size_t, 256>& count = counts[byte];
        if (std::find(count.begin(), count.end(), sorted.size()) != count.end())
            continue;
        std::size_t next = 0;
        for (std::size_t& c : count)
            next += std::exchange(c, next);
        for (const Key& key : sorted)
            spare[count[byteOf(key, byte)]++] = key;
        sorted.swap(spare);
    }
    // Keys alike in their first eight units are now in the order of adding; where the texts
    // go on beyond them, or hold a unit 0, the rest of the text decides.
    const auto less = [this](const Key& a, const Key& b) { return Less(a, b); };
    for (auto run = sorted.begin(); run != sorted.end();) {
        const auto end = std::find_if(run, sorted.end(), [run](const Key& key) {
            return key.head != run->head || key.next != run->next;
        });
        if (end - run > 1)
            std::sort(run, end, less);
        run = end;
    }
    std::vector<int> order;
    order.reserve(sorted.size());
    for (const Key& key : sorted)
        order.push_back(key.position);
    return order;
}
