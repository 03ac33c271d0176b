#pragma once

#include "store/StoreResult.h"
#include "ui/FlexGridSource.h"
#include "ui/Session.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <memory>
#include <optional>

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

namespace coursegrid {

// The rows of one fill: a copy of the index as it was read, whose cells are decoded when the
// grid shows or reads them. Of 32,767 courses the user sees fifteen at a time, and the sort
// needs only their codes. The items are the record numbers.
class CourseRows : public FlexGridSource {
public:
    explicit CourseRows(QByteArray records);

    qint32 Count() const;
    void AppendCell(qint32 item, int col, QString& out) const override;
    // The text of column `col` of record `recNum`, as the grid shows it.
    QString Cell(qint32 recNum, int col) const;
    // The DateCreated of record `recNum` as stored; 0 for a record not listed.
    double Identity(qint32 recNum) const;
    // The hours of record `recNum` as stored, where its row shows hours; none for a category
    // heading or a record not listed.
    std::optional<float> StoredHours(qint32 recNum) const;

private:
    const char* RecordOf(qint32 recNum) const;
    // A course without hours is a category heading: its cell stays empty.
    static bool ShowsHours(float hours) { return hours > 0; }
    // An index holds few distinct hours, and formatting one is dear, so each is formatted
    // once.
    void AppendHours(float hours, QString& out) const;

    QByteArray records_; // every record of Course.Index, Length bytes each
    mutable QHash<float, QString> hoursCells_;
};

} // namespace coursegrid

// Rebuilds `grid` from Course.Index: the first fill highlights row 1, later ones keep the
// highlighted row where they can. A file that cannot be read leaves the list empty.
// `listed` becomes the rows the grid now holds (none when the file could not be read).
store::StoreResult FillCourseGrid(FlexGrid& grid, bool firstFill,
                                  std::shared_ptr<const coursegrid::CourseRows>& listed);

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
