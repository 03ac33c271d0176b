// Every write asks the signed-in session itself: a locked box changed through the
// accessibility interface, a greyed button pressed by a tool, or a handler called directly
// writes nothing below the level the write needs, and says so.

#include "courses/frmAddEditCourse.h"
#include "lobby/frmAddEditName.h"
#include "lobby/test_lobby_data.h"
#include "signin/frmAddEditUser.h"
#include "signin/frmAdmin.h"
#include "store/ChangeLog.h"
#include "store/ReadOnlyStation.h"
#include "store/RecordStore.h"
#include "support/RecordFiles.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "training/PersonPicks.h"
#include "training/TrainingRules.h"
#include "training/frmCreditTraining.h"
#include "training/frmTrainingHistory.h"
#include "ui/AppTitle.h"
#include "ui/ZovButton.h"

#include <QAccessible>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

using namespace lobbytest;

namespace {

const QString NotAuthorized = QStringLiteral("Not authorized");

// Persons, a course with hours, one training record of person 1, one user.
void WriteData() {
    WritePersons({{QStringLiteral("Ann"), QStringLiteral("Lee")},
                  {QStringLiteral("Bob"), QStringLiteral("Ray")}});
    WriteCourses({{QStringLiteral("FIR-101"), QStringLiteral("Firearms"), 8}});
    listdata::WriteTrainings(1, recordfiles::ReadCourse(1).DateCreated);
    WriteUser();
}

QMap<QString, QByteArray> DataFolderBytes() {
    store::changelog::Settle(); // a write's done journal goes once its lines are synced
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir::current().entryList(QDir::Files))
        files.insert(name, recordfiles::FileBytes(name));
    return files;
}

template <class Editor> std::unique_ptr<Editor> OpenEditor(qint32 recNum) {
    auto editor = std::make_unique<Editor>(
        nullptr, TestSession(), recNum == 0 ? Editor::ForAdding() : Editor::ForEditing(recNum));
    editor->show();
    return editor;
}

enum class Path {
    AddPerson,
    EditPersonOnReadOnlyStation,
    DeletePerson,
    DeleteCourse,
    Credit,
    EditTraining,
    DeleteTraining,
    Backup,
    Restore,
    SaveUserOutsideAdminMode,
    DeleteUserOutsideAdminMode,
};

// Drives one write the way a tool could, with the window's own checks of buttons bypassed.
void Attempt(Path path) {
    switch (path) {
    case Path::AddPerson: {
        auto editor = OpenEditor<frmAddEditName>(0);
        editor->SetFieldText(1, QStringLiteral("New"));
        editor->SetFieldText(3, QStringLiteral("Person"));
        editor->cmdSave_Click();
        QVERIFY(!editor->Result().saved);
        break;
    }
    case Path::EditPersonOnReadOnlyStation: {
        auto editor = OpenEditor<frmAddEditName>(1);
        editor->SetFieldText(1, QStringLiteral("Changed"));
        editor->cmdSave_Click();
        QVERIFY(!editor->Result().saved);
        break;
    }
    case Path::DeletePerson:
        OpenLobby()->nameControls.cmdDeleteName->Click();
        break;
    case Path::DeleteCourse:
        OpenLobby()->courseControls.cmdDeleteCourse->Click();
        break;
    case Path::Credit: {
        training::HighlightedCourse course{
            1, QStringLiteral("FIR-101"), QStringLiteral("Firearms"), {}, QStringLiteral("8")};
        frmCreditTraining window(nullptr, TestSession(), course, {{QStringLiteral("Lee, Ann"), 1}});
        window.show();
        window.Picks().Toggle(0);
        window.txtDate->setText(QStringLiteral("03/01/2024"));
        window.cmdSave_Click();
        break;
    }
    case Path::EditTraining:
    case Path::DeleteTraining: {
        training::HistorySubject subject{{QStringLiteral("Lee, Ann"), 1}, false, TestSession()};
        frmTrainingHistory window(nullptr, subject);
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
        if (path == Path::EditTraining)
            window.SaveTrainingEdit(QStringLiteral("changed"), training::EditComments);
        else
            window.cmdDeleteTraining_Click();
        break;
    }
    case Path::Backup:
        OpenLobby()->menuBackup_Click();
        break;
    case Path::Restore:
        OpenLobby()->menuRestore_Click();
        break;
    case Path::SaveUserOutsideAdminMode: {
        auto editor = OpenEditor<frmAddEditUser>(1);
        editor->SetFieldText(1, QStringLiteral("Changed"));
        editor->cmdSave_Click();
        break;
    }
    case Path::DeleteUserOutsideAdminMode: {
        frmAdmin admin(nullptr);
        admin.show();
        (void)QTest::qWaitForWindowExposed(&admin);
        admin.cmdDeleteUser->Click();
        break;
    }
    }
}

} // namespace

