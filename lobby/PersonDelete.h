#pragma once

#include <QtGlobal>
#include <functional>

class Form;

// Deleting the highlighted person of the Name List with all of that person's training
// records: first an offer to see (and print) the history, then a confirmation, then the two
// rewrites, the count of training records that went, and the list rebuilt with the row
// above highlighted. What it needs of the Lobby comes as plain data and these steps.
struct PersonDeleteSteps {
    std::function<void()> showHistory;      // as the Training History button does
    std::function<void()> refill;           // rebuilds the Name List
    std::function<bool()> listShown;        // the Name List shows rows
    std::function<void(int row)> selectRow; // highlights a row and scrolls it to the top
    std::function<void()> setUpButtons;     // SetUpLobbyButtons
};

// `recNum`: the person's record number in Name.List; `row`: the person's row in the list.
void DeletePerson(Form& lobby, qint32 recNum, int row, const PersonDeleteSteps& steps);
