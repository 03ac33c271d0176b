#include "platform/Questions.h"
#include "platform/Sound.h"
#include "platform/Twips.h"
#include "support/ScriptedAnswers.h"
#include "ui/AppTitle.h"
#include "ui/CrLf.h"
#include "ui/MsgBoxLayout.h"
#include "ui/ZovButton.h"
#include "ui/frmMsgBox.h"
#include "ui/modMsgBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QTest>
#include <QTimer>

using platform::Twips;

namespace {

using ui::CrLf;
const QStringList Okay = {QStringLiteral("&Okay")};
const QStringList PrintOrNot = {QStringLiteral("&Yes, print"), QStringLiteral("&No, do NOT print")};

// A text of natural size width × height on a 12000 × 9000 twip screen.
MsgBoxInput Text(int width, int height, QList<int> captions = {900}) {
    MsgBoxInput in;
    in.labelWidth = width;
    in.labelHeight = height;
    in.wrappedHeight = [height](int) { return height * 3; };
    in.captionWidths = std::move(captions);
    in.screenWidth = 12000;
    in.screenHeight = 9000;
    return in;
}

// Shows a box as the user would meet it: on screen, activated, its first activation run.
void Open(frmMsgBox& box) {
    box.show();
    box.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&box));
}

QString LongLine() {
    return QStringLiteral("This line of the message is much longer than one fifth of the screen "
                          "and has to be wrapped onto several lines of the label");
}

} // namespace

class TestMsgBox : public QObject {
    Q_OBJECT

private slots:
    void init() { platform::ResetBeeps(); }

    // --- The arithmetic ---------------------------------------------------------------

    void oneLineOneButton() {
        const MsgBoxLayout l = msgbox::LayOut(Text(2000, 450));
        QVERIFY(!l.wordWrap);
        QCOMPARE(l.label, QRect(780, 250, 2000, 450));
        QCOMPARE(l.rowWidth, 1000);
        QCOMPARE(l.width, 3100); // 1100 wider than the text
        QCOMPARE(l.height, 1750);
        QCOMPARE(l.buttons.size(), 1);
        QCOMPARE(l.buttons[0], QRect(1050, 850, 900, 400)); // 50 left of the middle
        QCOMPARE(l.band, QRect(-20, 725, 3140, 1125));
        QVERIFY(!l.tooBig);
    }

    void buttonRowWiderThanText() {
        const MsgBoxLayout l = msgbox::LayOut(Text(1000, 450, {2000, 2500}));
        QCOMPARE(l.rowWidth, 4700);
        QCOMPARE(l.width, 5000);
        QCOMPARE(l.buttons[0].left(), 150);
        QCOMPARE(l.buttons[1].left(), 2250);
        QCOMPARE(l.buttons[1].top(), 850);
    }

    void rowCentredWithHalvesToEven() {
        QCOMPARE(msgbox::RoundHalfEven(550.5), 550);
        QCOMPARE(msgbox::RoundHalfEven(551.5), 552);
        QCOMPARE(msgbox::RoundHalfEven(-0.5), 0);
        // 2101 / 2 - 1000 / 2 = 550.5 and 2103 / 2 - 1000 / 2 = 551.5.
        QCOMPARE(msgbox::LayOut(Text(1001, 450)).buttons[0].left(), 550);
        QCOMPARE(msgbox::LayOut(Text(1003, 450)).buttons[0].left(), 552);
    }

    void wrapsAtTwoTenthsOfTheScreen() {
        QCOMPARE(msgbox::WrapLimit(12000), 2400);
        QCOMPARE(msgbox::WrapLimit(12345), 2468); // integer division first

        QCOMPARE(msgbox::LayOut(Text(2400, 450)).wordWrap, false);
        int askedWidth = 0;
        MsgBoxInput in = Text(2401, 450);
        in.wrappedHeight = [&askedWidth](int width) {
            askedWidth = width;
            return 900;
        };
        const MsgBoxLayout l = msgbox::LayOut(in);
        QVERIFY(l.wordWrap);
        QCOMPARE(askedWidth, 2400);
        QCOMPARE(l.label, QRect(780, 250, 2400, 900));
        QCOMPARE(l.width, 3500);
        QCOMPARE(l.height, 2200);
        QCOMPARE(l.buttons[0].top(), 1300);
    }

    void wrappedLabelCappedAt12000() {
        MsgBoxInput in = Text(30000, 450);
        in.screenWidth = 100000;
        in.screenHeight = 80000;
        const MsgBoxLayout l = msgbox::LayOut(in);
        QVERIFY(l.wordWrap);
        QCOMPARE(l.label.width(), 12000);
        QCOMPARE(l.width, 13100);
    }

