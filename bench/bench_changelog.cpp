// What Change.Log costs: a credit of 150 persons and a record edit, each with its lines against
// the same write without them, and the check of a 1,000,000-line log against a plain read of
// it, with the peak memory before and after the check. Prints figures.

#include "BenchSupport.h"

#include "store/ChangeLog.h"
#include "store/PersonTraining.h"
#include "store/RecordStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <vector>

using namespace store;

namespace {

constexpr int kRounds = 31;

std::vector<TrainingRecord> Credit(int persons) {
    CourseRecord course;
    course.DateCreated = 45000.25;
    course.CourseCode = QStringLiteral("FIR");
    course.CourseName = QStringLiteral("Firearms qualification");
    course.Hours = 8;
    std::vector<TrainingRecord> records;
    for (int i = 0; i < persons; ++i)
        records.push_back(
            CreditedRecord(course, 44000 + i / 86400.0, 45100, QStringLiteral("Range")));
    return records;
}

// The same records appended through the same all-or-nothing write, without their lines.
void AppendUnlogged(const std::vector<TrainingRecord>& records) {
    QByteArray bytes;
    for (const TrainingRecord& record : records)
        bytes += record.Encode();
    bench::Check(OpenTrainingRecords());
    bench::Check(Trainings().File().AppendRecords(bytes));
    CloseTrainingRecords();
}

void EditPerson(int n, bool logged) {
    bench::Check(OpenNameList());
    bench::Check(Persons().Read(1));
    Persons().Buffer().Comments = QStringLiteral("Edit %1").arg(n);
    bench::Check(logged ? Persons().Write(1)
                        : Persons().File().WriteRaw(1, Persons().Buffer().Encode()));
    CloseNameList();
}

void WriteLongLog(const QString& name, int lines) {
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly))
        bench::Fail(QStringLiteral("cannot write ") + name);
    changelog::Change change = changelog::Now(changelog::action::Edited, changelog::kind::Person);
    change.user = QStringLiteral("Sergeant Example");
    change.identity = change.person = QStringLiteral("2019-04-02 08:15:00");
    change.name = QStringLiteral("Alexandra Montgomery");
    change.fields = {
        {QStringLiteral("Comments"), QStringLiteral("Before"), QStringLiteral("After")}};
    const QByteArray content = changelog::ContentOf(change);
    changelog::Link link = changelog::HeaderLink();
    QByteArray block = QByteArray(changelog::kHeader) + '\n';
    for (int i = 0; i < lines; ++i) {
        block += changelog::ChainedLine(link, content, link);
        if (block.size() > (1 << 20)) {
            file.write(block);
            block.clear();
        }
    }
    file.write(block);
}

} // namespace

int main() {
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    QDir::setCurrent(folder.path());
    PersonRecord person;
    person.DateCreated = 44000;
    person.FirstName = QStringLiteral("Pat");
    person.LastName = QStringLiteral("Example");
    {
        QFile names(QStringLiteral("Name.List"));
        if (!names.open(QIODevice::WriteOnly) ||
            names.write(person.Encode()) != PersonRecord::Length)
            bench::Fail(QStringLiteral("cannot write Name.List"));
    }
    changelog::SetActingUser(QStringLiteral("Bench Mark"));
    const std::vector<TrainingRecord> credit = Credit(150);
    // The two alternate, so that the disk's moods fall on both alike. Each starts on a quiet
    // disk: the log's sync left behind by the write before is waited for outside the timing
    // (a user does not credit two classes within a millisecond). "until synced" also waits
    // for it: what the write costs the disk in all.
    double creditPlain = 1e18, creditLogged = 1e18, creditSynced = 1e18;
    double editPlain = 1e18, editLogged = 1e18, editSynced = 1e18;
    const auto timed = [](double& best, const std::function<void()>& work) {
        best = std::min(best, bench::Seconds(work));
        changelog::Settle();
    };
    for (int round = 0; round < kRounds; ++round) {
        timed(creditPlain, [&] { AppendUnlogged(credit); });
        timed(creditLogged, [&] { bench::Check(AppendTrainingRecords(credit)); });
        timed(creditSynced, [&] {
            bench::Check(AppendTrainingRecords(credit));
            changelog::Settle();
        });
        timed(editPlain, [&] { EditPerson(3 * round, false); });
        timed(editLogged, [&] { EditPerson(3 * round + 1, true); });
        timed(editSynced, [&] {
            EditPerson(3 * round + 2, true);
            changelog::Settle();
        });
    }
    const auto print = [](const char* what, double seconds, double plain) {
        std::printf("  %-34s %8.3f ms  %+6.1f%%\n", what, seconds * 1e3,
                    100 * (seconds / plain - 1));
    };
    std::printf("bench_changelog: best of %d rounds (target: lines add <= 10%%)\n", kRounds);
    std::printf("  credit of 150 without lines        %8.3f ms\n", creditPlain * 1e3);
    print("credit of 150 with lines", creditLogged, creditPlain);
    print("  and until the log is synced", creditSynced, creditPlain);
    std::printf("  record edit without line           %8.3f ms\n", editPlain * 1e3);
    print("record edit with line", editLogged, editPlain);
    print("  and until the log is synced", editSynced, editPlain);

    const QString log = QStringLiteral("Long.Log");
    WriteLongLog(log, 1000000);
    const double read = bench::BestSeconds([&] { bench::ReadRaw(log); });
    bench::PrintPeak("before the check");
    changelog::ChainCheck check;
    const double checked =
        bench::BestSeconds([&] { bench::Check(changelog::CheckChain(check, log)); });
    bench::PrintPeak("after the check");
    if (check.fault != changelog::ChainCheck::Fault::None || check.lines != 1000001)
        bench::Fail(QStringLiteral("the chain did not hold: ") + check.Describe());
    std::printf("  raw read of 1,000,000 lines  %8.1f ms (%lld bytes)\n", read * 1e3,
                static_cast<long long>(QFile(log).size()));
    std::printf("  chain check                  %8.1f ms  ratio %5.2f  (target <= 2)\n",
                checked * 1e3, checked / read);
    // Cold: the log comes from the disk, as for a check that is the first thing done with it.
    if (bench::DropCaches()) {
        const double coldRead = bench::Seconds([&] { bench::ReadRaw(log); });
        bench::DropCaches();
        const double coldCheck =
            bench::Seconds([&] { bench::Check(changelog::CheckChain(check, log)); });
        std::printf("  cold raw read                %8.1f ms\n", coldRead * 1e3);
        std::printf("  cold chain check             %8.1f ms  ratio %5.2f  (target <= 2)\n",
                    coldCheck * 1e3, coldCheck / coldRead);
    } else {
        std::printf("  (no cold figures: this process may not drop the page cache)\n");
    }
    return 0;
}
