#pragma once

#include <QString>

class QWidget;

namespace signin {

// The offered answer of the access-code prompt; typed back unchanged it is a wrong code.
inline const QString AccessCodePromptDefault = QStringLiteral("<Enter Access Code Here>");

// The questions that open admin mode. The folder's access code is asked for until it is given
// or the asking is cancelled. A folder without a code has one chosen, typed twice: by anyone
// in a new installation (no users yet), by a signed-in administrator where there are users.
class AdminAccess {
public:
    explicit AdminAccess(QWidget* parent) : parent_(parent) {}

    // Whether admin mode may open. `highlighted`: the record number of the user highlighted
    // in the list, 0 for none.
    bool Ask(qint32 highlighted);

    // The last answer typed at the access-code prompt.
    const QString& LastAnswer() const { return lastAnswer_; }

private:
    bool AskForAccessCode(qint32 highlighted);
    bool AdministratorMayChoose(qint32 highlighted);
    bool ChooseAccessCode();

    QWidget* parent_;
    QString lastAnswer_;
};

// A code this user's settings kept from an earlier version now belongs to the data folder;
// what could not be moved is told.
void MoveAccessCodeIntoFolder();

} // namespace signin
