#include "signin/frmAdmin.h"

#include "forms/ButtonLook.h"
#include "forms/EditorReturn.h"
#include "forms/ListGrid.h"
#include "forms/Messages.h"
#include "forms/Permits.h"
#include "forms/RunModal.h"
#include "forms/ShutDown.h"
#include "forms/StoreProblem.h"
#include "help/ShowHelp.h"
#include "platform/Events.h"
#include "platform/StandardDialogs.h"
#include "platform/Twips.h"
#include "print/ListExport.h"
#include "signin/AdminLists.h"
#include "signin/AdminSignInPage.h"
#include "signin/AdminToolsPage.h"
#include "signin/OrganizationName.h"
#include "signin/PasswordCheck.h"
#include "signin/SignInMessages.h"
#include "signin/UserList.h"
#include "signin/UserLogPage.h"
#include "signin/UserLogReading.h"
#include "signin/frmAddEditUser.h"
#include "signin/frmChangeLog.h"
#include "store/ChangeLog.h"
#include "store/ControlCharacters.h"
#include "store/ReadOnlyStation.h"
#include "store/RecordStore.h"
#include "store/Removal.h"
#include "store/UserLog.h"
#include "ui/AppTitle.h"
#include "ui/FlexGrid.h"
#include "ui/WindowFlow.h"
#include "ui/ZovButton.h"

#include <QCloseEvent>
#include <QFile>
#include <QLineEdit>
#include <QShortcut>
#include <QStackedWidget>
#include <QTextEdit>
#include <algorithm>
#include <iterator>

using forms::ButtonRole;
using platform::PlaceTwips;

namespace {
constexpr int GridRowsHigh = 8;
constexpr int WindowWidth = 8280;
constexpr int SignInHeight = 4335;
constexpr int AdminHeight = 5295; // the change log's row under the bottom row
} // namespace

