#include "ui/EditorForm.h"

#include "platform/Fonts.h"
#include "store/Formats.h"
#include "ui/CrLf.h"
#include "ui/PlainText.h"
#include "ui/StoredText.h"
#include "ui/TextGuard.h"
#include "ui/ZovButton.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextCursor>
#include <algorithm>

namespace {

using storedtext::StoredLength;

using ui::CrLf;

// Save looks like every "go ahead" button, Cancel like every "leave" button.
void StyleButton(ZovButton* button, const QColor& face, const QColor& over) {
    button->SetButtonType(zov::ShadedButton);
    button->SetColorScheme(zov::CustomColors);
    button->SetBackColor(face);
    button->SetBackOver(over);
    button->SetForeColor(QColor(0, 0, 64));
    button->SetForeOver(QColor(0, 0, 0));
    button->setFont(platform::DesignFont(QStringLiteral("Verdana"), 8.25, true));
}

} // namespace

QWidget* EditorForm::FieldBox::widget() const {
    return line ? static_cast<QWidget*>(line) : static_cast<QWidget*>(multi);
}

EditorForm::EditorForm(EditorMode mode, AddModeSave addModeSave, CancelRecaption cancelRecaption,
                       QWidget* parent)
    : Form(parent), cmdSave(new ZovButton(this)), cmdCancel(new ZovButton(this)),
      lblMandatory(ui::NewPlainLabel(QStringLiteral("* Mandatory Entry"), this)),
      lblDateCreated(ui::NewPlainLabel(QString(), this)),
      lblSpaceFull(ui::NewPlainLabel(QString(), this)), mode_(mode), addModeSave_(addModeSave),
      cancelRecaption_(cancelRecaption) {
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    StyleButton(cmdSave, QColor(128, 224, 128), QColor(176, 255, 176));
    StyleButton(cmdCancel, QColor(240, 176, 96), QColor(255, 208, 144));
    connect(cmdSave, &ZovButton::Click, this, &EditorForm::cmdSave_Click);
    connect(cmdCancel, &ZovButton::Click, this, &EditorForm::cmdCancel_Click);

    const QFont small = platform::DesignFont(QStringLiteral("Tahoma"), 8.25);
    for (QLabel* label : {lblMandatory, lblDateCreated, lblSpaceFull}) {
        label->setFont(small);
        label->setAttribute(Qt::WA_TranslucentBackground);
    }
    lblDateCreated->hide();
    // The gauge sits above the right end of the comments box.
    lblSpaceFull->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblSpaceFull->hide();
}

QLineEdit* EditorForm::AddLineField(int index, int maxLength) {
    auto* box = new QLineEdit(this);
    box->setObjectName(QStringLiteral("txtField%1").arg(index));
    box->setMaxLength(maxLength);
    textguard::GuardStoredField(box);
    box->installEventFilter(this);
    connect(box, &QLineEdit::textChanged, this, [this, index] { txtField_Change(index); });
    boxes_.append({index, box, nullptr, maxLength});
    return box;
}

QPlainTextEdit* EditorForm::AddCommentsField(int index, int limit) {
    auto* box = new QPlainTextEdit(this);
    box->setObjectName(QStringLiteral("txtField%1").arg(index));
    box->setTabChangesFocus(true);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    box->installEventFilter(this);
    textguard::GuardStoredField(box, limit);
    connect(box, &QPlainTextEdit::textChanged, this, [this, index] { CommentsChanged(index); });
    boxes_.append({index, nullptr, box, limit});
    return box;
}

const EditorForm::FieldBox* EditorForm::Box(int index) const {
    for (const FieldBox& box : boxes_) {
        if (box.index == index)
            return &box;
    }
    return nullptr;
}

int EditorForm::IndexOf(QObject* widget) const {
    for (const FieldBox& box : boxes_) {
        if (box.widget() == widget)
            return box.index;
    }
    return 0;
}

QWidget* EditorForm::Field(int index) const {
    const FieldBox* box = Box(index);
    return box ? box->widget() : nullptr;
}

QString EditorForm::FieldText(int index) const {
    const FieldBox* box = Box(index);
    if (!box)
        return QString();
    if (box->line)
        return box->line->text();
    return box->multi->toPlainText().replace(u'\n', CrLf);
}

void EditorForm::SetFieldText(int index, const QString& text) {
    const FieldBox* box = Box(index);
    if (!box)
        return;
    if (box->line) {
        box->line->setText(text);
        return;
    }
    QString plain = text;
    plain.replace(CrLf, QStringLiteral("\n"));
    box->multi->setPlainText(plain);
}

