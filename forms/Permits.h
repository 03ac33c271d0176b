#pragma once

#include "ui/Session.h"

// Who may write what: the one table of the program's access rules, asked again at the point
// of every write. A button greyed by level is only a hint; assistive and scripting tools can
// still press it or type into a locked box, so the write itself checks.
namespace forms {

// Each kind of write the program does for a signed-in user.
enum class Action {
    EditRecord,      // save a changed person or course, and carry a course into its records
    AddRecord,       // save a new person or course
    DeleteRecord,    // remove a person or a course
    Credit,          // credit a course to persons
    EditTraining,    // change a training record
    DeleteTraining,  // remove a training record
    BackupRestore,   // copy the data files out or back
    SetRequirements, // the training hours required of every person in a year
    AdministerUsers, // add, change or remove users, name the organization
};

// The table itself: editing needs Read/Edit, adding and crediting Read/Edit/Add, removing,
// backup or restore and the required hours Read/Edit/Add/Delete; users only in admin mode. On a
// station that only reads, the level counts as Read Only and admin mode as closed (Session::Level).
bool Permits(const Session& session, Action action);

// Checks `session` before a write; a refusal is told ("nothing was saved") and the result is
// false.
bool MayWrite(const Session& session, Action action);

// The refusal MayWrite tells, also for a window that only shows its record.
void TellNotAllowed(const Session& session, Action action);

} // namespace forms
