#include "courses/CourseDelete.h"

#include "courses/CourseGrid.h"
#include "forms/ListGrid.h"
#include "forms/LobbyDoor.h"
#include "forms/Messages.h"
#include "forms/Permits.h"
#include "forms/StoreProblem.h"
#include "forms/WindowBusy.h"
#include "store/Removal.h"
#include "ui/FlexGrid.h"

void DeleteHighlightedCourse(LobbyDoor& door, const FlexGrid& grid) {
    const int row = grid.Row();
    const qint32 recNum = listgrid::CellNumber(grid, row, coursegrid::RecNum);
    if (recNum < 1)
        return; // no course highlighted
    if (!forms::MayWrite(door.SignedIn(), forms::Action::DeleteRecord))
        return;
    const QString code = grid.TextMatrix(row, coursegrid::Code);

    const int answer = forms::Ask(
        QStringLiteral("Confirm"), forms::Icon::Question,
        {QStringLiteral("Are you SURE you want to remove"), QStringLiteral("Course Code  ") + code,
         QStringLiteral("from the 'Course Index'?")},
        2, {QStringLiteral("&Yes, remove"), QStringLiteral("&No, do NOT remove")});
    if (answer != 1)
        return;

    store::StoreResult removed;
    {
        const WindowBusy busy(door.Window());
        removed = store::RemoveMarkedRecord(store::DataFile::CourseIndex, recNum);
    }
    if (!removed)
        forms::ShowStoreProblem(removed);

    // The list shows what is on file now, whether or not the removal went through, with the
    // course above the removed one highlighted; a removed first course leaves its place to
    // the one below it.
    const int next = row > 1 ? row - 1 : (removed ? row + 1 : row);
    const QString nextKey = next < grid.Rows() ? grid.TextMatrix(next, coursegrid::Key) : QString();
    door.ListChanged(LobbyList::Courses, nextKey);
    if (removed && grid.Visible()) {
        forms::Tell(QStringLiteral("Course Removed"),
                    {QStringLiteral("The course has been removed"),
                     QStringLiteral("from the 'Course Index'.")});
    }
}
