#pragma once

class QLabel;
class ZovButton;

// The look of the sign-in windows' controls. Buttons are colour-coded by what they do.
namespace signin {

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

} // namespace signin
