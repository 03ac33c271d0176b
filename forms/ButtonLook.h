#pragma once

#include <QString>
#include <optional>

class QAbstractButton;
class QColor;
class QLabel;
class ZovButton;

// The look of the windows. controls. Buttons are colour-coded by what they do.
namespace forms {

enum class ButtonRole {
    Proceed, // go on: Continue, Select the user
    Leave,   // go back or out: Cancel, Quit
    Admin,   // the admin mode switch
    Record,  // work on the user list: Add, Edit, Review, Organization Name
    Remove,  // Delete User
};

void StyleButton(ZovButton* button, ButtonRole role);

// Labels drawn straight on the textured background.
void MakeTransparent(QLabel* label);

// The caption colour of an option or check box while it can be used; disabled, it keeps the
// style's greyed ink, so that it looks disabled.
void SetOptionInk(QAbstractButton* option, const QColor& ink);

// One row of a window's button set-up: what is not given stays as it is.
struct ButtonRule {
    std::optional<QString> caption;
    std::optional<QString> toolTip;
    std::optional<bool> visible;
    std::optional<bool> enabled;
};
// Applies `rule` to `button` and repaints it.
void Apply(ZovButton* button, const ButtonRule& rule);

} // namespace forms
