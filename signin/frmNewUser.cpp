#include "signin/frmNewUser.h"

#include "forms/ButtonLook.h"
#include "forms/StoreProblem.h"
#include "help/HelpTopics.h"
#include "platform/Fonts.h"
#include "platform/Settings.h"
#include "platform/Twips.h"
#include "ui/AppTitle.h"
#include "ui/ZovButton.h"
#include "ui/modStandard.h"

#include <QCheckBox>
#include <QPlainTextEdit>

using platform::DesignFont;
using platform::Twips;

namespace {

// The program's one stored preference.
const QString kSection = QStringLiteral("Defaults");
const QString kKey = QStringLiteral("NewUser");
const QString kNoShow = QStringLiteral("NoShow");

void PlaceTwips(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(Twips(left), Twips(top), Twips(width), Twips(height));
}

} // namespace

frmNewUser::frmNewUser(QWidget* parent)
    : Form(parent), txtBox(new QPlainTextEdit(this)), chkNoShow(new QCheckBox(this)),
      cmdContinue(new ZovButton(this)) {
    txtBox->setReadOnly(true);
    txtBox->setFont(DesignFont(QStringLiteral("Arial"), 10));
    txtBox->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    txtBox->setFocusPolicy(Qt::StrongFocus);
    txtBox->setTabChangesFocus(true);
    txtBox->setAccessibleName(QStringLiteral("New User Overview"));
    chkNoShow->setText(QStringLiteral("Don't show this screen again"));
    chkNoShow->setFont(DesignFont(QStringLiteral("Arial"), 9, true));
    QPalette palette = chkNoShow->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 64)); // dark on the pale texture
    chkNoShow->setPalette(palette);
    forms::StyleButton(cmdContinue, forms::ButtonRole::Proceed);
    cmdContinue->SetDefault(true);
    connect(cmdContinue, &ZovButton::Click, this, &frmNewUser::cmdContinue_Click);
    setTabOrder(txtBox, chkNoShow);
    setTabOrder(chkNoShow, cmdContinue);
    Form_Load();
}

frmNewUser::~frmNewUser() = default;

bool frmNewUser::WantedAtStart() {
    return platform::GetSetting(AppTitle(), kSection, kKey) != kNoShow;
}

void frmNewUser::Form_Load() {
    SetSizeTwips(6915, 6135);
    SetCaption(QStringLiteral(" ") + AppTitle() + QStringLiteral(" - ") +
               QStringLiteral("New User Overview"));
    TileBackground();
    PlaceTwips(txtBox, 240, 240, 6435, 4650);
    PlaceTwips(chkNoShow, 240, 5130, 3900, 420);
    PlaceTwips(cmdContinue, 4440, 5040, 2235, 600);
}

void frmNewUser::Form_Activate() {
    txtBox->setPlainText(QStringLiteral("Welcome from ") + modStandard::MakerName +
                         QStringLiteral("! Are you a new user? ") +
                         QStringLiteral("If so, then let's take a moment for a brief but "
                                        "important overview.") +
                         QStringLiteral("\n\n") + help::TopicText(300));
    cmdContinue->SetCaption(QStringLiteral("&Continue"));
    cmdContinue->Refresh();
    cmdContinue->setFocus();
}

void frmNewUser::cmdContinue_Click() {
    if (chkNoShow->isChecked())
        forms::ShowSettingsProblem(platform::SaveSetting(AppTitle(), kSection, kKey, kNoShow));
    close();
}
