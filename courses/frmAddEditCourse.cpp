#include "courses/frmAddEditCourse.h"

#include "courses/UpdateCreditedRecords.h"
#include "forms/Messages.h"
#include "forms/Permits.h"
#include "forms/WindowBusy.h"
#include "help/ShowHelp.h"
#include "platform/Twips.h"
#include "store/Codepage.h"
#include "store/Formats.h"
#include "ui/AppTitle.h"
#include "ui/ZovButton.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QSpinBox>

using platform::PlaceTwips;

namespace {

using store::CourseRecord;
using Field = EditorField<CourseRecord>;

// Code, name and provider are stored as typed: a code may begin with a blank on purpose.
template <QString CourseRecord::*Member>
void FillAsTyped(CourseRecord& course, const QString& text) {
    course.*Member = text;
}

// The five boxes: caption, limit (the width of the record field; five characters of hours),
// label and box in twips, the record's field. Each box is as wide as its limit, up to the
// right edge; the name of a course is long, so its box has a line of its own under its label.
constexpr Field kFields[] = {
    {1,
     "* Course Code",
     8,
     false,
     {360, 405, 1890, 300},
     {2250, 360, 1305, 345},
     ShowTrimmed<CourseRecord, &CourseRecord::CourseCode>,
     FillAsTyped<&CourseRecord::CourseCode>},
    {2,
     "* Name of Course",
     50,
     false,
     {360, 915, 1890, 300},
     {360, 1200, 5160, 345},
     ShowTrimmed<CourseRecord, &CourseRecord::CourseName>,
     FillAsTyped<&CourseRecord::CourseName>},
    {3,
     "Provided by",
     30,
     false,
     {360, 1725, 1890, 300},
     {2250, 1680, 3270, 345},
     ShowTrimmed<CourseRecord, &CourseRecord::ProvidedBy>,
     FillAsTyped<&CourseRecord::ProvidedBy>},
    {4,
     "* Hours",
     5,
     false,
     {360, 2235, 1890, 300},
     {2250, 2190, 900, 345},
     [](const CourseRecord& course) { return formats::SingleText(course.Hours); }, // 8, 7.5, 0
     [](CourseRecord& course, const QString& text) {
         course.Hours = static_cast<float>(formats::LeadingNumber(text));
     }},
    {5,
     " Comments",
     200,
     true,
     {360, 2790, 3000, 300},
     {360, 3090, 5160, 1650},
     ShowTrimmed<CourseRecord, &CourseRecord::Comments>,
     FillTrimmed<CourseRecord, &CourseRecord::Comments>},
};
constexpr int kHours = 4;

ListRecordEditor::Wording CourseWording() {
    return {QStringLiteral("Add a Course"),
            QStringLiteral("View/Edit this Course"),
            QStringLiteral("View the details of this course"),
            QStringLiteral("New Course"),
            QStringLiteral("course code"),
            QStringLiteral("Course Index"),
            QStringLiteral("courses")};
}

} // namespace

frmAddEditCourse::frmAddEditCourse(QWidget* parent, const Session& session, Entry course)
    : RecordEditorOf(parent, session, std::move(course), store::Courses(), kFields,
                     CourseWording()),
      cmdHelp(new ZovButton(this)) {
    BuildFields(lblField, [this](const QString& caption) { return AddCaption(caption); });
    lblRenewal = AddCaption(QStringLiteral("Renewal period (months)"));
    spnRenewal = new QSpinBox(this);
    spnRenewal->setObjectName(QStringLiteral("spnRenewal"));
    spnRenewal->setRange(0, store::kMaxRenewalMonths);
    spnRenewal->setSpecialValueText(QStringLiteral("0 (never expires)"));
    spnRenewal->setAccessibleName(QStringLiteral("Renewal period (months)"));
    lblRenewal->setBuddy(spnRenewal);
    chkRequired = new QCheckBox(QStringLiteral("Required for all active persons"), this);
    chkRequired->setObjectName(QStringLiteral("chkRequired"));
    setTabOrder(Field(5), spnRenewal);
    setTabOrder(spnRenewal, chkRequired);
    connect(spnRenewal, &QSpinBox::valueChanged, this, [this] { NoteEdit(); });
    connect(chkRequired, &QCheckBox::toggled, this, [this] { NoteEdit(); });
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    cmdHelp->SetCaption(QStringLiteral("?"));
    cmdHelp->setAccessibleName(QStringLiteral("Help"));
    new QShortcut(QKeySequence(Qt::Key_F1), this, this, &frmAddEditCourse::cmdHelp_Click);
    connect(cmdHelp, &ZovButton::Click, this, &frmAddEditCourse::cmdHelp_Click);
    StyleFields();
    PlaceControls();
    Form_Load();
}

frmAddEditCourse::Entry frmAddEditCourse::ForAdding() {
    return Entry::New(Record());
}

frmAddEditCourse::Entry frmAddEditCourse::ForEditing(qint32 recNum) {
    return Entry::Read(store::Courses(), recNum);
}

frmAddEditCourse::~frmAddEditCourse() = default;

void frmAddEditCourse::Form_Load() {
    SetSizeTwips(5880, 7850);
    TileBackground();
}

