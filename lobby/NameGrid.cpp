#include "lobby/NameGrid.h"

#include "forms/ListGrid.h"
#include "forms/Messages.h"
#include "forms/PageControls.h"
#include "forms/StoreProblem.h"
#include "forms/WindowBusy.h"
#include "platform/Twips.h"
#include "store/Formats.h"
#include "store/RecordScan.h"
#include "store/RecordStore.h"
#include "ui/FlexGrid.h"
#include "ui/FlexGridSource.h"

#include <QPalette>
#include <QRadioButton>
#include <QStringList>
#include <algorithm>
#include <memory>
#include <vector>

using namegrid::Column;
using namegrid::LastShownCol;

namespace {

const QString NameFormat = QStringLiteral("|Organization|^DateCreated|NameSort|RecNum");
constexpr int ColumnCount = 5;
constexpr int RowsInView = 19;

enum Choice { ActiveChoice = 1, InactiveChoice = 2, EveryoneChoice = 3 };

// An option that applies to somebody is dark blue and can be chosen; one that applies to
// nobody is grey and cannot.
void MarkOption(QRadioButton* option, bool applies) {
    const QColor ink = applies ? QColor(0, 0, 64) : QColor(192, 192, 192);
    QPalette colours = option->palette();
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        colours.setColor(group, QPalette::WindowText, ink);
    option->setPalette(colours);
    option->setEnabled(applies);
}

// The option's own setting: while the list is filled the whole Lobby is disabled.
bool Applies(const QRadioButton* option) {
    return option->isEnabledTo(option->window());
}

int SelectedChoice(const NameControls& c) {
    for (int i = ActiveChoice; i <= EveryoneChoice; ++i) {
        if (c.optDisplay[i]->isChecked())
            return i;
    }
    return 0;
}

bool Shows(int choice, bool active) {
    switch (choice) {
    case ActiveChoice:
        return active;
    case InactiveChoice:
        return !active;
    case EveryoneChoice:
        return true;
    default:
        return false;
    }
}

// One rebuild of the Name List: the window busy and the option clicks ignored meanwhile,
// Name.List closed at the end whatever happened.
class NameFill {
public:
    NameFill(const NameControls& c, Form& window, bool first, bool& filling)
        : c_(c), grid_(*c.gridName), first_(first), filling_(filling), busy_(window) {
        filling_ = true;
    }
    ~NameFill() {
        store::CloseNameList();
        filling_ = false;
    }
    NameFill(const NameFill&) = delete;
    NameFill& operator=(const NameFill&) = delete;

    store::StoreResult Run();

    // What to tell the user once the Lobby is usable again (an empty list), if anything.
    const QString& NoticeTitle() const { return noticeTitle_; }
    const QStringList& NoticeLines() const { return noticeLines_; }
    // The rows the grid holds after a fill that read them.
    std::shared_ptr<const namegrid::NameRows> Listed() const { return rows_; }

private:
    store::StoreResult MarkOptions();
    void ChooseOption();
    store::StoreResult AddRows(int choice);
    store::StoreResult Failed(const store::StoreResult& result);

