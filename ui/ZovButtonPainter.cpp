#include "ui/ZovButtonPainter.h"

#include <QBitmap>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace zov {

namespace {

// Shades every hover glow and shaded button's ramp is spread over.
constexpr int RampSteps = 58;

const QColor FrameBlue(0, 60, 115);
const QColor CornerBlue(16, 77, 123);

void HLine(QPainter& p, int x1, int x2, int y, const QColor& c) {
    p.fillRect(QRect(QPoint(x1, y), QPoint(x2, y)), c);
}

void VLine(QPainter& p, int x, int y1, int y2, const QColor& c) {
    p.fillRect(QRect(QPoint(x, y1), QPoint(x, y2)), c);
}

void Dot(QPainter& p, int x, int y, const QColor& c) {
    p.fillRect(QRect(x, y, 1, 1), c);
}

void Frame(QPainter& p, const QRect& r, const QColor& c) {
    HLine(p, r.left(), r.right(), r.top(), c);
    HLine(p, r.left(), r.right(), r.bottom(), c);
    VLine(p, r.left(), r.top(), r.bottom(), c);
    VLine(p, r.right(), r.top(), r.bottom(), c);
}

// A bevel: the top and left edges in one colour, the bottom and right in another.
void Bevel(QPainter& p, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
    HLine(p, r.left(), r.right(), r.top(), topLeft);
    VLine(p, r.left(), r.top(), r.bottom(), topLeft);
    HLine(p, r.left(), r.right(), r.bottom(), bottomRight);
    VLine(p, r.right(), r.top(), r.bottom(), bottomRight);
}

// Fills `r` line by line, line i of h in `from` shifted by span * i / h.
void VerticalRamp(QPainter& p, const QRect& r, const ZovColors& c, const QColor& from, int span) {
    const int h = r.height();
    for (int i = 0; i < h; ++i)
        HLine(p, r.left(), r.right(), r.top() + i, c.Shifted(from, span * i / h));
}

// --- Rounded, with a blue frame -------------------------------------------------

void RoundedFrame(QPainter& p, const QRect& r, const QColor& frame, const QColor& corner) {
    Frame(p, r, frame);
    Dot(p, r.left() + 1, r.top() + 1, corner);
    Dot(p, r.right() - 1, r.top() + 1, corner);
    Dot(p, r.left() + 1, r.bottom() - 1, corner);
    Dot(p, r.right() - 1, r.bottom() - 1, corner);
}

// A glow along the top and the bottom inside the edge lines, brightest in the middle and
// falling off over the ramp's steps towards both ends.
void HoverBands(QPainter& p, const QRect& r, const ZovColors& c) {
    const int half = std::max(1, r.width() / 2);
    const int rows[] = {r.top() + 3, r.top() + 4, r.bottom() - 4, r.bottom() - 3};
    for (int x = r.left() + 2; x <= r.right() - 2; ++x) {
        const int fromMiddle = std::abs(x - (r.left() + half));
        const int step = RampSteps * fromMiddle / half;
        const QColor shade = c.Shifted(c.highlight, -step);
        for (int y : rows)
            Dot(p, x, y, shade);
    }
}

void PaintRounded(QPainter& p, const QRect& r, const ZovColors& c, Look look) {
    const QColor& a = c.accent;
    const QRect in1 = r.adjusted(1, 1, -1, -1);
    const QRect in2 = r.adjusted(2, 2, -2, -2);
    switch (look) {
    case Look::Normal:
    case Look::Over:
        VerticalRamp(p, r, c, a, -25);
        if (look == Look::Over)
            HoverBands(p, r, c);
        Bevel(p, in1, c.Shifted(a, 24), c.Shifted(a, -48));
        VLine(p, in1.right(), in1.top(), in1.bottom(), c.Shifted(a, -32));
        Bevel(p, in2, c.Shifted(a, 12), c.Shifted(a, -36));
        VLine(p, in2.right(), in2.top(), in2.bottom(), c.Shifted(a, -24));
        RoundedFrame(p, r, FrameBlue, CornerBlue);
        break;
    case Look::Pressed: {
        // The ramp runs the other way: darkest at the top, as if lit from below.
        const QColor from = c.Shifted(a, -32);
        const int h = r.height();
        for (int i = 0; i < h; ++i)
            HLine(p, r.left(), r.right(), r.top() + i, c.Shifted(from, -25 * (h - 1 - i) / h));
        Bevel(p, in1, c.Shifted(a, -32), c.Shifted(a, 16));
        VLine(p, in1.left(), in1.top(), in1.bottom(), c.Shifted(a, -24));
        VLine(p, in1.right(), in1.top(), in1.bottom(), c.Shifted(a, 10));
        Bevel(p, in2, c.Shifted(a, -22), c.Shifted(a, 5));
        RoundedFrame(p, r, FrameBlue, CornerBlue);
        break;
    }
    case Look::Disabled:
        VerticalRamp(p, r, c, c.Shifted(a, -24), -25);
        Frame(p, in1, c.Shifted(a, -24));
        RoundedFrame(p, r, c.Shifted(a, -84), c.Shifted(a, -72));
        break;
    }
}

// --- See-through, framed only while hovered or pressed --------------------------

void PaintSeeThrough(QPainter& p, const QRect& r, const ZovColors& c, Look look) {
    // The window behind shows through: nothing is painted under the frame.
    if (look == Look::Over)
        Bevel(p, r, c.highlight, c.shadow);
    else if (look == Look::Pressed)
        Bevel(p, r, c.shadow, c.highlight);
}

// --- Square, shaded from light at the top -----------------------------------------

void PaintShaded(QPainter& p, const QRect& r, const ZovColors& c, Look look) {
    const QRect in1 = r.adjusted(1, 1, -1, -1);
    switch (look) {
    case Look::Normal:
    case Look::Disabled:
        VerticalRamp(p, r, c, c.highlight, -RampSteps);
        Frame(p, in1, c.Shifted(c.face, -9));
        break;
    case Look::Over:
        p.fillRect(r, c.light);
        Frame(p, in1, c.Shifted(c.face, -9));
        break;
    case Look::Pressed:
        p.fillRect(r, c.Shifted(c.face, -9));
        p.fillRect(r.adjusted(3, 3, -2, -2), c.Shifted(c.shadow, -48));
        Frame(p, in1, c.highlight);
        break;
    }
    Frame(p, r, c.Shifted(c.shadow, -50));
}

// --- Picture and caption ------------------------------------------------------------------

QRect PictureRect(const QRect& area, QSize size, int position) {
    QRect r(QPoint(0, 0), size);
    r.moveCenter(area.center());
    switch (position) {
    case PictureLeft:
        r.moveLeft(area.left());
        break;
    case PictureRight:
        r.moveRight(area.right());
        break;
    case PictureTop:
        r.moveTop(area.top());
        break;
    case PictureBottom:
        r.moveBottom(area.bottom());
        break;
    default:
        break;
    }
    return r;
}

void PaintPicture(QPainter& p, const PaintRequest& rq) {
    if (rq.picture.isNull())
        return;
    const bool grey = rq.greyPicture || rq.look == Look::Disabled;
    const QPixmap pic = PreparedPicture(rq.picture, rq.colors.mask, rq.useMaskColor, grey);
    const QSize size = pic.deviceIndependentSize().toSize();
    QRect at = PictureRect(rq.textRect, size, rq.picturePosition);
    if (rq.look == Look::Pressed)
        at.translate(1, 1);
    p.drawPixmap(at.topLeft(), pic);
}

QString CaptionLines(const QString& caption) {
    QString lines = caption;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return lines;
}

void Text(QPainter& p, const QRect& r, const QString& text, const QColor& c, int dx, int dy) {
    p.setPen(c);
    p.drawText(r.translated(dx, dy), Qt::AlignCenter | Qt::TextShowMnemonic, text);
}

void SpecialEffect(QPainter& p, const PaintRequest& rq, const QRect& r, const QString& text) {
    const ZovColors& c = rq.colors;
    const QColor base = rq.buttonType == ShadedButton ? c.accent : c.face;
    const QColor darker = c.Shifted(base, -40);
    const QColor lighter = c.Shifted(base, 40);
    switch (rq.specialEffect) {
    case 1:
        Text(p, r, text, darker, 1, 1);
        Text(p, r, text, lighter, -1, -1);
        break;
    case 2:
        Text(p, r, text, lighter, 1, 1);
        Text(p, r, text, darker, -1, -1);
        break;
    case 3:
        Text(p, r, text, darker, 1, 1);
        break;
    default:
        break;
    }
}

void PaintCaption(QPainter& p, const PaintRequest& rq) {
    if (rq.caption.isEmpty())
        return;
    const ZovColors& c = rq.colors;
    const QString text = CaptionLines(rq.caption);
    const QRect& r = rq.textRect;
    SpecialEffect(p, rq, r, text);
    switch (rq.look) {
    case Look::Normal:
        Text(p, r, text, c.text, 0, 0);
        break;
    case Look::Over:
        Text(p, r, text, c.textOver, 0, 0);
        break;
    case Look::Pressed:
        // Light text needs the dark pressed plate of the shaded type; the rounded type keeps
        // its light face and the see-through type shows the window, so both keep dark text.
        if (rq.buttonType != ShadedButton) {
            Text(p, r, text, c.textOver, 1, 1);
        } else {
            Text(p, r, text, c.Shifted(c.shadow, 50), 1, 1);
            Text(p, r, text, c.highlight, 0, 0);
        }
        break;
    case Look::Disabled:
        if (rq.buttonType == ShadedButton) {
            Text(p, r, text, c.shadow, 0, 0);
        } else {
            Text(p, r, text, c.highlight, 1, 1);
            Text(p, r, text, c.shadow, 0, 0);
        }
        break;
    }
}

void PaintFocusRect(QPainter& p, const PaintRequest& rq) {
    if (!rq.drawFocusRect)
        return;
    QPen pen(rq.look == Look::Pressed && rq.buttonType == ShadedButton ? rq.colors.highlight
                                                                       : rq.colors.text);
    pen.setStyle(Qt::DotLine);
    pen.setWidth(0);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(rq.textRect.adjusted(0, 0, -1, -1));
}

} // namespace

QPixmap PreparedPicture(const QPixmap& picture, const QColor& mask, bool useMask, bool grey) {
    QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    const QRgb maskRgb = mask.rgb() & RGB_MASK;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb px = line[x];
            if (useMask && (px & RGB_MASK) == maskRgb) {
                line[x] = qRgba(0, 0, 0, 0);
            } else if (grey) {
                const int g = qGray(px);
                line[x] = qRgba(g, g, g, qAlpha(px));
            }
        }
    }
    QPixmap result = QPixmap::fromImage(image);
    result.setDevicePixelRatio(picture.devicePixelRatio());
    return result;
}

void PaintButton(QPainter& painter, const PaintRequest& request) {
    painter.save();
    switch (request.buttonType) {
    case RoundedButton:
        PaintRounded(painter, request.client, request.colors, request.look);
        break;
    case SeeThroughButton:
        PaintSeeThrough(painter, request.client, request.colors, request.look);
        break;
    case ShadedButton:
    default:
        PaintShaded(painter, request.client, request.colors, request.look);
        break;
    }
    PaintPicture(painter, request);
    PaintCaption(painter, request);
    PaintFocusRect(painter, request);
    painter.restore();
}

} // namespace zov
