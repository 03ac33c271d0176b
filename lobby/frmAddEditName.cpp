#include "lobby/frmAddEditName.h"

#include "forms/ButtonLook.h"
#include "forms/Messages.h"
#include "lobby/Organizations.h"
#include "platform/Fonts.h"
#include "platform/Twips.h"
#include "store/Codepage.h"
#include "ui/CrLf.h"
#include "ui/ZovButton.h"

#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

using platform::PlaceTwips;

namespace {

using store::PersonRecord;
using Field = EditorField<PersonRecord>;

// The six boxes: caption, limit (the width of the record field), label and box in twips,
// the record's field. The rows go down the window 510 twips apart; each box is as wide as
// its limit.
constexpr Field kFields[] = {
    {1,
     "* First Name",
     15,
     false,
     {360, 405, 1890, 300},
     {2250, 360, 2250, 345},
     ShowTrimmed<PersonRecord, &PersonRecord::FirstName>,
     FillTrimmed<PersonRecord, &PersonRecord::FirstName>},
    {2,
     " Middle Name",
     15,
     false,
     {360, 915, 1890, 300},
     {2250, 870, 2250, 345},
     ShowTrimmed<PersonRecord, &PersonRecord::MiddleName>,
     FillTrimmed<PersonRecord, &PersonRecord::MiddleName>},
    {3,
     "* Last Name",
     20,
     false,
     {360, 1425, 1890, 300},
     {2250, 1380, 2925, 345},
     ShowTrimmed<PersonRecord, &PersonRecord::LastName>,
     FillTrimmed<PersonRecord, &PersonRecord::LastName>},
    {4,
     "Organization",
     30,
     false,
     {360, 1935, 1890, 300},
     {2250, 1890, 4275, 345},
     ShowTrimmed<PersonRecord, &PersonRecord::Organization>,
     FillTrimmed<PersonRecord, &PersonRecord::Organization>},
    {5,
     "Employee ID",
     20,
     false,
     {360, 2445, 1890, 300},
     {2250, 2400, 2925, 345},
     ShowTrimmed<PersonRecord, &PersonRecord::EmployeeID>,
     FillTrimmed<PersonRecord, &PersonRecord::EmployeeID>},
    {6,
     " Comments",
     890,
     true,
     {360, 3600, 3000, 300},
     {360, 3900, 6840, 1650},
     ShowTrimmed<PersonRecord, &PersonRecord::Comments>,
     FillTrimmed<PersonRecord, &PersonRecord::Comments>},
};
constexpr int kOrganization = 4;
constexpr int kComments = 6;

ListRecordEditor::Wording PersonWording() {
    return {QStringLiteral("Add a Name"),
            QStringLiteral("View/Edit this Name"),
            QStringLiteral("View this person's details"),
            QStringLiteral("New Entry"),
            QStringLiteral("first name"),
            QStringLiteral("Name List"),
            QStringLiteral("persons")};
}

} // namespace

frmAddEditName::frmAddEditName(QWidget* parent, const Session& session, Entry person)
    : RecordEditorOf(parent, session, std::move(person), store::Persons(), kFields,
                     PersonWording()) {
    BuildFields(lblField, [this](const QString& caption) { return AddCaption(caption); });
    optStatus[1] = new QRadioButton(QStringLiteral("Active Person"), this);
    optStatus[2] = new QRadioButton(QStringLiteral("Inactive Person"), this);
    for (int index : {1, 2}) {
        optStatus[index]->setObjectName(QStringLiteral("optStatus%1").arg(index));
        optStatus[index]->setAttribute(Qt::WA_TranslucentBackground);
        // Selecting an option, by the user or by the window itself, raises its Click.
        connect(optStatus[index], &QRadioButton::toggled, this, [this, index](bool checked) {
            if (checked)
                optStatus_Click(index);
        });
    }
    // The options sit above the comments box, so Tab reaches them first.
    setTabOrder(Field(kComments - 1), optStatus[1]);
    setTabOrder(optStatus[1], optStatus[2]);

    // The units on file are offered as the organization is typed, so that a slip does not
    // start a unit of one.
    auto* units = new QCompleter(OrganizationsOnFile(), this);
    units->setCaseSensitivity(Qt::CaseInsensitive);
    qobject_cast<QLineEdit*>(Field(kOrganization))->setCompleter(units);

    // Made after the boxes, so Tab reaches it after the comments, left of Save.
    cmdSaveAndAdd = new ZovButton(this);
    cmdSaveAndAdd->setObjectName(QStringLiteral("cmdSaveAndAdd"));
    cmdSaveAndAdd->CopyPropertiesFrom(*cmdSave);
    cmdSaveAndAdd->SetCaption(QStringLiteral("Save and") + ui::CrLf +
                              QStringLiteral("&Add Another"));
    cmdSaveAndAdd->setToolTip(
        QStringLiteral(" Save this person and start the next one of the same organization "));
    cmdSaveAndAdd->hide();
    connect(cmdSaveAndAdd, &ZovButton::Click, this, &frmAddEditName::cmdSaveAndAdd_Click);
    StyleFields();
    PlaceControls();
    Form_Load();
}

