#include "CourseFiles.h"

#include "courses/frmAddEditCourse.h"
#include "store/FileWrite.h"
#include "store/TrainingRules.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "ui/AppTitle.h"
#include "ui/CrLf.h"
#include "ui/ZovButton.h"

#include <QCheckBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTest>

using namespace coursefiles;

namespace {

using ui::CrLf;
const QString CourseIndex = QStringLiteral("Course.Index");
const QString TrainingFile = QStringLiteral("Training.Records");

QLineEdit* Line(const frmAddEditCourse& editor, int index) {
    return qobject_cast<QLineEdit*>(editor.Field(index));
}

// Opens the editor as the Lobby does: the mode and record number from the grid; shown, so its
// first activation has run.
struct Opened {
    std::unique_ptr<frmAddEditCourse> editor;

    Opened(qint16 level, qint32 recNum) {
        TestSession().level = AccessLevelOf(level);
        editor = std::make_unique<frmAddEditCourse>(
            nullptr, TestSession(),
            recNum == 0 ? frmAddEditCourse::ForAdding() : frmAddEditCourse::ForEditing(recNum));
        editor->show();
        editor->activateWindow();
        (void)QTest::qWaitForWindowActive(editor.get());
    }
    frmAddEditCourse* operator->() { return editor.get(); }
    frmAddEditCourse& operator*() { return *editor; }
};

const Course Pistol{Stamp(2004, 1, 5), "FA-0001", "Pistol qualification", 8, "Range"};
const Course Ethics{Stamp(2004, 1, 6), "ETH-01", "Ethics", 7.5f, "Academy"};
const Course Heading{Stamp(2004, 1, 7), "FA", "FIREARMS", 0};

const QStringList UpdateQuestion = {
    "Do you want this change to be applied", "to the existing individual training record(s)",
    "of any person(s) who have previously completed", "this particular training course?"};

} // namespace

class TestCourseEditor : public QObject {
    Q_OBJECT

private slots:
    // The renewal period and the requirement are saved beside Course.Index, keyed by the
    // course's identity: a change of them alone leaves Course.Index as it was and offers no
    // update of the credited records; a failure of the rules file is told by its name.
    void renewalSavedBesideTheCourse_data() {
        QTest::addColumn<qint32>("recNum"); // 0: a new course
        QTest::addColumn<int>("months");
        QTest::addColumn<bool>("required");
        QTest::addColumn<bool>("rulesFail");
        QTest::newRow("renewal alone") << 1 << 12 << false << false;
        QTest::newRow("required alone") << 2 << 0 << true << false;
        QTest::newRow("a new course") << 0 << 24 << true << false;
        QTest::newRow("rules file full") << 1 << 120 << true << true;
    }
    void renewalSavedBesideTheCourse() {
        QFETCH(qint32, recNum);
        QFETCH(int, months);
        QFETCH(bool, required);
        QFETCH(bool, rulesFail);
        TestFolder folder;
        ScriptedAnswers answers;
        QVERIFY(WriteCourses({Pistol, Ethics}));
        QVERIFY(WriteTrainings({Credit(Pistol, Stamp(2003, 1, 1), Stamp(2005, 1, 1), "")}));
        store::TrainingRules before;
        before.SetRule(Ethics.created, {6, false});
        QVERIFY(store::WriteTrainingRules(before));
        const QByteArray index = FileBytes(CourseIndex);
        {
            Opened editor(3, recNum);
            QCOMPARE(editor->spnRenewal->value(), recNum == 2 ? 6 : 0);
            QVERIFY(!editor->chkRequired->isChecked());
            if (recNum == 0) {
                QTest::keyClicks(Line(*editor, 1), "T1");
                QTest::keyClicks(Line(*editor, 2), "Taser");
                QTest::keyClicks(Line(*editor, 4), "4");
            }
            QVERIFY(recNum == 0 || editor->cmdSave->isHidden());
            editor->spnRenewal->setValue(months);
            editor->chkRequired->setChecked(required);
            QVERIFY(!editor->cmdSave->isHidden());
            if (rulesFail) {
                store::io::testing::SetWriteHook([](const QString& name, qint64 wanted, int& e) {
                    e = ENOSPC;
                    return name == store::TrainingRulesFileName ? 0 : wanted;
                });
                answers.expectMessage(QStringLiteral("File Problem"), 1);
            }
            QTest::mouseClick(editor->cmdSave, Qt::LeftButton);
            store::io::testing::SetWriteHook({});
            QVERIFY(answers.verifyDone()); // no offer to update the credited records
            if (rulesFail)
                QVERIFY(answers.lastAsked().lines.join(u' ').contains("\"Training.Rules\""));
        }
        if (recNum > 0)
            QCOMPARE(FileBytes(CourseIndex), index);
        store::TrainingRules after;
        QVERIFY(store::ReadTrainingRules(after));
        const double key = recNum == 0   ? ReadCourse(3).DateCreated
                           : recNum == 1 ? Pistol.created
                                         : Ethics.created;
        const store::CourseRule expected =
            rulesFail ? before.RuleOf(key) : store::CourseRule{months, required};
        QCOMPARE(after.RuleOf(key), expected);
        if (recNum != 2)
            QCOMPARE(after.RuleOf(Ethics.created), (store::CourseRule{6, false}));
        Opened again(1, recNum == 0 ? 3 : recNum); // a Read Only user sees it, unchangeable
        QCOMPARE(again->spnRenewal->value(), rulesFail ? 0 : months);
        QVERIFY(again->spnRenewal->isReadOnly());
        QVERIFY(!again->chkRequired->isEnabled());
    }

