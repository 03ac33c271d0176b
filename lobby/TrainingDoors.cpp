#include "lobby/TrainingDoors.h"

#include "courses/CourseGrid.h"
#include "forms/ListGrid.h"
#include "lobby/NameGrid.h"
#include "lobby/PersonDelete.h"
#include "lobby/frmLobby.h"
#include "store/Formats.h"
#include "training/frmCreditTraining.h"
#include "training/frmTrainingHistory.h"
#include "ui/FlexGrid.h"
#include "ui/Globals.h"

#include <QPointer>

namespace {

training::ListedPerson PersonInRow(const FlexGrid& grid, int row) {
    return {grid.TextMatrix(row, namegrid::DisplayName),
            listgrid::CellNumber(grid, row, namegrid::RecNum)};
}

// Shows `window` modally over the Lobby; `after` reads its result before it goes.
template <class Window, class After> void RunModal(frmLobby& lobby, Window* window, After after) {
    QPointer<Window> shown = window;
    shown->ShowModal(&lobby);
    if (shown)
        after(*shown);
    delete shown.data();
}

} // namespace

void CreditHighlightedCourse(frmLobby& lobby) {
    const FlexGrid& courses = *lobby.gridCourse;
    const int row = courses.Row();
    // A category heading has no hours: there is nothing to credit.
    if (row < 1 || !(formats::LeadingNumber(courses.TextMatrix(row, coursegrid::Hours)) > 0))
        return;
    training::HighlightedCourse course;
    course.recNum = listgrid::CellNumber(courses, row, coursegrid::RecNum);
    course.code = courses.TextMatrix(row, coursegrid::Code);
    course.name = courses.TextMatrix(row, coursegrid::Name);
    course.providedBy = courses.TextMatrix(row, coursegrid::ProvidedBy);
    course.hours = courses.TextMatrix(row, coursegrid::Hours);
    QList<training::ListedPerson> persons;
    const FlexGrid& names = *lobby.gridName;
    for (int r = 1; r < names.Rows(); ++r)
        persons << PersonInRow(names, r);

    RunModal(lobby, new frmCreditTraining(&lobby, course, persons),
             [&lobby](const frmCreditTraining& window) {
                 if (window.Saved())
                     lobby.SetUpLobbyButtons();
             });
}

void ShowHighlightedHistory(frmLobby& lobby) {
    const FlexGrid& names = *lobby.gridName;
    if (names.Row() < 1)
        return;
    training::HistorySubject subject;
    subject.person = PersonInRow(names, names.Row());
    subject.readOnly = false;
    subject.accessLevel = Globals().SignedInAccessLevel;
    RunModal(lobby, new frmTrainingHistory(&lobby, subject),
             [&lobby](const frmTrainingHistory& window) {
                 if (window.Changed())
                     lobby.SetUpLobbyButtons();
             });
}

void DeleteHighlightedPerson(frmLobby& lobby) {
    FlexGrid& names = *lobby.gridName;
    PersonDeleteSteps steps;
    steps.showHistory = [&lobby] { ShowHighlightedHistory(lobby); };
    steps.refill = [&lobby] { UpdateNameGrid(lobby); };
    steps.listShown = [&names] { return names.Visible(); };
    steps.selectRow = [&names](int row) {
        listgrid::SelectRow(names, row, namegrid::Organization, true);
    };
    steps.setUpButtons = [&lobby] { lobby.SetUpLobbyButtons(); };
    DeletePerson(lobby, listgrid::CellNumber(names, names.Row(), namegrid::RecNum), names.Row(),
                 steps);
}
