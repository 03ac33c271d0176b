#include "forms/StoreProblem.h"

#include "forms/Messages.h"
#include "store/StoreResult.h"
#include "ui/AppTitle.h"

#include <QDir>

namespace forms {

void ShowSettingsProblem(const store::StoreResult& result) {
    if (result.ok())
        return;
    Tell(QStringLiteral("Settings Problem"),
         {AppTitle() + QStringLiteral(" could not save its settings:"), QString(), result.text(),
          QString(), QStringLiteral("Please check that this file can be written.")},
         Icon::Exclamation);
}

void ShowStoreProblem(const store::StoreResult& result) {
    if (result.ok())
        return;
    if (result.isFull()) {
        Tell(QStringLiteral("File Full"),
             {AppTitle() + QStringLiteral(" could not save: a data file is full."), QString(),
              result.text()},
             Icon::Exclamation);
        return;
    }
    Tell(QStringLiteral("File Problem"),
         {AppTitle() + QStringLiteral(" could not read or write a data file:"), QString(),
          result.text(), QString(), QStringLiteral("Please check the data folder and try again.")},
         Icon::Stop);
}

void ShowSaveProblem(const QString& path, const store::StoreResult& result) {
    if (result.ok())
        return;
    Tell(QStringLiteral("File Not Saved"),
         {AppTitle() + QStringLiteral(" could not save the file"), QDir::toNativeSeparators(path),
          QString(), result.reason(), QString(), QStringLiteral("Nothing was saved.")},
         Icon::Stop);
}

void TellUnlogged(const QString& event, const store::StoreResult& logged) {
    if (logged)
        return;
    Tell(QStringLiteral("User Log Not Written"),
         {AppTitle() + QStringLiteral(" could not write this %1 to the user log:").arg(event),
          QString(), logged.text(), QString(),
          QStringLiteral("The program goes on; this %1 is not in the log.").arg(event)},
         Icon::Exclamation);
}

bool AskReloadChangedRecord() {
    return Ask(QStringLiteral("Changed Elsewhere"), Icon::Exclamation,
               {QStringLiteral("The data was changed elsewhere: another station has"),
                QStringLiteral("changed or removed this record since this window"),
                QStringLiteral("showed it, so it was not saved."), QString(),
                QStringLiteral("Reload to see the lists as they are now; what you typed"),
                QStringLiteral("here is then let go.")},
               1, {QStringLiteral("&Reload"), QStringLiteral("&Stay Here")}) == 1;
}

void TellRemovalChangedElsewhere() {
    Tell(QStringLiteral("Changed Elsewhere"),
         {QStringLiteral("The data was changed elsewhere: another station has"),
          QStringLiteral("changed or removed this record since this window"),
          QStringLiteral("showed it, so nothing was removed."), QString(),
          QStringLiteral("The list now shows what is on file.")},
         Icon::Exclamation);
}

} // namespace forms
