#pragma once

#include <QColor>

class QPalette;

// The colours a flat button paints with, worked out from its few colour properties.
//
// Every shade is an offset of one base colour (Shift), so a button keeps its bevels and
// ramps whatever colour a window gives it.

// Adds n to each of red, green and blue, each clamped to 0..255. A soft bevel halves n, so
// every shade lies closer to the face.
QColor Shift(const QColor& color, int n, bool soft = false);

struct ZovColorInputs {
    int scheme = 2; // 2 custom, 3 fixed grey, 4 the container's, anything else the system's
    int buttonType = 14;
    QColor backColor;
    QColor backOver;
    QColor foreColor;
    QColor foreOver;
    QColor maskColor;
    bool softBevel = false;
};

struct ZovColors {
    QColor face;     // BackOver instead of BackColor while a custom-coloured button is hovered
    QColor text;     // caption at rest
    QColor textOver; // caption under the mouse and, on the rounded type, pressed
    QColor shadow;
    QColor light;
    QColor highlight;
    QColor darkShadow;
    QColor selection;
    QColor mask;
    QColor accent;
    bool soft = false;

    // Shift with this button's bevel softness.
    QColor Shifted(const QColor& color, int n) const { return Shift(color, n, soft); }
};

// `own` is the button's palette (the system colours), `container` its parent's. Under the
// mouse a custom-coloured button's face is its BackOver.
ZovColors DeriveZovColors(const ZovColorInputs& in, const QPalette& own, const QPalette& container,
                          bool underMouse);
