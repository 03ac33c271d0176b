#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class ScriptedAnswers;
class TestFolder;
class ZovButton;
class QWidget;

// Helpers shared by the sign-in tests.
namespace signintest {

// A fresh data folder for an Admin window test: the program's end is caught instead of
// ending the test, no wrong sign-in tries are remembered, and the administrator's access code
// is already kept in the folder. `codeRecord`
// is its stored form, made once per test program because the key derivation is slow.
class AdminFolder {
public:
    explicit AdminFolder(const QString& codeRecord);
    ~AdminFolder();
    AdminFolder(const AdminFolder&) = delete;
    AdminFolder& operator=(const AdminFolder&) = delete;

private:
    std::unique_ptr<TestFolder> folder_;
};

// Appends a user to User.List as the user editor would store it; returns its record number.
int AddUser(const QString& first, const QString& last, const QString& password, int level,
            const QString& comments = QString());

// Presses `button` with the mouse, as a user would; fails the test when the user could not
// (hidden or disabled).
void Press(ZovButton* button);

// Types `text` into `box` at the end of what it holds.
void Type(QWidget* box, const QString& text);

// The lines of User.Log without their CR LF ends; empty when there is no log.
QStringList LogLines();

// Shows `window` and makes it the active window, so that focus changes reach it.
void ShowActive(QWidget* window);

// Scripts a new installation's administrator: the access code "Captain77" chosen and
// confirmed, then the first user, Dana Dorsey (password "Chief01", access level 4), added in
// the user editor that opens.
void ExpectFirstAdministrator(ScriptedAnswers& answers);

// A file or folder that can no longer be used as a data file: a folder in its place.
void BlockFile(const QString& name);

} // namespace signintest
