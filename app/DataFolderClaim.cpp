#include "app/DataFolderClaim.h"

#include "forms/Messages.h"
#include "store/Clock.h"
#include "store/FolderLock.h"
#include "store/ReadOnlyStation.h"
#include "ui/AppTitle.h"

#include <QDir>

namespace {

enum Choice { ReadOnly = 1, Quit = 2, BreakLock = 3 };

QString MachineOf(const store::LockHolder& holder) {
    return holder.Known() ? holder.machine : QStringLiteral("the computer that made the lock");
}

int AskAboutHolder(const store::LockAttempt& found) {
    const store::LockHolder& holder = found.holder;
    QStringList lines = {QStringLiteral("The data folder"),
                         QDir::toNativeSeparators(QDir::currentPath()),
                         QStringLiteral("is in use by ") + store::DescribeHolder(holder),
                         QStringLiteral("(") +
                             store::AgeInWords(holder.since, store::CurrentDateTime()) +
                             QStringLiteral(" ago)."),
                         QString(),
                         QStringLiteral("Only one program at a time may change the data."),
                         QStringLiteral("You can look at everything read only,"),
                         QStringLiteral("or quit and try again later.")};
    QStringList buttons = {QStringLiteral("Open &Read Only"), QStringLiteral("&Quit")};
    if (found.outcome == store::LockOutcome::HeldElsewhere) {
        lines << QString()
              << QStringLiteral("If ") + AppTitle() + QStringLiteral(" stopped on ") +
                     MachineOf(holder) + QStringLiteral(" without closing,")
              << QStringLiteral("its lock was left behind and may be broken.");
        buttons << QStringLiteral("&Break the Lock");
    }
    return forms::Ask(QStringLiteral("Data Folder in Use"), forms::Icon::Exclamation, lines,
                      ReadOnly, buttons);
}

bool ConfirmBreak(const store::LockHolder& holder) {
    return forms::Ask(
               QStringLiteral("Break the Lock?"), forms::Icon::Stop,
               {QStringLiteral("Break the lock only when you are sure that ") + AppTitle(),
                QStringLiteral("no longer runs on ") + MachineOf(holder) + QStringLiteral("."),
                QString(), QStringLiteral("If it still runs there, both programs write to"),
                QStringLiteral("the same files and records will be lost."), QString(),
                QStringLiteral("Break the lock of ") + store::DescribeHolder(holder) +
                    QStringLiteral("?")},
               2, {QStringLiteral("&Break the Lock"), QStringLiteral("&Cancel")}) == 1;
}

} // namespace

bool ClaimDataFolder() {
    store::LockAttempt attempt = store::TakeFolderLock();
    for (;;) {
        switch (attempt.outcome) {
        case store::LockOutcome::Taken:
        case store::LockOutcome::TakenOver:
        case store::LockOutcome::NotLockable: // nothing can write there, this program neither
            return true;
        case store::LockOutcome::HeldOnThisMachine:
        case store::LockOutcome::HeldElsewhere:
            break;
        }
        switch (AskAboutHolder(attempt)) {
        case ReadOnly:
            store::SetReadOnlyStation(true, store::DescribeHolder(attempt.holder));
            return true;
        case BreakLock:
            // Cancelled, the folder is looked at afresh: its holder may have let go meanwhile.
            attempt = ConfirmBreak(attempt.holder) ? store::BreakFolderLock(attempt)
                                                   : store::TakeFolderLock();
            break;
        default:
            return false;
        }
    }
}