    const NameControls& c_;
    FlexGrid& grid_;
    const bool first_;
    bool& filling_;
    WindowBusy busy_;
    QString noticeTitle_;
    QStringList noticeLines_;
    std::shared_ptr<namegrid::NameRows> rows_;
};

store::StoreResult NameFill::Run() {
    listgrid::BeginFill(grid_, NameFormat, ColumnCount, RowsInView);
    grid_.SetColSel(LastShownCol);
    if (const store::StoreResult opened = store::OpenNameList(); !opened)
        return Failed(opened);

    if (store::PersonCount() == 0) {
        grid_.SetRedraw(true);
        for (int i = ActiveChoice; i <= EveryoneChoice; ++i)
            c_.optDisplay[i]->hide();
        noticeTitle_ = QStringLiteral("No Names on File...");
        noticeLines_ = {QStringLiteral("There are currently no names"),
                        QStringLiteral("in the Name List")};
        return store::StoreResult::Ok();
    }

    if (const store::StoreResult marked = MarkOptions(); !marked)
        return Failed(marked);
    ChooseOption();
    const int choice = SelectedChoice(c_);
    if (const store::StoreResult added = AddRows(choice); !added)
        return Failed(added);
    listgrid::SortOn(grid_, Column::SortKey);

    const QString shown = c_.optDisplay[choice]->text().toLower();
    if (listgrid::DataRows(grid_) == 0) {
        grid_.SetRedraw(true);
        noticeTitle_ = QStringLiteral("Nothing to display");
        noticeLines_ = {QStringLiteral("There are no ") + shown, QStringLiteral(" to display.")};
        return store::StoreResult::Ok();
    }

    grid_.SetColWidth(Column::DisplayName, 4000);
    grid_.SetColWidth(Column::Organization, 2400);
    listgrid::ShadeEvenRows(grid_, LastShownCol);
    grid_.SetTextMatrix(0, Column::DisplayName, QStringLiteral("List of all ") + shown);
    listgrid::ShowAndWiden(grid_, Column::Organization, Column::Key);
    if (first_)
        listgrid::SelectRow(grid_, 1, LastShownCol, true);
    else
        listgrid::EnsureCurrentRow(grid_, LastShownCol);
    return store::StoreResult::Ok();
}

// Each option is dark blue when it applies to at least one person; reading stops as soon as
// both kinds have been seen.
store::StoreResult NameFill::MarkOptions() {
    bool active = false;
    bool inactive = false;
    for (int i = ActiveChoice; i <= EveryoneChoice; ++i) {
        c_.optDisplay[i]->show();
        MarkOption(c_.optDisplay[i], false);
    }
    auto& persons = store::Persons();
    for (qint32 n = 1; n <= store::PersonCount() && !(active && inactive); ++n) {
        if (const store::StoreResult read = persons.Read(n); !read)
            return read;
        if (persons.Buffer().Active != 0)
            active = true;
        else
            inactive = true;
    }
    MarkOption(c_.optDisplay[ActiveChoice], active);
    MarkOption(c_.optDisplay[InactiveChoice], inactive);
    MarkOption(c_.optDisplay[EveryoneChoice], active && inactive);
    return store::StoreResult::Ok();
}

// Selecting an option here raises optDisplay_Click, which FillingNameGrid turns away.
// Before the Lobby's first activation (or with nothing chosen yet) the active persons are
// shown if there are any; afterwards the user's choice stands unless it shows nobody.
void NameFill::ChooseOption() {
    const auto& option = c_.optDisplay;
    if (first_ || SelectedChoice(c_) == 0) {
        option[Applies(option[ActiveChoice]) ? ActiveChoice : InactiveChoice]->setChecked(true);
    } else if (!Applies(option[InactiveChoice])) {
        option[ActiveChoice]->setChecked(true);
    } else if (!Applies(option[ActiveChoice])) {
        option[InactiveChoice]->setChecked(true);
    }
}

store::StoreResult NameFill::AddRows(int choice) {
    auto rows = std::make_shared<namegrid::NameRows>();
    store::RecordScan scan(store::Persons().File());
    while (scan.Next()) {
        if (Shows(choice, store::PersonRecord::IsActiveRaw(scan.Bytes())))
            rows->Add(scan.Bytes(), scan.RecordNumber());
    }
    if (!scan.Result())
        return scan.Result();
    rows_ = rows;
    grid_.AddItems(std::move(rows), rows_->Count());
    return store::StoreResult::Ok();
}

// Half a list would look complete: show none.
store::StoreResult NameFill::Failed(const store::StoreResult& result) {
    grid_.SetRows(1);
    grid_.SetRedraw(true);
    return result;
}

} // namespace

