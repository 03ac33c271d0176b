#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "ui/ZovButtonPainter.h"
#include "ui/ZovColors.h"

class QShortcut;

// The program's push button: it paints itself (shaded faces in the colours a window gives
// it, a hover look, a pressed look, an optional picture), clips itself to its shape, follows
// the mouse to know when it is under the pointer, and raises the button events to its
// window. It can also stay down as a two-state button (CheckBoxBehaviour with Value).
//
// Drawn types (zov::ButtonType): rounded with a blue frame (the message box), see-through on
// textured backgrounds, framed while hovered or pressed, and square and shaded (most
// buttons). Other stored numbers draw as the shaded type. Qt paints the window under a child
// before the child, so the see-through type and the cut corners show the window's current
// pixels without a copy of them being kept.
//
// Like any button it has a caption with an access key ("&Save"; CR LF for a second line),
// Default and Cancel roles (Enter and Esc press it), a Tag and a tool tip (setToolTip).
class ZovButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int ButtonType READ ButtonType WRITE SetButtonType)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int ColorScheme READ ColorScheme WRITE SetColorScheme)
    Q_PROPERTY(bool ShowFocusRect READ ShowFocusRect WRITE SetShowFocusRect)
    Q_PROPERTY(QColor BackColor READ BackColor WRITE SetBackColor)
    Q_PROPERTY(QColor BackOver READ BackOver WRITE SetBackOver)
    Q_PROPERTY(QColor ForeColor READ ForeColor WRITE SetForeColor)
    Q_PROPERTY(QColor ForeOver READ ForeOver WRITE SetForeOver)
    Q_PROPERTY(QColor MaskColor READ MaskColor WRITE SetMaskColor)
    Q_PROPERTY(bool UseMaskColor READ UseMaskColor WRITE SetUseMaskColor)
    Q_PROPERTY(bool SoftBevel READ SoftBevel WRITE SetSoftBevel)
    Q_PROPERTY(int PicturePosition READ PicturePosition WRITE SetPicturePosition)
    Q_PROPERTY(bool UseGreyscale READ UseGreyscale WRITE SetUseGreyscale)
    Q_PROPERTY(int SpecialEffect READ SpecialEffect WRITE SetSpecialEffect)
    Q_PROPERTY(bool CheckBoxBehaviour READ CheckBoxBehaviour WRITE SetCheckBoxBehaviour)
    Q_PROPERTY(bool Value READ Value WRITE SetValue)
    Q_PROPERTY(QPixmap PictureNormal READ PictureNormal WRITE SetPictureNormal)
    Q_PROPERTY(QPixmap PictureOver READ PictureOver WRITE SetPictureOver)
    Q_PROPERTY(int MousePointer READ MousePointer WRITE SetMousePointer)
    Q_PROPERTY(QPixmap MouseIcon READ MouseIcon WRITE SetMouseIcon)
    Q_PROPERTY(bool Default READ Default WRITE SetDefault)
    Q_PROPERTY(bool Cancel READ Cancel WRITE SetCancel)
    Q_PROPERTY(QString Tag READ Tag WRITE SetTag)

