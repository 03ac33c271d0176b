#include "signin/AdminSignInPage.h"

#include "forms/ButtonLook.h"
#include "platform/Twips.h"
#include "ui/ZovButton.h"

#include <QLineEdit>

using forms::ButtonRole;
using platform::PlaceTwips;

namespace {
const QString SelectCaption = QStringLiteral("&Select the Highlighted User");
} // namespace

AdminSignInPage::AdminSignInPage(QWidget* parent)
    : QWidget(parent), cmdUserSelected(new ZovButton(this)), txtPassword(new QLineEdit(this)),
      cmdContinue(new ZovButton(this)), cmdCancel(new ZovButton(this)) {
    forms::StyleButton(cmdUserSelected, ButtonRole::Proceed);
    forms::StyleButton(cmdContinue, ButtonRole::Proceed);
    forms::StyleButton(cmdCancel, ButtonRole::Leave);
    txtPassword->setEchoMode(QLineEdit::Password);
    QFont big = txtPassword->font();
    big.setPointSize(20);
    txtPassword->setFont(big);
    // The row under the user list, in the window's twips.
    PlaceTwips(cmdUserSelected, 150, 2400, 3300, 660);
    PlaceTwips(txtPassword, 3570, 2400, 2280, 660);
    PlaceTwips(cmdContinue, 5970, 2400, 1020, 660);
    PlaceTwips(cmdCancel, 7110, 2400, 1020, 660);
    for (QWidget* hidden :
         {static_cast<QWidget*>(cmdUserSelected), static_cast<QWidget*>(txtPassword),
          static_cast<QWidget*>(cmdContinue), static_cast<QWidget*>(cmdCancel)})
        hidden->hide();
    connect(txtPassword, &QLineEdit::textChanged, this, &AdminSignInPage::PasswordChanged);
    connect(cmdCancel, &ZovButton::Click, this, &AdminSignInPage::BackToChoosing);
}

void AdminSignInPage::SetUp(bool users) {
    forms::Apply(
        cmdUserSelected,
        {SelectCaption, QStringLiteral(" Proceed to the Program with this User "), users, {}});
}

void AdminSignInPage::AskPassword() {
    if (askingPassword_)
        return;
    askingPassword_ = true;
    emit stepChanged(true);
    cmdUserSelected->SetFontBold(true);
    cmdUserSelected->SetCaption(QStringLiteral("Enter Password at right"));
    cmdUserSelected->setEnabled(false);
    txtPassword->clear();
    txtPassword->show();
    txtPassword->setFocus();
    cmdContinue->SetCaption(QStringLiteral("Continue"));
    cmdContinue->show();
    cmdContinue->setEnabled(false);
    cmdCancel->SetCaption(QStringLiteral("Cancel"));
    cmdCancel->show();
    PasswordChanged();
}

void AdminSignInPage::PasswordChanged() {
    const bool typed = !txtPassword->text().isEmpty();
    cmdContinue->setEnabled(typed);
    if (typed)
        cmdContinue->SetDefault(true);
    else
        cmdCancel->SetDefault(true);
}

void AdminSignInPage::BackToChoosing() {
    txtPassword->hide();
    cmdContinue->hide();
    cmdCancel->hide();
    askingPassword_ = false;
    emit stepChanged(false);
    cmdUserSelected->SetFontBold(false);
    cmdUserSelected->SetCaption(SelectCaption);
    cmdUserSelected->setEnabled(true);
}

void AdminSignInPage::AskAgain(bool empty) {
    if (empty)
        txtPassword->clear();
    txtPassword->setFocus();
}
