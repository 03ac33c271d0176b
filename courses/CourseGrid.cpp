#include "courses/CourseGrid.h"

#include "courses/frmAddEditCourse.h"
#include "forms/EditorReturn.h"
#include "forms/ListGrid.h"
#include "forms/LobbyDoor.h"
#include "forms/Permits.h"
#include "store/Formats.h"
#include "store/RecordStore.h"
#include "ui/AppTitle.h"
#include "ui/FlexGrid.h"
#include "ui/FlexGridSource.h"
#include "ui/ZovButton.h"

#include <QHash>
#include <algorithm>
#include <memory>

using coursegrid::Column;
using coursegrid::LastShownCol;

namespace {

const QString CourseFormat =
    QStringLiteral("<Course Code|<Name of Course|<Provided by|>Hours|ID|RecNum");
constexpr int ColumnCount = 6;
constexpr int RowsInView = 15;

store::StoreResult AddRows(FlexGrid& grid, std::shared_ptr<const coursegrid::CourseRows>& listed) {
    QByteArray records;
    if (const store::StoreResult read = store::Courses().File().ReadAll(records); !read)
        return read;
    auto rows = std::make_shared<const coursegrid::CourseRows>(std::move(records));
    const qint32 count = rows->Count();
    listed = rows;
    grid.AddItems(std::move(rows), count);
    return store::StoreResult::Ok();
}

} // namespace

coursegrid::CourseRows::CourseRows(QByteArray records) : records_(std::move(records)) {}

qint32 coursegrid::CourseRows::Count() const {
    return static_cast<qint32>(records_.size() / store::CourseRecord::Length);
}

void coursegrid::CourseRows::AppendCell(qint32 item, int col, QString& out) const {
    using store::CourseRecord;
    if (item < 1 || item > Count())
        return;
    const char* bytes = RecordOf(item);
    switch (col) {
    case Column::Code:
        return store::AppendShownField(out, bytes, CourseRecord::CodeSpan);
    case Column::Name:
        return store::AppendShownField(out, bytes, CourseRecord::NameSpan);
    case Column::ProvidedBy:
        return store::AppendShownField(out, bytes, CourseRecord::ProviderSpan);
    case Column::Hours:
        return AppendHours(CourseRecord::HoursRaw(bytes), out);
    case Column::Key:
        out += CourseKeyText(CourseRecord::DateCreatedRaw(bytes));
        return;
    case Column::RecNum:
        out += QString::number(item);
        return;
    default:
        return;
    }
}

QString coursegrid::CourseRows::Cell(qint32 recNum, int col) const {
    QString text;
    AppendCell(recNum, col, text);
    return text;
}

const char* coursegrid::CourseRows::RecordOf(qint32 recNum) const {
    return records_.constData() + qsizetype(recNum - 1) * store::CourseRecord::Length;
}

double coursegrid::CourseRows::Identity(qint32 recNum) const {
    if (recNum < 1 || recNum > Count())
        return 0;
    return store::CourseRecord::DateCreatedRaw(RecordOf(recNum));
}

std::optional<float> coursegrid::CourseRows::StoredHours(qint32 recNum) const {
    if (recNum < 1 || recNum > Count())
        return std::nullopt;
    const float hours = store::CourseRecord::HoursRaw(RecordOf(recNum));
    if (!ShowsHours(hours))
        return std::nullopt;
    return hours;
}

void coursegrid::CourseRows::AppendHours(float hours, QString& out) const {
    if (!ShowsHours(hours))
        return;
    auto found = hoursCells_.constFind(hours);
    if (found == hoursCells_.cend())
        found = hoursCells_.insert(hours, formats::Hours(hours));
    out += *found;
}

store::StoreResult FillCourseGrid(FlexGrid& grid, bool firstFill,
                                  std::shared_ptr<const coursegrid::CourseRows>& listed) {
    listgrid::BeginFill(grid, CourseFormat, ColumnCount, RowsInView);
    grid.SetColSel(LastShownCol);

    listed.reset();
    store::StoreResult result = store::OpenCourseIndex();
    if (result)
        result = AddRows(grid, listed);
    store::CloseCourseIndex();
    if (!result) {
        // Half a list would look complete: show none.
        listed.reset();
        grid.SetRows(1);
        grid.SetRedraw(true);
        return result;
    }

    listgrid::SortOn(grid, Column::Code);
    if (listgrid::DataRows(grid) == 0) {
        // An empty index needs no notice: the page then offers Add Course alone.
        grid.SetRedraw(true);
        return result;
    }
    listgrid::ShadeEvenRows(grid, LastShownCol);
    grid.SetColWidth(Column::Name, 3600);
    grid.SetColWidth(Column::ProvidedBy, 3200);
    // The heading alone is narrower than the widest code the field holds.
    grid.SetColWidth(Column::Code, std::max(grid.ColWidth(Column::Code),
                                            grid.TwipsToShow(QStringLiteral("WWWWWWWW"))));
    listgrid::ShowAndWiden(grid, Column::Name, Column::Key);
    if (firstFill)
        listgrid::SelectRow(grid, 1, LastShownCol, true);
    else
        listgrid::EnsureCurrentRow(grid, LastShownCol);
    return result;
}

void UpdateCreditButton(const FlexGrid& grid, ZovButton* credit, const Session& session) {
    if (listgrid::DataRows(grid) < 1)
        return;
    const double hours = formats::LeadingNumber(grid.TextMatrix(grid.Row(), Column::Hours));
    credit->setEnabled(forms::Permits(session, forms::Action::Credit) && hours > 0);
}

QString CourseKeyText(double dateCreated) {
    return formats::GeneralDate(dateCreated);
}

bool IsCourseKey(const QString& text, double dateCreated) {
    // Two stamps give the same key text exactly when they fall in the same whole second, so
    // comparing texts answers what converting the text back would, at a fraction of the cost
    // of converting every row's key when a saved course is looked for among thousands.
    const QString key = CourseKeyText(dateCreated);
    return !key.isEmpty() && text == key;
}

void OpenCourseEditor(LobbyDoor& door, bool adding) {
    const qint32 recNum = door.Highlighted(LobbyList::Courses).recNum;
    if (!adding && recNum < 1)
        return; // no course highlighted
    const EditorResult result =
        RunEditor<frmAddEditCourse>(door.Window(), door.SignedIn(), adding, recNum);
    if (result.saved)
        door.ListChanged(LobbyList::Courses, CourseKeyText(result.identity));
}
