#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// Every question the program asks the user passes through here: the program's own message
// box, the standard message and input boxes, the folder picker, the save and open dialogs and
// modal windows. Normally
// each is shown on screen; a test installs an answerer instead, which sees what was asked
// and answers at once, so no test ever waits on a window.
namespace platform {

struct Question {
    enum class Kind {
        Message,         // the program's own message box (ShowMessage)
        StandardMessage, // the platform's standard message box
        Input,           // the standard text input box
        Folder,          // the folder picker
        SaveFile,        // the standard dialog that names a file to write
        OpenFile,        // the standard dialog that chooses a file to read
        Choice,          // the standard box that offers a list of items to choose one from
        Window,          // a modal window of the program
    };
    Kind kind = Kind::Message;
    QString title;             // caption (Window: the window's caption)
    QString text;              // message, prompt (lines separated by CR LF)
    QStringList buttons;       // Message: captions as given; StandardMessage: "OK" or "Yes","No"
    int defaultButton = 0;     // 1-based (Message)
    int icon = 0;              // Message: icon kind; StandardMessage: StandardIcon
    QString defaultText;       // Input: the offered text; SaveFile: the suggested path;
                               // Folder, OpenFile: where the picker starts
    QStringList items;         // Choice: the items offered, in order
    bool secret = false;       // Input: what is typed is shown as the password echo
    QWidget* window = nullptr; // Window: the window, ready to be driven by the answerer
};

struct Answer {
    int button = 0;       // 1-based pressed button (Choice: item); 0 for none (Esc, close box)
    bool dontAsk = false; // the "Don't show this again" box
    QString text; // Input: typed text (empty = Cancel); Folder, SaveFile, OpenFile: chosen path
};

using Answerer = std::function<Answer(const Question&)>;

// Installs an answerer in place of the screen; an empty one restores the screen.
void SetAnswerer(Answerer answerer);
bool HasAnswerer();

// Asks `question`: through the answerer when one is installed, otherwise by calling
// `showOnScreen`, which shows the real window and returns what the user did.
Answer Ask(const Question& question, const std::function<Answer()>& showOnScreen);

} // namespace platform
