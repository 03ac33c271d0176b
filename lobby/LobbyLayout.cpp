#include "lobby/LobbyLayout.h"

#include "forms/ButtonLook.h"
#include "forms/ButtonPictures.h"
#include "lobby/frmLobby.h"
#include "platform/Twips.h"
#include "ui/Accessibility.h"
#include "ui/BackgroundTexture.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"
#include "ui/ZovButtonPainter.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

using platform::PlaceTwips;

namespace {

// A tab page that shows the window's paper texture, lined up with the window's own tiles.
class TexturedPage : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setBrushOrigin(-mapTo(window(), QPoint(0, 0)));
        painter.fillRect(rect(), QBrush(BackgroundTexture()));
    }
};

// Buttons are colour-coded by what they do, as in every window of the program; the print
// buttons lie flat on the paper.
enum class Kind { Record, Remove, Proceed, Flash, Print };

ZovButton* MakeButton(QWidget* parent, Kind kind, int left, int top, int width, int height) {
    auto* button = new ZovButton(parent);
    switch (kind) {
    case Kind::Record:
        forms::StyleButton(button, forms::ButtonRole::Record);
        break;
    case Kind::Remove:
        forms::StyleButton(button, forms::ButtonRole::Remove);
        break;
    case Kind::Proceed:
        forms::StyleButton(button, forms::ButtonRole::Proceed);
        break;
    case Kind::Flash:
        // Painted by the flashing timer while it shows.
        forms::StyleButton(button, forms::ButtonRole::Leave);
        break;
    case Kind::Print:
        forms::StyleButton(button, forms::ButtonRole::Record);
        button->SetButtonType(11);
        button->SetPictureNormal(pictures::PrintPicture());
        button->SetPicturePosition(zov::PictureLeft);
        break;
    }
    PlaceTwips(button, left, top, width, height);
    return button;
}

ZovButton* MakePictureButton(QWidget* parent, const QPixmap& picture, int left) {
    auto* button = new ZovButton(parent);
    button->SetButtonType(11);
    button->SetPictureNormal(picture);
    button->SetShowFocusRect(false);
    PlaceTwips(button, left, 120, 600, 600);
    return button;
}

// The lists are read all day: a size larger than the grid's own.
FlexGrid* MakeGrid(QWidget* parent, int left, int top, int width) {
    auto* grid = new FlexGrid(parent);
    QFont larger = grid->font();
    larger.setPointSize(9);
    grid->setFont(larger);
    // The height follows the rows each fill asks for.
    PlaceTwips(grid, left, top, width, 5400);
    return grid;
}

QLabel* MakeLabel(QWidget* parent, const QString& caption, int left, int top, int width) {
    auto* label = new QLabel(caption, parent);
    PlaceTwips(label, left, top, width, 255);
    return label;
}

QLineEdit* MakeBox(QWidget* parent, int maxLength, int left, int top, int width) {
    auto* box = new QLineEdit(parent);
    box->setMaxLength(maxLength);
    PlaceTwips(box, left, top, width, 315);
    return box;
}

void BuildTopBand(frmLobby& lobby) {
    lobby.lblUserInfo = new QLabel(&lobby);
    QFont bold = lobby.lblUserInfo->font();
    bold.setBold(true);
    bold.setPointSize(10);
    lobby.lblUserInfo->setFont(bold);
    QPalette ink = lobby.lblUserInfo->palette();
    ink.setColor(QPalette::WindowText, QColor(0, 0, 64));
    lobby.lblUserInfo->setPalette(ink);
    PlaceTwips(lobby.lblUserInfo, 240, 150, 6000, 540);

    lobby.cmdHelp = MakePictureButton(&lobby, pictures::HelpPicture(), 8040);
    lobby.cmdBackupRestore = MakePictureButton(&lobby, pictures::BackupRestorePicture(), 8760);
    lobby.cmdAdminWindow = MakePictureButton(&lobby, pictures::AdminPicture(), 9480);
    lobby.cmdQuit = MakePictureButton(&lobby, pictures::QuitPicture(), 10200);

    lobby.menuBackupRestoreMenu = new QMenu(&lobby);
    QMenu* menu = lobby.menuBackupRestoreMenu;
    lobby.menuBackupRestore[1] = menu->addAction(QStringLiteral("Backup the Mirtavel data files"));
    lobby.menuBackupRestore[2] = menu->addAction(QStringLiteral("Restore the Mirtavel data files"));
    lobby.menuBackupRestore[3] = menu->addSeparator();
    lobby.menuBackupRestore[4] = menu->addAction(QStringLiteral("Exit this menu"));

    lobby.timerFlashButton = new QTimer(&lobby);
    lobby.timerFlashButton->setInterval(FlashTimerInterval);
}

void BuildNameListPage(frmLobby& lobby, QWidget* page) {
    lobby.gridName = MakeGrid(page, 120, 120, 7100);

    const char* captions[] = {"", "Active Persons", "Inactive Persons",
                              "Active and Inactive Persons"};
    for (int i = 1; i <= 3; ++i) {
        lobby.optDisplay[i] = new QRadioButton(QString::fromLatin1(captions[i]), page);
        PlaceTwips(lobby.optDisplay[i], 7500, 60 + 300 * i, 3000, 285);
    }

    lobby.cmdAddName = MakeButton(page, Kind::Record, 7500, 1380, 2940, 510);
    lobby.cmdEditName = MakeButton(page, Kind::Record, 7500, 1980, 2940, 510);
    lobby.cmdDeleteName = MakeButton(page, Kind::Remove, 7500, 2580, 2940, 510);
    lobby.cmdTrainingHistory = MakeButton(page, Kind::Proceed, 7500, 3420, 2940, 510);
    lobby.cmdPrintNameList = MakeButton(page, Kind::Print, 7500, 4920, 2940, 600);
}

