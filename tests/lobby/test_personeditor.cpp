#include "lobby/frmAddEditName.h"
#include "store/Formats.h"
#include "store/RecordStore.h"
#include "support/RecordFiles.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "ui/AppTitle.h"
#include "ui/CrLf.h"
#include "ui/ZovButton.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

namespace {

using ui::CrLf;

struct Person {
    QString first;
    QString last;
    bool active = true;
    double created = 0;
    QString middle = QString();
    QString organization = QString();
    QString employeeId = QString();
    QString comments = QString();
};

void WritePersons(const QList<Person>& persons) {
    QList<store::PersonRecord> records;
    for (const Person& p : persons) {
        store::PersonRecord& r = records.emplace_back();
        r.DateCreated = p.created;
        r.FirstName = p.first;
        r.MiddleName = p.middle;
        r.LastName = p.last;
        r.Organization = p.organization;
        r.EmployeeID = p.employeeId;
        r.Comments = p.comments;
        r.Active = p.active ? -1 : 0;
    }
    QVERIFY(recordfiles::WritePersons(records));
}

using recordfiles::FileBytes;
using recordfiles::ReadPerson;

double Stamp(int year, int month, int day, int hour, int minute) {
    return formats::DateValue(QDate(year, month, day), QTime(hour, minute));
}

QLineEdit* Line(const frmAddEditName& editor, int index) {
    return qobject_cast<QLineEdit*>(editor.Field(index));
}

// Opens the editor as the Lobby does: the mode and record number from the grid; shown, so its
// first activation has run.
struct Opened {
    std::unique_ptr<frmAddEditName> editor;

    Opened(qint16 level, qint32 recNum) {
        TestSession().level = AccessLevelOf(level);
        editor = std::make_unique<frmAddEditName>(nullptr, TestSession(),
                                                  recNum == 0 ? frmAddEditName::ForAdding()
                                                              : frmAddEditName::ForEditing(recNum));
        editor->show();
        editor->activateWindow();
        (void)QTest::qWaitForWindowActive(editor.get());
    }
    frmAddEditName& operator*() { return *editor; }
    frmAddEditName* operator->() { return editor.get(); }
};

} // namespace

class TestPersonEditor : public QObject {
    Q_OBJECT

private slots:
    void addModeShowsSaveOnceBothNamesAreFilled() {
        TestFolder folder;
        ScriptedAnswers answers;
        WritePersons({{"Ann", "Lee", true, Stamp(2005, 3, 1, 9, 0)},
                      {"Al", "Moe", true, Stamp(2005, 3, 2, 9, 0)}});
        Opened editor(3, 0);

        QCOMPARE(editor->Caption(), QStringLiteral("Mirtavel - Add a Name"));
        QCOMPARE(editor->EditRecNum(), 3);
        QCOMPARE(editor->cmdSave->Caption(), QStringLiteral("&Save") + CrLf + "New Entry");
        QCOMPARE(editor->cmdCancel->Caption(), QStringLiteral("&Cancel") + CrLf + "New Entry");
        QVERIFY(editor->cmdSave->isHidden());
        QVERIFY(editor->optStatus[1]->isChecked());
        QVERIFY(editor->lblDateCreated->isHidden());
        QVERIFY(Line(*editor, 1)->hasFocus());

        QTest::keyClicks(Line(*editor, 1), "Bob");
        QVERIFY(editor->cmdSave->isHidden());
        QTest::keyClicks(Line(*editor, 3), "   ");
        QVERIFY2(editor->cmdSave->isHidden(), "a name of blanks is blank");
        QTest::keyClicks(Line(*editor, 3), "Lee");
        QVERIFY(!editor->cmdSave->isHidden());
        QVERIFY(editor->cmdSave->isEnabled());
        Line(*editor, 1)->clear();
        QVERIFY(!editor->cmdSave->isHidden());
        QVERIFY(!editor->cmdSave->isEnabled());
        // Adding keeps Cancel as it was.
        QCOMPARE(editor->cmdCancel->Caption(), QStringLiteral("&Cancel") + CrLf + "New Entry");
    }

