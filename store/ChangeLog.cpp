#include "store/ChangeLog.h"

#include "store/Clock.h"
#include "store/DataFileOpen.h"
#include "store/FileWrite.h"
#include "store/Formats.h"
#include "store/ReadOnlyStation.h"
#include "store/Rewrite.h"
#include "store/Sha256.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace store::changelog {

namespace {

QString& Acting() {
    static QString name;
    return name;
}

// The fixed fields after the hash and the sequence number, before the changed fields.
constexpr int kFixedFields = 8;

// "yyyy-MM-dd HH:mm:ss" by hand into `text`: a log of a million lines is written and read a
// line at a time, and an import makes thousands of them at once. False (and nothing written)
// for an invalid time or a year beyond four digits.
constexpr int kTimeChars = 19;
bool PutTime(const QDateTime& time, char* text) {
    if (!time.isValid())
        return false;
    int year = 0;
    int month = 0;
    int day = 0;
    time.date().getDate(&year, &month, &day); // one calendar computation, not three
    if (year < 0 || year > 9999)
        return false;
    const int seconds = time.time().msecsSinceStartOfDay() / 1000;
    const auto put = [text](int at, int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            text[at + i] = char('0' + value % 10);
    };
    put(0, year, 4);
    text[4] = '-';
    put(5, month, 2);
    text[7] = '-';
    put(8, day, 2);
    text[10] = ' ';
    put(11, seconds / 3600, 2);
    text[13] = ':';
    put(14, seconds / 60 % 60, 2);
    text[16] = ':';
    put(17, seconds % 60, 2);
    return true;
}

// The time of PutTime, invalid for any other text.
QDateTime TimeOf(QStringView text) {
    static constexpr int kDigits[] = {0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15, 17, 18};
    if (text.size() != 19 || text[4] != u'-' || text[7] != u'-' || text[10] != u' ' ||
        text[13] != u':' || text[16] != u':')
        return QDateTime();
    int v[std::size(kDigits)];
    for (std::size_t i = 0; i < std::size(kDigits); ++i) {
        const char16_t c = text[kDigits[i]].unicode();
        if (c < u'0' || c > u'9')
            return QDateTime();
        v[i] = c - u'0';
    }
    const QDate date(v[0] * 1000 + v[1] * 100 + v[2] * 10 + v[3], v[4] * 10 + v[5],
                     v[6] * 10 + v[7]);
    const QTime time(v[8] * 10 + v[9], v[10] * 10 + v[11], v[12] * 10 + v[13]);
    if (!date.isValid() || !time.isValid())
        return QDateTime();
    return formats::DateTimeOf(formats::DateValue(date, time));
}

char HexDigit(int n) {
    return "0123456789abcdef"[n & 15];
}

} // namespace

void SetActingUser(const QString& name) {
    Acting() = name;
}

QString ActingUser() {
    return Acting();
}

Change Now(const QString& what, const QString& kindOf) {
    Change change;
    change.time = formats::DateTimeOf(CurrentDateValue());
    change.user = ActingUser();
    change.action = what;
    change.kind = kindOf;
    return change;
}

QString IdentityText(double dateCreated) {
    char text[kTimeChars];
    return PutTime(formats::DateTimeOf(dateCreated), text) ? QString::fromLatin1(text, kTimeChars)
                                                           : QString();
}

QList<FieldChange> Differences(const QList<std::pair<QString, QString>>& before,
                               const QList<std::pair<QString, QString>>& after) {
    // Either table may be empty (an addition, a removal); otherwise both name the same fields.
    const qsizetype fields = std::max(before.size(), after.size());
    QList<FieldChange> changes;
    changes.reserve(fields); // an addition's or a removal's lines tell every field
    for (qsizetype i = 0; i < fields; ++i) {
        const QString old = i < before.size() ? before[i].second : QString();
        const QString now = i < after.size() ? after[i].second : QString();
        if (old != now)
            changes.append({i < after.size() ? after[i].first : before[i].first, old, now});
    }
    return changes;
}

