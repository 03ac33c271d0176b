#include "forms/frmImport.h"

#include "forms/ButtonLook.h"
#include "forms/ListGrid.h"
#include "forms/Messages.h"
#include "forms/Permits.h"
#include "forms/RunModal.h"
#include "forms/StoreProblem.h"
#include "forms/WindowBusy.h"
#include "platform/Fonts.h"
#include "platform/StandardDialogs.h"
#include "platform/Twips.h"
#include "ui/AppTitle.h"
#include "ui/CrLf.h"
#include "ui/FlexGrid.h"
#include "ui/FlexGridSource.h"
#include "ui/PlainText.h"
#include "ui/Styling.h"
#include "ui/ZovButton.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <algorithm>
#include <utility>

namespace {

using namespace store::csvimport;
using ui::CrLf;
using Kind = frmImport::Kind;

const QColor Ink(0, 0, 64);
// Within the 800 pixels the program's windows are made for.
constexpr int WindowWidth = 11700;
constexpr int WindowHeight = 7320;
constexpr int ContentWidth = WindowWidth - 2 * 240;
const QString CsvFilter = QStringLiteral("CSV files (*.csv);;All files (*)");

QString TitleOf(Kind kind) {
    return kind == Kind::Training ? QStringLiteral("Import Training Records")
                                  : QStringLiteral("Import Persons");
}

forms::Action ActionOf(Kind kind) {
    return kind == Kind::Training ? forms::Action::Credit : forms::Action::AddRecord;
}

// A CSV file the user chose is no data file: its problems are told on their own, by name.
void TellFileProblem(const QString& what, const store::StoreResult& result) {
    forms::Tell(QStringLiteral("File Problem"),
                {what, QString(), result.text(), QString(), QStringLiteral("Nothing was written.")},
                forms::Icon::Stop);
}

// The columns of the preview: the row's line, who it names and two more of its fields, what
// becomes of it, and beyond the right edge its number among the rows.
enum Column { Line = 0, Who, Second, Third, Verdict, Item, ColumnCount };
constexpr int RowsInView = 16;

QString PreviewFormat(Kind kind) {
    return kind == Kind::Training ? QStringLiteral(">Line|Person|Course Code|Date|Result|")
                                  : QStringLiteral(">Line|Name|Organization|Employee ID|Result|");
}

// The preview's cells, read from the file and the plan when the grid shows them.
class PreviewRows : public FlexGridSource {
public:
    PreviewRows(Kind kind, std::shared_ptr<const store::csv::Table> table, ColumnMap map,
                std::vector<RowVerdict> rows)
        : kind_(kind), table_(std::move(table)), map_(map), rows_(std::move(rows)) {}

    qint32 Count() const { return qint32(rows_.size()); }

    void AppendCell(qint32 item, int col, QString& out) const override {
        if (item < 1 || item > Count())
            return;
        const RowVerdict& verdict = rows_[std::size_t(item - 1)];
        const store::csv::Record& record = table_->records[std::size_t(verdict.record)];
        const bool training = kind_ == Kind::Training;
        switch (col) {
        case Line:
            out += QString::number(record.line);
            return;
        case Who:
            out += WhoOf(record);
            return;
        case Second:
            out += Cell(record, map_, training ? Field::CourseCode : Field::Organization);
            return;
        case Third:
            out += Cell(record, map_, training ? Field::Date : Field::EmployeeID);
            return;
        case Verdict:
            out += verdict.text;
            return;
        case Item:
            out += QString::number(item);
            return;
        default:
            return;
        }
    }

private:
    // "Last, First Middle", else the identity the row gives.
    QString WhoOf(const store::csv::Record& record) const {
        const QString last = Cell(record, map_, Field::LastName);
        const QString given =
            QStringList{Cell(record, map_, Field::FirstName), Cell(record, map_, Field::MiddleName)}
                .join(u' ')
                .trimmed();
        if (last.isEmpty() && given.isEmpty())
            return Cell(record, map_, Field::Identity);
        if (last.isEmpty() || given.isEmpty())
            return last + given;
        return last + QStringLiteral(", ") + given;
    }

