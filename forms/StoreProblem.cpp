#include "forms/StoreProblem.h"

#include "forms/Messages.h"
#include "store/StoreResult.h"
#include "ui/Globals.h"

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
    Tell(QStringLiteral("File Problem"),
         {AppTitle() + QStringLiteral(" could not read or write a data file:"), QString(),
          result.text(), QString(), QStringLiteral("Please check the data folder and try again.")},
         Icon::Stop);
}

} // namespace forms
