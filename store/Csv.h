#pragma once

#include "store/FileCopy.h"
#include "store/StoreResult.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>
#include <vector>

namespace store::io {
class SyncBehind;
}

// Comma-separated values as spreadsheets exchange them (RFC 4180).
//
// Written: UTF-8 with a byte-order mark (so that a double-click opens the file with its
// accents right), CR LF after every row, a field in double quotes when it holds a comma, a
// quote, CR or LF, a quote inside it doubled.
//
// Formulas. A spreadsheet runs a field that begins with "=", "+", "-" or "@" as a formula, so a
// name or a comment typed as =HYPERLINK(...) would act when the file is opened. Such text is
// written with a single quote before it ("'=1+2"), which spreadsheets show as text. The guard
// is for text only: numbers the program writes itself (hours, identities, counts) go out as
// they are, so stored hours of -1.5 read "-1.5", which a spreadsheet takes as the number it
// is; only a text that merely looks like one ("-5 hours", an employee ID "-12") is guarded.
// Text that already begins with quotes before such a character gets one more, so that reading
// takes exactly one away: every text comes back as it was written.
namespace store::csv {

// ---- Writing --------------------------------------------------------------------------

// Appends one text field, guarded and quoted as above.
void AppendText(QByteArray& out, QStringView text);
// The same for a stored text field (Windows-1252, `width` bytes), trimmed of blanks and NULs
// on both sides as every reader trims it.
void AppendStoredText(QByteArray& out, const char* bytes, int width);
// A number as the shortest text that reads back as exactly this double (identities round
// trip); NaN and infinities as the text "nan", "inf", "-inf" (guarded like any text).
void AppendNumber(QByteArray& out, double value);
// Stored hours as their exact decimal (ExactHoursText): 1.2, 0.25, never 1.20000005.
void AppendHours(QByteArray& out, float hours);
// One row of text fields, CR LF ended.
QByteArray Row(const QStringList& fields);

// Rows made in memory, field by field: commas between the fields, CR LF after every row.
// FileWriter makes its rows with one; rows made elsewhere (a block of a long export made on
// another thread) go into its file whole, through FileWriter::WriteRows.
class Rows {
public:
    // The fields of the current row, separated by commas; EndRow ends it.
    void Text(QStringView text);
    void StoredText(const char* bytes, int width);
    void Number(double value);
    void Integer(qint64 value);
    void Hours(float hours);
    // A field already made by one of the Append functions above.
    void Formatted(QByteArrayView field);
    void EndRow();
    void WriteRow(const QStringList& fields);

    QByteArrayView Bytes() const { return {bytes_.constData(), used_}; }
    bool RowStarted() const { return rowStarted_; }
    // Forgets the bytes made, keeping their room; a row begun stays begun.
    void Drop() { used_ = 0; }

private:
    // Room for a field of at most `room` bytes after its comma; where it begins.
    char* Field(qsizetype room);
    // Room for `room` more bytes.
    char* Room(qsizetype room);

    QByteArray bytes_; // the first used_ bytes are made
    qsizetype used_ = 0;
    bool rowStarted_ = false;
};

// A CSV file written all or nothing: rows go into a new file beside the target ("<name>.part",
// made exclusively, never through a link), which takes the target's place in one rename once
// it is whole and on the disk. Until then the target is untouched; a failure, or an object
// destroyed without Commit, removes the part file again. A failure names the file (its bare
// name) and the system's reason. A new file takes its folder's read and write bits; a file
// replaced keeps its mode and group. Nothing but a regular file is replaced: a link, folder
// or device under the name is refused.
class FileWriter {
public:
    explicit FileWriter(QString path);
    ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    // Makes the part file and writes the byte-order mark.
    StoreResult Begin();

    // The fields of the current row, as Rows makes them.
    void Text(QStringView text);
    void StoredText(const char* bytes, int width);
    void Number(double value);
    void Integer(qint64 value);
    void Hours(float hours);
    void EndRow();
    void WriteRow(const QStringList& fields);
    // Whole rows made apart, after the rows before (none of which may be left unended).
    void WriteRows(const Rows& rows);

    // Writes what is left and makes the part file durable, without giving it its name yet: a
    // set of files is finished first, and named only when every one of them is whole. The
    // first failure of any step before is told here, and the part file is gone.
    StoreResult Finish();
    // Finishes (when not yet done) and gives the file its name.
    StoreResult Commit();

private:
    // Writes the rows made once they are many.
    void FlushWhenFull();
    void Flush();
    // Appends `bytes` to the part file, unless an earlier step failed.
    void Write(QByteArrayView bytes);
    void Discard();

    QString path_;
    QString name_; // the bare name, for failures
    QString partPath_;
    int fd_ = -1;
    qint64 offset_ = 0;
    qint64 syncFrom_ = 0; // the bytes before are being made durable
    std::unique_ptr<io::SyncBehind> syncBehind_;
    Rows rows_; // made, not yet written
    bool finished_ = false;
    filecopy::FileIdentity written_; // the part file as it was made durable
    StoreResult result_;
};

// Writes `rows` (the heading first) to `path` all or nothing, as FileWriter does.
StoreResult WriteFile(const QString& path, const QList<QStringList>& rows);

// ---- Reading --------------------------------------------------------------------------

// One row of a file as read: its fields, and the line on which it begins (1-based; a quoted
// field may run over several lines).
struct Record {
    int line = 0;
    QStringList fields;
};

struct Table {
    std::vector<Record> records; // the heading first; empty lines are no records
    // The lines of rows whose number of fields differs from the heading's.
    std::vector<int> raggedLines;
};

// Reads CSV text: with or without the byte-order mark, UTF-8, or Windows-1252 when the bytes
// are no UTF-8 (a spreadsheet saving "CSV" in the system's code page); rows ended by CR LF,
// LF or CR; quoted fields with doubled quotes and line breaks kept as they are. A heading line
// without a comma but with semicolons (the list separator of some locales) makes semicolons
// the separator. The quote the writer puts before formula text is taken away again. Fails,
// naming `name` and the line, when a quoted field is never closed.
StoreResult Parse(const QByteArray& bytes, const QString& name, Table& table);
// Reads the regular file at `path` (refused when it is not one) and parses it.
StoreResult ReadFile(const QString& path, Table& table);

} // namespace store::csv
