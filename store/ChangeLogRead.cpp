#include "store/ChangeLog.h"

#include "store/Sha256.h"

#include <QFile>
#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <thread>
#include <vector>

namespace store::changelog {

namespace {

// The log in chunks of whole lines, read in large blocks: memory stays that of a chunk.
class ChunkReader {
public:
    explicit ChunkReader(const QString& fileName) : file_(fileName) {}
    bool Exists() const { return file_.exists(); }
    StoreResult Open() {
        if (!file_.open(QIODevice::ReadOnly))
            return StoreResult::Fail(file_.fileName(), file_.errorString());
        (void)::posix_fadvise(file_.handle(), 0, 0, POSIX_FADV_SEQUENTIAL);
        return StoreResult::Ok();
    }
    // The next whole lines, each with its line break but the last line of a file that ends
    // without one; false at the end of the file or on a failure.
    bool Next(QByteArrayView& chunk) {
        // The part line after the last chunk moves to the front; the buffer itself stays, so
        // that its pages are not taken from the system anew for every block.
        const qsizetype kept = filled_ - used_;
        if (kept > 0 && used_ > 0)
            std::memmove(buffer_.data(), buffer_.constData() + used_, std::size_t(kept));
        filled_ = kept;
        used_ = 0;
        for (;;) {
            if (buffer_.size() < filled_ + kBlock)
                buffer_.resize(std::max(filled_ + kBlock, 2 * kBlock));
            const qint64 got = file_.read(buffer_.data() + filled_, kBlock);
            if (got < 0) {
                failed_ = true;
                return false;
            }
            filled_ += got;
            // From the disk, the blocks after this one are on their way while it is checked.
            if (got > 0)
                (void)::posix_fadvise(file_.handle(), file_.pos(), 2 * kBlock, POSIX_FADV_WILLNEED);
            const QByteArrayView filled(buffer_.constData(), filled_);
            const qsizetype end = got == 0 ? filled_ : filled.lastIndexOf('\n') + 1;
            if (end > 0) {
                used_ = end;
                chunk = filled.first(end);
                return true;
            }
            if (got == 0)
                return false;
        }
    }
    StoreResult Result() const {
        return failed_ ? StoreResult::Fail(file_.fileName(), file_.errorString())
                       : StoreResult::Ok();
    }

private:
    static constexpr qint64 kBlock = 4 * 1024 * 1024;
    QFile file_;
    QByteArray buffer_;
    qsizetype filled_ = 0; // bytes read into the buffer
    qsizetype used_ = 0;   // of them, handed out as the last chunk
    bool failed_ = false;
};

// The log's lines one at a time, from the chunks: memory stays that of a chunk, however long
// the log.
class LineReader {
public:
    explicit LineReader(const QString& fileName) : chunks_(fileName) {}
    bool Exists() const { return chunks_.Exists(); }
    StoreResult Open() { return chunks_.Open(); }
    // The next line without its line break; false at the end of the file or on a failure.
    bool Next(QByteArrayView& line) {
        while (at_ >= chunk_.size()) {
            if (!chunks_.Next(chunk_))
                return false;
            at_ = 0;
        }
        qsizetype end = chunk_.indexOf('\n', at_);
        if (end < 0)
            end = chunk_.size(); // a last line without its line break
        line = chunk_.sliced(at_, end - at_);
        at_ = end + 1;
        ++number_;
        return true;
    }
    qint64 Number() const { return number_; }
    StoreResult Result() const { return chunks_.Result(); }

private:
    ChunkReader chunks_;
    QByteArrayView chunk_;
    qsizetype at_ = 0;
    qint64 number_ = 0;
};

// A line split into its hash, its sequence number and the rest.
struct Parts {
    QByteArrayView hash;
    qint64 sequence = 0;
    QByteArrayView numbered; // the sequence number and the rest, as hashed
    QByteArrayView content;
};

bool Split(QByteArrayView line, Parts& parts) {
    const qsizetype first = line.indexOf('\t');
    if (first != 64)
        return false;
    const qsizetype second = line.indexOf('\t', first + 1);
    if (second < 0)
        return false;
    parts.hash = line.first(first);
    parts.numbered = line.sliced(first + 1);
    parts.content = line.sliced(second + 1);
    bool ok = false;
    parts.sequence = line.sliced(first + 1, second - first - 1).toLongLong(&ok);
    return ok;
}

// The filter on a line's bytes, before the line is read into a Change: a viewer narrowed to one
// person looks at a few hundred lines of a million, and reading every one in full would cost
// it seconds. Identities and times are written without escapes, so their bytes compare as
// they are; the user's name is compared after unescaping it.
class RawFilter {
public:
    explicit RawFilter(const ChangeFilter& filter)
        : filter_(filter), person_(Escape(filter.person)), course_(Escape(filter.course)),
          from_(filter.from.isValid() ? filter.from.toString(Qt::ISODate).toLatin1()
                                      : QByteArray()),
          to_(filter.to.isValid() ? filter.to.toString(Qt::ISODate).toLatin1() : QByteArray()) {}

