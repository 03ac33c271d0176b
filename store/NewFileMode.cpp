#include "store/NewFileMode.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
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

} // namespace store
