// The Name List page: filling, sorting and shading the grid, the display options, the tool
// tip, and the Lobby's side of adding and editing a person.

#include "lobby/NamePage.h"
#include "lobby/frmAddEditName.h"
#include "lobby/test_lobby_data.h"
#include "store/Formats.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "ui/AppTitle.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QTest>

using namespace lobbytest;
using namegrid::Column;

namespace {

store::PersonRecord NewPerson(const QString& first, const QString& last, bool active,
                              int stampIndex) {
    store::PersonRecord r;
    r.DateCreated = formats::WholeSecondValue(StampOf(stampIndex));
    r.FirstName = first;
    r.LastName = last;
    r.Active = active ? -1 : 0;
    return r;
}

QColor Ink(const QRadioButton* option) {
    return option->palette().color(QPalette::Active, QPalette::WindowText);
}

QColor ShadeOf(FlexGrid& grid, int row) {
    const int current = grid.Row();
    grid.SetRow(row);
    grid.SetCol(0);
    const QColor shade = grid.CellBackColor();
    grid.SetRow(current);
    return shade;
}

} // namespace

class TestLobbyNameGrid : public QObject {
    Q_OBJECT

private slots:
    void rowsSortedByLastNameWithHiddenKeys() {
        TestFolder folder;
        WritePersons({{"Al", "Moe", "", true, "Patrol"},
                      {"Bob", "Lee", "Q", true, "Traffic"},
                      {"Ann", "Lee"}});
        SignIn(3);
        auto lobby = OpenLobby();
        FlexGrid& grid = *lobby->nameControls.gridName;
        QVERIFY(grid.Visible());
        QCOMPARE(ColumnTexts(grid, Column::DisplayName),
                 QStringList({"Ann Lee", "Bob Q Lee", "Al Moe"}));
        QCOMPARE(ColumnTexts(grid, Column::SortKey),
                 QStringList({"Lee Ann", "Lee Q Bob", "Moe Al"}));
        QCOMPARE(ColumnTexts(grid, Column::Organization), QStringList({"", "Traffic", "Patrol"}));
        QCOMPARE(ColumnTexts(grid, Column::RecNum), QStringList({"3", "2", "1"}));
        QCOMPARE(grid.TextMatrix(1, Column::Key),
                 formats::DoubleText(formats::WholeSecondValue(StampOf(3))));
        QCOMPARE(grid.TextMatrix(0, Column::DisplayName),
                 QStringLiteral("List of all active persons"));
        QCOMPARE(grid.TextMatrix(0, Column::Organization), QStringLiteral("Organization"));

        // Row 1 highlighted at the top; every second row shaded; keys out of view.
        QCOMPARE(grid.Row(), 1);
        QCOMPARE(grid.TopRow(), 1);
        QCOMPARE(ShadeOf(grid, 2), QColor(240, 240, 240));
        QVERIFY(ShadeOf(grid, 1) != QColor(240, 240, 240));
        QVERIFY(ShadeOf(grid, 3) != QColor(240, 240, 240));
        QCOMPARE(grid.ColWidth(Column::DisplayName), 4000);
        QVERIFY(grid.ColWidth(Column::Organization) >= 2400);
        QVERIFY(grid.ColIsVisible(Column::Organization));
        QVERIFY(!grid.ColIsVisible(Column::Key));
        QVERIFY(!grid.ColIsVisible(Column::RecNum));
        QCOMPARE(grid.Height(), 19 * grid.RowHeight(0));
    }

    void storedNamesStayInTheirCells() {
        TestFolder folder;
        // Tabs inside stored names (an older file may hold them) and blanks around them.
        WritePersons({{"Ann\tMarie", "Lee", " ", true, "Night\tWatch"},
                      {"  Bo ", " Dalton", "\u00A0J\u00A0", true, "K-9"},
                      {"", "Solo", "", true, ""}});
        SignIn(3);
        auto lobby = OpenLobby();
        FlexGrid& grid = *lobby->nameControls.gridName;
        QCOMPARE(ColumnTexts(grid, Column::DisplayName),
                 QStringList({"Bo J Dalton", "Ann\tMarie Lee", " Solo"}));
        QCOMPARE(ColumnTexts(grid, Column::SortKey),
                 QStringList({"Dalton J Bo", "Lee Ann\tMarie", "Solo "}));
        QCOMPARE(ColumnTexts(grid, Column::Organization), QStringList({"K-9", "Night\tWatch", ""}));
        QCOMPARE(ColumnTexts(grid, Column::RecNum), QStringList({"2", "1", "3"}));
    }

