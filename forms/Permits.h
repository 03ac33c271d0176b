#pragma once

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
    AdministerUsers, // add, change or remove users, name the organization
};

// What the rules are read from: the signed-in level (1 Read Only to 4 Read/Edit/Add/Delete,
// 0 for nobody) and whether the access code opened the user administration.
struct Session {
    int level = 0;
    bool adminMode = false;
};

// The table itself: editing needs Read/Edit, adding and crediting Read/Edit/Add, removing and
// backup or restore Read/Edit/Add/Delete; users only in admin mode.
bool Permits(const Session& session, Action action);

// The session as it stands: on a station that only reads, the level is at most Read Only and
// admin mode is closed, whatever the window that set them believed.
Session CurrentSession();

// Checks the current session before a write; a refusal is told ("nothing was saved") and the
// result is false.
bool MayWrite(Action action);

// The refusal MayWrite tells, also for a window that only shows its record.
void TellNotAllowed(Action action);

} // namespace forms
