#include "training/frmTrainingHistory.h"

#include "forms/ButtonLook.h"
#include "forms/ButtonPictures.h"
#include "forms/ListGrid.h"
#include "forms/Messages.h"
#include "forms/Permits.h"
#include "forms/StoreProblem.h"
#include "forms/WindowBusy.h"
#include "help/ShowHelp.h"
#include "platform/Events.h"
#include "platform/Fonts.h"
#include "platform/StandardDialogs.h"
#include "platform/Twips.h"
#include "print/ListPrintouts.h"
#include "store/ChangeLog.h"
#include "store/Clock.h"
#include "store/Formats.h"
#include "store/RecordStore.h"
#include "store/Removal.h"
#include "training/CommentsBox.h"
#include "training/DateQuestion.h"
#include "training/TrainingRules.h"
#include "ui/AppTitle.h"
#include "ui/CrLf.h"
#include "ui/FlexGrid.h"
#include "ui/PlainText.h"
#include "ui/Styling.h"
#include "ui/WindowFlow.h"
#include "ui/ZovButton.h"
#include "ui/ZovButtonPainter.h"

#include <QCursor>
#include <QFile>
#include <QFrame>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <algorithm>
#include <iterator>

using namespace training;

namespace {

using ui::CrLf;
const QString HistoryFormat = QStringLiteral(
    "<Course Date |<Course Code |<Name of Course|<Provided by|>Hours |Comments|DateSort|RecNum");
constexpr int kRowsInView = 15;
constexpr int kCommentsLimit = 184;
const QColor White(255, 255, 255);
const QColor Grey(192, 192, 192);

ZovButton* MakeButton(QWidget* parent, forms::ButtonRole role) {
    auto* button = new ZovButton(parent);
    forms::StyleButton(button, role);
    return button;
}

ZovButton* MakePictureButton(QWidget* parent, const QPixmap& picture) {
    auto* button = new ZovButton(parent);
    button->SetButtonType(zov::SeeThroughButton);
    button->SetPictureNormal(picture);
    button->SetShowFocusRect(false);
    return button;
}

void SetButton(ZovButton* button, const QString& caption, const QString& tip) {
    if (!caption.isNull())
        button->SetCaption(caption);
    button->setToolTip(tip);
}

// The editing menu's item for each field, in EditField order, what the question for a new
// value calls the field and the column that shows it (the comments are edited in their box
// instead).
struct FieldItem {
    EditField field;
    const char* caption;
    const char* prompt;
    HistoryColumn column;
};
constexpr FieldItem kFieldItems[] = {
    {EditDate, "...the date the training was received...", "the date the training was received...",
     Date},
    {EditCode, "...the Course Code of this training record",
     "the Course Code of this training record", Code},
    {EditName, "...the name of the training course", "the name of the training course", Name},
    {EditProvider, "...who provided this training", "who provided this training", Provider},
    {EditHours, "...the hours associated with this training record",
     "the hours associated with this training record", Hours},
    {EditComments, "...the comments associated with this training record", nullptr, Comments},
};
constexpr bool InFieldOrder() {
    for (int i = 0; i < EditFields; ++i) {
        if (kFieldItems[i].field != i)
            return false;
    }
    return true;
}
static_assert(std::size(kFieldItems) == EditFields && InFieldOrder());

} // namespace

frmTrainingHistory::frmTrainingHistory(QWidget* parent, HistorySubject subject)
    : Form(parent), subject_(std::move(subject)) {
    BuildControls();
    Form_Load();
}

frmTrainingHistory::~frmTrainingHistory() = default;