NameControls BuildNameControls(QWidget* page) {
    using forms::MakePageButton;
    using Kind = forms::PageButton;
    NameControls c;
    c.gridName = forms::MakePageGrid(page, 120, 120, 7100);
    c.gridName->SetTableName(QStringLiteral("Name List"));

    const char* captions[] = {"", "Active Persons", "Inactive Persons",
                              "Active and Inactive Persons"};
    for (int i = 1; i <= 3; ++i) {
        c.optDisplay[i] = new QRadioButton(QString::fromLatin1(captions[i]), page);
        platform::PlaceTwips(c.optDisplay[i], 7500, 60 + 300 * i, 3000, 285);
    }

    c.cmdAddName = MakePageButton(page, Kind::Record, 7500, 1380, 2940, 510);
    c.cmdEditName = MakePageButton(page, Kind::Record, 7500, 1980, 2940, 510);
    c.cmdDeleteName = MakePageButton(page, Kind::Remove, 7500, 2580, 2940, 510);
    c.cmdTrainingHistory = MakePageButton(page, Kind::Proceed, 7500, 3420, 2940, 510);
    c.cmdImportPersons = MakePageButton(page, Kind::Record, 7500, 4170, 2940, 510);
    c.cmdPrintNameList = MakePageButton(page, Kind::Print, 7500, 4920, 2940, 600);
    return c;
}

void namegrid::NameRows::Add(const char* record, qint32 recNum) {
    listed_.append(record, Record::ListedBytes);
    recNums_.push_back(recNum);
    active_.push_back(Record::IsActiveRaw(record));
}

void namegrid::NameRows::AppendCell(qint32 item, int col, QString& out) const {
    if (item < 1 || item > Count())
        return;
    const char* record = RecordOf(item);
    switch (col) {
    case Column::DisplayName:
        return AppendNames(out, record, Record::FirstNameSpan, Record::LastNameSpan);
    case Column::Organization:
        return store::AppendShownField(out, record, Record::OrganizationSpan);
    case Column::Key:
        out += NameKeyText(Record::DateCreatedRaw(record));
        return;
    case Column::SortKey:
        return AppendNames(out, record, Record::LastNameSpan, Record::FirstNameSpan);
    case Column::RecNum:
        out += QString::number(recNums_[std::size_t(item - 1)]);
        return;
    default:
        return;
    }
}

std::optional<PersonRow> namegrid::NameRows::Person(qint32 recNum) const {
    const auto found = std::lower_bound(recNums_.begin(), recNums_.end(), recNum);
    if (found == recNums_.end() || *found != recNum)
        return std::nullopt;
    const qint32 item = static_cast<qint32>(found - recNums_.begin()) + 1;
    const char* record = RecordOf(item);
    PersonRow person;
    AppendNames(person.name, record, Record::FirstNameSpan, Record::LastNameSpan);
    store::AppendShownField(person.organization, record, Record::OrganizationSpan);
    AppendNames(person.sortKey, record, Record::LastNameSpan, Record::FirstNameSpan);
    person.identity = Record::DateCreatedRaw(record);
    person.recNum = recNum;
    person.active = active_[std::size_t(item - 1)];
    return person;
}

const char* namegrid::NameRows::RecordOf(qint32 item) const {
    return listed_.constData() + qsizetype(item - 1) * Record::ListedBytes;
}

void namegrid::NameRows::AppendNames(QString& out, const char* record, store::FieldSpan outer,
                                     store::FieldSpan other) {
    store::AppendShownField(out, record, outer);
    out += QLatin1Char(' ');
    const qsizetype middle = out.size();
    store::AppendShownField(out, record, Record::MiddleNameSpan);
    if (out.size() > middle)
        out += QLatin1Char(' ');
    store::AppendShownField(out, record, other);
}

NameNotice FillNameGrid(const NameControls& c, Form& window, bool first, bool& filling,
                        std::shared_ptr<const namegrid::NameRows>& listed) {
    store::StoreResult result;
    NameNotice notice;
    {
        NameFill fill(c, window, first, filling);
        result = fill.Run();
        notice = {fill.NoticeTitle(), fill.NoticeLines()};
        listed = result ? fill.Listed() : nullptr;
    }
    // Told once the window is usable again, with the normal pointer over the message.
    if (!result)
        forms::ShowStoreProblem(result);
    return notice;
}

QString DisplayChoiceCaption(const NameControls& c) {
    const int choice = SelectedChoice(c);
    return choice > 0 ? c.optDisplay[choice]->text() : QString();
}

QString NameKeyText(double dateCreated) {
    return formats::DoubleText(dateCreated);
}
