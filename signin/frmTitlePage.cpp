#include "signin/frmTitlePage.h"

#include "forms/ButtonLook.h"
#include "help/ShowHelp.h"
#include "platform/Fonts.h"
#include "platform/StandardDialogs.h"
#include "platform/Twips.h"
#include "platform/VersionInfo.h"
#include "signin/TitlePicture.h"
#include "signin/frmNewUser.h"
#include "ui/AppTitle.h"
#include "ui/PlainText.h"
#include "ui/WindowFlow.h"
#include "ui/ZovButton.h"
#include "ui/modStandard.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QShortcut>

using platform::DesignFont;
using platform::PlaceTwips;

namespace {

constexpr int FirstFlashDelay = 2000; // ms before the Continue button starts to flash
constexpr int MinScreenWidth = 800;

QLabel* MakeLabel(QWidget* parent, const QFont& font, const QColor& colour) {
    auto* label = ui::NewPlainLabel(QString(), parent);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    forms::MakeTransparent(label);
    return label;
}

} // namespace

frmTitlePage::frmTitlePage(QWidget* parent)
    : Form(parent), imgBackground(ui::NewPlainLabel(QString(), this)),
      labelAppTitle(MakeLabel(this, DesignFont(QStringLiteral("Times New Roman"), 36, true),
                              QColor(240, 200, 80))),
      labelAppDescription(
          MakeLabel(this, DesignFont(QStringLiteral("Arial"), 14), QColor(255, 255, 255))),
      labelVersion(MakeLabel(this, DesignFont(QStringLiteral("Arial"), 9), QColor(200, 210, 235))),
      labelZovSoftware(
          MakeLabel(this, DesignFont(QStringLiteral("Arial"), 10, true), QColor(240, 200, 80))),
      labelZovAddress(
          MakeLabel(this, DesignFont(QStringLiteral("Arial"), 8.25), QColor(220, 225, 240))),
      cmdContinue(new ZovButton(this)), cmdQuit(new ZovButton(this)),
      cmdHelpTopic(new ZovButton(this)) {
    for (int k = 1; k <= 2; ++k) {
        QFont font = DesignFont(QStringLiteral("Arial"), 8.25);
        font.setUnderline(true);
        labelZovContact[k] = MakeLabel(this, font, QColor(150, 200, 255));
        labelZovContact[k]->setCursor(Qt::PointingHandCursor);
        labelZovContact[k]->installEventFilter(this);
    }
    forms::StyleButton(cmdContinue, forms::ButtonRole::Proceed);
    cmdContinue->setFont(DesignFont(QStringLiteral("Verdana"), 11, true));
    forms::StyleButton(cmdQuit, forms::ButtonRole::Leave);
    cmdHelpTopic->setToolTip(QStringLiteral(" Click here for helpful information! <F1> "));
    forms::StyleButton(cmdHelpTopic, forms::ButtonRole::Record);
    cmdHelpTopic->SetCaption(QStringLiteral("?"));
    cmdHelpTopic->setAccessibleName(QStringLiteral("Help"));
    connect(cmdHelpTopic, &ZovButton::Click, this, &frmTitlePage::cmdHelpTopic_Click);
    new QShortcut(QKeySequence(Qt::Key_F1), this, this, &frmTitlePage::cmdHelpTopic_Click);

    connect(cmdContinue, &ZovButton::Click, this, &frmTitlePage::cmdContinue_Click);
    connect(cmdQuit, &ZovButton::Click, this, &frmTitlePage::cmdQuit_Click);
    connect(&timerFlashButton, &QTimer::timeout, this, &frmTitlePage::timerFlashButton_Timer);
    Form_Load();
}

frmTitlePage::~frmTitlePage() = default;

QString frmTitlePage::VersionCaption(int major, int minor, int revision) {
    return QStringLiteral("Version w%1.%2.%3").arg(major).arg(minor).arg(revision);
}

QString frmTitlePage::ScreenNotice(int widthPixels, int heightPixels) {
    const QString title = AppTitle();
    return QStringList{title + QStringLiteral(" is designed for use on a"),
                       QStringLiteral("screen resolution of at least 800x600. "),
                       QString(),
                       title + QStringLiteral(" will not display correctly on"),
                       QStringLiteral("your current screen resolution (%1x%2).")
                           .arg(widthPixels)
                           .arg(heightPixels),
                       QString(),
                       QStringLiteral("You can adjust your screen resolution by"),
                       QStringLiteral("right-clicking anywhere on your desktop,"),
                       QStringLiteral("select <Properties>, then <Settings>,"),
                       QStringLiteral("and then select and accept at least"),
                       QStringLiteral("800x600 as your 'Screen Area'.")}
        .join(QStringLiteral("\r\n"));
}

