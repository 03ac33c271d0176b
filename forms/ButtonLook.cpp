#include "forms/ButtonLook.h"

#include "platform/Fonts.h"
#include "ui/ZovButton.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPalette>

namespace forms {

namespace {
struct Colours {
    QColor face;
    QColor over;
    QColor text;
};

Colours ColoursOf(ButtonRole role) {
    switch (role) {
    case ButtonRole::Proceed:
        return {QColor(128, 224, 128), QColor(176, 255, 176), QColor(0, 48, 0)};
    case ButtonRole::Leave:
        return {QColor(240, 176, 96), QColor(255, 208, 144), QColor(64, 32, 0)};
    case ButtonRole::Admin:
        return {QColor(0, 128, 128), QColor(0, 128, 128), QColor(0, 0, 0)};
    case ButtonRole::Record:
        return {QColor(144, 176, 240), QColor(192, 212, 255), QColor(0, 0, 64)};
    case ButtonRole::Remove:
        break;
    }
    return {QColor(232, 120, 120), QColor(255, 168, 168), QColor(64, 0, 0)};
}
} // namespace

void StyleButton(ZovButton* button, ButtonRole role) {
    const Colours c = ColoursOf(role);
    button->SetButtonType(zov::ShadedButton);
    button->SetColorScheme(zov::CustomColors);
    button->SetBackColor(c.face);
    button->SetBackOver(c.over);
    button->SetForeColor(c.text);
    button->SetForeOver(QColor(0, 0, 0));
    button->setFont(platform::DesignFont(QStringLiteral("Verdana"), 8.25, true));
}

void SetOptionInk(QAbstractButton* option, const QColor& ink) {
    QPalette palette = option->palette();
    palette.setColor(QPalette::Active, QPalette::WindowText, ink);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, ink);
    option->setPalette(palette);
}

void MakeTransparent(QLabel* label) {
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setAutoFillBackground(false);
}

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

} // namespace forms
