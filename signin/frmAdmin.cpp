#include "signin/frmAdmin.h"

#include "forms/ButtonLook.h"
#include "forms/EditorReturn.h"
#include "forms/ListGrid.h"
#include "forms/Messages.h"
#include "forms/Permits.h"
#include "forms/ShutDown.h"
#include "forms/StoreProblem.h"
#include "help/ShowHelp.h"
#include "platform/Events.h"
#include "platform/Fonts.h"
#include "platform/StandardDialogs.h"
#include "platform/Twips.h"
#include "signin/AccessCode.h"
#include "signin/OrganizationName.h"
#include "signin/SignInBrake.h"
#include "signin/frmAddEditUser.h"
#include "store/Clock.h"
#include "store/Codepage.h"
#include "store/ControlCharacters.h"
#include "store/DataFileOpen.h"
#include "store/Formats.h"
#include "store/ReadOnlyStation.h"
#include "store/RecordStore.h"
#include "store/Removal.h"
#include "store/UserLog.h"
#include "ui/AppTitle.h"
#include "ui/CrLf.h"
#include "ui/FlexGrid.h"
#include "ui/WindowFlow.h"
#include "ui/ZovButton.h"

#include <QCloseEvent>
#include <QFile>
#include <QLineEdit>
#include <QShortcut>
#include <QTextEdit>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

using forms::ButtonRole;
using platform::PlaceTwips;

const QString frmAdmin::AccessCodePromptDefault = QStringLiteral("<Enter Access Code Here>");

namespace {

const QString UserListFile = QStringLiteral("User.List");
using ui::CrLf;
constexpr int GridRowsHigh = 8;

// Leading and trailing blanks only; the line breaks at the end stay.
QString TrimBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}

// The one check of a user's password: exactly as typed, so case counts, and so does a blank
// before or after.
bool PasswordFits(const store::UserRecord& user, const QString& typed) {
    return typed == store::UnscramblePassword(user.Password);
}

// A user as shown and logged: first name, one space, last name.
QString UserName(const store::UserRecord& user) {
    return store::TrimField(user.FirstName) + u' ' + store::TrimField(user.LastName);
}

// A try that a brake holds off is refused before anything is checked.
bool MustWait(signin::SignInBrake& brake, const QString& name, const QString& tooMany) {
    const int seconds = brake.SecondsToWait(name, store::CurrentDateTime());
    if (seconds <= 0)
        return false;
    forms::Tell(QStringLiteral("Please Wait"),
                {tooMany, QStringLiteral("Please wait %1 and try again.")
                              .arg(seconds == 1 ? QStringLiteral("1 second")
                                                : QStringLiteral("%1 seconds").arg(seconds))},
                forms::Icon::Exclamation);
    return true;
}

// A wrong try counts towards the brake and goes into the log, unless this station only reads
// the folder.
void WrongTry(signin::SignInBrake& brake, const QString& key, store::UserLogEvent event,
              const QString& name, const QString& what) {
    brake.Failed(key, store::CurrentDateTime());
    if (!store::IsReadOnlyStation())
        forms::TellUnlogged(what, store::AppendUserLog(event, name, QString()));
}

const QString TooManyPasswords = QStringLiteral("Too many incorrect passwords for this name.");

void TellIncorrectPassword() {
    forms::Tell(QStringLiteral("Incorrect Password"),
                {QStringLiteral("That is not the correct password"),
                 QStringLiteral("associated with this name")},
                forms::Icon::Stop);
}

} // namespace

