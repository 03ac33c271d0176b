// What a screen reader finds in the windows: every flat button a named push button with its
// states and a press action that works as a click, the message box a dialog, tab pages and
// grids named by their headings, and Tab reaching every button and no control without a name.

#include "courses/frmAddEditCourse.h"
#include "forms/ShutDown.h"
#include "forms/frmImport.h"
#include "lobby/frmAddEditName.h"
#include "lobby/test_lobby_data.h"
#include "signin/AccessCode.h"
#include "signin/SigninTesting.h"
#include "signin/frmAddEditUser.h"
#include "signin/frmAdmin.h"
#include "signin/frmChangeLog.h"
#include "signin/frmTitlePage.h"
#include "store/ChangeLog.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "ui/Accessibility.h"
#include "ui/AppTitle.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"
#include "ui/frmMsgBox.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <algorithm>

namespace {

QAccessibleInterface* Acc(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

// What a screen reader does to press a button; the press runs once control is back.
void PressByAction(ZovButton* button) {
    QAccessibleActionInterface* actions = Acc(button)->actionInterface();
    QVERIFY(actions);
    QCOMPARE(actions->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
}

QList<ZovButton*> VisibleButtons(QWidget* window) {
    QList<ZovButton*> shown;
    for (ZovButton* b : window->findChildren<ZovButton*>()) {
        if (b->isVisible() && !Acc(b)->state().invisible)
            shown.append(b);
    }
    return shown;
}

// Every visible button of `window`: a push button named `names` (in any order), its tool tip
// as description, and as available as the button is.
void CheckButtons(QWidget* window, QStringList names) {
    QStringList found;
    for (ZovButton* b : VisibleButtons(window)) {
        QAccessibleInterface* a = Acc(b);
        QCOMPARE(a->role(), QAccessible::PushButton);
        found.append(a->text(QAccessible::Name));
        QCOMPARE(a->text(QAccessible::Description), b->toolTip().trimmed());
        QCOMPARE(a->state().disabled, !b->isEnabled());
        QVERIFY(a->state().focusable);
    }
    found.sort();
    names.sort();
    QCOMPARE(found, names);
}

// The controls that take the focus, in order, as Tab goes once round the active window.
QList<QWidget*> TabRound() {
    QList<QWidget*> seen;
    for (int i = 0; i < 200; ++i) {
        QWidget* focus = QApplication::focusWidget();
        if (!focus || (!seen.isEmpty() && focus == seen.first()))
            break;
        seen.append(focus);
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    return seen;
}

QList<ZovButton*> Buttons(const QList<QWidget*>& controls) {
    QList<ZovButton*> buttons;
    for (QWidget* w : controls) {
        if (auto* b = qobject_cast<ZovButton*>(w))
            buttons.append(b);
    }
    return buttons;
}

// The controls that Tab reaches in `area` (a window or a part of one), in Tab order.
QList<QWidget*> TabStops(QWidget* area) {
    QList<QWidget*> stops;
    for (QWidget* w = area->nextInFocusChain(); w != area; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && area->isAncestorOf(w))
            stops.append(w);
    }
    return stops;
}

// The class names of the controls a screen reader would announce without a name.
QStringList Unnamed(const QList<QWidget*>& controls) {
    QStringList unnamed;
    for (QWidget* w : controls) {
        if (Acc(w)->text(QAccessible::Name).trimmed().isEmpty())
            unnamed.append(QString::fromLatin1(w->metaObject()->className()));
    }
    return unnamed;
}

// Where the controls that Tab reaches in `area` lie, from the topmost one round.
QList<QRect> TabbedPlaces(QWidget* area) {
    QList<QRect> places;
    for (QWidget* w : TabStops(area))
        places.append(QRect(w->mapTo(area, QPoint(0, 0)), w->size()));
    const auto higher = [](const QRect& a, const QRect& b) {
        return std::pair(a.top(), a.left()) < std::pair(b.top(), b.left());
    };
    std::rotate(places.begin(), std::min_element(places.begin(), places.end(), higher),
                places.end());
    return places;
}

// Where Tab goes back up to a control above the last one in the same column, the two.
QString TabGoesUp(const QList<QRect>& places) {
    for (int i = 0; i < places.size(); ++i) {
        for (int j = i + 1; j < places.size(); ++j) {
            const QRect &a = places[i], &b = places[j];
            if (b.bottom() < a.top() && b.left() < a.right() && a.left() < b.right())
                return QStringLiteral("stop %1 at y %2 before stop %3 at y %4")
                    .arg(i)
                    .arg(a.top())
                    .arg(j)
                    .arg(b.top());
        }
    }
    return QString();
}

} // namespace

class TestAccess : public QObject {
    Q_OBJECT

private slots:
    void buttonNames_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("toolTip");
        QTest::addColumn<QString>("name");
        QTest::newRow("access key") << "&Continue"
                                    << " Go on "
                                    << "Continue";
        QTest::newRow("doubled ampersand") << "Search && &Summary"
                                           << ""
                                           << "Search & Summary";
        QTest::newRow("two lines") << "&Save\r\nNew Entry"
                                   << ""
                                   << "Save New Entry";
        QTest::newRow("message box spaces") << " &Okay "
                                            << ""
                                            << "Okay";
        QTest::newRow("picture only") << ""
                                      << " Click here for help "
                                      << "Click here for help";
        QTest::newRow("nothing") << ""
                                 << ""
                                 << "";
    }
    void buttonNames() {
        QFETCH(QString, caption);
        QFETCH(QString, toolTip);
        QFETCH(QString, name);
        QWidget window;
        auto* b = new ZovButton(&window);
        b->SetCaption(caption);
        b->setToolTip(toolTip);
        QCOMPARE(Acc(b)->text(QAccessible::Name), name);
        QCOMPARE(ui::ButtonName(caption, toolTip), name);
    }

    // Pressed, checked, default and disabled, and what the press action does in each.
    void statesAndThePressAction() {
        QWidget window;
        auto* b = new ZovButton(&window);
        b->SetCaption(QStringLiteral("&Okay"));
        window.show();
        QSignalSpy clicks(b, &ZovButton::Click);
        QAccessibleInterface* a = Acc(b);
        QCOMPARE(a->text(QAccessible::Accelerator), QKeySequence(Qt::ALT | Qt::Key_O).toString());

        QVERIFY(!a->state().defaultButton);
        b->SetDefault(true);
        QVERIFY(a->state().defaultButton);

        QTest::keyPress(b, Qt::Key_Space);
        QVERIFY(a->state().pressed);
        QTest::keyRelease(b, Qt::Key_Space);
        QVERIFY(!a->state().pressed);
        QCOMPARE(clicks.count(), 1);

        PressByAction(b);
        QCOMPARE(clicks.count(), 2);

        b->setEnabled(false);
        QVERIFY(a->state().disabled);
        PressByAction(b);
        b->setEnabled(true);
        b->hide();
        PressByAction(b);
        QCOMPARE(clicks.count(), 2);
        b->show();

        b->SetCheckBoxBehaviour(true);
        QCOMPARE(a->role(), QAccessible::CheckBox);
        QVERIFY(a->state().checkable);
        QVERIFY(!a->state().checked);
        PressByAction(b);
        QCOMPARE(clicks.count(), 3);
        QVERIFY(b->Value());
        QVERIFY(a->state().checked);
    }

    // A keyboard user sees which picture button has the focus; a click leaves it unmarked.
    void tabShowsTheFocusOfAPictureButton() {
        QWidget window;
        auto* first = new ZovButton(&window);
        auto* picture = new ZovButton(&window);
        picture->SetShowFocusRect(false);
        first->setGeometry(0, 0, 80, 30);
        picture->setGeometry(0, 40, 80, 30);
        signintest::ShowActive(&window);
        first->setFocus(Qt::OtherFocusReason);
        const QImage unfocused = picture->grab().toImage();
        picture->setFocus(Qt::MouseFocusReason);
        QCOMPARE(picture->grab().toImage(), unfocused);
        first->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(first, Qt::Key_Tab);
        QVERIFY(picture->hasFocus());
        QVERIFY(picture->grab().toImage() != unfocused);
    }

    void messageBox() {
        frmMsgBox box(QStringLiteral("Print the List"), 3,
                      QStringLiteral("Print the Name List?\r\nIt takes 2 pages."), 1, false,
                      {QStringLiteral("&Yes, print"), QStringLiteral("&No, do NOT print")});
        ScriptedAnswers answers;
        answers.expectWindow([&](QWidget* window) {
            QAccessibleInterface* a = Acc(window);
            QCOMPARE(a->role(), QAccessible::Dialog);
            QCOMPARE(a->text(QAccessible::Name), QStringLiteral("Print the List"));
            QCOMPARE(Acc(box.lblMessage)->role(), QAccessible::StaticText);
            QVERIFY(Acc(box.lblMessage)
                        ->text(QAccessible::Name)
                        .startsWith(QStringLiteral("Print the Name List?\nIt takes 2 pages.")));
            CheckButtons(window, {"Yes, print", "No, do NOT print"});
            QVERIFY(Acc(box.cmdMessageButton[1])->state().defaultButton);
            QVERIFY(Acc(box.cmdMessageButton[0])->state().invisible); // Esc's, out of sight
            PressByAction(box.cmdMessageButton[2]);
        });
        QCOMPARE(box.Run(nullptr), 2);
        QVERIFY(answers.verifyDone());
    }

    void titleWindow() {
        TestFolder folder;
        int ended = 0;
        SetProgramEnd([&] { ++ended; });
        frmTitlePage title;
        title.show();
        QCOMPARE(Acc(&title)->role(), QAccessible::Window);
        QCOMPARE(Acc(&title)->text(QAccessible::Name), title.windowTitle());
        CheckButtons(&title, {"Continue", "Quit Mirtavel", "Help"});
        PressByAction(title.cmdQuit);
        QVERIFY(!title.isVisible());
        SetProgramEnd({});
    }

    void adminWindow() {
        signintest::AdminFolder folder(signin::MakeAccessCodeRecord(QStringLiteral("Code1234")));
        signintest::AddUser(QStringLiteral("Ann"), QStringLiteral("Lee"), QStringLiteral("pw"), 4);
        ScriptedAnswers answers;
        frmAdmin admin;
        signintest::ShowActive(&admin);
        QCOMPARE(Acc(&admin)->text(QAccessible::Name), QStringLiteral("Mirtavel - Admin Window"));
        CheckButtons(&admin,
                     {"Select the Highlighted User", "Edit the 'User List'", "Quit", "Help"});
        const QList<ZovButton*> tabbed = Buttons(TabRound());
        for (ZovButton* b : VisibleButtons(&admin))
            QCOMPARE(tabbed.count(b), b->isEnabled() ? 1 : 0);
        QCOMPARE(Acc(admin.grid->findChild<QTableView*>())->text(QAccessible::Name),
                 QStringLiteral("User List"));
        // The Admin button asks for the access code.
        answers.expectInput(QString(), QStringLiteral("Access Code Required"));
        PressByAction(admin.cmdAdmin);
        QVERIFY(answers.verifyDone());
    }

    // Every filter, the list and the buttons are reached by Tab and named.
    void changeLogViewer() {
        TestFolder folder;
        store::changelog::Change change =
            store::changelog::Now(store::changelog::action::Added, store::changelog::kind::Person);
        change.name = QStringLiteral("Ann Lee");
        change.person = change.identity = QStringLiteral("2005-03-01 12:01:00");
        QVERIFY(store::changelog::Append({change}).ok());
        frmChangeLog viewer;
        signintest::ShowActive(&viewer);
        QCOMPARE(Acc(&viewer)->text(QAccessible::Name), QStringLiteral("Mirtavel - Change Log"));
        CheckButtons(&viewer, {"Show", "Print...", "Export to CSV...", "Close"});
        const QList<QWidget*> round = TabRound();
        QCOMPARE(Unnamed(round), QStringList());
        QCOMPARE(TabStops(&viewer).size(), round.size());
        QCOMPARE(Acc(viewer.grid->findChild<QTableView*>())->text(QAccessible::Name),
                 QStringLiteral("Change Log"));
        // A choice reads out its value; the label beside it names it.
        const auto labels = Acc(viewer.cboPerson)->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels.constFirst().first->text(QAccessible::Name), QStringLiteral("Person:"));
        QCOMPARE(Acc(viewer.txtFrom)->role(), QAccessible::EditableText);
    }

