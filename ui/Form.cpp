#include "ui/Form.h"

#include "platform/ModalWindow.h"
#include "platform/Twips.h"
#include "ui/Accessibility.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>

using platform::PixelsToTwips;
using platform::Twips;

Form::Form(QWidget* parent) : QWidget(parent, Qt::Window) {
    ui::InstallAccessibility();
}

Form::~Form() {
    SetKeyPreview(false);
    SetBusy(false);
}

void Form::SetSizeTwips(int width, int height) {
    resize(Twips(width), Twips(height));
}

void Form::MoveTwips(int left, int top) {
    move(Twips(left), Twips(top));
}

int Form::WidthTwips() const {
    return PixelsToTwips(width());
}

int Form::HeightTwips() const {
    return PixelsToTwips(height());
}

void Form::SetKeyPreview(bool on) {
    if (on == keyPreview_)
        return;
    keyPreview_ = on;
    // Keys go to the focused control first; only the application sees them before it.
    if (on)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
    lastKey_ = nullptr;
    lastKeyReceiver_ = nullptr;
}

void Form::ShowModal(QWidget* parent) {
    if (parent != parentWidget())
        setParent(parent, (windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog);
    CentreOver(parent);
    platform::RunModal(this);
}

// A modal window opens in the middle of the window that opened it (of the screen when it has
// none), kept on the screen; the window manager may still have its own say.
void Form::CentreOver(QWidget* owner) {
    const QScreen* onScreen = owner ? owner->screen() : screen();
    const QRect area = onScreen ? onScreen->availableGeometry() : QRect();
    const QRect around = owner ? owner->window()->geometry() : area;
    QPoint topLeft = around.center() - QPoint(width() / 2, height() / 2);
    if (area.isValid()) {
        topLeft.setX(
            std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() - width())));
        topLeft.setY(
            std::clamp(topLeft.y(), area.top(), std::max(area.top(), area.bottom() - height())));
    }
    move(topLeft);
}

void Form::ShowModeless() {
    show();
    raise();
    activateWindow();
}

void Form::SetBusy(bool busy) {
    if (busy == busy_)
        return;
    busy_ = busy;
    setEnabled(!busy);
    if (busy)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QGuiApplication::restoreOverrideCursor();
}

void Form::TileBackground(const QPixmap& picture) {
    background_ = picture;
    update();
}

void Form::DrawPicture(QPoint pixelPos, const QPixmap& picture) {
    pictures_.append({pixelPos, picture});
    update();
}

void Form::ClearPictures() {
    pictures_.clear();
    update();
}

void Form::setVisible(bool visible) {
    QWidget::setVisible(visible);
    // Activation events need a window manager; the first show happens everywhere. It runs
    // once the window has been handed to the window system (a show event comes before
    // that), so a message asked during activation can let the window be drawn first.
    if (visible && isVisible() && !activated_) {
        activated_ = true;
        Form_Activate();
    }
}

void Form::closeEvent(QCloseEvent* event) {
    bool cancel = false;
    Form_QueryUnload(cancel);
    if (cancel) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void Form::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (background_.isNull() && pictures_.isEmpty())
        return;
    QPainter painter(this);
    if (!background_.isNull())
        painter.fillRect(rect(), QBrush(background_));
    for (const Picture& picture : pictures_)
        painter.drawPixmap(picture.pos, picture.pixmap);
}

bool Form::eventFilter(QObject* watched, QEvent* event) {
    if (keyPreview_ && event->type() == QEvent::KeyPress)
        return PreviewKey(watched, static_cast<QKeyEvent*>(event));
    // Any other event ends the delivery of the last key press.
    if (event != lastKey_)
        lastKey_ = nullptr;
    return QWidget::eventFilter(watched, event);
}

bool Form::PreviewKey(QObject* receiver, QKeyEvent* event) {
    auto* widget = qobject_cast<QWidget*>(receiver);
    if (!widget || widget->window() != this || !isEnabled())
        return false;
    // A key the control ignored travels on to its parents: it has been previewed already.
    const bool passedOn = event == lastKey_ && lastKeyReceiver_ && widget != lastKeyReceiver_ &&
                          widget->isAncestorOf(lastKeyReceiver_);
    lastKey_ = event;
    lastKeyReceiver_ = widget;
    if (passedOn)
        return false;
    const bool wasAccepted = event->isAccepted();
    event->ignore();
    Form_KeyDown(event);
    if (event->isAccepted())
        return true; // kept from the control
    event->setAccepted(wasAccepted);
    return false;
}
