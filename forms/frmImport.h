#pragma once

#include "forms/ImportPlan.h"
#include "store/Csv.h"
#include "store/ImportColumns.h"
#include "ui/Form.h"
#include "ui/Session.h"

#include <QString>
#include <memory>
#include <vector>

class FlexGrid;
class QComboBox;
class QLabel;
class ZovButton;

// Reads training records or persons from a CSV file the user chose, in two steps. Columns:
// which column of the file feeds each field, matched by heading and changeable; Next stays
// refused while a needed field has no column. Preview: the counts, every row with what
// becomes of it, the rejected rows to save for mending, and the one all-or-nothing append of
// the accepted rows. Nothing is written before the user confirms, and the files are judged
// again then: a plan that came out otherwise is shown instead of written.
class frmImport : public Form {
    Q_OBJECT

public:
    using Kind = store::csvimport::Kind;
    using Field = store::csvimport::Field;

    // Asks for the file, reads it and shows the window over `parent`; what was added once it
    // has closed. Refused, and told, below the level that adds records.
    static forms::ImportResult Run(Form& parent, const Session& session, Kind kind);

    frmImport(QWidget* parent, Session session, Kind kind, QString path, store::csv::Table table);
    ~frmImport() override;

    forms::ImportResult Result() const { return result_; }
    // The field the row `index` of the columns step sets.
    Field FieldAt(int index) const { return fields_[std::size_t(index)]; }
    int FieldCount() const { return int(fields_.size()); }
    // Whether the preview step shows.
    bool Previewing() const;

    // ---- Step 1: the columns.
    QWidget* fraColumns;
    QLabel* lblColumnsHelp;
    std::vector<QLabel*> lblField;     // one per field, in FieldsOf order
    std::vector<QComboBox*> cboColumn; // item 0 "(none)", then the file's columns
    std::vector<QLabel*> lblSample;    // the first row's cell in the chosen column
    QLabel* lblMissing;
    ZovButton* cmdNext;

    // ---- Step 2: the preview.
    QWidget* fraPreview;
    QLabel* lblCounts;
    FlexGrid* gridRows;
    QLabel* lblRowDetail; // the highlighted row whole
    ZovButton* cmdBack;
    ZovButton* cmdSaveRejected;
    ZovButton* cmdImport;

    ZovButton* cmdCancel;

    void cboColumn_Click(int index);
    void cmdNext_Click();
    void cmdBack_Click();
    void cmdSaveRejected_Click();
    void cmdImport_Click();
    void cmdCancel_Click();
    void gridRows_RowColChange();

protected:
    void Form_Load() override;
    void Form_Activate() override;

private:
    void BuildColumnsStep();
    void BuildPreviewStep();
    QLabel* AddLabel(QWidget* parent, const QString& text, int left, int top, int width,
                     int height);
    // The combo boxes and samples as map_ has them; Next allowed when nothing is missing.
    void ShowColumns();
    void ShowStep(bool preview);
    // Fills the preview from plan_.
    void ShowPreview();

    Session session_;
    Kind kind_;
    QString path_;
    std::shared_ptr<const store::csv::Table> table_;
    std::vector<Field> fields_;
    store::csvimport::ColumnMap map_;
    forms::ImportPlan plan_;
    forms::ImportResult result_;
};