    // Going round with Tab, the record editors go down each column of the window.
    void editorsTabDownTheWindow() {
        TestFolder folder;
        TestSession().level = AccessLevel::ReadEditAddDelete;
        std::vector<std::unique_ptr<Form>> editors;
        editors.push_back(
            std::make_unique<frmAddEditUser>(nullptr, TestSession(), frmAddEditUser::ForAdding()));
        editors.push_back(
            std::make_unique<frmAddEditName>(nullptr, TestSession(), frmAddEditName::ForAdding()));
        editors.push_back(std::make_unique<frmAddEditCourse>(nullptr, TestSession(),
                                                             frmAddEditCourse::ForAdding()));
        for (const auto& editor : editors) {
            editor->show();
            const QList<QRect> places = TabbedPlaces(editor.get());
            QVERIFY(places.size() >= 4);
            QCOMPARE(TabGoesUp(places), QString());
        }
    }

    // Both steps of the import window: named buttons, and Tab going down the window.
    void importWindowSteps() {
        TestFolder folder;
        store::csv::Table table;
        QVERIFY(store::csv::Parse(QByteArrayLiteral("Last Name,First Name\r\nLee,Ann\r\n"),
                                  QStringLiteral("roster.csv"), table));
        TestSession().level = AccessLevel::ReadEditAdd;
        frmImport window(nullptr, TestSession(), store::csvimport::Kind::Persons,
                         QStringLiteral("roster.csv"), std::move(table));
        signintest::ShowActive(&window);
        for (const QStringList& names :
             {QStringList{"Next >", "Cancel"},
              QStringList{"< Back", "Save Rejected Rows...", "Import 1 person(s)", "Cancel"}}) {
            if (names.size() > 2)
                PressByAction(window.cmdNext);
            CheckButtons(&window, names);
            QCOMPARE(Unnamed(TabStops(&window)), QStringList());
            QCOMPARE(TabGoesUp(TabbedPlaces(&window)), QString());
        }
    }

