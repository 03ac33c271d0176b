#include "lobby/NamePage.h"

#include "forms/ButtonLook.h"
#include "forms/EditorReturn.h"
#include "forms/ListGrid.h"
#include "forms/LobbyDoor.h"
#include "forms/Messages.h"
#include "forms/frmImport.h"
#include "lobby/PersonDelete.h"
#include "lobby/TrainingDoors.h"
#include "lobby/frmAddEditName.h"
#include "print/ListPrintouts.h"
#include "store/RecordStore.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"

#include <QFile>
#include <QRadioButton>
#include <QWidget>
#include <utility>

using namegrid::Column;

NamePage::NamePage(LobbyDoor& door, QWidget* page) : door_(door), c_(BuildNameControls(page)) {
    for (int i = 1; i <= 3; ++i) {
        // Selecting an option in code counts as a click too; Fill relies on Filling to ignore
        // its own selections.
        connect(c_.optDisplay[i], &QRadioButton::toggled, this, [this, i](bool checked) {
            if (checked)
                optDisplay_Click(i);
        });
    }
    connect(c_.cmdAddName, &ZovButton::Click, this, &NamePage::cmdAddName_Click);
    connect(c_.cmdEditName, &ZovButton::Click, this, &NamePage::cmdEditName_Click);
    connect(c_.cmdDeleteName, &ZovButton::Click, this, &NamePage::cmdDeleteName_Click);
    connect(c_.cmdTrainingHistory, &ZovButton::Click, this, &NamePage::cmdTrainingHistory_Click);
    connect(c_.cmdImportPersons, &ZovButton::Click, this, &NamePage::cmdImportPersons_Click);
    connect(c_.gridName, &FlexGrid::DblClick, this, &NamePage::gridName_DblClick);
    connect(c_.gridName, &FlexGrid::MouseMove, this, &NamePage::gridName_MouseMove);
    print::ConnectPrintButton(
        c_.cmdPrintNameList,
        [this](print::Output to) { print::PrintNameList(Table(), door_.Window(), to); },
        [this] { return Table(); });
}

NamePage::~NamePage() = default;

void NamePage::Fill() {
    FillHoldingNotice();
    TellHeldNotice();
}

void NamePage::FillHoldingNotice() {
    const bool first = !filled_;
    filled_ = true;
    persons_.reset();
    held_ = FillNameGrid(c_, door_.Window(), first, filling_, listed_);
}

void NamePage::TellHeldNotice() {
    const NameNotice notice = std::exchange(held_, {});
    if (!notice.title.isEmpty())
        forms::Tell(notice.title, notice.lines);
}

ListRecord NamePage::Highlighted() const {
    const FlexGrid& grid = *c_.gridName;
    const qint32 recNum = listgrid::CellNumber(grid, grid.Row(), Column::RecNum);
    if (recNum < 1)
        return {};
    return {recNum, grid.TextMatrix(grid.Row(), Column::Key)};
}

void NamePage::Reselect(const QString& key) {
    listgrid::Reselect(*c_.gridName, Column::Key, namegrid::LastShownCol, key);
}

bool NamePage::Listed() const {
    return c_.gridName->Rows() > 1;
}

const ListedPersons& NamePage::Persons() const {
    if (persons_)
        return *persons_;
    const FlexGrid& grid = *c_.gridName;
    ListedPersons persons;
    if (listed_) {
        persons.heading = grid.TextMatrix(0, Column::DisplayName);
        const std::vector<qint32> shown = listgrid::ShownNumbers(grid, Column::RecNum);
        persons.rows.reserve(shown.size());
        for (const qint32 recNum : shown) {
            if (auto person = listed_->Person(recNum))
                persons.rows.push_back(std::move(*person));
        }
    }
    persons_ = std::move(persons);
    return *persons_;
}