    void addModeWritesTheNewPersonAfterTheLast() {
        TestFolder folder;
        ScriptedAnswers answers;
        WritePersons({{"Ann", "Lee", true, Stamp(2005, 3, 1, 9, 0)}});
        Opened editor(3, 0);
        QTest::keyClicks(Line(*editor, 1), "  Bob ");
        QTest::keyClicks(Line(*editor, 2), "Q");
        QTest::keyClicks(Line(*editor, 3), "Lee");
        QTest::keyClicks(Line(*editor, 4), "County Sheriff");
        QTest::keyClicks(Line(*editor, 5), "E-1234");
        QTest::keyClicks(editor->Field(6), "first line");
        QTest::keyClick(editor->Field(6), Qt::Key_Return);
        QTest::keyClicks(editor->Field(6), "second line  ");
        editor->optStatus[2]->click();
        QTest::mouseClick(editor->cmdSave, Qt::LeftButton);

        QVERIFY(editor->Result().saved);
        QVERIFY(!editor->isVisible());
        QCOMPARE(QFile(QStringLiteral("Name.List")).size(), 2000);
        const store::PersonRecord saved = ReadPerson(2);
        QCOMPARE(saved.DateCreated, formats::DateValue(TestFolder::FixedNow()));
        QCOMPARE(saved.FirstName, QStringLiteral("Bob"));
        QCOMPARE(saved.MiddleName, QStringLiteral("Q"));
        QCOMPARE(saved.LastName, QStringLiteral("Lee"));
        QCOMPARE(saved.Organization, QStringLiteral("County Sheriff"));
        QCOMPARE(saved.EmployeeID, QStringLiteral("E-1234"));
        QCOMPARE(saved.Comments, QStringLiteral("first line\r\nsecond line"));
        QCOMPARE(saved.Active, qint16(0));
        // The Lobby finds the saved person by the identity left in the shared buffer.
        QCOMPARE(store::Persons().Buffer().DateCreated, saved.DateCreated);
    }

    // The organization box offers the units on file as it is typed, each once whatever its
    // letter case, so that a slip does not start a new unit.
    void organizationOffersTheUnitsOnFile() {
        TestFolder folder;
        ScriptedAnswers answers;
        WritePersons({{"Ann", "Lee", true, 1, "", "Metro PD"},
                      {"Al", "Moe", true, 2, "", "metro pd"},
                      {"Bo", "Ng", false, 3, "", "County Sheriff"},
                      {"Cy", "Ox", true, 4}});
        Opened editor(3, 0);
        QCompleter* units = Line(*editor, 4)->completer();
        QVERIFY(units);
        QStringList offered;
        for (int row = 0; row < units->model()->rowCount(); ++row)
            offered << units->model()->index(row, 0).data().toString();
        QCOMPARE(offered, QStringList({"County Sheriff", "Metro PD"}));
        QTest::keyClicks(Line(*editor, 4), "MET");
        QCOMPARE(units->completionCount(), 1);
        QCOMPARE(units->currentCompletion(), QStringLiteral("Metro PD"));
        QVERIFY(units->popup()->isVisible());
    }

