// Data exchange with spreadsheets on a large data set, each figure against plain file work in
// the same run: the CSV export of Training.Records against reading the file; the preview of a
// training import against the lists and the records on file; the import's append against
// writing the same bytes; and whether memory follows the rows imported or the file. The export
// is measured warm (the records in memory) and, where this process may empty the page cache
// (as root), cold; each figure is the best and the median of a few rounds.
//
//   bench_exchange [PERSONS [COURSES [RECORDS [ROWS]]]]   defaults 32767 2000 3000000 10000
//
// "bench_exchange 2000 200 100000 1000" runs in well under a minute. With BENCH_SKIP_EXPORT set
// (to anything but 0) the export is left out, for work on the import alone.

#include "BenchSupport.h"
#include "tools/ExportCommand.h"
#include "tools/SampleData.h"

#include "store/Csv.h"
#include "store/Formats.h"
#include "store/RecordStore.h"
#include "store/TrainingImport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

using bench::Best;
using bench::BestSeconds;
using bench::Check;
using bench::ImportSheet;
using bench::Median;
using bench::PrintPeak;
using bench::ReadRaw;
using bench::Seconds;
using namespace store::csvimport;

constexpr int Rounds = 3;       // each figure is the best of this many runs
constexpr int AppendRounds = 7; // the append's, which take a tenth of a second or less

// The best time of a few runs, and apart from it the best processor time of this thread.
struct Timing {
    double seconds = 1e300;
    double processor = 1e300;
    void Take(const std::function<void()>& run) {
        const auto now = [] {
            timespec t{};
            ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
            return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
        };
        const double start = now();
        seconds = std::min(seconds, Seconds(run));
        processor = std::min(processor, now() - start);
    }
};

// Writes `bytes` to a new file and makes them durable, as an append makes its records.
void WriteRaw(const QString& name, const QByteArray& bytes) {
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        bench::Fail(QStringLiteral("cannot write ") + name);
    file.write(bytes);
    file.flush();
    ::fsync(file.handle());
}

// A durable copy in 1 MiB blocks: what writing a file of that size costs.
void CopyRaw(const QString& from, const QString& to) {
    QFile source(from);
    QFile target(to);
    if (!source.open(QIODevice::ReadOnly) ||
        !target.open(QIODevice::WriteOnly | QIODevice::Truncate))
        bench::Fail(QStringLiteral("cannot copy ") + from);
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (qint64 got; (got = source.read(block.data(), block.size())) > 0;)
        target.write(block.constData(), got);
    target.flush();
    ::fsync(target.handle());
}

// A raw read and an export, one right after the other in each round, so that a busy moment
// on a shared machine tilts neither side. Cold, the page cache is emptied before each of the
// two, outside the time taken.
struct Paired {
    std::vector<double> plain, measured;
};

Paired TimePaired(const std::function<void()>& plain, const std::function<void()>& measured,
                  bool cold) {
    Paired times;
    for (int round = 0; round < Rounds; ++round) {
        if (cold)
            bench::DropCaches();
        times.plain.push_back(Seconds(plain));
        if (cold)
            bench::DropCaches();
        times.measured.push_back(Seconds(measured));
    }
    return times;
}

void PrintPaired(const char* kind, const Paired& times) {
    const auto row = [&](const char* what, double best, double median, const char* note) {
        std::printf("  %-35s %8.3f %8.3f%s\n", (QByteArray(kind) + what).constData(), best, median,
                    note);
    };
    row("raw read in 1 MiB blocks (s)", Best(times.plain), Median(times.plain), "");
    row("export, made durable (s)", Best(times.measured), Median(times.measured), "");
    row("ratio export/raw read", Best(times.measured) / Best(times.plain),
        Median(times.measured) / Median(times.plain), "   (target 3 or less)");
}

