#pragma once

#include "lobby/frmLobby.h"

#include <QPointer>
#include <QString>
#include <functional>

class FlexGrid;
class ZovButton;

// How the Lobby finds a saved record in one of its grids again.
struct SavedRow {
    FlexGrid* grid = nullptr;
    int keyCol = 0;  // the hidden identity column
    int lastCol = 0; // a highlighted row shows columns 0 to lastCol selected
    std::function<bool(const QString&)> isSaved; // the saved record's identity cell
};

// After an editor opened from `pressed` has closed: when it saved (the button's Tag is
// "Update"), refills the list with `refill`, highlights the saved record when the list shows
// it among two or more rows, sets the buttons up again and clears the Tag. When the editor
// was cancelled nothing changes.
void AfterEditor(frmLobby& lobby, ZovButton* pressed, const SavedRow& saved,
                 const std::function<void()>& refill);

// Shows an editor of the Lobby's lists modally: adding when `adding`, else viewing or
// editing record `recNum`; `pressed` is the button it reports a save to.
template <class Editor>
void RunEditor(frmLobby& lobby, ZovButton* pressed, bool adding, qint32 recNum) {
    // An editor may delete itself when it closes.
    QPointer<Editor> editor = new Editor(&lobby, adding ? 0 : recNum, pressed);
    editor->SetTag(adding ? Editor::AddModeTag() : Editor::EditModeTag());
    editor->ShowModal(&lobby);
    delete editor.data();
}

// The Tag an editor leaves on the Lobby button that opened it when it saved.
QString UpdateTag();