    // False when the line cannot match; true when it may (or is no line of ours: the full
    // reading then says so).
    bool MayMatch(QByteArrayView content) const {
        QByteArrayView fields[kFieldsLooked];
        qsizetype from = 0;
        for (int i = 0; i < kFieldsLooked; ++i) {
            const qsizetype tab = content.indexOf('\t', from);
            if (tab < 0 && i < kFieldsLooked - 1)
                return true;
            fields[i] = tab < 0 ? content.sliced(from) : content.sliced(from, tab - from);
            from = tab + 1;
        }
        const QByteArrayView day = fields[0].first(std::min<qsizetype>(10, fields[0].size()));
        if (!from_.isEmpty() && day < QByteArrayView(from_))
            return false;
        if (!to_.isEmpty() && day > QByteArrayView(to_))
            return false;
        if (!filter_.person.isEmpty() && !NamesPerson(fields[6], person_))
            return false;
        if (!filter_.course.isEmpty() && fields[7] != QByteArrayView(course_))
            return false;
        if (!filter_.user.isEmpty()) {
            QString user;
            if (Unescape(fields[1], user) && user.compare(filter_.user, Qt::CaseInsensitive) != 0)
                return false;
        }
        return true;
    }

private:
    static constexpr int kFieldsLooked = 8; // time, user, ..., person, course
    const ChangeFilter& filter_;
    QByteArray person_;
    QByteArray course_;
    QByteArray from_;
    QByteArray to_;
};

StoreResult NotALog(const QString& fileName, qint64 line) {
    return StoreResult::Fail(fileName,
                             QStringLiteral("Line %1 is not a line of a change log.").arg(line));
}

} // namespace

bool NamesPerson(QByteArrayView field, QByteArrayView identity) {
    if (field == identity)
        return true;
    for (qsizetype from = 0; from <= field.size();) {
        qsizetype comma = field.indexOf(char(PersonSeparator), from);
        if (comma < 0)
            comma = field.size();
        if (field.sliced(from, comma - from) == identity)
            return true;
        from = comma + 1;
    }
    return false;
}

bool ChangeFilter::Matches(const Change& change) const {
    if (!person.isEmpty() && change.person != person &&
        !NamesPerson(change.person.toUtf8(), person.toUtf8()))
        return false;
    if (!course.isEmpty() && change.course != course)
        return false;
    if (!user.isEmpty() && change.user.compare(user, Qt::CaseInsensitive) != 0)
        return false;
    const QDate day = change.time.date();
    return (!from.isValid() || day >= from) && (!to.isValid() || day <= to);
}

StoreResult ForEachChange(const ChangeFilter& filter, const ChangeVisit& visit,
                          const QString& fileName) {
    LineReader reader(fileName);
    if (!reader.Exists())
        return StoreResult::Ok();
    if (StoreResult opened = reader.Open(); !opened)
        return opened;
    QByteArrayView line;
    if (reader.Next(line) && line != QByteArrayView(kHeader))
        return NotALog(fileName, 1);
    ChangeEntry entry;
    const RawFilter raw(filter);
    ParseMemo memo;
    while (reader.Next(line)) {
        Parts parts;
        if (!Split(line, parts))
            return NotALog(fileName, reader.Number());
        if (!raw.MayMatch(parts.content))
            continue;
        if (!ParseContent(parts.content, entry, &memo))
            return NotALog(fileName, reader.Number());
        entry.line = reader.Number();
        entry.sequence = parts.sequence;
        if (filter.Matches(entry) && !visit(entry))
            break;
    }
    return reader.Result();
}

StoreResult ReadChanges(const ChangeFilter& filter, QList<ChangeEntry>& entries,
                        const QString& fileName) {
    entries.clear();
    return ForEachChange(
        filter,
        [&entries](const ChangeEntry& entry) {
            entries.append(entry);
            return true;
        },
        fileName);
}

QString ChainCheck::Describe() const {
    switch (fault) {
    case Fault::None:
        break;
    case Fault::NoHeader:
        return QStringLiteral("Line 1 is not the header of a change log.");
    case Fault::Altered:
        return QStringLiteral("Line %1 was altered.").arg(line);
    case Fault::Removed:
        return QStringLiteral("A line was removed before line %1.").arg(line);
    case Fault::Inserted:
        return QStringLiteral("Line %1 was inserted.").arg(line);
    }
    return QString();
}

namespace {

// A line whose hash is still to be checked: the hash of the line before, the line as hashed
// and the hash it says it has.
struct Hashed {
    QByteArrayView previous;
    QByteArrayView numbered;
    QByteArrayView hash;
};

// The first line of `lines` whose hash is not its own; lines.size() when there is none.
std::size_t FirstAltered(const std::vector<Hashed>& lines) {
    Sha256 hash;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        hash.Reset();
        hash.Add(lines[i].previous);
        hash.Add(QByteArrayView("\t"));
        hash.Add(lines[i].numbered);
        if (!hash.ResultIs(lines[i].hash))
            return i;
    }
    return lines.size();
}

// A run of whole lines checked on its own: its first line follows the hash `previous` and the
// number `sequence`. Line numbers count from the run's start; `header` when it begins the file.
struct Run {
    QByteArrayView bytes;
    QByteArrayView previous;
    qint64 sequence = 0;
    bool header = false;
    // What was found: the lines read (up to and with a fault), the first fault and where.
    qint64 lines = 0;
    ChainCheck::Fault fault = ChainCheck::Fault::None;
    QByteArrayView lastHash;
};

Run RunOf(QByteArrayView bytes, QByteArrayView previous, qint64 sequence, bool header) {
    Run run;
    run.bytes = bytes;
    run.previous = previous;
    run.sequence = sequence;
    run.header = header;
    return run;
}

void CheckRun(Run& run) {
    std::vector<Hashed> hashed;
    std::vector<qint64> numbers; // the line number of each line in `hashed`
    QByteArrayView previous = run.previous;
    qint64 sequence = run.sequence;
    // First what needs no hash, line by line: a line that is not one of ours, or has its
    // number but not its hash, was altered; a number past the next leaves a gap (lines
    // removed), one short of it repeats one already there (a line put in).
    for (qsizetype from = 0; from < run.bytes.size();) {
        qsizetype end = run.bytes.indexOf('\n', from);
        if (end < 0)
            end = run.bytes.size();
        const QByteArrayView line = run.bytes.sliced(from, end - from);
        from = end + 1;
        ++run.lines;
        if (run.header && run.lines == 1) {
            if (line != QByteArrayView(kHeader)) {
                run.fault = ChainCheck::Fault::NoHeader;
                return;
            }
            continue;
        }
        Parts parts;
        if (!Split(line, parts))
            run.fault = ChainCheck::Fault::Altered;
        else if (parts.sequence > sequence + 1)
            run.fault = ChainCheck::Fault::Removed;
        else if (parts.sequence <= sequence)
            run.fault = ChainCheck::Fault::Inserted;
        if (run.fault != ChainCheck::Fault::None)
            break;
        hashed.push_back({previous, parts.numbered, parts.hash});
        numbers.push_back(run.lines);
        previous = parts.hash;
        sequence = parts.sequence;
    }
    // Then the hashes, of the lines before any fault found so far.
    if (const std::size_t altered = FirstAltered(hashed); altered < hashed.size()) {
        run.fault = ChainCheck::Fault::Altered;
        run.lines = numbers[altered];
    }
    run.lastHash = previous;
    run.sequence = sequence;
}

// Where a chunk is cut in two for the two cores: at the line break after its middle, when the
// line before the cut is one of ours (it gives the second half its hash and number to follow).
// Else, or for a small chunk, 0: one run.
qsizetype Cut(QByteArrayView chunk, Parts& before) {
    constexpr qsizetype kSmall = 64 * 1024;
    if (chunk.size() < kSmall)
        return 0;
    const qsizetype cut = chunk.indexOf('\n', chunk.size() / 2) + 1;
    if (cut <= 0 || cut >= chunk.size())
        return 0;
    const qsizetype start = chunk.first(cut - 1).lastIndexOf('\n') + 1;
    if (start == 0) // the line before the cut begins the chunk: no gain in cutting
        return 0;
    return Split(chunk.sliced(start, cut - 1 - start), before) ? cut : 0;
}

} // namespace

