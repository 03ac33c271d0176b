#include "search/WhoIsDue.h"

#include "search/PersonLookup.h"
#include "store/CourseKeyMatch.h"
#include "store/Formats.h"
#include "store/RecordScan.h"
#include "store/RecordStore.h"
#include "store/Records.h"
#include "store/TrainingScan.h"

#include <QFileInfo>
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <limits>

namespace search {

namespace {

constexpr double kNever = std::numeric_limits<double>::quiet_NaN();
constexpr int kCodeOffset = store::TrainingRecord::CourseCopySpan.offset;

// The courses with a rule that Course.Index holds, by code and then name. A rule whose course
// is gone asks for nothing.
store::StoreResult ReadRuledCourses(const store::TrainingRules& rules,
                                    std::vector<DueCourse>& courses) {
    auto& file = store::Courses();
    store::StoreResult result = file.OpenForReading();
    if (result) {
        store::RecordScan scan(file.File());
        while (scan.Next()) {
            const char* bytes = scan.Bytes();
            if (store::CourseRecord::IsMarkedRaw(bytes))
                continue;
            const store::CourseRule rule = rules.RuleOf(store::CourseRecord::DateCreatedRaw(bytes));
            if (rule.IsEmpty())
                continue;
            store::CourseRecord course = store::CourseRecord::Decode(bytes);
            course.MakeSafe();
            courses.push_back({course.DateCreated, course.CourseCode.trimmed(),
                               course.CourseName.trimmed(), rule});
        }
        result = scan.Result();
    }
    file.Close();
    std::stable_sort(courses.begin(), courses.end(), [](const DueCourse& a, const DueCourse& b) {
        if (const int byCode = a.code.compare(b.code, Qt::CaseInsensitive); byCode != 0)
            return byCode < 0;
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    return result;
}

// From a record's CourseKey to the courses with a rule it names. A file holds the credits of
// a few hundred courses, each under one key: the answer for each key is kept.
class CourseKeys {
public:
    explicit CourseKeys(const std::vector<DueCourse>& courses) : slots_(kSlots) {
        for (std::size_t i = 0; i < courses.size(); ++i) {
            keys_.push_back({store::CourseKeyMatch(courses[i].identity), int(i)});
            widest_ = std::max(widest_, keys_.back().match.Near());
        }
        std::sort(keys_.begin(), keys_.end(),
                  [](const Key& a, const Key& b) { return a.match.Key() < b.match.Key(); });
    }

    // Calls `visit(course)` for each course `key` names; most keys name none.
    template <class Visit> void ForEach(double key, Visit&& visit) {
        Slot& slot = slots_[SlotOf(key)];
        if (!slot.filled || !(slot.key == key))
            slot = Find(key);
        for (int i = slot.first; i < slot.end; ++i)
            visit(found_[std::size_t(i)]);
    }

private:
    static constexpr std::size_t kSlots = 1024;
    struct Key {
        store::CourseKeyMatch match;
        int course;
    };
    struct Slot {
        double key = 0;
        bool filled = false;
        int first = 0; // the courses named, found_[first] to found_[end - 1]
        int end = 0;
    };
    static std::size_t SlotOf(double key) {
        return std::size_t((std::bit_cast<quint64>(key) * 0x9E3779B97F4A7C15ull) >> 54) &
               (kSlots - 1);
    }
    Slot Find(double key) {
        // Keys that push answers out of their slots again and again would fill found_.
        if (found_.size() > 64 * kSlots) {
            found_.clear();
            std::fill(slots_.begin(), slots_.end(), Slot{});
        }
        Slot slot{key, true, int(found_.size()), 0};
        const auto first =
            std::lower_bound(keys_.begin(), keys_.end(), key - widest_,
                             [](const Key& entry, double low) { return entry.match.Key() < low; });
        for (auto it = first; it != keys_.end() && it->match.Key() <= key + widest_; ++it) {
            if (it->match(key))
                found_.push_back(it->course);
        }
        slot.end = int(found_.size());
        return slot;
    }

    std::vector<Key> keys_;
    double widest_ = 0;
    std::vector<Slot> slots_;
    std::vector<int> found_;
};

// The credits of courses with a rule, settled kSize at a time. With tens of thousands of
// persons the table of persons and the latest dates outgrow the processor's nearer caches:
// the places of a whole batch are asked for first (PersonLookup::Prefetch, then the persons'
// rows of latest dates), so that the waits for memory overlap instead of adding up.
class CreditBatch {
public:
    CreditBatch(const PersonLookup& owners, double* latest, std::size_t width)
        : owners_(owners), latest_(latest), width_(width) {}

    // True when the batch is full and must be settled before the next credit.
    bool Add(double personKey, double date, int course) {
        owners_.Prefetch(personKey);
        items_[size_] = {personKey, date, course, -1};
        return ++size_ == kSize;
    }

    void Settle() {
        for (std::size_t i = 0; i < size_; ++i) {
            Item& item = items_[i];
            item.person = owners_.First(item.personKey);
            if (item.person >= 0)
                __builtin_prefetch(RowOf(item.person) + item.course, 1);
        }
        for (std::size_t i = 0; i < size_; ++i) {
            const Item& item = items_[i];
            for (int person = item.person; person >= 0; person = owners_.Next(person)) {
                double& latest = RowOf(person)[item.course];
                // NaN (never credited) is below every date.
                if (!(latest >= item.date))
                    latest = item.date;
            }
        }
        size_ = 0;
    }

private:
    static constexpr std::size_t kSize = 32;
    struct Item {
        double personKey = 0;
        double date = 0;
        int course = 0;
        int person = -1; // the first owner, once settled
    };
    double* RowOf(int person) const { return latest_ + std::size_t(person) * width_; }

    const PersonLookup& owners_;
    double* latest_;
    std::size_t width_;
    std::array<Item, kSize> items_{};
    std::size_t size_ = 0;
};

// The one pass: every record of a course with a rule moves its persons' latest date on.
store::StoreResult ScanCredits(std::span<const double> persons, LatestCredits& credits,
                               ProgressReport& report) {
    if (!QFileInfo::exists(store::FileNameOf(store::DataFile::TrainingRecords)))
        return store::StoreResult::Ok(); // no file, no credits; a listing creates nothing
    auto& file = store::Trainings();
    if (const store::StoreResult opened = file.OpenForReading(); !opened)
        return opened;
    const PersonLookup owners(persons);
    CourseKeys courses(credits.courses);
    CreditBatch batch(owners, credits.latest.data(), credits.courses.size());
    const qint64 count = std::max<qint64>(1, file.Count());
    store::TrainingScan scan;
    while (scan.NextRun()) {
        report.At(qint64(scan.RecordNumber()) * 100 / count);
        const char* end = scan.Bytes() + qint64(scan.RunRecords()) * store::TrainingRecord::Length;
        for (const char* record = scan.Bytes(); record < end;
             record += store::TrainingRecord::Length) {
            courses.ForEach(store::TrainingRecord::CourseKeyRaw(record), [&](int course) {
                // Only a marker begins with "$"; the full test is left to those few.
                if (record[kCodeOffset] == '$' && store::TrainingRecord::IsMarkedRaw(record))
                    return;
                if (batch.Add(store::TrainingRecord::PersonKeyRaw(record),
                              store::TrainingRecord::TrainingDateRaw(record), course))
                    batch.Settle();
            });
        }
    }
    batch.Settle();
    store::StoreResult result = scan.Result();
    file.Close();
    return result;
}

bool Contains(const QString& text, const QString& part) {
    return part.isEmpty() || text.contains(part, Qt::CaseInsensitive);
}

} // namespace

std::optional<double> LatestCredits::Latest(std::size_t person, std::size_t course) const {
    const double date = latest[person * courses.size() + course];
    if (std::isnan(date))
        return std::nullopt;
    return date;
}

store::StoreResult ReadLatestCredits(std::span<const double> persons, LatestCredits& credits,
                                     const Progress& progress) {
    credits = LatestCredits{};
    credits.persons = persons.size();
    ProgressReport report(progress);
    store::TrainingRules rules;
    if (const store::StoreResult read = store::ReadTrainingRules(rules); !read)
        return read;
    if (!rules.courses.empty()) {
        if (const store::StoreResult read = ReadRuledCourses(rules, credits.courses); !read)
            return read;
    }
    credits.latest.assign(persons.size() * credits.courses.size(), kNever);
    if (!credits.latest.empty()) {
        if (const store::StoreResult scanned = ScanCredits(persons, credits, report); !scanned)
            return scanned;
    }
    report.Done();
    return store::StoreResult::Ok();
}

std::vector<DueRow> WhoIsDue(const LatestCredits& credits, std::span<const PersonRow> persons,
                             const DueQuery& query) {
    std::vector<DueRow> rows;
    if (!query.date.isValid() || query.windowDays < 0)
        return rows;
    const QString organization = query.organization.trimmed();
    const QString courseText = query.course.trimmed();
    std::vector<char> courseShown(credits.courses.size(), 0);
    for (std::size_t c = 0; c < credits.courses.size(); ++c) {
        const DueCourse& course = credits.courses[c];
        courseShown[c] = Contains(course.code, courseText) || Contains(course.name, courseText);
    }
    const QDate lastDay = query.date.addDays(query.windowDays);
    std::vector<DueRow> dated; // the never taken go first, in the order found
    const std::size_t count = std::min(persons.size(), credits.persons);
    for (std::size_t p = 0; p < count; ++p) {
        const PersonRow& person = persons[p];
        if (!Contains(person.organization, organization))
            continue;
        for (std::size_t c = 0; c < credits.courses.size(); ++c) {
            if (!courseShown[c])
                continue;
            const store::CourseRule& rule = credits.courses[c].rule;
            const std::optional<double> latest = credits.Latest(p, c);
            if (!latest) {
                if (rule.required && person.active)
                    rows.push_back({int(p), int(c), {}, {}, 0});
                continue;
            }
            const QDate last = formats::DatePart(*latest);
            const QDate due = store::DueDate(last, rule.months);
            // Never runs out, or not within the window.
            if (due.isValid() && due <= lastDay)
                dated.push_back({int(p), int(c), last, due, query.date.daysTo(due)});
        }
    }
    // Days left follow the due date.
    std::stable_sort(dated.begin(), dated.end(),
                     [](const DueRow& a, const DueRow& b) { return a.daysLeft < b.daysLeft; });
    rows.insert(rows.end(), dated.begin(), dated.end());
    return rows;
}

} // namespace search
