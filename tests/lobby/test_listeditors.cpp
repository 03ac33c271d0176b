// The record editors' shared save path (forms/ListRecordEditor), tried through the person
// editor and the course editor alike: the removal marker refused, a full list refused, a
// creation stamp no other record has, the written record handed back, and a record changed
// elsewhere never written over.

#include "courses/frmAddEditCourse.h"
#include "lobby/frmAddEditName.h"
#include "store/Formats.h"
#include "store/RecordStore.h"
#include "support/RecordFiles.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "ui/AppTitle.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

// What each editor needs: its file, a record to write, and the boxes to fill for a save.
struct PersonEditor {
    using Editor = frmAddEditName;
    using Record = store::PersonRecord;
    static QString FileName() { return QStringLiteral("Name.List"); }
    static constexpr int Comments = 6; // the comments box and what it holds
    static constexpr int CommentsLimit = 890;
    static Record Made(double created) {
        Record r;
        r.DateCreated = created;
        r.FirstName = QStringLiteral("Ann");
        r.LastName = QStringLiteral("Lee");
        r.Active = -1;
        return r;
    }
    static bool Write(const QList<Record>& records) { return recordfiles::WritePersons(records); }
    static double CreatedOf(qint32 n) { return recordfiles::ReadPerson(n).DateCreated; }
    // `key`: the first name, the field that may not hold the removal marker.
    static void Fill(Editor& editor, const QString& key) {
        editor.SetFieldText(1, key);
        editor.SetFieldText(3, QStringLiteral("Lee"));
    }
    // The same person as saved by another station.
    static Record SavedElsewhere(Record r) {
        r.FirstName = QStringLiteral("Elsewhere");
        return r;
    }
    static QString Marker() { return QStringLiteral(" $Killed$ "); }
    static QString KeyName() { return QStringLiteral("first name"); }
    static QStringList FullWords() {
        return {QStringLiteral("32,767"), QStringLiteral("Name List")};
    }
};

struct CourseEditor {
    using Editor = frmAddEditCourse;
    using Record = store::CourseRecord;
    static QString FileName() { return QStringLiteral("Course.Index"); }
    static constexpr int Comments = 5;
    static constexpr int CommentsLimit = 200;
    static Record Made(double created) {
        Record r;
        r.DateCreated = created;
        r.CourseCode = QStringLiteral("FA-0001");
        r.CourseName = QStringLiteral("Pistol qualification");
        r.Hours = 8;
        return r;
    }
    static bool Write(const QList<Record>& records) { return recordfiles::WriteCourses(records); }
    static double CreatedOf(qint32 n) { return recordfiles::ReadCourse(n).DateCreated; }
    // `key`: the course code, the field that may not hold the removal marker.
    static void Fill(Editor& editor, const QString& key) {
        editor.SetFieldText(1, key);
        editor.SetFieldText(2, QStringLiteral("Name"));
        editor.SetFieldText(4, QStringLiteral("2"));
    }
    static Record SavedElsewhere(Record r) {
        r.CourseName = QStringLiteral("Changed elsewhere");
        return r;
    }
    static QString Marker() { return QStringLiteral("$Killed$"); }
    static QString KeyName() { return QStringLiteral("course code"); }
    static QStringList FullWords() { return {QStringLiteral("32,767 courses")}; }
};

double Stamp(int year, int month, int day) {
    return formats::DateValue(QDate(year, month, day), QTime(9, 0));
}

// Opens the editor as the Lobby does: the mode and record number from the grid; shown, so its
// first activation has run.
template <class T> std::unique_ptr<typename T::Editor> Open(qint16 level, qint32 recNum) {
    using Editor = typename T::Editor;
    TestSession().level = AccessLevelOf(level);
    auto editor = std::make_unique<Editor>(
        nullptr, TestSession(), recNum == 0 ? Editor::ForAdding() : Editor::ForEditing(recNum));
    editor->show();
    editor->activateWindow();
    (void)QTest::qWaitForWindowActive(editor.get());
    return editor;
}

template <class T> void RemovalMarkerIsRefused() {
    TestFolder folder;
    ScriptedAnswers answers;
    QVERIFY(T::Write({T::Made(Stamp(2005, 3, 1))}));
    const QByteArray before = recordfiles::FileBytes(T::FileName());
    for (const qint32 recNum : {0, 1}) {
        auto editor = Open<T>(3, recNum);
        T::Fill(*editor, T::Marker());
        answers.expectMessage(QStringLiteral("Entry Error"), 1);
        editor->cmdSave_Click();
        QVERIFY(answers.verifyDone());
        QVERIFY(answers.lastAsked().lines.first().contains("\"$Killed$\""));
        QVERIFY(answers.lastAsked().lines.first().contains(T::KeyName()));
        QVERIFY(editor->isVisible());
        QVERIFY(qobject_cast<QLineEdit*>(editor->Field(1))->hasFocus());
        QVERIFY(!editor->Result().saved);
        QCOMPARE(recordfiles::FileBytes(T::FileName()), before);
    }
}