    Kind kind_;
    std::shared_ptr<const store::csv::Table> table_;
    ColumnMap map_;
    std::vector<RowVerdict> rows_;
};

// The text a column's item shows: its heading, or its place when the heading is blank.
QString ColumnItem(const QString& heading, int column) {
    const QString shown = heading.simplified();
    return shown.isEmpty() ? QStringLiteral("(column %1)").arg(column + 1) : shown;
}

// The reasons stand out from the rows that will be imported.
void MarkRejected(FlexGrid& grid, const std::vector<RowVerdict>& rows) {
    const QSignalBlocker quiet(grid);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].Accepted())
            continue;
        grid.SetRow(int(i) + 1);
        grid.SetCol(Verdict);
        grid.SetColSel(Verdict);
        grid.SetCellBackColor(QColor(255, 226, 226));
    }
    grid.SetRow(0);
    grid.SetCol(0);
}

} // namespace

forms::ImportResult frmImport::Run(Form& parent, const Session& session, Kind kind) {
    if (!forms::MayWrite(session, ActionOf(kind)))
        return {};
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    const QString path = platform::OpenFileName(AppTitle() + QStringLiteral(" - ") + TitleOf(kind),
                                                folder, CsvFilter, &parent);
    if (path.isEmpty())
        return {};
    store::csv::Table table;
    if (const store::StoreResult read = store::csv::ReadFile(path, table); !read) {
        TellFileProblem(QStringLiteral("The file could not be read:"), read);
        return {};
    }
    if (table.records.size() < 2) {
        forms::Tell(TitleOf(kind),
                    {QStringLiteral("\"%1\" holds no rows under a heading.")
                         .arg(QFileInfo(path).fileName()),
                     QString(),
                     QStringLiteral("The first row names the columns; each row after it is read.")},
                    forms::Icon::Exclamation);
        return {};
    }
    auto* window = new frmImport(&parent, session, kind, path, std::move(table));
    return forms::RunModal(parent, window, [](frmImport& shown) { return shown.Result(); });
}

frmImport::frmImport(QWidget* parent, Session session, Kind kind, QString path,
                     store::csv::Table table)
    : Form(parent), fraColumns(new QWidget(this)), fraPreview(new QWidget(this)),
      cmdCancel(new ZovButton(this)), session_(std::move(session)), kind_(kind),
      path_(std::move(path)), table_(std::make_shared<const store::csv::Table>(std::move(table))),
      fields_(FieldsOf(kind)), map_(MatchColumns(table_->records.front().fields, kind)),
      plan_(kind) {
    BuildColumnsStep();
    BuildPreviewStep();
    forms::StyleButton(cmdCancel, forms::ButtonRole::Leave);
    platform::PlaceTwips(cmdCancel, 9300, 6360, 2160, 600);
    cmdCancel->SetCancel(true);
    cmdCancel->setToolTip(QStringLiteral(" Close this window; nothing is imported "));
    connect(cmdCancel, &ZovButton::Click, this, &frmImport::cmdCancel_Click);

    QWidget* previous = nullptr;
    auto chain = [&previous](QWidget* next) {
        if (previous)
            setTabOrder(previous, next);
        previous = next;
    };
    for (QComboBox* box : cboColumn)
        chain(box);
    for (QWidget* next : {static_cast<QWidget*>(cmdNext), static_cast<QWidget*>(gridRows),
                          static_cast<QWidget*>(cmdBack), static_cast<QWidget*>(cmdSaveRejected),
                          static_cast<QWidget*>(cmdImport), static_cast<QWidget*>(cmdCancel)})
        chain(next);
    Form_Load();
}

frmImport::~frmImport() = default;

QLabel* frmImport::AddLabel(QWidget* parent, const QString& text, int left, int top, int width,
                            int height) {
    QLabel* label = ui::NewPlainLabel(text, parent);
    label->setFont(platform::DesignFont(QStringLiteral("Tahoma"), 8.25, true));
    forms::MakeTransparent(label);
    ui::SetInk(label, Ink);
    platform::PlaceTwips(label, left, top, width, height);
    return label;
}

