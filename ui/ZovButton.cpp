#include "ui/ZovButton.h"

#include "ui/Accessibility.h"
#include "ui/ZovShape.h"

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QShortcut>

namespace {

// How often a hovered button looks whether the pointer has left it.
constexpr int OverTimerInterval = 9;

bool IsEnterKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

QCursor PointerCursor(int pointer, const QPixmap& icon) {
    switch (pointer) {
    case 2:
        return Qt::CrossCursor;
    case 3:
        return Qt::IBeamCursor;
    case 11:
        return Qt::WaitCursor;
    case 12:
        return Qt::ForbiddenCursor;
    case 13:
        return Qt::BusyCursor;
    case 99:
        return icon.isNull() ? QCursor(Qt::ArrowCursor) : QCursor(icon);
    default:
        return Qt::ArrowCursor;
    }
}

// Tells assistive technology that the states `mark` sets may be different now.
void AnnounceState(QObject* button, void (*mark)(QAccessible::State&)) {
    if (!QAccessible::isActive())
        return;
    QAccessible::State changed;
    mark(changed);
    QAccessibleStateChangeEvent event(button, changed);
    QAccessible::updateAccessibility(&event);
}

void Announce(QObject* button, QAccessible::Event what) {
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(button, what);
    QAccessible::updateAccessibility(&event);
}

} // namespace

ZovButton::ZovButton(QWidget* parent) : QWidget(parent) {
    ui::InstallAccessibility();
    // A new button: shaded, in custom colours taken from the system's button colours.
    colors_.scheme = zov::CustomColors;
    colors_.buttonType = zov::ShadedButton;
    colors_.backColor = palette().color(QPalette::Button);
    colors_.backOver = colors_.backColor;
    colors_.foreColor = palette().color(QPalette::ButtonText);
    colors_.foreOver = colors_.foreColor;
    colors_.maskColor = QColor(192, 192, 192);

    // Tab reaches the button; a press focuses it in Press(), the right button not at all.
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    OverTimer.setInterval(OverTimerInterval);
    connect(&OverTimer, &QTimer::timeout, this, &ZovButton::OverTimer_Timer);
    Layout();
}

ZovButton::~ZovButton() = default;

QString ZovButton::Version() {
    return QStringLiteral("w2008.08.09");
}

// --- Properties -------------------------------------------------------------------------

void ZovButton::PropertyChanged() {
    Draw(request_, true);
}

void ZovButton::SetButtonType(zov::ButtonType type) {
    colors_.buttonType = type;
    Layout();
    PropertyChanged();
}

void ZovButton::SetCaption(const QString& caption) {
    caption_ = caption;
    UpdateAccessKey();
    updateGeometry();
    PropertyChanged();
    Announce(this, QAccessible::NameChanged);
}

void ZovButton::SetColorScheme(zov::ColorScheme scheme) {
    colors_.scheme = scheme;
    PropertyChanged();
}

void ZovButton::SetShowFocusRect(bool on) {
    showFocusRect_ = on;
    PropertyChanged();
}

void ZovButton::SetBackColor(const QColor& color) {
    colors_.backColor = color;
    PropertyChanged();
}

void ZovButton::SetBackOver(const QColor& color) {
    colors_.backOver = color;
    PropertyChanged();
}

void ZovButton::SetForeColor(const QColor& color) {
    colors_.foreColor = color;
    PropertyChanged();
}

void ZovButton::SetForeOver(const QColor& color) {
    colors_.foreOver = color;
    PropertyChanged();
}

void ZovButton::SetMaskColor(const QColor& color) {
    colors_.maskColor = color;
    PropertyChanged();
}

void ZovButton::SetUseMaskColor(bool on) {
    useMaskColor_ = on;
    PropertyChanged();
}

void ZovButton::SetSoftBevel(bool on) {
    colors_.softBevel = on;
    PropertyChanged();
}

void ZovButton::SetPicturePosition(int position) {
    picturePosition_ = position;
    PropertyChanged();
}

void ZovButton::SetUseGreyscale(bool on) {
    useGreyscale_ = on;
    PropertyChanged();
}

void ZovButton::SetSpecialEffect(int effect) {
    specialEffect_ = effect;
    PropertyChanged();
}

