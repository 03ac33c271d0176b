#include "search/SearchPage.h"

#include "forms/ListGrid.h"
#include "forms/Messages.h"
#include "forms/Permits.h"
#include "forms/StoreProblem.h"
#include "forms/WindowBusy.h"
#include "print/ListPrintouts.h"
#include "search/EmployeeIds.h"
#include "search/TrainingSearch.h"
#include "store/Clock.h"
#include "store/Codepage.h"
#include "store/Formats.h"
#include "store/TrainingRules.h"
#include "training/ShowHistory.h"
#include "ui/AppTitle.h"
#include "ui/CrLf.h"
#include "ui/FlexGrid.h"
#include "ui/FlexGridSource.h"
#include "ui/SelectOnFocus.h"
#include "ui/Styling.h"
#include "ui/TextGuard.h"
#include "ui/ZovButton.h"

#include "platform/StandardDialogs.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <memory>
#include <vector>

namespace search {

namespace {

// The program's own buttons break two-line captions at CR LF; Qt's option buttons at LF.
using ui::CrLf;
const QString Lf = QStringLiteral("\n");

enum Column { Name = 0, Second = 1 };
constexpr ResultColumns SearchColumns{};
constexpr ResultColumns SummaryColumns{2, 3, 4, 5};
constexpr int RowsInView = 19;
constexpr int FirstYear = 1955;
// The hours of a year nobody can exceed: a leap year's.
constexpr double MostHoursInYear = 366 * 24;

QString PersonsText(int persons) {
    return QString::number(persons) +
           (persons == 1 ? QStringLiteral(" person") : QStringLiteral(" persons"));
}

QString RequiredCaption(float hours) {
    return QStringLiteral("Required training hours per year: ") +
           (hours > 0 ? formats::SingleText(hours) : QStringLiteral("none"));
}

void SetBack(QLineEdit* box, const QColor& colour) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, colour);
    box->setPalette(palette);
}

void SetLook(QRadioButton* option, int pointSize, bool bold) {
    QFont font = option->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    option->setFont(font);
}

void SetButton(ZovButton* button, const QString& caption, const QString& toolTip) {
    button->SetCaption(caption);
    button->setToolTip(toolTip);
    button->Refresh();
}

// The shown persons' identities, in the list's order, exactly as stored.
std::vector<double> Identities(const ListedPersons& persons) {
    std::vector<double> identities;
    identities.reserve(persons.rows.size());
    for (const PersonRow& person : persons.rows)
        identities.push_back(person.identity);
    return identities;
}

} // namespace

// The persons a search or summary lists, each with the text of column 1 (the organisation,
// or the hours of a summary, which then shows the organisation in column 2): the grid reads
// its cells from here, so that tens of thousands of results fill it in one step.
class ResultRows : public FlexGridSource {
public:
    explicit ResultRows(const ResultColumns& columns) : columns_(columns) {}
    void Add(const PersonRow& person, const QString& second) { rows_.push_back({person, second}); }
    qint32 Count() const { return static_cast<qint32>(rows_.size()); }
    const std::pair<PersonRow, QString>& At(qint32 item) const {
        return rows_[std::size_t(item - 1)];
    }

    void AppendCell(qint32 item, int col, QString& out) const override {
        if (item < 1 || item > Count())
            return;
        const auto& [person, second] = At(item);
        if (col == Name)
            out += person.name;
        else if (col == Second)
            out += second;
        else if (col == columns_.organization)
            out += person.organization;
        else if (col == columns_.identity)
            out += formats::DoubleText(person.identity);
        else if (col == columns_.sortName)
            out += person.sortKey;
        else if (col == columns_.recNum)
            out += QString::number(person.recNum);
    }

private:
    ResultColumns columns_;
    std::vector<std::pair<PersonRow, QString>> rows_;
};

void SearchPage::AddRows(std::shared_ptr<ResultRows> rows) {
    const qint32 count = rows->Count();
    results_ = rows;
    c_.gridSummary->AddItems(std::move(rows), count);
}

