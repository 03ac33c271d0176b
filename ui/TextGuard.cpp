#include "ui/TextGuard.h"

#include "platform/Sound.h"
#include "store/Codepage.h"
#include "ui/StoredText.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QValidator>
#include <algorithm>

namespace textguard {

namespace {

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
        const QString kept =
            storedtext::CutToStoredLength(store::KeepCodepage(inserted), std::max(room, 0));
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
    }

    QPlainTextEdit* box_;
    int limit_;
    int begin_ = -1; // the span inserted since the box last told of a change
    int end_ = -1;
    bool refusing_ = false;
};

// The one-line box's share: its validator may change what the box is about to hold.
class CodepageValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override {
        const QString kept = store::KeepCodepage(input);
        if (kept.size() == input.size())
            return Acceptable;
        position -= static_cast<int>(input.left(position).size() -
                                     store::KeepCodepage(input.left(position)).size());
        input = kept;
        platform::MessageBeep(platform::Beep::Default);
        return Acceptable;
    }
};

} // namespace

void GuardStoredField(QPlainTextEdit* box, int limit) {
    new StoredFieldGuard(box, limit);
}

void GuardStoredField(QLineEdit* box) {
    box->setValidator(new CodepageValidator(box));
}

} // namespace textguard
