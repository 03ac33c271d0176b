#include "search/TrainingSearch.h"

#include "search/FieldMatch.h"
#include "search/PersonLookup.h"
#include "store/FieldEnd.h"
#include "store/Formats.h"
#include "store/RecordStore.h"
#include "store/TrainingDates.h"
#include "store/TrainingScan.h"

#include <QDate>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <limits>

namespace search {

namespace {

constexpr qint64 kRecordLength = store::TrainingRecord::Length;

// Field places in a stored training record.
constexpr int kCodeOffset = 24;
constexpr int kCodeWidth = 8;
constexpr int kCourseNameOffset = 32;
constexpr int kCourseNameWidth = 50;
constexpr int kCommentsOffset = 116;
constexpr int kCommentsWidth = 184;

// Training.Records open for one pass, closed whatever way it ends. A missing file holds no
// records and is not created: a search changes nothing.
class TrainingPass {
public:
    TrainingPass() {
        if (!QFileInfo::exists(store::FileNameOf(store::DataFile::TrainingRecords)))
            return;
        result_ = store::OpenTrainingRecords();
        open_ = result_.ok();
    }
    ~TrainingPass() {
        if (open_)
            store::CloseTrainingRecords();
    }
    TrainingPass(const TrainingPass&) = delete;
    TrainingPass& operator=(const TrainingPass&) = delete;

    const store::StoreResult& Opened() const { return result_; }

    // Calls `visit(block, records, n)` for the n records read of each block of the date
    // summary (TrainingDates), in order, until it returns false; tells the progress. With a
    // span, the blocks that hold no date of it are passed over unread.
    template <class Visit>
    store::StoreResult Run(const Progress& progress, std::optional<store::DateSpan> span,
                           Visit&& visit) {
        ProgressReport report(progress);
        if (!open_) {
            report.Done();
            return store::StoreResult::Ok();
        }
        const qint64 count = store::TrainingCount();
        store::TrainingScan scan(span);
        // A run of blocks read at a time; each run begins with a block.
        bool going = true;
        while (going && scan.NextRun()) {
            report.At(qint64(scan.RecordNumber()) * 100 / count);
            const qint64 first = scan.RecordNumber() - 1; // from 0
            for (qint32 done = 0; going && done < scan.RunRecords();) {
                const qint32 n = std::min(store::kTrainingBlock, scan.RunRecords() - done);
                going = visit((first + done) / store::kTrainingBlock,
                              scan.Bytes() + qint64(done) * kRecordLength, n);
                done += n;
            }
        }
        if (!scan.Result())
            return scan.Result();
        report.Done();
        return store::StoreResult::Ok();
    }

private:
    store::StoreResult result_;
    bool open_ = false;
};

// Whether a record's date falls on the days `first` to `last`, both included. The stored
// value alone turns away every date more than a day from either end (all of them, for a year
// out of twenty); the rest are placed by DayNumber. The quick test needs the window to start
// after the first days of the base date, where the values before it count backwards.
class DayWindow {
public:
    DayWindow(qint64 first, qint64 last)
        : first_(first), last_(last), low_(double(first) - 1.0), high_(double(last) + 2.0),
          quick_(first >= 2) {
        // From the first midnight to half past noon of the last day every stored value is
        // in the window, whatever its seconds round to: the quick test answers those too,
        // where both ends are days of the calendar.
        if (quick_ && formats::DayNumber(double(first) + 0.25) == first &&
            formats::DayNumber(double(last) + 0.25) == last) {
            innerLow_ = double(first);
            innerHigh_ = double(last) + 0.5;
        }
    }

    // The stored dates a record in the window can have; none when every record must be looked
    // at.
    std::optional<store::DateSpan> Span() const {
        if (!quick_)
            return std::nullopt;
        return store::DateSpan{low_, high_};
    }

