#include "SigninTesting.h"
#include "signin/frmAddEditUser.h"
#include "store/Codepage.h"
#include "store/Formats.h"
#include "store/RecordStore.h"
#include "store/UserLog.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "ui/AppTitle.h"
#include "ui/ZovButton.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

using signintest::Press;
using signintest::Type;

namespace {

store::UserRecord ReadUser(int number) {
    auto& users = store::Users();
    store::UserRecord user;
    if (users.Open() && users.Read(number))
        user = users.Buffer();
    users.Close();
    return user;
}

qint64 UserListSize() {
    return QFile(QStringLiteral("User.List")).size();
}

QColor BoxColour(QWidget* box) {
    return box->palette().color(QPalette::Base);
}

} // namespace

class TestUserEdit : public QObject {
    Q_OBJECT

    // Each test: a fresh folder and an editor on the stack.
    std::unique_ptr<TestFolder> folder_;

    std::unique_ptr<frmAddEditUser> Open(EditorMode mode, int recNum = 0, bool active = false) {
        TestSession().adminMode = true; // the Admin window opens the editor only in admin mode
        auto editor = std::make_unique<frmAddEditUser>(nullptr, TestSession(),
                                                       mode == EditorMode::Add
                                                           ? frmAddEditUser::ForAdding()
                                                           : frmAddEditUser::ForEditing(recNum));
        if (active)
            signintest::ShowActive(editor.get());
        else
            editor->show();
        return editor;
    }

    void FillMandatory(frmAddEditUser& editor, const QString& password) {
        Type(editor.txtField[1], QStringLiteral("Mary"));
        Type(editor.txtField[2], QStringLiteral("Major"));
        Type(editor.txtField[3], password);
    }

private slots:
    void init() { folder_ = std::make_unique<TestFolder>(); }
    void cleanup() { folder_.reset(); }

    void addModeStartsEmptyWithSaveDisabled() {
        signintest::AddUser(QStringLiteral("Ann"), QStringLiteral("Ash"), QStringLiteral("ann1"),
                            1);
        signintest::AddUser(QStringLiteral("Bob"), QStringLiteral("Bay"), QStringLiteral("bob1"),
                            2);
        auto editor = Open(EditorMode::Add);
        QCOMPARE(editor->windowTitle(), QStringLiteral("Mirtavel - Add a User"));
        QCOMPARE(editor->EditRecNum(), 3);
        QCOMPARE(editor->cmdSave->Caption(), QStringLiteral("&Save\r\nNew Entry"));
        QVERIFY(editor->cmdSave->isVisible());
        QVERIFY(!editor->cmdSave->isEnabled());
        QCOMPARE(editor->cmdCancel->Caption(), QStringLiteral("&Cancel\r\nNew Entry"));
        QVERIFY(editor->optAccessLevel[1]->isChecked());
        QCOMPARE(editor->SelectedAccessLevel(), 1);
        QCOMPARE(editor->optAccessLevel[4]->text(), QStringLiteral("Read/Edit/Add/Delete"));
        QVERIFY(!editor->lblDateCreated->isVisible());
        QVERIFY(!editor->lblSpaceFull->isVisible());
        for (int i = 1; i <= 4; ++i)
            QVERIFY(editor->FieldText(i).isEmpty());
    }

    void saveFollowsTheMandatoryFields() {
        auto editor = Open(EditorMode::Add);
        Type(editor->txtField[1], QStringLiteral("Mary"));
        QVERIFY(!editor->cmdSave->isEnabled());
        Type(editor->txtField[2], QStringLiteral("Major"));
        QVERIFY(!editor->cmdSave->isEnabled());
        Type(editor->txtField[3], QStringLiteral("m"));
        QVERIFY(editor->cmdSave->isEnabled());
        editor->SetFieldText(1, QStringLiteral("   "));
        QVERIFY(!editor->MandatoryFieldsFilled());
        QVERIFY(!editor->cmdSave->isEnabled());
        QVERIFY(editor->cmdSave->isVisible());
        // Add mode keeps its Cancel caption whatever is typed.
        QCOMPARE(editor->cmdCancel->Caption(), QStringLiteral("&Cancel\r\nNew Entry"));
    }