void frmTrainingHistory::BuildControls() {
    gridTraining = new FlexGrid(this);
    QFont larger = gridTraining->font();
    larger.setPointSize(9);
    gridTraining->setFont(larger);
    gridTraining->SetTableName(QStringLiteral("Training History"));
    platform::PlaceTwips(gridTraining, 120, 120, 10560, 4200);

    picFrame = new QFrame(this);
    picFrame->setFrameShape(QFrame::Panel);
    picFrame->setFrameShadow(QFrame::Raised);
    picFrame->setAutoFillBackground(true);
    QPalette dark = picFrame->palette();
    dark.setColor(QPalette::Window, QColor(0, 0, 96));
    picFrame->setPalette(dark);
    platform::PlaceTwips(picFrame, 120, 4560, 6720, 2280);

    lblComments = ui::NewPlainLabel(QStringLiteral("Highlighted training - comments"), picFrame);
    lblComments->setFont(platform::DesignFont(QStringLiteral("Tahoma"), 8.25, true));
    platform::PlaceTwips(lblComments, 120, 90, 4800, 255);
    lblSpaceFull = ui::NewPlainLabel(QString(), picFrame);
    ui::SetInk(lblSpaceFull, White);
    lblSpaceFull->move(platform::Twips(5520), platform::Twips(90));
    txtComments = new CommentsBox(kCommentsLimit, lblSpaceFull, picFrame);
    txtComments->setFont(platform::DesignFont(QStringLiteral("Tahoma"), 9));
    txtComments->setReadOnly(true);
    ui::SetBase(txtComments, QColor(255, 255, 192));
    txtComments->setAccessibleName(QStringLiteral("Highlighted training - comments"));
    platform::PlaceTwips(txtComments, 120, 390, 6480, 1770);

    lblTotalHours = ui::NewPlainLabel(QString(), this);
    lblTotalHours->setFont(platform::DesignFont(QStringLiteral("Tahoma"), 9, true));
    ui::SetInk(lblTotalHours, QColor(0, 0, 64));
    forms::MakeTransparent(lblTotalHours);
    lblTotalHours->hide();
    platform::PlaceTwips(lblTotalHours, 7080, 4560, 3600, 480);

    cmdEditTraining = MakeButton(this, forms::ButtonRole::Record);
    cmdDeleteTraining = MakeButton(this, forms::ButtonRole::Remove);
    cmdSaveComments = MakeButton(this, forms::ButtonRole::Proceed);
    cmdCancelComments = MakeButton(this, forms::ButtonRole::Leave);
    platform::PlaceTwips(cmdEditTraining, 7080, 5160, 2160, 510);
    platform::PlaceTwips(cmdDeleteTraining, 7080, 5760, 2160, 510);
    platform::PlaceTwips(cmdSaveComments, 7080, 5160, 2160, 510);
    platform::PlaceTwips(cmdCancelComments, 7080, 5760, 2160, 510);
    cmdChanges = MakeButton(this, forms::ButtonRole::Record);
    // Below Delete Training with the gap Edit and Delete keep.
    platform::PlaceTwips(cmdChanges, 7080, 6360, 2160, 540);
    cmdPrintTraining = MakePictureButton(this, pictures::PrintPicture());
    cmdHelp = MakePictureButton(this, pictures::HelpPicture());
    cmdReturn = MakePictureButton(this, pictures::QuitPicture());
    cmdReturn->SetCancel(true); // Esc closes the window, as in the other windows
    platform::PlaceTwips(cmdPrintTraining, 9420, 5160, 600, 600);
    platform::PlaceTwips(cmdHelp, 10080, 5160, 600, 600);
    platform::PlaceTwips(cmdReturn, 10080, 6240, 600, 600);
    for (ZovButton* hidden :
         {cmdEditTraining, cmdDeleteTraining, cmdSaveComments, cmdCancelComments, cmdPrintTraining})
        hidden->hide();

    menuEditmenu = new QMenu(QStringLiteral("Editing Menu"), this);
    menuEditHeading = menuEditmenu->addAction(QStringLiteral("Click below to edit..."));
    menuEditHeading->setEnabled(false);
    menuEditmenu->addSeparator();
    for (const FieldItem& item : kFieldItems) {
        QAction* action = menuEditmenu->addAction(QString::fromLatin1(item.caption));
        connect(action, &QAction::triggered, this,
                [this, field = item.field] { menuEdit_Click(field); });
        menuEdit[item.field] = action;
    }
    menuEditmenu->addSeparator();
    // Choosing it only closes the menu.
    menuEditExit = menuEditmenu->addAction(QStringLiteral("Exit this menu"));

    connect(gridTraining, &FlexGrid::RowColChange, this,
            &frmTrainingHistory::gridTraining_RowColChange);
    connect(txtComments, &CommentsBox::Changed, this, &frmTrainingHistory::txtComments_Change);
    connect(cmdEditTraining, &ZovButton::Click, this, &frmTrainingHistory::cmdEditTraining_Click);
    connect(cmdDeleteTraining, &ZovButton::Click, this,
            &frmTrainingHistory::cmdDeleteTraining_Click);
    print::ConnectPrintButton(
        cmdPrintTraining,
        [this](print::Output to) { print::PrintTrainingHistory(Table(), *this, to); },
        [this] { return Table(); });
    connect(cmdHelp, &ZovButton::Click, this, &frmTrainingHistory::cmdHelp_Click);
    connect(cmdChanges, &ZovButton::Click, this, &frmTrainingHistory::cmdChanges_Click);
    connect(cmdReturn, &ZovButton::Click, this, &frmTrainingHistory::cmdReturn_Click);
    connect(cmdSaveComments, &ZovButton::Click, this, &frmTrainingHistory::cmdSaveComments_Click);
    connect(cmdCancelComments, &ZovButton::Click, this,
            &frmTrainingHistory::cmdCancelComments_Click);
}

