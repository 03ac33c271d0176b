#include "LobbySeam.h"
#include "SigninTesting.h"
#include "forms/ShutDown.h"
#include "platform/Settings.h"
#include "signin/AccessCode.h"
#include "signin/frmAddEditUser.h"
#include "signin/frmAdmin.h"
#include "store/Codepage.h"
#include "store/DataSet.h"
#include "store/FileWrite.h"
#include "store/ReadOnlyStation.h"
#include "store/RecordStore.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "ui/AppTitle.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QTableView>
#include <QTest>
#include <cerrno>

using signintest::AddUser;
using signintest::AdminFolder;
using signintest::Press;
using signintest::Type;

namespace {

const QString Code = QStringLiteral("Sergeant42");
const QString EmptyTitle = QStringLiteral("'User List' Empty");

QStringList GridColumn(FlexGrid* grid, int col) {
    QStringList texts;
    for (int row = 1; row < grid->Rows(); ++row)
        texts.append(grid->TextMatrix(row, col));
    return texts;
}

int StoredUsers() {
    return static_cast<int>(QFile(QStringLiteral("User.List")).size() / 500);
}

store::UserRecord ReadUser(int number) {
    auto& users = store::Users();
    store::UserRecord user;
    if (users.Open() && users.Read(number))
        user = users.Buffer();
    users.Close();
    return user;
}

QPoint RowCentre(FlexGrid* grid, int row) {
    auto* view = grid->findChild<QTableView*>();
    return view->visualRect(view->model()->index(row - 1, 0)).center();
}

void MoveMouseOverRow(FlexGrid* grid, int row) {
    QWidget* viewport = grid->findChild<QTableView*>()->viewport();
    const QPoint at = row >= 1 ? RowCentre(grid, row) : QPoint(5, -5);
    QMouseEvent move(QEvent::MouseMove, QPointF(at), viewport->mapToGlobal(QPointF(at)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &move);
}

// The editor, driven when it opens as a modal window.
ScriptedAnswers::Drive EditorDrive(std::function<void(frmAddEditUser&)> drive) {
    return [drive](QWidget* window) {
        auto* editor = qobject_cast<frmAddEditUser*>(window);
        QVERIFY(editor);
        drive(*editor);
    };
}

ScriptedAnswers::Drive TypeNewUser(const QString& first, const QString& last,
                                   const QString& password) {
    return EditorDrive([=](frmAddEditUser& editor) {
        Type(editor.txtField[1], first);
        Type(editor.txtField[2], last);
        Type(editor.txtField[3], password);
        Press(editor.cmdSave);
    });
}

} // namespace

class TestAdmin : public QObject {
    Q_OBJECT

    std::unique_ptr<AdminFolder> folder_;
    QString codeRecord_;

    std::unique_ptr<frmAdmin> OpenAdmin() {
        auto admin = std::make_unique<frmAdmin>();
        admin->show();
        return admin;
    }

    // Admin mode with the installation's code.
    void EnterAdminMode(frmAdmin& admin, ScriptedAnswers& answers) {
        answers.expectInput(Code, QStringLiteral("Access Code Required"));
        Press(admin.cmdAdmin);
        QVERIFY(answers.verifyDone());
        QVERIFY(admin.IsAdminMode());
    }

private slots:
    void initTestCase() {
        // One slow digest for the whole run, stored afresh in each test's settings.
        codeRecord_ = signin::MakeAccessCodeRecord(Code);
    }

    void init() { folder_ = std::make_unique<AdminFolder>(codeRecord_); }
    void cleanup() { folder_.reset(); }

    void anEmptyListShowsOnlyAdminAndQuit() {
        ScriptedAnswers answers;
        answers.expectMessage(EmptyTitle, 1);
        auto admin = OpenAdmin();
        QVERIFY(answers.verifyDone());
        const auto& asked = answers.lastAsked();
        QCOMPARE(asked.icon, 5);
        // The first start says what to do next.
        QCOMPARE(asked.lines, QStringList({QStringLiteral("There are currently no 'Users'"),
                                           QStringLiteral("entered in the 'User List'"), QString(),
                                           QStringLiteral("Press Edit the 'User List' to choose "
                                                          "the access"),
                                           QStringLiteral("code and add the first user.")}));
        QCOMPARE(admin->windowTitle(), QStringLiteral("Mirtavel - Admin Window"));
        QVERIFY(!admin->grid->isVisible());
        QVERIFY(admin->cmdAdmin->isVisible());
        QVERIFY(admin->cmdQuit->isVisible());
        for (ZovButton* hidden :
             {admin->cmdUserSelected, admin->cmdAddUser, admin->cmdEditUser, admin->cmdDeleteUser,
              admin->cmdReviewUserLog, admin->cmdContinue, admin->cmdCancel})
            QVERIFY(!hidden->isVisible());
        QCOMPARE(admin->cmdAdmin->Caption(), QStringLiteral("&Edit the 'User List'"));
        QCOMPARE(admin->cmdAdmin->toolTip(),
                 QStringLiteral(" Click here to Add, Edit/View, and/or Delete Users "));
        QCOMPARE(admin->cmdAdmin->BackColor(), QColor(0, 128, 128));
        QCOMPARE(admin->cmdAdmin->BackOver(), QColor(0, 128, 128));
        QCOMPARE(admin->cmdAdmin->ForeColor(), QColor(0, 0, 0));
        QCOMPARE(admin->cmdQuit->toolTip(), QStringLiteral(" Click here to exit Mirtavel "));
        // Looking at an empty list creates no file.
        QVERIFY(!QFile::exists(QStringLiteral("User.List")));
    }

