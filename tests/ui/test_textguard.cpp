#include "platform/Sound.h"
#include "ui/TextGuard.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

namespace {
// A box of 890 characters, as a person's comments, holding `text` with the cursor at `at`.
struct Box {
    explicit Box(const QString& text, int at) {
        box.setParent(&host);
        host.resize(400, 300);
        textguard::GuardStoredField(&box, 890);
        box.setPlainText(text);
        QTextCursor cursor = box.textCursor();
        cursor.setPosition(at);
        box.setTextCursor(cursor);
        host.show();
        platform::ResetBeeps();
    }
    QWidget host; // the window the reason is shown in
    QPlainTextEdit box;
};

QString Full() {
    return QString(880, u'c') + QStringLiteral("END4567890");
}
} // namespace

class TestTextGuard : public QObject {
    Q_OBJECT

private slots:
    // What does not fit is refused where it is put in; the text already there stays whole.
    void insertionsBeyondTheLimit_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("at");
        QTest::addColumn<QString>("typed");  // typed key by key
        QTest::addColumn<QString>("pasted"); // pasted at once after the typing
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<QString>("refused"); // the character named beside the box
        QTest::newRow("typed at the start of a full box")
            << Full() << 0 << QStringLiteral("XY") << QString() << Full() << 2 << QString();
        QTest::newRow("typed at the end of a full box")
            << Full() << 890 << QStringLiteral("Z") << QString() << Full() << 1 << QString();
        QTest::newRow("pasted into the middle, 5 characters of room")
            << QString(875, u'c') + QStringLiteral("END4567890") << 10 << QString()
            << QStringLiteral("0123456789")
            << QString(10, u'c') + QStringLiteral("01234") + QString(865, u'c') +
                   QStringLiteral("END4567890")
            << 1 << QString();
        QTest::newRow("a line break takes two")
            << QString(889, u'c') << 889 << QString() << QStringLiteral("\n") << QString(889, u'c')
            << 1 << QString();
        QTest::newRow("room enough")
            << QStringLiteral("abc") << 3 << QStringLiteral("de") << QStringLiteral("\nf")
            << QStringLiteral("abcde\nf") << 0 << QString();
        // Only what Windows-1252 holds: a character beyond it is refused as typed, and a paste
        // holding one is refused whole, never stored with it dropped.
        QTest::newRow("typed beyond the code page")
            << QString() << 0 << QStringLiteral("\u0141ukasz") << QString()
            << QStringLiteral("ukasz") << 1 << QStringLiteral("\u0141");
        QTest::newRow("pasted beyond the code page")
            << QStringLiteral("ab") << 1 << QString()
            << QStringLiteral("\u20ac\u00f3\u0141\u6f22\U0001F600") << QStringLiteral("ab") << 1
            << QStringLiteral("\u0141");
    }
    void insertionsBeyondTheLimit() {
        QFETCH(QString, before);
        QFETCH(int, at);
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        QFETCH(QString, after);
        QFETCH(int, beeps);
        QFETCH(QString, refused);
        Box box(before, at);
        for (const QChar c : typed) // keys beyond ASCII arrive as text alone
            QTest::sendKeyEvent(QTest::Click, &box.box, Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        if (!pasted.isEmpty()) {
            QApplication::clipboard()->setText(pasted);
            box.box.paste();
        }
        QCOMPARE(box.box.toPlainText(), after);
        QCOMPARE(platform::BeepCount(), beeps);
        // A refused character is named beside the box; what only did not fit needs no reason.
        auto* note = box.host.findChild<QLabel*>(QStringLiteral("refusalNote"));
        QCOMPARE(note && note->isVisible(), !refused.isEmpty());
        if (note)
            QCOMPARE(note->text(), refused + QStringLiteral(" cannot be stored; the files hold "
                                                            "Western European letters only"));
    }

    // A one-line box keeps to the code page too; the cursor stays after what was kept.
    void oneLineBoxKeepsToTheCodePage() {
        QLineEdit box;
        box.setMaxLength(15);
        textguard::GuardStoredField(&box);
        box.show();
        platform::ResetBeeps();
        for (const QChar c : QStringLiteral("\u0141ukasz"))
            QTest::sendKeyEvent(QTest::Click, &box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QCOMPARE(box.text(), QStringLiteral("ukasz"));
        QCOMPARE(platform::BeepCount(), 1);
        box.setCursorPosition(2);
        QApplication::clipboard()->setText(QStringLiteral("\u00e9\u0142"));
        box.paste();
        QCOMPARE(box.text(), QStringLiteral("ukasz"));
        QCOMPARE(box.cursorPosition(), 2);
        QCOMPARE(platform::BeepCount(), 2);
        QApplication::clipboard()->setText(QStringLiteral("\u00e9"));
        box.paste();
        QCOMPARE(box.text(), QStringLiteral("uk\u00e9asz"));
    }

    // Undo takes back what was kept of a paste, and no more.
    void undoTakesBackTheKeptPart() {
        const QString before = QString(885, u'c');
        Box box(before, 885);
        QApplication::clipboard()->setText(QStringLiteral("0123456789"));
        box.box.paste();
        QCOMPARE(box.box.toPlainText(), before + QStringLiteral("01234"));
        box.box.undo();
        QCOMPARE(box.box.toPlainText(), before);
    }
};

QTEST_MAIN(TestTextGuard)
#include "test_textguard.moc"
