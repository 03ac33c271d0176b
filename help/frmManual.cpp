#include "help/frmManual.h"

#include "forms/ButtonLook.h"
#include "help/HelpTopics.h"
#include "platform/Fonts.h"
#include "platform/StandardDialogs.h"
#include "platform/Twips.h"
#include "print/ListPrintouts.h"
#include "ui/AppTitle.h"
#include "ui/PlainText.h"
#include "ui/ZovButton.h"
#include "ui/modStandard.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>

using platform::DesignFont;
using platform::Twips;

namespace {

void PlaceTwips(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(Twips(left), Twips(top), Twips(width), Twips(height));
}

} // namespace

frmManual::frmManual(int openingItem, QWidget* parent)
    : Form(parent), labelHelpTopic(ui::NewPlainLabel(QString(), this)),
      txtManual(new QPlainTextEdit(this)), cmdHelpTopic(new ZovButton(this)),
      cmdPrintHelp(new ZovButton(this)), cmdReturn(new ZovButton(this)),
      menuHelpMenu(new QMenu(QStringLiteral("Help Topics"), this)), openingItem_(openingItem) {
    labelHelpTopic->setFont(DesignFont(QStringLiteral("Arial"), 12, true));

    txtManual->setFont(DesignFont(QStringLiteral("Arial"), 10));
    txtManual->setReadOnly(true);
    // Read-only, yet a keyboard user can still move through the text to scroll it.
    txtManual->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    txtManual->setFocusPolicy(Qt::StrongFocus);
    txtManual->setTabChangesFocus(true);
    txtManual->setAccessibleName(QStringLiteral("Help text"));

    forms::StyleButton(cmdHelpTopic, forms::ButtonRole::Record);
    forms::StyleButton(cmdPrintHelp, forms::ButtonRole::Record);
    forms::StyleButton(cmdReturn, forms::ButtonRole::Leave);
    cmdHelpTopic->SetCaption(QStringLiteral("Help &Topics"));
    cmdPrintHelp->SetCaption(QStringLiteral("&Print"));
    cmdReturn->SetCaption(QStringLiteral("&Return"));
    cmdReturn->SetCancel(true);

    const auto& menu = help::Menu();
    for (int k = 1; k <= help::MenuItemCount; ++k) {
        if (menu[k].separator()) {
            menuHelpTopic[k] = menuHelpMenu->addSeparator();
            continue;
        }
        // "&" would mark an access key; captions are shown as they are.
        QString caption = menu[k].caption;
        menuHelpTopic[k] = menuHelpMenu->addAction(caption.replace(u'&', QStringLiteral("&&")));
        // Only the items that show a topic text carry the check of the topic shown.
        menuHelpTopic[k]->setCheckable(menu[k].number >= 300 && menu[k].number <= 1000);
        connect(menuHelpTopic[k], &QAction::triggered, this, [this, k] { menuHelpTopic_Click(k); });
    }

    connect(cmdHelpTopic, &ZovButton::Click, this, &frmManual::cmdHelpTopic_Click);
    connect(cmdPrintHelp, &ZovButton::Click, this, &frmManual::cmdPrintHelp_Click);
    connect(cmdReturn, &ZovButton::Click, this, &frmManual::cmdReturn_Click);
    setTabOrder(txtManual, cmdHelpTopic);
    setTabOrder(cmdHelpTopic, cmdPrintHelp);
    setTabOrder(cmdPrintHelp, cmdReturn);
    Form_Load();
}

frmManual::~frmManual() = default;

void frmManual::Form_Load() {
    SetCaption(AppTitle() + QStringLiteral(" - ") + QStringLiteral(" Help Screen"));
    SetSizeTwips(7650, 6525);
    SetKeyPreview(true);
    TileBackground();
    PlaceControls();
}

void frmManual::PlaceControls() {
    PlaceTwips(labelHelpTopic, 240, 150, 7170, 360);
    PlaceTwips(txtManual, 240, 570, 7170, 4860);
    PlaceTwips(cmdHelpTopic, 240, 5610, 2160, 600);
    PlaceTwips(cmdPrintHelp, 2745, 5610, 2160, 600);
    PlaceTwips(cmdReturn, 5250, 5610, 2160, 600);
}

void frmManual::Form_Activate() {
    cmdHelpTopic->setToolTip(QStringLiteral(" Show all Help Topics <F1> "));
    cmdPrintHelp->setToolTip(QStringLiteral(" Print this Help Topic "));
    cmdReturn->setToolTip(QStringLiteral(" Close this Help window <Esc> "));
    for (ZovButton* button : {cmdHelpTopic, cmdPrintHelp, cmdReturn})
        button->Refresh();
    about_ = help::AboutText();
    menuHelpTopic_Click(openingItem_);
}

void frmManual::Form_KeyDown(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        event->accept();
        cmdHelpTopic_Click();
    }
}

void frmManual::menuHelpTopic_Click(int index) {
    const auto& menu = help::Menu();
    const int number = index >= 1 && index <= help::MenuItemCount ? menu[index].number : 0;
    switch (number) {
    case help::MailMaker:
        modStandard::OpenMailOrWeb(modStandard::Mail, this);
        break;
    case help::WebPage:
        modStandard::OpenMailOrWeb(modStandard::Web, this);
        break;
    case help::MailColleague:
        modStandard::OpenMailOrWeb(modStandard::Mail, this, help::ColleagueMailText());
        break;
    case help::About:
        platform::StandardMessage(menu[index].caption, about_, platform::StandardIcon::Information,
                                  platform::StandardButtons::Ok, this);
        break;
    default:
        // The last item, "Exit this Menu", is below the limit and does nothing; neither does
        // the topic already shown.
        if (index >= 1 && index < help::MenuItemCount && !menu[index].separator() &&
            index != currentTopic_)
            ShowTopic(index);
        break;
    }
    // Choosing a checkable item toggles its check; the check stays with the topic shown.
    for (int k = 1; k <= help::MenuItemCount; ++k) {
        if (menuHelpTopic[k]->isCheckable())
            menuHelpTopic[k]->setChecked(k == currentTopic_);
    }
    cmdHelpTopic->setFocus();
}

void frmManual::ShowTopic(int index) {
    const help::MenuItem& item = help::Menu()[index];
    currentTopic_ = index;
    labelHelpTopic->setText(item.caption.trimmed());
    txtManual->setPlainText(help::TopicText(item.number));
    txtManual->setAccessibleDescription(labelHelpTopic->text());
}

void frmManual::cmdHelpTopic_Click() {
    menuHelpMenu->popup(cmdHelpTopic->mapToGlobal(QPoint(0, 0)));
}

void frmManual::cmdPrintHelp_Click() {
    // The printout names the topic by its menu caption as it stands, blanks and all.
    print::PrintHelpTopic(*this, txtManual->toPlainText(), help::Menu()[currentTopic_].caption);
}

void frmManual::cmdReturn_Click() {
    close();
}
