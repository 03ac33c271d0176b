// Times the credit window at the largest Name List (32,767 persons): opening it over the
// Lobby's rows and narrowing its list by one, two and three typed letters, against filling
// the Name List in the same run. Prints figures; run with QT_QPA_PLATFORM=offscreen.

#include "lobby/NamePage.h"
#include "lobby/frmLobby.h"
#include "tools/SampleData.h"
#include "training/PersonPicks.h"
#include "training/frmCreditTraining.h"
#include "ui/FlexGrid.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

constexpr int Rounds = 5;

double Ms(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

QList<training::ListedPerson> CreditList(const frmLobby& lobby) {
    QList<training::ListedPerson> persons;
    const ListedPersons& rows = lobby.Persons();
    persons.reserve(qsizetype(rows.rows.size()));
    for (const PersonRow& person : rows.rows)
        persons << training::ListedPerson{person.name, person.recNum, person.active};
    return persons;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    datatool::SampleOptions options;
    options.persons = 32767;
    options.courses = 20;
    options.records = 0;
    datatool::SampleSummary summary;
    if (const store::StoreResult written = datatool::WriteSample(folder.path(), options, summary);
        !written) {
        std::fprintf(stderr, "sample: %s\n", qPrintable(written.text()));
        return 1;
    }
    QDir::setCurrent(folder.path());
    const Session session{QStringLiteral("Bench Mark"), AccessLevel::ReadEditAddDelete, false, {}};
    frmLobby lobby(session);
    lobby.LobbyActivated = true;

    double fill = 1e18;
    double open = 1e18;
    double firstOpen = 0;
    double steps[3] = {1e18, 1e18, 1e18};
    int shown[3] = {0, 0, 0};
    int listed = 0;
    for (int round = 0; round < Rounds; ++round) {
        fill = std::min(fill, Ms([&] { lobby.Names().Fill(); }));
        std::unique_ptr<frmCreditTraining> window;
        // What pressing Credit costs: the Lobby's rows handed over, the window made and drawn.
        const double opened = Ms([&] {
            window = std::make_unique<frmCreditTraining>(
                nullptr, session, training::HighlightedCourse{1, "FIR", "Firearms", {}, "8"},
                CreditList(lobby));
            window->show();
            QApplication::processEvents();
        });
        if (round == 0)
            firstOpen = opened;
        open = std::min(open, opened);
        listed = window->Picks().ShownCount();
        const QString typed = QStringLiteral("mil");
        for (int letters = 1; letters <= 3; ++letters) {
            steps[letters - 1] = std::min(steps[letters - 1], Ms([&] {
                                              window->txtFind->setText(typed.left(letters));
                                              QApplication::processEvents();
                                          }));
            shown[letters - 1] = window->Picks().ShownCount();
        }
    }

    std::printf("bench_credit: %d persons listed, best of %d rounds (first open %.1f ms)\n", listed,
                Rounds, firstOpen);
    std::printf("  Name List fill                  %8.2f ms\n", fill);
    std::printf("  credit window open              %8.2f ms  ratio %5.2f  (target 200 ms)\n", open,
                open / fill);
    for (int i = 0; i < 3; ++i)
        std::printf("  filter \"%s\" (%5d shown)       %8.2f ms  ratio %5.2f  (target 50 ms)\n",
                    qPrintable(QStringLiteral("mil").left(i + 1)), shown[i], steps[i],
                    steps[i] / fill);
    return 0;
}
