#include "BenchSupport.h"

#include "store/RecordStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

namespace bench {

long PeakMemoryKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void PrintPeak(const char* when) {
    std::printf("  peak memory %-30s %8ld KiB\n", when, PeakMemoryKb());
}

double Seconds(const std::function<void()>& run) {
    QElapsedTimer timer;
    timer.start();
    run();
    return double(timer.nsecsElapsed()) / 1e9;
}

double BestSeconds(const std::function<void()>& run, int rounds) {
    double best = 1e300;
    for (int i = 0; i < rounds; ++i)
        best = std::min(best, Seconds(run));
    return best;
}

void Fail(const QString& why) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()),
                 qPrintable(why));
    std::exit(1);
}

void Check(const store::StoreResult& result) {
    if (!result)
        Fail(result.text());
}

qint64 ReadRaw(const QString& name) {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        Fail(QStringLiteral("cannot open ") + name);
    QByteArray block(1 << 20, Qt::Uninitialized);
    qint64 total = 0;
    for (qint64 got; (got = file.read(block.data(), block.size())) > 0;)
        total += got;
    return total;
}

double PersonKey(qint32 recordNumber) {
    Check(store::OpenNameList());
    Check(store::Persons().Read(recordNumber));
    const double key = store::Persons().Buffer().DateCreated;
    store::CloseNameList();
    return key;
}

} // namespace bench
