// How the record store's sequential read and person removal compare with plain file
// reading and copying on a large data set, and whether memory grows with the file.
//
//   bench_store [PERSONS [RECORDS]]     defaults 32767 and 1000000

#include "BenchSupport.h"
#include "tools/SampleData.h"

#include "store/RecordScan.h"
#include "store/RecordStore.h"
#include "store/Removal.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sys/resource.h>

namespace {

using bench::BestSeconds;
using bench::PersonKey;
using bench::PrintPeak;
using bench::ReadRaw;

void Fail(const store::StoreResult& result) {
    bench::Check(result);
}

// Every record through the store's table, one Read at a time, touching a field.
double ReadThroughStore(qint32& count) {
    double hours = 0;
    if (store::StoreResult opened = store::OpenTrainingRecords(); !opened) {
        Fail(opened);
    }
    count = store::TrainingCount();
    for (qint32 n = 1; n <= count; ++n) {
        if (store::StoreResult read = store::Trainings().Read(n); !read) {
            Fail(read);
        }
        hours += store::Trainings().Buffer().Hours;
    }
    store::CloseTrainingRecords();
    return hours;
}

// Every record through the store's scan, as the loops over all training records read them:
// the keys and hours on the bytes, the text decoded only for the records kept (here: none).
double ScanThroughStore() {
    double hours = 0;
    if (store::StoreResult opened = store::OpenTrainingRecords(); !opened) {
        Fail(opened);
    }
    store::RecordScan scan(store::Trainings().File());
    while (scan.Next())
        hours += store::TrainingRecord::HoursRaw(scan.Bytes());
    if (!scan.Result())
        Fail(scan.Result());
    store::CloseTrainingRecords();
    return hours;
}

// The same records as bytes only, to tell file access from decoding.
qint64 ReadRecordBytes(const QString& name) {
    store::RecordFile file(name, store::TrainingRecord::Length);
    if (store::StoreResult opened = file.Open(); !opened) {
        Fail(opened);
    }
    QByteArray bytes;
    qint64 total = 0;
    for (qint32 n = 1; n <= file.Count(); ++n) {
        if (store::StoreResult read = file.ReadRaw(n, bytes); !read) {
            Fail(read);
        }
        total += bytes.at(0);
    }
    file.Close();
    return total;
}

void CopyRaw(const QString& from, const QString& to) {
    QFile::remove(to);
    if (!QFile::copy(from, to)) {
        std::fprintf(stderr, "bench_store: cannot copy %s\n", qPrintable(from));
        std::exit(1);
    }
}

void CopyInBlocks(const QString& from, const QString& to) {
    QFile source(from);
    QFile target(to);
    if (!source.open(QIODevice::ReadOnly) ||
        !target.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "bench_store: cannot copy %s\n", qPrintable(from));
        std::exit(1);
    }
    while (!source.atEnd()) {
        target.write(source.read(1 << 20));
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    datatool::SampleOptions options;
    options.persons = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 32767;
    options.records = argc > 2 ? QString::fromLocal8Bit(argv[2]).toLongLong() : 1000000;

    QTemporaryDir folder;
    if (!folder.isValid() || !QDir::setCurrent(folder.path())) {
        std::fprintf(stderr, "bench_store: no temporary folder\n");
        return 1;
    }
    std::printf("Data set: %d persons, %d courses, %lld training records in %s\n", options.persons,
                options.courses, static_cast<long long>(options.records),
                qPrintable(folder.path()));
    PrintPeak("before the sample");

    datatool::SampleSummary summary;
    QElapsedTimer timer;
    timer.start();
    if (store::StoreResult written = datatool::WriteSample(QStringLiteral("."), options, summary);
        !written) {
        Fail(written);
    }
    std::printf("  sample written in %.3f s\n", double(timer.nsecsElapsed()) / 1e9);
    PrintPeak("after the sample");
    const QString trainings = store::FileNameOf(store::DataFile::TrainingRecords);
    const qint64 size = QFile(trainings).size();

    qint32 count = 0;
    double hours = 0;
    const double raw = BestSeconds([&] { ReadRaw(trainings); });
    const double bytesOnly = BestSeconds([&] { ReadRecordBytes(trainings); });
    const double stored = BestSeconds([&] { hours = ReadThroughStore(count); });
    double scannedHours = 0;
    const double scanned = BestSeconds([&] { scannedHours = ScanThroughStore(); });
    std::printf("\nSequential read of %s (%d records, %lld bytes, %.1f hours in all)\n",
                qPrintable(trainings), count, static_cast<long long>(size), hours);
    std::printf("  raw read in 1 MiB chunks    %8.3f s\n", raw);
    std::printf("  RecordFile::ReadRaw only    %8.3f s\n", bytesOnly);
    std::printf("  store Read(1..count)        %8.3f s   %.2f us/record\n", stored,
                stored * 1e6 / std::max(count, 1));
    std::printf("  ratio Read/raw              %8.2f   (every text field decoded)\n", stored / raw);
    std::printf("  store RecordScan (hours)    %8.3f s   %.1f hours\n", scanned, scannedHours);
    std::printf("  ratio scan/raw              %8.2f   (target 2 or less)\n", scanned / raw);
    PrintPeak("after the reads");

    const QString copy = QStringLiteral("Copy.bin");
    const double copiedByQt = BestSeconds([&] { CopyRaw(trainings, copy); });
    const double copiedInBlocks = BestSeconds([&] { CopyInBlocks(trainings, copy); });
    const double copied = std::min(copiedByQt, copiedInBlocks);
    QFile::remove(copy);
    const double key = PersonKey(qMax(1, options.persons / 2));
    // The first round removes the person's records; the others rewrite the whole file too,
    // keeping every record, which is the same work.
    const double removed = BestSeconds([&] {
        if (store::StoreResult result = store::RemovePersonTraining(key); !result) {
            Fail(result);
        }
    });
    std::printf("\nRemovePersonTraining (file now %lld bytes)\n",
                static_cast<long long>(QFile(trainings).size()));
    std::printf("  raw copy (QFile::copy)      %8.3f s\n", copiedByQt);
    std::printf("  raw copy (1 MiB blocks)     %8.3f s\n", copiedInBlocks);
    std::printf("  RemovePersonTraining        %8.3f s\n", removed);
    std::printf("  ratio removal/faster copy   %8.2f   (target 3 or less)\n", removed / copied);
    PrintPeak("after the removals");
    QDir::setCurrent(QDir::tempPath()); // leave the folder so that it can be removed
    return 0;
}
