#include "signin/frmAddEditUser.h"

#include "forms/ButtonLook.h"
#include "forms/Messages.h"
#include "forms/StoreProblem.h"
#include "platform/Fonts.h"
#include "platform/Twips.h"
#include "store/Clock.h"
#include "store/Codepage.h"
#include "store/RecordStore.h"
#include "store/UserLog.h"
#include "ui/AppTitle.h"
#include "ui/PlainText.h"
#include "ui/ZovButton.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

using platform::PlaceTwips;

const QString frmAddEditUser::PasswordHint = QStringLiteral("<4 to 8 chars only>");

namespace {

using store::UserRecord;
using Field = EditorField<UserRecord>;

constexpr int PasswordIndex = 3;
constexpr int CommentsIndex = 4;
constexpr int MinPassword = 4;
constexpr int MaxPassword = 8;

// The four boxes down the left of the window, each under its label: caption, limit in
// characters, label and box in twips, the record's field. The password box takes as many
// characters as its hint has.
const Field kFields[] = {
    {1,
     "* First Name",
     frmAddEditUser::FirstNameLimit,
     false,
     {240, 200, 2600, 270},
     {240, 470, 2600, 360},
     ShowTrimmed<UserRecord, &UserRecord::FirstName>,
     [](UserRecord& user, const QString& text) { user.FirstName = text.trimmed(); }},
    {2,
     "* Last Name",
     frmAddEditUser::LastNameLimit,
     false,
     {240, 950, 2600, 270},
     {240, 1220, 2600, 360},
     ShowTrimmed<UserRecord, &UserRecord::LastName>,
     [](UserRecord& user, const QString& text) { user.LastName = text.trimmed(); }},
    // The administrator sees the password in clear. It is scrambled afresh at every save, so
    // the stored form changes even when the password does not.
    {PasswordIndex,
     "* Password",
     static_cast<int>(frmAddEditUser::PasswordHint.size()),
     false,
     {240, 1700, 2600, 270},
     {240, 1970, 2600, 360},
     [](const UserRecord& user) { return store::UnscramblePassword(user.Password); },
     [](UserRecord& user, const QString& text) { user.Password = store::ScramblePassword(text); }},
    {CommentsIndex,
     " Comments",
     frmAddEditUser::CommentsLimit,
     true,
     {240, 2520, 2600, 270},
     {240, 2790, 5620, 1500},
     ShowTrimmed<UserRecord, &UserRecord::Comments>,
     FillTrimmed<UserRecord, &UserRecord::Comments>},
};

ListRecordEditor::Wording UserWording() {
    return {QStringLiteral("Add a User"),
            QStringLiteral("View/Edit this User"),
            QString(),
            QStringLiteral("New Entry"),
            QStringLiteral("first name"),
            QStringLiteral("User List"),
            QStringLiteral("users")};
}

bool IsLetterOrDigit(QChar c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
}

} // namespace

frmAddEditUser::frmAddEditUser(QWidget* parent, const Session& session, Entry user)
    : RecordEditorOf(parent, session, std::move(user), store::Users(), kFields, UserWording(),
                     AddModeSave::Disabled, CancelRecaption::Always) {
    const QFont labelFont = platform::DesignFont(QStringLiteral("Tahoma"), 8.25, true);
    const auto makeLabel = [this, &labelFont](const QString& caption) {
        QLabel* label = ui::NewPlainLabel(caption, this);
        label->setFont(labelFont);
        forms::MakeTransparent(label);
        return label;
    };
    BuildFields(lblField, makeLabel);
    lblField[5] = makeLabel(QStringLiteral("* Access Level"));
    const QFont boxFont = platform::DesignFont(QStringLiteral("Tahoma"), 9.75);
    for (int i = 1; i <= 4; ++i) {
        txtField[i] = Field(i);
        txtField[i]->setFont(boxFont);
    }

    for (int i = 1; i <= 4; ++i) {
        optAccessLevel[i] = new QRadioButton(this);
        optAccessLevel[i]->setAttribute(Qt::WA_TranslucentBackground);
        connect(optAccessLevel[i], &QRadioButton::toggled, this, [this, i](bool checked) {
            if (checked)
                optAccessLevel_Click(i);
        });
    }
    // The access levels stand beside the first three boxes, above the comments: Tab reaches
    // them before the comments.
    setTabOrder(txtField[3], optAccessLevel[1]);
    for (int i = 2; i <= 4; ++i)
        setTabOrder(optAccessLevel[i - 1], optAccessLevel[i]);
    Form_Load();
}

frmAddEditUser::Entry frmAddEditUser::ForAdding() {
    return Entry::New(Record());
}

frmAddEditUser::Entry frmAddEditUser::ForEditing(qint32 recNum) {
    return Entry::Read(store::Users(), recNum);
}

frmAddEditUser::~frmAddEditUser() = default;

