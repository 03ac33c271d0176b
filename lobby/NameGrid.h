#pragma once

#include "forms/LobbyDoor.h"
#include "store/Records.h"
#include "ui/FlexGridSource.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>
#include <vector>

class FlexGrid;
class Form;
class QRadioButton;
class QWidget;
class ZovButton;

// The controls of the Name List page under their design names.
struct NameControls {
    FlexGrid* gridName = nullptr;
    std::array<QRadioButton*, 4> optDisplay{}; // 1 active, 2 inactive, 3 both
    ZovButton* cmdAddName = nullptr;
    ZovButton* cmdEditName = nullptr;
    ZovButton* cmdDeleteName = nullptr;
    ZovButton* cmdTrainingHistory = nullptr;
    ZovButton* cmdImportPersons = nullptr;
    ZovButton* cmdPrintNameList = nullptr;
};

// gridName filled from Name.List for the display choice optDisplay.
//
// Columns: 0 the display name, 1 the organisation, and beyond the right edge 2 the person's
// identity (DateCreated as NameKeyText), 3 the sort key (last, middle, first name) and
// 4 RecNum, the record number in Name.List.
namespace namegrid {
enum Column { DisplayName = 0, Organization = 1, Key = 2, SortKey = 3, RecNum = 4 };
constexpr int LastShownCol = Organization;
} // namespace namegrid

// Makes the controls on `page` with their design-time look and place.
NameControls BuildNameControls(QWidget* page);

namespace namegrid {

// The persons one fill listed: the first bytes of each record as Name.List held them when it
// was read, whose cells are decoded when the grid shows or reads them. Of 32,767 persons the
// user sees nineteen at a time, and the sort needs only their sort keys.
class NameRows : public FlexGridSource {
public:
    void Add(const char* record, qint32 recNum);
    qint32 Count() const { return static_cast<qint32>(recNums_.size()); }

    void AppendCell(qint32 item, int col, QString& out) const override;

    // The listed person with record number `recNum`, identity as stored and whether active;
    // none when the fill
    // did not list that record.
    std::optional<PersonRow> Person(qint32 recNum) const;

private:
    using Record = store::PersonRecord;

    const char* RecordOf(qint32 item) const;
    // The names joined by single spaces; a blank middle name is left out.
    static void AppendNames(QString& out, const char* record, store::FieldSpan outer,
                            store::FieldSpan other);

    QByteArray listed_;           // the first ListedBytes bytes of each listed record
    std::vector<qint32> recNums_; // ascending: the fill reads the file in order
    std::vector<bool> active_;    // beside each: the person is active
};

} // namespace namegrid

// What to tell the user about an empty list, once the window is usable again.
struct NameNotice {
    QString title; // empty: nothing to tell
    QStringList lines;
};

// Rebuilds gridName and the display options from Name.List, `window` busy meanwhile and
// `filling` true. The first fill shows the active persons (if there are any) with the first
// one highlighted; later ones keep the user's choice unless it shows nobody, and the
// highlighted row where they can. `listed` becomes the rows the grid now shows (none when
// nobody is listed). A file problem is told at once; the notice of an empty list is returned
// for the caller to tell when its window is ready for it.
NameNotice FillNameGrid(const NameControls& c, Form& window, bool first, bool& filling,
                        std::shared_ptr<const namegrid::NameRows>& listed);

// The caption of the selected display option ("Active Persons"); empty when none is.
QString DisplayChoiceCaption(const NameControls& c);

// A person's identity as the grid's column 2 holds it.
QString NameKeyText(double dateCreated);
