#include "store/Journal.h"

#include "store/FileWrite.h"
#include "store/Rewrite.h"

#include <QFile>
#include <QStringList>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
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
    QString text = kind + u'\n';
    for (auto it = fields.cbegin(); it != fields.cend(); ++it)
        text += it.key() + u'=' + it.value() + u'\n';
    text += kEnd + u'\n';
    const QByteArray bytes = text.toUtf8();

    // Never through a link: the journal is ours and lives in the data folder.
    const int fd = ::open(QFile::encodeName(fileName).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
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

StoreResult Remove(const QString& fileName) {
    if (::unlink(QFile::encodeName(fileName).constData()) != 0) {
        if (errno == ENOENT)
            return StoreResult::Ok();
        return StoreResult::Fail(fileName, qt_error_string(errno));
    }
    return rewrite::SyncFolder();
}

} // namespace store::journal
