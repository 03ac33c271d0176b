#include "ui/ZovButton.h"
#include "ui/ZovColors.h"
#include "ui/ZovShape.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {

using zov::Look;

// A window with one shown button; the button's "under the mouse" answer is `over`.
struct Stage {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    ZovButton* button = new ZovButton(window.get());
    bool over = false;

    Stage() {
        window->resize(300, 120);
        window->setAutoFillBackground(true);
        QPalette pal = window->palette();
        pal.setColor(QPalette::Window, QColor(10, 200, 10));
        window->setPalette(pal);
        button->setGeometry(20, 20, 120, 40);
        button->SetCaption(QStringLiteral("&Okay"));
        button->SetBackColor(QColor(255, 255, 128));
        button->SetBackOver(QColor(255, 255, 128));
        button->SetForeColor(QColor(0, 0, 64));
        button->SetForeOver(QColor(0, 0, 0));
        button->SetUnderMouseTest([this] { return over; });
        window->show();
        window->activateWindow();
        (void)QTest::qWaitForWindowActive(window.get());
        // Activation focuses the button; tests that want the focus give it.
        button->clearFocus();
    }

    // What the platform sends for one mouse button: press, release, and for a quick second
    // click a double click in place of the second press.
    void Send(QEvent::Type type, Qt::MouseButton which, QPoint at = QPoint(30, 15)) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : which;
        QMouseEvent e(type, at, button->mapToGlobal(at), which, held, Qt::NoModifier);
        QApplication::sendEvent(button, &e);
    }

    void Move(Qt::MouseButtons buttons = Qt::NoButton, QPoint at = QPoint(30, 15)) {
        QMouseEvent e(QEvent::MouseMove, at, button->mapToGlobal(at), Qt::NoButton, buttons,
                      Qt::NoModifier);
        QApplication::sendEvent(button, &e);
    }
    void Enter() {
        over = true;
        Move();
    }
    // The hover timer sees the pointer gone on its next tick.
    void Leave() {
        over = false;
        QTRY_VERIFY_WITH_TIMEOUT(!button->HoverTimerRunning(), 1000);
    }
};

// Counts every event a button raises.
struct Spies {
    QSignalSpy click, mouseIn, mouseOver, mouseOut;
    explicit Spies(ZovButton* b)
        : click(b, &ZovButton::Click), mouseIn(b, &ZovButton::MouseIn),
          mouseOver(b, &ZovButton::MouseOver), mouseOut(b, &ZovButton::MouseOut) {}
};

QColor PixelAt(QWidget* w, QPoint p) {
    return w->grab().toImage().pixelColor(p);
}

// Rows of the button's image in which some pixel is close to `ink`.
QList<int> InkRows(const QImage& image, const QColor& ink) {
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - ink.red()) + std::abs(c.green() - ink.green()) +
                    std::abs(c.blue() - ink.blue()) <
                120) {
                rows.append(y);
                break;
            }
        }
    }
    return rows;
}

} // namespace

class TestZovButton : public QObject {
    Q_OBJECT

private slots:
    void shiftClampsAndSoftens() {
        QCOMPARE(Shift(QColor(250, 10, 100), 31), QColor(255, 41, 131));
        QCOMPARE(Shift(QColor(250, 10, 100), -64), QColor(186, 0, 36));
        QCOMPARE(Shift(QColor(100, 100, 100), -64, true), QColor(68, 68, 68));
        QCOMPARE(Shift(QColor(100, 100, 100), 47, true), QColor(123, 123, 123));
    }

