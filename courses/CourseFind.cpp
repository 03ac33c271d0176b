#include "courses/CourseFind.h"

#include "courses/CourseGrid.h"
#include "lobby/ListGrid.h"
#include "lobby/LobbyMessages.h"
#include "lobby/frmLobby.h"
#include "platform/StandardDialogs.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"

#include <QTabWidget>
#include <QTimer>

namespace {
const QString CrLf = QStringLiteral("\r\n");
}

void CourseFind::cmdSearch_Click() {
    if (!on_) {
        SearchText = platform::InputBox(
            QStringLiteral("Find Course(s)"),
            QStringLiteral("Which course are you looking for?") + CrLf + CrLf +
                QStringLiteral("(Enter any word or sequence of characters,") + CrLf +
                QStringLiteral("whole or partial, you wish to search for)"),
            SearchText, &lobby_);
        if (SearchText.isEmpty())
            return;
        Begin();
    }
    if (FindNext())
        return;
    lobby_.cmdSearch->hide();
    lobby_.cmdQuitSearching->hide();
    lobbymsg::Notice(QStringLiteral("No match"),
                     {QStringLiteral("The text '") + SearchText + QStringLiteral("'"),
                      QStringLiteral("could not be found in this 'Course Index'.")});
    lobby_.cmdSearch->show();
    cmdQuitSearching_Click();
}

void CourseFind::Begin() {
    ZovButton* search = lobby_.cmdSearch;
    ZovButton* quit = lobby_.cmdQuitSearching;
    search->resize(quit->x() - search->x(), search->height());
    search->SetTag(search->Caption());
    search->SetCaption(QStringLiteral("Find Next..."));
    search->setToolTip(QStringLiteral(" Looking for '") + SearchText + QStringLiteral("' "));

    lobby_.tabMain->setTabEnabled(frmLobby::SearchOptionsPage, false);
    for (ZovButton* button :
         {lobby_.cmdAdminWindow, lobby_.cmdCreditTraining, lobby_.cmdAddCourse,
          lobby_.cmdEditCourse, lobby_.cmdDeleteCourse, lobby_.cmdPrintCourseIndex})
        button->hide();
    quit->show();
    on_ = true;
    lobby_.timerFlashButton->start();
}

bool CourseFind::FindNext() {
    FlexGrid& grid = *lobby_.gridCourse;
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
    lobby_.timerFlashButton->stop();
    // The button set-up that follows enables the page again where its rule allows.
    lobby_.tabMain->setTabEnabled(frmLobby::SearchOptionsPage, false);
    ZovButton* search = lobby_.cmdSearch;
    search->resize(search->width() + lobby_.cmdQuitSearching->width(), search->height());
    search->SetCaption(search->Tag());
    search->setToolTip(QString());
    lobby_.cmdAdminWindow->show();
    lobby_.cmdQuitSearching->hide();
}

void CourseFind::cmdQuitSearching_Click() {
    End();
    lobby_.SetUpLobbyButtons();
}
