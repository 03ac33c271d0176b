#pragma once

#include "store/StoreResult.h"

#include <QString>

namespace store {
struct UserRecord;
}

// The checks of the secrets typed at sign-in, held back by the brakes (SignInBrake): a
// user's password, counted by the user's name, and the folder's access code, counted as one
// whoever types it. A wrong try counts towards its brake and goes into the user log, unless
// this station only reads the folder; a right one forgets the wrong ones before it.
namespace signin {

// The one check of a user's password: exactly as typed, so case counts, and so does a blank
// before or after.
bool PasswordFits(const store::UserRecord& user, const QString& typed);

// What one try came to.
struct SignInTry {
    bool right = false;
    store::StoreResult logged; // a wrong try written to the user log
};

// Seconds before the next try is taken; 0: now. A try held off is refused before anything is
// checked or counted.
int PasswordWait(const QString& name);
int AccessCodeWait();

// `typed` as the password of `user`; a wrong one is logged as the user's failed sign-in.
SignInTry TryPassword(const store::UserRecord& user, const QString& typed);

// `answer` to the access-code prompt, checked against the folder's code `record`. The prompt's
// own `offered` text, sent back unchanged, is a wrong code. A wrong one is logged with
// `highlighted`, the name highlighted in the list, or none.
SignInTry TryAccessCode(const QString& record, const QString& answer, const QString& offered,
                        const QString& highlighted);

} // namespace signin
