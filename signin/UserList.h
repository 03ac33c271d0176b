#pragma once

#include "store/StoreResult.h"

#include <QList>
#include <QString>

namespace store {
struct UserRecord;
}

// The users of the User List as the sign-in reads them: listed for choosing, one read by its
// record number, and counted.
namespace signin {

// A user as listed and logged: first name, one space, last name.
QString DisplayName(const store::UserRecord& user);

// One user of the list.
struct ListedUser {
    QString name;    // DisplayName
    QString level;   // the name of the access level
    QString created; // mm/dd/yyyy
    QString sortKey; // last name, one space, first name: the list's order
    qint32 recNum = 0;
    double identity = 0; // DateCreated as stored
};

struct UserListing {
    bool exists = false;     // no file: nobody has been entered yet
    QList<ListedUser> users; // in the file's order; on a failure, those read before it
    store::StoreResult read;
};

// Every user of the list. A missing file is not created by looking.
UserListing ListUsers();

// The user of record `recNum`.
store::StoreResult ReadUser(qint32 recNum, store::UserRecord& user);

// The number of users; 0 without a file, which is not created by counting.
store::StoreResult CountUsers(qint32& count);

} // namespace signin
