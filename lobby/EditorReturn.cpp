#include "lobby/EditorReturn.h"

#include "lobby/ListGrid.h"
#include "lobby/frmLobby.h"
#include "platform/Events.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"

QString UpdateTag() {
    return QStringLiteral("Update");
}

void AfterEditor(frmLobby& lobby, ZovButton* pressed, const SavedRow& saved,
                 const std::function<void()>& refill) {
    if (pressed->Tag() != UpdateTag())
        return;
    refill();
    platform::DoEvents();
    // A single row is highlighted already; there is nothing to choose between.
    if (listgrid::DataRows(*saved.grid) >= 2) {
        const int row = listgrid::FindRow(*saved.grid, saved.keyCol, saved.isSaved);
        if (row > 0)
            listgrid::SelectRow(*saved.grid, row, saved.lastCol, true);
    }
    lobby.SetUpLobbyButtons();
    pressed->SetTag(QString());
}
