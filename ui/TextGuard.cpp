#include "ui/TextGuard.h"

#include "platform/Sound.h"
#include "store/Codepage.h"
#include "ui/StoredText.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QValidator>
#include <algorithm>

namespace textguard {

namespace {

// The reason shown beside a box for a moment after something was refused: the character and
// why. A label, so that a screen reader finds it as well as the eye.
void ShowRefusal(QWidget* box, const QString& character) {
    // On the window itself: a box's own frame may be narrower than the reason.
    QWidget* host = box->window();
    auto* note =
        host->findChild<QLabel*>(QStringLiteral("refusalNote"), Qt::FindDirectChildrenOnly);
    if (!note) {
        note = new QLabel(host);
        note->setObjectName(QStringLiteral("refusalNote"));
        note->setAutoFillBackground(true);
        note->setStyleSheet(QStringLiteral(
            "QLabel { background: #ffffe1; color: #000000; border: 1px solid #808080; "
            "padding: 1px 4px; }"));
        auto* timer = new QTimer(note);
        timer->setObjectName(QStringLiteral("refusalTimer"));
        timer->setSingleShot(true);
        timer->setInterval(6000);
        QObject::connect(timer, &QTimer::timeout, note, &QLabel::hide);
    }
    const QString reason = store::OutsideCodepageReason(character);
    note->setText(reason);
    note->setAccessibleName(reason);
    note->adjustSize();
    // Under the box, or over it where the window ends first.
    const QRect place(box == host ? QPoint(0, 0) : box->mapTo(host, QPoint(0, 0)), box->size());
    int top = place.bottom() + 2;
    if (top + note->height() > host->height())
        top = std::max(0, place.top() - note->height() - 2);
    note->move(std::clamp(place.left(), 0, std::max(0, host->width() - note->width())), top);
    note->show();
    note->raise();
    note->findChild<QTimer*>(QStringLiteral("refusalTimer"))->start();
}

// Watches one box: the document says where each change inserted text, and once the box has
// told of the change the part of that insertion that does not fit is taken out again.
class StoredFieldGuard : public QObject {
public:
    StoredFieldGuard(QPlainTextEdit* box, int limit) : QObject(box), box_(box), limit_(limit) {
        connect(box->document(), &QTextDocument::contentsChange, this,
                &StoredFieldGuard::NoteChange);
        connect(box, &QPlainTextEdit::textChanged, this, &StoredFieldGuard::Refuse);
    }

private:
    void NoteChange(int position, int /*removed*/, int added) {
        if (added <= 0)
            return;
        if (begin_ < 0) {
            begin_ = position;
            end_ = position + added;
        } else {
            begin_ = std::min(begin_, position);
            end_ = std::max(end_, position + added);
        }
    }

    void Refuse() {
        if (refusing_ || begin_ < 0)
            return;
        const QString plain = box_->toPlainText();
        // A whole new text reports one character more than it has (the last paragraph's end).
        const int end = std::min(end_, static_cast<int>(plain.size()));
        const int begin = std::min(begin_, end);
        begin_ = end_ = -1;
        const QString inserted = plain.mid(begin, end - begin);
        const int room =
            limit_ - (storedtext::StoredLength(plain) - storedtext::StoredLength(inserted));
        // Text holding a character no record can hold is refused whole, never stored changed.
        const QString unstorable = store::FirstOutsideCodepage(inserted);
        const QString kept = unstorable.isEmpty()
                                 ? storedtext::CutToStoredLength(inserted, std::max(room, 0))
                                 : QString();
        if (kept == inserted)
            return;
        refusing_ = true;
        QTextCursor cursor(box_->document());
        cursor.setPosition(begin);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        // Undo takes back the insertion as it was kept, not the refused part alone.
        cursor.joinPreviousEditBlock();
        cursor.insertText(kept);
        cursor.endEditBlock();
        refusing_ = false;
        platform::MessageBeep(platform::Beep::Default);
        if (!unstorable.isEmpty())
            ShowRefusal(box_, unstorable);
    }

    QPlainTextEdit* box_;
    int limit_;
    int begin_ = -1; // the span inserted since the box last told of a change
    int end_ = -1;
    bool refusing_ = false;
};

// The one-line box's share: its validator turns down a change that would bring in a
// character no record can hold, typed or pasted, and the box keeps what it had.
class CodepageValidator : public QValidator {
public:
    explicit CodepageValidator(QLineEdit* box) : QValidator(box), box_(box) {}

    State validate(QString& input, int& /*position*/) const override {
        const QString unstorable = store::FirstOutsideCodepage(input);
        if (unstorable.isEmpty())
            return Acceptable;
        platform::MessageBeep(platform::Beep::Default);
        ShowRefusal(box_, unstorable);
        return Invalid;
    }

private:
    QLineEdit* box_;
};

} // namespace

void GuardStoredField(QPlainTextEdit* box, int limit) {
    new StoredFieldGuard(box, limit);
}

void GuardStoredField(QLineEdit* box) {
    box->setValidator(new CodepageValidator(box));
}

} // namespace textguard
