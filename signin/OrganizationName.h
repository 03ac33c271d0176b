#pragma once

#include "store/StoreResult.h"

#include <QString>

// The organization's name shown in the Lobby's caption. An administrator sets it in the
// Admin window; it is kept in the settings store (application "Mirtavel", section
// "Defaults", key "OrganizationName").
namespace signin {

inline const QString DefaultOrganizationName = QStringLiteral("Police Department");
constexpr int OrganizationNameMaxLength = 60;

// The stored name, or the default when none has been stored.
QString StoredOrganizationName();
// Stores `name` (trimmed, cut to the maximum length); an empty name brings back the default.
// When the settings file cannot be written the stored name stays as it was and the failure is
// returned.
store::StoreResult SaveOrganizationName(const QString& name);

} // namespace signin