    void customSchemeDerivesItsShades() {
        ZovColorInputs in;
        in.scheme = zov::CustomColors;
        in.buttonType = zov::ShadedButton;
        in.backColor = QColor(100, 150, 200);
        in.backOver = QColor(10, 20, 30);
        in.foreColor = Qt::black;
        in.foreOver = Qt::white;
        in.maskColor = QColor(192, 192, 192);
        const QPalette pal;
        const ZovColors c = DeriveZovColors(in, pal, pal, false);
        QCOMPARE(c.face, QColor(100, 150, 200));
        QCOMPARE(c.shadow, QColor(36, 86, 136));
        QCOMPARE(c.light, QColor(131, 181, 231));
        QCOMPARE(c.highlight, QColor(147, 197, 247));
        QCOMPARE(c.darkShadow, QColor(0, 0, 8));
        QCOMPARE(c.selection, QColor(0, 22, 72));
        QCOMPARE(c.accent, QColor(148, 198, 248));
        QCOMPARE(c.text, QColor(Qt::black));
        QCOMPARE(c.textOver, QColor(Qt::white));
        QCOMPARE(DeriveZovColors(in, pal, pal, true).face, QColor(10, 20, 30));

        // The rounded type lifts blue by its share of 192 only.
        in.buttonType = zov::RoundedButton;
        in.backColor = QColor(255, 255, 128);
        QCOMPARE(DeriveZovColors(in, pal, pal, false).accent, QColor(255, 255, 160));
        in.softBevel = true;
        QCOMPARE(DeriveZovColors(in, pal, pal, false).accent, QColor(255, 255, 144));
        QCOMPARE(DeriveZovColors(in, pal, pal, false).shadow, QColor(223, 223, 96));
    }

    void fixedAndSystemSchemes() {
        ZovColorInputs in;
        in.scheme = zov::FixedGrey;
        const QPalette pal;
        const ZovColors fixed = DeriveZovColors(in, pal, pal, false);
        QCOMPARE(fixed.face, QColor(192, 192, 192));
        QCOMPARE(fixed.light, QColor(223, 223, 223));
        QCOMPARE(fixed.selection, QColor(0, 0, 128));
        in.scheme = zov::SystemColors;
        QCOMPARE(DeriveZovColors(in, pal, pal, false).face, pal.color(QPalette::Button));
        QPalette container;
        container.setColor(QPalette::Window, QColor(40, 50, 60));
        in.scheme = zov::ContainerColors;
        const ZovColors fromContainer = DeriveZovColors(in, pal, container, false);
        QCOMPARE(fromContainer.face, QColor(40, 50, 60));
        QCOMPARE(fromContainer.shadow, QColor(0, 0, 0));
    }

    void shapesByType() {
        const QRect r(0, 0, 80, 30);
        QCOMPARE(zov::TextRect(zov::RoundedButton, r), QRect(4, 4, 72, 22));
        QCOMPARE(zov::TextRect(zov::SeeThroughButton, r), QRect(3, 3, 74, 24));
        QCOMPARE(zov::TextRect(zov::ShadedButton, r), QRect(6, 6, 70, 20));
        QCOMPARE(zov::TextRect(zov::ButtonType(2), r), r); // a number naming no type

        const QRegion rounded = zov::WindowRegion(zov::RoundedButton, r);
        for (const QPoint p : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(79, 0),
                               QPoint(78, 0), QPoint(79, 1), QPoint(0, 29), QPoint(1, 29),
                               QPoint(0, 28), QPoint(79, 29), QPoint(78, 29), QPoint(79, 28)})
            QVERIFY2(!rounded.contains(p),
                     qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
        for (const QPoint p : {QPoint(1, 1), QPoint(2, 0), QPoint(0, 2), QPoint(77, 29)})
            QVERIFY(rounded.contains(p));

        const QRegion square = zov::WindowRegion(zov::ShadedButton, r);
        QVERIFY(!square.contains(QPoint(0, 29)));
        QVERIFY(!square.contains(QPoint(79, 0)));
        QVERIFY(square.contains(QPoint(0, 0)));
        QVERIFY(square.contains(QPoint(79, 29)));
        QCOMPARE(zov::WindowRegion(zov::SeeThroughButton, r), QRegion(r));
    }

    void roundedButtonOnItsWindow() {
        Stage s;
        s.button->SetButtonType(zov::RoundedButton);
        QVERIFY(!s.button->mask().contains(QPoint(0, 0)));
        const QImage shot = s.window->grab().toImage();
        // The cut corner shows the window; the pixel inside it is the corner blue.
        QCOMPARE(shot.pixelColor(20, 20), QColor(10, 200, 10));
        QCOMPARE(shot.pixelColor(21, 21), QColor(16, 77, 123));
        QCOMPARE(shot.pixelColor(30, 20), QColor(0, 60, 115));
        // The face ramp starts from the accent: line 10 of 40 is 25 * 10 / 40 = 6 darker.
        QCOMPARE(shot.pixelColor(20 + 60, 20 + 10), QColor(249, 249, 154));
        s.button->SetButtonType(zov::SeeThroughButton);
        QVERIFY(s.button->mask().isEmpty());
        // At rest the see-through type paints nothing of its own.
        QCOMPARE(PixelAt(s.window.get(), QPoint(22, 22)), QColor(10, 200, 10));
    }