    void passwordRules_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored"); // empty: refused
        QTest::newRow("4 letters and digits") << "ab12"
                                              << "ab12";
        QTest::newRow("8 characters") << "Ab12Cd34"
                                      << "Ab12Cd34";
        QTest::newRow("3 characters") << "ab1"
                                      << "";
        QTest::newRow("9 characters") << "abcd12345"
                                      << "";
        QTest::newRow("slash") << "ab/cd"
                               << "";
        QTest::newRow("hyphen") << "ab-cd"
                                << "";
        QTest::newRow("underscore") << "ab_cd"
                                    << "";
        QTest::newRow("blank inside") << "ab cd"
                                      << "";
        QTest::newRow("accented letter") << QStringLiteral("ab\u00e9cd") << "";
        QTest::newRow("hint text") << "<4 to 8 chars only>"
                                   << "";
        QTest::newRow("blanks around") << " ab12 "
                                       << "ab12";
        // Only blanks are trimmed, as when stored; any other space is refused like "/".
        QTest::newRow("no-break space after") << QStringLiteral("abcd\u00a0") << "";
        // One the data file cannot hold never reaches the box.
        QTest::newRow("ideographic space after") << QStringLiteral("abcd\u3000") << "abcd";
    }
    void passwordRules() {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        ScriptedAnswers answers;
        auto editor = Open(EditorMode::Add);
        FillMandatory(*editor, typed);
        if (stored.isEmpty())
            answers.expectMessage(QStringLiteral("Invalid Password Entry"), 1);
        Press(editor->cmdSave);
        QVERIFY(answers.verifyDone());
        if (stored.isEmpty()) {
            const auto& asked = answers.lastAsked();
            QCOMPARE(asked.icon, 48);
            QCOMPARE(asked.lines, QStringList({QStringLiteral("The password must be"),
                                               QStringLiteral("4 to 8 characters, using"),
                                               QStringLiteral("letters and numbers only.")}));
            QCOMPARE(asked.buttons, QStringList{QStringLiteral("&Okay")});
            QVERIFY(editor->isVisible());
            QCOMPARE(UserListSize(), 0);
            QVERIFY(!editor->Result().saved);
            return;
        }
        QVERIFY(!editor->isVisible());
        QVERIFY(editor->Result().saved);
        const store::UserRecord user = ReadUser(1);
        const QString scrambled = store::TrimField(user.Password);
        QCOMPARE(scrambled.size(), 2 * stored.size());
        QCOMPARE(store::UnscramblePassword(user.Password), stored);
        QCOMPARE(user.FirstName, QStringLiteral("Mary"));
        QCOMPARE(user.LastName, QStringLiteral("Major"));
        QCOMPARE(user.AccessLevel, 1);
        QCOMPARE(user.DateCreated, formats::DateValue(TestFolder::FixedNow()));
    }

    // A name the data file cannot hold is refused as it is typed, so it is stored as seen.
    void namesKeepToTheCodePage() {
        auto editor = Open(EditorMode::Add, 0, true);
        Type(editor->txtField[1], QStringLiteral("\u0141ukasz"));
        Type(editor->txtField[2], QStringLiteral("Nowak\u00e9"));
        Type(editor->txtField[3], QStringLiteral("pw12"));
        QCOMPARE(editor->FieldText(1), QStringLiteral("ukasz"));
        Press(editor->cmdSave);
        QVERIFY(editor->Result().saved);
        const store::UserRecord user = ReadUser(1);
        QCOMPARE(store::TrimField(user.FirstName), QStringLiteral("ukasz"));
        QCOMPARE(store::TrimField(user.LastName), QStringLiteral("Nowak\u00e9"));
    }

    // Typing into the middle of a full comments box changes nothing in it.
    void aFullCommentsBoxRefusesWhatIsTyped() {
        auto editor = Open(EditorMode::Add, 0, true);
        const QString full = QString(429, u'c') + QStringLiteral("END4567890");
        editor->SetFieldText(4, full);
        auto* comments = qobject_cast<QPlainTextEdit*>(editor->txtField[4]);
        comments->setFocus();
        QTextCursor cursor = comments->textCursor();
        cursor.setPosition(200);
        comments->setTextCursor(cursor);
        QTest::keyClicks(comments, "XY");
        QCOMPARE(editor->FieldText(4), full);
        QCOMPARE(editor->lblSpaceFull->text(), QStringLiteral(" 100% full "));
    }

    void isValidPasswordTrimsInPlace() {
        QString text = QStringLiteral("  Zz09  ");
        QVERIFY(frmAddEditUser::IsValidPassword(text));
        QCOMPARE(text, QStringLiteral("Zz09"));
        text = QStringLiteral("   ");
        QVERIFY(!frmAddEditUser::IsValidPassword(text));
        QCOMPARE(text, QString());
    }

    void hintAppearsInAnEmptyPasswordBox() {
        ScriptedAnswers answers;
        auto editor = Open(EditorMode::Add, 0, true);
        Type(editor->txtField[1], QStringLiteral("Mary"));
        Type(editor->txtField[2], QStringLiteral("Major"));
        editor->txtField[3]->setFocus();
        auto* password = qobject_cast<QLineEdit*>(editor->txtField[3]);
        QCOMPARE(password->text(), QStringLiteral("<4 to 8 chars only>"));
        QCOMPARE(password->selectedText(), password->text());
        // The hint is text like any other: Save can be pressed, and refuses it.
        answers.expectMessage(QStringLiteral("Invalid Password Entry"), 1);
        Press(editor->cmdSave);
        QVERIFY(answers.verifyDone());
        QCOMPARE(UserListSize(), 0);
    }

    void focusColoursFollowTheMode() {
        auto editor = Open(EditorMode::Add, 0, true);
        QCOMPARE(BoxColour(editor->txtField[1]), QColor(255, 255, 0));
        editor->txtField[2]->setFocus();
        QCOMPARE(BoxColour(editor->txtField[1]), QColor(0, 255, 255));
        QCOMPARE(BoxColour(editor->txtField[2]), QColor(255, 255, 0));
        editor->close();

        const int number = signintest::AddUser(QStringLiteral("Ann"), QStringLiteral("Ash"),
                                               QStringLiteral("ann1"), 2, QStringLiteral("note"));
        auto viewer = Open(EditorMode::Edit, number, true);
        QCOMPARE(BoxColour(viewer->txtField[1]), QColor(255, 192, 255));
        // Entering a box selects all of its text.
        viewer->txtField[4]->setFocus();
        QCOMPARE(BoxColour(viewer->txtField[4]), QColor(255, 192, 255));
        QCOMPARE(BoxColour(viewer->txtField[1]), QColor(0, 255, 255));
        auto* comments = qobject_cast<QPlainTextEdit*>(viewer->txtField[4]);
        QCOMPARE(comments->textCursor().selectedText(), QStringLiteral("note"));
    }

    void editModeShowsTheUser() {
        signintest::AddUser(QStringLiteral("Ann"), QStringLiteral("Ash"), QStringLiteral("ann1"),
                            1);
        const int number =
            signintest::AddUser(QStringLiteral("Carl"), QStringLiteral("Cole"),
                                QStringLiteral("Pw7x"), 3, QStringLiteral("Day shift"));
        auto editor = Open(EditorMode::Edit, number);
        QCOMPARE(editor->windowTitle(), QStringLiteral("Mirtavel - View/Edit this User"));
        QCOMPARE(editor->EditRecNum(), 2);
        QCOMPARE(editor->FieldText(1), QStringLiteral("Carl"));
        QCOMPARE(editor->FieldText(2), QStringLiteral("Cole"));
        QCOMPARE(editor->FieldText(3), QStringLiteral("Pw7x"));
        QCOMPARE(editor->FieldText(4), QStringLiteral("Day shift"));
        QVERIFY(editor->optAccessLevel[3]->isChecked());
        QVERIFY(editor->optAccessLevel[3]->font().bold());
        QCOMPARE(editor->lblDateCreated->text(),
                 QStringLiteral(" Record Created 03/15/2024 10:30am "));
        QVERIFY(editor->lblDateCreated->isVisible());
        // Loading the record is no edit.
        QVERIFY(editor->cmdSave->isHidden());
        QCOMPARE(editor->cmdSave->Caption(), QStringLiteral("&Save\r\nChanges"));
        QCOMPARE(editor->cmdCancel->Caption(), QStringLiteral("&Finished\r\nViewing"));
        QCOMPARE(editor->lblSpaceFull->text(), QStringLiteral(" 2% full "));
    }

    void editingOnlyTheAccessLevel() {
        const int number = signintest::AddUser(QStringLiteral("Carl"), QStringLiteral("Cole"),
                                               QStringLiteral("Pw7xQ2r9"), 1);
        const QString before = ReadUser(number).Password;
        auto editor = Open(EditorMode::Edit, number);
        QTest::mouseClick(editor->optAccessLevel[3], Qt::LeftButton);
        QCOMPARE(editor->SelectedAccessLevel(), 3);
        QVERIFY(editor->optAccessLevel[3]->font().bold());
        QCOMPARE(editor->optAccessLevel[3]->palette().color(QPalette::WindowText),
                 QColor(0, 0, 64));
        QVERIFY(!editor->optAccessLevel[1]->font().bold());
        QCOMPARE(editor->optAccessLevel[1]->palette().color(QPalette::WindowText),
                 QColor(0, 0, 128));
        QVERIFY(editor->cmdSave->isVisible());
        QCOMPARE(editor->cmdCancel->Caption(), QStringLiteral("&Cancel\r\nChanges"));
        Press(editor->cmdSave);
        QVERIFY(editor->Result().saved);
        const store::UserRecord after = ReadUser(number);
        QCOMPARE(after.AccessLevel, 3);
        QCOMPARE(store::UnscramblePassword(after.Password), QStringLiteral("Pw7xQ2r9"));
        // Scrambled afresh: the same password is stored differently.
        QVERIFY(after.Password != before);
        QCOMPARE(after.DateCreated, formats::DateValue(TestFolder::FixedNow()));
    }

    void firstEditInEditModeTurnsCancelToCancelChanges() {
        const int number = signintest::AddUser(QStringLiteral("Carl"), QStringLiteral("Cole"),
                                               QStringLiteral("pw12"), 2);
        auto editor = Open(EditorMode::Edit, number);
        // Clearing a mandatory name is a change, but gives nothing to save.
        editor->SetFieldText(2, QString());
        QCOMPARE(editor->cmdCancel->Caption(), QStringLiteral("&Cancel\r\nChanges"));
        QVERIFY(editor->cmdSave->isHidden());
        Type(editor->txtField[2], QStringLiteral("Cobb"));
        QVERIFY(editor->cmdSave->isVisible());
        QVERIFY(editor->cmdSave->isEnabled());
        editor->SetFieldText(1, QString());
        QVERIFY(editor->cmdSave->isVisible());
        QVERIFY(!editor->cmdSave->isEnabled());
    }

    void commentsGauge_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("caption");
        QTest::newRow("1") << 1 << " 1% full ";
        QTest::newRow("2") << 2 << " 1% full ";
        QTest::newRow("3") << 3 << " 1% full ";
        QTest::newRow("4") << 4 << " 1% full ";
        QTest::newRow("5") << 5 << " 1% full ";
        QTest::newRow("half") << 220 << " 50% full ";
        QTest::newRow("439") << 439 << " 100% full ";
    }
    void commentsGauge() {
        QFETCH(int, length);
        QFETCH(QString, caption);
        auto editor = Open(EditorMode::Add);
        editor->SetFieldText(4, QString(length, u'c'));
        QVERIFY(editor->lblSpaceFull->isVisible());
        QCOMPARE(editor->lblSpaceFull->text(), caption);
        editor->SetFieldText(4, QString());
        QVERIFY(!editor->lblSpaceFull->isVisible());
    }

    void commentsStopAtTheirLimit() {
        auto editor = Open(EditorMode::Add);
        editor->SetFieldText(4, QString(500, u'c'));
        QCOMPARE(editor->FieldText(4).size(), 439);
        QCOMPARE(editor->lblSpaceFull->text(), QStringLiteral(" 100% full "));
        // A line break is stored as CR LF: two of the 439.
        editor->SetFieldText(4, QString(437, u'c') + QStringLiteral("\r\nxyz"));
        QCOMPARE(editor->FieldText(4), QString(437, u'c') + QStringLiteral("\r\n"));
        FillMandatory(*editor, QStringLiteral("pw12"));
        Press(editor->cmdSave);
        QCOMPARE(ReadUser(1).Comments, QString(437, u'c') + QStringLiteral("\r\n"));
    }

    void removalMarkerIsRefusedAsFirstName() {
        ScriptedAnswers answers;
        auto editor = Open(EditorMode::Add);
        Type(editor->txtField[1], QStringLiteral(" $Killed$"));
        Type(editor->txtField[2], QStringLiteral("Major"));
        Type(editor->txtField[3], QStringLiteral("pw12"));
        answers.expectMessage(QStringLiteral("Invalid First Name"), 1);
        Press(editor->cmdSave);
        QVERIFY(answers.verifyDone());
        QVERIFY(answers.lastAsked().lines.first().contains(QStringLiteral("$Killed$")));
        QVERIFY(editor->isVisible());
        QCOMPARE(UserListSize(), 0);
        // Any other name goes through.
        editor->SetFieldText(1, QStringLiteral("Killed"));
        Press(editor->cmdSave);
        QCOMPARE(ReadUser(1).FirstName, QStringLiteral("Killed"));
    }

    // The stamp is a user's identity: one added in the same second as another gets its own.
    void aNewUserGetsAStampNoOtherUserHas() {
        signintest::AddUser(QStringLiteral("Ann"), QStringLiteral("Ash"), QStringLiteral("ann1"),
                            1);
        auto editor = Open(EditorMode::Add);
        FillMandatory(*editor, QStringLiteral("pw12"));
        Press(editor->cmdSave);
        QVERIFY(editor->Result().saved);
        QCOMPARE(ReadUser(1).DateCreated, formats::DateValue(TestFolder::FixedNow()));
        QVERIFY(ReadUser(2).DateCreated > ReadUser(1).DateCreated);
        QCOMPARE(editor->Result().identity, ReadUser(2).DateCreated);
    }

    void aFullUserListTakesNoMore() {
        {
            QFile list(QStringLiteral("User.List"));
            QVERIFY(list.open(QIODevice::WriteOnly));
            QVERIFY(list.resize(qint64(store::MaxListRecords) * store::UserRecord::Length));
        }
        ScriptedAnswers answers;
        auto editor = Open(EditorMode::Add);
        FillMandatory(*editor, QStringLiteral("pw12"));
        answers.expectMessage(QStringLiteral("Entry Error"), 1);
        Press(editor->cmdSave);
        QVERIFY(answers.verifyDone());
        QVERIFY(answers.lastAsked().lines.first().contains(QStringLiteral("32,767")));
        QCOMPARE(UserListSize(), qint64(store::MaxListRecords) * store::UserRecord::Length);
        QVERIFY(editor->isVisible());
        QVERIFY(!editor->Result().saved);
    }

    void anUnusableFileIsToldAndTheTypingKept() {
        signintest::BlockFile(QStringLiteral("User.List"));
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("File Problem"), 1);
        auto editor = Open(EditorMode::Add);
        QVERIFY(answers.verifyDone());
        FillMandatory(*editor, QStringLiteral("pw12"));
        answers.expectMessage(QStringLiteral("File Problem"), 1);
        Press(editor->cmdSave);
        QVERIFY(answers.verifyDone());
        QVERIFY(answers.lastAsked().lines.join(u' ').contains(QStringLiteral("\"User.List\"")));
        QVERIFY(editor->isVisible());
        QVERIFY(editor->isEnabled());
        QCOMPARE(editor->FieldText(1), QStringLiteral("Mary"));
        QVERIFY(!editor->Result().saved);
    }

    void aRecordThatCannotBeReadClosesTheViewer() {
        signintest::AddUser(QStringLiteral("Ann"), QStringLiteral("Ash"), QStringLiteral("ann1"),
                            1);
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("File Problem"), 1);
        auto editor = Open(EditorMode::Edit, 5);
        QVERIFY(answers.verifyDone());
        QVERIFY(!editor->isVisible());
        QVERIFY(!editor->Result().saved);
    }

    void cancelWritesNothing() {
        auto editor = Open(EditorMode::Add);
        FillMandatory(*editor, QStringLiteral("pw12"));
        Press(editor->cmdCancel);
        QVERIFY(!editor->isVisible());
        QCOMPARE(UserListSize(), 0);
        QVERIFY(!editor->Result().saved);
    }
};

QTEST_MAIN(TestUserEdit)
#include "test_useredit.moc"
