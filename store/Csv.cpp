#include "store/Csv.h"

#include "store/Codepage.h"
#include "store/FileCopy.h"
#include "store/FileWrite.h"
#include "store/HoursSum.h"
#include "store/NewFileMode.h"
#include "store/SyncBehind.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace store::csv {

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
// Rows are gathered and written in blocks of about this size.
constexpr qsizetype kFlushBytes = 1 << 20;
// A long file is synced along the way each time this much more is written: often enough that
// little is left for the last sync, seldom enough that the syncs cost little.
constexpr qint64 kSyncBehindBytes = qint64(16) << 20;
// A file to read larger than this is no spreadsheet of persons or training.
constexpr qint64 kMostBytes = qint64(512) << 20;

bool IsFormulaStart(char16_t c) {
    return c == u'=' || c == u'+' || c == u'-' || c == u'@';
}

constexpr bool NeedsQuotes(char16_t c) {
    return c == u',' || c == u'"' || c == u'\r' || c == u'\n';
}

// What a stored byte asks of the field it is in.
constexpr unsigned char kHighByte = 1; // not ASCII: the field must be converted to UTF-8
constexpr unsigned char kQuoted = 2;   // the field must be quoted

// Whether the text, after any single quotes it begins with, begins as a formula.
bool NeedsGuard(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u'\'')
        ++i;
    return i < text.size() && IsFormulaStart(text[i].unicode());
}

// Each Put writes one field at `out` and returns the end of what it wrote; the caller has
// made room for the most it may write.

// `utf8` as one field: quoted when needed, quotes doubled, guarded. At most 2 * size + 3 bytes.
char* PutEncoded(char* out, const char* utf8, qsizetype size, bool guard) {
    bool quote = false;
    for (qsizetype i = 0; i < size && !quote; ++i)
        quote = NeedsQuotes(static_cast<unsigned char>(utf8[i]));
    if (quote)
        *out++ = '"';
    if (guard)
        *out++ = '\'';
    if (!quote) {
        std::memcpy(out, utf8, size_t(size));
        return out + size;
    }
    for (qsizetype i = 0; i < size; ++i) {
        *out++ = utf8[i];
        if (utf8[i] == '"')
            *out++ = '"';
    }
    *out++ = '"';
    return out;
}

constexpr qsizetype TextRoom(qsizetype utf8Bytes) {
    return 2 * utf8Bytes + 3;
}

char* PutText(char* out, const QByteArray& utf8, QStringView text) {
    return PutEncoded(out, utf8.constData(), utf8.size(), NeedsGuard(text));
}

// A Windows-1252 character takes at most 3 bytes of UTF-8.
constexpr qsizetype StoredTextRoom(int width) {
    return TextRoom(3 * qsizetype(width));
}

char* PutStoredText(char* out, const char* bytes, int width) {
    int begin = 0;
    const int end = PaddedEnd(bytes, width);
    while (begin < end && (bytes[begin] == ' ' || bytes[begin] == '\0'))
        ++begin;
    // Plain ASCII is its own UTF-8: by far the most stored text, looked at once.
    static constexpr std::array<unsigned char, 256> kKinds = [] {
        std::array<unsigned char, 256> kinds{};
        for (int c = 0; c < 256; ++c)
            kinds[c] = (c >= 0x80 ? kHighByte : 0) | (NeedsQuotes(char16_t(c)) ? kQuoted : 0);
        return kinds;
    }();
    unsigned kinds = 0;
    for (int i = begin; i < end; ++i)
        kinds |= kKinds[static_cast<unsigned char>(bytes[i])];
    if (kinds & kHighByte) {
        const QString text = DecodeAnsi(bytes + begin, end - begin);
        return PutText(out, text.toUtf8(), text);
    }
    int quotesBefore = begin;
    while (quotesBefore < end && bytes[quotesBefore] == '\'')
        ++quotesBefore;
    const bool guard = quotesBefore < end && IsFormulaStart(char16_t(bytes[quotesBefore]));
    if (!(kinds & kQuoted) && !guard) {
        std::memcpy(out, bytes + begin, size_t(end - begin));
        return out + (end - begin);
    }
    return PutEncoded(out, bytes + begin, end - begin, guard);
}

constexpr qsizetype kNumberRoom = 40;

template <class Number> char* PutShortest(char* out, Number value) {
    return std::to_chars(out, out + kNumberRoom, value).ptr;
}

