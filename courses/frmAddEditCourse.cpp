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

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <algorithm>

using platform::PlaceTwips;

namespace {

// Box index, caption and limit (the width of the record field; five characters of hours).
struct CourseField {
    int index;
    const char* caption;
    int limit;
};
constexpr CourseField kFields[] = {
    {1, "* Course Code", 8}, {2, "* Name of Course", 50}, {3, "Provided by", 30},
    {4, "* Hours", 5},       {5, " Comments", 200},
};
constexpr int kHours = 4;
constexpr int kComments = 5;

ListRecordEditor::Wording CourseWording() {
    return {QStringLiteral("View the details of this course"), QStringLiteral("New Course"),
            QStringLiteral("course code"), QStringLiteral("Course Index"),
            QStringLiteral("courses")};
}

} // namespace

frmAddEditCourse::frmAddEditCourse(QWidget* parent, const Session& session, qint32 editRecNum)
    : ListRecordEditor(parent, session, editRecNum, store::Courses(), CourseWording()),
      cmdHelp(new ZovButton(this)) {
    for (const CourseField& field : kFields) {
        lblField[field.index] = AddCaption(QString::fromLatin1(field.caption));
        if (field.index == kComments)
            AddCommentsField(field.index, field.limit);
        else
            AddLineField(field.index, field.limit);
    }
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    cmdHelp->SetCaption(QStringLiteral("?"));
    cmdHelp->setAccessibleName(QStringLiteral("Help"));
    new QShortcut(QKeySequence(Qt::Key_F1), this, this, &frmAddEditCourse::cmdHelp_Click);
    connect(cmdHelp, &ZovButton::Click, this, &frmAddEditCourse::cmdHelp_Click);
    StyleFields();
    PlaceControls();
    Form_Load();
}

frmAddEditCourse::~frmAddEditCourse() = default;

QString frmAddEditCourse::AddModeTag() {
    return QStringLiteral("Add a Course");
}

QString frmAddEditCourse::EditModeTag() {
    return QStringLiteral("View/Edit this Course");
}

void frmAddEditCourse::Form_Load() {
    SetSizeTwips(5880, 6950);
    TileBackground();
}

void frmAddEditCourse::PlaceControls() {
    constexpr int labelLeft = 360;
    constexpr int boxLeft = 2250;
    constexpr int right = 5520;
    // The name of a course is long: its box has a line of its own under its label.
    constexpr int tops[] = {0, 360, 870, 1680, 2190};
    for (int index = 1; index < kComments; ++index) {
        const int top = tops[index];
        PlaceTwips(lblField[index], labelLeft, top + 45, boxLeft - labelLeft, 300);
        if (index == 2)
            PlaceTwips(Field(index), labelLeft, top + 330, right - labelLeft, 345);
        else
            PlaceTwips(Field(index), boxLeft, top,
                       std::min(kFields[index - 1].limit * 135 + 225, right - boxLeft), 345);
    }
    PlaceTwips(lblField[kComments], labelLeft, 2790, 3000, 300);
    PlaceTwips(Field(kComments), labelLeft, 3090, right - labelLeft, 1650);
    PlaceBelowComments(labelLeft, right, 4800);
    lblDateCreated->move(platform::Twips(labelLeft), platform::Twips(5220));
    PlaceTwips(cmdHelp, labelLeft, 5700, 660, 660);
    PlaceTwips(cmdSave, 2070, 5700, 1650, 660);
    PlaceTwips(cmdCancel, 3870, 5700, 1650, 660);
}

void frmAddEditCourse::Form_Activate() {
    ListRecordEditor::Form_Activate();
    cmdHelp->setToolTip(
        QStringLiteral(" Click here for important information about Course Codes "));
    cmdHelp->Refresh();
}

bool frmAddEditCourse::MandatoryFieldsFilled() const {
    for (int index : {1, 2, kHours}) {
        if (store::TrimField(FieldText(index)).isEmpty())
            return false;
    }
    return true;
}

void frmAddEditCourse::ShowRecord() {
    const store::CourseRecord& course = store::Courses().Buffer();
    SetFieldText(1, store::TrimField(course.CourseCode));
    SetFieldText(2, store::TrimField(course.CourseName));
    SetFieldText(3, store::TrimField(course.ProvidedBy));
    SetFieldText(kHours, formats::SingleText(course.Hours)); // 8, 7.5, 0
    SetFieldText(kComments, store::TrimField(course.Comments));
}

QString frmAddEditCourse::FieldCaption(int index) const {
    return lblField[index]->text();
}

void frmAddEditCourse::FillRecord() {
    store::CourseRecord& course = store::Courses().Buffer();
    // Code, name and provider as typed: a code may begin with a blank on purpose.
    course.CourseCode = FieldText(1);
    course.CourseName = FieldText(2);
    course.ProvidedBy = FieldText(3);
    course.Hours = static_cast<float>(formats::LeadingNumber(FieldText(kHours)));
    course.Comments = store::TrimField(FieldText(kComments));
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
    if (!AddMode() && QFileInfo::exists(store::FileNameOf(store::DataFile::TrainingRecords)) &&
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