SearchPage::SearchPage(SearchHost& host, QWidget* optionsPage, QWidget* resultsPage)
    : host_(host), c_(BuildSearchControls(optionsPage, resultsPage)) {
    const char* names[] = {"From date", "To date", "Course Code",
                           "Training Comments (whole or partial)",
                           "Course Name (whole or partial)"};
    for (int i = 0; i <= 4; ++i)
        c_.txtMatch[std::size_t(i)]->setAccessibleName(QString::fromLatin1(names[i]));
    c_.txtSummaryYear->setAccessibleName(QStringLiteral("Year of the annual summary"));
    // A criterion is compared with what the records hold: a character they cannot hold is
    // refused as it is typed, as in the editors.
    for (QLineEdit* box : {c_.txtMatch[0], c_.txtMatch[1], c_.txtMatch[2], c_.txtMatch[3],
                           c_.txtMatch[4], c_.txtSummaryYear}) {
        textguard::GuardStoredField(box);
        ui::SelectAllOnFocus(box);
        box->installEventFilter(this);
    }
    c_.gridSummary->SetTableName(QStringLiteral("Search/Summary results"));
    // The total label is announced by its text, the figure with it.
    ConnectHandlers();
}

SearchPage::~SearchPage() = default;

void SearchPage::ConnectHandlers() {
    for (int i = 1; i <= 2; ++i) {
        connect(c_.optSearch[std::size_t(i)], &QRadioButton::clicked, this,
                [this, i] { optSearch_Click(i); });
        connect(c_.optMatch[std::size_t(i)], &QRadioButton::clicked, this,
                [this, i] { optMatch_Click(i); });
    }
    for (QLineEdit* box : c_.txtMatch)
        connect(box, &QLineEdit::textChanged, this, &SearchPage::txtMatch_Change);
    connect(c_.txtSummaryYear, &QLineEdit::textChanged, this, &SearchPage::txtSummaryYear_Change);
    connect(c_.cmdMatch, &ZovButton::Click, this, &SearchPage::cmdMatch_Click);
    connect(c_.cmdAnnualSummary, &ZovButton::Click, this, &SearchPage::cmdAnnualSummary_Click);
    connect(c_.cmdFinishedSummary, &ZovButton::Click, this, &SearchPage::cmdFinishedSummary_Click);
    connect(c_.cmdSummaryTrainingHistory, &ZovButton::Click, this,
            &SearchPage::cmdSummaryTrainingHistory_Click);
    connect(c_.cmdRequiredHours, &ZovButton::Click, this, &SearchPage::cmdRequiredHours_Click);
    print::ConnectPrintButton(
        c_.cmdSummaryPrint,
        [this](print::Output to) { print::PrintSearchSummary(Table(), host_.Window(), to); },
        [this] { return ExportTable(); });
}

