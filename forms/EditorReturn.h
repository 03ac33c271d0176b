#pragma once

#include "forms/RunModal.h"
#include "store/RecordStore.h"
#include "ui/EditorForm.h"
#include "ui/Form.h"
#include "ui/Session.h"

#include <QByteArray>
#include <QString>
#include <optional>

// What a record editor tells whoever opened it once it has closed.
struct EditorResult {
    // The list changed on file: saved here, or found changed elsewhere and to be reloaded.
    // Whoever opened the window fills the list again and highlights `identity`.
    bool saved = false;
    double identity = 0; // the saved record's DateCreated
    qint32 recNum = 0;   // and its record number
};

// The same, with the record as the editor wrote it; empty when it wrote none (a record found
// changed elsewhere is reloaded, not written).
template <class Record> struct EditorResultOf : EditorResult { std::optional<Record> record; };

// Where the record an editor opens on comes from: nothing yet in add mode; in edit mode its
// number in the list, its identity (DateCreated) and bytes as read (a later save compares
// them with the file) and whether it could be read at all.
struct EditorSource {
    EditorMode mode = EditorMode::Add;
    qint32 recNum = 0;
    double identity = 0;
    QByteArray onFile;
    store::StoreResult read;
};

// The record an editor opens on: a new one to add, or one of the list as read from its file.
template <class Record> struct EditorRecord : EditorSource {
    Record record;

    static EditorRecord New(Record fresh) {
        EditorRecord opened;
        opened.record = std::move(fresh);
        return opened;
    }

    // A record that cannot be read is told by the editor when it opens, which then only shows.
    static EditorRecord Read(store::RecordTable<Record>& table, qint32 recNum) {
        EditorRecord opened;
        opened.mode = EditorMode::Edit;
        opened.recNum = recNum;
        opened.read = table.Open();
        if (opened.read)
            opened.read = table.Read(recNum);
        if (opened.read)
            opened.read = table.File().ReadRaw(recNum, opened.onFile);
        opened.record = table.Buffer();
        opened.identity = opened.record.DateCreated;
        table.Close();
        return opened;
    }
};

// Shows a record editor modally over `parent` for `session`: adding when `adding`, else
// viewing or editing record `recNum`. Returns what the editor did.
template <class Editor>
EditorResultOf<typename Editor::Record> RunEditor(Form& parent, const Session& session, bool adding,
                                                  qint32 recNum) {
    auto* editor =
        new Editor(&parent, session, adding ? Editor::ForAdding() : Editor::ForEditing(recNum));
    // An editor closed for good saved nothing.
    return forms::RunModal(parent, editor, [](Editor& shown) { return shown.Result(); });
}
