#include "store/RecordFields.h"

#include "store/Codepage.h"
#include "store/RecordFile.h"
#include "store/Records.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <variant>

namespace store::fields {
namespace {

using store::CourseRecord;
using store::PersonRecord;
using store::TrainingRecord;
using store::UserRecord;

// A field of record type R: its description and where its value lives. The member's type
// decides how the value is read, the kind how it is shown.
template <class R> struct Field {
    FieldInfo info;
    std::variant<double R::*, float R::*, qint16 R::*, QString R::*> member;
};

template <class R> using FieldList = std::vector<Field<R>>;

const FieldList<PersonRecord>& PersonFields() {
    static const FieldList<PersonRecord> fields{
        {{"DateCreated", FieldKind::Date, FieldRole::Identity}, &PersonRecord::DateCreated},
        {{"FirstName", FieldKind::Text}, &PersonRecord::FirstName},
        {{"MiddleName", FieldKind::Text}, &PersonRecord::MiddleName},
        {{"LastName", FieldKind::Text}, &PersonRecord::LastName},
        {{"Organization", FieldKind::Text}, &PersonRecord::Organization},
        {{"EmployeeID", FieldKind::Text}, &PersonRecord::EmployeeID},
        {{"Comments", FieldKind::Text}, &PersonRecord::Comments},
        {{"Active", FieldKind::Integer, FieldRole::Flag}, &PersonRecord::Active},
    };
    return fields;
}

const FieldList<CourseRecord>& CourseFields() {
    static const FieldList<CourseRecord> fields{
        {{"DateCreated", FieldKind::Date, FieldRole::Identity}, &CourseRecord::DateCreated},
        {{"CourseCode", FieldKind::Text}, &CourseRecord::CourseCode},
        {{"CourseName", FieldKind::Text}, &CourseRecord::CourseName},
        {{"ProvidedBy", FieldKind::Text}, &CourseRecord::ProvidedBy},
        {{"Hours", FieldKind::Hours}, &CourseRecord::Hours},
        {{"Comments", FieldKind::Text}, &CourseRecord::Comments},
    };
    return fields;
}

const FieldList<TrainingRecord>& TrainingFields() {
    static const FieldList<TrainingRecord> fields{
        {{"TrainingDate", FieldKind::Date}, &TrainingRecord::TrainingDate},
        {{"PersonKey", FieldKind::Date, FieldRole::PersonRef}, &TrainingRecord::PersonKey},
        {{"CourseKey", FieldKind::Date}, &TrainingRecord::CourseKey},
        {{"CourseCode", FieldKind::Text}, &TrainingRecord::CourseCode},
        {{"CourseName", FieldKind::Text}, &TrainingRecord::CourseName},
        {{"ProvidedBy", FieldKind::Text}, &TrainingRecord::ProvidedBy},
        {{"Hours", FieldKind::Hours}, &TrainingRecord::Hours},
        {{"Comments", FieldKind::Text}, &TrainingRecord::Comments},
    };
    return fields;
}

const FieldList<UserRecord>& UserFields() {
    static const FieldList<UserRecord> fields{
        {{"DateCreated", FieldKind::Date, FieldRole::Identity}, &UserRecord::DateCreated},
        {{"FirstName", FieldKind::Text}, &UserRecord::FirstName},
        {{"LastName", FieldKind::Text}, &UserRecord::LastName},
        {{"Password", FieldKind::Text}, &UserRecord::Password},
        {{"AccessLevel", FieldKind::Integer, FieldRole::None, std::pair{1, 4}},
         &UserRecord::AccessLevel},
        {{"Comments", FieldKind::Text}, &UserRecord::Comments},
    };
    return fields;
}

template <class R> void StoreValue(const R& record, QString R::*member, FieldValue& value) {
    value.text = store::TrimField(record.*member);
}

template <class R, class Number>
void StoreValue(const R& record, Number R::*member, FieldValue& value) {
    value.number = static_cast<double>(record.*member);
}

template <class R> void DecodeWith(const FieldList<R>& fields, const char* bytes, RecordRow& row) {
    const R record = R::Decode(bytes);
    row.marked = record.IsMarked();
    row.values.resize(fields.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        std::visit([&](auto member) { StoreValue(record, member, row.values[i]); },
                   fields[i].member);
    }
}

template <class R> std::vector<FieldInfo> InfosOf(const FieldList<R>& fields) {
    const std::vector<store::FieldSpan>& spans = R::FieldSpans();
    Q_ASSERT(spans.size() == fields.size());
    std::vector<FieldInfo> infos;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        infos.push_back(fields[i].info);
        infos.back().span = spans[i];
    }
    return infos;
}

template <class R> RecordLayout MakeLayout(store::DataFile file, const FieldList<R>& fields) {
    return {file, InfosOf(fields),
            [&fields](const char* bytes, RecordRow& row) { DecodeWith(fields, bytes, row); }};
}

} // namespace

