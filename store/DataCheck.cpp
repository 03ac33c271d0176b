#include "store/DataCheck.h"

#include "store/CourseCopies.h"
#include "store/DataRestore.h"
#include "store/Formats.h"
#include "store/Journal.h"
#include "store/PersonTraining.h"
#include "store/RecordFields.h"
#include "store/RecordFile.h"
#include "store/Removal.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <unordered_map>
#include <unordered_set>

namespace store {
namespace {

using fields::FieldInfo;
using fields::FieldKind;
using fields::FieldRole;
using fields::ForEachRecord;
using fields::LayoutOf;
using fields::RecordLayout;
using fields::RecordRow;

// A stored date value as exact digits, with its date and time when it has one.
QString DateText(double value) {
    const QString digits = QString::fromLatin1(fields::ShortestText(value));
    const QString readable = formats::GeneralDate(value);
    return readable.isEmpty() ? digits : QStringLiteral("%1 (%2)").arg(digits, readable);
}

class FolderCheck {
public:
    FolderCheck(const QString& folder, const DataCheckReport& report)
        : folder_(folder), report_(report) {}

    StoreResult CheckFile(DataFile file) {
        fileName_ = FileNameOf(file);
        layout_ = &LayoutOf(file);
        identities_.clear();
        if (!CheckLength(file)) {
            return StoreResult::Ok();
        }
        return ForEachRecord(
            file, [this](qint32 n, const RecordRow& row) { CheckRecord(n, row); }, folder_.path());
    }

