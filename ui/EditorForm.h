#pragma once

#include "ui/Form.h"

#include <QColor>
#include <QList>
#include <QString>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class ZovButton;

// Whether a record editor adds a new record or shows (and may change) one on file.
enum class EditorMode { Add, Edit };

// What the record editors (user, person, course) have in common:
//
// - the mode, given when the window is made;
// - the text boxes txtField(i): focus colours, select-all on entry, a limit in characters,
//   and the multi-line comments box with its fullness gauge lblSpaceFull;
// - cmdSave and cmdCancel with their caption rules: at the start of the mode
//   (SetUpSaveCancel) and after each edit (NoteEdit: Save shown or enabled exactly while
//   MandatoryFieldsFilled, Cancel then reads "Cancel Changes" in view/edit mode);
// - the view-only state of a Read Only user: boxes locked, the focus sent to cmdCancel;
// - "set-up is not an edit": until FinishSetUp(), filling the boxes changes no button.
//
// A subclass builds its controls in its constructor (boxes through AddLineField and
// AddCommentsField, so they are watched), places cmdSave, cmdCancel and the labels, and in
// its Form_Activate fills the boxes, calls SetUpSaveCancel and then FinishSetUp.
class EditorForm : public Form {
    Q_OBJECT

public:
    // Focus colours of the text boxes.
    static QColor AddFocusColor() { return QColor(255, 255, 0); }
    static QColor EditFocusColor() { return QColor(255, 192, 255); }
    static QColor LeftColor() { return QColor(0, 255, 255); }

    ZovButton* cmdSave;
    ZovButton* cmdCancel;
    QLabel* lblMandatory;   // "* Mandatory Entry"
    QLabel* lblDateCreated; // " Record Created ..." in view/edit mode only
    QLabel* lblSpaceFull;   // how full the comments box is; hidden while it is empty

    EditorMode Mode() const { return mode_; }
    bool AddMode() const { return mode_ == EditorMode::Add; }
    bool SetUpDone() const { return setUpDone_; }
    bool ViewOnly() const { return viewOnly_; }

    // The text of box `index`. Line breaks of the comments box come back as CR LF, the form
    // the record files keep.
    QString FieldText(int index) const;
    void SetFieldText(int index, const QString& text);
    QWidget* Field(int index) const;

    // The gauge text for `length` characters of a box that holds `limit`: " 50% full ";
    // never less than 1%.
    static QString SpaceFullCaption(int length, int limit);

protected:
    // How Save looks in add mode before anything is typed: the user editor shows it disabled,
    // the person and course editors keep it hidden until the mandatory fields are filled.
    enum class AddModeSave { Disabled, Hidden };
    // When an edit in view/edit mode turns Cancel into "Cancel Changes": always (user editor)
    // or only once Save is shown (person and course editors).
    enum class CancelRecaption { Always, WhenSaveShown };

    EditorForm(EditorMode mode, AddModeSave addModeSave, CancelRecaption cancelRecaption,
               QWidget* parent);

    virtual bool MandatoryFieldsFilled() const = 0;
    virtual void cmdSave_Click() = 0;
    virtual void cmdCancel_Click(); // unloads the window without asking

    // A one-line box of at most maxLength characters, watched as txtField(index).
    QLineEdit* AddLineField(int index, int maxLength);
    // The multi-line comments box, watched as txtField(index); its gauge is lblSpaceFull.
    // CR LF counts as two characters towards the limit, as it is stored.
    QPlainTextEdit* AddCommentsField(int index, int limit);

    // Captions, visibility and enabling of Save and Cancel at the start of the mode.
    // `newWhat` is the second line in add mode ("New Entry", "New Course").
    void SetUpSaveCancel(const QString& newWhat);
    // A Read Only user: every box locked, entering one moves the focus to cmdCancel.
    void SetViewOnly(bool on);
    // lblDateCreated shows " Record Created 03/03/2005 02:05pm " for the record's stamp.
    void ShowDateCreated(double dateCreated);
    // From now on changes count as edits.
    void FinishSetUp() { setUpDone_ = true; }

    // The Save and Cancel rules after an edit; does nothing during set-up nor in a view-only
    // window. The text boxes
    // call it on every change; editors call it for their own controls (options).
    void NoteEdit();

    // Handlers of the watched boxes; the base versions do what every editor does.
    virtual void txtField_GotFocus(int index);
    virtual void txtField_LostFocus(int index);
    virtual void txtField_Change(int index);

    // Colours box `index` for the mode; the editors that override txtField_GotFocus call it.
    void ColourForFocus(int index);
    void SelectAll(int index);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct FieldBox {
        int index = 0;
        QLineEdit* line = nullptr;
        QPlainTextEdit* multi = nullptr;
        int limit = 0;
        QWidget* widget() const;
    };

    const FieldBox* Box(int index) const;
    int IndexOf(QObject* widget) const;
    void SetBoxColour(int index, const QColor& color);
    void CommentsChanged(int index);
    void UpdateSpaceFull(int length, int limit);

    EditorMode mode_;
    AddModeSave addModeSave_;
    CancelRecaption cancelRecaption_;
    QList<FieldBox> boxes_;
    bool setUpDone_ = false;
    bool viewOnly_ = false;
};
