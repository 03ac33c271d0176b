#include "ui/Styling.h"

#include <QColor>
#include <QPalette>
#include <QWidget>

namespace ui {

void SetInk(QWidget* widget, const QColor& ink) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, ink);
    widget->setPalette(palette);
}

void SetBase(QWidget* box, const QColor& base) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, base);
    box->setPalette(palette);
}

} // namespace ui
