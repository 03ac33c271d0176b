#pragma once

class QColor;
class QWidget;

// The few colour settings the windows make on standard controls, in one place: the ink of a
// label or option, the base of a box.
namespace ui {

// The text colour of a label, an option or a check box, in every state.
void SetInk(QWidget* widget, const QColor& ink);
// The background of a text box or list.
void SetBase(QWidget* box, const QColor& base);

} // namespace ui
