#pragma once

#include <QWidget>

class QTextEdit;

// The Admin window viewing the user log: the whole log in the user list's place, the newest
// lines in view. What is typed into the box is never saved.
class UserLogPage : public QWidget {
    Q_OBJECT

public:
    explicit UserLogPage(QWidget* parent);

    QTextEdit* txtUserLog;

    // Shows `text` over `list`, at its top and as high as it is now (it grows with its
    // rows). Call once the page shows: the caret goes to the end, where the newest lines are.
    void ShowLog(const QString& text, const QWidget& list);
    void Empty();
    // The log as read and shown, whatever has been typed into the box since.
    const QString& LogText() const { return text_; }

private:
    QString text_;
};
