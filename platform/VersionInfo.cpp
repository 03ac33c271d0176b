#include "platform/VersionInfo.h"

namespace platform {

int VersionMajor() {
    return MIRTAVEL_VERSION_MAJOR;
}
int VersionMinor() {
    return MIRTAVEL_VERSION_MINOR;
}
int VersionRevision() {
    return MIRTAVEL_VERSION_PATCH;
}

QString FileDescription() {
    return QStringLiteral(MIRTAVEL_DESCRIPTION);
}
QString LegalCopyright() {
    return QStringLiteral("Copyright \u00A9 2026 ZOV Software");
}
QString ProductName() {
    return QStringLiteral("Mirtavel");
}

} // namespace platform
