#pragma once

#include "forms/FlashState.h"
#include "store/StoreResult.h"
#include "ui/Form.h"
#include "ui/Session.h"

#include <QTimer>

class FlexGrid;
class QLineEdit;
class QTextEdit;
class ZovButton;
namespace store {
struct UserRecord;
}

// The window between the title window and the Lobby. A user picks a name from the 'User
// List', types that user's password and goes on to the Lobby. An administrator who gives the
// access code adds, edits and removes users, names the organization and reviews the user
// log here.
//
// After every refill that leaves at least one user, row 1 (or the row chosen afterwards) is
// current, so Select, Continue, Edit and Delete always act on a real record.
class frmAdmin : public Form {
    Q_OBJECT

public:
    explicit frmAdmin(QWidget* parent = nullptr);
    ~frmAdmin() override;

    // The offered answer of the access-code prompt; typed back unchanged it is a wrong code.
    static const QString AccessCodePromptDefault;

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
    ZovButton* cmdOrganizationName;
    ZovButton* cmdHelp;
    ZovButton* cmdQuit;
    QTimer timerFlashButton;

    bool IsAdminMode() const { return session_.adminMode; }
    // The organization as the Lobby's caption will show it.
    const QString& OrganizationName() const { return session_.organizationName; }
    bool IsViewingLog() const { return ViewingLog; }
    const QString& LastAccessCodeAnswer() const { return AccessCodeAnswer; }
    const FlashState& Flash() const { return flash_; }
    int UserRows() const; // data rows of the grid

    void FillUserGrid();
    void SetUpAdminModeButton();
    void SetUpAdminButtons();

    void cmdUserSelected_Click();
    void txtPassword_Change();
    void cmdContinue_Click();
    void cmdCancel_Click();
    void cmdAdmin_Click();
    void cmdAddUser_Click();
    void cmdEditUser_Click();
    void cmdDeleteUser_Click();
    void cmdReviewUserLog_Click();
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
    void PlaceControls();
    void SelectUserRow(int row);
    qint32 CurrentRecNum() const;
    // The user record of the grid's current row.
    store::StoreResult ReadCurrentUser(store::UserRecord& user) const;
    void MoveAccessCodeIntoFolder();
    bool AskForAccessCode();
    bool AdministratorMayChoose();
    bool ChooseAccessCode();
    // Opens the user editor; after a save the list is filled again with the saved user
    // highlighted.
    void OpenUserEditor(bool adding, qint32 recNum);
    void ShowUserLog();
    void FinishViewingLog();

    // Nobody signed in yet: the organization, and admin mode once the access code is given.
    // Admin mode is opened by the access code in this window and ends with it.
    Session session_;
    bool ViewingLog = false;
    QString AccessCodeAnswer;
    qint16 ReselectRow = 0;
    FlashState flash_;
};
