// The help window: the topic each window opens, the topic menu, the about notice, the mail
// and web links, printing, and the keys.

#include "help/HelpTopics.h"
#include "help/ShowHelp.h"
#include "help/frmManual.h"
#include "platform/Desktop.h"
#include "print/PrintOutput.h"
#include "print/RecordingPageWriter.h"
#include "support/ScriptedAnswers.h"
#include "support/TestFolder.h"
#include "ui/AppTitle.h"
#include "ui/ZovButton.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <functional>

namespace {

const QString kCaption = QStringLiteral("Mirtavel -  Help Screen");

// Opens the help window on `topic` and lets `drive` work it, as the user would.
void WithHelp(help::HelpTopic topic, const std::function<void(frmManual&)>& drive) {
    ScriptedAnswers answers;
    answers.expectWindow(
        [&drive](QWidget* window) {
            auto* help = qobject_cast<frmManual*>(window);
            QVERIFY(help);
            drive(*help);
        },
        kCaption);
    help::ShowHelp(topic, nullptr);
    QVERIFY(answers.verifyDone());
}

QStringList CheckedItems(const frmManual& help) {
    QStringList checked;
    for (int k = 1; k <= help::MenuItemCount; ++k) {
        if (help.menuHelpTopic[k]->isChecked())
            checked.append(help.menuHelpTopic[k]->text());
    }
    return checked;
}

// Catches what the help window asks the desktop to open.
struct Opener {
    QList<QUrl> opened;
    explicit Opener(bool works) {
        platform::SetTargetOpener([this, works](const QUrl& url) {
            opened.append(url);
            return works;
        });
    }
    ~Opener() { platform::SetTargetOpener({}); }
};

} // namespace

class TestHelp : public QObject {
    Q_OBJECT

    std::unique_ptr<TestFolder> folder_;

private slots:
    void init() { folder_ = std::make_unique<TestFolder>(); }
    void cleanup() { folder_.reset(); }

    void eachWindowsTopic_data() {
        QTest::addColumn<int>("text");
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("label");
        QTest::newRow("title window") << 300 << 1 << "Overview";
        QTest::newRow("Admin window") << 400 << 3 << "The Admin window";
        QTest::newRow("Name List") << 500 << 4 << "The 'Name List' tab";
        QTest::newRow("Course Index") << 600 << 5 << "The 'Course Index' tab";
        QTest::newRow("course editor, blanks trimmed") << 700 << 6 << "Course Code conventions";
        QTest::newRow("item 7, blanks trimmed") << 701 << 7 << "Course Code example";
        QTest::newRow("Search/Summary") << 800 << 8 << "The 'Search/Summary' tab";
        QTest::newRow("training history") << 900 << 10 << "The 'Training History' window";
        QTest::newRow("maker") << 1000 << 13 << "About ZOV Software";
    }

    void eachWindowsTopic() {
        QFETCH(int, text);
        QFETCH(int, item);
        QFETCH(QString, label);
        const auto topic = static_cast<help::HelpTopic>(text);
        WithHelp(topic, [&](frmManual& help) {
            QCOMPARE(help.windowTitle(), kCaption);
            QCOMPARE(help.CurrentTopic(), item);
            QCOMPARE(help.labelHelpTopic->text(), label);
            QVERIFY(help.txtManual->toPlainText().size() > 200);
            QCOMPARE(help.txtManual->toPlainText(), help::TopicText(text));
            // The menu keeps the captions as they are; only the shown one is checked.
            QCOMPARE(CheckedItems(help), QStringList{help::Menu()[item].caption});
            QVERIFY(help.focusWidget() == help.cmdHelpTopic);
        });
        QCOMPARE(help::LastHelpTopic(), topic);
    }

    void theMenuAsListed() {
        WithHelp(help::HelpTopic::Overview, [](frmManual& help) {
            const QList<QAction*> actions = help.menuHelpMenu->actions();
            QCOMPARE(actions.size(), 19);
            QCOMPARE(help.menuHelpMenu->title(), QStringLiteral("Help Topics"));
            for (int k : {2, 9, 11, 14, 18})
                QVERIFY(actions[k - 1]->isSeparator());
            QCOMPARE(actions[5]->text(), QStringLiteral("         Course Code conventions"));
            QCOMPARE(actions[6]->text(), QStringLiteral("         Course Code example"));
            QCOMPARE(actions[18]->text(), QStringLiteral("Exit this Menu"));
        });
    }

    void choicesThatChangeNothing_data() {
        QTest::addColumn<int>("item");
        QTest::newRow("the topic shown") << 5;
        QTest::newRow("Exit this Menu") << 19;
        QTest::newRow("a separator") << 9;
    }

    void choicesThatChangeNothing() {
        QFETCH(int, item);
        WithHelp(help::HelpTopic::CourseIndex, [item](frmManual& help) {
            help.txtManual->moveCursor(QTextCursor::End); // where the user had read to
            const int at = help.txtManual->textCursor().position();
            help.menuHelpMenu->actions()[item - 1]->trigger();
            QCOMPARE(help.CurrentTopic(), 5);
            QCOMPARE(help.labelHelpTopic->text(), QStringLiteral("The 'Course Index' tab"));
            QCOMPARE(help.txtManual->textCursor().position(), at);
            QCOMPARE(CheckedItems(help), QStringList{QStringLiteral("The 'Course Index' tab")});
        });
    }

    void choosingAnotherTopic() {
        WithHelp(help::HelpTopic::NameList, [](frmManual& help) {
            help.menuHelpTopic[10]->trigger();
            QCOMPARE(help.CurrentTopic(), 10);
            QCOMPARE(help.labelHelpTopic->text(), QStringLiteral("The 'Training History' window"));
            QCOMPARE(help.txtManual->toPlainText(), help::TopicText(900));
            QCOMPARE(CheckedItems(help).size(), 1);
        });
    }

