#pragma once

#include <QString>

namespace store {

// Outcome of a file-layer operation. A failure carries the file's name and the system's
// reason, ready for a window to show; success carries nothing.
class [[nodiscard]] StoreResult {
public:
    StoreResult() = default;
    static StoreResult Ok() { return {}; }
    static StoreResult Fail(const QString& fileName, const QString& reason) {
        StoreResult r;
        r.failed_ = true;
        r.fileName_ = fileName;
        r.reason_ = reason;
        return r;
    }

    // A refusal at a file's limit: the file is full, which is no fault of the disk or the
    // folder, and the user is told so rather than sent to check the data folder.
    static StoreResult Full(const QString& fileName, const QString& reason) {
        StoreResult r = Fail(fileName, reason);
        r.full_ = true;
        return r;
    }

    bool ok() const { return !failed_; }
    bool isFull() const { return full_; }
    explicit operator bool() const { return !failed_; }
    const QString& fileName() const { return fileName_; }
    const QString& reason() const { return reason_; }
    // One line for the message box: the file and why the system refused.
    QString text() const {
        return failed_ ? QStringLiteral("\"%1\": %2").arg(fileName_, reason_) : QString();
    }

private:
    bool failed_ = false;
    bool full_ = false;
    QString fileName_;
    QString reason_;
};

} // namespace store
