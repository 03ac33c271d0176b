#pragma once

#include "courses/CourseControls.h"
#include "forms/FlashState.h"
#include "lobby/NameGrid.h"
#include "search/DuePage.h"
#include "search/SearchPage.h"
#include "ui/Form.h"

#include <QString>
#include <array>
#include <memory>
#include <optional>

class CourseFind;
class CoursePage;
class LobbyPage;
class NamePage;
struct CourseRow;
class QAction;
class QLabel;
class QMenu;
class QTabWidget;
class QTimer;
class ZovButton;
namespace lobby {
class DataFilesWatch;
}

// The main window: who is signed in, the Name List, the Course Index and the search and
// summary pages, and which buttons a user of this access level may see and press for what
// the lists hold (SetUpLobbyButtons).
//
// The Lobby is the hub of its pages: each page (the Name List, the Course Index from courses/,
// the search pages from search/) is a LobbyPage of its own that builds its controls on its
// tab and reaches the Lobby only through its door. The Lobby owns its tabs and refilling its
// lists: a page or an editor that changed one says so (ListChanged) with the key to highlight;
// the search page says when its results show and close.
class frmLobby : public Form, public search::SearchHost {
    Q_OBJECT

public:
    explicit frmLobby(Session session, QWidget* parent = nullptr);
    ~frmLobby() override;

    // Pages of tabMain.
    enum Page {
        NameListPage = 0,
        CourseIndexPage = 1,
        SearchOptionsPage = 2,
        ResultsPage = 3,
        DuePage = 4
    };

    // ---- The Lobby's own controls (built by BuildLobbyControls); arrays keep index 0 unused
    // where the numbering starts at 1.
    QLabel* lblUserInfo = nullptr;
    QLabel* lblStationNotice = nullptr; // only on a read-only station
    ZovButton* cmdHelp = nullptr;
    ZovButton* cmdQuit = nullptr;
    ZovButton* cmdAdminWindow = nullptr;
    ZovButton* cmdBackupRestore = nullptr;
    QMenu* menuBackupRestoreMenu = nullptr;
    std::array<QAction*, 5> menuBackupRestore{}; // 1 backup, 2 restore, 3 separator, 4 exit
    QTimer* timerFlashButton = nullptr;
    QTabWidget* tabMain = nullptr;

    // The pages' controls as their pages built them, to reach them from outside the pages.
    NameControls nameControls;             // page 0, "Name List"
    CourseControls courseControls;         // page 1, "Course Index"
    search::SearchControls searchControls; // pages 2 and 3, the search and summary pages
    search::DueControls dueControls;       // page 4, "Who is Due"

    // ---- Window state.
    bool LobbyActivated = false; // the first activation has filled the Name List
    FlashState Flash;            // the pulse of the flashing button

    NamePage& Names() { return *names_; }
    CoursePage& Courses() { return *courses_; }
    CourseFind& Find();
    search::SearchPage& SearchPages() { return *search_; }
    search::DuePage& Due() { return *due_; }

    // Shows, hides, enables and captions the buttons by access level and list contents.
    void SetUpLobbyButtons();

    // ---- The door the pages and windows use.
    Form& Window() override { return *this; }
    const Session& SignedIn() const override { return session_; }
    ListRecord Highlighted(LobbyList list) const override;
    const ListedPersons& Persons() const override;
    bool PersonsListed() const override;
    void ListChanged(LobbyList list, const QString& reselectKey) override;
    void SetUpButtons() override { SetUpLobbyButtons(); }
    void StartFlashing(ZovButton* button) override;
    void StopFlashing() override;
    void HoldLobby(bool held) override;

    // ---- The search pages' side of the door.
    QString DisplayChoice() const override;

    // ---- Handlers.
    void tabMain_Click(int previousTab);
    void timerFlashButton_Timer();
    void cmdHelp_Click();
    void cmdAdminWindow_Click();
    void cmdBackupRestore_Click();
    void menuBackup_Click();
    void menuRestore_Click();
    void cmdQuit_Click();
    void CourseCredit_Asked(const CourseRow& course);
    // The search page's results show under `caption`, the options page captioned
    // `criteriaCaption` meanwhile or out of reach when that is empty; and they close.
    void SearchResults_Opened(const QString& caption, const QString& criteriaCaption);
    void SearchResults_Closed();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_KeyDown(QKeyEvent* event) override;
    void Form_QueryUnload(bool& cancel) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ConnectHandlers();
    // The page on tab `index`; none for the results page, which the search page works
    // from its options page.
    LobbyPage* PageAt(int index) const;
    LobbyPage& PageOf(LobbyList list) const;
    // Backup/Restore, when it shows, may not copy files under shown results.
    void SetBackupRestoreEnabled(bool enabled);
    // A read-only station's lists follow the files as the program holding the folder writes
    // them: each filled again, its highlighted record kept.
    void RefreshLists();
    // Appends the sign-out line to User.Log; a file that cannot be written is told.
    void LogSignOut();

    Session session_; // who signed in; every window opened from here is given it
    std::unique_ptr<NamePage> names_;
    std::unique_ptr<CoursePage> courses_;
    ZovButton* flashing_ = nullptr;              // the button the flashing timer pulses
    std::unique_ptr<search::SearchPage> search_; // pages 2 and 3
    std::unique_ptr<search::DuePage> due_;       // page 4
    std::optional<QString> optionsCaption_;      // the options page's own caption while a search's
                                                 // results show under theirs
    int currentTab_ = 0;                         // tabMain's page before a change
    bool closeFromTitleBar_ = false; // the close in progress came from the window's close box
    lobby::DataFilesWatch* watch_ = nullptr; // only on a read-only station
};