void ZovButton::SetCheckBoxBehaviour(bool on) {
    checkBox_ = on;
    PropertyChanged();
    AnnounceState(this, [](QAccessible::State& s) { s.checkable = true; });
}

void ZovButton::SetValue(bool value) {
    value_ = value;
    if (checkBox_) {
        PropertyChanged();
        AnnounceState(this, [](QAccessible::State& s) { s.checked = true; });
    }
}

void ZovButton::SetPictureNormal(const QPixmap& picture) {
    pictureNormal_ = picture;
    PropertyChanged();
}

void ZovButton::SetPictureOver(const QPixmap& picture) {
    pictureOver_ = picture;
    PropertyChanged();
}

void ZovButton::SetMousePointer(int pointer) {
    mousePointer_ = pointer;
    if (pointer == 0)
        unsetCursor();
    else
        setCursor(PointerCursor(pointer, mouseIcon_));
}

void ZovButton::SetMouseIcon(const QPixmap& icon) {
    mouseIcon_ = icon;
    SetMousePointer(mousePointer_);
}

// The font setters repaint through the FontChange event.
void ZovButton::SetFontBold(bool on) {
    QFont f = font();
    f.setBold(on);
    setFont(f);
}

void ZovButton::SetFontItalic(bool on) {
    QFont f = font();
    f.setItalic(on);
    setFont(f);
}

void ZovButton::SetFontUnderline(bool on) {
    QFont f = font();
    f.setUnderline(on);
    setFont(f);
}

void ZovButton::SetFontSize(double points) {
    QFont f = font();
    f.setPointSizeF(points);
    setFont(f);
}

void ZovButton::SetFontName(const QString& family) {
    QFont f = font();
    f.setFamily(family);
    setFont(f);
}

void ZovButton::CopyPropertiesFrom(const ZovButton& element) {
    const QMetaObject& meta = staticMetaObject;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
        const QMetaProperty property = meta.property(i);
        const QByteArrayView name(property.name());
        if (name == "Default" || name == "Cancel")
            continue;
        property.write(this, property.read(&element));
    }
    setFont(element.font());
    resize(element.size());
    setToolTip(element.toolTip());
}

void ZovButton::Refresh() {
    Draw(request_, true);
}

ZovColors ZovButton::Colors() const {
    const QPalette container = parentWidget() ? parentWidget()->palette() : palette();
    return DeriveZovColors(colors_, palette(), container, mouseOver_);
}

void ZovButton::SetUnderMouseTest(std::function<bool()> test) {
    underMouseTest_ = std::move(test);
}

QSize ZovButton::sizeHint() const {
    QString lines = caption_;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const QSize text = fontMetrics().size(Qt::TextShowMnemonic, lines.isEmpty() ? "M" : lines);
    return text + QSize(24, 14);
}

// --- Roles and access key -------------------------------------------------------------

QShortcut* ZovButton::MakeShortcut(const QKeySequence& keys) {
    auto* shortcut = new QShortcut(keys, this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, &ZovButton::ClickNow);
    return shortcut;
}

void ZovButton::UpdateAccessKey() {
    const QKeySequence keys = QKeySequence::mnemonic(caption_);
    if (keys.isEmpty()) {
        delete accessKey_;
        accessKey_ = nullptr;
        return;
    }
    if (!accessKey_) {
        accessKey_ = MakeShortcut(keys);
        // Two buttons with the same access key: the key only moves the focus, as in a
        // dialog with a clash.
        connect(accessKey_, &QShortcut::activatedAmbiguously, this,
                [this] { setFocus(Qt::ShortcutFocusReason); });
    }
    accessKey_->setKey(keys);
}

void ZovButton::ClaimRole(bool (ZovButton::*has)() const, void (ZovButton::*give)(bool)) {
    for (ZovButton* other : window()->findChildren<ZovButton*>()) {
        if (other != this && (other->*has)())
            (other->*give)(false);
    }
}