frmAdmin::frmAdmin(QWidget* parent)
    : Form(parent), grid(new FlexGrid(this)), txtPassword(new QLineEdit(this)),
      txtUserLog(new QTextEdit(this)), cmdUserSelected(new ZovButton(this)),
      cmdContinue(new ZovButton(this)), cmdCancel(new ZovButton(this)),
      cmdAdmin(new ZovButton(this)), cmdAddUser(new ZovButton(this)),
      cmdEditUser(new ZovButton(this)), cmdDeleteUser(new ZovButton(this)),
      cmdReviewUserLog(new ZovButton(this)), cmdOrganizationName(new ZovButton(this)),
      cmdHelp(new ZovButton(this)), cmdQuit(new ZovButton(this)) {
    session_.organizationName = signin::StoredOrganizationName();
    forms::StyleButton(cmdUserSelected, ButtonRole::Proceed);
    forms::StyleButton(cmdContinue, ButtonRole::Proceed);
    forms::StyleButton(cmdCancel, ButtonRole::Leave);
    forms::StyleButton(cmdAdmin, ButtonRole::Admin);
    SetUpAdminModeButton();
    forms::StyleButton(cmdAddUser, ButtonRole::Record);
    forms::StyleButton(cmdEditUser, ButtonRole::Record);
    forms::StyleButton(cmdDeleteUser, ButtonRole::Remove);
    forms::StyleButton(cmdReviewUserLog, ButtonRole::Record);
    forms::StyleButton(cmdOrganizationName, ButtonRole::Record);
    forms::StyleButton(cmdHelp, ButtonRole::Record);
    forms::StyleButton(cmdQuit, ButtonRole::Leave);
    cmdQuit->SetCaption(QStringLiteral("&Quit"));
    cmdHelp->SetCaption(QStringLiteral("&Help"));
    connect(cmdHelp, &ZovButton::Click, this,
            [this] { help::ShowHelp(help::HelpTopic::AdminWindow, this); });
    new QShortcut(QKeySequence(Qt::Key_F1), this, this,
                  [this] { help::ShowHelp(help::HelpTopic::AdminWindow, this); });

    txtPassword->setEchoMode(QLineEdit::Password);
    txtUserLog->setAcceptRichText(false);
    txtUserLog->setFont(platform::DesignFont(QStringLiteral("Tahoma"), 8.25));
    for (QWidget* hidden :
         {static_cast<QWidget*>(txtPassword), static_cast<QWidget*>(txtUserLog),
          static_cast<QWidget*>(cmdContinue), static_cast<QWidget*>(cmdCancel),
          static_cast<QWidget*>(cmdAddUser), static_cast<QWidget*>(cmdEditUser),
          static_cast<QWidget*>(cmdDeleteUser), static_cast<QWidget*>(cmdReviewUserLog),
          static_cast<QWidget*>(cmdOrganizationName), static_cast<QWidget*>(cmdUserSelected)})
        hidden->hide();
    timerFlashButton.setInterval(FlashTimerInterval);

    connect(cmdUserSelected, &ZovButton::Click, this, &frmAdmin::cmdUserSelected_Click);
    connect(txtPassword, &QLineEdit::textChanged, this, &frmAdmin::txtPassword_Change);
    connect(cmdContinue, &ZovButton::Click, this, &frmAdmin::cmdContinue_Click);
    connect(cmdCancel, &ZovButton::Click, this, &frmAdmin::cmdCancel_Click);
    connect(cmdAdmin, &ZovButton::Click, this, &frmAdmin::cmdAdmin_Click);
    connect(cmdAddUser, &ZovButton::Click, this, &frmAdmin::cmdAddUser_Click);
    connect(cmdEditUser, &ZovButton::Click, this, &frmAdmin::cmdEditUser_Click);
    connect(cmdDeleteUser, &ZovButton::Click, this, &frmAdmin::cmdDeleteUser_Click);
    connect(cmdReviewUserLog, &ZovButton::Click, this, &frmAdmin::cmdReviewUserLog_Click);
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
    SetSizeTwips(8280, 4335);
    PlaceControls();
    TileBackground();
}

void frmAdmin::PlaceControls() {
    PlaceTwips(grid, 150, 150, 7980, 1950);
    // The log box waits below the grid; shown, it takes the grid's place.
    PlaceTwips(txtUserLog, 150, 2280, 7980, 1950);
    // The row under the grid: choosing a user and typing the password, or the admin tools.
    PlaceTwips(cmdUserSelected, 150, 2400, 3300, 660);
    PlaceTwips(txtPassword, 3570, 2400, 2280, 660);
    PlaceTwips(cmdContinue, 5970, 2400, 1020, 660);
    PlaceTwips(cmdCancel, 7110, 2400, 1020, 660);
    PlaceTwips(cmdAddUser, 150, 2400, 1890, 660);
    PlaceTwips(cmdEditUser, 2160, 2400, 1890, 660);
    PlaceTwips(cmdDeleteUser, 4170, 2400, 1890, 660);
    PlaceTwips(cmdReviewUserLog, 6180, 2400, 1950, 660);
    // The bottom row: admin mode, the organization's name, help and quit.
    PlaceTwips(cmdAdmin, 150, 3360, 3420, 660);
    PlaceTwips(cmdOrganizationName, 3690, 3360, 2280, 660);
    PlaceTwips(cmdHelp, 6090, 3360, 900, 660);
    PlaceTwips(cmdQuit, 7110, 3360, 1020, 660);
}

