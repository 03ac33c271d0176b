#include "signin/UserList.h"

#include "store/Codepage.h"
#include "store/Formats.h"
#include "store/RecordStore.h"
#include "ui/Session.h"

#include <QFile>

namespace signin {

namespace {
bool ListExists() {
    return QFile::exists(store::FileNameOf(store::DataFile::UserList));
}
} // namespace

QString DisplayName(const store::UserRecord& user) {
    return store::TrimField(user.FirstName) + u' ' + store::TrimField(user.LastName);
}

UserListing ListUsers() {
    UserListing listing;
    listing.exists = ListExists();
    if (!listing.exists)
        return listing;
    auto& users = store::Users();
    listing.read = users.Open();
    for (qint32 n = 1; listing.read && n <= users.Count(); ++n) {
        listing.read = users.Read(n);
        if (!listing.read)
            break;
        const store::UserRecord& user = users.Buffer();
        listing.users.append(
            {DisplayName(user), AccessLevelName(AccessLevelOf(user.AccessLevel)),
             formats::MmDdYyyy(user.DateCreated),
             store::TrimField(user.LastName) + u' ' + store::TrimField(user.FirstName), n,
             user.DateCreated});
    }
    users.Close();
    return listing;
}

store::StoreResult ReadUser(qint32 recNum, store::UserRecord& user) {
    auto& users = store::Users();
    store::StoreResult result = users.Open();
    if (result)
        result = users.Read(recNum);
    if (result)
        user = users.Buffer();
    users.Close();
    return result;
}

store::StoreResult CountUsers(qint32& count) {
    count = 0;
    if (!ListExists())
        return store::StoreResult::Ok();
    auto& users = store::Users();
    const store::StoreResult opened = users.Open();
    if (opened)
        count = users.Count();
    users.Close();
    return opened;
}

} // namespace signin
