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
#include <vector>

using namespace store;

namespace {

constexpr int kRounds = 15;

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
    // The two alternate, so that the disk's moods fall on both alike.
    double creditPlain = 1e18, creditLogged = 1e18, editPlain = 1e18, editLogged = 1e18;
    for (int round = 0; round < kRounds; ++round) {
        creditPlain = std::min(creditPlain, bench::Seconds([&] { AppendUnlogged(credit); }));
        creditLogged = std::min(
            creditLogged, bench::Seconds([&] { bench::Check(AppendTrainingRecords(credit)); }));
        editPlain = std::min(editPlain, bench::Seconds([&] { EditPerson(2 * round, false); }));
        editLogged = std::min(editLogged, bench::Seconds([&] { EditPerson(2 * round + 1, true); }));
    }
    std::printf("bench_changelog: best of %d rounds\n", kRounds);
    std::printf("  credit of 150 without lines  %8.3f ms\n", creditPlain * 1e3);
    std::printf("  credit of 150 with lines     %8.3f ms  +%5.1f%%  (target <= 10%%)\n",
                creditLogged * 1e3, 100 * (creditLogged / creditPlain - 1));
    std::printf("  record edit without line     %8.3f ms\n", editPlain * 1e3);
    std::printf("  record edit with line        %8.3f ms  +%5.1f%%  (target <= 10%%)\n",
                editLogged * 1e3, 100 * (editLogged / editPlain - 1));

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