void ZovButton::SetDefault(bool on) {
    if (on)
        ClaimRole(&ZovButton::Default, &ZovButton::SetDefault);
    default_ = on;
    if (!enterKey_) {
        enterKey_ = MakeShortcut(QKeySequence(Qt::Key_Return));
        keypadEnterKey_ = MakeShortcut(QKeySequence(Qt::Key_Enter));
    }
    enterKey_->setEnabled(on);
    keypadEnterKey_->setEnabled(on);
    AnnounceState(this, [](QAccessible::State& s) { s.defaultButton = true; });
}

void ZovButton::SetCancel(bool on) {
    if (on)
        ClaimRole(&ZovButton::Cancel, &ZovButton::SetCancel);
    cancel_ = on;
    if (!escKey_)
        escKey_ = MakeShortcut(QKeySequence(Qt::Key_Escape));
    escKey_->setEnabled(on);
}

// --- Drawing ----------------------------------------------------------------------------

zov::Look ZovButton::LookFor(Request request) const {
    if (!isEnabled())
        return zov::Look::Disabled;
    if (request == Request::Down || (checkBox_ && value_))
        return zov::Look::Pressed;
    return mouseOver_ ? zov::Look::Over : zov::Look::Normal;
}

void ZovButton::Draw(Request request, bool force) {
    const bool pressedChanged = request != request_;
    request_ = request;
    if (pressedChanged)
        AnnounceState(this, [](QAccessible::State& s) { s.pressed = true; });
    if (!shown_)
        return;
    const zov::Look look = LookFor(request);
    if (!force && look == drawnLook_ && caption_ == drawnCaption_)
        return;
    drawnLook_ = look;
    drawnCaption_ = caption_;
    drawnOver_ = mouseOver_;
    ++drawCount_;
    update();
}

void ZovButton::Layout() {
    textRect_ = zov::TextRect(colors_.buttonType, rect());
    const QRegion region = zov::WindowRegion(colors_.buttonType, rect());
    if (region == QRegion(rect()))
        clearMask();
    else
        setMask(region);
}

void ZovButton::paintEvent(QPaintEvent*) {
    const QPalette container = parentWidget() ? parentWidget()->palette() : palette();
    zov::PaintRequest rq;
    rq.buttonType = colors_.buttonType;
    rq.client = rect();
    rq.textRect = textRect_;
    rq.colors = DeriveZovColors(colors_, palette(), container, drawnOver_);
    rq.look = drawnLook_;
    rq.caption = drawnCaption_;
    // Without its focus rectangle a button still shows the focus that Tab brought, so that
    // the keyboard user sees where it is; a click leaves its look alone.
    rq.drawFocusRect = hasFocus_ && (showFocusRect_ || keyboardFocus_);
    rq.specialEffect = specialEffect_;
    rq.picture = drawnOver_ && !pictureOver_.isNull() ? pictureOver_ : pictureNormal_;
    rq.picturePosition = picturePosition_;
    rq.useMaskColor = useMaskColor_;
    rq.greyPicture = useGreyscale_;
    QPainter painter(this);
    zov::PaintButton(painter, rq);
}

void ZovButton::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Layout();
    Draw(request_, true);
}

void ZovButton::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    shown_ = true;
    Draw(Request::Up, true);
}

void ZovButton::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // A hidden button is not under anything; it starts afresh when shown again.
    OverTimer.stop();
    mouseOver_ = false;
}

void ZovButton::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    switch (event->type()) {
    case QEvent::EnabledChange:
        AnnounceState(this, [](QAccessible::State& s) { s.disabled = true; });
        Draw(request_, true);
        break;
    case QEvent::ToolTipChange:
        // The tool tip is the description, and the name of a picture-only button.
        Announce(this, QAccessible::DescriptionChanged);
        Announce(this, QAccessible::NameChanged);
        break;
    case QEvent::FontChange:
    case QEvent::PaletteChange:
    case QEvent::ParentChange:
        Draw(request_, true);
        break;
    default:
        break;
    }
}

// --- Mouse ------------------------------------------------------------------------------

bool ZovButton::UnderMouse() const {
    if (underMouseTest_)
        return underMouseTest_();
    return QApplication::widgetAt(QCursor::pos()) == this;
}

void ZovButton::Press(Qt::MouseButton button) {
    if (button == Qt::RightButton)
        return;
    lastButton_ = button;
    setFocus(Qt::MouseFocusReason);
    Draw(Request::Down);
}

