#pragma once

#include "store/ChangeLog.h"
#include "store/Records.h"
#include "store/StoreResult.h"

#include <QtGlobal>
#include <cmath>
#include <functional>
#include <optional>
#include <vector>

// A person's training records in Training.Records: which records are the person's, reading
// them, appending a credit, changing one record and removing the person with every record.
// No windows here; the credit and history windows and the person deletion use these.
namespace store {

// ---- Which records are a person's ------------------------------------------------------
// A training record belongs to a person when its PersonKey names the person's DateCreated.
// This program writes both as the same whole-second value, so they are equal; a file written
// elsewhere may differ in the last bits, which the history, the deletion, the search, the
// summary and the data check must all read alike. So two keys name the same person when they
// are equal or fall on the same whole second. Creation stamps are unique by the second
// (UniqueDateCreated), so no two persons share one.

// The whole second a key names, counted from the base date; none for a value that is no date.
// Inline: the search asks it of every training record.
inline std::optional<qint64> KeySecond(double key) {
    // The calendar's range, years 100 to 9999, as day counts (NaN fails both tests).
    constexpr double kFirstDay = -657434.0;
    constexpr double kPastLastDay = 2958466.0;
    if (!(key >= kFirstDay && key < kPastLastDay))
        return std::nullopt;
    // std::llround, worked out here instead of in a library call: below 2^38 in size, the
    // seconds' whole part converts exactly and the rest is their exact fraction.
    const double seconds = key * 86400.0;
    const qint64 whole = static_cast<qint64>(seconds); // toward zero
    const double rest = seconds - static_cast<double>(whole);
    return whole + (rest >= 0.5 ? 1 : 0) - (rest <= -0.5 ? 1 : 0);
}

// Whether a training record with this PersonKey belongs to the person created at
// `dateCreated`.
bool BelongsToPerson(double personKey, double dateCreated);

// The same test, made once per person for the loops that ask it of every training record:
// a key more than two seconds away is turned down without any rounding.
class PersonKeyMatch {
public:
    explicit PersonKeyMatch(double dateCreated);
    bool operator()(double personKey) const {
        if (personKey == dateCreated_)
            return true;
        if (!second_ || !(personKey > low_ && personKey < high_))
            return false;
        return KeySecond(personKey) == second_;
    }

private:
    double dateCreated_;
    std::optional<qint64> second_;
    double low_ = 0;
    double high_ = 0;
};

// ---- Reading ----------------------------------------------------------------------------

struct NumberedTraining {
    qint32 recNum = 0; // its record number in Training.Records
    TrainingRecord record;
};

// Every training record of the person created at `dateCreated`, in file order. Only those
// records are decoded, so memory follows the person's records, not the file. A missing file
// holds no records (and is not created).
StoreResult ReadPersonTraining(double dateCreated, std::vector<NumberedTraining>& records);

// ---- Crediting --------------------------------------------------------------------------

// The record that credits `course` to the person created at `personKey`: both identities, the
// course's code, name, provider and hours as copies, the date, and the comments trimmed.
// Crediting from the window and importing a class build their records here alike.
TrainingRecord CreditedRecord(const CourseRecord& course, double personKey, double trainingDate,
                              const QString& comments);

// Appends `records` to Training.Records at the numbers after its last record, all of them or
// none: they are written together and made durable; when the write fails or is cut short
// the file is put back as it was, byte for byte. A credit that would take the file past
// MaxTrainingRecords is refused before anything is written. `firstNumber` is the record
// number of the first one appended. The file is closed on return. Each record gets its line
// in Change.Log, saying `how` it came (credited or imported), in the same unit of work.
StoreResult AppendTrainingRecords(const std::vector<TrainingRecord>& records,
                                  qint32* firstNumber = nullptr,
                                  const QString& how = changelog::action::Credited);

// ---- Changing one record ----------------------------------------------------------------

// Reads record `recNum`, lets `change` alter it and writes it back in place. Refused, with
// nothing written, when the record is no longer the person's (its PersonKey does not belong
// to `dateCreated`). The file is closed on return.
StoreResult ChangeTrainingRecord(qint32 recNum, double dateCreated,
                                 const std::function<void(TrainingRecord&)>& change);

// Removes record `recNum` when it is still one of the person's; refused like
// ChangeTrainingRecord, with nothing removed, when it is not.
StoreResult RemovePersonsTrainingRecord(qint32 recNum, double dateCreated);

// ---- Removing a person ------------------------------------------------------------------

struct PersonRemoval {
    double dateCreated = 0;     // the removed person's identity
    qint32 trainingBefore = 0;  // training records on file before
    qint32 trainingRemoved = 0; // of those, the person's
    // The person is gone but the training records could not be removed: the journal stays,
    // and the next start finishes the removal.
    bool finishedAtNextStart = false;
};

// Where a person's removal is written down while it runs.
inline const QString PersonRemovalJournal = QStringLiteral("PersonRemoval.Journal");

// Removes person `recNum` from Name.List, then every training record of that person from
// Training.Records, in that order. The person's identity is written to PersonRemovalJournal
// first, so that a stop anywhere in between is finished at the next start
// (FinishInterruptedPersonRemoval). The removed person is left in the person buffer.
StoreResult RemovePerson(qint32 recNum, PersonRemoval& removal);

// Called at start: finishes a person's removal that a stop interrupted — the person, if
// still listed, and every training record of theirs go — and says so in `note` (empty when
// there was nothing to finish), with the number of training records that went. When the
// person is still listed but Name.List is no longer the file the removal began on (a backup
// copied in since), nothing is removed: the journal is set aside and the note says why.
StoreResult FinishInterruptedPersonRemoval(QString* note = nullptr);

} // namespace store
