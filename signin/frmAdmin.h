#pragma once

#include "forms/FlashState.h"
#include "signin/AdminAccess.h"
#include "signin/UserList.h"
#include "ui/Form.h"
#include "ui/Session.h"

#include <QTimer>

class AdminSignInPage;
class AdminToolsPage;
class FlexGrid;
class QLineEdit;
class QStackedWidget;
class QTextEdit;
class UserLogPage;
class ZovButton;

// The window between the title window and the Lobby. A user picks a name from the 'User
// List', types that user's password and goes on to the Lobby. An administrator who gives the
// access code adds, edits and removes users, names the organization and reviews the user
// log and the change log here.
//
// Each mode has a page of its own: signing in (AdminSignInPage), admin mode (AdminToolsPage)
// and the user log (UserLogPage). The user list, the admin button, the review button (which
// finishes the viewing), the export button (which saves the list or the log for a
// spreadsheet), Help and Quit are the window's and serve every mode that shows them.
//
// After every refill that leaves at least one user, row 1 (or the row chosen afterwards) is
// current, so Select, Continue, Edit and Delete always act on a real record.
class frmAdmin : public Form {
    Q_OBJECT

public:
    explicit frmAdmin(QWidget* parent = nullptr);
    ~frmAdmin() override;

    enum class Mode { SignIn, Admin, UserLog };

    // The offered answer of the access-code prompt; typed back unchanged it is a wrong code.
    static inline const QString& AccessCodePromptDefault = signin::AccessCodePromptDefault;

    // User grid columns.
    enum Column { ColName = 0, ColLevel = 1, ColCreated = 2, ColNameSort = 3, ColRecNum = 4 };

    FlexGrid* grid;
    QLineEdit* txtPassword;
    QTextEdit* txtUserLog;
    ZovButton* cmdUserSelected;
    ZovButton* cmdContinue;
    ZovButton* cmdCancel;
    ZovButton* cmdAdmin;
    ZovButton* cmdAddUser;
    ZovButton* cmdEditUser;
    ZovButton* cmdDeleteUser;
    ZovButton* cmdReviewUserLog;
    ZovButton* cmdExport; // the user list in admin mode, the log while it is viewed
    ZovButton* cmdChangeLog;
    ZovButton* cmdOrganizationName;
    ZovButton* cmdHelp;
    ZovButton* cmdQuit;
    QTimer timerFlashButton;

    Mode CurrentMode() const { return mode_; }
    bool IsAdminMode() const { return session_.adminMode; }
    // The organization as the Lobby's caption will show it.
    const QString& OrganizationName() const { return session_.organizationName; }
    bool IsViewingLog() const { return mode_ == Mode::UserLog; }
    const QString& LastAccessCodeAnswer() const { return access_.LastAnswer(); }
    const FlashState& Flash() const { return flash_; }
    int UserRows() const; // data rows of the grid

    void FillUserGrid();
    void SetUpAdminModeButton();
    void SetUpAdminButtons();

    void cmdUserSelected_Click();
    void cmdContinue_Click();
    void cmdAdmin_Click();
    void cmdAddUser_Click();
    void cmdEditUser_Click();
    void cmdDeleteUser_Click();
    void cmdReviewUserLog_Click();
    void cmdExport_Click();
    void cmdChangeLog_Click();
    void cmdOrganizationName_Click();
    void cmdQuit_Click();
    void grid_DblClick();
    void grid_MouseMove();
    void timerFlashButton_Timer();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void SetTabOrder();
    // Admin mode has a row of buttons more than signing in: the window grows by it.
    void FitToMode();
    void SwitchTo(Mode mode);
    QList<QWidget*> TabStops() const;
    void HandFocusOn(QWidget* had, const QList<QWidget*>& shownBefore);
    void PasswordStepChanged(bool askingPassword);
    bool SelectOffered() const;
    bool EditOffered() const;
    void SelectUserRow(int row);
    qint32 CurrentRecNum() const;
    // Opens the user editor; after a save the list is filled again with the saved user
    // highlighted.
    void OpenUserEditor(bool adding, qint32 recNum);
    void ShowUserLog();
    void FinishViewingLog();

    QStackedWidget* pages_;
    AdminSignInPage* signIn_;
    AdminToolsPage* tools_;
    UserLogPage* log_;
    Mode mode_ = Mode::SignIn;

    // Nobody signed in yet: the organization, and admin mode once the access code is given.
    // Admin mode is opened by the access code in this window and ends with it.
    Session session_;
    signin::AdminAccess access_{this};
    qint16 ReselectRow = 0;
    QList<signin::ListedUser> listedUsers_; // the users the grid was last filled from
    FlashState flash_;
};
