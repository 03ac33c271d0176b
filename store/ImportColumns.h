#pragma once

#include "store/Csv.h"
#include "store/StoreResult.h"

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

// What imports of training history and of persons from a spreadsheet share: the fields a
// column can feed, the matching of columns by their headings, a row's verdict and the file of
// rejected rows. No window here; the import windows show and change what these give.
namespace store::csvimport {

enum class Field {
    Identity, // a person's DateCreated, as exported
    LastName,
    FirstName,
    MiddleName,
    CourseCode,
    Date,
    Hours,
    Comments,
    Organization,
    EmployeeID,
    Active,
};
constexpr int kFieldCount = int(Field::Active) + 1;

enum class Kind { Training, Persons };

// The fields an import of `kind` reads, in the order a window lists them.
const std::vector<Field>& FieldsOf(Kind kind);
// The field's name as the windows show it: "Last Name", "Person Identity", "Course Code".
QString Caption(Field field);

// Which column (0-based) feeds each field; -1 for none.
class ColumnMap {
public:
    ColumnMap() { column_.fill(-1); }
    int Column(Field field) const { return column_[std::size_t(field)]; }
    // Feeds `field` from `column` (-1: from none). A column feeds one field: another field
    // that `column` fed before loses it.
    void Set(Field field, int column);

private:
    std::array<int, kFieldCount> column_;
};

// Matches the heading's columns to the fields of `kind` by name, letter case, blanks and
// punctuation ignored, with the usual other names ("Last Name", "LastName", "last",
// "Surname"; "Identity", "Person Identity"; "Code"; "Training Date"; ...). The first column of
// a name wins; columns of no field's name feed nothing.
ColumnMap MatchColumns(const QStringList& heading, Kind kind);

// The fields the rows cannot do without that no column feeds, by caption; empty when the
// rows can be read. Training needs a course code, a date and a person (an identity, or a
// last and a first name); persons need a last and a first name.
QStringList MissingFields(const ColumnMap& map, Kind kind);

// The text of `field` in `record`, trimmed; empty when no column feeds it or the row is short.
QString Cell(const csv::Record& record, const ColumnMap& map, Field field);

// Why a row cannot be imported.
enum class Reason {
    None, // it can
    Ragged,
    UnknownPerson,
    AmbiguousPerson,
    UnknownCourse,
    AmbiguousCourse,
    CategoryHeading,
    BadDate,
    ImplausibleDate,
    BadHours,
    Unstorable,
    TooLong,
    OnFile,        // the same person, course and date
    EarlierInFile, // the same, on an earlier row of this file
    IdOnFile,      // a person's employee ID
    IdEarlierInFile,
    NameOnFile, // a person's last, first and middle name
    NameEarlierInFile,
    MissingLastName,
    MissingFirstName,
    MarkerName,
    BadActive,
};

// One row after the heading and what becomes of it.
struct RowVerdict {
    int record = 0; // its index in the table's records (the heading is 0)
    Reason reason = Reason::None;
    QString text; // what the preview shows: "will be credited", or why not
    bool Accepted() const { return reason == Reason::None; }
};

// How many of `rows` are accepted.
int AcceptedCount(const std::vector<RowVerdict>& rows);

// The rejected rows as a CSV to mend and import again: the heading and "Reason" after it,
// then each rejected row's fields as read and its reason. All or nothing (csv::FileWriter).
StoreResult WriteRejectedRows(const QString& path, const csv::Table& table,
                              const std::vector<RowVerdict>& rows);

// ---- For the two imports --------------------------------------------------------------

// A text as names and codes are compared: blanks around and doubled inside ignored, letter
// case ignored.
QString Folded(const QString& text);
// Line breaks of any kind as the comment fields keep them: CR LF.
QString WithCrLf(const QString& text);

// A reason with the words the preview shows for it.
struct Refusal {
    Reason reason = Reason::None;
    QString text;
    explicit operator bool() const { return reason != Reason::None; }
};
// The fixed words of a reason ("unknown person"); for the reasons with details, below.
Refusal RefusalOf(Reason reason);
// A row whose number of fields differs from the heading's; nothing for one that does not.
Refusal RaggedRow(const csv::Table& table, const csv::Record& record);
// Why `text` cannot be stored as `field`, a text field of `width` characters: a character
// its code page lacks or a control character (line breaks only where `lineBreaks`), or its
// length. Nothing when it can.
Refusal TextRefusal(Field field, const QString& text, int width, bool lineBreaks);
// EarlierInFile, IdEarlierInFile or NameEarlierInFile, first seen on `line`.
Refusal EarlierRefusal(Reason reason, int line);

} // namespace store::csvimport