    void addModeNeedsCodeNameAndHours() {
        TestFolder folder;
        ScriptedAnswers answers;
        QVERIFY(WriteCourses({Pistol, Ethics}));
        Opened editor(3, 0);

        QCOMPARE(editor->Caption(), QStringLiteral("Mirtavel - Add a Course"));
        QCOMPARE(editor->EditRecNum(), 3);
        QCOMPARE(editor->cmdSave->Caption(), QStringLiteral("&Save") + CrLf + "New Course");
        QCOMPARE(editor->cmdCancel->Caption(), QStringLiteral("&Cancel") + CrLf + "New Course");
        QVERIFY(editor->cmdSave->isHidden());
        QVERIFY(!editor->cmdHelp->isHidden());
        QCOMPARE(editor->cmdHelp->toolTip(),
                 QStringLiteral(" Click here for important information about Course Codes "));
        QCOMPARE(Line(*editor, 1)->maxLength(), 8);
        QCOMPARE(Line(*editor, 2)->maxLength(), 50);
        QCOMPARE(Line(*editor, 3)->maxLength(), 30);
        QCOMPARE(Line(*editor, 4)->maxLength(), 5);
        QVERIFY(Line(*editor, 1)->hasFocus());

        QTest::keyClicks(Line(*editor, 1), "T1");
        QTest::keyClicks(Line(*editor, 2), "Taser");
        QVERIFY(editor->cmdSave->isHidden());
        QTest::keyClicks(Line(*editor, 4), " ");
        QVERIFY(editor->cmdSave->isHidden());
        QTest::keyClicks(Line(*editor, 4), "4");
        QVERIFY(!editor->cmdSave->isHidden());
        Line(*editor, 2)->clear();
        QVERIFY(!editor->cmdSave->isEnabled());
    }

    void hoursMustBeANumber() {
        TestFolder folder;
        ScriptedAnswers answers;
        Opened editor(3, 0);
        QTest::keyClicks(Line(*editor, 1), "T1");
        QTest::keyClicks(Line(*editor, 2), "Taser");
        QTest::keyClicks(Line(*editor, 4), "abc");
        answers.expectMessage(QStringLiteral("Entry Error"), 1);
        QTest::mouseClick(editor->cmdSave, Qt::LeftButton);
        QVERIFY(answers.verifyDone());
        const ScriptedAnswers::Asked& asked = answers.lastAsked();
        QCOMPARE(asked.icon, 2);
        QCOMPARE(asked.lines, QStringList({"There must be some value", "in the 'Hours' field."}));
        QCOMPARE(asked.buttons, QStringList({"&Okay"}));
        QCOMPARE(asked.defaultButton, 1);
        QVERIFY(Line(*editor, 4)->hasFocus());
        QVERIFY(editor->isVisible());
        QCOMPARE(FileBytes(CourseIndex).size(), 0);

        // Numbers a single cannot hold are refused the same way.
        for (const char* huge : {"9e99", "1e39", "-1e39"}) {
            Line(*editor, 4)->setText(QString::fromLatin1(huge));
            answers.expectMessage(QStringLiteral("Entry Error"), 1);
            QTest::mouseClick(editor->cmdSave, Qt::LeftButton);
            QVERIFY(answers.verifyDone());
            QVERIFY(answers.lastAsked().lines.first().contains(QString::fromLatin1(huge)));
            QVERIFY(Line(*editor, 4)->hasFocus());
            QCOMPARE(FileBytes(CourseIndex).size(), 0);
        }

        Line(*editor, 4)->setText(QStringLiteral("1.5"));
        QTest::mouseClick(editor->cmdSave, Qt::LeftButton);
        QVERIFY(!editor->isVisible());
        QCOMPARE(ReadCourse(1).Hours, 1.5f);
    }

