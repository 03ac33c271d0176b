#include "signin/OrganizationName.h"

#include "platform/Settings.h"
#include "ui/AppTitle.h"

namespace signin {

namespace {
const QString Section = QStringLiteral("Defaults");
const QString Key = QStringLiteral("OrganizationName");
} // namespace

QString StoredOrganizationName() {
    const QString stored = platform::GetSetting(AppTitle(), Section, Key).trimmed();
    return stored.isEmpty() ? DefaultOrganizationName : stored;
}

store::StoreResult SaveOrganizationName(const QString& name) {
    const QString kept = name.trimmed().left(OrganizationNameMaxLength);
    const store::StoreResult saved = kept.isEmpty()
                                         ? platform::DeleteSetting(AppTitle(), Section, Key)
                                         : platform::SaveSetting(AppTitle(), Section, Key, kept);
    return saved;
}

} // namespace signin
