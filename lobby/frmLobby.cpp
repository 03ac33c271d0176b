#include "lobby/frmLobby.h"

#include "app/basMirtavel.h"
#include "backup/modBackupRestore.h"
#include "courses/CourseDelete.h"
#include "courses/CourseFind.h"
#include "courses/CourseGrid.h"
#include "help/ShowHelp.h"
#include "lobby/LobbyLayout.h"
#include "lobby/LobbyMessages.h"
#include "lobby/LobbySearchHost.h"
#include "lobby/NameGrid.h"
#include "lobby/TrainingDoors.h"
#include "platform/Events.h"
#include "print/ListPrintouts.h"
#include "search/SearchPage.h"
#include "signin/StoreProblem.h"
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
#include <optional>

namespace {

// Two-line captions: the program's own buttons take CR LF; Qt's labels and option buttons
// break their lines at LF.
const QString CrLf = QStringLiteral("\r\n");
const QString Lf = QStringLiteral("\n");

bool DataFileExists(store::DataFile file) {
    return QFile::exists(store::FileNameOf(file));
}

// One row of the button set-up: what is not given stays as it is.
struct ButtonRule {
    std::optional<QString> caption;
    std::optional<QString> toolTip;
    std::optional<bool> visible;
    std::optional<bool> enabled;
};

void Apply(ZovButton* button, const ButtonRule& rule) {
    if (rule.caption)
        button->SetCaption(*rule.caption);
    if (rule.toolTip)
        button->setToolTip(*rule.toolTip);
    if (rule.visible)
        button->setVisible(*rule.visible);
    if (rule.enabled)
        button->setEnabled(*rule.enabled);
    button->Refresh();
}

} // namespace

frmLobby::frmLobby(QWidget* parent) : Form(parent), find_(std::make_unique<CourseFind>(*this)) {
    BuildLobbyControls(*this);
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

    connect(cmdAddCourse, &ZovButton::Click, this, &frmLobby::cmdAddCourse_Click);
    connect(cmdEditCourse, &ZovButton::Click, this, &frmLobby::cmdEditCourse_Click);
    connect(cmdDeleteCourse, &ZovButton::Click, this, &frmLobby::cmdDeleteCourse_Click);
    connect(cmdCreditTraining, &ZovButton::Click, this, &frmLobby::cmdCreditTraining_Click);
    connect(cmdSearch, &ZovButton::Click, this, &frmLobby::cmdSearch_Click);
    connect(cmdQuitSearching, &ZovButton::Click, this, &frmLobby::cmdQuitSearching_Click);
    connect(gridCourse, &FlexGrid::RowColChange, this, &frmLobby::gridCourse_RowColChange);
    connect(gridCourse, &FlexGrid::MouseMove, this, &frmLobby::gridCourse_MouseMove);
    connect(gridCourse, &FlexGrid::DblClick, this, &frmLobby::gridcourse_DblClick);
    print::ConnectPrintButton(cmdPrintCourseIndex, [this](print::Output to) {
        print::PrintCourseIndex(*gridCourse, *this, to);
    });
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
    UpdateCourseGrid(*this);
    platform::DoEvents();
    SetUpLobbyButtons();
    if (gridName->Rows() > 1)
        gridName->setFocus();
}

// ---- Buttons by access level and list contents ------------------------------------------