void frmAddEditUser::Form_Load() {
    SetSizeTwips(6100, 5880);
    PlaceControls();
    TileBackground();
}

void frmAddEditUser::PlaceControls() {
    PlaceFields(lblField);
    PlaceTwips(lblField[5], 3240, 200, 2600, 270);
    for (int i = 1; i <= 4; ++i)
        PlaceTwips(optAccessLevel[i], 3300, 470 + (i - 1) * 420, 2640, 360);
    PlaceTwips(lblSpaceFull, 4300, 2520, 1560, 270);
    PlaceTwips(lblDateCreated, 240, 4380, 3600, 270);
    PlaceTwips(lblMandatory, 4200, 4380, 1660, 270);
    lblMandatory->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PlaceTwips(cmdSave, 960, 4860, 1900, 700);
    PlaceTwips(cmdCancel, 3240, 4860, 1900, 700);
}

void frmAddEditUser::Form_Activate() {
    SetCaption(ModeCaption());
    for (int i = 1; i <= 4; ++i)
        optAccessLevel[i]->setText(AccessLevelName(AccessLevelOf(i)));
    if (AddMode()) {
        // The count is taken afresh; the new user goes behind the last one.
        auto& users = store::Users();
        const store::StoreResult opened = users.Open();
        SetEditRecNum(users.Count() + 1);
        users.Close();
        forms::ShowStoreProblem(opened);
        SetUpSaveCancel(QStringLiteral("New Entry"));
        ShowNewRecord();
    } else {
        SetUpSaveCancel(QStringLiteral("New Entry"));
        if (!LoadRecord()) {
            close();
            return;
        }
    }
    FinishSetUp();
    txtField[1]->setFocus();
}

bool frmAddEditUser::LoadRecord() {
    if (!Source().read) {
        forms::ShowStoreProblem(Source().read);
        return false;
    }
    ShowOpenedRecord();
    return true;
}

void frmAddEditUser::ShowChoices(const Record& user) {
    optAccessLevel[user.AccessLevel]->setChecked(true);
}

bool frmAddEditUser::MandatoryFieldsFilled() const {
    for (int i = 1; i <= 3; ++i) {
        if (FieldText(i).trimmed().isEmpty())
            return false;
    }
    return true;
}

bool frmAddEditUser::IsValidPassword(QString& text) {
    // The trim the password is stored and unscrambled with, so what is checked is what is
    // stored: only blanks go, and any other space (tab, no-break space) is refused below.
    text = store::TrimField(text);
    if (text.size() < MinPassword || text.size() > MaxPassword)
        return false;
    return std::all_of(text.cbegin(), text.cend(), IsLetterOrDigit);
}

void frmAddEditUser::txtField_GotFocus(int index) {
    if (index == PasswordIndex && FieldText(index).isEmpty()) {
        ColourForFocus(index);
        SetFieldText(index, PasswordHint);
        SelectAll(index);
        return;
    }
    EditorForm::txtField_GotFocus(index);
}

void frmAddEditUser::optAccessLevel_Click(int index) {
    selectedAccessLevel_ = static_cast<qint16>(index);
    for (int i = 1; i <= 4; ++i) {
        QFont font = platform::DesignFont(QStringLiteral("Tahoma"), 8.25, i == index);
        optAccessLevel[i]->setFont(font);
        forms::SetOptionInk(optAccessLevel[i], i == index ? QColor(0, 0, 64) : QColor(0, 0, 128));
    }
    if (!AddMode())
        NoteEdit();
}

void frmAddEditUser::cmdSave_Click() {
    QString password = FieldText(PasswordIndex);
    if (!IsValidPassword(password)) {
        forms::Tell(QStringLiteral("Invalid Password Entry"),
                    {QStringLiteral("The password must be"),
                     QStringLiteral("4 to 8 characters, using"),
                     QStringLiteral("letters and numbers only.")},
                    forms::Icon::Plain);
        txtField[PasswordIndex]->setFocus();
        return;
    }
    // The removal of a user marks its record with this first name for a moment; a user
    // really called so would vanish at the next removal.
    if (FieldText(1).trimmed() == store::RemovalMarker) {
        forms::Tell(QStringLiteral("Invalid First Name"),
                    {QStringLiteral("The first name \"") + store::RemovalMarker +
                         QStringLiteral("\" is reserved"),
                     QStringLiteral("for the program's own use."), QString(),
                     QStringLiteral("Please enter another first name.")},
                    forms::Icon::Stop);
        txtField[1]->setFocus();
        return;
    }
    // Nothing typed is lost when the record cannot be written: the editor stays open.
    if (!WriteRecord())
        return;
    ReportSaved();
    cmdCancel_Click();
}

void frmAddEditUser::FillChoices(Record& user) {
    user.AccessLevel = selectedAccessLevel_;
}
