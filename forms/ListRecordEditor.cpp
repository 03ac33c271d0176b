#include "forms/ListRecordEditor.h"

#include "forms/Messages.h"
#include "forms/StoreProblem.h"
#include "platform/Fonts.h"
#include "platform/Twips.h"
#include "store/Clock.h"
#include "store/ControlCharacters.h"
#include "ui/AppTitle.h"
#include "ui/PlainText.h"
#include "ui/ZovButton.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>

ListRecordEditor::ListRecordEditor(QWidget* parent, const Session& session,
                                   const EditorSource& source, std::unique_ptr<ListFile> file,
                                   Wording wording, AddModeSave addModeSave,
                                   CancelRecaption cancelRecaption)
    : EditorForm(source.mode, addModeSave, cancelRecaption, parent), session_(session),
      source_(source), editRecNum_(source.mode == EditorMode::Add ? 0 : source.recNum),
      file_(std::move(file)), wording_(std::move(wording)) {}

ListRecordEditor::~ListRecordEditor() = default;

bool ListRecordEditor::ReadOnlyUser() const {
    return !forms::Permits(session_, forms::Action::EditRecord);
}

forms::Action ListRecordEditor::SaveAction() const {
    return AddMode() ? forms::Action::AddRecord : forms::Action::EditRecord;
}

void ListRecordEditor::FileProblem(const store::StoreResult& result) {
    forms::ShowStoreProblem(result);
}

QString ListRecordEditor::ModeCaption() const {
    return AppTitle() + QStringLiteral(" - ") +
           (AddMode() ? wording_.addCaption : wording_.editCaption);
}

void ListRecordEditor::Form_Activate() {
    SetCaption(ReadOnlyUser() ? AppTitle() + QStringLiteral(" - ") + wording_.viewOnlyCaption
                              : ModeCaption());
    SetUpSaveCancel(wording_.newWhat);
    if (AddMode()) {
        if (CountForAdding())
            ShowNewRecord();
    } else if (OpenedReadable()) {
        SetViewOnly(ReadOnlyUser());
        shownBytes_ = source_.onFile;
        ShowOpenedRecord();
        // A long text shows its beginning, not its end.
        for (int index = 1; Field(index); ++index) {
            if (auto* line = qobject_cast<QLineEdit*>(Field(index)))
                line->setCursorPosition(0);
        }
    }
    FinishSetUp();
    if (ViewOnly())
        cmdCancel->setFocus(Qt::OtherFocusReason);
    else
        Field(1)->setFocus(Qt::OtherFocusReason);
}

bool ListRecordEditor::CountForAdding() {
    const store::StoreResult opened = file_->Open();
    file_->Close();
    if (!opened) {
        // Without a count there is no record number to write: the window can only be left.
        FileProblem(opened);
        SetViewOnly(true);
        return false;
    }
    editRecNum_ = file_->Count() + 1;
    return true;
}

bool ListRecordEditor::OpenedReadable() {
    if (!source_.read) {
        // Nothing was read, so nothing may be written back over the record.
        FileProblem(source_.read);
        SetViewOnly(true);
        return false;
    }
    return true;
}

bool ListRecordEditor::FieldsStorable() {
    for (int index = 1; Field(index); ++index) {
        // The comments box is the one multi-line box: its line breaks are kept as CR LF.
        const store::LineBreaks breaks = qobject_cast<QPlainTextEdit*>(Field(index))
                                             ? store::LineBreaks::Allowed
                                             : store::LineBreaks::Refused;
        QString caption = FieldCaption(index).trimmed();
        if (caption.startsWith(u'*'))
            caption = caption.mid(1).trimmed();
        const QStringList refusal =
            store::ControlCharacterRefusal(caption, FieldText(index), breaks);
        if (!refusal.isEmpty()) {
            forms::Tell(QStringLiteral("Entry Error"), refusal, forms::Icon::Stop);
            Field(index)->setFocus(Qt::OtherFocusReason);
            return false;
        }
    }
    return true;
}

