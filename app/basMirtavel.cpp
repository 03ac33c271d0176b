#include "app/basMirtavel.h"

#include "platform/Events.h"
#include "platform/Instance.h"
#include "platform/StandardDialogs.h"
#include "signin/OrganizationName.h"
#include "signin/StoreProblem.h"
#include "signin/frmTitlePage.h"
#include "store/RecordStore.h"
#include "store/Recovery.h"
#include "ui/Globals.h"
#include "ui/modMsgBox.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace {

bool& ShutDownUnderWay() {
    static bool underWay = false;
    return underWay;
}

std::function<void()>& ProgramEnd() {
    static std::function<void()> end;
    return end;
}

// Work cut short by a crash or power loss (a removal, a person's removal, a course update)
// is finished or undone before any file is opened; the user hears about it.
void SettleInterruptedRemoval() {
    QStringList notes;
    const store::StoreResult result = store::FinishInterruptedWork(notes);
    if (!result) {
        signin::ShowStoreProblem(result);
        return;
    }
    if (!notes.isEmpty())
        ShowMessage(QStringLiteral("Data Files Repaired"), 5, notes.join(u'\n'), 1, false,
                    {QStringLiteral("&Okay")});
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
    // Every program-wide value to its start, AccessLevelNames and DataFileNames built.
    ResetGlobals();
    ShutDownUnderWay() = false;
    // The report printer lays out each job in inches on whatever printer is chosen then; a
    // machine without a printer is no concern at start.
    SettleInterruptedRemoval();
    Globals().OrganizationName = signin::StoredOrganizationName();

    auto* titleWindow = new frmTitlePage();
    titleWindow->setAttribute(Qt::WA_DeleteOnClose);
    titleWindow->ShowModeless();
    return true;
}

void ShutDown() {
    ShutDownUnderWay() = true;
    store::CloseAll();
    platform::DoEvents();
    store::RemoveEmptyDataFiles();
    // Closing one window may close others; each is looked at once and only if still there.
    QList<QPointer<QWidget>> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
        windows.append(window);
    for (const QPointer<QWidget>& window : std::as_const(windows)) {
        if (window && window->isVisible())
            window->close();
    }
    if (ProgramEnd())
        ProgramEnd()();
    else
        QCoreApplication::quit();
}

bool ShuttingDown() {
    return ShutDownUnderWay();
}

void SetProgramEnd(std::function<void()> end) {
    ProgramEnd() = std::move(end);
}
