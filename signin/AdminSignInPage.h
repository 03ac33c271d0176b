#pragma once

#include <QWidget>

class QLineEdit;
class ZovButton;

// The Admin window's sign-in: the user highlighted in the list is chosen with Select, then
// the password is typed in the box at its right and Continue goes on (Cancel goes back to
// choosing). The window checks the password; this page knows which of the two steps it is
// in and what each shows.
class AdminSignInPage : public QWidget {
    Q_OBJECT

public:
    explicit AdminSignInPage(QWidget* parent);

    ZovButton* cmdUserSelected;
    QLineEdit* txtPassword;
    ZovButton* cmdContinue;
    ZovButton* cmdCancel;

    // Choosing: Select is offered while the list has a user.
    void SetUp(bool users);

    bool AskingPassword() const { return askingPassword_; }
    // The highlighted user was chosen: the password is asked for.
    void AskPassword();
    // Cancel: back to choosing, the password box emptied and put away.
    void BackToChoosing();
    // A password that was refused or held off: the box is ready for another try, emptied
    // when `empty`.
    void AskAgain(bool empty);

signals:
    // Between choosing and typing the password; sent before the password is asked for and
    // after its box is put away.
    void stepChanged(bool askingPassword);

private:
    // Continue works once something is typed and is then pressed by Enter; until then Enter
    // presses Cancel.
    void PasswordChanged();

    bool askingPassword_ = false;
};
