#pragma once

#include "ui/Session.h"

#include <QString>
#include <functional>

class Form;

// The three modeless windows follow one another: title -> Admin -> Lobby -> Admin ... Each
// window shows the next through these hooks, so the windows need not know each other's
// classes nor their folders. Main fills them with the real windows; a test puts its own. The
// Lobby is given the session of the user who signed in; the Admin window starts with nobody.
// A training history opens the change log, which the sign-in's folder keeps, the same way.
namespace flow {

using Opener = std::function<void()>;
using SessionOpener = std::function<void(const Session&)>;

void ShowAdminWindow();                       // a fresh Admin window
void ShowLobbyWindow(const Session& session); // the Lobby for the signed-in user

// The change log of one person, over `owner` (their training history), until it is closed.
using PersonOpener =
    std::function<void(Form& owner, const QString& personIdentity, const QString& personName)>;
void ShowPersonChanges(Form& owner, const QString& personIdentity, const QString& personName);

// An empty opener does nothing when called.
void SetAdminWindow(Opener open);
void SetLobbyWindow(SessionOpener open);
void SetPersonChangesWindow(PersonOpener open);

} // namespace flow