const RecordLayout& LayoutOf(store::DataFile file) {
    static const RecordLayout users = MakeLayout(store::DataFile::UserList, UserFields());
    static const RecordLayout persons = MakeLayout(store::DataFile::NameList, PersonFields());
    static const RecordLayout courses = MakeLayout(store::DataFile::CourseIndex, CourseFields());
    static const RecordLayout trainings =
        MakeLayout(store::DataFile::TrainingRecords, TrainingFields());
    switch (file) {
    case store::DataFile::UserList:
        return users;
    case store::DataFile::NameList:
        return persons;
    case store::DataFile::CourseIndex:
        return courses;
    case store::DataFile::TrainingRecords:
        break;
    }
    return trainings;
}

const std::array<store::DataFile, 4>& AllDataFiles() {
    static const std::array<store::DataFile, 4> files{
        store::DataFile::UserList, store::DataFile::NameList, store::DataFile::CourseIndex,
        store::DataFile::TrainingRecords};
    return files;
}

std::optional<store::DataFile> DataFileNamed(const QString& name) {
    for (store::DataFile file : AllDataFiles()) {
        if (store::FileNameOf(file).compare(name, Qt::CaseInsensitive) == 0) {
            return file;
        }
    }
    return std::nullopt;
}

store::StoreResult ForEachRecord(store::DataFile file,
                                 const std::function<void(qint32, const RecordRow&)>& visit,
                                 const QString& folder) {
    const RecordLayout& layout = LayoutOf(file);
    RecordRow row;
    return ForEachRecordBytes(
        file,
        [&](qint32 n, const char* bytes) {
            layout.decode(bytes, row);
            visit(n, row);
        },
        folder);
}

store::StoreResult ForEachRecordBytes(store::DataFile file,
                                      const std::function<void(qint32, const char*)>& visit,
                                      const QString& folder) {
    RecordBlocks records;
    if (const store::StoreResult opened = records.Open(file, folder); !opened) {
        return opened;
    }
    // Read in blocks of whole records: few system calls, constant memory.
    const int length = records.Length();
    const qint32 perBlock = std::max(1, (1 << 20) / length);
    QByteArray block(qint64(perBlock) * length, Qt::Uninitialized);
    for (qint64 first = 1; first <= records.Count(); first += perBlock) {
        const auto n = qint32(std::min<qint64>(perBlock, records.Count() - first + 1));
        if (const store::StoreResult read = records.Read(qint32(first), n, block.data()); !read) {
            return read;
        }
        for (qint32 i = 0; i < n; ++i) {
            visit(qint32(first) + i, block.constData() + qint64(i) * length);
        }
    }
    return store::StoreResult::Ok();
}

store::StoreResult RecordBlocks::Open(store::DataFile file, const QString& folder) {
    name_ = store::FileNameOf(file);
    length_ = store::RecordLengthOf(file);
    count_ = 0;
    const QString path = QDir(folder).filePath(name_);
    const QFileInfo info(path);
    if (!info.exists()) {
        return store::StoreResult::Ok(); // opening it would create it
    }
    if (info.isDir()) {
        return store::StoreResult::Fail(name_, QStringLiteral("It is a folder, not a data file."));
    }
    file_.setFileName(path);
    if (!file_.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        return store::StoreResult::Fail(name_, file_.errorString());
    }
    count_ = store::RecordCountForLength(file_.size(), length_);
    // Read once from front to back: from the disk, a longer read-ahead keeps it busy while
    // the records are worked on.
    (void)::posix_fadvise(file_.handle(), 0, 0, POSIX_FADV_SEQUENTIAL);
    return store::StoreResult::Ok();
}

store::StoreResult RecordBlocks::Read(qint32 first, qint32 n, char* into) const {
    const qint64 wanted = qint64(n) * length_;
    const qint64 from = qint64(first - 1) * length_;
    qint64 got = 0;
    while (got < wanted) {
        const ssize_t read =
            ::pread(file_.handle(), into + got, std::size_t(wanted - got), off_t(from + got));
        if (read < 0 && errno == EINTR) {
            continue;
        }
        if (read < 0) {
            return store::StoreResult::Fail(name_, qt_error_string(errno));
        }
        if (read == 0) {
            break;
        }
        got += read;
    }
    std::memset(into + got, 0, static_cast<std::size_t>(wanted - got));
    return store::StoreResult::Ok();
}

QByteArray ShortestText(double value) {
    std::array<char, 64> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    return QByteArray(digits.data(), result.ptr - digits.data());
}

} // namespace store::fields