print::ReportTable SearchPage::Table() const {
    const FlexGrid& grid = *c_.gridSummary;
    const bool search = shown_ == Shown::Search;
    QStringList headings;
    for (int col = 0; col <= columns_.LastShown(); ++col)
        headings << grid.TextMatrix(0, col);
    print::ReportTable table = print::ListTable(
        search ? print::SearchResultsReport : print::AnnualSummaryReport, headings);
    table.identityHeading = QStringLiteral("Person Identity");
    if (shown_ == Shown::None || !results_)
        return table;
    for (const qint32 item : ShownItems()) {
        const auto& [person, second] = results_->At(item);
        QStringList cells{person.name, second};
        if (columns_.organization > 0)
            cells << person.organization;
        table.rows.push_back({cells, print::IdentityText(person.identity)});
    }

    const QString listed = QStringLiteral("The below is a ") + host_.Persons().heading.toLower();
    if (search) {
        const QString from = c_.txtMatch[0]->text();
        if (!from.isEmpty())
            table.criteria.push_back({QStringLiteral("Date Range Searched: "),
                                      from + QStringLiteral(" to ") + c_.txtMatch[1]->text()});
        if (const QString code = c_.txtMatch[2]->text(); !code.isEmpty())
            table.criteria.push_back({QStringLiteral("Course Code Searched: "), code});
        if (const QString name = c_.txtMatch[4]->text(); !name.isEmpty())
            table.criteria.push_back({QStringLiteral("Course Name Searched: "), name});
        if (const QString comment = c_.txtMatch[3]->text(); !comment.isEmpty())
            table.criteria.push_back({QStringLiteral("Training Comments Searched: "), comment});
        table.description = {
            listed, QStringLiteral("that have training records that ") +
                        (c_.optMatch[1]->isChecked() ? QString() : QStringLiteral("do NOT ")) +
                        QStringLiteral("match the above criteria")};
    } else {
        table.description = {listed,
                             QStringLiteral("and their total training hours for the year ") +
                                 c_.txtSummaryYear->text()};
        table.describeEveryPage = true;
        table.totals = c_.lblTotalHours->text();
        // Measured against the required hours: how many are below them.
        if (c_.lblPersonCount->text().contains(u';'))
            table.description << c_.lblPersonCount->text();
    }
    return table;
}

std::vector<qint32> SearchPage::ShownItems() const {
    std::vector<qint32> shown;
    if (shown_ == Shown::None || !results_)
        return shown;
    QHash<qint32, qint32> items; // the item of each listed person, by record number
    for (qint32 item = 1; item <= results_->Count(); ++item)
        items.insert(results_->At(item).first.recNum, item);
    for (const qint32 recNum : listgrid::ShownNumbers(*c_.gridSummary, columns_.recNum)) {
        if (const qint32 item = items.value(recNum); item > 0)
            shown.push_back(item);
    }
    return shown;
}

std::optional<print::ReportTable> SearchPage::ExportTable() const {
    // Both results show the organization already.
    print::ReportTable table = Table();
    table.extraHeadings = {QStringLiteral("Employee ID")};
    // The rows of Table, one for each item shown, in the same order.
    const std::vector<qint32> items = ShownItems();
    std::vector<search::ListedNumber> numbers;
    numbers.reserve(items.size());
    for (const qint32 item : items) {
        const PersonRow& person = results_->At(item).first;
        numbers.push_back({person.recNum, person.identity});
    }
    QStringList ids;
    if (const store::StoreResult read = search::ReadEmployeeIds(numbers, ids); !read) {
        forms::ShowStoreProblem(read);
        return std::nullopt;
    }
    for (std::size_t r = 0; r < table.rows.size() && r < items.size(); ++r)
        table.rows[r].extra = {ids.value(qsizetype(r))};
    return table;
}

// ---- Set by the Lobby ----------------------------------------------------------------------

void SearchPage::FirstActivation() {
    c_.optMatch[1]->setText(QStringLiteral("match") + Lf + QStringLiteral("the above critera"));
    c_.optMatch[2]->setText(QStringLiteral("do NOT match") + Lf +
                            QStringLiteral("the above critera"));
}

void SearchPage::Fill() {
    const QString shown = host_.DisplayChoice().toLower();
    c_.optSearch[1]->setText(QStringLiteral("List all ") + shown + Lf +
                             QStringLiteral("that have any training records") + Lf +
                             QStringLiteral("matching the following criteria..."));
    c_.optSearch[2]->setText(QStringLiteral("Produce an annual summary") + Lf +
                             QStringLiteral("of all training hours for all") + Lf + shown);
    ShowRequiredHours(false);
}

float SearchPage::ShowRequiredHours(bool tell) {
    store::TrainingRules rules;
    const store::StoreResult read = store::ReadTrainingRules(rules);
    if (!read && tell)
        forms::ShowStoreProblem(read);
    const float hours = read ? rules.requiredHours : 0;
    c_.lblRequiredHours->setText(read ? RequiredCaption(hours)
                                      : QStringLiteral("Required training hours per year: \"") +
                                            read.fileName() + QStringLiteral("\" cannot be read"));
    c_.chkBelowRequired->setEnabled(hours > 0);
    return hours;
}