    void twoLineCaptionDrawsTwoLines() {
        Stage s;
        s.button->resize(160, 60);
        s.button->SetCaption(QStringLiteral("&Save\r\nNew Entry"));
        const QList<int> rows = InkRows(s.button->grab().toImage(), QColor(0, 0, 64));
        QVERIFY(!rows.isEmpty());
        // Two separate bands of ink, one above the middle and one below.
        QVERIFY(rows.first() < 30 && rows.last() > 30);
        int gaps = 0;
        for (int i = 1; i < rows.size(); ++i)
            gaps += rows[i] - rows[i - 1] > 2 ? 1 : 0;
        QCOMPARE(gaps, 1);
        QVERIFY(s.button->sizeHint().height() > s.button->fontMetrics().lineSpacing() * 2);
    }

    void leftClicksAndDoubleClicks() {
        Stage s;
        Spies spy(s.button);
        QSignalSpy down(s.button, &ZovButton::MouseDown);
        QSignalSpy up(s.button, &ZovButton::MouseUp);
        QTest::mouseClick(s.button, Qt::LeftButton);
        QCOMPARE(spy.click.count(), 1);
        QCOMPARE(down.count(), 1);
        QCOMPARE(up.count(), 1);
        QCOMPARE(s.button->DrawnLook(), Look::Normal);

        s.Send(QEvent::MouseButtonPress, Qt::LeftButton);
        s.Send(QEvent::MouseButtonRelease, Qt::LeftButton);
        s.Send(QEvent::MouseButtonDblClick, Qt::LeftButton);
        QCOMPARE(s.button->DrawnLook(), Look::Pressed);
        s.Send(QEvent::MouseButtonRelease, Qt::LeftButton);
        QCOMPARE(spy.click.count(), 3);
        QCOMPARE(down.count(), 2); // the double click is no second MouseDown

        // Released off the button: no click.
        QTest::mousePress(s.button, Qt::LeftButton);
        QCOMPARE(s.button->DrawnLook(), Look::Pressed);
        QTest::mouseRelease(s.button, Qt::LeftButton, {}, QPoint(200, 15));
        QCOMPARE(spy.click.count(), 3);
        QCOMPARE(s.button->DrawnLook(), Look::Normal);
    }

    void rightAndMiddleButtons() {
        Stage s;
        Spies spy(s.button);
        const int draws = s.button->DrawCount();
        QSignalSpy down(s.button, &ZovButton::MouseDown);
        QTest::mousePress(s.button, Qt::RightButton);
        QCOMPARE(down.count(), 1);
        QCOMPARE(s.button->DrawnLook(), Look::Normal);
        QTest::mouseRelease(s.button, Qt::RightButton);
        QCOMPARE(s.button->DrawCount(), draws);
        QVERIFY(!s.button->hasFocus());
        QCOMPARE(spy.click.count(), 0);

        QTest::mousePress(s.button, Qt::MiddleButton);
        QCOMPARE(s.button->DrawnLook(), Look::Pressed);
        QTest::mouseRelease(s.button, Qt::MiddleButton);
        QCOMPARE(s.button->DrawnLook(), Look::Normal);
        QCOMPARE(spy.click.count(), 0);
        QVERIFY(s.button->hasFocus());
    }

    void disabledIgnoresClicks() {
        Stage s;
        Spies spy(s.button);
        s.button->setEnabled(false);
        QCOMPARE(s.button->DrawnLook(), Look::Disabled);
        QTest::mouseClick(s.button, Qt::LeftButton);
        QCOMPARE(spy.click.count(), 0);
    }

    void spaceBar() {
        Stage s;
        Spies spy(s.button);
        s.button->setFocus();
        QTest::keyPress(s.button, Qt::Key_Space);
        QCOMPARE(s.button->DrawnLook(), Look::Pressed);
        QTest::keyRelease(s.button, Qt::Key_Space);
        QCOMPARE(spy.click.count(), 1);
        QCOMPARE(s.button->DrawnLook(), Look::Normal);

        // Space down, another key up: no click.
        QTest::keyPress(s.button, Qt::Key_Space);
        QTest::keyRelease(s.button, Qt::Key_A);
        QCOMPARE(spy.click.count(), 1);
        // Another key went down after Space: its release no longer clicks.
        QTest::keyPress(s.button, Qt::Key_A);
        QTest::keyRelease(s.button, Qt::Key_Space);
        QCOMPARE(spy.click.count(), 1);
        QCOMPARE(s.button->DrawnLook(), Look::Normal);
    }

