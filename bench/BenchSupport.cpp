#include "BenchSupport.h"

#include "store/Csv.h"
#include "store/RecordStore.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <unistd.h>

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

double Best(const std::vector<double>& seconds) {
    return *std::min_element(seconds.begin(), seconds.end());
}

double Median(std::vector<double> seconds) {
    std::sort(seconds.begin(), seconds.end());
    return seconds[seconds.size() / 2];
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

bool DropCaches() {
    ::sync();
    QFile drop(QStringLiteral("/proc/sys/vm/drop_caches"));
    return drop.open(QIODevice::WriteOnly) && drop.write("3\n") == 2 && drop.flush();
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

QByteArray ImportSheet(int rows, quint64 seed) {
    Check(store::OpenNameList());
    Check(store::OpenCourseIndex());
    QList<qint32> courses;
    for (qint32 n = 1; n <= store::CourseCount(); ++n) {
        Check(store::Courses().Read(n));
        if (store::Courses().Buffer().Hours > 0)
            courses << n;
    }
    QRandomGenerator random{quint32(seed)};
    QStringList lines{QStringLiteral("Last Name,First Name,Middle Name,Course Code,Date,Hours,"
                                     "Comments,Person Identity")};
    for (int i = 0; i < rows; ++i) {
        Check(store::Persons().Read(1 + qint32(random.bounded(store::PersonCount()))));
        Check(store::Courses().Read(courses[random.bounded(int(courses.size()))]));
        const store::PersonRecord& p = store::Persons().Buffer();
        const QDate date = QDate(2024, 1, 1).addDays(random.bounded(365));
        QByteArray identity;
        store::csv::AppendNumber(identity, p.DateCreated);
        lines << QStringList{i % 2 ? p.LastName : QString(),
                             i % 2 ? p.FirstName : QString(),
                             i % 2 ? p.MiddleName : QString(),
                             store::Courses().Buffer().CourseCode,
                             date.toString(QStringLiteral("MM/dd/yyyy")),
                             i % 5 == 0 ? QStringLiteral("1.5") : QString(),
                             QStringLiteral("imported"),
                             i % 2 ? QString() : QString::fromLatin1(identity)}
                     .join(u',');
    }
    store::CloseNameList();
    store::CloseCourseIndex();
    return ("\xEF\xBB\xBF" + lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

} // namespace bench