void frmImport::BuildColumnsStep() {
    platform::PlaceTwips(fraColumns, 0, 0, WindowWidth, WindowHeight);
    const QString file = QFileInfo(path_).fileName();
    QString help = QStringLiteral("Each field is read from the column of \"%1\" chosen beside it. "
                                  "Choose another column where the heading was matched wrongly.")
                       .arg(file);
    if (kind_ == Kind::Training)
        help += QStringLiteral(" A person is found by the Person Identity, or else by the last, "
                               "first and middle name.");
    lblColumnsHelp = AddLabel(fraColumns, help, 240, 180, ContentWidth, 720);
    lblColumnsHelp->setWordWrap(true);
    lblColumnsHelp->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    AddLabel(fraColumns, QStringLiteral("Field"), 240, 1020, 2400, 255);
    AddLabel(fraColumns, QStringLiteral("Column of the file"), 2760, 1020, 3960, 255);
    AddLabel(fraColumns, QStringLiteral("First row holds"), 6960, 1020, 4500, 255);

    const QStringList& heading = table_->records.front().fields;
    QStringList items{QStringLiteral("(none)")};
    for (int column = 0; column < heading.size(); ++column)
        items << ColumnItem(heading[column], column);
    const QFont boxFont = platform::DesignFont(QStringLiteral("Tahoma"), 9);
    for (int i = 0; i < FieldCount(); ++i) {
        const int top = 1320 + i * 450;
        const QString caption = store::csvimport::Caption(FieldAt(i));
        lblField.push_back(AddLabel(fraColumns, caption, 240, top + 45, 2400, 255));
        auto* box = new QComboBox(fraColumns);
        box->setFont(boxFont);
        box->addItems(items);
        box->setAccessibleName(caption);
        platform::PlaceTwips(box, 2760, top, 3960, 345);
        lblField.back()->setBuddy(box);
        cboColumn.push_back(box);
        QLabel* sample = ui::NewPlainLabel(QString(), fraColumns);
        sample->setFont(boxFont);
        forms::MakeTransparent(sample);
        ui::SetInk(sample, Ink);
        platform::PlaceTwips(sample, 6960, top + 30, 4500, 285);
        lblSample.push_back(sample);
        connect(box, &QComboBox::currentIndexChanged, this, [this, i] { cboColumn_Click(i); });
    }
    lblMissing =
        AddLabel(fraColumns, QString(), 240, 1320 + FieldCount() * 450 + 120, ContentWidth, 480);
    lblMissing->setWordWrap(true);
    ui::SetInk(lblMissing, QColor(160, 0, 0));

    cmdNext = new ZovButton(fraColumns);
    forms::StyleButton(cmdNext, forms::ButtonRole::Proceed);
    platform::PlaceTwips(cmdNext, 6900, 6360, 2160, 600);
    cmdNext->setToolTip(
        QStringLiteral(" See what becomes of every row before anything is written "));
    connect(cmdNext, &ZovButton::Click, this, &frmImport::cmdNext_Click);
}

void frmImport::BuildPreviewStep() {
    platform::PlaceTwips(fraPreview, 0, 0, WindowWidth, WindowHeight);
    lblCounts = AddLabel(fraPreview, QString(), 240, 150, ContentWidth, 315);
    lblCounts->setFont(platform::DesignFont(QStringLiteral("Tahoma"), 10, true));
    AddLabel(fraPreview,
             QStringLiteral("Nothing is written until Import is pressed; rows that cannot be "
                            "imported can be saved as a CSV file to mend and import again."),
             240, 480, ContentWidth, 255);

    gridRows = new FlexGrid(fraPreview);
    gridRows->SetTableName(QStringLiteral("Rows of the file"));
    platform::PlaceTwips(gridRows, 240, 840, ContentWidth, 4200);
    connect(gridRows, &FlexGrid::RowColChange, this, &frmImport::gridRows_RowColChange);
    lblRowDetail = AddLabel(fraPreview, QString(), 240, 5400, ContentWidth, 840);
    lblRowDetail->setWordWrap(true);
    lblRowDetail->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblRowDetail->setFont(platform::DesignFont(QStringLiteral("Tahoma"), 8.25));

    cmdBack = new ZovButton(fraPreview);
    forms::StyleButton(cmdBack, forms::ButtonRole::Leave);
    platform::PlaceTwips(cmdBack, 240, 6360, 2160, 600);
    cmdBack->setToolTip(QStringLiteral(" Back to the columns "));
    cmdSaveRejected = new ZovButton(fraPreview);
    forms::StyleButton(cmdSaveRejected, forms::ButtonRole::Record);
    platform::PlaceTwips(cmdSaveRejected, 2640, 6360, 3120, 600);
    cmdSaveRejected->setToolTip(
        QStringLiteral(" Save the rows that cannot be imported, with the reason, as a CSV file "));
    cmdImport = new ZovButton(fraPreview);
    forms::StyleButton(cmdImport, forms::ButtonRole::Proceed);
    platform::PlaceTwips(cmdImport, 6900, 6360, 2160, 600);
    cmdImport->setToolTip(QStringLiteral(" Write every row that can be imported, all at once "));
    connect(cmdBack, &ZovButton::Click, this, &frmImport::cmdBack_Click);
    connect(cmdSaveRejected, &ZovButton::Click, this, &frmImport::cmdSaveRejected_Click);
    connect(cmdImport, &ZovButton::Click, this, &frmImport::cmdImport_Click);
}

