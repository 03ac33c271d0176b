#pragma once

#include "training/TrainingOpening.h"

class LobbyDoor;
struct CourseRow;

// The Lobby's doors to the training windows: what each hands over from the lists, read
// through the Lobby's door, and what the Lobby does once the window has closed.

// Credit: `course` credited to persons of the Name List; after a credit the buttons are set
// up again (Training History needs records).
void CreditCourse(LobbyDoor& door, const CourseRow& course);

// Training History: `person`'s history, editable as the access level allows; after a change
// the buttons are set up again (the last record may have gone).
void ShowEditableHistory(LobbyDoor& door, const training::ListedPerson& person);
