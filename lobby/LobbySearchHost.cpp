#include "lobby/LobbySearchHost.h"

#include "lobby/NameGrid.h"
#include "lobby/frmLobby.h"
#include "ui/ZovButton.h"

#include <QTabWidget>
#include <QTimer>

namespace {
// The search pages' names for the Lobby's pages are the Lobby's own numbers.
int Index(search::SearchHost::Page page) {
    switch (page) {
    case search::SearchHost::NameListPage:
        return frmLobby::NameListPage;
    case search::SearchHost::CourseIndexPage:
        return frmLobby::CourseIndexPage;
    case search::SearchHost::OptionsPage:
        return frmLobby::SearchOptionsPage;
    case search::SearchHost::ResultsPage:
        return frmLobby::ResultsPage;
    }
    return frmLobby::ResultsPage;
}
} // namespace

Form& LobbySearchHost::HostWindow() {
    return lobby_;
}

const FlexGrid& LobbySearchHost::ShownPersons() const {
    return *lobby_.gridName;
}

QString LobbySearchHost::DisplayChoice() const {
    return DisplayChoiceCaption(lobby_);
}

void LobbySearchHost::SetPageShown(Page page, bool shown) {
    lobby_.tabMain->setTabVisible(Index(page), shown);
}

QString LobbySearchHost::PageCaption(Page page) const {
    return lobby_.tabMain->tabText(Index(page));
}

void LobbySearchHost::SetPageCaption(Page page, const QString& caption) {
    lobby_.tabMain->setTabText(Index(page), caption);
}

void LobbySearchHost::BringToFront(Page page) {
    lobby_.tabMain->setCurrentIndex(Index(page));
}

void LobbySearchHost::SetFlashing(bool on) {
    if (on)
        lobby_.timerFlashButton->start();
    else
        lobby_.timerFlashButton->stop();
}

void LobbySearchHost::SetBackupRestoreEnabled(bool enabled) {
    if (!lobby_.cmdBackupRestore->isHidden())
        lobby_.cmdBackupRestore->setEnabled(enabled);
}