void SearchPage::cmdRequiredHours_Click() {
    if (!forms::MayWrite(host_.SignedIn(), forms::Action::SetRequirements))
        return;
    store::TrainingRules rules;
    if (const store::StoreResult read = store::ReadTrainingRules(rules); !read) {
        forms::ShowStoreProblem(read);
        return;
    }
    const QString current =
        rules.HasRequiredHours() ? formats::SingleText(rules.requiredHours) : QStringLiteral("0");
    const QString typed =
        platform::InputBox(QStringLiteral("Required Training Hours"),
                           QStringLiteral("Required training hours per year") + CrLf +
                               QStringLiteral("(0 when none are required):"),
                           current, &host_.Window())
            .trimmed();
    if (typed.isEmpty())
        return; // Cancel
    const double hours = formats::LeadingNumber(typed);
    if (!formats::IsNumeric(typed) || hours < 0 || hours > MostHoursInYear) {
        forms::Tell(QStringLiteral("Entry Error"),
                    {QStringLiteral("\"") + typed + QStringLiteral("\" is not a number"),
                     QStringLiteral("of hours from 0 to %1.").arg(MostHoursInYear)},
                    forms::Icon::Information);
        return;
    }
    rules.requiredHours = static_cast<float>(hours);
    if (const store::StoreResult written = store::WriteTrainingRules(rules); !written)
        forms::ShowStoreProblem(written);
    ShowRequiredHours(true);
}

void SearchPage::TakeFocus() {
    Fill();
    if (c_.frame[2]->isEnabled())
        optSearch_Click(c_.optSearch[2]->isChecked() ? 2 : 1);
}

ListRecord SearchPage::Highlighted() const {
    const FlexGrid& grid = *c_.gridSummary;
    const qint32 recNum =
        ResultsShown() ? listgrid::CellNumber(grid, grid.Row(), columns_.recNum) : 0;
    if (recNum < 1)
        return {};
    return {recNum, grid.TextMatrix(grid.Row(), columns_.identity)};
}

void SearchPage::SetUpButtons() {
    SetButton(
        c_.cmdMatch, QStringLiteral("Conduct the Search Now"),
        QStringLiteral(
            " Search for persons who have training records that match the above criteria... "));
    SetButton(
        c_.cmdAnnualSummary, QStringLiteral("Conduct the Summary Now"),
        QStringLiteral(" Summarize training hours of all persons for the indicated year... "));
    SetButton(c_.cmdFinishedSummary,
              QStringLiteral("Finished with this") + CrLf + QStringLiteral("Search/Summary"),
              QStringLiteral(" Click here to close this Search/Summary tab "));
    SetButton(c_.cmdSummaryTrainingHistory, QStringLiteral("Training History"),
              QStringLiteral(" View (no editing) the highlighted person's training history "));
    SetButton(c_.cmdSummaryPrint, QStringLiteral("Print this List"),
              QStringLiteral(" Print this Search/Summary list "));
    SetButton(c_.cmdRequiredHours, QStringLiteral("Set Required Hours"),
              QStringLiteral(" Set the training hours every person should complete in a year "));
    c_.cmdRequiredHours->setEnabled(
        forms::Permits(host_.SignedIn(), forms::Action::SetRequirements));
}

// ---- Options -------------------------------------------------------------------------------

void SearchPage::optSearch_Click(int index) {
    const int other = 3 - index;
    c_.frame[std::size_t(other)]->hide();
    c_.frame[std::size_t(index)]->show();
    SetLook(c_.optSearch[std::size_t(other)], 8, false);
    SetLook(c_.optSearch[std::size_t(index)], 9, true);
    // A box that cannot take the focus (its frame disabled under results) is left alone.
    if (index == 1)
        c_.txtMatch[0]->setFocus();
    else
        c_.txtSummaryYear->setFocus();
}