    void tooBigForTheScreen() {
        QVERIFY(!msgbox::LayOut(Text(1000, 9000 - 1300)).tooBig); // exactly the screen's height
        QVERIFY(msgbox::LayOut(Text(1000, 9000 - 1299)).tooBig);
        QList<int> wide(8, 1400); // 8 × 1500 + 300 = 12300
        QVERIFY(msgbox::LayOut(Text(1000, 450, wide)).tooBig);
    }

    void dontAskBox() {
        MsgBoxInput in = Text(2000, 450);
        in.showDontAsk = true;
        const MsgBoxLayout l = msgbox::LayOut(in);
        QCOMPARE(l.height, 2050);
        QCOMPARE(l.dontAskTopLeft, QPoint(100, 850 + 400 + 100));
        QCOMPARE(l.band.height(), 2050 - 725 + 100);
    }

    void iconsAndSounds() {
        using platform::StockIconKind;
        namespace Beep = platform::Beep;
        QCOMPARE(msgbox::IconForKind(0)->icon, StockIconKind::Application);
        QCOMPARE(msgbox::IconForKind(0)->beep, Beep::Default);
        QCOMPARE(msgbox::IconForKind(1)->icon, StockIconKind::Application);
        QCOMPARE(msgbox::IconForKind(2)->icon, StockIconKind::Stop);
        QCOMPARE(msgbox::IconForKind(2)->beep, Beep::Hand);
        QCOMPARE(msgbox::IconForKind(3)->beep, Beep::Question);
        QCOMPARE(msgbox::IconForKind(4)->icon, StockIconKind::Exclamation);
        QCOMPARE(msgbox::IconForKind(4)->beep, Beep::Exclamation);
        QCOMPARE(msgbox::IconForKind(5)->icon, StockIconKind::Information);
        QCOMPARE(msgbox::IconForKind(5)->beep, Beep::Asterisk);
        for (int kind : {6, 7, 48, -1})
            QVERIFY(!msgbox::IconForKind(kind).has_value());
    }

    // --- The window -------------------------------------------------------------------

    void windowFollowsItsLayout() {
        QCOMPARE(platform::ScreenWidthTwips(), 12000); // the headless screen: 800 × 600
        frmMsgBox box(QStringLiteral("Saved"), 5, QStringLiteral("The record was saved."), 1, false,
                      Okay);
        const MsgBoxLayout& l = box.Layout();
        QCOMPARE(box.windowTitle(), QStringLiteral("Saved"));
        QCOMPARE(box.size(), QSize(Twips(l.width), Twips(l.height)));
        QCOMPARE(box.lblMessage->pos(), QPoint(Twips(780), Twips(250)));
        QCOMPARE(box.lblMessage->text(), QStringLiteral("The record was saved.\n"));
        QVERIFY(!box.lblMessage->wordWrap());
        // The text and its closing empty line: two lines.
        QCOMPARE(l.label.height(),
                 platform::PixelsToTwips(2 * box.lblMessage->fontMetrics().lineSpacing()));
        QCOMPARE(box.cmdMessageButton.size(), std::size_t(2));
        ZovButton* okay = box.cmdMessageButton[1];
        QCOMPARE(okay->Caption(), QStringLiteral(" &Okay "));
        QCOMPARE(okay->geometry().topLeft(),
                 QPoint(Twips(l.buttons[0].left()), Twips(l.buttons[0].top())));
        QCOMPARE(okay->height(), Twips(400));
        // Inherited from the template.
        QCOMPARE(okay->ButtonType(), zov::RoundedButton);
        QCOMPARE(okay->BackColor(), QColor(255, 255, 128));
        QCOMPARE(okay->ForeColor(), QColor(0, 0, 64));
        QCOMPARE(okay->ForeOver(), QColor(0, 0, 0));
        QCOMPARE(okay->font().pointSizeF(), 8.25);
        QCOMPARE(box.shp->geometry(), QRect(Twips(-20), Twips(l.band.top()), Twips(l.band.width()),
                                            Twips(l.band.height())));
        QVERIFY(box.chkDontAsk->isHidden());
        QVERIFY(box.HasIcon());
        QCOMPARE(platform::LastBeepType(), platform::Beep::Asterisk);
    }

