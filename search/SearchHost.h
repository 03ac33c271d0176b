#pragma once

#include "forms/LobbyDoor.h"

#include <QString>

namespace search {

// The Lobby's door as its search and results pages see it: the door every page uses (the
// window, the Name List's rows, the flashing button) and, beside it, what only these pages
// do to the Lobby: they show and hide its pages while results show, and keep the backup
// button from copying files under shown results.
class SearchHost : public LobbyDoor {
public:
    // The Lobby's pages, as the search pages name them.
    enum Page { NameListPage, CourseIndexPage, OptionsPage, ResultsPage };

    // The caption of the Name List's display choice ("Active Persons").
    virtual QString DisplayChoice() const = 0;

    virtual void SetPageShown(Page page, bool shown) = 0;
    virtual QString PageCaption(Page page) const = 0;
    virtual void SetPageCaption(Page page, const QString& caption) = 0;
    virtual void BringToFront(Page page) = 0;
    // Backup/Restore, when the Lobby shows it, may not copy files under shown results.
    virtual void SetBackupRestoreEnabled(bool enabled) = 0;

protected:
    ~SearchHost() = default;
};

} // namespace search
