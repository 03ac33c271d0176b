#include "store/Journal.h"

#include "store/FileWrite.h"
#include "store/NewFileMode.h"
#include "store/ReadOnlyStation.h"
#include "store/Rewrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace store::journal {

namespace {
// The last line of every whole journal.
const QString kEnd = QStringLiteral("end");
} // namespace

QString NumberText(double value) {
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return QString::number(bits, 16);
}

double NumberOf(const QString& text) {
    const quint64 bits = text.toULongLong(nullptr, 16);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QString TextField(const QString& text) {
    return QString::fromLatin1(text.toUtf8().toHex());
}

QString TextOf(const QString& field) {
    return QString::fromUtf8(QByteArray::fromHex(field.toLatin1()));
}

StoreResult Write(const QString& fileName, const QString& kind, const Fields& fields) {
    if (IsReadOnlyStation())
        return StoreResult::Fail(fileName, ReadOnlyStationReason());
    // Made as UTF-8 field by field: a journal may carry megabytes (an import's lines).
    QByteArray bytes = kind.toUtf8() + '\n';
    for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
        bytes += it.key().toUtf8();
        bytes += '=';
        bytes += it.value().toUtf8();
        bytes += '\n';
    }
    bytes += kEnd.toUtf8();
    bytes += '\n';

    // Never through a link: the journal is ours and lives in the data folder, where it is
    // as readable as the data files it names.
    const int fd = OpenCreating(fileName, O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return StoreResult::Fail(fileName, qt_error_string(errno));
    StoreResult result = io::WriteAt(fd, fileName, 0, bytes.constData(), bytes.size());
    if (result)
        result = io::Sync(fd, fileName);
    ::close(fd);
    if (result)
        result = rewrite::SyncFolder();
    if (!result)
        ::unlink(QFile::encodeName(fileName).constData()); // the work does not begin
    return result;
}

StoreResult Read(const QString& fileName, const QString& kind, Fields& fields, bool& found) {
    fields.clear();
    found = false;
    QFile file(fileName);
    if (!file.exists())
        return StoreResult::Ok();
    if (!file.open(QIODevice::ReadOnly))
        return StoreResult::Fail(fileName, file.errorString());
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    file.close();
    // A whole journal: its kind, its fields, "end", and the last line break.
    const bool whole =
        lines.size() >= 3 && lines.last().isEmpty() && lines.at(lines.size() - 2) == kEnd;
    if (!whole)
        return Remove(fileName);
    if (lines.first() != kind)
        return StoreResult::Fail(fileName, QStringLiteral("It is not the journal this program "
                                                          "expects there; it was left as it is."));
    for (qsizetype i = 1; i < lines.size() - 2; ++i) {
        const qsizetype equals = lines[i].indexOf(u'=');
        if (equals > 0)
            fields.insert(lines[i].left(equals), lines[i].mid(equals + 1));
    }
    found = true;
    return StoreResult::Ok();
}

Interrupted ReadInterrupted(const QString& fileName, const QString& kind, QString* note) {
    if (note)
        note->clear();
    Fields fields;
    bool found = false;
    StoreResult read = Read(fileName, kind, fields, found);
    if (!read || !found)
        return {read, std::nullopt};
    return {read, std::move(fields)};
}

StoreResult Remove(const QString& fileName) {
    if (::unlink(QFile::encodeName(fileName).constData()) != 0) {
        if (errno == ENOENT)
            return StoreResult::Ok();
        return StoreResult::Fail(fileName, qt_error_string(errno));
    }
    return rewrite::SyncFolder();
}

namespace {
// Renames the journal to `base`, or `base`-2, -3... when that is taken, and makes the new name
// durable. `moved` is empty when the journal was not renamed.
StoreResult MoveTo(const QString& fileName, const QString& base, QString& moved) {
    moved.clear();
    QString to = base;
    for (int n = 2; QFileInfo::exists(to) || QFileInfo(to).isSymLink(); ++n)
        to = base + QStringLiteral("-%1").arg(n);
    if (::rename(QFile::encodeName(fileName).constData(), QFile::encodeName(to).constData()) != 0)
        return StoreResult::Fail(fileName, qt_error_string(errno));
    moved = to;
    return rewrite::SyncFolder();
}
} // namespace

StoreResult SetAside(const QString& fileName, QString& aside) {
    return MoveTo(fileName, fileName + QStringLiteral(".not-applied"), aside);
}

StoreResult MarkDone(const QString& fileName, QString& done) {
    return MoveTo(fileName, fileName + kDoneSuffix, done);
}

QStringList DoneOf(const QString& fileName) {
    const QFileInfo journal(fileName);
    QStringList done;
    for (const QString& name :
         journal.dir().entryList({journal.fileName() + kDoneSuffix + u'*'}, QDir::Files))
        done.append(journal.dir().filePath(name));
    return done;
}

namespace {
void Take(const struct stat& st, FileState& state) {
    state.device = static_cast<quint64>(st.st_dev);
    state.inode = static_cast<quint64>(st.st_ino);
    state.size = static_cast<qint64>(st.st_size);
    state.modified = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}
} // namespace

bool StateOf(const QString& fileName, FileState& state) {
    state = FileState{};
    struct stat st;
    if (::stat(QFile::encodeName(fileName).constData(), &st) != 0)
        return false;
    Take(st, state);
    return true;
}

bool StateOf(int fd, FileState& state) {
    state = FileState{};
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return false;
    Take(st, state);
    return true;
}

QString StateField(const FileState& state) {
    return QStringLiteral("%1:%2:%3:%4")
        .arg(state.device)
        .arg(state.inode)
        .arg(state.size)
        .arg(state.modified);
}

bool StateFrom(const QString& field, FileState& state) {
    state = FileState{};
    const QStringList parts = field.split(u':');
    if (parts.size() != 4)
        return false;
    bool ok[4] = {};
    state.device = parts[0].toULongLong(&ok[0]);
    state.inode = parts[1].toULongLong(&ok[1]);
    state.size = parts[2].toLongLong(&ok[2]);
    state.modified = parts[3].toLongLong(&ok[3]);
    return ok[0] && ok[1] && ok[2] && ok[3];
}

namespace {
const QString kNoFile = QStringLiteral("none");
} // namespace

QString FileField(const QString& fileName) {
    FileState state;
    return StateOf(fileName, state) ? StateField(state) : kNoFile;
}

bool StillTheFile(const QString& field, const QString& fileName, bool unwritten) {
    FileState now;
    const bool there = StateOf(fileName, now);
    if (field == kNoFile)
        return !there;
    FileState then;
    if (!there || !StateFrom(field, then))
        return false;
    return unwritten ? now.Unchanged(then) : now.SameFile(then) && now.size == then.size;
}

} // namespace store::journal
