// Times the Lobby's two list fills at the largest record count (32,767 persons, 32,767
// courses) against one raw read of the file each reads, and a search from its button's click
// to the results shown in the Lobby against the search pass alone, with the results part set
// against the Name List fill. Prints figures; run with QT_QPA_PLATFORM=offscreen.
//
//   bench_lobby [RECORDS]     training records, default 3000000

#include "courses/CourseGrid.h"
#include "courses/CoursePage.h"
#include "forms/ListGrid.h"
#include "lobby/NamePage.h"
#include "lobby/frmLobby.h"
#include "search/SearchControls.h"
#include "search/TrainingSearch.h"
#include "store/Codepage.h"
#include "store/Formats.h"
#include "store/RecordStore.h"
#include "tools/SampleData.h"
#include "ui/AppTitle.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTabWidget>
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

// The least of what `timed` reports it took, round by round.
double BestReported(const std::function<double()>& timed) {
    double best = 1e18;
    for (int round = 0; round < Rounds; ++round)
        best = std::min(best, timed());
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

// The search typed into the Lobby's criteria boxes, and the same criteria as the pass takes
// them.
struct Search {
    const char* what;
    QStringList boxes; // from, to, code, comments
    search::Criteria criteria;
};

// One search from the click of "Conduct the Search Now" to its results drawn on the Lobby's
// results page, against the pass over Training.Records alone; the results part is the
// difference, set against filling the Name List.
void ReportSearch(frmLobby& lobby, const Search& s, double nameFill) {
    const search::SearchControls& c = lobby.searchControls;
    std::vector<double> persons;
    for (const PersonRow& person : lobby.Persons().rows)
        persons.push_back(person.identity);
    std::size_t listed = 0;
    const double pass = Best([&] {
        std::vector<int> found;
        if (!search::FindPersons(persons, s.criteria, found))
            std::fprintf(stderr, "the search pass failed\n");
        listed = found.size();
    });
    if (listed == 0) { // the page would tell so in a message box, which nobody answers here
        std::printf("  search %-34s lists nobody: not timed\n", s.what);
        return;
    }
    const double click = BestReported([&] {
        lobby.tabMain->setCurrentIndex(frmLobby::SearchOptionsPage);
        for (int i = 0; i < 4; ++i)
            c.txtMatch[std::size_t(i)]->setText(s.boxes.value(i));
        c.optMatch[s.criteria.listMatching ? 1 : 2]->click();
        QApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        c.cmdMatch->Click();
        QApplication::processEvents(); // the results page drawn
        const double took = Ms(timer);
        if (lobby.tabMain->currentIndex() != frmLobby::ResultsPage)
            std::fprintf(stderr, "the results did not show\n");
        c.cmdFinishedSummary->Click();
        QApplication::processEvents();
        return took;
    });
    const double results = std::max(click - pass, 0.0);
    std::printf("  search %-34s %6zu listed\n", s.what, listed);
    std::printf("    click to results shown %8.2f ms, search pass %8.2f ms  ratio %5.2f "
                "(target within 2)\n",
                click, pass, click / pass);
    std::printf("    results part %8.2f ms, Name List fill %8.2f ms  ratio %5.2f\n", results,
                nameFill, results / nameFill);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The settings of whoever runs the bench stay untouched, and no reminder asks anything.
    QStandardPaths::setTestModeEnabled(true);
    const qint64 records = argc > 1 ? QString::fromLocal8Bit(argv[1]).toLongLong() : 3000000;
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    datatool::SampleOptions options;
    options.persons = FullList;
    options.courses = FullList;
    options.records = records;
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

    // The search as the user runs it, over every person of the list: the Lobby shown, both
    // kinds of person listed, the file in the page cache.
    lobby.show();
    QApplication::processEvents();
    lobby.nameControls.optDisplay[3]->click();
    QApplication::processEvents();
    const double everyoneFill = Best([&] { lobby.Names().Fill(); });
    std::printf(
        "search over %zu persons listed (Name List fill %.2f ms), %lld training records "
        "(%lld bytes)\n",
        lobby.Persons().rows.size(), everyoneFill, static_cast<long long>(records),
        static_cast<long long>(QFile(store::FileNameOf(store::DataFile::TrainingRecords)).size()));
    Search everyDate{"of every date (all with records)",
                     {QStringLiteral("01/01/1990"), QStringLiteral("12/31/2030")},
                     {}};
    everyDate.criteria.fromDay = formats::DayNumberOf(QDate(1990, 1, 1));
    everyDate.criteria.toDay = formats::DayNumberOf(QDate(2030, 12, 31));
    Search comment{"of a comment found nowhere, NOT", {{}, {}, {}, QStringLiteral("range")}, {}};
    comment.criteria.comment = QStringLiteral("range");
    comment.criteria.listMatching = false;
    // The course of the first record, as a code found among many.
    QString firstCode;
    if (store::OpenTrainingRecords() && store::Trainings().Read(1))
        firstCode = store::TrimField(store::Trainings().Buffer().CourseCode);
    store::CloseTrainingRecords();
    Search code{"of the first record's course code", {{}, {}, firstCode}, {}};
    code.criteria.code = firstCode;
    for (const Search& s : {everyDate, comment, code})
        ReportSearch(lobby, s, everyoneFill);
    return 0;
}
