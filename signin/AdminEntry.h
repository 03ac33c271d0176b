#pragma once

#include <QString>

class Form;

namespace signin {

// Shows a fresh Admin window; it deletes itself when closed.
void OpenAdminWindow();

// Shows the change log of one person (their identity text and name) over `owner`, modally.
void OpenPersonChanges(Form& owner, const QString& personIdentity, const QString& personName);

} // namespace signin
