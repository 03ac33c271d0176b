#pragma once

#include "forms/EditorReturn.h"
#include "forms/Permits.h"
#include "platform/Twips.h"
#include "store/Codepage.h"
#include "store/RecordStore.h"
#include "ui/EditorForm.h"

#include <QStringList>
#include <memory>
#include <optional>
#include <span>

class QLabel;

// The record editors of the lists (the User List, the Name List, the Course Index): each opens
// on one record, new or as read from its list, tells whoever opened it what it saved, and
// writes the record through the same steps. The person and course editors are twins that also
// share their activation; what differs (the boxes, the record's fields, a few words) the
// windows give.
class ListRecordEditor : public EditorForm {
    Q_OBJECT

public:
    // The words that name what the window edits.
    struct Wording {
        QString addCaption;      // after the title in add mode: "Add a Name"
        QString editCaption;     // and in view/edit mode: "View/Edit this Name"
        QString viewOnlyCaption; // instead, for a Read Only user
        QString newWhat;         // second line of Save and Cancel in add mode
        QString markedField;     // the field that may not hold the removal marker
        QString listName;        // "Name List"
        QString recordsName;     // what the list holds, in the plural
    };

    ~ListRecordEditor() override;

    // The record this window writes: its own in view/edit mode, the one after the last
    // (counted at activation) in add mode.
    qint32 EditRecNum() const { return editRecNum_; }

    // What the window did: saved or not, and the saved record's identity.
    const EditorResult& Result() const { return result_; }
    // Tells whoever opened the window that the record created at `identity` was saved.
    void ReportSaved(double identity) { result_ = {true, identity, editRecNum_}; }

protected:
    // The list's file seen through its shared buffer, whatever its record type.
    class ListFile {
    public:
        virtual ~ListFile() = default;
        virtual store::DataFile Which() const = 0;
        virtual store::StoreResult Open() = 0;
        virtual void Close() = 0;
        virtual qint32 Count() const = 0;
        virtual bool CanAdd() const = 0;
        virtual store::StoreResult Read(qint32 recordNumber) = 0;
        virtual store::StoreResult ReadRaw(qint32 recordNumber, QByteArray& bytes) = 0;
        virtual store::StoreResult Write(qint32 recordNumber) = 0;
        virtual void ClearBuffer() = 0;
        virtual double& DateCreated() = 0;
        virtual bool IsMarked() const = 0;
    };
    template <class Record> class ListFileOf;

    ListRecordEditor(QWidget* parent, const Session& session, const EditorSource& source,
                     std::unique_ptr<ListFile> file, Wording wording, AddModeSave addModeSave,
                     CancelRecaption cancelRecaption);

    // The first activation, the same for both windows: caption, the mode's record, Save and
    // Cancel, the boxes filled, then edits start to count.
    void Form_Activate() override;
    // The title, " - " and the mode's caption.
    QString ModeCaption() const;
    // Fills the window from the record it opened on (view/edit mode, during set-up).
    virtual void ShowOpenedRecord() = 0;
    // Sets the window up for the new record (add mode, during set-up).
    virtual void ShowNewRecord() = 0;
    // Puts what the window holds into the buffer, every field but DateCreated.
    virtual void FillBuffer() = 0;
    // The buffer was written as record EditRecNum().
    virtual void BufferWritten() = 0;
    // What a save of this window is, for the access rules: adding or editing a record.
    virtual forms::Action SaveAction() const;
    // The caption of box `index` as the window shows it ("* First Name").
    virtual QString FieldCaption(int index) const = 0;

    // Writes the record from the boxes: reads it (view/edit mode) or starts a blank one with
    // a creation stamp no other record has behind the last record (add mode), fills it,
    // writes it, closes the file.
    // A session that may not save (forms::Permits) is told so; a window that only shows its
    // record writes nothing either.
    // A box holding a control character, a list that is full, the removal marker in the marked
    // field, or a file that cannot be read or written is told to the user; then nothing is
    // written and the result is false.
    bool WriteRecord();
    // Reports the record WriteRecord wrote as saved.
    void ReportSaved() { ReportSaved(writtenIdentity_); }

    static void FileProblem(const store::StoreResult& result);
    // For a window with an activation of its own.
    void SetEditRecNum(qint32 recNum) { editRecNum_ = recNum; }
    // Where the record the window opened on came from.
    const EditorSource& Source() const { return source_; }

    // Who opened the window.
    const Session& SignedIn() const { return session_; }
    // The signed-in user may look but not edit.
    bool ReadOnlyUser() const;

    // Layout shared by the twins: a caption on the background.
    QLabel* AddCaption(const QString& text);
    // The usual look of the boxes and where the labels of the comments box go.
    void StyleFields();
    // lblMandatory and lblSpaceFull below the comments box, whose bottom-right is given.
    void PlaceBelowComments(int left, int right, int top);

private:
    bool CountForAdding();
    // Whether every box holds a text the record may keep; the first that does not is told in
    // "Entry Error" and gets the focus.
    bool FieldsStorable();
    // Whether the record the window opened on could be read; if not, the user is told and
    // the window only shows.
    bool OpenedReadable();
    // Whether the record on file (the file open) is still the one the window showed; when it
    // is not, the user is told and may reload, which closes the window unsaved.
    bool StillAsShown();

