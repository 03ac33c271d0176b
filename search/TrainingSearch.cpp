#include "search/TrainingSearch.h"

#include "search/FieldMatch.h"
#include "search/PersonLookup.h"
#include "store/Formats.h"
#include "store/RecordScan.h"
#include "store/RecordStore.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFileInfo>

namespace search {

namespace {

// Progress is worked out every this many records and told at most every this many
// milliseconds: a repaint of the button costs about what reading a thousand records does.
constexpr qint32 kProgressStride = 8192;
constexpr qint64 kProgressEveryMs = 250;

// Field places in a stored training record.
constexpr int kCodeOffset = 24;
constexpr int kCodeWidth = 8;
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

    // Calls `visit(bytes)` for each record until it returns false; tells the progress.
    template <class Visit> store::StoreResult Run(const Progress& progress, Visit&& visit) {
        Reporter report(progress);
        if (!open_) {
            report.Done();
            return store::StoreResult::Ok();
        }
        store::RecordFile& file = store::Trainings().File();
        const qint64 count = file.Count();
        store::RecordScan scan(file);
        while (scan.Next()) {
            if (scan.RecordNumber() % kProgressStride == 0)
                report.At(qint64(scan.RecordNumber()) * 100 / count);
            if (!visit(scan.Bytes()))
                break;
        }
        if (!scan.Result())
            return scan.Result();
        report.Done();
        return store::StoreResult::Ok();
    }

private:
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

    store::StoreResult result_;
    bool open_ = false;
};

} // namespace

store::StoreResult FindPersons(std::span<const double> persons, const Criteria& criteria,
                               std::vector<int>& listed, const Progress& progress) {
    listed.clear();
    const PersonLookup owners(persons);
    const FieldMatch code(criteria.code);
    const FieldMatch comment(criteria.comment);
    const bool anyDay = !criteria.fromDay || !criteria.toDay;
    const qint64 fromDay = criteria.fromDay.value_or(0);
    const qint64 toDay = criteria.toDay.value_or(0);
    const auto satisfies = [&](const char* record) {
        if (!anyDay) {
            const std::optional<qint64> day =
                formats::DayNumber(store::TrainingRecord::TrainingDateRaw(record));
            if (!day || *day < fromDay || *day > toDay)
                return false;
        }
        return code.FoundIn(record + kCodeOffset, kCodeWidth) &&
               comment.FoundIn(record + kCommentsOffset, kCommentsWidth);
    };

    // A person with a record satisfying everything needs no more of his or her records.
    std::vector<char> found(persons.size(), 0);
    std::size_t open = persons.size();
    TrainingPass pass;
    if (!pass.Opened())
        return pass.Opened();
    const store::StoreResult walked = pass.Run(progress, [&](const char* record) {
        bool tested = false;
        bool satisfied = false;
        owners.ForEachOwner(store::TrainingRecord::PersonKeyRaw(record), [&](int person) {
            char& done = found[std::size_t(person)];
            if (done)
                return;
            if (!tested) {
                satisfied = satisfies(record);
                tested = true;
            }
            if (satisfied) {
                done = 1;
                --open;
            }
        });
        return open > 0; // everyone found: the rest cannot change the answer
    });
    if (!walked)
        return walked;
    for (std::size_t i = 0; i < persons.size(); ++i) {
        if (bool(found[i]) == criteria.listMatching)
            listed.push_back(int(i));
    }
    return store::StoreResult::Ok();
}

store::StoreResult SumYear(std::span<const double> persons, int year, YearSummary& summary,
                           const Progress& progress) {
    summary = YearSummary{};
    const PersonLookup owners(persons);
    const qint64 firstDay = formats::DayNumberOf(QDate(year, 1, 1));
    const qint64 pastDay = formats::DayNumberOf(QDate(year + 1, 1, 1));
    std::vector<qint64> tenths(persons.size(), 0);
    std::vector<char> listed(persons.size(), 0);
    TrainingPass pass;
    if (!pass.Opened())
        return pass.Opened();
    const store::StoreResult walked = pass.Run(progress, [&](const char* record) {
        owners.ForEachOwner(store::TrainingRecord::PersonKeyRaw(record), [&](int person) {
            const std::optional<qint64> day =
                formats::DayNumber(store::TrainingRecord::TrainingDateRaw(record));
            if (!day || *day < firstDay || *day >= pastDay)
                return;
            tenths[std::size_t(person)] +=
                formats::HoursTenths(store::TrainingRecord::HoursRaw(record));
            listed[std::size_t(person)] = 1;
        });
        return true;
    });
    if (!walked)
        return walked;
    for (std::size_t i = 0; i < persons.size(); ++i) {
        if (!listed[i])
            continue;
        summary.rows.push_back({int(i), tenths[i]});
        summary.totalTenths += tenths[i];
    }
    return store::StoreResult::Ok();
}

QString TenthsText(qint64 tenths) {
    return formats::DoubleText(double(tenths) / 10.0);
}

} // namespace search
