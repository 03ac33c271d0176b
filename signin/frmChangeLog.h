#pragma once

#include "print/ReportTable.h"
#include "store/ChangeLog.h"
#include "ui/Form.h"

#include <memory>

class FlexGrid;
class QComboBox;
class QLabel;
class QLineEdit;
class ZovButton;

namespace signin {
class ChangeListing;
}

// Change.Log for reading: its lines newest first, with who made each change, what was done,
// to which record and each field before and after, narrowed by person, course, user and a
// span of days. It prints and saves the lines as listed. A log that was changed by hand is
// still listed, under a warning naming the first line found wrong. The log is only read.
class frmChangeLog : public Form {
    Q_OBJECT

public:
    // The whole log, from the Admin window in admin mode.
    explicit frmChangeLog(QWidget* parent = nullptr);
    // One person's changes (their own record and their training records), from their training
    // history: the person stays chosen.
    frmChangeLog(QWidget* parent, const QString& personIdentity, const QString& personName);
    ~frmChangeLog() override;

    QComboBox* cboPerson;
    QComboBox* cboCourse;
    QComboBox* cboUser;
    QLineEdit* txtFrom;
    QLineEdit* txtTo;
    ZovButton* cmdShow;
    QLabel* lblWarning;
    FlexGrid* grid;
    QLabel* lblCount;
    ZovButton* cmdPrint;
    ZovButton* cmdExport;
    ZovButton* cmdClose;

    // The lines as listed, for printing and saving.
    print::ReportTable Table() const;

    // Lists the lines that match the filters as they are set now; a date that is no date is
    // told and lists nothing new.
    void cmdShow_Click();

protected:
    void Form_Load() override;

private:
    void BuildControls();
    void CheckLog();
    // Reads the log through `filter` and lists what it lets through.
    void List(const store::changelog::ChangeFilter& filter);
    void OfferChoices();
    bool ReadDates(QDate& from, QDate& to);
    void grid_MouseMove();

    QString person_; // the one person shown, or empty for every line
    QString personName_;
    std::shared_ptr<const signin::ChangeListing> listing_;
    QString warning_; // the chain check's, kept while the filters change
};