void frmAdmin::Form_Activate() {
    MoveAccessCodeIntoFolder();
    FillUserGrid();
    SetUpAdminButtons();
    if (!cmdUserSelected->isHidden())
        cmdUserSelected->setFocus();
}

int frmAdmin::UserRows() const {
    return grid->Rows() - 1;
}

void frmAdmin::SelectUserRow(int row) {
    listgrid::SelectRow(*grid, row, ColCreated, true);
}

qint32 frmAdmin::CurrentRecNum() const {
    return grid->TextMatrix(grid->Row(), ColRecNum).toInt();
}

store::StoreResult frmAdmin::ReadCurrentUser(store::UserRecord& user) const {
    auto& users = store::Users();
    store::StoreResult result = users.Open();
    if (result)
        result = users.Read(CurrentRecNum());
    if (result)
        user = users.Buffer();
    users.Close();
    return result;
}

void frmAdmin::FillUserGrid() {
    listgrid::BeginFill(*grid,
                        QStringLiteral("<User List|<Access Level|^Date Created|NameSort|RecNum"), 5,
                        GridRowsHigh);
    grid->SetColSel(ColCreated);

    if (!QFile::exists(UserListFile)) {
        forms::Tell(QStringLiteral("'User List' Empty"),
                    {QStringLiteral("There are currently no 'Users'"),
                     QStringLiteral("entered in the 'User List'")},
                    forms::Icon::Information);
        return;
    }

    auto& users = store::Users();
    store::StoreResult result = users.Open();
    for (qint32 n = 1; result && n <= users.Count(); ++n) {
        result = users.Read(n);
        if (!result)
            break;
        const store::UserRecord& user = users.Buffer();
        const QString first = store::TrimField(user.FirstName);
        const QString last = store::TrimField(user.LastName);
        grid->AddItem(QStringList{UserName(user), AccessLevelName(AccessLevelOf(user.AccessLevel)),
                                  formats::MmDdYyyy(user.DateCreated), last + u' ' + first,
                                  QString::number(n)}
                          .join(u'\t'));
    }
    users.Close();
    // Whatever could be read is shown; the user is told about the rest.
    forms::ShowStoreProblem(result);

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

void frmAdmin::SetUpAdminButtons() {
    const QString title = AppTitle();
    const bool users = UserRows() > 0;
    SetUpAdminModeButton();
    cmdAdmin->show();
    cmdHelp->setToolTip(
        QStringLiteral("Click here for more information about the 'Admin Window'... "));
    cmdQuit->setToolTip(QStringLiteral(" Click here to exit ") + title + u' ');
    cmdQuit->show();

    cmdAddUser->SetCaption(QStringLiteral("&Add User"));
    cmdAddUser->setToolTip(QStringLiteral(" Add a user to the 'User Name' list "));
    cmdAddUser->setVisible(session_.adminMode);
    cmdEditUser->SetCaption(QStringLiteral("&Edit User"));
    cmdEditUser->setToolTip(QStringLiteral(" Edit the highlighted user "));
    cmdEditUser->setVisible(session_.adminMode && users);
    cmdDeleteUser->SetCaption(QStringLiteral("&Delete User"));
    cmdDeleteUser->setToolTip(QStringLiteral(" Delete the highlighted user "));
    cmdDeleteUser->setVisible(session_.adminMode && users);
    cmdUserSelected->SetCaption(QStringLiteral("&Select the Highlighted User"));
    cmdUserSelected->setToolTip(QStringLiteral(" Proceed to the Program with this User "));
    cmdUserSelected->setVisible(!session_.adminMode && users);
    cmdReviewUserLog->SetCaption(QStringLiteral("&Review User Log"));
    cmdReviewUserLog->setToolTip(QStringLiteral(" Review the logged history of Users "));
    cmdReviewUserLog->setVisible(session_.adminMode && QFile::exists(store::UserLogFileName));
    cmdOrganizationName->SetCaption(QStringLiteral("Organization &Name..."));
    cmdOrganizationName->setToolTip(
        QStringLiteral(" Set the organization's name shown in the main window "));
    cmdOrganizationName->setVisible(session_.adminMode);

    if (session_.adminMode) {
        timerFlashButton.start();
    } else {
        cmdAdmin->SetForeColor(QColor(0, 0, 0));
        cmdAdmin->SetForeOver(QColor(0, 0, 0));
        cmdAdmin->SetBackColor(QColor(0, 128, 128));
        cmdAdmin->SetBackOver(QColor(0, 128, 128));
    }
    for (ZovButton* button : {cmdAdmin, cmdHelp, cmdQuit, cmdAddUser, cmdEditUser, cmdDeleteUser,
                              cmdUserSelected, cmdReviewUserLog, cmdOrganizationName})
        button->Refresh();
}

void frmAdmin::timerFlashButton_Timer() {
    flash_.Step();
    flash_.Paint(ViewingLog ? cmdReviewUserLog : cmdAdmin);
}

// --- Signing in ------------------------------------------------------------------------

void frmAdmin::cmdUserSelected_Click() {
    if (!cmdUserSelected->Tag().isEmpty() || grid->Row() < 1)
        return;
    cmdAdmin->hide();
    grid->setEnabled(false);
    cmdUserSelected->SetTag(cmdUserSelected->Caption());
    cmdUserSelected->SetFontBold(true);
    cmdUserSelected->SetCaption(QStringLiteral("Enter Password at right"));
    cmdUserSelected->setEnabled(false);
    QFont big = txtPassword->font();
    big.setPointSize(20);
    txtPassword->setFont(big);
    txtPassword->clear();
    txtPassword->show();
    txtPassword->setFocus();
    cmdContinue->SetCaption(QStringLiteral("Continue"));
    cmdContinue->show();
    cmdContinue->setEnabled(false);
    cmdCancel->SetCaption(QStringLiteral("Cancel"));
    cmdCancel->show();
    txtPassword_Change();
}

void frmAdmin::txtPassword_Change() {
    const bool typed = !txtPassword->text().isEmpty();
    cmdContinue->setEnabled(typed);
    if (typed)
        cmdContinue->SetDefault(true);
    else
        cmdCancel->SetDefault(true);
}

void frmAdmin::cmdCancel_Click() {
    txtPassword->hide();
    cmdContinue->hide();
    cmdCancel->hide();
    cmdAdmin->show();
    grid->setEnabled(true);
    cmdUserSelected->SetFontBold(false);
    cmdUserSelected->SetCaption(cmdUserSelected->Tag());
    cmdUserSelected->SetTag(QString());
    cmdUserSelected->setEnabled(true);
}

void frmAdmin::cmdContinue_Click() {
    const int row = grid->Row();
    if (row < 1)
        return;
    store::UserRecord user;
    if (const store::StoreResult read = ReadCurrentUser(user); !read) {
        forms::ShowStoreProblem(read);
        return;
    }
    // The record read is the one checked, counted and named: the row may be older than the
    // file, which another station can have changed since the list was filled.
    const QString name = UserName(user);
    signin::SignInBrake& brake = signin::PasswordBrake();
    if (MustWait(brake, name, TooManyPasswords)) {
        txtPassword->setFocus();
        return;
    }
    if (!PasswordFits(user, txtPassword->text())) {
        WrongTry(brake, name, store::UserLogEvent::FailedSignIn, name,
                 QStringLiteral("failed sign-in"));
        TellIncorrectPassword();
        txtPassword->clear();
        txtPassword->setFocus();
        return;
    }
    brake.Succeeded(name);
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
        session_.adminMode = AskForAccessCode();
    }
    if (session_.adminMode && UserRows() == 0)
        cmdAddUser_Click();
    SetUpAdminButtons();
}