    void oneUserOnly() {
        AddUser(QStringLiteral("Carl"), QStringLiteral("Cole"), QStringLiteral("pw12"), 3);
        auto admin = OpenAdmin();
        FlexGrid* grid = admin->grid;
        QVERIFY(grid->isVisible());
        QCOMPARE(grid->Rows(), 2);
        QCOMPARE(grid->Row(), 1);
        QCOMPARE(grid->Col(), 0);
        QCOMPARE(grid->ColSel(), 2);
        QCOMPARE(grid->TextMatrix(0, 0), QStringLiteral("User List"));
        QCOMPARE(grid->TextMatrix(1, 0), QStringLiteral("Carl Cole"));
        QCOMPARE(grid->TextMatrix(1, 1), QStringLiteral("Read/Edit/Add"));
        QCOMPARE(grid->TextMatrix(1, 2), QStringLiteral("03/15/2024"));
        QCOMPARE(grid->TextMatrix(1, 3), QStringLiteral("Cole Carl"));
        QCOMPARE(grid->TextMatrix(1, 4), QStringLiteral("1"));
        QCOMPARE(grid->ColWidth(1), 1900);
        QCOMPARE(grid->ColWidth(2), 1250);
        QVERIFY(grid->ColWidth(0) >= 4000);
        QVERIFY(!grid->ColIsVisible(3));
        QVERIFY(grid->ColIsVisible(2));
        QCOMPARE(grid->Height(), 8 * grid->RowHeight(0));
        QVERIFY(admin->cmdUserSelected->isVisible());
        QCOMPARE(admin->cmdUserSelected->Caption(), QStringLiteral("&Select the Highlighted User"));
        QVERIFY(!admin->cmdEditUser->isVisible());
        QVERIFY(!admin->cmdDeleteUser->isVisible());

        ScriptedAnswers answers;
        EnterAdminMode(*admin, answers);
        QVERIFY(!admin->cmdUserSelected->isVisible());
        QVERIFY(admin->cmdAddUser->isVisible());
        QVERIFY(admin->cmdEditUser->isVisible());
        QVERIFY(admin->cmdDeleteUser->isVisible());
        // No log yet: nothing to review.
        QVERIFY(!admin->cmdReviewUserLog->isVisible());
    }

    void usersAreSortedByLastNameAndShaded() {
        AddUser(QStringLiteral("zoe"), QStringLiteral("young"), QStringLiteral("pw12"), 1);
        AddUser(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("pw12"), 2);
        AddUser(QStringLiteral("Bea"), QStringLiteral("YOUNG"), QStringLiteral("pw12"), 4);
        auto admin = OpenAdmin();
        QCOMPARE(GridColumn(admin->grid, 0), QStringList({"Al Able", "Bea YOUNG", "zoe young"}));
        QCOMPARE(GridColumn(admin->grid, 4), QStringList({"2", "3", "1"}));
        FlexGrid* grid = admin->grid;
        const int current = grid->Row();
        for (int row = 1; row <= 3; ++row) {
            grid->SetRow(row);
            grid->SetCol(0);
            QCOMPARE(grid->CellBackColor(), row == 2 ? QColor(240, 240, 240) : QColor());
        }
        QCOMPARE(current, 1);
    }

    void signingInWithTheRightPassword() {
        AddUser(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("alpw"), 1);
        AddUser(QStringLiteral("Carl"), QStringLiteral("Cole"), QStringLiteral("Pw12"), 3);
        const int lobbies = signintest::LobbyShown();
        auto admin = OpenAdmin();
        admin->grid->SetRow(2);
        Press(admin->cmdUserSelected);
        QVERIFY(!admin->cmdAdmin->isVisible());
        QVERIFY(!admin->grid->isEnabled());
        QCOMPARE(admin->cmdUserSelected->Caption(), QStringLiteral("Enter Password at right"));
        QVERIFY(admin->cmdUserSelected->FontBold());
        QVERIFY(!admin->cmdUserSelected->isEnabled());
        QVERIFY(admin->txtPassword->isVisible());
        QCOMPARE(admin->txtPassword->font().pointSize(), 20);
        QCOMPARE(admin->cmdContinue->Caption(), QStringLiteral("Continue"));
        QVERIFY(!admin->cmdContinue->isEnabled());
        QCOMPARE(admin->cmdCancel->Caption(), QStringLiteral("Cancel"));
        QVERIFY(admin->cmdCancel->Default());

        Type(admin->txtPassword, QStringLiteral("Pw12"));
        QVERIFY(admin->cmdContinue->isEnabled());
        QVERIFY(admin->cmdContinue->Default());
        // Chosen already: a double-click on the list does not start the choice again.
        admin->grid_DblClick();
        QCOMPARE(admin->txtPassword->text(), QStringLiteral("Pw12"));
        Press(admin->cmdContinue);

        QCOMPARE(TestSession().userName, QStringLiteral("Carl Cole"));
        QCOMPARE(TestSession().level, AccessLevel::ReadEditAdd);
        QCOMPARE(signintest::LogLines(),
                 QStringList{QStringLiteral(
                     "03/15/2024 at 10:30:00 - Carl Cole logged in w/ Read/Edit/Add privileges.")});
        QCOMPARE(signintest::LobbyShown(), lobbies + 1);
        QVERIFY(!admin->isVisible());
    }

