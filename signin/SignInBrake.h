#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>

namespace signin {

// Slows the guessing of a secret. The first three wrong tries for one name pass freely; after
// that each further try must wait twice as long as the one before: 2, 4, 8, 16 seconds, then
// 30 at most. A right try forgets the name's wrong ones.
//
// The count lives in memory only, for the program's run: a fresh start begins again at zero.
// The files on a shared drive are not the place for it, since any station could reset it there.
class SignInBrake {
public:
    static constexpr int FreeTries = 3;
    static constexpr int MaxWaitSeconds = 30;

    // Seconds still to wait before `name` may try again at `now`; 0 when it may try.
    int SecondsToWait(const QString& name, const QDateTime& now);
    void Failed(const QString& name, const QDateTime& now);
    void Succeeded(const QString& name);
    void Clear();

    // The wait that follows the given number of wrong tries in a row.
    static int WaitAfter(int failures);

private:
    struct Tries {
        int failures = 0;
        QDateTime last;
    };
    QHash<QString, Tries> tries_;
};

// The program's two brakes: passwords, counted by the user's name, and the access code,
// counted as one.
SignInBrake& PasswordBrake();
SignInBrake& AccessCodeBrake();

} // namespace signin
