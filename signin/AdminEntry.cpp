#include "signin/AdminEntry.h"

#include "signin/frmAdmin.h"

namespace signin {

// A fresh Admin window each time: admin mode and the sign-in state never carry over.
void OpenAdminWindow() {
    auto* window = new frmAdmin();
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->ShowModeless();
}

} // namespace signin
