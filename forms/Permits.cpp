#include "forms/Permits.h"

#include "forms/Messages.h"
#include "ui/Globals.h"

#include <algorithm>

namespace forms {

namespace {

int LevelNeeded(Action action) {
    switch (action) {
    case Action::EditRecord:
    case Action::EditTraining:
        return 2;
    case Action::AddRecord:
    case Action::Credit:
        return 3;
    case Action::DeleteRecord:
    case Action::DeleteTraining:
    case Action::BackupRestore:
        return 4;
    case Action::AdministerUsers:
        break;
    }
    return 0;
}

} // namespace

bool Permits(const Session& session, Action action) {
    if (action == Action::AdministerUsers)
        return session.adminMode;
    return session.level >= LevelNeeded(action);
}

Session CurrentSession() {
    const ProgramValues& values = Globals();
    Session session{values.SignedInAccessLevel, values.AdminMode};
    if (values.ReadOnlyStation) {
        session.level = std::min(session.level, 1);
        session.adminMode = false;
    }
    return session;
}

bool MayWrite(Action action) {
    if (Permits(CurrentSession(), action))
        return true;
    TellNotAllowed(action);
    return false;
}

static QString NothingDone(Action action) {
    switch (action) {
    case Action::DeleteRecord:
    case Action::DeleteTraining:
        return QStringLiteral("nothing was removed.");
    case Action::BackupRestore:
        return QStringLiteral("nothing was copied.");
    default:
        return QStringLiteral("nothing was saved.");
    }
}

void TellNotAllowed(Action action) {
    const QString nothing = NothingDone(action);
    if (action == Action::AdministerUsers) {
        Tell(QStringLiteral("Not authorized"),
             {QStringLiteral("Users are added, changed and removed only"),
              QStringLiteral("after the access code is given;"), nothing},
             Icon::Stop);
        return;
    }
    const int level = CurrentSession().level;
    const QString name =
        level >= 1 ? Globals().AccessLevelNames.value(level) : QStringLiteral("nobody signed in");
    Tell(QStringLiteral("Not authorized"),
         {QStringLiteral("Your access level (%1) does not allow this;").arg(name), nothing},
         Icon::Stop);
}

} // namespace forms