    void keyEvents() {
        Stage s;
        s.button->setFocus();
        QSignalSpy keyDown(s.button, &ZovButton::KeyDown);
        QSignalSpy keyPress(s.button, &ZovButton::KeyPress);
        QSignalSpy keyUp(s.button, &ZovButton::KeyUp);
        QTest::keyClick(s.button, 'b');
        QCOMPARE(keyDown.count(), 1);
        QCOMPARE(keyDown.last().at(0).toInt(), int(Qt::Key_B));
        QCOMPARE(keyPress.count(), 1);
        QCOMPARE(keyPress.first().at(0).toInt(), int('b'));
        QCOMPARE(keyUp.count(), 1);
        // QTest presses Control itself first, as a keyboard would; F5 types nothing.
        QTest::keyClick(s.button, Qt::Key_F5, Qt::ControlModifier);
        QCOMPARE(keyDown.last().at(0).toInt(), int(Qt::Key_F5));
        QCOMPARE(keyDown.last().at(1).value<Qt::KeyboardModifiers>(), Qt::ControlModifier);
        QCOMPARE(keyPress.count(), 1);
    }

    void hoverInOverOut() {
        Stage s;
        Spies spy(s.button);
        s.Enter();
        QCOMPARE(spy.mouseIn.count(), 1);
        QCOMPARE(spy.mouseOver.count(), 1);
        QVERIFY(s.button->IsMouseOver());
        QVERIFY(s.button->HoverTimerRunning());
        QCOMPARE(s.button->DrawnLook(), Look::Over);
        s.Move();
        s.Move();
        QCOMPARE(spy.mouseIn.count(), 1);
        QCOMPARE(spy.mouseOver.count(), 1);

        s.Leave();
        QCOMPARE(spy.mouseOut.count(), 1);
        QVERIFY(!s.button->IsMouseOver());
        QCOMPARE(s.button->DrawnLook(), Look::Normal);
        QTest::qWait(40); // several more ticks would have passed
        QCOMPARE(spy.mouseOut.count(), 1);
        QCOMPARE(spy.mouseIn.count(), 1);
    }

    void hoverUsesTheOverColours() {
        Stage s;
        s.button->SetBackOver(QColor(0, 128, 128));
        QCOMPARE(s.button->Colors().face, QColor(255, 255, 128));
        s.Enter();
        QCOMPARE(s.button->Colors().face, QColor(0, 128, 128));
        s.Leave();
    }

    void leftButtonDragInAndOut() {
        Stage s;
        Spies spy(s.button);
        QTest::mousePress(s.button, Qt::LeftButton);
        s.over = false;
        s.Move(Qt::LeftButton, QPoint(200, 15));
        QCOMPARE(s.button->DrawnLook(), Look::Normal);
        s.over = true;
        s.Move(Qt::LeftButton);
        QCOMPARE(s.button->DrawnLook(), Look::Pressed);
        // With a button held the hover timer does not start, so every move is an entry.
        QCOMPARE(spy.mouseOver.count(), 0);
        QVERIFY(spy.mouseIn.count() >= 1);
        QTest::mouseRelease(s.button, Qt::LeftButton);
        QCOMPARE(spy.click.count(), 1);
    }

    void checkButtonStaysDown() {
        Stage s;
        Spies spy(s.button);
        s.button->SetCheckBoxBehaviour(true);
        QTest::mouseClick(s.button, Qt::LeftButton);
        QVERIFY(s.button->Value());
        QCOMPARE(s.button->DrawnLook(), Look::Pressed);
        s.Enter();
        QCOMPARE(s.button->DrawnLook(), Look::Pressed);
        s.Leave();
        QCOMPARE(s.button->DrawnLook(), Look::Pressed);
        s.button->setFocus();
        QTest::keyClick(s.button, Qt::Key_Space);
        QVERIFY(!s.button->Value());
        QCOMPARE(s.button->DrawnLook(), Look::Normal);
        QCOMPARE(spy.click.count(), 2);
        s.button->SetValue(true);
        QCOMPARE(s.button->DrawnLook(), Look::Pressed);
    }

