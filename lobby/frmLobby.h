#pragma once

#include "courses/CourseControls.h"
#include "forms/FlashState.h"
#include "lobby/NameGrid.h"
#include "search/SearchPage.h"
#include "ui/Form.h"

#include <QString>
#include <array>
#include <memory>

class CourseFind;
class CoursePage;
class NamePage;
class FlexGrid;
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
// the search pages from search/) is an object of its own that reaches the Lobby only through
// its door. The Lobby owns refilling its
// lists: a page or an editor that changed one says so (ListChanged) with the key to highlight.
class frmLobby : public Form, public search::SearchHost {
    Q_OBJECT

public:
    explicit frmLobby(Session session, QWidget* parent = nullptr);
    ~frmLobby() override;

    // Pages of tabMain.
    enum Page { NameListPage = 0, CourseIndexPage = 1, SearchOptionsPage = 2, ResultsPage = 3 };

    // ---- Controls (built by BuildLobbyControls); arrays keep index 0 unused where the
    // numbering starts at 1.
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

    // The pages' controls, each set worked by its page object.
    NameControls nameControls;             // page 0, "Name List"
    CourseControls courseControls;         // page 1, "Course Index"
    search::SearchControls searchControls; // pages 2 and 3, the search and summary pages

    // ---- Window state.
    bool LobbyActivated = false; // the first activation has filled the Name List
    FlashState Flash;            // the pulse of the flashing button

    NamePage& Names() { return *names_; }
    CoursePage& Courses() { return *courses_; }
    CourseFind& Find();
    search::SearchPage& SearchPages() { return *search_; }

    // Shows, hides, enables and captions the buttons by access level and list contents.
    void SetUpLobbyButtons();

    // ---- The door the pages and windows use.
    Form& Window() override { return *this; }
    const Session& SignedIn() const override { return session_; }
    ListRecord Highlighted(LobbyList list) const override;
    const FlexGrid& Rows(LobbyList list) const override;
    void ListChanged(LobbyList list, const QString& reselectKey) override;
    void SetUpButtons() override { SetUpLobbyButtons(); }
    void StartFlashing(ZovButton* button) override;
    void StopFlashing() override;
    void HoldLobby(bool held) override;

    // ---- The search pages' side of the door.
    QString DisplayChoice() const override;
    void SetPageShown(SearchHost::Page page, bool shown) override;
    QString PageCaption(SearchHost::Page page) const override;
    void SetPageCaption(SearchHost::Page page, const QString& caption) override;
    void BringToFront(SearchHost::Page page) override;
    void SetBackupRestoreEnabled(bool enabled) override;

    // ---- Handlers.
    void tabMain_Click(int previousTab);
    void timerFlashButton_Timer();
    void cmdHelp_Click();
    void cmdAdminWindow_Click();
    void cmdBackupRestore_Click();
    void menuBackup_Click();
    void menuRestore_Click();
    void cmdQuit_Click();

    void cmdCreditTraining_Click();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_KeyDown(QKeyEvent* event) override;
    void Form_QueryUnload(bool& cancel) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ConnectHandlers();
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
    int currentTab_ = 0;                         // tabMain's page before a change
    bool closeFromTitleBar_ = false; // the close in progress came from the window's close box
    lobby::DataFilesWatch* watch_ = nullptr; // only on a read-only station
};
