#pragma once

#include "ui/Session.h"

#include <QString>
#include <QtGlobal>

class FlexGrid;
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
    // The rows of `list` as the Lobby shows them, for windows that list or print them.
    virtual const FlexGrid& Rows(LobbyList list) const = 0;

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