    void addStoresCodeNameAndProviderAsTyped() {
        TestFolder folder;
        ScriptedAnswers answers;
        QVERIFY(WriteCourses({Pistol}));
        // Adding never offers to update training records.
        QVERIFY(WriteTrainings({Credit(Pistol, Stamp(2003, 1, 1), Stamp(2005, 1, 1), "")}));
        Opened editor(3, 0);
        editor->SetFieldText(1, QStringLiteral(" T1"));
        editor->SetFieldText(2, QStringLiteral("Taser "));
        editor->SetFieldText(3, QStringLiteral("  Vendor"));
        editor->SetFieldText(4, QStringLiteral("4"));
        editor->SetFieldText(5, QStringLiteral("  carry with care  "));
        editor->cmdSave_Click();
        QVERIFY(answers.verifyDone());

        QVERIFY(editor->Result().saved);
        const QByteArray record = RecordOf(FileBytes(CourseIndex), 2, 300);
        QCOMPARE(record.mid(8, 8), QByteArray(" T1     "));
        QCOMPARE(record.mid(16, 50), QByteArray("Taser").leftJustified(50, ' '));
        QCOMPARE(record.mid(66, 30), QByteArray("  Vendor").leftJustified(30, ' '));
        QCOMPARE(record.mid(100, 200), QByteArray("carry with care").leftJustified(200, ' '));
        const store::CourseRecord saved = ReadCourse(2);
        QCOMPARE(saved.Hours, 4.0f);
        QCOMPARE(saved.DateCreated, formats::DateValue(TestFolder::FixedNow()));
        QCOMPARE(store::Courses().Buffer().DateCreated, saved.DateCreated);
    }

    void viewEditShowsTheCourse() {
        TestFolder folder;
        ScriptedAnswers answers;
        const Course late{Stamp(2005, 3, 3, 14, 5), " X-9", "Night driving", 0, "", "notes"};
        QVERIFY(WriteCourses({Pistol, Ethics, late}));
        const QStringList hours = {"8", "7.5", "0"};
        for (qint32 n = 1; n <= 3; ++n) {
            Opened editor(2, n);
            QCOMPARE(editor->FieldText(4), hours.at(n - 1));
        }
        Opened editor(2, 3);
        QCOMPARE(editor->Caption(), QStringLiteral("Mirtavel - View/Edit this Course"));
        QCOMPARE(editor->lblDateCreated->text(),
                 QStringLiteral(" Record Created 03/03/2005 02:05pm "));
        QCOMPARE(editor->FieldText(1), QStringLiteral("X-9"));
        QCOMPARE(editor->FieldText(2), QStringLiteral("Night driving"));
        QCOMPARE(editor->FieldText(5), QStringLiteral("notes"));
        QVERIFY(editor->cmdSave->isHidden());
        QCOMPARE(editor->cmdSave->Caption(), QStringLiteral("&Save") + CrLf + "Changes");
        QCOMPARE(editor->cmdCancel->Caption(), QStringLiteral("&Finished") + CrLf + "Viewing");
        QTest::keyClicks(Line(*editor, 3), "P");
        QVERIFY(!editor->cmdSave->isHidden());
        QCOMPARE(editor->cmdCancel->Caption(), QStringLiteral("&Cancel") + CrLf + "Changes");
    }

