#include "CourseDoor.h"

#include "platform/Events.h"
#include "platform/Twips.h"
#include "ui/FlexGrid.h"
#include "ui/Globals.h"
#include "ui/ZovButton.h"

#include <QTest>

namespace {
ZovButton* Button(QWidget* parent, int left, int top, int width, int height) {
    auto* button = new ZovButton(parent);
    platform::PlaceTwips(button, left, top, width, height);
    return button;
}
} // namespace

CourseDoor::CourseDoor() {
    // The find button reaches over Quit Searching, as in the Lobby.
    c.gridCourse = new FlexGrid(this);
    QFont larger = c.gridCourse->font();
    larger.setPointSize(9);
    c.gridCourse->setFont(larger);
    platform::PlaceTwips(c.gridCourse, 120, 120, 10320, 5400);
    c.cmdAddCourse = Button(this, 120, 4680, 2000, 510);
    c.cmdEditCourse = Button(this, 2280, 4680, 2000, 510);
    c.cmdDeleteCourse = Button(this, 4440, 4680, 2000, 510);
    c.cmdPrintCourseIndex = Button(this, 7700, 4635, 2740, 600);
    c.cmdCreditTraining = Button(this, 120, 5400, 4320, 720);
    c.cmdSearch = Button(this, 4680, 5400, 5760, 720);
    c.cmdQuitSearching = Button(this, 8440, 5400, 2000, 720);
    c.cmdQuitSearching->hide();
    page_ = std::make_unique<CoursePage>(*this, c);
    SetSizeTwips(11000, 7000);
}

CourseDoor::~CourseDoor() = default;

void CourseDoor::Form_Activate() {
    page_->Fill();
    platform::DoEvents();
    SetUpButtons();
}

ListRecord CourseDoor::Highlighted(LobbyList list) const {
    if (list != LobbyList::Courses)
        QTest::qFail("the course page asked for another list", __FILE__, __LINE__);
    return page_->Highlighted();
}

const FlexGrid& CourseDoor::Rows(LobbyList list) const {
    if (list != LobbyList::Courses)
        QTest::qFail("the course page asked for another list", __FILE__, __LINE__);
    return *c.gridCourse;
}

void CourseDoor::ListChanged(LobbyList list, const QString& reselectKey) {
    if (list != LobbyList::Courses)
        QTest::qFail("the course page changed another list", __FILE__, __LINE__);
    page_->Fill();
    platform::DoEvents();
    page_->Reselect(reselectKey);
    SetUpButtons();
}

void CourseDoor::SetUpButtons() {
    page_->EndFind();
    page_->SetUpButtons(Globals().SignedInAccessLevel, namesListed);
}

std::unique_ptr<CourseDoor> OpenCoursePage() {
    auto page = std::make_unique<CourseDoor>();
    page->show();
    return page;
}
