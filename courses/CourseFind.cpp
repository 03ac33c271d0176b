#include "courses/CourseFind.h"

#include "courses/CourseGrid.h"
#include "forms/ListGrid.h"
#include "forms/LobbyDoor.h"
#include "forms/Messages.h"
#include "platform/StandardDialogs.h"
#include "ui/CrLf.h"
#include "ui/FlexGrid.h"
#include "ui/Form.h"
#include "ui/PlainText.h"
#include "ui/ZovButton.h"

namespace {
using ui::CrLf;
}

void CourseFind::cmdSearch_Click() {
    if (!on_) {
        SearchText = platform::InputBox(
            QStringLiteral("Find Course(s)"),
            QStringLiteral("Which course are you looking for?") + CrLf + CrLf +
                QStringLiteral("(Enter any word or sequence of characters,") + CrLf +
                QStringLiteral("whole or partial, you wish to search for)"),
            SearchText, &door_.Window());
        if (SearchText.isEmpty())
            return;
        Begin();
    }
    if (FindNext())
        return;
    c_.cmdSearch->hide();
    c_.cmdQuitSearching->hide();
    forms::Tell(QStringLiteral("No match"),
                {QStringLiteral("The text '") + SearchText + QStringLiteral("'"),
                 QStringLiteral("could not be found in this 'Course Index'.")});
    c_.cmdSearch->show();
    cmdQuitSearching_Click();
}

void CourseFind::Begin() {
    ZovButton* search = c_.cmdSearch;
    ZovButton* quit = c_.cmdQuitSearching;
    normalWidth_ = search->width();
    search->resize(quit->x() - search->x(), search->height());
    search->SetTag(search->Caption());
    search->SetCaption(QStringLiteral("Find Next..."));
    search->setToolTip(
        ui::PlainToolTip(QStringLiteral(" Looking for '") + SearchText + QStringLiteral("' ")));

    door_.HoldLobby(true);
    for (ZovButton* button : {c_.cmdCreditTraining, c_.cmdAddCourse, c_.cmdEditCourse,
                              c_.cmdDeleteCourse, c_.cmdPrintCourseIndex, c_.cmdImportTraining})
        button->hide();
    quit->show();
    on_ = true;
    door_.StartFlashing(quit);
}

bool CourseFind::FindNext() {
    FlexGrid& grid = *c_.gridCourse;
    const int last = grid.Rows() - 1;
    if (last < 1)
        return false;
    const QString wanted = SearchText.toLower();
    // Every row is tried once, the current one last; without a current row the search
    // starts at the top.
    const int start = grid.Row() >= 1 ? grid.Row() : last;
    int row = start;
    do {
        row = row < last ? row + 1 : 1;
        const QString text = grid.TextMatrix(row, coursegrid::Code) + QLatin1Char(' ') +
                             grid.TextMatrix(row, coursegrid::Name);
        if (text.toLower().contains(wanted)) {
            listgrid::SelectRow(grid, row, coursegrid::LastShownCol, false);
            if (!grid.RowIsVisible(row))
                grid.SetTopRow(row);
            return true;
        }
    } while (row != start);
    return false;
}

void CourseFind::End() {
    if (!on_)
        return;
    on_ = false;
    door_.StopFlashing();
    ZovButton* search = c_.cmdSearch;
    search->resize(normalWidth_, search->height());
    search->SetCaption(search->Tag());
    search->setToolTip(QString());
    door_.HoldLobby(false);
    c_.cmdQuitSearching->hide();
}

void CourseFind::cmdQuitSearching_Click() {
    End();
    door_.SetUpButtons();
}
