#pragma once

#include "print/ReportTable.h"
#include "store/ChangeLog.h"
#include "store/StoreResult.h"
#include "ui/FlexGridSource.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <vector>

// The change log as the viewer lists it: the matching lines, newest first, each as the five
// cells the list shows, and what the log offers to filter on.
namespace signin {

// Columns of the listed changes.
enum ChangeColumn { ChangeTime = 0, ChangeUser, ChangeAction, ChangeRecord, ChangeFields };
inline constexpr int ChangeColumns = 5;

// A person, a course or a user that lines of the log are about; `key` is what the filter
// compares (the record's identity, or the user's name).
struct ChangeChoice {
    QString label;
    QString key;
};

struct ChangeChoices {
    QList<ChangeChoice> persons; // each by the name its latest line gives, A to Z
    QList<ChangeChoice> courses;
    QList<ChangeChoice> users;
};

// The matching lines. Their texts are kept in one block, not one string per cell: a log of a
// million lines is listed whole when no filter narrows it. A grid lists them as their source.
class ChangeListing : public FlexGridSource {
public:
    // Reads the log in one pass, keeping the lines `filter` lets through and noting who and
    // what they are about. A line that cannot be read ends the reading: the lines before it
    // stay listed and `Read()` names it.
    static ChangeListing Read(const store::changelog::ChangeFilter& filter,
                              const QString& fileName = store::ChangeLogFileName);

    qint64 Count() const { return qint64(starts_.size()); }
    // Row 1 is the newest line.
    QString Cell(qint64 row, int col) const;
    const ChangeChoices& Choices() const { return choices_; }
    const store::StoreResult& Result() const { return read_; }

    void AppendCell(qint32 item, int col, QString& out) const override { out += Cell(item, col); }

private:
    std::vector<qsizetype> starts_; // where each line's cells begin in text_, in file order
    QByteArray text_;               // each line's cells, UTF-8, each cell ended by '\t'
    ChangeChoices choices_;
    store::StoreResult read_;
};

// The listed changes for printing and for a spreadsheet, in the order listed.
print::ReportTable ChangeTable(const ChangeListing& listing);

// "Line 7 was altered." put plainly for the viewer's warning; empty when the log holds.
QString ChainWarning(const store::changelog::ChainCheck& check);

} // namespace signin
