#include "signin/UserLogReading.h"

#include "store/Codepage.h"
#include "store/DataFileOpen.h"
#include "store/UserLog.h"
#include "ui/CrLf.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace signin {

namespace {

// Leading and trailing blanks only; the line breaks at the end stay.
QString TrimBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}

} // namespace

UserLogText ReadUserLogText() {
    UserLogText log;
    bool leadsOutside = false;
    const int fd = store::OpenDataFile(store::UserLogFileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC,
                                       false, leadsOutside);
    const int error = errno;
    if (fd < 0) {
        // No log yet is nothing to view; any other refusal is told.
        if (error != ENOENT)
            log.read = store::StoreResult::Fail(store::UserLogFileName,
                                                leadsOutside ? store::LeadsOutsideReason()
                                                             : qt_error_string(error));
        return log;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return log;
    }
    if (file.size() < 1)
        return log;
    const QByteArray block = file.readAll();
    log.empty = false;
    log.text = TrimBlanks(store::DecodeAnsi(block.constData(), static_cast<int>(block.size())))
                   .replace(ui::CrLf, QStringLiteral("\n"));
    return log;
}

} // namespace signin
