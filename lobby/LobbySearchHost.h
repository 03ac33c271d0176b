#pragma once

#include "search/SearchHost.h"

class frmLobby;

// The Lobby as its search and results pages see it.
class LobbySearchHost : public search::SearchHost {
public:
    explicit LobbySearchHost(frmLobby& lobby) : lobby_(lobby) {}

    Form& HostWindow() override;
    const FlexGrid& ShownPersons() const override;
    QString DisplayChoice() const override;
    void SetPageShown(Page page, bool shown) override;
    QString PageCaption(Page page) const override;
    void SetPageCaption(Page page, const QString& caption) override;
    void BringToFront(Page page) override;
    void SetFlashing(bool on) override;
    void SetBackupRestoreEnabled(bool enabled) override;

private:
    frmLobby& lobby_;
};