    void sortIgnoresCase() {
        TestFolder folder;
        WritePersons({{"Dan", "de Vries"},
                      {"Eve", "Evans"},
                      {"Carl", "Adams"},
                      {"Bo", "Dalton"},
                      {"Zed", "zulu"},
                      {"Amy", "Young"}});
        SignIn(1);
        auto lobby = OpenLobby();
        QCOMPARE(ColumnTexts(*lobby->nameControls.gridName, Column::DisplayName),
                 QStringList({"Carl Adams", "Bo Dalton", "Dan de Vries", "Eve Evans", "Amy Young",
                              "Zed zulu"}));
    }

    void onlyInactivePersons() {
        TestFolder folder;
        WritePersons({{"Ann", "Lee", "", false}, {"Al", "Moe", "", false}});
        SignIn(3);
        auto lobby = OpenLobby();
        QVERIFY(lobby->nameControls.optDisplay[2]->isChecked());
        QVERIFY(lobby->nameControls.optDisplay[2]->isEnabled());
        QCOMPARE(Ink(lobby->nameControls.optDisplay[2]), QColor(0, 0, 64));
        for (int i : {1, 3}) {
            QVERIFY(!lobby->nameControls.optDisplay[i]->isEnabled());
            QCOMPARE(Ink(lobby->nameControls.optDisplay[i]), QColor(192, 192, 192));
        }
        QCOMPARE(lobby->nameControls.gridName->TextMatrix(0, 0),
                 QStringLiteral("List of all inactive persons"));
        QCOMPARE(lobby->nameControls.gridName->Rows(), 3);
    }

    void displayChoiceRebuildsTheList() {
        TestFolder folder;
        WritePersons({{"Ann", "Lee"}, {"Bob", "Lee", "", false}, {"Al", "Moe"}});
        SignIn(3);
        auto lobby = OpenLobby();
        QCOMPARE(lobby->nameControls.gridName->Rows(), 3);
        for (int i = 1; i <= 3; ++i)
            QVERIFY(lobby->nameControls.optDisplay[i]->isEnabled());

        lobby->nameControls.optDisplay[2]->click();
        QCOMPARE(ColumnTexts(*lobby->nameControls.gridName, 0), QStringList({"Bob Lee"}));
        QCOMPARE(lobby->nameControls.gridName->Row(), 1);
        QVERIFY(!lobby->nameControls.cmdEditName->isHidden());

        lobby->nameControls.optDisplay[3]->click();
        QCOMPARE(ColumnTexts(*lobby->nameControls.gridName, 0),
                 QStringList({"Ann Lee", "Bob Lee", "Al Moe"}));
        QCOMPARE(lobby->nameControls.gridName->TextMatrix(0, 0),
                 QStringLiteral("List of all active and inactive persons"));

        // The last inactive person goes: the next rebuild falls back to the active ones.
        QVERIFY(QFile::remove(QStringLiteral("Name.List")));
        WritePersons({{"Ann", "Lee"}, {"Al", "Moe"}});
        lobby->Names().Fill();
        QVERIFY(lobby->nameControls.optDisplay[1]->isChecked());
        QVERIFY(!lobby->nameControls.optDisplay[2]->isEnabled());
        QVERIFY(!lobby->nameControls.optDisplay[3]->isEnabled());
        QCOMPARE(ColumnTexts(*lobby->nameControls.gridName, 0), QStringList({"Ann Lee", "Al Moe"}));
    }

