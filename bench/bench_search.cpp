// The search and the annual summary over every shown person, each against one plain read of
// Training.Records in the same run, and what they add to the peak memory. First a large
// department, then a small one.
//
//   bench_search [PERSONS [RECORDS]]     defaults 32767 and 3000000; then 150 and 50000

#include "BenchSupport.h"
#include "tools/SampleData.h"

#include "search/TrainingSearch.h"
#include "store/Formats.h"
#include "store/RecordScan.h"
#include "store/RecordStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <sys/resource.h>

namespace {

using bench::Check;
using bench::PeakMemoryKb;
using bench::ReadRaw;

constexpr int Rounds = 5; // each figure is the best of this many runs

struct Took {
    double wall = 1e300;
    double cpu = 1e300; // this process's processor time, kernel included
};

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

Took Seconds(const std::function<void()>& run) {
    QElapsedTimer timer;
    const double cpu = CpuSeconds();
    timer.start();
    run();
    return {double(timer.nsecsElapsed()) / 1e9, CpuSeconds() - cpu};
}

void KeepBest(Took& best, const Took& took) {
    best.wall = std::min(best.wall, took.wall);
    best.cpu = std::min(best.cpu, took.cpu);
}

// Other programs share the machine: each run of `run` follows a run of the raw read, and both
// keep their best, so that a busy moment does not tilt the ratio either way. The processor
// time is shown too: it varies less when others keep the machine busy.
struct Paired {
    const std::function<void()>& raw;
    Took bestRaw{};

    Took Best(const std::function<void()>& run) {
        Took best;
        for (int i = 0; i < Rounds; ++i) {
            KeepBest(bestRaw, Seconds(raw));
            KeepBest(best, Seconds(run));
        }
        return best;
    }
};

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

void Measure(qint32 personCount, qint64 recordCount) {
    QTemporaryDir folder;
    if (!folder.isValid() || !QDir::setCurrent(folder.path())) {
        std::fprintf(stderr, "bench_search: no temporary folder\n");
        std::exit(1);
    }
    datatool::SampleOptions options;
    options.persons = personCount;
    options.records = recordCount;
    datatool::SampleSummary sample;
    Check(datatool::WriteSample(".", options, sample));
    const std::vector<double> persons = AllPersons();
    const QString trainings = store::FileNameOf(store::DataFile::TrainingRecords);
    std::printf("\n%zu persons shown, %lld training records (%lld bytes)\n", persons.size(),
                static_cast<long long>(recordCount),
                static_cast<long long>(QFile(trainings).size()));
    const long peakBefore = PeakMemoryKb();

    const std::function<void()> readRaw = [&] { ReadRaw(trainings); };
    Paired paired{readRaw};
    struct Figure {
        QString what;
        Took took;
    };
    QList<Figure> figures;
    figures << Figure{"the store's record walk alone", paired.Best([&] {
                          Check(store::OpenTrainingRecords());
                          store::RecordScan scan(store::Trainings().File());
                          while (scan.Next()) {
                          }
                          Check(scan.Result());
                          store::CloseTrainingRecords();
                      })};

    search::Criteria yearAndCode;
    yearAndCode.fromDay = formats::DayNumberOf(QDate(2015, 1, 1));
    yearAndCode.toDay = formats::DayNumberOf(QDate(2015, 12, 31));
    yearAndCode.code = QStringLiteral("FIR-0001");
    search::Criteria notMatching = yearAndCode;
    notMatching.listMatching = false;
    search::Criteria commentFound;
    commentFound.comment = QStringLiteral("session");
    search::Criteria commentNowhere;
    commentNowhere.comment = QStringLiteral("range");
    const struct {
        const char* what;
        const search::Criteria& criteria;
    } searches[] = {{"2015 and code FIR-0001, match", yearAndCode},
                    {"2015 and code FIR-0001, do NOT match", notMatching},
                    {"comment \"session\" (often found)", commentFound},
                    {"comment \"range\" (nowhere: every record)", commentNowhere}};
    int progressCalls = 0;
    int callsThisRun = 0;
    const search::Progress progress = [&](int percent) {
        callsThisRun = percent == 0 ? 1 : callsThisRun + 1;
        progressCalls = std::max(progressCalls, callsThisRun);
    };
    for (const auto& s : searches) {
        std::vector<int> listed;
        const Took took =
            paired.Best([&] { Check(search::FindPersons(persons, s.criteria, listed, progress)); });
        figures << Figure{QStringLiteral("search %1 (%2 listed)").arg(s.what).arg(listed.size()),
                          took};
    }
    search::YearSummary summary;
    const Took summed =
        paired.Best([&] { Check(search::SumYear(persons, 2015, summary, progress)); });
    figures << Figure{QStringLiteral("annual summary 2015 (%1 listed, %2 hours)")
                          .arg(summary.rows.size())
                          .arg(search::TenthsText(summary.totalTenths)),
                      summed};

    std::printf("  %-58s %8s %8s %6s %6s\n", "", "wall", "cpu", "ratio", "(cpu)");
    std::printf("  %-58s %8.3f %8.3f\n", "raw read in 1 MiB blocks (best of all runs)",
                paired.bestRaw.wall, paired.bestRaw.cpu);
    for (const Figure& f : figures)
        std::printf("  %-58s %8.3f %8.3f %6.2f %6.2f\n", qPrintable(f.what), f.took.wall,
                    f.took.cpu, f.took.wall / paired.bestRaw.wall, f.took.cpu / paired.bestRaw.cpu);
    std::printf("  target: each ratio 1.5 or less; %d progress reports a run at most\n",
                progressCalls);
    std::printf("  peak memory %ld KiB before the searches, %ld KiB after\n", peakBefore,
                PeakMemoryKb());
    QDir::setCurrent(QDir::tempPath()); // leave the folder so that it can be removed
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const qint32 persons = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 32767;
    const qint64 records = argc > 2 ? QString::fromLocal8Bit(argv[2]).toLongLong() : 3000000;
    Measure(persons, records);
    Measure(150, 50000);
    return 0;
}
