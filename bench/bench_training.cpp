// A person's training history, person deletion and a credit of 150 persons on a large data
// set, each against plain file reading or copying of the same file in the same run, and
// whether memory grows with the file.
//
//   bench_training [PERSONS [RECORDS]]     defaults 32767 and 3000000

#include "BenchSupport.h"
#include "tools/SampleData.h"

#include "store/Formats.h"
#include "store/PersonTraining.h"
#include "store/RecordStore.h"
#include "training/Credit.h"

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
#include <unistd.h>

namespace {

using bench::BestSeconds;
using bench::Check;
using bench::PeakMemoryKb;
using bench::PersonKey;
using bench::PrintPeak;
using bench::ReadRaw;
using bench::Seconds;

constexpr int Rounds = 3; // each figure is the best of this many runs

QFile& OpenOrDie(QFile& file, QIODevice::OpenMode mode) {
    if (!file.open(mode)) {
        std::fprintf(stderr, "bench_training: cannot open %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
    return file;
}

// A copy in 1 MiB blocks, made durable as a removal makes its copy.
void CopyRaw(const QString& from, const QString& to, bool durable) {
    QFile source(from);
    QFile target(to);
    OpenOrDie(source, QIODevice::ReadOnly);
    OpenOrDie(target, QIODevice::WriteOnly | QIODevice::Truncate);
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (qint64 got; (got = source.read(block.data(), block.size())) > 0;)
        target.write(block.constData(), got);
    target.flush();
    if (durable)
        ::fsync(target.handle());
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    datatool::SampleOptions options;
    options.persons = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 32767;
    options.records = argc > 2 ? QString::fromLocal8Bit(argv[2]).toLongLong() : 3000000;

    QTemporaryDir folder;
    if (!folder.isValid() || !QDir::setCurrent(folder.path())) {
        std::fprintf(stderr, "bench_training: no temporary folder\n");
        return 1;
    }
    std::printf("Data set: %d persons, %d courses, %lld training records\n", options.persons,
                options.courses, static_cast<long long>(options.records));
    PrintPeak("before the sample");
    datatool::SampleSummary summary;
    const double sampled = Seconds([&] { Check(datatool::WriteSample(".", options, summary)); });
    std::printf("  sample written in %.3f s\n", sampled);
    PrintPeak("after the sample");

    const QString trainings = store::FileNameOf(store::DataFile::TrainingRecords);
    const qint64 size = QFile(trainings).size();
    const qint32 middle = std::max(1, options.persons / 2);
    const double key = PersonKey(middle);

    // The history fill: the walk over every record, decoding the person's only.
    std::vector<store::NumberedTraining> history;
    const double raw = BestSeconds([&] { ReadRaw(trainings); });
    const double filled = BestSeconds([&] { Check(store::ReadPersonTraining(key, history)); });
    std::printf("\nHistory of person %d in %s (%lld bytes): %zu records\n", middle,
                qPrintable(trainings), static_cast<long long>(size), history.size());
    std::printf("  raw read in 1 MiB blocks      %8.3f s\n", raw);
    std::printf("  ReadPersonTraining            %8.3f s\n", filled);
    std::printf("  ratio history/raw             %8.2f   (target 1.5 or less)\n", filled / raw);
    PrintPeak("after the history fills");

    // A credit of 150 persons: one append of 150 records, made durable.
    QList<qint32> chosen;
    for (qint32 i = 1; i <= 150; ++i)
        chosen << (i * std::max(1, options.persons / 151));
    const double date = formats::DateValue(QDate(2026, 6, 15));
    const double credited = BestSeconds(
        [&] { Check(training::CreditCourse(1, chosen, date, QStringLiteral("range day"))); });
    std::printf("\nCredit of one course to 150 persons (one append, made durable)\n");
    std::printf("  CreditCourse                  %8.4f s\n", credited);
    PrintPeak("after the credits");

    // Person deletion: Name.List and then Training.Records rewritten without the person.
    const QString copy = QStringLiteral("Copy.bin");
    const double copiedFast = BestSeconds([&] { CopyRaw(trainings, copy, false); });
    const double copiedDurable = BestSeconds([&] { CopyRaw(trainings, copy, true); });
    QFile::remove(copy);
    store::PersonRemoval removal;
    double removed = 1e300;
    for (int round = 0; round < Rounds; ++round) {
        removed = std::min(removed, Seconds([&] { Check(store::RemovePerson(middle, removal)); }));
    }
    std::printf("\nPerson deletion (last: %d of %d training records removed)\n",
                removal.trainingRemoved, removal.trainingBefore);
    std::printf("  raw copy in 1 MiB blocks      %8.3f s\n", copiedFast);
    std::printf("  raw copy, made durable        %8.3f s\n", copiedDurable);
    std::printf("  RemovePerson                  %8.3f s\n", removed);
    std::printf("  ratio deletion/durable copy   %8.2f   (target 3 or less)\n",
                removed / copiedDurable);
    std::printf("  ratio deletion/plain copy     %8.2f\n", removed / copiedFast);
    PrintPeak("after the deletions");
    QDir::setCurrent(QDir::tempPath()); // leave the folder so that it can be removed
    return 0;
}