char* PutNumber(char* out, double value) {
    if (!std::isfinite(value)) {
        const QString text = QString::fromLatin1(std::isnan(value) ? "nan"
                                                 : value > 0       ? "inf"
                                                                   : "-inf");
        return PutText(out, text.toLatin1(), text);
    }
    // Whole numbers (a date without a time) are their own shortest text, and quicker made.
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return PutShortest(out, static_cast<qint64>(value));
    return PutShortest(out, value);
}

char* PutHours(char* out, float hours) {
    if (!std::isfinite(hours))
        return PutNumber(out, double(hours));
    static_assert(kExactHoursChars <= kNumberRoom);
    return ExactHoursChars(hours, out);
}

// Appends what `put` writes, given `room`.
template <class Put> void AppendWith(QByteArray& out, qsizetype room, Put put) {
    const qsizetype used = out.size();
    out.resize(used + room);
    out.truncate(put(out.data() + used) - out.constData());
}

QString SystemReason(int error) {
    return qt_error_string(error);
}

} // namespace

// ---- Writing --------------------------------------------------------------------------

void AppendText(QByteArray& out, QStringView text) {
    const QByteArray utf8 = text.toUtf8();
    AppendWith(out, TextRoom(utf8.size()), [&](char* at) { return PutText(at, utf8, text); });
}

void AppendStoredText(QByteArray& out, const char* bytes, int width) {
    AppendWith(out, StoredTextRoom(width),
               [&](char* at) { return PutStoredText(at, bytes, width); });
}

void AppendNumber(QByteArray& out, double value) {
    AppendWith(out, kNumberRoom, [&](char* at) { return PutNumber(at, value); });
}

void AppendHours(QByteArray& out, float hours) {
    AppendWith(out, kNumberRoom, [&](char* at) { return PutHours(at, hours); });
}

QByteArray Row(const QStringList& fields) {
    QByteArray row;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            row += ',';
        AppendText(row, fields[i]);
    }
    row += "\r\n";
    return row;
}

char* Rows::Field(qsizetype room) {
    char* at = Room(room + 1);
    if (rowStarted_)
        *at++ = ',';
    rowStarted_ = true;
    return at;
}

char* Rows::Room(qsizetype room) {
    if (used_ + room > bytes_.size())
        bytes_.resize(std::max(used_ + room, 2 * bytes_.size()));
    return bytes_.data() + used_;
}

void Rows::Text(QStringView text) {
    const QByteArray utf8 = text.toUtf8();
    char* at = Field(TextRoom(utf8.size()));
    used_ = PutText(at, utf8, text) - bytes_.constData();
}

void Rows::StoredText(const char* bytes, int width) {
    char* at = Field(StoredTextRoom(width));
    used_ = PutStoredText(at, bytes, width) - bytes_.constData();
}

void Rows::Number(double value) {
    char* at = Field(kNumberRoom);
    used_ = PutNumber(at, value) - bytes_.constData();
}

void Rows::Integer(qint64 value) {
    char* at = Field(kNumberRoom);
    used_ = PutShortest(at, value) - bytes_.constData();
}

void Rows::Hours(float hours) {
    char* at = Field(kNumberRoom);
    used_ = PutHours(at, hours) - bytes_.constData();
}

void Rows::Formatted(QByteArrayView field) {
    char* at = Field(field.size());
    std::memcpy(at, field.data(), size_t(field.size()));
    used_ = at + field.size() - bytes_.constData();
}

void Rows::EndRow() {
    char* at = Room(2);
    at[0] = '\r';
    at[1] = '\n';
    used_ += 2;
    rowStarted_ = false;
}

void Rows::WriteRow(const QStringList& fields) {
    for (const QString& field : fields)
        Text(field);
    EndRow();
}

FileWriter::FileWriter(QString path) : path_(std::move(path)), name_(QFileInfo(path_).fileName()) {}

FileWriter::~FileWriter() {
    Discard();
}

StoreResult FileWriter::Begin() {
    if (StoreResult regular = filecopy::AbsentOrRegular(path_, name_); !regular)
        return result_ = regular;
    // A part file left by an earlier stop is not ours to remove: the next name is taken.
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        const QString part =
            path_ + QStringLiteral(".part") + (attempt > 0 ? QString::number(attempt) : QString());
        fd_ = ::open(QFile::encodeName(part).constData(),
                     O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd_ >= 0)
            partPath_ = part;
        else if (errno != EEXIST)
            return result_ = StoreResult::Fail(name_, SystemReason(errno));
    }
    if (fd_ < 0)
        return result_ = StoreResult::Fail(name_, SystemReason(EEXIST));
    Write(kByteOrderMark);
    return result_;
}