StoreResult CheckChain(ChainCheck& check, const QString& fileName) {
    check = ChainCheck{};
    ChunkReader reader(fileName);
    if (!reader.Exists())
        return StoreResult::Ok();
    if (StoreResult opened = reader.Open(); !opened)
        return opened;
    QByteArray previousHash = HeaderLink().hash; // of the last line of the chunk before
    qint64 sequence = 0;
    qint64 number = 0; // lines read
    QByteArrayView chunk;
    while (check.fault == ChainCheck::Fault::None && reader.Next(chunk)) {
        // Each half on a core of its own: the second follows the hash and number its line
        // before states. (Where those are wrong, the first half finds it, and being earlier
        // its fault is the one told.)
        Parts before;
        const qsizetype cut = Cut(chunk, before);
        const qsizetype split = cut > 0 ? cut : chunk.size();
        Run first = RunOf(chunk.first(split), previousHash, sequence, number == 0);
        Run second = RunOf(chunk.sliced(split), before.hash, before.sequence, false);
        if (cut > 0) {
            std::thread other([&] { CheckRun(second); });
            CheckRun(first);
            other.join();
        } else {
            CheckRun(first);
        }
        for (const Run* run : {&first, &second}) {
            if (run->lines == 0)
                continue;
            number += run->lines;
            if (run->fault != ChainCheck::Fault::None) {
                check.fault = run->fault;
                check.line = number;
                break;
            }
            previousHash = run->lastHash.toByteArray();
            sequence = run->sequence;
        }
    }
    check.lines = number;
    return reader.Result();
}

} // namespace store::changelog