namespace {

// The escapes of Escape, byte by byte over the text's UTF-8.
void AppendEscapedUtf8(QByteArray& out, QByteArrayView utf8) {
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\\')
            out += "\\\\";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (u < 0x20 || u == 0x7f) {
            const char hex[] = {'\\', 'x', HexDigit(u >> 4), HexDigit(u)};
            out.append(hex, sizeof hex);
        } else
            out += c;
    }
}

// Escape(text) appended to `out`. Most text is printable ASCII, which needs no escape and is
// its own UTF-8: it goes across a character at a time, with no text made in between.
void AppendEscaped(QByteArray& out, QStringView text) {
    const qsizetype start = out.size();
    out.resize(start + text.size());
    char* to = out.data() + start;
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c < 0x20 || c >= 0x7f || c == u'\\') {
            out.truncate(start);
            AppendEscapedUtf8(out, text.toUtf8());
            return;
        }
        *to++ = char(c);
    }
}

} // namespace

QByteArray Escape(const QString& text) {
    QByteArray out;
    AppendEscaped(out, text);
    return out;
}

bool Unescape(QByteArrayView field, QString& text) {
    if (!field.contains('\\')) {
        text = QString::fromUtf8(field);
        return true;
    }
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            out += field[i];
            continue;
        }
        if (++i >= field.size())
            return false;
        switch (field[i]) {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 'x': {
            bool ok = false;
            const int code = i + 2 < field.size()
                                 ? QByteArray(field.sliced(i + 1, 2).toByteArray()).toInt(&ok, 16)
                                 : 0;
            if (!ok)
                return false;
            out += static_cast<char>(code);
            i += 2;
            break;
        }
        default:
            return false;
        }
    }
    text = QString::fromUtf8(out);
    return true;
}

namespace {

// The bytes of ContentOf when the change is ASCII, as it nearly always is.
qsizetype ContentRoom(const Change& change) {
    qsizetype size = kTimeChars;
    for (const QString* field : {&change.user, &change.action, &change.kind, &change.identity,
                                 &change.name, &change.person, &change.course})
        size += 1 + field->size();
    for (const FieldChange& f : change.fields)
        size += 3 + f.field.size() + f.before.size() + f.after.size();
    return size;
}

// ContentOf appended to `out`.
void AppendContent(QByteArray& out, const Change& change) {
    char time[kTimeChars];
    if (PutTime(change.time, time))
        out.append(time, kTimeChars);
    const auto add = [&out](const QString& text) {
        out += '\t';
        AppendEscaped(out, text);
    };
    for (const QString* field : {&change.user, &change.action, &change.kind, &change.identity,
                                 &change.name, &change.person, &change.course})
        add(*field);
    for (const FieldChange& f : change.fields) {
        add(f.field);
        add(f.before);
        add(f.after);
    }
}

} // namespace

QByteArray ContentOf(const Change& change) {
    QByteArray line;
    line.reserve(ContentRoom(change)); // one allocation a line
    AppendContent(line, change);
    return line;
}

bool ParseContent(QByteArrayView content, Change& change, ParseMemo* memo) {
    QList<QString> fields;
    fields.reserve(kFixedFields + 3);
    qsizetype from = 0;
    for (qsizetype column = 0;; ++column) {
        const qsizetype tab = content.indexOf('\t', from);
        const QByteArrayView field =
            tab < 0 ? content.sliced(from) : content.sliced(from, tab - from);
        if (memo && column >= qsizetype(memo->columns.size()))
            memo->columns.resize(std::size_t(column + 1));
        if (memo && memo->columns[std::size_t(column)].first == field) {
            fields.append(memo->columns[std::size_t(column)].second);
        } else {
            if (!Unescape(field, fields.emplace_back()))
                return false;
            if (memo)
                memo->columns[std::size_t(column)] = {field.toByteArray(), fields.constLast()};
        }
        if (tab < 0)
            break;
        from = tab + 1;
    }
    if (fields.size() < kFixedFields || (fields.size() - kFixedFields) % 3 != 0)
        return false;
    change.time = memo && memo->timeText == fields[0] ? memo->time : TimeOf(fields[0]);
    if (!change.time.isValid())
        return false;
    if (memo) {
        memo->timeText = fields[0];
        memo->time = change.time;
    }
    change.user = fields[1];
    change.action = fields[2];
    change.kind = fields[3];
    change.identity = fields[4];
    change.name = fields[5];
    change.person = fields[6];
    change.course = fields[7];
    change.fields.clear();
    for (qsizetype i = kFixedFields; i < fields.size(); i += 3)
        change.fields.append({fields[i], fields[i + 1], fields[i + 2]});
    return true;
}

