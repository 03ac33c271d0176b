#include "store/Records.h"

#include "store/Codepage.h"

#include <QtEndian>
#include <cmath>
#include <cstring>

namespace store {

namespace {

// Writes the fields of one record one after another, numbers little-endian.
class FieldWriter {
public:
    explicit FieldWriter(int length) : bytes_(length, '\0') {}
    void Date(double value) { Number(value); }
    void Hours(float value) { Number(value); }
    void Int16(qint16 value) { Number(value); }
    void Text(const QString& text, int width) {
        std::memcpy(bytes_.data() + pos_, EncodeField(text, width).constData(), width);
        pos_ += width;
    }
    QByteArray Finish() {
        Q_ASSERT(pos_ == bytes_.size());
        return bytes_;
    }

private:
    template <class T> void Number(T value) {
        qToLittleEndian(value, bytes_.data() + pos_);
        pos_ += static_cast<int>(sizeof(T));
    }
    QByteArray bytes_;
    int pos_ = 0;
};

// Reads the fields of one record in the same order; values come out as stored.
class FieldReader {
public:
    explicit FieldReader(const char* bytes) : bytes_(bytes) {}
    void Date(double& value) { Number(value); }
    void Hours(float& value) { Number(value); }
    void Int16(qint16& value) { Number(value); }
    void Text(QString& text, int width) {
        DecodeFieldInto(text, bytes_ + pos_, width);
        pos_ += width;
    }
    int Position() const { return pos_; }

private:
    template <class T> void Number(T& value) {
        value = qFromLittleEndian<T>(bytes_ + pos_);
        pos_ += static_cast<int>(sizeof(T));
    }
    const char* bytes_;
    int pos_ = 0;
};

// Each layout is written down once and serves both directions: `io` is a FieldWriter or a
// FieldReader, `r` the record (const when writing).
constexpr auto kPersonFields = [](auto& io, auto& r) {
    io.Date(r.DateCreated);
    io.Text(r.FirstName, PersonRecord::FirstNameSpan.width);
    io.Text(r.MiddleName, PersonRecord::MiddleNameSpan.width);
    io.Text(r.LastName, PersonRecord::LastNameSpan.width);
    io.Text(r.Organization, PersonRecord::OrganizationSpan.width);
    io.Text(r.EmployeeID, PersonRecord::EmployeeIDSpan.width);
    io.Text(r.Comments, 890);
    io.Int16(r.Active);
};

constexpr auto kCourseFields = [](auto& io, auto& r) {
    io.Date(r.DateCreated);
    io.Text(r.CourseCode, CourseRecord::CodeSpan.width);
    io.Text(r.CourseName, CourseRecord::NameSpan.width);
    io.Text(r.ProvidedBy, CourseRecord::ProviderSpan.width);
    io.Hours(r.Hours);
    io.Text(r.Comments, 200);
};

constexpr auto kTrainingFields = [](auto& io, auto& r) {
    io.Date(r.TrainingDate);
    io.Date(r.PersonKey);
    io.Date(r.CourseKey);
    io.Text(r.CourseCode, 8);
    io.Text(r.CourseName, 50);
    io.Text(r.ProvidedBy, 30);
    io.Hours(r.Hours);
    io.Text(r.Comments, 184);
};

constexpr auto kUserFields = [](auto& io, auto& r) {
    io.Date(r.DateCreated);
    io.Text(r.FirstName, 15);
    io.Text(r.LastName, 20);
    io.Text(r.Password, 16);
    io.Int16(r.AccessLevel);
    io.Text(r.Comments, 439);
};

// Notes where each field of a layout lies instead of reading or writing it.
class SpanCollector {
public:
    void Date(double) { Add(8); }
    void Hours(float) { Add(4); }
    void Int16(qint16) { Add(2); }
    void Text(const QString&, int width) { Add(width); }
    std::vector<FieldSpan> spans;
    int pos = 0;

private:
    void Add(int width) {
        spans.push_back({pos, width});
        pos += width;
    }
};

template <class Record, class Fields> std::vector<FieldSpan> SpansOf(Fields fields) {
    SpanCollector collector;
    const Record record;
    fields(collector, record);
    Q_ASSERT(collector.pos == Record::Length);
    return collector.spans;
}

template <class Record, class Fields> QByteArray EncodeRecord(const Record& record, Fields fields) {
    FieldWriter writer(Record::Length);
    fields(writer, record);
    return writer.Finish();
}

template <class Record, class Fields>
void DecodeRecord(Record& record, const char* bytes, Fields fields) {
    FieldReader reader(bytes);
    fields(reader, record);
    Q_ASSERT(reader.Position() == Record::Length);
}

// Where each file keeps its removal marker in a stored record.
constexpr FieldSpan kFirstNameSpan = PersonRecord::FirstNameSpan; // and UserRecord's
constexpr FieldSpan kCourseCodeSpan = CourseRecord::CodeSpan;
constexpr FieldSpan kTrainingCodeSpan{24, 8}; // TrainingRecord
constexpr int kTrainingDateOffset = 0;        // TrainingRecord
constexpr int kPersonKeyOffset = 8;           // TrainingRecord
constexpr int kCourseKeyOffset = 16;          // TrainingRecord
constexpr int kTrainingHoursOffset = 112;     // TrainingRecord
constexpr int kPersonDateOffset = 0;          // PersonRecord
constexpr int kPersonActiveOffset = 998;      // PersonRecord
constexpr int kCourseDateOffset = 0;          // CourseRecord
constexpr int kCourseHoursOffset = 96;        // CourseRecord

// Names are compared trimmed; a code carries the marker only when it fills the field.
bool NameHoldsMarker(const QString& name) {
    return TrimField(name) == RemovalMarker;
}
bool CodeHoldsMarker(const QString& code) {
    return code == RemovalMarker;
}

QString RawField(const char* bytes, FieldSpan span) {
    return DecodeField(bytes + span.offset, span.width);
}

void StoreTrimmed(char* bytes, FieldSpan span) {
    const QByteArray field = EncodeField(TrimField(RawField(bytes, span)), span.width);
    std::memcpy(bytes + span.offset, field.constData(), span.width);
}

double SafeDate(double value) {
    return std::isfinite(value) ? value : 0.0;
}
float SafeHours(float value) {
    return std::isfinite(value) ? value : 0.0f;
}

} // namespace

void AppendShownField(QString& out, const char* record, FieldSpan span) {
    AppendShownField(out, record + span.offset, span.width);
}

// ---- PersonRecord ---------------------------------------------------------------------

const std::vector<FieldSpan>& PersonRecord::FieldSpans() {
    static const std::vector<FieldSpan> spans = SpansOf<PersonRecord>(kPersonFields);
    return spans;
}

QByteArray PersonRecord::Encode() const {
    return EncodeRecord(*this, kPersonFields);
}

PersonRecord PersonRecord::Decode(const char* bytes) {
    PersonRecord record;
    record.DecodeFrom(bytes);
    return record;
}

void PersonRecord::DecodeFrom(const char* bytes) {
    DecodeRecord(*this, bytes, kPersonFields);
}

void PersonRecord::MakeSafe() {
    DateCreated = SafeDate(DateCreated);
    if (Active != 0)
        Active = -1;
}

bool PersonRecord::IsMarked() const {
    return NameHoldsMarker(FirstName);
}

bool PersonRecord::IsMarkedRaw(const char* bytes) {
    return NameHoldsMarker(RawField(bytes, kFirstNameSpan));
}

void PersonRecord::TrimFirstNameRaw(char* bytes) {
    StoreTrimmed(bytes, kFirstNameSpan);
}

double PersonRecord::DateCreatedRaw(const char* bytes) {
    return SafeDate(qFromLittleEndian<double>(bytes + kPersonDateOffset));
}

bool PersonRecord::IsActiveRaw(const char* bytes) {
    return qFromLittleEndian<qint16>(bytes + kPersonActiveOffset) != 0;
}

// ---- CourseRecord ---------------------------------------------------------------------

const std::vector<FieldSpan>& CourseRecord::FieldSpans() {
    static const std::vector<FieldSpan> spans = SpansOf<CourseRecord>(kCourseFields);
    return spans;
}

QByteArray CourseRecord::Encode() const {
    return EncodeRecord(*this, kCourseFields);
}

CourseRecord CourseRecord::Decode(const char* bytes) {
    CourseRecord record;
    record.DecodeFrom(bytes);
    return record;
}

void CourseRecord::DecodeFrom(const char* bytes) {
    DecodeRecord(*this, bytes, kCourseFields);
}

void CourseRecord::MakeSafe() {
    DateCreated = SafeDate(DateCreated);
    Hours = SafeHours(Hours);
}

bool CourseRecord::IsMarked() const {
    return CodeHoldsMarker(CourseCode);
}

bool CourseRecord::IsMarkedRaw(const char* bytes) {
    return CodeHoldsMarker(RawField(bytes, kCourseCodeSpan));
}

double CourseRecord::DateCreatedRaw(const char* bytes) {
    return SafeDate(qFromLittleEndian<double>(bytes + kCourseDateOffset));
}

float CourseRecord::HoursRaw(const char* bytes) {
    return SafeHours(qFromLittleEndian<float>(bytes + kCourseHoursOffset));
}

// ---- TrainingRecord -------------------------------------------------------------------

const std::vector<FieldSpan>& TrainingRecord::FieldSpans() {
    static const std::vector<FieldSpan> spans = SpansOf<TrainingRecord>(kTrainingFields);
    return spans;
}

QByteArray TrainingRecord::Encode() const {
    return EncodeRecord(*this, kTrainingFields);
}

TrainingRecord TrainingRecord::Decode(const char* bytes) {
    TrainingRecord record;
    record.DecodeFrom(bytes);
    return record;
}

void TrainingRecord::DecodeFrom(const char* bytes) {
    DecodeRecord(*this, bytes, kTrainingFields);
}

void TrainingRecord::MakeSafe() {
    TrainingDate = SafeDate(TrainingDate);
    PersonKey = SafeDate(PersonKey);
    CourseKey = SafeDate(CourseKey);
    Hours = SafeHours(Hours);
}

bool TrainingRecord::IsMarked() const {
    return CodeHoldsMarker(CourseCode);
}

bool TrainingRecord::IsMarkedRaw(const char* bytes) {
    return CodeHoldsMarker(RawField(bytes, kTrainingCodeSpan));
}

double TrainingRecord::TrainingDateRaw(const char* bytes) {
    return SafeDate(qFromLittleEndian<double>(bytes + kTrainingDateOffset));
}

double TrainingRecord::PersonKeyRaw(const char* bytes) {
    return SafeDate(qFromLittleEndian<double>(bytes + kPersonKeyOffset));
}

double TrainingRecord::CourseKeyRaw(const char* bytes) {
    return SafeDate(qFromLittleEndian<double>(bytes + kCourseKeyOffset));
}

float TrainingRecord::HoursRaw(const char* bytes) {
    return SafeHours(qFromLittleEndian<float>(bytes + kTrainingHoursOffset));
}

// ---- UserRecord -----------------------------------------------------------------------

const std::vector<FieldSpan>& UserRecord::FieldSpans() {
    static const std::vector<FieldSpan> spans = SpansOf<UserRecord>(kUserFields);
    return spans;
}

QByteArray UserRecord::Encode() const {
    return EncodeRecord(*this, kUserFields);
}

UserRecord UserRecord::Decode(const char* bytes) {
    UserRecord record;
    record.DecodeFrom(bytes);
    return record;
}

void UserRecord::DecodeFrom(const char* bytes) {
    DecodeRecord(*this, bytes, kUserFields);
}

void UserRecord::MakeSafe() {
    DateCreated = SafeDate(DateCreated);
    if (AccessLevel < 1 || AccessLevel > 4)
        AccessLevel = 1;
}

bool UserRecord::IsMarked() const {
    return NameHoldsMarker(FirstName);
}

bool UserRecord::IsMarkedRaw(const char* bytes) {
    return NameHoldsMarker(RawField(bytes, kFirstNameSpan));
}

void UserRecord::TrimFirstNameRaw(char* bytes) {
    StoreTrimmed(bytes, kFirstNameSpan);
}

} // namespace store
