#pragma once

#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "ui/BackgroundTexture.h"

class QKeyEvent;

// The base of every frm... window: geometry in twips, caption, Tag, the first-activation
// guard, key preview, modal and modeless showing, the busy state and the tiled background.
//
// Life of a window: the subclass builds its controls in its constructor and calls
// Form_Load() at the end of it (a base constructor cannot reach the subclass). The first
// time the window is shown, Form_Activate() runs, before show() returns. Closing it asks
// Form_QueryUnload(), which may refuse, then runs Form_Unload(). Closing does not delete the
// window; whoever created it owns it (or sets Qt::WA_DeleteOnClose).
class Form : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Tag READ Tag WRITE SetTag)

public:
    explicit Form(QWidget* parent = nullptr);
    ~Form() override;

    // Geometry in twips, converted once here.
    void SetSizeTwips(int width, int height);
    void MoveTwips(int left, int top);
    int WidthTwips() const;
    int HeightTwips() const;

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString& caption) { setWindowTitle(caption); }

    QString Tag() const { return tag_; }
    void SetTag(const QString& tag) { tag_ = tag; }

    // With key preview on, Form_KeyDown sees every key pressed in this window before the
    // control that has the focus.
    void SetKeyPreview(bool on);
    bool KeyPreview() const { return keyPreview_; }

    // Shows the window modally, centred over `parent`, and returns once it has been closed.
    // `parent` becomes its Qt parent (so it is deleted with it, if still alive).
    void ShowModal(QWidget* parent);
    // Shows the window and returns at once.
    void ShowModeless();

    // Busy: the window is disabled and shows the hourglass until SetBusy(false).
    void SetBusy(bool busy);
    bool IsBusy() const { return busy_; }

    // Tiles `picture` over the whole window from its top-left corner, behind every control.
    void TileBackground(const QPixmap& picture = BackgroundTexture());
    // Paints `picture` with its top-left corner at `pixelPos`, over the background; it stays
    // until ClearPictures(), like drawing on a persistent surface.
    void DrawPicture(QPoint pixelPos, const QPixmap& picture);
    void ClearPictures();

    bool Activated() const { return activated_; }

    void setVisible(bool visible) override;

protected:
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    // Set event->accept() to keep the key from the control that has the focus.
    virtual void Form_KeyDown(QKeyEvent* event) { Q_UNUSED(event); }
    virtual void Form_QueryUnload(bool& cancel) { Q_UNUSED(cancel); }
    virtual void Form_Unload() {}

    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool PreviewKey(QObject* receiver, QKeyEvent* event);
    void CentreOver(QWidget* owner);

    struct Picture {
        QPoint pos;
        QPixmap pixmap;
    };

    QString tag_;
    bool activated_ = false;
    bool keyPreview_ = false;
    bool busy_ = false;
    QPixmap background_;
    QList<Picture> pictures_;
    // The key press last previewed and where it was delivered; a key the control ignores is
    // passed on to its parents and must not be previewed again on the way.
    const QEvent* lastKey_ = nullptr;
    QPointer<QWidget> lastKeyReceiver_;
};