void SearchPage::optMatch_Click(int index) {
    ui::SetInk(c_.optMatch[std::size_t(index)], QColor(0, 0, 0));
    SetLook(c_.optMatch[std::size_t(index)], 9, c_.optMatch[std::size_t(index)]->font().bold());
    ui::SetInk(c_.optMatch[std::size_t(3 - index)], QColor(128, 128, 128));
    SetLook(c_.optMatch[std::size_t(3 - index)], 8,
            c_.optMatch[std::size_t(3 - index)]->font().bold());
}

void SearchPage::txtMatch_Change() {
    bool any = false;
    for (const QLineEdit* box : c_.txtMatch)
        any = any || !box->text().trimmed().isEmpty();
    c_.cmdMatch->setEnabled(any);
}

void SearchPage::txtSummaryYear_Change() {
    const double year = formats::LeadingNumber(c_.txtSummaryYear->text());
    c_.cmdAnnualSummary->setEnabled(year >= FirstYear &&
                                    year <= store::CurrentDateTime().date().year());
}

bool SearchPage::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        if (event->type() == QEvent::FocusIn) {
            SetBack(box, box == c_.txtSummaryYear ? QColor(255, 255, 0) : QColor(255, 255, 128));
        } else {
            SetBack(box, QColor(0, 255, 255));
        }
    }
    return QObject::eventFilter(watched, event);
}

// ---- Search --------------------------------------------------------------------------------

// A criterion holding a character no record can hold would match nothing, or everything when
// the persons without matching records are listed: it is refused, and its box gets the focus.
bool SearchPage::Storable(QLineEdit* box, const QString& entry) {
    const QString unstorable = store::FirstOutsideCodepage(box->text());
    if (unstorable.isEmpty())
        return true;
    forms::Tell(QStringLiteral("Entry Error"),
                QStringList{QStringLiteral("Check the ") + entry + u':'} +
                    store::OutsideCodepageLines(unstorable),
                forms::Icon::Information);
    box->setFocus();
    return false;
}

bool SearchPage::CheckEntries() {
    const char* entries[] = {"first date", "second date", "course code", "comments", "course name"};
    for (std::size_t i = 0; i < c_.txtMatch.size(); ++i) {
        if (!Storable(c_.txtMatch[i], QString::fromLatin1(entries[i])))
            return false;
    }
    const QString from = c_.txtMatch[0]->text();
    const QString to = c_.txtMatch[1]->text();
    const std::optional<double> fromDate = formats::ParseDate(from);
    const std::optional<double> toDate = formats::ParseDate(to);
    QStringList message;
    int box = 0;
    if (!from.isEmpty() && !fromDate) {
        message = {QStringLiteral("Check the first date entry")};
    } else if (!to.isEmpty() && !toDate) {
        message = {QStringLiteral("Check the second date entry")};
        box = 1;
    } else if (!to.isEmpty() && from.isEmpty()) {
        message = {QStringLiteral("You can't have a 'to' date"),
                   QStringLiteral("without a 'from' date...")};
    } else if (fromDate && toDate && formats::DayNumber(*toDate) < formats::DayNumber(*fromDate)) {
        message = {QStringLiteral("The 'from' date cannot be"),
                   QStringLiteral("later than the 'to' date")};
    }
    if (message.isEmpty())
        return true;
    forms::Tell(QStringLiteral("Entry Error"), message, forms::Icon::Information);
    c_.txtMatch[std::size_t(box)]->setFocus();
    return false;
}

