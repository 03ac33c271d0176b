#include "lobby/frmLobby.h"

#include "backup/BackupPlace.h"
#include "backup/modBackupRestore.h"
#include "courses/CoursePage.h"
#include "forms/ButtonLook.h"
#include "forms/ListGrid.h"
#include "forms/Messages.h"
#include "forms/Permits.h"
#include "forms/ShutDown.h"
#include "forms/StoreProblem.h"
#include "help/ShowHelp.h"
#include "lobby/LobbyLayout.h"
#include "lobby/NamePage.h"
#include "lobby/StationWatch.h"
#include "lobby/TrainingDoors.h"
#include "platform/Events.h"
#include "search/SearchPage.h"
#include "store/ReadOnlyStation.h"
#include "store/RecordStore.h"
#include "store/UserLog.h"
#include "ui/Accessibility.h"
#include "ui/AppTitle.h"
#include "ui/FlexGrid.h"
#include "ui/WindowFlow.h"
#include "ui/ZovButton.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <utility>

namespace {

// Qt's labels and option buttons break their lines at LF.
const QString Lf = QStringLiteral("\n");

bool DataFileExists(store::DataFile file) {
    return QFile::exists(store::FileNameOf(file));
}

using forms::Apply;

} // namespace

frmLobby::frmLobby(Session session, QWidget* parent) : Form(parent), session_(std::move(session)) {
    const std::array<QWidget*, 5> pages = BuildLobbyControls(*this);
    names_ = std::make_unique<NamePage>(*this, pages[NameListPage]);
    courses_ = std::make_unique<CoursePage>(*this, pages[CourseIndexPage]);
    search_ =
        std::make_unique<search::SearchPage>(*this, pages[SearchOptionsPage], pages[ResultsPage]);
    due_ = std::make_unique<search::DuePage>(*this, pages[DuePage]);
    nameControls = names_->Controls();
    courseControls = courses_->Controls();
    searchControls = search_->Controls();
    dueControls = due_->Controls();
    flashing_ = courseControls.cmdQuitSearching;
    lblStationNotice = lobby::MakeStationNotice(this);
    if (lblStationNotice) {
        // The user's line makes room for the notice beside it.
        lblUserInfo->resize(lblStationNotice->x() - lblUserInfo->x(), lblUserInfo->height());
        watch_ = new lobby::DataFilesWatch([this] { RefreshLists(); }, this);
    }
    ConnectHandlers();
    Form_Load();
}

frmLobby::~frmLobby() = default;

void frmLobby::ConnectHandlers() {
    connect(tabMain, &QTabWidget::currentChanged, this, [this](int) {
        const int previous = currentTab_;
        currentTab_ = tabMain->currentIndex();
        tabMain_Click(previous);
    });
    connect(timerFlashButton, &QTimer::timeout, this, &frmLobby::timerFlashButton_Timer);
    connect(cmdHelp, &ZovButton::Click, this, &frmLobby::cmdHelp_Click);
    connect(cmdAdminWindow, &ZovButton::Click, this, &frmLobby::cmdAdminWindow_Click);
    connect(cmdBackupRestore, &ZovButton::Click, this, &frmLobby::cmdBackupRestore_Click);
    connect(menuBackupRestore[1], &QAction::triggered, this, &frmLobby::menuBackup_Click);
    connect(menuBackupRestore[2], &QAction::triggered, this, &frmLobby::menuRestore_Click);
    connect(cmdQuit, &ZovButton::Click, this, &frmLobby::cmdQuit_Click);

    connect(courses_.get(), &CoursePage::CreditAsked, this, &frmLobby::CourseCredit_Asked);
    connect(search_.get(), &search::SearchPage::ResultsOpened, this,
            &frmLobby::SearchResults_Opened);
    connect(search_.get(), &search::SearchPage::ResultsClosed, this,
            &frmLobby::SearchResults_Closed);
}

LobbyPage* frmLobby::PageAt(int index) const {
    switch (index) {
    case NameListPage:
        return names_.get();
    case CourseIndexPage:
        return courses_.get();
    case SearchOptionsPage:
        return search_.get();
    case DuePage:
        return due_.get();
    default:
        return nullptr;
    }
}

LobbyPage& frmLobby::PageOf(LobbyList list) const {
    if (list == LobbyList::Courses)
        return *courses_;
    return *names_;
}

CourseFind& frmLobby::Find() {
    return courses_->Find();
}

// ---- Opening ---------------------------------------------------------------------------

