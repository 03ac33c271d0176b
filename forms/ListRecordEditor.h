#pragma once

#include "forms/EditorReturn.h"
#include "forms/Permits.h"
#include "store/RecordStore.h"
#include "ui/EditorForm.h"

#include <QStringList>
#include <memory>

class QLabel;

// The record editors of the lists (the User List, the Name List, the Course Index): each edits
// one record by its record number, tells whoever opened it what it saved, and writes the
// record through the same steps. The person and course editors are twins that also share
// their activation; what differs (the boxes, the record's fields, a few words) the windows
// give.
class ListRecordEditor : public EditorForm {
    Q_OBJECT

public:
    // The words that name what the window edits.
    struct Wording {
        QString viewOnlyCaption; // caption for a Read Only user
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

    template <class Record>
    ListRecordEditor(QWidget* parent, const Session& session, qint32 editRecNum,
                     store::RecordTable<Record>& table, Wording wording,
                     AddModeSave addModeSave = AddModeSave::Hidden,
                     CancelRecaption cancelRecaption = CancelRecaption::WhenSaveShown)
        : ListRecordEditor(parent, session, editRecNum, std::make_unique<ListFileOf<Record>>(table),
                           std::move(wording), addModeSave, cancelRecaption) {}

    // The first activation, the same for both windows: caption, the mode's record, Save and
    // Cancel, the boxes filled, then edits start to count.
    void Form_Activate() override;
    // Fills the boxes from the record just read (view/edit mode, during set-up).
    virtual void ShowRecord() = 0;
    // Sets the window up for a new record (add mode, during set-up).
    virtual void ShowNewRecord() {}
    // Puts what the boxes hold into the buffer, every field but DateCreated.
    virtual void FillRecord() = 0;
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
    ListRecordEditor(QWidget* parent, const Session& session, qint32 editRecNum,
                     std::unique_ptr<ListFile> file, Wording wording, AddModeSave addModeSave,
                     CancelRecaption cancelRecaption);

    bool CountForAdding();
    // Whether every box holds a text the record may keep; the first that does not is told in
    // "Entry Error" and gets the focus.
    bool FieldsStorable();
    bool ReadForShowing();
    // Whether the record on file (the file open) is still the one the window showed; when it
    // is not, the user is told and may reload, which closes the window unsaved.
    bool StillAsShown();

    Session session_;
    qint32 editRecNum_ = 0;
    double writtenIdentity_ = 0; // the DateCreated of the record last written
    QByteArray shownBytes_;      // the record as the window read it (view/edit mode)
    double shownIdentity_ = 0;   // and its DateCreated
    EditorResult result_;
    std::unique_ptr<ListFile> file_;
    Wording wording_;
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
