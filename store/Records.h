#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <vector>

// The four record layouts, byte for byte. Each record encodes to and decodes from exactly
// its record length; fields follow one another without padding, numbers little-endian.
namespace store {

// Where a text field lies in a stored record.
struct FieldSpan {
    int offset;
    int width;
};

// Appends the text of the field at `span` of a stored record as lists show it (trimmed).
void AppendShownField(QString& out, const char* record, FieldSpan span);

// Each record type's FieldSpans() gives where every field lies in its stored record, in layout
// order (a date spans 8 bytes, hours 4, a 16-bit integer 2), read from the same description
// of the layout that encodes and decodes the record.

struct PersonRecord {
    static constexpr int Length = 1000;
    double DateCreated = 0; // 0   identity key
    QString FirstName;      // 8   15
    QString MiddleName;     // 23  15
    QString LastName;       // 38  20
    QString Organization;   // 58  30
    QString EmployeeID;     // 88  20
    QString Comments;       // 108 890
    qint16 Active = -1;     // 998 flag: -1 active, 0 inactive

    static const std::vector<FieldSpan>& FieldSpans();
    QByteArray Encode() const;
    static PersonRecord Decode(const char* bytes); // Length bytes, values as stored
    void DecodeFrom(const char* bytes);            // the same into this record, reusing its storage
    void MakeSafe();       // NaN/infinite date -> 0, flag other than 0 -> -1
    bool IsMarked() const; // trimmed FirstName is the removal marker

    // The same tests and changes on a stored record (Length bytes), for whole-file rewrites
    // that copy records without decoding them.
    static bool IsMarkedRaw(const char* bytes);
    static void TrimFirstNameRaw(char* bytes); // FirstName stored again trimmed and padded

    // The fields a list of persons shows, read from a stored record as Decode and MakeSafe
    // give them. The four texts lie together in the first ListedBytes bytes.
    static constexpr FieldSpan FirstNameSpan{8, 15};
    static constexpr FieldSpan MiddleNameSpan{23, 15};
    static constexpr FieldSpan LastNameSpan{38, 20};
    static constexpr FieldSpan OrganizationSpan{58, 30};
    static constexpr FieldSpan EmployeeIDSpan{88, 20};
    static constexpr int ListedBytes = 88;
    static double DateCreatedRaw(const char* bytes);
    static bool IsActiveRaw(const char* bytes);
};

struct CourseRecord {
    static constexpr int Length = 300;
    double DateCreated = 0; // 0   identity key
    QString CourseCode;     // 8   8
    QString CourseName;     // 16  50
    QString ProvidedBy;     // 66  30
    float Hours = 0;        // 96  single
    QString Comments;       // 100 200

    static const std::vector<FieldSpan>& FieldSpans();
    QByteArray Encode() const;
    static CourseRecord Decode(const char* bytes);
    void DecodeFrom(const char* bytes);
    void MakeSafe();       // NaN/infinite date or hours -> 0
    bool IsMarked() const; // CourseCode is the removal marker
    static bool IsMarkedRaw(const char* bytes);

    // The fields a list of courses shows, read from a stored record as Decode and MakeSafe
    // give them, for filling a list without decoding whole records.
    static constexpr FieldSpan CodeSpan{8, 8};
    static constexpr FieldSpan NameSpan{16, 50};
    static constexpr FieldSpan ProviderSpan{66, 30};
    static double DateCreatedRaw(const char* bytes);
    static float HoursRaw(const char* bytes);
};

struct TrainingRecord {
    static constexpr int Length = 300;
    double TrainingDate = 0; // 0
    double PersonKey = 0;    // 8   the person's DateCreated
    double CourseKey = 0;    // 16  the course's DateCreated
    QString CourseCode;      // 24  8
    QString CourseName;      // 32  50
    QString ProvidedBy;      // 82  30
    float Hours = 0;         // 112 single
    QString Comments;        // 116 184

    static const std::vector<FieldSpan>& FieldSpans();
    QByteArray Encode() const;
    static TrainingRecord Decode(const char* bytes);
    void DecodeFrom(const char* bytes);
    void MakeSafe();       // NaN/infinite dates or hours -> 0
    bool IsMarked() const; // CourseCode is the removal marker
    static bool IsMarkedRaw(const char* bytes);
    // Fields of a stored record as Decode and MakeSafe give them, for the loops that visit
    // every training record and decode only the few they keep.
    static double TrainingDateRaw(const char* bytes);
    static double PersonKeyRaw(const char* bytes);
    // The course's copies (code, name, provider, hours) lie together, in this span.
    static constexpr FieldSpan CourseCopySpan{24, 92};
    static double CourseKeyRaw(const char* bytes);
    static float HoursRaw(const char* bytes);
};

struct UserRecord {
    static constexpr int Length = 500;
    double DateCreated = 0; // 0
    QString FirstName;      // 8   15
    QString LastName;       // 23  20
    QString Password;       // 43  16 scrambled
    qint16 AccessLevel = 1; // 59  1 to 4
    QString Comments;       // 61  439

    static const std::vector<FieldSpan>& FieldSpans();
    QByteArray Encode() const;
    static UserRecord Decode(const char* bytes);
    void DecodeFrom(const char* bytes);
    void MakeSafe();       // NaN/infinite date -> 0, access level outside 1..4 -> 1 (least rights)
    bool IsMarked() const; // trimmed FirstName is the removal marker
    static bool IsMarkedRaw(const char* bytes);
    static void TrimFirstNameRaw(char* bytes);
};

// The text in a record's marker field that marks it for removal: such a record is dropped
// by the next removal in its file.
inline const QString RemovalMarker = QStringLiteral("$Killed$");

} // namespace store
