#pragma once

#include "courses/CoursePage.h"
#include "forms/LobbyDoor.h"
#include "support/TestFolder.h"
#include "ui/Form.h"

#include <memory>

// The Course Index page without the Lobby: a window holding the page's controls as the Lobby
// lays them out, and a door that does what the Lobby does for the page and records the
// rest (the hold, the flashing button).
class CourseDoor : public Form, public LobbyDoor {
public:
    CourseDoor();
    ~CourseDoor() override;

    CourseControls c;
    CoursePage& Page() { return *page_; }
    CourseFind& Find() { return page_->Find(); }

    // The Name List shows somebody: the credit button's rule needs persons to credit.
    bool namesListed = true;
    // What the page asked of the Lobby.
    bool held = false;
    ZovButton* flashing = nullptr;

    Form& Window() override { return *this; }
    const Session& SignedIn() const override { return TestSession(); }
    ListRecord Highlighted(LobbyList list) const override;
    const ListedPersons& Persons() const override;
    bool PersonsListed() const override { return namesListed; }
    void ListChanged(LobbyList list, const QString& reselectKey) override;
    void SetUpButtons() override;
    void StartFlashing(ZovButton* button) override { flashing = button; }
    void StopFlashing() override { flashing = nullptr; }
    void HoldLobby(bool hold) override { held = hold; }

protected:
    // As the Lobby's first activation: the list filled, the buttons set up.
    void Form_Activate() override;

private:
    std::unique_ptr<CoursePage> page_;
};

// The page shown (so its first fill has run) for the signed-in user.
std::unique_ptr<CourseDoor> OpenCoursePage();
