#pragma once

#include "store/Journal.h"
#include "store/StoreResult.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>
#include <utility>
#include <vector>

// Change.Log: every change the program makes to the record files, one line per change, in the
// data folder beside them. It is text (UTF-8) that anyone can read, and it is append-only: the
// program never rewrites a line, and it cuts a line off only at start, when the change the
// line tells of was undone there.
//
// The format. The first line is the header (kHeader). Every other line is tab-separated:
//   chain hash, sequence number, time, user, action, kind, identity, name, person, course,
//   then three fields per changed field: its name, the value before, the value after.
// Fields are escaped (backslash, tab, line breaks and other control characters). The
// sequence numbers count the lines 1, 2, 3, ...; the chain hash is the SHA-256 (hex) of the
// hash of the line before, the sequence number and the rest of the line, the line after the
// header following the header's own hash. So a line altered by hand no longer matches its hash,
// a line taken out leaves a gap in the numbers and a line put in repeats one (CheckChain).
namespace store {

inline const QString ChangeLogFileName = QStringLiteral("Change.Log");

namespace changelog {

inline constexpr char kHeader[] = "Mirtavel change log, format 1";

// The kinds of record a line is about.
namespace kind {
inline const QString Person = QStringLiteral("Person");
inline const QString Course = QStringLiteral("Course");
inline const QString Training = QStringLiteral("Training record");
inline const QString User = QStringLiteral("User");
inline const QString DataFiles = QStringLiteral("Data files");
} // namespace kind

// What was done.
namespace action {
inline const QString Added = QStringLiteral("Added");
inline const QString Edited = QStringLiteral("Edited");
inline const QString Removed = QStringLiteral("Removed");
inline const QString Credited = QStringLiteral("Credited");
inline const QString Imported = QStringLiteral("Imported");
inline const QString CopiesUpdated = QStringLiteral("Course copies updated");
inline const QString Restored = QStringLiteral("Restored");
inline const QString Repaired = QStringLiteral("Repaired at start");
} // namespace action

// A password is never written down: its change is a field of this name with no values.
inline const QString PasswordChanged = QStringLiteral("Password changed");

struct FieldChange {
    QString field;
    QString before;
    QString after;
    bool operator==(const FieldChange&) const = default;
};

// Between the persons of a line about several (identities hold no comma).
inline constexpr char16_t PersonSeparator = u',';

// What one line tells.
struct Change {
    // Whole seconds, as the clock on the wall showed them, held without a time zone (as
    // formats::DateTimeOf holds a stored date), so that reading a long log never asks the
    // system's time zone about each line.
    QDateTime time;
    QString user; // the signed-in user's name; empty when nobody was signed in (at start)
    QString action;
    QString kind;
    QString identity; // the record's identity (IdentityText of its DateCreated)
    QString name;     // readable: "First Last", "CODE - Course name", ...
    // The identity of the person the change concerns, if any; of several persons (records
    // credited to a class at once), each, separated by PersonSeparator.
    QString person;
    QString course; // the identity of the course it concerns, if any
    QList<FieldChange> fields;
    bool operator==(const Change&) const = default;
};

// A line as read back from the log.
struct ChangeEntry : Change {
    qint64 line = 0;     // in the file, the header being line 1
    qint64 sequence = 0; // the line's own number in the chain
};

// The name of whoever makes the changes from now on (set at sign-in, cleared at sign-out).
// The store has no session of its own; this is the one place it learns who is acting.
void SetActingUser(const QString& name);
// Who changes the users in admin mode, where nobody is signed in.
inline const QString AdministratorName = QStringLiteral("Administrator (access code)");
QString ActingUser();

// A change made now (the program's clock) by the acting user.
Change Now(const QString& action, const QString& kind);

// How a creation stamp (a person's, a course's or a user's identity) is written in the log:
// its whole second as "yyyy-MM-dd HH:mm:ss"; empty for a value that is no date. The viewer
// finds a record's lines by comparing this text.
QString IdentityText(double dateCreated);
// The fields that differ between two tables of (field, value): each with both values.
QList<FieldChange> Differences(const QList<std::pair<QString, QString>>& before,
                               const QList<std::pair<QString, QString>>& after);

// ---- Line text --------------------------------------------------------------------------

QByteArray Escape(const QString& text);
// False for a backslash that starts no escape.
bool Unescape(QByteArrayView field, QString& text);
// The line without its hash and sequence number.
QByteArray ContentOf(const Change& change);
// Texts met in the lines read before, by column: a log repeats its users, actions, kinds,
// names and times line after line, and a text read once is then shared, not made again.
struct ParseMemo {
    std::vector<std::pair<QByteArray, QString>> columns; // the bytes and their text
    QString timeText;
    QDateTime time;
};
bool ParseContent(QByteArrayView content, Change& change, ParseMemo* memo = nullptr);

// Where the chain stands after a line: its hash and sequence number.
struct Link {
    QByteArray hash; // hex
    qint64 sequence = 0;
};
Link HeaderLink();
// The whole line (with its line break) that follows `previous`; `next` is where it leaves the
// chain.
QByteArray ChainedLine(const Link& previous, const QByteArray& content, Link& next);

// ---- Appending, tied to the unit of work ------------------------------------------------
//
// A change and its line are written both or neither. The unit of work prepares its lines
// before it changes anything and puts them, with the log's length, into the journal it
// writes anyway; after the change is on file it completes the log, durably, and only then
// removes the journal (or, for a save of records, marks the journal done and leaves the
// log's sync to a thread: Staged::FinishBehind). At the next start an undone change withdraws its
// lines (cuts the log back to the noted length when what follows is those lines, or a first part of
// them), and a change finished there completes them (writes what of them is not there yet). Both
// are decided by the log's bytes after the noted length, so doing either twice does no harm.

struct Pending {
    qint64 lengthBefore = 0;
    QList<Change> changes;
    // ContentOf each change, each followed by a record separator (0x1e), made once by Prepare
    // for the journal and the log alike, in one block; empty when the changes came from a
    // journal (they may be amended before they are completed).
    QByteArray contents;
    bool IsEmpty() const { return changes.isEmpty(); }
};

// Notes the log's length now (0 when there is no log yet) for `changes`.
StoreResult Prepare(const QList<Change>& changes, Pending& pending);
// The journal fields that carry a pending change; none when it is empty.
void NoteInJournal(const Pending& pending, journal::Fields& fields);
// False when the journal carries none (or one of a journal written before the log was kept).
bool FromJournal(const journal::Fields& fields, Pending& pending);

// Writes what of the pending lines is not on file after the noted length and makes it
// durable (the header first when the log is new). When the log no longer holds what it held
// there (cut or added to by hand), the lines are chained on at its end.
StoreResult Complete(const Pending& pending);
// Complete in two steps, for a unit of work that makes data of its own durable in between:
// Stage writes the lines and starts the disk on them, so that they are on their way while the
// data is synced, and Finish makes them durable. Until Finish has succeeded they are not on
// file (the journal still withdraws them at the next start).
class Staged {
public:
    Staged() = default;
    ~Staged();
    Staged(const Staged&) = delete;
    Staged& operator=(const Staged&) = delete;
    StoreResult Stage(const Pending& pending);
    StoreResult Finish();
    // Finish for a unit of work whose journal `journalName` (of `kind`) carries the lines and
    // whose data is durable: the journal is renamed done (journal::MarkDone), which makes the
    // work stand with its lines durable in it, and the log's sync and the journal's removal
    // are left to a thread of their own (Settle waits for it). A log created just now, or a
    // folder where the rename fails, is finished here as by Finish; `handed` says which. On
    // failure the journal is where it was and the lines are not on file.
    StoreResult FinishBehind(const QString& journalName, const QString& kind, bool& handed);

private:
    int fd_ = -1; // the log, open while lines are staged
    bool created_ = false;
};
// Completes, before new lines are prepared, the lines of done journals whose sync behind
// failed in this session.
StoreResult CompleteFailedBehind();
// Waits until the syncs left behind by FinishBehind have ended.
void Settle();
// Completes the lines of the journals `journalName` left done, in the order of the log, and
// removes them: at the start, and in a session whose sync behind failed.
StoreResult CompleteDone(const QString& journalName, const QString& kind);
// Cuts the pending lines (or a first part of them) off the log; anything else is left.
StoreResult Withdraw(const Pending& pending);
// For a change that is made in one step with its line: Prepare and Complete.
StoreResult Append(const QList<Change>& changes);

// ---- Reading ----------------------------------------------------------------------------

// Which lines a reader wants; an empty field (or invalid date) does not restrict. The dates
// are inclusive.
struct ChangeFilter {
    // IdentityText of the person: lines about that person and their records, those about
    // several persons among them included.
    QString person;
    QString course; // IdentityText of the course: lines about it and its training records
    QString user;   // the signed-in user who made the change
    QDate from;
    QDate to;
    bool Matches(const Change& change) const;
};

// Whether a line's person field (one identity, or several separated by PersonSeparator) names
// the person `identity`.
bool NamesPerson(QByteArrayView field, QByteArrayView identity);

// Hands each matching line to `visit` in file order, one at a time, so memory does not grow
// with the log; `visit` returns false to stop. No log is no lines. Fails when the file is not
// a change log or a line cannot be read (naming its number).
using ChangeVisit = std::function<bool(const ChangeEntry&)>;
StoreResult ForEachChange(const ChangeFilter& filter, const ChangeVisit& visit,
                          const QString& fileName = ChangeLogFileName);
StoreResult ReadChanges(const ChangeFilter& filter, QList<ChangeEntry>& entries,
                        const QString& fileName = ChangeLogFileName);

// ---- Verifying --------------------------------------------------------------------------

struct ChainCheck {
    enum class Fault { None, NoHeader, Altered, Removed, Inserted };
    Fault fault = Fault::None;
    qint64 line = 0;  // the first line found wrong
    qint64 lines = 0; // lines read, the header counted
    // "Line 7 was altered." and the like; empty when the chain holds.
    QString Describe() const;
};

// Walks the log line by line; `check` names the first line altered, removed or inserted.
// No log is a whole chain of no lines. Fails only when the file cannot be read.
StoreResult CheckChain(ChainCheck& check, const QString& fileName = ChangeLogFileName);

} // namespace changelog
} // namespace store
