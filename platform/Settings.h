#pragma once

#include <QString>

// The per-user settings store: texts kept by application, section and key. Each application
// name is one INI file in the user's configuration folder (for example Mirtavel.ini).
namespace platform {

QString GetSetting(const QString& app, const QString& section, const QString& key,
                   const QString& defaultValue = QString());
void SaveSetting(const QString& app, const QString& section, const QString& key,
                 const QString& value);
// Removes one key, a whole section (empty key) or everything of `app` (empty section).
void DeleteSetting(const QString& app, const QString& section = QString(),
                   const QString& key = QString());

} // namespace platform