    void readOnlyUserCanOnlyLook() {
        TestFolder folder;
        ScriptedAnswers answers;
        QVERIFY(WriteCourses({Pistol}));
        const QByteArray before = FileBytes(CourseIndex);
        Opened editor(1, 1);
        QCOMPARE(editor->Caption(), QStringLiteral("Mirtavel - View the details of this course"));
        for (int i = 1; i <= 4; ++i)
            QVERIFY(Line(*editor, i)->isReadOnly());
        QVERIFY(qobject_cast<QPlainTextEdit*>(editor->Field(5))->isReadOnly());
        QVERIFY(editor->cmdCancel->hasFocus());
        Line(*editor, 2)->setFocus();
        QVERIFY(editor->cmdCancel->hasFocus());
        QTest::keyClicks(Line(*editor, 2), "x");
        QVERIFY(editor->cmdSave->isHidden());
        QCOMPARE(editor->cmdCancel->Caption(), QStringLiteral("&Finished") + CrLf + "Viewing");
        QTest::mouseClick(editor->cmdCancel, Qt::LeftButton);
        QCOMPARE(FileBytes(CourseIndex), before);
    }

    void commentsGaugeCountsTwoHundred() {
        TestFolder folder;
        ScriptedAnswers answers;
        Opened editor(3, 0);
        QVERIFY(editor->lblSpaceFull->isHidden());
        editor->SetFieldText(5, QString(100, u'c'));
        QCOMPARE(editor->lblSpaceFull->text(), QStringLiteral(" 50% full "));
        editor->SetFieldText(5, QString(250, u'c'));
        QCOMPARE(editor->FieldText(5).size(), 200);
        QCOMPARE(editor->lblSpaceFull->text(), QStringLiteral(" 100% full "));
    }

