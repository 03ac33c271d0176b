#include "lobby/LobbyLayout.h"

#include "courses/CourseControls.h"
#include "forms/ButtonPictures.h"
#include "forms/PageControls.h"
#include "lobby/frmLobby.h"
#include "platform/Twips.h"
#include "ui/Accessibility.h"
#include "ui/BackgroundTexture.h"
#include "ui/FlexGrid.h"
#include "ui/PlainText.h"
#include "ui/ZovButton.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

using forms::MakePageButton;
using forms::MakePageGrid;
using platform::PlaceTwips;
using Kind = forms::PageButton;

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

ZovButton* MakePictureButton(QWidget* parent, const QPixmap& picture, int left) {
    auto* button = new ZovButton(parent);
    button->SetButtonType(11);
    button->SetPictureNormal(picture);
    button->SetShowFocusRect(false);
    PlaceTwips(button, left, 120, 600, 600);
    return button;
}

QLabel* MakeLabel(QWidget* parent, const QString& caption, int left, int top, int width) {
    auto* label = ui::NewPlainLabel(caption, parent);
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
    lobby.lblUserInfo = ui::NewPlainLabel(QString(), &lobby);
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
    lobby.nameControls.gridName = MakePageGrid(page, 120, 120, 7100);
    lobby.nameControls.gridName->SetTableName(QStringLiteral("Name List"));

    const char* captions[] = {"", "Active Persons", "Inactive Persons",
                              "Active and Inactive Persons"};
    for (int i = 1; i <= 3; ++i) {
        lobby.nameControls.optDisplay[i] = new QRadioButton(QString::fromLatin1(captions[i]), page);
        PlaceTwips(lobby.nameControls.optDisplay[i], 7500, 60 + 300 * i, 3000, 285);
    }

    lobby.nameControls.cmdAddName = MakePageButton(page, Kind::Record, 7500, 1380, 2940, 510);
    lobby.nameControls.cmdEditName = MakePageButton(page, Kind::Record, 7500, 1980, 2940, 510);
    lobby.nameControls.cmdDeleteName = MakePageButton(page, Kind::Remove, 7500, 2580, 2940, 510);
    lobby.nameControls.cmdTrainingHistory =
        MakePageButton(page, Kind::Proceed, 7500, 3420, 2940, 510);
    lobby.nameControls.cmdPrintNameList = MakePageButton(page, Kind::Print, 7500, 4920, 2940, 600);
}

void BuildCourseIndexPage(frmLobby& lobby, QWidget* page) {
    lobby.courseControls = BuildCourseControls(page);
}

void BuildSearchOptionsPage(frmLobby& lobby, QWidget* page) {
    for (int i = 1; i <= 2; ++i) {
        lobby.searchControls.optSearch[i] = new QRadioButton(page);
        PlaceTwips(lobby.searchControls.optSearch[i], 240, 240 + 1320 * (i - 1), 4200, 960);
    }
    lobby.searchControls.optSearch[1]->setChecked(true);

    // Search criteria.
    lobby.searchControls.frame[1] = new QGroupBox(page);
    QGroupBox* criteria = lobby.searchControls.frame[1];
    PlaceTwips(criteria, 4680, 120, 5880, 5640);
    MakeLabel(criteria, QStringLiteral("Date (or from...    ... to)"), 240, 240, 4000);
    lobby.searchControls.txtMatch[0] = MakeBox(criteria, 10, 240, 510, 1560);
    lobby.searchControls.txtMatch[1] = MakeBox(criteria, 10, 1920, 510, 1560);
    MakeLabel(criteria, QStringLiteral("Course Code"), 240, 1020, 4000);
    lobby.searchControls.txtMatch[2] = MakeBox(criteria, 8, 240, 1290, 1560);
    MakeLabel(criteria, QStringLiteral("Training Comments (whole or partial)"), 240, 1800, 5000);
    lobby.searchControls.txtMatch[3] = MakeBox(criteria, 20, 240, 2070, 3240);

    lobby.searchControls.frameMatch =
        new QGroupBox(QStringLiteral(" Find records that... "), criteria);
    PlaceTwips(lobby.searchControls.frameMatch, 240, 2640, 3240, 1620);
    for (int i = 1; i <= 2; ++i) {
        lobby.searchControls.optMatch[i] = new QRadioButton(lobby.searchControls.frameMatch);
        PlaceTwips(lobby.searchControls.optMatch[i], 180, 300 + 600 * (i - 1), 2900, 540);
    }
    lobby.searchControls.optMatch[1]->setChecked(true);
    lobby.searchControls.cmdMatch = MakePageButton(criteria, Kind::Proceed, 240, 4560, 3240, 600);
    lobby.searchControls.cmdMatch->setEnabled(false);

    // Annual summary year, in the same place; only one of the two frames shows.
    lobby.searchControls.frame[2] = new QGroupBox(page);
    QGroupBox* year = lobby.searchControls.frame[2];
    PlaceTwips(year, 4680, 120, 5880, 2160);
    lobby.searchControls.txtSummaryYear = MakeBox(year, 4, 240, 420, 900);
    lobby.searchControls.txtSummaryYear->setAlignment(Qt::AlignCenter);
    MakeLabel(year, QStringLiteral("for the year"), 1260, 450, 2400);
    lobby.searchControls.cmdAnnualSummary =
        MakePageButton(year, Kind::Proceed, 240, 1080, 3240, 600);
    lobby.searchControls.cmdAnnualSummary->setEnabled(false);
    year->hide();
}

void BuildResultsPage(frmLobby& lobby, QWidget* page) {
    lobby.searchControls.gridSummary = MakePageGrid(page, 120, 120, 7100);
    lobby.searchControls.lblTotalHours = MakeLabel(page, QString(), 120, 5700, 5000);
    lobby.searchControls.lblTotalHours->hide();
    lobby.searchControls.cmdSummaryTrainingHistory =
        MakePageButton(page, Kind::Proceed, 7500, 420, 2940, 510);
    lobby.searchControls.cmdSummaryPrint = MakePageButton(page, Kind::Print, 7500, 1140, 2940, 600);
    lobby.searchControls.cmdFinishedSummary =
        MakePageButton(page, Kind::Flash, 7500, 4800, 2940, 720);
}

} // namespace

void BuildLobbyControls(frmLobby& lobby) {
    BuildTopBand(lobby);

    lobby.tabMain = new QTabWidget(&lobby);
    // The tab bar is the Tab stop; the widget around it would be one more, an unnamed filler
    // to a screen reader. Its policy passes to the tab bar, which takes its own back.
    lobby.tabMain->setFocusPolicy(Qt::NoFocus);
    lobby.tabMain->tabBar()->setFocusPolicy(Qt::TabFocus);
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
