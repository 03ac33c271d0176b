#include "platform/ModalWindow.h"
#include "platform/Questions.h"
#include "platform/StandardDialogs.h"
#include "support/ScriptedAnswers.h"

#include <QCloseEvent>
#include <QDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

using namespace platform;
using Kind = Question::Kind;

namespace {

// Runs `act` on the modal window that is about to be shown on screen, once its loop runs.
template <typename Window, typename Act> void WhenShown(Act act) {
    QTimer::singleShot(0, qApp, [act] {
        auto* window = dynamic_cast<Window*>(QApplication::activeModalWidget());
        QVERIFY(window);
        act(window);
    });
}

// A window that can refuse to close, to see that a modal run still ends.
class StubbornWindow : public QWidget {
public:
    bool refuse = true;
    int closeAttempts = 0;

protected:
    void closeEvent(QCloseEvent* event) override {
        ++closeAttempts;
        if (refuse)
            event->ignore();
    }
};

// A small editor: a text box and an OK button that keeps the text and closes.
class Editor : public QWidget {
public:
    QLineEdit* txtName = new QLineEdit(this);
    QPushButton* cmdOk = new QPushButton(QStringLiteral("OK"), this);
    QString saved;

    Editor() {
        setWindowTitle(QStringLiteral("Mirtavel - Editor"));
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(txtName);
        layout->addWidget(cmdOk);
        connect(cmdOk, &QPushButton::clicked, this, &Editor::cmdOk_Click);
    }

private:
    void cmdOk_Click() {
        saved = txtName->text();
        close();
    }
};

} // namespace

class TestQuestions : public QObject {
    Q_OBJECT

private slots:
    void askUsesTheInstalledAnswerer() {
        Question q;
        q.kind = Kind::Input;
        q.title = QStringLiteral("Find Course(s)");
        int screenCalls = 0;
        const auto screen = [&] {
            ++screenCalls;
            return Answer{2, false, QStringLiteral("from screen")};
        };
        QVERIFY(!HasAnswerer());
        QCOMPARE(Ask(q, screen).text, QStringLiteral("from screen"));

        QString seenTitle;
        SetAnswerer([&](const Question& asked) {
            seenTitle = asked.title;
            return Answer{1, true, QStringLiteral("scripted")};
        });
        QVERIFY(HasAnswerer());
        const Answer a = Ask(q, screen);
        SetAnswerer({});
        QCOMPARE(a.text, QStringLiteral("scripted"));
        QVERIFY(a.dontAsk);
        QCOMPARE(seenTitle, QStringLiteral("Find Course(s)"));
        QCOMPARE(screenCalls, 1);
        QVERIFY(!HasAnswerer());
    }

    void standardMessageMapsButtons() {
        ScriptedAnswers answers;
        answers.expectStandard(StandardAnswer::Yes)
            .expectStandard(StandardAnswer::No, QStringLiteral("Confirm"))
            .expectStandard(StandardAnswer::None)
            .expectStandard(StandardAnswer::Ok, QStringLiteral("Terminating..."));
        QCOMPARE(StandardMessage(QStringLiteral("Confirm"), QStringLiteral("Sure?"),
                                 StandardIcon::None, StandardButtons::YesNo),
                 StandardAnswer::Yes);
        QCOMPARE(StandardMessage(QStringLiteral("Confirm"), QStringLiteral("Sure?"),
                                 StandardIcon::None, StandardButtons::YesNo),
                 StandardAnswer::No);
        QCOMPARE(StandardMessage(QStringLiteral("Confirm"), QStringLiteral("Sure?"),
                                 StandardIcon::None, StandardButtons::YesNo),
                 StandardAnswer::None);
        QCOMPARE(StandardMessage(QStringLiteral("Terminating..."),
                                 QStringLiteral("Mirtavel is already loaded\r\nand running on "
                                                "your computer!"),
                                 StandardIcon::Stop, StandardButtons::Ok),
                 StandardAnswer::Ok);
        QVERIFY(answers.verifyDone());

        const auto& last = answers.lastAsked();
        QCOMPARE(last.kind, Kind::StandardMessage);
        QCOMPARE(last.lines, (QStringList{QStringLiteral("Mirtavel is already loaded"),
                                          QStringLiteral("and running on your computer!")}));
        QCOMPARE(last.buttons, QStringList{QStringLiteral("OK")});
        QCOMPARE(last.icon, static_cast<int>(StandardIcon::Stop));
        QCOMPARE(answers.asked().at(0).buttons,
                 (QStringList{QStringLiteral("Yes"), QStringLiteral("No")}));
    }

