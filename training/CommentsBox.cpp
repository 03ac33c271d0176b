#include "training/CommentsBox.h"

#include "ui/EditorForm.h"
#include "ui/StoredText.h"

#include <QLabel>
#include <QTextCursor>

CommentsBox::CommentsBox(int limit, QLabel* gauge, QWidget* parent)
    : QPlainTextEdit(parent), limit_(limit), gauge_(gauge) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
    gauge_->hide();
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
    if (cutting_)
        return;
    QString plain = toPlainText();
    if (storedtext::StoredLength(plain) > limit_) {
        // The box holds no more than its record field: what does not fit is cut off.
        cutting_ = true;
        plain = storedtext::CutToStoredLength(plain, limit_);
        setPlainText(plain);
        moveCursor(QTextCursor::End);
        cutting_ = false;
    }
    const int length = storedtext::StoredLength(plain);
    if (length == 0) {
        gauge_->hide();
    } else {
        gauge_->setText(EditorForm::SpaceFullCaption(length, limit_));
        gauge_->adjustSize();
        gauge_->show();
    }
    emit Changed();
}
