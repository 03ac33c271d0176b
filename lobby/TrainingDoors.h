#pragma once

class frmLobby;

// The Lobby's doors to the training windows: what each button hands over from the grids
// and what the Lobby does once the window has closed.

// cmdCreditTraining: the highlighted course, if it has hours, credited to persons of the
// Name List; after a credit the buttons are set up again (Training History needs records).
void CreditHighlightedCourse(frmLobby& lobby);

// cmdTrainingHistory: the highlighted person's history, editable as the access level allows;
// after a change the buttons are set up again (the last record may have gone).
void ShowHighlightedHistory(frmLobby& lobby);

// cmdDeleteName: the highlighted person with every training record of that person.
void DeleteHighlightedPerson(frmLobby& lobby);
