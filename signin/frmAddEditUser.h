#pragma once

#include "forms/ListRecordEditor.h"

#include <array>

class QLabel;
class QRadioButton;

// Adds a user to the 'User List' ("Add a User") or shows and changes one ("View/Edit this
// User"); a save is told, with the user as written, through Result().
class frmAddEditUser : public RecordEditorOf<store::UserRecord> {
    Q_OBJECT

public:
    using Record = store::UserRecord;

    // Field limits in characters.
    static constexpr int FirstNameLimit = 15;
    static constexpr int LastNameLimit = 20;
    static constexpr int CommentsLimit = 439;
    static const QString PasswordHint; // "<4 to 8 chars only>", also the password box's limit

    frmAddEditUser(QWidget* parent, const Session& session, Entry user);
    ~frmAddEditUser() override;

    // A new user, of the first access level, appended to the list; or user `recNum` (the
    // Admin grid's record number) as on file.
    static Entry ForAdding();
    static Entry ForEditing(qint32 recNum);

    std::array<QLabel*, 6> lblField{};  // 1..4 the boxes' captions, 5 "* Access Level"
    std::array<QWidget*, 5> txtField{}; // 1 first name, 2 last name, 3 password, 4 comments
    std::array<QRadioButton*, 5> optAccessLevel{}; // 1..4

    qint16 SelectedAccessLevel() const { return selectedAccessLevel_; }

    // Trims the blanks around `text` in place; true for 4 to 8 letters "A"-"Z", "a"-"z" or
    // digits.
    static bool IsValidPassword(QString& text);

    bool MandatoryFieldsFilled() const override;
    void cmdSave_Click() override;
    void optAccessLevel_Click(int index);

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void txtField_GotFocus(int index) override;
    void ShowChoices(const Record& user) override;
    void FillChoices(Record& user) override;
    // Users are written only in admin mode, whatever the level of anyone signed in.
    forms::Action SaveAction() const override { return forms::Action::AdministerUsers; }

private:
    void PlaceControls();
    bool LoadRecord();

    qint16 selectedAccessLevel_ = 1;
};