void frmTrainingHistory::Form_Load() {
    SetSizeTwips(10815, 7380);
    SetCaption(AppTitle() + QStringLiteral(" - Training History of ") + subject_.person.name);
    SetKeyPreview(true);
    TileBackground();
}

void frmTrainingHistory::Form_Activate() {
    auto& persons = store::Persons();
    store::StoreResult read = persons.Open();
    if (read)
        read = persons.Read(subject_.person.recNum);
    persons.Close();
    if (!read) {
        fillFailed_ = true;
        FileProblem(read);
        cmdReturn_Click();
        return;
    }
    personKey_ = persons.Buffer().DateCreated;

    UpdateTrainingGrid();
    platform::DoEvents();
    if (noRecords_ || fillFailed_) {
        cmdReturn_Click();
        return;
    }
    lblTotalHours->show();
    UpdateHistoryButtons();
}

void frmTrainingHistory::FileProblem(const store::StoreResult& result) {
    forms::ShowStoreProblem(result);
}

// ---- The list ----------------------------------------------------------------------------

void frmTrainingHistory::UpdateTrainingGrid() {
    FlexGrid& grid = *gridTraining;
    std::vector<store::NumberedTraining> records;
    store::StoreResult read;
    {
        const WindowBusy busy(*this);
        listgrid::BeginFill(grid, HistoryFormat, HistoryColumns, kRowsInView);
        grid.SetColSel(LastShownColumn);
        read = store::ReadPersonTraining(personKey_, records);
        for (const store::NumberedTraining& training : records)
            grid.AddItem(HistoryRowText(training));
        listed_ = read ? records : std::vector<store::NumberedTraining>();
    }
    if (!read) {
        // Half a history would look whole: the window closes once the user has been told.
        fillFailed_ = true;
        grid.SetRows(1);
        grid.SetRedraw(true);
        FileProblem(read);
        if (Activated())
            cmdReturn_Click();
        return;
    }
    listgrid::SortOn(grid, DateSort);
    if (listgrid::DataRows(grid) == 0) {
        grid.SetRedraw(true);
        noRecords_ = true;
        return;
    }
    noRecords_ = false;
    listgrid::ShadeEvenRows(grid, LastShownColumn - 1);
    grid.SetColWidth(Name, 4100);
    grid.SetColWidth(Provider, 2600);
    listgrid::ShowAndWiden(grid, Name, Comments);
    if (firstFill_) {
        firstFill_ = false;
        // From the Name List the latest training, from the results the first.
        Highlight(subject_.readOnly ? 1 : listgrid::DataRows(grid), -1);
    }
    lblTotalHours->setText(QStringLiteral("Total hours listed:\n") + TotalHoursText(records));
    grid.setFocus(Qt::OtherFocusReason);
}

print::ReportTable frmTrainingHistory::Table() const {
    const FlexGrid& grid = *gridTraining;
    QStringList headings;
    for (int col = Date; col <= LastShownColumn; ++col)
        headings << grid.TextMatrix(0, col);
    print::ReportTable table = print::ListTable(print::TrainingHistoryReport, headings);
    QHash<qint32, const store::NumberedTraining*> byRecNum;
    for (const store::NumberedTraining& training : listed_)
        byRecNum.insert(training.recNum, &training);
    for (const qint32 recNum : listgrid::ShownNumbers(grid, RecNum)) {
        if (const store::NumberedTraining* training = byRecNum.value(recNum)) {
            print::ReportRow row;
            row.cells = HistoryCells(*training).mid(0, LastShownColumn + 1);
            row.storedHours = training->record.Hours;
            table.rows.push_back(std::move(row));
        }
    }
    return table;
}