void frmLobby::SetUpLobbyButtons() {
    // A find under way would be left with its buttons half hidden by the rules below.
    if (find_->On())
        find_->End();

    const int level = Globals().SignedInAccessLevel;
    const bool names = gridName->Rows() > 1;
    const bool courses = gridCourse->Rows() > 1;

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

    Apply(cmdSearch,
          {QStringLiteral("Find and Highlight a Course..."), {}, gridCourse->Rows() > 2, {}});
    Apply(cmdQuitSearching, {QStringLiteral("Quit Searching"), {}, false, {}});
    Apply(cmdCreditTraining,
          {QStringLiteral("Credit the highlighted course to") + CrLf +
               QStringLiteral("one or more person's training record(s)..."),
           QStringLiteral(" Credit person(s) as having completed a training course... "),
           names && courses,
           {}});
    Apply(cmdAddCourse,
          {QStringLiteral("Add Course"),
           QStringLiteral(" Add a training course to the 'Course Index' "), true, level >= 3});
    Apply(cmdEditCourse,
          {level >= 2 ? QStringLiteral("Edit Course") : QStringLiteral("View Details"),
           QStringLiteral(" View/Edit the information contained in this training course "),
           courses,
           {}});
    Apply(cmdDeleteCourse,
          {QStringLiteral("Delete Course"),
           QStringLiteral(" Delete the highlighted course from the 'Course Index' "), courses,
           level == 4});
    Apply(cmdPrintCourseIndex, {QStringLiteral("Print this Index"),
                                QStringLiteral(" Print this 'Course Index' "),
                                courses,
                                {}});

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
        if (gridCourse->Visible())
            gridCourse->setFocus();
        else if (cmdAddCourse->isEnabled())
            cmdAddCourse->setFocus();
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
    Flash.Paint(tabMain->isTabVisible(ResultsPage) ? cmdFinishedSummary : cmdQuitSearching);
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
        signin::ShowStoreProblem(logged);
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
    lobbymsg::Notice(QStringLiteral("Not authorized"),
                     {QStringLiteral("Full access level privileges"),
                      QStringLiteral("are required to use this feature.")},
                     2);
}

void frmLobby::menuBackup_Click() {
    backup::BackupDataFiles(*this);
}

void frmLobby::menuRestore_Click() {
    if (!backup::RestoreDataFiles(*this))
        return;
    UpdateNameGrid(*this);
    platform::DoEvents();
    UpdateCourseGrid(*this);
    platform::DoEvents();
    SetUpLobbyButtons();
}

void frmLobby::cmdQuit_Click() {
    const int answer = lobbymsg::Ask(
        QStringLiteral("Exit ") + AppTitle() + QStringLiteral("?"), 3,
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
    OpenNameEditor(*this, cmdAddName);
}

void frmLobby::cmdEditName_Click() {
    OpenNameEditor(*this, cmdEditName);
}

void frmLobby::cmdDeleteName_Click() {
    DeleteHighlightedPerson(*this);
}

void frmLobby::cmdTrainingHistory_Click() {
    ShowHighlightedHistory(*this);
}

void frmLobby::gridName_DblClick() {
    if (gridName->Row() >= 1 && !cmdEditName->isHidden())
        cmdEditName_Click();
}

void frmLobby::gridName_MouseMove() {
    SetGridToolTip(gridName, cmdEditName, QStringLiteral("user"));
}

void frmLobby::SetGridToolTip(FlexGrid* grid, ZovButton* editButton, const QString& what) {
    QString tip;
    if (!editButton->isHidden() && grid->MouseRow() >= 1) {
        tip = QStringLiteral(" Double-click to view") +
              (Globals().SignedInAccessLevel >= 2 ? QStringLiteral("/edit") : QString()) +
              QStringLiteral(" this ") + what + QStringLiteral(" ");
    }
    grid->SetToolTipText(tip);
}

// ---- Course Index ------------------------------------------------------------------------

void frmLobby::cmdAddCourse_Click() {
    OpenCourseEditor(*this, cmdAddCourse);
}

void frmLobby::cmdEditCourse_Click() {
    OpenCourseEditor(*this, cmdEditCourse);
}

void frmLobby::cmdDeleteCourse_Click() {
    DeleteHighlightedCourse(*this);
}

void frmLobby::cmdCreditTraining_Click() {
    CreditHighlightedCourse(*this);
}

void frmLobby::cmdSearch_Click() {
    find_->cmdSearch_Click();
}

void frmLobby::cmdQuitSearching_Click() {
    find_->cmdQuitSearching_Click();
}

void frmLobby::gridCourse_RowColChange() {
    UpdateCreditButton(*this);
}

void frmLobby::gridCourse_MouseMove() {
    SetGridToolTip(gridCourse, cmdEditCourse, QStringLiteral("course"));
}

void frmLobby::gridcourse_DblClick() {
    if (gridCourse->Row() >= 1 && !cmdEditCourse->isHidden())
        cmdEditCourse_Click();
}
