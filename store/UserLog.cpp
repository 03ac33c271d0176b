#include "store/UserLog.h"

#include "store/Clock.h"
#include "store/Codepage.h"
#include "store/ControlCharacters.h"
#include "store/DataFileOpen.h"
#include "store/Formats.h"
#include "store/ReadOnlyStation.h"

#include <QFile>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace store {

namespace {

// Filler characters for scrambled passwords. Seeded once from the clock.
std::mt19937& Generator() {
    static std::mt19937 generator(static_cast<std::mt19937::result_type>(
        std::chrono::system_clock::now().time_since_epoch().count()));
    return generator;
}

bool IsLetterOrDigit(int code) {
    return (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') ||
           (code >= 'a' && code <= 'z');
}

// A random character code from 48 to 122, drawn again until it is a letter or a digit.
QChar RandomFiller() {
    std::uniform_int_distribution<int> range(48, 122);
    int code = range(Generator());
    while (!IsLetterOrDigit(code))
        code = range(Generator());
    return QChar(code);
}

QString NotPlainFile() {
    return QStringLiteral("It is not a plain file; nothing was written to it.");
}

} // namespace

QString UserLogLine(UserLogEvent event, const QString& displayName, const QString& accessLevelName,
                    const QDateTime& when) {
    const double value = formats::DateValue(when);
    QString line = formats::MmDdYyyy(value) + QStringLiteral(" at ") + formats::HhNnSs(value) +
                   QStringLiteral(" - ") + EscapeControlCharacters(displayName);
    if (event == UserLogEvent::SignIn)
        line += QStringLiteral(" logged in w/ ") + EscapeControlCharacters(accessLevelName) +
                QStringLiteral(" privileges.");
    else if (event == UserLogEvent::FailedSignIn)
        line += QStringLiteral(" failed to sign in.");
    else if (event == UserLogEvent::FailedAccessCode)
        line += displayName.isEmpty() ? QStringLiteral("An incorrect access code was entered.")
                                      : QStringLiteral(" entered an incorrect access code.");
    else
        line += QStringLiteral(" logged out.");
    return line;
}

StoreResult AppendUserLog(UserLogEvent event, const QString& displayName,
                          const QString& accessLevelName) {
    if (IsReadOnlyStation())
        return StoreResult::Fail(UserLogFileName, ReadOnlyStationReason());
    const QByteArray bytes =
        EncodeAnsi(UserLogLine(event, displayName, accessLevelName, CurrentDateTime())) + "\r\n";
    // A log that is not there yet is made with the data folder's read and write bits. Never
    // waits: a FIFO in the log's place is refused below, not written to.
    bool leadsOutside = false;
    const int fd = OpenDataFile(UserLogFileName, O_WRONLY | O_APPEND | O_CLOEXEC | O_NONBLOCK, true,
                                leadsOutside);
    if (leadsOutside)
        return StoreResult::Fail(UserLogFileName, LeadsOutsideReason());
    // A FIFO nobody reads answers ENXIO.
    if (fd < 0)
        return StoreResult::Fail(UserLogFileName,
                                 errno == ENXIO ? NotPlainFile() : qt_error_string(errno));
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        return StoreResult::Fail(UserLogFileName, qt_error_string(error));
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return StoreResult::Fail(UserLogFileName, NotPlainFile());
    }
    QFile log;
    if (!log.open(fd, QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered,
                  QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return StoreResult::Fail(UserLogFileName, log.errorString());
    }
    const qint64 before = log.size();
    const qint64 written = log.write(bytes);
    if (written == bytes.size())
        return StoreResult::Ok();
    // The log only ever grows by whole lines: a line written in part is taken back.
    const QString reason = log.error() != QFileDevice::NoError
                               ? log.errorString()
                               : QStringLiteral("Only %1 of %2 bytes could be written.")
                                     .arg(written)
                                     .arg(bytes.size());
    if (!log.isSequential())
        log.resize(before);
    return StoreResult::Fail(UserLogFileName, reason);
}

QString ScramblePassword(const QString& password) {
    const QString clear = TrimField(password);
    QString scrambled;
    scrambled.reserve(clear.size() * 2);
    for (const QChar c : clear) {
        scrambled += RandomFiller();
        scrambled += c;
    }
    return scrambled;
}

QString UnscramblePassword(const QString& scrambled) {
    const QString stored = TrimField(scrambled);
    QString clear;
    clear.reserve(stored.size() / 2);
    for (qsizetype i = 1; i < stored.size(); i += 2)
        clear += stored.at(i);
    return clear;
}

} // namespace store
