#include "signin/frmAdmin.h"
#include "ui/WindowFlow.h"

namespace flow {

// A fresh Admin window each time: admin mode and the sign-in state never carry over.
void ShowAdminWindow() {
    auto* window = new frmAdmin();
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->ShowModeless();
}

} // namespace flow