void FileWriter::Text(QStringView text) {
    rows_.Text(text);
    FlushWhenFull();
}

void FileWriter::StoredText(const char* bytes, int width) {
    rows_.StoredText(bytes, width);
    FlushWhenFull();
}

void FileWriter::Number(double value) {
    rows_.Number(value);
    FlushWhenFull();
}

void FileWriter::Integer(qint64 value) {
    rows_.Integer(value);
    FlushWhenFull();
}

void FileWriter::Hours(float hours) {
    rows_.Hours(hours);
    FlushWhenFull();
}

void FileWriter::EndRow() {
    rows_.EndRow();
    FlushWhenFull();
}

void FileWriter::WriteRow(const QStringList& fields) {
    rows_.WriteRow(fields);
    FlushWhenFull();
}

void FileWriter::WriteRows(const Rows& rows) {
    Q_ASSERT(!rows_.RowStarted() && !rows.RowStarted());
    Flush();
    Write(rows.Bytes());
}

void FileWriter::FlushWhenFull() {
    if (rows_.Bytes().size() >= kFlushBytes)
        Flush();
}

void FileWriter::Flush() {
    Write(rows_.Bytes());
    rows_.Drop(); // after a failure nothing more is written: Finish tells it
}

void FileWriter::Write(QByteArrayView bytes) {
    if (!result_)
        return;
    if (fd_ < 0) {
        result_ = StoreResult::Fail(name_, QStringLiteral("The file was not begun."));
        return;
    }
    if (bytes.isEmpty())
        return;
    result_ = io::WriteAt(fd_, name_, offset_, bytes.data(), bytes.size());
    offset_ += bytes.size();
    // The disk takes the file while the rest is made, so that Finish's sync finds little
    // left to wait for.
    if (result_ && offset_ - syncFrom_ >= kSyncBehindBytes) {
        if (!syncBehind_)
            syncBehind_ = std::make_unique<io::SyncBehind>(fd_, name_);
        syncBehind_->Request();
        syncFrom_ = offset_;
    }
}

StoreResult FileWriter::Finish() {
    if (finished_)
        return result_;
    finished_ = true;
    if (rows_.RowStarted())
        rows_.EndRow();
    Flush();
    if (syncBehind_) {
        const StoreResult behind = syncBehind_->Stop();
        syncBehind_.reset();
        if (result_)
            result_ = behind;
    }
    // A file replaced keeps who may read it; a new one takes its folder's bits.
    const QString folder = QFileInfo(path_).absolutePath();
    struct stat target {};
    if (result_) {
        if (::stat(QFile::encodeName(path_).constData(), &target) == 0 && S_ISREG(target.st_mode)) {
            if (::fchown(fd_, static_cast<uid_t>(-1), target.st_gid) != 0 && errno != EPERM)
                result_ = StoreResult::Fail(name_, SystemReason(errno));
            else if (::fchmod(fd_, target.st_mode & 07777) != 0)
                result_ = StoreResult::Fail(name_, SystemReason(errno));
        } else if (::fchmod(fd_, NewFileModeIn(folder)) != 0) {
            result_ = StoreResult::Fail(name_, SystemReason(errno));
        }
    }
    // On the disk before its name replaces the file's.
    if (result_)
        result_ = io::Sync(fd_, name_);
    struct stat written {};
    if (result_ && ::fstat(fd_, &written) != 0)
        result_ = StoreResult::Fail(name_, SystemReason(errno));
    written_ = {static_cast<quint64>(written.st_dev), static_cast<quint64>(written.st_ino)};
    if (result_ && ::close(std::exchange(fd_, -1)) != 0)
        result_ = StoreResult::Fail(name_, SystemReason(errno));
    if (!result_)
        Discard();
    return result_;
}

StoreResult FileWriter::Commit() {
    if (StoreResult finished = Finish(); !finished)
        return finished;
    // What stands under the name may have changed while the rows were written.
    result_ = filecopy::AbsentOrRegular(path_, name_);
    if (result_)
        result_ = filecopy::RenameWritten(partPath_, path_, written_);
    if (!result_) {
        Discard();
        return result_;
    }
    partPath_.clear();
    return result_ = filecopy::SyncDir(QFileInfo(path_).absolutePath());
}

void FileWriter::Discard() {
    syncBehind_.reset(); // before the descriptor it syncs is closed
    if (fd_ >= 0)
        ::close(std::exchange(fd_, -1));
    if (!partPath_.isEmpty())
        ::unlink(QFile::encodeName(std::exchange(partPath_, QString())).constData());
}

