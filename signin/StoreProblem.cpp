#include "signin/StoreProblem.h"

#include "store/StoreResult.h"
#include "ui/Globals.h"
#include "ui/modMsgBox.h"

namespace signin {

void ShowStoreProblem(const store::StoreResult& result) {
    if (result.ok())
        return;
    ShowMessage(QStringLiteral("File Problem"), 2,
                AppTitle() + QStringLiteral(" could not read or write a data file:\r\n\r\n") +
                    result.text() +
                    QStringLiteral("\r\n\r\nPlease check the data folder and try again."),
                1, false, {QStringLiteral("&Okay")});
}

} // namespace signin
