#pragma once

#include "forms/LobbyPage.h"
#include "print/ReportTable.h"
#include "search/DueControls.h"
#include "search/WhoIsDue.h"

#include <QObject>
#include <memory>
#include <vector>

class QWidget;

namespace search {

class DueRows;

// The Lobby's "Who is Due" page: for a date and a window of days, the shown persons whose
// latest credit of a course to be renewed runs out by the window's end, and the active ones
// without a course every active person must hold, soonest due first. The training records
// are read once each time the page is chosen (and again when the lists change under it);
// the date, the window and the filters then only pick from what was read, as they are typed.
class DuePage : public QObject, public LobbyPage {
    Q_OBJECT

public:
    DuePage(LobbyDoor& door, QWidget* page);
    ~DuePage() override;

    const DueControls& Controls() const { return c_; }

    // ---- As every page of the Lobby.
    // Reads the training records for the persons the Name List shows, then lists who is due.
    void Fill() override;
    // Captions and tooltips of the page's buttons; while the page shows, the lists it was
    // read from may have changed, so it is filled again.
    void SetUpButtons() override;
    ListRecord Highlighted() const override; // the highlighted row's person
    void TakeFocus() override;               // the page was chosen: filled anew

    // The list as it shows, for printing and saving.
    print::ReportTable Table() const;

    // ---- Handlers.
    void txtDue_Change();
    void cmdDueTrainingHistory_Click();

private:
    void ShowDue();
    void ShowCount(const std::vector<DueRow>& rows);
    void EnableButtons();

    LobbyDoor& door_;
    DueControls c_;
    LatestCredits credits_;
    // The persons read for, as the Name List showed them, and the courses with rules: the
    // rows shown name them.
    std::shared_ptr<const std::vector<PersonRow>> persons_;
    std::shared_ptr<const std::vector<DueCourse>> courses_;
    std::shared_ptr<const DueRows> shown_;
};

} // namespace search
