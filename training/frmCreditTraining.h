#pragma once

#include "training/TrainingOpening.h"
#include "ui/Form.h"

class CommentsBox;
class QLabel;
class QLineEdit;
class QListWidget;
class ZovButton;

// Credits the highlighted course of the Course Index to the persons the user picks from the
// Name List's rows, on one date with one comment: one training record per person. Opened
// modally by the Lobby, which reads Saved() once the window has closed.
class frmCreditTraining : public Form {
    Q_OBJECT

public:
    frmCreditTraining(QWidget* parent, Session session, training::HighlightedCourse course,
                      QList<training::ListedPerson> persons);
    ~frmCreditTraining() override;

    // Whether Credit wrote the records (the Lobby then sets its buttons up again).
    bool Saved() const { return saved_; }

    QLabel* lblCourseInfo;
    QListWidget* listNames;    // every person of the Name List; item data: the record number
    QListWidget* listSelected; // the names selected in listNames, display only
    QLineEdit* txtDate;
    QLabel* lblSpaceFull;
    CommentsBox* txtComments;
    ZovButton* cmdSave;
    ZovButton* cmdCancel;

    void listNames_Click();
    void UpdateCreditButton();
    void cmdSave_Click();
    void cmdCancel_Click();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* AddLabel(const QString& text, int left, int top, int width, int height);

    Session session_;
    training::HighlightedCourse course_;
    QList<training::ListedPerson> persons_;
    bool saved_ = false;
};
