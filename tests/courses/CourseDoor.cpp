#include "CourseDoor.h"

#include "platform/Events.h"
#include "ui/AppTitle.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"

#include <QTest>

CourseDoor::CourseDoor() {
    c = BuildCourseControls(this);
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
    page_->SetUpButtons(namesListed);
}

std::unique_ptr<CourseDoor> OpenCoursePage() {
    auto page = std::make_unique<CourseDoor>();
    page->show();
    return page;
}