void frmLobby::Form_Load() {
    SetSizeTwips(11000, 8100);
    SetCaption(QStringLiteral(" ") + AppTitle() + QStringLiteral(" - ") +
               session_.organizationName);
    SetKeyPreview(true);
    TileBackground();
}

void frmLobby::Form_Activate() {
    tabMain->setTabVisible(ResultsPage, false);
    tabMain->setCurrentIndex(NameListPage);

    // A station that only reads shows the level it grants, whoever signed in.
    lblUserInfo->setText(QStringLiteral("User: ") + session_.userName + Lf +
                         QStringLiteral("Access: ") + AccessLevelName(session_.Level()));

    search_->FirstActivation();

    names_->FillHoldingNotice();
    platform::DoEvents();
    LobbyActivated = true;
    courses_->Fill();
    platform::DoEvents();
    SetUpLobbyButtons();
    if (names_->Listed())
        nameControls.gridName->setFocus();
    lobby::AnnounceStationNotice(lblStationNotice);
    // An empty list is told once the buttons show their captions, with the normal pointer.
    names_->TellHeldNotice();
    backup::RemindOfOldBackup(session_);
}

void frmLobby::RefreshLists() {
    // Not under a window opened from here, nor while the Lobby itself is busy: the lists are
    // what those work from.
    if (!LobbyActivated || !isEnabled() || QApplication::activeModalWidget()) {
        watch_->Later();
        return;
    }
    ListChanged(LobbyList::Names, names_->Highlighted().key);
    ListChanged(LobbyList::Courses, courses_->Highlighted().key);
}

// ---- Buttons by access level and list contents ------------------------------------------

void frmLobby::SetUpLobbyButtons() {
    Apply(cmdBackupRestore,
          {{},
           QStringLiteral(" Backup and Restore Options (Full access level privileges required) "),
           DataFileExists(store::DataFile::UserList),
           {}});
    Apply(cmdAdminWindow, {{}, QStringLiteral(" Return to the Admin Window "), {}, {}});
    Apply(cmdHelp,
          {{}, QStringLiteral(" Click here for more information about this window "), {}, {}});
    Apply(
        cmdQuit,
        {{}, QStringLiteral(" Click here to exit ") + AppTitle() + QStringLiteral(" "), true, {}});

    tabMain->setTabEnabled(SearchOptionsPage, DataFileExists(store::DataFile::TrainingRecords) &&
                                                  store::PersonCount() > 0);
    // A person never credited may be due, so the records need not exist yet.
    tabMain->setTabEnabled(DuePage, store::PersonCount() > 0);

    for (int index = NameListPage; index <= DuePage; ++index) {
        if (LobbyPage* page = PageAt(index))
            page->SetUpButtons();
    }
}

// ---- Tabs, keys, flashing -----------------------------------------------------------------

void frmLobby::tabMain_Click(int previousTab) {
    Q_UNUSED(previousTab);
    if (!LobbyActivated)
        return;
    if (LobbyPage* page = PageAt(tabMain->currentIndex()))
        page->TakeFocus();
}

void frmLobby::Form_KeyDown(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        event->accept();
        cmdHelp_Click();
    }
}

void frmLobby::timerFlashButton_Timer() {
    Flash.Step();
    Flash.Paint(tabMain->isTabVisible(ResultsPage) ? searchControls.cmdFinishedSummary : flashing_);
}

// ---- Help, Admin, Backup/Restore, Quit ----------------------------------------------------

void frmLobby::cmdHelp_Click() {
    // The results page keeps the topic last asked for.
    switch (tabMain->currentIndex()) {
    case NameListPage:
        help::ShowHelp(help::HelpTopic::NameList, this);
        break;
    case CourseIndexPage:
        help::ShowHelp(help::HelpTopic::CourseIndex, this);
        break;
    case SearchOptionsPage:
    case DuePage: // its section is in the same topic
        help::ShowHelp(help::HelpTopic::SearchAndSummary, this);
        break;
    default:
        help::ShowLastHelp(this);
        break;
    }
}

void frmLobby::LogSignOut() {
    if (store::IsReadOnlyStation())
        return; // the log is written by the program that holds the folder

    forms::TellUnlogged(QStringLiteral("sign-out"),
                        store::AppendUserLog(store::UserLogEvent::SignOut, session_.userName,
                                             AccessLevelName(session_.Level())));
}

void frmLobby::cmdAdminWindow_Click() {
    LogSignOut();
    close();
    flow::ShowAdminWindow();
}

void frmLobby::cmdBackupRestore_Click() {
    if (forms::Permits(session_, forms::Action::BackupRestore)) {
        menuBackupRestoreMenu->popup(QCursor::pos());
        return;
    }
    forms::Tell(QStringLiteral("Not authorized"),
                {QStringLiteral("Full access level privileges"),
                 QStringLiteral("are required to use this feature.")},
                forms::Icon::Stop);
}