    void lobbyAndPersonEditor() {
        using namespace lobbytest;
        TestFolder folder;
        WriteUser();
        WritePersons({{"Ann", "Lee"}});
        SignIn(4);
        SetProgramEnd([] {});
        auto lobby = OpenLobby();
        signintest::ShowActive(lobby.get());
        QCOMPARE(Acc(lobby.get())->text(QAccessible::Name), lobby->windowTitle());
        CheckButtons(lobby.get(),
                     {"Add Person", "Edit Person", "Delete Person", "Training History",
                      "Import Persons...", "Print this List", "Return to the Admin Window",
                      "Click here to exit Mirtavel",
                      "Backup and Restore Options (Full access level privileges required)",
                      "Click here for more information about this window"});

        // Tab pages go by their captions.
        for (int i = 0; i < lobby->tabMain->count(); ++i)
            QCOMPARE(Acc(lobby->tabMain->widget(i))->text(QAccessible::Name),
                     lobby->tabMain->tabText(i).replace(QStringLiteral("&&"), QStringLiteral("&")));
        ui::SetTabCaption(lobby->tabMain, frmLobby::ResultsPage, QStringLiteral("Search Results"));
        QCOMPARE(Acc(lobby->tabMain->widget(frmLobby::ResultsPage))->text(QAccessible::Name),
                 QStringLiteral("Search Results"));

        // The grid is a table whose heading cells carry the column headings.
        QAccessibleInterface* grid = Acc(lobby->nameControls.gridName->findChild<QTableView*>());
        QCOMPARE(grid->role(), QAccessible::Table);
        QAccessibleTableInterface* table = grid->tableInterface();
        QVERIFY(table && table->rowCount() == 1);
        QAccessibleTableCellInterface* cell = table->cellAt(0, 0)->tableCellInterface();
        QVERIFY(cell);
        QCOMPARE(cell->columnHeaderCells().size(), 1);
        QCOMPARE(cell->columnHeaderCells().first()->text(QAccessible::Name),
                 lobby->nameControls.gridName->TextMatrix(0, 0));

        const QList<QWidget*> round = TabRound();
        const QList<ZovButton*> tabbed = Buttons(round);
        for (ZovButton* b : VisibleButtons(lobby.get()))
            QCOMPARE(tabbed.count(b), b->isEnabled() ? 1 : 0);
        // The tab widget leaves its Tab stop to its tab bar.
        QCOMPARE(Unnamed(TabStops(lobby.get())), QStringList());
        // Each page's Tab stops go down its columns and are named, its grid by the tab.
        for (int page :
             {frmLobby::NameListPage, frmLobby::CourseIndexPage, frmLobby::SearchOptionsPage}) {
            lobby->tabMain->setCurrentIndex(page);
            QWidget* pane = lobby->tabMain->widget(page);
            QCOMPARE(TabGoesUp(TabbedPlaces(pane)), QString());
            QCOMPARE(Unnamed(TabStops(pane)), QStringList());
            QTableView* view = pane->findChild<QTableView*>();
            QCOMPARE(view != nullptr, page != frmLobby::SearchOptionsPage);
            if (view)
                QCOMPARE(Acc(view)->text(QAccessible::Name), lobby->tabMain->tabText(page));
        }
        lobby->tabMain->setCurrentIndex(frmLobby::NameListPage);

        // Add Person opens the person editor, whose buttons are announced as well.
        ScriptedAnswers answers;
        answers.expectWindow([&](QWidget* window) {
            auto* editor = qobject_cast<frmAddEditName*>(window);
            QVERIFY(editor);
            QCOMPARE(Acc(editor)->role(), QAccessible::Dialog);
            CheckButtons(editor, {"Cancel New Entry"});
            PressByAction(editor->cmdCancel);
            QVERIFY(!editor->isVisible());
        });
        PressByAction(lobby->nameControls.cmdAddName);
        QVERIFY(answers.verifyDone());
        SetProgramEnd({});
    }
};

QTEST_MAIN(TestAccess)
#include "test_access.moc"
