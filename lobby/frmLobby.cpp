#include "lobby/frmLobby.h"

#include "backup/modBackupRestore.h"
#include "courses/CoursePage.h"
#include "forms/ButtonLook.h"
#include "forms/ListGrid.h"
#include "forms/Messages.h"
#include "forms/ShutDown.h"
#include "forms/StoreProblem.h"
#include "help/ShowHelp.h"
#include "lobby/LobbyLayout.h"
#include "lobby/LobbySearchHost.h"
#include "lobby/NameGrid.h"
#include "lobby/TrainingDoors.h"
#include "platform/Events.h"
#include "print/ListPrintouts.h"
#include "search/SearchPage.h"
#include "store/RecordStore.h"
#include "store/UserLog.h"
#include "ui/FlexGrid.h"
#include "ui/Globals.h"
#include "ui/WindowFlow.h"
#include "ui/ZovButton.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

namespace {

// Two-line captions: the program's own buttons take CR LF; Qt's labels and option buttons
// break their lines at LF.
const QString CrLf = QStringLiteral("\r\n");
const QString Lf = QStringLiteral("\n");

bool DataFileExists(store::DataFile file) {
    return QFile::exists(store::FileNameOf(file));
}

using forms::Apply;

} // namespace

frmLobby::frmLobby(QWidget* parent) : Form(parent) {
    BuildLobbyControls(*this);
    courses_ = std::make_unique<CoursePage>(
        *this, CourseControls{gridCourse, cmdAddCourse, cmdEditCourse, cmdDeleteCourse,
                              cmdPrintCourseIndex, cmdCreditTraining, cmdSearch, cmdQuitSearching});
    flashing_ = cmdQuitSearching;
    searchHost_ = std::make_unique<LobbySearchHost>(*this);
    search_ = std::make_unique<search::SearchPage>(
        *searchHost_,
        search::SearchControls{optSearch, frame, txtMatch, frameMatch, optMatch, cmdMatch,
                               txtSummaryYear, cmdAnnualSummary, gridSummary, lblTotalHours,
                               cmdSummaryTrainingHistory, cmdSummaryPrint, cmdFinishedSummary});
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
    for (int i = 1; i <= 3; ++i) {
        // Selecting an option in code counts as a click too; UpdateNameGrid relies on
        // FillingNameGrid to ignore its own selections.
        connect(optDisplay[i], &QRadioButton::toggled, this, [this, i](bool checked) {
            if (checked)
                optDisplay_Click(i);
        });
    }
    connect(timerFlashButton, &QTimer::timeout, this, &frmLobby::timerFlashButton_Timer);
    connect(cmdHelp, &ZovButton::Click, this, &frmLobby::cmdHelp_Click);
    connect(cmdAdminWindow, &ZovButton::Click, this, &frmLobby::cmdAdminWindow_Click);
    connect(cmdBackupRestore, &ZovButton::Click, this, &frmLobby::cmdBackupRestore_Click);
    connect(menuBackupRestore[1], &QAction::triggered, this, &frmLobby::menuBackup_Click);
    connect(menuBackupRestore[2], &QAction::triggered, this, &frmLobby::menuRestore_Click);
    connect(cmdQuit, &ZovButton::Click, this, &frmLobby::cmdQuit_Click);

    connect(cmdAddName, &ZovButton::Click, this, &frmLobby::cmdAddName_Click);
    connect(cmdEditName, &ZovButton::Click, this, &frmLobby::cmdEditName_Click);
    connect(cmdDeleteName, &ZovButton::Click, this, &frmLobby::cmdDeleteName_Click);
    connect(cmdTrainingHistory, &ZovButton::Click, this, &frmLobby::cmdTrainingHistory_Click);
    connect(gridName, &FlexGrid::DblClick, this, &frmLobby::gridName_DblClick);
    connect(gridName, &FlexGrid::MouseMove, this, &frmLobby::gridName_MouseMove);
    print::ConnectPrintButton(
        cmdPrintNameList, [this](print::Output to) { print::PrintNameList(*gridName, *this, to); });
    connect(cmdCreditTraining, &ZovButton::Click, this, &frmLobby::cmdCreditTraining_Click);
    print::ConnectPrintButton(cmdPrintCourseIndex, [this](print::Output to) {
        print::PrintCourseIndex(*gridCourse, *this, to);
    });
}