    void CheckLeftovers() {
        const bool unlisted = RestoreSwapState(folder_.path()) == SwapState::Unlisted;
        for (const PendingWork& pending : PendingWorkFiles()) {
            const QFileInfo info(folder_.filePath(pending.name));
            if ((info.exists() || info.isSymLink()) &&
                !(unlisted && pending.name == RestoreSwapName)) {
                Report(pending.name, pending.name + QStringLiteral(": ") + pending.finding);
            }
        }
        // What a start-up repair kept rather than delete or apply: nothing is pending, but
        // each may hold records that are nowhere else, until someone has looked.
        const QStringList setAside = folder_.entryList(
            {QStringLiteral("*.Journal.not-applied*"), QStringLiteral("TempFile kept *.$$$"),
             QStringLiteral("*.Partial"), QStringLiteral("*.Partial-*")},
            QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
        for (const QString& name : setAside) {
            Report(name, name + QStringLiteral(": set aside by a repair at the program's start; "
                                               "compare it with the data files, then remove it"));
        }
        // A save that stood when the program stopped, its lines not yet all in the log.
        QStringList done = journal::DoneOf(folder_.filePath(RecordWriteJournal));
        done.sort();
        for (const QString& path : done) {
            const QString name = QFileInfo(path).fileName();
            Report(name, name + QStringLiteral(": a save was made; the program completes its "
                                               "lines in the change log at its next start"));
        }
        if (unlisted) {
            Report(RestoreSwapName,
                   RestoreSwapName + QStringLiteral(": it holds copies of data files but not its "
                                                    "list of what to do; the program keeps it "
                                                    "and asks you to compare them with the "
                                                    "data files"));
        }
    }

    qint64 Findings() const { return findings_; }

private:
    void Report(const QString& line) { Report(fileName_, line); }

    void Report(const QString& fileName, const QString& line) {
        ++findings_;
        report_(fileName, line);
    }

    void ReportRecord(qint32 recordNumber, const QString& what) {
        Report(QStringLiteral("%1 record %2: %3").arg(fileName_).arg(recordNumber).arg(what));
    }

    // False when there are no records to read: no file, or a folder in its place.
    bool CheckLength(DataFile file) {
        const QFileInfo info(folder_.filePath(fileName_));
        if (!info.exists()) {
            return false;
        }
        if (info.isDir()) {
            Report(QStringLiteral("%1: is a folder, not a data file").arg(fileName_));
            return false;
        }
        const qint64 length = RecordLengthOf(file);
        const qint64 whole = info.size() / length;
        const qint32 counted = RecordCountForLength(info.size(), length);
        if (info.size() % length != 0) {
            Report(QStringLiteral("%1: length %2 bytes is not a whole number of %3-byte records "
                                  "(%4 bytes over)")
                       .arg(fileName_)
                       .arg(info.size())
                       .arg(length)
                       .arg(info.size() % length));
        }
        if (counted > whole) {
            Report(QStringLiteral("%1 record %2: only %3 of its %4 bytes are there; the program "
                                  "counts it as a record, the missing bytes reading as zeros")
                       .arg(fileName_)
                       .arg(counted)
                       .arg(info.size() % length)
                       .arg(length));
        }
        if (whole > MaxRecordsOf(file)) {
            Report(QStringLiteral("%1: %2 records, more than the %3 this file can count")
                       .arg(fileName_)
                       .arg(whole)
                       .arg(MaxRecordsOf(file)));
        }
        return true;
    }

    void CheckRecord(qint32 recordNumber, const RecordRow& row) {
        if (row.marked) {
            ReportRecord(recordNumber,
                         QStringLiteral("carries the removal marker \"%1\"").arg(RemovalMarker));
        }
        for (std::size_t i = 0; i < layout_->fields.size(); ++i) {
            CheckField(recordNumber, layout_->fields[i], row.values[i].number);
        }
    }

    void CheckField(qint32 recordNumber, const FieldInfo& field, double value) {
        const QString name = QString::fromLatin1(field.name);
        if (field.kind == FieldKind::Date || field.kind == FieldKind::Hours) {
            if (std::isnan(value)) {
                ReportRecord(recordNumber, name + QStringLiteral(" is not a number"));
                return;
            }
            if (std::isinf(value)) {
                ReportRecord(recordNumber, name + QStringLiteral(" is infinite"));
                return;
            }
        }
        if (field.validRange &&
            (value < field.validRange->first || value > field.validRange->second)) {
            ReportRecord(recordNumber, QStringLiteral("%1 %2 is outside %3 to %4")
                                           .arg(name)
                                           .arg(static_cast<qint64>(value))
                                           .arg(field.validRange->first)
                                           .arg(field.validRange->second));
        }
        if (field.role == FieldRole::Flag && value != 0 && value != -1) {
            ReportRecord(recordNumber, QStringLiteral("%1 %2 is neither 0 (false) nor -1 (true)")
                                           .arg(name)
                                           .arg(static_cast<qint64>(value)));
        }
        if (field.role == FieldRole::Identity) {
            CheckIdentity(recordNumber, name, value);
        } else if (field.role == FieldRole::PersonRef && !IsPersonKey(value)) {
            ReportRecord(recordNumber,
                         QStringLiteral("%1 %2 matches no person in %3")
                             .arg(name, DateText(value), FileNameOf(DataFile::NameList)));
        }
    }

    void CheckIdentity(qint32 recordNumber, const QString& name, double value) {
        const auto [earlier, inserted] = identities_.try_emplace(value, recordNumber);
        if (!inserted) {
            ReportRecord(recordNumber, QStringLiteral("%1 %2 repeats record %3")
                                           .arg(name, DateText(value))
                                           .arg(earlier->second));
        }
        if (layout_->file == DataFile::NameList) {
            persons_.insert(value);
            if (const auto second = KeySecond(value)) {
                personSeconds_.insert(*second);
            }
        }
    }

    // The rule of the history and the person deletion (BelongsToPerson): the same
    // value, or the same whole second.
    bool IsPersonKey(double value) const {
        if (persons_.contains(value)) {
            return true;
        }
        const auto second = KeySecond(value);
        return second && personSeconds_.contains(*second);
    }

    const QDir folder_;
    const DataCheckReport& report_;
    QString fileName_;
    const RecordLayout* layout_ = nullptr;
    std::unordered_map<double, qint32> identities_; // of the file being checked: first record
    std::unordered_set<double> persons_;            // Name.List's identities, for references
    std::unordered_set<qint64> personSeconds_;      // and the whole seconds they name
    qint64 findings_ = 0;
};

} // namespace

const QList<PendingWork>& PendingWorkFiles() {
    // Until the program's next start finishes their work, the files they name are part old,
    // part new.
    static const QList<PendingWork> pending{
        {TempFileName, QStringLiteral("removal"),
         QStringLiteral("left over from an interrupted removal")},
        {RecordWriteJournal, QStringLiteral("save"),
         QStringLiteral("a save was interrupted; the program undoes it at its next start")},
        {PersonRemovalJournal, QStringLiteral("removal of a person"),
         QStringLiteral("a person's removal was interrupted; the program finishes it at its "
                        "next start")},
        {CourseUpdateJournal, QStringLiteral("update of a course's training records"),
         QStringLiteral("an update of a course's training records was interrupted; the program "
                        "finishes it at its next start")},
        {RemovalLineJournal, QStringLiteral("removal"),
         QStringLiteral("a removal was interrupted; the program settles its line in the change "
                        "log at its next start")},
        {RestoreStagingName, QStringLiteral("restore"),
         QStringLiteral("a restore was interrupted before it changed anything; the program "
                        "removes it at its next start")},
        {RestoreSwapName, QStringLiteral("restore"),
         QStringLiteral("a restore was interrupted after it was decided; the program finishes "
                        "it at its next start")},
    };
    return pending;
}

DataCheckOutcome CheckDataFolder(const QString& folder, const DataCheckReport& report) {
    FolderCheck check(folder, report);
    DataCheckOutcome outcome;
    // Name.List comes before Training.Records, so its identities are known by then.
    // A file that cannot be read is told and the others are still checked.
    for (DataFile file : fields::AllDataFiles()) {
        if (StoreResult checked = check.CheckFile(file); !checked) {
            outcome.failures.append(checked);
        }
    }
    check.CheckLeftovers();
    outcome.findings = check.Findings();
    return outcome;
}

} // namespace store
