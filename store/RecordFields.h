#pragma once

#include "store/RecordStore.h"
#include "store/StoreResult.h"

#include <QFile>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <vector>

// The four record layouts seen field by field, in layout order, so that the check of a data
// folder and the support tool walk any record file the same way without knowing its type.
namespace store::fields {

enum class FieldKind {
    Date,    // 8-byte double, a day count
    Text,    // fixed-width Windows-1252 text
    Hours,   // 4-byte single
    Integer, // 16-bit integer or flag
};

// What a field means beyond its value, for the integrity checks.
enum class FieldRole {
    None,
    Identity,  // the record's identity key (DateCreated of a person, course or user)
    PersonRef, // a training record's reference to a person's identity
    Flag,      // -1 for true, 0 for false
};

struct FieldInfo {
    const char* name;
    FieldKind kind;
    FieldRole role = FieldRole::None;
    // Integer fields whose stored value must lie in a range (the access level).
    std::optional<std::pair<int, int>> validRange = std::nullopt;
    // Where the field lies in a stored record.
    store::FieldSpan span{};
};

// One field's value as stored: numbers (dates, hours, integers) in `number` — a single
// widens to a double exactly — and text, trimmed, in `text`.
struct FieldValue {
    double number = 0;
    QString text;
};

struct RecordRow {
    std::vector<FieldValue> values; // one per field, in layout order
    bool marked = false;            // carries the removal marker
};

struct RecordLayout {
    store::DataFile file;
    std::vector<FieldInfo> fields;
    // Fills a row from one record's bytes, values as stored (nothing made safe).
    std::function<void(const char* bytes, RecordRow& row)> decode;
};

const RecordLayout& LayoutOf(store::DataFile file);

// User.List, Name.List, Course.Index, Training.Records: the order of every listing.
const std::array<store::DataFile, 4>& AllDataFiles();
// The data file of that name (letter case ignored), nothing for any other name.
std::optional<store::DataFile> DataFileNamed(const QString& name);

// Reads the records of an existing data file in `folder` and hands each to `visit`. The records are
// counted as the program counts them: a part of a record at the end is a record when it holds half
// of one or more (an exact half when that makes the count even), its missing bytes reading as
// zeros. A missing file has no records; it is not created. The file is only read, so a folder that
// cannot be written is no obstacle. A failure names the file by its bare name.
store::StoreResult ForEachRecord(store::DataFile file,
                                 const std::function<void(qint32, const RecordRow&)>& visit,
                                 const QString& folder = QStringLiteral("."));
// The same with each record's stored bytes (RecordLengthOf(file) of them), undecoded, for
// walks over millions of records that read the fields where they lie (FieldInfo::span).
store::StoreResult ForEachRecordBytes(store::DataFile file,
                                      const std::function<void(qint32, const char*)>& visit,
                                      const QString& folder = QStringLiteral("."));

// A data file's records read a block at a time, counted as ForEachRecord counts them, for
// walks that read their blocks on several threads (each read names its place: the threads
// share no position in the file).
class RecordBlocks {
public:
    // Opens an existing data file in `folder` to be read front to back. A missing file has
    // no records; it is not created.
    store::StoreResult Open(store::DataFile file, const QString& folder);
    qint32 Count() const { return count_; }
    int Length() const { return length_; }
    // Reads `n` records from record `first` (1-based) into `into`, n * Length() bytes; the
    // missing bytes of a part of a record at the end read as zeros.
    store::StoreResult Read(qint32 first, qint32 n, char* into) const;

private:
    QString name_;
    QFile file_;
    int length_ = 0;
    qint32 count_ = 0;
};

// The shortest text that reads back as exactly this double (NaN and infinities spelt nan,
// inf, -inf), for messages that quote a stored value.
QByteArray ShortestText(double value);

} // namespace store::fields
