#pragma once

#include "forms/ListRecordEditor.h"

#include <array>

class QLabel;
class QRadioButton;
class ZovButton;

// The window in which a person of the Name List is added ("Add a Name") or viewed and edited
// ("View/Edit this Name"). A save writes one record of Name.List and is told, with the person
// as written, through Result().
class frmAddEditName : public RecordEditorOf<store::PersonRecord> {
    Q_OBJECT

public:
    using Record = store::PersonRecord;

    frmAddEditName(QWidget* parent, const Session& session, Entry person);
    ~frmAddEditName() override;

    // A new person, active; or person `recNum` (the Name grid's RecNum column) as on file.
    static Entry ForAdding();
    static Entry ForEditing(qint32 recNum);

    // Boxes txtField(1) to txtField(6): first name, middle name, last name, organization,
    // employee ID, comments (Field(i), FieldText(i) of the base).
    std::array<QLabel*, 7> lblField{};        // index 0 unused
    std::array<QRadioButton*, 3> optStatus{}; // 1 "Active Person", 2 "Inactive Person"
    // Add mode: saves, then starts the next person of the same organization. Shown and
    // enabled as cmdSave is.
    ZovButton* cmdSaveAndAdd;

    // First and last name, each trimmed, are both filled.
    bool MandatoryFieldsFilled() const override;

    void optStatus_Click(int index);
    void cmdSave_Click() override;
    void cmdSaveAndAdd_Click();

protected:
    void Form_Load() override;
    void ShowChoices(const Record& person) override;
    void FillChoices(Record& person) override;
    void txtField_Change(int index) override;

private:
    // The status question of a save in view/edit mode; false when the user wants the
    // status as it was and nothing is to be saved.
    bool ConfirmStatusChange();
    void PlaceControls();
    // cmdSaveAndAdd as cmdSave is: shown in add mode with it, enabled with it.
    void FollowSave();
    // An empty form for the next person, but for the organization.
    void StartAnother();

    bool recordActive_ = true; // the Active flag of the record as read
};
