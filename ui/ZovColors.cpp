#include "ui/ZovColors.h"

#include <QPalette>
#include <algorithm>

namespace {

int Clamp(int value) {
    return std::clamp(value, 0, 255);
}

// The accent is the face lifted by 48. The rounded button lifts blue only in proportion to
// the blue it has, so a yellow face stays yellow instead of washing to white.
QColor Accent(const QColor& face, zov::ButtonType buttonType, bool soft) {
    if (buttonType != zov::RoundedButton)
        return Shift(face, 48, soft);
    const int n = soft ? 24 : 48;
    return QColor(Clamp(face.red() + n), Clamp(face.green() + n),
                  Clamp(face.blue() + n * face.blue() / 192));
}

// The bevel shades every scheme but the fixed and the system one derives from its face.
void DeriveShades(ZovColors& c) {
    c.shadow = c.Shifted(c.face, -64);
    c.light = c.Shifted(c.face, 31);
    c.highlight = c.Shifted(c.face, 47);
    c.darkShadow = c.Shifted(c.face, -192);
}

} // namespace

QColor Shift(const QColor& color, int n, bool soft) {
    if (soft)
        n /= 2;
    return QColor(Clamp(color.red() + n), Clamp(color.green() + n), Clamp(color.blue() + n));
}

ZovColors DeriveZovColors(const ZovColorInputs& in, const QPalette& own, const QPalette& container,
                          bool underMouse) {
    ZovColors c;
    c.soft = in.softBevel;
    switch (in.scheme) {
    case zov::CustomColors:
        c.face = underMouse ? in.backOver : in.backColor;
        c.text = in.foreColor;
        c.textOver = in.foreOver;
        DeriveShades(c);
        c.selection = c.Shifted(c.face, -128);
        break;
    case zov::FixedGrey:
        c.face = QColor(192, 192, 192);
        c.text = QColor(0, 0, 0);
        c.textOver = c.text;
        c.shadow = QColor(128, 128, 128);
        c.light = QColor(223, 223, 223);
        c.highlight = QColor(255, 255, 255);
        c.darkShadow = QColor(0, 0, 0);
        c.selection = QColor(0, 0, 128);
        break;
    case zov::ContainerColors:
        c.face = container.color(QPalette::Window);
        c.text = container.color(QPalette::WindowText);
        c.textOver = c.text;
        DeriveShades(c);
        c.selection = own.color(QPalette::Highlight);
        break;
    case zov::SystemColors:
    default:
        c.face = own.color(QPalette::Button);
        c.text = own.color(QPalette::ButtonText);
        c.textOver = c.text;
        c.shadow = own.color(QPalette::Dark);
        c.light = own.color(QPalette::Midlight);
        c.highlight = own.color(QPalette::Light);
        c.darkShadow = own.color(QPalette::Shadow);
        c.selection = own.color(QPalette::Highlight);
        break;
    }
    c.mask = in.maskColor;
    c.accent = Accent(c.face, in.buttonType, in.softBevel);
    return c;
}