    void longTextIsWrapped() {
        frmMsgBox box(QStringLiteral("Long"), 4, LongLine() + CrLf + QStringLiteral("Short."), 1,
                      false, Okay);
        QVERIFY(box.lblMessage->wordWrap());
        QCOMPARE(box.Layout().label.width(), 2400);
        QCOMPARE(box.lblMessage->width(), Twips(2400));
        // Several wrapped lines, the short one and the closing empty one.
        const int lines = box.Layout().label.height() /
                          platform::PixelsToTwips(box.lblMessage->fontMetrics().lineSpacing());
        QVERIFY(lines >= 5);
        QCOMPARE(box.lblMessage->height(), Twips(box.Layout().label.height()));
    }

    void enterPressesTheDefaultButton() {
        frmMsgBox box(QStringLiteral("Note"), 5, QStringLiteral("Saved."), 1, false, Okay);
        Open(box);
        QVERIFY(box.cmdMessageButton[1]->Default());
        QVERIFY(box.cmdMessageButton[1]->hasFocus());
        QTest::keyClick(&box, Qt::Key_Return);
        QCOMPARE(box.MessageResult(), 1);
        QVERIFY(!box.isVisible());
    }

    void clickAndAccessKey() {
        frmMsgBox clicked(QStringLiteral("Print"), 3, QStringLiteral("Print it?"), 2, false,
                          PrintOrNot);
        Open(clicked);
        QTest::mouseClick(clicked.cmdMessageButton[1], Qt::LeftButton);
        QCOMPARE(clicked.MessageResult(), 1);
        QVERIFY(!clicked.isVisible());

        frmMsgBox keyed(QStringLiteral("Print"), 3, QStringLiteral("Print it?"), 1, false,
                        PrintOrNot);
        Open(keyed);
        QTest::keyClick(&keyed, Qt::Key_N, Qt::AltModifier);
        QCOMPARE(keyed.MessageResult(), 2);
    }

    void secondButtonAsDefault() {
        frmMsgBox box(QStringLiteral("Print"), 3, QStringLiteral("Print it?"), 2, false,
                      PrintOrNot);
        Open(box);
        QVERIFY(box.cmdMessageButton[2]->hasFocus());
        QVERIFY(box.cmdMessageButton[2]->Default());
        QVERIFY(!box.cmdMessageButton[1]->Default());
        QTest::keyClick(&box, Qt::Key_Return);
        QCOMPARE(box.MessageResult(), 2);
    }

    void escapeAndCloseBoxGiveNothing() {
        frmMsgBox escaped(QStringLiteral("Print"), 3, QStringLiteral("Print it?"), 2, false,
                          PrintOrNot);
        Open(escaped);
        ZovButton* element = escaped.cmdMessageButton[0];
        QVERIFY(element->Cancel());
        QVERIFY(element->isVisible());
        QVERIFY(element->geometry().right() < 0); // out of sight
        QTest::keyClick(&escaped, Qt::Key_Escape);
        QCOMPARE(escaped.MessageResult(), 0);
        QVERIFY(!escaped.isVisible());

        frmMsgBox closed(QStringLiteral("Print"), 3, QStringLiteral("Print it?"), 2, false,
                         PrintOrNot);
        Open(closed);
        QVERIFY(closed.close());
        QCOMPARE(closed.MessageResult(), 0);
    }

    void defaultButtonWithoutAButton() {
        frmMsgBox box(QStringLiteral("Print"), 3, QStringLiteral("Print it?"), 5, false,
                      PrintOrNot);
        Open(box);
        QVERIFY(box.isVisible());
        for (ZovButton* button : box.cmdMessageButton)
            QVERIFY(!button->Default());
        QTest::keyClick(&box, Qt::Key_Escape);
        QCOMPARE(box.MessageResult(), 0);
    }

    void dontAskReportedWithTheButton() {
        frmMsgBox box(QStringLiteral("Tip"), 5, QStringLiteral("A tip."), 1, true, Okay);
        const MsgBoxLayout& l = box.Layout();
        QCOMPARE(box.height(), Twips(l.height));
        Open(box);
        QVERIFY(box.chkDontAsk->isVisible());
        QVERIFY(!box.chkDontAsk->isChecked());
        QCOMPARE(box.chkDontAsk->text(), QStringLiteral("Don't show this again"));
        QCOMPARE(box.chkDontAsk->pos(), QPoint(Twips(100), Twips(l.dontAskTopLeft.y())));
        box.chkDontAsk->setChecked(true);
        QTest::mouseClick(box.cmdMessageButton[1], Qt::LeftButton);
        QCOMPARE(box.MessageResult(), 1);
        QVERIFY(box.MessageDontAsk());
    }