Link HeaderLink() {
    return {Sha256Hex(QByteArray(kHeader)), 0};
}

namespace {

// ChainedLine appended to `out`: an import chains thousands of lines into one write.
void AppendChainedLine(const Link& previous, QByteArrayView content, Link& next, QByteArray& out) {
    // Hashed in parts, with no text made of the line first. (`next` may be `previous`.)
    char number[24];
    const auto digits =
        std::to_chars(number, number + sizeof number, previous.sequence + 1).ptr - number;
    thread_local Sha256 hash;
    hash.Reset();
    hash.Add(previous.hash);
    hash.Add(QByteArrayView("\t"));
    hash.Add(QByteArrayView(number, digits));
    hash.Add(QByteArrayView("\t"));
    hash.Add(content);
    next.sequence = previous.sequence + 1;
    next.hash = hash.HexResult();
    out += next.hash;
    out += '\t';
    out.append(number, digits);
    out += '\t';
    out += content;
    out += '\n';
}

} // namespace

QByteArray ChainedLine(const Link& previous, const QByteArray& content, Link& next) {
    QByteArray line;
    line.reserve(content.size() + 96); // the hash, the number, the tabs and the line break
    AppendChainedLine(previous, content, next, line);
    return line;
}

// ---- Appending --------------------------------------------------------------------------

namespace {

const QString kLengthField = QStringLiteral("ChangeLogLength");
const QString kLinesField = QStringLiteral("ChangeLogLines"); // hexadecimal, '\n' between
const QString kTextField = QStringLiteral("ChangeLogText");
constexpr char kLineSeparator = '\x1e';

// Whether no byte has its high bit set, eight at a time.
bool IsAscii(QByteArrayView bytes) {
    quint64 any = 0;
    qsizetype i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        quint64 word = 0;
        std::memcpy(&word, bytes.data() + i, sizeof word);
        any |= word;
    }
    for (; i < bytes.size(); ++i)
        any |= static_cast<unsigned char>(bytes[i]);
    return (any & 0x8080808080808080ULL) == 0;
}

StoreResult Failure(const QString& reason) {
    return StoreResult::Fail(ChangeLogFileName, reason);
}

// The log, open for reading and writing (created when `create`); -1 and `result` set when it
// cannot be, or when it is missing and not to be created (then `result` is fine).
int OpenLog(bool create, StoreResult& result, bool* created = nullptr) {
    result = StoreResult::Ok();
    const bool existed = QFileInfo::exists(ChangeLogFileName);
    if (created)
        *created = !existed;
    if (!existed && !create)
        return -1;
    bool leadsOutside = false;
    const int fd = OpenDataFile(ChangeLogFileName, O_RDWR | O_CLOEXEC, create, leadsOutside);
    if (fd < 0)
        result = Failure(leadsOutside ? LeadsOutsideReason() : qt_error_string(errno));
    return fd;
}

qint64 SizeOf(int fd) {
    struct stat st;
    return ::fstat(fd, &st) == 0 ? qint64(st.st_size) : -1;
}