    void inputAndFolderReturnTheirText() {
        ScriptedAnswers answers;
        answers.expectInput(QStringLiteral("first aid"), QStringLiteral("Find Course(s)"))
            .expectInput(QString())
            .expectFolder(QStringLiteral("/media/backup"))
            .expectFolder(QString());
        QCOMPARE(InputBox(QStringLiteral("Find Course(s)"),
                          QStringLiteral("Which course are you looking for?\r\n\r\n(Enter any "
                                         "word)"),
                          QStringLiteral("old search")),
                 QStringLiteral("first aid"));
        QCOMPARE(InputBox(QStringLiteral("Access Code Required"), QStringLiteral("Code"),
                          QStringLiteral("<Enter Access Code Here>")),
                 QString());
        QCOMPARE(PickFolder(QStringLiteral("Choose the backup folder")),
                 QStringLiteral("/media/backup"));
        QCOMPARE(PickFolder(QStringLiteral("Choose the backup folder")), QString());
        QVERIFY(answers.verifyDone());

        const auto& first = answers.asked().at(0);
        QCOMPARE(first.kind, Kind::Input);
        QCOMPARE(first.defaultText, QStringLiteral("old search"));
        QCOMPARE(first.lines.size(), 3);
        QCOMPARE(first.lines.at(1), QString());
        QCOMPARE(answers.asked().at(1).defaultText, QStringLiteral("<Enter Access Code Here>"));
        QCOMPARE(answers.asked().at(2).kind, Kind::Folder);
        QCOMPARE(answers.asked().at(2).lines,
                 QStringList{QStringLiteral("Choose the backup folder")});
    }

    void unexpectedQuestionFails() {
        ScriptedAnswers answers;
        QEXPECT_FAIL("", "nothing was expected", Continue);
        const QString typed =
            InputBox(QStringLiteral("Surprise"), QStringLiteral("?"), QStringLiteral("offered"));
        QCOMPARE(typed, QString());
        QCOMPARE(answers.asked().size(), 1);
        QCOMPARE(answers.failures().size(), 1);
        QVERIFY(answers.failures().constFirst().contains(QStringLiteral("Surprise")));
        QVERIFY(!answers.verifyDone());
    }

    void wrongQuestionFails() {
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Not authorized"), 1);
        QEXPECT_FAIL("", "a different box was asked", Continue);
        const StandardAnswer got = StandardMessage(QStringLiteral("Error"), QStringLiteral("x"),
                                                   StandardIcon::Stop, StandardButtons::Ok);
        QCOMPARE(got, StandardAnswer::None);
        QCOMPARE(answers.pending(), 0);
        QVERIFY(!answers.verifyDone());
    }

    void expectationNeverAskedIsReported() {
        ScriptedAnswers answers;
        answers.expectFolder(QStringLiteral("/tmp"));
        QTest::ignoreMessage(QtWarningMsg, "never asked: folder picker \"\"");
        QVERIFY(!answers.verifyDone());
        QCOMPARE(answers.failures().size(), 1);
    }

    void answererIsRemovedWithTheScript() {
        {
            ScriptedAnswers answers;
            QVERIFY(HasAnswerer());
        }
        QVERIFY(!HasAnswerer());
    }