    Session session_;
    EditorSource source_;
    qint32 editRecNum_ = 0;
    double writtenIdentity_ = 0; // the DateCreated of the record last written
    QByteArray shownBytes_;      // the record as the window showed it (view/edit mode)
    EditorResult result_;
    std::unique_ptr<ListFile> file_;
    Wording wording_;
};

// One box of a record editor with its label: where both go, and which field of the record
// the box shows and fills. A table of these is the editor's layout and its record mapping.
template <class Record> struct EditorField {
    struct Place {
        int left, top, width, height; // twips
    };
    int index;           // txtField(index) and lblField(index)
    const char* caption; // the label
    int limit;           // characters the record's field holds
    bool comments;       // the multi-line comments box
    Place label;
    Place box;
    QString (*show)(const Record& record);
    void (*fill)(Record& record, const QString& text);
};

// The usual text field: shown and stored trimmed.
template <class Record, QString Record::*Member> QString ShowTrimmed(const Record& record) {
    return store::TrimField(record.*Member);
}
template <class Record, QString Record::*Member>
void FillTrimmed(Record& record, const QString& text) {
    record.*Member = store::TrimField(text);
}

// A list's record editor for records of type `Record`: the boxes made, placed, shown and
// filled from the editor's field table; a window adds what is not a box (options).
template <class Record> class RecordEditorOf : public ListRecordEditor {
public:
    using Entry = EditorRecord<Record>;
    using FieldSpec = EditorField<Record>;

    // What the window did, with the record as written.
    EditorResultOf<Record> Result() const {
        EditorResultOf<Record> result;
        static_cast<EditorResult&>(result) = ListRecordEditor::Result();
        if (result.saved)
            result.record = written_;
        return result;
    }

protected:
    RecordEditorOf(QWidget* parent, const Session& session, Entry entry,
                   store::RecordTable<Record>& table, std::span<const FieldSpec> fields,
                   Wording wording, AddModeSave addModeSave = AddModeSave::Hidden,
                   CancelRecaption cancelRecaption = CancelRecaption::WhenSaveShown)
        : ListRecordEditor(parent, session, entry, std::make_unique<ListFileOf<Record>>(table),
                           std::move(wording), addModeSave, cancelRecaption),
          table_(table), opened_(std::move(entry.record)), fields_(fields) {}

    // Makes every field's label, through `makeLabel`, and box, in the table's order (the Tab
    // order); the labels go to `labels` by index.
    template <class Labels, class MakeLabel> void BuildFields(Labels& labels, MakeLabel makeLabel) {
        for (const FieldSpec& field : fields_) {
            labels[field.index] = makeLabel(QString::fromLatin1(field.caption));
            if (field.comments)
                AddCommentsField(field.index, field.limit);
            else
                AddLineField(field.index, field.limit);
        }
    }
    template <class Labels> void PlaceFields(const Labels& labels) {
        for (const FieldSpec& field : fields_) {
            Place(labels[field.index], field.label);
            Place(Field(field.index), field.box);
        }
    }

    // What is not a box: shown from the record the window opened on (both modes), and put
    // into the record to be written.
    virtual void ShowChoices(const Record& record) { Q_UNUSED(record); }
    virtual void FillChoices(Record& record) { Q_UNUSED(record); }

    // The record's creation, every box and the choices, from the record the window opened on.
    void ShowOpenedRecord() override {
        ShowDateCreated(opened_.DateCreated);
        ShowChoices(opened_);
        for (const FieldSpec& field : fields_)
            SetFieldText(field.index, field.show(opened_));
    }
    void ShowNewRecord() override { ShowChoices(opened_); }
    void FillBuffer() override {
        Record& record = table_.Buffer();
        for (const FieldSpec& field : fields_)
            field.fill(record, FieldText(field.index));
        FillChoices(record);
    }
    void BufferWritten() override { written_ = table_.Buffer(); }
    QString FieldCaption(int index) const override {
        for (const FieldSpec& field : fields_) {
            if (field.index == index)
                return QString::fromLatin1(field.caption);
        }
        return QString();
    }

private:
    static void Place(QWidget* widget, const typename FieldSpec::Place& at) {
        platform::PlaceTwips(widget, at.left, at.top, at.width, at.height);
    }

    store::RecordTable<Record>& table_;
    Record opened_;
    std::span<const FieldSpec> fields_;
    std::optional<Record> written_;
};

template <class Record> class ListRecordEditor::ListFileOf final : public ListFile {
public:
    explicit ListFileOf(store::RecordTable<Record>& table) : table_(table) {}
    store::DataFile Which() const override { return table_.Which(); }
    store::StoreResult Open() override { return table_.Open(); }
    void Close() override { table_.Close(); }
    qint32 Count() const override { return table_.Count(); }
    bool CanAdd() const override { return table_.CanAdd(); }
    store::StoreResult Read(qint32 recordNumber) override { return table_.Read(recordNumber); }
    store::StoreResult ReadRaw(qint32 recordNumber, QByteArray& bytes) override {
        return table_.File().ReadRaw(recordNumber, bytes);
    }
    store::StoreResult Write(qint32 recordNumber) override { return table_.Write(recordNumber); }
    void ClearBuffer() override { table_.Buffer() = Record(); }
    double& DateCreated() override { return table_.Buffer().DateCreated; }
    bool IsMarked() const override { return table_.Buffer().IsMarked(); }

private:
    store::RecordTable<Record>& table_;
};
