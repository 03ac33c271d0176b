// How long the course editor's update of credited training records takes on a large
// Training.Records, against one plain pass that reads the whole file and writes it back.
//
//   bench_update_credited [RECORDS]     default 1000000; runs headless

#include "tools/SampleData.h"

#include "courses/UpdateCreditedRecords.h"
#include "courses/frmAddEditCourse.h"
#include "platform/Questions.h"
#include "store/RecordStore.h"
#include "ui/AppTitle.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

constexpr int Rounds = 3; // each figure is the best of this many runs

double BestSeconds(const std::function<void()>& run) {
    double best = 1e300;
    for (int i = 0; i < Rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        best = std::min(best, double(timer.nsecsElapsed()) / 1e9);
    }
    return best;
}

[[noreturn]] void Fail(const QString& why) {
    std::fprintf(stderr, "bench_update_credited: %s\n", qPrintable(why));
    std::exit(1);
}

// The whole file read in blocks and written back where it was: the least any pass over
// every record that may write them costs.
void RawReadWritePass() {
    QFile file(store::FileNameOf(store::DataFile::TrainingRecords));
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        Fail(file.errorString());
    QByteArray block(64 * 1024, '\0');
    qint64 offset = 0;
    for (;;) {
        const qint64 got = file.read(block.data(), block.size());
        if (got <= 0)
            break;
        if (!file.seek(offset) || file.write(block.constData(), got) != got)
            Fail(file.errorString());
        offset += got;
    }
}

// The record number of the course (not a heading) credited most often.
qint32 MostCreditedCourse(qint32& credits) {
    QHash<double, qint32> perKey;
    QFile file(store::FileNameOf(store::DataFile::TrainingRecords));
    if (!file.open(QIODevice::ReadOnly))
        Fail(file.errorString());
    QByteArray record(store::TrainingRecord::Length, '\0');
    while (file.read(record.data(), record.size()) == record.size())
        ++perKey[store::TrainingRecord::Decode(record.constData()).CourseKey];
    if (!store::OpenCourseIndex())
        Fail(QStringLiteral("Course.Index"));
    qint32 best = 0;
    credits = -1;
    for (qint32 n = 1; n <= store::CourseCount(); ++n) {
        if (!store::Courses().Read(n))
            Fail(QStringLiteral("Course.Index"));
        const store::CourseRecord& course = store::Courses().Buffer();
        if (course.Hours > 0 && perKey.value(course.DateCreated) > credits) {
            credits = perKey.value(course.DateCreated);
            best = n;
        }
    }
    store::CloseCourseIndex();
    return best;
}

// The editor as a user drives it: the course opened, its name changed, Save, "Yes, update",
// the report closed.
void SaveThroughEditor(qint32 recNum, int round) {
    frmAddEditCourse editor(nullptr, Session{{}, AccessLevel::ReadEditAddDelete, false, {}},
                            frmAddEditCourse::ForEditing(recNum));
    editor.show();
    editor.SetFieldText(2, QStringLiteral("Renamed %1").arg(round));
    editor.cmdSave_Click();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qint64 records = argc > 1 ? std::atoll(argv[1]) : 1000000;

    QTemporaryDir folder;
    if (!folder.isValid() || !QDir::setCurrent(folder.path()))
        Fail(QStringLiteral("no temporary folder"));
    datatool::SampleOptions options;
    options.persons = 2000;
    options.courses = 200;
    options.records = records;
    datatool::SampleSummary summary;
    if (const store::StoreResult made = datatool::WriteSample(folder.path(), options, summary);
        !made)
        Fail(made.text());
    const qint64 bytes = QFile(store::FileNameOf(store::DataFile::TrainingRecords)).size();
    qint32 credits = 0;
    const qint32 course = MostCreditedCourse(credits);
    std::printf("Training.Records: %lld records, %.1f MB; course %d credited %d times\n",
                bytes / store::TrainingRecord::Length, bytes / 1e6, course, credits);

    // Every question answered with its first button: "Yes, update", then "Okay".
    platform::SetAnswerer([](const platform::Question&) {
        platform::Answer answer;
        answer.button = 1;
        return answer;
    });

    const double raw = BestSeconds(RawReadWritePass);
    int round = 0;
    const double editor = BestSeconds([&] { SaveThroughEditor(course, ++round); });
    store::Courses().Buffer().CourseName = QStringLiteral("Walk only");
    const double walk = BestSeconds([] {
        credited::Tally tally;
        if (const store::StoreResult done =
                credited::CarryCourseIntoTraining(store::Courses().Buffer(), tally);
            !done)
            Fail(done.text());
    });

    std::printf("  raw read-and-write pass            %8.3f s\n", raw);
    std::printf("  UpdateCreditedRecords (editor)     %8.3f s   %5.2fx raw (target 2x)\n", editor,
                editor / raw);
    std::printf("  record walk alone                  %8.3f s   %5.2fx raw\n", walk, walk / raw);
    platform::SetAnswerer({});
    QDir::setCurrent(QDir::tempPath());
    return editor <= 2 * raw ? 0 : 2;
}
