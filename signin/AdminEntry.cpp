#include "signin/AdminEntry.h"

#include "forms/RunModal.h"
#include "signin/frmAdmin.h"
#include "signin/frmChangeLog.h"

namespace signin {

// A fresh Admin window each time: admin mode and the sign-in state never carry over.
void OpenAdminWindow() {
    auto* window = new frmAdmin();
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->ShowModeless();
}

void OpenPersonChanges(Form& owner, const QString& personIdentity, const QString& personName) {
    forms::RunModal(owner, new frmChangeLog(nullptr, personIdentity, personName),
                    [](const frmChangeLog&) { return true; });
}

} // namespace signin
