#pragma once

#include "store/StoreResult.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

// What every benchmark needs: its peak memory, the best of several timed runs, a stop with
// the store's reason, and the plain read of a file that the store's figures are set against.
namespace bench {

long PeakMemoryKb();
void PrintPeak(const char* when);

double Seconds(const std::function<void()>& run);
double BestSeconds(const std::function<void()>& run, int rounds = 3);
// The least and the middle of several timings (not empty).
double Best(const std::vector<double>& seconds);
double Median(std::vector<double> seconds);

// Ends the program with the reason, named after the program.
[[noreturn]] void Fail(const QString& why);
void Check(const store::StoreResult& result);

// Empties the page cache, so that the next read comes from the disk; false where this process
// may not (not root, or a container that forbids it).
bool DropCaches();

// Every byte of the file in 1 MiB blocks; the number of bytes read.
qint64 ReadRaw(const QString& name);

// The DateCreated of record `recordNumber` of Name.List.
double PersonKey(qint32 recordNumber);

// A sheet of `rows` credits of courses with hours to persons on file: every other row names
// the person by identity, the rest by last, first and middle name (the sample's names repeat,
// so some of those are turned down as more than one person).
QByteArray ImportSheet(int rows, quint64 seed);

} // namespace bench