StoreResult WriteFile(const QString& path, const QList<QStringList>& rows) {
    FileWriter writer(path);
    if (StoreResult begun = writer.Begin(); !begun)
        return begun;
    for (const QStringList& row : rows)
        writer.WriteRow(row);
    return writer.Commit();
}

// ---- Reading --------------------------------------------------------------------------

namespace {

QString DecodeText(QByteArrayView bytes) {
    if (bytes.startsWith(kByteOrderMark))
        return QString::fromUtf8(bytes.sliced(3));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return DecodeAnsi(bytes.data(), static_cast<int>(bytes.size()));
}

// Semicolons when the first line holds some and no comma outside quotes.
QChar SeparatorOf(const QString& text) {
    bool quoted = false;
    int commas = 0;
    int semicolons = 0;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u'\n' || c == u'\r'))
            break;
        else if (!quoted && c == u',')
            ++commas;
        else if (!quoted && c == u';')
            ++semicolons;
    }
    return commas == 0 && semicolons > 0 ? QChar(u';') : QChar(u',');
}

// Takes away the quote the writer put before formula text.
void Unguard(QString& field) {
    if (field.startsWith(u'\'') && NeedsGuard(QStringView(field).mid(1)))
        field.remove(0, 1);
}

} // namespace

StoreResult Parse(const QByteArray& bytes, const QString& name, Table& table) {
    table = Table{};
    const QString text = DecodeText(bytes);
    const QChar separator = SeparatorOf(text);
    const QChar* c = text.constData();
    const QChar* const end = c + text.size();

    int line = 1;
    Record record{1, {}};
    QString field;
    bool quoted = false;    // inside a quoted field
    bool wasQuoted = false; // the current field began with a quote
    int quoteLine = 0;
    const auto endField = [&] {
        Unguard(field);
        record.fields.append(std::exchange(field, QString()));
        wasQuoted = false;
    };
    const auto endRecord = [&] {
        endField();
        // An empty line is no row.
        if (record.fields.size() > 1 || !record.fields.constFirst().isEmpty())
            table.records.push_back(std::move(record));
        record = Record{line, {}};
    };
    for (; c < end; ++c) {
        const char16_t u = c->unicode();
        if (quoted) {
            if (u == u'"' && c + 1 < end && c[1] == u'"') {
                field += u'"';
                ++c;
            } else if (u == u'"') {
                quoted = false;
            } else {
                if (u == u'\n' || (u == u'\r' && !(c + 1 < end && c[1] == u'\n')))
                    ++line;
                field += *c;
            }
        } else if (u == u'"' && field.isEmpty() && !wasQuoted) {
            quoted = true;
            wasQuoted = true;
            quoteLine = line;
        } else if (*c == separator) {
            endField();
        } else if (u == u'\r' || u == u'\n') {
            if (u == u'\r' && c + 1 < end && c[1] == u'\n')
                ++c;
            ++line;
            endRecord();
        } else {
            field += *c;
        }
    }
    if (quoted)
        return StoreResult::Fail(name, QStringLiteral("The quoted field that begins on line %1 "
                                                      "is never closed.")
                                           .arg(quoteLine));
    if (!field.isEmpty() || wasQuoted || !record.fields.isEmpty())
        endRecord();
    if (!table.records.empty()) {
        const qsizetype width = table.records.front().fields.size();
        for (const Record& r : table.records) {
            if (r.fields.size() != width)
                table.raggedLines.push_back(r.line);
        }
    }
    return StoreResult::Ok();
}

StoreResult ReadFile(const QString& path, Table& table) {
    table = Table{};
    filecopy::SourceFile source;
    if (StoreResult opened = source.Open(path, filecopy::SourceFile::Links::Follow); !opened)
        return opened;
    if (source.Size() > kMostBytes)
        return StoreResult::Fail(source.Name(),
                                 QStringLiteral("The file is too large to be read (more than "
                                                "%1 MB).")
                                     .arg(kMostBytes >> 20));
    QByteArray bytes(source.Size(), Qt::Uninitialized);
    qint64 got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(source.Fd(), bytes.data() + got, size_t(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return StoreResult::Fail(source.Name(), SystemReason(errno));
        if (n == 0)
            break;
        got += n;
    }
    bytes.truncate(got);
    return Parse(bytes, source.Name(), table);
}

} // namespace store::csv