void frmAddEditCourse::PlaceControls() {
    constexpr int labelLeft = 360;
    constexpr int right = 5520;
    PlaceFields(lblField);
    PlaceBelowComments(labelLeft, right, 4800);
    PlaceTwips(lblRenewal, labelLeft, 5235, 2600, 300);
    PlaceTwips(spnRenewal, 3000, 5190, 2520, 345);
    PlaceTwips(chkRequired, labelLeft, 5640, right - labelLeft, 345);
    lblDateCreated->move(platform::Twips(labelLeft), platform::Twips(6120));
    PlaceTwips(cmdHelp, labelLeft, 6600, 660, 660);
    PlaceTwips(cmdSave, 2070, 6600, 1650, 660);
    PlaceTwips(cmdCancel, 3870, 6600, 1650, 660);
}

void frmAddEditCourse::Form_Activate() {
    ListRecordEditor::Form_Activate();
    cmdHelp->setToolTip(
        QStringLiteral(" Click here for important information about Course Codes "));
    cmdHelp->Refresh();
}

void frmAddEditCourse::ShowChoices(const Record& course) {
    shown_ = course;
    store::TrainingRules rules;
    const store::StoreResult read = store::ReadTrainingRules(rules);
    rulesReadable_ = read.ok();
    // A new course has no rule yet: its identity is made when it is saved.
    shownRule_ = AddMode() ? store::CourseRule{} : rules.RuleOf(course.DateCreated);
    spnRenewal->setValue(shownRule_.months);
    chkRequired->setChecked(shownRule_.required);
    if (!rulesReadable_)
        FileProblem(read); // the choices show no rule and cannot be saved
    const bool editable = rulesReadable_ && !ViewOnly();
    spnRenewal->setReadOnly(!editable);
    chkRequired->setEnabled(editable);
}

store::CourseRule frmAddEditCourse::ChosenRule() const {
    return {spnRenewal->value(), chkRequired->isChecked()};
}

void frmAddEditCourse::SaveRule() {
    const store::CourseRule chosen = ChosenRule();
    if (!rulesReadable_ || chosen == shownRule_)
        return;
    // Read again: another station may have changed the rules of other courses meanwhile.
    store::TrainingRules rules;
    store::StoreResult result = store::ReadTrainingRules(rules);
    if (result) {
        rules.SetRule(ListRecordEditor::Result().identity, chosen);
        result = store::WriteTrainingRules(rules);
    }
    if (!result)
        forms::Tell(QStringLiteral("File Problem"),
                    {QStringLiteral("The course was saved, but not its renewal period"),
                     QStringLiteral("and whether all active persons need it:"), QString(),
                     result.text(), QString(),
                     QStringLiteral("Please check the data folder and try again.")},
                    forms::Icon::Stop);
}

bool frmAddEditCourse::MandatoryFieldsFilled() const {
    for (int index : {1, 2, kHours}) {
        if (store::TrimField(FieldText(index)).isEmpty())
            return false;
    }
    return true;
}

void frmAddEditCourse::cmdSave_Click() {
    if (!formats::IsNumeric(FieldText(kHours))) {
        forms::Tell(
            QStringLiteral("Entry Error"),
            {QStringLiteral("There must be some value"), QStringLiteral("in the 'Hours' field.")},
            forms::Icon::Stop);
        Field(kHours)->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Stored as infinity, the course would look like a heading, and the update of the
    // credited records would write infinity into each of them.
    if (!formats::FitsSingle(formats::LeadingNumber(FieldText(kHours)))) {
        forms::Tell(
            QStringLiteral("Entry Error"),
            {QStringLiteral("\"") + FieldText(kHours).trimmed() + QStringLiteral("\" is an"),
             QStringLiteral("improbable 'Hours' entry.")},
            forms::Icon::Stop);
        Field(kHours)->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!WriteRecord())
        return;
    ReportSaved();
    SaveRule();
    // A change of the renewal alone leaves the course's copies in the records as they are.
    const bool courseChanged = store::Courses().Buffer().Encode() != shown_.Encode();
    const bool ruleOnly = !courseChanged && ChosenRule() != shownRule_;
    if (!AddMode() && !ruleOnly &&
        QFileInfo::exists(store::FileNameOf(store::DataFile::TrainingRecords)) &&
        formats::LeadingNumber(FieldText(kHours)) > 0)
        UpdateCreditedRecords();
    cmdCancel_Click();
}

void frmAddEditCourse::cmdHelp_Click() {
    help::ShowHelp(help::HelpTopic::CourseCodeConventions, this);
}

void frmAddEditCourse::UpdateCreditedRecords() {
    if (!forms::MayWrite(SignedIn(), forms::Action::EditRecord))
        return;
    const int answer =
        forms::Ask(QStringLiteral("Update individuals' training records appropriately?"),
                   forms::Icon::Question,
                   {QStringLiteral("Do you want this change to be applied"),
                    QStringLiteral("to the existing individual training record(s)"),
                    QStringLiteral("of any person(s) who have previously completed"),
                    QStringLiteral("this particular training course?")},
                   2, {QStringLiteral("&Yes, update"), QStringLiteral("&No, do not update")});
    if (answer != 1)
        return;

    credited::Tally tally;
    store::StoreResult result;
    {
        const WindowBusy busy(*this);
        // The caption is set only when its text changes: a million records, a hundred
        // captions.
        result = credited::CarryCourseIntoTraining(
            store::Courses().Buffer(), tally, [this](const credited::Tally& now) {
                const QString caption = credited::ProgressCaption(now);
                if (caption != Caption())
                    SetCaption(caption);
            });
    }
    if (!result) {
        FileProblem(result);
        return;
    }
    forms::Tell(
        QStringLiteral("Update results..."),
        {QString::number(tally.total) + QStringLiteral(" training records were reviewed."),
         QString(),
         QString::number(tally.updated) + QStringLiteral(" individual training records were found"),
         QStringLiteral("and updated with the latest changes.")});
}
