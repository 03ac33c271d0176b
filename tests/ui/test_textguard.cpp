#include "platform/Sound.h"
#include "ui/TextGuard.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QTest>

namespace {
// A box of 890 characters, as a person's comments, holding `text` with the cursor at `at`.
struct Box {
    explicit Box(const QString& text, int at) {
        textguard::LimitStoredLength(&box, 890);
        box.setPlainText(text);
        QTextCursor cursor = box.textCursor();
        cursor.setPosition(at);
        box.setTextCursor(cursor);
        box.show();
        platform::ResetBeeps();
    }
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
        QTest::newRow("typed at the start of a full box")
            << Full() << 0 << QStringLiteral("XY") << QString() << Full() << 2;
        QTest::newRow("typed at the end of a full box")
            << Full() << 890 << QStringLiteral("Z") << QString() << Full() << 1;
        QTest::newRow("pasted into the middle, 5 characters of room")
            << QString(875, u'c') + QStringLiteral("END4567890") << 10 << QString()
            << QStringLiteral("0123456789")
            << QString(10, u'c') + QStringLiteral("01234") + QString(865, u'c') +
                   QStringLiteral("END4567890")
            << 1;
        QTest::newRow("a line break takes two") << QString(889, u'c') << 889 << QString()
                                                << QStringLiteral("\n") << QString(889, u'c') << 1;
        QTest::newRow("room enough") << QStringLiteral("abc") << 3 << QStringLiteral("de")
                                     << QStringLiteral("\nf") << QStringLiteral("abcde\nf") << 0;
    }
    void insertionsBeyondTheLimit() {
        QFETCH(QString, before);
        QFETCH(int, at);
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        QFETCH(QString, after);
        QFETCH(int, beeps);
        Box box(before, at);
        QTest::keyClicks(&box.box, typed);
        if (!pasted.isEmpty()) {
            QApplication::clipboard()->setText(pasted);
            box.box.paste();
        }
        QCOMPARE(box.box.toPlainText(), after);
        QCOMPARE(platform::BeepCount(), beeps);
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
