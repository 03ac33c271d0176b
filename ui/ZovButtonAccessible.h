#pragma once

// What screen readers learn of the flat button: a push button (or check box when it stays
// down) named by its caption without the access-key "&" and with its lines joined by a blank,
// or by its tool tip when it shows only a picture; its tool tip as the description; its
// enabled, focused, pressed and checked states; and a press action.
namespace zov {

// Makes Qt ask for the button's accessible interface; called by every new button, once is
// enough.
void InstallButtonAccessibility();

} // namespace zov