    void addingTheSecondPersonHighlightsIt() {
        TestFolder folder;
        WritePersons({{"Zed", "Zulu"}});
        SignIn(3);
        auto lobby = OpenLobby();
        ScriptedAnswers answers;
        answers.expectWindow([&](QWidget* window) {
            auto* editor = qobject_cast<frmAddEditName*>(window);
            QVERIFY(editor);
            QVERIFY(editor->AddMode());
            QCOMPARE(editor->EditRecNum(), 2); // appends after the one person
            SavePerson(NewPerson("Ann", "Abel", true, 50), 2, window);
        });
        lobby->nameControls.cmdAddName->Click();
        QVERIFY(answers.verifyDone());
        QCOMPARE(ColumnTexts(*lobby->nameControls.gridName, 0),
                 QStringList({"Ann Abel", "Zed Zulu"}));
        QCOMPARE(lobby->nameControls.gridName->Row(), 1);
        QCOMPARE(lobby->nameControls.cmdAddName->Tag(), QString());

        // And a third, which sorts last.
        answers.expectWindow(
            [&](QWidget* window) { SavePerson(NewPerson("Zoe", "Zulu", true, 51), 3, window); });
        lobby->nameControls.cmdAddName->Click();
        QCOMPARE(lobby->nameControls.gridName->Row(), 3);
        QCOMPARE(lobby->nameControls.gridName->TopRow(), 1); // every row already in view
    }

    // A class of recruits: Save and Add Another (Alt+A) saves, starts the next person with
    // the organization kept, and the Lobby lists everyone saved once the window closes.
    void savingAndAddingAnother() {
        TestFolder folder;
        WritePersons({{"Zed", "Zulu", "", true, "Patrol"}});
        SignIn(3);
        auto lobby = OpenLobby();
        ScriptedAnswers answers;
        answers.expectWindow([&](QWidget* window) {
            auto* editor = qobject_cast<frmAddEditName*>(window);
            QVERIFY(editor);
            editor->activateWindow();
            QTRY_VERIFY(editor->isActiveWindow()); // for its access keys
            ZovButton* another = editor->cmdSaveAndAdd;
            QVERIFY(another->isHidden());
            editor->SetFieldText(1, QStringLiteral("Ann"));
            editor->SetFieldText(4, QStringLiteral("Recruits 24"));
            editor->SetFieldText(3, QStringLiteral("Abel"));
            QVERIFY(!another->isHidden() && another->isEnabled());
            QTest::keyClick(editor, Qt::Key_A, Qt::AltModifier);
            QVERIFY(editor->isVisible());
            QCOMPARE(editor->FieldText(1), QString());
            QCOMPARE(editor->FieldText(3), QString());
            QCOMPARE(editor->FieldText(4), QStringLiteral("Recruits 24"));
            QVERIFY(editor->cmdSave->isHidden() && another->isHidden());
            QVERIFY(editor->Field(1)->hasFocus());
            editor->SetFieldText(1, QStringLiteral("Bob"));
            editor->SetFieldText(3, QStringLiteral("Baker"));
            editor->cmdSave->Click();
        });
        lobby->nameControls.cmdAddName->Click();
        QVERIFY(answers.verifyDone());
        const FlexGrid& grid = *lobby->nameControls.gridName;
        QCOMPARE(ColumnTexts(grid, Column::DisplayName),
                 QStringList({"Ann Abel", "Bob Baker", "Zed Zulu"}));
        QCOMPARE(ColumnTexts(grid, Column::Organization),
                 QStringList({"Recruits 24", "Recruits 24", "Patrol"}));
        QCOMPARE(grid.Row(), 2); // the last one saved
    }

