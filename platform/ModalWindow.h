#pragma once

class QWidget;

namespace platform {

// Shows one of the program's windows modally over its parent and returns when it has been
// closed. The caller keeps ownership; a window that deletes itself on close is allowed.
//
// On screen the window runs in its own event loop (QDialog::exec for a dialog). With an
// answerer installed the window is shown first, so its first activation has already run, and
// then handed to the answerer as a Question of kind Window; the answerer drives it (presses
// buttons, types) and returns. Whatever the answerer did, the window is closed afterwards.
void RunModal(QWidget* window);

} // namespace platform