void SearchPage::cmdMatch_Click() {
    for (QLineEdit* box : c_.txtMatch)
        box->setText(box->text().trimmed());
    if (!CheckEntries())
        return;
    // A from-date alone searches that one day.
    if (!c_.txtMatch[0]->text().isEmpty() && c_.txtMatch[1]->text().isEmpty())
        c_.txtMatch[1]->setText(c_.txtMatch[0]->text());

    Criteria criteria;
    if (const std::optional<double> from = formats::ParseDate(c_.txtMatch[0]->text())) {
        criteria.fromDay = formats::DayNumber(*from);
        criteria.toDay = formats::DayNumber(*formats::ParseDate(c_.txtMatch[1]->text()));
    }
    criteria.code = c_.txtMatch[2]->text();
    criteria.comment = c_.txtMatch[3]->text();
    criteria.courseName = c_.txtMatch[4]->text();
    criteria.listMatching = c_.optMatch[1]->isChecked();

    const ListedPersons& persons = host_.Persons();
    BeginResults(QStringLiteral("<Matching ") + persons.heading +
                     QStringLiteral("|<Organization|DateCreated|SortName|RecNum"),
                 SearchColumns, Name, 4100);
    c_.gridSummary->SetColWidth(Second, 2700);
    ZovButton* button = c_.cmdMatch;
    button->SetTag(button->Caption());
    std::vector<int> listed;
    store::StoreResult result;
    auto rows = std::make_shared<ResultRows>(columns_);
    {
        WindowBusy busy(host_.Window());
        result = FindPersons(Identities(persons), criteria, listed,
                             [this, button](int percent) { ShowProgress(button, percent); });
        if (result) {
            for (const int person : listed) {
                const PersonRow& row = persons.rows[std::size_t(person)];
                rows->Add(row, row.organization);
            }
            AddRows(std::move(rows));
        }
    }
    if (!result) {
        PassFailed(button, result);
        return;
    }

    if (listgrid::DataRows(*c_.gridSummary) > 0) {
        c_.frame[1]->setEnabled(false);
        c_.cmdMatch->hide();
        c_.optSearch[2]->setEnabled(false);
        EndResults(Shown::Search, Second, QStringLiteral("Search Results"),
                   QStringLiteral("Search Criteria"),
                   PersonsText(listgrid::DataRows(*c_.gridSummary)));
    } else {
        NothingFound(button, {QStringLiteral("No one had any training record(s)"),
                              QStringLiteral("that fit the given search criteria.")});
    }
    SetButton(button, button->Tag(), button->toolTip());
}

// ---- Annual summary --------------------------------------------------------------------------

void SearchPage::cmdAnnualSummary_Click() {
    if (!Storable(c_.txtSummaryYear, QStringLiteral("year")))
        return;
    const QString yearText = c_.txtSummaryYear->text();
    const int year = int(formats::LeadingNumber(yearText));
    SummaryChoice choice;
    choice.required = ShowRequiredHours(true);
    choice.onlyBelow = c_.chkBelowRequired->isChecked();
    choice.withoutTraining = c_.chkWithoutTraining->isChecked();
    const ListedPersons& persons = host_.Persons();
    BeginResults(QStringLiteral("<List of Names|> Annual Training Hours|<Organization|DateCreated|"
                                "SortName|RecNum"),
                 SummaryColumns, Name, 2600);
    c_.gridSummary->SetColWidth(Second, 1850);
    ZovButton* button = c_.cmdAnnualSummary;
    button->SetTag(button->Caption());
    YearSummary summary;
    store::StoreResult result;
    auto rows = std::make_shared<ResultRows>(columns_);
    {
        WindowBusy busy(host_.Window());
        result = SumYear(
            Identities(persons), year, summary,
            [this, button](int percent) { ShowProgress(button, percent); }, choice);
        if (result) {
            for (const YearTotal& row : summary.rows)
                rows->Add(persons.rows[std::size_t(row.person)], row.hours.Text());
            AddRows(std::move(rows));
        }
    }
    if (!result) {
        PassFailed(button, result);
        return;
    }

    if (listgrid::DataRows(*c_.gridSummary) > 0) {
        c_.lblTotalHours->setText(QStringLiteral("Total Hours: ") + summary.total.Text());
        c_.lblTotalHours->show();
        QString count = PersonsText(summary.summarised);
        if (choice.required > 0)
            count += QStringLiteral("; %1 below %2 hours")
                         .arg(summary.below)
                         .arg(formats::SingleText(choice.required));
        EndResults(Shown::Summary, columns_.organization,
                   QStringLiteral("Annual Summary - ") + yearText, {}, count);
    } else {
        NothingFound(button, {QStringLiteral("There were no training records"),
                              QStringLiteral("found in the year ") + yearText});
    }
    SetButton(button, button->Tag(), button->toolTip());
}

