#pragma once

#include "store/StoreResult.h"

#include <QString>
#include <functional>

// What every benchmark needs: its peak memory, the best of several timed runs, a stop with
// the store's reason, and the plain read of a file that the store's figures are set against.
namespace bench {

long PeakMemoryKb();
void PrintPeak(const char* when);

double Seconds(const std::function<void()>& run);
double BestSeconds(const std::function<void()>& run, int rounds = 3);

// Ends the program with the reason, named after the program.
[[noreturn]] void Fail(const QString& why);
void Check(const store::StoreResult& result);

// Every byte of the file in 1 MiB blocks; the number of bytes read.
qint64 ReadRaw(const QString& name);

// The DateCreated of record `recordNumber` of Name.List.
double PersonKey(qint32 recordNumber);

} // namespace bench
