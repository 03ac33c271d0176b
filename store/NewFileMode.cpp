#include "store/NewFileMode.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace store {

mode_t NewFileModeIn(const QString& folder) {
    struct stat st;
    if (::stat(QFile::encodeName(folder).constData(), &st) != 0)
        return 0600;
    // The folder's read and write bits for owner, group and others; never execute.
    return (st.st_mode & 0666) | 0600;
}

StoreResult GiveNewFileMode(int fd, const QString& fileName) {
    const QString folder = QFileInfo(fileName).absolutePath();
    if (::fchmod(fd, NewFileModeIn(folder)) != 0)
        return StoreResult::Fail(fileName, qt_error_string(errno));
    return StoreResult::Ok();
}

int OpenCreating(const QString& fileName, int flags, bool* created) {
    if (created)
        *created = false;
    const QByteArray name = QFile::encodeName(fileName);
    // Made with O_EXCL, so that only a file this call made gets a new mode; another program
    // making it in between is met by the plain open on the next round.
    for (int round = 0; round < 3; ++round) {
        int fd = ::open(name.constData(), flags);
        if (fd >= 0 || errno != ENOENT)
            return fd;
        // Private until the folder's mode is given, so a mode that cannot be given (a
        // network drive that keeps its own) leaves the file readable by its owner alone.
        fd = ::open(name.constData(), flags | O_CREAT | O_EXCL, 0600);
        if (fd >= 0) {
            if (created)
                *created = true;
            (void)GiveNewFileMode(fd, fileName);
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    // A link that points nowhere: the file is made where it points, as a plain open would.
    return ::open(name.constData(), flags | O_CREAT, 0600);
}

} // namespace store