    void valueOfAPlainButtonDoesNotRepaint() {
        Stage s;
        const int draws = s.button->DrawCount();
        s.button->SetValue(true);
        QCOMPARE(s.button->DrawCount(), draws);
        QCOMPARE(s.button->DrawnLook(), Look::Normal);
        QTest::mouseClick(s.button, Qt::LeftButton);
        QVERIFY(s.button->Value()); // untouched by clicks
    }

    void repaintsOnlyWhatChanged() {
        Stage s;
        int draws = s.button->DrawCount();
        QVERIFY(draws >= 1);
        // Moves while the pointer is elsewhere and releases that change nothing.
        s.over = false;
        s.Move();
        s.Move();
        QTest::mouseRelease(s.button, Qt::MiddleButton);
        QTest::mouseRelease(s.button, Qt::MiddleButton);
        QCOMPARE(s.button->DrawCount(), draws);

        // Any property set repaints, even with the same value.
        s.button->SetCaption(s.button->Caption());
        QCOMPARE(s.button->DrawCount(), ++draws);
        s.button->SetCaption(QStringLiteral("&Other"));
        QCOMPARE(s.button->DrawCount(), ++draws);
        s.button->SetBackColor(QColor(1, 2, 3));
        QCOMPARE(s.button->DrawCount(), ++draws);
        s.button->SetFontBold(true);
        QCOMPARE(s.button->DrawCount(), ++draws);
        s.button->Refresh();
        QCOMPARE(s.button->DrawCount(), ++draws);
        s.button->setEnabled(false);
        QCOMPARE(s.button->DrawCount(), ++draws);
    }

    void hiddenButtonDrawsWhenShown() {
        QWidget window;
        auto* button = new ZovButton(&window);
        button->SetCaption(QStringLiteral("x"));
        QCOMPARE(button->DrawCount(), 0);
        button->SetBackColor(Qt::red);
        QCOMPARE(button->DrawCount(), 0);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(button->DrawCount() >= 1);
        QCOMPARE(button->DrawnLook(), Look::Normal);
    }

    void accessKey() {
        Stage s;
        Spies spy(s.button);
        QTest::keyClick(s.window.get(), Qt::Key_O, Qt::AltModifier);
        QCOMPARE(spy.click.count(), 1);
        s.button->SetCaption(QStringLiteral("E&xit"));
        QTest::keyClick(s.window.get(), Qt::Key_O, Qt::AltModifier);
        QCOMPARE(spy.click.count(), 1);
        QTest::keyClick(s.window.get(), Qt::Key_X, Qt::AltModifier);
        QCOMPARE(spy.click.count(), 2);
    }

    void defaultAndCancelRoles() {
        Stage s;
        auto* other = new ZovButton(s.window.get());
        other->setGeometry(160, 20, 100, 40);
        other->show();
        QSignalSpy first(s.button, &ZovButton::Click);
        QSignalSpy second(other, &ZovButton::Click);

        s.button->SetDefault(true);
        other->SetCancel(true);
        s.window->setFocus();
        QTest::keyClick(s.window.get(), Qt::Key_Return);
        QTest::keyClick(s.window.get(), Qt::Key_Enter);
        QCOMPARE(first.count(), 2);
        QTest::keyClick(s.window.get(), Qt::Key_Escape);
        QCOMPARE(second.count(), 1);

        // One default per window.
        other->SetDefault(true);
        QVERIFY(!s.button->Default());
        QTest::keyClick(s.window.get(), Qt::Key_Return);
        QCOMPARE(second.count(), 2);
        QCOMPARE(first.count(), 2);

        // Enter on a focused button presses that one.
        s.button->setFocus();
        QTest::keyClick(s.button, Qt::Key_Return);
        QCOMPARE(first.count(), 3);
        QCOMPARE(second.count(), 2);

        // A disabled default button is not pressed.
        other->setEnabled(false);
        s.window->setFocus();
        QTest::keyClick(s.window.get(), Qt::Key_Return);
        QCOMPARE(second.count(), 2);
    }

