#include "search/WhoIsDue.h"

#include "search/PersonLookup.h"
#include "store/CourseKeyMatch.h"
#include "store/Formats.h"
#include "store/RecordScan.h"
#include "store/RecordStore.h"
#include "store/Records.h"
#include "store/TrainingScan.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <limits>

namespace search {

namespace {

constexpr double kNever = std::numeric_limits<double>::quiet_NaN();
// A repaint of the progress costs about what reading a thousand records does: it is told at
// most this often.
constexpr qint64 kProgressEveryMs = 250;
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

// From a record's CourseKey to the courses with a rule it names. Records of one credit lie
// together and share their course, so the last key's answer is kept.
class CourseKeys {
public:
    explicit CourseKeys(const std::vector<DueCourse>& courses) {
        for (std::size_t i = 0; i < courses.size(); ++i) {
            keys_.push_back({store::CourseKeyMatch(courses[i].identity), int(i)});
            widest_ = std::max(widest_, keys_.back().match.Near());
        }
        std::sort(keys_.begin(), keys_.end(),
                  [](const Key& a, const Key& b) { return a.match.Key() < b.match.Key(); });
    }

    // The courses `key` names; most often none or one.
    const std::vector<int>& Of(double key) {
        if (key == lastKey_ && !found_.empty())
            return found_;
        lastKey_ = key;
        found_.clear();
        const auto first =
            std::lower_bound(keys_.begin(), keys_.end(), key - widest_,
                             [](const Key& entry, double low) { return entry.match.Key() < low; });
        for (auto it = first; it != keys_.end() && it->match.Key() <= key + widest_; ++it) {
            if (it->match(key))
                found_.push_back(it->course);
        }
        return found_;
    }

private:
    struct Key {
        store::CourseKeyMatch match;
        int course;
    };
    std::vector<Key> keys_;
    double widest_ = 0;
    double lastKey_ = kNever;
    std::vector<int> found_;
};

// Tells the progress at the start, at the end and, between, at most every kProgressEveryMs.
class Reporter {
public:
    explicit Reporter(const Progress& progress) : progress_(progress) {
        timer_.start();
        Tell(0);
    }
    void At(qint64 percent) {
        if (percent != told_ && timer_.elapsed() >= kProgressEveryMs)
            Tell(int(percent));
    }
    void Done() { Tell(100); }

private:
    void Tell(int percent) {
        if (!progress_ || percent == told_)
            return;
        told_ = percent;
        timer_.restart();
        progress_(percent);
    }
    const Progress& progress_;
    QElapsedTimer timer_;
    int told_ = -1;
};

// The one pass: every record of a course with a rule moves its persons' latest date on.
store::StoreResult ScanCredits(std::span<const double> persons, LatestCredits& credits,
                               Reporter& report) {
    if (!QFileInfo::exists(store::FileNameOf(store::DataFile::TrainingRecords)))
        return store::StoreResult::Ok(); // no file, no credits; a listing creates nothing
    auto& file = store::Trainings();
    if (const store::StoreResult opened = file.OpenForReading(); !opened)
        return opened;
    const PersonLookup owners(persons);
    CourseKeys courses(credits.courses);
    const std::size_t width = credits.courses.size();
    double* latest = credits.latest.data();
    const qint64 count = std::max<qint64>(1, file.Count());
    store::TrainingScan scan;
    while (scan.NextRun()) {
        report.At(qint64(scan.RecordNumber()) * 100 / count);
        const char* end = scan.Bytes() + qint64(scan.RunRecords()) * store::TrainingRecord::Length;
        for (const char* record = scan.Bytes(); record < end;
             record += store::TrainingRecord::Length) {
            const std::vector<int>& named = courses.Of(store::TrainingRecord::CourseKeyRaw(record));
            if (named.empty())
                continue;
            // Only a marker begins with "$"; the full test is left to those few.
            if (record[kCodeOffset] == '$' && store::TrainingRecord::IsMarkedRaw(record))
                continue;
            const double date = store::TrainingRecord::TrainingDateRaw(record);
            const double personKey = store::TrainingRecord::PersonKeyRaw(record);
            for (int person = owners.First(personKey); person >= 0; person = owners.Next(person)) {
                double* row = latest + std::size_t(person) * width;
                for (const int course : named) {
                    // NaN (never credited) is below every date.
                    if (!(row[course] >= date))
                        row[course] = date;
                }
            }
        }
    }
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
    Reporter report(progress);
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
            DueRow row{int(p), int(c), {}, {}, 0};
            if (!latest) {
                if (!rule.required || !person.active)
                    continue;
            } else {
                row.due = store::DueDate(*latest, rule.months);
                if (!row.due.isValid() || row.due > lastDay)
                    continue; // never runs out, or not within the window
                row.last = formats::DatePart(*latest);
                row.daysLeft = query.date.daysTo(row.due);
            }
            rows.push_back(row);
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [](const DueRow& a, const DueRow& b) {
        if (a.NeverTaken() != b.NeverTaken())
            return a.NeverTaken();
        return a.due < b.due;
    });
    return rows;
}

} // namespace search
