#include "courses/CoursePage.h"

#include "courses/CourseDelete.h"
#include "courses/CourseGrid.h"
#include "forms/ButtonLook.h"
#include "forms/ListGrid.h"
#include "forms/LobbyDoor.h"
#include "forms/StoreProblem.h"
#include "forms/WindowBusy.h"
#include "forms/frmImport.h"
#include "print/ListPrintouts.h"
#include "store/Formats.h"
#include "ui/CrLf.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"

namespace {
using ui::CrLf;
} // namespace

CoursePage::CoursePage(LobbyDoor& door, QWidget* page)
    : door_(door), c_(BuildCourseControls(page)), find_(door, c_) {
    connect(c_.cmdAddCourse, &ZovButton::Click, this, &CoursePage::cmdAddCourse_Click);
    connect(c_.cmdEditCourse, &ZovButton::Click, this, &CoursePage::cmdEditCourse_Click);
    connect(c_.cmdDeleteCourse, &ZovButton::Click, this, &CoursePage::cmdDeleteCourse_Click);
    connect(c_.cmdSearch, &ZovButton::Click, this, [this] { find_.cmdSearch_Click(); });
    connect(c_.cmdQuitSearching, &ZovButton::Click, this,
            [this] { find_.cmdQuitSearching_Click(); });
    connect(c_.gridCourse, &FlexGrid::RowColChange, this, &CoursePage::gridCourse_RowColChange);
    connect(c_.gridCourse, &FlexGrid::MouseMove, this, &CoursePage::gridCourse_MouseMove);
    connect(c_.gridCourse, &FlexGrid::DblClick, this, &CoursePage::gridcourse_DblClick);
    connect(c_.cmdCreditTraining, &ZovButton::Click, this, &CoursePage::cmdCreditTraining_Click);
    connect(c_.cmdImportTraining, &ZovButton::Click, this, &CoursePage::cmdImportTraining_Click);
    print::ConnectPrintButton(
        c_.cmdPrintCourseIndex,
        [this](print::Output to) { print::PrintCourseIndex(Table(), door_.Window(), to); },
        [this] { return Table(); });
}

CoursePage::~CoursePage() = default;

void CoursePage::Fill() {
    store::StoreResult result;
    {
        const WindowBusy busy(door_.Window());
        result = FillCourseGrid(*c_.gridCourse, !filled_, listed_);
        filled_ = true;
    }
    // The highlighted row may be another course now, with or without hours.
    UpdateCreditButton(*c_.gridCourse, c_.cmdCreditTraining, door_.SignedIn());
    if (!result)
        forms::ShowStoreProblem(result);
}

ListRecord CoursePage::Highlighted() const {
    const FlexGrid& grid = *c_.gridCourse;
    const int row = grid.Row();
    const qint32 recNum = listgrid::CellNumber(grid, row, coursegrid::RecNum);
    if (recNum < 1)
        return {};
    return {recNum, grid.TextMatrix(row, coursegrid::Key)};
}

void CoursePage::Reselect(const QString& key) {
    listgrid::Reselect(*c_.gridCourse, coursegrid::Key, coursegrid::LastShownCol, key);
}

print::ReportTable CoursePage::Table() const {
    const FlexGrid& grid = *c_.gridCourse;
    QStringList headings;
    for (int col = coursegrid::Code; col <= coursegrid::LastShownCol; ++col)
        headings << grid.TextMatrix(0, col);
    print::ReportTable table = print::ListTable(print::CourseIndexReport, headings);
    table.identityHeading = QStringLiteral("Course Identity");
    if (!listed_)
        return table;
    for (const qint32 recNum : listgrid::ShownNumbers(grid, coursegrid::RecNum)) {
        print::ReportRow row;
        for (int col = coursegrid::Code; col <= coursegrid::LastShownCol; ++col)
            row.cells << listed_->Cell(recNum, col);
        row.identity = print::IdentityText(listed_->Identity(recNum));
        row.storedHours = listed_->StoredHours(recNum);
        table.rows.push_back(std::move(row));
    }
    return table;
}