void frmTitlePage::Form_Load() {
    SetCaption(QStringLiteral("Title Window"));
    SetSizeTwips(8745, 4965);
    // The picture reaches a little past every edge, so no border of the window shows.
    PlaceTwips(imgBackground, -10, -10, WidthTwips() + 20, HeightTwips() + 20);
    imgBackground->setPixmap(signin::TitlePicture(imgBackground->size()));
    imgBackground->lower();
    PlaceControls();
}

void frmTitlePage::PlaceControls() {
    PlaceTwips(labelAppTitle, 2700, 420, 5700, 1000);
    PlaceTwips(labelAppDescription, 2760, 1420, 5700, 450);
    PlaceTwips(labelVersion, 2790, 1900, 4000, 300);
    PlaceTwips(labelZovSoftware, 360, 3120, 4600, 330);
    PlaceTwips(labelZovAddress, 360, 3450, 4600, 480);
    PlaceTwips(labelZovContact[1], 360, 3990, 4600, 270);
    PlaceTwips(labelZovContact[2], 360, 4290, 4600, 270);
    PlaceTwips(cmdContinue, 5700, 3060, 2640, 660);
    PlaceTwips(cmdQuit, 5700, 3900, 2640, 480);
    PlaceTwips(cmdHelpTopic, 5160, 3900, 420, 480);
}

void frmTitlePage::Form_Activate() {
    const QString title = AppTitle();
    cmdQuit->SetCaption(QStringLiteral("Quit ") + title);
    cmdContinue->SetCaption(QStringLiteral("&Continue"));
    labelAppTitle->setText(title);
    labelAppDescription->setText(platform::FileDescription());
    labelVersion->setText(VersionCaption(platform::VersionMajor(), platform::VersionMinor(),
                                         platform::VersionRevision()));
    labelZovSoftware->setText(modStandard::MakerName);
    labelZovAddress->setText(modStandard::MakerAddressLine1 + u'\n' +
                             modStandard::MakerAddressLine2);
    labelZovContact[1]->setText(modStandard::MakerMailAddress);
    labelZovContact[1]->setToolTip(QStringLiteral(" Click here to email ZOV Software! "));
    labelZovContact[2]->setText(modStandard::MakerWebAddress);
    labelZovContact[2]->setToolTip(QStringLiteral(" Click here to visit ZOV Software! "));
    // The links are only as wide as their text, so only the text is clickable.
    for (int k = 1; k <= 2; ++k)
        labelZovContact[k]->adjustSize();
    timerFlashButton.setInterval(FirstFlashDelay);
    timerFlashButton.start();
}

void frmTitlePage::timerFlashButton_Timer() {
    if (timerFlashButton.interval() == FirstFlashDelay)
        timerFlashButton.setInterval(FlashTimerInterval);
    flash_.Step();
    flash_.Paint(cmdContinue);
}

void frmTitlePage::cmdContinue_Click() {
    if (frmNewUser::WantedAtStart()) {
        frmNewUser overview;
        overview.ShowModal(this);
    }
    const int width = platform::ScreenWidthPixels();
    if (width < MinScreenWidth) {
        platform::StandardMessage(QStringLiteral("Screen Resolution Issue"),
                                  ScreenNotice(width, platform::ScreenHeightPixels()),
                                  platform::StandardIcon::None, platform::StandardButtons::Ok,
                                  this);
    }
    timerFlashButton.stop();
    // Out of sight first, so the Admin window does not open over it; closed only once the
    // Admin window is up, so the program never runs without a window in between.
    hide();
    flow::ShowAdminWindow();
    close();
}

void frmTitlePage::cmdHelpTopic_Click() {
    help::ShowHelp(help::HelpTopic::Overview, this);
}

void frmTitlePage::cmdQuit_Click() {
    timerFlashButton.stop();
    close();
}

void frmTitlePage::labelZovContact_Click(int index) {
    modStandard::OpenMailOrWeb(index, this);
}

bool frmTitlePage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int k = 1; k <= 2; ++k) {
            if (watched == labelZovContact[k]) {
                labelZovContact_Click(k);
                return true;
            }
        }
    }
    return Form::eventFilter(watched, event);
}
