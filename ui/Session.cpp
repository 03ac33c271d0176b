#include "ui/Session.h"

#include "store/ReadOnlyStation.h"

#include <algorithm>

AccessLevel AccessLevelOf(int stored) {
    if (stored < int(AccessLevel::ReadOnly) || stored > int(AccessLevel::ReadEditAddDelete))
        return AccessLevel::None;
    return AccessLevel(stored);
}

QString AccessLevelName(AccessLevel level) {
    switch (level) {
    case AccessLevel::ReadOnly:
        return QStringLiteral("Read Only");
    case AccessLevel::ReadEdit:
        return QStringLiteral("Read/Edit");
    case AccessLevel::ReadEditAdd:
        return QStringLiteral("Read/Edit/Add");
    case AccessLevel::ReadEditAddDelete:
        return QStringLiteral("Read/Edit/Add/Delete");
    case AccessLevel::None:
        break;
    }
    return QString();
}

AccessLevel Session::Level() const {
    if (store::IsReadOnlyStation())
        return std::min(level, AccessLevel::ReadOnly);
    return level;
}

bool Session::CanAdministerUsers() const {
    return adminMode && !store::IsReadOnlyStation();
}