// ---- Results ----------------------------------------------------------------------------------

void SearchPage::BeginResults(const QString& format, const ResultColumns& columns, int widthCol,
                              int width) {
    FlexGrid& grid = *c_.gridSummary;
    results_.reset();
    columns_ = columns;
    listgrid::BeginFill(grid, format, columns.Count(), RowsInView);
    grid.SetColWidth(widthCol, width);
    grid.SetColSel(columns.LastShown());
}

void SearchPage::EndResults(Shown shown, int widenCol, const QString& caption,
                            const QString& criteriaCaption, const QString& countLine) {
    FlexGrid& grid = *c_.gridSummary;
    // Set before the page shows, so that a screen reader reads it with the page.
    c_.lblPersonCount->setText(countLine);
    c_.lblPersonCount->show();
    listgrid::SortOn(grid, columns_.sortName);
    listgrid::ShadeEvenRows(grid, columns_.LastShown());
    listgrid::ShowAndWiden(grid, widenCol, columns_.identity);
    listgrid::SelectRow(grid, 1, columns_.LastShown(), true);
    shown_ = shown;
    emit ResultsOpened(caption, criteriaCaption);
    grid.setFocus();
    host_.StartFlashing(c_.cmdFinishedSummary);
}

void SearchPage::ShowProgress(ZovButton* button, int percent) {
    button->SetCaption(formats::ZeroPercent(percent / 100.0));
    button->Refresh();
    button->repaint();
}

// The walk over the training records stopped: the results page stays empty and the user
// learns which file and why.
void SearchPage::PassFailed(ZovButton* button, const store::StoreResult& result) {
    c_.gridSummary->SetRows(1);
    c_.gridSummary->SetRedraw(true);
    SetButton(button, button->Tag(), button->toolTip());
    forms::ShowStoreProblem(result);
}

void SearchPage::NothingFound(ZovButton* button, const QStringList& lines) {
    button->SetCaption(QStringLiteral("Search Complete!"));
    button->Refresh();
    forms::Tell(QStringLiteral("No Matching Records"), lines, forms::Icon::Stop);
}

void SearchPage::cmdFinishedSummary_Click() {
    // What a search locked is unlocked whatever the options show now.
    const bool search = shown_ == Shown::Search;
    shown_ = Shown::None;
    results_.reset();
    host_.StopFlashing();
    emit ResultsClosed();
    if (search) {
        c_.frame[1]->setEnabled(true);
        c_.cmdMatch->show();
        c_.optSearch[2]->setEnabled(true);
    }
    c_.gridSummary->SetRows(2);
    c_.gridSummary->SetCols(1);
    c_.lblTotalHours->clear();
    c_.lblTotalHours->hide();
    c_.lblPersonCount->clear();
    c_.lblPersonCount->hide();
}

void SearchPage::cmdSummaryTrainingHistory_Click() {
    const ListRecord highlighted = Highlighted();
    if (highlighted.recNum < 1)
        return;
    const FlexGrid& grid = *c_.gridSummary;
    training::HistorySubject subject;
    subject.person = {grid.TextMatrix(grid.Row(), Name), highlighted.recNum};
    subject.readOnly = true;
    subject.session = host_.SignedIn();
    training::ShowTrainingHistory(host_.Window(), subject);
}

} // namespace search
