#include "signin/TitlePicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace signin {

namespace {

const QColor Gold(240, 200, 80);
const QColor DarkGold(150, 110, 30);

// A shield outline inside `box`: flat top, straight sides, a point at the bottom.
QPainterPath Shield(const QRectF& box) {
    QPainterPath path;
    const double w = box.width();
    const double h = box.height();
    path.moveTo(box.left() + w * 0.5, box.top());
    path.cubicTo(box.left() + w * 0.7, box.top() + h * 0.06, box.left() + w * 0.88,
                 box.top() + h * 0.06, box.right(), box.top() + h * 0.04);
    path.lineTo(box.right(), box.top() + h * 0.5);
    path.cubicTo(box.right(), box.top() + h * 0.75, box.left() + w * 0.7, box.top() + h * 0.9,
                 box.left() + w * 0.5, box.bottom());
    path.cubicTo(box.left() + w * 0.3, box.top() + h * 0.9, box.left(), box.top() + h * 0.75,
                 box.left(), box.top() + h * 0.5);
    path.lineTo(box.left(), box.top() + h * 0.04);
    path.cubicTo(box.left() + w * 0.12, box.top() + h * 0.06, box.left() + w * 0.3,
                 box.top() + h * 0.06, box.left() + w * 0.5, box.top());
    return path;
}

QPainterPath Star(const QPointF& centre, double outer, double inner) {
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const double radius = i % 2 == 0 ? outer : inner;
        const double angle = -M_PI / 2 + i * M_PI / 5;
        const QPointF p(centre.x() + radius * std::cos(angle),
                        centre.y() + radius * std::sin(angle));
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    path.closeSubpath();
    return path;
}

// `outline` is the width of the outer edge; the inner edge is three quarters of it.
void DrawBadge(QPainter& painter, const QRectF& box, double outline) {
    const QPainterPath shield = Shield(box);
    QLinearGradient metal(box.topLeft(), box.bottomRight());
    metal.setColorAt(0, QColor(255, 230, 140));
    metal.setColorAt(0.5, Gold);
    metal.setColorAt(1, DarkGold);
    painter.setPen(QPen(DarkGold, outline));
    painter.setBrush(metal);
    painter.drawPath(shield);

    const QRectF inner = box.adjusted(box.width() * 0.12, box.height() * 0.1, -box.width() * 0.12,
                                      -box.height() * 0.1);
    painter.setPen(QPen(QColor(120, 85, 20), outline * 0.75));
    painter.setBrush(QColor(20, 40, 100));
    painter.drawPath(Shield(inner));

    painter.setPen(Qt::NoPen);
    painter.setBrush(Gold);
    painter.drawPath(Star(inner.center() - QPointF(0, inner.height() * 0.05), inner.width() * 0.34,
                          inner.width() * 0.14));
}

} // namespace

QPixmap TitlePicture(const QSize& size) {
    QPixmap picture(size.isEmpty() ? QSize(1, 1) : size);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient field(0, 0, 0, picture.height());
    field.setColorAt(0, QColor(18, 32, 84));
    field.setColorAt(1, QColor(6, 12, 40));
    painter.fillRect(picture.rect(), field);

    // A soft glow behind the badge.
    const double h = picture.height();
    const QRectF badge(h * 0.1, h * 0.08, h * 0.42, h * 0.5);
    QRadialGradient glow(badge.center(), badge.height() * 0.9);
    glow.setColorAt(0, QColor(70, 100, 180, 140));
    glow.setColorAt(1, QColor(70, 100, 180, 0));
    painter.fillRect(picture.rect(), glow);
    DrawBadge(painter, badge, 2);

    // A thin gold rule under the title block and a frame inside the edge.
    painter.setPen(QPen(QColor(240, 200, 80, 160), 1));
    painter.drawLine(QPointF(picture.width() * 0.3, h * 0.58),
                     QPointF(picture.width() * 0.95, h * 0.58));
    painter.setPen(QPen(QColor(240, 200, 80, 90), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(picture.rect()).adjusted(6.5, 6.5, -7.5, -7.5));
    return picture;
}

QImage BadgeIcon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    // The shield is a little taller than wide, as on the title window; the edge stays at
    // least a pixel wide so the smallest icons keep their outline.
    const double outline = std::max(1.0, size / 48.0);
    const double height = size - outline;
    const double width = height * 0.84;
    DrawBadge(painter, QRectF((size - width) / 2, outline / 2, width, height), outline);
    return icon;
}

} // namespace signin