    void viewEditShowsTheRecordAndItsCreationTime() {
        TestFolder folder;
        ScriptedAnswers answers;
        WritePersons({{"Ann", "Lee", true, Stamp(2005, 3, 1, 9, 0)},
                      {"Bob", "Moe", true, Stamp(2005, 3, 3, 14, 5), "Q", "Metro PD", "77",
                       "likes range days"},
                      {"Al", "Zed", false, Stamp(2005, 3, 4, 9, 0)}});
        const QByteArray before = FileBytes(QStringLiteral("Name.List"));
        Opened editor(2, 2);

        QCOMPARE(editor->Caption(), QStringLiteral("Mirtavel - View/Edit this Name"));
        QCOMPARE(editor->lblDateCreated->text(),
                 QStringLiteral(" Record Created 03/03/2005 02:05pm "));
        QVERIFY(!editor->lblDateCreated->isHidden());
        const QStringList shown = {"Bob", "Q", "Moe", "Metro PD", "77", "likes range days"};
        for (int i = 1; i <= 6; ++i)
            QCOMPARE(editor->FieldText(i), shown.at(i - 1));
        QVERIFY(editor->optStatus[1]->isChecked());
        QCOMPARE(editor->lblSpaceFull->text(), QStringLiteral(" 2% full "));
        QVERIFY(editor->cmdSave->isHidden());
        QCOMPARE(editor->cmdSave->Caption(), QStringLiteral("&Save") + CrLf + "Changes");
        QCOMPARE(editor->cmdCancel->Caption(), QStringLiteral("&Finished") + CrLf + "Viewing");

        // The first keystroke is an edit: Save appears, Cancel now cancels changes.
        QTest::keyClick(Line(*editor, 4), Qt::Key_End);
        QTest::keyClicks(Line(*editor, 4), " East");
        QVERIFY(!editor->cmdSave->isHidden());
        QCOMPARE(editor->cmdCancel->Caption(), QStringLiteral("&Cancel") + CrLf + "Changes");

        editor->cmdSave_Click();
        const store::PersonRecord saved = ReadPerson(2);
        QCOMPARE(saved.Organization, QStringLiteral("Metro PD East"));
        QCOMPARE(saved.DateCreated, Stamp(2005, 3, 3, 14, 5));
        const QByteArray after = FileBytes(QStringLiteral("Name.List"));
        QCOMPARE(after.size(), before.size());
        QCOMPARE(after.left(1000), before.left(1000));
        QCOMPARE(after.mid(2000), before.mid(2000));
        QVERIFY(editor->Result().saved);
    }

    void cancelWritesNothing() {
        TestFolder folder;
        ScriptedAnswers answers;
        WritePersons({{"Ann", "Lee", true, Stamp(2005, 3, 1, 9, 0)}});
        const QByteArray before = FileBytes(QStringLiteral("Name.List"));
        Opened editor(4, 1);
        QTest::keyClicks(Line(*editor, 1), "Jo");
        QTest::mouseClick(editor->cmdCancel, Qt::LeftButton);
        QVERIFY(!editor->isVisible());
        QCOMPARE(FileBytes(QStringLiteral("Name.List")), before);
        QVERIFY(!editor->Result().saved);
    }