void frmLobby::menuBackup_Click() {
    backup::BackupDataFiles(*this, session_);
}

void frmLobby::menuRestore_Click() {
    if (!backup::RestoreDataFiles(*this, session_))
        return;
    names_->Fill();
    platform::DoEvents();
    courses_->Fill();
    platform::DoEvents();
    SetUpLobbyButtons();
}

void frmLobby::cmdQuit_Click() {
    if (!AskToQuit(
            {QStringLiteral("&Yes, quit ") + AppTitle(), QStringLiteral("&No, do NOT quit"), 1}))
        return;
    LogSignOut();
    ShutDown();
}

void frmLobby::closeEvent(QCloseEvent* event) {
    // Only the window system's close (the close box) is spontaneous; the program's own
    // closes (the Admin button, the shutdown) are not.
    closeFromTitleBar_ = event->spontaneous();
    Form::closeEvent(event);
    closeFromTitleBar_ = false;
}

void frmLobby::Form_QueryUnload(bool& cancel) {
    if (!closeFromTitleBar_ || ShuttingDown())
        return;
    cancel = true;
    // Asked once the close event is over, so that a Yes can close this window for good.
    QMetaObject::invokeMethod(this, &frmLobby::cmdQuit_Click, Qt::QueuedConnection);
}

// ---- Training ----------------------------------------------------------------------------

void frmLobby::CourseCredit_Asked(const CourseRow& course) {
    CreditCourse(*this, course);
}

// ---- The door ------------------------------------------------------------------------------

ListRecord frmLobby::Highlighted(LobbyList list) const {
    return PageOf(list).Highlighted();
}

const ListedPersons& frmLobby::Persons() const {
    return names_->Persons();
}

bool frmLobby::PersonsListed() const {
    return names_->Listed();
}

void frmLobby::ListChanged(LobbyList list, const QString& reselectKey) {
    PageOf(list).Fill();
    platform::DoEvents();
    if (list == LobbyList::Courses)
        courses_->Reselect(reselectKey);
    else
        names_->Reselect(reselectKey);
    SetUpLobbyButtons();
}

void frmLobby::StartFlashing(ZovButton* button) {
    flashing_ = button;
    timerFlashButton->start();
}

void frmLobby::StopFlashing() {
    timerFlashButton->stop();
}

void frmLobby::HoldLobby(bool held) {
    cmdAdminWindow->setVisible(!held);
    // Released, the set-up that follows enables the pages again where their rules allow.
    tabMain->setTabEnabled(SearchOptionsPage, false);
    tabMain->setTabEnabled(DuePage, false);
}

// ---- The search pages' side --------------------------------------------------------------

QString frmLobby::DisplayChoice() const {
    return names_->DisplayChoice();
}

void frmLobby::SearchResults_Opened(const QString& caption, const QString& criteriaCaption) {
    if (!criteriaCaption.isEmpty()) {
        optionsCaption_ = tabMain->tabText(SearchOptionsPage);
        ui::SetTabCaption(tabMain, SearchOptionsPage, criteriaCaption);
    }
    ui::SetTabCaption(tabMain, ResultsPage, caption);
    tabMain->setTabVisible(ResultsPage, true);
    tabMain->setTabVisible(NameListPage, false);
    tabMain->setTabVisible(CourseIndexPage, false);
    tabMain->setTabVisible(DuePage, false);
    if (criteriaCaption.isEmpty())
        tabMain->setTabVisible(SearchOptionsPage, false);
    SetBackupRestoreEnabled(false);
    tabMain->setCurrentIndex(ResultsPage);
}

void frmLobby::SearchResults_Closed() {
    tabMain->setTabVisible(NameListPage, true);
    tabMain->setTabVisible(CourseIndexPage, true);
    tabMain->setTabVisible(SearchOptionsPage, true);
    tabMain->setTabVisible(DuePage, true);
    tabMain->setCurrentIndex(SearchOptionsPage);
    tabMain->setTabVisible(ResultsPage, false);
    ui::SetTabCaption(tabMain, ResultsPage, QString());
    if (optionsCaption_)
        ui::SetTabCaption(tabMain, SearchOptionsPage, *std::exchange(optionsCaption_, {}));
    SetBackupRestoreEnabled(true);
}

void frmLobby::SetBackupRestoreEnabled(bool enabled) {
    if (!cmdBackupRestore->isHidden())
        cmdBackupRestore->setEnabled(enabled);
}
