#include "forms/Permits.h"

#include "forms/Messages.h"

namespace forms {

bool Permits(const Session& session, Action action) {
    switch (action) {
    case Action::EditRecord:
    case Action::EditTraining:
        return session.CanEdit();
    case Action::AddRecord:
    case Action::Credit:
        return session.CanAdd();
    case Action::DeleteRecord:
    case Action::DeleteTraining:
    case Action::SetRequirements:
        return session.CanDelete();
    case Action::BackupRestore:
        return session.CanBackup();
    case Action::AdministerUsers:
        return session.CanAdministerUsers();
    }
    return false;
}

bool MayWrite(const Session& session, Action action) {
    if (Permits(session, action))
        return true;
    TellNotAllowed(session, action);
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

void TellNotAllowed(const Session& session, Action action) {
    const QString nothing = NothingDone(action);
    if (action == Action::AdministerUsers) {
        Tell(QStringLiteral("Not authorized"),
             {QStringLiteral("Users are added, changed and removed only"),
              QStringLiteral("after the access code is given;"), nothing},
             Icon::Stop);
        return;
    }
    const AccessLevel level = session.Level();
    const QString name =
        level == AccessLevel::None ? QStringLiteral("nobody signed in") : AccessLevelName(level);
    Tell(QStringLiteral("Not authorized"),
         {QStringLiteral("Your access level (%1) does not allow this;").arg(name), nothing},
         Icon::Stop);
}

} // namespace forms
