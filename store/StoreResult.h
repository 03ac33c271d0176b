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
        r.kind_ = Kind::Full;
        return r;
    }
    // A refusal because the record a window showed is no longer on file as it was (another
    // station changed or removed it): nothing was written, and reloading shows the file.
    static StoreResult ChangedElsewhere(const QString& fileName, const QString& reason) {
        StoreResult r = Fail(fileName, reason);
        r.kind_ = Kind::ChangedElsewhere;
        return r;
    }

    bool ok() const { return !failed_; }
    bool isFull() const { return kind_ == Kind::Full; }
    bool isChangedElsewhere() const { return kind_ == Kind::ChangedElsewhere; }
    explicit operator bool() const { return !failed_; }
    const QString& fileName() const { return fileName_; }
    const QString& reason() const { return reason_; }
    // One line for the message box: the file and why the system refused.
    QString text() const {
        return failed_ ? QStringLiteral("\"%1\": %2").arg(fileName_, reason_) : QString();
    }

private:
    enum class Kind { Fault, Full, ChangedElsewhere };
    bool failed_ = false;
    Kind kind_ = Kind::Fault;
    QString fileName_;
    QString reason_;
};

} // namespace store
