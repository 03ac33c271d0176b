#include "lobby/frmAddEditName.h"

#include "forms/ButtonLook.h"
#include "forms/Messages.h"
#include "platform/Fonts.h"
#include "platform/Twips.h"
#include "store/Codepage.h"
#include "ui/ZovButton.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

using platform::PlaceTwips;

namespace {

// Box index, caption and limit (the width of the record field) of the six boxes.
struct NameField {
    int index;
    const char* caption;
    int limit;
};
constexpr NameField kFields[] = {
    {1, "* First Name", 15}, {2, " Middle Name", 15}, {3, "* Last Name", 20},
    {4, "Organization", 30}, {5, "Employee ID", 20},  {6, " Comments", 890},
};
constexpr int kComments = 6;

ListRecordEditor::Wording PersonWording() {
    return {QStringLiteral("View this person's details"), QStringLiteral("New Entry"),
            QStringLiteral("first name"), QStringLiteral("Name List"), QStringLiteral("persons")};
}

} // namespace

frmAddEditName::frmAddEditName(QWidget* parent, const Session& session, qint32 editRecNum)
    : ListRecordEditor(parent, session, editRecNum, store::Persons(), PersonWording()) {
    for (const NameField& field : kFields) {
        lblField[field.index] = AddCaption(QString::fromLatin1(field.caption));
        if (field.index == kComments)
            AddCommentsField(field.index, field.limit);
        else
            AddLineField(field.index, field.limit);
    }
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
    StyleFields();
    PlaceControls();
    Form_Load();
}

frmAddEditName::~frmAddEditName() = default;

QString frmAddEditName::AddModeTag() {
    return QStringLiteral("Add a Name");
}

QString frmAddEditName::EditModeTag() {
    return QStringLiteral("View/Edit this Name");
}

void frmAddEditName::Form_Load() {
    SetSizeTwips(7560, 7055);
    TileBackground();
}

void frmAddEditName::PlaceControls() {
    constexpr int labelLeft = 360;
    constexpr int boxLeft = 2250;
    constexpr int rowStep = 510;
    for (int index = 1; index < kComments; ++index) {
        const int top = 360 + (index - 1) * rowStep;
        PlaceTwips(lblField[index], labelLeft, top + 45, boxLeft - labelLeft, 300);
        PlaceTwips(Field(index), boxLeft, top, kFields[index - 1].limit * 135 + 225, 345);
    }
    PlaceTwips(optStatus[1], boxLeft, 2985, 2400, 375);
    PlaceTwips(optStatus[2], boxLeft + 2400, 2985, 2550, 375);
    PlaceTwips(lblField[kComments], labelLeft, 3600, 3000, 300);
    PlaceTwips(Field(kComments), labelLeft, 3900, 6840, 1650);
    PlaceBelowComments(labelLeft, labelLeft + 6840, 5610);
    lblDateCreated->move(platform::Twips(labelLeft), platform::Twips(6270));
    PlaceTwips(cmdSave, 3750, 6000, 1650, 660);
    PlaceTwips(cmdCancel, 5550, 6000, 1650, 660);
}

bool frmAddEditName::MandatoryFieldsFilled() const {
    return !store::TrimField(FieldText(1)).isEmpty() && !store::TrimField(FieldText(3)).isEmpty();
}

void frmAddEditName::ShowNewRecord() {
    optStatus[1]->setChecked(true); // a new person is active
}

void frmAddEditName::ShowRecord() {
    const store::PersonRecord& person = store::Persons().Buffer();
    recordActive_ = person.Active != 0;
    if (ReadOnlyUser()) {
        // A Read Only user sees the status but cannot pick the other one.
        optStatus[recordActive_ ? 2 : 1]->setEnabled(false);
    }
    optStatus[recordActive_ ? 1 : 2]->setChecked(true);
    const QString values[] = {person.FirstName,    person.MiddleName, person.LastName,
                              person.Organization, person.EmployeeID, person.Comments};
    for (int index = 1; index <= kComments; ++index)
        SetFieldText(index, store::TrimField(values[index - 1]));
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

QString frmAddEditName::FieldCaption(int index) const {
    return lblField[index]->text();
}

void frmAddEditName::FillRecord() {
    store::PersonRecord& person = store::Persons().Buffer();
    person.FirstName = store::TrimField(FieldText(1));
    person.MiddleName = store::TrimField(FieldText(2));
    person.LastName = store::TrimField(FieldText(3));
    person.Organization = store::TrimField(FieldText(4));
    person.EmployeeID = store::TrimField(FieldText(5));
    person.Comments = store::TrimField(FieldText(kComments));
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