frmAddEditName::Entry frmAddEditName::ForAdding() {
    return Entry::New(Record());
}

frmAddEditName::Entry frmAddEditName::ForEditing(qint32 recNum) {
    return Entry::Read(store::Persons(), recNum);
}

frmAddEditName::~frmAddEditName() = default;

void frmAddEditName::Form_Load() {
    SetSizeTwips(7560, 7055);
    TileBackground();
}

void frmAddEditName::PlaceControls() {
    constexpr int labelLeft = 360;
    constexpr int boxLeft = 2250;
    PlaceFields(lblField);
    PlaceTwips(optStatus[1], boxLeft, 2985, 2400, 375);
    PlaceTwips(optStatus[2], boxLeft + 2400, 2985, 2550, 375);
    PlaceBelowComments(labelLeft, labelLeft + 6840, 5610);
    lblDateCreated->move(platform::Twips(labelLeft), platform::Twips(6270));
    PlaceTwips(cmdSaveAndAdd, 1950, 6000, 1650, 660);
    PlaceTwips(cmdSave, 3750, 6000, 1650, 660);
    PlaceTwips(cmdCancel, 5550, 6000, 1650, 660);
}

bool frmAddEditName::MandatoryFieldsFilled() const {
    return !store::TrimField(FieldText(1)).isEmpty() && !store::TrimField(FieldText(3)).isEmpty();
}

void frmAddEditName::ShowChoices(const Record& person) {
    recordActive_ = person.Active != 0;
    if (!AddMode() && ReadOnlyUser()) {
        // A Read Only user sees the status but cannot pick the other one.
        optStatus[recordActive_ ? 2 : 1]->setEnabled(false);
    }
    optStatus[recordActive_ ? 1 : 2]->setChecked(true);
}

void frmAddEditName::optStatus_Click(int index) {
    for (int option : {1, 2}) {
        const bool clicked = option == index;
        QFont font = platform::DesignFont(QStringLiteral("Tahoma"), clicked ? 11 : 8, clicked);
        optStatus[option]->setFont(font);
        forms::SetOptionInk(optStatus[option], clicked ? QColor(0, 0, 64) : QColor(0, 0, 128));
    }
    // A status change alone is an edit worth saving.
    if (!AddMode() && !ReadOnlyUser())
        NoteEdit();
}

bool frmAddEditName::ConfirmStatusChange() {
    const bool activeChosen = optStatus[1]->isChecked();
    if (activeChosen == recordActive_)
        return true;
    const int answer =
        forms::Ask(QStringLiteral("Verify Status Change"), forms::Icon::Question,
                   {QStringLiteral("The active/inactive status for"),
                    QStringLiteral("this person has been changed."), QString(),
                    QStringLiteral("Do you now want to list this person"),
                    QStringLiteral("as %1?").arg(activeChosen ? QStringLiteral("active")
                                                              : QStringLiteral("inactive"))},
                   2, {QStringLiteral("&Yes"), QStringLiteral("&No")});
    // Closing the question without an answer counts as a yes.
    if (answer != 2)
        return true;
    optStatus[recordActive_ ? 1 : 2]->setChecked(true);
    return false;
}

void frmAddEditName::FillChoices(Record& person) {
    person.Active = optStatus[1]->isChecked() ? -1 : 0;
}

void frmAddEditName::cmdSave_Click() {
    if (!AddMode() && !ConfirmStatusChange())
        return;
    if (!WriteRecord())
        return;
    ReportSaved();
    cmdCancel_Click();
}

void frmAddEditName::cmdSaveAndAdd_Click() {
    // The Lobby lists every person saved here once the window closes.
    if (!AddMode() || !WriteRecord())
        return;
    ReportSaved();
    StartAnother();
}

void frmAddEditName::StartAnother() {
    for (int index = 1; Field(index); ++index) {
        if (index != kOrganization)
            SetFieldText(index, QString());
    }
    optStatus[1]->setChecked(true);
    // As at the start of adding: Save appears once both names are typed again.
    cmdSave->hide();
    FollowSave();
    Field(1)->setFocus(Qt::OtherFocusReason);
}

void frmAddEditName::txtField_Change(int index) {
    RecordEditorOf::txtField_Change(index);
    FollowSave();
}

void frmAddEditName::FollowSave() {
    cmdSaveAndAdd->setVisible(AddMode() && !cmdSave->isHidden());
    cmdSaveAndAdd->setEnabled(cmdSave->isEnabled());
}
