#pragma once

#include "training/TrainingOpening.h"
#include "ui/Form.h"

class CommentsBox;
class QLabel;
class QLineEdit;
class QListView;
class ZovButton;
namespace training {
class PersonPicks;
}

// Credits the highlighted course of the Course Index to the persons the user picks from the
// Name List's rows, on one date with one comment: one training record per person. Opened
// modally by the Lobby, which reads Saved() once the window has closed.
//
// The persons are picked with a class list in hand: typing any part of a name in the find box
// narrows the list, Enter there picks the one match (or the highlighted one) and empties the
// box, Space or a click picks or unpicks, and the picks stay whatever is found next.
class frmCreditTraining : public Form {
    Q_OBJECT

public:
    frmCreditTraining(QWidget* parent, Session session, training::HighlightedCourse course,
                      QList<training::ListedPerson> persons);
    ~frmCreditTraining() override;

    // Whether Credit wrote the records (the Lobby then sets its buttons up again).
    bool Saved() const { return saved_; }
    // The persons and the picks the two lists show.
    training::PersonPicks& Picks() { return *picks_; }

    QLabel* lblCourseInfo;
    QLineEdit* txtFind;      // narrows listNames
    QListView* listNames;    // the persons the find box lets through, picks checked
    QLabel* lblCounts;       // how many are shown and picked
    QListView* listSelected; // the picks, in the Name List's order
    QLineEdit* txtDate;
    QLabel* lblSpaceFull;
    CommentsBox* txtComments;
    ZovButton* cmdPickAllShown;
    ZovButton* cmdTakeOut;
    ZovButton* cmdSave;
    ZovButton* cmdCancel;

    void txtFind_Enter();
    void cmdTakeOut_Click();
    void UpdateCreditButton();
    void cmdSave_Click();
    void cmdCancel_Click();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* AddLabel(const QString& text, int left, int top, int width, int height);
    void ShowCounts();
    // The date of the credit as the user confirms it; nothing when the user did not.
    std::optional<double> ConfirmedDate();
    // Whether the credit goes on, and to whom: asks before crediting several persons and
    // about persons who have the course on that day already.
    bool ConfirmPersons(double date, QList<qint32>& recNums);

    Session session_;
    training::HighlightedCourse course_;
    training::PersonPicks* picks_;
    bool saved_ = false;
};
