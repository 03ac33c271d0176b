#pragma once

#include "store/RecordFile.h"
#include "store/Records.h"

#include <functional>
#include <vector>

// The four record files with their one shared record buffer each. Every unit of work opens
// the files it needs, reads and writes records by number through the buffer, and closes
// them before control returns to the user.
namespace store {

enum class DataFile { UserList, NameList, CourseIndex, TrainingRecords };

QString FileNameOf(DataFile file); // "User.List", "Name.List", "Course.Index", "Training.Records"
int RecordLengthOf(DataFile file); // 500, 1000, 300, 300

// User.List, Name.List and Course.Index count their records in 16 bits: at most 32,767.
constexpr qint32 MaxListRecords = 32767;
// Training.Records counts in 32 bits.
constexpr qint32 MaxTrainingRecords = 2147483647;
qint32 MaxRecordsOf(DataFile file);

template <class Record> class RecordTable {
public:
    explicit RecordTable(DataFile which)
        : file_(FileNameOf(which), Record::Length), which_(which) {}

    StoreResult Open() { return file_.Open(); }
    // For units of work that only read (RecordFile::OpenForReading).
    StoreResult OpenForReading() { return file_.OpenForReading(); }
    void Close() { file_.Close(); }
    bool IsOpen() const { return file_.IsOpen(); }
    qint32 Count() const { return file_.Count(); }
    void SetCount(qint32 count) { file_.SetCount(count); }
    RecordFile& File() { return file_; }
    DataFile Which() const { return which_; }

    // Reads record n into the buffer; the buffer then holds only safe values.
    StoreResult Read(qint32 recordNumber);
    // Stores the buffer as record n (n = Count()+1 appends).
    StoreResult Write(qint32 recordNumber);
    Record& Buffer() { return buffer_; }

    // Whether one more record may be appended (the file must be open).
    bool CanAdd() const { return file_.Count() < MaxRecordsOf(which_); }

private:
    RecordFile file_;
    DataFile which_;
    Record buffer_;
};

RecordTable<UserRecord>& Users();
RecordTable<PersonRecord>& Persons();
RecordTable<CourseRecord>& Courses();
RecordTable<TrainingRecord>& Trainings();

void CloseAll(); // every record file at once

// Reads Name.List once, handing each stored record of a person not marked deleted to `visit`
// as its raw bytes; the file is closed again afterwards.
StoreResult ForEachLivePerson(const std::function<void(const char*)>& visit);

// The named entry points the windows use.
inline StoreResult OpenUserList() {
    return Users().Open();
}
inline void CloseUserList() {
    Users().Close();
}
inline qint32 UserCount() {
    return Users().Count();
}
inline StoreResult OpenNameList() {
    return Persons().Open();
}
inline void CloseNameList() {
    Persons().Close();
}
inline qint32 PersonCount() {
    return Persons().Count();
}
inline StoreResult OpenCourseIndex() {
    return Courses().Open();
}
inline void CloseCourseIndex() {
    Courses().Close();
}
inline qint32 CourseCount() {
    return Courses().Count();
}
inline StoreResult OpenTrainingRecords() {
    return Trainings().Open();
}
inline void CloseTrainingRecords() {
    Trainings().Close();
}
inline qint32 TrainingCount() {
    return Trainings().Count();
}

// A creation stamp for a new person, course or user that no record of the (open) file
// already carries: `proposed` moved forward by whole seconds until it is unique. Two
// records saved within one second would otherwise share their training records.
StoreResult UniqueDateCreated(DataFile file, double proposed, double& unique);
// `count` such stamps at once, for records added together: each unique in the file and
// among the others, in rising order.
StoreResult UniqueDatesCreated(DataFile file, double proposed, int count,
                               std::vector<double>& unique);

// Called at start: puts back the bytes that a write of records, stopped in the middle, had
// begun to replace (RecordWriteJournal), and says so in `note`.
StoreResult UndoInterruptedWrite(QString* note = nullptr);
// Completes the change-log lines of writes that were done when the program stopped, before
// their lines were durable in the log (their journals left done). The files are not touched.
StoreResult CompleteFinishedWrites(QString* note = nullptr);

// Deletes each of the five data files that exists with length 0 (at shutdown).
void RemoveEmptyDataFiles();

} // namespace store
