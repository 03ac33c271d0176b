#include "signin/AdminAccess.h"

#include "forms/Messages.h"
#include "forms/StoreProblem.h"
#include "platform/StandardDialogs.h"
#include "signin/AccessCode.h"
#include "signin/PasswordCheck.h"
#include "signin/SignInMessages.h"
#include "signin/UserList.h"
#include "store/RecordStore.h"
#include "ui/Session.h"

namespace signin {

void MoveAccessCodeIntoFolder() {
    const AccessCodeMove moved = MoveAccessCodeFromSettings();
    forms::ShowStoreProblem(moved.written);
    forms::ShowSettingsProblem(moved.removed);
}

bool AdminAccess::Ask(qint32 highlighted) {
    if (!AccessCodeIsSet())
        return AdministratorMayChoose(highlighted) && ChooseAccessCode();
    return AskForAccessCode(highlighted);
}

bool AdminAccess::AskForAccessCode(qint32 highlighted) {
    QString record;
    if (const store::StoreResult read = ReadAccessCode(record); !read) {
        forms::ShowStoreProblem(read);
        return false;
    }
    // A wrong code is logged with the highlighted user's name, when there is one.
    QString name;
    store::UserRecord user;
    if (highlighted > 0 && ReadUser(highlighted, user))
        name = DisplayName(user);
    for (;;) {
        if (const int seconds = AccessCodeWait(); seconds > 0) {
            TellPleaseWait(TooManyAccessCodes, seconds);
            return false;
        }
        lastAnswer_ = platform::InputBox(
            QStringLiteral("Access Code Required"),
            QStringLiteral("\r\nPlease enter the access code\r\nneeded to add/edit/delete\r\n"
                           "users in this 'User List'"),
            AccessCodePromptDefault, parent_, platform::InputEcho::Secret);
        if (lastAnswer_.isEmpty())
            return false;
        const SignInTry tried = TryAccessCode(record, lastAnswer_, AccessCodePromptDefault, name);
        if (tried.right)
            return true;
        forms::TellUnlogged(QStringLiteral("incorrect access code"), tried.logged);
        forms::Tell(QStringLiteral("Incorrect Access Code"),
                    {QStringLiteral("Sorry, but you have not entered"),
                     QStringLiteral("the correct Access Code.")},
                    forms::Icon::Exclamation);
    }
}

// A folder that has users but no code (its code was kept elsewhere, or it comes from an older
// installation) is not for whoever asks first to claim: one of its administrators signs in
// with the password first. Only a folder without users, a new installation, lets anyone
// choose.
bool AdminAccess::AdministratorMayChoose(qint32 highlighted) {
    qint32 count = 0;
    if (const store::StoreResult counted = CountUsers(count); !counted) {
        forms::ShowStoreProblem(counted);
        return false;
    }
    if (count < 1)
        return true;

    store::UserRecord user;
    if (highlighted > 0) {
        if (const store::StoreResult read = ReadUser(highlighted, user); !read) {
            forms::ShowStoreProblem(read);
            return false;
        }
    }
    if (highlighted < 1 || AccessLevelOf(user.AccessLevel) != AccessLevel::ReadEditAddDelete) {
        forms::Tell(QStringLiteral("Administrator Sign-In Required"),
                    {QStringLiteral("No access code has been chosen for this data yet."),
                     QStringLiteral("Only a user with '") +
                         AccessLevelName(AccessLevel::ReadEditAddDelete) +
                         QStringLiteral("' privileges may choose it."),
                     QString(), QStringLiteral("Please highlight that user in the list"),
                     QStringLiteral("and press this button again.")},
                    forms::Icon::Exclamation);
        return false;
    }
    const QString name = DisplayName(user);
    if (const int seconds = PasswordWait(name); seconds > 0) {
        TellPleaseWait(TooManyPasswords, seconds);
        return false;
    }
    const QString typed = platform::InputBox(
        QStringLiteral("Administrator Sign-In"),
        QStringLiteral("\r\nNo access code has been chosen for this data yet.\r\n") + name +
            QStringLiteral(", please enter your password\r\nto choose one."),
        QString(), parent_, platform::InputEcho::Secret);
    if (typed.isEmpty())
        return false;
    const SignInTry tried = TryPassword(user, typed);
    if (!tried.right) {
        forms::TellUnlogged(QStringLiteral("failed sign-in"), tried.logged);
        TellIncorrectPassword();
        return false;
    }
    return true;
}

// The folder has no access code: it is chosen, typed twice.
bool AdminAccess::ChooseAccessCode() {
    for (;;) {
        const QString first = platform::InputBox(
            QStringLiteral("New Access Code"),
            QStringLiteral("\r\nNo access code has been chosen for this data yet.\r\nPlease "
                           "choose one of at least %1 characters;\r\nit will be needed to "
                           "add/edit/delete users.")
                .arg(AccessCodeMinLength),
            QString(), parent_, platform::InputEcho::Secret);
        if (first.isEmpty())
            return false;
        // Blanks alone are no code: they cannot be told apart when typed unseen.
        if (first.size() < AccessCodeMinLength || first.trimmed().isEmpty() ||
            first == AccessCodePromptDefault) {
            forms::Tell(QStringLiteral("Access Code Not Accepted"),
                        {QStringLiteral("Please choose an access code of"),
                         QStringLiteral("at least %1 characters.").arg(AccessCodeMinLength)},
                        forms::Icon::Exclamation);
            continue;
        }
        const QString second = platform::InputBox(
            QStringLiteral("Confirm Access Code"),
            QStringLiteral("\r\nPlease type the new access code\r\nonce more to confirm it."),
            QString(), parent_, platform::InputEcho::Secret);
        if (second.isEmpty())
            return false;
        if (second != first) {
            forms::Tell(QStringLiteral("Access Codes Differ"),
                        {QStringLiteral("The two entries were not the same."),
                         QStringLiteral("Please choose the access code again.")},
                        forms::Icon::Exclamation);
            continue;
        }
        // A code that never reached the disk would be asked for anew by the next press of
        // Admin: no admin mode without it.
        const store::StoreResult saved = SaveAccessCode(first);
        if (!saved) {
            forms::ShowStoreProblem(saved);
            return false;
        }
        forms::Tell(QStringLiteral("Access Code Saved"),
                    {QStringLiteral("The access code has been saved."),
                     QStringLiteral("Please keep it in a safe place.")},
                    forms::Icon::Information);
        return true;
    }
}

} // namespace signin