    void addingAnInactivePersonWhileActiveOnesAreShown() {
        TestFolder folder;
        WritePersons({{"Ann", "Lee"}, {"Bob", "Lee", "", false}, {"Al", "Moe"}});
        SignIn(3);
        auto lobby = OpenLobby();
        lobby->nameControls.gridName->SetRow(2);
        ScriptedAnswers answers;
        answers.expectWindow(
            [&](QWidget* window) { SavePerson(NewPerson("Cy", "Aaron", false, 60), 4, window); });
        lobby->nameControls.cmdAddName->Click();
        QVERIFY(lobby->nameControls.optDisplay[1]->isChecked());
        QCOMPARE(ColumnTexts(*lobby->nameControls.gridName, 0), QStringList({"Ann Lee", "Al Moe"}));
        const QString newKey = formats::DoubleText(formats::WholeSecondValue(StampOf(60)));
        QVERIFY(lobby->nameControls.gridName->TextMatrix(lobby->nameControls.gridName->Row(),
                                                         Column::Key) != newKey);
    }

    void editingReadsTheHighlightedPersonAndCancelChangesNothing() {
        TestFolder folder;
        WritePersons({{"Ann", "Lee"}, {"Bob", "Lee", "Q"}, {"Al", "Moe"}});
        SignIn(2);
        auto lobby = OpenLobby();
        FlexGrid& grid = *lobby->nameControls.gridName;
        grid.SetRow(3); // Al Moe, record 3
        // Changed on file behind the Lobby's back: a cancelled editor must not rebuild.
        QVERIFY(QFile::remove(QStringLiteral("Name.List")));
        WritePersons({{"Ann", "Lee"}, {"Bob", "Lee", "Q"}, {"Al", "Mole"}});

        ScriptedAnswers answers;
        answers.expectWindow([&](QWidget* window) {
            auto* editor = qobject_cast<frmAddEditName*>(window);
            QVERIFY(editor);
            QVERIFY(!editor->AddMode());
            QCOMPARE(editor->EditRecNum(), 3);
        });
        emit grid.DblClick();
        QVERIFY(answers.verifyDone());
        QCOMPARE(grid.TextMatrix(3, 0), QStringLiteral("Al Moe"));

        // Saved under a new name that sorts first: rebuilt and found again by identity.
        answers.expectWindow([&](QWidget* window) {
            store::PersonRecord edited = NewPerson("Al", "Aardvark", true, 3);
            SavePerson(edited, 3, window);
        });
        lobby->nameControls.cmdEditName->Click();
        QVERIFY(answers.verifyDone());
        QCOMPARE(grid.TextMatrix(1, 0), QStringLiteral("Al Aardvark"));
        QCOMPARE(grid.Row(), 1);
        QCOMPARE(lobby->nameControls.cmdEditName->Tag(), QString());
    }

    void toolTipOverDataRows() {
        TestFolder folder;
        WritePersons({{"Ann", "Lee"}, {"Al", "Moe"}});
        SignIn(2);
        auto lobby = OpenLobby();
        FlexGrid& grid = *lobby->nameControls.gridName;
        MoveMouseOverRow(grid, 1);
        QCOMPARE(grid.ToolTipText(), QStringLiteral(" Double-click to view/edit this user "));
        MoveMouseOverRow(grid, 0);
        QCOMPARE(grid.ToolTipText(), QString());
        lobby.reset();
        SignIn(1);
        lobby = OpenLobby();
        MoveMouseOverRow(*lobby->nameControls.gridName, 2);
        QCOMPARE(lobby->nameControls.gridName->ToolTipText(),
                 QStringLiteral(" Double-click to view this user "));
    }

    void unreadableNameListIsToldAndTheLobbyStaysUsable() {
        TestFolder folder;
        // A folder where the file should be cannot be opened as a record file.
        QVERIFY(QDir().mkdir(QStringLiteral("Name.List")));
        SignIn(3);
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("File Problem"), 1);
        auto lobby = OpenLobby();
        QVERIFY(answers.verifyDone());
        QVERIFY(answers.lastAsked().lines.join(' ').contains(QStringLiteral("Name.List")));
        QVERIFY(lobby->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(!lobby->nameControls.gridName->Visible());
        QVERIFY(lobby->nameControls.cmdEditName->isHidden());
        QVERIFY(!lobby->Names().Filling());
    }
};

QTEST_MAIN(TestLobbyNameGrid)
#include "test_lobby_namegrid.moc"
