#include "signin/PasswordCheck.h"

#include "signin/AccessCode.h"
#include "signin/SignInBrake.h"
#include "signin/UserList.h"
#include "store/Clock.h"
#include "store/ReadOnlyStation.h"
#include "store/RecordStore.h"
#include "store/UserLog.h"

namespace signin {

namespace {

// There is one code, so one count for it.
const QString TheCode;

SignInTry Counted(bool right, SignInBrake& brake, const QString& key, store::UserLogEvent failure,
                  const QString& name) {
    SignInTry tried;
    tried.right = right;
    if (right) {
        brake.Succeeded(key);
        return tried;
    }
    brake.Failed(key, store::CurrentDateTime());
    if (!store::IsReadOnlyStation())
        tried.logged = store::AppendUserLog(failure, name, QString());
    return tried;
}

} // namespace

bool PasswordFits(const store::UserRecord& user, const QString& typed) {
    return typed == store::UnscramblePassword(user.Password);
}

int PasswordWait(const QString& name) {
    return PasswordBrake().SecondsToWait(name, store::CurrentDateTime());
}

int AccessCodeWait() {
    return AccessCodeBrake().SecondsToWait(TheCode, store::CurrentDateTime());
}

SignInTry TryPassword(const store::UserRecord& user, const QString& typed) {
    const QString name = DisplayName(user);
    return Counted(PasswordFits(user, typed), PasswordBrake(), name,
                   store::UserLogEvent::FailedSignIn, name);
}

SignInTry TryAccessCode(const QString& record, const QString& answer, const QString& offered,
                        const QString& highlighted) {
    return Counted(answer != offered && AccessCodeMatches(record, answer), AccessCodeBrake(),
                   TheCode, store::UserLogEvent::FailedAccessCode, highlighted);
}

} // namespace signin
