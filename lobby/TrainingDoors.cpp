#include "lobby/TrainingDoors.h"

#include "courses/CourseGrid.h"
#include "forms/ListGrid.h"
#include "forms/LobbyDoor.h"
#include "lobby/NameGrid.h"
#include "store/Formats.h"
#include "training/frmCreditTraining.h"
#include "training/frmTrainingHistory.h"
#include "ui/FlexGrid.h"

#include <QPointer>

namespace {

training::ListedPerson PersonInRow(const FlexGrid& grid, int row) {
    return {grid.TextMatrix(row, namegrid::DisplayName),
            listgrid::CellNumber(grid, row, namegrid::RecNum)};
}

// Shows `window` modally over the Lobby; `after` reads its result before it goes.
template <class Window, class After> void RunModal(Form& lobby, Window* window, After after) {
    QPointer<Window> shown = window;
    shown->ShowModal(&lobby);
    if (shown)
        after(*shown);
    delete shown.data();
}

} // namespace

void CreditHighlightedCourse(LobbyDoor& door) {
    const FlexGrid& courses = door.Rows(LobbyList::Courses);
    const int row = courses.Row();
    // A category heading has no hours: there is nothing to credit.
    if (row < 1 || !(formats::LeadingNumber(courses.TextMatrix(row, coursegrid::Hours)) > 0))
        return;
    training::HighlightedCourse course;
    course.recNum = door.Highlighted(LobbyList::Courses).recNum;
    course.code = courses.TextMatrix(row, coursegrid::Code);
    course.name = courses.TextMatrix(row, coursegrid::Name);
    course.providedBy = courses.TextMatrix(row, coursegrid::ProvidedBy);
    course.hours = courses.TextMatrix(row, coursegrid::Hours);
    QList<training::ListedPerson> persons;
    const FlexGrid& names = door.Rows(LobbyList::Names);
    for (int r = 1; r < names.Rows(); ++r)
        persons << PersonInRow(names, r);

    Form& lobby = door.Window();
    RunModal(lobby, new frmCreditTraining(&lobby, door.SignedIn(), course, persons),
             [&door](const frmCreditTraining& window) {
                 if (window.Saved())
                     door.SetUpButtons();
             });
}

void ShowHighlightedHistory(LobbyDoor& door) {
    const FlexGrid& names = door.Rows(LobbyList::Names);
    if (names.Row() < 1)
        return;
    training::HistorySubject subject;
    subject.person = PersonInRow(names, names.Row());
    subject.readOnly = false;
    subject.session = door.SignedIn();
    Form& lobby = door.Window();
    RunModal(lobby, new frmTrainingHistory(&lobby, subject),
             [&door](const frmTrainingHistory& window) {
                 if (window.Changed())
                     door.SetUpButtons();
             });
}
