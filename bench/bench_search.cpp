// The searches, the annual summary, who is due and a course's update over every shown person,
// each against one plain read of Training.Records in the same round: best and median of seven
// rounds, with the file in the page cache (warm) and, where this process may drop the cache, read
// from the disk (cold). First a large department credited in date order, then a small one, then the
// large one with its dates in no order, where the date summary can skip nothing.
//
//   bench_search [PERSONS [RECORDS]] [--data FOLDER] [--warm] [--first]
//
// PERSONS and RECORDS default to 32767 and 3000000; then come 150 and 50000. --data keeps the
// data sets in FOLDER (one folder each) and uses them again on the next run, instead of
// writing them anew into a temporary folder: the first takes minutes. --warm leaves out the
// cold rounds, --first measures the first data set alone.

#include "BenchSupport.h"
#include "tools/SampleData.h"

#include "search/TrainingSearch.h"
#include "search/WhoIsDue.h"
#include "store/Codepage.h"
#include "store/CourseCopies.h"
#include "store/Formats.h"
#include "store/RecordScan.h"
#include "store/RecordStore.h"
#include "store/TrainingDates.h"
#include "store/TrainingRules.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <unistd.h>

namespace {

using bench::Check;
using bench::PeakMemoryKb;
using bench::ReadRaw;

constexpr int Rounds = 7;

struct Took {
    double wall = 0;
    double cpu = 0; // this process's processor time, kernel included
};

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

Took Time(const std::function<void()>& run) {
    QElapsedTimer timer;
    const double cpu = CpuSeconds();
    timer.start();
    run();
    return {double(timer.nsecsElapsed()) / 1e9, CpuSeconds() - cpu};
}

struct Series {
    std::vector<double> raw, wall, cpu, rawCpu;
};

// Other programs share the machine: each run follows a run of the raw read, so that a busy
// moment tilts neither side. Cold: the cache is dropped before each of the two.
Series Measure(const std::function<void()>& raw, const std::function<void()>& run, bool cold) {
    Series s;
    for (int i = 0; i < Rounds; ++i) {
        if (cold)
            bench::DropCaches();
        const Took r = Time(raw);
        if (cold)
            bench::DropCaches();
        const Took t = Time(run);
        s.raw.push_back(r.wall);
        s.rawCpu.push_back(r.cpu);
        s.wall.push_back(t.wall);
        s.cpu.push_back(t.cpu);
    }
    return s;
}

void PrintRow(const QString& what, const Series& s) {
    std::printf(
        "  %-52s %7.3f %7.3f   %5.2f / %5.2f   %5.2f / %5.2f\n", qPrintable(what),
        bench::Best(s.wall), bench::Median(s.wall), bench::Best(s.wall) / bench::Best(s.raw),
        bench::Median(s.wall) / bench::Median(s.raw), bench::Best(s.cpu) / bench::Best(s.rawCpu),
        bench::Median(s.cpu) / bench::Median(s.rawCpu));
}

// Every person of Name.List, as the Name List shows them with both kinds chosen.
std::vector<double> AllPersons() {
    std::vector<double> persons;
    Check(store::OpenNameList());
    store::RecordScan scan(store::Persons().File());
    while (scan.Next())
        persons.push_back(store::PersonRecord::DateCreatedRaw(scan.Bytes()));
    Check(scan.Result());
    store::CloseNameList();
    return persons;
}

// The course of the first training record, with its copies as they are: updating it writes
// the same bytes again, round after round.
store::CourseRecord FirstCourse() {
    Check(store::OpenTrainingRecords());
    Check(store::Trainings().Read(1));
    const store::TrainingRecord& t = store::Trainings().Buffer();
    store::CourseRecord course;
    course.DateCreated = t.CourseKey;
    course.CourseCode = t.CourseCode;
    course.CourseName = t.CourseName;
    course.ProvidedBy = t.ProvidedBy;
    course.Hours = t.Hours;
    store::CloseTrainingRecords();
    return course;
}

// Rules as a department might keep them: every eighth course that can be credited is renewed
// every one or two years, and every third of those is required for all active persons. The
// number of such courses.
int WriteRules() {
    store::TrainingRules rules;
    Check(store::OpenCourseIndex());
    store::RecordScan scan(store::Courses().File());
    int credited = 0;
    while (scan.Next()) {
        if (!(store::CourseRecord::HoursRaw(scan.Bytes()) > 0) || credited++ % 8 != 0)
            continue;
        const int n = int(rules.courses.size());
        rules.SetRule(store::CourseRecord::DateCreatedRaw(scan.Bytes()),
                      {n % 2 == 0 ? 12 : 24, n % 3 == 0});
    }
    Check(scan.Result());
    store::CloseCourseIndex();
    Check(store::WriteTrainingRules(rules));
    return int(rules.courses.size());
}

// Who is due in the next 60 days, as the page lists it: the pass and the rows.
std::size_t WhoIsDue(const std::vector<double>& persons, const std::vector<PersonRow>& rows) {
    search::LatestCredits credits;
    Check(search::ReadLatestCredits(persons, credits));
    return search::WhoIsDue(credits, rows, {QDate::currentDate(), 60, {}, {}}).size();
}

struct Options {
    QString keptIn; // the folder the data sets are kept in; empty: a temporary one
    bool cold = true;
    bool allSets = true;
};

// Moves into a folder holding the data set: one kept from an earlier run when it is whole
// (the same options write the same bytes), else one written now.
void EnterDataSet(const Options& run, const datatool::SampleOptions& options,
                  QTemporaryDir& temporary) {
    QString folder = temporary.path();
    if (!run.keptIn.isEmpty()) {
        folder = QDir(run.keptIn)
                     .filePath(QStringLiteral("%1x%2%3")
                                   .arg(options.persons)
                                   .arg(options.records)
                                   .arg(options.datesInAnyOrder ? "-any" : ""));
        QDir().mkpath(folder);
    }
    if (!temporary.isValid() || !QDir::setCurrent(folder))
        bench::Fail(QStringLiteral("no folder for the data set"));
    const QString whole = QStringLiteral("sample.done");
    if (run.keptIn.isEmpty() || !QFile::exists(whole)) {
        QFile::remove(whole);
        datatool::SampleSummary sample;
        Check(datatool::WriteSample(".", options, sample));
        QFile done(whole);
        if (!run.keptIn.isEmpty() && !done.open(QIODevice::WriteOnly))
            bench::Fail(QStringLiteral("cannot mark the data set whole"));
    }
}

void Measure(const Options& run, qint32 personCount, qint64 recordCount, bool anyOrder) {
    QTemporaryDir folder;
    datatool::SampleOptions options;
    options.persons = personCount;
    options.records = recordCount;
    options.datesInAnyOrder = anyOrder;
    EnterDataSet(run, options, folder);
    const std::vector<double> persons = AllPersons();
    const QString trainings = store::FileNameOf(store::DataFile::TrainingRecords);
    std::printf("\n%zu persons shown, %lld training records (%lld bytes), dates %s\n",
                persons.size(), static_cast<long long>(recordCount),
                static_cast<long long>(QFile(trainings).size()),
                anyOrder ? "in no order" : "in the order credited");
    const long peakBefore = PeakMemoryKb();

    search::Criteria yearAndCode;
    yearAndCode.fromDay = formats::DayNumberOf(QDate(2015, 1, 1));
    yearAndCode.toDay = formats::DayNumberOf(QDate(2015, 12, 31));
    yearAndCode.code = QStringLiteral("FIR-0001");
    search::Criteria notMatching = yearAndCode;
    notMatching.listMatching = false;
    search::Criteria codeOnly;
    codeOnly.code = QStringLiteral("FIR-0001");
    search::Criteria commentFound;
    commentFound.comment = QStringLiteral("session");
    search::Criteria commentNowhere;
    commentNowhere.comment = QStringLiteral("range");
    search::Criteria courseName;
    courseName.courseName = QStringLiteral("boating");
    const struct {
        const char* what;
        const search::Criteria& criteria;
    } searches[] = {{"2015 and code FIR-0001, match", yearAndCode},
                    {"2015 and code FIR-0001, do NOT match", notMatching},
                    {"comment \"session\" (found in many)", commentFound},
                    {"comment \"range\" (found in none)", commentNowhere},
                    {"code FIR-0001, no dates", codeOnly},
                    {"course name \"boating\" (found in none)", courseName}};

    // The first pass of the session learns the date summary; a search with the summary must
    // list whom a search without it lists.
    store::TrainingDateSummary().Forget();
    bool same = true;
    for (const auto& s : searches) {
        std::vector<int> first, again;
        Check(search::FindPersons(persons, s.criteria, first));
        Check(search::FindPersons(persons, s.criteria, again));
        same = same && first == again;
    }
    search::YearSummary summary;
    Check(search::SumYear(persons, 2015, summary));

    struct Item {
        QString what;
        std::function<void()> run;
    };
    QList<Item> items;
    for (const auto& s : searches) {
        std::vector<int> listed;
        Check(search::FindPersons(persons, s.criteria, listed));
        items << Item{QStringLiteral("search %1 (%2 listed)").arg(s.what).arg(listed.size()),
                      [&persons, &s] {
                          std::vector<int> found;
                          Check(search::FindPersons(persons, s.criteria, found));
                      }};
    }
    items << Item{QStringLiteral("annual summary 2015 (%1 listed, %2 hours)")
                      .arg(summary.rows.size())
                      .arg(summary.total.Text()),
                  [&persons] {
                      search::YearSummary year;
                      Check(search::SumYear(persons, 2015, year));
                  }};
    // The same pass picking its rows: everyone shown, those without training at 0 hours, then
    // only those below 24 hours.
    search::SummaryChoice below24;
    below24.withoutTraining = true;
    below24.required = 24;
    below24.onlyBelow = true;
    search::YearSummary filtered;
    Check(search::SumYear(persons, 2015, filtered, {}, below24));
    items << Item{QStringLiteral("annual summary 2015, below 24 hours (%1 of %2 listed)")
                      .arg(filtered.rows.size())
                      .arg(filtered.summarised),
                  [&persons, &below24] {
                      search::YearSummary year;
                      Check(search::SumYear(persons, 2015, year, {}, below24));
                  }};
    const int ruled = WriteRules();
    std::vector<PersonRow> rows(persons.size());
    for (std::size_t i = 0; i < persons.size(); ++i)
        rows[i].identity = persons[i];
    items << Item{QStringLiteral("who is due, %1 courses with rules (%2 rows)")
                      .arg(ruled)
                      .arg(WhoIsDue(persons, rows)),
                  [&persons, &rows] { WhoIsDue(persons, rows); }};
    const store::CourseRecord course = FirstCourse();
    store::CourseCopyTally tally;
    Check(store::UpdateCourseCopies(course, tally));
    items << Item{QStringLiteral("course update %1 (%2 records)")
                      .arg(store::TrimField(course.CourseCode))
                      .arg(tally.updated),
                  [&course] {
                      store::CourseCopyTally t;
                      Check(store::UpdateCourseCopies(course, t));
                  }};

    const std::function<void()> raw = [&] { ReadRaw(trainings); };
    const bool cold = run.cold && bench::DropCaches();
    for (const bool dropped : {false, true}) {
        if (dropped && !cold) {
            if (run.cold)
                std::printf("  (no cold figures: this process may not drop the page cache)\n");
            break;
        }
        std::printf("  %-52s %7s %7s   %13s   %13s\n", dropped ? "COLD" : "WARM", "best", "median",
                    "best/median", "cpu b/m");
        Series rawOnly = Measure(raw, raw, dropped);
        std::printf("  %-52s %7.3f %7.3f\n", "raw read in 1 MiB blocks", bench::Best(rawOnly.raw),
                    bench::Median(rawOnly.raw));
        std::vector<Series> measured;
        for (const Item& item : items) {
            measured.push_back(Measure(raw, item.run, dropped));
            PrintRow(item.what, measured.back());
        }
        // The summary and who is due, last but one and last but two.
        const Series& summaryTook = measured[measured.size() - 3];
        const Series& dueTook = measured[measured.size() - 2];
        std::printf("  who is due / annual summary: best %5.2f, median %5.2f\n",
                    bench::Best(dueTook.wall) / bench::Best(summaryTook.wall),
                    bench::Median(dueTook.wall) / bench::Median(summaryTook.wall));
    }
    std::printf("  answers with the date summary as without it: %s\n", same ? "yes" : "NO");
    std::printf("  date summary: %lld bytes for %d records\n",
                static_cast<long long>(store::TrainingDateSummary().MemoryBytes()),
                store::TrainingDateSummary().Summarised());
    std::printf("  targets: one-year searches and the summary 0.15 warm, 0.10 cold (best); "
                "the summary below the required hours and who is due 1.5 times the summary; "
                "comments 1.3; course update 2\n");
    std::printf("  peak memory %ld KiB before the searches, %ld KiB after\n", peakBefore,
                PeakMemoryKb());
    QDir::setCurrent(QDir::tempPath()); // leave the folder so that it can be removed
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList numbers;
    Options run;
    const QStringList arguments = app.arguments().mid(1);
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--data") && i + 1 < arguments.size())
            run.keptIn = QDir(arguments[++i]).absolutePath();
        else if (arguments[i] == QLatin1String("--warm"))
            run.cold = false;
        else if (arguments[i] == QLatin1String("--first"))
            run.allSets = false;
        else
            numbers << arguments[i];
    }
    const qint32 persons = numbers.size() > 0 ? numbers[0].toInt() : 32767;
    const qint64 records = numbers.size() > 1 ? numbers[1].toLongLong() : 3000000;
    if (persons <= 0 || records <= 0)
        bench::Fail(QStringLiteral("usage: bench_search [PERSONS [RECORDS]] [--data FOLDER] "
                                   "[--warm] [--first]"));
    Measure(run, persons, records, false);
    if (!run.allSets)
        return 0;
    Measure(run, 150, 50000, false);
    Measure(run, persons, records, true);
    return 0;
}
