#pragma once

#include <QString>

class QWidget;

// The platform's own boxes: the standard message box, the text input box, the folder picker
// and the save and open dialogs. Each goes through Ask(), so a test answers them like any other
// question.
namespace platform {

enum class StandardIcon { None, Stop, Information };
enum class StandardButtons { Ok, YesNo };
enum class StandardAnswer { None, Ok, Yes, No }; // None: closed without a button

// Shows `text` (lines separated by CR LF) with the given icon and buttons; returns the
// button pressed.
StandardAnswer StandardMessage(const QString& title, const QString& text, StandardIcon icon,
                               StandardButtons buttons, QWidget* owner = nullptr);

enum class InputEcho { Shown, Secret }; // Secret: typed with the password echo

// Asks for one line of text under a prompt of one or more lines; returns what was typed,
// or an empty text on Cancel.
QString InputBox(const QString& title, const QString& prompt, const QString& defaultText,
                 QWidget* owner = nullptr, InputEcho echo = InputEcho::Shown);

// Lets the user choose a folder, starting in `startFolder` (the picker's own choice when
// empty); returns its path, or an empty text on Cancel.
QString PickFolder(const QString& prompt, QWidget* owner = nullptr,
                   const QString& startFolder = QString());

// Offers `items` under a prompt of one or more lines, the first one selected; returns the
// index of the chosen item, or -1 on Cancel.
int ChooseItem(const QString& title, const QString& prompt, const QStringList& items,
               QWidget* owner = nullptr);

// Asks where to save a file, offering `suggestedPath`; `filter` names the kinds of file shown
// ("PDF files (*.pdf)"). Returns the chosen path, or an empty text on Cancel.
QString SaveFileName(const QString& title, const QString& suggestedPath, const QString& filter,
                     QWidget* owner = nullptr);

// Asks for an existing file to read, starting in `startFolder`; `filter` as for SaveFileName.
// Returns the chosen path, or an empty text on Cancel.
QString OpenFileName(const QString& title, const QString& startFolder, const QString& filter,
                     QWidget* owner = nullptr);

} // namespace platform