// Makes `row` current with its shown columns selected and `topRow` the first in view (the
// row itself when -1), then shows its comments.
void frmTrainingHistory::Highlight(int row, int topRow) {
    listgrid::SelectRow(*gridTraining, row, LastShownColumn, false);
    gridTraining->SetTopRow(topRow < 1 ? row : topRow);
    gridTraining_RowColChange();
}

// After a refill: the list scrolled as it was at `topRow`, unless `row` would then be out of
// view, when it comes to the top.
void frmTrainingHistory::HighlightInView(int row, int topRow) {
    gridTraining->SetTopRow(topRow);
    Highlight(row, gridTraining->RowIsVisible(row) ? topRow : row);
}

void frmTrainingHistory::gridTraining_RowColChange() {
    const FlexGrid& grid = *gridTraining;
    const QString comments =
        listgrid::DataRows(grid) > 0 ? grid.TextMatrix(grid.Row(), Comments) : QString();
    ui::SetInk(lblComments, comments.isEmpty() ? Grey : White);
    if (!editingComments_)
        txtComments->SetStoredText(comments);
}

qint32 frmTrainingHistory::HighlightedRecNum() const {
    return listgrid::CellNumber(*gridTraining, gridTraining->Row(), RecNum);
}

void frmTrainingHistory::UpdateHistoryButtons() {
    const bool shown = gridTraining->Visible();
    const bool editable = shown && !subject_.readOnly;
    SetButton(cmdEditTraining, QStringLiteral("Edit Training"),
              QStringLiteral(" Edit the information in the highlighted Training History record "));
    cmdEditTraining->setVisible(editable);
    cmdEditTraining->setEnabled(forms::Permits(subject_.session, forms::Action::EditTraining));
    SetButton(cmdDeleteTraining, QStringLiteral("Delete Training"),
              QStringLiteral(" Delete the highlighted Training History record "));
    cmdDeleteTraining->setVisible(editable);
    cmdDeleteTraining->setEnabled(forms::Permits(subject_.session, forms::Action::DeleteTraining));
    SetButton(cmdPrintTraining, QString(),
              QStringLiteral(" Print this Training History information "));
    cmdPrintTraining->setVisible(shown);
    SetButton(
        cmdHelp, QString(),
        QStringLiteral(" Click here for more information about the 'Training History' window "));
    SetButton(cmdSaveComments, QStringLiteral("&Save Changes"),
              QStringLiteral(" Save the changes made to the comments "));
    cmdSaveComments->hide();
    SetButton(cmdCancelComments, QStringLiteral("&Cancel Changes"),
              QStringLiteral(" Do NOT save any comment changes "));
    cmdCancelComments->hide();
    SetButton(cmdChanges, QStringLiteral("Changes to this\r\nperson's &records"),
              QStringLiteral(" Review every change made to this person and their training "));
    // Who changed what is for those who may remove records.
    cmdChanges->setVisible(subject_.session.Level() >= AccessLevel::ReadEditAddDelete);
    SetButton(cmdReturn, QString(), QStringLiteral(" Close this Training History window  "));
    cmdReturn->show();
    picFrame->setVisible(shown);
    for (ZovButton* button : {cmdEditTraining, cmdDeleteTraining, cmdPrintTraining, cmdHelp,
                              cmdSaveComments, cmdCancelComments, cmdChanges, cmdReturn})
        button->Refresh();
}

void frmTrainingHistory::cmdReturn_Click() {
    if (noRecords_ && !fillFailed_)
        forms::Tell(QStringLiteral("No records on file..."),
                    {subject_.person.name, QStringLiteral("has no training records on file")});
    close();
}

void frmTrainingHistory::Form_KeyDown(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        event->accept();
        cmdHelp_Click();
    }
}

void frmTrainingHistory::cmdHelp_Click() {
    help::ShowHelp(help::HelpTopic::TrainingHistory, this);
}

void frmTrainingHistory::cmdChanges_Click() {
    // The person's identity is known once their record has been read.
    if (personKey_ != 0)
        flow::ShowPersonChanges(*this, store::changelog::IdentityText(personKey_),
                                subject_.person.name);
}