    // Three of forty training records hold the course; its code and name change.
    void savedChangesAreCarriedIntoCreditedRecords() {
        TestFolder folder;
        ScriptedAnswers answers;
        QVERIFY(WriteCourses({Pistol, Ethics, Heading}));
        QList<store::TrainingRecord> records;
        const QList<int> ofPistol = {5, 17, 40};
        for (int n = 1; n <= 40; ++n) {
            const Course& course = ofPistol.contains(n) ? Pistol : Ethics;
            records.append(Credit(course, Stamp(2001, 1, n % 28 + 1), Stamp(2005, 2, n % 28 + 1),
                                  QStringLiteral("record %1").arg(n)));
        }
        records[16].Hours = 6; // changed for that record alone; the update sets it again
        QVERIFY(WriteTrainings(records));
        const QByteArray before = FileBytes(TrainingFile);

        Opened editor(2, 1);
        QStringList captions;
        connect(editor.editor.get(), &QWidget::windowTitleChanged, this,
                [&captions](const QString& title) { captions.append(title); });
        editor->SetFieldText(1, QStringLiteral("FA-0002"));
        editor->SetFieldText(2, QStringLiteral("Pistol requalification"));
        editor->SetFieldText(4, QStringLiteral("9.5"));
        answers
            .expectMessage(QStringLiteral("Update individuals' training records appropriately?"), 1)
            .expectMessage(QStringLiteral("Update results..."), 1);
        QTest::mouseClick(editor->cmdSave, Qt::LeftButton);
        QVERIFY(answers.verifyDone());

        const ScriptedAnswers::Asked& question = answers.asked().at(0);
        QCOMPARE(question.lines, UpdateQuestion);
        QCOMPARE(question.icon, 3);
        QCOMPARE(question.defaultButton, 2);
        QCOMPARE(question.buttons, QStringList({"&Yes, update", "&No, do not update"}));
        const ScriptedAnswers::Asked& report = answers.asked().at(1);
        QCOMPARE(report.icon, 5);
        QCOMPARE(report.buttons, QStringList({"&Okay"}));
        QCOMPARE(report.lines, QStringList({"40 training records were reviewed.", "",
                                            "3 individual training records were found",
                                            "and updated with the latest changes."}));

        const QByteArray after = FileBytes(TrainingFile);
        QCOMPARE(after.size(), before.size());
        for (int n = 1; n <= 40; ++n) {
            if (!ofPistol.contains(n)) {
                QCOMPARE(RecordOf(after, n, 300), RecordOf(before, n, 300));
                continue;
            }
            const store::TrainingRecord was = TrainingOf(before, n);
            const store::TrainingRecord now = TrainingOf(after, n);
            QCOMPARE(now.CourseCode, QStringLiteral("FA-0002"));
            QCOMPARE(now.CourseName, QStringLiteral("Pistol requalification"));
            QCOMPARE(now.ProvidedBy, QStringLiteral("Range"));
            QCOMPARE(now.Hours, 9.5f);
            QCOMPARE(now.TrainingDate, was.TrainingDate);
            QCOMPARE(now.PersonKey, was.PersonKey);
            QCOMPARE(now.CourseKey, Pistol.created);
            QCOMPARE(now.Comments, was.Comments);
        }
        // The caption showed the review's progress, each text once.
        QVERIFY(!captions.isEmpty());
        QCOMPARE(captions.first(), QStringLiteral("3%/0"));
        QCOMPARE(captions.last(), QStringLiteral("100%/2"));
        QVERIFY(captions.contains(QStringLiteral("13%/0"))); // record 5, before its update
        QVERIFY(captions.contains(QStringLiteral("15%/1")));
        for (int i = 1; i < captions.size(); ++i)
            QVERIFY(captions.at(i) != captions.at(i - 1));
        QVERIFY(!editor->isVisible());
        QVERIFY(editor->isEnabled());
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    void declinedOrNotOfferedUpdateLeavesTrainingAlone() {
        TestFolder folder;
        ScriptedAnswers answers;
        QVERIFY(WriteCourses({Pistol, Heading}));
        QVERIFY(WriteTrainings({Credit(Pistol, Stamp(2001, 1, 1), Stamp(2005, 1, 1), "a"),
                                Credit(Heading, Stamp(2001, 1, 1), Stamp(2005, 1, 2), "b")}));
        const QByteArray before = FileBytes(TrainingFile);
        {
            Opened editor(2, 1);
            editor->SetFieldText(2, QStringLiteral("Renamed"));
            answers.expectMessage(
                QStringLiteral("Update individuals' training records appropriately?"), 2);
            editor->cmdSave_Click();
            QVERIFY(answers.verifyDone());
            QCOMPARE(ReadCourse(1).CourseName, QStringLiteral("Renamed"));
            QCOMPARE(FileBytes(TrainingFile), before);
        }
        { // Closing the question without an answer is no yes either.
            Opened editor(2, 1);
            editor->SetFieldText(2, QStringLiteral("Renamed again"));
            answers.expectMessage(
                QStringLiteral("Update individuals' training records appropriately?"), 0);
            editor->cmdSave_Click();
            QVERIFY(answers.verifyDone());
            QCOMPARE(FileBytes(TrainingFile), before);
        }
        { // A heading (0 hours) is saved without asking.
            Opened editor(2, 2);
            editor->SetFieldText(2, QStringLiteral("FIREARMS TRAINING"));
            editor->cmdSave_Click();
            QVERIFY(answers.verifyDone());
            QCOMPARE(ReadCourse(2).CourseName, QStringLiteral("FIREARMS TRAINING"));
            QCOMPARE(FileBytes(TrainingFile), before);
        }
        { // Without Training.Records nothing is offered and no file is made.
            QVERIFY(QFile::remove(TrainingFile));
            Opened editor(2, 1);
            editor->SetFieldText(2, QStringLiteral("Renamed once more"));
            editor->cmdSave_Click();
            QVERIFY(answers.verifyDone());
            QVERIFY(!QFile::exists(TrainingFile));
            QVERIFY(editor->Result().saved);
        }
    }

    void trainingFileThatCannotBeOpenedIsNamed() {
        TestFolder folder;
        ScriptedAnswers answers;
        QVERIFY(WriteCourses({Pistol}));
        QVERIFY(QDir().mkdir(TrainingFile));
        Opened editor(2, 1);
        editor->SetFieldText(2, QStringLiteral("Renamed"));
        answers
            .expectMessage(QStringLiteral("Update individuals' training records appropriately?"), 1)
            .expectMessage(QString(), 1);
        editor->cmdSave_Click();
        QVERIFY(answers.verifyDone());
        QVERIFY(answers.lastAsked().lines.join(' ').contains(TrainingFile));
        QCOMPARE(answers.lastAsked().icon, 2);
        QVERIFY(editor->isEnabled());
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
        // The course itself was saved before the update was offered.
        QCOMPARE(ReadCourse(1).CourseName, QStringLiteral("Renamed"));
        QVERIFY(editor->Result().saved);
    }
};

QTEST_MAIN(TestCourseEditor)
#include "test_courseeditor.moc"
