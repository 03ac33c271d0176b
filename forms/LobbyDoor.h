#pragma once

#include "ui/Session.h"

#include <QString>
#include <QtGlobal>
#include <vector>

class Form;
class ZovButton;

// The lists the Lobby shows and keeps filled.
enum class LobbyList { Names, Courses };

// The highlighted record of a list: its record number in the list's file and its identity
// as the list's key column holds it. recNum 0: no record is highlighted.
struct ListRecord {
    qint32 recNum = 0;
    QString key;
};

// A person as the Name List lists them, with the identity exactly as Name.List stores it: the
// list's key text is the general number form, which may round a key that falls on half a
// second to the other second.
struct PersonRow {
    QString name; // first, middle and last name
    QString organization;
    QString sortKey;     // last, middle and first name
    double identity = 0; // DateCreated as stored
    qint32 recNum = 0;   // in Name.List
    bool active = true;
};

// The Name List's rows in the order shown, under its heading ("List of all active persons").
struct ListedPersons {
    QString heading;
    std::vector<PersonRow> rows;
};

// The Lobby as the pages and windows opened from it see it: the few things they may ask of
// it, so that they need not know its class nor its other controls. The Lobby implements it;
// the search pages see it with a few more things of their own (search/SearchHost.h).
class LobbyDoor {
public:
    // The Lobby window: the parent of modal windows, and the window kept busy while a page
    // works.
    virtual Form& Window() = 0;

    // Who signed in: what the pages offer and every window opened from the Lobby takes.
    virtual const Session& SignedIn() const = 0;

    // The highlighted record of `list`.
    virtual ListRecord Highlighted(LobbyList list) const = 0;
    // The persons the Name List shows, for the pages and windows that work on them.
    virtual const ListedPersons& Persons() const = 0;
    // Whether the Name List shows anybody (without reading its rows).
    virtual bool PersonsListed() const = 0;

    // `list` changed on file: the Lobby fills it again, highlights the record whose key is
    // `reselectKey` (when the list shows it among two or more rows) and sets its buttons up.
    virtual void ListChanged(LobbyList list, const QString& reselectKey) = 0;
    // Shows, hides, enables and captions the buttons by access level and list contents.
    virtual void SetUpButtons() = 0;

    // The Lobby's flashing button: `button` pulses until StopFlashing.
    virtual void StartFlashing(ZovButton* button) = 0;
    virtual void StopFlashing() = 0;
    // While a page holds the Lobby, the way back to the Admin window and the search page are
    // out of reach; released, the search page waits for the next SetUpButtons.
    virtual void HoldLobby(bool held) = 0;

protected:
    ~LobbyDoor() = default;
};