    void iconKindsAndSounds() {
        for (int kind = 0; kind <= 5; ++kind) {
            platform::ResetBeeps();
            frmMsgBox box(QStringLiteral("Kind"), kind, QStringLiteral("Text"), 1, false, Okay);
            QVERIFY(box.HasIcon());
            QCOMPARE(platform::BeepCount(), 1);
            QCOMPARE(platform::LastBeepType(), msgbox::IconForKind(kind)->beep);
        }
        for (int kind : {7, -1, 48}) {
            platform::ResetBeeps();
            frmMsgBox box(QStringLiteral("Kind"), kind, QStringLiteral("Text"), 1, false, Okay);
            QVERIFY(!box.HasIcon());
            QCOMPARE(platform::BeepCount(), 0);
            QCOMPARE(box.lblMessage->x(), Twips(780)); // the text stays where it was
        }
    }

    void tooBigShowsTheNoticeInstead() {
        ScriptedAnswers answers;
        answers.expectStandard(platform::StandardAnswer::Ok, QStringLiteral("Display issue"));
        QStringList lines;
        for (int i = 0; i < 300; ++i)
            lines.append(QStringLiteral("Line %1").arg(i));
        frmMsgBox box(QStringLiteral("Huge"), 2, lines.join(CrLf), 1, false, Okay);
        QVERIFY(answers.verifyDone());
        QVERIFY(box.Layout().tooBig);
        QCOMPARE(answers.lastAsked().icon, int(platform::StandardIcon::Stop));
        QCOMPARE(answers.lastAsked().buttons, QStringList{QStringLiteral("OK")});
        QCOMPARE(
            answers.lastAsked().lines,
            (QStringList{QStringLiteral("Mirtavel is trying to display a message"),
                         QStringLiteral("that is too big for your screen resolution."), QString(),
                         QStringLiteral("Please contact ZOV Software about this.")}));
        QCOMPARE(platform::BeepCount(), 0);
        QCOMPARE(box.Run(nullptr), 0);
        QVERIFY(!box.isVisible());
    }

    void runsModally() {
        frmMsgBox box(QStringLiteral("Note"), 5, QStringLiteral("Saved."), 1, false, Okay);
        QTimer::singleShot(0, &box, [&box] {
            if (QTest::qWaitForWindowActive(&box))
                QTest::keyClick(&box, Qt::Key_Return);
            else
                box.close();
        });
        QCOMPARE(box.Run(nullptr), 1);
    }

    // --- ShowMessage ------------------------------------------------------------------

    void showMessageThroughTheSeam() {
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Print"), 2, true);
        const int pressed = ShowMessage(QStringLiteral("Print"), 3,
                                        QStringLiteral("Print it?") + CrLf + QStringLiteral("Now?"),
                                        2, true, PrintOrNot);
        QVERIFY(answers.verifyDone());
        QCOMPARE(pressed, 2);
        const ScriptedAnswers::Asked& asked = answers.lastAsked();
        QCOMPARE(asked.kind, platform::Question::Kind::Message);
        QCOMPARE(asked.lines, (QStringList{QStringLiteral("Print it?"), QStringLiteral("Now?")}));
        QCOMPARE(asked.buttons, PrintOrNot);
        QCOMPARE(asked.defaultButton, 2);
        QCOMPARE(asked.icon, 3);
    }

    // The path every caller takes, on screen: the real box, answered by a key press queued
    // before it is shown.
    void showMessageOnScreen() {
        QVERIFY(!platform::HasAnswerer());
        // The key waits for the box: it is looked for until it is up.
        QTimer presser;
        presser.setInterval(10);
        QObject::connect(&presser, &QTimer::timeout, [&presser] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<frmMsgBox*>(window);
                if (!box || !box->isVisible())
                    continue;
                presser.stop();
                // A box that never becomes active is closed, so the test fails, not hangs.
                if (QTest::qWaitForWindowActive(box))
                    QTest::keyClick(box, Qt::Key_N, Qt::AltModifier);
                else
                    box->close();
                return;
            }
        });
        presser.start();
        const int pressed = ShowMessage(QStringLiteral("Print"), 3, QStringLiteral("Print it?"), 1,
                                        false, PrintOrNot);
        QCOMPARE(pressed, 2);
        QCOMPARE(platform::LastBeepType(), platform::Beep::Question);
        QVERIFY(!QApplication::activeModalWidget());
    }

    // Closed without a button (Esc, the close box): no button was pressed.
    void showMessageClosedPressesNothing() {
        ScriptedAnswers answers;
        answers.expectMessage(QStringLiteral("Note"), 0);
        QCOMPARE(ShowMessage(QStringLiteral("Note"), 5, QStringLiteral("Hi"), 1, false, Okay), 0);
        QVERIFY(answers.verifyDone());
    }
};

QTEST_MAIN(TestMsgBox)
#include "test_msgbox.moc"
