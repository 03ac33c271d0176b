#pragma once

#include "ui/Form.h"

class QCheckBox;
class QPlainTextEdit;
class ZovButton;

// The overview a new user sees on the way from the title window to the Admin window, until
// "Don't show this screen again" is ticked.
class frmNewUser : public Form {
    Q_OBJECT

public:
    explicit frmNewUser(QWidget* parent = nullptr);
    ~frmNewUser() override;

    QPlainTextEdit* txtBox;
    QCheckBox* chkNoShow;
    ZovButton* cmdContinue;

    // Whether the stored preference asks for the overview (anything but "NoShow").
    static bool WantedAtStart();

    void cmdContinue_Click();

protected:
    void Form_Load() override;
    void Form_Activate() override;
};
