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

constexpr int PasswordIndex = 3;
constexpr int CommentsIndex = 4;
constexpr int MinPassword = 4;
constexpr int MaxPassword = 8;

ListRecordEditor::Wording UserWording() {
    return {QString(), QStringLiteral("New Entry"), QStringLiteral("first name"),
            QStringLiteral("User List"), QStringLiteral("users")};
}

bool IsLetterOrDigit(QChar c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
}

} // namespace

frmAddEditUser::frmAddEditUser(QWidget* parent, const Session& session, qint32 editRecNum)
    : ListRecordEditor(parent, session, editRecNum, store::Users(), UserWording(),
                       AddModeSave::Disabled, CancelRecaption::Always) {
    const QStringList captions = {QString(),
                                  QStringLiteral("* First Name"),
                                  QStringLiteral("* Last Name"),
                                  QStringLiteral("* Password"),
                                  QStringLiteral(" Comments"),
                                  QStringLiteral("* Access Level")};
    const QFont labelFont = platform::DesignFont(QStringLiteral("Tahoma"), 8.25, true);
    for (int i = 1; i <= 5; ++i) {
        lblField[i] = ui::NewPlainLabel(captions.at(i), this);
        lblField[i]->setFont(labelFont);
        forms::MakeTransparent(lblField[i]);
    }
    const QFont boxFont = platform::DesignFont(QStringLiteral("Tahoma"), 9.75);
    txtField[1] = AddLineField(1, FirstNameLimit);
    txtField[2] = AddLineField(2, LastNameLimit);
    txtField[3] = AddLineField(PasswordIndex, static_cast<int>(PasswordHint.size()));
    txtField[4] = AddCommentsField(CommentsIndex, CommentsLimit);
    for (int i = 1; i <= 4; ++i)
        txtField[i]->setFont(boxFont);

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

frmAddEditUser::~frmAddEditUser() = default;

QString frmAddEditUser::AddModeTag() {
    return QStringLiteral("Add a User");
}

QString frmAddEditUser::EditModeTag() {
    return QStringLiteral("View/Edit this User");
}

void frmAddEditUser::Form_Load() {
    SetSizeTwips(6100, 5880);
    PlaceControls();
    TileBackground();
}

void frmAddEditUser::PlaceControls() {
    PlaceTwips(lblField[1], 240, 200, 2600, 270);
    PlaceTwips(txtField[1], 240, 470, 2600, 360);
    PlaceTwips(lblField[2], 240, 950, 2600, 270);
    PlaceTwips(txtField[2], 240, 1220, 2600, 360);
    PlaceTwips(lblField[3], 240, 1700, 2600, 270);
    PlaceTwips(txtField[3], 240, 1970, 2600, 360);
    PlaceTwips(lblField[5], 3240, 200, 2600, 270);
    for (int i = 1; i <= 4; ++i)
        PlaceTwips(optAccessLevel[i], 3300, 470 + (i - 1) * 420, 2640, 360);
    PlaceTwips(lblField[4], 240, 2520, 2600, 270);
    PlaceTwips(lblSpaceFull, 4300, 2520, 1560, 270);
    PlaceTwips(txtField[4], 240, 2790, 5620, 1500);
    PlaceTwips(lblDateCreated, 240, 4380, 3600, 270);
    PlaceTwips(lblMandatory, 4200, 4380, 1660, 270);
    lblMandatory->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PlaceTwips(cmdSave, 960, 4860, 1900, 700);
    PlaceTwips(cmdCancel, 3240, 4860, 1900, 700);
}

void frmAddEditUser::Form_Activate() {
    SetCaption(AppTitle() + QStringLiteral(" - ") + Tag());
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
        optAccessLevel[1]->setChecked(true);
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
    auto& users = store::Users();
    store::StoreResult result = users.Open();
    if (result)
        result = users.Read(EditRecNum());
    users.Close();
    if (!result) {
        forms::ShowStoreProblem(result);
        return false;
    }
    ShowRecord();
    return true;
}

void frmAddEditUser::ShowRecord() {
    const store::UserRecord& user = store::Users().Buffer();
    ShowDateCreated(user.DateCreated);
    optAccessLevel[user.AccessLevel]->setChecked(true);
    SetFieldText(1, store::TrimField(user.FirstName));
    SetFieldText(2, store::TrimField(user.LastName));
    SetFieldText(CommentsIndex, store::TrimField(user.Comments));
    // The administrator sees the password in clear.
    SetFieldText(PasswordIndex, store::UnscramblePassword(user.Password));
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

QString frmAddEditUser::FieldCaption(int index) const {
    return lblField[index]->text();
}

void frmAddEditUser::FillRecord() {
    store::UserRecord& user = store::Users().Buffer();
    user.FirstName = FieldText(1).trimmed();
    user.LastName = FieldText(2).trimmed();
    // Scrambled afresh at every save, so the stored form changes even when the password does
    // not.
    user.Password = store::ScramblePassword(FieldText(PasswordIndex));
    user.AccessLevel = selectedAccessLevel_;
    user.Comments = store::TrimField(FieldText(CommentsIndex));
}
