#pragma once

namespace signin {

// Shows a fresh Admin window; it deletes itself when closed.
void OpenAdminWindow();

} // namespace signin
