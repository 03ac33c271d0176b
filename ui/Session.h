#pragma once

#include <QString>
#include <QtGlobal>

// The four levels a user record holds (1 to 4), and None before anyone signed in. Each level
// allows what the one below it does and more.
enum class AccessLevel : qint16 {
    None = 0,
    ReadOnly = 1,
    ReadEdit = 2,
    ReadEditAdd = 3,
    ReadEditAddDelete = 4,
};

// The level a user record stores; a number out of range gives None, which allows nothing.
AccessLevel AccessLevelOf(int stored);
// "Read Only", "Read/Edit", "Read/Edit/Add", "Read/Edit/Add/Delete"; empty for None.
QString AccessLevelName(AccessLevel level);

// Who works with the program now: made by the Admin window when a user signs in (and, before
// that, by the start with the organization alone), handed by the Lobby to every window it
// opens, and given back to the Admin window at sign-out. Windows take it through their
// constructors; nothing reads it from a program-wide place.
struct Session {
    QString userName; // "First Last" of the signed-in user; empty before anyone signed in
    AccessLevel level = AccessLevel::None;
    // The access code was given in the Admin window: users may be added, changed and removed
    // until admin mode is left or that window closes.
    bool adminMode = false;
    QString organizationName; // shown in the Lobby's caption

    // The level as it counts: on a station that only reads the data folder (another program
    // holds it) at most Read Only, whoever signed in.
    AccessLevel Level() const;
    bool CanEdit() const { return Level() >= AccessLevel::ReadEdit; }
    bool CanAdd() const { return Level() >= AccessLevel::ReadEditAdd; }
    bool CanDelete() const { return Level() >= AccessLevel::ReadEditAddDelete; }
    bool CanBackup() const { return Level() >= AccessLevel::ReadEditAddDelete; }
    // Admin mode, closed on a station that only reads.
    bool CanAdministerUsers() const;
};