void BuildCourseIndexPage(frmLobby& lobby, QWidget* page) {
    lobby.gridCourse = MakeGrid(page, 120, 120, 10320);

    lobby.cmdAddCourse = MakeButton(page, Kind::Record, 120, 4680, 2000, 510);
    lobby.cmdEditCourse = MakeButton(page, Kind::Record, 2280, 4680, 2000, 510);
    lobby.cmdDeleteCourse = MakeButton(page, Kind::Remove, 4440, 4680, 2000, 510);
    lobby.cmdPrintCourseIndex = MakeButton(page, Kind::Print, 7700, 4635, 2740, 600);

    lobby.cmdCreditTraining = MakeButton(page, Kind::Proceed, 120, 5400, 4320, 720);
    // The find button reaches over Quit Searching, which shows only during a find; the find
    // then shrinks to meet it.
    lobby.cmdSearch = MakeButton(page, Kind::Proceed, 4680, 5400, 5760, 720);
    lobby.cmdQuitSearching = MakeButton(page, Kind::Flash, 8440, 5400, 2000, 720);
    lobby.cmdQuitSearching->hide();
}

void BuildSearchOptionsPage(frmLobby& lobby, QWidget* page) {
    for (int i = 1; i <= 2; ++i) {
        lobby.optSearch[i] = new QRadioButton(page);
        PlaceTwips(lobby.optSearch[i], 240, 240 + 1320 * (i - 1), 4200, 960);
    }
    lobby.optSearch[1]->setChecked(true);

    // Search criteria.
    lobby.frame[1] = new QGroupBox(page);
    QGroupBox* criteria = lobby.frame[1];
    PlaceTwips(criteria, 4680, 120, 5880, 5640);
    MakeLabel(criteria, QStringLiteral("Date (or from...    ... to)"), 240, 240, 4000);
    lobby.txtMatch[0] = MakeBox(criteria, 10, 240, 510, 1560);
    lobby.txtMatch[1] = MakeBox(criteria, 10, 1920, 510, 1560);
    MakeLabel(criteria, QStringLiteral("Course Code"), 240, 1020, 4000);
    lobby.txtMatch[2] = MakeBox(criteria, 8, 240, 1290, 1560);
    MakeLabel(criteria, QStringLiteral("Training Comments (whole or partial)"), 240, 1800, 5000);
    lobby.txtMatch[3] = MakeBox(criteria, 20, 240, 2070, 3240);

    lobby.frameMatch = new QGroupBox(QStringLiteral(" Find records that... "), criteria);
    PlaceTwips(lobby.frameMatch, 240, 2640, 3240, 1620);
    for (int i = 1; i <= 2; ++i) {
        lobby.optMatch[i] = new QRadioButton(lobby.frameMatch);
        PlaceTwips(lobby.optMatch[i], 180, 300 + 600 * (i - 1), 2900, 540);
    }
    lobby.optMatch[1]->setChecked(true);
    lobby.cmdMatch = MakeButton(criteria, Kind::Proceed, 240, 4560, 3240, 600);
    lobby.cmdMatch->setEnabled(false);

    // Annual summary year, in the same place; only one of the two frames shows.
    lobby.frame[2] = new QGroupBox(page);
    QGroupBox* year = lobby.frame[2];
    PlaceTwips(year, 4680, 120, 5880, 2160);
    lobby.txtSummaryYear = MakeBox(year, 4, 240, 420, 900);
    lobby.txtSummaryYear->setAlignment(Qt::AlignCenter);
    MakeLabel(year, QStringLiteral("for the year"), 1260, 450, 2400);
    lobby.cmdAnnualSummary = MakeButton(year, Kind::Proceed, 240, 1080, 3240, 600);
    lobby.cmdAnnualSummary->setEnabled(false);
    year->hide();
}

void BuildResultsPage(frmLobby& lobby, QWidget* page) {
    lobby.gridSummary = MakeGrid(page, 120, 120, 7100);
    lobby.lblTotalHours = MakeLabel(page, QString(), 120, 5700, 5000);
    lobby.lblTotalHours->hide();
    lobby.cmdSummaryTrainingHistory = MakeButton(page, Kind::Proceed, 7500, 420, 2940, 510);
    lobby.cmdSummaryPrint = MakeButton(page, Kind::Print, 7500, 1140, 2940, 600);
    lobby.cmdFinishedSummary = MakeButton(page, Kind::Flash, 7500, 4800, 2940, 720);
}

} // namespace

void BuildLobbyControls(frmLobby& lobby) {
    BuildTopBand(lobby);

    lobby.tabMain = new QTabWidget(&lobby);
    PlaceTwips(lobby.tabMain, 120, 840, 10760, 7140);
    const QString captions[] = {QStringLiteral("Name List"), QStringLiteral("Course Index"),
                                QStringLiteral("Search && Summary Options"),
                                QStringLiteral("Summary Results")};
    QWidget* pages[4];
    for (int i = 0; i < 4; ++i) {
        pages[i] = new TexturedPage(lobby.tabMain);
        ui::AddTabPage(lobby.tabMain, pages[i], captions[i]);
    }
    BuildNameListPage(lobby, pages[frmLobby::NameListPage]);
    BuildCourseIndexPage(lobby, pages[frmLobby::CourseIndexPage]);
    BuildSearchOptionsPage(lobby, pages[frmLobby::SearchOptionsPage]);
    BuildResultsPage(lobby, pages[frmLobby::ResultsPage]);
}
