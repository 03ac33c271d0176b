#pragma once

#include "ui/EditorForm.h"

#include <QPointer>
#include <array>

class QLabel;
class QRadioButton;
class ZovButton;

// Adds a user to the 'User List' or shows and changes one. The mode comes from the Tag ("Add
// a User" or "View/Edit this User"); a save is reported by setting the Tag of `reportTo`
// (the Admin window's Add or Edit button) to "Update".
class frmAddEditUser : public EditorForm {
    Q_OBJECT

public:
    // Field limits in characters.
    static constexpr int FirstNameLimit = 15;
    static constexpr int LastNameLimit = 20;
    static constexpr int CommentsLimit = 439;
    static const QString PasswordHint; // "<4 to 8 chars only>", also the password box's limit

    // `editRecNum` is the record shown in view/edit mode; add mode appends.
    frmAddEditUser(ZovButton* reportTo, qint32 editRecNum, QWidget* parent = nullptr);
    ~frmAddEditUser() override;

    std::array<QLabel*, 6> lblField{};  // 1..4 the boxes' captions, 5 "* Access Level"
    std::array<QWidget*, 5> txtField{}; // 1 first name, 2 last name, 3 password, 4 comments
    std::array<QRadioButton*, 5> optAccessLevel{}; // 1..4

    qint32 EditRecNum() const { return editRecNum_; }
    qint16 SelectedAccessLevel() const { return selectedAccessLevel_; }

    // Trims `text` in place; true for 4 to 8 letters "A"-"Z", "a"-"z" or digits.
    static bool IsValidPassword(QString& text);

    bool MandatoryFieldsFilled() const override;
    void cmdSave_Click() override;
    void optAccessLevel_Click(int index);

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void txtField_GotFocus(int index) override;

private:
    void PlaceControls();
    bool LoadRecord();
    bool Refuse(const QString& title, const QString& message, int focusIndex);

    QPointer<ZovButton> reportTo_;
    qint32 editRecNum_ = 0;
    qint16 selectedAccessLevel_ = 1;
};
