#pragma once

#include <QUrl>
#include <functional>

// Opening a mail message or a web page with the user's own programs.
namespace platform {

using TargetOpener = std::function<bool(const QUrl&)>;

// Asks the desktop to open `target` (a mailto: or web address); false when it could not.
bool OpenTarget(const QUrl& target);

// Replaces the desktop for tests; an empty opener restores it.
void SetTargetOpener(TargetOpener opener);

} // namespace platform
