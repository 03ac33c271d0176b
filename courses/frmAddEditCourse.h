#pragma once

#include "forms/ListRecordEditor.h"
#include "store/TrainingRules.h"

#include <array>

class QCheckBox;
class QLabel;
class QSpinBox;
class ZovButton;

// The window in which a course of the Course Index is added ("Add a Course") or viewed and
// edited ("View/Edit this Course"). A save writes one record of Course.Index and is told, with
// the course as written, through Result(); an edited course then offers to carry its changes
// into the training records credited with it. The course's renewal period and whether every
// active person needs it are kept beside the legacy files (store/TrainingRules), written
// after the course.
class frmAddEditCourse : public RecordEditorOf<store::CourseRecord> {
    Q_OBJECT

public:
    using Record = store::CourseRecord;

    frmAddEditCourse(QWidget* parent, const Session& session, Entry course);
    ~frmAddEditCourse() override;

    // A new course; or course `recNum` (the Course grid's RecNum column) as on file.
    static Entry ForAdding();
    static Entry ForEditing(qint32 recNum);

    // Boxes txtField(1) to txtField(5): course code, name of course, provided by, hours,
    // comments (Field(i), FieldText(i) of the base).
    std::array<QLabel*, 6> lblField{}; // index 0 unused
    // Opens the help on Course Code conventions.
    ZovButton* cmdHelp;
    QLabel* lblRenewal;     // "Renewal period (months)"
    QSpinBox* spnRenewal;   // 0 (never expires) to 120
    QCheckBox* chkRequired; // "Required for all active persons"

    // Code, name and hours, each trimmed, are all filled.
    bool MandatoryFieldsFilled() const override;

    void cmdSave_Click() override;
    void cmdHelp_Click();
    // Offers to carry the saved course (in the shared course buffer) into the training
    // records credited with it, and does so under the hourglass with the progress as the
    // window's caption, then reports how many were reviewed and updated.
    void UpdateCreditedRecords();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void ShowChoices(const Record& course) override;

private:
    void PlaceControls();
    store::CourseRule ChosenRule() const;
    // Writes the rule of the course just saved when it changed; a failure is told naming the
    // rules file (the course itself is saved).
    void SaveRule();

    bool rulesReadable_ = true;   // the rules file could be read: the choices may be saved
    store::CourseRule shownRule_; // the rule as the window opened on it
    store::CourseRecord shown_;   // the course as the window opened on it
};