// A code this user's settings kept from an earlier version now belongs to the data folder.
void frmAdmin::MoveAccessCodeIntoFolder() {
    const signin::AccessCodeMove moved = signin::MoveAccessCodeFromSettings();
    forms::ShowStoreProblem(moved.written);
    forms::ShowSettingsProblem(moved.removed);
}

bool frmAdmin::AskForAccessCode() {
    if (!signin::AccessCodeIsSet())
        return AdministratorMayChoose() && ChooseAccessCode();
    QString record;
    if (const store::StoreResult read = signin::ReadAccessCode(record); !read) {
        forms::ShowStoreProblem(read);
        return false;
    }
    // A wrong code is logged with the highlighted user's name, when there is one.
    QString highlighted;
    store::UserRecord user;
    if (UserRows() > 0 && grid->Row() >= 1 && ReadCurrentUser(user))
        highlighted = UserName(user);
    signin::SignInBrake& brake = signin::AccessCodeBrake();
    // There is one code, so one count for it, whoever is highlighted.
    const QString code;
    for (;;) {
        if (MustWait(brake, code, QStringLiteral("Too many incorrect access codes.")))
            return false;
        AccessCodeAnswer = platform::InputBox(
            QStringLiteral("Access Code Required"),
            QStringLiteral("\r\nPlease enter the access code\r\nneeded to add/edit/delete\r\n"
                           "users in this 'User List'"),
            AccessCodePromptDefault, this, platform::InputEcho::Secret);
        if (AccessCodeAnswer.isEmpty())
            return false;
        if (AccessCodeAnswer != AccessCodePromptDefault &&
            signin::AccessCodeMatches(record, AccessCodeAnswer)) {
            brake.Succeeded(code);
            return true;
        }
        WrongTry(brake, code, store::UserLogEvent::FailedAccessCode, highlighted,
                 QStringLiteral("incorrect access code"));
        forms::Tell(QStringLiteral("Incorrect Access Code"),
                    {QStringLiteral("Sorry, but you have not entered"),
                     QStringLiteral("the correct Access Code.")},
                    forms::Icon::Exclamation);
    }
}