    void aWrongPasswordEmptiesTheBox_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("trailing space") << "Pw12 ";
        QTest::newRow("leading space") << " Pw12";
        QTest::newRow("other case") << "pw12";
        QTest::newRow("scrambled form") << "";
    }
    void aWrongPasswordEmptiesTheBox() {
        QFETCH(QString, typed);
        const int number =
            AddUser(QStringLiteral("Carl"), QStringLiteral("Cole"), QStringLiteral("Pw12"), 3);
        if (typed.isEmpty())
            typed = store::TrimField(ReadUser(number).Password);
        auto admin = OpenAdmin();
        Press(admin->cmdUserSelected);
        Type(admin->txtPassword, typed);
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Incorrect Password"), 1);
        Press(admin->cmdContinue);
        QVERIFY(answers.verifyDone());
        QCOMPARE(answers.lastAsked().icon, 2);
        QCOMPARE(answers.lastAsked().lines,
                 QStringList({QStringLiteral("That is not the correct password"),
                              QStringLiteral("associated with this name")}));
        QVERIFY(admin->txtPassword->text().isEmpty());
        QVERIFY(admin->txtPassword->isVisible());
        QVERIFY(!admin->cmdContinue->isEnabled());
        QVERIFY(admin->isVisible());
        QVERIFY(TestSession().userName.isEmpty());
        QCOMPARE(
            signintest::LogLines(),
            QStringList{QStringLiteral("03/15/2024 at 10:30:00 - Carl Cole failed to sign in.")});
        // Another try with the right one gets in.
        Type(admin->txtPassword, QStringLiteral("Pw12"));
        Press(admin->cmdContinue);
        QCOMPARE(TestSession().userName, QStringLiteral("Carl Cole"));
    }

    void enterPressesContinueOnceSomethingIsTyped() {
        AddUser(QStringLiteral("Carl"), QStringLiteral("Cole"), QStringLiteral("Pw12"), 3);
        auto admin = OpenAdmin();
        signintest::ShowActive(admin.get());
        Press(admin->cmdUserSelected);
        QTest::keyClick(admin->txtPassword, Qt::Key_Return);
        QVERIFY(!admin->txtPassword->isVisible()); // Cancel was the default
        Press(admin->cmdUserSelected);
        Type(admin->txtPassword, QStringLiteral("Pw12"));
        QTest::keyClick(admin->txtPassword, Qt::Key_Return);
        QCOMPARE(TestSession().userName, QStringLiteral("Carl Cole"));
    }