QString EditorForm::SpaceFullCaption(int length, int limit) {
    const double fraction = limit > 0 ? static_cast<double>(length) / limit : 1.0;
    return u' ' + formats::Percent(std::max(0.01, fraction)) + QStringLiteral(" full ");
}

void EditorForm::SetUpSaveCancel(const QString& newWhat) {
    if (AddMode()) {
        cmdSave->SetCaption(QStringLiteral("&Save") + CrLf + newWhat);
        cmdCancel->SetCaption(QStringLiteral("&Cancel") + CrLf + newWhat);
        if (addModeSave_ == AddModeSave::Disabled) {
            cmdSave->setEnabled(false);
            cmdSave->show();
        } else {
            cmdSave->hide();
        }
    } else {
        cmdSave->SetCaption(QStringLiteral("&Save") + CrLf + QStringLiteral("Changes"));
        cmdSave->hide();
        cmdCancel->SetCaption(QStringLiteral("&Finished") + CrLf + QStringLiteral("Viewing"));
    }
    cmdSave->Refresh();
    cmdCancel->Refresh();
}

void EditorForm::SetViewOnly(bool on) {
    viewOnly_ = on;
    for (const FieldBox& box : std::as_const(boxes_)) {
        if (box.line)
            box.line->setReadOnly(on);
        else
            box.multi->setReadOnly(on);
    }
}

void EditorForm::ShowDateCreated(double dateCreated) {
    lblDateCreated->setText(QStringLiteral(" Record Created ") +
                            formats::CreatedStamp(dateCreated));
    lblDateCreated->adjustSize();
    lblDateCreated->show();
}

void EditorForm::NoteEdit() {
    // A locked box still takes text set through the accessibility interface; in a window that
    // only shows its record that is never an edit to save.
    if (!setUpDone_ || viewOnly_)
        return;
    const bool filled = MandatoryFieldsFilled();
    if (!cmdSave->isHidden())
        cmdSave->setEnabled(filled);
    else if (filled)
        cmdSave->show();
    if (!AddMode() && (cancelRecaption_ == CancelRecaption::Always || !cmdSave->isHidden()))
        cmdCancel->SetCaption(QStringLiteral("&Cancel") + CrLf + QStringLiteral("Changes"));
}

void EditorForm::cmdCancel_Click() {
    close();
}

void EditorForm::ColourForFocus(int index) {
    SetBoxColour(index, AddMode() ? AddFocusColor() : EditFocusColor());
}

void EditorForm::SelectAll(int index) {
    const FieldBox* box = Box(index);
    if (box && box->line)
        box->line->selectAll();
    else if (box)
        box->multi->selectAll();
}

void EditorForm::txtField_GotFocus(int index) {
    // A Read Only user may look but not type: the focus goes on to the way out.
    if (viewOnly_) {
        cmdCancel->setFocus(Qt::OtherFocusReason);
        return;
    }
    ColourForFocus(index);
    SelectAll(index);
}

void EditorForm::txtField_LostFocus(int index) {
    SetBoxColour(index, LeftColor());
}

void EditorForm::txtField_Change(int index) {
    Q_UNUSED(index);
    NoteEdit();
}

void EditorForm::CommentsChanged(int index) {
    const FieldBox* box = Box(index);
    txtField_Change(index);
    // The gauge follows the box also while the record is being loaded.
    UpdateSpaceFull(StoredLength(box->multi->toPlainText()), box->limit);
}

void EditorForm::UpdateSpaceFull(int length, int limit) {
    if (length == 0) {
        lblSpaceFull->hide();
        return;
    }
    lblSpaceFull->setText(SpaceFullCaption(length, limit));
    // Sized for each text, not only the first: " 2% full " leaves no room for " 100% full ".
    // The text is right-aligned, so a wider label grows to the left: its right end stays
    // where the window placed it, inside the window.
    const QSize fits = lblSpaceFull->sizeHint();
    QRect at = lblSpaceFull->geometry();
    at.setLeft(at.right() + 1 - std::max(at.width(), fits.width()));
    at.setHeight(std::max(at.height(), fits.height()));
    lblSpaceFull->setGeometry(at);
    lblSpaceFull->show();
}

void EditorForm::SetBoxColour(int index, const QColor& color) {
    QWidget* box = Field(index);
    if (!box)
        return;
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, color);
    box->setPalette(palette);
}

bool EditorForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        if (const int index = IndexOf(watched); index > 0) {
            if (event->type() == QEvent::FocusIn)
                txtField_GotFocus(index);
            else
                txtField_LostFocus(index);
        }
    }
    return Form::eventFilter(watched, event);
}
