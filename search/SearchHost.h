#pragma once

#include <QString>

class FlexGrid;
class Form;

namespace search {

// What the search pages need of the window that holds them (the Lobby), and nothing more:
// the list of persons it shows, its pages, its flashing button and its backup button.
class SearchHost {
public:
    // The window's pages, as the search pages name them.
    enum Page { NameListPage, CourseIndexPage, OptionsPage, ResultsPage };

    virtual ~SearchHost() = default;

    // The window: disabled under the hourglass while a pass runs, owner of the windows the
    // results open.
    virtual Form& HostWindow() = 0;
    // The persons the Name List shows, as its grid holds them: 0 display name,
    // 1 organisation, 2 identity (DateCreated as number text), 3 sort name, 4 record number.
    virtual const FlexGrid& ShownPersons() const = 0;
    // The caption of the Name List's display choice ("Active Persons").
    virtual QString DisplayChoice() const = 0;

    virtual void SetPageShown(Page page, bool shown) = 0;
    virtual QString PageCaption(Page page) const = 0;
    virtual void SetPageCaption(Page page, const QString& caption) = 0;
    virtual void BringToFront(Page page) = 0;
    // The window's flashing timer, which makes the Finished button flash while the results
    // page shows.
    virtual void SetFlashing(bool on) = 0;
    // Backup/Restore, when the window shows it, may not copy files under shown results.
    virtual void SetBackupRestoreEnabled(bool enabled) = 0;
};

} // namespace search
