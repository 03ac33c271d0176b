#pragma once

#include "store/StoreResult.h"

#include <QString>

// The per-user settings store: texts kept by application, section and key. Each application
// name is one INI file in the user's configuration folder (for example Mirtavel.ini).
namespace platform {

QString GetSetting(const QString& app, const QString& section, const QString& key,
                   const QString& defaultValue = QString());
// A change is written to the file at once; a failure names the file and the reason, so that
// nothing is reported as kept that is not on disk.
store::StoreResult SaveSetting(const QString& app, const QString& section, const QString& key,
                               const QString& value);
// Removes one key, a whole section (empty key) or everything of `app` (empty section).
store::StoreResult DeleteSetting(const QString& app, const QString& section = QString(),
                                 const QString& key = QString());

} // namespace platform