public:
    explicit ZovButton(QWidget* parent = nullptr);
    ~ZovButton() override;

    // Every setter stores the value and repaints the button, even when the value is the same
    // (the flashing buttons rely on it); Value repaints only on a two-state button.
    zov::ButtonType ButtonType() const { return colors_.buttonType; }
    void SetButtonType(zov::ButtonType type);
    // The number a window's design stores (the property's value).
    void SetButtonType(int stored) { SetButtonType(static_cast<zov::ButtonType>(stored)); }
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    zov::ColorScheme ColorScheme() const { return colors_.scheme; }
    void SetColorScheme(zov::ColorScheme scheme);
    // The number a window's design stores (the property's value).
    void SetColorScheme(int stored) { SetColorScheme(static_cast<zov::ColorScheme>(stored)); }
    bool ShowFocusRect() const { return showFocusRect_; }
    void SetShowFocusRect(bool on);
    QColor BackColor() const { return colors_.backColor; }
    void SetBackColor(const QColor& color);
    QColor BackOver() const { return colors_.backOver; }
    void SetBackOver(const QColor& color);
    QColor ForeColor() const { return colors_.foreColor; }
    void SetForeColor(const QColor& color);
    QColor ForeOver() const { return colors_.foreOver; }
    void SetForeOver(const QColor& color);
    QColor MaskColor() const { return colors_.maskColor; }
    void SetMaskColor(const QColor& color);
    bool UseMaskColor() const { return useMaskColor_; }
    void SetUseMaskColor(bool on);
    bool SoftBevel() const { return colors_.softBevel; }
    void SetSoftBevel(bool on);
    int PicturePosition() const { return picturePosition_; } // zov::PicturePosition
    void SetPicturePosition(int position);
    bool UseGreyscale() const { return useGreyscale_; }
    void SetUseGreyscale(bool on);
    int SpecialEffect() const { return specialEffect_; }
    void SetSpecialEffect(int effect);
    bool CheckBoxBehaviour() const { return checkBox_; }
    void SetCheckBoxBehaviour(bool on);
    bool Value() const { return value_; }
    void SetValue(bool value);
    QPixmap PictureNormal() const { return pictureNormal_; }
    void SetPictureNormal(const QPixmap& picture);
    QPixmap PictureOver() const { return pictureOver_; }
    void SetPictureOver(const QPixmap& picture);

    // 0 the window's pointer, 1 arrow, 2 cross, 3 I-beam, 11 hourglass, 12 no-drop,
    // 13 arrow and hourglass, 99 MouseIcon.
    int MousePointer() const { return mousePointer_; }
    void SetMousePointer(int pointer);
    QPixmap MouseIcon() const { return mouseIcon_; }
    void SetMouseIcon(const QPixmap& icon);

    // Pass-through to the font.
    bool FontBold() const { return font().bold(); }
    void SetFontBold(bool on);
    bool FontItalic() const { return font().italic(); }
    void SetFontItalic(bool on);
    bool FontUnderline() const { return font().underline(); }
    void SetFontUnderline(bool on);
    double FontSize() const { return font().pointSizeF(); }
    void SetFontSize(double points);
    QString FontName() const { return font().family(); }
    void SetFontName(const QString& family);

    // Enter anywhere in the window presses the Default button, Esc the Cancel button; Enter
    // on a focused button presses that button instead. One of each role per window: giving
    // it to a button takes it from the others.
    bool Default() const { return default_; }
    void SetDefault(bool on);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool on);

    QString Tag() const { return tag_; }
    void SetTag(const QString& tag) { tag_ = tag; }

    static QString Version();

    // Makes this button a new element of `element`'s control array: every property, the
    // font, size and tool tip, but not the window's Default and Cancel roles.
    void CopyPropertiesFrom(const ZovButton& element);

    // Draws the current state again, whether or not it changed.
    void Refresh();

    // Presses the button as a click does (a two-state button turns over, then Click); a
    // disabled or hidden button does nothing. Assistive technology presses buttons here.
    void PerformClick();
    // Held down at the moment, by the mouse or the Space bar.
    bool IsDown() const { return request_ == Request::Down; }

    // The colours this button paints with now (under the mouse: the hover face).
    ZovColors Colors() const;

    // For tests and for windows that need to know how the button is drawn.
    zov::Look DrawnLook() const { return drawnLook_; }
    int DrawCount() const { return drawCount_; } // times the button decided to draw
    bool IsMouseOver() const { return mouseOver_; }
    bool HoverTimerRunning() const { return OverTimer.isActive(); }

    // "Is the pointer over this button?" Normally the widget under the cursor is asked;
    // a test installs its own answer. An empty function restores the normal one.
    void SetUnderMouseTest(std::function<bool()> test);

    QSize sizeHint() const override;

signals:
    void Click();
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void MouseMove(Qt::MouseButtons button, Qt::KeyboardModifiers shift, int x, int y);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void KeyPress(int keyAscii);
    void KeyDown(int keyCode, Qt::KeyboardModifiers shift);
    void KeyUp(int keyCode, Qt::KeyboardModifiers shift);
    void MouseOver();
    void MouseIn();
    void MouseOut();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // What the button is asked to show; the look also depends on the flags.
    enum class Request { Up, Down };

    zov::Look LookFor(Request request) const;
    // Draws `request` unless the look and the caption are those drawn last; `force` draws
    // anyway (a property changed).
    void Draw(Request request, bool force = false);
    void PropertyChanged();
    void Layout();
    bool UnderMouse() const;
    void OverTimer_Timer();
    void Press(Qt::MouseButton button);
    // Access key, Enter, Esc, Space and the left click end here: a two-state button turns
    // over, the button is drawn up, then Click is raised.
    void ClickNow();
    void UpdateAccessKey();
    // Takes a window role (Default or Cancel) from every other button of the window.
    void ClaimRole(bool (ZovButton::*has)() const, void (ZovButton::*give)(bool));
    QShortcut* MakeShortcut(const QKeySequence& keys);

    QString caption_;
    ZovColorInputs colors_; // also holds ButtonType, ColorScheme and SoftBevel
    bool showFocusRect_ = true;
    bool useMaskColor_ = true;
    int picturePosition_ = 0;
    bool useGreyscale_ = false;
    int specialEffect_ = 0;
    bool checkBox_ = false;
    bool value_ = false;
    QPixmap pictureNormal_;
    QPixmap pictureOver_;
    int mousePointer_ = 0;
    QPixmap mouseIcon_;
    bool default_ = false;
    bool cancel_ = false;
    QString tag_;

    QTimer OverTimer;
    std::function<bool()> underMouseTest_;
    bool shown_ = false;
    bool mouseOver_ = false;
    bool hasFocus_ = false;
    bool keyboardFocus_ = false; // the focus came by Tab or Shift+Tab
    Qt::MouseButton lastButton_ = Qt::NoButton;
    int lastKey_ = 0;
    Request request_ = Request::Up;
    zov::Look drawnLook_ = zov::Look::Normal;
    QString drawnCaption_;
    bool drawnOver_ = false;
    int drawCount_ = 0;
    QRect textRect_;

    QShortcut* accessKey_ = nullptr;
    QShortcut* enterKey_ = nullptr;
    QShortcut* keypadEnterKey_ = nullptr;
    QShortcut* escKey_ = nullptr;
};