frmAdmin::frmAdmin(QWidget* parent) : Form(parent) {
    session_.organizationName = signin::StoredOrganizationName();
    // The list first: Tab starts from it.
    grid = new FlexGrid(this);
    // The pages lie under the window's own controls, each as large as the window, so that
    // every control is placed in the window's twips whichever of them holds it.
    pages_ = new QStackedWidget(this);
    pages_->lower();
    signIn_ = new AdminSignInPage(pages_);
    tools_ = new AdminToolsPage(pages_);
    log_ = new UserLogPage(pages_);
    for (QWidget* page : {static_cast<QWidget*>(signIn_), static_cast<QWidget*>(tools_),
                          static_cast<QWidget*>(log_)})
        pages_->addWidget(page);
    txtPassword = signIn_->txtPassword;
    cmdUserSelected = signIn_->cmdUserSelected;
    cmdContinue = signIn_->cmdContinue;
    cmdCancel = signIn_->cmdCancel;
    cmdAddUser = tools_->cmdAddUser;
    cmdEditUser = tools_->cmdEditUser;
    cmdDeleteUser = tools_->cmdDeleteUser;
    cmdOrganizationName = tools_->cmdOrganizationName;
    txtUserLog = log_->txtUserLog;

    cmdAdmin = new ZovButton(this);
    cmdReviewUserLog = new ZovButton(this);
    cmdExport = new ZovButton(this);
    cmdChangeLog = new ZovButton(this);
    cmdHelp = new ZovButton(this);
    cmdQuit = new ZovButton(this);
    forms::StyleButton(cmdAdmin, ButtonRole::Admin);
    SetUpAdminModeButton();
    forms::StyleButton(cmdReviewUserLog, ButtonRole::Record);
    forms::StyleButton(cmdExport, ButtonRole::Record);
    forms::StyleButton(cmdChangeLog, ButtonRole::Record);
    cmdChangeLog->SetCaption(QStringLiteral("Change &Log"));
    cmdChangeLog->setToolTip(
        QStringLiteral(" Review every change made to the records, and by whom "));
    forms::StyleButton(cmdHelp, ButtonRole::Record);
    forms::StyleButton(cmdQuit, ButtonRole::Leave);
    cmdQuit->SetCaption(QStringLiteral("&Quit"));
    cmdHelp->SetCaption(QStringLiteral("&Help"));
    connect(cmdHelp, &ZovButton::Click, this,
            [this] { help::ShowHelp(help::HelpTopic::AdminWindow, this); });
    new QShortcut(QKeySequence(Qt::Key_F1), this, this,
                  [this] { help::ShowHelp(help::HelpTopic::AdminWindow, this); });
    cmdReviewUserLog->hide();
    cmdExport->hide();
    cmdChangeLog->hide();
    SetTabOrder();
    timerFlashButton.setInterval(FlashTimerInterval);

    connect(signIn_, &AdminSignInPage::stepChanged, this, &frmAdmin::PasswordStepChanged);
    connect(cmdUserSelected, &ZovButton::Click, this, &frmAdmin::cmdUserSelected_Click);
    connect(cmdContinue, &ZovButton::Click, this, &frmAdmin::cmdContinue_Click);
    connect(cmdAdmin, &ZovButton::Click, this, &frmAdmin::cmdAdmin_Click);
    connect(cmdAddUser, &ZovButton::Click, this, &frmAdmin::cmdAddUser_Click);
    connect(cmdEditUser, &ZovButton::Click, this, &frmAdmin::cmdEditUser_Click);
    connect(cmdDeleteUser, &ZovButton::Click, this, &frmAdmin::cmdDeleteUser_Click);
    connect(cmdReviewUserLog, &ZovButton::Click, this, &frmAdmin::cmdReviewUserLog_Click);
    connect(cmdExport, &ZovButton::Click, this, &frmAdmin::cmdExport_Click);
    connect(cmdChangeLog, &ZovButton::Click, this, &frmAdmin::cmdChangeLog_Click);
    connect(cmdOrganizationName, &ZovButton::Click, this, &frmAdmin::cmdOrganizationName_Click);
    connect(cmdQuit, &ZovButton::Click, this, &frmAdmin::cmdQuit_Click);
    grid->SetTableName(QStringLiteral("User List"));
    connect(grid, &FlexGrid::DblClick, this, &frmAdmin::grid_DblClick);
    connect(grid, &FlexGrid::MouseMove, this, &frmAdmin::grid_MouseMove);
    connect(&timerFlashButton, &QTimer::timeout, this, &frmAdmin::timerFlashButton_Timer);
    Form_Load();
}

frmAdmin::~frmAdmin() = default;

void frmAdmin::Form_Load() {
    SetCaption(AppTitle() + QStringLiteral(" - Admin Window"));
    PlaceTwips(pages_, 0, 0, WindowWidth, AdminHeight);
    FitToMode();
    PlaceTwips(grid, 150, 150, 7980, 1950);
    PlaceTwips(cmdReviewUserLog, 6330, 2400, 1800, 660);
    // Beside it in the row of admin mode's buttons, and beside "Finished Viewing" in the log.
    PlaceTwips(cmdExport, 4500, 2400, 1740, 660);
    // The bottom row: admin mode, help and quit; in admin mode the organization's name lies
    // between them.
    PlaceTwips(cmdAdmin, 150, 3360, 3420, 660);
    PlaceTwips(cmdHelp, 6090, 3360, 900, 660);
    PlaceTwips(cmdQuit, 7110, 3360, 1020, 660);
    PlaceTwips(cmdChangeLog, 150, 4320, 1800, 660);
    TileBackground();
}

void frmAdmin::FitToMode() {
    SetSizeTwips(WindowWidth, session_.adminMode ? AdminHeight : SignInHeight);
}