// The comments gauge shows its whole text at every fullness, ending under the comments box's
// right edge, inside the window.
template <class T> void GaugeShowsItsWholeText() {
    TestFolder folder;
    ScriptedAnswers answers;
    auto editor = Open<T>(3, 0);
    const QLabel* gauge = editor->lblSpaceFull;
    const int boxRight = editor->Field(T::Comments)->geometry().right();
    for (const int length : {1, T::CommentsLimit / 2, T::CommentsLimit}) {
        editor->SetFieldText(T::Comments, QString(length, u'x'));
        QVERIFY(gauge->isVisible());
        QVERIFY(gauge->width() >= gauge->sizeHint().width());
        QVERIFY(qAbs(gauge->geometry().right() - boxRight) <= 1);
        QVERIFY(gauge->geometry().right() < editor->width());
    }
    QCOMPARE(gauge->text(), QStringLiteral(" 100% full "));
}

template <class T> void FullListRefusesAnother() {
    TestFolder folder;
    ScriptedAnswers answers;
    const qint64 fullSize = qint64(store::MaxListRecords) * T::Record::Length;
    {
        QFile list(T::FileName());
        QVERIFY(list.open(QIODevice::WriteOnly));
        QVERIFY(list.resize(fullSize));
    }
    auto editor = Open<T>(3, 0);
    QCOMPARE(editor->EditRecNum(), 32768);
    T::Fill(*editor, QStringLiteral("X1"));
    answers.expectMessage(QStringLiteral("Entry Error"), 1);
    editor->cmdSave_Click();
    QVERIFY(answers.verifyDone());
    for (const QString& words : T::FullWords())
        QVERIFY(answers.lastAsked().lines.join(' ').contains(words));
    QCOMPARE(QFile(T::FileName()).size(), fullSize);
    QVERIFY(!editor->Result().saved);
}

// The clock says now, and now and the second after are taken.
template <class T> void NewRecordGetsACreationTimeNoOtherHas() {
    TestFolder folder;
    ScriptedAnswers answers;
    const double now = formats::DateValue(TestFolder::FixedNow());
    const double nextSecond = formats::DateValue(TestFolder::FixedNow().addSecs(1));
    QVERIFY(T::Write({T::Made(now), T::Made(nextSecond)}));
    auto editor = Open<T>(3, 0);
    T::Fill(*editor, QStringLiteral("B2"));
    editor->cmdSave_Click();
    QCOMPARE(T::CreatedOf(3), formats::DateValue(TestFolder::FixedNow().addSecs(2)));
    // Whoever opened the window is given the record exactly as written.
    const auto result = editor->Result();
    QVERIFY(result.saved && result.record);
    QCOMPARE(result.recNum, 3);
    QCOMPARE(result.record->Encode(),
             recordfiles::FileBytes(T::FileName()).mid(2 * T::Record::Length));
}

// How another station changed the list while record 2 was open here.
enum class Change { SavedThatRecord, RemovedOneBefore, RemovedItAndAfter };

// The record on file is not the one the window showed: nothing is written over it, the user
// is told it changed elsewhere, and may stay or reload (the window closes and the list is
// filled again with the shown record highlighted if it is still there).
template <class T> void RecordChangedElsewhereIsNotWrittenOver(Change change, bool reload) {
    TestFolder folder;
    ScriptedAnswers answers;
    const auto a = T::Made(Stamp(2001, 1, 1)), b = T::Made(Stamp(2002, 1, 1)),
               c = T::Made(Stamp(2003, 1, 1));
    QVERIFY(T::Write({a, b, c}));
    auto editor = Open<T>(3, 2);
    T::Fill(*editor, QStringLiteral("Typed"));
    switch (change) {
    case Change::SavedThatRecord:
        QVERIFY(T::Write({a, T::SavedElsewhere(b), c}));
        break;
    case Change::RemovedOneBefore: // record 2 now holds c
        QVERIFY(T::Write({b, c}));
        QVERIFY(QFile::resize(T::FileName(), 2 * T::Record::Length));
        break;
    case Change::RemovedItAndAfter: // there is no record 2
        QVERIFY(QFile::resize(T::FileName(), T::Record::Length));
        break;
    }
    const QByteArray before = recordfiles::FileBytes(T::FileName());
    answers.expectMessage(QStringLiteral("Changed Elsewhere"), reload ? 1 : 2);
    editor->cmdSave_Click();
    QVERIFY(answers.verifyDone());
    QVERIFY(answers.lastAsked().lines.first().contains(QStringLiteral("changed elsewhere")));
    QCOMPARE(answers.lastAsked().buttons, QStringList({"&Reload", "&Stay Here"}));
    QCOMPARE(recordfiles::FileBytes(T::FileName()), before);
    QCOMPARE(editor->isVisible(), !reload);
    QCOMPARE(editor->Result().saved, reload);
    QVERIFY(!editor->Result().record); // reloaded, not written
    if (reload)
        QCOMPARE(editor->Result().identity, b.DateCreated);
}

