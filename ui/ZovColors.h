#pragma once

#include <QColor>
#include <QtGlobal>

class QPalette;

// Plain enums on the stored 16-bit numbers: the numbers a window's design holds convert to
// them unchanged, and they compare with those numbers as they are.
namespace zov {

// The drawn kinds of button, numbered as a window's design stores them. A stored number that
// names none of them draws as ShadedButton, with its caption over the whole button.
enum ButtonType : qint16 {
    RoundedButton = 3,     // rounded corners, a blue frame; the message box's buttons
    SeeThroughButton = 11, // the window shows through; framed while hovered or pressed
    ShadedButton = 14,     // square, shaded from light at the top; most buttons
};

// Where a button's colours come from, numbered as a window's design stores them. A stored
// number that names none of them takes the system's colours.
enum ColorScheme : qint16 {
    SystemColors = 1,
    CustomColors = 2,    // BackColor, BackOver, ForeColor and ForeOver
    FixedGrey = 3,       // the same grey whatever the system's colours
    ContainerColors = 4, // the background and text colours of the window it sits on
};

} // namespace zov

// The colours a flat button paints with, worked out from its few colour properties.
//
// Every shade is an offset of one base colour (Shift), so a button keeps its bevels and
// ramps whatever colour a window gives it.

// Adds n to each of red, green and blue, each clamped to 0..255. A soft bevel halves n, so
// every shade lies closer to the face.
QColor Shift(const QColor& color, int n, bool soft = false);

struct ZovColorInputs {
    zov::ColorScheme scheme = zov::CustomColors;
    zov::ButtonType buttonType = zov::ShadedButton;
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