// The export of Training.Records, warm and (where the page cache may be emptied) cold.
void BenchExport(const QString& trainings) {
    const QString exported = QStringLiteral("Training.Records.csv");
    qint64 records = 0;
    const auto exportOnce = [&] {
        Check(datatool::ExportDataFile(store::DataFile::TrainingRecords, ".", exported, records));
    };
    const auto readOnce = [&] { ReadRaw(trainings); };
    const Paired warm = TimePaired(readOnce, exportOnce, false);
    const qint64 csvBytes = QFile(exported).size();
    const double rawDurable =
        BestSeconds([&] { CopyRaw(exported, QStringLiteral("copy.bin")); }, Rounds);
    QFile::remove(QStringLiteral("copy.bin"));
    // Cold: the records come from the disk, as for an export that is the first thing done
    // with the data after a start.
    const bool cold = bench::DropCaches();
    const Paired coldPairs = cold ? TimePaired(readOnce, exportOnce, true) : Paired{};
    QFile::remove(exported);
    std::printf("\nExport of %s (%lld records, %lld bytes of CSV), best and median of %d\n",
                qPrintable(trainings), static_cast<long long>(records),
                static_cast<long long>(csvBytes), Rounds);
    PrintPaired("", warm);
    std::printf("  raw durable copy of the CSV         %8.3f s\n", rawDurable);
    std::printf("  ratio export/(read + durable copy)  %8.2f\n",
                Best(warm.measured) / (Best(warm.plain) + rawDurable));
    if (cold)
        PrintPaired("cold ", coldPairs);
    else
        std::printf("  (no cold figures: this process may not drop the page cache)\n");
    PrintPeak("after the export");
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    datatool::SampleOptions options;
    options.persons = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 32767;
    options.courses = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 2000;
    options.records = argc > 3 ? QString::fromLocal8Bit(argv[3]).toLongLong() : 3000000;
    const int rows = argc > 4 ? QString::fromLocal8Bit(argv[4]).toInt() : 10000;

    QTemporaryDir folder;
    if (!folder.isValid() || !QDir::setCurrent(folder.path()))
        bench::Fail(QStringLiteral("no temporary folder"));
    std::printf("Data set: %d persons, %d courses, %lld training records; %d rows to import\n",
                options.persons, options.courses, static_cast<long long>(options.records), rows);
    datatool::SampleSummary summary;
    const double sampled = Seconds([&] { Check(datatool::WriteSample(".", options, summary)); });
    std::printf("  sample written in %.3f s\n", sampled);
    // On the disk before anything is timed: the system writing the sample out in the middle
    // of a figure would weigh on that figure alone.
    ::sync();
    PrintPeak("after the sample");

    const QString trainings = store::FileNameOf(store::DataFile::TrainingRecords);
    if (!qEnvironmentVariableIsSet("BENCH_SKIP_EXPORT") ||
        qEnvironmentVariable("BENCH_SKIP_EXPORT") == QStringLiteral("0"))
        BenchExport(trainings);

    // ---- Import preview ----
    const QByteArray sheet = ImportSheet(rows, 7);
    QFile sheetFile(QStringLiteral("sheet.csv"));
    if (!sheetFile.open(QIODevice::WriteOnly) || sheetFile.write(sheet) != sheet.size())
        bench::Fail(QStringLiteral("cannot write the sheet"));
    sheetFile.close();
    const QDate today = QDate::currentDate();
    const long before = bench::PeakMemoryKb();
    TrainingImport plan;
    const double previewed = BestSeconds(
        [&] {
            store::csv::Table table;
            Check(store::csv::ReadFile(QStringLiteral("sheet.csv"), table));
            const ColumnMap map = MatchColumns(table.records.front().fields, Kind::Training);
            Check(PlanTrainingImport(table, map, today, plan));
        },
        Rounds);
    std::printf("\nImport preview of %d rows: %d will be credited, %d turned down\n", rows,
                AcceptedCount(plan.rows), rows - AcceptedCount(plan.rows));
    std::printf("  read, match and plan                %8.3f s   (target 1 or less)\n", previewed);
    std::printf("  peak memory grew by                 %8ld KiB (the file: %lld KiB)\n",
                bench::PeakMemoryKb() - before,
                static_cast<long long>(QFile(trainings).size() / 1024));

    // ---- The append, against writing the same bytes ----
    QByteArray bytes;
    for (const store::TrainingRecord& record : plan.records)
        bytes += record.Encode();
    const qint64 fileSize = QFile(trainings).size();
    // The processor's part apart from the waits for the disk: what making the bytes costs.
    Timing appended;
    for (int round = 0; round < AppendRounds; ++round) {
        appended.Take([&] { Check(AppendTrainingImport(plan)); });
        if (!QFile(trainings).resize(fileSize))
            bench::Fail(QStringLiteral("cannot put the file back"));
    }
    Timing written;
    for (int round = 0; round < AppendRounds; ++round)
        written.Take([&] { WriteRaw(QStringLiteral("raw.bin"), bytes); });
    QFile::remove(QStringLiteral("raw.bin"));
    std::printf("\nAppend of %zu records (%lld bytes), best of %d\n", plan.records.size(),
                static_cast<long long>(bytes.size()), AppendRounds);
    std::printf("  raw durable write of the same bytes %8.4f s (processor %.4f s)\n",
                written.seconds, written.processor);
    std::printf("  AppendTrainingImport                %8.4f s (processor %.4f s)\n",
                appended.seconds, appended.processor);
    std::printf("  ratio append/raw write              %8.2f   (target 2 or less)\n",
                appended.seconds / written.seconds);
    PrintPeak("at the end");
    QDir::setCurrent(QDir::tempPath()); // leave the folder so that it can be removed
    return 0;
}