CourseFind& frmLobby::Find() {
    return courses_->Find();
}

// ---- Opening ---------------------------------------------------------------------------

void frmLobby::Form_Load() {
    SetSizeTwips(11000, 8100);
    SetCaption(QStringLiteral(" ") + AppTitle() + QStringLiteral(" - ") +
               Globals().OrganizationName);
    SetKeyPreview(true);
    TileBackground();
}

void frmLobby::Form_Activate() {
    tabMain->setTabVisible(ResultsPage, false);
    tabMain->setCurrentIndex(NameListPage);

    const ProgramValues& values = Globals();
    lblUserInfo->setText(QStringLiteral("User: ") + values.SignedInUserName + Lf +
                         QStringLiteral("Access: ") +
                         values.AccessLevelNames.value(values.SignedInAccessLevel));

    search_->FirstActivation();

    UpdateNameGrid(*this);
    platform::DoEvents();
    LobbyActivated = true;
    courses_->Fill();
    platform::DoEvents();
    SetUpLobbyButtons();
    if (gridName->Rows() > 1)
        gridName->setFocus();
}

// ---- Buttons by access level and list contents ------------------------------------------

void frmLobby::SetUpLobbyButtons() {
    // A find under way would be left with its buttons half hidden by the rules below.
    courses_->EndFind();

    const int level = Globals().SignedInAccessLevel;
    const bool names = gridName->Rows() > 1;

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

    Apply(cmdAddName, {QStringLiteral("Add Person"),
                       QStringLiteral(" Add a person to the 'Name List' "), true, level >= 3});
    Apply(cmdEditName, {level >= 2 ? QStringLiteral("Edit Person") : QStringLiteral("View Details"),
                        QStringLiteral(" View/Edit the information on the highlighted person "),
                        names,
                        {}});
    Apply(cmdDeleteName, {QStringLiteral("Delete Person"),
                          QStringLiteral(" Delete the highlighted person from the 'Name List' "),
                          names, level == 4});
    Apply(cmdTrainingHistory,
          {QStringLiteral("Training History"),
           QStringLiteral(" View/Edit the highlighted person's training history "), names,
           DataFileExists(store::DataFile::TrainingRecords)});
    Apply(
        cmdPrintNameList,
        {QStringLiteral("Print this List"), QStringLiteral(" Print this 'Name List' "), names, {}});

    courses_->SetUpButtons(level, names);

    search_->SetUpButtons();
}

// ---- Tabs, keys, flashing -----------------------------------------------------------------

void frmLobby::tabMain_Click(int previousTab) {
    Q_UNUSED(previousTab);
    if (!LobbyActivated)
        return;
    switch (tabMain->currentIndex()) {
    case NameListPage:
        if (gridName->Visible())
            gridName->setFocus();
        else if (cmdAddName->isEnabled())
            cmdAddName->setFocus();
        break;
    case CourseIndexPage:
        courses_->TakeFocus();
        break;
    case SearchOptionsPage:
        search_->OptionsPageShown();
        break;
    default:
        break;
    }
}

void frmLobby::optDisplay_Click(int index) {
    Q_UNUSED(index); // UpdateNameGrid reads the choice from the options
    if (FillingNameGrid)
        return;
    UpdateNameGrid(*this);
    SetUpLobbyButtons();
}

void frmLobby::Form_KeyDown(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        event->accept();
        cmdHelp_Click();
    }
}

void frmLobby::timerFlashButton_Timer() {
    Flash.Step();
    Flash.Paint(tabMain->isTabVisible(ResultsPage) ? cmdFinishedSummary : flashing_);
}

// ---- Help, Admin, Backup/Restore, Quit ----------------------------------------------------