void CoursePage::SetUpButtons() {
    // A find under way would be left with its buttons half hidden by the rules below.
    find_.End();
    const bool namesListed = door_.PersonsListed();
    const Session& session = door_.SignedIn();
    const int rows = listgrid::DataRows(*c_.gridCourse);
    const bool courses = rows > 0;
    forms::Apply(c_.cmdSearch,
                 {QStringLiteral("Find and Highlight a Course..."), {}, rows > 1, {}});
    forms::Apply(c_.cmdQuitSearching, {QStringLiteral("Quit Searching"), {}, false, {}});
    forms::Apply(c_.cmdCreditTraining,
                 {QStringLiteral("Credit the highlighted course to") + CrLf +
                      QStringLiteral("one or more person's training record(s)..."),
                  QStringLiteral(" Credit person(s) as having completed a training course... "),
                  namesListed && courses,
                  {}});
    forms::Apply(c_.cmdAddCourse, {QStringLiteral("Add Course"),
                                   QStringLiteral(" Add a training course to the 'Course Index' "),
                                   true, session.CanAdd()});
    forms::Apply(
        c_.cmdEditCourse,
        {session.CanEdit() ? QStringLiteral("Edit Course") : QStringLiteral("View Details"),
         QStringLiteral(" View/Edit the information contained in this training course "),
         courses,
         {}});
    forms::Apply(c_.cmdDeleteCourse,
                 {QStringLiteral("Delete Course"),
                  QStringLiteral(" Delete the highlighted course from the 'Course Index' "),
                  courses, session.CanDelete()});
    forms::Apply(c_.cmdImportTraining,
                 {QStringLiteral("Import Training") + CrLf + QStringLiteral("Records..."),
                  QStringLiteral(" Credit the training records of a CSV file to the persons "
                                 "it names "),
                  true, session.CanAdd()});
    forms::Apply(c_.cmdPrintCourseIndex, {QStringLiteral("Print this Index"),
                                          QStringLiteral(" Print this 'Course Index' "),
                                          courses,
                                          {}});
}

void CoursePage::TakeFocus() {
    if (c_.gridCourse->Visible())
        c_.gridCourse->setFocus();
    else if (c_.cmdAddCourse->isEnabled())
        c_.cmdAddCourse->setFocus();
}

void CoursePage::cmdAddCourse_Click() {
    OpenCourseEditor(door_, true);
}

void CoursePage::cmdEditCourse_Click() {
    OpenCourseEditor(door_, false);
}

void CoursePage::cmdDeleteCourse_Click() {
    DeleteHighlightedCourse(door_, *c_.gridCourse);
}

void CoursePage::gridCourse_RowColChange() {
    UpdateCreditButton(*c_.gridCourse, c_.cmdCreditTraining, door_.SignedIn());
}

void CoursePage::gridCourse_MouseMove() {
    listgrid::ShowEditToolTip(*c_.gridCourse, c_.cmdEditCourse, QStringLiteral("course"),
                              door_.SignedIn().CanEdit());
}

void CoursePage::gridcourse_DblClick() {
    if (c_.gridCourse->Row() >= 1 && !c_.cmdEditCourse->isHidden())
        cmdEditCourse_Click();
}

void CoursePage::cmdCreditTraining_Click() {
    const FlexGrid& grid = *c_.gridCourse;
    const int row = grid.Row();
    // A category heading has no hours: there is nothing to credit.
    if (row < 1 || !(formats::LeadingNumber(grid.TextMatrix(row, coursegrid::Hours)) > 0))
        return;
    emit CreditAsked({Highlighted().recNum, grid.TextMatrix(row, coursegrid::Code),
                      grid.TextMatrix(row, coursegrid::Name),
                      grid.TextMatrix(row, coursegrid::ProvidedBy),
                      grid.TextMatrix(row, coursegrid::Hours)});
}

void CoursePage::cmdImportTraining_Click() {
    // The Lobby's lists show no training records, but the first ones give the Name List its
    // training histories.
    if (frmImport::Run(door_.Window(), door_.SignedIn(), store::csvimport::Kind::Training).added >
        0)
        door_.SetUpButtons();
}