bool ListRecordEditor::WriteRecord() {
    // A window left view-only by a record it could not read has told why already.
    if (!forms::MayWrite(session_, SaveAction()) || ViewOnly() || !FieldsStorable())
        return false;
    if (const store::StoreResult opened = file_->Open(); !opened) {
        FileProblem(opened);
        return false;
    }
    // Every way out below closes the file before anything is shown.
    store::StoreResult result;
    if (AddMode()) {
        if (!file_->CanAdd()) {
            file_->Close();
            const QString most = QLocale(QLocale::English).toString(store::MaxListRecords);
            forms::Tell(QStringLiteral("Entry Error"),
                        {QStringLiteral("The '%1' already holds %2 %3,")
                             .arg(wording_.listName, most, wording_.recordsName),
                         QStringLiteral("as many as it can hold."), QString(),
                         QStringLiteral("Nothing was saved.")},
                        forms::Icon::Stop);
            return false;
        }
        // Counted afresh: a count taken when the window opened may have failed.
        editRecNum_ = file_->Count() + 1;
        // The stamp is the record's identity: no other record of the list may carry it.
        double stamp = 0;
        result = store::UniqueDateCreated(file_->Which(), store::CurrentDateValue(), stamp);
        file_->ClearBuffer();
        file_->DateCreated() = stamp;
    } else {
        if (!StillAsShown())
            return false;
        result = file_->Read(editRecNum_);
    }
    if (!result) {
        file_->Close();
        FileProblem(result);
        return false;
    }
    FillBuffer();
    if (file_->IsMarked()) {
        // A record holding the removal marker would vanish with the next removal.
        file_->Close();
        forms::Tell(QStringLiteral("Entry Error"),
                    {QStringLiteral("\"%1\" cannot be used as a %2:")
                         .arg(store::RemovalMarker, wording_.markedField),
                     QStringLiteral("the program marks records that are being removed with it."),
                     QString(),
                     QStringLiteral("Please enter another %1.").arg(wording_.markedField)},
                    forms::Icon::Stop);
        Field(1)->setFocus(Qt::OtherFocusReason);
        return false;
    }
    writtenIdentity_ = file_->DateCreated();
    result = file_->Write(editRecNum_);
    file_->Close();
    if (!result) {
        FileProblem(result);
        return false;
    }
    BufferWritten();
    return true;
}

bool ListRecordEditor::StillAsShown() {
    // Another station may have saved this record, or removed a record before it so that this
    // number now holds another: either way, writing would undo what was saved there. (A window
    // with an activation of its own keeps no bytes to compare with.)
    if (shownBytes_.isEmpty())
        return true;
    if (editRecNum_ <= file_->Count()) {
        QByteArray now;
        if (const store::StoreResult read = file_->ReadRaw(editRecNum_, now); !read) {
            file_->Close();
            FileProblem(read);
            return false;
        }
        if (now == shownBytes_)
            return true;
    }
    file_->Close();
    if (forms::AskReloadChangedRecord()) {
        result_ = {true, source_.identity, 0};
        cmdCancel_Click();
    }
    return false;
}

QLabel* ListRecordEditor::AddCaption(const QString& text) {
    auto* label = ui::NewPlainLabel(text, this);
    label->setFont(platform::DesignFont(QStringLiteral("Tahoma"), 8.25, true));
    label->setAttribute(Qt::WA_TranslucentBackground);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 64));
    label->setPalette(palette);
    return label;
}

void ListRecordEditor::StyleFields() {
    const QFont font = platform::DesignFont(QStringLiteral("Tahoma"), 9);
    for (int index = 1; Field(index); ++index)
        Field(index)->setFont(font);
}

void ListRecordEditor::PlaceBelowComments(int left, int right, int top) {
    lblMandatory->move(platform::Twips(left), platform::Twips(top));
    // The gauge ends under the box's right edge; a longer text widens it to the left.
    platform::PlaceTwips(lblSpaceFull, right - 1050, top, 1050, 255);
}
