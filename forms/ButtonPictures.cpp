#include "forms/ButtonPictures.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace pictures {

namespace {

constexpr int Size = 32;

QPixmap Blank() {
    QPixmap picture(Size, Size);
    picture.fill(Qt::transparent);
    return picture;
}

// A shaded disc with a dark rim, the ground of the help and quit pictures.
void PaintDisc(QPainter& painter, const QColor& light, const QColor& dark) {
    QRadialGradient shade(QPointF(12, 10), 22);
    shade.setColorAt(0, light);
    shade.setColorAt(1, dark);
    painter.setPen(QPen(dark.darker(150), 1.5));
    painter.setBrush(shade);
    painter.drawEllipse(QRectF(2, 2, 28, 28));
}

} // namespace

QPixmap HelpPicture() {
    QPixmap picture = Blank();
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintDisc(painter, QColor(140, 190, 255), QColor(20, 70, 170));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(22);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, Size, Size), Qt::AlignCenter, QStringLiteral("?"));
    return picture;
}

QPixmap QuitPicture() {
    QPixmap picture = Blank();
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintDisc(painter, QColor(255, 150, 140), QColor(170, 20, 20));
    QPen pen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // The power sign: an open ring with a bar through its gap.
    painter.drawArc(QRectF(9, 9, 14, 14), 120 * 16, 300 * 16);
    painter.drawLine(QPointF(16, 7), QPointF(16, 15));
    return picture;
}

QPixmap AdminPicture() {
    QPixmap picture = Blank();
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor gold(230, 180, 40);
    const QColor rim(120, 80, 0);
    painter.setPen(QPen(rim, 1.5));
    painter.setBrush(gold);
    // Bow, shaft and two teeth.
    QPainterPath key;
    key.addEllipse(QRectF(3, 9, 13, 13));
    key.addRect(QRectF(14, 13.5, 15, 4));
    key.addRect(QRectF(22, 17, 3, 5));
    key.addRect(QRectF(26, 17, 3, 4));
    painter.drawPath(key.simplified());
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(6.5, 12.5, 6, 6));
    return picture;
}

QPixmap BackupRestorePicture() {
    QPixmap picture = Blank();
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    // The disk.
    painter.setPen(QPen(QColor(20, 40, 90), 1.5));
    painter.setBrush(QColor(60, 100, 190));
    painter.drawRoundedRect(QRectF(3, 3, 22, 22), 2, 2);
    painter.setBrush(QColor(235, 235, 235));
    painter.drawRect(QRectF(8, 3, 12, 8));
    painter.setBrush(QColor(250, 250, 250));
    painter.drawRect(QRectF(7, 15, 14, 10));
    // The arrow going round: copies out and back.
    QPen arrow(QColor(0, 140, 0), 3, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(arrow);
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(16, 16, 13, 13), 90 * 16, 270 * 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 140, 0));
    painter.drawPolygon(QPolygonF({QPointF(22.5, 12.5), QPointF(22.5, 20.5), QPointF(17.5, 16.5)}));
    return picture;
}

QPixmap PrintPicture() {
    QPixmap picture = Blank();
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPen rim(QColor(50, 50, 60), 1.5);
    painter.setPen(rim);
    // The sheet waiting at the back.
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(9, 3, 14, 9));
    // The body.
    painter.setBrush(QColor(150, 155, 170));
    painter.drawRoundedRect(QRectF(3, 11, 26, 12), 2, 2);
    painter.setBrush(QColor(90, 200, 90));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRectF(23, 14, 3, 3));
    // The printed sheet with its lines.
    painter.setPen(rim);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(8, 19, 16, 10));
    painter.setPen(QPen(QColor(120, 120, 140), 1));
    painter.drawLine(QPointF(11, 23), QPointF(21, 23));
    painter.drawLine(QPointF(11, 26), QPointF(18, 26));
    return picture;
}

} // namespace pictures
