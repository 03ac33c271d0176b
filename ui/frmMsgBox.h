#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "ui/Form.h"
#include "ui/MsgBoxLayout.h"

class QCheckBox;
class QLabel;
class ZovButton;

// The program's message box: the text, an icon with its sound, one button per caption in a
// footer band, and an optional "Don't show this again" box. It sizes itself to the text and
// the buttons; a message too big for the screen is replaced by a standard notice and the box
// is never shown. Built whole at construction; shown with Run().
//
// Normally reached through ShowMessage (modMsgBox.h); a test may build one directly.
class frmMsgBox : public Form {
    Q_OBJECT

public:
    frmMsgBox(const QString& title, int iconKind, const QString& message, int defaultButton,
              bool showDontAsk, const QStringList& buttonCaptions, QWidget* parent = nullptr);
    ~frmMsgBox() override;

    // Shows the box modally over `parent` and returns the button pressed, 0 for none. A box
    // too big for the screen returns 0 at once.
    int Run(QWidget* parent);

    int MessageResult() const { return messageResult_; }
    bool MessageDontAsk() const { return messageDontAsk_; }
    const MsgBoxLayout& Layout() const { return layout_; }
    bool HasIcon() const { return hasIcon_; }

    QLabel* lblMessage;
    std::vector<ZovButton*> cmdMessageButton; // [0] the template, [k] button k
    QCheckBox* chkDontAsk;
    QWidget* shp;

protected:
    void Form_Load() override;
    void Form_Activate() override;

private:
    void cmdMessageButton_Click(int index);
    void SetUpTemplate();
    void AddMessageButton(const QString& caption, const QRect& twips);
    void DrawIconAndSound();
    void ShowDisplayIssue();

    QString title_;
    int iconKind_;
    QString message_;
    int defaultButton_;
    bool showDontAsk_;
    QStringList captions_;
    MsgBoxLayout layout_;
    bool hasIcon_ = false;
    int messageResult_ = 0;
    bool messageDontAsk_ = false;
};
