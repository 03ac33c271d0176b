#include "training/CommentsBox.h"

#include "ui/EditorForm.h"
#include "ui/StoredText.h"
#include "ui/TextGuard.h"

#include <QLabel>
#include <QTextCursor>

CommentsBox::CommentsBox(int limit, QLabel* gauge, QWidget* parent)
    : QPlainTextEdit(parent), limit_(limit), gauge_(gauge) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
    gauge_->hide();
    textguard::GuardStoredField(this, limit_);
    connect(this, &QPlainTextEdit::textChanged, this, &CommentsBox::OnTextChanged);
}

QString CommentsBox::StoredText() const {
    return toPlainText().replace(u'\n', QStringLiteral("\r\n"));
}

void CommentsBox::SetStoredText(const QString& text) {
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setPlainText(plain);
}

void CommentsBox::OnTextChanged() {
    const int length = storedtext::StoredLength(toPlainText());
    if (length == 0) {
        gauge_->hide();
    } else {
        gauge_->setText(EditorForm::SpaceFullCaption(length, limit_));
        gauge_->adjustSize();
        gauge_->show();
    }
    emit Changed();
}
