#include "search/DuePage.h"

#include "forms/ListGrid.h"
#include "forms/StoreProblem.h"
#include "forms/WindowBusy.h"
#include "print/ListPrintouts.h"
#include "store/Clock.h"
#include "store/Formats.h"
#include "training/ShowHistory.h"
#include "ui/FlexGrid.h"
#include "ui/FlexGridSource.h"
#include "ui/SelectOnFocus.h"
#include "ui/TextGuard.h"
#include "ui/ZovButton.h"

#include <QLabel>
#include <QLineEdit>

namespace search {

namespace {

// The course's name comes last: it is the longest, and on paper it may run to the edge.
enum Column {
    Name = 0,
    Organization = 1,
    Code = 2,
    LastDate = 3,
    DueDate = 4,
    DaysLeft = 5,
    Course = 6,
    Identity = 7,
    RecNum = 8
};
constexpr int ColumnCount = 9;
constexpr int LastShownCol = Course;
constexpr int RowsInView = 16;
const QString kFormat = QStringLiteral("<Name|<Organization|<Code|<Last Date|<Due Date|>Days "
                                       "Left|<Course|DateCreated|RecNum");
const int kWidths[] = {2100, 1700, 950, 1100, 1100, 1100, 1800};
constexpr int kDefaultWindow = 60;

enum Box { DateBox = 0, DaysBox = 1, OrganizationBox = 2, CourseBox = 3 };

QString DateText(const QDate& date) {
    return date.isValid() ? formats::MmDdYyyy(formats::DateValue(date)) : QString();
}

} // namespace

// The rows listed, each with its person and course as read: the grid asks for the texts of
// the rows it shows.
class DueRows : public FlexGridSource {
public:
    DueRows(std::vector<DueRow> rows, std::shared_ptr<const std::vector<PersonRow>> persons,
            std::shared_ptr<const std::vector<DueCourse>> courses)
        : rows_(std::move(rows)), persons_(std::move(persons)), courses_(std::move(courses)) {}

    qint32 Count() const { return qint32(rows_.size()); }
    const std::vector<DueRow>& Rows() const { return rows_; }
    const PersonRow& PersonOf(qint32 item) const {
        return (*persons_)[std::size_t(rows_[std::size_t(item - 1)].person)];
    }