    void statusChangeIsVerified() {
        TestFolder folder;
        ScriptedAnswers answers;
        WritePersons({{"Ann", "Lee", true, Stamp(2005, 3, 1, 9, 0)}});
        const QByteArray before = FileBytes(QStringLiteral("Name.List"));

        { // "&No": the status goes back, nothing is written, the window stays.
            Opened editor(2, 1);
            QCOMPARE(editor->optStatus[1]->font().pointSizeF(), 11.0);
            QVERIFY(editor->optStatus[1]->font().bold());
            editor->optStatus[2]->click();
            QVERIFY2(!editor->cmdSave->isHidden(), "a status change alone can be saved");
            QCOMPARE(editor->optStatus[2]->font().pointSizeF(), 11.0);
            QCOMPARE(editor->optStatus[1]->font().pointSizeF(), 8.0);
            QCOMPARE(editor->optStatus[1]->palette().color(QPalette::WindowText),
                     QColor(0, 0, 128));
            answers.expectMessage(QStringLiteral("Verify Status Change"), 2);
            QTest::mouseClick(editor->cmdSave, Qt::LeftButton);
            QVERIFY(answers.verifyDone());
            const ScriptedAnswers::Asked& asked = answers.lastAsked();
            QCOMPARE(asked.icon, 3);
            QCOMPARE(asked.defaultButton, 2);
            QCOMPARE(asked.buttons, QStringList({"&Yes", "&No"}));
            QCOMPARE(asked.lines,
                     QStringList({"The active/inactive status for", "this person has been changed.",
                                  "", "Do you now want to list this person", "as inactive?"}));
            QVERIFY(editor->optStatus[1]->isChecked());
            QVERIFY(editor->isVisible());
            QCOMPARE(FileBytes(QStringLiteral("Name.List")), before);
            QVERIFY(!editor->Result().saved);
        }
        { // "&Yes" writes the person as inactive.
            Opened editor(2, 1);
            editor->optStatus[2]->click();
            answers.expectMessage(QStringLiteral("Verify Status Change"), 1);
            editor->cmdSave_Click();
            QVERIFY(answers.verifyDone());
            QCOMPARE(ReadPerson(1).Active, qint16(0));
        }
        { // Esc on the question saves as if "&Yes" had been pressed.
            Opened editor(2, 1);
            QVERIFY(editor->optStatus[2]->isChecked());
            editor->optStatus[1]->click();
            answers.expectMessage(QStringLiteral("Verify Status Change"), 0);
            editor->cmdSave_Click();
            QVERIFY(answers.verifyDone());
            QCOMPARE(answers.lastAsked().lines.last(), QStringLiteral("as active?"));
            QCOMPARE(ReadPerson(1).Active, qint16(-1));
            QVERIFY(editor->Result().saved);
        }
        { // An unchanged status asks nothing.
            Opened editor(2, 1);
            QTest::keyClicks(Line(*editor, 2), "M");
            editor->cmdSave_Click();
            QVERIFY(answers.verifyDone());
            QCOMPARE(ReadPerson(1).MiddleName, QStringLiteral("M"));
        }
    }

    void readOnlyUserCanOnlyLook() {
        TestFolder folder;
        ScriptedAnswers answers;
        WritePersons({{"Ann", "Lee", false, Stamp(2005, 3, 1, 9, 0)}});
        const QByteArray before = FileBytes(QStringLiteral("Name.List"));
        Opened editor(1, 1);

        QCOMPARE(editor->Caption(), QStringLiteral("Mirtavel - View this person's details"));
        QVERIFY(editor->optStatus[2]->isChecked());
        QVERIFY(!editor->optStatus[1]->isEnabled());
        QVERIFY(editor->optStatus[2]->isEnabled());
        // The option that cannot be chosen is drawn in the style's disabled ink, not navy.
        QCOMPARE(editor->optStatus[1]->palette().color(QPalette::Disabled, QPalette::WindowText),
                 QApplication::palette().color(QPalette::Disabled, QPalette::WindowText));
        for (int i = 1; i <= 5; ++i)
            QVERIFY(Line(*editor, i)->isReadOnly());
        QVERIFY(qobject_cast<QPlainTextEdit*>(editor->Field(6))->isReadOnly());
        QVERIFY(editor->cmdCancel->hasFocus());
        // A box refuses the focus: it goes back to the way out.
        Line(*editor, 3)->setFocus();
        QVERIFY(editor->cmdCancel->hasFocus());
        QTest::keyClicks(Line(*editor, 3), "x");
        QCOMPARE(editor->FieldText(3), QStringLiteral("Lee"));
        QVERIFY(editor->cmdSave->isHidden());
        QCOMPARE(editor->cmdCancel->Caption(), QStringLiteral("&Finished") + CrLf + "Viewing");
        QTest::mouseClick(editor->cmdCancel, Qt::LeftButton);
        QVERIFY(!editor->isVisible());
        QCOMPARE(FileBytes(QStringLiteral("Name.List")), before);
    }

