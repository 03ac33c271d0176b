#pragma once

#include <QPixmap>
#include <QRect>
#include <QString>

#include "ui/ZovColors.h"

class QPainter;

namespace zov {

// What a flat button looks like at one moment; it is also what the button compares to skip
// drawing the same thing twice.
enum class Look { Normal, Over, Pressed, Disabled };

// Where the picture sits in the caption's rectangle.
enum PicturePosition { PictureCentre = 0, PictureLeft, PictureRight, PictureTop, PictureBottom };

struct PaintRequest {
    ButtonType buttonType = ShadedButton;
    QRect client;
    QRect textRect;
    ZovColors colors;
    Look look = Look::Normal;
    QString caption; // "&" marks the access key; CR LF starts a second line
    bool drawFocusRect = false;
    int specialEffect = 0; // 1 raised, 2 sunken, 3 shadowed caption; 0 none
    QPixmap picture;       // the picture for this look, null for none
    int picturePosition = PictureCentre;
    bool useMaskColor = true;
    bool greyPicture = false;
};

// Paints the whole button: face and frame, picture, caption and focus rectangle.
void PaintButton(QPainter& painter, const PaintRequest& request);

// The picture ready to draw: the mask colour made transparent and, if asked, grey tones.
QPixmap PreparedPicture(const QPixmap& picture, const QColor& mask, bool useMask, bool grey);

} // namespace zov
