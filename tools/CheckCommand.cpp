#include "tools/CheckCommand.h"

#include "tools/Json.h"
#include "tools/RecordFields.h"

#include "store/CourseCopies.h"
#include "store/Formats.h"
#include "store/PersonTraining.h"
#include "store/Removal.h"

#include <QFileInfo>
#include <cmath>
#include <unordered_map>
#include <unordered_set>

namespace datatool {
namespace {

// A stored date value as exact digits, with its date and time when it has one.
QString DateText(double value) {
    const QString digits = QString::fromLatin1(json::ShortestText(value));
    const QString readable = formats::GeneralDate(value);
    return readable.isEmpty() ? digits : QStringLiteral("%1 (%2)").arg(digits, readable);
}

class FolderCheck {
public:
    explicit FolderCheck(const std::function<void(const QString&)>& report) : report_(report) {}

    store::StoreResult CheckFile(store::DataFile file) {
        fileName_ = store::FileNameOf(file);
        layout_ = &LayoutOf(file);
        identities_.clear();
        if (!CheckLength(file)) {
            return store::StoreResult::Ok();
        }
        return ForEachRecord(file, [this](qint32 n, const RecordRow& row) { CheckRecord(n, row); });
    }

    void CheckLeftovers() {
        if (QFileInfo::exists(store::TempFileName)) {
            Report(store::TempFileName + QStringLiteral(": left over from an interrupted removal"));
        }
        // Until the program's next start finishes their work, the files they name are part
        // old, part new.
        if (QFileInfo::exists(store::RecordWriteJournal)) {
            Report(store::RecordWriteJournal +
                   QStringLiteral(": a save was interrupted; the program undoes it at its next "
                                  "start"));
        }
        if (QFileInfo::exists(store::PersonRemovalJournal)) {
            Report(store::PersonRemovalJournal +
                   QStringLiteral(": a person's removal was interrupted; the program finishes "
                                  "it at its next start"));
        }
        if (QFileInfo::exists(store::CourseUpdateJournal)) {
            Report(store::CourseUpdateJournal +
                   QStringLiteral(": an update of a course's training records was interrupted; "
                                  "the program finishes it at its next start"));
        }
    }

    qint64 Findings() const { return findings_; }

private:
    void Report(const QString& line) {
        ++findings_;
        report_(line);
    }

    void ReportRecord(qint32 recordNumber, const QString& what) {
        Report(QStringLiteral("%1 record %2: %3").arg(fileName_).arg(recordNumber).arg(what));
    }

    // False when there are no records to read: no file, or a folder in its place.
    bool CheckLength(store::DataFile file) {
        const QFileInfo info(fileName_);
        if (!info.exists()) {
            return false;
        }
        if (info.isDir()) {
            Report(QStringLiteral("%1: is a folder, not a data file").arg(fileName_));
            return false;
        }
        const qint64 length = store::RecordLengthOf(file);
        const qint64 whole = info.size() / length;
        const qint32 counted = store::RecordCountForLength(info.size(), length);
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
        if (whole > store::MaxRecordsOf(file)) {
            Report(QStringLiteral("%1: %2 records, more than the %3 this file can count")
                       .arg(fileName_)
                       .arg(whole)
                       .arg(store::MaxRecordsOf(file)));
        }
        return true;
    }

    void CheckRecord(qint32 recordNumber, const RecordRow& row) {
        if (row.marked) {
            ReportRecord(
                recordNumber,
                QStringLiteral("carries the removal marker \"%1\"").arg(store::RemovalMarker));
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
            ReportRecord(recordNumber, QStringLiteral("%1 %2 matches no person in %3")
                                           .arg(name, DateText(value),
                                                store::FileNameOf(store::DataFile::NameList)));
        }
    }

    void CheckIdentity(qint32 recordNumber, const QString& name, double value) {
        const auto [earlier, inserted] = identities_.try_emplace(value, recordNumber);
        if (!inserted) {
            ReportRecord(recordNumber, QStringLiteral("%1 %2 repeats record %3")
                                           .arg(name, DateText(value))
                                           .arg(earlier->second));
        }
        if (layout_->file == store::DataFile::NameList) {
            persons_.insert(value);
            if (const auto second = store::KeySecond(value)) {
                personSeconds_.insert(*second);
            }
        }
    }

    // The rule of the history and the person deletion (store::BelongsToPerson): the same
    // value, or the same whole second.
    bool IsPersonKey(double value) const {
        if (persons_.contains(value)) {
            return true;
        }
        const auto second = store::KeySecond(value);
        return second && personSeconds_.contains(*second);
    }

    const std::function<void(const QString&)>& report_;
    QString fileName_;
    const RecordLayout* layout_ = nullptr;
    std::unordered_map<double, qint32> identities_; // of the file being checked: first record
    std::unordered_set<double> persons_;            // Name.List's identities, for references
    std::unordered_set<qint64> personSeconds_;      // and the whole seconds they name
    qint64 findings_ = 0;
};

} // namespace

CheckOutcome CheckDataFiles(const std::function<void(const QString&)>& report) {
    FolderCheck check(report);
    CheckOutcome outcome;
    // Name.List comes before Training.Records, so its identities are known by then.
    // A file that cannot be read is told and the others are still checked.
    for (store::DataFile file : AllDataFiles()) {
        if (store::StoreResult checked = check.CheckFile(file); !checked) {
            outcome.failures.append(checked);
        }
    }
    check.CheckLeftovers();
    outcome.findings = check.Findings();
    return outcome;
}

int RunCheck(const QStringList& args, const Console& console) {
    QCommandLineParser parser;
    if (!ParseArguments(parser, {}, args, 0, console)) {
        return ExitUsage;
    }
    const QString folder = DataFolderOption(parser);
    FolderScope scope(folder);
    if (!EnterFolder(scope, folder, console)) {
        return ExitUsage;
    }
    const CheckOutcome outcome =
        CheckDataFiles([&console](const QString& line) { console.Line(line); });
    for (const store::StoreResult& failure : outcome.failures) {
        console.Error(failure.text());
    }
    if (!outcome.failures.isEmpty()) {
        return ExitFailure;
    }
    if (outcome.findings > 0) {
        return ExitFailure;
    }
    console.Line(QStringLiteral("OK"));
    return ExitSuccess;
}

} // namespace datatool