// A folder that has users but no code (its code was kept elsewhere, or it comes from an older
// installation) is not for whoever asks first to claim: one of its administrators signs in
// with the password first. Only a folder without users, a new installation, lets anyone
// choose.
bool frmAdmin::AdministratorMayChoose() {
    if (!QFile::exists(UserListFile))
        return true;
    auto& users = store::Users();
    const store::StoreResult opened = users.Open();
    const qint32 count = users.Count();
    users.Close();
    if (!opened) {
        forms::ShowStoreProblem(opened);
        return false;
    }
    if (count < 1)
        return true;

    const QString administrator = AccessLevelName(AccessLevel::ReadEditAddDelete);
    store::UserRecord user;
    if (grid->Row() >= 1) {
        if (const store::StoreResult read = ReadCurrentUser(user); !read) {
            forms::ShowStoreProblem(read);
            return false;
        }
    }
    if (grid->Row() < 1 || AccessLevelOf(user.AccessLevel) != AccessLevel::ReadEditAddDelete) {
        forms::Tell(QStringLiteral("Administrator Sign-In Required"),
                    {QStringLiteral("No access code has been chosen for this data yet."),
                     QStringLiteral("Only a user with '") + administrator +
                         QStringLiteral("' privileges may choose it."),
                     QString(), QStringLiteral("Please highlight that user in the list"),
                     QStringLiteral("and press this button again.")},
                    forms::Icon::Exclamation);
        return false;
    }
    const QString name = UserName(user);
    signin::SignInBrake& brake = signin::PasswordBrake();
    if (MustWait(brake, name, TooManyPasswords))
        return false;
    const QString typed = platform::InputBox(
        QStringLiteral("Administrator Sign-In"),
        QStringLiteral("\r\nNo access code has been chosen for this data yet.\r\n") + name +
            QStringLiteral(", please enter your password\r\nto choose one."),
        QString(), this, platform::InputEcho::Secret);
    if (typed.isEmpty())
        return false;
    if (!PasswordFits(user, typed)) {
        WrongTry(brake, name, store::UserLogEvent::FailedSignIn, name,
                 QStringLiteral("failed sign-in"));
        TellIncorrectPassword();
        return false;
    }
    brake.Succeeded(name);
    return true;
}

