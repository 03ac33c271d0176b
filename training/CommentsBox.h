#pragma once

#include <QPlainTextEdit>

class QLabel;

// The comments box of the training windows: multi-line, limited to the record's field (line
// breaks count as the CR LF they are stored as), with its fullness gauge beside it, which is
// hidden while the box is empty and otherwise reads " 50% full ".
class CommentsBox : public QPlainTextEdit {
    Q_OBJECT

public:
    CommentsBox(int limit, QLabel* gauge, QWidget* parent);

    // The text as the record keeps it: line breaks as CR LF.
    QString StoredText() const;
    void SetStoredText(const QString& text);

signals:
    // The text changed (what did not fit the limit already refused).
    void Changed();

private:
    void OnTextChanged();

    int limit_;
    QLabel* gauge_;
};
