#pragma once

#include "forms/Permits.h"
#include "print/ReportTable.h"
#include "store/PersonTraining.h"
#include "training/TrainingOpening.h"
#include "training/TrainingRules.h"
#include "ui/Form.h"

#include <array>
#include <vector>

class CommentsBox;
class FlexGrid;
class QAction;
class QFrame;
class QLabel;
class QMenu;
class ZovButton;

// Every training record of one person, oldest first, with the total of the hours and the
// comments of the highlighted record. Opened modally from the Name List, where a user with
// the rights corrects one field of a record or removes it, or view only from the search
// results. The Lobby reads Changed() once the window has closed.
class frmTrainingHistory : public Form {
    Q_OBJECT

public:
    frmTrainingHistory(QWidget* parent, training::HistorySubject subject);
    ~frmTrainingHistory() override;

    // Whether a record was changed or removed while the window was open.
    bool Changed() const { return changed_; }
    // The last fill found no record of the person.
    bool NoRecords() const { return noRecords_; }

    FlexGrid* gridTraining;
    QFrame* picFrame;
    QLabel* lblComments;
    QLabel* lblSpaceFull;
    CommentsBox* txtComments;
    QLabel* lblTotalHours;
    ZovButton* cmdEditTraining;
    ZovButton* cmdDeleteTraining;
    ZovButton* cmdPrintTraining;
    ZovButton* cmdHelp;
    ZovButton* cmdReturn;
    ZovButton* cmdSaveComments;
    ZovButton* cmdCancelComments;
    ZovButton* cmdChanges; // the person's lines of the change log, for level 4 alone
    QMenu* menuEditmenu;
    QAction* menuEditHeading;                              // "Click below to edit...", greyed
    std::array<QAction*, training::EditFields> menuEdit{}; // one per field, by EditField
    QAction* menuEditExit;                                 // "Exit this menu"

    void UpdateTrainingGrid();
    // The list as it shows, for printing: each record's shown cells under the headings.
    print::ReportTable Table() const;
    void UpdateHistoryButtons();
    void gridTraining_RowColChange();
    void cmdReturn_Click();
    void cmdHelp_Click();
    void cmdChanges_Click();
    // The editing menu and what it leads to.
    void cmdEditTraining_Click();
    void menuEdit_Click(training::EditField field);
    void cmdDeleteTraining_Click();
    void cmdSaveComments_Click();
    void cmdCancelComments_Click();
    void txtComments_Change();
    void SaveTrainingEdit(const QString& text, training::EditField field);

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_KeyDown(QKeyEvent* event) override;

private:
    // The session may make this change here; a refusal is told.
    bool MayChange(forms::Action action);
    void BuildControls();
    void EditOneField(training::EditField field);
    void EnterCommentEditing();
    void LeaveCommentEditing();
    qint32 HighlightedRecNum() const;
    void Highlight(int row, int topRow);
    void HighlightInView(int row, int topRow);
    void FileProblem(const store::StoreResult& result);

    training::HistorySubject subject_;
    double personKey_ = 0;  // the person's DateCreated, read at the first activation
    bool firstFill_ = true; // the fill of the first activation chooses the highlighted row
    bool noRecords_ = false;
    bool fillFailed_ = false;
    bool changed_ = false;
    bool editingComments_ = false;
    QString savedCommentsCaption_;
    QString savedComments_;      // the comments before editing
    bool commentsSaved_ = false; // a save was asked for: leaving shows what the list holds
    std::vector<store::NumberedTraining> listed_; // the records the last fill listed
};