// A text put into box `field` (the way any tool may set it) before a new record is saved: a
// control character is refused in "Entry Error" naming the box, and nothing is written.
template <class T> void ControlCharactersAreRefused(int field, const QString& text, bool refused) {
    TestFolder folder;
    ScriptedAnswers answers;
    auto editor = Open<T>(3, 0);
    T::Fill(*editor, QStringLiteral("K1"));
    editor->SetFieldText(field, text);
    if (refused)
        answers.expectMessage(QStringLiteral("Entry Error"), 1);
    editor->cmdSave_Click();
    QVERIFY(answers.verifyDone());
    QCOMPARE(editor->Result().saved, !refused);
    QCOMPARE(QFileInfo(T::FileName()).size() > 0, !refused); // the window made it empty
    if (refused) {
        QVERIFY(answers.lastAsked().lines.first().contains(QStringLiteral("control character")));
        QVERIFY(editor->Field(field)->hasFocus());
    }
}

void EditorKinds() {
    QTest::addColumn<bool>("course");
    QTest::newRow("person editor") << false;
    QTest::newRow("course editor") << true;
}

} // namespace

Q_DECLARE_METATYPE(Change)

class TestListEditors : public QObject {
    Q_OBJECT

private slots:
    void removalMarkerIsRefused_data() { EditorKinds(); }
    void removalMarkerIsRefused() {
        QFETCH(bool, course);
        course ? RemovalMarkerIsRefused<CourseEditor>() : RemovalMarkerIsRefused<PersonEditor>();
    }

    void gaugeShowsItsWholeText_data() { EditorKinds(); }
    void gaugeShowsItsWholeText() {
        QFETCH(bool, course);
        course ? GaugeShowsItsWholeText<CourseEditor>() : GaugeShowsItsWholeText<PersonEditor>();
    }
    void fullListRefusesAnother_data() { EditorKinds(); }
    void fullListRefusesAnother() {
        QFETCH(bool, course);
        course ? FullListRefusesAnother<CourseEditor>() : FullListRefusesAnother<PersonEditor>();
    }

    void recordChangedElsewhereIsNotWrittenOver_data() {
        QTest::addColumn<bool>("course");
        QTest::addColumn<Change>("change");
        QTest::addColumn<bool>("reload");
        QTest::newRow("person saved elsewhere, stay") << false << Change::SavedThatRecord << false;
        QTest::newRow("person renumbered, reload") << false << Change::RemovedOneBefore << true;
        QTest::newRow("person gone, reload") << false << Change::RemovedItAndAfter << true;
        QTest::newRow("course saved elsewhere, reload") << true << Change::SavedThatRecord << true;
        QTest::newRow("course gone, stay") << true << Change::RemovedItAndAfter << false;
    }
    void recordChangedElsewhereIsNotWrittenOver() {
        QFETCH(bool, course);
        QFETCH(Change, change);
        QFETCH(bool, reload);
        course ? RecordChangedElsewhereIsNotWrittenOver<CourseEditor>(change, reload)
               : RecordChangedElsewhereIsNotWrittenOver<PersonEditor>(change, reload);
    }

    void controlCharactersAreRefused_data() {
        QTest::addColumn<bool>("course");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("refused");
        QTest::newRow("first name with a line break") << false << 1 << "X\n. payload #" << true;
        QTest::newRow("middle name with a tab") << false << 2 << "A\tB" << true;
        QTest::newRow("organization with NUL") << false << 4 << QString("Org") + QChar(0) << true;
        QTest::newRow("employee ID with DEL") << false << 5 << "12\u007F" << true;
        QTest::newRow("comments with ESC") << false << 6 << "Line\r\n\x1B[2J" << true;
        QTest::newRow("comments with line breaks") << false << 6 << "One\r\nTwo" << false;
        QTest::newRow("first name with letters of the page")
            << false << 1 << "\u20AC\u201C\u00A0\u00FF" << false;
        QTest::newRow("course name with C1 0x9D") << true << 2 << "Name\u009D" << true;
        QTest::newRow("course provider with 0x81") << true << 3 << "\u0081P" << true;
        QTest::newRow("course comments with a lone CR") << true << 5 << "a\rb" << false;
        QTest::newRow("course comments with US") << true << 5
                                                 << "a\x1F"
                                                    "b"
                                                 << true;
    }
    void controlCharactersAreRefused() {
        QFETCH(bool, course);
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(bool, refused);
        course ? ControlCharactersAreRefused<CourseEditor>(field, text, refused)
               : ControlCharactersAreRefused<PersonEditor>(field, text, refused);
    }

    void newRecordGetsACreationTimeNoOtherHas_data() { EditorKinds(); }
    void newRecordGetsACreationTimeNoOtherHas() {
        QFETCH(bool, course);
        course ? NewRecordGetsACreationTimeNoOtherHas<CourseEditor>()
               : NewRecordGetsACreationTimeNoOtherHas<PersonEditor>();
    }
};

QTEST_MAIN(TestListEditors)
#include "test_listeditors.moc"