void frmLobby::cmdHelp_Click() {
    // The results page keeps the topic last asked for.
    switch (tabMain->currentIndex()) {
    case NameListPage:
        Globals().HelpTopic = 4;
        break;
    case CourseIndexPage:
        Globals().HelpTopic = 5;
        break;
    case SearchOptionsPage:
        Globals().HelpTopic = 8;
        break;
    default:
        break;
    }
    help::ShowHelp(Globals().HelpTopic, this);
}

void frmLobby::LogSignOut() {
    const ProgramValues& values = Globals();
    const store::StoreResult logged = store::AppendUserLog(
        2, values.SignedInUserName, values.AccessLevelNames.value(values.SignedInAccessLevel));
    if (!logged)
        forms::ShowStoreProblem(logged);
}

void frmLobby::cmdAdminWindow_Click() {
    LogSignOut();
    close();
    flow::ShowAdminWindow();
}

void frmLobby::cmdBackupRestore_Click() {
    if (Globals().SignedInAccessLevel == 4) {
        menuBackupRestoreMenu->popup(QCursor::pos());
        return;
    }
    forms::Tell(QStringLiteral("Not authorized"),
                {QStringLiteral("Full access level privileges"),
                 QStringLiteral("are required to use this feature.")},
                forms::Icon::Stop);
}

void frmLobby::menuBackup_Click() {
    backup::BackupDataFiles(*this);
}

void frmLobby::menuRestore_Click() {
    if (!backup::RestoreDataFiles(*this))
        return;
    UpdateNameGrid(*this);
    platform::DoEvents();
    courses_->Fill();
    platform::DoEvents();
    SetUpLobbyButtons();
}

void frmLobby::cmdQuit_Click() {
    const int answer = forms::Ask(
        QStringLiteral("Exit ") + AppTitle() + QStringLiteral("?"), forms::Icon::Question,
        {QStringLiteral("This will close ") + AppTitle() + QStringLiteral("."), QString(),
         QStringLiteral("Is this what you want to do?")},
        1, {QStringLiteral("&Yes, quit ") + AppTitle(), QStringLiteral("&No, do NOT quit")});
    if (answer != 1)
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

// ---- Name List -------------------------------------------------------------------------

void frmLobby::cmdAddName_Click() {
    OpenNameEditor(*this, true);
}

void frmLobby::cmdEditName_Click() {
    OpenNameEditor(*this, false);
}

void frmLobby::cmdDeleteName_Click() {
    DeleteHighlightedPerson(*this);
}

void frmLobby::cmdTrainingHistory_Click() {
    ShowHighlightedHistory(*this);
}

void frmLobby::cmdCreditTraining_Click() {
    CreditHighlightedCourse(*this);
}

void frmLobby::gridName_DblClick() {
    if (gridName->Row() >= 1 && !cmdEditName->isHidden())
        cmdEditName_Click();
}

void frmLobby::gridName_MouseMove() {
    listgrid::ShowEditToolTip(*gridName, cmdEditName, QStringLiteral("user"));
}

// ---- The door ------------------------------------------------------------------------------

ListRecord frmLobby::Highlighted(LobbyList list) const {
    if (list == LobbyList::Courses)
        return courses_->Highlighted();
    return HighlightedPerson(*this);
}

const FlexGrid& frmLobby::Rows(LobbyList list) const {
    return list == LobbyList::Courses ? *gridCourse : *gridName;
}

void frmLobby::ListChanged(LobbyList list, const QString& reselectKey) {
    const bool courses = list == LobbyList::Courses;
    if (courses)
        courses_->Fill();
    else
        UpdateNameGrid(*this);
    platform::DoEvents();
    if (courses)
        courses_->Reselect(reselectKey);
    else
        ReselectPerson(*this, reselectKey);
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
    // Released, the set-up that follows enables the page again where its rule allows.
    tabMain->setTabEnabled(SearchOptionsPage, false);
}

void frmLobby::ShowResults() {
    tabMain->setTabVisible(ResultsPage, true);
    tabMain->setCurrentIndex(ResultsPage);
}