// One tab order for every mode: a control keeps its place in it whichever page holds it.
void frmAdmin::SetTabOrder() {
    QWidget* const order[]{
        grid,        txtPassword,      txtUserLog,          cmdUserSelected, cmdContinue,
        cmdCancel,   cmdAdmin,         cmdAddUser,          cmdEditUser,     cmdDeleteUser,
        cmdExport,   cmdReviewUserLog, cmdOrganizationName, cmdHelp,         cmdQuit,
        cmdChangeLog};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void frmAdmin::Form_Activate() {
    signin::MoveAccessCodeIntoFolder();
    FillUserGrid();
    SetUpAdminButtons();
    if (SelectOffered())
        cmdUserSelected->setFocus();
}

// --- Modes -------------------------------------------------------------------------------

void frmAdmin::SwitchTo(Mode mode) {
    QWidget* const had = focusWidget();
    const QList<QWidget*> shownBefore = TabStops();
    const Mode was = mode_;
    mode_ = mode;
    if (mode == Mode::UserLog) {
        pages_->setCurrentWidget(log_);
        SetCaption(AppTitle() + QStringLiteral(" - User Log"));
        cmdAdmin->hide();
        cmdChangeLog->hide();
        grid->hide();
        forms::Apply(cmdReviewUserLog, {QStringLiteral("Finished Viewing"), {}, {}, {}});
        forms::Apply(cmdExport,
                     {{}, QStringLiteral(" Save the 'User Log' for a spreadsheet "), true, true});
        timerFlashButton.start();
    } else {
        pages_->setCurrentWidget(mode == Mode::Admin ? static_cast<QWidget*>(tools_)
                                                     : static_cast<QWidget*>(signIn_));
        SetCaption(AppTitle() + QStringLiteral(" - Admin Window"));
        // The log gives the list its place back.
        if (was == Mode::UserLog)
            grid->show();
        SetUpAdminButtons();
    }
    HandFocusOn(had, shownBefore);
}

// The controls Tab stops at now, in tab order.
QList<QWidget*> frmAdmin::TabStops() const {
    QList<QWidget*> stops;
    for (QWidget* w = nextInFocusChain(); w != this; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(this) && w->isEnabled())
            stops.append(w);
    }
    return stops;
}

