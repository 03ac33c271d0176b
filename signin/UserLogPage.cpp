#include "signin/UserLogPage.h"

#include "platform/Fonts.h"
#include "platform/Twips.h"

#include <QTextEdit>

UserLogPage::UserLogPage(QWidget* parent) : QWidget(parent), txtUserLog(new QTextEdit(this)) {
    txtUserLog->setAcceptRichText(false);
    txtUserLog->setFont(platform::DesignFont(QStringLiteral("Tahoma"), 8.25));
    // As wide as the user list, in the window's twips.
    platform::PlaceTwips(txtUserLog, 150, 150, 7980, 1950);
}

void UserLogPage::ShowLog(const QString& text, const QWidget& list) {
    text_ = text;
    txtUserLog->setGeometry(txtUserLog->x(), list.y(), txtUserLog->width(), list.height());
    txtUserLog->setPlainText(text);
    txtUserLog->moveCursor(QTextCursor::End);
    txtUserLog->ensureCursorVisible();
}

void UserLogPage::Empty() {
    text_.clear();
    txtUserLog->clear();
}