    void runModalHandsTheWindowToTheAnswerer() {
        Editor editor;
        ScriptedAnswers answers;
        bool wasVisible = false;
        bool wasModal = false;
        answers.expectWindow(
            [&](QWidget* window) {
                QCOMPARE(window, &editor);
                wasVisible = window->isVisible();
                wasModal = window->isModal();
                QTest::keyClicks(editor.txtName, QStringLiteral("Smith"));
                QTest::mouseClick(editor.cmdOk, Qt::LeftButton);
            },
            QStringLiteral("Mirtavel - Editor"));
        RunModal(&editor);
        QVERIFY(answers.verifyDone());
        QVERIFY(wasVisible);
        QVERIFY(wasModal);
        QCOMPARE(editor.saved, QStringLiteral("Smith"));
        QVERIFY(!editor.isVisible());
        QCOMPARE(answers.lastAsked().kind, Kind::Window);
    }

    void runModalClosesWhatTheAnswererLeftOpen() {
        StubbornWindow window;
        ScriptedAnswers answers;
        answers.expectWindow([](QWidget*) {});
        RunModal(&window);
        QVERIFY(answers.verifyDone());
        QCOMPARE(window.closeAttempts, 1);
        QVERIFY(!window.isVisible());

        QDialog dialog;
        answers.expectWindow([](QWidget* w) { QVERIFY(w->isVisible()); });
        RunModal(&dialog);
        QVERIFY(answers.verifyDone());
        QVERIFY(!dialog.isVisible());
    }

    void runModalSurvivesAWindowDeletedByTheAnswerer() {
        QPointer<Editor> editor = new Editor;
        ScriptedAnswers answers;
        answers.expectWindow([](QWidget* w) { delete w; });
        RunModal(editor);
        QVERIFY(answers.verifyDone());
        QVERIFY(editor.isNull());
    }

    // Without an answerer the real boxes are shown; these press their buttons.
    void onScreenBoxesReturnWhatWasPressed() {
        QVERIFY(!HasAnswerer());
        WhenShown<QMessageBox>([](QMessageBox* box) {
            QCOMPARE(box->text(), QStringLiteral("one\ntwo"));
            box->button(QMessageBox::No)->click();
        });
        QCOMPARE(StandardMessage(QStringLiteral("Confirm"), QStringLiteral("one\r\ntwo"),
                                 StandardIcon::Information, StandardButtons::YesNo),
                 StandardAnswer::No);

        WhenShown<QInputDialog>([](QInputDialog* box) {
            QCOMPARE(box->textValue(), QStringLiteral("offered"));
            QCOMPARE(box->textEchoMode(), QLineEdit::Normal);
            box->setTextValue(QStringLiteral("typed"));
            box->accept();
        });
        QCOMPARE(InputBox(QStringLiteral("Find"), QStringLiteral("?"), QStringLiteral("offered")),
                 QStringLiteral("typed"));

        WhenShown<QInputDialog>([](QInputDialog* box) {
            QCOMPARE(box->textEchoMode(), QLineEdit::Password);
            box->setTextValue(QStringLiteral("Secret77"));
            box->accept();
        });
        QCOMPARE(InputBox(QStringLiteral("Code"), QStringLiteral("?"), QString(), nullptr,
                          InputEcho::Secret),
                 QStringLiteral("Secret77"));

        WhenShown<QInputDialog>([](QInputDialog* box) { box->reject(); });
        QCOMPARE(InputBox(QStringLiteral("Find"), QStringLiteral("?"), QStringLiteral("offered")),
                 QString());
    }

    void onScreenModalWindowReturnsWhenClosed() {
        Editor editor;
        WhenShown<Editor>([](Editor* shown) {
            shown->txtName->setText(QStringLiteral("Jones"));
            shown->cmdOk->click();
        });
        RunModal(&editor);
        QCOMPARE(editor.saved, QStringLiteral("Jones"));
        QVERIFY(!editor.isVisible());

        QDialog dialog;
        WhenShown<QDialog>([](QDialog* shown) { shown->accept(); });
        RunModal(&dialog);
        QVERIFY(!dialog.isVisible());
    }
};

QTEST_MAIN(TestQuestions)
#include "test_questions.moc"
