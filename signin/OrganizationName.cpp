#include "signin/OrganizationName.h"

#include "platform/Settings.h"
#include "ui/Globals.h"

namespace signin {

namespace {
const QString Section = QStringLiteral("Defaults");
const QString Key = QStringLiteral("OrganizationName");
} // namespace

QString StoredOrganizationName() {
    const QString stored = platform::GetSetting(AppTitle(), Section, Key).trimmed();
    return stored.isEmpty() ? DefaultOrganizationName : stored;
}

void SaveOrganizationName(const QString& name) {
    const QString kept = name.trimmed().left(OrganizationNameMaxLength);
    if (kept.isEmpty())
        platform::DeleteSetting(AppTitle(), Section, Key);
    else
        platform::SaveSetting(AppTitle(), Section, Key, kept);
    Globals().OrganizationName = StoredOrganizationName();
}

} // namespace signin
