#pragma once

#include "forms/LobbyPage.h"
#include "lobby/NameGrid.h"
#include "print/ReportTable.h"

#include <QObject>
#include <memory>
#include <optional>

class QWidget;

// The Name List page of the Lobby: gridName filled from Name.List for the display choice,
// persons added, edited and removed, their training histories opened, and the rules for the
// page's buttons. It builds its controls on the tab page it is given and reaches the Lobby
// only through its door.
class NamePage : public QObject, public LobbyPage {
    Q_OBJECT

public:
    NamePage(LobbyDoor& door, QWidget* page);
    ~NamePage() override;

    const NameControls& Controls() const { return c_; }

    // Rebuilds gridName and the display options from Name.List (see FillNameGrid) and tells
    // the user when the list shows nobody.
    void Fill() override;
    // The same, keeping that notice until TellHeldNotice: the Lobby's first opening tells it
    // once every button shows its caption.
    void FillHoldingNotice();
    void TellHeldNotice();
    // A fill is running: the option clicks it makes are its own.
    bool Filling() const { return filling_; }
    // The highlighted person: record number and identity (NameKeyText).
    ListRecord Highlighted() const override;
    // After a refill: highlights the person whose identity is `key` (see listgrid::Reselect).
    void Reselect(const QString& key);
    // The list shows somebody.
    bool Listed() const;
    // The persons listed, in the list's order; read from the fill's rows when first asked.
    const ListedPersons& Persons() const;
    // The caption of the display choice ("Active Persons").
    QString DisplayChoice() const { return DisplayChoiceCaption(c_); }
    // The list as it shows, for printing: the persons' names and organizations under the
    // list's headings, each with the identity the list keeps.
    print::ReportTable Table() const;

    // The page's part of the Lobby's button set-up.
    void SetUpButtons() override;
    // Focus when the page is chosen: the list, else Add Person.
    void TakeFocus() override;

    void optDisplay_Click(int index);
    void cmdAddName_Click();
    void cmdEditName_Click();
    void cmdDeleteName_Click();
    void cmdTrainingHistory_Click();
    void cmdImportPersons_Click();
    void gridName_DblClick();
    void gridName_MouseMove();

private:
    // Opens the person editor to add a person or for the highlighted person; after a save the
    // list is rebuilt with the saved person highlighted.
    void OpenEditor(bool adding);

    LobbyDoor& door_;
    NameControls c_;
    bool filled_ = false;  // Fill has run once
    bool filling_ = false; // Fill is running
    NameNotice held_;      // the empty-list notice FillHoldingNotice kept
    std::shared_ptr<const namegrid::NameRows> listed_; // what the last fill read
    mutable std::optional<ListedPersons> persons_;     // read from listed_ when first asked
};