    void focusRectangleFollowsFocus() {
        Stage s;
        const int draws = s.button->DrawCount();
        s.button->setFocus();
        QTRY_VERIFY(s.button->hasFocus());
        QVERIFY(s.button->DrawCount() > draws);
        const QImage focused = s.button->grab().toImage();
        s.button->SetShowFocusRect(false);
        QVERIFY(s.button->grab().toImage() != focused);
    }

    void pictureMaskAndGrey() {
        QImage image(4, 1, QImage::Format_RGB32);
        image.setPixelColor(0, 0, QColor(192, 192, 192));
        image.setPixelColor(1, 0, QColor(255, 0, 0));
        image.setPixelColor(2, 0, QColor(0, 0, 255));
        image.setPixelColor(3, 0, QColor(192, 192, 192));
        const QPixmap pic = QPixmap::fromImage(image);
        const QColor mask(192, 192, 192);
        const QImage masked = zov::PreparedPicture(pic, mask, true, false).toImage();
        QCOMPARE(masked.pixelColor(0, 0).alpha(), 0);
        QCOMPARE(masked.pixelColor(1, 0), QColor(255, 0, 0));
        const QImage unmasked = zov::PreparedPicture(pic, mask, false, false).toImage();
        QCOMPARE(unmasked.pixelColor(3, 0), mask);
        const QImage grey = zov::PreparedPicture(pic, mask, true, true).toImage();
        const QColor g = grey.pixelColor(1, 0);
        QCOMPARE(g.red(), g.green());
        QCOMPARE(g.green(), g.blue());
        QCOMPARE(grey.pixelColor(3, 0).alpha(), 0);

        // On a button, the over picture replaces the normal one under the mouse.
        Stage s;
        s.button->SetCaption(QString());
        s.button->SetButtonType(zov::SeeThroughButton);
        QPixmap red(8, 8), blue(8, 8);
        red.fill(Qt::red);
        blue.fill(Qt::blue);
        s.button->SetPictureNormal(red);
        s.button->SetPictureOver(blue);
        const QPoint middle = s.button->rect().center();
        QCOMPARE(PixelAt(s.button, middle), QColor(Qt::red));
        s.Enter();
        QCOMPARE(PixelAt(s.button, middle), QColor(Qt::blue));
        s.Leave();
        s.button->setEnabled(false);
        const QColor disabled = PixelAt(s.button, middle);
        QCOMPARE(disabled.red(), disabled.blue());
    }

    void specialEffectDrawsAShadow() {
        Stage s;
        s.button->SetButtonType(zov::SeeThroughButton);
        s.button->SetCaption(QStringLiteral("W"));
        const QImage plain = s.button->grab().toImage();
        s.button->SetSpecialEffect(3);
        const QImage shadowed = s.button->grab().toImage();
        QVERIFY(plain != shadowed);
        s.button->SetSpecialEffect(0);
        QCOMPARE(s.button->grab().toImage(), plain);
    }

    void propertiesByTheirNames() {
        ZovButton b;
        QCOMPARE(b.ButtonType(), zov::ShadedButton);
        QCOMPARE(b.ColorScheme(), zov::CustomColors);
        // The property holds the number a window's design stores.
        QVERIFY(b.setProperty("ButtonType", 3));
        QCOMPARE(b.ButtonType(), zov::RoundedButton);
        QVERIFY(b.setProperty("ColorScheme", 4));
        QCOMPARE(b.ColorScheme(), zov::ContainerColors);
        QCOMPARE(b.property("ButtonType").toInt(), 3);
        QCOMPARE(b.MaskColor(), QColor(192, 192, 192));
        QVERIFY(b.ShowFocusRect());
        QVERIFY(b.UseMaskColor());
        QCOMPARE(ZovButton::Version(), QStringLiteral("w2008.08.09"));
        QVERIFY(b.setProperty("Caption", QStringLiteral("&Print")));
        QCOMPARE(b.Caption(), QStringLiteral("&Print"));
        b.SetTag(QStringLiteral("Update"));
        QCOMPARE(b.property("Tag").toString(), QStringLiteral("Update"));
        b.SetFontSize(11);
        QCOMPARE(b.FontSize(), 11.0);
        b.SetMousePointer(11);
        QCOMPARE(b.cursor().shape(), Qt::WaitCursor);
        b.SetMousePointer(0);
        QCOMPARE(b.cursor().shape(), Qt::ArrowCursor);
    }
};

QTEST_MAIN(TestZovButton)
#include "test_zovbutton.moc"