// A control that a switch of modes put away hands the focus on as a hidden control does: to
// the next one in the tab order. Only to one that was there before the switch and still is,
// though, so that the focus never jumps into what the new mode just brought.
void frmAdmin::HandFocusOn(QWidget* had, const QList<QWidget*>& shownBefore) {
    if (!had || had->isVisibleTo(this))
        return;
    const QList<QWidget*> stops = TabStops();
    for (QWidget* next = had->nextInFocusChain(); next != had; next = next->nextInFocusChain()) {
        if (shownBefore.contains(next) && stops.contains(next)) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

// While a password is typed the list holds still and admin mode cannot be entered.
void frmAdmin::PasswordStepChanged(bool askingPassword) {
    cmdAdmin->setVisible(!askingPassword);
    grid->setEnabled(!askingPassword);
}

bool frmAdmin::SelectOffered() const {
    return mode_ == Mode::SignIn && !cmdUserSelected->isHidden();
}

bool frmAdmin::EditOffered() const {
    return mode_ == Mode::Admin && !cmdEditUser->isHidden();
}

// --- The user list -----------------------------------------------------------------------

int frmAdmin::UserRows() const {
    return grid->Rows() - 1;
}

void frmAdmin::SelectUserRow(int row) {
    listgrid::SelectRow(*grid, row, ColCreated, true);
}

qint32 frmAdmin::CurrentRecNum() const {
    return grid->TextMatrix(grid->Row(), ColRecNum).toInt();
}

void frmAdmin::FillUserGrid() {
    listgrid::BeginFill(*grid,
                        QStringLiteral("<User List|<Access Level|^Date Created|NameSort|RecNum"), 5,
                        GridRowsHigh);
    grid->SetColSel(ColCreated);

    const signin::UserListing listing = signin::ListUsers();
    listedUsers_ = listing.users;
    if (!listing.exists) {
        forms::Tell(QStringLiteral("'User List' Empty"),
                    {QStringLiteral("There are currently no 'Users'"),
                     QStringLiteral("entered in the 'User List'"), QString(),
                     QStringLiteral("Press Edit the 'User List' to choose the access"),
                     QStringLiteral("code and add the first user.")},
                    forms::Icon::Information);
        return;
    }
    for (const signin::ListedUser& user : listing.users)
        grid->AddItem(QStringList{user.name, user.level, user.created, user.sortKey,
                                  QString::number(user.recNum)}
                          .join(u'\t'));
    // Whatever could be read is shown; the user is told about the rest.
    forms::ShowStoreProblem(listing.read);

    listgrid::SortOn(*grid, ColNameSort);
    if (UserRows() < 1)
        return;
    grid->SetColWidth(ColName, 4000);
    grid->SetColWidth(ColLevel, 1900);
    grid->SetColWidth(ColCreated, 1250);
    listgrid::ShadeEvenRows(*grid, ColCreated);
    // The key columns are pushed beyond the right edge.
    listgrid::ShowAndWiden(*grid, ColName, ColNameSort);
    SelectUserRow(1);
}

// The way into admin mode and out of it. Also set before the first fill, so the button is
// not blank behind a notice shown while the window opens.
void frmAdmin::SetUpAdminModeButton() {
    if (session_.adminMode) {
        cmdAdmin->SetCaption(QStringLiteral("Finished w/ '&User List' Admin"));
        cmdAdmin->setToolTip(QStringLiteral(" Click here when finished with the Admin functions "));
    } else {
        cmdAdmin->SetCaption(QStringLiteral("&Edit the 'User List'"));
        cmdAdmin->setToolTip(QStringLiteral(" Click here to Add, Edit/View, and/or Delete Users "));
    }
}

// The buttons of signing in or of admin mode, whichever is on.
void frmAdmin::SetUpAdminButtons() {
    const bool users = UserRows() > 0;
    SetUpAdminModeButton();
    cmdAdmin->show();
    cmdHelp->setToolTip(
        QStringLiteral("Click here for more information about the 'Admin Window'... "));
    cmdQuit->setToolTip(QStringLiteral(" Click here to exit ") + AppTitle() + u' ');
    cmdQuit->show();
    if (session_.adminMode)
        tools_->SetUp(users);
    else
        signIn_->SetUp(users);
    forms::Apply(cmdReviewUserLog, {QStringLiteral("&Review User Log"),
                                    QStringLiteral(" Review the logged history of Users "),
                                    session_.adminMode && QFile::exists(store::UserLogFileName),
                                    {}});
    forms::Apply(cmdExport, {QStringLiteral("Export to &CSV..."),
                             QStringLiteral(" Save the 'User List' for a spreadsheet "),
                             session_.adminMode, users});
    cmdChangeLog->setVisible(session_.adminMode);
    FitToMode();

    if (session_.adminMode) {
        timerFlashButton.start();
    } else {
        cmdAdmin->SetForeColor(QColor(0, 0, 0));
        cmdAdmin->SetForeOver(QColor(0, 0, 0));
        cmdAdmin->SetBackColor(QColor(0, 128, 128));
        cmdAdmin->SetBackOver(QColor(0, 128, 128));
    }
    for (ZovButton* button : {cmdAdmin, cmdHelp, cmdQuit})
        button->Refresh();
}

void frmAdmin::timerFlashButton_Timer() {
    flash_.Step();
    flash_.Paint(mode_ == Mode::UserLog ? cmdReviewUserLog : cmdAdmin);
}

void frmAdmin::grid_DblClick() {
    if (EditOffered())
        cmdEditUser_Click();
    else if (SelectOffered())
        cmdUserSelected_Click();
}

void frmAdmin::grid_MouseMove() {
    QString tip;
    if (grid->MouseRow() >= 1) {
        if (EditOffered())
            tip = QStringLiteral(" Double-click to view/edit this user ");
        else if (SelectOffered())
            tip = QStringLiteral(" Double-click to select this user ");
    }
    grid->SetToolTipText(tip);
}

// --- Signing in ------------------------------------------------------------------------

void frmAdmin::cmdUserSelected_Click() {
    if (grid->Row() >= 1)
        signIn_->AskPassword();
}

void frmAdmin::cmdContinue_Click() {
    if (grid->Row() < 1)
        return;
    store::UserRecord user;
    if (const store::StoreResult read = signin::ReadUser(CurrentRecNum(), user); !read) {
        forms::ShowStoreProblem(read);
        return;
    }
    // The record read is the one checked, counted and named: the row may be older than the
    // file, which another station can have changed since the list was filled.
    const QString name = signin::DisplayName(user);
    if (const int seconds = signin::PasswordWait(name); seconds > 0) {
        signin::TellPleaseWait(signin::TooManyPasswords, seconds);
        signIn_->AskAgain(false);
        return;
    }
    const signin::SignInTry tried = signin::TryPassword(user, txtPassword->text());
    if (!tried.right) {
        forms::TellUnlogged(QStringLiteral("failed sign-in"), tried.logged);
        signin::TellIncorrectPassword();
        signIn_->AskAgain(true);
        return;
    }
    Session signedIn = session_;
    signedIn.adminMode = false; // whoever signs in works with the level of their own record
    signedIn.userName = name;
    signedIn.level = AccessLevelOf(user.AccessLevel);
    // A station that only reads the folder writes nothing to it, the log included.
    if (!store::IsReadOnlyStation())
        forms::TellUnlogged(QStringLiteral("sign-in"),
                            store::AppendUserLog(store::UserLogEvent::SignIn, signedIn.userName,
                                                 AccessLevelName(signedIn.level)));
    timerFlashButton.stop();
    flow::ShowLobbyWindow(signedIn);
    close();
}

// --- Admin mode ------------------------------------------------------------------------

void frmAdmin::cmdAdmin_Click() {
    if (session_.adminMode) {
        session_.adminMode = false;
        timerFlashButton.stop();
    } else if (store::IsReadOnlyStation()) {
        // The users and the code are the folder's; here they cannot be changed.
        forms::Tell(QStringLiteral("Admin Mode Not Available"),
                    {QStringLiteral("Another program is using this data folder,"),
                     QStringLiteral("so here it can only be read."), QString(),
                     QStringLiteral("To add, edit or delete users, close the other"),
                     QStringLiteral("program and start ") + AppTitle() + QStringLiteral(" again.")},
                    forms::Icon::Exclamation);
    } else {
        session_.adminMode = access_.Ask(grid->Row() >= 1 ? CurrentRecNum() : 0);
    }
    // Whoever gave the access code changes the users in admin mode; nobody is signed in then.
    store::changelog::SetActingUser(session_.adminMode ? store::changelog::AdministratorName
                                                       : QString());
    // The first user is added at once, before the buttons of admin mode appear.
    if (session_.adminMode && UserRows() == 0)
        cmdAddUser_Click();
    SwitchTo(session_.adminMode ? Mode::Admin : Mode::SignIn);
}

void frmAdmin::OpenUserEditor(bool adding, qint32 recNum) {
    const EditorResult saved = RunEditor<frmAddEditUser>(*this, session_, adding, recNum);
    if (!saved.saved)
        return;
    FillUserGrid();
    platform::DoEvents();
    // The saved user is highlighted by name: of two users with the same name, the first.
    const QString written = QString::number(saved.recNum);
    const int row = listgrid::FindRow(*grid, ColRecNum,
                                      [&written](const QString& cell) { return cell == written; });
    if (row > 0)
        listgrid::Reselect(*grid, ColNameSort, ColCreated, grid->TextMatrix(row, ColNameSort));
    SetUpAdminButtons();
}

void frmAdmin::cmdAddUser_Click() {
    OpenUserEditor(true, 0);
}

void frmAdmin::cmdEditUser_Click() {
    if (grid->Row() < 1)
        return;
    OpenUserEditor(false, CurrentRecNum());
}

void frmAdmin::cmdDeleteUser_Click() {
    const int row = grid->Row();
    if (row < 1 || !forms::MayWrite(session_, forms::Action::AdministerUsers))
        return;
    const int answer = forms::Ask(
        QStringLiteral("Confirm Deletion"), forms::Icon::Application,
        {QStringLiteral("Are you sure you want to remove"), QString(),
         grid->TextMatrix(row, ColName), QString(), QStringLiteral("from the 'User List'?")},
        2, {QStringLiteral("&Yes, delete"), QStringLiteral("&No, cancel")});
    if (answer != 1)
        return;
    const store::StoreResult removed =
        store::RemoveMarkedRecord(store::DataFile::UserList, CurrentRecNum());
    if (!removed) {
        // The store keeps every record when a rewrite fails; the list shows what is there.
        forms::ShowStoreProblem(removed);
        FillUserGrid();
        SetUpAdminButtons();
        return;
    }
    if (QFile::exists(store::FileNameOf(store::DataFile::UserList)))
        ReselectRow = static_cast<qint16>(std::max(1, row - 1));
    FillUserGrid();
    platform::DoEvents();
    if (grid->Visible())
        SelectUserRow(ReselectRow);
    SetUpAdminButtons();
    forms::Tell(
        QStringLiteral("Name removed"),
        {QStringLiteral("The name has been removed"), QStringLiteral("from the 'User List'.")},
        forms::Icon::Information);
}

void frmAdmin::cmdOrganizationName_Click() {
    if (!forms::MayWrite(session_, forms::Action::AdministerUsers))
        return;
    const QString typed = platform::InputBox(
        QStringLiteral("Organization Name"),
        QStringLiteral("\r\nThe name of your organization,\r\nshown in the title of the main "
                       "window:"),
        session_.organizationName, this);
    if (typed.trimmed().isEmpty())
        return;
    if (const QStringList refusal =
            store::ControlCharacterRefusal(QStringLiteral("Organization Name"), typed);
        !refusal.isEmpty()) {
        forms::Tell(QStringLiteral("Entry Error"), refusal, forms::Icon::Stop);
        return;
    }
    const store::StoreResult saved = signin::SaveOrganizationName(typed);
    forms::ShowSettingsProblem(saved);
    if (saved)
        session_.organizationName = signin::StoredOrganizationName();
}

// --- The user log ----------------------------------------------------------------------

void frmAdmin::cmdReviewUserLog_Click() {
    if (mode_ == Mode::UserLog)
        FinishViewingLog();
    else
        ShowUserLog();
}

void frmAdmin::cmdExport_Click() {
    print::ExportCsv(mode_ == Mode::UserLog ? signin::UserLogTable(log_->LogText())
                                            : signin::UserListTable(*grid, listedUsers_),
                     this);
}

void frmAdmin::cmdChangeLog_Click() {
    forms::RunModal(*this, new frmChangeLog(), [](const frmChangeLog&) { return true; });
}

void frmAdmin::ShowUserLog() {
    const signin::UserLogText log = signin::ReadUserLogText();
    if (!log.read) {
        forms::ShowStoreProblem(log.read);
        return;
    }
    if (log.empty) {
        forms::Tell(
            QStringLiteral("Nothing to View"),
            {QStringLiteral("There is currently no data"), QStringLiteral("in the 'User Log'.")},
            forms::Icon::Information);
        return;
    }
    SwitchTo(Mode::UserLog);
    log_->ShowLog(log.text, *grid);
}

void frmAdmin::FinishViewingLog() {
    log_->Empty();
    // The flashing ends on the button's hover face, in black.
    cmdReviewUserLog->SetForeColor(QColor(0, 0, 0));
    cmdReviewUserLog->SetBackColor(cmdReviewUserLog->BackOver());
    SwitchTo(Mode::Admin);
}

// --- Leaving -------------------------------------------------------------------------------

void frmAdmin::cmdQuit_Click() {
    if (AskToQuit({QStringLiteral("&Yes, quit"), QStringLiteral("&No, don't quit"), 2}))
        ShutDown();
}

void frmAdmin::closeEvent(QCloseEvent* event) {
    // The close box asks like Quit; closing by the program itself passes.
    if (event->spontaneous() && !ShuttingDown()) {
        event->ignore();
        cmdQuit_Click();
        return;
    }
    timerFlashButton.stop();
    Form::closeEvent(event);
}
