#include "courses/CourseGrid.h"

#include "courses/frmAddEditCourse.h"
#include "lobby/EditorReturn.h"
#include "lobby/ListGrid.h"
#include "lobby/LobbyBusy.h"
#include "lobby/LobbyMessages.h"
#include "lobby/frmLobby.h"
#include "signin/StoreProblem.h"
#include "store/Formats.h"
#include "store/RecordStore.h"
#include "ui/FlexGrid.h"
#include "ui/Globals.h"
#include "ui/ZovButton.h"

#include <QHash>

using coursegrid::Column;
using coursegrid::LastShownCol;

namespace {

const QString CourseFormat =
    QStringLiteral("<Course Code|<Name of Course|<Provided by|>Hours|ID|RecNum");
constexpr int ColumnCount = 6;
constexpr int RowsInView = 15;

// The hours cells of one fill. A course without hours is a category heading: its cell stays
// empty. An index holds few distinct hours, and formatting one is dear, so each is
// formatted once.
class HoursCells {
public:
    QString Cell(float hours) {
        if (!(hours > 0))
            return QString();
        auto found = cells_.constFind(hours);
        if (found == cells_.cend())
            found = cells_.insert(hours, formats::Hours(hours));
        return *found;
    }

private:
    QHash<float, QString> cells_;
};

store::StoreResult AddRows(FlexGrid& grid) {
    auto& courses = store::Courses();
    const QChar tab = QLatin1Char('\t');
    HoursCells hours;
    for (qint32 n = 1; n <= store::CourseCount(); ++n) {
        if (const store::StoreResult read = courses.Read(n); !read)
            return read;
        const store::CourseRecord& c = courses.Buffer();
        grid.AddItem(c.CourseCode.trimmed() + tab + c.CourseName.trimmed() + tab +
                     c.ProvidedBy.trimmed() + tab + hours.Cell(c.Hours) + tab +
                     CourseKeyText(c.DateCreated) + tab + QString::number(n));
    }
    return store::StoreResult::Ok();
}

store::StoreResult FillCourseGrid(frmLobby& lobby) {
    FlexGrid& grid = *lobby.gridCourse;
    listgrid::BeginFill(grid, CourseFormat, ColumnCount, RowsInView);
    grid.SetColSel(LastShownCol);

    store::StoreResult result = store::OpenCourseIndex();
    if (result)
        result = AddRows(grid);
    store::CloseCourseIndex();
    if (!result) {
        // Half a list would look complete: show none.
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
    listgrid::ShowAndWiden(grid, Column::Name, Column::Key);
    if (!lobby.CourseGridFilled)
        listgrid::SelectRow(grid, 1, LastShownCol, true);
    else
        listgrid::EnsureCurrentRow(grid, LastShownCol);
    return result;
}

} // namespace

void UpdateCourseGrid(frmLobby& lobby) {
    store::StoreResult result;
    {
        const LobbyBusy busy(lobby);
        result = FillCourseGrid(lobby);
        lobby.CourseGridFilled = true;
    }
    // The highlighted row may be another course now, with or without hours.
    UpdateCreditButton(lobby);
    if (!result)
        signin::ShowStoreProblem(result);
}

void UpdateCreditButton(frmLobby& lobby) {
    const FlexGrid& grid = *lobby.gridCourse;
    if (listgrid::DataRows(grid) < 1)
        return;
    const double hours = formats::LeadingNumber(grid.TextMatrix(grid.Row(), Column::Hours));
    lobby.cmdCreditTraining->setEnabled(Globals().SignedInAccessLevel >= 3 && hours > 0);
}

QString CourseKeyText(double dateCreated) {
    return formats::GeneralDate(dateCreated);
}

bool IsCourseKey(const QString& text, double dateCreated) {
    const std::optional<double> value = formats::ParseGeneralDate(text);
    return value && formats::WholeSecondValue(*value) == formats::WholeSecondValue(dateCreated);
}

void OpenCourseEditor(frmLobby& lobby, ZovButton* pressed) {
    const bool adding = pressed == lobby.cmdAddCourse;
    const qint32 recNum =
        listgrid::CellNumber(*lobby.gridCourse, lobby.gridCourse->Row(), Column::RecNum);
    if (!adding && recNum < 1)
        return; // no course highlighted
    RunEditor<frmAddEditCourse>(lobby, pressed, adding, recNum);
    // Taken before the rebuild, which reads every course through the same buffer.
    const double saved = store::Courses().Buffer().DateCreated;
    AfterEditor(lobby, pressed,
                {lobby.gridCourse, Column::Key, LastShownCol,
                 [saved](const QString& key) { return IsCourseKey(key, saved); }},
                [&lobby] { UpdateCourseGrid(lobby); });
}
