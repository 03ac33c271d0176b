#include "lobby/LobbyLayout.h"

#include "forms/ButtonPictures.h"
#include "lobby/frmLobby.h"
#include "platform/Twips.h"
#include "ui/Accessibility.h"
#include "ui/BackgroundTexture.h"
#include "ui/PlainText.h"
#include "ui/ZovButton.h"

#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QTabBar>
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

ZovButton* MakePictureButton(QWidget* parent, const QPixmap& picture, int left) {
    auto* button = new ZovButton(parent);
    button->SetButtonType(zov::SeeThroughButton);
    button->SetPictureNormal(picture);
    button->SetShowFocusRect(false);
    PlaceTwips(button, left, 120, 600, 600);
    return button;
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

} // namespace

std::array<QWidget*, 5> BuildLobbyControls(frmLobby& lobby) {
    BuildTopBand(lobby);

    lobby.tabMain = new QTabWidget(&lobby);
    // The tab bar is the Tab stop; the widget around it would be one more, an unnamed filler
    // to a screen reader. Its policy passes to the tab bar, which takes its own back.
    lobby.tabMain->setFocusPolicy(Qt::NoFocus);
    lobby.tabMain->tabBar()->setFocusPolicy(Qt::TabFocus);
    PlaceTwips(lobby.tabMain, 120, 840, 10760, 7140);
    const QString captions[] = {QStringLiteral("Name List"), QStringLiteral("Course Index"),
                                QStringLiteral("Search && Summary Options"),
                                QStringLiteral("Summary Results"), QStringLiteral("Who is Due")};
    std::array<QWidget*, 5> pages{};
    for (std::size_t i = 0; i < pages.size(); ++i) {
        pages[i] = new TexturedPage(lobby.tabMain);
        ui::AddTabPage(lobby.tabMain, pages[i], captions[i]);
    }
    return pages;
}
