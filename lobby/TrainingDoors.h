#pragma once

class LobbyDoor;

// The Lobby's doors to the training windows: what each button hands over from the lists, read
// through the Lobby's door, and what the Lobby does once the window has closed.

// cmdCreditTraining: the highlighted course, if it has hours, credited to persons of the
// Name List; after a credit the buttons are set up again (Training History needs records).
void CreditHighlightedCourse(LobbyDoor& door);

// cmdTrainingHistory: the highlighted person's history, editable as the access level allows;
// after a change the buttons are set up again (the last record may have gone).
void ShowHighlightedHistory(LobbyDoor& door);