// The folder has no access code: it is chosen, typed twice.
bool frmAdmin::ChooseAccessCode() {
    for (;;) {
        const QString first = platform::InputBox(
            QStringLiteral("New Access Code"),
            QStringLiteral("\r\nNo access code has been chosen for this data yet.\r\nPlease "
                           "choose one of at least %1 characters;\r\nit will be needed to "
                           "add/edit/delete users.")
                .arg(signin::AccessCodeMinLength),
            QString(), this, platform::InputEcho::Secret);
        if (first.isEmpty())
            return false;
        // Blanks alone are no code: they cannot be told apart when typed unseen.
        if (first.size() < signin::AccessCodeMinLength || first.trimmed().isEmpty() ||
            first == AccessCodePromptDefault) {
            forms::Tell(
                QStringLiteral("Access Code Not Accepted"),
                {QStringLiteral("Please choose an access code of"),
                 QStringLiteral("at least %1 characters.").arg(signin::AccessCodeMinLength)},
                forms::Icon::Exclamation);
            continue;
        }
        const QString second = platform::InputBox(
            QStringLiteral("Confirm Access Code"),
            QStringLiteral("\r\nPlease type the new access code\r\nonce more to confirm it."),
            QString(), this, platform::InputEcho::Secret);
        if (second.isEmpty())
            return false;
        if (second != first) {
            forms::Tell(QStringLiteral("Access Codes Differ"),
                        {QStringLiteral("The two entries were not the same."),
                         QStringLiteral("Please choose the access code again.")},
                        forms::Icon::Exclamation);
            continue;
        }
        // A code that never reached the disk would be asked for anew by the next press of
        // Admin: no admin mode without it.
        const store::StoreResult saved = signin::SaveAccessCode(first);
        if (!saved) {
            forms::ShowStoreProblem(saved);
            return false;
        }
        forms::Tell(QStringLiteral("Access Code Saved"),
                    {QStringLiteral("The access code has been saved."),
                     QStringLiteral("Please keep it in a safe place.")},
                    forms::Icon::Information);
        return true;
    }
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
    if (QFile::exists(UserListFile))
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
    if (ViewingLog)
        FinishViewingLog();
    else
        ShowUserLog();
}

void frmAdmin::ShowUserLog() {
    // The log is read as the record files are: never through a link that leads elsewhere,
    // which could show another account's file here.
    bool leadsOutside = false;
    const int fd = store::OpenDataFile(store::UserLogFileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC,
                                       false, leadsOutside);
    const int error = errno;
    QFile log;
    if (fd >= 0 && !log.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        ::close(fd);
    if (fd < 0 && error != ENOENT) {
        forms::ShowStoreProblem(store::StoreResult::Fail(store::UserLogFileName,
                                                         leadsOutside ? store::LeadsOutsideReason()
                                                                      : qt_error_string(error)));
        return;
    }
    if (!log.isOpen() || log.size() < 1) {
        forms::Tell(
            QStringLiteral("Nothing to View"),
            {QStringLiteral("There is currently no data"), QStringLiteral("in the 'User Log'.")},
            forms::Icon::Information);
        return;
    }
    const QByteArray block = log.readAll();
    log.close();

    ViewingLog = true;
    for (ZovButton* button :
         {cmdAdmin, cmdAddUser, cmdEditUser, cmdDeleteUser, cmdOrganizationName})
        button->hide();
    cmdReviewUserLog->SetTag(cmdReviewUserLog->Caption());
    cmdReviewUserLog->SetCaption(QStringLiteral("Finished Viewing"));
    SetTag(Caption());
    SetCaption(AppTitle() + QStringLiteral(" - User Log"));

    grid->hide();
    txtUserLog->setProperty("Tag", QString::number(txtUserLog->y()));
    txtUserLog->setGeometry(txtUserLog->x(), grid->y(), txtUserLog->width(), grid->height());
    QString text = TrimBlanks(store::DecodeAnsi(block.constData(), static_cast<int>(block.size())));
    txtUserLog->setPlainText(text.replace(CrLf, QStringLiteral("\n")));
    txtUserLog->show();
    // The newest lines are at the end.
    txtUserLog->moveCursor(QTextCursor::End);
    txtUserLog->ensureCursorVisible();
    timerFlashButton.start();
}

void frmAdmin::FinishViewingLog() {
    ViewingLog = false;
    txtUserLog->hide();
    txtUserLog->move(txtUserLog->x(), txtUserLog->property("Tag").toInt());
    txtUserLog->clear();
    cmdReviewUserLog->SetCaption(cmdReviewUserLog->Tag());
    cmdReviewUserLog->SetForeColor(QColor(0, 0, 0));
    cmdReviewUserLog->SetBackColor(cmdReviewUserLog->BackOver());
    SetCaption(Tag());
    grid->show();
    SetUpAdminButtons();
}

// --- The grid ----------------------------------------------------------------------------

void frmAdmin::grid_DblClick() {
    if (!cmdEditUser->isHidden())
        cmdEditUser_Click();
    else if (!cmdUserSelected->isHidden())
        cmdUserSelected_Click();
}

void frmAdmin::grid_MouseMove() {
    QString tip;
    if (grid->MouseRow() >= 1) {
        if (!cmdEditUser->isHidden())
            tip = QStringLiteral(" Double-click to view/edit this user ");
        else if (!cmdUserSelected->isHidden())
            tip = QStringLiteral(" Double-click to select this user ");
    }
    grid->SetToolTipText(tip);
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