    void mailAndWebTargets_data() {
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("target");
        QTest::newRow("mail to ZOV Software") << 16 << "mailto:info@zovsoftware.example";
        QTest::newRow("web page") << 17 << "http://www.zovsoftware.example";
        QTest::newRow("mail to a colleague")
            << 15
            << "mailto:?subject='Mirtavel' - Police Training Record Management software from "
               "ZOV Software&body=I came across a law enforcement computer program from ZOV "
               "Software called 'Mirtavel' that you might want to know about.%0D%0A%0D%0AYou can "
               "download and install it for free at ZOV Software's website. The direct download "
               "link is%0D%0A%0D%0Ahttp://www.zovsoftware.example/downloads/mirtavel%0D%0A%0D%0A"
               "ZOV Software's website (www.zovsoftware.example) also has other law enforcement "
               "programs that you'd probably find as interesting as I did.%0D%0A%0D%0ALet me "
               "know what you think.";
    }

    void mailAndWebTargets() {
        QFETCH(int, item);
        QFETCH(QString, target);
        Opener opener(true);
        WithHelp(help::HelpTopic::Overview, [item](frmManual& help) {
            help.menuHelpTopic[item]->trigger();
            QCOMPARE(help.CurrentTopic(), 1); // the topic shown stays
            QVERIFY(help.focusWidget() == help.cmdHelpTopic);
        });
        QCOMPARE(opener.opened.size(), 1);
        QCOMPARE(opener.opened.first(), QUrl(target, QUrl::TolerantMode));
        // The line breaks reach the mail program as line breaks.
        if (item == 15)
            QVERIFY(opener.opened.first()
                        .query(QUrl::FullyDecoded)
                        .contains(QStringLiteral("about.\r\n\r\nYou can")));
    }

    void aFailingDesktopIsTold() {
        Opener opener(false);
        WithHelp(help::HelpTopic::Overview, [](frmManual& help) {
            ScriptedAnswers inner;
            inner.expectStandard(platform::StandardAnswer::Ok, QStringLiteral("Error"));
            help.menuHelpTopic[17]->trigger();
            QVERIFY(inner.verifyDone());
            QCOMPARE(inner.lastAsked().lines, QStringList{"Could not establish a connection!"});
            QCOMPARE(inner.lastAsked().icon, static_cast<int>(platform::StandardIcon::Stop));
        });
    }

    void theAboutNotice() {
        WithHelp(help::HelpTopic::Overview, [](frmManual& help) {
            ScriptedAnswers inner;
            inner.expectStandard(platform::StandardAnswer::Ok, QStringLiteral("About Mirtavel"));
            help.menuHelpTopic[12]->trigger();
            QVERIFY(inner.verifyDone());
            QCOMPARE(inner.lastAsked().icon, static_cast<int>(platform::StandardIcon::Information));
            const QStringList lines = inner.lastAsked().lines;
            QCOMPARE(lines.mid(0, 4), QStringList({"Mirtavel", "Version w1.0.0", "",
                                                   "Training Records Management"}));
            QVERIFY(lines.value(4).contains(QStringLiteral("ZOV Software")));
            QCOMPARE(help.CurrentTopic(), 1);
        });
    }

    void printingNamesTheTopicByItsMenuCaption() {
        print::RecordingPageWriter out;
        print::ReplaceOutput(&out);
        WithHelp(help::HelpTopic::CourseCodeConventions, [](frmManual& help) {
            QVERIFY(help.cmdPrintHelp->isVisible());
            help.cmdPrintHelp->Click();
        });
        print::ReplaceOutput(nullptr);
        QVERIFY(!out.texts.isEmpty());
        // Item 6 keeps its leading blanks in the printed title, not in the label.
        QCOMPARE(out.texts.first().text,
                 QStringLiteral("Mirtavel, Help Section: ") + help::Menu()[6].caption);
        QVERIFY(help::Menu()[6].caption.startsWith(QLatin1Char(' ')));
    }

    void keysAndReaders() {
        WithHelp(help::HelpTopic::AdminWindow, [](frmManual& help) {
            QCOMPARE(help.cmdHelpTopic->toolTip(), QStringLiteral(" Show all Help Topics <F1> "));
            QCOMPARE(help.cmdReturn->toolTip(), QStringLiteral(" Close this Help window <Esc> "));
            // Every control is reached with Tab and has a name for screen readers.
            QList<QWidget*> reached;
            QWidget* at = help.txtManual;
            do {
                reached.append(at);
                at = at->nextInFocusChain();
            } while (at != help.txtManual && reached.size() < 20);
            for (QWidget* control :
                 {static_cast<QWidget*>(help.txtManual), static_cast<QWidget*>(help.cmdHelpTopic),
                  static_cast<QWidget*>(help.cmdReturn)}) {
                QVERIFY(reached.contains(control));
                QVERIFY(control->focusPolicy() & Qt::TabFocus);
                QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(control);
                QVERIFY(reader);
                QVERIFY2(!reader->text(QAccessible::Name).isEmpty(),
                         control->metaObject()->className());
            }
            help.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&help));
            QTest::keyClick(help.txtManual, Qt::Key_F1);
            QVERIFY(help.menuHelpMenu->isVisible());
            help.menuHelpMenu->close();
            QTest::keyClick(help.txtManual, Qt::Key_Escape);
            QVERIFY(!help.isVisible());
        });
    }
};

QTEST_MAIN(TestHelp)
#include "test_help.moc"
