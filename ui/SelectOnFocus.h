#pragma once

class QLineEdit;

// A box whose whole text is selected whenever it gets the focus, so that what is typed next
// replaces it. A date box is full at its ten characters: with the cursor placed in it, every
// key of a new date would be refused and the old date kept without a word.
namespace ui {

// Tab, Shift+Tab, an access key and the program select at once. A click places the cursor
// after focusing, so the click that brings the focus selects when the button is released,
// unless the user dragged over part of the text meanwhile; later clicks place the cursor.
void SelectAllOnFocus(QLineEdit* box);

} // namespace ui
