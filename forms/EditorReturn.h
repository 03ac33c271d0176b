#pragma once

#include "forms/RunModal.h"
#include "ui/Form.h"
#include "ui/Session.h"

#include <QString>

// What a record editor tells whoever opened it once it has closed.
struct EditorResult {
    // The list changed on file: saved here, or found changed elsewhere and to be reloaded.
    // Whoever opened the window fills the list again and highlights `identity`.
    bool saved = false;
    double identity = 0; // the saved record's DateCreated
    qint32 recNum = 0;   // and its record number
};

// Shows a record editor modally over `parent` for `session`: adding when `adding`, else
// viewing or editing record `recNum`. Returns what the editor did.
template <class Editor>
EditorResult RunEditor(Form& parent, const Session& session, bool adding, qint32 recNum) {
    auto* editor = new Editor(&parent, session, adding ? 0 : recNum);
    editor->SetTag(adding ? Editor::AddModeTag() : Editor::EditModeTag());
    // An editor closed for good saved nothing.
    return forms::RunModal(parent, editor, [](Editor& shown) { return shown.Result(); });
}
