#pragma once

#include "store/StoreResult.h"
#include "ui/Session.h"

#include <QString>

class FlexGrid;
class LobbyDoor;
class ZovButton;

// The Course Index page: gridCourse filled from Course.Index, sorted by course code.
//
// Columns: 0 code, 1 name, 2 provider, 3 hours ("###.0", empty for a category heading), and
// beyond the right edge 4 the course's identity (DateCreated as CourseKeyText) and 5 RecNum,
// the record number in Course.Index.
namespace coursegrid {
enum Column { Code = 0, Name = 1, ProvidedBy = 2, Hours = 3, Key = 4, RecNum = 5 };
constexpr int LastShownCol = Hours;
} // namespace coursegrid

// Rebuilds `grid` from Course.Index: the first fill highlights row 1, later ones keep the
// highlighted row where they can. A file that cannot be read leaves the list empty.
store::StoreResult FillCourseGrid(FlexGrid& grid, bool firstFill);

// Credit may be pressed for a course with hours, from Read/Edit/Add up.
void UpdateCreditButton(const FlexGrid& grid, ZovButton* credit, const Session& session);

// A course's identity as the grid's column 4 holds it: the general date-and-time text,
// which reads back as the same whole-second value.
QString CourseKeyText(double dateCreated);
// Whether a column 4 text (a CourseKeyText) names the course created at `dateCreated`: one
// created in the same whole second.
bool IsCourseKey(const QString& text, double dateCreated);

// Opens the course editor to add a course or for the highlighted course; after a save the
// Lobby rebuilds the list with the saved course highlighted.
void OpenCourseEditor(LobbyDoor& door, bool adding);
