#include "lobby/TrainingDoors.h"

#include "courses/CoursePage.h"
#include "forms/LobbyDoor.h"
#include "forms/RunModal.h"
#include "training/ShowHistory.h"
#include "training/frmCreditTraining.h"

void CreditCourse(LobbyDoor& door, const CourseRow& course) {
    training::HighlightedCourse credited;
    credited.recNum = course.recNum;
    credited.code = course.code;
    credited.name = course.name;
    credited.providedBy = course.providedBy;
    credited.hours = course.hours;
    QList<training::ListedPerson> persons;
    for (const PersonRow& person : door.Persons().rows)
        persons << training::ListedPerson{person.name, person.recNum, person.active};

    Form& lobby = door.Window();
    const bool saved =
        forms::RunModal(lobby, new frmCreditTraining(&lobby, door.SignedIn(), credited, persons),
                        [](const frmCreditTraining& window) { return window.Saved(); });
    if (saved)
        door.SetUpButtons();
}

void ShowEditableHistory(LobbyDoor& door, const training::ListedPerson& person) {
    training::HistorySubject subject;
    subject.person = person;
    subject.readOnly = false;
    subject.session = door.SignedIn();
    if (training::ShowTrainingHistory(door.Window(), subject))
        door.SetUpButtons();
}