// ---- Editing -----------------------------------------------------------------------------

bool frmTrainingHistory::MayChange(forms::Action action) {
    // A history opened from the search results only shows; no level changes that.
    if (subject_.readOnly) {
        forms::TellNotAllowed(subject_.session, action);
        return false;
    }
    return forms::MayWrite(subject_.session, action);
}

void frmTrainingHistory::cmdEditTraining_Click() {
    menuEditmenu->popup(QCursor::pos());
}

void frmTrainingHistory::menuEdit_Click(EditField field) {
    if (field == EditComments)
        EnterCommentEditing();
    else
        EditOneField(field);
}

void frmTrainingHistory::EditOneField(EditField field) {
    const FieldItem& item = kFieldItems[field];
    // The box starts from the value as listed, selected: a slip is corrected, not retyped.
    const QString current = gridTraining->TextMatrix(gridTraining->Row(), item.column);
    const QString answer =
        platform::InputBox(QStringLiteral("Editing the highlighted training record"),
                           QStringLiteral("Below, enter your changes for") + CrLf +
                               QString::fromLatin1(item.prompt) + QStringLiteral(".") + CrLf +
                               CrLf + QStringLiteral("or press the <Cancel> key at right") + CrLf +
                               QStringLiteral("to cancel this edit operation."),
                           current, this)
            .trimmed();
    // The value left as it was is no edit: the list rounds hours to a tenth and trims codes,
    // so writing it back would change what is stored.
    if (answer.isEmpty() || answer == current)
        return;
    QString text = answer;
    std::optional<QString> refusal;
    if (field == EditDate) {
        const DateAnswer date = ConfirmTypedDate(answer, store::CurrentDateTime().date());
        if (!date.typed)
            refusal = UnreadableDate();
        else if (!date.confirmed)
            return;
        else
            text = formats::MmDdYyyy(date.typed->value); // a date typed without its year
    } else {
        refusal = EditRefusal(field, answer);
    }
    if (refusal) {
        platform::StandardMessage(QStringLiteral("Entry Error"), answer + CrLf + CrLf + *refusal,
                                  platform::StandardIcon::Stop, platform::StandardButtons::Ok,
                                  this);
        return;
    }
    SaveTrainingEdit(text, field);
}

void frmTrainingHistory::SaveTrainingEdit(const QString& text, EditField field) {
    if (!MayChange(forms::Action::EditTraining))
        return;
    gridTraining->setEnabled(true);
    const store::StoreResult changed = store::ChangeTrainingRecord(
        HighlightedRecNum(), personKey_,
        [&](store::TrainingRecord& record) { ApplyEdit(field, text, record); });
    if (changed.isChangedElsewhere()) {
        // Reloading shows the history as it is on file now; the Lobby refreshes on return.
        if (!forms::AskReloadChangedRecord())
            return;
    } else if (!changed) {
        FileProblem(changed);
        return;
    }
    changed_ = true;
    const int row = gridTraining->Row();
    const int top = gridTraining->TopRow();
    const QString recNum = QString::number(HighlightedRecNum());
    UpdateTrainingGrid();
    if (fillFailed_)
        return;
    if (noRecords_) {
        cmdReturn_Click();
        return;
    }
    // A new date sorts the record elsewhere: the highlight goes with it, so that a second
    // edit changes the same record. (After a change elsewhere the numbers may name other
    // records: the highlight keeps its place.)
    int shown = 0;
    if (!changed.isChangedElsewhere())
        shown = listgrid::FindRow(*gridTraining, RecNum,
                                  [&](const QString& cell) { return cell == recNum; });
    if (shown == 0)
        shown = std::min(row, listgrid::DataRows(*gridTraining));
    HighlightInView(shown, top);
}

void frmTrainingHistory::EnterCommentEditing() {
    editingComments_ = true;
    gridTraining->setEnabled(false);
    cmdEditTraining->hide();
    cmdDeleteTraining->hide();
    cmdPrintTraining->hide();
    cmdSaveComments->setEnabled(false);
    cmdSaveComments->show();
    cmdCancelComments->show();
    ui::SetInk(lblComments, White);
    savedCommentsCaption_ = lblComments->text();
    lblComments->setText(QStringLiteral("Edit the comments below..."));
    ui::SetBase(txtComments, QColor(255, 192, 255));
    txtComments->setReadOnly(false);
    savedComments_ = txtComments->StoredText();
    commentsSaved_ = false;
    cmdCancelComments->SetCancel(true); // Esc drops the comment edit, not the window
    txtComments->setFocus(Qt::OtherFocusReason);
}