    void AppendCell(qint32 item, int col, QString& out) const override {
        if (item < 1 || item > Count())
            return;
        const DueRow& row = rows_[std::size_t(item - 1)];
        const PersonRow& person = PersonOf(item);
        const DueCourse& course = (*courses_)[std::size_t(row.course)];
        switch (col) {
        case Name:
            out += person.name;
            return;
        case Organization:
            out += person.organization;
            return;
        case Code:
            out += course.code;
            return;
        case LastDate:
            out += DateText(row.last);
            return;
        case DueDate:
            out += DateText(row.due);
            return;
        case DaysLeft:
            out += row.NeverTaken() ? QStringLiteral("never taken") : QString::number(row.daysLeft);
            return;
        case Course:
            out += course.name;
            return;
        case Identity:
            out += formats::DoubleText(person.identity);
            return;
        case RecNum:
            out += QString::number(person.recNum);
            return;
        default:
            return;
        }
    }

private:
    std::vector<DueRow> rows_;
    std::shared_ptr<const std::vector<PersonRow>> persons_;
    std::shared_ptr<const std::vector<DueCourse>> courses_;
};

DuePage::DuePage(LobbyDoor& door, QWidget* page) : door_(door), c_(BuildDueControls(page)) {
    const char* names[] = {"As of (date)", "Within (days)", "Organization (whole or partial)",
                           "Course Code or Name (whole or partial)"};
    for (std::size_t i = 0; i < c_.txtDue.size(); ++i) {
        QLineEdit* box = c_.txtDue[i];
        box->setAccessibleName(QString::fromLatin1(names[i]));
        // The filters are compared with what the files hold.
        textguard::GuardStoredField(box);
        ui::SelectAllOnFocus(box);
        connect(box, &QLineEdit::textChanged, this, &DuePage::txtDue_Change);
    }
    c_.txtDue[DaysBox]->setText(QString::number(kDefaultWindow));
    c_.gridDue->SetTableName(QStringLiteral("Who is Due"));
    connect(c_.cmdDueTrainingHistory, &ZovButton::Click, this,
            &DuePage::cmdDueTrainingHistory_Click);
    print::ConnectPrintButton(
        c_.cmdDuePrint,
        [this](print::Output to) { print::PrintDueList(Table(), door_.Window(), to); },
        [this] { return std::optional<print::ReportTable>(Table()); });
    listgrid::BeginFill(*c_.gridDue, kFormat, ColumnCount, RowsInView);
    c_.gridDue->SetRedraw(true);
    c_.gridDue->show();
    EnableButtons();
}

DuePage::~DuePage() = default;

void DuePage::Fill() {
    const ListedPersons& listed = door_.Persons();
    auto persons = std::make_shared<std::vector<PersonRow>>(listed.rows);
    std::vector<double> identities;
    identities.reserve(persons->size());
    for (const PersonRow& person : *persons)
        identities.push_back(person.identity);
    store::StoreResult read;
    {
        WindowBusy busy(door_.Window());
        read = ReadLatestCredits(identities, credits_, [this](int percent) {
            c_.lblDueCount->setText(QStringLiteral("Reading the training records... ") +
                                    formats::ZeroPercent(percent / 100.0));
            c_.lblDueCount->repaint();
        });
    }
    persons_ = std::move(persons);
    courses_ = std::make_shared<const std::vector<DueCourse>>(credits_.courses);
    if (!read) {
        credits_ = LatestCredits{};
        courses_ = std::make_shared<const std::vector<DueCourse>>();
        forms::ShowStoreProblem(read);
    }
    ShowDue();
}

void DuePage::TakeFocus() {
    if (c_.txtDue[DateBox]->text().isEmpty())
        c_.txtDue[DateBox]->setText(DateText(store::CurrentDateTime().date()));
    Fill();
    if (listgrid::DataRows(*c_.gridDue) > 0)
        c_.gridDue->setFocus();
    else
        c_.txtDue[DateBox]->setFocus();
}

void DuePage::SetUpButtons() {
    c_.cmdDueTrainingHistory->SetCaption(QStringLiteral("Training History"));
    c_.cmdDueTrainingHistory->setToolTip(
        QStringLiteral(" View (no editing) the highlighted person's training history "));
    c_.cmdDueTrainingHistory->Refresh();
    c_.cmdDuePrint->SetCaption(QStringLiteral("Print this List"));
    c_.cmdDuePrint->setToolTip(QStringLiteral(" Print this list of who is due "));
    c_.cmdDuePrint->Refresh();
    // The set-up follows every change of the lists and a restore: a page in view is read
    // again; one out of view is read when it is next chosen.
    if (c_.gridDue->isVisible())
        Fill();
}

ListRecord DuePage::Highlighted() const {
    const FlexGrid& grid = *c_.gridDue;
    const qint32 recNum = listgrid::CellNumber(grid, grid.Row(), RecNum);
    if (recNum < 1)
        return {};
    return {recNum, grid.TextMatrix(grid.Row(), Identity)};
}

void DuePage::txtDue_Change() {
    ShowDue();
}

void DuePage::ShowDue() {
    FlexGrid& grid = *c_.gridDue;
    listgrid::BeginFill(grid, kFormat, ColumnCount, RowsInView);
    for (int col = 0; col <= LastShownCol; ++col)
        grid.SetColWidth(col, kWidths[col]);
    grid.SetColSel(LastShownCol);
    shown_.reset();

    const std::optional<double> date = formats::ParseDate(c_.txtDue[DateBox]->text());
    bool numeric = false;
    const int days = c_.txtDue[DaysBox]->text().trimmed().toInt(&numeric);
    std::vector<DueRow> rows;
    if (date && numeric && days >= 0) {
        const DueQuery query{formats::DatePart(*date), days, c_.txtDue[OrganizationBox]->text(),
                             c_.txtDue[CourseBox]->text()};
        rows = WhoIsDue(credits_, persons_ ? *persons_ : std::vector<PersonRow>{}, query);
    }
    auto source = std::make_shared<DueRows>(
        rows, persons_, courses_ ? courses_ : std::make_shared<const std::vector<DueCourse>>());
    grid.AddItems(source, source->Count());
    shown_ = std::move(source);
    listgrid::ShadeEvenRows(grid, LastShownCol);
    listgrid::ShowAndWiden(grid, Course, Identity);
    if (!rows.empty())
        listgrid::SelectRow(grid, 1, LastShownCol, true);
    if (!date || !numeric || days < 0)
        c_.lblDueCount->setText(
            QStringLiteral("Type a date, and a number of days from 0 to 9999."));
    else
        ShowCount(rows);
    EnableButtons();
}

void DuePage::ShowCount(const std::vector<DueRow>& rows) {
    if (credits_.courses.empty()) {
        c_.lblDueCount->setText(QStringLiteral(
            "No course has a renewal period or is required for all active persons."));
        return;
    }
    if (rows.empty()) {
        c_.lblDueCount->setText(QStringLiteral("Nobody is due."));
        return;
    }
    qsizetype never = 0;
    qsizetype overdue = 0;
    for (const DueRow& row : rows) {
        never += row.NeverTaken() ? 1 : 0;
        overdue += !row.NeverTaken() && row.daysLeft < 0 ? 1 : 0;
    }
    const qsizetype soon = qsizetype(rows.size()) - never - overdue;
    c_.lblDueCount->setText(QStringLiteral("%1 due: %2 never taken, %3 overdue, %4 within %5 days")
                                .arg(rows.size())
                                .arg(never)
                                .arg(overdue)
                                .arg(soon)
                                .arg(c_.txtDue[DaysBox]->text().trimmed()));
}

void DuePage::EnableButtons() {
    const bool any = listgrid::DataRows(*c_.gridDue) > 0;
    c_.cmdDueTrainingHistory->setEnabled(any);
    c_.cmdDuePrint->setEnabled(any);
}

print::ReportTable DuePage::Table() const {
    const FlexGrid& grid = *c_.gridDue;
    QStringList headings;
    for (int col = 0; col <= LastShownCol; ++col)
        headings << grid.TextMatrix(0, col);
    print::ReportTable table = print::ListTable(print::DueListReport, headings);
    table.identityHeading = QStringLiteral("Person Identity");
    if (!shown_)
        return table;
    // The grid keeps the rows in the order they were added.
    for (int row = 1; row < grid.Rows() && row <= shown_->Count(); ++row) {
        QStringList cells;
        for (int col = 0; col <= LastShownCol; ++col)
            cells << grid.TextMatrix(row, col);
        table.rows.push_back({cells, print::IdentityText(shown_->PersonOf(row).identity)});
    }
    table.criteria.push_back({QStringLiteral("As of: "), c_.txtDue[DateBox]->text()});
    table.criteria.push_back(
        {QStringLiteral("Due Within: "), c_.txtDue[DaysBox]->text() + QStringLiteral(" days")});
    if (const QString text = c_.txtDue[OrganizationBox]->text().trimmed(); !text.isEmpty())
        table.criteria.push_back({QStringLiteral("Organization Searched: "), text});
    if (const QString text = c_.txtDue[CourseBox]->text().trimmed(); !text.isEmpty())
        table.criteria.push_back({QStringLiteral("Course Searched: "), text});
    table.description = {QStringLiteral("The below is a ") + door_.Persons().heading.toLower() +
                             QStringLiteral(" who are due for training"),
                         QStringLiteral("Days Left below zero: overdue by that many days")};
    table.totals = c_.lblDueCount->text();
    return table;
}

void DuePage::cmdDueTrainingHistory_Click() {
    const ListRecord highlighted = Highlighted();
    if (highlighted.recNum < 1)
        return;
    const FlexGrid& grid = *c_.gridDue;
    training::HistorySubject subject;
    subject.person = {grid.TextMatrix(grid.Row(), Name), highlighted.recNum};
    subject.readOnly = true;
    subject.session = door_.SignedIn();
    training::ShowTrainingHistory(door_.Window(), subject);
}

} // namespace search
