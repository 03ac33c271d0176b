#pragma once

#include <QString>

// The program's version record, as shown on the title window and in the about notice.
namespace platform {

int VersionMajor();
int VersionMinor();
int VersionRevision();
QString FileDescription(); // "Training Records Management"
QString LegalCopyright();  // "Copyright © 2026 ZOV Software"
QString ProductName();     // "Mirtavel"

} // namespace platform