void frmImport::Form_Load() {
    SetSizeTwips(WindowWidth, WindowHeight);
    SetCaption(AppTitle() + QStringLiteral(" - ") + TitleOf(kind_));
    TileBackground();
}

void frmImport::Form_Activate() {
    cmdNext->SetCaption(QStringLiteral("&Next >"));
    cmdBack->SetCaption(QStringLiteral("< &Back"));
    cmdSaveRejected->SetCaption(QStringLiteral("Save &Rejected Rows..."));
    cmdCancel->SetCaption(QStringLiteral("Cancel"));
    for (ZovButton* button : {cmdNext, cmdBack, cmdSaveRejected, cmdCancel})
        button->Refresh();
    ShowColumns();
    ShowStep(false);
    if (!cboColumn.empty())
        cboColumn.front()->setFocus(Qt::OtherFocusReason);
}

bool frmImport::Previewing() const {
    return !fraPreview->isHidden();
}

void frmImport::ShowStep(bool preview) {
    fraColumns->setVisible(!preview);
    fraPreview->setVisible(preview);
    // Enter goes on from the columns; the import itself is never one stray Enter away.
    cmdNext->SetDefault(!preview);
}

void frmImport::ShowColumns() {
    const store::csv::Record& first = table_->records[1];
    for (int i = 0; i < FieldCount(); ++i) {
        const int column = map_.Column(FieldAt(i));
        {
            const QSignalBlocker quiet(cboColumn[std::size_t(i)]);
            cboColumn[std::size_t(i)]->setCurrentIndex(column + 1);
        }
        // A comment's line breaks would run off the one line a sample has.
        const QString text = Cell(first, map_, FieldAt(i)).simplified();
        QLabel* sample = lblSample[std::size_t(i)];
        sample->setText(
            sample->fontMetrics().elidedText(text, Qt::ElideRight, sample->width() - 2));
        sample->setToolTip(ui::PlainToolTip(text));
        cboColumn[std::size_t(i)]->setAccessibleDescription(
            QStringLiteral("First row holds: ") +
            (text.isEmpty() ? QStringLiteral("nothing") : text));
    }
    const QStringList missing = MissingFields(map_, kind_);
    lblMissing->setText(missing.isEmpty() ? QString()
                                          : QStringLiteral("The rows need a column for: ") +
                                                missing.join(QStringLiteral(", ")) + u'.');
    cmdNext->setEnabled(missing.isEmpty());
}

void frmImport::cboColumn_Click(int index) {
    // A column feeds one field: the field it fed before shows "(none)" again.
    map_.Set(FieldAt(index), cboColumn[std::size_t(index)]->currentIndex() - 1);
    ShowColumns();
}

void frmImport::cmdNext_Click() {
    if (!MissingFields(map_, kind_).isEmpty())
        return;
    store::StoreResult planned;
    {
        const WindowBusy busy(*this);
        planned = plan_.Make(*table_, map_);
    }
    if (!planned) {
        forms::ShowStoreProblem(planned);
        return;
    }
    ShowPreview();
    ShowStep(true);
    gridRows->setFocus(Qt::OtherFocusReason);
}