Q_DECLARE_METATYPE(Path)

class TestWriteLevels : public QObject {
    Q_OBJECT

private slots:
    // A Read Only user's "View Details": text put into the locked first box through the
    // accessibility interface neither shows nor enables Save, and the save handler itself
    // writes nothing.
    void lockedBoxChangedThroughAccessibility_data() {
        QTest::addColumn<bool>("course");
        QTest::newRow("person editor") << false;
        QTest::newRow("course editor") << true;
    }
    void lockedBoxChangedThroughAccessibility() {
        QFETCH(bool, course);
        TestFolder folder;
        WriteData();
        SignIn(1);
        const QMap<QString, QByteArray> before = DataFolderBytes();
        std::unique_ptr<ListRecordEditor> editor;
        if (course)
            editor = OpenEditor<frmAddEditCourse>(1);
        else
            editor = OpenEditor<frmAddEditName>(2);
        auto* box = qobject_cast<QLineEdit*>(editor->Field(1));
        QVERIFY(box->isReadOnly());
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(box);
        QVERIFY(accessible && accessible->editableTextInterface());
        accessible->editableTextInterface()->replaceText(0, box->text().size(),
                                                         QStringLiteral("HACKED"));
        QCOMPARE(box->text(), QStringLiteral("HACKED")); // the door the attack used is open
        QVERIFY(editor->cmdSave->isHidden());

        ScriptedAnswers answers;
        answers.expectMessage(NotAuthorized, 1);
        editor->cmdSave->Click();
        QVERIFY(answers.verifyDone());
        QCOMPARE(answers.lastAsked().lines.first(),
                 QStringLiteral("Your access level (Read Only) does not allow this;"));
        QVERIFY(!editor->Result().saved);
        QCOMPARE(DataFolderBytes(), before);
    }

    // Each write below the level it needs (or outside admin mode) is refused with the
    // message and leaves every file as it was.
    void writeBelowItsLevelIsRefused_data() {
        QTest::addColumn<Path>("path");
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("readOnlyStation");
        QTest::newRow("add a person, Read/Edit") << Path::AddPerson << 2 << false;
        QTest::newRow("edit a person, full level on a read-only station")
            << Path::EditPersonOnReadOnlyStation << 4 << true;
        QTest::newRow("remove a person, Read/Edit/Add") << Path::DeletePerson << 3 << false;
        QTest::newRow("remove a course, Read/Edit/Add") << Path::DeleteCourse << 3 << false;
        QTest::newRow("credit, Read/Edit") << Path::Credit << 2 << false;
        QTest::newRow("change a training record, Read Only") << Path::EditTraining << 1 << false;
        QTest::newRow("remove a training record, Read/Edit/Add")
            << Path::DeleteTraining << 3 << false;
        QTest::newRow("backup, Read/Edit/Add") << Path::Backup << 3 << false;
        QTest::newRow("restore, Read/Edit/Add") << Path::Restore << 3 << false;
        QTest::newRow("save a user outside admin mode")
            << Path::SaveUserOutsideAdminMode << 4 << false;
        QTest::newRow("remove a user outside admin mode")
            << Path::DeleteUserOutsideAdminMode << 4 << false;
    }
    void writeBelowItsLevelIsRefused() {
        QFETCH(Path, path);
        QFETCH(int, level);
        QFETCH(bool, readOnlyStation);
        TestFolder folder;
        WriteData();
        SignIn(level);
        store::SetReadOnlyStation(readOnlyStation);
        const QMap<QString, QByteArray> before = DataFolderBytes();
        ScriptedAnswers answers;
        answers.expectMessage(NotAuthorized, 1);
        Attempt(path);
        QVERIFY(answers.verifyDone());
        QCOMPARE(DataFolderBytes(), before);
    }
};

QTEST_MAIN(TestWriteLevels)
#include "test_writelevels.moc"
