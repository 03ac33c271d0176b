#include "forms/ShutDown.h"

#include "forms/Messages.h"
#include "platform/Events.h"
#include "store/RecordStore.h"
#include "store/Removal.h"
#include "ui/AppTitle.h"

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

} // namespace

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

void ForgetShutDown() {
    ShutDownUnderWay() = false;
}

bool AskToQuit(const QuitButtons& buttons) {
    const QString title = AppTitle();
    return forms::Ask(QStringLiteral("Exit ") + title + u'?', forms::Icon::Question,
                      {QStringLiteral("This will close ") + title + u'.', QString(),
                       QStringLiteral("Is this what you want to do?")},
                      buttons.defaultButton, {buttons.yes, buttons.no}) == 1;
}