void ZovButton::mousePressEvent(QMouseEvent* event) {
    const QPointer<ZovButton> alive(this);
    const QPoint at = event->position().toPoint();
    emit MouseDown(event->button(), event->modifiers(), at.x(), at.y());
    if (alive)
        Press(event->button());
}

// A quick second click arrives as a double click; it is a second press, so that its
// release clicks again.
void ZovButton::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        Press(Qt::LeftButton);
}

void ZovButton::mouseMoveEvent(QMouseEvent* event) {
    const QPointer<ZovButton> alive(this);
    const QPoint at = event->position().toPoint();
    const Qt::MouseButtons buttons = event->buttons();
    emit MouseMove(buttons, event->modifiers(), at.x(), at.y());
    if (!alive || (buttons != Qt::NoButton && buttons != Qt::LeftButton))
        return;
    if (!UnderMouse()) {
        Draw(Request::Up);
        return;
    }
    if (!OverTimer.isActive()) {
        emit MouseIn();
        if (!alive)
            return;
    }
    if (buttons == Qt::NoButton && !mouseOver_) {
        OverTimer.start();
        mouseOver_ = true;
        Draw(Request::Up);
        emit MouseOver();
    } else if (buttons == Qt::LeftButton) {
        Draw(Request::Down);
    }
}

void ZovButton::mouseReleaseEvent(QMouseEvent* event) {
    const QPointer<ZovButton> alive(this);
    const QPoint at = event->position().toPoint();
    emit MouseUp(event->button(), event->modifiers(), at.x(), at.y());
    if (!alive || event->button() == Qt::RightButton)
        return;
    Draw(Request::Up);
    // The platform's click: the left button went down and came up on the button.
    if (event->button() == Qt::LeftButton && lastButton_ == Qt::LeftButton && rect().contains(at))
        ClickNow();
}

void ZovButton::OverTimer_Timer() {
    if (UnderMouse())
        return;
    OverTimer.stop();
    mouseOver_ = false;
    Draw(Request::Up);
    emit MouseOut();
}

// --- Keys -------------------------------------------------------------------------------

bool ZovButton::event(QEvent* event) {
    // Enter on a focused button presses that button rather than the window's default one.
    if (event->type() == QEvent::ShortcutOverride &&
        IsEnterKey(static_cast<QKeyEvent*>(event)->key()) &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void ZovButton::keyPressEvent(QKeyEvent* event) {
    const QPointer<ZovButton> alive(this);
    const int key = event->key();
    emit KeyDown(key, event->modifiers());
    if (alive && !event->text().isEmpty())
        emit KeyPress(event->text().at(0).unicode());
    if (!alive)
        return;
    lastKey_ = key;
    if (key == Qt::Key_Space) {
        if (!event->isAutoRepeat())
            Draw(Request::Down);
    } else if (IsEnterKey(key) && event->modifiers() == Qt::NoModifier) {
        if (!event->isAutoRepeat())
            ClickNow();
    } else {
        // Esc, F1 and the arrows belong to the window.
        event->ignore();
    }
}

void ZovButton::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat())
        return;
    const QPointer<ZovButton> alive(this);
    const int key = event->key();
    emit KeyUp(key, event->modifiers());
    if (!alive || key != Qt::Key_Space) {
        event->ignore();
        return;
    }
    if (lastKey_ == Qt::Key_Space)
        ClickNow();
    else
        Draw(Request::Up);
}

void ZovButton::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    hasFocus_ = true;
    keyboardFocus_ =
        event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    Draw(request_, true);
    AnnounceState(this, [](QAccessible::State& s) { s.focused = true; });
}

void ZovButton::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    hasFocus_ = false;
    keyboardFocus_ = false;
    Draw(request_, true);
    AnnounceState(this, [](QAccessible::State& s) { s.focused = true; });
}

void ZovButton::ClickNow() {
    if (!isEnabled())
        return;
    if (checkBox_) {
        value_ = !value_;
        AnnounceState(this, [](QAccessible::State& s) { s.checked = true; });
    }
    Draw(Request::Up, true);
    emit Click();
}

void ZovButton::PerformClick() {
    // The mouse cannot reach a hidden button, nor can its access key.
    if (isVisible())
        ClickNow();
}