    void aUserListThatTurnedUnreadableIsToldAtContinue() {
        AddUser(QStringLiteral("Carl"), QStringLiteral("Cole"), QStringLiteral("Pw12"), 3);
        auto admin = OpenAdmin();
        Press(admin->cmdUserSelected);
        Type(admin->txtPassword, QStringLiteral("Pw12"));
        signintest::BlockFile(QStringLiteral("User.List"));
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("File Problem"), 1);
        const int lobbies = signintest::LobbyShown();
        Press(admin->cmdContinue);
        QVERIFY(answers.verifyDone());
        QVERIFY(answers.lastAsked().lines.join(u' ').contains(QStringLiteral("\"User.List\"")));
        QCOMPARE(signintest::LobbyShown(), lobbies);
        QVERIFY(admin->isVisible());
        QVERIFY(admin->isEnabled());
        QVERIFY(TestSession().userName.isEmpty());
    }

    void cancelGoesBackToChoosing() {
        AddUser(QStringLiteral("Carl"), QStringLiteral("Cole"), QStringLiteral("Pw12"), 3);
        auto admin = OpenAdmin();
        Press(admin->cmdUserSelected);
        Type(admin->txtPassword, QStringLiteral("xx"));
        Press(admin->cmdCancel);
        QVERIFY(!admin->txtPassword->isVisible());
        QVERIFY(!admin->cmdContinue->isVisible());
        QVERIFY(!admin->cmdCancel->isVisible());
        QVERIFY(admin->cmdAdmin->isVisible());
        QVERIFY(admin->grid->isEnabled());
        QCOMPARE(admin->cmdUserSelected->Caption(), QStringLiteral("&Select the Highlighted User"));
        QVERIFY(!admin->cmdUserSelected->FontBold());
        QVERIFY(admin->cmdUserSelected->isEnabled());
        // A user can be chosen again, and the password is asked for afresh.
        Press(admin->cmdUserSelected);
        QVERIFY(admin->txtPassword->isVisible());
        QVERIFY(admin->txtPassword->text().isEmpty());
    }

    void doubleClickChoosesOrEdits() {
        AddUser(QStringLiteral("Carl"), QStringLiteral("Cole"), QStringLiteral("Pw12"), 3);
        auto admin = OpenAdmin();
        QWidget* viewport = admin->grid->findChild<QTableView*>()->viewport();
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, RowCentre(admin->grid, 1));
        QVERIFY(admin->txtPassword->isVisible());
        Press(admin->cmdCancel);

        ScriptedAnswers answers;
        EnterAdminMode(*admin, answers);
        answers.expectWindow(EditorDrive([](frmAddEditUser& editor) {
            QVERIFY(!editor.AddMode());
            QCOMPARE(editor.FieldText(1), QStringLiteral("Carl"));
        }));
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, RowCentre(admin->grid, 1));
        QVERIFY(answers.verifyDone());
    }

    void gridToolTipsFollowTheMode() {
        AddUser(QStringLiteral("Carl"), QStringLiteral("Cole"), QStringLiteral("Pw12"), 3);
        auto admin = OpenAdmin();
        MoveMouseOverRow(admin->grid, 1);
        QCOMPARE(admin->grid->ToolTipText(), QStringLiteral(" Double-click to select this user "));
        MoveMouseOverRow(admin->grid, 0);
        QCOMPARE(admin->grid->ToolTipText(), QString());
        ScriptedAnswers answers;
        EnterAdminMode(*admin, answers);
        MoveMouseOverRow(admin->grid, 1);
        QCOMPARE(admin->grid->ToolTipText(),
                 QStringLiteral(" Double-click to view/edit this user "));
    }

    void theAccessCodeIsAskedUntilRightOrEmpty() {
        AddUser(QStringLiteral("Carl"), QStringLiteral("Cole"), QStringLiteral("Pw12"), 3);
        auto admin = OpenAdmin();
        ScriptedAnswers answers;
        answers
            .expectInput(frmAdmin::AccessCodePromptDefault, QStringLiteral("Access Code Required"))
            .expectMessage(QStringLiteral("Incorrect Access Code"), 1)
            .expectInput(Code + u' ')
            .expectMessage(QStringLiteral("Incorrect Access Code"), 1)
            .expectInput(Code);
        Press(admin->cmdAdmin);
        QVERIFY(answers.verifyDone());
        const auto& prompt = answers.asked().at(0);
        QCOMPARE(prompt.lines,
                 QStringList({QString(), QStringLiteral("Please enter the access code"),
                              QStringLiteral("needed to add/edit/delete"),
                              QStringLiteral("users in this 'User List'")}));
        QCOMPARE(prompt.defaultText, QStringLiteral("<Enter Access Code Here>"));
        QVERIFY(prompt.secret);
        const auto& wrong = answers.asked().at(1);
        QCOMPARE(wrong.icon, 4);
        QCOMPARE(wrong.lines, QStringList({QStringLiteral("Sorry, but you have not entered"),
                                           QStringLiteral("the correct Access Code.")}));
        QVERIFY(admin->IsAdminMode());
        QCOMPARE(admin->LastAccessCodeAnswer(), Code);
        QCOMPARE(admin->cmdAdmin->Caption(), QStringLiteral("Finished w/ '&User List' Admin"));
        QCOMPARE(admin->cmdAdmin->toolTip(),
                 QStringLiteral(" Click here when finished with the Admin functions "));
        QVERIFY(admin->timerFlashButton.isActive());
        QCOMPARE(admin->timerFlashButton.interval(), 16);

        // The flashing button pulses in yellow.
        admin->timerFlashButton_Timer();
        QCOMPARE(admin->Flash().FlashFore, 4);
        QCOMPARE(admin->cmdAdmin->BackColor(), QColor(244, 244, 0));
        QCOMPARE(admin->cmdAdmin->ForeColor(), QColor(4, 4, 0));

        Press(admin->cmdAdmin);
        QVERIFY(!admin->IsAdminMode());
        QVERIFY(!admin->timerFlashButton.isActive());
        QCOMPARE(admin->cmdAdmin->BackColor(), QColor(0, 128, 128));
        QCOMPARE(admin->cmdAdmin->ForeColor(), QColor(0, 0, 0));
        QVERIFY(admin->cmdUserSelected->isVisible());

        // An empty answer (or Cancel) ends the asking.
        answers.expectInput(QString(), QStringLiteral("Access Code Required"));
        Press(admin->cmdAdmin);
        QVERIFY(answers.verifyDone());
        QVERIFY(!admin->IsAdminMode());
        QVERIFY(!admin->cmdAddUser->isVisible());
    }

    void theFirstCodeIsChosenTypedTwice() {
        QVERIFY(QFile::remove(store::AccessCodeFileName));
        ScriptedAnswers answers;
        answers.expectMessage(EmptyTitle, 1);
        auto admin = OpenAdmin();
        answers.expectInput(QStringLiteral("short"), QStringLiteral("New Access Code"))
            .expectMessage(QStringLiteral("Access Code Not Accepted"), 1)
            .expectInput(QStringLiteral("        "), QStringLiteral("New Access Code"))
            .expectMessage(QStringLiteral("Access Code Not Accepted"), 1)
            .expectInput(QStringLiteral("Lieutenant9"), QStringLiteral("New Access Code"))
            .expectInput(QStringLiteral("Lieutenant8"), QStringLiteral("Confirm Access Code"))
            .expectMessage(QStringLiteral("Access Codes Differ"), 1)
            .expectInput(QStringLiteral("Lieutenant9"), QStringLiteral("New Access Code"))
            .expectInput(QStringLiteral("Lieutenant9"), QStringLiteral("Confirm Access Code"))
            .expectMessage(QStringLiteral("Access Code Saved"), 1)
            // With no user yet, the editor opens at once to add the first.
            .expectWindow(EditorDrive([](frmAddEditUser& editor) {
                QVERIFY(editor.AddMode());
                Press(editor.cmdCancel);
            }));
        Press(admin->cmdAdmin);
        QVERIFY(answers.verifyDone());
        QVERIFY(admin->IsAdminMode());
        QVERIFY(signin::CheckAccessCode(QStringLiteral("Lieutenant9")));
        QVERIFY(!signin::CheckAccessCode(QStringLiteral("Lieutenant8")));
        for (const auto& asked : answers.asked()) {
            if (asked.kind == platform::Question::Kind::Input)
                QVERIFY2(asked.secret, qPrintable(asked.title));
        }
        QVERIFY(admin->cmdAddUser->isVisible());
        QVERIFY(!admin->cmdEditUser->isVisible());

        // From now on the code is asked for, not chosen.
        Press(admin->cmdAdmin);
        answers.expectInput(QString(), QStringLiteral("Access Code Required"));
        Press(admin->cmdAdmin);
        QVERIFY(answers.verifyDone());
    }

    // A code that did not reach the disk: told with the file and the reason, no admin mode,
    // and nothing half-written left behind.
    void aCodeThatCannotBeSavedIsNoCode() {
        QVERIFY(QFile::remove(store::AccessCodeFileName));
        store::io::testing::SetWriteHook([](const QString&, qint64, int& error) {
            error = ENOSPC;
            return qint64(0);
        });
        const auto unhook = qScopeGuard([] { store::io::testing::SetWriteHook({}); });
        ScriptedAnswers answers;
        answers.expectMessage(EmptyTitle, 1);
        auto admin = OpenAdmin();
        for (int press = 0; press < 2; ++press) {
            answers.expectInput(QStringLiteral("Lieutenant9"), QStringLiteral("New Access Code"))
                .expectInput(QStringLiteral("Lieutenant9"), QStringLiteral("Confirm Access Code"))
                .expectMessage(QStringLiteral("File Problem"), 1);
            Press(admin->cmdAdmin);
            QVERIFY(answers.verifyDone());
            QVERIFY(answers.lastAsked().lines.join(u' ').contains(
                QStringLiteral("\"Access.Code\": No space left on device")));
            QVERIFY(!admin->IsAdminMode());
            QVERIFY(!admin->cmdAddUser->isVisible());
            QCOMPARE(QDir().entryList(QDir::Files), QStringList());
        }
    }

    // A folder with users but no code (a fresh profile, or files from an older installation):
    // only a user of the highest level, signed in with the password, may choose one.
    void aFolderWithUsersButNoCodeAsksAnAdministrator_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("typed");   // the password typed; null: not asked for
        QTest::addColumn<QString>("refusal"); // empty: the code is chosen
        QTest::newRow("level 3") << 3 << QString() << "Administrator Sign-In Required";
        QTest::newRow("wrong password") << 4 << "pw13"
                                        << "Incorrect Password";
        QTest::newRow("password with a blank") << 4 << "pw12 "
                                               << "Incorrect Password";
        QTest::newRow("cancelled") << 4 << "" << QString("-");
        QTest::newRow("level 4") << 4 << "pw12" << QString();
    }
    void aFolderWithUsersButNoCodeAsksAnAdministrator() {
        QFETCH(int, level);
        QFETCH(QString, typed);
        QFETCH(QString, refusal);
        QVERIFY(QFile::remove(store::AccessCodeFileName));
        AddUser(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("pw12"), level);
        auto admin = OpenAdmin();
        ScriptedAnswers answers;
        if (!typed.isNull())
            answers.expectInput(typed, QStringLiteral("Administrator Sign-In"));
        if (refusal.isEmpty())
            answers.expectInput(QStringLiteral("Lieutenant9"), QStringLiteral("New Access Code"))
                .expectInput(QStringLiteral("Lieutenant9"), QStringLiteral("Confirm Access Code"))
                .expectMessage(QStringLiteral("Access Code Saved"), 1);
        else if (refusal != u'-')
            answers.expectMessage(refusal, 1);
        Press(admin->cmdAdmin);
        QVERIFY(answers.verifyDone());
        for (const auto& asked : answers.asked()) {
            if (asked.kind == platform::Question::Kind::Input)
                QVERIFY2(asked.secret, qPrintable(asked.title));
        }
        QCOMPARE(admin->IsAdminMode(), refusal.isEmpty());
        QCOMPARE(signin::AccessCodeIsSet(), refusal.isEmpty());
        QCOMPARE(signin::CheckAccessCode(QStringLiteral("Lieutenant9")), refusal.isEmpty());
    }

    // A code this account's settings kept is the folder's from the window's start on.
    void aCodeKeptInTheSettingsMovesIntoTheFolder() {
        QVERIFY(QFile::remove(store::AccessCodeFileName));
        QVERIFY(platform::SaveSetting(QStringLiteral("Mirtavel"), signin::AccessCodeSection,
                                      signin::AccessCodeKey, codeRecord_));
        AddUser(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("pw12"), 4);
        auto admin = OpenAdmin();
        QVERIFY(signin::CheckAccessCode(Code));
        QCOMPARE(platform::GetSetting(QStringLiteral("Mirtavel"), signin::AccessCodeSection,
                                      signin::AccessCodeKey),
                 QString());
        ScriptedAnswers answers;
        EnterAdminMode(*admin, answers);
    }

    // A station that only reads the folder: admin mode refused, the sign-in not logged.
    void aReadOnlyStationNeitherAdministersNorLogs() {
        AddUser(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("pw12"), 4);
        store::SetReadOnlyStation(true);
        auto admin = OpenAdmin();
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Admin Mode Not Available"), 1);
        Press(admin->cmdAdmin);
        QVERIFY(answers.verifyDone());
        QVERIFY(!admin->IsAdminMode());
        QVERIFY(!admin->cmdAddUser->isVisible());
        const int lobbies = signintest::LobbyShown();
        Press(admin->cmdUserSelected);
        Type(admin->txtPassword, QStringLiteral("pw12"));
        Press(admin->cmdContinue);
        QCOMPARE(signintest::LobbyShown(), lobbies + 1);
        QCOMPARE(TestSession().level, AccessLevel::ReadEditAddDelete);
        QVERIFY(!QFile::exists(store::UserLogFileName));
    }

    void anOrganizationNameThatCannotBeSavedIsTold() {
        AddUser(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("pw12"), 4);
        auto admin = OpenAdmin();
        ScriptedAnswers answers;
        EnterAdminMode(*admin, answers);
        signintest::BlockFile(QStringLiteral("settings/Mirtavel.ini"));
        answers.expectInput(QStringLiteral("Lakeview Police"), QStringLiteral("Organization Name"))
            .expectMessage(QStringLiteral("Settings Problem"), 1);
        Press(admin->cmdOrganizationName);
        QVERIFY(answers.verifyDone());
        const QString told = answers.lastAsked().lines.join(u' ');
        QVERIFY2(told.startsWith(QStringLiteral("Mirtavel could not save its settings:")),
                 qPrintable(told));
        QVERIFY(told.contains(QStringLiteral("Mirtavel.ini")));
        QVERIFY(!told.contains(QStringLiteral("data")));
        QCOMPARE(admin->OrganizationName(), QStringLiteral("Police Department"));
    }

    void aNewUserWithTheSameNamesSelectsTheFirstSuchRow() {
        AddUser(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("pw12"), 1);
        AddUser(QStringLiteral("Carl"), QStringLiteral("Cole"), QStringLiteral("pw12"), 1);
        AddUser(QStringLiteral("Zoe"), QStringLiteral("Zed"), QStringLiteral("pw12"), 1);
        auto admin = OpenAdmin();
        ScriptedAnswers answers;
        EnterAdminMode(*admin, answers);
        answers.expectWindow(
            TypeNewUser(QStringLiteral("Carl"), QStringLiteral("Cole"), QStringLiteral("pw34")));
        Press(admin->cmdAddUser);
        QVERIFY(answers.verifyDone());
        QCOMPARE(GridColumn(admin->grid, 0),
                 QStringList({"Al Able", "Carl Cole", "Carl Cole", "Zoe Zed"}));
        QCOMPARE(admin->grid->Row(), 2);
        QCOMPARE(admin->grid->TextMatrix(2, 4), QStringLiteral("2"));
        QVERIFY(admin->cmdAddUser->Tag().isEmpty());
        QCOMPARE(StoredUsers(), 4);
    }

    void anEditedUserIsSelectedAgain() {
        AddUser(QStringLiteral("Zoe"), QStringLiteral("Zed"), QStringLiteral("pw12"), 1);
        AddUser(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("pw12"), 1);
        AddUser(QStringLiteral("Carl"), QStringLiteral("Cole"), QStringLiteral("pw12"), 1);
        auto admin = OpenAdmin();
        ScriptedAnswers answers;
        EnterAdminMode(*admin, answers);
        // Row 3 is Zoe Zed, record 1; renamed she sorts first.
        admin->grid->SetRow(3);
        answers.expectWindow(EditorDrive([](frmAddEditUser& editor) {
            QCOMPARE(editor.EditRecNum(), 1);
            editor.SetFieldText(2, QStringLiteral("Aaron"));
            Press(editor.cmdSave);
        }));
        Press(admin->cmdEditUser);
        QVERIFY(answers.verifyDone());
        QCOMPARE(GridColumn(admin->grid, 0), QStringList({"Zoe Aaron", "Al Able", "Carl Cole"}));
        QCOMPARE(admin->grid->Row(), 1);
        QVERIFY(admin->cmdEditUser->Tag().isEmpty());
        QCOMPARE(ReadUser(1).LastName, QStringLiteral("Aaron"));
    }

    void removingRowOneSelectsTheFormerRowTwo() {
        AddUser(QStringLiteral("Carl"), QStringLiteral("Cole"), QStringLiteral("pw12"), 1);
        AddUser(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("pw12"), 1);
        AddUser(QStringLiteral("Zoe"), QStringLiteral("Zed"), QStringLiteral("pw12"), 1);
        auto admin = OpenAdmin();
        ScriptedAnswers answers;
        EnterAdminMode(*admin, answers);
        QCOMPARE(admin->grid->Row(), 1);
        answers.expectMessage(QStringLiteral("Confirm Deletion"), 1)
            .expectMessage(QStringLiteral("Name removed"), 1);
        Press(admin->cmdDeleteUser);
        QVERIFY(answers.verifyDone());
        const auto& confirm = answers.asked().at(1);
        QCOMPARE(confirm.icon, 1);
        QCOMPARE(confirm.lines, QStringList({"Are you sure you want to remove", "", "Al Able", "",
                                             "from the 'User List'?"}));
        QCOMPARE(confirm.buttons, QStringList({"&Yes, delete", "&No, cancel"}));
        QCOMPARE(confirm.defaultButton, 2);
        const auto& removed = answers.lastAsked();
        QCOMPARE(removed.icon, 5);
        QCOMPARE(removed.lines,
                 QStringList({"The name has been removed", "from the 'User List'."}));

        QCOMPARE(GridColumn(admin->grid, 0), QStringList({"Carl Cole", "Zoe Zed"}));
        QCOMPARE(admin->grid->Row(), 1);
        QCOMPARE(admin->grid->TopRow(), 1);
        QCOMPARE(StoredUsers(), 2);
        QCOMPARE(ReadUser(1).FirstName, QStringLiteral("Carl"));
        QCOMPARE(ReadUser(2).FirstName, QStringLiteral("Zoe"));
    }

    void removingAMiddleRowSelectsTheRowAbove() {
        AddUser(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("pw12"), 1);
        AddUser(QStringLiteral("Carl"), QStringLiteral("Cole"), QStringLiteral("pw12"), 1);
        AddUser(QStringLiteral("Zoe"), QStringLiteral("Zed"), QStringLiteral("pw12"), 1);
        auto admin = OpenAdmin();
        ScriptedAnswers answers;
        EnterAdminMode(*admin, answers);
        admin->grid->SetRow(2);
        answers.expectMessage(QStringLiteral("Confirm Deletion"), 1)
            .expectMessage(QStringLiteral("Name removed"), 1);
        Press(admin->cmdDeleteUser);
        QVERIFY(answers.verifyDone());
        QCOMPARE(GridColumn(admin->grid, 0), QStringList({"Al Able", "Zoe Zed"}));
        QCOMPARE(admin->grid->Row(), 1);
    }

    void anAnswerOtherThanYesKeepsTheUser() {
        AddUser(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("pw12"), 1);
        auto admin = OpenAdmin();
        ScriptedAnswers answers;
        EnterAdminMode(*admin, answers);
        answers.expectMessage(QStringLiteral("Confirm Deletion"), 2);
        Press(admin->cmdDeleteUser);
        answers.expectMessage(QStringLiteral("Confirm Deletion"), 0);
        Press(admin->cmdDeleteUser);
        QVERIFY(answers.verifyDone());
        QCOMPARE(StoredUsers(), 1);
        QCOMPARE(admin->grid->Rows(), 2);
    }

    void removingTheLastUserRemovesTheFile() {
        AddUser(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("pw12"), 4);
        auto admin = OpenAdmin();
        ScriptedAnswers answers;
        EnterAdminMode(*admin, answers);
        answers.expectMessage(QStringLiteral("Confirm Deletion"), 1)
            .expectMessage(EmptyTitle, 1)
            .expectMessage(QStringLiteral("Name removed"), 1);
        Press(admin->cmdDeleteUser);
        QVERIFY(answers.verifyDone());
        QVERIFY(!QFile::exists(QStringLiteral("User.List")));
        QVERIFY(!admin->grid->isVisible());
        QVERIFY(!admin->cmdEditUser->isVisible());
        QVERIFY(!admin->cmdDeleteUser->isVisible());
        QVERIFY(!admin->cmdUserSelected->isVisible());
        QVERIFY(admin->cmdAddUser->isVisible());
        // Leaving and entering admin mode again offers to add the first user at once.
        Press(admin->cmdAdmin);
        QVERIFY(!admin->cmdUserSelected->isVisible());
        answers.expectInput(Code).expectWindow(
            EditorDrive([](frmAddEditUser& editor) { Press(editor.cmdCancel); }));
        Press(admin->cmdAdmin);
        QVERIFY(answers.verifyDone());
    }

    void aRemovalThatCannotWriteIsToldAndLosesNothing() {
        AddUser(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("pw12"), 4);
        AddUser(QStringLiteral("Bea"), QStringLiteral("Bell"), QStringLiteral("pw12"), 4);
        const QByteArray before = [] {
            QFile f(QStringLiteral("User.List"));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        auto admin = OpenAdmin();
        ScriptedAnswers answers;
        EnterAdminMode(*admin, answers);
        signintest::BlockFile(QStringLiteral("TempFile.$$$"));
        answers.expectMessage(QStringLiteral("Confirm Deletion"), 1)
            .expectMessage(QStringLiteral("File Problem"), 1);
        Press(admin->cmdDeleteUser);
        QVERIFY(answers.verifyDone());
        QVERIFY(answers.lastAsked().lines.join(u' ').contains(QStringLiteral("TempFile.$$$")));
        QFile after(QStringLiteral("User.List"));
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), before);
        QCOMPARE(admin->grid->Rows(), 3);
        QVERIFY(admin->isEnabled());
        QVERIFY(admin->grid->isVisible());
        QVERIFY(admin->cmdDeleteUser->isVisible());
    }

    void anUnreadableUserListIsTold() {
        signintest::BlockFile(QStringLiteral("User.List"));
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("File Problem"), 1);
        auto admin = OpenAdmin();
        QVERIFY(answers.verifyDone());
        QVERIFY(answers.lastAsked().lines.join(u' ').contains(QStringLiteral("\"User.List\"")));
        QVERIFY(admin->isEnabled());
        QVERIFY(admin->cmdAdmin->isVisible());
        QVERIFY(!admin->cmdUserSelected->isVisible());
    }

    void aSignInLogThatCannotBeWrittenIsTold() {
        AddUser(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("pw12"), 4);
        signintest::BlockFile(QStringLiteral("User.Log"));
        const int lobbies = signintest::LobbyShown();
        auto admin = OpenAdmin();
        Press(admin->cmdUserSelected);
        Type(admin->txtPassword, QStringLiteral("pw12"));
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("User Log Not Written"), 1);
        Press(admin->cmdContinue);
        QVERIFY(answers.verifyDone());
        const QString told = answers.lastAsked().lines.join(u' ');
        QVERIFY(told.contains(QStringLiteral("\"User.Log\"")));
        QVERIFY2(told.contains(QStringLiteral("goes on")), qPrintable(told));
        QVERIFY(!told.contains(QStringLiteral("try again")));
        QCOMPARE(signintest::LobbyShown(), lobbies + 1);
    }

    void theOrganizationNameIsSetInAdminMode() {
        AddUser(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("pw12"), 4);
        auto admin = OpenAdmin();
        QVERIFY(!admin->cmdOrganizationName->isVisible());
        ScriptedAnswers answers;
        EnterAdminMode(*admin, answers);
        answers.expectInput(QStringLiteral("Lakeview Police"), QStringLiteral("Organization Name"));
        Press(admin->cmdOrganizationName);
        QVERIFY(answers.verifyDone());
        QCOMPARE(answers.lastAsked().defaultText, QStringLiteral("Police Department"));
        QCOMPARE(admin->OrganizationName(), QStringLiteral("Lakeview Police"));
        QCOMPARE(platform::GetSetting(QStringLiteral("Mirtavel"), QStringLiteral("Defaults"),
                                      QStringLiteral("OrganizationName")),
                 QStringLiteral("Lakeview Police"));
        // Cancel keeps it; so does a name holding a control character, refused.
        answers.expectInput(QString(), QStringLiteral("Organization Name"));
        Press(admin->cmdOrganizationName);
        answers.expectInput(QStringLiteral("Lake\x1b[2Jview"), QStringLiteral("Organization Name"))
            .expectMessage(QStringLiteral("Entry Error"), 1);
        Press(admin->cmdOrganizationName);
        QVERIFY(answers.verifyDone());
        QCOMPARE(admin->OrganizationName(), QStringLiteral("Lakeview Police"));
    }

    void quitAsksAndShutsDown() {
        int ended = 0;
        SetProgramEnd([&ended] { ++ended; });
        AddUser(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("pw12"), 4);
        auto admin = OpenAdmin();
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Exit Mirtavel?"), 2);
        Press(admin->cmdQuit);
        QVERIFY(admin->isVisible());
        QCOMPARE(ended, 0);
        answers.expectMessage(QStringLiteral("Exit Mirtavel?"), 1);
        Press(admin->cmdQuit);
        QVERIFY(answers.verifyDone());
        const auto& asked = answers.lastAsked();
        QCOMPARE(asked.icon, 3);
        QCOMPARE(asked.lines,
                 QStringList({"This will close Mirtavel.", "", "Is this what you want to do?"}));
        QCOMPARE(asked.buttons, QStringList({"&Yes, quit", "&No, don't quit"}));
        QCOMPARE(asked.defaultButton, 2);
        QCOMPARE(ended, 1);
        QVERIFY(!admin->isVisible());
        QVERIFY(!QFile::exists(QStringLiteral("User.Log")));
    }
};

QTEST_MAIN(TestAdmin)
#include "test_admin.moc"