bool ReadAt(int fd, qint64 offset, qint64 size, QByteArray& bytes) {
    bytes.resize(size);
    qint64 got = 0;
    while (got < size) {
        const ssize_t n = ::pread(fd, bytes.data() + got, size_t(size - got), off_t(offset + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        got += n;
    }
    return true;
}

// Where the chain stands after the line that ends at `length` (its line break at length-1).
// A line that cannot be read as one of ours is followed by its own hash, with no number.
bool LinkBefore(int fd, qint64 length, Link& link) {
    if (length <= 0) {
        link = HeaderLink();
        return true;
    }
    QByteArray line;
    for (qint64 span = 512;; span *= 2) {
        const qint64 from = std::max<qint64>(0, length - 1 - span);
        QByteArray bytes;
        if (!ReadAt(fd, from, length - 1 - from, bytes))
            return false;
        const qsizetype at = bytes.lastIndexOf('\n');
        if (at >= 0 || from == 0) {
            line = bytes.mid(at + 1);
            break;
        }
    }
    if (line == kHeader) {
        link = HeaderLink();
        return true;
    }
    const QList<QByteArray> fields = line.split('\t');
    bool numbered = false;
    link.sequence = fields.size() > 1 ? fields[1].toLongLong(&numbered) : 0;
    if (numbered && fields[0].size() == 64) {
        link.hash = fields[0];
    } else {
        link.hash = Sha256Hex(line);
        link.sequence = 0;
    }
    return true;
}

// Pending::contents of `changes`: the lines of an import, some megabytes, in one block.
QByteArray JoinedContents(const QList<Change>& changes) {
    qsizetype size = 0;
    for (const Change& change : changes)
        size += ContentRoom(change) + 1;
    QByteArray contents;
    contents.reserve(size);
    for (const Change& change : changes) {
        AppendContent(contents, change);
        contents += kLineSeparator;
    }
    return contents;
}

// The pending lines' contents, as Prepare made them or made now.
QByteArray ContentsOf(const Pending& pending) {
    return pending.contents.isEmpty() ? JoinedContents(pending.changes) : pending.contents;
}

// The bytes the pending lines take when they follow the log's first `length` bytes.
bool PendingBytes(int fd, qint64 length, const Pending& pending, QByteArray& bytes) {
    Link link;
    if (!LinkBefore(fd, length, link))
        return false;
    bytes = length == 0 ? QByteArray(kHeader) + '\n' : QByteArray();
    const QByteArray contents = ContentsOf(pending);
    // Each line gains its hash, its number, two tabs and a line break for its separator.
    bytes.reserve(bytes.size() + contents.size() + 96 * pending.changes.size());
    for (qsizetype from = 0; from < contents.size();) {
        const qsizetype end = contents.indexOf(kLineSeparator, from);
        if (end < 0)
            break;
        AppendChainedLine(link, QByteArrayView(contents).sliced(from, end - from), link, bytes);
        from = end + 1;
    }
    return true;
}

} // namespace

StoreResult Prepare(const QList<Change>& changes, Pending& pending) {
    pending = Pending{};
    if (StoreResult behind = CompleteFailedBehind(); !behind)
        return behind;
    pending.changes = changes;
    if (changes.isEmpty())
        return StoreResult::Ok();
    pending.contents = JoinedContents(changes);
    StoreResult result;
    const int fd = OpenLog(false, result);
    if (fd < 0)
        return result;
    pending.lengthBefore = SizeOf(fd);
    ::close(fd);
    if (pending.lengthBefore < 0)
        return Failure(qt_error_string(errno));
    return StoreResult::Ok();
}

void NoteInJournal(const Pending& pending, journal::Fields& fields) {
    if (pending.IsEmpty())
        return;
    // As they are, one after another: a line holds no control character but its tabs (the
    // rest are escaped), so neither the journal's line breaks nor the separator can occur in
    // one. An import's lines come to megabytes, which as hexadecimal took twice the room and
    // time. The journal's fields are text: the lines go into it straight from their block,
    // ASCII (nearly all of them) a byte to a character.
    const QByteArray lines = ContentsOf(pending);
    fields.insert(kLengthField, QString::number(pending.lengthBefore));
    fields.insert(kTextField,
                  IsAscii(lines) ? QString::fromLatin1(lines) : QString::fromUtf8(lines));
}

bool FromJournal(const journal::Fields& fields, Pending& pending) {
    pending = Pending{};
    bool ok = false;
    pending.lengthBefore = fields.value(kLengthField).toLongLong(&ok);
    if (!ok || pending.lengthBefore < 0)
        return false;
    // A journal of the version before carries its lines in hexadecimal.
    const bool text = fields.contains(kTextField);
    const QByteArray lines = text ? fields.value(kTextField).toUtf8()
                                  : QByteArray::fromHex(fields.value(kLinesField).toLatin1());
    for (const QByteArray& content : lines.split(text ? kLineSeparator : '\n')) {
        if (content.isEmpty())
            continue;
        Change change;
        if (!ParseContent(content, change))
            return false;
        pending.changes.append(change);
    }
    return !pending.IsEmpty();
}

Staged::~Staged() {
    if (fd_ >= 0)
        ::close(fd_);
}

StoreResult Staged::Stage(const Pending& pending) {
    if (pending.IsEmpty())
        return StoreResult::Ok();
    if (IsReadOnlyStation())
        return Failure(ReadOnlyStationReason());
    StoreResult result;
    fd_ = OpenLog(true, result, &created_);
    if (fd_ < 0)
        return result;
    const qint64 size = SizeOf(fd_);
    QByteArray bytes;
    QByteArray there;
    if (size < 0) {
        return Failure(qt_error_string(errno));
    } else if (size >= pending.lengthBefore &&
               PendingBytes(fd_, pending.lengthBefore, pending, bytes) &&
               ReadAt(fd_, pending.lengthBefore, size - pending.lengthBefore, there) &&
               (bytes.startsWith(there) || there.startsWith(bytes))) {
        // What is there already is not written again: a first part of the lines, or all of
        // them with later work's lines after them (a journal left done, found again).
        bytes.remove(0, std::min(bytes.size(), there.size()));
    } else if (!PendingBytes(fd_, size, pending, bytes)) {
        return Failure(qt_error_string(errno));
    }
    if (bytes.isEmpty())
        return StoreResult::Ok();
    result = io::WriteAt(fd_, ChangeLogFileName, size, bytes.constData(), bytes.size());
    // Only a head start for the disk: Finish's sync is what makes the lines durable.
    if (result)
        (void)::sync_file_range(fd_, off_t(size), off_t(bytes.size()), SYNC_FILE_RANGE_WRITE);
    return result;
}

StoreResult Staged::Finish() {
    if (fd_ < 0)
        return StoreResult::Ok(); // nothing staged
    StoreResult result = io::Sync(fd_, ChangeLogFileName);
    ::close(std::exchange(fd_, -1));
    if (result && created_)
        result = rewrite::SyncFolder();
    return result;
}

StoreResult Complete(const Pending& pending) {
    Staged staged;
    if (StoreResult written = staged.Stage(pending); !written)
        return written;
    return staged.Finish();
}

StoreResult Withdraw(const Pending& pending) {
    if (pending.IsEmpty())
        return StoreResult::Ok();
    StoreResult result;
    const int fd = OpenLog(false, result);
    if (fd < 0)
        return result;
    const qint64 size = SizeOf(fd);
    QByteArray bytes;
    QByteArray there;
    if (size > pending.lengthBefore && PendingBytes(fd, pending.lengthBefore, pending, bytes) &&
        ReadAt(fd, pending.lengthBefore, size - pending.lengthBefore, there) &&
        bytes.startsWith(there)) {
        if (::ftruncate(fd, off_t(pending.lengthBefore)) != 0)
            result = Failure(qt_error_string(errno));
        if (result)
            result = io::Sync(fd, ChangeLogFileName);
    }
    ::close(fd);
    return result;
}

StoreResult Append(const QList<Change>& changes) {
    Pending pending;
    if (StoreResult prepared = Prepare(changes, pending); !prepared)
        return prepared;
    return Complete(pending);
}

} // namespace store::changelog
