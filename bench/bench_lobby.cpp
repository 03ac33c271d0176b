// Times the Lobby's two list fills at the largest record count (32,767 persons, 32,767
// courses) against one raw read of the file each reads. Prints figures; run with
// QT_QPA_PLATFORM=offscreen.

#include "courses/CourseGrid.h"
#include "courses/CoursePage.h"
#include "forms/ListGrid.h"
#include "lobby/NamePage.h"
#include "lobby/frmLobby.h"
#include "store/RecordStore.h"
#include "tools/SampleData.h"
#include "ui/AppTitle.h"
#include "ui/FlexGrid.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int Rounds = 3;
constexpr qint32 FullList = 32767;

double Ms(const QElapsedTimer& timer) {
    return timer.nsecsElapsed() / 1e6;
}

double Best(const std::function<void()>& work) {
    double best = 1e18;
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, Ms(timer));
    }
    return best;
}

// The whole file read at once, as fast as the system gives it.
double RawRead(const QString& name) {
    return Best([&] {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly) || file.readAll().isEmpty())
            std::fprintf(stderr, "cannot read %s\n", qPrintable(name));
    });
}

void Report(const char* what, int rows, double fill, store::DataFile which) {
    const QString name = store::FileNameOf(which);
    const double whole = RawRead(name);
    std::printf("  %-16s %6d rows %8.2f ms\n", what, rows, fill);
    std::printf("    raw read of %-16s %8.2f ms  ratio %6.2f (target within 10)\n",
                qPrintable(name), whole, fill / whole);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    datatool::SampleOptions options;
    options.persons = FullList;
    options.courses = FullList;
    options.records = 0;
    datatool::SampleSummary summary;
    if (const store::StoreResult written = datatool::WriteSample(folder.path(), options, summary);
        !written) {
        std::fprintf(stderr, "sample: %s\n", qPrintable(written.text()));
        return 1;
    }
    QDir::setCurrent(folder.path());

    // The Lobby as it stands after its first activation, without showing it.
    frmLobby lobby(
        Session{QStringLiteral("Bench Mark"), AccessLevel::ReadEditAddDelete, false, {}});
    lobby.LobbyActivated = true;
    lobby.Courses().Fill();

    const double nameFill = Best([&] { lobby.Names().Fill(); });
    const int nameRows = lobby.nameControls.gridName->Rows() - 1;
    const double courseFill = Best([&] { lobby.Courses().Fill(); });
    const int courseRows = lobby.courseControls.gridCourse->Rows() - 1;
    // After an edit the list is filled again and the saved course found by its identity; the
    // worst case is a course the list does not hold, which reads every row's key.
    const double courseLookup = Best([&] {
        (void)listgrid::FindRow(*lobby.courseControls.gridCourse, coursegrid::Column::Key,
                                [](const QString& key) { return IsCourseKey(key, -1); });
    });
    // Find reads every code and name when nothing matches.
    const double courseScan = Best([&] {
        (void)listgrid::FindRow(*lobby.courseControls.gridCourse, coursegrid::Column::Name,
                                [](const QString& name) { return name.isEmpty() && false; });
    });
    const double keyScan = Best([&] {
        (void)listgrid::FindRow(*lobby.courseControls.gridCourse, coursegrid::Column::Key,
                                [](const QString& key) { return key.isEmpty() && false; });
    });

    std::printf("bench_lobby: best of %d rounds, files in the page cache\n", Rounds);
    Report("UpdateNameGrid", nameRows, nameFill, store::DataFile::NameList);
    Report("UpdateCourseGrid", courseRows, courseFill, store::DataFile::CourseIndex);
    std::printf("  %-28s %8.2f ms\n", "course found by identity", courseLookup);
    std::printf("  %-28s %8.2f ms\n", "every course name read", courseScan);
    std::printf("  %-28s %8.2f ms\n", "every course key read", keyScan);
    return 0;
}
