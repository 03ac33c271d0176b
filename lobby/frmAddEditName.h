#pragma once

#include "forms/ListRecordEditor.h"

#include <array>

class QLabel;
class QRadioButton;

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

    // First and last name, each trimmed, are both filled.
    bool MandatoryFieldsFilled() const override;

    void optStatus_Click(int index);
    void cmdSave_Click() override;

protected:
    void Form_Load() override;
    void ShowChoices(const Record& person) override;
    void FillChoices(Record& person) override;

private:
    // The status question of a save in view/edit mode; false when the user wants the
    // status as it was and nothing is to be saved.
    bool ConfirmStatusChange();
    void PlaceControls();

    bool recordActive_ = true; // the Active flag of the record as read
};
