#include "app/basMirtavel.h"

#include "app/DataFolderClaim.h"

#include "forms/Messages.h"
#include "forms/StoreProblem.h"
#include "lobby/LobbyEntry.h"
#include "platform/Instance.h"
#include "platform/StandardDialogs.h"
#include "signin/AdminEntry.h"
#include "signin/frmTitlePage.h"
#include "store/ReadOnlyStation.h"
#include "store/RecordStore.h"
#include "store/Recovery.h"
#include "ui/AppTitle.h"
#include "ui/WindowFlow.h"

#include <QApplication>

namespace {

// Work cut short by a crash or power loss (a restore, a save, a removal, a person's removal, a
// course update) is finished or undone before any file is opened; the user hears about it.
void SettleInterruptedWork() {
    QStringList notes;
    const store::StoreResult result = store::FinishInterruptedWork(notes);
    if (!result) {
        forms::ShowStoreProblem(result);
        return;
    }
    if (!notes.isEmpty())
        forms::Tell(QStringLiteral("Data Files Repaired"), notes);
}

} // namespace

bool Main(const QString& instanceName) {
    const QString title = AppTitle();
    if (platform::PreviousInstanceRunning(instanceName)) {
        platform::StandardMessage(QStringLiteral("Terminating..."),
                                  title + QStringLiteral(" is already loaded\r\nand running on "
                                                         "your computer!"),
                                  platform::StandardIcon::Stop, platform::StandardButtons::Ok);
        return false;
    }
    store::SetReadOnlyStation(false);
    ForgetShutDown();
    // The windows reach one another through these.
    flow::SetAdminWindow(signin::OpenAdminWindow);
    flow::SetLobbyWindow(lobby::OpenLobbyWindow);
    flow::SetPersonChangesWindow(signin::OpenPersonChanges);
    // The folder is taken before any repair: a repair run while another program works in
    // the folder would "finish" that program's unfinished work under its hands.
    if (!ClaimDataFolder())
        return false;
    if (!store::IsReadOnlyStation())
        SettleInterruptedWork();

    auto* titleWindow = new frmTitlePage();
    titleWindow->setAttribute(Qt::WA_DeleteOnClose);
    titleWindow->ShowModeless();
    return true;
}
