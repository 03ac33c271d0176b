#include "ui/TextGuard.h"

#include "platform/Sound.h"
#include "ui/StoredText.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace textguard {

namespace {

// Watches one box: the document says where each change inserted text, and once the box has
// told of the change the part of that insertion that does not fit is taken out again.
class StoredLengthGuard : public QObject {
public:
    StoredLengthGuard(QPlainTextEdit* box, int limit) : QObject(box), box_(box), limit_(limit) {
        connect(box->document(), &QTextDocument::contentsChange, this,
                &StoredLengthGuard::NoteChange);
        connect(box, &QPlainTextEdit::textChanged, this, &StoredLengthGuard::Refuse);
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
        const QString kept = storedtext::CutToStoredLength(inserted, std::max(room, 0));
        if (kept.size() == inserted.size())
            return;
        refusing_ = true;
        QTextCursor cursor(box_->document());
        cursor.setPosition(begin + static_cast<int>(kept.size()));
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        // Undo takes back the insertion as it was kept, not the refused part alone.
        cursor.joinPreviousEditBlock();
        cursor.removeSelectedText();
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

} // namespace

void LimitStoredLength(QPlainTextEdit* box, int limit) {
    new StoredLengthGuard(box, limit);
}

} // namespace textguard
