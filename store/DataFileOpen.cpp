#include "store/DataFileOpen.h"

#include "store/NewFileMode.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace store {

namespace {

// As many links in a row as the system itself follows.
constexpr int kMostHops = 40;

QString RealPath(const QString& path) {
    char resolved[PATH_MAX];
    if (!::realpath(QFile::encodeName(path).constData(), resolved))
        return QString();
    return QFile::decodeName(resolved);
}

// `path` with every link in its folders resolved; its last part is kept as it is, so that a
// link or a missing file there stays what it is. Empty when a folder cannot be resolved.
QString ResolveFolders(const QString& path) {
    const QFileInfo info(path);
    const QString name = info.fileName();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return RealPath(path);
    const QString folder = RealPath(info.path());
    return folder.isEmpty() ? QString() : folder + u'/' + name;
}

// The file `fileName` leads to through its links, as a path without links; empty when the
// links go round in a circle, cannot be read, or lead through a folder that is not there.
QString FinalTarget(const QString& fileName) {
    QString path = ResolveFolders(QDir::current().absoluteFilePath(fileName));
    for (int hop = 0; hop < kMostHops && !path.isEmpty(); ++hop) {
        const QByteArray encoded = QFile::encodeName(path);
        struct stat st;
        if (::lstat(encoded.constData(), &st) != 0)
            return errno == ENOENT ? path : QString();
        if (!S_ISLNK(st.st_mode))
            return path;
        char target[PATH_MAX];
        const ssize_t length = ::readlink(encoded.constData(), target, sizeof target);
        if (length <= 0 || length >= static_cast<ssize_t>(sizeof target))
            return QString();
        const QString next = QFile::decodeName(QByteArray(target, length));
        path = ResolveFolders(QFileInfo(path).dir().absoluteFilePath(next));
    }
    return QString();
}

bool InsideDataFolder(const QString& path) {
    const QString folder = RealPath(QStringLiteral("."));
    if (folder.isEmpty() || path.isEmpty())
        return false;
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    return path.startsWith(prefix) && path.size() > prefix.size();
}

} // namespace

int OpenDataFile(const QString& fileName, int flags, bool create, bool& leadsOutside) {
    leadsOutside = false;
    const QString target = FinalTarget(fileName);
    if (!InsideDataFolder(target)) {
        leadsOutside = true;
        errno = ELOOP;
        return -1;
    }
    // Opened by the path the links led to, refusing a link put there meanwhile.
    flags |= O_NOFOLLOW;
    if (create)
        return OpenCreating(target, flags);
    return ::open(QFile::encodeName(target).constData(), flags);
}

QString LeadsOutsideReason() {
    return QStringLiteral("It is a link that leads outside the data folder; it was not opened.");
}

} // namespace store
