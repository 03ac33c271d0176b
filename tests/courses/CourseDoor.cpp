#include "CourseDoor.h"

#include "platform/Events.h"
#include "ui/AppTitle.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"

#include <QTest>

CourseDoor::CourseDoor() {
    page_ = std::make_unique<CoursePage>(*this, this);
    c = page_->Controls();
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

const ListedPersons& CourseDoor::Persons() const {
    QTest::qFail("the course page asked for the Name List's persons", __FILE__, __LINE__);
    static const ListedPersons none;
    return none;
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
    page_->SetUpButtons();
}

std::unique_ptr<CourseDoor> OpenCoursePage() {
    auto page = std::make_unique<CourseDoor>();
    page->show();
    return page;
}