    bool Holds(double date) const {
        if (quick_) {
            if (date < low_ || date > high_)
                return false;
            if (date >= innerLow_ && date < innerHigh_)
                return true;
        }
        const std::optional<qint64> day = formats::DayNumber(date);
        return day && *day >= first_ && *day <= last_;
    }

private:
    qint64 first_;
    qint64 last_;
    double low_;
    double high_;
    bool quick_;
    double innerLow_ = std::numeric_limits<double>::infinity(); // none: every value is placed
    double innerHigh_ = -std::numeric_limits<double>::infinity();
};

// The records whose persons are wanted, looked up kSize at a time: the table places of the
// whole batch are asked for first (PersonLookup::Prefetch), then the persons' own entries,
// then the records are visited, so that the waits for memory overlap instead of adding up.
template <class Item> class OwnerBatch {
public:
    explicit OwnerBatch(const PersonLookup& owners) : owners_(owners) {}

    // True when the batch is full and must be settled before the next record.
    bool Add(double personKey, const Item& item) {
        owners_.Prefetch(personKey);
        keys_[size_] = personKey;
        items_[size_] = item;
        return ++size_ == kSize;
    }

    // Calls `touch(person)` for the first owner of each record held, as soon as it is known,
    // and then `visit(person, item)` for every owner of each record, in the order added.
    template <class Touch, class Visit> void Settle(Touch&& touch, Visit&& visit) {
        for (std::size_t i = 0; i < size_; ++i) {
            firsts_[i] = owners_.First(keys_[i]);
            if (firsts_[i] >= 0)
                touch(firsts_[i]);
        }
        for (std::size_t i = 0; i < size_; ++i) {
            for (int person = firsts_[i]; person >= 0; person = owners_.Next(person))
                visit(person, items_[i]);
        }
        size_ = 0;
    }

private:
    static constexpr std::size_t kSize = 32;
    const PersonLookup& owners_;
    std::size_t size_ = 0;
    std::array<double, kSize> keys_{};
    std::array<Item, kSize> items_{};
    std::array<int, kSize> firsts_{};
};

} // namespace

store::StoreResult FindPersons(std::span<const double> persons, const Criteria& criteria,
                               std::vector<int>& listed, const Progress& progress) {
    listed.clear();
    const PersonLookup owners(persons);
    const FieldMatch code(criteria.code);
    const FieldMatch comment(criteria.comment);
    const FieldMatch courseName(criteria.courseName);
    const bool anyDay = !criteria.fromDay || !criteria.toDay;
    const DayWindow days(criteria.fromDay.value_or(0), criteria.toDay.value_or(0));
    const bool anyCode = code.Empty();
    const bool anyComment = comment.Empty();
    const bool anyCourseName = courseName.Empty();

    // A person with a record satisfying everything is found; the rest of his or her records
    // cannot change that.
    std::vector<char> found(persons.size(), 0);
    std::size_t open = persons.size();
    OwnerBatch<char> batch(owners);
    const auto settle = [&] {
        batch.Settle([](int) {},
                     [&](int person, char) {
                         char& done = found[std::size_t(person)];
                         if (!done) {
                             done = 1;
                             --open;
                         }
                     });
    };
    TrainingPass pass;
    if (!pass.Opened())
        return pass.Opened();
    const std::optional<store::DateSpan> span = anyDay ? std::nullopt : days.Span();
    // Where the comments' text ends in each block, as far as it is known, and learnt here
    // for the blocks next in line: then only the text is looked at.
    store::TrainingDates& summary = store::TrainingDateSummary();
    const bool byBlock = !anyComment && comment.EndsInText();
    const store::StoreResult walked =
        pass.Run(progress, span, [&](qint64 block, const char* records, qint32 n) {
            // -1: not known, each record's comments are looked at up to their padding.
            const int blockEnd = byBlock ? summary.CommentsEnd(block).value_or(-1) : -1;
            if (blockEnd >= 0 && blockEnd < comment.Length())
                return true; // no comments of the block are long enough to hold it
            const bool learning = byBlock && blockEnd < 0 && summary.NextCommentsBlock() == block;
            int longest = 0;
            for (qint32 i = 0; i < n; ++i) {
                const char* record = records + qint64(i) * kRecordLength;
                int textEnd = blockEnd;
                if (!anyComment) {
                    // Comments are stored trimmed and left-aligned: a field that begins with
                    // a blank (or the NUL an older program filled it with) is empty, and most
                    // are.
                    const char first = record[kCommentsOffset];
                    if (first == ' ' || first == '\0')
                        continue;
                    if (learning) {
                        textEnd =
                            int(store::FieldTextEnd(record + kCommentsOffset, kCommentsWidth));
                        longest = std::max(longest, textEnd);
                    }
                }
                // The record is tested cheapest test first: most records fail one of them,
                // and a record that fails needs no look-up of its person.
                if (!anyDay && !days.Holds(store::TrainingRecord::TrainingDateRaw(record)))
                    continue;
                if (!anyCode && !code.FoundIn(record + kCodeOffset, kCodeWidth))
                    continue;
                if (!anyCourseName &&
                    !courseName.FoundIn(record + kCourseNameOffset, kCourseNameWidth))
                    continue;
                if (!anyComment &&
                    !(textEnd >= 0
                          ? comment.FoundBefore(record + kCommentsOffset, textEnd, kCommentsWidth)
                          : comment.FoundIn(record + kCommentsOffset, kCommentsWidth)))
                    continue;
                if (!batch.Add(store::TrainingRecord::PersonKeyRaw(record), {}))
                    continue;
                settle();
                if (open == 0)
                    return false; // everyone found: the rest cannot change the answer
            }
            if (learning)
                summary.LearnCommentsEnd(block, longest);
            return true;
        });
    if (!walked)
        return walked;
    settle();
    for (std::size_t i = 0; i < persons.size(); ++i) {
        if (bool(found[i]) == criteria.listMatching)
            listed.push_back(int(i));
    }
    return store::StoreResult::Ok();
}

store::StoreResult SumYear(std::span<const double> persons, int year, YearSummary& summary,
                           const Progress& progress, const SummaryChoice& choice) {
    summary = YearSummary{};
    const PersonLookup owners(persons);
    const DayWindow days(formats::DayNumberOf(QDate(year, 1, 1)),
                         formats::DayNumberOf(QDate(year, 12, 31)));
    std::vector<store::HoursSum> hours(persons.size());
    std::vector<char> listed(persons.size(), 0);
    OwnerBatch<float> batch(owners);
    const auto settle = [&] {
        batch.Settle([&](int person) { __builtin_prefetch(&hours[std::size_t(person)], 1); },
                     [&](int person, float stored) {
                         hours[std::size_t(person)].Add(stored);
                         listed[std::size_t(person)] = 1;
                     });
    };
    TrainingPass pass;
    if (!pass.Opened())
        return pass.Opened();
    const store::StoreResult walked =
        pass.Run(progress, days.Span(), [&](qint64, const char* records, qint32 n) {
            for (const char* record = records; record < records + qint64(n) * kRecordLength;
                 record += kRecordLength) {
                if (days.Holds(store::TrainingRecord::TrainingDateRaw(record)) &&
                    batch.Add(store::TrainingRecord::PersonKeyRaw(record),
                              store::TrainingRecord::HoursRaw(record)))
                    settle();
            }
            return true;
        });
    if (!walked)
        return walked;
    settle();
    const bool required = choice.required > 0;
    for (std::size_t i = 0; i < persons.size(); ++i) {
        if (!listed[i] && !choice.withoutTraining)
            continue;
        ++summary.summarised;
        const bool below = required && hours[i].Below(choice.required);
        summary.below += below ? 1 : 0;
        if (required && choice.onlyBelow && !below)
            continue;
        summary.total.Add(hours[i]);
        summary.rows.push_back({int(i), std::move(hours[i])});
    }
    return store::StoreResult::Ok();
}

QString UnstorableCharacters(const Criteria& criteria) {
    QString unstorable;
    for (const QString& text : {criteria.code, criteria.courseName, criteria.comment}) {
        for (const QString& character : FieldMatch::Unstorable(text)) {
            if (!unstorable.contains(character))
                unstorable += character;
        }
    }
    return unstorable;
}

} // namespace search
