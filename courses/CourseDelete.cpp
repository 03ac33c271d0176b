#include "courses/CourseDelete.h"

#include "courses/CourseGrid.h"
#include "lobby/ListGrid.h"
#include "lobby/LobbyBusy.h"
#include "lobby/LobbyMessages.h"
#include "lobby/frmLobby.h"
#include "platform/Events.h"
#include "signin/StoreProblem.h"
#include "store/Removal.h"
#include "ui/FlexGrid.h"

#include <QFile>
#include <algorithm>

void DeleteHighlightedCourse(frmLobby& lobby) {
    FlexGrid& grid = *lobby.gridCourse;
    const int row = grid.Row();
    const qint32 recNum = listgrid::CellNumber(grid, row, coursegrid::RecNum);
    if (recNum < 1)
        return; // no course highlighted
    const QString code = grid.TextMatrix(row, coursegrid::Code);

    const int answer = lobbymsg::Ask(
        QStringLiteral("Confirm"), 3,
        {QStringLiteral("Are you SURE you want to remove"), QStringLiteral("Course Code  ") + code,
         QStringLiteral("from the 'Course Index'?")},
        2, {QStringLiteral("&Yes, remove"), QStringLiteral("&No, do NOT remove")});
    if (answer != 1)
        return;

    store::StoreResult removed;
    {
        const LobbyBusy busy(lobby);
        removed = store::RemoveMarkedRecord(store::DataFile::CourseIndex, recNum);
    }
    if (!removed)
        signin::ShowStoreProblem(removed);

    // The list shows what is on file now, whether or not the removal went through.
    const int above =
        QFile::exists(store::FileNameOf(store::DataFile::CourseIndex)) ? std::max(1, row - 1) : 0;
    UpdateCourseGrid(lobby);
    platform::DoEvents();
    if (grid.Visible() && above > 0)
        listgrid::SelectRow(grid, above, coursegrid::LastShownCol, true);
    lobby.SetUpLobbyButtons();
    if (removed && grid.Visible()) {
        lobbymsg::Notice(QStringLiteral("Course Removed"),
                         {QStringLiteral("The course has been removed"),
                          QStringLiteral("from the 'Course Index'.")});
    }
}