void frmTrainingHistory::txtComments_Change() {
    if (editingComments_)
        cmdSaveComments->setEnabled(txtComments->StoredText() != savedComments_);
}

void frmTrainingHistory::cmdSaveComments_Click() {
    if (const std::optional<QString> refusal =
            EditRefusal(EditComments, txtComments->StoredText())) {
        platform::StandardMessage(
            QStringLiteral("Entry Error"), QStringLiteral("The comments") + CrLf + *refusal,
            platform::StandardIcon::Stop, platform::StandardButtons::Ok, this);
        txtComments->setFocus(Qt::OtherFocusReason);
        return;
    }
    SaveTrainingEdit(txtComments->StoredText(), EditComments);
    commentsSaved_ = true;
    LeaveCommentEditing();
}

void frmTrainingHistory::cmdCancelComments_Click() {
    LeaveCommentEditing();
}

void frmTrainingHistory::LeaveCommentEditing() {
    if (!editingComments_)
        return;
    editingComments_ = false;
    ui::SetBase(txtComments, QColor(255, 255, 192));
    txtComments->setReadOnly(true);
    if (commentsSaved_)
        gridTraining_RowColChange(); // the saved text as the refilled list holds it
    else
        txtComments->SetStoredText(savedComments_);
    lblComments->setText(savedCommentsCaption_);
    ui::SetInk(lblComments, txtComments->toPlainText().isEmpty() ? Grey : White);
    savedCommentsCaption_.clear();
    if (gridTraining->Visible())
        gridTraining->setEnabled(true);
    cmdReturn->SetCancel(true);
    UpdateHistoryButtons();
}

void frmTrainingHistory::cmdDeleteTraining_Click() {
    if (!MayChange(forms::Action::DeleteTraining))
        return;
    const int row = gridTraining->Row();
    // One day may hold two courses: the question names the one that goes.
    const QString code = gridTraining->TextMatrix(row, Code);
    QString course = gridTraining->TextMatrix(row, Name);
    if (!code.isEmpty())
        course += QStringLiteral(" (") + code + u')';
    const int answer = forms::Ask(
        QStringLiteral("Confirm"), forms::Icon::Question,
        {QStringLiteral("Are you SURE you want to remove"),
         QStringLiteral("the highlighted course dated"), QString(),
         gridTraining->TextMatrix(row, Date), course.trimmed(), QString(),
         QStringLiteral("from this person's 'Training History'?")},
        2, {QStringLiteral("&Yes, remove this course"), QStringLiteral("&No, do NOT remove")});
    if (answer != 1)
        return;

    const qint32 recNum = HighlightedRecNum();
    const int top = gridTraining->TopRow();
    gridTraining->hide();
    store::StoreResult removed;
    {
        const WindowBusy busy(*this);
        removed = store::RemovePersonsTrainingRecord(recNum, personKey_);
    }
    if (removed.isChangedElsewhere())
        forms::TellRemovalChangedElsewhere();
    else if (!removed)
        FileProblem(removed);
    else
        changed_ = true;

    // The list shows what is on file now, whether or not the removal went through.
    const bool fileLeft = QFile::exists(store::FileNameOf(store::DataFile::TrainingRecords));
    const int above = removed ? std::max(1, row - 1) : row;
    UpdateTrainingGrid();
    platform::DoEvents();
    if (fillFailed_)
        return;
    if (!fileLeft || noRecords_ || !gridTraining->Visible()) {
        cmdReturn_Click();
        return;
    }
    HighlightInView(std::min(above, listgrid::DataRows(*gridTraining)), top);
    UpdateHistoryButtons();
    if (removed)
        platform::StandardMessage(QStringLiteral("Training Record Removed"),
                                  QStringLiteral("The training record has been removed") + CrLf +
                                      QStringLiteral("from this person's 'Training History'."),
                                  platform::StandardIcon::Information,
                                  platform::StandardButtons::Ok, this);
}