    void boxesAreColouredByModeAndFocus() {
        TestFolder folder;
        ScriptedAnswers answers;
        WritePersons({{"Ann", "Lee", true, Stamp(2005, 3, 1, 9, 0)}});
        const auto base = [](QWidget* w) { return w->palette().color(QPalette::Base); };
        {
            Opened editor(3, 0);
            QCOMPARE(base(Line(*editor, 1)), QColor(255, 255, 0));
            Line(*editor, 2)->setFocus();
            QCOMPARE(base(Line(*editor, 1)), QColor(0, 255, 255));
            QCOMPARE(base(Line(*editor, 2)), QColor(255, 255, 0));
        }
        {
            Opened editor(2, 1);
            QCOMPARE(base(Line(*editor, 1)), QColor(255, 192, 255));
            QCOMPARE(Line(*editor, 1)->selectedText(), QStringLiteral("Ann"));
            editor->Field(6)->setFocus();
            QCOMPARE(base(editor->Field(6)), QColor(255, 192, 255));
            QCOMPARE(base(Line(*editor, 1)), QColor(0, 255, 255));
        }
    }

    void commentsGaugeShowsHowFullTheBoxIs() {
        TestFolder folder;
        ScriptedAnswers answers;
        Opened editor(3, 0);
        QVERIFY(editor->lblSpaceFull->isHidden());
        editor->SetFieldText(6, QStringLiteral("x"));
        QCOMPARE(editor->lblSpaceFull->text(), QStringLiteral(" 1% full "));
        // Each text is drawn whole: the gauge is as wide as its text every time.
        const auto drawnWhole = [&editor] {
            const QLabel* gauge = editor->lblSpaceFull;
            return gauge->width() >= gauge->fontMetrics().horizontalAdvance(gauge->text());
        };
        QVERIFY(drawnWhole());
        editor->SetFieldText(6, QString(445, u'x'));
        QCOMPARE(editor->lblSpaceFull->text(), QStringLiteral(" 50% full "));
        QVERIFY(drawnWhole());
        editor->SetFieldText(6, QString(890, u'x'));
        QCOMPARE(editor->lblSpaceFull->text(), QStringLiteral(" 100% full "));
        QVERIFY(drawnWhole());
        QTest::keyClick(editor->Field(6), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(editor->Field(6), "y");
        QCOMPARE(editor->FieldText(6), QString(890, u'x'));
        editor->SetFieldText(6, QString());
        QVERIFY(editor->lblSpaceFull->isHidden());
    }

    void unreadableFilesAreNamed() {
        TestFolder folder;
        ScriptedAnswers answers;
        WritePersons({{"Ann", "Lee", true, Stamp(2005, 3, 1, 9, 0)}});
        Opened editor(3, 1);
        editor->SetFieldText(2, QStringLiteral("B"));
        // The file is replaced by something that cannot be opened as one.
        QVERIFY(QFile::remove(QStringLiteral("Name.List")));
        QVERIFY(QDir().mkdir(QStringLiteral("Name.List")));
        answers.expectMessage(QString(), 1);
        editor->cmdSave_Click();
        QVERIFY(answers.verifyDone());
        QVERIFY(answers.lastAsked().lines.join(' ').contains("Name.List"));
        QCOMPARE(answers.lastAsked().icon, 2);
        QVERIFY(editor->isVisible());
        QVERIFY(editor->isEnabled());
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
        QVERIFY(!editor->Result().saved);

        // Opening on a file that cannot be read names it too, and leaves nothing to save.
        answers.expectMessage(QString(), 1);
        Opened viewer(2, 1);
        QVERIFY(answers.pending() == 0);
        QVERIFY(answers.lastAsked().lines.join(' ').contains("Name.List"));
        QVERIFY(viewer->ViewOnly());
        QVERIFY(viewer->cmdSave->isHidden());
    }
};

QTEST_MAIN(TestPersonEditor)
#include "test_personeditor.moc"