print::ReportTable NamePage::Table() const {
    const ListedPersons& persons = Persons();
    print::ReportTable table = print::ListTable(
        print::NameListReport, {persons.heading, c_.gridName->TextMatrix(0, Column::Organization)});
    table.identityHeading = QStringLiteral("Person Identity");
    table.rows.reserve(persons.rows.size());
    for (const PersonRow& person : persons.rows)
        table.rows.push_back(
            {{person.name, person.organization}, print::IdentityText(person.identity)});
    return table;
}

void NamePage::SetUpButtons() {
    const Session& session = door_.SignedIn();
    const bool names = Listed();
    using forms::Apply;
    Apply(c_.cmdAddName,
          {QStringLiteral("Add Person"), QStringLiteral(" Add a person to the 'Name List' "), true,
           session.CanAdd()});
    Apply(c_.cmdEditName,
          {session.CanEdit() ? QStringLiteral("Edit Person") : QStringLiteral("View Details"),
           QStringLiteral(" View/Edit the information on the highlighted person "),
           names,
           {}});
    Apply(c_.cmdDeleteName, {QStringLiteral("Delete Person"),
                             QStringLiteral(" Delete the highlighted person from the 'Name List' "),
                             names, session.CanDelete()});
    Apply(c_.cmdTrainingHistory,
          {QStringLiteral("Training History"),
           QStringLiteral(" View/Edit the highlighted person's training history "), names,
           QFile::exists(store::FileNameOf(store::DataFile::TrainingRecords))});
    Apply(c_.cmdImportPersons,
          {QStringLiteral("Import Persons..."),
           QStringLiteral(" Add the persons of a roster saved as a CSV file to the 'Name List' "),
           true, session.CanAdd()});
    Apply(
        c_.cmdPrintNameList,
        {QStringLiteral("Print this List"), QStringLiteral(" Print this 'Name List' "), names, {}});
}

void NamePage::TakeFocus() {
    if (c_.gridName->Visible())
        c_.gridName->setFocus();
    else if (c_.cmdAddName->isEnabled())
        c_.cmdAddName->setFocus();
}

void NamePage::optDisplay_Click(int index) {
    Q_UNUSED(index); // the fill reads the choice from the options
    if (filling_)
        return;
    Fill();
    door_.SetUpButtons();
}

void NamePage::OpenEditor(bool adding) {
    const qint32 recNum = Highlighted().recNum;
    if (!adding && recNum < 1)
        return; // no person highlighted
    const EditorResult result =
        RunEditor<frmAddEditName>(door_.Window(), door_.SignedIn(), adding, recNum);
    if (result.saved)
        door_.ListChanged(LobbyList::Names, NameKeyText(result.identity));
}

void NamePage::cmdAddName_Click() {
    OpenEditor(true);
}

void NamePage::cmdEditName_Click() {
    OpenEditor(false);
}

void NamePage::cmdDeleteName_Click() {
    DeleteHighlightedPerson(door_, *c_.gridName);
}

void NamePage::cmdTrainingHistory_Click() {
    const FlexGrid& grid = *c_.gridName;
    const qint32 recNum = Highlighted().recNum;
    if (recNum >= 1)
        ShowEditableHistory(door_, {grid.TextMatrix(grid.Row(), Column::DisplayName), recNum});
}

void NamePage::cmdImportPersons_Click() {
    const forms::ImportResult result =
        frmImport::Run(door_.Window(), door_.SignedIn(), store::csvimport::Kind::Persons);
    if (result.added > 0)
        door_.ListChanged(LobbyList::Names, NameKeyText(result.identity));
}

void NamePage::gridName_DblClick() {
    if (c_.gridName->Row() >= 1 && !c_.cmdEditName->isHidden())
        cmdEditName_Click();
}

void NamePage::gridName_MouseMove() {
    listgrid::ShowEditToolTip(*c_.gridName, c_.cmdEditName, QStringLiteral("user"),
                              door_.SignedIn().CanEdit());
}