void frmImport::ShowPreview() {
    FlexGrid& grid = *gridRows;
    auto rows = std::make_shared<const PreviewRows>(kind_, table_, map_, plan_.Rows());
    listgrid::BeginFill(grid, PreviewFormat(kind_), ColumnCount, RowsInView);
    grid.SetColSel(Verdict);
    grid.AddItems(rows, rows->Count());
    grid.SetColWidth(Line,
                     std::max(grid.ColWidth(Line), grid.TwipsToShow(QStringLiteral("99999"))));
    grid.SetColWidth(Who, kind_ == Kind::Training ? 2520 : 2400);
    grid.SetColWidth(Second, kind_ == Kind::Training ? 1320 : 1700);
    grid.SetColWidth(Third, kind_ == Kind::Training ? 1140 : 1200);
    grid.SetColWidth(Verdict, 1000);
    listgrid::ShadeEvenRows(grid, Verdict);
    MarkRejected(grid, plan_.Rows());
    listgrid::ShowAndWiden(grid, Verdict, Item);
    listgrid::SelectRow(grid, 1, Verdict, true);
    gridRows_RowColChange();

    lblCounts->setText(plan_.CountsText());
    grid.setAccessibleDescription(plan_.CountsText());
    const int accepted = plan_.Accepted();
    cmdImport->SetCaption(
        QStringLiteral("&Import") + CrLf +
        (kind_ == Kind::Training ? QStringLiteral("%1 record(s)") : QStringLiteral("%1 person(s)"))
            .arg(accepted));
    cmdImport->Refresh();
    cmdImport->setEnabled(accepted > 0);
    cmdSaveRejected->setEnabled(plan_.Rejected() > 0);
}

void frmImport::gridRows_RowColChange() {
    const FlexGrid& grid = *gridRows;
    const int row = grid.Row();
    if (row < 1) {
        lblRowDetail->clear();
        return;
    }
    QStringList fields;
    for (int col = Who; col <= Third; ++col) {
        if (const QString cell = grid.TextMatrix(row, col); !cell.isEmpty())
            fields << cell;
    }
    lblRowDetail->setText(QStringLiteral("Line %1: %2")
                              .arg(grid.TextMatrix(row, Line), fields.join(QStringLiteral(", "))) +
                          CrLf + grid.TextMatrix(row, Verdict));
}

void frmImport::cmdBack_Click() {
    ShowStep(false);
    if (!cboColumn.empty())
        cboColumn.front()->setFocus(Qt::OtherFocusReason);
}

void frmImport::cmdSaveRejected_Click() {
    if (plan_.Rejected() == 0)
        return;
    const QFileInfo source(path_);
    QString path = platform::SaveFileName(
        AppTitle() + QStringLiteral(" - Save the Rejected Rows"),
        source.dir().filePath(source.completeBaseName() + QStringLiteral(" - rejected rows.csv")),
        CsvFilter, this);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    if (const store::StoreResult written = WriteRejectedRows(path, *table_, plan_.Rows());
        !written) {
        TellFileProblem(QStringLiteral("The rejected rows could not be saved:"), written);
        return;
    }
    forms::Tell(
        QStringLiteral("Rejected Rows Saved"),
        {QStringLiteral("%1 row(s) that cannot be imported were saved as").arg(plan_.Rejected()),
         QDir::toNativeSeparators(path), QString(),
         QStringLiteral("Each has its reason in the last column.")});
}

void frmImport::cmdImport_Click() {
    if (!forms::MayWrite(session_, ActionOf(kind_)) || plan_.Accepted() == 0)
        return;
    // The files may have changed since the preview: what is written is judged now, and only
    // when it is what the user saw.
    forms::ImportPlan now(kind_);
    store::StoreResult done;
    forms::ImportResult added;
    {
        const WindowBusy busy(*this);
        done = now.Make(*table_, map_);
        if (done && now.SameVerdicts(plan_))
            done = now.Append(added);
    }
    if (!done) {
        forms::ShowStoreProblem(done);
        return;
    }
    if (!now.SameVerdicts(plan_)) {
        plan_ = std::move(now);
        ShowPreview();
        forms::Tell(QStringLiteral("Data Changed"),
                    {QStringLiteral("The data files changed since this preview was made;"),
                     QStringLiteral("it now reads: ") + plan_.CountsText() + u'.', QString(),
                     QStringLiteral("Nothing was written. Please look the rows over again.")},
                    forms::Icon::Exclamation);
        return;
    }
    result_ = added;
    forms::Tell(TitleOf(kind_), {now.AddedText(added.added)});
    close();
}

void frmImport::cmdCancel_Click() {
    close();
}
